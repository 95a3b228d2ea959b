// The addressee list "あて先の編集" (dialog 4): a working copy of the cards
// in use as rows of 16 texts, each row carrying its card's New Year card
// history and reading, so that they follow the addressee through sorting,
// inserting, deleting and saving. Rows change only the list; a save writes
// them into the cards.
#pragma once

#include "editors/dialog_view.h"
#include "model/document.h"

constexpr int LIST_COLUMNS = 17;
constexpr int LIST_EDITABLE_COLUMNS = 12;  // the in-place editor opens on 0..11 and よみ
constexpr int COLUMN_NAME0 = 0;            // 0..4 name lines
constexpr int COLUMN_ADDRESS0 = 5;         // 5..9 address lines
constexpr int COLUMN_POSTAL = 10;
constexpr int COLUMN_SENDER = 11;          // sender number, ftb + 1
constexpr int COLUMN_SENDER_NAME = 12;
constexpr int COLUMN_STATUS0 = 13;         // 13..15 card year, -1, -2
constexpr int COLUMN_YOMI = 16;            // the reading, shown beside 氏名0

struct ListRow {
    char16_t cell[LIST_COLUMNS][LINE_CAP];
    TypEntry typ[TYP_MAX];  // the history that belongs to the row's addressee
    int32_t ftb;            // the row's sender, used while its sender cell names none in use
    int card;               // the card the row stands for since the last fill or save; -1 new
    bool selected;
};

// The report list as the logic sees it.
class ListControl {
public:
    virtual ~ListControl() = default;
    // Shows exactly these rows with their selection (rows, texts and
    // selection not shown so far are brought up to date), and the card
    // year's counts over them (format_round_summary, editors/card_round.h).
    virtual void show_rows(const ListRow* rows, int count) = 0;
    // True when the user has row r selected.
    virtual bool row_selected(int row) = 0;
    // Scrolls as little as needed for row r to be seen.
    virtual void scroll_to_row(int row) = 0;
    // Runs the one-line editor modally on work_card; 1 for "閉じる", else 0.
    virtual int open_line_editor(int row, int total) = 0;
    // The lines of `card` that do not fit even at their smallest size,
    // the one verdict of card_overflow_lines (render/card_fit.h).
    virtual int overflow_lines(const CardRecord& card) = 0;
};

// The column captions and widths, in order.
struct ListColumn {
    char16_t caption[16];
    int width;
};
// Captions of the year columns come from `year` (card_year at the fill).
void list_columns(ListColumn (&out)[LIST_COLUMNS], int year);

// Per column: 0 never sorted, 1 ascending, 2 descending. Column 0 starts as
// ascending; kept for the whole run.
extern int sort_direction[LIST_COLUMNS];

// Opening the dialog on `view`, which lives until it closes: the snapshot
// of what the list edits of every card, then the fill.
void list_open(DialogView& view, ListControl& list);
// Rows anew from the cards in use; card_year is computed again.
void list_fill(ListControl& list);
// The card year of the last fill.
int list_card_year();

// A button of the dialog (ids of editors/addressee_list_ids.h).
void list_command(DialogView& view, ListControl& list, int id);
// A click on the header of `column`. The name column and the reading
// column sort あいうえお順 by the reading, the rows without one behind in
// name order; the others as text (code units, ASCII case folded). Every
// second click on a column reverses its order.
void list_sort(ListControl& list, int column);
// The close box: true when the dialog was closed (the texts, senders and
// histories of the opening put back; print marks stay).
bool list_close_box(DialogView& view);

// The in-place editor. Begin: on a right click in `column`; when it opens,
// `row` gets the first selected row and `text` its cell's text (63 units
// at most), and the cell is emptied. End: the edited text goes back into
// that cell.
bool list_begin_cell_edit(ListControl& list, int column, int* row, char16_t (&text)[LINE_CAP]);
void list_end_cell_edit(ListControl& list, const char16_t* text);

// After the print job marked card `card` as sent in `year`: the row that
// stands for that card is marked in its own history, and its status texts
// follow ("済/未", or "済/受" when a card had come, in the card year's
// column). The addressee's history as the list opened is marked too: no
// undo takes back a print.
void list_card_marked(ListControl& list, int card, int year);

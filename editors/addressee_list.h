// The addressee list "あて先の編集" (dialog 4): a working copy of the cards
// in use as rows of 16 texts, each row carrying its card's New Year card
// history and reading, so that they follow the addressee through sorting,
// inserting, deleting and saving. Rows change only the list; a save writes
// them into the cards.
#pragma once

#include "editors/dialog_view.h"
#include "editors/editor_shared.h"
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
// ascending. File scope because it outlives the window: the next opening
// goes on from the last click.
extern int sort_direction[LIST_COLUMNS];

enum class RoundPick;  // editors/card_round.h

// One open addressee list on its dialog's view and report list; the Win32
// dialog creates it when it opens and deletes it when it is destroyed.
// Large (two copies of every card's addressee): made with new.
//
// The code is cut by what it does: addressee_list.cpp opens, fills, saves,
// undoes, closes and dispatches the buttons; addressee_list_rows.cpp holds
// the rows' conversion to and from the cards; addressee_list_row_buttons.cpp
// the buttons that add, edit, copy, paste and delete rows;
// addressee_list_checks.cpp the buttons that select rows (the round, the
// checks, search, index) and 漢数字; addressee_list_sort.cpp the header
// click and the in-place cell editor; addressee_list_print.cpp 印刷処理 and
// the print marks.
class AddresseeList final : public Editor {
public:
    AddresseeList(DialogView& view, ListControl& list) : Editor(view), list_(list) {}

    // The snapshot of what the list edits of every card, then the fill.
    void open();
    // Rows anew from the cards in use; card_year is computed again.
    void fill();
    // The card year of the last fill.
    int card_year() const { return year_; }

    // A button of the dialog (ids of editors/addressee_list_ids.h).
    void command(int id);
    // A click on the header of `column`. The name column and the reading
    // column sort あいうえお順 by the reading, the rows without one behind
    // in name order; the others as text (code units, ASCII case folded).
    // Every second click on a column reverses its order.
    void sort(int column);
    // The close box: true when the dialog was closed (the texts, senders
    // and histories of the opening put back; print marks stay).
    bool close_box();

    // The in-place editor. Begin: on a right click in `column`; when it
    // opens, `row` gets the first selected row and `text` its cell's text
    // (63 units at most), and the cell is emptied. End: the edited text
    // goes back into that cell.
    bool begin_cell_edit(int column, int* row, char16_t (&text)[LINE_CAP]);
    void end_cell_edit(const char16_t* text);

    // After the print job marked card `card` as sent in `year`: the row
    // that stands for that card is marked in its own history, and its
    // status texts follow ("済/未", or "済/受" when a card had come, in the
    // card year's column). The addressee's history as the list opened is
    // marked too: no undo takes back a print.
    void card_marked(int card, int year);

    const char16_t* caption() const override { return u"あて先の編集"; }
    // Rows changed, sorted or saved since the list opened.
    bool has_changes() override;
    void save_and_close() override;
    void discard_and_close() override;

private:
    static constexpr int kLineUnits = 63;

    // Rows (addressee_list_rows.cpp).
    void row_from_card(ListRow& row, const CardRecord& card, bool history) const;
    static int32_t row_sender(const ListRow& row);
    static void row_to_work_card(const ListRow& row);
    static void show_status(ListRow& row, int year);
    bool row_shows_card(const ListRow& row, int k) const;
    void pull_selection();
    int first_selected() const;
    void show_rows() { list_.show_rows(rows_, count_); }
    void insert_row(int p, const ListRow& row);
    void delete_row(int p);
    void close_gaps();
    void save_rows();
    void restore_addressees();
    void tell_select_row();

    // Row buttons (addressee_list_row_buttons.cpp).
    int take_selected_run(int* end);
    void put_edited_row(int p, bool replace, bool selected);
    int run_line_editor(int row, int total);
    ListRow pasted_row() const;
    void new_row();
    void edit_row();
    void copy_row();
    void insert_rows();
    void overwrite_rows();
    void delete_rows();

    // Rows picked by a button (addressee_list_checks.cpp).
    void select_round(RoundPick pick);
    void check_postal_codes();
    void check_overflow();
    void convert_address_lines();
    void select_only(int r);
    void find_next();
    void check_duplicates();
    void go_to_kana_row(int kana_row);

    // addressee_list_print.cpp
    void print_rows();

    ListControl& list_;
    ListRow rows_[HDATA_MAX];
    int count_ = 0;
    int year_ = 0;  // card_year at the last fill

    // What the list edits of every card (texts, postal code, sender,
    // history) as it was when the list opened, and for every card position
    // the index in it of the addressee the card holds now (-1: one added
    // since), which a save moves with the rows. A print marks the
    // addressee's history here too.
    CardRecord snapshot_[HDATA_MAX];
    int origin_[HDATA_MAX];

    struct EditedCell {
        bool open;
        int row;
        int column;
    } edited_{};
};

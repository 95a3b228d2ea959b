#include "editors/addressee_list.h"

#include <cstring>

#include "editors/addressee_list_ids.h"
#include "editors/card_round.h"
#include "editors/editor_shared.h"
#include "editors/postal_code_buttons.h"
#include "postal/postal_code_table.h"
#include "model/card_status.h"
#include "model/text.h"
#include "model/vertical_form.h"
#include "print/print_command.h"
#include "print/print_job.h"
#include "print/printer_state.h"

int sort_direction[LIST_COLUMNS] = {1};

namespace {

constexpr int kLineUnits = 63;
constexpr int kWorkPostalUnits = 15;
constexpr int kSenderUnits = 2;
constexpr int kMaxOverwrite = 100;

ListRow g_rows[HDATA_MAX];
int g_count = 0;
int g_year = 0;

// What the list edits of every card (texts, postal code, sender, history)
// as it was when the list opened, and for every card position the index in
// it of the addressee the card holds now (-1: one added since), which a
// save moves with the rows. A print marks the addressee's history here too.
CardRecord g_snapshot[HDATA_MAX];
int g_origin[HDATA_MAX];

struct EditedCell {
    bool open;
    int row;
    int column;
} g_edited;

void select_message(DialogView& view) {
    platform().message_box(view.window(), u"行を選択して下さい。", u"残念！", kButtonsOk);
}

void limit_message(DialogView& view) {
    char16_t text[64];
    TextBuilder(text, 64).add(u"宛先は").add_int(HDATA_MAX).add(u"個以上登録出来ません。");
    platform().message_box(view.window(), text, u"残念！", kButtonsOk);
}

void pull_selection(ListControl& list) {
    for (int r = 0; r < g_count; ++r) g_rows[r].selected = list.row_selected(r);
}

int first_selected() {
    for (int r = 0; r < g_count; ++r)
        if (g_rows[r].selected) return r;
    return -1;
}

void show_status(ListRow& row, int year) {
    for (int i = 0; i < 3; ++i)
        text_set(row.cell[COLUMN_STATUS0 + i], status_text_for(row.typ, year - i));
}

// Columns 0 to 12 from a card's texts and sender; with `history` the card's
// entries and their status texts, else an empty history and empty status
// cells.
void row_from_card(ListRow& row, const CardRecord& card, bool history) {
    std::memset(&row, 0, sizeof row);
    row.card = -1;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        text_copy(row.cell[COLUMN_NAME0 + k], LINE_CAP, card.tn.m[k].s, kLineUnits);
        text_copy(row.cell[COLUMN_ADDRESS0 + k], LINE_CAP, card.ta.m[k].s, kLineUnits);
    }
    text_set(row.cell[COLUMN_POSTAL], card.tt.m);
    TextBuilder(row.cell[COLUMN_SENDER], LINE_CAP).add_int(card.ftb + 1);
    row.ftb = card.ftb;
    if (card.ftb >= 0 && card.ftb < FDATA_MAX)
        text_set(row.cell[COLUMN_SENDER_NAME], doc().fdata[card.ftb].n[0].s);
    if (history) {
        std::memcpy(row.typ, card.typ, sizeof row.typ);
        show_status(row, g_year);
    }
}

// The row's sender: the one its sender cell names when that is a sender in
// use, else the one the row came with.
int32_t row_sender(const ListRow& row) {
    int v = text_to_int(row.cell[COLUMN_SENDER], kSenderUnits);
    return v >= 1 && v <= count_senders() ? v - 1 : row.ftb;
}

// A row's texts and sender into work_card ("編集" and "コピー").
void row_to_work_card(const ListRow& row) {
    CardRecord& w = work_card;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        text_copy(w.tn.m[k].s, LINE_CAP, row.cell[COLUMN_NAME0 + k], kLineUnits);
        text_copy(w.ta.m[k].s, LINE_CAP, row.cell[COLUMN_ADDRESS0 + k], kLineUnits);
    }
    text_copy(w.tt.m, POSTAL_CAP, row.cell[COLUMN_POSTAL], kWorkPostalUnits);
    w.ftb = row_sender(row);
}

void insert_row(int p, const ListRow& row) {
    std::memmove(&g_rows[p + 1], &g_rows[p], sizeof(ListRow) * (g_count - p));
    g_rows[p] = row;
    ++g_count;
}

void delete_row(int p) {
    std::memmove(&g_rows[p], &g_rows[p + 1], sizeof(ListRow) * (g_count - p - 1));
    --g_count;
}

// A row that would make a card not in use: first name line, first address
// line and postal code all empty.
bool row_empty(const ListRow& row) {
    return row.cell[COLUMN_NAME0][0] == 0 && row.cell[COLUMN_ADDRESS0][0] == 0 &&
           row.cell[COLUMN_POSTAL][0] == 0;
}

// Moves the lines of cells first..first+4 up so that the first line with
// text comes first.
void move_lines_up(ListRow& row, int first) {
    char16_t(*lines)[LINE_CAP] = &row.cell[first];
    int kept = 0;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        if (lines[k][0] == 0) continue;
        if (kept != k) std::memcpy(lines[kept], lines[k], sizeof lines[k]);
        ++kept;
    }
    for (int k = kept; k < ADDRESSEE_LINES; ++k) text_clear(lines[k], LINE_CAP);
}

// A card must have its first name line, first address line or postal code
// filled to be in use, and the cards in use have no gap: a row without
// them but with text on another line has its lines moved up; a row with no
// text at all is dropped (as a card not in use it would end the cards in
// use, and every card behind it would be lost to the main window, printing
// and the data file).
void close_gaps() {
    int kept = 0;
    for (int r = 0; r < g_count; ++r) {
        ListRow& row = g_rows[r];
        if (row_empty(row)) {
            move_lines_up(row, COLUMN_NAME0);
            move_lines_up(row, COLUMN_ADDRESS0);
        }
        if (!row_empty(row)) g_rows[kept++] = row;
    }
    g_count = kept;
}

// Writes the rows into cards 0..n-1 with their senders and histories; the
// cards behind them lose their texts, sender and history. Layouts stay with
// their card.
void save_rows() {
    close_gaps();
    int origin[HDATA_MAX];
    for (int r = 0; r < g_count; ++r) {
        CardRecord& card = doc().hdata[r];
        ListRow& row = g_rows[r];
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            text_set(card.tn.m[k].s, row.cell[COLUMN_NAME0 + k]);
            text_set(card.ta.m[k].s, row.cell[COLUMN_ADDRESS0 + k]);
        }
        // The row shows the postal code as stored ("123-4567" as 1234567).
        stored_postal_code(row.cell[COLUMN_POSTAL], card.tt.m, POSTAL_CAP);
        text_set(row.cell[COLUMN_POSTAL], card.tt.m);
        card.ftb = row.ftb = row_sender(row);
        std::memcpy(card.typ, row.typ, sizeof card.typ);
        origin[r] = row.card >= 0 ? g_origin[row.card] : -1;
        row.card = r;
    }
    for (int r = g_count; r < HDATA_MAX; ++r) {
        CardRecord& card = doc().hdata[r];
        text_clear(card.tt.m, POSTAL_CAP);
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            text_clear(card.ta.m[k].s, LINE_CAP);
            text_clear(card.tn.m[k].s, LINE_CAP);
        }
        card.ftb = 0;
        std::memset(card.typ, 0, sizeof card.typ);
        origin[r] = -1;
    }
    std::memcpy(g_origin, origin, sizeof g_origin);
}

// The texts, senders and histories of every card as the list opened.
void restore_addressees() {
    for (int i = 0; i < HDATA_MAX; ++i) {
        copy_addressee(doc().hdata[i], g_snapshot[i]);
        g_origin[i] = i;
    }
}

bool same_addressee(const CardRecord& a, const CardRecord& b) {
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        if (!text_equal(a.ta.m[k].s, b.ta.m[k].s) || !text_equal(a.tn.m[k].s, b.tn.m[k].s)) return false;
    return text_equal(a.tt.m, b.tt.m) && a.ftb == b.ftb &&
           std::memcmp(a.typ, b.typ, sizeof a.typ) == 0;
}

// The row shows card `k` exactly as a fill would.
bool row_shows_card(const ListRow& row, int k) {
    ListRow fresh;
    row_from_card(fresh, doc().hdata[k], true);
    for (int c = 0; c < COLUMN_SENDER_NAME; ++c)
        if (!text_equal(row.cell[c], fresh.cell[c])) return false;
    return row.card == k && row.ftb == fresh.ftb &&
           std::memcmp(row.typ, fresh.typ, sizeof row.typ) == 0;
}

// Rows changed, sorted or saved since the list opened.
bool has_changes(DialogView&) {
    for (int i = 0; i < HDATA_MAX; ++i)
        if (!same_addressee(doc().hdata[i], g_snapshot[i])) return true;
    if (g_count != count_cards()) return true;
    for (int r = 0; r < g_count; ++r)
        if (!row_shows_card(g_rows[r], r)) return true;
    return false;
}

void save_and_close(DialogView& view) {
    save_rows();
    doc().modified = true;
    view.repaint_main_window();
    close_editor(view, 1);
}

void discard_and_close(DialogView& view) {
    restore_addressees();
    view.repaint_main_window();
    close_editor(view, 0);
}

const EditorKind kAddresseeList = {u"あて先の編集", has_changes, save_and_close, discard_and_close};

// The run of consecutive selected rows that begins at the first selected
// row; every row ends up deselected. -1 when none is selected.
int take_selected_run(int* end) {
    int first = first_selected();
    *end = first;
    for (int r = 0; r < g_count; ++r) {
        if (!g_rows[r].selected) continue;
        if (r == *end + 1) *end = r;
        g_rows[r].selected = false;
    }
    return first;
}

// Row p from work_card after the one-line editor closed with "閉じる": the
// row takes work_card's history, and so does at once the card the row
// stands for (a new row stands for none until the list is saved).
void put_edited_row(int p, bool replace, bool selected) {
    ListRow row;
    row_from_card(row, work_card, true);
    row.selected = selected;
    if (replace) {
        row.card = g_rows[p].card;
        g_rows[p] = row;
    } else {
        insert_row(p, row);
    }
    if (row.card >= 0) std::memcpy(doc().hdata[row.card].typ, work_card.typ, sizeof work_card.typ);
}

// The one-line editor over the list; the main window waits meanwhile.
int run_line_editor(ListControl& list, int row, int total) {
    EditorModal modal;
    return list.open_line_editor(row, total);
}

bool card_has_text(const CardRecord& card) {
    if (card.tt.m[0] != 0) return true;
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        if (card.ta.m[k].s[0] != 0 || card.tn.m[k].s[0] != 0) return true;
    return false;
}

// "新規": an empty addressee (no texts, no history) with the sender and
// layout of the first card behind the list, which may still hold an
// addressee deleted from the list and must not show through.
void new_row(DialogView& view, ListControl& list) {
    if (g_count >= HDATA_MAX) {
        limit_message(view);
        return;
    }
    int n = g_count;
    CardRecord empty{};
    copy_layout(empty, doc().hdata[n]);
    empty.ftb = doc().hdata[n].ftb;
    std::memcpy(&work_card, &empty, sizeof work_card);
    if (run_line_editor(list, n, n) != 1) return;
    if (!card_has_text(work_card)) return;
    pull_selection(list);
    put_edited_row(g_count, false, false);
    list.show_rows(g_rows, g_count);
}

void edit_row(DialogView& view, ListControl& list) {
    int r = first_selected();
    if (r < 0) return select_message(view);
    row_to_work_card(g_rows[r]);
    std::memcpy(work_card.typ, g_rows[r].typ, sizeof work_card.typ);
    if (run_line_editor(list, r, g_count) != 1) return;
    pull_selection(list);
    put_edited_row(r, true, g_rows[r].selected);
    list.show_rows(g_rows, g_count);
}

// A row of work_card's texts and sender with an empty history ("挿入", "上書き").
ListRow pasted_row() {
    ListRow row;
    row_from_card(row, work_card, false);
    return row;
}

void insert_rows(DialogView& view, ListControl& list) {
    int end = 0;
    int first = take_selected_run(&end);
    if (first < 0) return select_message(view);
    for (int p = first; p <= end; ++p) {
        if (g_count >= HDATA_MAX) {
            list.show_rows(g_rows, g_count);
            return limit_message(view);
        }
        insert_row(p, pasted_row());
    }
    list.show_rows(g_rows, g_count);
}

void overwrite_rows(DialogView& view, ListControl& list) {
    if (first_selected() < 0) return select_message(view);
    int taken = 0;
    for (int r = 0; r < g_count && taken < kMaxOverwrite; ++r) {
        if (!g_rows[r].selected) continue;
        g_rows[r] = pasted_row();
        ++taken;
    }
    list.show_rows(g_rows, g_count);
}

void delete_rows(DialogView& view, ListControl& list) {
    if (first_selected() < 0) return select_message(view);
    for (int r = g_count - 1; r >= 0; --r)
        if (g_rows[r].selected) delete_row(r);
    list.show_rows(g_rows, g_count);
}

// Prints the addressees of every selected row, in list order, in one job:
// the list is written into the cards first (as "画面更新" does), so that the
// cards at the rows' positions are the rows the user selected, whatever
// order the list shows.
void print_rows(DialogView& view, ListControl& list) {
    if (first_selected() < 0) return select_message(view);
    save_rows();  // keeps the selection; may drop empty rows
    int cards[HDATA_MAX];
    int count = 0;
    for (int r = 0; r < g_count; ++r) {
        if (!g_rows[r].selected) continue;
        cards[count++] = r;
        g_rows[r].selected = false;
    }
    list.show_rows(g_rows, g_count);
    view.repaint_main_window();
    if (count == 0) return;  // only empty rows were selected: no card to print
    // The dialog offers the pages from the first to the last selected card.
    // Only a run of rows without a gap leaves that range to the main
    // window's next print: rows 2, 3 and 5 must not come back as 2 to 5.
    const int32_t mode = doc().print.prn_mode;
    const int32_t from = printer_state().list_from;
    const int32_t to = printer_state().list_to;
    doc().print.prn_mode = 3;
    printer_state().list_from = cards[0] + 1;
    printer_state().list_to = cards[count - 1] + 1;
    print_cards_command(view.window(), cards, count);
    if (cards[count - 1] - cards[0] + 1 != count) {
        doc().print.prn_mode = mode;
        printer_state().list_from = from;
        printer_state().list_to = to;
    }
    view.repaint_main_window();  // the marks and the printer in the status bar
}

// "未送付を選択" and "要返信を選択": exactly the rows still to be done in the
// card year, the first of them scrolled into view.
void select_round(DialogView& view, ListControl& list, RoundPick pick) {
    int selected = select_round_rows(g_rows, g_count, g_year, pick);
    list.show_rows(g_rows, g_count);
    if (selected == 0) return tell_nothing_picked(view.window(), pick, g_year);
    list.scroll_to_row(first_selected());
}

// "郵便番号チェック": selects exactly the rows whose postal code is not seven
// digits or not in the table, so that the user can fix them before
// printing, then tells how many (the rows stand selected behind the
// message). Without the table the selection stays.
void check_postal_codes(DialogView& view, ListControl& list) {
    // Judged as each row would be stored: "150-0001" typed into a cell is
    // stored (and printed) as 1500001.
    static char16_t stored[HDATA_MAX][POSTAL_CAP];
    const char16_t* codes[HDATA_MAX];
    bool bad[HDATA_MAX];
    for (int r = 0; r < g_count; ++r) {
        stored_postal_code(g_rows[r].cell[COLUMN_POSTAL], stored[r], POSTAL_CAP);
        codes[r] = stored[r];
    }
    int bad_rows = find_bad_postal_codes(view.window(), codes, g_count, bad);
    if (bad_rows < 0) return;
    for (int r = 0; r < g_count; ++r) g_rows[r].selected = bad[r];
    list.show_rows(g_rows, g_count);
    int first = first_selected();
    if (first >= 0) list.scroll_to_row(first);
    tell_bad_postal_codes(view.window(), bad_rows);
}

// "はみ出しチェック": selects exactly the rows whose card, as the row would
// be saved into it (its texts and sender with the layout of the card at its
// position), has a line that does not fit even at its smallest size, and
// scrolls to the first; says so when there is none.
void check_overflow(DialogView& view, ListControl& list) {
    static CardRecord card;
    for (int r = 0; r < g_count; ++r) {
        card = doc().hdata[r];
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            text_copy(card.tn.m[k].s, LINE_CAP, g_rows[r].cell[COLUMN_NAME0 + k], kLineUnits);
            text_copy(card.ta.m[k].s, LINE_CAP, g_rows[r].cell[COLUMN_ADDRESS0 + k], kLineUnits);
        }
        stored_postal_code(g_rows[r].cell[COLUMN_POSTAL], card.tt.m, POSTAL_CAP);
        card.ftb = row_sender(g_rows[r]);
        g_rows[r].selected = list.overflow_lines(card) > 0;
    }
    list.show_rows(g_rows, g_count);
    int first = first_selected();
    if (first >= 0) return list.scroll_to_row(first);
    platform().message_box(view.window(), u"はみ出す宛先はありません。", u"あて先の編集", kButtonsOk);
}

// "漢数字": the five address lines of every selected row in their
// vertical-writing form; the rows stay selected. Like any change of the
// rows it reaches the cards with the next save, and "元に戻す" takes it back.
void convert_address_lines(DialogView& view, ListControl& list) {
    if (first_selected() < 0) return select_message(view);
    for (int r = 0; r < g_count; ++r) {
        if (!g_rows[r].selected) continue;
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            char16_t converted[LINE_CAP];
            vertical_form(converted, kLineUnits + 1, g_rows[r].cell[COLUMN_ADDRESS0 + k]);
            text_set(g_rows[r].cell[COLUMN_ADDRESS0 + k], converted);
        }
    }
    list.show_rows(g_rows, g_count);
}

// _wcsicmp: code units in order, ASCII A-Z folded to lower case.
int compare_text(const char16_t* a, const char16_t* b) {
    for (;; ++a, ++b) {
        char16_t x = *a >= u'A' && *a <= u'Z' ? char16_t(*a + 32) : *a;
        char16_t y = *b >= u'A' && *b <= u'Z' ? char16_t(*b + 32) : *b;
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

}  // namespace

void list_columns(ListColumn (&out)[LIST_COLUMNS], int year) {
    static const int widths[LIST_COLUMNS] = {150, 150, 10, 10, 10, 150, 150, 10,
                                             10,  10,  100, 30, 100, 50, 50, 50};
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        TextBuilder(out[COLUMN_NAME0 + k].caption, 16).add(u"氏名").add_int(k);
        TextBuilder(out[COLUMN_ADDRESS0 + k].caption, 16).add(u"住所").add_int(k);
    }
    text_set(out[COLUMN_POSTAL].caption, u"郵便番号");
    text_set(out[COLUMN_SENDER].caption, u"差");
    text_set(out[COLUMN_SENDER_NAME].caption, u"差出名");
    for (int i = 0; i < 3; ++i) {
        int yy = ((year - i) % 100 + 100) % 100;
        TextBuilder b(out[COLUMN_STATUS0 + i].caption, 16);
        if (yy < 10) b.add_unit(u'0');
        b.add_int(yy).add(u"年");
    }
    for (int c = 0; c < LIST_COLUMNS; ++c) out[c].width = widths[c];
}

void list_open(DialogView& view, ListControl& list) {
    std::memcpy(g_snapshot, doc().hdata, sizeof g_snapshot);
    for (int i = 0; i < HDATA_MAX; ++i) g_origin[i] = i;
    g_edited.open = false;
    list_fill(list);
    editor_opened(kAddresseeList, view);
}

void list_fill(ListControl& list) {
    g_year = card_year();
    g_count = 0;
    for (int k = 0; k < count_cards(); ++k) {
        row_from_card(g_rows[g_count], doc().hdata[k], true);
        g_rows[g_count++].card = k;
    }
    list.show_rows(g_rows, g_count);
}

int list_card_year() { return g_year; }

void list_command(DialogView& view, ListControl& list, int id) {
    // Nothing is taken while a print runs (print/print_job.h): a refresh
    // or a save between two pages would change what the next pages print.
    if (print_lock_held()) return;
    pull_selection(list);
    switch (id) {
    case IDC_LIST_NEW: new_row(view, list); break;
    case IDC_LIST_EDIT: edit_row(view, list); break;
    case IDC_LIST_COPY: {
        int r = first_selected();
        if (r < 0) return select_message(view);
        row_to_work_card(g_rows[r]);
        break;
    }
    case IDC_LIST_INSERT: insert_rows(view, list); break;
    case IDC_LIST_OVERWRITE: overwrite_rows(view, list); break;
    case IDC_LIST_DELETE: delete_rows(view, list); break;
    case IDC_LIST_PRINT: print_rows(view, list); break;
    case IDC_LIST_POSTAL_CHECK: check_postal_codes(view, list); break;
    case IDC_LIST_OVERFLOW_CHECK: check_overflow(view, list); break;
    case IDC_LIST_SELECT_UNSENT: select_round(view, list, RoundPick::Unsent); break;
    case IDC_LIST_SELECT_REPLY: select_round(view, list, RoundPick::NeedsReply); break;
    case IDC_LIST_VERTICAL_FORM: convert_address_lines(view, list); break;
    case IDC_LIST_UNDO:
        restore_addressees();
        view.repaint_main_window();
        list_fill(list);
        break;
    case IDC_LIST_SAVE_CLOSE:
        save_and_close(view);
        break;
    case IDC_LIST_REFRESH:
        save_rows();
        list.show_rows(g_rows, g_count);
        view.repaint_main_window();
        view.repaint_dialog();
        break;
    default: break;
    }
}

void list_sort(ListControl& list, int column) {
    if (column < 0 || column >= LIST_COLUMNS || print_lock_held()) return;
    sort_direction[column] = sort_direction[column] == 1 ? 2 : 1;
    int sign = sort_direction[column] == 1 ? 1 : -1;
    pull_selection(list);
    // Insertion sort of the row order: stable, so rows with equal texts keep
    // their order; the rows themselves move once.
    int order[HDATA_MAX];
    for (int i = 0; i < g_count; ++i) {
        int j = i;
        while (j > 0 && sign * compare_text(g_rows[order[j - 1]].cell[column], g_rows[i].cell[column]) > 0) {
            order[j] = order[j - 1];
            --j;
        }
        order[j] = i;
    }
    static ListRow sorted[HDATA_MAX];
    int edited_row = g_edited.row;
    for (int i = 0; i < g_count; ++i) {
        sorted[i] = g_rows[order[i]];
        // A cell still being edited moves with its row.
        if (order[i] == g_edited.row) edited_row = i;
    }
    g_edited.row = edited_row;
    std::memcpy(g_rows, sorted, sizeof(ListRow) * g_count);
    list.show_rows(g_rows, g_count);
}

bool list_close_box(DialogView& view) {
    if (print_lock_held()) return false;
    if (!confirm_discard(view)) return false;
    discard_and_close(view);
    return true;
}

bool list_begin_cell_edit(ListControl& list, int column, int* row, char16_t (&text)[LINE_CAP]) {
    if (column < 0 || column >= LIST_EDITABLE_COLUMNS || print_lock_held()) return false;
    pull_selection(list);
    int r = first_selected();
    if (r < 0) return false;
    text_copy(text, LINE_CAP, g_rows[r].cell[column], kLineUnits);
    text_clear(g_rows[r].cell[column], LINE_CAP);
    list.show_rows(g_rows, g_count);
    g_edited = {true, r, column};
    *row = r;
    return true;
}

void list_end_cell_edit(ListControl& list, const char16_t* text) {
    if (!g_edited.open) return;
    g_edited.open = false;
    if (g_edited.row >= g_count) return;
    pull_selection(list);
    text_copy(g_rows[g_edited.row].cell[g_edited.column], LINE_CAP, text, kLineUnits);
    list.show_rows(g_rows, g_count);
}

void list_card_marked(ListControl& list, int card, int year) {
    if (card < 0 || card >= HDATA_MAX) return;
    // As mark_card_sent does to the card, also to the history the list's
    // undo would put back.
    if (g_origin[card] >= 0) mark_typ_sent(g_snapshot[g_origin[card]].typ, year);
    for (int r = 0; r < g_count; ++r) {
        ListRow& row = g_rows[r];
        if (row.card != card) continue;
        mark_typ_sent(row.typ, year);  // as mark_card_sent does to the card
        show_status(row, g_year);
        pull_selection(list);
        list.show_rows(g_rows, g_count);
        return;
    }
}

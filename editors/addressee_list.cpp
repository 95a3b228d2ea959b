#include "editors/addressee_list.h"

#include <cstring>

#include "editors/addressee_list_ids.h"
#include "editors/card_round.h"
#include "editors/editor_shared.h"
#include "editors/postal_code_buttons.h"
#include "model/card_status.h"
#include "model/text.h"
#include "model/vertical_form.h"
#include "print/print_command.h"
#include "print/printer_state.h"

int sort_direction[LIST_COLUMNS] = {1};

namespace {

constexpr int kLineUnits = 63;
constexpr int kSavedPostalUnits = 7;
constexpr int kWorkPostalUnits = 15;
constexpr int kSenderUnits = 2;
constexpr int kMaxOverwrite = 100;

ListRow g_rows[HDATA_MAX];
int g_count = 0;
int g_year = 0;

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
    if (card.ftb >= 0 && card.ftb < FDATA_MAX)
        text_set(row.cell[COLUMN_SENDER_NAME], doc().fdata[card.ftb].n[0].s);
    if (history) {
        std::memcpy(row.typ, card.typ, sizeof row.typ);
        show_status(row, g_year);
    }
}

// The sender number of a cell when it names a sender in use, else -1.
int sender_of_cell(const char16_t* cell) {
    int v = text_to_int(cell, kSenderUnits);
    return v >= 1 && v <= count_senders() ? v - 1 : -1;
}

// A row's texts and sender into work_card ("編集" and "コピー").
void row_to_work_card(const ListRow& row) {
    CardRecord& w = work_card;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        text_copy(w.tn.m[k].s, LINE_CAP, row.cell[COLUMN_NAME0 + k], kLineUnits);
        text_copy(w.ta.m[k].s, LINE_CAP, row.cell[COLUMN_ADDRESS0 + k], kLineUnits);
    }
    text_copy(w.tt.m, POSTAL_CAP, row.cell[COLUMN_POSTAL], kWorkPostalUnits);
    int sender = sender_of_cell(row.cell[COLUMN_SENDER]);
    if (sender >= 0) w.ftb = sender;
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

// Writes the rows into cards 0..n-1 with their histories; the cards behind
// them lose their texts, sender and history. Layouts stay with their card.
// Empty rows are dropped from the list first: as a card not in use they
// would end the cards in use, and every card behind them would be lost to
// the main window, printing and the data file.
void save_rows() {
    int kept = 0;
    for (int r = 0; r < g_count; ++r)
        if (!row_empty(g_rows[r])) g_rows[kept++] = g_rows[r];
    g_count = kept;

    int senders = count_senders();
    for (int r = 0; r < g_count; ++r) {
        CardRecord& card = doc().hdata[r];
        const ListRow& row = g_rows[r];
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            text_set(card.tn.m[k].s, row.cell[COLUMN_NAME0 + k]);
            text_set(card.ta.m[k].s, row.cell[COLUMN_ADDRESS0 + k]);
        }
        text_copy(card.tt.m, POSTAL_CAP, row.cell[COLUMN_POSTAL], kSavedPostalUnits);
        int v = text_to_int(row.cell[COLUMN_SENDER], kSenderUnits);
        if (v >= 1 && v <= senders) card.ftb = v - 1;
        std::memcpy(card.typ, row.typ, sizeof card.typ);
        g_rows[r].card = r;
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
    }
}

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
// row takes work_card's history, and so does card p at once.
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
    std::memcpy(doc().hdata[p].typ, work_card.typ, sizeof work_card.typ);
}

void new_row(DialogView& view, ListControl& list) {
    if (g_count >= HDATA_MAX) {
        limit_message(view);
        return;
    }
    int n = g_count;
    work_card = doc().hdata[n];
    std::memset(work_card.typ, 0, sizeof work_card.typ);  // a new addressee has no history
    if (list.open_line_editor(n, n) != 1) return;
    const CardRecord& w = work_card;
    if (w.ta.m[0].s[0] == 0 && w.tn.m[0].s[0] == 0 && w.tt.m[0] == 0) return;
    pull_selection(list);
    put_edited_row(g_count, false, false);
    list.show_rows(g_rows, g_count);
}

void edit_row(DialogView& view, ListControl& list) {
    int r = first_selected();
    if (r < 0) return select_message(view);
    row_to_work_card(g_rows[r]);
    std::memcpy(work_card.typ, g_rows[r].typ, sizeof work_card.typ);
    if (list.open_line_editor(r, g_count) != 1) return;
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
    doc().print.prn_mode = 3;
    printer_state().list_from = cards[0] + 1;
    printer_state().list_to = cards[count - 1] + 1;
    print_cards_command(view.window(), cards, count);
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
    const char16_t* codes[HDATA_MAX];
    bool bad[HDATA_MAX];
    for (int r = 0; r < g_count; ++r) codes[r] = g_rows[r].cell[COLUMN_POSTAL];
    int bad_rows = find_bad_postal_codes(view.window(), codes, g_count, bad);
    if (bad_rows < 0) return;
    for (int r = 0; r < g_count; ++r) g_rows[r].selected = bad[r];
    list.show_rows(g_rows, g_count);
    int first = first_selected();
    if (first >= 0) list.scroll_to_row(first);
    tell_bad_postal_codes(view.window(), bad_rows);
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

void list_open(ListControl& list) {
    take_card_snapshot();
    g_edited.open = false;
    list_fill(list);
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
    case IDC_LIST_SELECT_UNSENT: select_round(view, list, RoundPick::Unsent); break;
    case IDC_LIST_SELECT_REPLY: select_round(view, list, RoundPick::NeedsReply); break;
    case IDC_LIST_VERTICAL_FORM: convert_address_lines(view, list); break;
    case IDC_LIST_UNDO:
        restore_card_snapshot();
        view.repaint_main_window();
        list_fill(list);
        break;
    case IDC_LIST_SAVE_CLOSE:
        save_rows();
        doc().modified = true;
        view.repaint_main_window();
        view.close(1);
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
    if (column < 0 || column >= LIST_COLUMNS) return;
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
    for (int i = 0; i < g_count; ++i) sorted[i] = g_rows[order[i]];
    std::memcpy(g_rows, sorted, sizeof(ListRow) * g_count);
    list.show_rows(g_rows, g_count);
}

bool list_close_box(DialogView& view) {
    if (!confirm_discard(view)) return false;
    restore_card_snapshot();
    view.repaint_main_window();
    view.close(0);
    return true;
}

bool list_begin_cell_edit(ListControl& list, int column, int* row, char16_t (&text)[LINE_CAP]) {
    if (column < 0 || column >= LIST_EDITABLE_COLUMNS) return false;
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

// The addressee list's rows: made from the cards, written back into them,
// and the cards put back as the list opened.
#include <cstring>

#include "editors/addressee_list.h"
#include "editors/editor_shared.h"
#include "model/card_status.h"
#include "model/text.h"
#include "postal/postal_code_table.h"

namespace {

constexpr int kWorkPostalUnits = 15;
constexpr int kSenderUnits = 2;

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

}  // namespace

void AddresseeList::tell_select_row() {
    platform().message_box(view_.window(), u"行を選択して下さい。", u"残念！", kButtonsOk);
}

void AddresseeList::pull_selection() {
    for (int r = 0; r < count_; ++r) rows_[r].selected = list_.row_selected(r);
}

int AddresseeList::first_selected() const {
    for (int r = 0; r < count_; ++r)
        if (rows_[r].selected) return r;
    return -1;
}

void AddresseeList::show_status(ListRow& row, int year) {
    for (int i = 0; i < 3; ++i)
        text_set(row.cell[COLUMN_STATUS0 + i], status_text_for(row.typ, year - i));
}

// Columns 0 to 12 from a card's texts and sender; with `history` the card's
// entries and their status texts, else an empty history and empty status
// cells.
void AddresseeList::row_from_card(ListRow& row, const CardRecord& card, bool history) const {
    std::memset(&row, 0, sizeof row);
    row.card = -1;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        text_copy(row.cell[COLUMN_NAME0 + k], LINE_CAP, card.tn.m[k].s, kLineUnits);
        text_copy(row.cell[COLUMN_ADDRESS0 + k], LINE_CAP, card.ta.m[k].s, kLineUnits);
    }
    text_set(row.cell[COLUMN_POSTAL], card.tt.m);
    text_set(row.cell[COLUMN_YOMI], card.yomi);
    TextBuilder(row.cell[COLUMN_SENDER], LINE_CAP).add_int(card.ftb + 1);
    row.ftb = card.ftb;
    if (card.ftb >= 0 && card.ftb < FDATA_MAX)
        text_set(row.cell[COLUMN_SENDER_NAME], doc().fdata[card.ftb].n[0].s);
    if (history) {
        std::memcpy(row.typ, card.typ, sizeof row.typ);
        show_status(row, year_);
    }
}

// The row's sender: the one its sender cell names when that is a sender in
// use, else the one the row came with.
int32_t AddresseeList::row_sender(const ListRow& row) {
    int v = text_to_int(row.cell[COLUMN_SENDER], kSenderUnits);
    return v >= 1 && v <= count_senders() ? v - 1 : row.ftb;
}

// A row's texts and sender into work_card ("編集" and "コピー").
void AddresseeList::row_to_work_card(const ListRow& row) {
    CardRecord& w = work_card;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        text_copy(w.tn.m[k].s, LINE_CAP, row.cell[COLUMN_NAME0 + k], kLineUnits);
        text_copy(w.ta.m[k].s, LINE_CAP, row.cell[COLUMN_ADDRESS0 + k], kLineUnits);
    }
    text_copy(w.tt.m, POSTAL_CAP, row.cell[COLUMN_POSTAL], kWorkPostalUnits);
    text_set(w.yomi, row.cell[COLUMN_YOMI]);
    w.ftb = row_sender(row);
}

void AddresseeList::insert_row(int p, const ListRow& row) {
    std::memmove(&rows_[p + 1], &rows_[p], sizeof(ListRow) * (count_ - p));
    rows_[p] = row;
    ++count_;
}

void AddresseeList::delete_row(int p) {
    std::memmove(&rows_[p], &rows_[p + 1], sizeof(ListRow) * (count_ - p - 1));
    --count_;
}

// A card must have its first name line, first address line or postal code
// filled to be in use, and the cards in use have no gap: a row without
// them but with text on another line has its lines moved up; a row with no
// text at all is dropped (as a card not in use it would end the cards in
// use, and every card behind it would be lost to the main window, printing
// and the data file).
void AddresseeList::close_gaps() {
    int kept = 0;
    for (int r = 0; r < count_; ++r) {
        ListRow& row = rows_[r];
        if (row_empty(row)) {
            move_lines_up(row, COLUMN_NAME0);
            move_lines_up(row, COLUMN_ADDRESS0);
        }
        if (!row_empty(row)) rows_[kept++] = row;
    }
    count_ = kept;
}

// Writes the rows into cards 0..n-1 with their senders and histories; the
// cards behind them lose their texts, sender and history. Layouts stay with
// their card.
void AddresseeList::save_rows() {
    close_gaps();
    int origin[HDATA_MAX];
    for (int r = 0; r < count_; ++r) {
        CardRecord& card = doc().hdata[r];
        ListRow& row = rows_[r];
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            text_set(card.tn.m[k].s, row.cell[COLUMN_NAME0 + k]);
            text_set(card.ta.m[k].s, row.cell[COLUMN_ADDRESS0 + k]);
        }
        // The row shows the postal code as stored ("123-4567" as 1234567).
        stored_postal_code(row.cell[COLUMN_POSTAL], card.tt.m, POSTAL_CAP);
        text_set(row.cell[COLUMN_POSTAL], card.tt.m);
        text_set(card.yomi, row.cell[COLUMN_YOMI]);
        card.ftb = row.ftb = row_sender(row);
        std::memcpy(card.typ, row.typ, sizeof card.typ);
        origin[r] = row.card >= 0 ? origin_[row.card] : -1;
        row.card = r;
    }
    for (int r = count_; r < HDATA_MAX; ++r) {
        CardRecord& card = doc().hdata[r];
        text_clear(card.tt.m, POSTAL_CAP);
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            text_clear(card.ta.m[k].s, LINE_CAP);
            text_clear(card.tn.m[k].s, LINE_CAP);
        }
        card.ftb = 0;
        std::memset(card.typ, 0, sizeof card.typ);
        text_clear(card.yomi, YOMI_CAP);
        origin[r] = -1;
    }
    std::memcpy(origin_, origin, sizeof origin_);
}

// The texts, senders and histories of every card as the list opened.
void AddresseeList::restore_addressees() {
    for (int i = 0; i < HDATA_MAX; ++i) {
        copy_addressee(doc().hdata[i], snapshot_[i]);
        origin_[i] = i;
    }
}

// The row shows card `k` exactly as a fill would.
bool AddresseeList::row_shows_card(const ListRow& row, int k) const {
    ListRow fresh;
    row_from_card(fresh, doc().hdata[k], true);
    for (int c = 0; c < COLUMN_SENDER_NAME; ++c)
        if (!text_equal(row.cell[c], fresh.cell[c])) return false;
    if (!text_equal(row.cell[COLUMN_YOMI], fresh.cell[COLUMN_YOMI])) return false;
    return row.card == k && row.ftb == fresh.ftb &&
           std::memcmp(row.typ, fresh.typ, sizeof row.typ) == 0;
}

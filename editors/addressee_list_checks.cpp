// The addressee list's buttons that pick rows: 未送付を選択 and
// 要返信を選択, 郵便番号チェック, はみ出しチェック, 次を検索, 重複チェック
// and the index buttons; and 漢数字 on the selected rows.
#include "editors/addressee_list.h"
#include "editors/addressee_list_finding.h"
#include "editors/addressee_list_ids.h"
#include "editors/card_round.h"
#include "editors/postal_code_buttons.h"
#include "model/text.h"
#include "model/vertical_form.h"
#include "postal/postal_code_table.h"

// "未送付を選択" and "要返信を選択": exactly the rows still to be done in the
// card year, the first of them scrolled into view.
void AddresseeList::select_round(RoundPick pick) {
    int selected = select_round_rows(rows_, count_, year_, pick);
    show_rows();
    if (selected == 0) return tell_nothing_picked(view_.window(), pick, year_);
    list_.scroll_to_row(first_selected());
}

// "郵便番号チェック": selects exactly the rows whose postal code is not seven
// digits or not in the table, so that the user can fix them before
// printing, then tells how many (the rows stand selected behind the
// message). Without the table the selection stays.
void AddresseeList::check_postal_codes() {
    // Judged as each row would be stored: "150-0001" typed into a cell is
    // stored (and printed) as 1500001.
    char16_t stored[HDATA_MAX][POSTAL_CAP];
    const char16_t* codes[HDATA_MAX];
    bool bad[HDATA_MAX];
    for (int r = 0; r < count_; ++r) {
        stored_postal_code(rows_[r].cell[COLUMN_POSTAL], stored[r], POSTAL_CAP);
        codes[r] = stored[r];
    }
    int bad_rows = find_bad_postal_codes(view_.window(), codes, count_, bad);
    if (bad_rows < 0) return;
    for (int r = 0; r < count_; ++r) rows_[r].selected = bad[r];
    show_rows();
    int first = first_selected();
    if (first >= 0) list_.scroll_to_row(first);
    tell_bad_postal_codes(view_.window(), bad_rows);
}

// "はみ出しチェック": selects exactly the rows whose card, as the row would
// be saved into it (its texts and sender with the layout of the card at its
// position), has a line that does not fit even at its smallest size, and
// scrolls to the first; says so when there is none.
void AddresseeList::check_overflow() {
    CardRecord card;
    for (int r = 0; r < count_; ++r) {
        card = doc().hdata[r];
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            text_copy(card.tn.m[k].s, LINE_CAP, rows_[r].cell[COLUMN_NAME0 + k], kLineUnits);
            text_copy(card.ta.m[k].s, LINE_CAP, rows_[r].cell[COLUMN_ADDRESS0 + k], kLineUnits);
        }
        stored_postal_code(rows_[r].cell[COLUMN_POSTAL], card.tt.m, POSTAL_CAP);
        card.ftb = row_sender(rows_[r]);
        rows_[r].selected = list_.overflow_lines(card) > 0;
    }
    show_rows();
    int first = first_selected();
    if (first >= 0) return list_.scroll_to_row(first);
    platform().message_box(view_.window(), u"はみ出す宛先はありません。", u"あて先の編集", kButtonsOk);
}

// "漢数字": the five address lines of every selected row in their
// vertical-writing form; the rows stay selected. Like any change of the
// rows it reaches the cards with the next save, and "元に戻す" takes it back.
void AddresseeList::convert_address_lines() {
    if (first_selected() < 0) return tell_select_row();
    for (int r = 0; r < count_; ++r) {
        if (!rows_[r].selected) continue;
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            char16_t converted[LINE_CAP];
            vertical_form(converted, kLineUnits + 1, rows_[r].cell[COLUMN_ADDRESS0 + k]);
            text_set(rows_[r].cell[COLUMN_ADDRESS0 + k], converted);
        }
    }
    show_rows();
}

// Selects row r alone and brings it into view.
void AddresseeList::select_only(int r) {
    for (int i = 0; i < count_; ++i) rows_[i].selected = i == r;
    show_rows();
    list_.scroll_to_row(r);
}

// "次を検索" (Enter in "検索", F3): the next row after the first selected
// one, wrapping, that holds the text.
void AddresseeList::find_next() {
    char16_t typed[LINE_CAP] = {};
    view_.get_text(IDC_LIST_SEARCH, typed, LINE_CAP);
    int r = find_next_row(rows_, count_, first_selected(), typed);
    if (r == FIND_NOTHING_TYPED) return;
    if (r < 0) {
        platform().message_box(view_.window(), u"見つかりません。", u"あて先の編集", kButtonsOk);
        return;
    }
    select_only(r);
}

// "重複チェック": selects every row that repeats an earlier one and tells
// how many.
void AddresseeList::check_duplicates() {
    int found = select_duplicate_rows(rows_, count_);
    show_rows();
    if (found == 0) {
        platform().message_box(view_.window(), u"重複はありません。", u"あて先の編集", kButtonsOk);
        return;
    }
    list_.scroll_to_row(first_selected());
    char16_t text[64];
    TextBuilder(text, 64).add(u"前の行と重複する行が").add_int(found).add(u"行あります。");
    platform().message_box(view_.window(), text, u"あて先の編集", kButtonsOk);
}

// An index button: the first row whose reading begins in that 行 (or in
// the nearest 行 after it that has one) is selected and brought into view.
void AddresseeList::go_to_kana_row(int kana_row) {
    int r = first_row_of_kana_row(rows_, count_, kana_row);
    if (r >= 0) select_only(r);
}

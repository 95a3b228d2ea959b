// The addressee list's buttons that change rows: 新規 and 編集 through the
// one-line editor, コピー into work_card, 挿入 and 上書き from it, and 削除.
#include <cstring>

#include "editors/addressee_list.h"
#include "editors/editor_shared.h"
#include "model/text.h"

namespace {

constexpr int kMaxOverwrite = 100;

void limit_message(DialogView& view) {
    char16_t text[64];
    TextBuilder(text, 64).add(u"宛先は").add_int(HDATA_MAX).add(u"個以上登録出来ません。");
    platform().message_box(view.window(), text, u"残念！", kButtonsOk);
}

bool card_has_text(const CardRecord& card) {
    if (card.tt.m[0] != 0) return true;
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        if (card.ta.m[k].s[0] != 0 || card.tn.m[k].s[0] != 0) return true;
    return false;
}

}  // namespace

// The run of consecutive selected rows that begins at the first selected
// row; every row ends up deselected. -1 when none is selected.
int AddresseeList::take_selected_run(int* end) {
    int first = first_selected();
    *end = first;
    for (int r = 0; r < count_; ++r) {
        if (!rows_[r].selected) continue;
        if (r == *end + 1) *end = r;
        rows_[r].selected = false;
    }
    return first;
}

// Row p from work_card after the one-line editor closed with "閉じる": the
// row takes work_card's history, and so does at once the card the row
// stands for (a new row stands for none until the list is saved).
void AddresseeList::put_edited_row(int p, bool replace, bool selected) {
    ListRow row;
    row_from_card(row, work_card, true);
    row.selected = selected;
    if (replace) {
        row.card = rows_[p].card;
        rows_[p] = row;
    } else {
        insert_row(p, row);
    }
    if (row.card >= 0) std::memcpy(doc().hdata[row.card].typ, work_card.typ, sizeof work_card.typ);
}

// The one-line editor over the list; the main window waits meanwhile.
int AddresseeList::run_line_editor(int row, int total) {
    EditorModal modal;
    return list_.open_line_editor(row, total);
}

// "新規": an empty addressee (no texts, no history) with the sender and
// layout of the first card behind the list, which may still hold an
// addressee deleted from the list and must not show through.
void AddresseeList::new_row() {
    if (count_ >= HDATA_MAX) {
        limit_message(view_);
        return;
    }
    int n = count_;
    CardRecord empty{};
    copy_layout(empty, doc().hdata[n]);
    empty.ftb = doc().hdata[n].ftb;
    std::memcpy(&work_card, &empty, sizeof work_card);
    if (run_line_editor(n, n) != 1) return;
    if (!card_has_text(work_card)) return;
    pull_selection();
    put_edited_row(count_, false, false);
    show_rows();
}

void AddresseeList::edit_row() {
    int r = first_selected();
    if (r < 0) return tell_select_row();
    row_to_work_card(rows_[r]);
    std::memcpy(work_card.typ, rows_[r].typ, sizeof work_card.typ);
    if (run_line_editor(r, count_) != 1) return;
    pull_selection();
    put_edited_row(r, true, rows_[r].selected);
    show_rows();
}

void AddresseeList::copy_row() {
    int r = first_selected();
    if (r < 0) return tell_select_row();
    row_to_work_card(rows_[r]);
}

// A row of work_card's texts and sender with an empty history ("挿入", "上書き").
ListRow AddresseeList::pasted_row() const {
    ListRow row;
    row_from_card(row, work_card, false);
    return row;
}

void AddresseeList::insert_rows() {
    int end = 0;
    int first = take_selected_run(&end);
    if (first < 0) return tell_select_row();
    for (int p = first; p <= end; ++p) {
        if (count_ >= HDATA_MAX) {
            show_rows();
            return limit_message(view_);
        }
        insert_row(p, pasted_row());
    }
    show_rows();
}

void AddresseeList::overwrite_rows() {
    if (first_selected() < 0) return tell_select_row();
    int taken = 0;
    for (int r = 0; r < count_ && taken < kMaxOverwrite; ++r) {
        if (!rows_[r].selected) continue;
        rows_[r] = pasted_row();
        ++taken;
    }
    show_rows();
}

void AddresseeList::delete_rows() {
    if (first_selected() < 0) return tell_select_row();
    for (int r = count_ - 1; r >= 0; --r)
        if (rows_[r].selected) delete_row(r);
    show_rows();
}

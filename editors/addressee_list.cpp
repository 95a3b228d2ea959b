#include "editors/addressee_list.h"

#include <cstring>

#include "editors/addressee_list_ids.h"
#include "editors/card_round.h"
#include "editors/editor_shared.h"
#include "model/card_status.h"
#include "model/text.h"
#include "print/print_job.h"

namespace {

bool same_addressee(const CardRecord& a, const CardRecord& b) {
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        if (!text_equal(a.ta.m[k].s, b.ta.m[k].s) || !text_equal(a.tn.m[k].s, b.tn.m[k].s)) return false;
    return text_equal(a.tt.m, b.tt.m) && text_equal(a.yomi, b.yomi) && a.ftb == b.ftb &&
           std::memcmp(a.typ, b.typ, sizeof a.typ) == 0;
}

}  // namespace

void list_columns(ListColumn (&out)[LIST_COLUMNS], int year) {
    static const int widths[LIST_COLUMNS] = {150, 150, 10, 10, 10, 150, 150, 10, 10,
                                             10,  100, 30, 100, 50, 50, 50, 110};
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        TextBuilder(out[COLUMN_NAME0 + k].caption, 16).add(u"氏名").add_int(k);
        TextBuilder(out[COLUMN_ADDRESS0 + k].caption, 16).add(u"住所").add_int(k);
    }
    text_set(out[COLUMN_POSTAL].caption, u"郵便番号");
    text_set(out[COLUMN_SENDER].caption, u"差");
    text_set(out[COLUMN_SENDER_NAME].caption, u"差出名");
    text_set(out[COLUMN_YOMI].caption, u"よみ");
    for (int i = 0; i < 3; ++i) {
        int yy = ((year - i) % 100 + 100) % 100;
        TextBuilder b(out[COLUMN_STATUS0 + i].caption, 16);
        if (yy < 10) b.add_unit(u'0');
        b.add_int(yy).add(u"年");
    }
    for (int c = 0; c < LIST_COLUMNS; ++c) out[c].width = widths[c];
}

void AddresseeList::open() {
    std::memcpy(snapshot_, doc().hdata, sizeof snapshot_);
    for (int i = 0; i < HDATA_MAX; ++i) origin_[i] = i;
    edited_.open = false;
    fill();
    opened();
}

void AddresseeList::fill() {
    year_ = ::card_year();
    count_ = 0;
    for (int k = 0; k < count_cards(); ++k) {
        row_from_card(rows_[count_], doc().hdata[k], true);
        rows_[count_++].card = k;
    }
    show_rows();
}

bool AddresseeList::has_changes() {
    for (int i = 0; i < HDATA_MAX; ++i)
        if (!same_addressee(doc().hdata[i], snapshot_[i])) return true;
    if (count_ != count_cards()) return true;
    for (int r = 0; r < count_; ++r)
        if (!row_shows_card(rows_[r], r)) return true;
    return false;
}

void AddresseeList::save_and_close() {
    save_rows();
    doc().modified = true;
    view_.repaint_main_window();
    close(1);
}

void AddresseeList::discard_and_close() {
    restore_addressees();
    view_.repaint_main_window();
    close(0);
}

bool AddresseeList::close_box() {
    if (print_lock_held()) return false;
    if (!confirm_discard(view_)) return false;
    discard_and_close();
    return true;
}

void AddresseeList::command(int id) {
    // Nothing is taken while a print runs (print/print_job.h): a refresh
    // or a save between two pages would change what the next pages print.
    if (print_lock_held()) return;
    pull_selection();
    switch (id) {
    case IDC_LIST_NEW: new_row(); break;
    case IDC_LIST_EDIT: edit_row(); break;
    case IDC_LIST_COPY: copy_row(); break;
    case IDC_LIST_INSERT: insert_rows(); break;
    case IDC_LIST_OVERWRITE: overwrite_rows(); break;
    case IDC_LIST_DELETE: delete_rows(); break;
    case IDC_LIST_PRINT: print_rows(); break;
    case IDC_LIST_POSTAL_CHECK: check_postal_codes(); break;
    case IDC_LIST_OVERFLOW_CHECK: check_overflow(); break;
    case IDC_LIST_SELECT_UNSENT: select_round(RoundPick::Unsent); break;
    case IDC_LIST_SELECT_REPLY: select_round(RoundPick::NeedsReply); break;
    case IDC_LIST_VERTICAL_FORM: convert_address_lines(); break;
    case IDC_LIST_FIND_NEXT: find_next(); break;
    case IDC_LIST_DUPLICATES: check_duplicates(); break;
    case IDC_LIST_UNDO:
        restore_addressees();
        view_.repaint_main_window();
        fill();
        break;
    case IDC_LIST_SAVE_CLOSE:
        save_and_close();
        break;
    case IDC_LIST_REFRESH:
        save_rows();
        show_rows();
        view_.repaint_main_window();
        view_.repaint_dialog();
        break;
    default:
        if (id >= IDC_LIST_INDEX_FIRST && id <= IDC_LIST_INDEX_LAST) go_to_kana_row(id - IDC_LIST_INDEX_FIRST);
        break;
    }
}

// The addressee list's header click (sorting the rows) and its in-place
// cell editor, whose open cell moves with its row through a sort.
#include <cstring>
#include <memory>

#include "editors/addressee_list.h"
#include "editors/addressee_list_finding.h"
#include "model/text.h"
#include "print/print_job.h"

// File scope because it outlives the window: the next opening goes on from
// the last click.
int sort_direction[LIST_COLUMNS] = {1};

namespace {

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

void AddresseeList::sort(int column) {
    if (column < 0 || column >= LIST_COLUMNS || print_lock_held()) return;
    sort_direction[column] = sort_direction[column] == 1 ? 2 : 1;
    int sign = sort_direction[column] == 1 ? 1 : -1;
    pull_selection();
    // Insertion sort of the row order: stable, so rows with equal texts keep
    // their order; the rows themselves move once.
    int order[HDATA_MAX];
    if (column == COLUMN_NAME0 || column == COLUMN_YOMI) {
        sort_by_reading(rows_, count_, sign, order);
    } else {
        for (int i = 0; i < count_; ++i) {
            int j = i;
            while (j > 0 && sign * compare_text(rows_[order[j - 1]].cell[column], rows_[i].cell[column]) > 0) {
                order[j] = order[j - 1];
                --j;
            }
            order[j] = i;
        }
    }
    std::unique_ptr<ListRow[]> sorted(new ListRow[HDATA_MAX]);
    int edited_row = edited_.row;
    for (int i = 0; i < count_; ++i) {
        sorted[i] = rows_[order[i]];
        // A cell still being edited moves with its row.
        if (order[i] == edited_.row) edited_row = i;
    }
    edited_.row = edited_row;
    std::memcpy(rows_, sorted.get(), sizeof(ListRow) * count_);
    show_rows();
}

bool AddresseeList::begin_cell_edit(int column, int* row, char16_t (&text)[LINE_CAP]) {
    bool editable = (column >= 0 && column < LIST_EDITABLE_COLUMNS) || column == COLUMN_YOMI;
    if (!editable || print_lock_held()) return false;
    pull_selection();
    int r = first_selected();
    if (r < 0) return false;
    text_copy(text, LINE_CAP, rows_[r].cell[column], kLineUnits);
    text_clear(rows_[r].cell[column], LINE_CAP);
    show_rows();
    edited_ = {true, r, column};
    *row = r;
    return true;
}

void AddresseeList::end_cell_edit(const char16_t* text) {
    if (!edited_.open) return;
    edited_.open = false;
    if (edited_.row >= count_) return;
    pull_selection();
    text_copy(rows_[edited_.row].cell[edited_.column], LINE_CAP, text, kLineUnits);
    show_rows();
}

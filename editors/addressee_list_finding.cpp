#include "editors/addressee_list_finding.h"

#include <memory>

#include "model/addressee_search.h"
#include "model/duplicate_addressee.h"
#include "model/kana_fold.h"

namespace {

AddresseeTexts row_texts(const ListRow& row) {
    AddresseeTexts t;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        t.names[k] = row.cell[COLUMN_NAME0 + k];
        t.address[k] = row.cell[COLUMN_ADDRESS0 + k];
    }
    t.postal = row.cell[COLUMN_POSTAL];
    t.yomi = row.cell[COLUMN_YOMI];
    return t;
}

struct SortKeys {
    ReadingKey reading[HDATA_MAX];
    ReadingKey name[HDATA_MAX];
};

int compare_rows(const SortKeys& k, int a, int b) {
    const bool ra = k.reading[a].length > 0;
    const bool rb = k.reading[b].length > 0;
    if (ra != rb) return ra ? -1 : 1;
    if (ra) {
        int c = compare_reading_keys(k.reading[a], k.reading[b]);
        if (c != 0) return c;
    }
    return compare_reading_keys(k.name[a], k.name[b]);
}

}  // namespace

void sort_by_reading(const ListRow* rows, int count, int sign, int* order) {
    // Each row's keys are made once; the insertion sort then only compares.
    std::unique_ptr<SortKeys> made(new SortKeys);
    SortKeys& keys = *made;
    for (int i = 0; i < count; ++i) {
        make_reading_key(keys.reading[i], rows[i].cell[COLUMN_YOMI]);
        make_reading_key(keys.name[i], rows[i].cell[COLUMN_NAME0]);
    }
    for (int i = 0; i < count; ++i) {
        int j = i;
        while (j > 0 && sign * compare_rows(keys, order[j - 1], i) > 0) {
            order[j] = order[j - 1];
            --j;
        }
        order[j] = i;
    }
}

int find_next_row(const ListRow* rows, int count, int after, const char16_t* typed) {
    SearchQuery query;
    make_search_query(query, typed);
    if (query.text[0] == 0) return FIND_NOTHING_TYPED;
    if (after < -1 || after >= count) after = -1;
    for (int step = 1; step <= count; ++step) {
        int r = (after + step) % count;
        if (addressee_matches(query, row_texts(rows[r]))) return r;
    }
    return -1;
}

int select_duplicate_rows(ListRow* rows, int count) {
    std::unique_ptr<DuplicateKey[]> keys(new DuplicateKey[HDATA_MAX]);
    int found = 0;
    for (int r = 0; r < count; ++r) {
        make_duplicate_key(keys[r], rows[r].cell[COLUMN_NAME0], rows[r].cell[COLUMN_POSTAL],
                           rows[r].cell[COLUMN_ADDRESS0]);
        bool repeated = false;
        for (int q = 0; q < r && !repeated; ++q) repeated = is_duplicate(keys[q], keys[r]);
        rows[r].selected = repeated;
        found += repeated ? 1 : 0;
    }
    return found;
}

int first_row_of_kana_row(const ListRow* rows, int count, int kana_row) {
    int best = -1;
    int best_row = 10;
    for (int r = 0; r < count; ++r) {
        int k = reading_kana_row(rows[r].cell[COLUMN_YOMI]);
        if (k < kana_row || k >= best_row) continue;
        best = r;
        best_row = k;
        if (k == kana_row) break;
    }
    return best;
}

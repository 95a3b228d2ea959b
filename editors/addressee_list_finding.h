// Finding rows of the addressee list: あいうえお順 by the reading, the next
// row that holds a text, the rows that repeat an earlier addressee, and the
// first row of a 行 for the index buttons.
#pragma once

#include "editors/addressee_list.h"

// The row order (indices into `rows`) あいうえお順: rows with a reading by
// it (equal readings by name), then the rows without one by name, names
// compared the same way (kana names as kana, others by code). `sign` -1
// reverses the order. Stable.
void sort_by_reading(const ListRow* rows, int count, int sign, int* order);

// The first row after `after` (wrapping, `after` itself last; -1: from the
// top) whose name lines, reading, address lines or postal code hold
// `typed`; -1 when none does; FIND_NOTHING_TYPED when `typed` has nothing
// to find (empty or spaces).
constexpr int FIND_NOTHING_TYPED = -2;
int find_next_row(const ListRow* rows, int count, int after, const char16_t* typed);

// Selects exactly the rows that are the same addressee as an earlier row
// (model/duplicate_addressee.h); returns how many.
int select_duplicate_rows(ListRow* rows, int count);

// The first row whose reading begins in `kana_row` (0 あ .. 9 わ); when no
// reading does, the first of the nearest later 行 that has one; -1 when none.
int first_row_of_kana_row(const ListRow* rows, int count, int kana_row);

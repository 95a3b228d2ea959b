// The addressees of a CSV file: which column holds what, found by the header
// row, and each row turned into the texts of one card.
//
// Headers known: the program's own export ("名前1".."名前5", "郵便番号",
// "住所1".."住所5", "差出番号", "宛先") and the usual names of other tools:
// "氏名", "姓" and "名" (joined by a full-width space), "〒", "住所",
// "会社名" and "部署" (extra address lines behind the address), "敬称"
// (appended to the first name line unless it already ends with it). When a
// header names a column twice, the first one counts. A file whose first row
// names no known column is read in the column order of the export.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/csv_parser.h"
#include "model/document.h"

// Kinds of column the import reads.
constexpr int CSV_COLUMN_KINDS = 17;

// One row: for each kind of column, its field (empty when the file has no
// such column or the row ends before it), pointing into the text.
struct CsvRow {
    CsvField column[CSV_COLUMN_KINDS];
};

// A decoded file and the rows read from it. Not copied: the rows point
// into the text.
struct CsvAddressees {
    CsvAddressees() = default;
    CsvAddressees(const CsvAddressees&) = delete;
    CsvAddressees& operator=(const CsvAddressees&) = delete;

    std::u16string text;          // the decoded file; the rows point into it
    std::vector<CsvRow> rows;     // at most HDATA_MAX, in file order
    int left_out = 0;             // rows with addressee texts behind the first HDATA_MAX
};

// Reads every row of `text` (changed in place by the parser) into `rows`
// and `left_out`. Rows without a name, an address and a postal code are
// skipped.
void read_csv_addressees(CsvAddressees& file);

// Writes the texts and the sender of one row into a card whose addressee
// texts are clear, for a document with `senders` senders in use. Texts are
// cut to the fields' capacities; a line break inside a field becomes a
// full-width space. A row whose texts would leave its card out of use
// (nothing on the first name and address lines and no postal code) has its
// lines moved up, so that the card counts and does not end the list of
// cards. Postal codes keep their digits only; `ftb` is the row's sender when
// that sender is in use, else 0.
void write_csv_row(const CsvRow& row, int senders, CardRecord& card);

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

#include "model/document.h"

// The addressee texts of one row, cut to the fields' capacities.
struct CsvAddressee {
    char16_t postal[POSTAL_CAP];         // digits only
    TextLine address[ADDRESSEE_LINES];
    TextLine name[ADDRESSEE_LINES];
    int32_t ftb;                         // a sender in use, else 0
};

struct CsvAddressees {
    std::vector<CsvAddressee> rows;  // at most HDATA_MAX, in file order
    int left_out = 0;                // rows with addressee texts behind the first HDATA_MAX
};

// Reads every row of the decoded text (changed in place by the parser).
// Texts are cut to the fields' capacities; a line break inside a field
// becomes a full-width space.
// Rows without a name, an address and a postal code are skipped. A row whose
// texts would leave its card out of use (nothing on the first name and
// address lines and no postal code) has its lines moved up, so that the card
// counts and does not end the list of cards.
void read_csv_addressees(std::u16string& text, CsvAddressees& out);

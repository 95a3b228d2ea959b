// Which column of a CSV table holds what, recognised from the header row by
// meaning rather than by one spelling: each kind of column has a list of
// names (Japanese spreadsheets, address programs, the contacts exports of
// mail services, the program's own export), compared after folding
// full-width letters and digits, spaces and case ("住所１", "Address 1 -
// Postal Code", "ZIP"). An address part may carry whose address it is:
// "番地 (自宅)", "郵便番号 (会社)", "自宅の市町村", "Home Street",
// "Business City", "Address 2 - Street"; a row takes the first of these
// addresses that it fills, the home address before the work address.
// Reading columns (フリガナ, よみ, Phonetic, Yomi …) are known and not read.
#pragma once

#include <bitset>
#include <cstdint>

#include "exchange/csv_parser.h"

// What a column holds.
enum CsvColumnKind : int8_t {
    COLUMN_UNUSED = 0,
    COLUMN_NAME,          // the whole name: name line 1
    COLUMN_NAME_LINE,     // a further name line of the export ("名前2"..)
    COLUMN_FAMILY,        // family name, joined with the given name
    COLUMN_GIVEN,
    COLUMN_HONORIFIC,     // 敬称, behind the name and each joint name
    COLUMN_JOINT,         // 連名: a further person, on the next name line
    COLUMN_POSTAL,
    COLUMN_PREFECTURE,    // address parts joined into address line 1
    COLUMN_CITY,
    COLUMN_STREET,
    COLUMN_BUILDING,      // address line 2
    COLUMN_ADDRESS_LINE,  // address lines 3 to 5 of the export
    COLUMN_COMPANY,       // on the lines behind the address
    COLUMN_DEPARTMENT,
    COLUMN_TITLE,
    COLUMN_SENDER,        // the sender's number
    COLUMN_CARD_NUMBER,   // the export's card number: cards are numbered by their place
    COLUMN_COUNTRY,       // on a line of its own behind the address, unless Japan
    COLUMN_READING,       // the reading of a name: known, not read
};

// Whose address a column holds; a row uses the first of them it fills.
enum AddressGroup : int8_t {
    ADDRESS_PLAIN = 0,  // no owner named
    ADDRESS_HOME,
    ADDRESS_WORK,
    ADDRESS_OTHER,      // "(その他)", "Other …", Google's second address
    ADDRESS_GROUPS
};

struct CsvColumns {
    int count = 0;                                // columns read: the header's, and nameless ones behind it
    CsvColumnKind kind[CSV_MAX_FIELDS] = {};
    int8_t line[CSV_MAX_FIELDS] = {};             // the line of COLUMN_NAME_LINE, COLUMN_ADDRESS_LINE
    AddressGroup group[CSV_MAX_FIELDS] = {};
    // A nameless column read with the named column on its left: what Excel
    // writes for a header cell merged over several columns.
    bool joined[CSV_MAX_FIELDS] = {};
    // The program's own export: its lines and postal codes are read as they were written.
    bool own_export = false;
};

using CsvColumnSet = std::bitset<CSV_MAX_FIELDS>;

// True for the kinds that make up an address (postal code to country),
// which belong to an owner's address.
bool is_address_part(CsvColumnKind kind);

// Maps the columns of a header record. True when it names a name or an
// address column, which makes it the header. A kind takes the first column
// of its names; further ones are unused, except that a table may have
// several 連名 columns, and several differently named street or building
// columns (町域 and 番地), which are joined in their order. A whole name
// wins over family and given names, which are read where it is empty;
// "名前" is the given name beside a family name column, else the whole name.
// Nameless columns right of a whole name or an address part are joined to
// it.
bool map_csv_header(const CsvField* fields, int count, CsvColumns& columns);

// The column order of the program's own export, for a table without header.
void export_csv_columns(CsvColumns& columns);

// Describes the mapping for the summary ("氏名 ← 姓+名、郵便番号 ← 〒、
// 住所1 ← 住所+3列…") with the header's own texts, and lists the columns not
// used: those with a name, and nameless ones in `with_text` (a column with
// text in some row). `header` (room for CSV_MAX_FIELDS) is nullptr for a
// table without header.
void describe_csv_columns(const CsvField* header, const CsvColumns& columns,
                          const CsvColumnSet& with_text, char16_t* mapping, char16_t* unused, int cap);

// Lists the header's texts, "、" between, for the message of a table
// whose header names no name and no address column.
void list_csv_headers(const CsvField* header, int count, char16_t* out, int cap);

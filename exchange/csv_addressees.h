// The addressees of a CSV table: where the table starts, how its fields are
// separated and which column holds what, then each row turned into the
// texts of one card, with everything that does not fit counted.
//
// Above the header may stand a title, empty lines or Excel's "sep=;" line:
// the header is the first of the first ten records with any text that names
// a name or an address column (see csv_columns.h). The separator is the one
// "sep=" names, else whichever of comma, tab and semicolon makes such a
// header, else the one the first record has most fields with. A table
// without such a header is read in the column order of the program's own
// export when it starts with a card number; else nothing is read.
//
// A row's texts: name line 1 is the whole name, or the family and given
// names joined by a full-width space, with the 敬称 behind it (unless it
// already ends with it); each 連名 follows on the next name line, with the
// 敬称 too. The address is put together as import_address.h says (a row
// takes the first owner's address it fills: plain, home, work, other); the
// company and then the department with the job title follow on lines of
// their own. The program's own export keeps its lines in their places and
// its postal codes' digits.
#pragma once

#include <string>

#include "exchange/addressee_import.h"

// Reads the addressees of the decoded `text` (changed in place by the
// parser) into `import`, with the mapping, the unused columns and the
// notes of what could not be read. False when the table's first record
// names no name or address column and is no row of the export: then
// import.unused lists that record's texts and no addressee is read.
bool read_csv_addressees(std::u16string& text, AddresseeImport& import);

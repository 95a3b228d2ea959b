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
// export.
//
// A row's texts: name line 1 is the whole name, or the family and given
// names joined by a full-width space, with the 敬称 behind it (unless it
// already ends with it); each 連名 follows on the next name line, with the
// 敬称 too. Address line 1 joins the prefecture, city and street parts
// without spaces, line 2 is the building; the company and then the
// department with the job title follow on lines of their own. Postal codes
// keep their digits only.
#pragma once

#include <string>

#include "files/addressee_import.h"

// Reads the addressees of the decoded `text` (changed in place by the
// parser) into `import`, with the mapping, the unused columns and the
// notes of what could not be read.
void read_csv_addressees(std::u16string& text, AddresseeImport& import);

// The CSV import: the rows of a CSV file written by the program's own
// export, a spreadsheet, another address tool or a contacts export replace
// the addressees or join them behind the ones in use. The senders and the
// layouts stay as they are.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

// Results of import_csv.
constexpr int CSV_IMPORTED = 0;
constexpr int CSV_IMPORT_DECLINED = 1;  // the user kept the current addressees
constexpr int CSV_IMPORT_FAILED = 2;    // no file or no row (message shown); nothing changed

// Largest file read; bigger ones are refused before they are read.
constexpr size_t CSV_MAX_BYTES = 32u << 20;

// Reads `chosen_file`, shows the summary of what it holds and what would be
// lost, and on 置き換え or 追加 writes its rows into the cards (see
// offer_import). A file that cannot be read or holds no addressee is
// reported and changes nothing.
int import_csv(WindowHandle owner);

// Reads the whole file at `path` through the platform into the storage of
// `file` (for decode_csv_file) and sets *bytes to its size; false when it
// cannot be opened, a read fails or it is larger than CSV_MAX_BYTES.
bool read_csv_file(const char16_t* path, std::u16string& file, size_t* bytes);

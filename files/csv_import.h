// The CSV import: replaces every addressee by the rows of a CSV file written
// by the program's own export, a spreadsheet or another address tool. The
// senders and the layouts stay as they are.
#pragma once

#include <cstddef>
#include <string>

#include "files/csv_addressees.h"
#include "platform/platform.h"

// Results of import_csv.
constexpr int CSV_IMPORTED = 0;
constexpr int CSV_IMPORT_DECLINED = 1;  // the user kept the current addressees
constexpr int CSV_IMPORT_FAILED = 2;    // no file or no row (message shown); nothing changed

// Largest file read; bigger ones are refused before they are read.
constexpr size_t CSV_MAX_BYTES = 32u << 20;

// Reads `chosen_file`, asks "%d件の宛先を読み込みます。現在の宛先と置き換えますか？"
// and on Yes makes its rows cards 0.. (see apply_csv_addressees), then tells
// how many rows behind the 200th were left out, if any. A file that cannot
// be read or holds no addressee is reported and changes nothing.
int import_csv(WindowHandle owner);

// Reads the whole file at `path` through the platform into the storage of
// `file` (for decode_csv_file) and sets *bytes to its size; false when it
// cannot be opened or is larger than CSV_MAX_BYTES.
bool read_csv_file(const char16_t* path, std::u16string& file, size_t* bytes);

// Replaces the texts, senders and New Year card histories of all cards by
// the rows, shows the first card and marks the document changed (the rows
// are not in the addressee file yet). Layouts and senders are kept.
void apply_csv_addressees(const CsvAddressees& addressees);

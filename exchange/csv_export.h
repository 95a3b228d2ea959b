// The CSV export of the cards in use: one row per card with the addressee's
// texts and the texts of the sender chosen for it, UTF-16LE with a byte
// order mark, every field followed by a comma; a text holding a comma, a
// double quote or a line break is quoted as in RFC 4180.
#pragma once

#include "platform/platform.h"

// Results, as for the data file writers.
constexpr int CSV_WRITTEN = 0;
constexpr int CSV_DECLINED = 1;  // the user did not want the existing file overwritten
constexpr int CSV_FAILED = 2;    // the file could not be written (message shown)

// Writes the cards to `chosen_file`, asking before it overwrites an existing
// file. The old file stays as it was unless the new one was written whole.
int export_csv(WindowHandle owner);

// Import of the two older file generations into the current document: the
// older layout file (every card's layout under "base_dt[...]" keys, one
// bitmap size and the print settings) and the older address file (the
// addressee texts under "form_address[...]" and one sender under
// "to_address"). Both are UTF-16LE key=value files like the data files.
#pragma once

#include "platform/platform.h"

// Kinds of older file.
constexpr int LEGACY_LAYOUT = 1;
constexpr int LEGACY_ADDRESS = 2;

// Results of import_legacy. The caller clears `modified` unless the user
// declined, in which case nothing changed.
constexpr int LEGACY_READ = 0;      // the file was read (lines that fit no key are skipped)
constexpr int LEGACY_DECLINED = 1;  // the user did not confirm; nothing changed
constexpr int LEGACY_FAILED = 2;    // the file could not be opened, was not UTF-16 or could
                                    // not be read to its end: nothing changed (reported)

// Units of a number value converted, and the longest texts taken from the
// older files.
constexpr int LEGACY_NUMBER_UNITS = 30;
constexpr int LEGACY_PATH_UNITS = 254;
constexpr int LEGACY_FACE_UNITS = 31;
constexpr int LEGACY_POSTAL_UNITS = 14;
constexpr int LEGACY_LINE_UNITS = 62;

// Asks for confirmation, then reads `chosen_file` as the older layout file
// (LEGACY_LAYOUT) or the older address file (LEGACY_ADDRESS), replacing the
// part of the document that kind covers only when the whole file was read.
int import_legacy(WindowHandle owner, int kind);

// Apply one line (without its CR LF) of each older file to the document.
void read_old_layout_line(const char16_t* line);
void read_old_address_line(const char16_t* line);

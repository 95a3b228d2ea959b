// Turns the bytes of a CSV file into UTF-16 text, whichever way the file was
// written: UTF-16LE or UTF-16BE with a byte order mark (the program's own
// export is UTF-16LE), UTF-8 with or without one, or Shift_JIS (code page
// 932, what Japanese spreadsheets save), which the platform decodes.
#pragma once

#include <cstddef>
#include <string>

// The encodings recognised.
constexpr int CSV_UTF16LE = 1;
constexpr int CSV_UTF16BE = 2;
constexpr int CSV_UTF8_BOM = 3;
constexpr int CSV_UTF8 = 4;       // no byte order mark, every byte sequence valid
constexpr int CSV_SHIFT_JIS = 5;  // anything else

// Decodes `count` bytes into `text` (without a byte order mark) and returns
// the encoding found. Never fails: byte sequences that are no character
// become replacement characters, and an odd last byte of UTF-16 is dropped.
int decode_csv_bytes(const unsigned char* bytes, size_t count, std::u16string& text);

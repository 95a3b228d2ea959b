// Turns the bytes of a CSV file into UTF-16 text, whichever way the file was
// written: UTF-16LE or UTF-16BE with a byte order mark (the program's own
// export is UTF-16LE) or without one (told by its zero bytes), UTF-8 with or
// without one, or Shift_JIS (code page 932, what Japanese spreadsheets
// save), which the platform decodes. Without a byte order mark the bytes
// decide: UTF-8 when they are valid UTF-8 but for a handful of stray bytes
// among many UTF-8 characters, else Shift_JIS.
#pragma once

#include <cstddef>
#include <string>

// The encodings recognised.
constexpr int CSV_UTF16LE = 1;
constexpr int CSV_UTF16BE = 2;
constexpr int CSV_UTF8_BOM = 3;
constexpr int CSV_UTF8 = 4;       // no byte order mark, (almost) every byte sequence valid
constexpr int CSV_SHIFT_JIS = 5;  // anything else

// Decodes the file whose `bytes` bytes were read into the storage of
// `file` from its start, replacing them by the text, and returns the
// encoding found. A UTF-16LE file, the export's encoding, is its own text
// and keeps its byte order mark U+FEFF in front; the other encodings give
// the text without one. Never fails: byte sequences that are no character
// become replacement characters (their number goes to *garbled), and an odd
// last byte of UTF-16 is dropped.
int decode_csv_file(std::u16string& file, size_t bytes, int* garbled = nullptr);

// Puts bytes into the storage of a text as a file read would, for
// decode_csv_file.
void store_csv_bytes(const void* bytes, size_t count, std::u16string& file);

// The pieces of the decision above, for readers that decode text by parts
// (a vCard's values):
// CSV_UTF16LE or CSV_UTF16BE when the bytes are UTF-16 by their byte order
// mark or their zero bytes, else 0.
int utf16_by_evidence(const unsigned char* bytes, size_t count);
// True when the bytes are UTF-8 but for a handful of stray bytes.
bool utf8_by_evidence(const unsigned char* bytes, size_t count);
// Appends the UTF-8 bytes decoded to `text`; returns the bytes that started
// no character (each gave a replacement character).
int append_utf8(const unsigned char* bytes, size_t count, std::u16string& text);
// Bytes that cannot be part of Shift_JIS text (a lead byte without its
// second byte, or a byte no character starts with).
int count_shift_jis_garbled(const unsigned char* bytes, size_t count);

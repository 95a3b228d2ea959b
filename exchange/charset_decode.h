// Text in the charsets contacts files declare (vCard's CHARSET=): UTF-8,
// Shift_JIS (code page 932), EUC-JP and ISO-2022-JP (turned into code page
// 932 bytes: all three encode JIS X 0208, so the one code page table of the
// platform serves them), ISO-8859-1 and windows-1252 (small tables here),
// and the other code pages Windows knows by their names (through the
// platform).
#pragma once

#include <cstddef>
#include <string>

// Decodes `count` bytes in the charset named (any case) and appends the text
// to `text`. Bytes that are no character give U+FFFD each and are counted
// in *garbled. False, with nothing appended, when the charset is unknown
// or the platform lacks its code page.
bool decode_charset(const std::string& charset, const unsigned char* bytes, size_t count,
                    std::u16string& text, int* garbled);

// Decodes bytes whose charset nobody declared: ISO-2022-JP when they hold
// its escape sequences, UTF-8 when they are UTF-8 (but for a few stray
// bytes), else code page 932; *cp932 is set in that last case.
void decode_undeclared(const unsigned char* bytes, size_t count, std::u16string& text, int* garbled,
                       bool* cp932);

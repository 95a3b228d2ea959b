// Code page decoding for the test platforms, with the C library's iconv:
// what MultiByteToWideChar does for the Win32 platform.
#pragma once

#include <cstddef>
#include <string>

// As Platform::decode_code_page: code page 932 (iconv's "CP932", the
// Windows flavour of Shift_JIS) and the single-byte code pages contacts
// files name; every byte that starts no character gives U+FFFD.
int iconv_decode_code_page(unsigned code_page, const void* bytes, size_t count, char16_t* out,
                           size_t out_cap);

// The text in code page 932 (what Japanese Windows and Japan Post write).
std::string shift_jis(const std::u16string& text);

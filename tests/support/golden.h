// Expected data files written by hand as UTF-8 text under tests/files/golden:
// each LF-ended line becomes a CR LF-ended UTF-16LE line behind FF FE.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/fake_platform.h"

inline std::u16string utf16_from_utf8(const std::string& s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        uint32_t c = 0;
        int extra = 0;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else {
            c = b & 0x07;
            extra = 3;
        }
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i)
            c = (c << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

// The bytes of a data file as its golden text describes it.
inline std::string golden_data_file(const std::string& golden_name) {
    std::ifstream f(std::string(ZK_SOURCE_DIR) + "/tests/files/golden/" + golden_name, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::u16string units;
    for (char16_t u : utf16_from_utf8(text)) {
        if (u == u'\n') units += u'\r';
        units += u;
    }
    return utf16le_file(units);
}

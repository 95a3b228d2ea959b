#include "files/csv_decode.h"

#include <cstdint>
#include <cstring>

#include "platform/platform.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr unsigned kShiftJisCodePage = 932;

bool little_endian_host() {
    const uint16_t one = 1;
    unsigned char first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

void decode_utf16(const unsigned char* bytes, size_t count, bool little, std::u16string& text) {
    const size_t units = count / 2;
    text.resize(units);
    if (units == 0) return;
    if (little == little_endian_host()) {
        std::memcpy(&text[0], bytes, units * 2);
        return;
    }
    for (size_t i = 0; i < units; ++i) {
        const unsigned char* b = bytes + 2 * i;
        text[i] = little ? static_cast<char16_t>(b[0] | b[1] << 8)
                         : static_cast<char16_t>(b[0] << 8 | b[1]);
    }
}

// Length of the well-formed UTF-8 sequence at `p` (at most `left` bytes)
// and its code point; 0 when the bytes there start no character (overlong
// forms, surrogates and values beyond U+10FFFF included).
size_t utf8_sequence(const unsigned char* p, size_t left, uint32_t* code) {
    const unsigned char b = p[0];
    if (b < 0x80) {
        *code = b;
        return 1;
    }
    size_t n;
    uint32_t c;
    uint32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2, c = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3, c = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4, c = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (left < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        c = c << 6 | (p[i] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    *code = c;
    return n;
}

// Decodes UTF-8; with `strict`, stops at the first malformed sequence and
// returns false, otherwise each byte that starts no character gives one
// replacement character.
bool decode_utf8(const unsigned char* bytes, size_t count, bool strict, std::u16string& text) {
    text.clear();
    text.reserve(count);
    size_t i = 0;
    while (i < count) {
        // Runs of ASCII, the bulk of most files, go through in one step.
        size_t ascii = i;
        while (ascii < count && bytes[ascii] < 0x80) ++ascii;
        text.append(bytes + i, bytes + ascii);
        i = ascii;
        if (i == count) break;
        uint32_t code = 0;
        size_t n = utf8_sequence(bytes + i, count - i, &code);
        if (n == 0) {
            if (strict) return false;
            text.push_back(kReplacement);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(code));
        }
        i += n;
    }
    return true;
}

}  // namespace

void store_csv_bytes(const void* bytes, size_t count, std::u16string& file) {
    file.assign((count + 1) / 2, u'\0');
    if (count > 0) std::memcpy(&file[0], bytes, count);
}

int decode_csv_file(std::u16string& file, size_t bytes) {
    if (bytes > file.size() * 2) bytes = file.size() * 2;
    // Other encodings are decoded from the bytes into `text`, which then
    // takes the place of the bytes.
    const unsigned char* b = reinterpret_cast<const unsigned char*>(file.data());
    std::u16string text;
    int encoding;
    if (bytes >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        encoding = CSV_UTF16LE;
        if (little_endian_host()) {
            file.resize(bytes / 2);
            return encoding;
        }
        decode_utf16(b, bytes, true, text);
    } else if (bytes >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        encoding = CSV_UTF16BE;
        decode_utf16(b + 2, bytes - 2, false, text);
    } else if (bytes >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        encoding = CSV_UTF8_BOM;
        decode_utf8(b + 3, bytes - 3, false, text);
    } else if (decode_utf8(b, bytes, true, text)) {
        // A Shift_JIS text with Japanese in it is practically never valid UTF-8.
        encoding = CSV_UTF8;
    } else {
        encoding = CSV_SHIFT_JIS;
        // Shift_JIS gives at most one unit per byte.
        text.resize(bytes);
        int units = platform().decode_code_page(kShiftJisCodePage, b, bytes, &text[0], bytes);
        if (units >= 0) {
            text.resize(static_cast<size_t>(units));
        } else {
            // Without the code page the text is still read, as UTF-8 with
            // replacements, so that its ASCII columns survive.
            decode_utf8(b, bytes, false, text);
        }
    }
    file.swap(text);
    return encoding;
}

#include "exchange/csv_decode.h"

#include <cstdint>
#include <cstring>

#include "platform/platform.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr unsigned kShiftJisCodePage = 932;
// Stray bytes a UTF-8 file may hold and still be read as UTF-8 (a byte cut
// off by an editor, a Shift_JIS name pasted in), provided it has at least
// kUtf8Evidence times as many well-formed multi-byte characters.
constexpr int kStrayBytesMax = 8;
constexpr int kUtf8Evidence = 4;
// Byte pairs looked at to tell UTF-16 without a byte order mark.
constexpr size_t kZeroBytePairs = 4096;

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

// Counts the bytes that start no UTF-8 character and the well-formed
// multi-byte characters, giving up once there are too many stray bytes.
void count_utf8(const unsigned char* bytes, size_t count, int* stray, int* multi) {
    *stray = 0;
    *multi = 0;
    for (size_t i = 0; i < count && *stray <= kStrayBytesMax;) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        uint32_t code = 0;
        const size_t n = utf8_sequence(bytes + i, count - i, &code);
        if (n == 0) {
            ++*stray;
            ++i;
        } else {
            ++*multi;
            i += n;
        }
    }
}

}  // namespace

int count_shift_jis_garbled(const unsigned char* b, size_t count) {
    int garbled = 0;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char u = b[i];
        if (u < 0x80 || (u >= 0xA1 && u <= 0xDF)) continue;
        const bool lead = (u >= 0x81 && u <= 0x9F) || (u >= 0xE0 && u <= 0xFC);
        if (lead && i + 1 < count && b[i + 1] >= 0x40 && b[i + 1] <= 0xFC && b[i + 1] != 0x7F) {
            ++i;
            continue;
        }
        ++garbled;
    }
    return garbled;
}

namespace {

// UTF-16 without a byte order mark: its ASCII characters (separators and
// line ends at least) have a zero byte at one place of each pair, which
// UTF-8 and Shift_JIS text never has. 0 when the bytes are not UTF-16,
// else CSV_UTF16LE or CSV_UTF16BE.
int utf16_by_zero_bytes(const unsigned char* b, size_t count) {
    const size_t pairs = count / 2 < kZeroBytePairs ? count / 2 : kZeroBytePairs;
    size_t zero_low = 0;
    size_t zero_high = 0;
    for (size_t i = 0; i < pairs; ++i) {
        zero_low += b[2 * i] == 0;
        zero_high += b[2 * i + 1] == 0;
    }
    if (pairs == 0) return 0;
    if (zero_high * 8 >= pairs && zero_low * 4 <= zero_high) return CSV_UTF16LE;
    if (zero_low * 8 >= pairs && zero_high * 4 <= zero_low) return CSV_UTF16BE;
    return 0;
}

// Decodes UTF-8; each byte that starts no character gives one replacement
// character.
void decode_utf8(const unsigned char* bytes, size_t count, std::u16string& text) {
    text.clear();
    text.reserve(count);
    append_utf8(bytes, count, text);
}

}  // namespace

int append_utf8(const unsigned char* bytes, size_t count, std::u16string& text) {
    int stray = 0;
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
            text.push_back(kReplacement);
            ++stray;
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
    return stray;
}

int utf16_by_evidence(const unsigned char* b, size_t count) {
    if (count >= 2 && b[0] == 0xFF && b[1] == 0xFE) return CSV_UTF16LE;
    if (count >= 2 && b[0] == 0xFE && b[1] == 0xFF) return CSV_UTF16BE;
    return utf16_by_zero_bytes(b, count);
}

bool utf8_by_evidence(const unsigned char* bytes, size_t count) {
    int stray = 0;
    int multi = 0;
    count_utf8(bytes, count, &stray, &multi);
    return stray == 0 || (stray <= kStrayBytesMax && multi >= kUtf8Evidence * stray);
}

namespace {

int count_replacements(const std::u16string& text) {
    int n = 0;
    for (char16_t u : text) n += u == kReplacement;
    return n;
}

}  // namespace

void store_csv_bytes(const void* bytes, size_t count, std::u16string& file) {
    file.assign((count + 1) / 2, u'\0');
    if (count > 0) std::memcpy(&file[0], bytes, count);
}

int decode_csv_file(std::u16string& file, size_t bytes, int* garbled) {
    int replaced = 0;
    if (garbled == nullptr) garbled = &replaced;
    *garbled = 0;
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
        decode_utf8(b + 3, bytes - 3, text);
        *garbled = count_replacements(text);
    } else if ((encoding = utf16_by_zero_bytes(b, bytes)) != 0) {
        decode_utf16(b, bytes, encoding == CSV_UTF16LE, text);
    } else if (utf8_by_evidence(b, bytes)) {
        // A Shift_JIS text with Japanese in it is practically never valid
        // UTF-8: nearly every character of it is a stray byte there.
        encoding = CSV_UTF8;
        decode_utf8(b, bytes, text);
        *garbled = count_replacements(text);
    } else {
        encoding = CSV_SHIFT_JIS;
        *garbled = count_shift_jis_garbled(b, bytes);
        // Shift_JIS gives at most one unit per byte.
        text.resize(bytes);
        int units = platform().decode_code_page(kShiftJisCodePage, b, bytes, &text[0], bytes);
        if (units >= 0) {
            text.resize(static_cast<size_t>(units));
        } else {
            // Without the code page the text is still read, as UTF-8 with
            // replacements, so that its ASCII columns survive.
            decode_utf8(b, bytes, text);
        }
    }
    file.swap(text);
    return encoding;
}

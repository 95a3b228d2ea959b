#include "exchange/charset_decode.h"

#include <cstring>
#include <initializer_list>

#include "exchange/csv_decode.h"
#include "platform/platform.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr unsigned kShiftJisCodePage = 932;
constexpr unsigned char kEscape = 0x1B;

// windows-1252's characters at 0x80 to 0x9F; the five unassigned bytes keep
// their value, as Windows decodes them.
const char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Code pages by the names contacts files use for them (upper case, without
// "-" and "_").
struct NamedCodePage {
    const char* name;
    unsigned code_page;
};
const NamedCodePage kCodePages[] = {
    {"WINDOWS1250", 1250}, {"WINDOWS1251", 1251}, {"WINDOWS1253", 1253}, {"WINDOWS1254", 1254},
    {"WINDOWS1255", 1255}, {"WINDOWS1256", 1256}, {"WINDOWS1257", 1257}, {"WINDOWS1258", 1258},
    {"CP1250", 1250},      {"CP1251", 1251},      {"CP1253", 1253},      {"CP1254", 1254},
    {"CP1255", 1255},      {"CP1256", 1256},      {"CP1257", 1257},      {"CP1258", 1258},
    {"ISO88592", 28592},   {"ISO88593", 28593},   {"ISO88594", 28594},   {"ISO88595", 28595},
    {"ISO88596", 28596},   {"ISO88597", 28597},   {"ISO88598", 28598},   {"ISO88599", 28599},
    {"ISO885913", 28603},  {"ISO885915", 28605},  {"LATIN2", 28592},     {"LATIN9", 28605},
    {"KOI8R", 20866},      {"KOI8U", 21866},      {"IBM866", 866},       {"CP866", 866},
    {"IBM850", 850},       {"CP850", 850},        {"IBM437", 437},       {"CP437", 437},
    {"WINDOWS874", 874},   {"TIS620", 874},       {"BIG5", 950},         {"GB2312", 936},
    {"GBK", 936},          {"GB18030", 54936},    {"EUCKR", 949},        {"KSC56011987", 949},
};

std::string plain_name(const std::string& charset) {
    std::string out;
    for (char c : charset) {
        if (c == '-' || c == '_' || c == ' ' || c == '"') continue;
        out += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

bool one_of(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (name == n) return true;
    return false;
}

// Decodes through the platform's code page; false when it lacks it.
bool decode_code_page(unsigned code_page, const unsigned char* bytes, size_t count, std::u16string& text) {
    if (count == 0) return true;
    std::u16string out(count, u'\0');
    const int units = platform().decode_code_page(code_page, bytes, count, &out[0], out.size());
    if (units < 0) return false;
    text.append(out, 0, static_cast<size_t>(units));
    return true;
}

// Code page 932 bytes of the JIS X 0208 character at row byte j1, cell j2
// (each 0x21 to 0x7E).
void add_jis_as_shift_jis(unsigned j1, unsigned j2, std::string& out) {
    const unsigned s1 = (j1 + 1) / 2 + (j1 <= 0x5E ? 0x70 : 0xB0);
    const unsigned s2 = (j1 & 1) != 0 ? j2 + (j2 <= 0x5F ? 0x1F : 0x20) : j2 + 0x7E;
    out += static_cast<char>(s1);
    out += static_cast<char>(s2);
}

bool jis_byte(unsigned char b) { return b >= 0x21 && b <= 0x7E; }

// Collects code page 932 bytes, and a replacement character wherever the
// source had a byte sequence that is no character of it.
class ShiftJisRun {
public:
    ShiftJisRun(std::u16string& text, int* garbled) : text_(text), garbled_(garbled) {}
    std::string bytes;
    void bad() {
        flush();
        text_ += kReplacement;
        ++*garbled_;
    }
    bool flush() {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
        const bool ok = decode_code_page(kShiftJisCodePage, b, bytes.size(), text_);
        bytes.clear();
        return ok;
    }

private:
    std::u16string& text_;
    int* garbled_;
};

bool decode_euc_jp(const unsigned char* b, size_t count, std::u16string& text, int* garbled) {
    ShiftJisRun run(text, garbled);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char u = b[i];
        if (u < 0x80) {
            run.bytes += static_cast<char>(u);
        } else if (u == 0x8E && i + 1 < count && b[i + 1] >= 0xA1 && b[i + 1] <= 0xDF) {
            run.bytes += static_cast<char>(b[++i]);  // half-width katakana
        } else if (u >= 0xA1 && u <= 0xFE && i + 1 < count && b[i + 1] >= 0xA1 && b[i + 1] <= 0xFE) {
            add_jis_as_shift_jis(u - 0x80u, b[i + 1] - 0x80u, run.bytes);
            ++i;
        } else if (u == 0x8F && i + 2 < count) {
            i += 2;  // JIS X 0212: no character of code page 932
            run.bad();
        } else {
            run.bad();
        }
    }
    return run.flush();
}

bool decode_iso_2022_jp(const unsigned char* b, size_t count, std::u16string& text, int* garbled) {
    enum { ROMAN, KANA, KANJI, OTHER } mode = ROMAN;
    ShiftJisRun run(text, garbled);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char u = b[i];
        if (u == kEscape && i + 2 < count) {
            const char* seq = reinterpret_cast<const char*>(b + i + 1);
            if (std::memcmp(seq, "(B", 2) == 0 || std::memcmp(seq, "(J", 2) == 0) {
                mode = ROMAN;
            } else if (std::memcmp(seq, "(I", 2) == 0) {
                mode = KANA;
            } else if (std::memcmp(seq, "$@", 2) == 0 || std::memcmp(seq, "$B", 2) == 0) {
                mode = KANJI;
            } else if (i + 3 < count && std::memcmp(seq, "$(", 2) == 0) {
                // JIS X 0213's first plane extends JIS X 0208; JIS X 0212 is not in code page 932.
                mode = seq[2] == 'Q' || seq[2] == 'O' ? KANJI : OTHER;
                ++i;
            } else {
                run.bad();
                continue;
            }
            i += 2;
        } else if (u == 0x0E || u == 0x0F) {
            mode = u == 0x0E ? KANA : ROMAN;  // shift out and in, as some mailers write kana
        } else if (u < 0x21 || u >= 0x7F || mode == ROMAN) {
            if (u >= 0x80) {
                run.bad();
            } else {
                run.bytes += static_cast<char>(u);
            }
        } else if (mode == KANA) {
            run.bytes += static_cast<char>(u + 0x80);
        } else if (i + 1 < count && jis_byte(b[i + 1]) && mode == KANJI) {
            add_jis_as_shift_jis(u, b[++i], run.bytes);
        } else {
            if (i + 1 < count && jis_byte(b[i + 1])) ++i;
            run.bad();
        }
    }
    return run.flush();
}

bool has_iso_2022_jp_escape(const unsigned char* b, size_t count) {
    for (size_t i = 0; i + 2 < count; ++i)
        if (b[i] == kEscape && b[i + 1] == '$' && (b[i + 2] == 'B' || b[i + 2] == '@')) return true;
    return false;
}

}  // namespace

bool decode_charset(const std::string& charset, const unsigned char* bytes, size_t count,
                    std::u16string& text, int* garbled) {
    const std::string name = plain_name(charset);
    if (one_of(name, {"UTF8", "UTF8BOM"})) {
        *garbled += append_utf8(bytes, count, text);
        return true;
    }
    if (one_of(name, {"SHIFTJIS", "SJIS", "CP932", "MS932", "WINDOWS31J", "MSKANJI", "XSJIS"})) {
        if (!decode_code_page(kShiftJisCodePage, bytes, count, text)) return false;
        *garbled += count_shift_jis_garbled(bytes, count);
        return true;
    }
    if (one_of(name, {"EUCJP", "XEUCJP", "EUCJPMS", "CP51932"}))
        return decode_euc_jp(bytes, count, text, garbled);
    if (one_of(name, {"ISO2022JP", "CSISO2022JP", "ISO2022JP1", "ISO2022JP3"}))
        return decode_iso_2022_jp(bytes, count, text, garbled);
    if (one_of(name, {"ISO88591", "LATIN1", "L1", "CP819", "IBM819", "USASCII", "ASCII"})) {
        text.append(bytes, bytes + count);
        return true;
    }
    if (one_of(name, {"WINDOWS1252", "CP1252", "XCP1252"})) {
        for (size_t i = 0; i < count; ++i) {
            const unsigned char b = bytes[i];
            text += b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char16_t{b};
        }
        return true;
    }
    for (const NamedCodePage& page : kCodePages)
        if (name == page.name) return decode_code_page(page.code_page, bytes, count, text);
    return false;
}

void decode_undeclared(const unsigned char* bytes, size_t count, std::u16string& text, int* garbled,
                       bool* cp932) {
    *cp932 = false;
    if (has_iso_2022_jp_escape(bytes, count) && decode_iso_2022_jp(bytes, count, text, garbled)) return;
    if (utf8_by_evidence(bytes, count)) {
        *garbled += append_utf8(bytes, count, text);
        return;
    }
    *cp932 = true;
    if (decode_code_page(kShiftJisCodePage, bytes, count, text)) {
        *garbled += count_shift_jis_garbled(bytes, count);
    } else {
        *garbled += append_utf8(bytes, count, text);
    }
}

#include "files/postal_code_table.h"

#include "files/postal_code_ids.h"
#include "model/text.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kFormatVersion = 1;
constexpr uint32_t kHeaderBytes = 20;
constexpr uint32_t kCodeLimit = 10000000;  // seven digits

// Little-endian loads from unaligned bytes (one plain load on x86).
uint32_t u32_at(const unsigned char* p, uint32_t i) {
    p += static_cast<size_t>(i) * 4;
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t u16_at(const unsigned char* p, uint32_t i) {
    p += static_cast<size_t>(i) * 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// Appends the NUL-terminated text at `offset` of the table's texts to
// out[len...], stopping before the last unit of the capacity.
void add_text(char16_t* out, int cap, int& len, const PostalCodeTable& table, uint32_t offset) {
    for (uint32_t i = offset; i < table.text_units && len + 1 < cap; ++i) {
        char16_t unit = u16_at(table.texts, i);
        if (unit == 0) break;
        out[len++] = unit;
    }
}

// A digit, half- or full-width: its value, or -1.
int digit_value(char16_t u) {
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'０' && u <= u'９') return u - u'０';
    return -1;
}

bool is_blank(char16_t u) { return u == u' ' || u == u'\t' || u == u'　'; }

// The dashes people type between the third and fourth digit: ASCII hyphen,
// full-width hyphen-minus, hyphen, non-breaking hyphen, figure dash, en and
// em dash, horizontal bar, minus sign, the long vowel mark and the
// half-width one (what an input method in kana mode gives for "-").
bool is_dash(char16_t u) {
    return u == u'-' || u == u'－' || u == u'‐' || u == u'‑' || u == u'‒' || u == u'–' ||
           u == u'—' || u == u'―' || u == u'−' || u == u'ー' || u == u'ｰ';
}

// Reads `count` digits at text[i...] into code; false at any other unit.
bool read_digits(const char16_t* text, int& i, int count, uint32_t& code) {
    for (int k = 0; k < count; ++k, ++i) {
        int d = digit_value(text[i]);
        if (d < 0) return false;
        code = code * 10 + static_cast<uint32_t>(d);
    }
    return true;
}

}  // namespace

int open_postal_code_table(const void* data, size_t bytes, PostalCodeTable& table) {
    table = PostalCodeTable{};
    if (data == nullptr || bytes == 0) return POSTAL_TABLE_ABSENT;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    if (bytes < kHeaderBytes || p[0] != 'Z' || p[1] != 'K' || p[2] != 'P' || p[3] != 'C' ||
        u32_at(p, 1) != kFormatVersion)
        return POSTAL_TABLE_DAMAGED;
    uint64_t n = u32_at(p, 2), a = u32_at(p, 3), t = u32_at(p, 4);
    // 64-bit sums: no count can wrap the size around.
    if (kHeaderBytes + 10 * n + 8 * a + 2 * t != bytes || t == 0) return POSTAL_TABLE_DAMAGED;

    PostalCodeTable candidate;
    candidate.code_count = static_cast<uint32_t>(n);
    candidate.area_count = static_cast<uint32_t>(a);
    candidate.text_units = static_cast<uint32_t>(t);
    candidate.codes = p + kHeaderBytes;
    candidate.towns = candidate.codes + 4 * n;
    candidate.area_prefs = candidate.towns + 4 * n;
    candidate.area_cities = candidate.area_prefs + 4 * a;
    candidate.code_areas = candidate.area_cities + 4 * a;
    candidate.texts = candidate.code_areas + 2 * n;

    // The last text ends inside the table, so every offset below text_units
    // starts a text that ends there too.
    if (u16_at(candidate.texts, candidate.text_units - 1) != 0) return POSTAL_TABLE_DAMAGED;
    for (uint32_t i = 0; i < candidate.area_count; ++i) {
        if (u32_at(candidate.area_prefs, i) >= t || u32_at(candidate.area_cities, i) >= t)
            return POSTAL_TABLE_DAMAGED;
    }
    uint32_t previous = 0;
    for (uint32_t i = 0; i < candidate.code_count; ++i) {
        uint32_t code = u32_at(candidate.codes, i);
        if (code >= kCodeLimit || (i > 0 && code <= previous) ||
            u32_at(candidate.towns, i) >= t || u16_at(candidate.code_areas, i) >= a)
            return POSTAL_TABLE_DAMAGED;
        previous = code;
    }
    table = candidate;
    return POSTAL_TABLE_OK;
}

int open_builtin_postal_code_table(PostalCodeTable& table) {
    const void* data = nullptr;
    size_t bytes = 0;
    if (!platform().program_resource(IDR_POSTAL_CODES, &data, &bytes)) {
        table = PostalCodeTable{};
        return POSTAL_TABLE_ABSENT;
    }
    return open_postal_code_table(data, bytes, table);
}

bool postal_code_digits(const char16_t* text, uint32_t& code) {
    uint32_t value = 0;
    int i = 0;
    if (!read_digits(text, i, 7, value) || text[i] != 0) return false;
    code = value;
    return true;
}

bool read_typed_postal_code(const char16_t* text, uint32_t& code) {
    int i = 0;
    while (is_blank(text[i])) ++i;
    if (text[i] == u'〒') {
        ++i;
        while (is_blank(text[i])) ++i;
    }
    uint32_t value = 0;
    if (!read_digits(text, i, 3, value)) return false;
    if (is_dash(text[i])) ++i;
    if (!read_digits(text, i, 4, value)) return false;
    while (is_blank(text[i])) ++i;
    if (text[i] != 0) return false;
    code = value;
    return true;
}

void stored_postal_code(const char16_t* typed, char16_t* out, int cap) {
    text_clear(out, cap);
    int i = 0;
    while (is_blank(typed[i])) ++i;
    if (typed[i] == u'〒') ++i;
    TextBuilder digits(out, cap);
    for (; typed[i] != 0; ++i) {
        const int d = digit_value(typed[i]);
        if (d >= 0) {
            if (digits.len < 7) digits.add_unit(static_cast<char16_t>(u'0' + d));
        } else if (!is_dash(typed[i]) && !is_blank(typed[i])) {
            text_copy(out, cap, typed);
            return;
        }
    }
}

int find_postal_code(const PostalCodeTable& table, uint32_t code) {
    uint32_t low = 0, high = table.code_count;  // the code is in [low, high) if anywhere
    while (low < high) {
        uint32_t mid = low + (high - low) / 2;
        uint32_t at = u32_at(table.codes, mid);
        if (at < code) {
            low = mid + 1;
        } else if (at > code) {
            high = mid;
        } else {
            return static_cast<int>(mid);
        }
    }
    return -1;
}

void postal_address(const PostalCodeTable& table, int index, char16_t* out, int cap) {
    if (cap <= 0) return;
    int len = 0;
    if (index >= 0 && static_cast<uint32_t>(index) < table.code_count) {
        uint32_t i = static_cast<uint32_t>(index);
        uint16_t area = u16_at(table.code_areas, i);
        add_text(out, cap, len, table, u32_at(table.area_prefs, area));
        add_text(out, cap, len, table, u32_at(table.area_cities, area));
        add_text(out, cap, len, table, u32_at(table.towns, i));
    }
    out[len] = 0;
}

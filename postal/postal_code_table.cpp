#include "postal/postal_code_table.h"

#include "postal/postal_code_ids.h"
#include "model/text.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kFormatVersion = 2;
constexpr uint32_t kHeaderBytes = 32;
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
    uint64_t n = u32_at(p, 2), a = u32_at(p, 3), t = u32_at(p, 4), e = u32_at(p, 5), pl = u32_at(p, 6);
    // 64-bit sums: no count can wrap the size around.
    if (kHeaderBytes + 14 * n + 8 * a + 20 * e + 6 * pl + 2 * t != bytes || t == 0)
        return POSTAL_TABLE_DAMAGED;

    PostalCodeTable c;
    c.code_count = static_cast<uint32_t>(n);
    c.area_count = static_cast<uint32_t>(a);
    c.text_units = static_cast<uint32_t>(t);
    c.extra_count = static_cast<uint32_t>(e);
    c.place_count = static_cast<uint32_t>(pl);
    c.date = u32_at(p, 7);
    c.codes = p + kHeaderBytes;
    c.towns = c.codes + 4 * n;
    c.code_extras = c.towns + 4 * n;
    c.area_prefs = c.code_extras + 4 * n;
    c.area_cities = c.area_prefs + 4 * a;
    c.extras = c.area_cities + 4 * a;
    c.place_towns = c.extras + 20 * e;
    c.code_areas = c.place_towns + 4 * pl;
    c.place_areas = c.code_areas + 2 * n;
    c.texts = c.place_areas + 2 * pl;

    // The last text ends inside the table, so every offset below text_units
    // starts a text that ends there too.
    if (u16_at(c.texts, c.text_units - 1) != 0) return POSTAL_TABLE_DAMAGED;
    for (uint32_t i = 0; i < c.area_count; ++i) {
        if (u32_at(c.area_prefs, i) >= t || u32_at(c.area_cities, i) >= t) return POSTAL_TABLE_DAMAGED;
    }
    for (uint32_t i = 0; i < c.extra_count; ++i) {
        for (uint32_t k = 0; k < 3; ++k)
            if (u32_at(c.extras, 5 * i + k) >= t) return POSTAL_TABLE_DAMAGED;
        if (uint64_t{u32_at(c.extras, 5 * i + 3)} + u32_at(c.extras, 5 * i + 4) > pl)
            return POSTAL_TABLE_DAMAGED;
    }
    for (uint32_t i = 0; i < c.place_count; ++i) {
        if (u32_at(c.place_towns, i) >= t || u16_at(c.place_areas, i) >= a) return POSTAL_TABLE_DAMAGED;
    }
    uint32_t previous = 0;
    for (uint32_t i = 0; i < c.code_count; ++i) {
        uint32_t code = u32_at(c.codes, i);
        if (code >= kCodeLimit || (i > 0 && code <= previous) || u32_at(c.towns, i) >= t ||
            u32_at(c.code_extras, i) > e || u16_at(c.code_areas, i) >= a)
            return POSTAL_TABLE_DAMAGED;
        previous = code;
    }
    table = c;
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

namespace {

bool valid_index(const PostalCodeTable& table, int index) {
    return index >= 0 && static_cast<uint32_t>(index) < table.code_count;
}

// The text offset of field k (0 building, 1 street, 2 office, 3 first
// place, 4 places) of the code's extra; 0 when it has none.
uint32_t extra_field(const PostalCodeTable& table, uint32_t index, uint32_t k) {
    uint32_t extra = u32_at(table.code_extras, index);
    return extra == 0 ? 0 : u32_at(table.extras, 5 * (extra - 1) + k);
}

// Prefecture + city of `area` and the town at text offset `town`.
void add_place(char16_t* out, int cap, int& len, const PostalCodeTable& table, uint16_t area,
               uint32_t town) {
    add_text(out, cap, len, table, u32_at(table.area_prefs, area));
    add_text(out, cap, len, table, u32_at(table.area_cities, area));
    add_text(out, cap, len, table, town);
}

}  // namespace

void postal_address(const PostalCodeTable& table, int index, char16_t* out, int cap) {
    if (cap <= 0) return;
    int len = 0;
    if (valid_index(table, index)) {
        uint32_t i = static_cast<uint32_t>(index);
        add_place(out, cap, len, table, u16_at(table.code_areas, i), u32_at(table.towns, i));
        add_text(out, cap, len, table, extra_field(table, i, 0));
        add_text(out, cap, len, table, extra_field(table, i, 1));
    }
    out[len] = 0;
}

void postal_address_parts(const PostalCodeTable& table, int index, char16_t* line1,
                          char16_t* building, char16_t* office, int cap) {
    if (cap <= 0) return;
    int len1 = 0, len2 = 0, len3 = 0;
    if (valid_index(table, index)) {
        uint32_t i = static_cast<uint32_t>(index);
        add_place(line1, cap, len1, table, u16_at(table.code_areas, i), u32_at(table.towns, i));
        add_text(line1, cap, len1, table, extra_field(table, i, 1));
        add_text(building, cap, len2, table, extra_field(table, i, 0));
        add_text(office, cap, len3, table, extra_field(table, i, 2));
    }
    line1[len1] = building[len2] = office[len3] = 0;
}

int postal_place_count(const PostalCodeTable& table, int index) {
    if (!valid_index(table, index)) return 0;
    return static_cast<int>(extra_field(table, static_cast<uint32_t>(index), 4));
}

void postal_place_address(const PostalCodeTable& table, int index, int k, char16_t* out, int cap) {
    if (cap <= 0) return;
    int len = 0;
    if (k >= 0 && k < postal_place_count(table, index)) {
        uint32_t place = extra_field(table, static_cast<uint32_t>(index), 3) + static_cast<uint32_t>(k);
        add_place(out, cap, len, table, u16_at(table.place_areas, place), u32_at(table.place_towns, place));
    }
    out[len] = 0;
}

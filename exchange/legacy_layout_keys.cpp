#include "exchange/legacy_layout_keys.h"

#include <cstring>

#include "exchange/legacy_import.h"
#include "files/kv_line_splitter.h"
#include "model/text.h"

namespace {

constexpr int kNameCap = 24;      // the longest name, "tlf.lfPitchAndFamily", has 20 units
constexpr int kFieldCount = LEGACY_CARD_FIELDS;
constexpr int kSlots = 512;       // open addressing, a power of two

struct NamedField {
    char16_t name[kNameCap];
    int length;
    OldCardField field;
};


// The names differ in their length, first and last units and the units at
// positions 4 ("xy[k]") and 6 (the font field), so those are all the hash
// looks at; the lookup compares the whole name anyway.
inline uint32_t hash_name(const char16_t* name, size_t length) {
    size_t last = length - 1;
    uint32_t h = static_cast<uint32_t>(length) * 0x9E3779B1u + name[0] * 0x85EBCA77u +
                 name[last] * 0xC2B2AE3Du + name[last < 4 ? last : 4] * 0x27D4EB2Fu +
                 name[last < 6 ? last : 6] * 0x165667B1u;
    return h ^ (h >> 15);
}

// Equal units, compared four at a time.
inline bool same_units(const char16_t* a, const char16_t* b, size_t length) {
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        uint64_t x;
        uint64_t y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        if (x != y) return false;
    }
    for (; i < length; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The index (0 to 3) of the lowest 16-bit lane whose top bit is set in a
// non-zero mask of top bits.
inline size_t lowest_lane(uint64_t top_bits) {
#if defined(__GNUC__)
    return static_cast<size_t>(__builtin_ctzll(top_bits)) / 16;
#else
    size_t lane = 0;
    while ((top_bits & 0x8000u) == 0) {
        top_bits >>= 16;
        ++lane;
    }
    return lane;
#endif
}

// Position of the first "=" in units[from, to), or `to`. Four units at a
// time: a unit equal to "=" becomes zero after the exclusive or, and the
// lowest zero lane is found exactly by the borrow trick.
inline size_t find_equals(const char16_t* units, size_t from, size_t to) {
    constexpr uint64_t kEquals = 0x003D003D003D003Dull;
    constexpr uint64_t kOnes = 0x0001000100010001ull;
    constexpr uint64_t kHigh = 0x8000800080008000ull;
    size_t at = from;
    for (; at + 4 <= to; at += 4) {
        uint64_t w;
        std::memcpy(&w, units + at, sizeof w);
        uint64_t x = w ^ kEquals;
        uint64_t zero = (x - kOnes) & ~x & kHigh;
        if (zero != 0) return at + lowest_lane(zero);
    }
    for (; at < to; ++at)
        if (units[at] == u'=') return at;
    return to;
}

class FieldTable {
public:
    FieldTable() {
        for (int16_t& slot : slots_) slot = -1;
        CardRecord card{};
        auto offset = [&card](const void* field) {
            return static_cast<uint32_t>(static_cast<const unsigned char*>(field) -
                                         reinterpret_cast<const unsigned char*>(&card));
        };

        add(u"base_filepass", offset(card.base_filepass), OldFieldType::kBitmapPath);
        // The postal code positions: groups 1 and 2 the addressee's, 3 and 4 the sender's.
        int32_t* positions[4][3] = {
            {&card.tt.x1, &card.tt.y1, &card.tt.w1},
            {&card.tt.x2, &card.tt.y2, &card.tt.w2},
            {&card.ft.x1, &card.ft.y1, &card.ft.w1},
            {&card.ft.x2, &card.ft.y2, &card.ft.w2},
        };
        const char16_t letters[3] = {u'x', u'y', u'w'};
        for (int group = 0; group < 4; ++group) {
            for (int k = 0; k < 3; ++k) {
                char16_t name[3] = {letters[k], static_cast<char16_t>(u'1' + group), 0};
                add(name, offset(positions[group][k]), OldFieldType::kNumber);
            }
        }

        // The six items: t, a, n the addressee's postal code, address and
        // names; y, d, m the sender's.
        struct Item {
            char16_t letter;
            LogFont* lf;
            RgbColor* c;
            LinePos* xy;
            int lines;
        };
        const Item items[] = {
            {u't', &card.tt.lf, &card.tt.c, nullptr, 0},
            {u'a', &card.ta.lf, &card.ta.c, card.ta.xy, ADDRESSEE_LINES},
            {u'n', &card.tn.lf, &card.tn.c, card.tn.xy, ADDRESSEE_LINES},
            {u'y', &card.ft.lf, &card.ft.c, nullptr, 0},
            {u'd', &card.fa.lf, &card.fa.c, card.fa.xy, SENDER_LINES},
            {u'm', &card.fn.lf, &card.fn.c, card.fn.xy, SENDER_LINES},
        };
        for (const Item& item : items) {
            // The font and colour fields behind the item's letter.
            LogFont& lf = *item.lf;
            const struct {
                const char16_t* name;
                const void* field;
                OldFieldType type;
            } fields[] = {
                {u"lf.lfHeight", &lf.lfHeight, OldFieldType::kNumber},
                {u"lf.lfWidth", &lf.lfWidth, OldFieldType::kNumber},
                {u"lf.lfEscapement", &lf.lfEscapement, OldFieldType::kNumber},
                {u"lf.lfOrientation", &lf.lfOrientation, OldFieldType::kNumber},
                {u"lf.lfWeight", &lf.lfWeight, OldFieldType::kNumber},
                {u"lf.lfItalic", &lf.lfItalic, OldFieldType::kByte},
                {u"lf.lfUnderline", &lf.lfUnderline, OldFieldType::kByte},
                {u"lf.lfStrikeOut", &lf.lfStrikeOut, OldFieldType::kByte},
                {u"lf.lfCharSet", &lf.lfCharSet, OldFieldType::kByte},
                {u"lf.lfOutPrecision", &lf.lfOutPrecision, OldFieldType::kByte},
                {u"lf.lfClipPrecision", &lf.lfClipPrecision, OldFieldType::kByte},
                {u"lf.lfQuality", &lf.lfQuality, OldFieldType::kByte},
                {u"lf.lfPitchAndFamily", &lf.lfPitchAndFamily, OldFieldType::kByte},
                {u"lf.lfFaceName", lf.lfFaceName, OldFieldType::kFaceName},
                {u"c.r", &item.c->r, OldFieldType::kByte},
                {u"c.g", &item.c->g, OldFieldType::kByte},
                {u"c.b", &item.c->b, OldFieldType::kByte},
            };
            for (const auto& field : fields) {
                char16_t name[kNameCap];
                TextBuilder(name, kNameCap).add_unit(item.letter).add(field.name);
                add(name, offset(field.field), field.type);
            }
            for (int k = 0; k < item.lines; ++k) {
                for (int axis = 0; axis < 2; ++axis) {
                    char16_t name[kNameCap];
                    TextBuilder(name, kNameCap)
                        .add_unit(item.letter)
                        .add(u"xy[")
                        .add_int(k)
                        .add(axis == 0 ? u"].x" : u"].y");
                    add(name, offset(axis == 0 ? &item.xy[k].x : &item.xy[k].y), OldFieldType::kNumber);
                }
            }
        }
    }

    // The index of the field with this name, or -1.
    int find(const char16_t* name, size_t length) const {
        if (length == 0 || length >= kNameCap) return -1;
        for (uint32_t h = hash_name(name, length);; ++h) {
            int16_t index = slots_[h & (kSlots - 1)];
            if (index < 0) return -1;
            const NamedField& entry = fields_[index];
            if (static_cast<size_t>(entry.length) == length && same_units(entry.name, name, length))
                return index;
        }
    }

    const NamedField& entry(int index) const { return fields_[index]; }

private:
    void add(const char16_t* name, uint32_t offset, OldFieldType type) {
        NamedField& entry = fields_[count_];
        text_copy(entry.name, kNameCap, name);
        entry.length = text_length(entry.name);
        entry.field = {offset, type};
        uint32_t h = hash_name(entry.name, static_cast<size_t>(entry.length));
        while (slots_[h & (kSlots - 1)] >= 0) ++h;
        slots_[h & (kSlots - 1)] = static_cast<int16_t>(count_++);
    }

    NamedField fields_[kFieldCount];
    int16_t slots_[kSlots];
    int count_ = 0;
};

const FieldTable& field_table() {
    static const FieldTable table;
    return table;
}

inline unsigned char* field_address(CardRecord& card, const OldCardField& field) {
    return reinterpret_cast<unsigned char*>(&card) + field.offset;
}

}  // namespace

const OldCardField* find_old_card_field(const char16_t* name, size_t length) {
    const FieldTable& table = field_table();
    int index = table.find(name, length);
    return index < 0 ? nullptr : &table.entry(index).field;
}

void store_old_card_number(CardRecord& card, const OldCardField& field, int32_t value) {
    unsigned char* target = field_address(card, field);
    if (field.type == OldFieldType::kNumber)
        *reinterpret_cast<int32_t*>(target) = value;
    else if (field.type == OldFieldType::kByte)
        *target = static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFF);
}

void store_old_card_field(CardRecord& card, const OldCardField& field, const char16_t* value) {
    char16_t* text = reinterpret_cast<char16_t*>(field_address(card, field));
    switch (field.type) {
    case OldFieldType::kFaceName: text_copy(text, FACE_CAP, value, LEGACY_FACE_UNITS); break;
    case OldFieldType::kBitmapPath: text_copy(text, PATH_CAP, value, LEGACY_PATH_UNITS); break;
    default: store_old_card_number(card, field, text_to_int(value, LEGACY_NUMBER_UNITS)); break;
    }
}

namespace {

// One line at the start of `units`; see read_old_layout_lines_in_place.
// `previous` is the index of the field of the line before, or -1.
inline size_t read_line_in_place(const FieldTable& table, CardRecord* cards, const char16_t* units,
                                 size_t available, int& previous, OldFieldGuesses& guesses) {
    // Every read below stays under `limit`: the units need not be NUL-terminated.
    const size_t limit = available < KV_READ_LINE_MAX ? available : KV_READ_LINE_MAX;
    static const char16_t kPrefix[8] = {u'b', u'a', u's', u'e', u'_', u'd', u't', u'['};
    // The shortest card line is "base_dt[0].x1=" and CR LF.
    if (limit < 16 || std::memcmp(units, kPrefix, sizeof kPrefix) != 0) return 0;

    // The card index as "%d" writes it: one to three digits, no leading zero.
    unsigned digit = static_cast<unsigned>(units[8]) - u'0';
    if (digit > 9) return 0;
    int card = static_cast<int>(digit);
    size_t at = 9;
    if (card != 0) {
        while (at < 11 && (digit = static_cast<unsigned>(units[at]) - u'0') <= 9) {
            card = card * 10 + static_cast<int>(digit);
            ++at;
        }
    }
    if (card >= HDATA_MAX || units[at] != u']' || units[at + 1] != u'.') return 0;

    // The field name runs up to the "="; it is compared whole with the known
    // names, none of which holds CR, LF or NUL, so a line that ends before
    // its "=" finds no field and is left to the line reader.
    const size_t name = at + 2;
    int index = previous < 0 ? -1 : guesses.next[previous];
    if (index >= 0) {
        const NamedField& guess = table.entry(index);
        const size_t eq = name + static_cast<size_t>(guess.length);
        if (eq < limit && units[eq] == u'=' && same_units(guess.name, units + name, guess.length))
            at = eq + 1;
        else
            index = -1;
    }
    if (index < 0) {
        size_t end = name + kNameCap;
        if (end > limit) end = limit;
        const size_t eq = find_equals(units, name, end);
        if (eq >= end) return 0;
        index = table.find(units + name, eq - name);
        if (index < 0) return 0;
        if (previous >= 0) guesses.next[previous] = static_cast<int16_t>(index);
        at = eq + 1;
    }
    const OldCardField* field = &table.entry(index).field;
    CardRecord& target = cards[card];

    if (field->type == OldFieldType::kFaceName || field->type == OldFieldType::kBitmapPath) {
        // A text runs to the first CR LF, which must lie within the line.
        for (size_t lf = at; lf < limit; ++lf) {
            if (units[lf] == u'\n' && units[lf - 1] == u'\r') {
                char16_t* text = reinterpret_cast<char16_t*>(field_address(target, *field));
                const bool face = field->type == OldFieldType::kFaceName;
                const size_t most = face ? LEGACY_FACE_UNITS : LEGACY_PATH_UNITS;
                const size_t length = lf - 1 - at;
                text_copy(text, face ? FACE_CAP : PATH_CAP, units + at,
                          static_cast<int>(length < most ? length : most));
                previous = index;
                return lf + 1;
            }
        }
        return 0;
    }

    // A plain number, followed by CR LF.
    bool negative = false;
    if (at < limit && (units[at] == u'-' || units[at] == u'+')) negative = units[at++] == u'-';
    int64_t value = 0;
    size_t digits = 0;
    if (at + 4 <= limit) {
        // Up to three digits at once: the lowest lane that is no digit is
        // found exactly (borrows and carries only run towards higher lanes),
        // and the digits before it are shifted to the top lanes, so that the
        // lanes read as thousands, hundreds, tens and ones.
        uint64_t w;
        std::memcpy(&w, units + at, sizeof w);
        const uint64_t x = w - 0x0030003000300030ull;
        const uint64_t other = ((x + 0x7FF67FF67FF67FF6ull) | x) & 0x8000800080008000ull;
        if (other != 0) {
            digits = lowest_lane(other);
            if (digits != 0) {
                const uint64_t y = x << (16 * (4 - digits));
                value = static_cast<int64_t>((y & 0xFFFF) * 1000 + ((y >> 16) & 0xFFFF) * 100 +
                                             ((y >> 32) & 0xFFFF) * 10 + (y >> 48));
            }
            at += digits;
        }
    }
    if (digits == 0) {
        digit = 0;
        // Longer numbers are left to the line handler's saturating conversion.
        const size_t first = at;
        while (at < limit && (digit = static_cast<unsigned>(units[at]) - u'0') <= 9) {
            if (at - first == 10) return 0;
            value = value * 10 + digit;
            ++at;
        }
    }
    if (at + 1 >= limit || units[at] != u'\r' || units[at + 1] != u'\n') return 0;
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    store_old_card_number(target, *field, static_cast<int32_t>(value));
    previous = index;
    return at + 2;
}

}  // namespace

size_t read_old_layout_lines_in_place(const char16_t* units, size_t available,
                                      OldFieldGuesses& guesses) {
    const FieldTable& table = field_table();
    CardRecord* cards = doc().hdata;
    int previous = -1;
    size_t done = 0;
    while (size_t used = read_line_in_place(table, cards, units + done, available - done, previous,
                                            guesses))
        done += used;
    return done;
}

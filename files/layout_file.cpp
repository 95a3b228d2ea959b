#include "files/data_files.h"
#include "files/kv_file.h"
#include "files/kv_grammar.h"
#include "files/card_keys.h"
#include "model/document.h"
#include "model/text.h"

namespace {

const char16_t* const kCountKey = u"hdata_cont_max=";
const char16_t kRecordPrefix[] = u"hdata[";

// The font fields in file order; the face name follows them. Keys are
// given behind the item, so they start with "lf.".
struct FontField {
    template <int N>
    constexpr FontField(const char16_t (&k)[N], int32_t LogFont::*n, uint8_t LogFont::*b)
        : key(k), key_len(N - 1), number(n), byte(b) {}
    const char16_t* key;
    int key_len;
    int32_t LogFont::*number;
    uint8_t LogFont::*byte;
};
const FontField kFontFields[] = {
    {u"lf.lfHeight=", &LogFont::lfHeight, nullptr},
    {u"lf.lfWidth=", &LogFont::lfWidth, nullptr},
    {u"lf.lfEscapement=", &LogFont::lfEscapement, nullptr},
    {u"lf.lfOrientation=", &LogFont::lfOrientation, nullptr},
    {u"lf.lfWeight=", &LogFont::lfWeight, nullptr},
    {u"lf.lfItalic=", nullptr, &LogFont::lfItalic},
    {u"lf.lfUnderline=", nullptr, &LogFont::lfUnderline},
    {u"lf.lfStrikeOut=", nullptr, &LogFont::lfStrikeOut},
    {u"lf.lfCharSet=", nullptr, &LogFont::lfCharSet},
    {u"lf.lfOutPrecision=", nullptr, &LogFont::lfOutPrecision},
    {u"lf.lfClipPrecision=", nullptr, &LogFont::lfClipPrecision},
    {u"lf.lfQuality=", nullptr, &LogFont::lfQuality},
    {u"lf.lfPitchAndFamily=", nullptr, &LogFont::lfPitchAndFamily},
};
const char16_t kFaceNameKey[] = u"lf.lfFaceName=";
constexpr int kFaceNameKeyLen = static_cast<int>(sizeof(kFaceNameKey) / sizeof(char16_t)) - 1;

struct PrintField {
    const char16_t* key;
    int32_t PrintSettings::*field;
};
const PrintField kPrintFields[] = {
    {u"base_pw=", &PrintSettings::base_pw},   {u"base_ph=", &PrintSettings::base_ph},
    {u"base_px=", &PrintSettings::base_px},   {u"base_py=", &PrintSettings::base_py},
    {u"prn_mode=", &PrintSettings::prn_mode}, {u"bmp_mode=", &PrintSettings::bmp_mode},
    {u"start_p=", &PrintSettings::start_p},   {u"stop_p=", &PrintSettings::stop_p},
};

// --- Writing ---------------------------------------------------------------

void emit_layouts(KvWriter& out) {
    const int count = count_cards();
    out.line().add(kCountKey).add_int(count);
    out.end_line();
    for (int i = 0; i < count; ++i)
        write_card_keys(out, i, doc().hdata[i], layout_card_keys(), LAYOUT_CARD_KEYS);
    for (const PrintField& field : kPrintFields) {
        out.line().add(field.key).add_int(doc().print.*field.field);
        out.end_line();
    }
}

// --- Reading ---------------------------------------------------------------

// The item named by the four units ".xx." at the start of `rest`, or -1.
int item_of(const char16_t* rest) {
    if (rest[0] != u'.' || rest[1] == 0 || rest[2] == 0 || rest[3] != u'.') return -1;
    const char16_t second = rest[2];
    switch (rest[1]) {
        case u't': return second == u't' ? 0 : second == u'a' ? 1 : second == u'n' ? 2 : -1;
        case u'f': return second == u't' ? 3 : second == u'a' ? 4 : second == u'n' ? 5 : -1;
        default: return -1;
    }
}

// "c.r=", "c.g=", "c.b=": a byte field takes the low eight bits.
void read_color(RgbColor& c, const char16_t* field, const KvRest& rest) {
    if (field[1] != u'.' || field[2] == 0 || field[3] != u'=') return;
    const char16_t* value = field + 4;
    switch (field[2]) {
        case u'r': kv_set_byte(c.r, value, rest); break;
        case u'b': kv_set_byte(c.b, value, rest); break;
        case u'g': kv_set_byte(c.g, value, rest); break;
        default: break;
    }
}

constexpr int kFaceName = 13;

// The font field whose key may start at `field` ("lf.lf..."): an index
// into kFontFields, kFaceName, or -1. The first and third units behind
// "lf.lf" tell the fourteen keys apart through a small table; the caller
// still compares the whole key.
int font_field_of(const char16_t* field) {
    static const int8_t kBySlot[32] = {
        -1, 6, 4, 1, 11, -1, -1, -1, -1, 7, -1, 9, 12, -1, 10, -1,
        -1, -1, -1, 0, -1, -1, 8, -1, -1, -1, 3, -1, 5, -1, 2, kFaceName,
    };
    const unsigned slot = (static_cast<unsigned>(field[5]) + static_cast<unsigned>(field[7]) * 19u) & 31u;
    return kBySlot[slot];
}

// `field` is the text behind the item, inside `rest`.
void read_font(LogFont& lf, const char16_t* field, const KvRest& rest) {
    // The shortest key, "lf.lfWidth=", has 11 units.
    const std::ptrdiff_t available = rest.end - field;
    if (available < 11) return;
    const int which = font_field_of(field);
    if (which < 0) return;
    if (which == kFaceName) {
        if (available >= kFaceNameKeyLen && kv_same_units(field, kFaceNameKey, kFaceNameKeyLen))
            kv_set_text(lf.lfFaceName, FACE_CAP, field + kFaceNameKeyLen, rest.end);
        return;
    }
    const FontField& f = kFontFields[which];
    if (available < f.key_len || !kv_same_units(field, f.key, f.key_len)) return;
    const char16_t* value = field + f.key_len;
    if (f.number != nullptr) kv_set_number(lf.*f.number, value, rest);
    else kv_set_byte(lf.*f.byte, value, rest);
}

// "x1=" to "w2=": only the postal code items have them.
template <typename Block>
void read_position(Block& b, const char16_t* field, const KvRest& rest) {
    const int group = field[1] == u'1' ? 1 : field[1] == u'2' ? 2 : 0;
    if (group == 0 || field[2] != u'=') return;
    const char16_t* value = field + 3;
    switch (field[0]) {
        case u'x': kv_set_number(group == 1 ? b.x1 : b.x2, value, rest); break;
        case u'y': kv_set_number(group == 1 ? b.y1 : b.y2, value, rest); break;
        case u'w': kv_set_number(group == 1 ? b.w1 : b.w2, value, rest); break;
        default: break;
    }
}

// "xy[k].x=" / "xy[k].y=": only the line items have them; k beyond the
// item's lines (5 or 2), empty or negative gives line 0.
template <int Lines>
void read_origin(LinePos (&xy)[Lines], const char16_t* field, const KvRest& rest) {
    const char16_t* index = kv_match_literal(field, u"xy[");
    if (index == nullptr) return;
    const char16_t* after = nullptr;
    LinePos& origin = xy[kv_index(index, Lines, &after)];
    if (const char16_t* value = kv_match_literal(after, u".x=")) kv_set_number(origin.x, value, rest);
    if (const char16_t* value = kv_match_literal(after, u".y=")) kv_set_number(origin.y, value, rest);
}

// The fields behind ".tt." and the like. They differ in their first units,
// so at most one of them matches: positions start with x, y or w, line
// origins with "xy[", fonts with "lf.", colours with "c.".
template <typename Block>
void read_postal_code_item(Block& b, const char16_t* field, const KvRest& rest) {
    switch (field[0]) {
        case u'x':
        case u'y':
        case u'w': read_position(b, field, rest); break;
        case u'l': read_font(b.lf, field, rest); break;
        case u'c': read_color(b.c, field, rest); break;
        default: break;
    }
}

template <typename Block>
void read_line_item(Block& b, const char16_t* field, const KvRest& rest) {
    switch (field[0]) {
        case u'x': read_origin(b.xy, field, rest); break;
        case u'l': read_font(b.lf, field, rest); break;
        case u'c': read_color(b.c, field, rest); break;
        default: break;
    }
}

void read_card_field(CardRecord& card, const KvRest& rest) {
    const char16_t* r = rest.text;
    if (r[0] == u'.' && r[1] == u'b') {
        if (const char16_t* w = kv_match_literal(r, u".base_w=")) kv_set_number(card.base_w, w, rest);
        else if (const char16_t* h = kv_match_literal(r, u".base_h=")) kv_set_number(card.base_h, h, rest);
        else if (const char16_t* t = kv_match_literal(r, u".base_filepass="))
            kv_set_text(card.base_filepass, PATH_CAP, t, rest.end);
        return;
    }
    // Only a rest longer than four units names an item and a field.
    const int item = item_of(r);
    if (item < 0 || r[4] == 0) return;
    const char16_t* field = r + 4;
    switch (item) {
        case 0: read_postal_code_item(card.tt, field, rest); break;
        case 1: read_line_item(card.ta, field, rest); break;
        case 2: read_line_item(card.tn, field, rest); break;
        case 3: read_postal_code_item(card.ft, field, rest); break;
        case 4: read_line_item(card.fa, field, rest); break;
        default: read_line_item(card.fn, field, rest); break;
    }
}


}  // namespace

int write_layout_file(WindowHandle owner, const char16_t* name, int mode) {
    return write_kv_file(owner, name, mode, KIND_LAYOUT, emit_layouts);
}

void read_layout_line(const char16_t* line) { read_layout_line(line, text_length(line)); }

// Files written by the program list a card's keys in the writer's order.
CardKeyExpectation written_layout_keys() { return CardKeyExpectation(layout_card_keys(), LAYOUT_CARD_KEYS); }

void read_layout_line(const char16_t* line, int len) { read_layout_line(line, len, nullptr); }

void read_layout_line(const char16_t* line, int len, CardKeyExpectation* guess) {
    if (guess != nullptr && guess->apply(line, len)) return;
    if (line[0] != u'h') {
        for (const PrintField& f : kPrintFields) {
            if (const char16_t* value = kv_match(line, f.key)) {
                kv_set_number(doc().print.*f.field, value);
                return;
            }
        }
        return;
    }
    // The count is for the reader's information only; the card blocks
    // follow it.
    if (kv_match(line, kCountKey) != nullptr) {
        if (guess != nullptr) guess->expect_card(0);
        return;
    }
    char16_t buffer[KV_REST_CAP];
    KvRest rest;
    int i = kv_split_record(line, len, kRecordPrefix, HDATA_MAX, buffer, &rest);
    if (i < 0) return;
    read_card_field(doc().hdata[i], rest);
}

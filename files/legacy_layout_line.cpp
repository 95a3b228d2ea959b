// The line handler of the older layout file. Its keys are "base_dt[i]."
// followed by a card field, indices written in decimal without leading
// zeros, plus a few keys for card 0's size and the print settings. A key
// matches when the line begins with it; the line is parsed once instead of
// being compared with every key of every card.
#include "files/legacy_import.h"

#include <cstdint>

#include "model/document.h"
#include "model/text.h"

namespace {

// If `s` starts with `prefix`, the text behind it; otherwise nullptr.
inline const char16_t* after(const char16_t* s, const char16_t* prefix) {
    for (; *prefix != 0; ++s, ++prefix)
        if (*s != *prefix) return nullptr;
    return s;
}

inline bool is_digit(char16_t u) { return u >= u'0' && u <= u'9'; }

int32_t number(const char16_t* value) { return text_to_int(value, LEGACY_NUMBER_UNITS); }

uint8_t low_byte(const char16_t* value) {
    return static_cast<uint8_t>(static_cast<uint32_t>(number(value)) & 0xFF);
}

// A decimal index as "%d" writes it: digits without a leading zero (a lone
// "0" is fine), below `limit`, followed by "]". Returns the index and sets
// *rest behind the "]", or returns -1.
int exact_index(const char16_t* s, int limit, const char16_t** rest) {
    if (!is_digit(s[0]) || (s[0] == u'0' && is_digit(s[1]))) return -1;
    int value = 0;
    int digits = 0;
    while (is_digit(s[digits])) {
        value = value * 10 + (s[digits] - u'0');
        ++digits;
        if (value >= limit) return -1;
    }
    if (s[digits] != u']') return -1;
    *rest = s + digits + 1;
    return value;
}

// The items of a card as the older file names them: t, a, n the addressee's
// postal code, address and names; y, d, m the sender's.
struct Item {
    LogFont* lf;
    RgbColor* c;
    LinePos* xy;
    int lines;
};

bool item_of(CardRecord& card, char16_t letter, Item& item) {
    switch (letter) {
    case u't': item = {&card.tt.lf, &card.tt.c, nullptr, 0}; return true;
    case u'a': item = {&card.ta.lf, &card.ta.c, card.ta.xy, ADDRESSEE_LINES}; return true;
    case u'n': item = {&card.tn.lf, &card.tn.c, card.tn.xy, ADDRESSEE_LINES}; return true;
    case u'y': item = {&card.ft.lf, &card.ft.c, nullptr, 0}; return true;
    case u'd': item = {&card.fa.lf, &card.fa.c, card.fa.xy, SENDER_LINES}; return true;
    case u'm': item = {&card.fn.lf, &card.fn.c, card.fn.xy, SENDER_LINES}; return true;
    default: return false;
    }
}

struct FontField {
    const char16_t* key;  // the name behind "lf" and "="
    int32_t LogFont::*number;
    uint8_t LogFont::*byte;
};

const FontField kFontFields[] = {
    {u"Height=", &LogFont::lfHeight, nullptr},
    {u"Width=", &LogFont::lfWidth, nullptr},
    {u"Escapement=", &LogFont::lfEscapement, nullptr},
    {u"Orientation=", &LogFont::lfOrientation, nullptr},
    {u"Weight=", &LogFont::lfWeight, nullptr},
    {u"Italic=", nullptr, &LogFont::lfItalic},
    {u"Underline=", nullptr, &LogFont::lfUnderline},
    {u"StrikeOut=", nullptr, &LogFont::lfStrikeOut},
    {u"CharSet=", nullptr, &LogFont::lfCharSet},
    {u"OutPrecision=", nullptr, &LogFont::lfOutPrecision},
    {u"ClipPrecision=", nullptr, &LogFont::lfClipPrecision},
    {u"Quality=", nullptr, &LogFont::lfQuality},
    {u"PitchAndFamily=", nullptr, &LogFont::lfPitchAndFamily},
};

// The font field behind an item's "Xlf.lf".
void read_font_field(LogFont& lf, const char16_t* s) {
    if (const char16_t* value = after(s, u"FaceName=")) {
        text_copy(lf.lfFaceName, FACE_CAP, value, LEGACY_FACE_UNITS);
        return;
    }
    for (const FontField& field : kFontFields) {
        if (field.key[0] != s[0]) continue;
        if (const char16_t* value = after(s, field.key)) {
            if (field.number != nullptr)
                lf.*field.number = number(value);
            else
                lf.*field.byte = low_byte(value);
            return;
        }
    }
}

// "r=", "g=" or "b=" behind an item's "Xc.".
void read_colour(RgbColor& c, const char16_t* s) {
    if (s[0] == 0 || s[1] != u'=') return;
    switch (s[0]) {
    case u'r': c.r = low_byte(s + 2); break;
    case u'g': c.g = low_byte(s + 2); break;
    case u'b': c.b = low_byte(s + 2); break;
    default: break;
    }
}

// "k].x=" or "k].y=" behind an item's "Xxy[".
void read_line_origin(const Item& item, const char16_t* s) {
    const char16_t* rest = nullptr;
    int k = exact_index(s, item.lines, &rest);
    if (k < 0 || rest[0] != u'.' || (rest[1] != u'x' && rest[1] != u'y') || rest[2] != u'=') return;
    if (rest[1] == u'x')
        item.xy[k].x = number(rest + 3);
    else
        item.xy[k].y = number(rest + 3);
}

// The postal code positions "x1=" to "w4=": groups 1 and 2 are the
// addressee's, 3 and 4 the sender's.
bool read_position(CardRecord& card, const char16_t* s) {
    if (s[1] < u'1' || s[1] > u'4' || s[2] != u'=') return false;
    int32_t* fields[4][3] = {
        {&card.tt.x1, &card.tt.y1, &card.tt.w1},
        {&card.tt.x2, &card.tt.y2, &card.tt.w2},
        {&card.ft.x1, &card.ft.y1, &card.ft.w1},
        {&card.ft.x2, &card.ft.y2, &card.ft.w2},
    };
    int which = s[0] == u'x' ? 0 : s[0] == u'y' ? 1 : 2;
    *fields[s[1] - u'1'][which] = number(s + 3);
    return true;
}

// The field of one card, behind "base_dt[i].".
void read_card_field(CardRecord& card, const char16_t* s) {
    switch (s[0]) {
    case u'b':
        if (const char16_t* value = after(s, u"base_filepass="))
            text_copy(card.base_filepass, PATH_CAP, value, LEGACY_PATH_UNITS);
        return;
    case u'x':
    case u'w':
        read_position(card, s);
        return;
    case u'y':
        if (read_position(card, s)) return;
        break;  // "ylf." and "yc.": the sender's postal code item
    default:
        break;
    }
    Item item;
    if (!item_of(card, s[0], item)) return;
    switch (s[1]) {
    case u'l':
        if (const char16_t* p = after(s + 1, u"lf.lf")) read_font_field(*item.lf, p);
        return;
    case u'c':
        if (s[2] == u'.') read_colour(*item.c, s + 3);
        return;
    case u'x':
        if (item.xy != nullptr && s[2] == u'y' && s[3] == u'[') read_line_origin(item, s + 4);
        return;
    default:
        return;
    }
}

struct SettingKey {
    const char16_t* key;
    int32_t PrintSettings::*field;
};

const SettingKey kSettingKeys[] = {
    {u"base_pw=", &PrintSettings::base_pw},   {u"base_ph=", &PrintSettings::base_ph},
    {u"base_px=", &PrintSettings::base_px},   {u"base_py=", &PrintSettings::base_py},
    {u"prn_mode=", &PrintSettings::prn_mode}, {u"bmp_mode=", &PrintSettings::bmp_mode},
    {u"start_p=", &PrintSettings::start_p},   {u"stop_p=", &PrintSettings::stop_p},
};

}  // namespace

void read_old_layout_line(const char16_t* line) {
    Document& d = doc();
    if (const char16_t* p = after(line, u"base_dt[")) {
        const char16_t* field = nullptr;
        int i = exact_index(p, HDATA_MAX, &field);
        if (i >= 0 && field[0] == u'.') read_card_field(d.hdata[i], field + 1);
        return;
    }
    // The bitmap size is one pair for the whole old file: card 0's.
    if (const char16_t* value = after(line, u"base_w=")) {
        d.hdata[0].base_w = number(value);
        return;
    }
    if (const char16_t* value = after(line, u"base_h=")) {
        d.hdata[0].base_h = number(value);
        return;
    }
    // "base_bmp=" names a bitmap the current format keeps per card; nothing
    // to take over.
    for (const SettingKey& setting : kSettingKeys) {
        if (const char16_t* value = after(line, setting.key)) {
            d.print.*setting.field = number(value);
            return;
        }
    }
}

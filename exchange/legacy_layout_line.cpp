// The line handler of the older layout file. Its keys are "base_dt[i]."
// followed by a card field, indices written in decimal without leading
// zeros, plus a few keys for card 0's size and the print settings. A key
// matches when the line begins with it; the line is parsed once and its
// field name looked up, instead of comparing it with every key of every card.
#include "exchange/legacy_import.h"

#include <cstdint>

#include "exchange/legacy_layout_keys.h"
#include "model/document.h"
#include "model/text.h"

namespace {

// If `s` starts with `prefix`, the text behind it; otherwise nullptr.
const char16_t* after(const char16_t* s, const char16_t* prefix) {
    for (; *prefix != 0; ++s, ++prefix)
        if (*s != *prefix) return nullptr;
    return s;
}

bool is_digit(char16_t u) { return u >= u'0' && u <= u'9'; }

// A card index as "%d" writes it: digits without a leading zero (a lone "0"
// is fine), below HDATA_MAX, followed by "]". Returns the index and sets
// *rest behind the "]", or returns -1.
int card_index(const char16_t* s, const char16_t** rest) {
    if (!is_digit(s[0]) || (s[0] == u'0' && is_digit(s[1]))) return -1;
    int value = 0;
    int digits = 0;
    while (is_digit(s[digits])) {
        value = value * 10 + (s[digits] - u'0');
        ++digits;
        if (value >= HDATA_MAX) return -1;
    }
    if (s[digits] != u']') return -1;
    *rest = s + digits + 1;
    return value;
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

int32_t number(const char16_t* value) { return text_to_int(value, LEGACY_NUMBER_UNITS); }

}  // namespace

void read_old_layout_line(const char16_t* line) {
    Document& d = doc();
    if (const char16_t* p = after(line, u"base_dt[")) {
        const char16_t* rest = nullptr;
        int i = card_index(p, &rest);
        if (i < 0 || rest[0] != u'.') return;
        // No field name holds an "=", so the name runs up to the first one.
        const char16_t* name = rest + 1;
        int length = 0;
        while (name[length] != 0 && name[length] != u'=') ++length;
        if (name[length] != u'=') return;
        if (const OldCardField* field = find_old_card_field(name, static_cast<size_t>(length)))
            store_old_card_field(d.hdata[i], *field, name + length + 1);
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

// The line handler of the older address file: the addressee texts of the
// cards under "form_address[N]" and one sender, which becomes sender 0,
// under "to_address". Indices are read like _wtoi; targets outside the
// document are ignored.
#include "exchange/legacy_import.h"

#include <cstdint>

#include "files/kv_grammar.h"
#include "model/document.h"
#include "model/text.h"

namespace {

// The index in the text from `s` up to the next "]", read like _wtoi. Sets
// *close to that "]"; false when there is none.
bool bracket_index(const char16_t* s, int32_t* index, const char16_t** close) {
    int len = 0;
    while (s[len] != 0 && s[len] != u']') ++len;
    if (s[len] != u']') return false;
    *index = text_to_int(s, len);
    *close = s + len;
    return true;
}

// "].a[K].s=" or "].n[K].s=" behind an index: sets *line to K and returns
// the value, or nullptr.
const char16_t* line_key(const char16_t* close, char16_t letter, int32_t* line) {
    if (close[1] != u'.' || close[2] != letter || close[3] != u'[') return nullptr;
    const char16_t* second = nullptr;
    if (!bracket_index(close + 4, line, &second)) return nullptr;
    return kv_match(second, u"].s=");
}

void set_text(char16_t* field, int cap, const char16_t* value, int max_units) {
    text_copy(field, cap, value, max_units);
}

void read_card_line(const char16_t* p) {
    int32_t n = 0;
    const char16_t* close = nullptr;
    if (!bracket_index(p, &n, &close)) return;
    bool in_table = n >= 0 && n < HDATA_MAX;
    if (const char16_t* value = kv_match(close, u"].t=")) {
        if (in_table) set_text(doc().hdata[n].tt.m, POSTAL_CAP, value, LEGACY_POSTAL_UNITS);
        return;
    }
    int32_t k = 0;
    if (const char16_t* value = line_key(close, u'a', &k)) {
        if (in_table && k >= 0 && k < ADDRESSEE_LINES)
            set_text(doc().hdata[n].ta.m[k].s, LINE_CAP, value, LEGACY_LINE_UNITS);
    } else if (const char16_t* name = line_key(close, u'n', &k)) {
        if (in_table && k >= 0 && k < ADDRESSEE_LINES)
            set_text(doc().hdata[n].tn.m[k].s, LINE_CAP, name, LEGACY_LINE_UNITS);
    }
}

void read_to_address_line(const char16_t* line) {
    SenderRecord& sender = doc().fdata[0];
    if (const char16_t* value = kv_match(line, u"to_address.t=")) {
        set_text(sender.t, POSTAL_CAP, value, LEGACY_POSTAL_UNITS);
        return;
    }
    const char16_t* p = kv_match(line, u"to_address.");
    if (p == nullptr || (p[0] != u'a' && p[0] != u'n') || p[1] != u'[') return;
    int32_t k = 0;
    const char16_t* close = nullptr;
    if (!bracket_index(p + 2, &k, &close)) return;
    const char16_t* value = kv_match(close, u"].s=");
    if (value == nullptr || k < 0 || k >= SENDER_LINES) return;
    TextLine& target = p[0] == u'a' ? sender.a[k] : sender.n[k];
    set_text(target.s, LINE_CAP, value, LEGACY_LINE_UNITS);
}

}  // namespace

void read_old_address_line(const char16_t* line) {
    if (const char16_t* p = kv_match(line, u"form_address[")) {
        read_card_line(p);
        return;
    }
    read_to_address_line(line);
}

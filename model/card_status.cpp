#include "model/card_status.h"

#include <cstdint>

#include "platform/platform.h"

const char16_t* const status_text[STATUS_COUNT] = {u"未/未", u"済/未", u"喪/未", u"止/未",
                                                   u"済/受", u"喪/受", u"止/受"};
const int status_code[STATUS_COUNT] = {0, 1, 2, 3, 5, 6, 7};

namespace {

CardMarkedHook g_card_marked_hook = nullptr;

// Index into status_text of a code with a text of its own, or -1.
int text_index(int code) {
    if (code >= 1 && code <= 3) return code;
    if (code >= 5 && code <= 7) return code - 1;
    return -1;
}

}  // namespace

int card_year() {
    LocalTime now = platform().local_time();
    return now.month > 8 ? now.year + 1 : now.year;
}

const char16_t* status_code_text(int code) {
    int index = text_index(code);
    return status_text[index < 0 ? 0 : index];
}

const char16_t* status_text_for(const TypEntry (&typ)[TYP_MAX], int year) {
    const char16_t* text = status_text[0];
    for (const TypEntry& entry : typ) {
        int index = text_index(entry.t);
        if (entry.y == year && index >= 0) text = status_text[index];
    }
    return text;
}

int parse_status(const char16_t* text) {
    if (text == nullptr) return STATUS_NONE;
    for (int n = 1; n < STATUS_COUNT; ++n) {
        const char16_t* candidate = status_text[n];
        // A NUL in `text` differs from every unit of a status text, so the
        // comparison never reads past the end of a shorter text.
        if (text[0] == candidate[0] && text[1] == candidate[1] && text[2] == candidate[2])
            return status_code[n];
    }
    return STATUS_NONE;
}

void normalize_typ(TypEntry (&typ)[TYP_MAX], int year) {
    TypEntry old[TYP_MAX];
    for (int k = 0; k < TYP_MAX; ++k) old[k] = typ[k];
    for (int k = 0; k < TYP_MAX; ++k) {
        typ[k].y = year - k;
        typ[k].t = 0;
    }
    for (const TypEntry& entry : old) {
        // Years come from files and may be anything; compute the distance
        // wide so that no value overflows.
        int64_t k = static_cast<int64_t>(year) - entry.y;
        if (k >= 0 && k < TYP_MAX) typ[k].t = entry.t;
    }
}

void normalize_typ(TypEntry (&typ)[TYP_MAX]) { normalize_typ(typ, card_year()); }

void mark_card_sent(int i) {
    if (i < 0 || i >= HDATA_MAX) return;
    int year = card_year();
    TypEntry (&typ)[TYP_MAX] = doc().hdata[i].typ;
    if (typ[0].y != year) normalize_typ(typ, year);
    typ[0].t = STATUS_SENT;
    if (g_card_marked_hook != nullptr) g_card_marked_hook(i, year);
    doc().modified = true;
}

void set_card_marked_hook(CardMarkedHook hook) { g_card_marked_hook = hook; }

#include "model/card_status.h"

#include <cstdint>

#include "platform/platform.h"

const char16_t* const status_text[STATUS_COUNT] = {u"未/未", u"済/未", u"喪/未", u"止/未",
                                                   u"未/受", u"済/受", u"喪/受", u"止/受"};

namespace {

CardMarkedHook g_card_marked_hook = nullptr;

bool known_code(int code) { return code >= 0 && code < STATUS_COUNT; }

}  // namespace

int card_year() {
    LocalTime now = platform().local_time();
    return now.month > 8 ? now.year + 1 : now.year;
}

const char16_t* status_code_text(int code) { return status_text[known_code(code) ? code : STATUS_NONE]; }

int status_code_for(const TypEntry (&typ)[TYP_MAX], int year) {
    int code = STATUS_NONE;
    for (const TypEntry& entry : typ)
        if (entry.y == year && entry.t != STATUS_NONE && known_code(entry.t)) code = entry.t;
    return code;
}

const char16_t* status_text_for(const TypEntry (&typ)[TYP_MAX], int year) {
    return status_text[status_code_for(typ, year)];
}

int parse_status(const char16_t* text) {
    if (text == nullptr) return STATUS_NONE;
    for (int n = 1; n < STATUS_COUNT; ++n) {
        const char16_t* candidate = status_text[n];
        // A NUL in `text` differs from every unit of a status text, so the
        // comparison never reads past the end of a shorter text.
        if (text[0] == candidate[0] && text[1] == candidate[1] && text[2] == candidate[2])
            return n;
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

void mark_typ_sent(TypEntry (&typ)[TYP_MAX], int year) {
    if (typ[0].y != year) normalize_typ(typ, year);
    // A history from a file may name the year more than once, and the last
    // of them is the one shown: every one gets the mark, keeping any 受.
    bool received = false;
    for (const TypEntry& entry : typ)
        received = received || (entry.y == year && entry.t >= STATUS_RECEIVED && entry.t < STATUS_COUNT);
    for (TypEntry& entry : typ)
        if (entry.y == year) entry.t = received ? STATUS_RECEIVED + STATUS_SENT : STATUS_SENT;
}

void mark_card_sent(int i) {
    if (i < 0 || i >= HDATA_MAX) return;
    int year = card_year();
    mark_typ_sent(doc().hdata[i].typ, year);
    if (g_card_marked_hook != nullptr) g_card_marked_hook(i, year);
    doc().modified = true;
}

void set_card_marked_hook(CardMarkedHook hook) { g_card_marked_hook = hook; }

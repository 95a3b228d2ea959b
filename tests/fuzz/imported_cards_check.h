// What every addressee import must leave in the cards, whatever its input:
// texts that end inside their fields without line breaks, and postal codes
// of digits only. Aborts (a fuzzer's finding) otherwise.
#pragma once

#include <cstdlib>

#include "model/document.h"

inline void check_imported_line(const char16_t* s, int cap) {
    bool ended = false;
    for (int i = 0; i < cap && !ended; ++i) {
        if (s[i] == u'\r' || s[i] == u'\n') std::abort();
        ended = s[i] == 0;
    }
    if (!ended) std::abort();
}

inline void check_imported_card(const CardRecord& card) {
    check_imported_line(card.tt.m, POSTAL_CAP);
    for (const char16_t* p = card.tt.m; *p; ++p)
        if (*p < u'0' || *p > u'9') std::abort();
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        check_imported_line(card.ta.m[k].s, LINE_CAP);
        check_imported_line(card.tn.m[k].s, LINE_CAP);
    }
}

// What the addressee import fuzz targets share: handing an input to the
// import, and what every import must leave in the cards, whatever its
// input: texts that end inside their fields without line breaks, and postal
// codes of digits only. The checks abort (a fuzzer's finding) otherwise.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "model/defaults.h"
#include "model/document.h"
#include "tests/support/memory_platform.h"

// Makes `data` the file the import reads, with no box shown yet; odd sizes
// answer Yes (replace), even sizes No (append behind what earlier inputs
// left, until the cards are full). Returns the cards in use before.
inline int hand_import_input(MemoryPlatform& memory, const uint8_t* data, size_t size) {
    if (count_cards() == HDATA_MAX) clear_addressees();
    memory.data = data;
    memory.size = size;
    memory.boxes = 0;
    memory.answer = size % 2 != 0 ? kAnswerYes : kAnswerNo;
    doc().modified = false;
    return count_cards();
}

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
    check_imported_line(card.yomi, YOMI_CAP);
}

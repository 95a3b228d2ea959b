// Finding an addressee by any part of its name lines, reading, address
// lines or postal code: kana folded (hiragana and katakana alike, widths
// folded), spaces ignored, and a postal code matched by its digits whether
// typed with a hyphen or without.
#pragma once

#include "model/document.h"

struct SearchQuery {
    char16_t text[LINE_CAP];    // the search form of what was typed; empty: nothing to find
    char16_t digits[LINE_CAP];  // its digits when it is a postal code (digits and hyphens), else empty
};

void make_search_query(SearchQuery& query, const char16_t* typed);

// The texts of one addressee as the list or a card holds them.
struct AddresseeTexts {
    const char16_t* names[ADDRESSEE_LINES];
    const char16_t* address[ADDRESSEE_LINES];
    const char16_t* postal;
    const char16_t* yomi;
};
AddresseeTexts addressee_texts(const CardRecord& card);

bool addressee_matches(const SearchQuery& query, const AddresseeTexts& texts);

#include "model/addressee_search.h"

#include "model/kana_fold.h"

namespace {

bool is_digit(char16_t u) { return u >= u'0' && u <= u'9'; }
// What users type between the groups of a postal code (after folding).
bool is_hyphen(char16_t u) {
    return u == u'-' || u == u'\u2010' || u == u'\u2212' || u == u'\u30FC' || u == u'\u3012';  // 〒 too
}

// The digits of `text` (full-width ones folded) into `out`.
void digits_of(char16_t* out, int cap, const char16_t* text) {
    char16_t folded[LINE_CAP];
    fold_for_search(folded, LINE_CAP, text);
    int n = 0;
    for (const char16_t* p = folded; *p != 0 && n < cap - 1; ++p)
        if (is_digit(*p)) out[n++] = *p;
    out[n] = 0;
}

bool holds(const char16_t* text, const char16_t* needle) {
    for (const char16_t* t = text; *t != 0; ++t) {
        int k = 0;
        while (needle[k] != 0 && t[k] == needle[k]) ++k;
        if (needle[k] == 0) return true;
    }
    return false;
}

}  // namespace

void make_search_query(SearchQuery& query, const char16_t* typed) {
    fold_for_search(query.text, LINE_CAP, typed);
    bool postal = false;
    for (const char16_t* p = query.text; *p != 0; ++p) {
        if (is_digit(*p)) {
            postal = true;
        } else if (!is_hyphen(*p)) {
            postal = false;
            break;
        }
    }
    query.digits[0] = 0;
    if (postal) digits_of(query.digits, LINE_CAP, query.text);
}

AddresseeTexts addressee_texts(const CardRecord& card) {
    AddresseeTexts t;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        t.names[k] = card.tn.m[k].s;
        t.address[k] = card.ta.m[k].s;
    }
    t.postal = card.tt.m;
    t.yomi = card.yomi;
    return t;
}

bool addressee_matches(const SearchQuery& query, const AddresseeTexts& texts) {
    if (query.text[0] == 0) return false;
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        if (folded_text_holds(texts.names[k], query.text) || folded_text_holds(texts.address[k], query.text))
            return true;
    if (folded_text_holds(texts.yomi, query.text) || folded_text_holds(texts.postal, query.text)) return true;
    if (query.digits[0] == 0) return false;
    char16_t digits[LINE_CAP];
    digits_of(digits, LINE_CAP, texts.postal);
    return holds(digits, query.digits);
}

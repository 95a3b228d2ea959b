// When two addressees are one person: the same name on the first name line
// (spaces, widths and a 敬称 at its end ignored), and also the same postal
// code (its digits) or the same first address line (widths and spaces
// folded). The import with 追加 skips such rows, and the addressee list's
// "重複チェック" selects them.
#pragma once

#include "model/document.h"

// The folded texts the rule compares, made once per addressee.
struct DuplicateKey {
    char16_t name[LINE_CAP];
    char16_t postal[POSTAL_CAP];
    char16_t address[LINE_CAP];
};

void make_duplicate_key(DuplicateKey& key, const char16_t* name, const char16_t* postal,
                        const char16_t* address);
inline void make_duplicate_key(DuplicateKey& key, const CardRecord& card) {
    make_duplicate_key(key, card.tn.m[0].s, card.tt.m, card.ta.m[0].s);
}

// An empty name, postal code or address line never makes two addressees one.
bool is_duplicate(const DuplicateKey& a, const DuplicateKey& b);

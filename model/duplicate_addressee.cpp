#include "model/duplicate_addressee.h"

#include "model/kana_fold.h"
#include "model/text.h"

namespace {

// Honorifics as the search form writes them (katakana as hiragana).
const char16_t* const kHonorifics[] = {u"様", u"さま", u"殿", u"どの", u"御中", u"先生",
                                       u"君", u"くん", u"ちゃん", u"氏"};

bool ends_with(const char16_t* s, int n, const char16_t* tail, int t) {
    if (t > n) return false;
    for (int i = 0; i < t; ++i)
        if (s[n - t + i] != tail[i]) return false;
    return true;
}

}  // namespace

void make_duplicate_key(DuplicateKey& key, const char16_t* name, const char16_t* postal,
                        const char16_t* address) {
    int n = fold_for_search(key.name, LINE_CAP, name);
    for (const char16_t* h : kHonorifics) {
        int t = text_length(h);
        // A name that is only a 敬称 stays as it is.
        if (n > t && ends_with(key.name, n, h, t)) {
            n -= t;
            key.name[n] = 0;
            break;
        }
    }
    char16_t folded[LINE_CAP];
    fold_for_search(folded, LINE_CAP, postal);
    int d = 0;
    for (const char16_t* p = folded; *p != 0 && d < POSTAL_CAP - 1; ++p)
        if (*p >= u'0' && *p <= u'9') key.postal[d++] = *p;
    key.postal[d] = 0;
    fold_for_search(key.address, LINE_CAP, address);
}

bool is_duplicate(const DuplicateKey& a, const DuplicateKey& b) {
    if (a.name[0] == 0 || !text_equal(a.name, b.name)) return false;
    if (a.postal[0] != 0 && text_equal(a.postal, b.postal)) return true;
    return a.address[0] != 0 && text_equal(a.address, b.address);
}

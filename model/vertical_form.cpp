#include "model/vertical_form.h"

namespace {

const char16_t kKanjiDigits[] = u"〇一二三四五六七八九";
// What users type between the numbers of an address: ASCII hyphen, the
// Unicode hyphens and dashes, minus signs and the long vowel marks.
const char16_t kHyphens[] = u"-\u2010\u2011\u2012\u2013\u2014\u2015\u2212\uFF0D\uFF70\u30FC";
// Half-width katakana U+FF61 to U+FF9F, in code order, as full-width.
const char16_t kFullKana[] =
    u"。「」、・ヲァィゥェォャュョッー"
    u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
static_assert(sizeof kFullKana / sizeof kFullKana[0] == 0xFF9F - 0xFF61 + 2,
              "one full-width kana per half-width kana");
// Kana and their joined forms, in pairs.
const char16_t kVoiced[] = u"ウヴカガキギクグケゲコゴサザシジスズセゼソゾタダチヂツヅテデトドハバヒビフブヘベホボ";
const char16_t kSemiVoiced[] = u"ハパヒピフプヘペホポ";
constexpr char16_t kHalfVoicedMark = u'\uFF9E';      // ﾞ
constexpr char16_t kHalfSemiVoicedMark = u'\uFF9F';  // ﾟ
constexpr char16_t kIdeographicSpace = u'\u3000';

bool contains(const char16_t* set, char16_t c) {
    for (; *set; ++set)
        if (*set == c) return true;
    return false;
}

// 0 to 9 for a half-width, full-width or kanji digit, else -1.
int digit_value(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'０' && c <= u'９') return c - u'０';
    for (int d = 0; d < 10; ++d)
        if (kKanjiDigits[d] == c) return d;
    return -1;
}

// The joined form of `kana` with `mark` (ﾞ or ﾟ), 0 when there is none.
char16_t joined(char16_t kana, char16_t mark) {
    const char16_t* pairs = mark == kHalfVoicedMark ? kVoiced : mark == kHalfSemiVoicedMark ? kSemiVoiced : u"";
    for (; pairs[0] && pairs[1]; pairs += 2)
        if (pairs[0] == kana) return pairs[1];
    return 0;
}

bool high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

int vertical_form(char16_t* out, int cap, const char16_t* text, bool kanji_digits) {
    if (cap <= 0) return 0;
    int n = 0;
    char16_t before = 0;  // the unit of `text` before the one at hand
    for (const char16_t* p = text; *p != 0;) {
        char16_t c = *p;
        char16_t v[2] = {c, 0};
        int taken = 1;
        int units = 1;
        int d = digit_value(c);
        if (d >= 0) {
            if (kanji_digits) v[0] = kKanjiDigits[d];
            else if (c <= u'9') v[0] = char16_t(c - u'0' + u'０');
        } else if (contains(kHyphens, c) && digit_value(before) >= 0 && digit_value(p[1]) >= 0) {
            v[0] = kVerticalSeparator;
        } else if (c == u' ') {
            v[0] = kIdeographicSpace;
        } else if (c >= 0x21 && c <= 0x7E) {
            v[0] = char16_t(c - 0x21 + 0xFF01);
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            v[0] = widened_kana(p, &taken);
        } else if (high_surrogate(c) && low_surrogate(p[1])) {
            v[1] = p[1];
            taken = units = 2;
        }
        if (n + units > cap - 1) break;  // a pair goes whole or not at all
        for (int i = 0; i < units; ++i) out[n++] = v[i];
        before = p[taken - 1];
        p += taken;
    }
    out[n] = 0;
    return n;
}

char16_t widened_kana(const char16_t* text, int* taken) {
    char16_t c = text[0];
    *taken = 1;
    if (c < 0xFF61 || c > 0xFF9F) return 0;
    char16_t wide = kFullKana[c - 0xFF61];
    char16_t both = joined(wide, text[1]);
    if (both == 0) return wide;
    *taken = 2;
    return both;
}

int widen_kana(char16_t* out, int cap, const char16_t* text) {
    if (cap <= 0) return 0;
    int n = 0;
    for (const char16_t* p = text; *p != 0 && n < cap - 1;) {
        int taken = 1;
        char16_t wide = widened_kana(p, &taken);
        out[n++] = wide != 0 ? wide : *p;
        p += taken;
    }
    if (n > 0 && high_surrogate(out[n - 1])) --n;  // never half a pair at the end
    out[n] = 0;
    return n;
}

#include "model/kana_fold.h"

#include "model/vertical_form.h"

namespace {

constexpr char16_t kLongVowel = u'\u30FC';  // ー (ｰ widens to it)

enum Variant : uint8_t { kPlain = 0, kSmall = 1, kVoiced = 2, kSemiVoiced = 3 };

bool is_space(char16_t u) { return u == u' ' || u == u'\t' || u == u'\u3000'; }

// The unit at `p` with widths and kana folded: half-width katakana widened
// (marks joined), katakana as hiragana, full-width ASCII as ASCII, letters
// in lower case. `*taken` gets the units used.
char16_t fold_unit(const char16_t* p, int* taken) {
    char16_t u = widened_kana(p, taken);
    if (u == 0) u = *p;
    if (u >= 0x30A1 && u <= 0x30F6) {
        u = char16_t(u - 0x60);
    } else if (u >= 0xFF01 && u <= 0xFF5E) {
        u = char16_t(u - 0xFF01 + 0x21);
    }
    if (u >= u'A' && u <= u'Z') u = char16_t(u + 32);
    return u;
}

// The plain kana of a folded unit and how it differs from it. Hiragana
// stand in gojūon order in their code block, each voiced or small kana
// beside its plain one, which the arithmetic below follows.
char16_t plain_kana(char16_t u, uint8_t* variant) {
    *variant = kPlain;
    switch (u) {
    case 0x3041: case 0x3043: case 0x3045: case 0x3047: case 0x3049:  // ぁぃぅぇぉ
    case 0x3083: case 0x3085: case 0x3087:                             // ゃゅょ
        *variant = kSmall;
        return char16_t(u + 1);
    case 0x3063: *variant = kSmall; return 0x3064;   // っ
    case 0x308E: *variant = kSmall; return 0x308F;   // ゎ
    case 0x3095: *variant = kSmall; return 0x304B;   // ゕ
    case 0x3096: *variant = kSmall; return 0x3051;   // ゖ
    case 0x3065: case 0x3067: case 0x3069:           // づでど
        *variant = kVoiced;
        return char16_t(u - 1);
    case 0x3094: *variant = kVoiced; return 0x3046;  // ゔ
    default: break;
    }
    if (u >= 0x304B && u <= 0x3062) {  // か..ぢ: plain and voiced alternate
        if ((u - 0x304B) % 2 == 1) {
            *variant = kVoiced;
            return char16_t(u - 1);
        }
        return u;
    }
    if (u >= 0x306F && u <= 0x307D) {  // は..ぽ: plain, voiced, semi-voiced
        int r = (u - 0x306F) % 3;
        *variant = r == 0 ? kPlain : r == 1 ? kVoiced : kSemiVoiced;
        return char16_t(u - r);
    }
    if (u >= 0x30F7 && u <= 0x30FA) {  // ヷヸヹヺ
        *variant = kVoiced;
        return char16_t(0x308F + (u - 0x30F7));
    }
    return u;
}

}  // namespace

int fold_for_search(char16_t* out, int cap, const char16_t* text) {
    if (cap <= 0) return 0;
    int n = 0;
    for (const char16_t* p = text; *p != 0 && n < cap - 1;) {
        int taken = 1;
        char16_t u = fold_unit(p, &taken);
        p += taken;
        if (!is_space(u)) out[n++] = u;
    }
    out[n] = 0;
    return n;
}

bool folded_text_holds(const char16_t* text, const char16_t* folded_needle) {
    char16_t folded[4 * 64];
    int n = fold_for_search(folded, 4 * 64, text);
    if (folded_needle[0] == 0) return true;
    for (int i = 0; i < n; ++i) {
        int k = 0;
        while (folded_needle[k] != 0 && i + k < n && folded[i + k] == folded_needle[k]) ++k;
        if (folded_needle[k] == 0) return true;
        if (i + k >= n) return false;
    }
    return false;
}

void make_reading_key(ReadingKey& key, const char16_t* reading) {
    int n = 0;
    for (const char16_t* p = reading; *p != 0 && n < READING_KEY_CAP - 1;) {
        int taken = 1;
        char16_t u = fold_unit(p, &taken);
        p += taken;
        if (u == kLongVowel) continue;
        if (is_space(u)) {
            // Spaces part family from given name: one, never leading.
            if (n == 0 || key.primary[n - 1] == u' ') continue;
            key.primary[n] = u' ';
            key.variant[n++] = kPlain;
            continue;
        }
        key.primary[n] = plain_kana(u, &key.variant[n]);
        ++n;
    }
    while (n > 0 && key.primary[n - 1] == u' ') --n;
    key.primary[n] = 0;
    key.length = n;
}

int compare_reading_keys(const ReadingKey& a, const ReadingKey& b) {
    int n = a.length < b.length ? a.length : b.length;
    for (int i = 0; i < n; ++i)
        if (a.primary[i] != b.primary[i]) return a.primary[i] < b.primary[i] ? -1 : 1;
    if (a.length != b.length) return a.length < b.length ? -1 : 1;
    for (int i = 0; i < n; ++i)
        if (a.variant[i] != b.variant[i]) return a.variant[i] < b.variant[i] ? -1 : 1;
    return 0;
}

int reading_kana_row(const char16_t* reading) {
    ReadingKey key;
    make_reading_key(key, reading);
    if (key.length == 0) return -1;
    // The first kana of each 行 after あ: か さ た な は ま や ら わ.
    static const char16_t kRowStarts[] = u"かさたなはまやらわ";
    char16_t u = key.primary[0];
    if (u < 0x3042 || u > 0x3093) return -1;
    int row = 0;
    while (row < 9 && u >= kRowStarts[row]) ++row;
    return row;
}

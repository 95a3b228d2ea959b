// The vertical-writing form of a text ("漢数字"). Address and name lines are
// drawn through vertical "@" fonts, which lay half-width digits, hyphens
// and Latin letters on their side; their vertical form stands upright:
//   - digits 0-9 and ０-９ become 〇一二三四五六七八九, digit by digit;
//   - a hyphen-like unit between two digits becomes kVerticalSeparator;
//   - half-width Latin letters and symbols become full-width, a half-width
//     space a full-width space;
//   - half-width katakana become full-width, a following voiced or
//     semi-voiced mark joined where the joined kana exists (ｶﾞ → ガ, ﾊﾟ → パ);
//   - everything else is kept.
// The result is never longer than the text, in UTF-16 units.
// The form the cards are printed in by default (the stored text unchanged)
// keeps the numbers as numbers: half-width digits become full-width ones,
// full-width and kanji digits stay; the rest is as above.
#pragma once

// "ー": the one separator between two digits. In the vertical faces it is
// drawn as a vertical line (its ink is taller than wide), in every
// Japanese font the program names.
constexpr char16_t kVerticalSeparator = u'\u30FC';

// Writes the vertical form of `text` into `out` (cap units with the NUL),
// cut to cap - 1 units without splitting a surrogate pair; `out` and
// `text` must not overlap. Returns the units written. `kanji_digits` false
// gives the form with full-width digits.
int vertical_form(char16_t* out, int cap, const char16_t* text, bool kanji_digits = true);

// The full-width kana of a half-width katakana at `text` (ｶ → カ, with a
// following ﾞ or ﾟ joined where the joined kana exists: ｶﾞ → ガ); 0 when
// `text` does not start with one. `*taken` gets the units used (1 or 2).
char16_t widened_kana(const char16_t* text, int* taken);

// `text` with its half-width katakana widened (as widened_kana), everything
// else kept; cut to cap - 1 units like vertical_form. Returns the units written.
int widen_kana(char16_t* out, int cap, const char16_t* text);

// Kana folding for finding and ordering addressees by their reading (よみ):
//   - search folding: katakana as hiragana, half-width katakana widened (a
//     following ﾞ or ﾟ joined), full-width Latin letters, digits and
//     symbols as ASCII, letters in lower case, spaces left out;
//   - あいうえお順: readings compared by their plain kana first (voiced,
//     semi-voiced and small kana as their plain kana, ー left out), then,
//     between readings that are equal so, plain before small before voiced
//     before semi-voiced, position by position;
//   - the 行 (あ か さ た な は ま や ら わ) a reading begins in.
#pragma once

#include <cstdint>

// The search form of `text` into `out` (cap units with the NUL); cut at
// cap - 1. Returns the units written.
int fold_for_search(char16_t* out, int cap, const char16_t* text);

// True when `folded_needle` (a search form, not empty) stands in the search
// form of `text`.
bool folded_text_holds(const char16_t* text, const char16_t* folded_needle);

// A reading made ready for comparing: its plain kana (primary) and the
// variant of each (secondary), built once per row before a sort.
constexpr int READING_KEY_CAP = 64;
struct ReadingKey {
    char16_t primary[READING_KEY_CAP];
    uint8_t variant[READING_KEY_CAP];
    int length;
};
void make_reading_key(ReadingKey& key, const char16_t* reading);
// <0, 0, >0 as `a` comes before, with, or after `b` あいうえお順.
int compare_reading_keys(const ReadingKey& a, const ReadingKey& b);

// 0 to 9 for the 行 of あ か さ た な は ま や ら わ (ん with わ) the reading
// begins in, -1 when it begins with no kana (or is empty).
int reading_kana_row(const char16_t* reading);

// What the editors' postal code buttons do: "〒→住所" beside a postal code
// field (one-line editor, sender editor) fills the address line from the
// postal code table built into the program, and "郵便番号チェック" (addressee
// list) finds the rows whose postal code would not reach anyone. Both tell
// the user when the program was built without the table.
#pragma once

#include "platform/platform.h"

// "〒→住所": looks up `code_text` (as typed: hyphen, "〒" and full-width
// digits allowed) and gives in `out` (cap units, cut to fit) what the
// address line shown is to hold: prefecture + city + town. An empty line
// takes it at once; a line with other text only when the user answers Yes
// to "住所を「%s」に置き換えますか？". A code that is not in the table
// ("郵便番号%sは見つかりません"), a code whose places lie in two prefectures
// ("郵便番号%sの住所は一つに決まりません") or a program without the table
// changes nothing. Returns 1 when `out` is to replace the address line, 0 when the
// line stays as it is.
int postal_address_fill(WindowHandle owner, const char16_t* code_text,
                        const char16_t* address_line, char16_t* out, int cap);

// "郵便番号チェック": sets bad[i] for each of the `count` codes that is not
// seven digits (half- or full-width, nothing else, as they are printed into
// the card's seven boxes) or is not in the table, clears it for the others,
// and tells the user how many rows are bad. Returns that number, or -1 when
// the program has no table (nothing is marked; the user is told).
int postal_code_check(WindowHandle owner, const char16_t* const* codes, int count, bool* bad);

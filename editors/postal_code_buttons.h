// What the editors' postal code buttons do: "〒→住所" beside a postal code
// field (one-line editor, sender editor) fills the address line from the
// postal code table in use (the updated one, else the built-in one), and "郵便番号チェック" (addressee
// list) finds the rows whose postal code would not reach anyone. Both tell
// the user when the program was built without the table.
#pragma once

#include "editors/dialog_view.h"
#include "model/document.h"
#include "platform/platform.h"

// Texts longer than a line that "〒→住所" may give (an office's name, the
// rest of a long address) before they are split over lines.
constexpr int POSTAL_LONG_CAP = 3 * LINE_CAP;

// What "〒→住所" gives for a code.
struct PostalFill {
    char16_t line[LINE_CAP];  // the address line: prefecture + city + town (+ street)
    // For the record's next address line when that is free: a building's
    // floor code's building and floor, or the rest of an address longer
    // than a line.
    char16_t next[LINE_CAP];
    char16_t office[POSTAL_LONG_CAP];  // a business code: the office's name, whole
    char16_t rest[POSTAL_LONG_CAP];    // what found no line: the user is told
};

// Menus of a code's towns show this many towns at most; a code over more
// offers them a page at a time, each page ending with an item that opens
// the next one ("次へ（31～60／66件）"), the last one leading back to the
// first.
constexpr int POSTAL_MENU_PAGE = 30;

// "〒→住所": looks up `code_text` (as typed: hyphen, "〒" and full-width
// digits allowed) in the table in use (postal_update.h) and gives in `out`
// what the address line shown is to hold. A code over several towns offers
// them in a small menu; closing it (Esc) keeps the parts they share
// (prefecture + city). A building's floor code keeps the building and floor
// apart for the next line when `next_line_free`, else they follow the town
// on the line as one address. An address longer than the line is split
// after a number (with its 丁目, 番地 or 号) or at the line's end, as the
// imports split it, and goes on on the next line when that is free, else
// into `out.rest`. An empty line takes the address at once; a
// line with other text only when the user answers Yes to
// "住所を「%s」に置き換えますか？". A code that is not in the table
// ("郵便番号%sは見つかりません"), a code whose places lie in two prefectures
// ("郵便番号%sの住所は一つに決まりません") or a program without any table
// changes nothing. Returns 1 when `out.line` is to replace the address line,
// 0 when the line stays as it is.
int postal_address_fill(WindowHandle owner, const char16_t* code_text, const char16_t* address_line,
                        bool next_line_free, PostalFill& out);

// The "〒→住所" button of an editor: the postal code field `postal_id` and
// the address field `address_id` as the user left them go through
// postal_address_fill. When the address is taken, the address field gets
// it and the postal code field the seven plain digits that print into the
// card's boxes, as the editors store them; a building and floor, or the
// rest of a long address, go into `next_line` (the record's next address
// line, LINE_CAP units, null when there is none) when it is empty, and a
// business's name into the name field `name_id` when that is empty (never
// over a name), a name longer than the field going on on `next_name_line`
// (the record's next name line, null when there is none) when that is
// empty. What finds no line is never cut silently: the user is told
// "次の行が空いていないため、「%s」は入れていません". Nothing else is stored
// into a record: the editor's next store takes the fields as it takes what
// was typed, so no typing in another field is lost. The focus goes to the
// address field when it was filled, to go on with the house number, else
// back to the postal code. Returns 1 when the fields changed.
int postal_address_button(DialogView& view, int postal_id, int address_id, char16_t* next_line,
                          int name_id, char16_t* next_name_line = nullptr);

// "郵便番号チェック", in two steps so that the list can select the rows
// before the user reads how many there are. First: sets bad[i] for each of
// the `count` codes that is not seven digits (half- or full-width, nothing
// else, as they are printed into the card's seven boxes) or is not in the
// table, clears it for the others, and returns how many are bad; -1 when
// the program has no table (nothing is marked; the user is told).
int find_bad_postal_codes(WindowHandle owner, const char16_t* const* codes, int count, bool* bad);
// Then: tells the user that number of bad rows.
void tell_bad_postal_codes(WindowHandle owner, int bad_rows);

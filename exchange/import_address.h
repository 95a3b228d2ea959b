// One imported address put onto a card, the same way for every source (a
// CSV table, a vCard): its parts joined in the order of its script, the
// postal code into the boxes when it is a Japanese one, the country on a
// line of its own, and texts longer than a line continued on the next one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "exchange/addressee_import.h"

// The parts of an address. A part may come in pieces (several columns of a
// table); they are joined like the parts.
struct AddressParts {
    std::vector<std::u16string> region;    // prefecture, state
    std::vector<std::u16string> locality;  // city
    std::vector<std::u16string> street;
    std::vector<std::u16string> extended;  // building, apartment: the next line
    std::vector<std::u16string> lines;     // further lines, one text each
    std::u16string postal;
    std::u16string country;

    bool empty() const;
};

// Puts the address on a's address lines from line 0 and its postal code
// into a.postal. Japanese script: region, locality and street joined
// without spaces; Latin script: street, locality, region and (when it is
// not Japanese) the postal code joined with single spaces. The extended
// part and the further lines follow, then the country unless it is Japan;
// empty texts take no line, a text longer than a line continues on the
// next. A postal code that is not seven digits ("150-0001", full-width
// folded, 〒 ignored) stays in the address text and sets *postal_in_text.
// Returns the texts cut for want of lines.
int put_address(const AddressParts& parts, ImportedAddressee& a, bool* postal_in_text);

// Where a text of more than `cap` units (s[cap] exists) is split to go on
// on the next line: at its last blank that fits (*skip = 1, the blank is
// dropped), or after its last number that fits with its 丁目, 番地, 番 or 号
// ("２丁目" stays whole), else at `cap` without splitting a surrogate pair.
size_t address_split_point(const char16_t* s, size_t cap, size_t* skip);

// Stores a text on line `next` and the lines after it: a text longer than a
// line is split as address_split_point says and goes on on the next line;
// line breaks become spaces. Returns 1 when some of it found no line, else 0.
int store_wrapped(TextLine (&lines)[ADDRESSEE_LINES], int& next, const char16_t* s, size_t n);
inline int store_wrapped(TextLine (&lines)[ADDRESSEE_LINES], int& next, const std::u16string& s) {
    return store_wrapped(lines, next, s.data(), s.size());
}

// True when the text is written in Latin script or another alphabet (no
// kana, kanji, hangul or full-width forms): such address parts are joined
// with spaces.
bool latin_text(const std::u16string& s);

// The seven digits of a Japanese postal code ("1500001", "150-0001",
// "〒１５０－０００１"); false when the text is anything else.
bool seven_digit_postal(const std::u16string& s, char16_t (&digits)[8]);

// A person's name from its family and given names: "山田　太郎" (a
// full-width space between), or "John Smith" when both are in Latin script.
std::u16string person_name(const std::u16string& family, const std::u16string& given);

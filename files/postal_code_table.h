// The postal code table built into the program (住所自動入力): for every
// seven-digit code its prefecture, city and town. The table is read in place
// from the bytes that scripts/postal_data.py writes (the layout is described
// there): codes ascending for a binary search, every text stored once as
// UTF-16. The bytes may be anything: opening checks every count, index and
// offset against them, so that no lookup reads outside them, and no
// alignment is assumed.
#pragma once

#include <cstddef>
#include <cstdint>

struct PostalCodeTable {
    uint32_t code_count;
    uint32_t area_count;
    uint32_t text_units;
    const unsigned char* codes;        // u32 per code, ascending
    const unsigned char* towns;        // u32 per code: offset of its town text
    const unsigned char* area_prefs;   // u32 per area: offset of its prefecture
    const unsigned char* area_cities;  // u32 per area: offset of its city
    const unsigned char* code_areas;   // u16 per code: its area
    const unsigned char* texts;        // u16 units, each text NUL-terminated
};

// Results of opening a table.
constexpr int POSTAL_TABLE_OK = 0;
constexpr int POSTAL_TABLE_ABSENT = 1;   // no bytes: the program was built without the data
constexpr int POSTAL_TABLE_DAMAGED = 2;  // the bytes are not a table

// Checks the bytes and points `table` into them (they must stay in place
// while the table is used). On any result but POSTAL_TABLE_OK the table is
// empty: it holds no code.
int open_postal_code_table(const void* data, size_t bytes, PostalCodeTable& table);

// Opens the table built into the running program (the platform's resource
// IDR_POSTAL_CODES); the same results.
int open_builtin_postal_code_table(PostalCodeTable& table);

// A postal code exactly as it is printed into the seven boxes of a card:
// seven digits, half- or full-width, and nothing else. Gives the number.
bool postal_code_digits(const char16_t* text, uint32_t& code);

// A postal code as people type it: seven digits, half- or full-width, with
// an optional hyphen after the third (any of the dashes a Japanese input
// method gives), an optional "〒" in front and spaces around.
bool read_typed_postal_code(const char16_t* text, uint32_t& code);

// What the editors store of a typed postal code into a field of `cap`
// units: a text of nothing but digits (half- or full-width), dashes and
// spaces, with an optional "〒" in front, gives its digits, at most the
// first seven ("１２３－４５６７" gives 1234567, as the card prints them into
// its seven boxes); any other text is kept as typed, cut to the field, for
// 郵便番号チェック to point out.
void stored_postal_code(const char16_t* typed, char16_t* out, int cap);

// Index of `code` in the table, -1 when it is not there.
int find_postal_code(const PostalCodeTable& table, uint32_t code);

// The address of the entry at `index`, prefecture + city + town, into `out`
// (cap units, cut to fit, always NUL-terminated). A part that the code's
// places do not share is empty: a code for two towns gives prefecture and
// city only, a code for places in two prefectures an empty address.
void postal_address(const PostalCodeTable& table, int index, char16_t* out, int cap);

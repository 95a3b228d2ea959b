// The postal code table (住所自動入力): for every seven-digit code its
// prefecture, city and town, and where Japan Post gives them a building with
// its floor, a business's street and name, and the towns of a code that
// stands for several. The table is read in place from the bytes that
// build_postal_table (postal_table_builder.h) writes: codes ascending for a
// binary search, every text stored once as UTF-16. The bytes may be
// anything: opening checks every count, index and offset against them, so
// that no lookup reads outside them, and no alignment is assumed.
//
// Layout, little-endian, 32-byte header and arrays without padding:
//   "ZKPC", u32 version 2, u32 N codes, u32 A areas, u32 T text units,
//   u32 E extras, u32 P places, u32 date (yyyymmdd of the data, 0 unknown)
//   u32 code[N]          ascending, each below 10,000,000
//   u32 town[N]          text offset of the code's town
//   u32 extra[N]         0, or 1 + the index of the code's extra
//   u32 area_pref[A]     text offset of the area's prefecture
//   u32 area_city[A]     text offset of the area's city
//   u32 extra[E][5]      building, street, office (text offsets), first
//                        place and number of places of the code
//   u32 place_town[P]    text offset of a place's town
//   u16 code_area[N]     the code's area (prefecture and city)
//   u16 place_area[P]    the place's area
//   u16 text[T]          UTF-16 texts, each ending with a NUL; offset 0 is
//                        the empty text
#pragma once

#include <cstddef>
#include <cstdint>

struct PostalCodeTable {
    uint32_t code_count;
    uint32_t area_count;
    uint32_t text_units;
    uint32_t extra_count;
    uint32_t place_count;
    uint32_t date;                     // yyyymmdd of the data, 0 unknown
    const unsigned char* codes;        // u32 per code, ascending
    const unsigned char* towns;        // u32 per code: offset of its town text
    const unsigned char* area_prefs;   // u32 per area: offset of its prefecture
    const unsigned char* area_cities;  // u32 per area: offset of its city
    const unsigned char* code_extras;  // u32 per code: 0 or 1 + its extra
    const unsigned char* extras;       // 5 u32 per extra
    const unsigned char* place_towns;  // u32 per place
    const unsigned char* code_areas;   // u16 per code: its area
    const unsigned char* place_areas;  // u16 per place
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

// The address of the entry at `index`, prefecture + city + town + building
// and floor + street, into `out` (cap units, cut to fit, always
// NUL-terminated). A part that the code's places do not share is empty: a
// code for two towns gives prefecture and city only, a code for places in
// two prefectures an empty address.
void postal_address(const PostalCodeTable& table, int index, char16_t* out, int cap);

// The same address in the parts an editor places apart: `line1` the
// prefecture + city + town + street, `building` the building and floor of
// a building's code, `office` the name of a business code; each cap units.
void postal_address_parts(const PostalCodeTable& table, int index, char16_t* line1,
                          char16_t* building, char16_t* office, int cap);

// The towns to choose from when the code stands for several (0 otherwise),
// and the k-th of them as prefecture + city + town.
int postal_place_count(const PostalCodeTable& table, int index);
void postal_place_address(const PostalCodeTable& table, int index, int k, char16_t* out, int cap);

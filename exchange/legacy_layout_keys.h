// The card fields of the older layout file, found by the name that follows
// "base_dt[i]." up to the "=" ("x3", "dxy[1].y", "tlf.lfHeight", ...), and
// the rules for storing their values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/document.h"

enum class OldFieldType : uint8_t {
    kNumber,      // i32
    kByte,        // the low eight bits of the number
    kFaceName,    // lfFaceName, at most LEGACY_FACE_UNITS units
    kBitmapPath,  // base_filepass, at most LEGACY_PATH_UNITS units
};

struct OldCardField {
    uint32_t offset;  // bytes from the start of the CardRecord
    OldFieldType type;
};

// The field named by the `length` units at `name`, or nullptr.
const OldCardField* find_old_card_field(const char16_t* name, size_t length);

// Stores a value (NUL-terminated) into a card's field.
void store_old_card_field(CardRecord& card, const OldCardField& field, const char16_t* value);
// Stores a number already converted into a number or byte field.
void store_old_card_number(CardRecord& card, const OldCardField& field, int32_t value);

// Card fields of the older layout file.
constexpr int LEGACY_CARD_FIELDS = 143;

// Files written by a program repeat the same order of keys for every card,
// so the field that followed a field last time is tried first; only when
// that guess fails is the name measured and looked up. The guesses are a
// hint only, any value is a valid one: a guess is taken only when the line
// holds exactly its name. One reading of a file owns them.
struct OldFieldGuesses {
    int16_t next[LEGACY_CARD_FIELDS] = {};
};

// Applies the lines at the start of `units` (of which `available` are at
// hand) for as long as each is a card line with a known field and a value
// that ends in CR LF within KV_READ_LINE_MAX units (plain numbers and texts),
// exactly as read_old_layout_line would, and returns the units taken, CR LF included. It stops, having
// left it untouched, at the first other line, which is then left to the
// line reader and read_old_layout_line.
size_t read_old_layout_lines_in_place(const char16_t* units, size_t available,
                                      OldFieldGuesses& guesses);

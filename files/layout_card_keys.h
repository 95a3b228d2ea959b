// The 145 keys of a card block of the layout file, in the order the writer
// writes them, each with the field of CardRecord it names: the key behind
// "hdata[N]" (".base_w=", ".tt.x1=", ".ta.xy[0].x=", ".tt.lf.lfHeight=",
// ".tt.c.r=", ...), how its value is stored, and where.
#pragma once

#include <cstddef>

#include "model/document.h"

enum class CardKeyKind {
    Number,  // an int32_t
    Byte,    // a uint8_t, written as 0 to 255, read as the low eight bits
    Text,    // a char16_t text of `cap` units
};

struct CardKey {
    char16_t text[32];  // the key, "=" included
    int len;            // units of text
    CardKeyKind kind;
    size_t offset;      // of the field inside CardRecord
    int cap;            // units of a text field
};

constexpr int CARD_KEY_COUNT = 145;

// The keys in file order.
const CardKey* layout_card_keys();

// The field a key names in `card`.
inline char* card_field(CardRecord& card, const CardKey& key) {
    return reinterpret_cast<char*>(&card) + key.offset;
}
inline const char* card_field(const CardRecord& card, const CardKey& key) {
    return reinterpret_cast<const char*>(&card) + key.offset;
}

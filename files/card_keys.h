// The keys of a card block in the layout file (145) and in the addressee
// file (32), in the order the writers write them, each with the field of
// CardRecord it names: the key behind "hdata[N]" (".tt.m=", ".ta.m[0].s=",
// ".ftb=", ".base_w=", ".tt.lf.lfHeight=", ".fn.c.b=", ...), how its value
// is stored, and where. The writers write from these tables, and the line
// handlers use them to recognise quickly the key that comes next in a file
// the program wrote.
#pragma once

#include <cstddef>
#include <cstdint>

#include "files/kv_grammar.h"
#include "model/document.h"

enum class CardKeyKind {
    Number,       // an int32_t
    SenderIndex,  // an int32_t that must name a sender (0 to 9), else 0
    Byte,         // a uint8_t, written as 0 to 255, read as the low eight bits
    Text,         // a char16_t text of `cap` units
};

struct CardKey {
    // The key, "=" included, then NULs to the end.
    char16_t text[32];
    int len;            // units of text
    CardKeyKind kind;
    size_t offset;      // of the field inside CardRecord
    int cap;            // units of a text field
};

constexpr int LAYOUT_CARD_KEYS = 145;
constexpr int ADDRESSEE_CARD_KEYS = 32;

const CardKey* layout_card_keys();
const CardKey* addressee_card_keys();

// The field a key names in `card`.
inline const char* card_field(const CardRecord& card, const CardKey& key) {
    return reinterpret_cast<const char*>(&card) + key.offset;
}

class KvWriter;
class KvLineSplitter;

// Writes the lines of card i's block: "hdata[i]" and each key with the
// value of its field (bytes as unsigned numbers 0 to 255).
void write_card_keys(KvWriter& out, int i, const CardRecord& card, const CardKey* keys, int count);

// Guesses the next line of a file written by the program: the key that
// follows the one the previous line held, card after card. A line that holds
// exactly that key gets its value stored straight into the field the key
// names, which is what the key grammar does with such a line; any other line
// is left to the grammar and leaves the guess where it is. The guess only
// saves work.
class CardKeyExpectation {
public:
    CardKeyExpectation(const CardKey* keys, int count) : keys_(keys), count_(count) {}

    // Expects the first key of `card` (none from HDATA_MAX on).
    void expect_card(int card);

    // Applies the line and moves on when it holds the expected key. Inline:
    // it runs for nearly every line of a file.
    KV_HOT_INLINE bool apply(const char16_t* line, int len);

    // Takes from the splitter the lines at hand (see KvLineSplitter::peek)
    // for as long as each holds the expected key, a value without NUL (a
    // number plain as kv_plain_number takes it) and ends in CR LF within
    // KV_READ_LINE_MAX units, and applies each as apply() would apply it
    // without its CR LF. Returns the units taken.
    size_t take_lines(KvLineSplitter& lines);

private:
    const CardKey* keys_;
    int count_;
    int card_ = -1;  // -1: no guess
    int key_ = 0;
    char* record_ = nullptr;    // the card's CardRecord
    char16_t prefix_[24] = {};  // "hdata[<card>]"
    int prefix_len_ = 0;
};

// Stores a number into the field of key `k` (of kind Number, Byte or
// SenderIndex) at `field`.
KV_HOT_INLINE void store_card_number(char* field, const CardKey& k, int32_t number) {
    if (k.kind == CardKeyKind::Byte)
        *reinterpret_cast<uint8_t*>(field) = static_cast<uint8_t>(static_cast<uint32_t>(number) & 0xFF);
    else if (k.kind == CardKeyKind::Number)
        *reinterpret_cast<int32_t*>(field) = number;
    else
        *reinterpret_cast<int32_t*>(field) = number >= 0 && number < FDATA_MAX ? number : 0;
}

// Stores the value of a line that holds key `k` into its field of the card
// at `record`; `rest` is the line behind the card index.
KV_HOT_INLINE void store_card_value(char* record, const CardKey& k, const KvRest& rest) {
    // The values of these keys begin well inside the first 287 units of the
    // rest, so the grammar's cut of a longer rest changes none of them.
    const char16_t* value = rest.text + k.len;
    char* field = record + k.offset;
    if (value[0] == 0) return;  // an empty value leaves the field unchanged
    if (k.kind == CardKeyKind::Text)
        kv_set_text(reinterpret_cast<char16_t*>(field), k.cap, value, rest.end);
    else
        store_card_number(field, k, kv_number(value, rest));
}

KV_HOT_INLINE bool CardKeyExpectation::apply(const char16_t* line, int len) {
    if (card_ < 0) return false;
    const CardKey& k = keys_[key_];
    if (len < prefix_len_ + k.len || !kv_same_units(line, prefix_, prefix_len_) ||
        !kv_same_units(line + prefix_len_, k.text, k.len))
        return false;
    store_card_value(record_, k, KvRest{line + prefix_len_, line + len});
    if (++key_ == count_) expect_card(card_ + 1);
    return true;
}

#include "files/kv_grammar.h"

#include "model/text.h"

const char16_t* kv_match(const char16_t* s, const char16_t* fragment) {
    while (*fragment != 0) {
        if (*s != *fragment) return nullptr;
        ++s;
        ++fragment;
    }
    return s;
}

int kv_index(const char16_t* s, int capacity, const char16_t** after) {
    int len = 0;
    while (s[len] != 0 && s[len] != u']') ++len;
    *after = s[len] == u']' ? s + len + 1 : s + len;
    if (len == 0) return 0;
    int32_t value = text_to_int(s, len < KV_NUMBER_UNITS ? len : KV_NUMBER_UNITS);
    if (value < 0 || value >= capacity) return 0;
    return value;
}

int kv_record(const char16_t* line, const char16_t* prefix, int capacity,
              char16_t (&rest)[KV_REST_CAP]) {
    const char16_t* p = kv_match(line, prefix);
    if (p == nullptr) return -1;
    const char16_t* after = nullptr;
    int index = kv_index(p, capacity, &after);
    text_copy(rest, KV_REST_CAP, after);
    return index;
}

void kv_set_number(int32_t& field, const char16_t* value) {
    if (value[0] == 0) return;
    field = text_to_int(value, KV_NUMBER_UNITS);
}

void kv_set_byte(uint8_t& field, const char16_t* value) {
    if (value[0] == 0) return;
    field = static_cast<uint8_t>(static_cast<uint32_t>(text_to_int(value, KV_NUMBER_UNITS)) & 0xFF);
}

void kv_set_text(char16_t* field, int cap, const char16_t* value) {
    if (value[0] == 0) return;
    text_copy(field, cap, value);
}

#include "files/kv_grammar.h"

#include <cstring>

#include "model/text.h"

int32_t kv_number_slow(const char16_t* value) { return text_to_int(value, KV_NUMBER_UNITS); }

int kv_index_slow(const char16_t* s, int capacity, const char16_t** after) {
    int len = 0;
    while (s[len] != 0 && s[len] != u']') ++len;
    *after = s[len] == u']' ? s + len + 1 : s + len;
    if (len == 0) return 0;
    int32_t value = text_to_int(s, len < KV_NUMBER_UNITS ? len : KV_NUMBER_UNITS);
    if (value < 0 || value >= capacity) return 0;
    return value;
}

void kv_cut_rest(const char16_t* after, char16_t (&buffer)[KV_REST_CAP]) {
    for (int n = 0; n < KV_REST_CAP - 1; ++n) buffer[n] = after[n];
    buffer[KV_REST_CAP - 1] = 0;
}

void kv_set_text(char16_t* field, int cap, const char16_t* value) {
    if (value[0] == 0) return;
    int n = 0;
    while (n < cap - 1 && value[n] != 0) {
        field[n] = value[n];
        ++n;
    }
    if (n == cap - 1 && n > 0 && is_high_surrogate(field[n - 1])) --n;  // cut at a character
    while (n < cap) field[n++] = 0;
}

void kv_set_text(char16_t* field, int cap, const char16_t* value, const char16_t* end) {
    if (value[0] == 0) return;
    size_t n = static_cast<size_t>(end - value);
    if (n >= static_cast<size_t>(cap - 1)) {
        n = static_cast<size_t>(cap - 1);
        if (n > 0 && is_high_surrogate(value[n - 1])) --n;  // cut at a character
    }
    std::memcpy(field, value, n * sizeof(char16_t));
    std::memset(field + n, 0, (static_cast<size_t>(cap) - n) * sizeof(char16_t));
}

#include "files/kv_grammar.h"

#include "model/text.h"

namespace {

bool is_digit(char16_t u) { return static_cast<unsigned>(u) - u'0' < 10u; }

// Up to nine plain digits at `s` ending before a unit that is no digit:
// their value, with *count set; otherwise *count is 0. Nine digits never
// overflow, and a tenth digit sends the caller to the general conversion.
uint32_t plain_digits(const char16_t* s, int* count) {
    uint32_t value = 0;
    int n = 0;
    while (n < 9 && is_digit(s[n])) {
        value = value * 10 + static_cast<uint32_t>(s[n] - u'0');
        ++n;
    }
    *count = is_digit(s[n]) ? 0 : n;
    return value;
}

}  // namespace

const char16_t* kv_match(const char16_t* s, const char16_t* fragment) {
    while (*fragment != 0) {
        if (*s != *fragment) return nullptr;
        ++s;
        ++fragment;
    }
    return s;
}

int32_t kv_number(const char16_t* value) {
    const char16_t* digits = value[0] == u'-' ? value + 1 : value;
    int count = 0;
    uint32_t magnitude = plain_digits(digits, &count);
    if (count == 0) return text_to_int(value, KV_NUMBER_UNITS);
    int32_t number = static_cast<int32_t>(magnitude);
    return digits == value ? number : -number;
}

int kv_index(const char16_t* s, int capacity, const char16_t** after) {
    int count = 0;
    uint32_t quick = plain_digits(s, &count);
    if (count > 0 && s[count] == u']') {
        *after = s + count + 1;
        return quick < static_cast<uint32_t>(capacity) ? static_cast<int>(quick) : 0;
    }
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
    // Only the text up to the NUL is ever looked at, so the buffer need not
    // be cleared beyond it.
    int n = 0;
    while (n < KV_REST_CAP - 1 && after[n] != 0) {
        rest[n] = after[n];
        ++n;
    }
    rest[n] = 0;
    return index;
}

int kv_split_record(const char16_t* line, int len, const char16_t* prefix, int capacity,
                    char16_t (&buffer)[KV_REST_CAP], const char16_t** rest) {
    const char16_t* p = kv_match(line, prefix);
    if (p == nullptr) return -1;
    const char16_t* after = nullptr;
    int index = kv_index(p, capacity, &after);
    const int rest_len = len - static_cast<int>(after - line);
    if (rest_len < KV_REST_CAP) {
        *rest = after;
        return index;
    }
    for (int n = 0; n < KV_REST_CAP - 1; ++n) buffer[n] = after[n];
    buffer[KV_REST_CAP - 1] = 0;
    *rest = buffer;
    return index;
}

void kv_set_number(int32_t& field, const char16_t* value) {
    if (value[0] == 0) return;
    field = kv_number(value);
}

void kv_set_byte(uint8_t& field, const char16_t* value) {
    if (value[0] == 0) return;
    field = static_cast<uint8_t>(static_cast<uint32_t>(kv_number(value)) & 0xFF);
}

void kv_set_text(char16_t* field, int cap, const char16_t* value) {
    if (value[0] == 0) return;
    text_copy(field, cap, value);
}

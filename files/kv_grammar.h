// The key grammar shared by the line handlers of the data files: prefix
// tests, bracketed indices, and the rules for number, byte and text values.
// The small tests are inline: the readers run them on every line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

// The number conversions sit on the path of nearly every line.
#if defined(__GNUC__)
#define KV_HOT_INLINE inline __attribute__((always_inline))
#else
#define KV_HOT_INLINE inline
#endif

// The handlers consider at most this many units of a line after its record
// index (a buffer of 288 units).
constexpr int KV_REST_CAP = 288;
// Number values are converted from at most this many units.
constexpr int KV_NUMBER_UNITS = 31;

// If `s` starts with `fragment`, the text behind it; otherwise nullptr.
inline const char16_t* kv_match(const char16_t* s, const char16_t* fragment) {
    while (*fragment != 0) {
        if (*s != *fragment) return nullptr;
        ++s;
        ++fragment;
    }
    return s;
}

// kv_match for a fragment written as a literal: the same test, with its
// number of units known when compiling, so that the test is unrolled.
template <size_t... I>
inline bool kv_same_prefix(const char16_t* s, const char16_t* fragment, std::index_sequence<I...>) {
    return ((s[I] == fragment[I]) && ...);
}

template <size_t N>
inline const char16_t* kv_match_literal(const char16_t* s, const char16_t (&fragment)[N]) {
    return kv_same_prefix(s, fragment, std::make_index_sequence<N - 1>()) ? s + (N - 1) : nullptr;
}

// True when the n units at `s` equal those of `key`, for 4 <= n <= 24; all
// n units of both must be readable. Compares in 64-bit words, so that keys
// of different lengths cost the same few steps.
inline uint64_t kv_load4(const char16_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline uint64_t kv_diff8(const char16_t* a, const char16_t* b) {
    return (kv_load4(a) ^ kv_load4(b)) | (kv_load4(a + 4) ^ kv_load4(b + 4));
}
inline bool kv_same_units(const char16_t* s, const char16_t* key, int n) {
    if (n < 8) return ((kv_load4(s) ^ kv_load4(key)) | (kv_load4(s + n - 4) ^ kv_load4(key + n - 4))) == 0;
    uint64_t diff = kv_diff8(s, key) | kv_diff8(s + n - 8, key + n - 8);
    if (n > 16) diff |= kv_diff8(s + 8, key + 8);
    return diff == 0;
}

// A number value converted like _wtoi from at most KV_NUMBER_UNITS units
// (text_to_int, which saturates at the limits of 32 bits), with a quick
// path for "-" and up to ten digits followed by anything but a digit.
int32_t kv_number_slow(const char16_t* value);

inline bool kv_is_digit(char16_t u) { return static_cast<unsigned>(u) - u'0' < 10u; }

inline int32_t kv_number(const char16_t* value) {
    const bool negative = value[0] == u'-';
    const char16_t* digits = negative ? value + 1 : value;
    uint64_t magnitude = 0;
    int n = 0;
    while (n < 10 && kv_is_digit(digits[n])) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(digits[n] - u'0');
        ++n;
    }
    if (n == 0 || kv_is_digit(digits[n])) return kv_number_slow(value);
    if (negative) return magnitude >= 2147483648ULL ? INT32_MIN : -static_cast<int32_t>(magnitude);
    return magnitude > 2147483647ULL ? INT32_MAX : static_cast<int32_t>(magnitude);
}

// Up to nine plain digits at `s` followed by a unit that is no digit: their
// value, with *count set; otherwise *count is 0.
inline uint32_t kv_plain_digits(const char16_t* s, int* count) {
    uint32_t value = 0;
    int n = 0;
    while (n < 9 && kv_is_digit(s[n])) {
        value = value * 10 + static_cast<uint32_t>(s[n] - u'0');
        ++n;
    }
    *count = kv_is_digit(s[n]) ? 0 : n;
    return value;
}

// Reads a bracketed index. `s` points just behind the "["; the index is the
// text up to the next "]" (or the end), converted like _wtoi. An empty text,
// a negative number or one not below `capacity` gives 0. `*after` receives
// the text behind the "]" (the end of `s` when there is none).
int kv_index_slow(const char16_t* s, int capacity, const char16_t** after);

inline int kv_index(const char16_t* s, int capacity, const char16_t** after) {
    int count = 0;
    uint32_t quick = kv_plain_digits(s, &count);
    if (count == 0 || s[count] != u']') return kv_index_slow(s, capacity, after);
    *after = s + count + 1;
    return quick < static_cast<uint32_t>(capacity) ? static_cast<int>(quick) : 0;
}

// The rest of a record line: its text, ended by a NUL at `end`.
struct KvRest {
    const char16_t* text;
    const char16_t* end;
};

// The same for a line whose length (units before its NUL) is known, without
// copying: the rest stays in the line when it has at most KV_REST_CAP - 1
// units, and is otherwise cut into `buffer`.
void kv_cut_rest(const char16_t* after, char16_t (&buffer)[KV_REST_CAP]);

constexpr int KV_PREFIX_UNITS = 6;

inline int kv_split_record(const char16_t* line, int len, const char16_t (&prefix)[KV_PREFIX_UNITS + 1],
                           int capacity, char16_t (&buffer)[KV_REST_CAP], KvRest* rest) {
    const char16_t* p = kv_match_literal(line, prefix);
    if (p == nullptr) return -1;
    const char16_t* after = nullptr;
    int index = kv_index(p, capacity, &after);
    if (len - static_cast<int>(after - line) < KV_REST_CAP) {
        *rest = KvRest{after, line + len};
    } else {
        kv_cut_rest(after, buffer);
        *rest = KvRest{buffer, buffer + KV_REST_CAP - 1};
    }
    return index;
}

// A value of "-" or nothing and one to ten digits that runs exactly from
// `value` to `end`: true, with *number set to what kv_number gives for it;
// false for any other value. The four units before `end` must be readable
// (they may lie before `value`). Up to four digits (positions, font fields,
// colours) are checked and combined at once.
KV_HOT_INLINE bool kv_plain_number(const char16_t* value, const char16_t* end, int32_t* number) {
    const bool negative = value[0] == u'-';
    const char16_t* digits = negative ? value + 1 : value;
    const std::ptrdiff_t count = end - digits;
    if (count >= 1 && count <= 4) {
        // The lanes of the digits, the last `count` of the four.
        static constexpr uint64_t kDigitLanes[5] = {0, 0xFFFF000000000000ULL, 0xFFFFFFFF00000000ULL,
                                                    0xFFFFFFFFFFFF0000ULL, ~uint64_t{0}};
        const uint64_t lanes = (kv_load4(end - 4) ^ 0x0030003000300030ULL) & kDigitLanes[count];
        // A lane above 9 sets its top bit, alone or with the addition (a
        // carry into the next lane comes only from such a lane).
        if (((lanes + 0x7FF67FF67FF67FF6ULL) | lanes) & 0x8000800080008000ULL) return false;
        const uint64_t pairs = lanes * 10 + (lanes >> 16);
        const int32_t magnitude = static_cast<int32_t>((pairs & 0xFFFF) * 100 + ((pairs >> 32) & 0xFFFF));
        *number = negative ? -magnitude : magnitude;
        return true;
    }
    if (count < 5 || count > 10) return false;
    uint64_t magnitude = 0;
    for (; digits != end; ++digits) {
        if (!kv_is_digit(*digits)) return false;
        magnitude = magnitude * 10 + static_cast<uint64_t>(*digits - u'0');
    }
    if (negative) *number = magnitude >= 2147483648ULL ? INT32_MIN : -static_cast<int32_t>(magnitude);
    else *number = magnitude > 2147483647ULL ? INT32_MAX : static_cast<int32_t>(magnitude);
    return true;
}

// A number value inside `rest`, the quick way when it is plain and runs to
// the end of the rest.
KV_HOT_INLINE int32_t kv_number(const char16_t* value, const KvRest& rest) {
    int32_t number = 0;
    if (rest.end - rest.text >= 4 && kv_plain_number(value, rest.end, &number)) return number;
    return kv_number(value);
}

// Value rules: an empty value leaves the field unchanged.
inline void kv_set_number(int32_t& field, const char16_t* value) {
    if (value[0] != 0) field = kv_number(value);
}

KV_HOT_INLINE void kv_set_number(int32_t& field, const char16_t* value, const KvRest& rest) {
    if (value[0] != 0) field = kv_number(value, rest);
}

// Byte fields keep the low eight bits.
inline void kv_set_byte(uint8_t& field, const char16_t* value) {
    if (value[0] != 0) field = static_cast<uint8_t>(static_cast<uint32_t>(kv_number(value)) & 0xFF);
}
KV_HOT_INLINE void kv_set_byte(uint8_t& field, const char16_t* value, const KvRest& rest) {
    if (value[0] != 0) field = static_cast<uint8_t>(static_cast<uint32_t>(kv_number(value, rest)) & 0xFF);
}

// Clears the whole field, then copies at most cap - 1 units of the value; a
// value cut there ends at a character boundary (half a surrogate pair is
// left out), as text_copy cuts.
void kv_set_text(char16_t* field, int cap, const char16_t* value);
// The same for a value whose end (its NUL) is known.
void kv_set_text(char16_t* field, int cap, const char16_t* value, const char16_t* end);

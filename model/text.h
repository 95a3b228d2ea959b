// Bounded UTF-16 text helpers for the fixed-capacity fields of the document
// and for the messages and file lines the program builds.
#pragma once

#include <cstddef>
#include <cstdint>

// Units before the terminating NUL.
int text_length(const char16_t* s);
// Length, but never more than max_units.
int text_length_bounded(const char16_t* s, int max_units);

bool text_equal(const char16_t* a, const char16_t* b);
bool text_starts_with(const char16_t* s, const char16_t* prefix);

// Clears the whole field (cap units).
void text_clear(char16_t* field, int cap);

// Clears the whole field, then copies at most min(cap - 1, max_units) units of
// src; the stored text always ends with a NUL inside the field. A text cut at
// that limit ends at a character boundary: half a surrogate pair is left out.
void text_copy(char16_t* field, int cap, const char16_t* src, int max_units = 0x7fffffff);

// The first unit of a surrogate pair (U+D800 to U+DBFF).
bool is_high_surrogate(char16_t u);

template <int N>
inline void text_set(char16_t (&field)[N], const char16_t* src) {
    text_copy(field, N, src);
}

// Converts like _wtoi on at most max_units units of s: leading white space,
// optional sign, decimal digits up to the first other unit; no digits give 0.
// Values outside the 32-bit range saturate at INT32_MIN / INT32_MAX.
int32_t text_to_int(const char16_t* s, int max_units);

// Case-insensitive comparison of ASCII letters (as _wcsicmp for the file
// extensions the program compares); other units compare as they are.
bool text_equal_ignore_case(const char16_t* a, const char16_t* b);

// A bounded text being built in a caller's buffer. Appends stop silently at
// the capacity (add() never at half a surrogate pair); the text stays
// NUL-terminated.
struct TextBuilder {
    char16_t* buf;
    int cap;
    int len;

    TextBuilder(char16_t* buffer, int capacity);
    TextBuilder& add(const char16_t* s);
    TextBuilder& add_unit(char16_t u);
    TextBuilder& add_int(int32_t value);  // as "%d"
};

// Builds `pattern` into `out` with its first "%s" replaced by `arg`.
void format_with_text(char16_t* out, int cap, const char16_t* pattern, const char16_t* arg);

#include "model/text.h"

int text_length(const char16_t* s) {
    int n = 0;
    while (s[n] != 0) ++n;
    return n;
}

int text_length_bounded(const char16_t* s, int max_units) {
    int n = 0;
    while (n < max_units && s[n] != 0) ++n;
    return n;
}

bool text_equal(const char16_t* a, const char16_t* b) {
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

bool text_starts_with(const char16_t* s, const char16_t* prefix) {
    while (*prefix != 0) {
        if (*s != *prefix) return false;
        ++s;
        ++prefix;
    }
    return true;
}

void text_clear(char16_t* field, int cap) {
    for (int i = 0; i < cap; ++i) field[i] = 0;
}

bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }

void text_copy(char16_t* field, int cap, const char16_t* src, int max_units) {
    text_clear(field, cap);
    int limit = cap - 1;
    if (max_units < limit) limit = max_units;
    int i = 0;
    for (; i < limit && src[i] != 0; ++i) field[i] = src[i];
    // A text cut at the limit ends at a character boundary.
    if (i == limit && i > 0 && is_high_surrogate(field[i - 1])) field[i - 1] = 0;
}

namespace {
bool is_space(char16_t u) { return u == u' ' || (u >= u'\t' && u <= u'\r'); }
}  // namespace

int32_t text_to_int(const char16_t* s, int max_units) {
    int i = 0;
    while (i < max_units && s[i] != 0 && is_space(s[i])) ++i;
    bool negative = false;
    if (i < max_units && (s[i] == u'-' || s[i] == u'+')) {
        negative = s[i] == u'-';
        ++i;
    }
    int64_t value = 0;
    bool saturated = false;
    while (i < max_units && s[i] >= u'0' && s[i] <= u'9') {
        if (!saturated) {
            value = value * 10 + (s[i] - u'0');
            if (value > 2147483648LL) saturated = true;
        }
        ++i;
    }
    if (negative) {
        value = -value;
        if (saturated || value < INT32_MIN) return INT32_MIN;
        return static_cast<int32_t>(value);
    }
    if (saturated || value > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(value);
}

namespace {
char16_t fold(char16_t u) { return (u >= u'A' && u <= u'Z') ? static_cast<char16_t>(u + 32) : u; }
}  // namespace

bool text_equal_ignore_case(const char16_t* a, const char16_t* b) {
    while (*a != 0 && fold(*a) == fold(*b)) {
        ++a;
        ++b;
    }
    return fold(*a) == fold(*b);
}

TextBuilder::TextBuilder(char16_t* buffer, int capacity) : buf(buffer), cap(capacity), len(0) {
    if (cap > 0) buf[0] = 0;
}

TextBuilder& TextBuilder::add_unit(char16_t u) {
    if (len + 1 < cap) {
        buf[len++] = u;
        buf[len] = 0;
    }
    return *this;
}

TextBuilder& TextBuilder::add(const char16_t* s) {
    // A surrogate pair goes in whole or not at all.
    while (*s != 0 && len + 1 < cap && !(is_high_surrogate(*s) && len + 2 >= cap)) buf[len++] = *s++;
    if (cap > 0) buf[len] = 0;
    return *this;
}

TextBuilder& TextBuilder::add_int(int32_t value) {
    char16_t digits[12];
    int n = 0;
    int64_t v = value;
    bool negative = v < 0;
    if (negative) v = -v;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (negative) add_unit(u'-');
    while (n > 0) add_unit(digits[--n]);
    return *this;
}

void format_with_text(char16_t* out, int cap, const char16_t* pattern, const char16_t* arg) {
    TextBuilder b(out, cap);
    bool replaced = false;
    for (const char16_t* p = pattern; *p != 0; ++p) {
        if (!replaced && p[0] == u'%' && p[1] == u's') {
            b.add(arg);
            replaced = true;
            ++p;
        } else {
            b.add_unit(*p);
        }
    }
}

#include "print/decimal_text.h"

#include <cstdlib>

namespace {

bool is_space(char16_t u) { return u == u' ' || (u >= u'\t' && u <= u'\r'); }
bool is_digit(char16_t u) { return u >= u'0' && u <= u'9'; }

// Room for the number handed to strtod; digits beyond it change nothing
// that a 31-unit field can hold.
constexpr int kNumberCap = 96;

}  // namespace

double text_to_double(const char16_t* s, int max_units) {
    // Copy the longest prefix that forms a decimal number into plain ASCII
    // and let strtod round it; nothing else (hex, inf, nan) is accepted.
    char number[kNumberCap];
    int n = 0;
    auto take = [&](char16_t u) {
        if (n < kNumberCap - 1) number[n++] = static_cast<char>(u);
    };
    int i = 0;
    auto at = [&](int k) -> char16_t { return k < max_units ? s[k] : u'\0'; };

    while (at(i) != 0 && is_space(at(i))) ++i;
    if (at(i) == u'+' || at(i) == u'-') take(at(i++));
    int digits = 0;
    while (is_digit(at(i))) take(at(i++)), ++digits;
    if (at(i) == u'.') {
        take(at(i++));
        while (is_digit(at(i))) take(at(i++)), ++digits;
    }
    if (digits == 0) return 0.0;
    if (at(i) == u'e' || at(i) == u'E') {
        int k = i + 1;
        if (at(k) == u'+' || at(k) == u'-') ++k;
        if (is_digit(at(k))) {
            while (i < k) take(at(i++));
            while (is_digit(at(i))) take(at(i++));
        }
    }
    number[n] = '\0';
    return std::strtod(number, nullptr);
}

int32_t text_to_tenths(const char16_t* s, int max_units) {
    double v = text_to_double(s, max_units) * 10.0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);  // truncates toward zero
}

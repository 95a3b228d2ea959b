// Reads a decimal number from a text as the C runtime's _wtof does: leading
// white space skipped, an optional sign, digits with an optional decimal
// point and exponent; reading stops at the first unit that does not fit, and
// a text without a number gives 0.
#pragma once

#include <cstdint>

double text_to_double(const char16_t* s, int max_units);

// The number of a text times ten, truncated toward zero, limited to the
// 32-bit range: "148.5" gives 1485, "12.34" gives 123, "-0.5" gives -5.
int32_t text_to_tenths(const char16_t* s, int max_units);

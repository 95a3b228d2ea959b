// Builds the printing messages ("%sを%sからはがきサイズにしました",
// "%s %s %d×%dで印刷していいですか？", ...) in a caller's bounded buffer. The
// arguments replace the pattern's "%s" and "%d" in order; the texts of the
// arguments are inserted as they are, never read as patterns themselves.
#pragma once

#include <cstdint>
#include <initializer_list>

struct FormatArg {
    FormatArg(const char16_t* t) : text(t), number(0) {}  // NOLINT: implicit on purpose
    FormatArg(int32_t n) : text(nullptr), number(n) {}    // NOLINT: implicit on purpose
    const char16_t* text;
    int32_t number;
};

// Always NUL-terminates inside `cap` units; the output stops at the
// capacity. A placeholder without an argument left stays as it is.
void format_message(char16_t* out, int cap, const char16_t* pattern,
                    std::initializer_list<FormatArg> args);

// A length stored in tenths as the dialogs show it with one decimal: 25 is
// "2.5", -25 is "-2.5", -5 is "-0.5", 1485 is "148.5".
void format_tenths(char16_t* out, int cap, int32_t tenths);

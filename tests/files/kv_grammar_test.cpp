#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "files/kv_grammar.h"

namespace {

const char16_t* const kValues[] = {
    u"0",          u"7",          u"-0",         u"-7",          u"42",          u"255",        u"300",
    u"-900",       u"9999",       u"-9999",      u"10000",       u"-10000",      u"0007",       u"00000",
    u"65535",      u"2147483647", u"2147483648", u"-2147483648", u"-2147483649", u"9999999999", u"-9999999999",
    u"4294967296", u"12345678901", u"-",         u"--1",         u"+5",          u" 7",         u"7 ",
    u"12x",        u"x12",        u"1-",         u"\u0660",      u"/",           u":",          u"1.5",
};

// A value as a line handler sees it: behind a key, ended by its NUL.
std::u16string line_of(const std::u16string& value) { return u"hdata[3].tt.x1=" + value; }

// A text value cut to its field ends at a character boundary.
TEST(KvGrammarTest, TextValuesAreCutAtACharacter) {
    char16_t field[4];
    const char16_t* value = u"yz𠮷";
    kv_set_text(field, 4, value);
    EXPECT_EQ(std::u16string(field), u"yz");
    kv_set_text(field, 4, value, value + 4);
    EXPECT_EQ(std::u16string(field), u"yz");
}

// The plain forms are read as the handlers read every value.
TEST(KvGrammarTest, PlainNumbersAreThoseOfKvNumber) {
    for (const char16_t* v : kValues) {
        const std::u16string line = line_of(v);
        const char16_t* value = line.c_str() + 15;
        const char16_t* end = line.c_str() + line.size();
        int32_t number = 12345;
        const bool plain = kv_plain_number(value, end, &number);
        const std::u16string text(v);
        bool digits_only = true;
        for (size_t i = text[0] == u'-' ? 1 : 0; i < text.size(); ++i)
            digits_only = digits_only && text[i] >= u'0' && text[i] <= u'9';
        const size_t digits = text.size() - (text[0] == u'-' ? 1 : 0);
        EXPECT_EQ(plain, digits_only && digits >= 1 && digits <= 10) << line.size();
        if (plain) {
            EXPECT_EQ(number, kv_number(value)) << line.size();
        }
        EXPECT_EQ(kv_number(value, KvRest{line.c_str() + 8, end}), kv_number(value)) << line.size();
    }
}

}  // namespace

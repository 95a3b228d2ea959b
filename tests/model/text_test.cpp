#include <gtest/gtest.h>

#include <climits>

#include "model/text.h"

TEST(TextTest, ConvertsNumbersLikeWtoi) {
    EXPECT_EQ(text_to_int(u"  -42xyz", 31), -42);
    EXPECT_EQ(text_to_int(u"+7", 31), 7);
    EXPECT_EQ(text_to_int(u"x1", 31), 0);
    EXPECT_EQ(text_to_int(u"", 31), 0);
    EXPECT_EQ(text_to_int(u"3x", 31), 3);
    EXPECT_EQ(text_to_int(u"2147483647", 31), INT32_MAX);
    EXPECT_EQ(text_to_int(u"-2147483648", 31), INT32_MIN);
    EXPECT_EQ(text_to_int(u"99999999999", 31), INT32_MAX);
    EXPECT_EQ(text_to_int(u"-1234567890123456789012345678901234567890", 40), INT32_MIN);
    // Only the first units given are looked at.
    EXPECT_EQ(text_to_int(u"12345", 3), 123);
}

TEST(TextTest, CopyIsBoundedAndClearsTheWholeField) {
    char16_t field[4] = {u'x', u'x', u'x', u'x'};
    text_copy(field, 4, u"abcdef");
    EXPECT_TRUE(text_equal(field, u"abc"));
    EXPECT_EQ(field[3], 0);
    text_copy(field, 4, u"z");
    EXPECT_EQ(field[1], 0);
    EXPECT_EQ(field[2], 0);
    // A cut never splits a surrogate pair, in a stored text and in a message.
    text_copy(field, 4, u"ab𠮷");
    EXPECT_TRUE(text_equal(field, u"ab"));
    text_copy(field, 4, u"a𠮷b", 2);
    EXPECT_TRUE(text_equal(field, u"a"));
    TextBuilder(field, 4).add(u"c").add(u"𠮷𠮷");
    EXPECT_TRUE(text_equal(field, u"c𠮷"));
    TextBuilder(field, 4).add(u"cd").add(u"𠮷");
    EXPECT_TRUE(text_equal(field, u"cd"));
}

TEST(TextTest, BuilderFormatsAndStopsAtCapacity) {
    char16_t buf[8];
    TextBuilder b(buf, 8);
    b.add(u"a=").add_int(-2147483647 - 1);
    EXPECT_TRUE(text_equal(buf, u"a=-2147"));
    char16_t msg[64];
    format_with_text(msg, 64, u"既に%sのファイルが存在しています。", u"x.txt");
    EXPECT_TRUE(text_equal(msg, u"既にx.txtのファイルが存在しています。"));
}

TEST(TextTest, IgnoresCaseOfAsciiLetters) {
    EXPECT_TRUE(text_equal_ignore_case(u".TXT", u".txt"));
    EXPECT_FALSE(text_equal_ignore_case(u".csv", u".txt"));
}

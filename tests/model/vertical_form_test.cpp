#include "model/vertical_form.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string converted(const std::u16string& text, int cap = 64) {
    char16_t out[80];
    out[cap] = u'#';  // must stay untouched
    int n = vertical_form(out, cap, text.c_str());
    EXPECT_EQ(out[cap], u'#');
    EXPECT_EQ(n, int(std::u16string(out).size()));
    return out;
}

TEST(VerticalFormTest, TableOfConversions) {
    struct Case {
        std::u16string text, want;
        int cap;
    };
    const Case cases[] = {
        // Digits one by one, hyphens between digits as the one separator.
        {u"梅田1-2-3 ABCビル101", u"梅田一ー二ー三　ＡＢＣビル一〇一", 64},
        {u"１２３４５６７８９０", u"一二三四五六七八九〇", 64},
        {u"1‐2‑3‒4–5—6―7−8－9ｰ0ー1", u"一ー二ー三ー四ー五ー六ー七ー八ー九ー〇ー一", 64},
        {u"一-二、3丁目", u"一ー二、三丁目", 64},
        // Hyphens not between two digits stay hyphens (half-width ones
        // become full-width); so do a dash after a letter, a doubled one, a
        // long vowel mark in a word.
        {u"-1 A-1 1- 1--2 コーポ―1", u"－一　Ａ－一　一－　一－－二　コーポ―一", 64},
        // Latin letters and symbols full-width; other text kept.
        {u"Ａ棟#5 a~z!\\", u"Ａ棟＃五　ａ～ｚ！＼", 64},
        {u"東京都　港区", u"東京都　港区", 64},
        // Half-width katakana, voiced and semi-voiced marks joined where the
        // joined kana exists, else kept as marks of their own.
        {u"ﾊﾟｰｸﾋﾞﾙ ｳﾞｨﾗ ｯﾞ ｱﾟ ﾞ｡｢｣､･ｦﾜﾝ", u"パークビル　ヴィラ　ッ゛　ア゜　゛。「」、・ヲワン", 64},
        {u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾋﾟﾌﾟﾍﾟﾎﾟ",
         u"ガギグゲゴザジズゼゾダヂヅデドバビブベボピプペポ", 64},
        // Surrogate pairs go whole; a lone surrogate is kept as it stands.
        {u"𠮷野家1", u"𠮷野家一", 64},
        {u"\xD842x1", u"\xD842ｘ一", 64},
        // Capacity: cut to cap - 1 units, never inside a pair.
        {u"123456", u"一二三", 4},
        {u"12𠮷", u"一二", 4},
        {u"1𠮷", u"一𠮷", 4},
        {u"ﾊﾟﾊﾟﾊﾟ", u"パパパ", 4},
        {u"", u"", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(converted(c.text, c.cap), c.want) << std::string(c.text.begin(), c.text.end());

    // The vertical form is its own vertical form.
    EXPECT_EQ(converted(u"梅田一ー二ー三　ＡＢＣビル一〇一"), u"梅田一ー二ー三　ＡＢＣビル一〇一");
    char16_t none[1] = {u'#'};
    EXPECT_EQ(vertical_form(none, 0, u"1"), 0);
    EXPECT_EQ(none[0], u'#');
}

}  // namespace

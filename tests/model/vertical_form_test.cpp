#include "model/vertical_form.h"

#include <gtest/gtest.h>

#include <string>

TEST(VerticalFormTest, TableOfConversions) {
    const struct {
        std::u16string text, want;
        int cap;
    } cases[] = {
        // Digits one by one, hyphens between digits as the one separator,
        // letters, symbols and spaces full-width, the rest kept.
        {u"梅田1-2-3 ABCビル101", u"梅田一ー二ー三　ＡＢＣビル一〇一", 64},
        {u"１２３４５６７８９０", u"一二三四五六七八九〇", 64},
        {u"1‐2‑3‒4–5—6―7−8－9ｰ0ー1", u"一ー二ー三ー四ー五ー六ー七ー八ー九ー〇ー一", 64},
        {u"一-二、3丁目 Ａ棟#5 a~z!\\", u"一ー二、三丁目　Ａ棟＃五　ａ～ｚ！＼", 64},
        // Hyphens not between two digits stay (half-width ones full-width).
        {u"-1 A-1 1- 1--2 コーポ―1", u"－一　Ａ－一　一－　一－－二　コーポ―一", 64},
        // Half-width kana with their marks joined where the joined kana exists.
        {u"ﾊﾟｰｸﾋﾞﾙ ｳﾞｨﾗ ｯﾞ ｱﾟ ﾞ｡｢｣､･ｦﾜﾝ", u"パークビル　ヴィラ　ッ゛　ア゜　゛。「」、・ヲワン", 64},
        {u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾋﾟﾌﾟﾍﾟﾎﾟ",
         u"ガギグゲゴザジズゼゾダヂヅデドバビブベボピプペポ", 64},
        // Surrogate pairs whole, a lone surrogate kept; cut to cap - 1 units
        // and never inside a pair.
        {u"𠮷野家1\xD842x", u"𠮷野家一\xD842ｘ", 64},
        {u"123456", u"一二三", 4},
        {u"12𠮷", u"一二", 4},
        {u"1𠮷", u"一𠮷", 4},
        {u"ﾊﾟﾊﾟﾊﾟ", u"パパパ", 4},
        {u"梅田一ー二ー三　ＡＢＣビル一〇一", u"梅田一ー二ー三　ＡＢＣビル一〇一", 64},  // already in form
    };
    for (const auto& c : cases) {
        char16_t out[65];
        out[c.cap] = u'#';
        EXPECT_EQ(vertical_form(out, c.cap, c.text.c_str()), int(c.want.size()));
        EXPECT_EQ(std::u16string(out), c.want);
        EXPECT_EQ(out[c.cap], u'#');  // nothing past the capacity
    }
    char16_t none[1] = {u'#'};
    EXPECT_EQ(vertical_form(none, 0, u"1"), 0);
    EXPECT_EQ(none[0], u'#');
}

#include "model/kana_fold.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/addressee_search.h"
#include "model/duplicate_addressee.h"

namespace {

int compare(const char16_t* a, const char16_t* b) {
    ReadingKey ka;
    ReadingKey kb;
    make_reading_key(ka, a);
    make_reading_key(kb, b);
    return compare_reading_keys(ka, kb);
}

TEST(KanaFoldTest, ReadingsCollateAiueoWithVoicedSmallAndLongVowelRules) {
    // Each reading comes strictly before the next one.
    const std::vector<std::u16string> ordered = {
        u"あ",        u"いとう",   u"いどう",   u"がか",   u"かき",    // plain kana first, voicing only breaks ties
        u"きやま",    u"きゃま",   u"ぎやま",   u"さとう", u"ｻﾄｳ ﾊﾅｺ", // small after plain; half-width widened
        u"はは",      u"ばは",     u"ぱは",     u"やまだ　たろう", u"やまだい", // the space parts family from given
        u"わ",        u"ん"};
    for (size_t i = 0; i + 1 < ordered.size(); ++i)
        EXPECT_LT(compare(ordered[i].c_str(), ordered[i + 1].c_str()), 0) << i;
    // Hiragana, katakana, widths and ー fold together.
    EXPECT_EQ(compare(u"サトウ", u"さとう"), 0);
    EXPECT_EQ(compare(u"ｻﾄｳ", u"さとう"), 0);
    EXPECT_EQ(compare(u"ガッコウ", u"ｶﾞｯｺｳ"), 0);
    EXPECT_EQ(compare(u"ローラ", u"ろら"), 0);
    EXPECT_EQ(compare(u"  やまだ ", u"やまだ"), 0);

    EXPECT_EQ(reading_kana_row(u"アンドウ"), 0);
    EXPECT_EQ(reading_kana_row(u"ｶﾞｸ"), 1);
    EXPECT_EQ(reading_kana_row(u"ぱく"), 5);
    EXPECT_EQ(reading_kana_row(u"ゆうき"), 7);
    EXPECT_EQ(reading_kana_row(u"を"), 9);
    EXPECT_EQ(reading_kana_row(u"smith"), -1);
    EXPECT_EQ(reading_kana_row(u""), -1);

    char16_t folded[64];
    fold_for_search(folded, 64, u"ヤマダ　ﾀﾛｳ ＡＢＣ１");
    EXPECT_EQ(std::u16string(folded), u"やまだたろうabc1");
}

TEST(KanaFoldTest, SearchFindsNameReadingAddressAndPostalDigits) {
    CardRecord card{};
    std::u16string name = u"山田　太郎";
    std::copy(name.begin(), name.end(), card.tn.m[0].s);
    std::u16string yomi = u"ヤマダ タロウ";
    std::copy(yomi.begin(), yomi.end(), card.yomi);
    std::u16string line = u"東京都港区芝公園４－２";
    std::copy(line.begin(), line.end(), card.ta.m[1].s);
    std::u16string postal = u"1050011";
    std::copy(postal.begin(), postal.end(), card.tt.m);
    const AddresseeTexts texts = addressee_texts(card);
    const struct {
        const char16_t* typed;
        bool found;
    } cases[] = {
        {u"山田太郎", true},  {u"やまだ", true},  {u"ﾀﾛｳ", true},     {u"芝公園", true},
        {u"105-0011", true},  {u"〒１０５", true}, {u"0011", true},   {u"105-0012", false},
        {u"すずき", false},   {u"", false},       {u"   ", false},
    };
    for (const auto& c : cases) {
        SearchQuery q;
        make_search_query(q, c.typed);
        EXPECT_EQ(addressee_matches(q, texts), c.found);
    }
}

TEST(KanaFoldTest, DuplicateRuleNeedsTheSameNameAndCodeOrFirstAddressLine) {
    const struct {
        const char16_t *name_a, *postal_a, *address_a, *name_b, *postal_b, *address_b;
        bool same;
    } cases[] = {
        {u"山田 太郎 様", u"1500001", u"渋谷区1-1", u"山田太郎", u"150-0001", u"別の住所", true},
        {u"山田太郎", u"", u"渋谷区１－１", u"山田　太郎　殿", u"", u"渋谷区 1-1", true},
        {u"ﾔﾏﾀﾞ", u"1500001", u"", u"ヤマダ", u"1500001", u"", true},
        {u"山田太郎", u"1500001", u"渋谷区1-1", u"山田次郎", u"1500001", u"渋谷区1-1", false},
        {u"山田太郎", u"1500001", u"渋谷区1-1", u"山田太郎", u"1600001", u"新宿区", false},
        {u"山田太郎", u"", u"", u"山田太郎", u"", u"", false},  // nothing but the name
        {u"", u"1500001", u"渋谷区1-1", u"", u"1500001", u"渋谷区1-1", false},
        {u"様", u"1500001", u"", u"様", u"1500001", u"", true},  // a name that is only a 敬称 stays
    };
    for (const auto& c : cases) {
        DuplicateKey a;
        DuplicateKey b;
        make_duplicate_key(a, c.name_a, c.postal_a, c.address_a);
        make_duplicate_key(b, c.name_b, c.postal_b, c.address_b);
        EXPECT_EQ(is_duplicate(a, b), c.same);
        EXPECT_EQ(is_duplicate(b, a), c.same);
    }
}

}  // namespace

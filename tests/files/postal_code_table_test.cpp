#include <gtest/gtest.h>

#include <string>

#include "files/postal_code_table.h"
#include "tests/support/fake_platform.h"
#include "tests/support/postal_tables.h"

namespace {

// The address of `code` in the table, or "not found".
std::string address_of(const PostalCodeTable& table, uint32_t code, int cap = 64) {
    int index = find_postal_code(table, code);
    if (index < 0) return "not found";
    char16_t out[64];
    postal_address(table, index, out, cap);
    return utf8(out);
}

uint32_t typed(const char16_t* text) {
    uint32_t code = 0;
    return read_typed_postal_code(text, code) ? code : 0xFFFFFFFFu;
}

uint32_t digits(const char16_t* text) {
    uint32_t code = 0;
    return postal_code_digits(text, code) ? code : 0xFFFFFFFFu;
}

}  // namespace

// The fixture holds the package's kinds of rows: plain codes, an empty town,
// a business code, one code over two towns and one over two cities, rows of
// one office code that agree, brackets that belong to the address, a code
// over two prefectures, Japan Post's notes in the town field, and the
// version and three-digit rows that are no codes. The script's table must
// give each as the lookup expects.
TEST(PostalCodeTableTest, BuildsAndReadsTheFixtureTable) {
    const std::string& bytes = postal_fixture_table();
    PostalCodeTable table;
    ASSERT_EQ(open_postal_code_table(bytes.data(), bytes.size(), table), POSTAL_TABLE_OK);
    EXPECT_EQ(table.code_count, 15u);  // "_000info" and "_150" are no codes

    EXPECT_EQ(address_of(table, 1500001), "東京都渋谷区神宮前");
    EXPECT_EQ(address_of(table, 600001), "北海道札幌市中央区北一条西");
    EXPECT_EQ(address_of(table, 9000001), "沖縄県那覇市港町");
    EXPECT_EQ(address_of(table, 1008994), "東京都千代田区丸の内");         // business code
    EXPECT_EQ(address_of(table, 10000), "北海道札幌市北区");               // empty town
    EXPECT_EQ(address_of(table, 110951), "秋田県秋田市");                  // two towns
    EXPECT_EQ(address_of(table, 40000), "北海道");                         // two cities
    EXPECT_EQ(address_of(table, 368560), "青森県弘前市大字文京町");        // offices agreeing
    EXPECT_EQ(address_of(table, 4506201), "愛知県名古屋市中村区名駅ミッドランドスクエア（高層棟）１階");
    EXPECT_EQ(address_of(table, 9999999), "");                             // two prefectures
    EXPECT_EQ(address_of(table, 4090200), "山梨県北都留郡小菅村");         // notes, no towns
    EXPECT_EQ(address_of(table, 4090211), "山梨県北都留郡小菅村");
    EXPECT_EQ(address_of(table, 4506290), "愛知県名古屋市中村区名駅ミッドランドスクエア（高層棟）");
    EXPECT_EQ(address_of(table, 4506291), "愛知県名古屋市中村区名駅");     // a note in brackets
    EXPECT_EQ(address_of(table, 1500002), "not found");
    EXPECT_EQ(address_of(table, 0), "not found");
    EXPECT_EQ(address_of(table, 1500001, 6), "東京都渋谷");                // cut to the capacity
}

TEST(PostalCodeTableTest, ReadsCodesAsPeopleTypeThem) {
    EXPECT_EQ(typed(u"1500001"), 1500001u);
    EXPECT_EQ(typed(u"150-0001"), 1500001u);
    EXPECT_EQ(typed(u"〒150-0001"), 1500001u);
    EXPECT_EQ(typed(u" 〒 １５０－０００１　"), 1500001u);
    EXPECT_EQ(typed(u"１５０ー０００１"), 1500001u);  // the long vowel mark of a kana input method
    EXPECT_EQ(typed(u"0600001"), 600001u);
    for (const char16_t* bad : {u"", u"150000", u"15000011", u"15-00001", u"150--0001", u"150 0001",
                                u"1500001〒", u"〒〒1500001", u"a1500001", u"150-000１x"})
        EXPECT_EQ(typed(bad), 0xFFFFFFFFu) << utf8(bad);

    // What prints into the seven boxes: seven digits and nothing else.
    EXPECT_EQ(digits(u"1500001"), 1500001u);
    EXPECT_EQ(digits(u"１５０００01"), 1500001u);
    for (const char16_t* bad : {u"", u"150-0001", u"〒1500001", u" 1500001", u"150001", u"15000011"})
        EXPECT_EQ(digits(bad), 0xFFFFFFFFu) << utf8(bad);
}

// Bytes that are not a whole, consistent table are refused, however they
// are cut or changed; an empty resource is the build without the data.
TEST(PostalCodeTableTest, RefusesDamagedTables) {
    PostalCodeTable table;
    EXPECT_EQ(open_postal_code_table(nullptr, 0, table), POSTAL_TABLE_ABSENT);
    EXPECT_EQ(open_postal_code_table("", 0, table), POSTAL_TABLE_ABSENT);

    const std::string good = postal_fixture_table();
    ASSERT_EQ(open_postal_code_table(good.data(), good.size(), table), POSTAL_TABLE_OK);
    auto at = [&](const unsigned char* p) {
        return static_cast<size_t>(p - reinterpret_cast<const unsigned char*>(good.data()));
    };
    const size_t codes = at(table.codes), towns = at(table.towns), prefs = at(table.area_prefs),
                 cities = at(table.area_cities), areas = at(table.code_areas),
                 last_code = codes + 4 * (table.code_count - 1), last_unit = good.size() - 2;
    for (size_t n = 1; n < good.size(); ++n) {
        ASSERT_EQ(open_postal_code_table(good.data(), n, table), POSTAL_TABLE_DAMAGED) << n;
        EXPECT_EQ(table.code_count, 0u);
    }
    auto damaged = [&](size_t offset, unsigned char value) {
        std::string bytes = good;
        bytes[offset] = static_cast<char>(value);
        return open_postal_code_table(bytes.data(), bytes.size(), table);
    };
    EXPECT_EQ(damaged(0, 'X'), POSTAL_TABLE_DAMAGED);           // magic
    EXPECT_EQ(damaged(4, 2), POSTAL_TABLE_DAMAGED);             // version
    EXPECT_EQ(damaged(11, 0x40), POSTAL_TABLE_DAMAGED);         // a code count that overflows 32 bits
    EXPECT_EQ(damaged(codes + 5, 0), POSTAL_TABLE_DAMAGED);     // codes out of order
    EXPECT_EQ(damaged(last_code + 2, 0xFF), POSTAL_TABLE_DAMAGED);  // a code of eight digits
    EXPECT_EQ(damaged(towns + 2, 1), POSTAL_TABLE_DAMAGED);     // a town outside the texts
    EXPECT_EQ(damaged(prefs + 3, 1), POSTAL_TABLE_DAMAGED);
    EXPECT_EQ(damaged(cities + 2, 1), POSTAL_TABLE_DAMAGED);
    EXPECT_EQ(damaged(areas + 1, 1), POSTAL_TABLE_DAMAGED);     // an area outside the areas
    EXPECT_EQ(damaged(last_unit, 'x'), POSTAL_TABLE_DAMAGED);   // the last text does not end
    EXPECT_EQ(damaged(last_unit - 2, 'x'), POSTAL_TABLE_OK);    // a changed letter is still a table
}

// The table the build made from the real package, when it could.
TEST(PostalCodeTableTest, RealTableFindsCodesAllOverJapan) {
    const std::string& bytes = real_postal_table();
    if (bytes.empty()) GTEST_SKIP() << "the build could not fetch the postal code data";
    PostalCodeTable table;
    ASSERT_EQ(open_postal_code_table(bytes.data(), bytes.size(), table), POSTAL_TABLE_OK);
    EXPECT_GT(table.code_count, 140000u);
    EXPECT_EQ(address_of(table, 1500001), "東京都渋谷区神宮前");
    EXPECT_EQ(address_of(table, 600001), "北海道札幌市中央区北一条西");
    EXPECT_EQ(address_of(table, 9000001), "沖縄県那覇市港町");
    EXPECT_EQ(address_of(table, 1008994), "東京都千代田区丸の内");
    EXPECT_EQ(address_of(table, 10000), "北海道札幌市北区");
    EXPECT_EQ(address_of(table, 4506201), "愛知県名古屋市中村区名駅ミッドランドスクエア（高層棟）１階");
    EXPECT_EQ(address_of(table, 4980000), "");  // 愛知県弥富市 and 三重県桑名郡木曽岬町
    EXPECT_EQ(address_of(table, 1509999), "not found");
    EXPECT_EQ(address_of(table, 4090211), "山梨県北都留郡小菅村");
    EXPECT_EQ(address_of(table, 7660001), "香川県仲多度郡琴平町");
    // No address carries one of Japan Post's notes.
    for (int i = 0; i < static_cast<int>(table.code_count); ++i) {
        char16_t out[200];
        postal_address(table, i, out, 200);
        const std::string address = utf8(out);
        const std::string end = "）";
        bool note = address.size() >= end.size() && address.compare(address.size() - end.size(), end.size(), end) == 0;
        for (const char* word : {"場合", "掲載", "除く", "不明"}) note = note || address.find(word) != std::string::npos;
        EXPECT_FALSE(note) << address;
    }
}

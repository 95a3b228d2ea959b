#include <gtest/gtest.h>

#include <string>

#include "postal/postal_code_ids.h"
#include "postal/postal_code_table.h"
#include "postal/postal_update.h"
#include "tests/support/fake_platform.h"
#include "tests/support/iconv_decoder.h"
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

// The parts of the address an editor places apart: "line|building|office".
std::string parts_of(const PostalCodeTable& table, uint32_t code) {
    char16_t line[64], building[64], office[64];
    postal_address_parts(table, find_postal_code(table, code), line, building, office, 64);
    return utf8(line) + "|" + utf8(building) + "|" + utf8(office);
}

// The towns offered for a code over several, one per line.
std::string places_of(const PostalCodeTable& table, uint32_t code) {
    int index = find_postal_code(table, code);
    std::string out;
    for (int k = 0; k < postal_place_count(table, index); ++k) {
        char16_t place[64];
        postal_place_address(table, index, k, place, 64);
        out += utf8(place) + "\n";
    }
    return out;
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
// one office code, brackets that belong to the address, a building's
// floors, a code over two prefectures, Japan Post's notes in the town field,
// 地割 towns, and the version and three-digit rows that are no codes. The
// script's table must give each as the lookup expects.
TEST(PostalCodeTableTest, BuildsAndReadsTheFixtureTable) {
    const std::string& bytes = postal_fixture_table();
    PostalCodeTable table;
    ASSERT_EQ(open_postal_code_table(bytes.data(), bytes.size(), table), POSTAL_TABLE_OK);
    EXPECT_EQ(table.code_count, 26u);  // "_000info" and "_150" are no codes
    EXPECT_EQ(table.date, 20261207u);  // from "_000info"

    EXPECT_EQ(address_of(table, 1500001), "東京都渋谷区神宮前");
    EXPECT_EQ(address_of(table, 600001), "北海道札幌市中央区北一条西");
    EXPECT_EQ(address_of(table, 9000001), "沖縄県那覇市港町");
    EXPECT_EQ(address_of(table, 1008994), "東京都千代田区丸の内２丁目７－２");  // business code
    EXPECT_EQ(parts_of(table, 1008994), "東京都千代田区丸の内２丁目７－２||東京中央郵便局");
    EXPECT_EQ(address_of(table, 10000), "北海道札幌市北区");               // empty town
    EXPECT_EQ(address_of(table, 110951), "秋田県秋田市");                  // three towns
    EXPECT_EQ(places_of(table, 110951), "秋田県秋田市土崎港相染町\n秋田県秋田市土崎港古川町\n秋田県秋田市土崎港中央\n");
    EXPECT_EQ(places_of(table, 40000), "北海道札幌市厚別区\n北海道札幌市清田区\n");  // two cities, no town
    EXPECT_EQ(address_of(table, 40000), "北海道");
    EXPECT_EQ(places_of(table, 4980000), "愛知県弥富市\n三重県桑名郡木曽岬町\n");  // two prefectures
    EXPECT_EQ(address_of(table, 4980000), "");
    EXPECT_EQ(address_of(table, 295504), "岩手県和賀郡西和賀町槻沢");      // 地割 ranges and lists
    EXPECT_EQ(address_of(table, 295505), "岩手県和賀郡西和賀町湯本");
    EXPECT_EQ(address_of(table, 8572427), "長崎県西海市大島町");           // the numbers follow 大島町
    EXPECT_EQ(parts_of(table, 1706001), "東京都豊島区東池袋|サンシャイン６０１階|");  // not floor 601
    EXPECT_EQ(parts_of(table, 1706090), "東京都豊島区東池袋|サンシャイン６０|");
    EXPECT_EQ(parts_of(table, 368560), "青森県弘前市大字文京町１||");   // two offices: no name
    EXPECT_EQ(address_of(table, 287901), "岩手県九戸郡洋野町種市");        // 地割 towns
    EXPECT_EQ(address_of(table, 287902), "岩手県九戸郡洋野町種市");
    EXPECT_EQ(address_of(table, 600042), "北海道札幌市中央区大通西");
    // A building's qualifier stays in its name, without brackets, on all its codes.
    EXPECT_EQ(parts_of(table, 4506201), "愛知県名古屋市中村区名駅|ミッドランドスクエア高層棟１階|");
    EXPECT_EQ(parts_of(table, 4506290), "愛知県名古屋市中村区名駅|ミッドランドスクエア高層棟|");
    EXPECT_EQ(places_of(table, 9999999), "沖縄県那覇市港町\n東京都渋谷区神宮前\n");
    EXPECT_EQ(address_of(table, 4506201), "愛知県名古屋市中村区名駅ミッドランドスクエア高層棟１階");
    EXPECT_EQ(address_of(table, 9999999), "");                             // two prefectures
    EXPECT_EQ(address_of(table, 4090200), "山梨県北都留郡小菅村");         // notes, no towns
    EXPECT_EQ(address_of(table, 4090211), "山梨県北都留郡小菅村");
    EXPECT_EQ(address_of(table, 4506290), "愛知県名古屋市中村区名駅ミッドランドスクエア高層棟");
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
                 last_code = codes + 4 * (table.code_count - 1), last_unit = good.size() - 2,
                 code_extras = at(table.code_extras), extras = at(table.extras),
                 place_areas = at(table.place_areas);
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
    EXPECT_EQ(damaged(4, 1), POSTAL_TABLE_DAMAGED);             // version
    EXPECT_EQ(damaged(20, 0x40), POSTAL_TABLE_DAMAGED);         // extras
    EXPECT_EQ(damaged(code_extras, 0x7F), POSTAL_TABLE_DAMAGED);  // an extra outside the extras
    EXPECT_EQ(damaged(extras + 3, 1), POSTAL_TABLE_DAMAGED);      // a building outside the texts
    EXPECT_EQ(damaged(extras + 16, 0x7F), POSTAL_TABLE_DAMAGED);  // places outside the places
    EXPECT_EQ(damaged(place_areas + 1, 1), POSTAL_TABLE_DAMAGED);
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
    EXPECT_EQ(address_of(table, 1008994), "東京都千代田区丸の内２丁目７－２");
    EXPECT_EQ(address_of(table, 10000), "北海道札幌市北区");
    EXPECT_EQ(parts_of(table, 1006001), "東京都千代田区霞が関|霞が関ビル１階|");
    EXPECT_EQ(parts_of(table, 1008994), "東京都千代田区丸の内２丁目７－２||東京中央郵便局");
    EXPECT_GT(table.date, 20250000u);
    EXPECT_EQ(address_of(table, 4506201), "愛知県名古屋市中村区名駅ミッドランドスクエア高層棟１階");
    EXPECT_EQ(address_of(table, 4980000), "");  // 愛知県弥富市 and 三重県桑名郡木曽岬町
    EXPECT_EQ(places_of(table, 4980000), "愛知県弥富市\n三重県桑名郡木曽岬町\n");
    EXPECT_EQ(parts_of(table, 1706001), "東京都豊島区東池袋|サンシャイン６０１階|");
    EXPECT_EQ(address_of(table, 1509999), "not found");
    EXPECT_EQ(address_of(table, 4090211), "山梨県北都留郡小菅村");
    EXPECT_EQ(address_of(table, 7660001), "香川県仲多度郡琴平町");
    // No address carries one of Japan Post's notes; only the few codes over
    // two prefectures have none.
    int empty = 0;
    for (int i = 0; i < static_cast<int>(table.code_count); ++i) {
        // A business's street is as Japan Post gives it ("（…郵便局私書箱第５号）").
        char16_t out[200], building[200], office[200];
        postal_address_parts(table, i, out, building, office, 200);
        const std::string address = utf8(out) + utf8(building);
        empty += address.empty();
        if (office[0] || address.find("私書箱") != std::string::npos) continue;
        const std::string end = "）";
        bool note = address.size() >= end.size() && address.compare(address.size() - end.size(), end.size(), end) == 0;
        for (const char* word : {"場合", "掲載", "除く", "不明"}) note = note || address.find(word) != std::string::npos;
        EXPECT_FALSE(note) << address;
    }
    EXPECT_LT(empty, 10);
}

namespace {

// The fixture's rows as Japan Post writes them: the same places as the
// package's rows in tests/postal/postal_fixture, a floor in brackets where
// the package has none. Business rows have a street and an office. One row
// of each hard case: a code over two prefectures without a town, a
// building's qualifier before the floor, 地割 ranges and lists, "…の次に
// 番地がくる場合" naming a town, a building name ending in digits, an
// address and an office name longer than a line.
struct JapanPostRow {
    const char16_t *code, *pref, *city, *town, *street, *office;
};
const JapanPostRow kFixtureRows[] = {
    {u"0010000", u"北海道", u"札幌市北区", u"", u"", u""},
    {u"0040000", u"北海道", u"札幌市厚別区", u"", u"", u""},
    {u"0040000", u"北海道", u"札幌市清田区", u"", u"", u""},
    {u"0110951", u"秋田県", u"秋田市", u"土崎港相染町", u"", u""},
    {u"0110951", u"秋田県", u"秋田市", u"土崎港古川町", u"", u""},
    {u"0110951", u"秋田県", u"秋田市", u"土崎港中央", u"", u""},
    {u"0287901", u"岩手県", u"九戸郡洋野町", u"種市第１地割～第３地割", u"", u""},
    {u"0287902", u"岩手県", u"九戸郡洋野町", u"種市第１５地割～第２１地割", u"", u""},
    {u"0287902", u"岩手県", u"九戸郡洋野町", u"種市第２３地割", u"", u""},
    {u"0368560", u"青森県", u"弘前市", u"大字文京町", u"１", u"弘前大学　（本部）"},
    {u"0368560", u"青森県", u"弘前市", u"大字文京町", u"１", u"弘前大学　学生部"},
    {u"0295504", u"岩手県", u"和賀郡西和賀町", u"槻沢２５地割～槻沢２８地割", u"", u""},
    {u"0295505", u"岩手県", u"和賀郡西和賀町", u"湯本２９地割、湯本３０地割", u"", u""},
    {u"0600001", u"北海道", u"札幌市中央区", u"北一条西", u"", u""},
    {u"0600042", u"北海道", u"札幌市中央区", u"大通西（１～１９丁目）", u"", u""},
    {u"1008994", u"東京都", u"千代田区", u"丸の内", u"２丁目７－２", u"東京中央郵便局"},
    {u"1000005", u"東京都", u"千代田区", u"丸の内", u"", u""},
    {u"1500001", u"東京都", u"渋谷区", u"神宮前", u"", u""},
    {u"1700013", u"東京都", u"豊島区", u"東池袋", u"", u""},
    {u"1706001", u"東京都", u"豊島区", u"東池袋サンシャイン６０（１階）", u"", u""},
    {u"1706090", u"東京都", u"豊島区", u"東池袋サンシャイン６０（地階・階層不明）", u"", u""},
    {u"4090200", u"山梨県", u"北都留郡小菅村", u"以下に掲載がない場合", u"", u""},
    {u"4090211", u"山梨県", u"北都留郡小菅村", u"小菅村の次に６６４番地以降がくる場合", u"", u""},
    {u"4506201", u"愛知県", u"名古屋市中村区", u"名駅ミッドランドスクエア（高層棟）（１階）", u"", u""},
    {u"4506290", u"愛知県", u"名古屋市中村区", u"名駅ミッドランドスクエア（高層棟）（地階・階層不明）", u"", u""},
    {u"4506291", u"愛知県", u"名古屋市中村区", u"名駅（次のビルを除く）", u"", u""},
    {u"4980000", u"愛知県", u"弥富市", u"以下に掲載がない場合", u"", u""},
    {u"4980000", u"三重県", u"桑名郡木曽岬町", u"以下に掲載がない場合", u"", u""},
    {u"6058501", u"京都府", u"京都市東山区", u"今熊野北日吉町",
     u"東大路通七条下る東入る三十三間堂廻り北側２丁目１８番地の３今熊野ビル東館南側通用口郵便物受付窓口",
     u"国立研究開発法人　東山総合研究機構　京都東山研究所　事務局　総務部　人事課　研究支援担当　郵便物受付窓口　"
     u"文書係　第二文書管理室"},
    {u"8572427", u"長崎県", u"西海市", u"大島町の次に番地がくる場合", u"", u""},
    {u"9000001", u"沖縄県", u"那覇市", u"港町", u"", u""},
    {u"9999999", u"沖縄県", u"那覇市", u"港町", u"", u""},
    {u"9999999", u"東京都", u"渋谷区", u"神宮前", u"", u""},
};

std::u16string in_quotes(const std::u16string& s) { return u"\"" + s + u"\""; }

// One record of the address file; half-width kana as Japan Post writes them.
std::u16string address_record(const JapanPostRow& r, const std::u16string& town) {
    std::u16string code = r.code;
    return u"01101," + in_quotes(code.substr(0, 3) + u"  ") + u"," + in_quotes(code) +
           u",\"ﾎｯｶｲﾄﾞｳ\",\"ｻｯﾎﾟﾛｼ\",\"ｷﾀ1ｼﾞｮｳﾆｼ(1-19ﾁｮｳﾒ)\"," + in_quotes(r.pref) + u"," + in_quotes(r.city) +
           u"," + in_quotes(town) + u",0,0,1,0,0,0\r\n";
}

// The address file; `split` writes long towns over two records as
// KEN_ALL.CSV does.
std::u16string address_file(bool split) {
    std::u16string out;
    for (const JapanPostRow& r : kFixtureRows) {
        if (r.office[0]) continue;
        std::u16string town = r.town;
        size_t open = town.find(u'（');
        if (split && open != std::u16string::npos && town.size() > open + 3) {
            out += address_record(r, town.substr(0, open + 3)) + address_record(r, town.substr(open + 3));
        } else {
            out += address_record(r, town);
        }
    }
    return out;
}

std::u16string business_file() {
    std::u16string out;
    for (const JapanPostRow& r : kFixtureRows) {
        if (!r.office[0]) continue;
        out += u"13101,\"ﾄｳｷｮｳﾁｭｳｵｳﾕｳﾋﾞﾝｷｮｸ\"," + in_quotes(r.office) + u"," + in_quotes(r.pref) + u"," +
               in_quotes(r.city) + u"," + in_quotes(r.town) + u"," + in_quotes(r.street) + u"," + in_quotes(r.code) +
               u",\"100  \",\"銀座\",0,0,0\r\n";
    }
    return out;
}

const char16_t kUpdated[] = u"C:\\appdata\\Zelkovane\\postal_codes.bin";
const char16_t kUtfKenAll[] = u"C:\\dl\\utf_ken_all.csv";
const char16_t kKenAll[] = u"C:\\dl\\KEN_ALL.CSV";
const char16_t kJigyosyo[] = u"C:\\dl\\JIGYOSYO.CSV";

std::string table_address(uint32_t code) {
    PostalCodeTable table;
    if (open_postal_code_table_in_use(table) != POSTAL_TABLE_OK) return "no table";
    return address_of(table, code);
}

}  // namespace

// Japan Post's files, in either form of the address file and with the
// business file, give the very table the build script makes from the
// package's rows of the same places; what is not one of those files, a .zip
// and a table that cannot be written change nothing and say so.
TEST(PostalCodeTableTest, JapanPostFilesBuildTheScriptsTableAndBadFilesChangeNothing) {
    FakePlatform fake;
    fake.file_dates = {2026, 12, 7, 8, 0, 0};  // the fixture's date
    fake.put_file(kUtfKenAll, utf8(address_file(false)));
    fake.put_file(kKenAll, shift_jis(address_file(true)));
    fake.put_file(kJigyosyo, shift_jis(business_file()));
    ASSERT_NE(fake.file_bytes(kKenAll).find("\xCE\xAF\xB6\xB2"), std::string::npos) << "ﾎｯｶｲ in Shift_JIS";

    for (const char16_t* address : {kUtfKenAll, kKenAll}) {
        fake.remove_file(kUpdated);
        fake.boxes.clear();
        EXPECT_EQ(update_postal_codes_from(nullptr, address, kJigyosyo), POSTAL_UPDATED) << utf8(address);
        EXPECT_TRUE(fake.file_bytes(kUpdated) == postal_fixture_table()) << utf8(address);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(utf8(fake.boxes[0].text), "26件の郵便番号を読み込みました。");
        EXPECT_EQ(utf8(fake.boxes[0].caption), "郵便番号データの更新");
    }
    EXPECT_EQ(fake.events.front(), "wait_show");
    EXPECT_EQ(fake.events.back(), "wait_close");
    EXPECT_EQ(fake.progress.back(), "郵便番号データ作成中 100%");

    const std::string good = fake.file_bytes(kUpdated);
    std::string cut = fake.file_bytes(kKenAll);
    cut.erase(cut.find(",0,0,1,0,0,0", 400), 2);  // a record of 14 columns
    fake.put_file(u"C:\\dl\\cut.csv", cut);
    fake.put_file(u"C:\\dl\\cards.csv", "name,address\r\n");
    struct Bad {
        const char16_t *address, *business;
        const char* says;
    } bad[] = {
        {u"C:\\dl\\cut.csv", nullptr, "C:\\dl\\cut.csv\r\nは日本郵便の住所の郵便番号データ（utf_ken_all.csv"},
        {u"C:\\dl\\cards.csv", nullptr, "C:\\dl\\cards.csv\r\nは日本郵便の住所の"},
        {kJigyosyo, nullptr, "C:\\dl\\JIGYOSYO.CSV\r\nは日本郵便の住所の"},
        {kUtfKenAll, kKenAll, "C:\\dl\\KEN_ALL.CSV\r\nは日本郵便の事業所の個別郵便番号データ"},
        {u"C:\\dl\\ken_all.zip", nullptr, "zipを展開してから、中のCSVファイルを選んでください。"},
        {kUtfKenAll, u"C:\\dl\\jigyosyo.ZIP", "zipを展開してから、中のCSVファイルを選んでください。"},
    };
    for (const Bad& b : bad) {
        fake.boxes.clear();
        EXPECT_EQ(update_postal_codes_from(nullptr, b.address, b.business), POSTAL_UPDATE_FAILED);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(utf8(fake.boxes[0].text).rfind(b.says, 0), 0u) << utf8(fake.boxes[0].text);
        EXPECT_TRUE(fake.file_bytes(kUpdated) == good);
    }
    fake.unwritable.insert(kUpdated);
    fake.boxes.clear();
    EXPECT_EQ(update_postal_codes_from(nullptr, kUtfKenAll, nullptr), POSTAL_UPDATE_FAILED);
    EXPECT_EQ(utf8(fake.boxes.at(0).text),
              "郵便番号データを書き込めません。\r\nC:\\appdata\\Zelkovane\\postal_codes.bin\r\n郵便番号データは変わりません。");
    EXPECT_TRUE(fake.file_bytes(kUpdated) == good);
}

// The lookups use the updated table from the moment it is written; when it
// is damaged or gone they fall back on the one built into the program.
TEST(PostalCodeTableTest, LookupPrefersTheUpdatedTableAndFallsBack) {
    FakePlatform fake;
    fake.resources[IDR_POSTAL_CODES] = postal_fixture_table();
    char16_t about[80];
    describe_postal_table_in_use(about, 80);
    EXPECT_EQ(utf8(about), "郵便番号データ：2026年12月7日\r\n（組み込み）");
    EXPECT_EQ(table_address(9012345), "not found");

    fake.put_file(kUtfKenAll, utf8(address_record({u"9012345", u"沖縄県", u"那覇市", u"新町", u"", u""}, u"新町")));
    fake.put_file(u"C:\\work\\postal_codes.bin", "");  // other files are no business of the lookup
    ASSERT_EQ(update_postal_codes_from(nullptr, kUtfKenAll, nullptr), POSTAL_UPDATED);
    EXPECT_EQ(utf8(fake.boxes.at(0).text), "1件の郵便番号を読み込みました。");
    EXPECT_EQ(table_address(9012345), "沖縄県那覇市新町");
    EXPECT_EQ(table_address(1500001), "not found") << "the newer table replaces the built-in one";
    describe_postal_table_in_use(about, 80);
    EXPECT_EQ(utf8(about), "郵便番号データ：2026年11月28日\r\n（更新済み）");

    std::string damaged = fake.file_bytes(kUpdated);
    damaged[damaged.size() - 1] = 'x';
    fake.put_file(kUpdated, damaged);
    forget_postal_table_in_use();  // as at the next start
    EXPECT_EQ(table_address(9012345), "not found");
    EXPECT_EQ(table_address(1500001), "東京都渋谷区神宮前");
    fake.remove_file(kUpdated);
    forget_postal_table_in_use();
    EXPECT_EQ(table_address(1500001), "東京都渋谷区神宮前");
    fake.resources.clear();
    forget_postal_table_in_use();
    describe_postal_table_in_use(about, 80);
    EXPECT_EQ(utf8(about), "郵便番号データ：なし");
}

#include <gtest/gtest.h>

#include <string>

#include "editors/postal_code_buttons.h"
#include "tests/editors/fake_dialog_view.h"
#include "postal/postal_code_ids.h"
#include "postal/postal_table_builder.h"
#include "tests/support/fake_platform.h"
#include "tests/support/postal_tables.h"

namespace {

class PostalCodeButtonsTest : public ::testing::Test {
protected:
    FakePlatform fake;
    WindowHandle owner = reinterpret_cast<WindowHandle>(0x5);
    PostalFill out;

    void SetUp() override { fake.resources[IDR_POSTAL_CODES] = postal_fixture_table(); }

    // Presses "〒→住所" with `code` typed and `line` in the address field;
    // what the field holds afterwards.
    std::string press(const char16_t* code, const char16_t* line) {
        return postal_address_fill(owner, code, line, false, out) == 1 ? utf8(out.line) : utf8(line);
    }
    std::string last_box() const { return fake.boxes.empty() ? "" : utf8(fake.boxes.back().text); }
    // Presses "郵便番号チェック": the rows are marked, then the user is told.
    int check(const char16_t* const* codes, int count, bool* bad) {
        int bad_rows = find_bad_postal_codes(owner, codes, count, bad);
        if (bad_rows >= 0) tell_bad_postal_codes(owner, bad_rows);
        return bad_rows;
    }
};

}  // namespace

TEST_F(PostalCodeButtonsTest, FillsTheAddressLineFromTheCode) {
    // An empty line takes the address without a question.
    EXPECT_EQ(press(u"〒150-0001", u""), "東京都渋谷区神宮前");
    EXPECT_EQ(press(u"１５００００１", u""), "東京都渋谷区神宮前");
    EXPECT_EQ(press(u"0010000", u""), "北海道札幌市北区");
    EXPECT_TRUE(fake.boxes.empty());

    // A line with other text is replaced only on Yes.
    fake.answer(kAnswerNo);
    EXPECT_EQ(press(u"1500001", u"大阪府"), "大阪府");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(last_box(), "住所を「東京都渋谷区神宮前」に置き換えますか？");
    EXPECT_EQ(utf8(fake.boxes[0].caption), "住所自動入力");
    EXPECT_EQ(fake.boxes[0].style, kButtonsYesNo | kIconQuestion);
    EXPECT_EQ(fake.boxes[0].owner, owner);
    fake.answer(kAnswerYes);
    EXPECT_EQ(press(u"1500001", u"大阪府"), "東京都渋谷区神宮前");

    // The same address already there: nothing to ask.
    EXPECT_EQ(press(u"1500001", u"東京都渋谷区神宮前"), "東京都渋谷区神宮前");
    EXPECT_EQ(fake.boxes.size(), 2u);

    // Codes that are not in the table, or not codes, change nothing.
    EXPECT_EQ(press(u"1500002", u"大阪府"), "大阪府");
    EXPECT_EQ(last_box(), "郵便番号1500002は見つかりません");
    EXPECT_EQ(press(u"15-00001", u""), "");
    EXPECT_EQ(last_box(), "郵便番号15-00001は見つかりません");
    EXPECT_EQ(fake.boxes.back().style, kButtonsOk | kIconWarning);
    // A code over two prefectures is known but names no one address unless
    // a town is chosen from its menu.
    EXPECT_EQ(press(u"999-9999", u"大阪府"), "大阪府");  // Esc on its menu
    EXPECT_EQ(last_box(), "郵便番号999-9999の住所は一つに決まりません");
    EXPECT_EQ(fake.boxes.size(), 5u);

    // A program built without the data says so.
    fake.resources.clear();
    EXPECT_EQ(press(u"1500001", u""), "");
    EXPECT_EQ(last_box(), "郵便番号データが組み込まれていません");
    EXPECT_EQ(utf8(fake.boxes.back().caption), "住所自動入力");
}

TEST_F(PostalCodeButtonsTest, CheckMarksRowsThatWouldNotPrintAsAKnownCode) {
    const char16_t* codes[] = {u"1500001", u"１５００００１", u"150-0001", u"",
                               u"1500002", u"9999999"};
    bool bad[6];
    EXPECT_EQ(check(codes, 6, bad), 3);
    EXPECT_FALSE(bad[0]);
    EXPECT_FALSE(bad[1]);
    EXPECT_TRUE(bad[2]);  // a hyphen would be printed into a box
    EXPECT_TRUE(bad[3]);
    EXPECT_TRUE(bad[4]);
    EXPECT_FALSE(bad[5]);  // a real code, though of two prefectures
    EXPECT_EQ(last_box(), "郵便番号が７桁でないか見つからない行が3行あります");
    EXPECT_EQ(utf8(fake.boxes.back().caption), "郵便番号チェック");

    EXPECT_EQ(check(codes, 2, bad), 0);
    EXPECT_EQ(last_box(), "郵便番号はすべて見つかりました");

    fake.resources.clear();
    bad[0] = bad[1] = true;
    EXPECT_EQ(check(codes, 2, bad), -1);
    EXPECT_FALSE(bad[0] || bad[1]);
    EXPECT_EQ(last_box(), "郵便番号データが組み込まれていません");
    EXPECT_EQ(fake.boxes.size(), 3u);
}

// The button in an editor: a code over several towns offers them (Esc keeps
// what they share), a building's floor code leaves the town on the line and
// puts the building and floor on the next line while that is empty, and a
// business code offers its name for an empty name field only.
TEST_F(PostalCodeButtonsTest, ButtonChoosesTownsPlacesBuildingsAndOffersOfficeNames) {
    FakeDialogView view;
    char16_t next[LINE_CAP] = {};
    auto button = [&](const char16_t* code, char16_t* next_line) {
        view.type(1, code);
        view.type(2, u"");
        return postal_address_button(view, 1, 2, next_line, 3);
    };
    fake.menu_answers.push_back(1);
    EXPECT_EQ(button(u"0110951", next), 1);
    EXPECT_EQ(view.text(2), u"秋田県秋田市土崎港古川町");
    ASSERT_EQ(fake.menus.size(), 1u);
    EXPECT_EQ(fake.menus[0], (std::vector<std::string>{"秋田県秋田市土崎港相染町", "秋田県秋田市土崎港古川町",
                                                       "秋田県秋田市土崎港中央"}));
    EXPECT_EQ(button(u"0110951", next), 1);  // Esc
    EXPECT_EQ(view.text(2), u"秋田県秋田市");
    fake.menu_answers.push_back(0);
    EXPECT_EQ(button(u"9999999", next), 1);
    EXPECT_EQ(view.text(2), u"沖縄県那覇市港町");
    EXPECT_TRUE(fake.boxes.empty());

    EXPECT_EQ(button(u"450-6201", next), 1);
    EXPECT_EQ(view.text(2), u"愛知県名古屋市中村区名駅");
    EXPECT_EQ(std::u16string(next), u"ミッドランドスクエア高層棟１階");
    EXPECT_EQ(view.focused, 2);
    EXPECT_EQ(button(u"4506290", next), 1);  // the next line holds something now
    EXPECT_EQ(view.text(2), u"愛知県名古屋市中村区名駅ミッドランドスクエア高層棟");
    EXPECT_EQ(std::u16string(next), u"ミッドランドスクエア高層棟１階");
    EXPECT_EQ(button(u"4506201", nullptr), 1);  // the last line: no next one
    EXPECT_EQ(view.text(2), u"愛知県名古屋市中村区名駅ミッドランドスクエア高層棟１階");

    EXPECT_EQ(button(u"1008994", nullptr), 1);
    EXPECT_EQ(view.text(2), u"東京都千代田区丸の内２丁目７－２");
    EXPECT_EQ(view.text(3), u"東京中央郵便局");
    view.type(3, u"総務部　御中");
    EXPECT_EQ(button(u"1008994", nullptr), 1);
    EXPECT_EQ(view.text(3), u"総務部　御中") << "never over a name";
    EXPECT_TRUE(fake.boxes.empty());
}

// Japan Post's hard cases through the button: a code over two cities or
// two prefectures without towns offers them; an address and an office name
// longer than a line go on on the next line, or the user is told what found
// no line; a code over 66 towns offers them all, a page at a time.
TEST_F(PostalCodeButtonsTest, ButtonOffersCitiesContinuesLongLinesAndPagesLongTownMenus) {
    FakeDialogView view;
    char16_t next[LINE_CAP] = {}, next_name[LINE_CAP] = {};
    auto button = [&](const char16_t* code) {
        view.type(1, code);
        view.type(2, u"");
        view.type(3, u"");
        return postal_address_button(view, 1, 2, next, 3, next_name);
    };
    fake.menu_answers.push_back(1);
    EXPECT_EQ(button(u"0040000"), 1);
    EXPECT_EQ(view.text(2), u"北海道札幌市清田区");
    EXPECT_EQ(button(u"4980000"), 0);  // Esc: the two prefectures share nothing
    EXPECT_EQ(fake.menus.back(), (std::vector<std::string>{"愛知県弥富市", "三重県桑名郡木曽岬町"}));
    EXPECT_EQ(last_box(), "郵便番号4980000の住所は一つに決まりません");

    fake.boxes.clear();
    EXPECT_EQ(button(u"6058501"), 1);
    EXPECT_EQ(view.text(2), u"京都府京都市東山区今熊野北日吉町東大路通七条下る東入る三十三間堂廻り北側２丁目１８番地の３");
    EXPECT_EQ(std::u16string(next), u"今熊野ビル東館南側通用口郵便物受付窓口");
    EXPECT_EQ(view.text(3), u"国立研究開発法人　東山総合研究機構　京都東山研究所　事務局　総務部　人事課　研究支援担当　郵便物受付窓口　文書係");
    EXPECT_EQ(std::u16string(next_name), u"第二文書管理室");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(button(u"6058501"), 1);  // both next lines hold text now
    EXPECT_EQ(last_box(), "次の行が空いていないため、「今熊野ビル東館南側通用口郵便物受付窓口」「第二文書管理室」は入れていません");

    std::vector<PostalRow> rows;
    for (int k = 1; k <= 66; ++k)
        rows.push_back({4520961, u"愛知県", u"清須市", u"町" + std::u16string(1, char16_t(u'０' + k / 10)) +
                                                   std::u16string(1, char16_t(u'０' + k % 10)), u"", u""});
    fake.resources[IDR_POSTAL_CODES] = build_postal_table(rows, 0);
    fake.menu_answers = {30, 30, 5};  // 次へ, 次へ, the sixth of the last page
    next[0] = 0;
    EXPECT_EQ(button(u"4520961"), 1);
    EXPECT_EQ(view.text(2), u"愛知県清須市町６６");
    ASSERT_EQ(fake.menus.size(), 5u);
    EXPECT_EQ(fake.menus[2].size(), 31u);
    EXPECT_EQ(fake.menus[2][0], "愛知県清須市町０１");
    EXPECT_EQ(fake.menus[2][30], "次へ（31～60／66件）");
    EXPECT_EQ(fake.menus[3][0], "愛知県清須市町３１");
    EXPECT_EQ(fake.menus[3][30], "次へ（61～66／66件）");
    EXPECT_EQ(fake.menus[4], (std::vector<std::string>{"愛知県清須市町６１", "愛知県清須市町６２", "愛知県清須市町６３",
                                                       "愛知県清須市町６４", "愛知県清須市町６５", "愛知県清須市町６６",
                                                       "最初へ（1～30／66件）"}));
}

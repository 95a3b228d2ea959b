#include <gtest/gtest.h>

#include <string>

#include "editors/postal_code_buttons.h"
#include "tests/editors/fake_dialog_view.h"
#include "postal/postal_code_ids.h"
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
    EXPECT_EQ(press(u"999-9999", u"大阪府"), "大阪府");
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
    EXPECT_EQ(std::u16string(next), u"ミッドランドスクエア（高層棟）１階");
    EXPECT_EQ(view.focused, 2);
    EXPECT_EQ(button(u"4506290", next), 1);  // the next line holds something now
    EXPECT_EQ(view.text(2), u"愛知県名古屋市中村区名駅ミッドランドスクエア（高層棟）");
    EXPECT_EQ(std::u16string(next), u"ミッドランドスクエア（高層棟）１階");
    EXPECT_EQ(button(u"4506201", nullptr), 1);  // the last line: no next one
    EXPECT_EQ(view.text(2), u"愛知県名古屋市中村区名駅ミッドランドスクエア（高層棟）１階");

    EXPECT_EQ(button(u"1008994", nullptr), 1);
    EXPECT_EQ(view.text(2), u"東京都千代田区丸の内２丁目７－２");
    EXPECT_EQ(view.text(3), u"東京中央郵便局");
    view.type(3, u"総務部　御中");
    EXPECT_EQ(button(u"1008994", nullptr), 1);
    EXPECT_EQ(view.text(3), u"総務部　御中") << "never over a name";
    EXPECT_TRUE(fake.boxes.empty());
}

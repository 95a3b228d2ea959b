#include "editors/one_line_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "editors/editor_shared.h"
#include "editors/one_line_editor_ids.h"
#include "postal/postal_code_ids.h"
#include "model/card_status.h"
#include "model/text.h"
#include "tests/editors/fake_dialog_view.h"
#include "tests/support/fake_platform.h"
#include "tests/support/postal_tables.h"

namespace {

class OneLineEditorTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    FakeDialogView view_;
    LineEditorState st_{};

    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        std::memset(&work_card, 0, sizeof work_card);
        std::memset(&line_clipboard, 0, sizeof line_clipboard);
    }
    void set_senders(int n) {
        std::memset(doc().fdata, 0, sizeof doc().fdata);
        const char16_t* names[] = {u"山田", u"鈴木", u"佐藤"};
        for (int j = 0; j < n; ++j) text_set(doc().fdata[j].n[0].s, names[j]);
    }
    void press(int id) { line_editor_command(st_, view_, id); }
    std::u16string statuses() const {
        return view_.text(IDC_LINE_STATUS_THIS) + u" " + view_.text(IDC_LINE_STATUS_LAST) + u" " +
               view_.text(IDC_LINE_STATUS_BEFORE);
    }
};

TEST_F(OneLineEditorTest, StatusBoxesShowAndStoreTheHistoryByYear) {
    // Card year 2026: { 1, 2025 } and { 5, 2024 }.
    work_card.typ[3] = {1, 2025};
    work_card.typ[6] = {5, 2024};
    line_editor_open(st_, view_, 2, 9, 2026);
    EXPECT_EQ(statuses(), u"未/未 済/未 済/受");
    EXPECT_EQ(view_.text(IDC_LINE_ROW_LABEL), u"編集行　3/9行");
    press(IDC_LINE_CLOSE);  // boxes untouched
    for (int k = 0; k < TYP_MAX; ++k) {
        EXPECT_EQ(work_card.typ[k].y, 2026 - k);
        EXPECT_EQ(work_card.typ[k].t, k == 1 ? 1 : k == 2 ? 5 : 0);
    }
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(view_.close_result, 1);
    EXPECT_EQ(view_.main_repaints, 1);

    // Two entries of one year (1, then 3); code 4 shown and older; years out
    // of range; a chosen and a typed status.
    std::memset(work_card.typ, 0, sizeof work_card.typ);
    work_card.typ[0] = {1, 2025};
    work_card.typ[1] = {3, 2025};
    work_card.typ[2] = {4, 2024};
    work_card.typ[3] = {4, 2020};
    work_card.typ[4] = {5, 2016};  // older than card year - 9
    work_card.typ[5] = {6, 2027};  // newer than the card year
    view_ = FakeDialogView();
    line_editor_open(st_, view_, 0, 1, 2026);
    EXPECT_EQ(statuses(), u"未/未 止/未 未/受");
    view_.type(IDC_LINE_STATUS_THIS, u"喪/受 (typed on)");
    press(IDC_LINE_ADDRESS_NEXT);  // any step stores
    EXPECT_EQ(work_card.typ[0].t, 6);
    EXPECT_EQ(work_card.typ[1].t, 3);
    EXPECT_EQ(work_card.typ[2].t, 4);  // 未/受 is stored as shown
    EXPECT_EQ(work_card.typ[6].t, 4);  // and so is an older year's
    for (const TypEntry& e : work_card.typ) EXPECT_TRUE(e.y >= 2017 && e.y <= 2026 && e.t != 5);
}

TEST_F(OneLineEditorTest, LinesAndSendersWrapAndEveryStepStores) {
    set_senders(3);
    work_card.ftb = 2;
    text_set(work_card.tt.m, u"1000001");
    line_editor_open(st_, view_, 0, 1, 2027);
    EXPECT_EQ(view_.text(IDC_LINE_SENDER_LABEL), u"差出　3/3");
    EXPECT_EQ(view_.text(IDC_LINE_SENDER_NAME), u"佐藤");
    press(IDC_LINE_SENDER_NEXT);
    EXPECT_EQ(view_.text(IDC_LINE_SENDER_LABEL), u"差出　1/3");
    EXPECT_EQ(work_card.ftb, 2);  // stored before the step
    press(IDC_LINE_SENDER_PREV);
    EXPECT_EQ(view_.text(IDC_LINE_SENDER_NAME), u"佐藤");
    EXPECT_EQ(work_card.ftb, 0);

    // Five "＋" on the address lines visit every line, storing each.
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(view_.text(IDC_LINE_ADDRESS_LABEL), u"項目　" + std::u16string(1, u'1' + k) + u"/5");
        view_.type(IDC_LINE_ADDRESS, u"line" + std::u16string(1, u'0' + k));
        press(IDC_LINE_ADDRESS_NEXT);
    }
    EXPECT_EQ(view_.text(IDC_LINE_ADDRESS_LABEL), u"項目　1/5");
    EXPECT_EQ(std::u16string(work_card.ta.m[4].s), u"line4");
    press(IDC_LINE_NAME_PREV);
    EXPECT_EQ(view_.text(IDC_LINE_NAME_LABEL), u"項目　5/5");
    // A postal code is stored as its digits, seven at most; a text with
    // another character as typed, for 郵便番号チェック to point out.
    const std::pair<std::u16string, std::u16string> postal_codes[] = {
        {u"12A-4567 and more", u"12A-4567 and mo"}, {u"〒１２３－４５６７", u"1234567"},
        {u"12345678901234567890", u"1234567"}};
    for (const auto& [typed, stored] : postal_codes) {
        view_.type(IDC_LINE_POSTAL, typed);
        press(IDC_LINE_NAME_NEXT);
        EXPECT_EQ(std::u16string(work_card.tt.m), stored);
    }

    // "コピー" and "ペースト" carry the three texts into another row's editor;
    // "キャンセル" stores nothing more.
    view_.type(IDC_LINE_NAME, u"名");
    press(IDC_LINE_COPY);
    std::memset(&work_card, 0, sizeof work_card);
    view_ = FakeDialogView();
    line_editor_open(st_, view_, 1, 2, 2027);
    press(IDC_LINE_PASTE);
    EXPECT_EQ(view_.text(IDC_LINE_NAME), u"名");
    EXPECT_EQ(view_.text(IDC_LINE_ADDRESS), u"line0");
    EXPECT_EQ(view_.text(IDC_LINE_POSTAL), u"1234567");
    EXPECT_EQ(work_card.tn.m[0].s[0], 0);
    press(IDC_LINE_CANCEL);
    EXPECT_EQ(view_.close_result, 0);
    EXPECT_EQ(work_card.tn.m[0].s[0], 0);

    // One sender and none: the choice stays at 0.
    for (int n : {1, 0}) {
        set_senders(n);
        view_ = FakeDialogView();
        line_editor_open(st_, view_, 0, 1, 2027);
        press(IDC_LINE_SENDER_NEXT);
        press(IDC_LINE_SENDER_PREV);
        EXPECT_EQ(view_.text(IDC_LINE_SENDER_LABEL), n ? u"差出　1/1" : u"差出　1/0");
        line_editor_close_box(view_);
        EXPECT_EQ(view_.close_result, 0);
        EXPECT_EQ(view_.main_repaints, 0);
    }
}

TEST_F(OneLineEditorTest, PostalCodeButtonFillsTheAddressShownAndKeepsWhatWasTyped) {
    platform_.resources[IDR_POSTAL_CODES] = postal_fixture_table();
    text_set(work_card.ta.m[0].s, u"大阪府");
    line_editor_open(st_, view_, 0, 1, 2027);
    press(IDC_LINE_ADDRESS_NEXT);  // the second address line, empty
    view_.type(IDC_LINE_NAME, u"新井　次郎　様");
    view_.type(IDC_LINE_POSTAL, u"150-0001");
    press(IDC_LINE_POSTAL_TO_ADDRESS);
    EXPECT_EQ(view_.text(IDC_LINE_ADDRESS), u"東京都渋谷区神宮前");
    EXPECT_EQ(view_.focused, IDC_LINE_ADDRESS);
    EXPECT_TRUE(platform_.boxes.empty());
    // Only the fields changed; nothing typed was lost, nothing stored yet.
    EXPECT_EQ(view_.text(IDC_LINE_NAME), u"新井　次郎　様");
    EXPECT_EQ(view_.text(IDC_LINE_POSTAL), u"1500001") << "as it prints into the boxes";
    EXPECT_EQ(work_card.ta.m[1].s[0], 0);
    EXPECT_EQ(work_card.tn.m[0].s[0], 0);

    // The next step stores the fields. On the first line (大阪府) a code not
    // in the table changes nothing and gives the focus back to the code.
    press(IDC_LINE_ADDRESS_PREV);
    EXPECT_EQ(std::u16string(work_card.ta.m[1].s), u"東京都渋谷区神宮前");
    EXPECT_EQ(std::u16string(work_card.tn.m[0].s), u"新井　次郎　様");
    view_.type(IDC_LINE_POSTAL, u"9000002");
    press(IDC_LINE_POSTAL_TO_ADDRESS);
    EXPECT_EQ(view_.text(IDC_LINE_ADDRESS), u"大阪府");
    EXPECT_EQ(view_.text(IDC_LINE_POSTAL), u"9000002");
    EXPECT_EQ(view_.focused, IDC_LINE_POSTAL);
    EXPECT_EQ(platform_.boxes.at(0).text, u"郵便番号9000002は見つかりません");
    EXPECT_FALSE(view_.closed);

    // "漢数字" likewise turns the address field alone into its vertical form.
    view_.type(IDC_LINE_ADDRESS, u"北1-2");
    press(IDC_LINE_VERTICAL_FORM);
    EXPECT_EQ(view_.text(IDC_LINE_ADDRESS), u"北一ー二");
    EXPECT_EQ(view_.text(IDC_LINE_POSTAL), u"9000002");
    EXPECT_EQ(std::u16string(work_card.ta.m[0].s), u"大阪府");

    // A building's floor code on the first line: the building and floor go
    // to the second line, which holds the address typed before, so they
    // follow the town; on the empty third line's turn, to the fourth.
    view_.type(IDC_LINE_POSTAL, u"4506201");
    view_.type(IDC_LINE_ADDRESS, u"");
    press(IDC_LINE_POSTAL_TO_ADDRESS);
    EXPECT_EQ(view_.text(IDC_LINE_ADDRESS), u"愛知県名古屋市中村区名駅ミッドランドスクエア高層棟１階");
    press(IDC_LINE_ADDRESS_NEXT);
    press(IDC_LINE_ADDRESS_NEXT);  // the third line
    press(IDC_LINE_POSTAL_TO_ADDRESS);
    EXPECT_EQ(view_.text(IDC_LINE_ADDRESS), u"愛知県名古屋市中村区名駅");
    EXPECT_EQ(std::u16string(work_card.ta.m[3].s), u"ミッドランドスクエア高層棟１階");
    EXPECT_EQ(std::u16string(work_card.ta.m[1].s), u"東京都渋谷区神宮前");

    // An address longer than the line goes on on the next line once that is
    // empty again, an office name longer than the name on the next name line.
    press(IDC_LINE_ADDRESS_NEXT);
    view_.type(IDC_LINE_ADDRESS, u"");
    press(IDC_LINE_ADDRESS_PREV);
    view_.type(IDC_LINE_POSTAL, u"605-8501");
    view_.type(IDC_LINE_NAME, u"");
    platform_.answer(kAnswerYes);
    press(IDC_LINE_POSTAL_TO_ADDRESS);
    EXPECT_EQ(view_.text(IDC_LINE_ADDRESS),
              u"京都府京都市東山区今熊野北日吉町東大路通七条下る東入る三十三間堂廻り北側２丁目１８番地の３");
    EXPECT_EQ(std::u16string(work_card.ta.m[3].s), u"今熊野ビル東館南側通用口郵便物受付窓口");
    EXPECT_EQ(std::u16string(work_card.tn.m[1].s), u"第二文書管理室");
    EXPECT_EQ(view_.text(IDC_LINE_NAME).size(), 56u);
}

}  // namespace

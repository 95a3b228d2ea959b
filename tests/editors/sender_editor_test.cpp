#include "editors/sender_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "editors/editor_shared.h"
#include "editors/sender_editor_ids.h"
#include "postal/postal_code_ids.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/editors/fake_dialog_view.h"
#include "tests/support/fake_platform.h"
#include "tests/support/postal_tables.h"

namespace {

class SenderEditorTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    FakeDialogView view_;
    std::optional<SenderEditor> editor_;

    void SetUp() override { std::memset(&doc(), 0, sizeof(Document)); }

    static void use_senders(int n) {
        for (int i = 0; i < n; ++i) {
            std::string t = std::to_string(1000000 + i);
            text_set(doc().fdata[i].t, std::u16string(t.begin(), t.end()).c_str());
            text_set(doc().fdata[i].a[1].s, u"二番地");
        }
    }
    // A new editor opens on the view, as when its dialog opens.
    void open() {
        editor_.emplace(view_);
        editor_->open();
    }
    void press(int id) { EXPECT_TRUE(editor_->press(id)) << id; }
    std::string shown(int id) const { return utf8(view_.text(id)); }
    static SenderRecord& sender(int i) { return doc().fdata[i]; }
};

TEST_F(SenderEditorTest, NoSenderYetTheFirstIsCreatedBySaving) {
    open();
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:1/0/10");
    EXPECT_EQ(shown(IDC_SE_ADDRESS_LINE), "住所:1/2");
    EXPECT_EQ(shown(IDC_SE_NAME_LINE), "名前:1/2");
    view_.type(IDC_SE_POSTAL, u"1500001-and-far-too-long");
    view_.type(IDC_SE_ADDRESS, std::u16string(80, u'住'));
    view_.type(IDC_SE_NAME, u"山田　太郎");
    press(IDC_SE_SAVE_CLOSE);
    EXPECT_EQ(utf8(sender(0).t), "1500001-and-far") << "15 characters at most";
    EXPECT_EQ(text_length(sender(0).a[0].s), 63);
    EXPECT_EQ(utf8(sender(0).n[0].s), "山田　太郎");
    EXPECT_EQ(count_senders(), 1);
    EXPECT_TRUE(doc().modified);
    EXPECT_TRUE(view_.closed);
    EXPECT_EQ(view_.main_repaints, 1);
}

TEST_F(SenderEditorTest, AddStepsAndLinesStoreFirstAndNeverWrap) {
    use_senders(3);
    open();
    EXPECT_EQ(shown(IDC_SE_POSTAL), "1000000");
    press(IDC_SE_SENDER_PREVIOUS);
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:1/3/10") << "no wrap at the first";

    // The line indexes stay when the sender changes.
    press(IDC_SE_ADDRESS_NEXT);
    EXPECT_EQ(shown(IDC_SE_ADDRESS_LINE), "住所:2/2");
    EXPECT_EQ(shown(IDC_SE_ADDRESS), "二番地");
    view_.type(IDC_SE_NAME, u"一行目");
    press(IDC_SE_NAME_PREVIOUS);
    EXPECT_EQ(utf8(sender(0).n[0].s), "一行目");
    EXPECT_EQ(shown(IDC_SE_NAME_LINE), "名前:2/2");
    press(IDC_SE_SENDER_NEXT);
    press(IDC_SE_SENDER_NEXT);
    press(IDC_SE_SENDER_NEXT);
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:3/3/10") << "no wrap at the last";
    EXPECT_EQ(shown(IDC_SE_ADDRESS_LINE), "住所:2/2");

    press(IDC_SE_ADD);
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:4/4/10");
    EXPECT_EQ(shown(IDC_SE_POSTAL), "");
    press(IDC_SE_SENDER_PREVIOUS);
    press(IDC_SE_ADD);
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:4/4/10") << "the empty slot is offered again, no gap";
    view_.type(IDC_SE_POSTAL, u"9000001");
    press(IDC_SE_SENDER_PREVIOUS);
    EXPECT_EQ(utf8(sender(3).t), "9000001") << "the new slot was stored before moving";
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:3/4/10");
    view_.type(IDC_SE_POSTAL, u"１５０－０００１");
    press(IDC_SE_REFRESH);
    EXPECT_EQ(utf8(sender(2).t), "1500001");
    EXPECT_EQ(shown(IDC_SE_POSTAL), "1500001") << "the field shows what was stored";
    EXPECT_EQ(view_.main_repaints, 1);
    EXPECT_EQ(view_.dialog_repaints, 1);
    EXPECT_FALSE(doc().modified);
}

TEST_F(SenderEditorTest, TenSendersReachTheTenthAndAddNoMore) {
    use_senders(FDATA_MAX);
    open();
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:1/10/10");
    for (int i = 0; i < 12; ++i) press(IDC_SE_SENDER_NEXT);
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:10/10/10");
    press(IDC_SE_ADD);
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:10/10/10");
    EXPECT_EQ(shown(IDC_SE_POSTAL), "1000009");
}

TEST_F(SenderEditorTest, UndoKeepsThePlaceAndTheCloseBoxAsksFirst) {
    use_senders(2);
    open();
    press(IDC_SE_SENDER_NEXT);
    press(IDC_SE_ADDRESS_NEXT);
    view_.type(IDC_SE_ADDRESS, u"変更後");
    press(IDC_SE_REFRESH);
    EXPECT_EQ(utf8(sender(1).a[1].s), "変更後");
    press(IDC_SE_UNDO);
    EXPECT_EQ(utf8(sender(1).a[1].s), "二番地");
    EXPECT_EQ(shown(IDC_SE_ADDRESS), "二番地");
    EXPECT_EQ(shown(IDC_SE_SENDER), "番号:2/2/10");
    EXPECT_EQ(shown(IDC_SE_ADDRESS_LINE), "住所:2/2");

    // An address typed and not stored yet is a change the exit asks about.
    EXPECT_FALSE(open_editors_have_changes());
    view_.type(IDC_SE_ADDRESS, u"打ちかけ");
    EXPECT_TRUE(open_editors_have_changes());
    view_.type(IDC_SE_NAME, u"残る名前");
    press(IDC_SE_REFRESH);
    platform_.answer(kAnswerNo);
    EXPECT_FALSE(editor_->close_box());
    EXPECT_FALSE(view_.closed);
    EXPECT_EQ(utf8(sender(1).n[0].s), "残る名前");
    platform_.answer(kAnswerYes);
    EXPECT_TRUE(editor_->close_box());
    EXPECT_TRUE(view_.closed);
    EXPECT_EQ(utf8(sender(1).n[0].s), "");
    EXPECT_EQ(utf8(platform_.boxes.back().text), "修正を破棄して閉じていいですか？");
    EXPECT_FALSE(doc().modified);
}

// The editor's object lives as long as its window: once it is gone (its
// window destroyed without its close, as when the main window goes), the
// main window's commands neither ask it nor reach it.
TEST_F(SenderEditorTest, AnEditorGoneWithItsWindowIsNoLongerAsked) {
    use_senders(1);
    open();
    view_.type(IDC_SE_ADDRESS, u"打ちかけ");
    EXPECT_TRUE(open_editors_have_changes());
    editor_.reset();
    EXPECT_FALSE(open_editors_have_changes());
    EXPECT_TRUE(settle_open_editors(nullptr));
    EXPECT_TRUE(platform_.boxes.empty());
    EXPECT_FALSE(view_.closed);
}

TEST_F(SenderEditorTest, PostalCodeButtonFillsTheAddressFieldOnly) {
    platform_.resources[IDR_POSTAL_CODES] = postal_fixture_table();
    use_senders(1);
    text_set(sender(0).a[0].s, u"旧住所");
    open();
    view_.type(IDC_SE_NAME, u"山田　花子");
    view_.type(IDC_SE_POSTAL, u"〒０６０－０００１");
    platform_.answer(kAnswerYes);
    press(IDC_SE_POSTAL_TO_ADDRESS);
    EXPECT_EQ(utf8(platform_.boxes.at(0).text), "住所を「北海道札幌市中央区北一条西」に置き換えますか？");
    EXPECT_EQ(shown(IDC_SE_ADDRESS), "北海道札幌市中央区北一条西");
    EXPECT_EQ(view_.focused, IDC_SE_ADDRESS);
    EXPECT_EQ(shown(IDC_SE_NAME), "山田　花子") << "the typed name stays in its field";
    EXPECT_EQ(utf8(sender(0).a[0].s), "旧住所") << "not stored before a button stores";
    view_.type(IDC_SE_ADDRESS, view_.text(IDC_SE_ADDRESS) + u"一丁目");
    press(IDC_SE_SAVE_CLOSE);
    EXPECT_EQ(utf8(sender(0).a[0].s), "北海道札幌市中央区北一条西一丁目");
    EXPECT_EQ(utf8(sender(0).n[0].s), "山田　花子");
    EXPECT_EQ(utf8(sender(0).t), "0600001");

    // A business code: its street on the line, its name only into an empty
    // name field; a floor code's building on the empty second line.
    text_set(sender(0).a[1].s, u"");
    open();
    view_.type(IDC_SE_POSTAL, u"1008994");
    view_.type(IDC_SE_ADDRESS, u"");
    view_.type(IDC_SE_NAME, u"");
    press(IDC_SE_POSTAL_TO_ADDRESS);
    EXPECT_EQ(shown(IDC_SE_ADDRESS), "東京都千代田区丸の内２丁目７－２");
    EXPECT_EQ(shown(IDC_SE_NAME), "東京中央郵便局");
    view_.type(IDC_SE_POSTAL, u"4506201");
    platform_.answer(kAnswerYes);
    press(IDC_SE_POSTAL_TO_ADDRESS);
    EXPECT_EQ(utf8(sender(0).a[1].s), "ミッドランドスクエア高層棟１階");

    // A long address goes on on the empty second line, a long office name
    // on the empty second name line.
    text_set(sender(0).a[1].s, u"");
    text_set(sender(0).n[1].s, u"");
    view_.type(IDC_SE_POSTAL, u"6058501");
    view_.type(IDC_SE_NAME, u"");
    platform_.answer(kAnswerYes);
    press(IDC_SE_POSTAL_TO_ADDRESS);
    EXPECT_EQ(shown(IDC_SE_ADDRESS), "京都府京都市東山区今熊野北日吉町東大路通七条下る東入る三十三間堂廻り北側２丁目１８番地の３");
    EXPECT_EQ(utf8(sender(0).a[1].s), "今熊野ビル東館南側通用口郵便物受付窓口");
    EXPECT_EQ(utf8(sender(0).n[1].s), "第二文書管理室");
}

TEST_F(SenderEditorTest, VerticalFormButtonConvertsTheAddressFieldOnly) {
    use_senders(1);
    open();
    view_.type(IDC_SE_ADDRESS, u"札幌市北1-2");
    view_.type(IDC_SE_NAME, u"Ken");
    press(IDC_SE_VERTICAL_FORM);
    EXPECT_EQ(shown(IDC_SE_ADDRESS), "札幌市北一ー二");
    EXPECT_EQ(shown(IDC_SE_NAME), "Ken");
    EXPECT_NE(utf8(sender(0).a[0].s), "札幌市北一ー二") << "not stored before a button stores";
    press(IDC_SE_SAVE_CLOSE);
    EXPECT_EQ(utf8(sender(0).a[0].s), "札幌市北一ー二");
}

}  // namespace

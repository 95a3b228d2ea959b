// The card layout dialog and the sender editor driven through their real
// windows: typed and computed positions and a new sender reach the data
// files at exit, the close box with Yes leaves the files as they were.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/driver_win32.h"

using e2e::App;
using e2e::TempDir;
using e2e::utf8;
using e2e::sample_picture;

namespace {

const std::wstring kSenders =
    L"fdata_cont_max=1\r\nfdata[0].t=1500001\r\nfdata[0].a[0].s=東京都渋谷区神宮前一丁目\r\n"
    L"fdata[0].a[1].s=二番三号\r\nfdata[0].n[0].s=山田　太郎\r\nfdata[0].n[1].s=\r\n";
const std::wstring kAddressees =
    L"hdata_cont_max=3\r\n"
    L"hdata[0].tt.m=5300001\r\nhdata[0].ta.m[0].s=大阪府大阪市北区梅田一丁目\r\n"
    L"hdata[0].tn.m[0].s=鈴木　花子　様\r\nhdata[0].ftb=0\r\n"
    L"hdata[1].tt.m=0600001\r\nhdata[1].ta.m[0].s=北海道札幌市中央区\r\n"
    L"hdata[1].tn.m[0].s=佐藤　一郎　様\r\nhdata[1].ftb=0\r\n"
    L"hdata[2].tt.m=9000001\r\nhdata[2].ta.m[0].s=沖縄県那覇市\r\n"
    L"hdata[2].tn.m[0].s=高橋　美咲　様\r\nhdata[2].ftb=0\r\n";

// Commands and controls, as the program numbers them.
constexpr int kToolbarCardLayout = 330;
constexpr int kMenuCardLayout = 62;
constexpr int kToolbarSenderEditor = 331;
constexpr int kToolbarNext = 334;
constexpr int kSenderPostalToAddress = 140;
const wchar_t kLayoutCaption[] = L"葉書の設定";
const wchar_t kSenderCaption[] = L"差出人の設定";

// The value of `key` in a data file's text, "" when the key is missing.
std::wstring value_of(const std::wstring& file, const std::wstring& key) {
    std::wstring line = L"\r\n" + key + L"=";
    std::wstring text = L"\r\n" + file;
    size_t at = text.find(line);
    if (at == std::wstring::npos) return L"";
    size_t from = at + line.size();
    return text.substr(from, text.find(L"\r\n", from) - from);
}

int number_of(const std::wstring& file, const std::wstring& key) {
    return _wtoi(value_of(file, key).c_str());
}

class LayoutSender : public ::testing::Test {
protected:
    void SetUp() override {
        if (e2e::environment(L"ZK_EXE").empty()) GTEST_SKIP() << "ZK_EXE is not set";
    }

    void start_with_cards(const wchar_t* tag) {
        dir_.reset(new TempDir(tag));
        dir_->write(L"zelko1.txt", e2e::utf16le_file(kSenders));
        dir_->write(L"zelko2.txt", e2e::utf16le_file(kAddressees));
        std::wstring background = sample_picture(L"base1.bmp");
        if (!background.empty()) dir_->copy_in(background, L"base1.bmp");
        app_.reset(new App(dir_->path()));
        ASSERT_TRUE(app_->started());
        main_ = app_->start();
        ASSERT_NE(main_, nullptr);
        ASSERT_TRUE(app_->settle());
    }

    HWND open(int command, const wchar_t* caption) {
        app_->post_command(command);
        HWND dialog = app_->wait_dialog(caption);
        EXPECT_NE(dialog, nullptr) << "no dialog " << utf8(caption);
        EXPECT_TRUE(app_->settle());
        return dialog;
    }

    void press(HWND dialog, int id) {
        ASSERT_TRUE(e2e::click_button(dialog, id)) << id;
        ASSERT_TRUE(app_->settle());
    }

    void type(HWND dialog, int id, const std::wstring& text) {
        ASSERT_TRUE(e2e::set_item_text(dialog, id, text)) << id;
    }

    // "保存後閉じる", then the dialog must go.
    void save_and_close(HWND dialog) {
        press(dialog, 107);
        EXPECT_TRUE(e2e::wait_until([&] { return !IsWindow(dialog); }, e2e::kWaitTimeout));
    }

    void screenshot(HWND window, const wchar_t* name) {
        if (e2e::environment(L"ZK_ARTIFACTS").empty()) return;
        EXPECT_TRUE(e2e::capture_window(window, name)) << utf8(name);
    }

    // Answers the message box that must be on screen now.
    void answer(const std::wstring& caption, const std::wstring& text, int button) {
        HWND box = app_->wait_message_box();
        ASSERT_NE(box, nullptr) << "no message box \"" << utf8(text) << "\"";
        e2e::MessageBoxText shown = App::read_message_box(box);
        EXPECT_EQ(utf8(shown.caption), utf8(caption));
        EXPECT_EQ(utf8(shown.text), utf8(text));
        ASSERT_TRUE(App::answer(box, button));
    }

    void exit_program(bool save_question) {
        app_->post_close();
        answer(L"Zelkovane", L"終了しますか？", IDYES);
        if (save_question) answer(L"ファイル書込確認", L"保存しますか？", IDYES);
        DWORD code = 99;
        ASSERT_TRUE(app_->wait_exit(&code)) << "the program did not end";
        EXPECT_EQ(code, 0u);
    }

    std::wstring file(const wchar_t* name) const { return e2e::utf16le_text(dir_->read(name)); }

    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<App> app_;
    HWND main_ = nullptr;
};

TEST_F(LayoutSender, LayoutDialogStoresTypedAndComputedPositions) {
    start_with_cards(L"layout");
    HWND dialog = open(kToolbarCardLayout, kLayoutCaption);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(utf8(e2e::item_text(dialog, 345)), "Page:1/3");
    EXPECT_EQ(utf8(e2e::item_text(dialog, 216)), "370");
    EXPECT_EQ(utf8(e2e::item_text(dialog, 201)), "base1.bmp");
    screenshot(dialog, L"card_layout_dialog.bmp");

    // A second request brings the open dialog forward instead of a second one.
    app_->post_command(kMenuCardLayout);
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(e2e::count_windows(app_->pid(), kLayoutCaption), 1);

    type(dialog, 216, L"300");
    press(dialog, 101);  // "次": stored into card 0 before the page turns
    EXPECT_EQ(utf8(e2e::item_text(dialog, 345)), "Page:2/3");
    // The main window's toolbar steps on: the dialog follows within its
    // 300 ms, storing what was typed into card 1 first.
    type(dialog, 218, L"260");
    app_->post_command(kToolbarNext);
    EXPECT_TRUE(e2e::wait_until([&] { return e2e::item_text(dialog, 345) == L"Page:3/3"; },
                                e2e::kWaitTimeout));
    // "横" of the address lines with the width 20, typed as "020": the
    // dialog shows "20" again once it has handled the press, so the width is
    // not emptied below before the press was taken.
    type(dialog, 226, L"020");
    press(dialog, 114);
    EXPECT_TRUE(e2e::wait_until([&] { return e2e::item_text(dialog, 226) == L"20"; },
                                e2e::kWaitTimeout));
    EXPECT_EQ(utf8(e2e::item_text(dialog, 216)), "370");
    type(dialog, 226, L"");
    press(dialog, 115);  // "横" of the names, measured in their font
    // The font and colour choosers open over the dialog (the default
    // printer is known: no question) and take what they offer.
    press(dialog, 134);
    HWND chooser = e2e::wait_owned_dialog(dialog);
    ASSERT_NE(chooser, nullptr) << "no font chooser";
    EXPECT_EQ(app_->find_message_box(), nullptr);
    ASSERT_TRUE(App::answer(chooser, IDOK));
    press(dialog, 139);
    chooser = e2e::wait_owned_dialog(dialog);
    ASSERT_NE(chooser, nullptr) << "no colour chooser";
    ASSERT_TRUE(App::answer(chooser, IDOK));
    save_and_close(dialog);
    exit_program(true);

    std::wstring layouts = file(L"zelko3.txt");
    ASSERT_FALSE(layouts.empty());
    EXPECT_EQ(number_of(layouts, L"hdata[0].ta.xy[0].x"), 300);
    EXPECT_EQ(number_of(layouts, L"hdata[0].ta.xy[1].x"), 335) << "card 0 kept its spacing";
    EXPECT_EQ(number_of(layouts, L"hdata[1].tn.xy[0].x"), 260);
    for (int k = 1; k < 5; ++k) {
        std::wstring key = L"hdata[2].ta.xy[" + std::to_wstring(k) + L"].x";
        EXPECT_EQ(number_of(layouts, key), 370 - 20 * k) << utf8(key);
    }
    int step = number_of(layouts, L"hdata[2].tn.xy[0].x") - number_of(layouts, L"hdata[2].tn.xy[1].x");
    EXPECT_GT(step, 0) << "the measured advance of the name font";
    EXPECT_NE(step, 50) << "not the default spacing";
    EXPECT_EQ(number_of(layouts, L"hdata[2].tn.xy[4].x"),
              number_of(layouts, L"hdata[2].tn.xy[0].x") - 4 * step);
    EXPECT_EQ(number_of(layouts, L"hdata[2].ta.lf.lfEscapement"), -900);
    EXPECT_FALSE(value_of(layouts, L"hdata[2].ta.lf.lfFaceName").empty());
}

TEST_F(LayoutSender, SenderEditorAddsASecondSender) {
    start_with_cards(L"sender");
    HWND dialog = open(kToolbarSenderEditor, kSenderCaption);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(utf8(e2e::item_text(dialog, 308)), "番号:1/1/10");
    EXPECT_EQ(utf8(e2e::item_text(dialog, 225)), "東京都渋谷区神宮前一丁目");
    screenshot(dialog, L"sender_editor_dialog.bmp");

    press(dialog, 121);  // "追加"
    // The press is handled when the counter shows the new sender (a busy
    // Wine may answer the settling messages while the press is handled).
    EXPECT_TRUE(e2e::wait_until([&] { return e2e::item_text(dialog, 308) == L"番号:2/2/10"; },
                                e2e::kWaitTimeout))
        << utf8(e2e::item_text(dialog, 308));
    EXPECT_EQ(utf8(e2e::item_text(dialog, 224)), "");
    type(dialog, 224, L"9000001");
    type(dialog, 225, L"沖縄県那覇市泉崎一丁目");
    type(dialog, 203, L"比嘉　次郎");
    // The keyboard works as in any dialog: Tab moves on from the postal
    // code, Enter is "保存後閉じる".
    HWND postal = GetDlgItem(dialog, 224);
    HWND address = GetDlgItem(dialog, 225);
    EXPECT_TRUE(e2e::wait_until([&] { return e2e::focused_window(dialog) == postal; },
                                e2e::kWaitTimeout));
    e2e::post_key_to(postal, VK_TAB);
    EXPECT_TRUE(e2e::wait_until([&] { return e2e::focused_window(dialog) == address; },
                                e2e::kWaitTimeout))
        << "focus on " << GetDlgCtrlID(e2e::focused_window(dialog));
    e2e::post_key_to(address, VK_RETURN);
    EXPECT_TRUE(e2e::wait_until([&] { return !IsWindow(dialog); }, e2e::kWaitTimeout));
    exit_program(true);

    std::wstring senders = file(L"zelko1.txt");
    EXPECT_EQ(number_of(senders, L"fdata_cont_max"), 2);
    EXPECT_EQ(utf8(value_of(senders, L"fdata[0].n[0].s")), "山田　太郎");
    EXPECT_EQ(utf8(value_of(senders, L"fdata[1].t")), "9000001");
    EXPECT_EQ(utf8(value_of(senders, L"fdata[1].a[0].s")), "沖縄県那覇市泉崎一丁目");
    EXPECT_EQ(utf8(value_of(senders, L"fdata[1].n[0].s")), "比嘉　次郎");
}

TEST_F(LayoutSender, CloseBoxWithYesLeavesTheFilesAsTheyWere) {
    start_with_cards(L"discard");
    const std::string senders = dir_->read(L"zelko1.txt");
    const std::string addressees = dir_->read(L"zelko2.txt");

    HWND layout = open(kToolbarCardLayout, kLayoutCaption);
    ASSERT_NE(layout, nullptr);
    type(layout, 216, L"123");
    press(layout, 142);  // "画面更新": stored into the card
    ASSERT_TRUE(e2e::post_close_box(layout));
    answer(L"閉じる", L"修正を破棄して閉じていいですか？", IDNO);
    ASSERT_TRUE(app_->settle());
    EXPECT_TRUE(IsWindow(layout)) << "No keeps the dialog open";
    ASSERT_TRUE(e2e::post_close_box(layout));
    answer(L"閉じる", L"修正を破棄して閉じていいですか？", IDYES);
    EXPECT_TRUE(e2e::wait_until([&] { return !IsWindow(layout); }, e2e::kWaitTimeout));

    HWND sender = open(kToolbarSenderEditor, kSenderCaption);
    ASSERT_NE(sender, nullptr);
    type(sender, 203, L"別の名前");
    // "〒→住所" on the sender's 〒150-0001: the address line holds text,
    // so the program asks first; No keeps it, Yes replaces it.
    type(sender, 224, L"〒150-0001");
    ASSERT_TRUE(e2e::click_button(sender, kSenderPostalToAddress));
    answer(L"住所自動入力", L"住所を「東京都渋谷区神宮前」に置き換えますか？", IDNO);
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(utf8(e2e::item_text(sender, 225)), "東京都渋谷区神宮前一丁目");
    ASSERT_TRUE(e2e::click_button(sender, kSenderPostalToAddress));
    answer(L"住所自動入力", L"住所を「東京都渋谷区神宮前」に置き換えますか？", IDYES);
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(utf8(e2e::item_text(sender, 225)), "東京都渋谷区神宮前");
    EXPECT_EQ(utf8(e2e::item_text(sender, 224)), "1500001");
    EXPECT_EQ(utf8(e2e::item_text(sender, 203)), "別の名前");
    press(sender, 131);  // "画面更新"
    ASSERT_TRUE(e2e::post_close_box(sender));
    answer(L"閉じる", L"修正を破棄して閉じていいですか？", IDYES);
    EXPECT_TRUE(e2e::wait_until([&] { return !IsWindow(sender); }, e2e::kWaitTimeout));

    exit_program(false);  // nothing changed: no save question
    EXPECT_EQ(dir_->read(L"zelko1.txt"), senders);
    EXPECT_EQ(dir_->read(L"zelko2.txt"), addressees);
    EXPECT_FALSE(dir_->exists(L"zelko3.txt"));
}

}  // namespace

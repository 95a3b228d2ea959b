// The main window in use, driven through its real windows: stepping through
// the cards, dragging an item into place, File > New, saving through the
// real save dialog, and the exit save with its failure.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/driver_win32.h"

using e2e::App;
using e2e::TempDir;
using e2e::utf8;
using e2e::answer;
using e2e::expect_message_box;
using e2e::sample_picture;
using e2e::screenshot;

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

// The card on the main window's client area: base_w x base_h pixels at the
// preview origin.
const RECT kCardArea{10, 50, 410, 642};

// Address line 0 of the default layout starts at card point (370, 100): in
// the client area it runs down from (380, 150) with its cells to the left.
constexpr int kLineX = 370;
constexpr int kLineY = 170;

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        if (e2e::environment(L"ZK_EXE").empty()) GTEST_SKIP() << "ZK_EXE is not set";
    }

    // A working folder with three cards, one sender and the sample
    // background, and the program started in it.
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
        ASSERT_EQ(app_->find_message_box(), nullptr);
    }

    // The program started again in the same folder.
    void restart() {
        app_.reset(new App(dir_->path()));
        main_ = app_->start();
        ASSERT_NE(main_, nullptr);
        ASSERT_TRUE(app_->settle());
    }

    std::string card() const {
        EXPECT_TRUE(app_->settle());
        return e2e::client_pixels(main_, kCardArea);
    }

    // A click without movement on address line 0: the document counts as
    // changed afterwards, nothing moves.
    void click_address_line() const {
        app_->post_mouse(WM_LBUTTONDOWN, MK_LBUTTON, kLineX, kLineY);
        app_->post_mouse(WM_LBUTTONUP, 0, kLineX, kLineY);
        ASSERT_TRUE(app_->settle());
    }

    void exit_without_save_question() {
        app_->post_close();
        ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
        DWORD code = 99;
        ASSERT_TRUE(app_->wait_exit(&code)) << "the program did not end";
        EXPECT_EQ(code, 0u);
    }

    void exit_with_save() {
        app_->post_close();
        ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
        ASSERT_TRUE(answer(*app_, L"ファイル書込確認", L"保存しますか？", IDYES));
        DWORD code = 99;
        ASSERT_TRUE(app_->wait_exit(&code)) << "the program did not end";
        EXPECT_EQ(code, 0u);
    }

    std::wstring layout_file() const { return e2e::utf16le_text(dir_->read(L"zelko3.txt")); }

    // Runs a save command and types `name` (a file of the working folder)
    // into the real save dialog.
    void save_as(int command, const std::wstring& name, const wchar_t* artifact = nullptr) {
        app_->post_command(command);
        HWND dialog = app_->wait_dialog(L"ファイルの保存");
        ASSERT_NE(dialog, nullptr) << "no save dialog";
        HWND edit = GetDlgItem(dialog, 0x480);  // edt1, the file name
        if (!edit || !IsWindowVisible(edit)) edit = e2e::find_descendant(dialog, L"Edit");
        ASSERT_NE(edit, nullptr) << "no file name field";
        std::wstring proposed = e2e::window_text(edit);
        EXPECT_NE(proposed.find(L"無題"), std::wstring::npos) << utf8(proposed);
        if (artifact) screenshot(dialog, artifact);
        ASSERT_TRUE(e2e::set_control_text(edit, dir_->file(name)));
        ASSERT_TRUE(App::answer(dialog, IDOK)) << "the save dialog did not close";
    }

    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<App> app_;
    HWND main_ = nullptr;
};

TEST_F(Shell, ArrowKeysAndToolbarCommandsStepThroughTheCards) {
    start_with_cards(L"steps");
    screenshot(main_, L"main_window_card1.bmp");
    const std::string first = card();
    ASSERT_FALSE(first.empty());

    app_->post_key(VK_RIGHT);
    const std::string second = card();
    EXPECT_TRUE(second != first) << "the right arrow shows the next card";
    app_->post_key(VK_RIGHT);
    const std::string third = card();
    EXPECT_TRUE(third != second);
    EXPECT_TRUE(third != first);
    screenshot(main_, L"main_window_card3.bmp");
    app_->post_key(VK_RIGHT);
    EXPECT_TRUE(card() == first) << "after the last card the right arrow wraps to the first";
    app_->post_key(VK_LEFT);
    EXPECT_TRUE(card() == first) << "the left arrow stops at the first card";

    app_->post_command(333);  // the toolbar's previous button wraps to the last card
    EXPECT_TRUE(card() == third);
    app_->post_key(VK_LEFT);
    EXPECT_TRUE(card() == second);
    app_->post_command(334);  // next
    EXPECT_TRUE(card() == third);
    app_->post_command(334);
    EXPECT_TRUE(card() == first);

    EXPECT_EQ(app_->find_message_box(), nullptr);
    exit_without_save_question();  // stepping changes nothing that is saved
    EXPECT_FALSE(dir_->exists(L"zelko3.txt"));
}

TEST_F(Shell, DraggedAddressLineIsStoredAndSavedAtExit) {
    start_with_cards(L"drag");
    screenshot(main_, L"main_window_before_drag.bmp");
    const std::string before = card();

    app_->post_mouse(WM_LBUTTONDOWN, MK_LBUTTON, kLineX, kLineY);
    ASSERT_TRUE(app_->settle());
    // With Shift held the move is no drag: nothing is drawn.
    app_->post_mouse(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, kLineX - 100, kLineY + 100);
    EXPECT_TRUE(card() == before);
    app_->post_mouse(WM_MOUSEMOVE, MK_LBUTTON, kLineX - 15, kLineY + 10);
    const std::string halfway = card();
    EXPECT_TRUE(halfway != before) << "the line follows the mouse";
    app_->post_mouse(WM_MOUSEMOVE, MK_LBUTTON, kLineX - 30, kLineY + 20);
    EXPECT_TRUE(card() != halfway);
    app_->post_mouse(WM_LBUTTONUP, 0, kLineX - 30, kLineY + 20);
    const std::string after = card();
    EXPECT_TRUE(after != before);
    screenshot(main_, L"main_window_after_drag.bmp");

    // The stored position shows on the card after stepping away and back.
    app_->post_key(VK_RIGHT);
    app_->post_key(VK_LEFT);
    EXPECT_TRUE(card() == after);

    exit_with_save();
    const std::wstring layouts = layout_file();
    EXPECT_NE(layouts.find(L"hdata[0].ta.xy[0].x=340\r\n"), std::wstring::npos);
    EXPECT_NE(layouts.find(L"hdata[0].ta.xy[0].y=120\r\n"), std::wstring::npos);
    EXPECT_NE(layouts.find(L"hdata[0].ta.xy[1].x=335\r\n"), std::wstring::npos)
        << "the other lines stay";
    EXPECT_NE(layouts.find(L"hdata[1].ta.xy[0].x=370\r\n"), std::wstring::npos)
        << "other cards keep their layout";
    const std::wstring addressees = e2e::utf16le_text(dir_->read(L"zelko2.txt"));
    EXPECT_NE(addressees.find(L"hdata_cont_max=3\r\n"), std::wstring::npos);
    EXPECT_NE(addressees.find(L"hdata[2].tn.m[0].s=高橋　美咲　様\r\n"), std::wstring::npos);
    const std::wstring senders = e2e::utf16le_text(dir_->read(L"zelko1.txt"));
    EXPECT_NE(senders.find(L"fdata[0].n[0].s=山田　太郎\r\n"), std::wstring::npos);
    for (const std::wstring& name : dir_->names()) {
        bool expected = name == L"base1.bmp" || name == L"zelko1.txt" || name == L"zelko2.txt" ||
                        name == L"zelko3.txt" || name == L"backup";
        EXPECT_TRUE(expected) << "left behind: " << utf8(name);
    }
}

TEST_F(Shell, NewAsksBeforeDiscardingChangesAndKeepsTheFiles) {
    start_with_cards(L"new");
    const std::string addressees = dir_->read(L"zelko2.txt");
    click_address_line();
    const std::string shown = card();

    app_->post_command(51);
    ASSERT_TRUE(answer(*app_, L"新規作成！", L"保存せず新規にして良いですか？", IDNO));
    EXPECT_TRUE(card() == shown) << "No keeps the cards";

    app_->post_command(51);
    ASSERT_TRUE(answer(*app_, L"新規作成！", L"保存せず新規にして良いですか？", IDYES));
    const std::string empty = card();
    EXPECT_TRUE(empty != shown) << "the new document shows an empty card";
    screenshot(main_, L"main_window_new_document.bmp");
    app_->post_key(VK_RIGHT);
    EXPECT_TRUE(card() == empty) << "no card is in use";

    // The new document is unchanged: no save question at exit.
    exit_without_save_question();
    EXPECT_EQ(dir_->read(L"zelko2.txt"), addressees);
    EXPECT_FALSE(dir_->exists(L"zelko3.txt"));
}

TEST_F(Shell, SaveDialogWritesATxtNameAndRefusesAnyOther) {
    start_with_cards(L"save");
    click_address_line();

    save_as(55, L"差出_控え.txt", L"save_dialog.bmp");
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(app_->find_message_box(), nullptr) << "a new file is written without a question";
    const std::wstring copy = e2e::utf16le_text(dir_->read(L"差出_控え.txt"));
    EXPECT_EQ(copy.rfind(L"fdata_cont_max=1\r\nfdata[0].t=1500001\r\n", 0), 0u) << utf8(copy);

    save_as(56, L"宛先.csv");
    ASSERT_TRUE(answer(*app_, L"ファイル保存！", L"拡張子違い又は未選択で保存しません。", IDOK));
    EXPECT_FALSE(dir_->exists(L"宛先.csv"));

    // Saving the sender file alone cleared the changed mark.
    exit_without_save_question();
    EXPECT_FALSE(dir_->exists(L"zelko3.txt"));
}

TEST_F(Shell, BitmapExportWritesThePreviewOfTheCurrentCard) {
    start_with_cards(L"bitmap");
    app_->post_key(VK_RIGHT);
    ASSERT_TRUE(app_->settle());
    save_as(59, L"card.bmp");
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(app_->find_message_box(), nullptr);
    const std::string bmp = dir_->read(L"card.bmp");
    EXPECT_EQ(bmp.size(), 710454u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    std::wstring artifacts = e2e::environment(L"ZK_ARTIFACTS");
    if (!artifacts.empty())
        CopyFileW(dir_->file(L"card.bmp").c_str(), (artifacts + L"\\exported_card2.bmp").c_str(),
                  FALSE);
    exit_without_save_question();
}

TEST_F(Shell, ReadOnlySenderFileKeepsTheProgramOpenAtExit) {
    start_with_cards(L"readonly");
    click_address_line();
    const std::string addressees = dir_->read(L"zelko2.txt");
    const unsigned long long addressees_time = dir_->write_time(L"zelko2.txt");
    dir_->set_read_only(L"zelko1.txt", true);

    app_->post_close();
    ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
    ASSERT_TRUE(answer(*app_, L"ファイル書込確認", L"保存しますか？", IDYES));
    ASSERT_TRUE(answer(*app_, L"差出ファイル書込エラー",
                       L"ファイルが開きません。\r\n書込中止します。", IDOK));
    ASSERT_TRUE(app_->settle());
    EXPECT_TRUE(app_->running()) << "the program stays open";
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_EQ(app_->find_message_box(), nullptr);
    EXPECT_EQ(dir_->read(L"zelko2.txt"), addressees) << "the later files are not written";
    EXPECT_EQ(dir_->write_time(L"zelko2.txt"), addressees_time);
    EXPECT_FALSE(dir_->exists(L"zelko3.txt"));

    // Writable again: the next exit saves all three.
    dir_->set_read_only(L"zelko1.txt", false);
    exit_with_save();
    EXPECT_TRUE(dir_->exists(L"zelko3.txt"));
    EXPECT_NE(dir_->write_time(L"zelko2.txt"), addressees_time);
}

TEST_F(Shell, PrintPositionShowsTheDefaultPrinterAndMarksTheDocumentChanged) {
    start_with_cards(L"position");
    app_->post_command(65);
    // The default printer was read at start-up (the printer question was
    // answered No), so the dialog opens at once and names it.
    HWND position = app_->wait_dialog(L"印刷の位置設定");
    ASSERT_NE(position, nullptr) << "no print position dialog";
    EXPECT_EQ(utf8(e2e::window_text(GetDlgItem(position, 327))),
              utf8(L"プリンタ　" + e2e::default_printer()));
    EXPECT_FALSE(IsWindowEnabled(main_)) << "modal to the main window";
    ASSERT_TRUE(App::answer(position, 108));  // "ｷｬﾝｾﾙ"
    ASSERT_TRUE(app_->settle());
    EXPECT_TRUE(IsWindowEnabled(main_));
    // The dialog was cancelled, yet the exit offers to save.
    exit_with_save();
    EXPECT_TRUE(dir_->exists(L"zelko3.txt"));
}

TEST_F(Shell, PKeyOpensThePrintDialog) {
    start_with_cards(L"print");
    app_->post_key('P');
    HWND print = app_->wait_other_dialog();
    ASSERT_NE(print, nullptr) << "no print dialog";
    ASSERT_TRUE(App::answer(print, IDCANCEL));
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(app_->find_message_box(), nullptr);
    exit_without_save_question();
}

TEST_F(Shell, ManualWithoutItsFileGivesNoMessage) {
    TempDir dir(L"manual");
    App app(dir.path());
    ASSERT_NE(app.start(), nullptr);
    app.post_command(68);
    ASSERT_TRUE(app.settle());
    EXPECT_EQ(app.find_message_box(), nullptr);
    EXPECT_TRUE(app.running());
    app.post_close();
    ASSERT_TRUE(answer(app, L"Zelkovane", L"終了しますか？", IDYES));
    EXPECT_TRUE(app.wait_exit(nullptr));
}

// Two runs that save at exit. The first keeps the files the test wrote in
// the backup folder; in the second another program appends to zelko2.txt:
// the exit asks, Cancel stays, No leaves it and writes the others, whose
// backups are the first run's files byte for byte (none of zelko1.txt,
// which holds the bytes of its newest copy). In a third run zelko2.txt is
// read-only: two exit saves fail at it and leave the backup folder as it
// was.
TEST_F(Shell, BackupsAndFilesChangedByAnotherProgramAtExit) {
    start_with_cards(L"backup");
    const std::string original = dir_->read(L"zelko2.txt");
    click_address_line();
    exit_with_save();
    const std::string first = dir_->read(L"zelko1.txt");
    restart();
    click_address_line();
    const std::string appended = original + e2e::utf16le_file(L"hdata[3].tt.m=1\r\n").substr(2);
    dir_->write(L"zelko2.txt", appended);
    for (int button : {IDCANCEL, IDNO}) {
        app_->post_close();
        ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
        ASSERT_TRUE(answer(*app_, L"ファイル書込確認", L"保存しますか？", IDYES));
        HWND box = expect_message_box(
            *app_, L"ファイル書込確認", L"zelko2.txtは他のプログラムで変更されています。上書きしますか？");
        ASSERT_NE(box, nullptr);
        if (button == IDCANCEL) screenshot(box, L"changed_file_question.bmp");
        ASSERT_TRUE(App::answer(box, button));
        if (button == IDCANCEL) ASSERT_TRUE(app_->settle() && app_->running()) << "Cancel stays";
    }
    ASSERT_TRUE(app_->wait_exit(nullptr)) << "No ends the program";
    EXPECT_EQ(dir_->read(L"zelko2.txt"), appended);

    const std::vector<std::wstring> kept = dir_->names(L"backup");
    ASSERT_EQ(kept.size(), 3u) << "each file once: the second run's zelko1.txt equals its copy";
    EXPECT_EQ(kept[0].substr(0, 7), L"zelko1-");
    EXPECT_EQ(dir_->read(L"backup\\" + kept[0]), first);
    EXPECT_EQ(kept[1].substr(0, 7), L"zelko2-");
    EXPECT_EQ(dir_->read(L"backup\\" + kept[1]), original);
    EXPECT_EQ(kept[2].substr(0, 7), L"zelko3-");

    restart();
    click_address_line();
    dir_->set_read_only(L"zelko2.txt", true);
    for (int attempt = 0; attempt < 2; ++attempt) {
        app_->post_close();
        ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
        ASSERT_TRUE(answer(*app_, L"ファイル書込確認", L"保存しますか？", IDYES));
        ASSERT_TRUE(answer(*app_, L"宛先ファイル書込エラー", L"ファイルが開きません。\r\n書込中止します。", IDOK));
        ASSERT_TRUE(app_->settle() && app_->running()) << "a failed save stays";
    }
    EXPECT_EQ(dir_->names(L"backup"), kept) << "a failed save keeps no copy and removes none";
    EXPECT_EQ(dir_->read(L"zelko2.txt"), appended);
    dir_->set_read_only(L"zelko2.txt", false);
    app_->post_close();
    ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
    ASSERT_TRUE(answer(*app_, L"ファイル書込確認", L"保存しますか？", IDNO));
    ASSERT_TRUE(app_->wait_exit(nullptr));
}

// A second Zelkovane.exe in the same folder brings the minimised first
// window back to the front and ends without a question; another folder runs
// beside it.
TEST_F(Shell, ASecondStartInTheSameFolderBringsTheFirstForwardAndEnds) {
    start_with_cards(L"second");
    ShowWindow(main_, SW_MINIMIZE);
    ASSERT_TRUE(e2e::wait_until([&] { return IsIconic(main_) != FALSE; }, e2e::kWaitTimeout));
    App second(dir_->path());
    DWORD code = 99;
    ASSERT_TRUE(second.wait_exit(&code, e2e::kStartTimeout)) << "the second copy still runs";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(e2e::wait_until([&] { return !IsIconic(main_) && GetForegroundWindow() == main_; },
                                e2e::kWaitTimeout));
    screenshot(main_, L"second_start_first_window.bmp");

    TempDir other(L"second-other");
    App beside(other.path());
    ASSERT_NE(beside.start(), nullptr) << "another folder starts as usual";
    beside.kill();
    exit_without_save_question();
    EXPECT_FALSE(dir_->exists(L"zelko3.txt")) << "no file was written";
}

}  // namespace

// Start-up and exit of Zelkovane.exe, driven through its real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "render/window_geometry.h"
#include "tests/e2e/driver_win32.h"

using e2e::App;
using e2e::TempDir;
using e2e::utf8;
using e2e::expect_message_box;
using e2e::screenshot;

namespace {

const std::wstring kSenders =
    L"fdata_cont_max=1\r\nfdata[0].t=1000001\r\nfdata[0].a[0].s=東京都千代田区\r\n"
    L"fdata[0].a[1].s=\r\nfdata[0].n[0].s=山田太郎\r\nfdata[0].n[1].s=\r\n";
const std::wstring kAddressees =
    L"hdata_cont_max=1\r\nhdata[0].tt.m=5300001\r\nhdata[0].ta.m[0].s=大阪府大阪市\r\n"
    L"hdata[0].tn.m[0].s=鈴木花子\r\nhdata[0].ftb=0\r\n";
const std::wstring kLayouts =
    L"hdata_cont_max=1\r\nhdata[0].base_w=400\r\nhdata[0].base_h=592\r\n"
    L"hdata[0].base_filepass=base1.bmp\r\nbase_pw=1000\r\nbase_ph=1480\r\n";

// Answers the exit question with Yes and expects a clean end.
void exit_with_yes(App& app) {
    HWND box = expect_message_box(app, L"Zelkovane", L"終了しますか？");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(App::answer(box, IDYES));
    DWORD code = 99;
    ASSERT_TRUE(app.wait_exit(&code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
}

class StartupExit : public ::testing::Test {
protected:
    void SetUp() override {
        if (e2e::environment(L"ZK_EXE").empty()) GTEST_SKIP() << "ZK_EXE is not set";
    }
};

TEST_F(StartupExit, EmptyFolderShowsTheMainWindowAndExitsOnlyOnYes) {
    TempDir dir(L"empty");
    App app(dir.path());
    ASSERT_TRUE(app.started());
    HWND main = app.start();
    ASSERT_NE(main, nullptr) << "the printer question, then the main window";
    EXPECT_EQ(app.find_message_box(), nullptr) << "no other message at a start without data files";
    EXPECT_EQ(utf8(e2e::window_text(main)), "Zelkovane Ver1.05");

    RECT r;
    GetWindowRect(main, &r);
    WindowPlacement expected =
        main_window_placement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(r.right - r.left, 435);
    EXPECT_EQ(r.bottom - r.top, 730);
    EXPECT_EQ(r.left, expected.left);
    EXPECT_EQ(r.top, expected.top);
    EXPECT_TRUE(GetMenu(main) != nullptr);
    ASSERT_TRUE(app.settle());
    screenshot(main, L"main_window_empty.bmp");

    // The close box asks; No keeps the program running.
    app.post_close();
    HWND box = expect_message_box(app, L"Zelkovane", L"終了しますか？");
    ASSERT_NE(box, nullptr);
    screenshot(box, L"exit_question.bmp");
    ASSERT_TRUE(App::answer(box, IDNO));
    ASSERT_TRUE(app.settle());
    EXPECT_TRUE(app.running());
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(app.find_message_box(), nullptr);

    // Nothing was changed, so Yes ends the program without the save question.
    app.post_close();
    exit_with_yes(app);
    EXPECT_TRUE(dir.names().empty()) << "an unchanged document writes no file";
}

TEST_F(StartupExit, DataFilesAreLoadedSilentlyAndLeftUntouchedAtExit) {
    TempDir dir(L"data");
    dir.write(L"zelko1.txt", e2e::utf16le_file(kSenders));
    dir.write(L"zelko2.txt", e2e::utf16le_file(kAddressees));
    dir.write(L"zelko3.txt", e2e::utf16le_file(kLayouts));
    const std::vector<std::wstring> files = {L"zelko1.txt", L"zelko2.txt", L"zelko3.txt"};
    std::vector<std::string> before;
    std::vector<unsigned long long> times;
    for (const auto& f : files) {
        before.push_back(dir.read(f));
        times.push_back(dir.write_time(f));
    }

    App app(dir.path());
    ASSERT_NE(app.start(), nullptr);
    ASSERT_TRUE(app.settle());
    EXPECT_EQ(app.find_message_box(), nullptr) << "valid data files load without a message";

    // The exit command of the menu bar asks the same question.
    app.post_command(71);
    HWND box = expect_message_box(app, L"Zelkovane", L"終了しますか？");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(App::answer(box, IDNO));
    ASSERT_TRUE(app.settle());
    EXPECT_TRUE(app.running());

    app.post_command(71);
    exit_with_yes(app);
    EXPECT_EQ(dir.names(), files) << "no temporary or extra files";
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(dir.read(files[i]), before[i]) << utf8(files[i]);
        EXPECT_EQ(dir.write_time(files[i]), times[i]) << utf8(files[i]);
    }
}

TEST_F(StartupExit, AddresseeFileWithoutByteOrderMarkIsReportedAtStartup) {
    TempDir dir(L"nobom");
    const std::string ansi = "hdata_cont_max=1\r\nhdata[0].tn.m[0].s=abc\r\n";
    dir.write(L"zelko1.txt", e2e::utf16le_file(kSenders));
    dir.write(L"zelko2.txt", ansi);

    App app(dir.path());
    ASSERT_TRUE(app.started());
    HWND box = expect_message_box(app, L"ErrorFileRead", L"zelko2.txtがWide文字で有りません!。");
    ASSERT_NE(box, nullptr);
    screenshot(box, L"startup_no_bom.bmp");
    ASSERT_TRUE(App::answer(box, IDOK));
    // The files are loaded before the printer question is asked.
    ASSERT_TRUE(app.answer_printer_question(false));
    ASSERT_NE(app.wait_main_window(), nullptr);
    ASSERT_TRUE(app.settle());
    EXPECT_EQ(app.find_message_box(), nullptr) << "one message and the printer question only";

    app.post_close();
    exit_with_yes(app);
    EXPECT_EQ(dir.read(L"zelko2.txt"), ansi);
}

TEST_F(StartupExit, ExitItemOfTheMenuBarIsReachedByItsMnemonic) {
    TempDir dir(L"mnemonic");
    App app(dir.path());
    ASSERT_NE(app.start(), nullptr);
    ASSERT_TRUE(app.settle());
    app.post_menu_key(L'x');  // Alt+X: "終了(&X)"
    exit_with_yes(app);
}

TEST_F(StartupExit, AboutBoxOpensFromTheHelpMenuAndClosesWithOk) {
    TempDir dir(L"about");
    App app(dir.path());
    HWND main = app.start();
    ASSERT_NE(main, nullptr);
    app.post_command(70);
    HWND about = app.wait_dialog(L"このソフトについて");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(GetWindow(about, GW_OWNER), main) << "modal to the main window";
    EXPECT_FALSE(IsWindowEnabled(main));
    // The 160-pixel picture stands at client x 30 with as much room on the
    // right (the box's width is given in dialog units: a pixel either way).
    RECT client;
    ASSERT_TRUE(GetClientRect(about, &client));
    EXPECT_NEAR(client.right - (30 + 160), 30, 1);
    // The date of the postal code data in use (the one built in here).
    const std::wstring postal = e2e::item_text(about, 401);
    EXPECT_TRUE(postal == L"郵便番号データ：なし" ||
                (postal.rfind(L"郵便番号データ：", 0) == 0 && postal.find(L"（組み込み）") != std::wstring::npos))
        << utf8(postal);
    screenshot(about, L"about_box.bmp");
    ASSERT_TRUE(App::answer(about, IDOK));
    ASSERT_TRUE(app.settle());
    EXPECT_TRUE(IsWindowEnabled(main));
    app.post_close();
    exit_with_yes(app);
}

// The toolbar stays across the top and the status bar along the bottom of
// the client area when the window changes its size.
TEST_F(StartupExit, BarsFollowTheWindowWhenItIsResized) {
    TempDir dir(L"resize");
    App app(dir.path());
    HWND main = app.start();
    ASSERT_NE(main, nullptr);
    HWND toolbar = e2e::find_descendant(main, L"ToolbarWindow32");
    HWND status = e2e::find_descendant(main, L"msctls_statusbar32");
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(status, nullptr);

    for (SIZE size : {SIZE{600, 520}, SIZE{380, 800}}) {
        ASSERT_TRUE(SetWindowPos(main, nullptr, 0, 0, size.cx, size.cy,
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
        ASSERT_TRUE(app.settle());
        RECT client, bar, tools;
        GetClientRect(main, &client);
        MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
        GetWindowRect(status, &bar);
        GetWindowRect(toolbar, &tools);
        EXPECT_EQ(bar.bottom, client.bottom) << size.cx << " x " << size.cy;
        EXPECT_EQ(bar.left, client.left);
        EXPECT_EQ(bar.right, client.right);
        EXPECT_EQ(tools.top, client.top);
        EXPECT_EQ(tools.right - tools.left, client.right - client.left);
    }
    screenshot(main, L"main_window_resized.bmp");
    app.post_close();
    exit_with_yes(app);
}

// Windows ends the session (shutdown, sign-out) as it does Notepad's:
// nothing changed lets it end at once; a change is offered for saving, the
// open editor's question first, and Cancel keeps the session; the end of
// the session then ends the program without more questions.
TEST_F(StartupExit, TheEndOfTheSessionOffersTheUnsavedChanges) {
    TempDir dir(L"session");
    dir.write(L"zelko1.txt", e2e::utf16le_file(kSenders));
    dir.write(L"zelko2.txt", e2e::utf16le_file(kAddressees));
    App app(dir.path());
    HWND main = app.start();
    ASSERT_NE(main, nullptr);
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    e2e::kWaitTimeout, &result));
    EXPECT_EQ(result, static_cast<DWORD_PTR>(TRUE)) << "nothing changed";
    EXPECT_EQ(app.find_message_box(), nullptr);

    app.post_command(63);  // 差出人の編集, and an address typed into it
    HWND editor = app.wait_dialog(L"差出人の設定");
    ASSERT_NE(editor, nullptr) << "no sender editor";
    ASSERT_TRUE(e2e::set_item_text(editor, 225, L"東京都港区"));
    const std::string before = dir.read(L"zelko1.txt");
    PostMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    ASSERT_TRUE(e2e::answer(app, L"差出人の設定", L"「差出人の設定」の変更を保存しますか？", IDYES));
    ASSERT_TRUE(e2e::answer(app, L"ファイル書込確認", L"保存しますか？", IDCANCEL));
    ASSERT_TRUE(app.settle());
    EXPECT_TRUE(app.running());
    EXPECT_EQ(dir.read(L"zelko1.txt"), before) << "Cancel writes nothing";

    PostMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    ASSERT_TRUE(e2e::answer(app, L"ファイル書込確認", L"保存しますか？", IDYES));
    ASSERT_TRUE(app.settle());
    EXPECT_NE(e2e::utf16le_text(dir.read(L"zelko1.txt")).find(L"fdata[0].a[0].s=東京都港区\r\n"),
              std::wstring::npos);
    EXPECT_TRUE(dir.exists(L"zelko3.txt"));
    PostMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    DWORD code = 99;
    ASSERT_TRUE(app.wait_exit(&code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
}

TEST_F(StartupExit, KeysAndUnknownCommandsLeaveTheProgramRunningWithoutMessages) {
    TempDir dir(L"keys");
    App app(dir.path());
    HWND main = app.start();
    ASSERT_NE(main, nullptr);
    for (int key : {VK_RIGHT, VK_LEFT, VK_ESCAPE, VK_RETURN}) app.post_key(key);
    app.post_command(9999);
    ASSERT_TRUE(app.settle());
    EXPECT_TRUE(app.running());
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(app.find_message_box(), nullptr);
    app.post_close();
    exit_with_yes(app);
}

}  // namespace

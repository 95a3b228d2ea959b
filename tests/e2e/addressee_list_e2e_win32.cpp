// The addressee list and the one-line editor through the real program: the
// list control, its header and in-place editor, the one-line editor's edits
// and combo boxes, saving into zelko2.txt with each addressee's history,
// the yearly round ("未送付を選択", printing the selected rows on the test
// printer, the line of the card year's counts), and the buttons "〒→住所",
// "郵便番号チェック" and "漢数字" with the postal codes updated from a file of
// Japan Post's.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/driver_win32.h"

using e2e::App;
using e2e::TempDir;
using e2e::utf8;

namespace {

constexpr int kList = 902;
constexpr int kCellEditor = 951;
constexpr int kNew = 106;
constexpr int kPostalCheck = 112;
constexpr int kOverflowCheck = 113;
constexpr int kSelectUnsent = 130;
constexpr int kSelectReply = 131;
constexpr int kRoundSummary = 132;
constexpr int kLinePostal = 234;
constexpr int kLineAddress = 238;
constexpr int kLinePostalToAddress = 120;
constexpr int kLineVerticalForm = 121;
// The page fields and the "selection" choice of the system print dialog
// (dlgs.h edt1, edt2, rad2).
constexpr int kFromPage = 0x480;
constexpr int kToPage = 0x481;
constexpr int kSelectionChoice = 0x421;

int count_pages(const std::string& ps) {
    int pages = 0;
    for (size_t at = ps.find("\n%%Page:"); at != std::string::npos; at = ps.find("\n%%Page:", at + 1)) ++pages;
    return pages;
}

// The postal code printed on each page of a job, read from the glyphs the
// printer driver shows by name ("/aj<n> glyphshow", consecutive for the
// digits 0 to 9): the first seven of a page are the addressee's code, whose
// first digit is `first_digit`.
std::vector<std::string> printed_codes(const std::string& ps, int first_digit) {
    std::vector<std::string> codes;
    for (size_t page = ps.find("\n%%Page:"); page != std::string::npos;) {
        size_t next = ps.find("\n%%Page:", page + 1);
        std::vector<int> glyphs;
        for (size_t at = ps.find("\n/aj", page); at < next && glyphs.size() < 7; at = ps.find("\n/aj", at + 1))
            if (ps.compare(ps.find(' ', at), 11, " glyphshow\n") == 0) glyphs.push_back(std::atoi(&ps[at + 4]));
        std::string code;
        for (int g : glyphs) code += static_cast<char>('0' + g - (glyphs[0] - first_digit));
        codes.push_back(code);
        page = next;
    }
    return codes;
}

int card_year_now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wMonth > 8 ? now.wYear + 1 : now.wYear;
}

const std::wstring kSenders =
    L"fdata_cont_max=1\r\nfdata[0].t=1500001\r\nfdata[0].a[0].s=東京都渋谷区神宮前一丁目\r\n"
    L"fdata[0].n[0].s=山田　太郎\r\n";

// Three addressees, each with its own status of last year: 鈴木 済/受 (5),
// 佐藤 済/未 (1), 高橋 止/未 (3); and of this card year: 鈴木 喪/未 (2),
// 佐藤 未/受 (4), 高橋 未/未 (0). `order` picks them by number, 0 to 2.
std::wstring addressees(const std::vector<int>& order = {0, 1, 2}) {
    const std::wstring last = std::to_wstring(card_year_now() - 1);
    const std::wstring year = std::to_wstring(card_year_now());
    const wchar_t* names[] = {L"鈴木　花子　様", L"佐藤　一郎　様", L"高橋　美咲　様"};
    const wchar_t* codes[] = {L"5300001", L"0600001", L"9000001"};
    const wchar_t* status[] = {L"5", L"1", L"3"};
    const wchar_t* this_year[] = {L"2", L"4", L"0"};
    std::wstring s = L"hdata_cont_max=" + std::to_wstring(order.size()) + L"\r\n";
    for (size_t i = 0; i < order.size(); ++i) {
        int a = order[i];
        std::wstring p = L"hdata[" + std::to_wstring(i) + L"].";
        s += p + L"tt.m=" + codes[a] + L"\r\n" + p + L"ta.m[0].s=住所" + std::to_wstring(a) + L"\r\n" +
             p + L"tn.m[0].s=" + names[a] + L"\r\n" + p + L"ftb=0\r\n" + p + L"typ[0].t=" +
             this_year[a] + L"\r\n" + p + L"typ[0].y=" + year + L"\r\n" + p + L"typ[1].t=" +
             status[a] + L"\r\n" + p + L"typ[1].y=" + last + L"\r\n";
    }
    return s;
}

class AddresseeList : public ::testing::Test {
protected:
    void SetUp() override {
        if (e2e::environment(L"ZK_EXE").empty()) GTEST_SKIP() << "ZK_EXE is not set";
    }
    void TearDown() override { app_.reset(); }

    void start(const wchar_t* tag, const std::wstring& cards = addressees(), bool background = false) {
        app_.reset();
        dir_.reset(new TempDir(tag));
        dir_->write(L"zelko1.txt", e2e::utf16le_file(kSenders));
        dir_->write(L"zelko2.txt", e2e::utf16le_file(cards));
        if (background && !e2e::sample_picture(L"base1.bmp").empty())
            dir_->copy_in(e2e::sample_picture(L"base1.bmp"), L"base1.bmp");
        app_.reset(new App(dir_->path()));
        ASSERT_TRUE(app_->started());
        ASSERT_NE(app_->start(false), nullptr);
        ASSERT_TRUE(app_->settle());
    }

    // 宛先の編集 from the menu; the list shows the `rows` cards.
    void open_list(int rows = 3) {
        app_->post_command(64);
        dialog_ = app_->wait_dialog(L"あて先の編集");
        ASSERT_NE(dialog_, nullptr) << "no addressee list";
        list_ = GetDlgItem(dialog_, kList);
        ASSERT_NE(list_, nullptr);
        ASSERT_TRUE(e2e::wait_until([&] { return e2e::list_row_count(list_) == rows; }, e2e::kWaitTimeout));
    }

    std::vector<std::string> column(int c) const {
        std::vector<std::string> out;
        for (int r = 0; r < e2e::list_row_count(list_); ++r) out.push_back(utf8(e2e::list_cell(list_, r, c)));
        return out;
    }

    bool wait_column(int c, const std::vector<std::string>& want) const {
        return e2e::wait_until([&] { return column(c) == want; }, e2e::kWaitTimeout);
    }

    void answer(const std::wstring& caption, const std::wstring& text, int button) {
        HWND box = app_->wait_message_box();
        ASSERT_NE(box, nullptr) << "no message box " << utf8(text);
        e2e::MessageBoxText shown = App::read_message_box(box);
        EXPECT_EQ(utf8(shown.caption), utf8(caption));
        EXPECT_EQ(utf8(shown.text), utf8(text));
        ASSERT_TRUE(App::answer(box, button));
    }

    void exit_saving(bool save = true) {
        app_->post_close();
        exit_saving_answered(save);
    }

    // The exit's own questions, after the close box: "終了しますか？", then
    // the open list's question when `list_question`, then the save.
    void exit_saving_answered(bool save = true, bool list_question = false) {
        answer(L"Zelkovane", L"終了しますか？", IDYES);
        if (list_question) answer(L"あて先の編集", L"「あて先の編集」の変更を保存しますか？", IDYES);
        answer(L"ファイル書込確認", L"保存しますか？", save ? IDYES : IDNO);
        ASSERT_TRUE(app_->wait_exit(nullptr)) << "the program did not end";
    }

    std::wstring saved() const { return e2e::utf16le_text(dir_->read(L"zelko2.txt")); }

    // Card i of the saved file has `key`=`value`.
    void expect_saved(int i, const std::wstring& key, const std::wstring& value) const {
        std::wstring line = L"hdata[" + std::to_wstring(i) + L"]." + key + L"=" + value + L"\r\n";
        EXPECT_NE(saved().find(line), std::wstring::npos) << utf8(line);
    }

    // The print dialog the program opened (a dialog with the page fields).
    HWND wait_print_dialog() const {
        HWND print = nullptr;
        e2e::wait_until([&] {
            print = nullptr;
            EnumWindows([](HWND w, LPARAM p) -> BOOL {
                if (IsWindowVisible(w) && e2e::class_name(w) == L"#32770" && GetDlgItem(w, kFromPage)) {
                    *reinterpret_cast<HWND*>(p) = w;
                    return FALSE;
                }
                return TRUE;
            }, reinterpret_cast<LPARAM>(&print));
            return print != nullptr;
        }, e2e::kWaitTimeout);
        return print;
    }

    // OK in the print dialog, Yes to the confirmation, then the job the test
    // printer wrote, once complete and `window` is enabled again ("" on
    // time-out). The job is left in ZK_ARTIFACTS as `name` (unless it is
    // nullptr). `during` runs
    // once the job has started.
    std::string print_job(HWND print, HWND window, const std::wstring& output, const wchar_t* name,
                          const std::function<void()>& during = nullptr) {
        if (!App::answer(print, IDOK)) return "";
        HWND box = app_->wait_message_box();
        if (!box || utf8(App::read_message_box(box).caption) != "PageSize") return "";
        confirmation_ = utf8(App::read_message_box(box).text);
        if (!App::answer(box, IDYES)) return "";
        if (during) during();
        std::string ps;
        bool done = e2e::wait_until([&] {
            ps.clear();
            HANDLE h = CreateFileW(output.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
            if (h == INVALID_HANDLE_VALUE) return false;
            char buffer[65536];
            DWORD got = 0;
            while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) ps.append(buffer, got);
            CloseHandle(h);
            return ps.find("%%EOF") != std::string::npos && IsWindowEnabled(window);
        }, e2e::kJobTimeout);
        if (!done) return "";
        std::wstring artifacts = e2e::environment(L"ZK_ARTIFACTS");
        if (!artifacts.empty() && name != nullptr) {
            CreateDirectoryW(artifacts.c_str(), nullptr);
            HANDLE h = CreateFileW((artifacts + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            if (h != INVALID_HANDLE_VALUE) {
                WriteFile(h, ps.data(), static_cast<DWORD>(ps.size()), &written, nullptr);
                CloseHandle(h);
            }
        }
        DeleteFileW(output.c_str());
        return ps;
    }

    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<App> app_;
    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
    std::string confirmation_;  // the text of the last print confirmation
};

// The list's question before the exit, and before a file replaces the cards.
constexpr const wchar_t* kListQuestion = L"「あて先の編集」の変更を保存しますか？";

const std::vector<std::string> kDescending = {"高橋　美咲　様", "鈴木　花子　様", "佐藤　一郎　様"};

TEST_F(AddresseeList, SortEditAddDeleteAndSaveKeepEachAddresseesHistory) {
    start(L"list");
    open_list();
    if (HasFatalFailure()) return;
    EXPECT_EQ(column(14), (std::vector<std::string>{"済/受", "済/未", "止/未"}));
    // A second request brings the same list to the front.
    app_->post_command(332);
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(app_->wait_dialog(L"あて先の編集"), dialog_);

    // 氏名0 starts as ascending: the first click sorts descending.
    ASSERT_TRUE(e2e::list_click_header(list_, 0));
    ASSERT_TRUE(wait_column(0, kDescending));
    EXPECT_EQ(column(14), (std::vector<std::string>{"止/未", "済/受", "済/未"}));

    // The in-place editor on 鈴木's postal code, ended with Enter.
    ASSERT_TRUE(e2e::list_right_click_cell(list_, 1, 10));
    HWND editor = nullptr;
    ASSERT_TRUE(e2e::wait_until([&] { return (editor = GetDlgItem(dialog_, kCellEditor)) != nullptr; },
                                e2e::kWaitTimeout))
        << "no cell editor";
    EXPECT_EQ(utf8(e2e::list_cell(list_, 1, 10)), "");
    ASSERT_TRUE(e2e::set_control_text(editor, L"5300009"));
    e2e::post_key_to(editor, VK_RETURN);
    ASSERT_TRUE(e2e::wait_until([&] { return GetDlgItem(dialog_, kCellEditor) == nullptr; },
                                e2e::kWaitTimeout))
        << "the cell editor stayed";
    EXPECT_EQ(utf8(e2e::list_cell(list_, 1, 10)), "5300009");

    // 新規 through the one-line editor.
    ASSERT_TRUE(e2e::click_button(dialog_, 106));
    HWND line = app_->wait_dialog(L"１行編集");
    ASSERT_NE(line, nullptr) << "no one-line editor";
    EXPECT_EQ(utf8(e2e::item_text(line, 328)), "編集行　4/3行");
    EXPECT_EQ(utf8(e2e::item_text(line, 307)), "差出　1/1");
    EXPECT_EQ(utf8(e2e::item_text(line, 308)), "山田　太郎");
    ASSERT_TRUE(e2e::set_item_text(line, 234, L"1000001"));
    ASSERT_TRUE(e2e::set_item_text(line, 239, L"新井　次郎　様"));
    ASSERT_TRUE(e2e::set_item_text(line, 240, L"あらい　じろう"));
    ASSERT_TRUE(e2e::set_item_text(line, 238, L"東京都千代田区"));
    ASSERT_TRUE(e2e::choose_combo_item(line, 272, L"済/受"));
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(utf8(e2e::item_text(line, 272)), "済/受");
    e2e::capture_window(line, L"one_line_editor_dialog.bmp");
    ASSERT_TRUE(e2e::click_button(line, 107));
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(line); }, e2e::kWaitTimeout));
    ASSERT_TRUE(wait_column(0, {"高橋　美咲　様", "鈴木　花子　様", "佐藤　一郎　様", "新井　次郎　様"}));
    EXPECT_EQ(utf8(e2e::list_cell(list_, 3, 14)), "済/受");
    EXPECT_EQ(utf8(e2e::list_cell(list_, 3, 12)), "山田　太郎");
    ASSERT_TRUE(e2e::list_select_rows(list_, {3}));
    // Beside the main window the list reaches past the test screen's edge.
    SetWindowPos(dialog_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    e2e::capture_window(dialog_, L"addressee_list_dialog.bmp");

    // 削除 of 佐藤, then 保存後閉じる.
    ASSERT_TRUE(e2e::list_select_rows(list_, {2}));
    ASSERT_TRUE(e2e::click_button(dialog_, 103));
    ASSERT_TRUE(wait_column(0, {"高橋　美咲　様", "鈴木　花子　様", "新井　次郎　様"}));
    ASSERT_TRUE(e2e::click_button(dialog_, 107));
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(dialog_); }, e2e::kWaitTimeout));
    exit_saving();
    if (HasFatalFailure()) return;

    const std::wstring year = std::to_wstring(card_year_now() - 1);
    EXPECT_NE(saved().find(L"hdata_cont_max=3\r\n"), std::wstring::npos) << utf8(saved());
    expect_saved(0, L"tn.m[0].s", L"高橋　美咲　様");
    expect_saved(0, L"typ[1].t", L"3");
    expect_saved(1, L"tn.m[0].s", L"鈴木　花子　様");
    expect_saved(1, L"tt.m", L"5300009");
    expect_saved(1, L"typ[1].t", L"5");
    expect_saved(2, L"tn.m[0].s", L"新井　次郎　様");
    expect_saved(2, L"tt.m", L"1000001");
    expect_saved(2, L"typ[1].t", L"5");
    expect_saved(2, L"typ[1].y", year);
    expect_saved(2, L"yomi.s", L"あらい　じろう");
    EXPECT_EQ(saved().find(L"佐藤"), std::wstring::npos);
}

// The pages are compared outside Wine (scripts/check_addressee_list_print.py)
// with a reference job: a fresh run whose only cards are the two addressees
// that still need a card, printed from the main window.
TEST_F(AddresseeList, TheDecemberRoundPrintsAndMarksExactlyTheAddresseesWithoutACard) {
    const std::wstring output = e2e::environment(L"ZK_PRINTER_OUTPUT");
    if (output.empty()) GTEST_SKIP() << "ZK_PRINTER_OUTPUT is not set";
    if (e2e::default_printer() != L"Zelkovane Test Printer")
        GTEST_SKIP() << "the test printer is not the default printer";
    start(L"listprint");
    open_list();
    if (HasFatalFailure()) return;
    DeleteFileW(output.c_str());
    const std::string year = std::to_string(card_year_now());
    EXPECT_EQ(utf8(e2e::item_text(dialog_, kRoundSummary)), year + "年　済 0・未 2・喪 1・止 0　受 1");
    ASSERT_TRUE(e2e::list_click_header(list_, 0));
    ASSERT_TRUE(wait_column(0, kDescending));
    EXPECT_EQ(column(13), (std::vector<std::string>{"未/未", "喪/未", "未/受"}));

    // Beside the main window the list reaches past the test screen's edge.
    SetWindowPos(dialog_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // January's job first: the card that came and wants a reply.
    ASSERT_TRUE(e2e::click_button(dialog_, kSelectReply));
    ASSERT_TRUE(e2e::wait_until([&] { return e2e::list_selected_rows(list_) == std::vector<int>{2}; },
                                e2e::kWaitTimeout));
    e2e::capture_window(dialog_, L"addressee_list_reply.bmp");
    // December's: 高橋 and 佐藤, not 鈴木 in mourning between them.
    ASSERT_TRUE(e2e::click_button(dialog_, kSelectUnsent));
    ASSERT_TRUE(e2e::wait_until([&] { return e2e::list_selected_rows(list_) == std::vector<int>{0, 2}; },
                                e2e::kWaitTimeout));
    EXPECT_EQ(app_->find_message_box(), nullptr);
    e2e::capture_window(dialog_, L"addressee_list_round.bmp");
    ASSERT_TRUE(e2e::click_button(dialog_, 108));

    // The print dialog opens on the selection; the pages offered are the
    // first and the last selected card.
    HWND print = wait_print_dialog();
    ASSERT_NE(print, nullptr) << "no print dialog";
    EXPECT_EQ(IsDlgButtonChecked(print, kSelectionChoice), BST_CHECKED);
    EXPECT_EQ(utf8(e2e::window_text(GetDlgItem(print, kFromPage))), "1");
    EXPECT_EQ(utf8(e2e::window_text(GetDlgItem(print, kToPage))), "3");
    std::string ps = print_job(print, dialog_, output, L"addressee_list_print.ps");
    ASSERT_FALSE(ps.empty()) << "no complete job";
    EXPECT_NE(confirmation_.find("で2枚印刷していいですか？"), std::string::npos) << confirmation_;
    EXPECT_EQ(count_pages(ps), 2);
    ASSERT_TRUE(wait_column(13, {"済/未", "喪/未", "済/受"}));
    EXPECT_TRUE(e2e::list_selected_rows(list_).empty());
    EXPECT_EQ(utf8(e2e::item_text(dialog_, kRoundSummary)), year + "年　済 2・未 0・喪 1・止 0　受 1");

    // Nothing is left to send.
    ASSERT_TRUE(e2e::click_button(dialog_, kSelectUnsent));
    answer(L"あて先の編集", std::to_wstring(card_year_now()) + L"年の年賀状をまだ出していない宛先はありません。",
           IDOK);

    // The printed addressees are the selected ones, marked as sent, the
    // reply keeping its 受. The print wrote the sorted list into the cards:
    // the open list offers to keep that.
    app_->post_close();
    exit_saving_answered(true, true);
    if (HasFatalFailure()) return;
    const std::wstring wyear = std::to_wstring(card_year_now());
    expect_saved(0, L"tn.m[0].s", L"高橋　美咲　様");
    expect_saved(0, L"typ[0].t", L"1");
    expect_saved(0, L"typ[0].y", wyear);
    expect_saved(1, L"tn.m[0].s", L"鈴木　花子　様");
    expect_saved(1, L"typ[0].t", L"2");
    expect_saved(1, L"typ[1].t", L"5");  // 鈴木's own last year stays with her
    expect_saved(1, L"typ[1].y", std::to_wstring(card_year_now() - 1));
    expect_saved(2, L"tn.m[0].s", L"佐藤　一郎　様");
    expect_saved(2, L"typ[0].t", L"5");
    expect_saved(2, L"typ[0].y", wyear);

    // The reference: 高橋 and 佐藤 alone, pages 1 to 2 from the main window.
    start(L"listref", addressees({2, 1}));
    app_->post_key('P');
    print = wait_print_dialog();
    ASSERT_NE(print, nullptr) << "no print dialog";
    ASSERT_TRUE(e2e::set_control_text(GetDlgItem(print, kToPage), L"2"));
    ps = print_job(print, app_->main_window(), output, L"addressee_list_reference.ps");
    ASSERT_FALSE(ps.empty()) << "no complete reference job";
    EXPECT_EQ(confirmation_.find("枚"), std::string::npos) << "the main window's question is unchanged";
    EXPECT_EQ(count_pages(ps), 2);
    exit_saving(false);
}

// Between two pages the job serves the program's messages: a 削除 and a
// 画面更新 of the list and a 宛先情報開く of the main window posted there do
// nothing, and the job holds exactly the selected cards in the list's order.
TEST_F(AddresseeList, ATwentyCardJobTakesNoCommandBetweenItsPages) {
    const std::wstring output = e2e::environment(L"ZK_PRINTER_OUTPUT");
    if (output.empty()) GTEST_SKIP() << "ZK_PRINTER_OUTPUT is not set";
    if (e2e::default_printer() != L"Zelkovane Test Printer")
        GTEST_SKIP() << "the test printer is not the default printer";
    std::wstring cards = L"hdata_cont_max=22\r\n";
    std::vector<std::string> descending;
    for (int i = 0; i < 22; ++i) {
        std::wstring n = (i < 9 ? L"0" : L"") + std::to_wstring(i + 1);
        std::wstring k = L"hdata[" + std::to_wstring(i) + L"].";
        cards += k + L"tt.m=53000" + n + L"\r\n" + k + L"ta.m[0].s=大阪府" + n + L"番\r\n" + k +
                 L"tn.m[0].s=宛先　" + n + L"　様\r\n" + k + L"ftb=0\r\n";
        descending.insert(descending.begin(), utf8(L"宛先　" + n + L"　様"));
    }
    start(L"listjob", cards);
    open_list(22);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(e2e::list_click_header(list_, 0));
    ASSERT_TRUE(wait_column(0, descending));  // 22 down to 1, not saved
    std::vector<int> rows;
    for (int r = 1; r <= 20; ++r) rows.push_back(r);
    ASSERT_TRUE(e2e::list_select_rows(list_, rows));
    DeleteFileW(output.c_str());
    ASSERT_TRUE(e2e::click_button(dialog_, 108));
    HWND print = wait_print_dialog();
    ASSERT_NE(print, nullptr) << "no print dialog";
    EXPECT_FALSE(IsWindowEnabled(app_->main_window())) << "the main window waits for the dialog";
    std::string ps = print_job(print, dialog_, output, nullptr, [&] {
        HWND abort_dialog = app_->wait_dialog(L"Zelkovane");
        ASSERT_NE(abort_dialog, nullptr) << "no abort dialog";
        ASSERT_TRUE(e2e::wait_until([&] { return _wtoi(e2e::item_text(abort_dialog, 1001).c_str()) >= 2; },
                                    e2e::kJobTimeout));
        ASSERT_TRUE(e2e::list_select_rows(list_, {0}));
        ASSERT_TRUE(e2e::click_button(dialog_, 103));  // 削除
        ASSERT_TRUE(e2e::click_button(dialog_, 110));  // 画面更新
        app_->post_command(53);                         // 宛先情報開く
    });
    ASSERT_FALSE(ps.empty()) << "no complete job";
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(app_->find_message_box(), nullptr);
    EXPECT_EQ(app_->wait_dialog(L"ファイルの読込", 200), nullptr) << "no file dialog";
    EXPECT_EQ(count_pages(ps), 20);
    std::vector<std::string> codes;
    for (int n = 21; n >= 2; --n) codes.push_back("53000" + std::string(n < 10 ? "0" : "") + std::to_string(n));
    EXPECT_EQ(printed_codes(ps, 5), codes) << "the selected cards, in the list's order";
    EXPECT_EQ(column(0), descending) << "nothing deleted";
    std::vector<std::string> marks(22, "済/未");
    marks.front() = marks.back() = "未/未";
    EXPECT_EQ(column(13), marks);
    app_->post_close();
    exit_saving_answered(true, true);
    if (HasFatalFailure()) return;
    for (int i = 0; i < 22; ++i) {
        SCOPED_TRACE(i);
        std::wstring n = (i > 12 ? L"0" : L"") + std::to_wstring(22 - i);
        expect_saved(i, L"tn.m[0].s", L"宛先　" + n + L"　様");
        EXPECT_EQ(saved().find(L"hdata[" + std::to_wstring(i) + L"].typ[0].t=1\r\n") != std::wstring::npos,
                  i >= 1 && i <= 20);
    }
}

TEST_F(AddresseeList, AStatusEditedAfterASortStaysWithItsAddresseeThroughTheExitQuestion) {
    start(L"listexit");
    open_list();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(e2e::list_click_header(list_, 0));
    ASSERT_TRUE(wait_column(0, kDescending));  // 高橋 moved from the third card to the first row
    ASSERT_TRUE(e2e::list_select_rows(list_, {0}));
    ASSERT_TRUE(e2e::click_button(dialog_, 101));  // 編集
    HWND line = app_->wait_dialog(L"１行編集");
    ASSERT_NE(line, nullptr) << "no one-line editor";
    EXPECT_FALSE(IsWindowEnabled(app_->main_window())) << "the main window waits for the editor";
    ASSERT_TRUE(e2e::choose_combo_item(line, 271, L"済/受"));
    ASSERT_TRUE(app_->settle());
    ASSERT_TRUE(e2e::click_button(line, 107));  // 閉じる
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(line); }, e2e::kWaitTimeout));
    ASSERT_TRUE(wait_column(13, {"済/受", "喪/未", "未/受"}));
    EXPECT_TRUE(IsWindowEnabled(app_->main_window()));

    // The close box of the main window with the list still open.
    app_->post_close();
    exit_saving_answered(true, true);
    if (HasFatalFailure()) return;
    const std::wstring year = std::to_wstring(card_year_now());
    expect_saved(0, L"tn.m[0].s", L"高橋　美咲　様");
    expect_saved(0, L"typ[0].t", L"5");
    expect_saved(0, L"typ[0].y", year);
    expect_saved(0, L"typ[1].t", L"3");
    expect_saved(1, L"tn.m[0].s", L"鈴木　花子　様");
    expect_saved(1, L"typ[1].t", L"5");
    expect_saved(2, L"tn.m[0].s", L"佐藤　一郎　様");
    expect_saved(2, L"typ[1].t", L"1");
    EXPECT_EQ(saved().find(L"hdata[1].typ[0].t=5"), std::wstring::npos);
    EXPECT_EQ(saved().find(L"hdata[2].typ[0].t=5"), std::wstring::npos);
}

TEST_F(AddresseeList, OpeningAnotherFileWithASortPendingLeavesTheLoadedCardsToTheExit) {
    start(L"listopen");
    dir_->write(L"other.txt", e2e::utf16le_file(addressees({1})));  // 佐藤 alone
    open_list();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(e2e::list_click_header(list_, 0));
    ASSERT_TRUE(wait_column(0, kDescending));
    // 宛先情報開く asks its own question and shows its file dialog before
    // the list is asked: Cancel in the dialog leaves the list as it was.
    app_->post_command(53);
    answer(L"開く！", L"保存せず開いて良いですか？", IDYES);
    ASSERT_TRUE(App::answer(app_->wait_dialog(L"ファイルの読込"), IDCANCEL));
    ASSERT_TRUE(app_->settle());
    ASSERT_TRUE(IsWindow(dialog_)) << "the list went with the cancelled open";
    app_->post_command(53);
    answer(L"開く！", L"保存せず開いて良いですか？", IDYES);
    ASSERT_TRUE(e2e::open_in_file_dialog(*app_, L"ファイルの読込", dir_->file(L"other.txt")));
    answer(L"あて先の編集", kListQuestion, IDNO);
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(dialog_); }, e2e::kWaitTimeout)) << "the list stayed";
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(app_->find_message_box(), nullptr);
    app_->post_command(64);  // the list shows the loaded card
    dialog_ = app_->wait_dialog(L"あて先の編集");
    ASSERT_NE(dialog_, nullptr);
    list_ = GetDlgItem(dialog_, kList);
    ASSERT_TRUE(wait_column(0, {"佐藤　一郎　様"}));
    ASSERT_TRUE(e2e::click_button(dialog_, 107));  // 保存後閉じる
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(dialog_); }, e2e::kWaitTimeout));
    exit_saving();
    if (HasFatalFailure()) return;
    EXPECT_NE(saved().find(L"hdata_cont_max=1\r\n"), std::wstring::npos) << utf8(saved());
    expect_saved(0, L"tn.m[0].s", L"佐藤　一郎　様");
    expect_saved(0, L"typ[1].t", L"1");
    EXPECT_EQ(saved().find(L"高橋"), std::wstring::npos);
}

TEST_F(AddresseeList, PostalCodeCheckSelectsTheBadRowAndTheButtonFillsTheAddress) {
    std::wstring cards = addressees();
    cards.replace(cards.find(L"=0600001"), 8, L"=060001");  // 佐藤's code lost a digit
    start(L"postal", cards);
    open_list();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(e2e::list_select_rows(list_, {0}));
    ASSERT_TRUE(e2e::click_button(dialog_, kPostalCheck));
    ASSERT_NE(app_->wait_message_box(), nullptr);
    // The bad row stands selected behind the message.
    EXPECT_EQ(e2e::list_selected_rows(list_), std::vector<int>{1});
    answer(L"郵便番号チェック", L"郵便番号が７桁でないか見つからない行が1行あります", IDOK);

    // 新規: 1500001 and "〒→住所" fill the empty address line.
    ASSERT_TRUE(e2e::click_button(dialog_, kNew));
    HWND line = app_->wait_dialog(L"１行編集");
    ASSERT_NE(line, nullptr) << "no one-line editor";
    ASSERT_TRUE(e2e::set_item_text(line, kLinePostal, L"1500001"));
    ASSERT_TRUE(e2e::click_button(line, kLinePostalToAddress));
    EXPECT_TRUE(e2e::wait_until([&] { return e2e::item_text(line, kLineAddress) == L"東京都渋谷区神宮前"; },
                                e2e::kWaitTimeout))
        << "address " << utf8(e2e::item_text(line, kLineAddress));
    EXPECT_EQ(app_->find_message_box(), nullptr);
    ASSERT_TRUE(e2e::click_button(line, 107));  // 閉じる
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(line); }, e2e::kWaitTimeout));
    ASSERT_TRUE(wait_column(5, {"住所0", "住所1", "住所2", "東京都渋谷区神宮前"}));
    ASSERT_TRUE(e2e::click_button(dialog_, 107));  // 保存後閉じる
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(dialog_); }, e2e::kWaitTimeout));
    exit_saving();
    if (HasFatalFailure()) return;
    expect_saved(3, L"tt.m", L"1500001");
    expect_saved(3, L"ta.m[0].s", L"東京都渋谷区神宮前");
}

// A card whose address cannot be fitted even at half size: the status bar
// says so while it is shown, はみ出しチェック selects its row, and the
// fitting switch is kept in its own file for the next start.
TEST_F(AddresseeList, OverflowCheckAndTheStatusBarFindTheCardThatCannotBeFitted) {
    std::wstring cards = addressees();
    cards.replace(cards.find(L"=住所1"), 4, L"=北海道札幌市中央区" + std::wstring(36, L'一'));
    start(L"overflow", cards);
    HWND main = app_->wait_main_window();
    HWND status = GetDlgItem(main, 1);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(e2e::status_part(status, 3).find(L"はみ出し"), std::wstring::npos);
    app_->post_key(VK_RIGHT);
    EXPECT_TRUE(e2e::wait_until([&] { return e2e::status_part(status, 3).rfind(L"はみ出し　", 0) == 0; },
                                e2e::kWaitTimeout))
        << utf8(e2e::status_part(status, 3));
    ASSERT_TRUE(app_->settle());
    e2e::screenshot(main, L"overflow_card.bmp");

    open_list();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(e2e::list_select_rows(list_, {0, 2}));
    ASSERT_TRUE(e2e::click_button(dialog_, kOverflowCheck));
    EXPECT_TRUE(e2e::wait_until([&] { return e2e::list_selected_rows(list_) == std::vector<int>{1}; },
                                e2e::kWaitTimeout));
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(app_->find_message_box(), nullptr);
    ASSERT_TRUE(e2e::click_button(dialog_, 107));  // 保存後閉じる
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(dialog_); }, e2e::kWaitTimeout));

    // 長い行を縮めて収める off: kept beside the data files and read at the
    // next start (where pressing it again turns it on).
    app_->post_command(73);
    EXPECT_TRUE(e2e::wait_until([&] { return dir_->read(L"zelko_fit.txt").size() > 2; }, e2e::kWaitTimeout));
    EXPECT_EQ(utf8(e2e::utf16le_text(dir_->read(L"zelko_fit.txt"))),
              "fit_long_lines=0\r\nalign_names=1\r\nvertical_forms=1\r\nkanji_digits=0\r\n");
    exit_saving(false);
    if (HasFatalFailure()) return;
    app_.reset(new App(dir_->path()));
    ASSERT_TRUE(app_->started());
    main = app_->start(false);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(app_->settle());
    app_->post_command(73);
    EXPECT_TRUE(e2e::wait_until([&] {
        return e2e::utf16le_text(dir_->read(L"zelko_fit.txt")) ==
               L"fit_long_lines=1\r\nalign_names=1\r\nvertical_forms=1\r\nkanji_digits=0\r\n";
    }, e2e::kWaitTimeout));
}

// "漢数字" in the one-line editor on the two address lines as typed; the
// card before and after are the manual's pictures.
TEST_F(AddresseeList, VerticalFormButtonConvertsTheTypedAddressForTheExitSave) {
    const RECT card_area{10, 50, 410, 642};
    const wchar_t* typed[] = {L"大阪市北区梅田1-2-3", L"ABCﾋﾞﾙ101"};
    std::wstring cards = addressees();
    cards.replace(cards.find(L"住所0"), 3, std::wstring(typed[0]) + L"\r\nhdata[0].ta.m[1].s=" + typed[1]);
    start(L"vertical", cards, true);
    e2e::screenshot(app_->main_window(), L"vertical_form_before.bmp");
    const std::string before = e2e::client_pixels(app_->main_window(), card_area);
    open_list();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(e2e::list_select_rows(list_, {0}));
    ASSERT_TRUE(e2e::click_button(dialog_, 101));  // 編集
    HWND line = app_->wait_dialog(L"１行編集");
    ASSERT_NE(line, nullptr) << "no one-line editor";
    const wchar_t* want[] = {L"大阪市北区梅田一ー二ー三", L"ＡＢＣビル一〇一"};
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(e2e::set_item_text(line, kLineAddress, typed[k]));
        ASSERT_TRUE(e2e::click_button(line, kLineVerticalForm));
        EXPECT_TRUE(e2e::wait_until([&] { return e2e::item_text(line, kLineAddress) == want[k]; },
                                    e2e::kWaitTimeout))
            << "address " << utf8(e2e::item_text(line, kLineAddress));
        if (k > 0) break;
        ASSERT_TRUE(e2e::click_button(line, 101));  // ＋: the second line
        ASSERT_TRUE(e2e::wait_until([&] { return e2e::item_text(line, 301) == L"項目　2/5"; },
                                    e2e::kWaitTimeout));
    }
    ASSERT_TRUE(e2e::click_button(line, 107));  // 閉じる
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(line); }, e2e::kWaitTimeout));
    ASSERT_TRUE(wait_column(5, {utf8(want[0]), "住所1", "住所2"}));
    ASSERT_TRUE(e2e::click_button(dialog_, 107));  // 保存後閉じる
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(dialog_); }, e2e::kWaitTimeout));
    ASSERT_TRUE(app_->settle());
    EXPECT_NE(e2e::client_pixels(app_->main_window(), card_area), before);
    e2e::screenshot(app_->main_window(), L"vertical_form_after.bmp");
    exit_saving();
    if (HasFatalFailure()) return;
    expect_saved(0, L"ta.m[0].s", want[0]);
    expect_saved(0, L"ta.m[1].s", want[1]);
}

// ファイル > 郵便番号データの更新 from an address file of Japan Post's
// (utf_ken_all.csv) into the user's data folder; then "〒→住所" finds a code only that file has, and a code
// of two towns offers them in a menu: Esc keeps the city, a town chosen
// goes into the line.
TEST_F(AddresseeList, PostalCodesUpdatedFromJapanPostsFileAndTownsChosenFromAMenu) {
    // The prefix's own folder, the same for the program: the updated table
    // is removed before and after, so that no other test sees it.
    wchar_t local[MAX_PATH];
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)));
    struct UpdatedTable {
        std::wstring path;
        ~UpdatedTable() { DeleteFileW(path.c_str()); }
    } table{std::wstring(local) + L"\\Zelkovane\\postal_codes.bin"};
    DeleteFileW(table.path.c_str());
    const wchar_t* records[][2] = {{L"9012345", L"新町"}, {L"9012346", L"東町"}, {L"9012346", L"西町"}};
    std::wstring file;
    for (auto& r : records)
        file += std::wstring(L"47201,\"901  \",\"") + r[0] + L"\",\"ｵｷﾅﾜｹﾝ\",\"ﾅﾊｼ\",\"ｼﾝﾏﾁ\",\"沖縄県\",\"那覇市\",\"" +
                r[1] + L"\",0,0,0,0,0,0\r\n";
    start(L"update");
    if (HasFatalFailure()) return;
    std::string bytes(file.size() * 3, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, file.data(), static_cast<int>(file.size()), &bytes[0],
                                     static_cast<int>(bytes.size()), nullptr, nullptr));
    dir_->write(L"utf_ken_all.csv", bytes);
    app_->post_command(76);
    ASSERT_TRUE(e2e::open_in_file_dialog(*app_, L"ファイルの読込", dir_->file(L"utf_ken_all.csv")));
    answer(L"郵便番号データの更新", L"事業所の個別郵便番号（JIGYOSYO.CSV）も読み込みますか？", IDNO);
    answer(L"郵便番号データの更新", L"2件の郵便番号を読み込みました。", IDOK);
    EXPECT_NE(GetFileAttributesW(table.path.c_str()), INVALID_FILE_ATTRIBUTES);

    open_list();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(e2e::click_button(dialog_, kNew));
    HWND line = app_->wait_dialog(L"１行編集");
    ASSERT_NE(line, nullptr) << "no one-line editor";
    auto fill = [&](const wchar_t* code, int key, const wchar_t* want) {
        ASSERT_TRUE(e2e::set_item_text(line, kLineAddress, L""));
        ASSERT_TRUE(e2e::set_item_text(line, kLinePostal, code));
        ASSERT_TRUE(e2e::click_button(line, kLinePostalToAddress));
        if (key != 0) {
            HWND menu = nullptr;
            ASSERT_TRUE(e2e::wait_until([&] { return (menu = FindWindowW(L"#32768", nullptr)) && IsWindowVisible(menu); },
                                        e2e::kWaitTimeout))
                << "no menu of towns";
            if (key == VK_RETURN) {
                e2e::post_key_to(menu, VK_DOWN);
                e2e::post_key_to(menu, VK_DOWN);
            }
            e2e::post_key_to(menu, key);
        }
        EXPECT_TRUE(e2e::wait_until([&] { return e2e::item_text(line, kLineAddress) == want; }, e2e::kWaitTimeout))
            << utf8(code) << ": address " << utf8(e2e::item_text(line, kLineAddress));
    };
    fill(L"901-2345", 0, L"沖縄県那覇市新町");
    fill(L"9012346", VK_ESCAPE, L"沖縄県那覇市");
    fill(L"9012346", VK_RETURN, L"沖縄県那覇市西町");
    fill(L"1500001", 0, L"");  // not in the updated table
    answer(L"住所自動入力", L"郵便番号1500001は見つかりません", IDOK);
    ASSERT_TRUE(e2e::click_button(line, 105));  // キャンセル
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(line); }, e2e::kWaitTimeout));
    ASSERT_TRUE(e2e::click_button(dialog_, 107));  // 保存後閉じる
    ASSERT_TRUE(e2e::wait_until([&] { return !IsWindow(dialog_); }, e2e::kWaitTimeout));
    exit_saving(false);
}

}  // namespace

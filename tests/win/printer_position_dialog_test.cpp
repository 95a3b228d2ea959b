// The print position dialog as a real modal dialog: a thread timer drives
// it from inside its own message loop, types into its edits and presses its
// buttons, with bounded waiting. Skipped while the program's resources carry
// only a placeholder template without the dialog's controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "print/print_dialog_ids.h"
#include "print/print_position_dialog.h"
#include "print/printer_state.h"
#include "render/gdi_renderer.h"
#include "render/paper_metrics.h"
#include "tests/win/printer_test_support.h"

namespace {

using namespace printer_test;

bool template_has_controls() {
    HRSRC found = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PRINT_POSITION),
                                reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (found == nullptr) return false;
    // DIALOGEX: dlgVer, signature, helpID, exStyle, style, then cDlgItems.
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    if (data == nullptr) return false;
    WORD items = *reinterpret_cast<const WORD*>(data + 16);
    return items >= 20;
}

// One step of a script run from a thread timer inside the dialog's modal
// loop; returns true when done with that step.
using Step = std::function<bool(HWND dialog)>;

struct Driver {
    std::vector<Step> steps;
    size_t next = 0;
    int ticks = 0;
    HWND dialog = nullptr;
    bool timed_out = false;
};
Driver* g_driver = nullptr;

HWND find_dialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) -> BOOL {
            wchar_t caption[64] = {};
            GetWindowTextW(w, caption, 64);
            if (std::wstring(caption) == L"印刷の位置設定" && IsWindowVisible(w)) {
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK drive(HWND, UINT, UINT_PTR, DWORD) {
    Driver& d = *g_driver;
    if (++d.ticks > 400) {  // 20 s at 50 ms: give up and close the dialog
        d.timed_out = true;
        if (d.dialog) PostMessageW(d.dialog, WM_CLOSE, 0, 0);
        return;
    }
    if (d.dialog == nullptr) d.dialog = find_dialog();
    if (d.dialog == nullptr || d.next >= d.steps.size()) return;
    if (d.steps[d.next](d.dialog)) ++d.next;
}

// Runs the dialog with the script; the dialog's result.
int run_dialog(Driver& driver) {
    g_driver = &driver;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, drive);
    int result = print_position_dialog(nullptr);
    KillTimer(nullptr, timer);
    g_driver = nullptr;
    return result;
}

std::wstring item_text(HWND dialog, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

void press(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A 24-bit BMP file of one colour.
std::string solid_bmp(int width, int height, COLORREF colour) {
    int row = (width * 3 + 3) & ~3;
    std::string file(54 + row * height, '\0');
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t at = 54 + static_cast<size_t>(y) * row + x * 3;
            file[at] = static_cast<char>(GetBValue(colour));
            file[at + 1] = static_cast<char>(GetGValue(colour));
            file[at + 2] = static_cast<char>(GetRValue(colour));
        }
    return file;
}

// The window's client area as a 24-bit BMP file (for a look at the layout).
std::string client_bmp(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    int width = r.right, height = r.bottom;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    int row = (width * 3 + 3) & ~3;
    std::string file(54 + static_cast<size_t>(row) * height, '\0');
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    GetDIBits(memory, bitmap, 0, height, &file[54], &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    BITMAPFILEHEADER head{};
    head.bfType = 0x4D42;
    head.bfSize = static_cast<DWORD>(file.size());
    head.bfOffBits = 54;
    std::memcpy(&file[0], &head, 14);
    std::memcpy(&file[14], &info.bmiHeader, 40);
    return file;
}

std::wstring artifacts_dir() {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"ZK_ARTIFACTS", buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    CreateDirectoryW(buffer, nullptr);
    return buffer;
}

class PrinterPositionDialogTest : public ::testing::Test {
protected:
    RecordingPlatform platform_;

    void SetUp() override {
        if (!template_has_controls()) GTEST_SKIP() << "dialog 6 is a placeholder template";
        std::memset(&doc(), 0, sizeof(Document));
        for (CardRecord& c : doc().hdata) set_default_layout(c);
        set_default_print_settings(doc().print);
        for (int i = 0; i < 12; ++i) text_set(doc().hdata[i].tn.m[0].s, u"名前");
        PrintSettings& s = doc().print;
        s.base_pw = 1000;
        s.base_ph = 1480;
        s.base_px = -5;
        s.base_py = 25;
        s.prn_mode = 3;
        s.start_p = 2;
        s.stop_p = 4;
        reset_printer_state();
        text_set(printer_state().printer_name, u"Zelkovane Test Printer");
        set_paper_size(2100, 2970);
    }
};

TEST_F(PrinterPositionDialogTest, FillsTypingRedrawsAfter300MsAndCancelRestoresTheLengths) {
    std::wstring printer_line, paper_line, offset_x;
    bool one_card_checked = false;
    DWORD typed_at = 0, taken_after = 0;
    Driver d;
    d.steps = {
        [&](HWND dlg) {
            printer_line = item_text(dlg, IDC_PP_PRINTER);
            paper_line = item_text(dlg, IDC_PP_PAPER);
            offset_x = item_text(dlg, IDC_PP_OFFSET_X);
            one_card_checked = IsDlgButtonChecked(dlg, IDC_PP_MODE_ONE) == BST_CHECKED;
            return true;
        },
        [&](HWND) { return doc().print.prn_mode == 0; },  // the read-back after the fill's edits
        [&](HWND dlg) {
            CheckRadioButton(dlg, IDC_PP_MODE_ONE, IDC_PP_MODE_RANGE, IDC_PP_MODE_ALL);
            SetDlgItemTextW(dlg, IDC_PP_CARD_WIDTH, L"105.3");
            typed_at = GetTickCount();
            return true;
        },
        [&](HWND) {
            if (doc().print.base_pw != 1053) return false;
            taken_after = GetTickCount() - typed_at;
            return true;
        },
        [&](HWND dlg) {
            press(dlg, IDC_PP_CANCEL);
            return true;
        },
    };
    int result = run_dialog(d);
    ASSERT_FALSE(d.timed_out) << "stopped at step " << d.next;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(printer_line, L"プリンタ　Zelkovane Test Printer");
    EXPECT_EQ(paper_line, L"用紙サイズ　210.0（横）×297.0（縦）単位mm");
    EXPECT_EQ(offset_x, L"-0.5");
    EXPECT_TRUE(one_card_checked);
    EXPECT_GE(taken_after, 250u);  // timer resolution allowed for
    // Cancel puts the four lengths back; the mode keeps the last read-back.
    EXPECT_EQ(doc().print.base_pw, 1000);
    EXPECT_EQ(doc().print.base_px, -5);
    EXPECT_EQ(doc().print.prn_mode, 1);
}

TEST_F(PrinterPositionDialogTest, OkTakesTheValuesWithTheRangeCorrected) {
    std::wstring start_shown, stop_shown;
    Driver d;
    d.steps = {
        [&](HWND dlg) {
            SetDlgItemTextW(dlg, IDC_PP_START, L"0");
            SetDlgItemTextW(dlg, IDC_PP_STOP, L"250");
            SetDlgItemTextW(dlg, IDC_PP_OFFSET_Y, L"3.25");
            CheckRadioButton(dlg, IDC_PP_MODE_ONE, IDC_PP_MODE_RANGE, IDC_PP_MODE_RANGE);
            CheckDlgButton(dlg, IDC_PP_BACKGROUND, BST_UNCHECKED);
            press(dlg, IDC_PP_REPREVIEW);
            start_shown = item_text(dlg, IDC_PP_START);
            stop_shown = item_text(dlg, IDC_PP_STOP);
            press(dlg, IDC_PP_OK);
            return true;
        },
    };
    int result = run_dialog(d);
    ASSERT_FALSE(d.timed_out);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(start_shown, L"1");
    EXPECT_EQ(stop_shown, L"12");
    EXPECT_EQ(doc().print.start_p, 1);
    EXPECT_EQ(doc().print.stop_p, 12);
    EXPECT_EQ(doc().print.base_py, 32);
    EXPECT_EQ(doc().print.prn_mode, 2);
    EXPECT_EQ(doc().print.bmp_mode, 0);
}

TEST_F(PrinterPositionDialogTest, PreviewShowsPaperAndCardToScaleAndCloseBoxCancels) {
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    ASSERT_TRUE(write_file(std::wstring(folder) + L"\\yousi.gdt", solid_bmp(8, 8, RGB(0, 0, 255))));
    std::wstring card = std::wstring(folder) + L"\\zk_print_card.bmp";
    ASSERT_TRUE(write_file(card, solid_bmp(8, 8, RGB(255, 0, 0))));
    load_preview_bitmap(reinterpret_cast<const char16_t*>(card.c_str()));

    COLORREF paper = CLR_INVALID, on_card = CLR_INVALID, left_of_paper = CLR_INVALID;
    Driver d;
    d.steps = {
        [&](HWND dlg) {
            SetDlgItemTextW(dlg, IDC_PP_OFFSET_X, L"0");
            press(dlg, IDC_PP_REPREVIEW);
            HDC dc = GetDC(dlg);
            paper = GetPixel(dc, 95 + 150, 150 + 250);  // on the A4 sheet, off the card
            on_card = GetPixel(dc, 95 + 50, 150 + 2 + 70);  // the card at (0, 2.5 mm)
            left_of_paper = GetPixel(dc, 90, 200);
            ReleaseDC(dlg, dc);
            std::wstring artifacts = artifacts_dir();
            if (!artifacts.empty())
                write_file(artifacts + L"\\print-position-dialog.bmp", client_bmp(dlg));
            return true;
        },
        [&](HWND dlg) {
            PostMessageW(dlg, WM_CLOSE, 0, 0);
            return true;
        },
    };
    int result = run_dialog(d);
    release_preview_bitmap();
    DeleteFileW((std::wstring(folder) + L"\\yousi.gdt").c_str());
    DeleteFileW(card.c_str());
    ASSERT_FALSE(d.timed_out);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(doc().print.base_px, -5);  // the close box puts the lengths back
    if (paper == CLR_INVALID) GTEST_SKIP() << "the display cannot be read back";
    EXPECT_EQ(paper, RGB(0, 0, 255));
    EXPECT_EQ(on_card, RGB(255, 0, 0));
    EXPECT_NE(left_of_paper, RGB(0, 0, 255));
}

TEST_F(PrinterPositionDialogTest, HelpButtonShowsItsMessage) {
    Driver d;
    d.steps = {
        [&](HWND dlg) {
            press(dlg, IDC_PP_HELP);
            press(dlg, IDC_PP_CANCEL);
            return true;
        },
    };
    run_dialog(d);
    ASSERT_FALSE(d.timed_out);
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(platform_.boxes[0].text, L"Internet Explorerが見つかりませんでした。");
    EXPECT_EQ(platform_.boxes[0].caption, L"残念！");
}

}  // namespace

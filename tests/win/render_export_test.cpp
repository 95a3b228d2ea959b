// The bitmap export from a real window (run under Wine on a display): the
// card area of the client is captured as the preview shows it and written
// as a 24-bit BMP. The exported picture of a sample card is kept in the
// artifacts folder for a person to look at.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/platform_win32.h"
#include "render/bitmap_export.h"
#include "render/gdi_renderer.h"
#include "render/window_geometry.h"
#include "tests/win/render_test_support.h"

namespace {

using namespace render_test;

const COLORREF kPostRed = RGB(214, 48, 49);

void frame(HDC dc, int left, int top, int right, int bottom) {
    Rectangle(dc, left, top, right, bottom);
}

// A printed postcard's address side as a background picture, 400 x 592:
// the stamp box, the title, the seven postal code boxes of the addressee
// and those of the sender, where the default layout puts the digits.
std::string postcard_background() {
    Canvas card(400, 592);
    HDC dc = card.dc();
    HPEN pen = CreatePen(PS_SOLID, 2, kPostRed);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));

    frame(dc, 16, 16, 84, 104);  // stamp
    for (int x : {183, 210, 237}) frame(dc, x - 6, 45, x + 18, 82);
    for (int x : {270, 296, 322, 348}) frame(dc, x - 6, 45, x + 18, 82);
    MoveToEx(dc, 256, 63, nullptr);
    LineTo(dc, 263, 63);
    for (int x : {29, 45, 61}) frame(dc, x - 2, 489, x + 13, 516);
    for (int x : {80, 96, 112, 128}) frame(dc, x - 2, 489, x + 13, 516);

    LOGFONTW lf{};
    lf.lfHeight = -20;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy(lf.lfFaceName, L"ＭＳ ゴシック");
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old_font = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kPostRed);
    TextOutW(dc, 120, 14, L"郵 便 は が き", 9);
    lf.lfHeight = -12;
    HFONT small = CreateFontIndirectW(&lf);
    SelectObject(dc, small);
    TextOutW(dc, 38, 52, L"切手", 2);

    SelectObject(dc, old_font);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(font);
    DeleteObject(small);
    DeleteObject(pen);
    return card.bmp(card.whole());
}

LRESULT CALLBACK preview_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        draw_card_preview(dc);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// A borderless top-most window of the main window's size that paints the
// preview, so that its client area matches the main window's.
class PreviewWindow {
public:
    PreviewWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = preview_window_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"ZelkoRenderExportTest";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"preview", WS_POPUP, 0, 0,
                                  kMainWindowWidth, kMainWindowHeight, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        if (window_) {
            ShowWindow(window_, SW_SHOW);
            UpdateWindow(window_);
        }
    }
    ~PreviewWindow() {
        if (window_) DestroyWindow(window_);
        UnregisterClassW(L"ZelkoRenderExportTest", GetModuleHandleW(nullptr));
    }
    HWND handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

uint32_t bmp_pixel(const std::string& file, int w, int h, int x, int y) {
    size_t row = (static_cast<size_t>(w) * 3 + 3) / 4 * 4;
    size_t at = kBmpHeadersSize + static_cast<size_t>(h - 1 - y) * row + 3 * static_cast<size_t>(x);
    auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(file[i])); };
    return b(at + 2) << 16 | b(at + 1) << 8 | b(at);
}

bool dark(uint32_t p) { return ((p >> 16) & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 100; }

int dark_pixels(const std::string& file, int w, int h, const Rect& card_rect) {
    int n = 0;
    for (int y = card_rect.top; y < card_rect.bottom; ++y)
        for (int x = card_rect.left; x < card_rect.right; ++x) n += dark(bmp_pixel(file, w, h, x, y));
    return n;
}

TEST(RenderExport, CapturesTheCardAreaOfTheWindowAsA24BitBmp) {
    TempFolder folder;
    reset_document(folder.path());
    install_win32_platform();
    ASSERT_TRUE(write_file(folder.file(L"base1.bmp"), postcard_background()));
    fill_sample_card(0);

    PreviewWindow window;
    ASSERT_NE(window.handle(), nullptr);
    std::wstring path = folder.file(L"card.bmp");
    ASSERT_EQ(export_bitmap(window.handle(), u16(path)), 0);

    std::string file = read_file(path);
    ASSERT_EQ(file.size(), 710454u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<uint8_t>(file[28]), 24);

    // The background's red boxes and the black digits at their places
    // (card coordinates: the capture starts at client point (10, 50)).
    EXPECT_EQ(bmp_pixel(file, 400, 592, 0, 0), 0xFFFFFFu);
    int red = 0;
    for (int x = 170; x < 186; ++x) red += bmp_pixel(file, 400, 592, x, 60) == 0xD63031u;
    EXPECT_GT(red, 0);  // left edge of the first box
    for (int x : {183, 210, 237, 270, 296, 322, 348})
        EXPECT_GT(dark_pixels(file, 400, 592, {x, 52, x + 16, 82}), 10) << "digit at " << x;
    EXPECT_GT(dark_pixels(file, 400, 592, {343, 100, 370, 400}), 200);  // address line 0

    std::wstring artifacts = artifacts_dir();
    if (!artifacts.empty()) {
        std::wstring kept = artifacts + L"\\render_card_preview.bmp";
        EXPECT_TRUE(CopyFileW(path.c_str(), kept.c_str(), FALSE));
    }
    release_preview_bitmap();
    std::memset(&doc(), 0, sizeof(Document));
}

}  // namespace

// The main window's toolbar, status bar and about box as Windows builds
// them: buttons, images and tooltips of the toolbar, parts and texts of the
// status bar, the start-up order with the printer question, and the about
// box's picture.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/about_box_win32.h"
#include "app/resource_ids.h"
#include "app/status_bar.h"
#include "app/status_bar_win32.h"
#include "app/toolbar_win32.h"
#include "app/window_bars_win32.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "platform/platform_win32.h"
#include "print/printer_state.h"
#include "print/printer_win32.h"
#include "render/card_renderer.h"
#include "render/gdi_renderer.h"
#include "render_test_support.h"
#include "tests/e2e/driver_win32.h"

namespace {

// --- A parent window like the main window -----------------------------------

// The id of the last tooltip request the parent answered.
UINT_PTR g_last_tip = 0;

LRESULT CALLBACK parent_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
        if (answer_toolbar_tooltip(header)) g_last_tip = header->idFrom;
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (dc) draw_card_preview(static_cast<DeviceContext>(dc));
        EndPaint(window, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

const wchar_t kParentClass[] = L"ZelkoBarTestParent";

HWND make_parent() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = parent_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.hbrBackground = CreateSolidBrush(RGB(238, 235, 218));
        wc.lpszClassName = kParentClass;
        registered = RegisterClassExW(&wc) != 0;
    }
    return CreateWindowExW(0, kParentClass, L"Zelkovane bars", WS_OVERLAPPEDWINDOW, 40, 40, 435,
                           730, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Takes the messages waiting for this thread (paints, sizes).
void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Serves this thread's messages until `done` holds or `ms` milliseconds
// have passed; returns whether it holds.
template <typename Done>
bool serve_until(Done done, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        pump();
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Saves what `window` shows (frame included), or the rectangle `area` of
// the screen, as a BMP into the test run's artifacts folder, if there is one.
void save_picture(const RECT& area, const wchar_t* name) {
    std::wstring folder = render_test::artifacts_dir();
    if (folder.empty()) return;
    int w = area.right - area.left, h = area.bottom - area.top;
    render_test::Canvas canvas(w, h);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    render_test::write_file(folder + L"\\" + name, canvas.bmp(canvas.whole()));
}

void save_window_picture(HWND window, const wchar_t* name) { e2e::capture_window(window, name); }

class BarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        std::memset(&doc(), 0, sizeof(Document));
        reset_layouts();
        reset_printer_state();
        parent = make_parent();
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override {
        set_preview_painted_hook(nullptr);
        if (parent) DestroyWindow(parent);
        pump();
        std::memset(&doc(), 0, sizeof(Document));
        reset_printer_state();
    }

    static std::wstring status_text(HWND bar, int part) {
        wchar_t text[300] = {};
        LRESULT length = SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0);
        if (LOWORD(length) >= 300) return L"(too long)";
        SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
        return text;
    }

    HWND parent = nullptr;
};

// --- Toolbar ----------------------------------------------------------------

TEST_F(BarsTest, ToolbarHasNineEnabledPushButtonsInOrderWithTheirImages) {
    HWND toolbar = create_toolbar(parent);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar_window(), toolbar);
    EXPECT_EQ(GetDlgCtrlID(toolbar), IDC_TOOLBAR);
    EXPECT_EQ(GetParent(toolbar), parent);
    LONG style = GetWindowLongW(toolbar, GWL_STYLE);
    const LONG wanted = WS_CHILD | WS_VISIBLE | CCS_ADJUSTABLE | TBSTYLE_TOOLTIPS |
                        TBSTYLE_ALTDRAG | TBSTYLE_FLAT;
    EXPECT_EQ(style & wanted, wanted);

    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 9);
    const int commands[9] = {330, 331, 332, 333, 334, 336, 335, 337, 338};
    for (int i = 0; i < 9; ++i) {
        TBBUTTON button{};
        ASSERT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.idCommand, commands[i]) << "button " << i;
        EXPECT_EQ(button.iBitmap, i) << "button " << i;
        EXPECT_TRUE(button.fsState & TBSTATE_ENABLED) << "button " << i;
        EXPECT_EQ(button.fsStyle, BTNS_BUTTON) << "button " << i;
    }

    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 9) << "one 32 x 32 image per button";
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);

    // The pictures' grey ground is drawn transparent; each picture has a
    // good deal of its own to show.
    for (int i = 0; i < 9; ++i) {
        render_test::Canvas canvas(32, 32);
        ASSERT_TRUE(canvas.valid());
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        RECT all{0, 0, 32, 32};
        FillRect(canvas.dc(), &all, magenta);
        DeleteObject(magenta);
        ASSERT_TRUE(ImageList_Draw(images, i, canvas.dc(), 0, 0, ILD_TRANSPARENT));
        EXPECT_EQ(canvas.pixel(0, 0), 0xFF00FFu) << "image " << i << " corner shows through";
        int drawn = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) drawn += canvas.pixel(x, y) != 0xFF00FFu;
        EXPECT_GT(drawn, 250) << "image " << i;
        EXPECT_LT(drawn, 32 * 32 - 40) << "image " << i;
    }

    // Tall enough for its pictures, and the card preview starts below it.
    RECT r{};
    GetWindowRect(toolbar, &r);
    EXPECT_GE(r.bottom - r.top, 32);
    EXPECT_LE(r.bottom - r.top, 50);
}

TEST_F(BarsTest, TooltipRequestsGetTheButtonsFixedTexts) {
    HWND toolbar = create_toolbar(parent);
    ASSERT_NE(toolbar, nullptr);
    struct Expect {
        UINT_PTR id;
        const wchar_t* text;
    };
    const Expect tips[] = {
        {330, L"はがきの下絵の設定"}, {331, L"宛主の設定"}, {332, L"宛先の設定"},
        {333, L"戻の表示"},           {334, L"次の表示"},   {336, L"印刷設定"},
        {335, L"印刷"},               {337, L"ヘルプ"},     {338, L"終了"},
    };
    for (const Expect& e : tips) {
        NMTTDISPINFOW request{};
        request.hdr.hwndFrom = toolbar;
        request.hdr.idFrom = e.id;
        request.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(parent, WM_NOTIFY, e.id, reinterpret_cast<LPARAM>(&request));
        ASSERT_NE(request.lpszText, nullptr) << e.id;
        EXPECT_STREQ(request.lpszText, e.text) << e.id;
    }

    // Other ids and other notifications are left as they came.
    wchar_t untouched[] = L"untouched";
    for (UINT_PTR id : {UINT_PTR{329}, UINT_PTR{339}, UINT_PTR{71}}) {
        NMTTDISPINFOW request{};
        request.hdr.hwndFrom = toolbar;
        request.hdr.idFrom = id;
        request.hdr.code = TTN_GETDISPINFOW;
        request.lpszText = untouched;
        SendMessageW(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&request));
        EXPECT_EQ(request.lpszText, untouched) << id;
    }
    NMTTDISPINFOW other{};
    other.hdr.idFrom = 335;
    other.hdr.code = TTN_GETDISPINFOA;
    other.lpszText = untouched;
    EXPECT_FALSE(answer_toolbar_tooltip(&other.hdr));
    EXPECT_EQ(other.lpszText, untouched);
    EXPECT_FALSE(answer_toolbar_tooltip(nullptr));
}

TEST_F(BarsTest, ToolbarsOwnTooltipAsksTheParentForTheText) {
    HWND toolbar = create_toolbar(parent);
    ASSERT_NE(toolbar, nullptr);
    HWND tooltip = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    for (UINT_PTR id : {UINT_PTR{336}, UINT_PTR{335}}) {
        wchar_t text[1024] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = toolbar;
        tool.uId = id;
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, id == 336 ? L"印刷設定" : L"印刷") << id;
    }
}

// The program icons draw their postcard with the red postal mark and leave
// the corners beside the card see-through.
TEST(ProgramIcons, DrawTheCardWithItsRedMarkOnAClearGround) {
    for (int id : {IDI_ZELKOVANE, IDI_ZELKOVANE_SMALL}) {
        int size = id == IDI_ZELKOVANE ? 32 : 16;
        HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << id;
        render_test::Canvas canvas(size, size);
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        RECT all{0, 0, size, size};
        FillRect(canvas.dc(), &all, magenta);
        DeleteObject(magenta);
        ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
        DestroyIcon(icon);
        EXPECT_EQ(canvas.pixel(0, 0), 0xFF00FFu) << id;
        EXPECT_EQ(canvas.pixel(size - 1, 0), 0xFF00FFu) << id;
        int red = 0, clear = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                uint32_t p = canvas.pixel(x, y);
                clear += p == 0xFF00FFu;
                red += ((p >> 16) & 0xFF) > 180 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
            }
        }
        EXPECT_GE(red, size == 32 ? 30 : 8) << id;
        EXPECT_GT(clear, size * size / 8) << id;
        EXPECT_LT(clear, size * size / 2) << id;
    }
}

// --- Status bar -------------------------------------------------------------

TEST_F(BarsTest, StatusBarHasFourPartsAndShowsTheTextsAfterARefresh) {
    install_win32_platform();  // the background's header is read through it
    HWND bar = create_status_bar(parent);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(status_bar_window(), bar);
    EXPECT_EQ(GetDlgCtrlID(bar), IDC_STATUS_BAR);
    EXPECT_TRUE(GetWindowLongW(bar, GWL_STYLE) & SBARS_SIZEGRIP);

    int edges[8] = {};
    ASSERT_EQ(SendMessageW(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 4);
    // The paper and page parts are as wide as their widest texts need (at
    // least their first widths), taken from the printer part.
    EXPECT_LE(edges[0], 160);
    EXPECT_GE(edges[0], STATUS_MIN_PRINTER_PART);
    EXPECT_GE(edges[1] - edges[0], 70);
    EXPECT_GE(edges[2] - edges[1], 60);
    EXPECT_EQ(edges[2], 290);
    EXPECT_EQ(edges[3], -1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(status_text(bar, i), L"") << "no text before a paint";

    // Along the bottom of the client area.
    RECT client{}, r{};
    GetClientRect(parent, &client);
    GetWindowRect(bar, &r);
    POINT bottom_right{client.right, client.bottom};
    ClientToScreen(parent, &bottom_right);
    EXPECT_EQ(r.bottom, bottom_right.y);

    for (int i = 0; i < 12; ++i) text_set(doc().hdata[i].tn.m[0].s, u"宛名");
    doc().current_card = 2;
    text_set(doc().hdata[2].base_filepass, u"D:\\pics\\x.bmp");
    text_set(printer_state().printer_name, u"Zelkovane Test Printer");
    text_set(printer_state().form_name, u"はがき");
    refresh_status();
    EXPECT_EQ(status_text(bar, 0), L"Prn:Zelkovane Test Printer");
    EXPECT_EQ(status_text(bar, 1), L"紙:はがき");
    EXPECT_EQ(status_text(bar, 2), L"Page:3/12");
    EXPECT_EQ(status_text(bar, 3), L"x.bmp");

    // An empty document and no printer: the bare prefixes.
    std::memset(&doc(), 0, sizeof(Document));
    reset_layouts();
    reset_printer_state();
    refresh_status();
    EXPECT_EQ(status_text(bar, 0), L"Prn:");
    EXPECT_EQ(status_text(bar, 1), L"紙:");
    EXPECT_EQ(status_text(bar, 2), L"Page:1/0");
    EXPECT_EQ(status_text(bar, 3), L"base1.bmp");

    // Once its window is gone the bar is left alone.
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(status_bar_window(), nullptr);
    refresh_status();
}

TEST_F(BarsTest, BarsFollowTheWindowWhenItIsResized) {
    HWND toolbar = create_toolbar(parent);
    HWND bar = create_status_bar(parent);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(bar, nullptr);
    SetWindowPos(parent, nullptr, 0, 0, 700, 900, SWP_NOMOVE | SWP_NOZORDER);
    follow_main_window_size();
    RECT client{};
    GetClientRect(parent, &client);
    RECT r{};
    GetWindowRect(bar, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_EQ(r.right, client.right);
    GetWindowRect(toolbar, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 0);
    EXPECT_GE(r.right, client.right);
}

// --- Start-up order ---------------------------------------------------------

// The Win32 platform, but the printer question is answered No without a box
// and what the window had at that moment is noted.
class QuestionPlatform final : public Platform {
public:
    explicit QuestionPlatform(HWND parent) : parent_(parent), real_(win32_platform()) {
        set_platform(this);
    }
    ~QuestionPlatform() override { set_platform(&real_); }

    std::vector<std::wstring> questions;
    std::vector<std::wstring> others;
    bool toolbar_then = false;
    bool status_bar_then = true;

    int message_box(WindowHandle, const char16_t* text, const char16_t* caption,
                    unsigned) override {
        std::wstring t = reinterpret_cast<const wchar_t*>(text);
        if (std::wstring(reinterpret_cast<const wchar_t*>(caption)) == L"印刷設定") {
            questions.push_back(t);
            toolbar_then = GetDlgItem(parent_, IDC_TOOLBAR) != nullptr;
            status_bar_then = FindWindowExW(parent_, nullptr, STATUSCLASSNAMEW, nullptr) != nullptr;
        } else {
            others.push_back(t);
        }
        return IDNO;
    }
    bool file_dialog(WindowHandle owner, FileDialogRequest& r) override {
        return real_.file_dialog(owner, r);
    }
    bool get_current_directory(char16_t* out, int cap) override {
        return real_.get_current_directory(out, cap);
    }
    bool set_current_directory(const char16_t* path) override {
        return real_.set_current_directory(path);
    }
    bool path_exists(const char16_t* path) override { return real_.path_exists(path); }
    FileHandle open_for_read(const char16_t* path) override { return real_.open_for_read(path); }
    size_t read(FileHandle f, void* buffer, size_t bytes) override {
        return real_.read(f, buffer, bytes);
    }
    bool close(FileHandle f) override { return real_.close(f); }
    bool replace_file(const char16_t* path, const void* data, size_t bytes) override {
        return real_.replace_file(path, data, bytes);
    }
    LocalTime local_time() override { return real_.local_time(); }
    void show_wait_window(WindowHandle owner) override { real_.show_wait_window(owner); }
    void close_wait_window() override { real_.close_wait_window(); }

private:
    HWND parent_;
    Platform& real_;
};

std::wstring default_printer_name() {
    wchar_t name[256] = {};
    DWORD size = 256;
    if (!GetDefaultPrinterW(name, &size)) return {};
    return name;
}

TEST_F(BarsTest, StartUpBuildsToolbarAsksThePrinterQuestionThenBuildsStatusBar) {
    install_win32_platform();
    install_win32_printer_spooler();
    render_test::TempFolder folder;
    render_test::reset_document(folder.path());
    for (int i = 0; i < 3; ++i) render_test::fill_sample_card(i);
    doc().current_card = 1;
    {
        QuestionPlatform answers(parent);
        create_toolbar_and_status(parent);
        ASSERT_EQ(answers.questions.size(), 1u);
        EXPECT_EQ(answers.questions[0], L"デフォルトプリンタをはがきサイズにしますか？");
        EXPECT_TRUE(answers.toolbar_then) << "the toolbar is built before the question";
        EXPECT_FALSE(answers.status_bar_then) << "the status bar is built after the question";
        EXPECT_TRUE(answers.others.empty()) << "reading the default printer reported a failure";
    }
    HWND bar = status_bar_window();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(status_text(bar, 0), L"") << "texts come with the first paint";

    // The first paint of the preview fills the status bar.
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    UpdateWindow(parent);
    std::wstring printer = default_printer_name();
    EXPECT_FALSE(printer.empty()) << "the Wine prefix has a default printer";
    EXPECT_EQ(status_text(bar, 0), L"Prn:" + printer);
    EXPECT_EQ(status_text(bar, 1), L"紙:") << "no print dialog yet";
    EXPECT_EQ(status_text(bar, 2), L"Page:2/3");
    EXPECT_EQ(status_text(bar, 3), L"base1.bmp");

    // And every later paint keeps it current.
    doc().current_card = 2;
    InvalidateRect(parent, nullptr, TRUE);
    UpdateWindow(parent);
    EXPECT_EQ(status_text(bar, 2), L"Page:3/3");

    // Resting the mouse on button 5 shows the tooltip "印刷設定".
    ShowWindow(parent, SW_SHOW);
    SetForegroundWindow(parent);
    HWND toolbar = toolbar_window();
    HWND tooltip = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    RECT button{};
    ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&button)));
    POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(toolbar, &centre);
    g_last_tip = 0;
    SetCursorPos(centre.x, centre.y);
    ScreenToClient(toolbar, &centre);
    PostMessageW(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
    bool shown = serve_until([&] { return IsWindowVisible(tooltip) != FALSE; }, 15000);
    EXPECT_TRUE(shown) << "no tooltip within 15 s";
    if (shown) {
        EXPECT_EQ(g_last_tip, 336u);
        RECT window{}, tip{};
        GetWindowRect(parent, &window);
        GetWindowRect(tooltip, &tip);
        UnionRect(&window, &window, &tip);
        save_picture(window, L"bars_main_window.bmp");
    }
    SetCursorPos(0, 0);
}

// --- About box --------------------------------------------------------------

// Watches for the about box from a thread timer (the box runs its own modal
// loop), compares what it shows with bitmap 31 and then closes it.
struct AboutWatch {
    UINT close_with = WM_COMMAND;
    int ticks = 0;
    bool seen = false;
    bool caption_ok = false;
    int picture_points = 0;
    int matching_points = 0;
};
AboutWatch g_watch;

HWND find_about_box() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) -> BOOL {
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(out) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK watch_about(HWND, UINT, UINT_PTR timer, DWORD) {
    ++g_watch.ticks;
    HWND box = find_about_box();
    if (!box) {
        if (g_watch.ticks > 250) KillTimer(nullptr, timer);  // about 5 s: give up
        return;
    }
    KillTimer(nullptr, timer);
    g_watch.seen = true;
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    g_watch.caption_ok = std::wstring(caption) == L"このソフトについて";

    UpdateWindow(box);
    HBITMAP picture = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                      MAKEINTRESOURCEW(IDB_ABOUT), IMAGE_BITMAP,
                                                      0, 0, LR_CREATEDIBSECTION));
    render_test::Canvas shown(ABOUT_PICTURE_WIDTH, ABOUT_PICTURE_HEIGHT);
    render_test::Canvas wanted(ABOUT_PICTURE_WIDTH, ABOUT_PICTURE_HEIGHT);
    HDC box_dc = GetDC(box);
    BitBlt(shown.dc(), 0, 0, ABOUT_PICTURE_WIDTH, ABOUT_PICTURE_HEIGHT, box_dc, ABOUT_PICTURE_X,
           ABOUT_PICTURE_Y, SRCCOPY);
    ReleaseDC(box, box_dc);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(wanted.dc(), 0, 0, ABOUT_PICTURE_WIDTH, ABOUT_PICTURE_HEIGHT, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
    for (int y = 0; y < ABOUT_PICTURE_HEIGHT; y += 3) {
        for (int x = 0; x < ABOUT_PICTURE_WIDTH; x += 3) {
            ++g_watch.picture_points;
            g_watch.matching_points += shown.pixel(x, y) == wanted.pixel(x, y);
        }
    }
    if (g_watch.close_with == WM_CLOSE) {
        save_window_picture(box, L"bars_about_box.bmp");
        PostMessageW(box, WM_CLOSE, 0, 0);
    } else {
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

TEST_F(BarsTest, AboutBoxShowsPictureThirtyOneAndEndsWithOneOnOkAndOnClose) {
    for (UINT close_with : {UINT{WM_COMMAND}, UINT{WM_CLOSE}}) {
        g_watch = AboutWatch{};
        g_watch.close_with = close_with;
        UINT_PTR timer = SetTimer(nullptr, 0, 20, watch_about);
        ASSERT_NE(timer, 0u);
        INT_PTR result = show_about(parent);
        KillTimer(nullptr, timer);
        EXPECT_EQ(result, 1) << "closed with " << close_with;
        EXPECT_TRUE(g_watch.seen);
        EXPECT_TRUE(g_watch.caption_ok);
        EXPECT_GT(g_watch.picture_points, 1000);
        EXPECT_EQ(g_watch.matching_points, g_watch.picture_points)
            << "the box shows bitmap 31 unscaled at (30, 0)";
    }
}

}  // namespace

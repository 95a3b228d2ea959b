// The window "一覧で確認": a bar with the filters, the count line and the two
// print buttons above a scrolling pane of thumbnails, four to a row. The
// window looks at the document every 300 ms and draws again what changed
// (an editor's store, an import, a print's mark). This file holds the frame:
// its window classes, its controls and their layout, the refresh, the
// pane's scroll bar, the filter buttons and closing; the thumbnails are
// drawn in proof_sheet_thumbnails_win32.cpp, the mouse and keys handled in
// proof_sheet_input_win32.cpp, the selected cards printed in
// proof_sheet_print_win32.cpp.

#include <windows.h>

#include "editors/editor_dialogs.h"
#include "editors/editor_window_win32.h"
#include "editors/proof_sheet_ids.h"
#include "editors/proof_sheet_print.h"
#include "editors/proof_sheet_window_win32.h"
#include "postal/postal_update.h"
#include "model/card_status.h"

namespace proof_sheet_window {
namespace {

constexpr const wchar_t* kFrameClass = L"ZelkovaneProofSheet";
constexpr const wchar_t* kPaneClass = L"ZelkovaneProofCards";
constexpr const wchar_t* kCaption = L"一覧で確認";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 300;
constexpr int kBarHeight = 72;  // two rows: the filters and buttons, then the search
constexpr int kMinCellWidth = 120;

const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

// The fitting switches as one number: other switches fit other cards.
unsigned fit_state() {
    const FitSwitches& s = fit_switches();
    return (s.fit_long_lines ? 1u : 0u) | (s.align_names ? 2u : 0u) | (s.vertical_forms ? 4u : 0u) |
           (s.kanji_digits ? 8u : 0u);
}

// What the run remembers of the window: the one open window and the size
// and place it had when it was last closed. Outlives every window, and the
// main window's commands reach the open one by it, holding no pointer.
struct SheetRun {
    HWND open = nullptr;
    WINDOWPLACEMENT placement{};
    bool placed = false;
};
SheetRun& sheet_run() {
    static SheetRun run;
    return run;
}

HFONT make_ui_font(int height, int weight) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                       L"ＭＳ Ｐゴシック");
}

HWND make_child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
                HFONT font) {
    HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

}  // namespace

Cells cells_for(int pane_width) {
    Cells c{};
    c.width = pane_width / kColumns;
    if (c.width < kMinCellWidth) c.width = kMinCellWidth;
    c.box_w = c.width - 20;
    c.box_h = c.box_w * 592 / 400;  // the default card's proportions
    c.height = c.box_h + 12 + 3 * kLine + 10;
    return c;
}

void ProofSheetWindow::create_controls(HWND frame) {
    frame_ = frame;
    font_ = make_ui_font(13, FW_NORMAL);
    small_font_ = make_ui_font(12, FW_NORMAL);
    make_child(frame, L"BUTTON", L"すべて", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, IDC_SHEET_ALL, font_);
    make_child(frame, L"BUTTON", L"要確認", BS_AUTORADIOBUTTON, IDC_SHEET_ATTENTION, font_);
    make_child(frame, L"BUTTON", L"未送付", BS_AUTORADIOBUTTON, IDC_SHEET_UNSENT, font_);
    make_child(frame, L"STATIC", L"", SS_LEFT | SS_CENTERIMAGE | WS_GROUP, IDC_SHEET_COUNT, font_);
    make_child(frame, L"BUTTON", L"選択した葉書を印刷", BS_PUSHBUTTON | WS_TABSTOP,
               IDC_SHEET_PRINT_SELECTED, font_);
    make_child(frame, L"BUTTON", L"一覧を印刷", BS_PUSHBUTTON | WS_TABSTOP, IDC_SHEET_PRINT_SHEET, font_);
    make_child(frame, L"STATIC", L"検索", SS_RIGHT | SS_CENTERIMAGE, IDC_SHEET_SEARCH_LABEL, font_);
    HWND search = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                  0, 0, 10, 10, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SHEET_SEARCH)),
                                  GetModuleHandleW(nullptr), nullptr);
    SendMessageW(search, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(search, EM_LIMITTEXT, LINE_CAP - 1, 0);
    CheckDlgButton(frame, IDC_SHEET_ALL, BST_CHECKED);
    pane_ = CreateWindowExW(WS_EX_CLIENTEDGE, kPaneClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP,
                            0, kBarHeight, 10, 10, frame,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SHEET_CARDS)),
                            GetModuleHandleW(nullptr), this);
    refresh();
    show_count();
    SetTimer(frame, kRefreshTimer, kRefreshMs, nullptr);
}

void ProofSheetWindow::destroy() {
    KillTimer(frame_, kRefreshTimer);
    for (int i = 0; i < HDATA_MAX; ++i) forget_thumbnail(i);
    SheetRun& run = sheet_run();
    run.placement.length = sizeof run.placement;
    run.placed = GetWindowPlacement(frame_, &run.placement) != 0;
    run.open = nullptr;
    unregister_modeless_dialog(frame_);
}

void ProofSheetWindow::lay_out() {
    RECT client;
    GetClientRect(frame_, &client);
    const int width = client.right;
    auto place = [this](int id, int x, int w) {
        MoveWindow(GetDlgItem(frame_, id), x, 8, w, 24, TRUE);
    };
    place(IDC_SHEET_ALL, 10, 70);
    place(IDC_SHEET_ATTENTION, 84, 70);
    place(IDC_SHEET_UNSENT, 158, 70);
    place(IDC_SHEET_COUNT, 236, 210);
    place(IDC_SHEET_PRINT_SHEET, width - 110, 100);
    place(IDC_SHEET_PRINT_SELECTED, width - 270, 150);
    MoveWindow(GetDlgItem(frame_, IDC_SHEET_SEARCH_LABEL), 10, 40, 40, 24, TRUE);
    MoveWindow(GetDlgItem(frame_, IDC_SHEET_SEARCH), 56, 40, 220, 24, TRUE);
    MoveWindow(pane_, 0, kBarHeight, width, client.bottom - kBarHeight, TRUE);
}

// The document as it stands now: marks, filters and thumbnails of the cards
// that changed.
void ProofSheetWindow::refresh() {
    // The table the lookups use, opened anew each time: an update of the
    // postal code data may have replaced it (and freed the old bytes).
    PostalCodeTable table{};
    const bool has_table = open_postal_code_table_in_use(table) == POSTAL_TABLE_OK;
    const unsigned char* codes = has_table ? table.codes : nullptr;
    if (codes != table_codes_) sheet_.recheck_all();
    table_codes_ = codes;
    bool changed[HDATA_MAX];
    if (sheet_.refresh(card_year(), has_table ? &table : nullptr, fit_, fit_state(), changed) == 0) return;
    for (int i = 0; i < HDATA_MAX; ++i)
        if (changed[i]) forget_thumbnail(i);
    show_count();
    update_scroll_bar();
    if (pane_) InvalidateRect(pane_, nullptr, FALSE);
}

void ProofSheetWindow::show_count() {
    char16_t line[SHEET_COUNT_CAP];
    sheet_.format_count(line, SHEET_COUNT_CAP);
    SetDlgItemTextW(frame_, IDC_SHEET_COUNT, wide(line));
}

void ProofSheetWindow::update_scroll_bar() {
    if (!pane_) return;
    RECT client;
    GetClientRect(pane_, &client);
    pane_height_ = client.bottom;
    cells_ = cells_for(client.right);
    const int rows = (sheet_.shown() + kColumns - 1) / kColumns;
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL};
    info.nMin = 0;
    info.nMax = rows * cells_.height;
    info.nPage = static_cast<UINT>(client.bottom + 1);
    const int limit = info.nMax - client.bottom;
    if (scroll_ > limit) scroll_ = limit;
    if (scroll_ < 0) scroll_ = 0;
    info.nPos = scroll_;
    SetScrollInfo(pane_, SB_VERT, &info, TRUE);
}

void ProofSheetWindow::set_scroll(int pixels) {
    scroll_ = pixels;
    update_scroll_bar();
    InvalidateRect(pane_, nullptr, FALSE);
}

// The filter buttons show the filter in force, whatever a click checked.
void ProofSheetWindow::show_filter() {
    const SheetFilter filter = sheet_.filter();
    const int id = filter == SheetFilter::Attention ? IDC_SHEET_ATTENTION
                   : filter == SheetFilter::Unsent  ? IDC_SHEET_UNSENT
                                                    : IDC_SHEET_ALL;
    CheckRadioButton(frame_, IDC_SHEET_ALL, IDC_SHEET_UNSENT, id);
}

LRESULT ProofSheetWindow::frame_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        create_controls(window);
        return 0;
    case WM_SIZE:
        lay_out();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
        limits->ptMinTrackSize = POINT{560, 320};
        return 0;
    }
    case WM_TIMER:
        // A job draws its pages from the sheet and the cards as they stand:
        // the marks it makes show once it has ended, and a close that came
        // meanwhile is carried out then.
        if (wparam != kRefreshTimer || print_lock_held()) return 0;
        if (close_waits_) {
            DestroyWindow(window);
        } else {
            refresh();
        }
        return 0;
    case WM_SETFOCUS:
        SetFocus(pane_);
        return 0;
    case WM_MOUSEWHEEL:
        return SendMessageW(pane_, message, wparam, lparam);
    case WM_COMMAND:
        if (busy()) {
            // A radio button checks itself when clicked: back to the filter
            // the sheet still shows.
            show_filter();
            return 0;
        }
        if (LOWORD(wparam) == IDC_SHEET_SEARCH) {
            if (HIWORD(wparam) != EN_CHANGE) return 0;
            char16_t typed[LINE_CAP] = {};
            GetDlgItemTextW(window, IDC_SHEET_SEARCH, reinterpret_cast<wchar_t*>(typed), LINE_CAP);
            sheet_.set_search(typed);
            show_count();
            set_scroll(0);
            return 0;
        }
        switch (LOWORD(wparam)) {
        case IDC_SHEET_ALL: sheet_.set_filter(SheetFilter::All); break;
        case IDC_SHEET_ATTENTION: sheet_.set_filter(SheetFilter::Attention); break;
        case IDC_SHEET_UNSENT: sheet_.set_filter(SheetFilter::Unsent); break;
        case IDC_SHEET_PRINT_SELECTED: print_selected(); return 0;
        case IDC_SHEET_PRINT_SHEET: print_proof_sheet(frame_, sheet_); return 0;
        default: return 0;
        }
        // The choice shows whoever made it (a click, the keyboard, a command).
        show_filter();
        show_count();
        set_scroll(0);
        return 0;
    case WM_CLOSE:
        // From the close box, the taskbar, a posted close or the main
        // window's end: while a print holds the print lock, its job may be
        // drawing from this window's sheet, which goes with the window. The
        // close waits for the lock's end (the refresh timer carries it out).
        if (print_lock_held()) {
            close_waits_ = true;
        } else {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        destroy();
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

namespace {

// The window's object rides on each window's user data from creation on.
template <int Part>
LRESULT CALLBACK sheet_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* sheet = reinterpret_cast<ProofSheetWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (sheet == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    if (Part == 0 && message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        LRESULT result = DefWindowProcW(window, message, wparam, lparam);
        delete sheet;
        return result;
    }
    return Part == 0 ? sheet->frame_message(window, message, wparam, lparam)
                     : sheet->pane_message(window, message, wparam, lparam);
}

bool register_classes() {
    static bool registered = false;  // window classes are the process's, made once
    if (registered) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(21));    // the program's icon
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpfnWndProc = sheet_proc<0>;
    wc.lpszClassName = kFrameClass;
    if (!RegisterClassExW(&wc)) return false;
    wc.style = CS_DBLCLKS;
    wc.hIcon = nullptr;
    wc.hbrBackground = nullptr;
    wc.lpfnWndProc = sheet_proc<1>;
    wc.lpszClassName = kPaneClass;
    registered = RegisterClassExW(&wc) != 0;
    return registered;
}

}  // namespace
}  // namespace proof_sheet_window

using namespace proof_sheet_window;

void open_proof_sheet_window(WindowHandle main_window) {
    SheetRun& run = sheet_run();
    if (bring_open_dialog_forward(run.open)) return;
    if (!register_classes()) return;
    HWND main = static_cast<HWND>(main_window);
    // Beside the main window the first time, as the editors open.
    RECT beside{0, 0, 0, 0};
    if (main) GetWindowRect(main, &beside);
    auto* sheet = new ProofSheetWindow(main);
    HWND frame = CreateWindowExW(WS_EX_APPWINDOW, kFrameClass, kCaption,
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, beside.right, beside.top,
                                 760, 720, nullptr, nullptr, GetModuleHandleW(nullptr), sheet);
    // A window that could not be made took its object with it (WM_NCDESTROY)
    // if it got as far as WM_NCCREATE; the system is out of resources then.
    if (frame == nullptr) return;
    run.open = frame;
    register_modeless_dialog(frame);
    if (run.placed) {
        run.placement.showCmd = run.placement.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        SetWindowPlacement(frame, &run.placement);
    } else {
        ShowWindow(frame, SW_SHOWNORMAL);
        keep_on_work_area(frame);
    }
    SetFocus(GetDlgItem(frame, IDC_SHEET_CARDS));
    // The thumbnails in view are drawn before the command returns.
    UpdateWindow(frame);
    UpdateWindow(GetDlgItem(frame, IDC_SHEET_CARDS));
}

void close_proof_sheet_window() {
    if (sheet_run().open) SendMessageW(sheet_run().open, WM_CLOSE, 0, 0);
}

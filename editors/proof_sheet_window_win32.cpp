// The window "一覧で確認": a bar with the filters, the count line and the two
// print buttons above a scrolling pane of thumbnails, four to a row. Every
// thumbnail (render/card_thumbnail.h) is kept as a bitmap until its card
// changes or the pane's width does. Only the rows in
// view are drawn. The window looks at the document every 300 ms and draws
// again what changed (an editor's store, an import, a print's mark).

#include <windows.h>
#include <windowsx.h>

#include "editors/editor_dialogs.h"
#include "editors/editor_shared.h"
#include "editors/editor_window_win32.h"
#include "editors/proof_sheet.h"
#include "editors/proof_sheet_ids.h"
#include "editors/proof_sheet_print.h"
#include "postal/postal_update.h"
#include "model/card_status.h"
#include "model/text.h"
#include "print/print_command.h"
#include "print/print_job.h"
#include "render/card_fit.h"
#include "render/card_thumbnail.h"
#include "render/gdi_surface.h"

namespace {

constexpr const wchar_t* kFrameClass = L"ZelkovaneProofSheet";
constexpr const wchar_t* kPaneClass = L"ZelkovaneProofCards";
constexpr const wchar_t* kCaption = L"一覧で確認";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 300;
constexpr int kColumns = 4;
constexpr int kBarHeight = 40;
constexpr int kLine = 17;       // one caption line in the pane
constexpr int kMinCellWidth = 120;
constexpr COLORREF kPaneBackground = RGB(238, 235, 218);  // the main window's
constexpr COLORREF kSelected = RGB(205, 222, 250);
constexpr COLORREF kSelectedEdge = RGB(40, 100, 210);

const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
bool key_down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// No input while a print command holds the print lock (from its dialog to
// the job's end the pages are drawn from the document as it stands) or
// while an editor waits in a modal dialog for an answer about the document.
bool busy() { return print_lock_held() || editor_modal_open(); }

// A cell of the pane: the thumbnail's box and three caption lines below it.
struct Cells {
    int width;
    int height;
    int box_w;
    int box_h;
};
Cells cells_for(int pane_width) {
    Cells c{};
    c.width = pane_width / kColumns;
    if (c.width < kMinCellWidth) c.width = kMinCellWidth;
    c.box_w = c.width - 20;
    c.box_h = c.box_w * 592 / 400;  // the default card's proportions
    c.height = c.box_h + 12 + 3 * kLine + 10;
    return c;
}

// Whether a card has a line that does not fit even when set smaller: the
// one verdict of the card's fitting (render/card_fit.h).
class ScreenFitCheck final : public CardFitCheck {
public:
    bool overflows(int card) override { return card_overflow_lines(surface_, doc().hdata[card]) > 0; }

private:
    MemoryDeviceContext dc_{nullptr};
    GdiSurface surface_{dc_.dc(), GdiSurface::Kind::Screen};
};

// The fitting switches as one number: other switches fit other cards.
unsigned fit_state() {
    const FitSwitches& s = fit_switches();
    return (s.fit_long_lines ? 1u : 0u) | (s.align_names ? 2u : 0u) | (s.vertical_forms ? 4u : 0u) |
           (s.kanji_digits ? 8u : 0u);
}

// What the run remembers of the window: the one open window and the size
// and place it had when it was last closed.
struct SheetRun {
    HWND open = nullptr;
    WINDOWPLACEMENT placement{};
    bool placed = false;
};
SheetRun& sheet_run() {
    static SheetRun run;
    return run;
}

class ProofSheetWindow {
public:
    explicit ProofSheetWindow(HWND main_window) : main_(main_window) {}

    LRESULT frame_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT pane_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

private:
    struct Thumbnail {
        HBITMAP bitmap = nullptr;
        int box_w = 0;  // the box it was made for
    };

    void create_controls(HWND frame);
    void destroy();
    void lay_out();
    void refresh();
    void show_count();
    void set_scroll(int pixels);
    void update_scroll_bar();
    void keep_in_view(int position);
    int hit(int x, int y) const;
    void forget_thumbnail(int card);
    HBITMAP thumbnail(int card, ThumbnailMaker& maker);
    void paint_pane(HDC dc, const RECT& area);
    void paint_cell(HDC dc, ThumbnailMaker& maker, int position, int x, int y);
    void show_in_main_window(int position);
    void print_selected();
    void show_filter();
    bool pane_key(int key);

    HWND main_;
    HWND frame_ = nullptr;
    HWND pane_ = nullptr;
    HFONT font_ = nullptr;
    HFONT small_font_ = nullptr;
    const unsigned char* table_codes_ = nullptr;  // the table the marks were made with
    ScreenFitCheck fit_;
    ProofSheet sheet_;
    Thumbnail thumbnails_[HDATA_MAX];
    Cells cells_{};
    int scroll_ = 0;
    int pane_height_ = 0;
    bool close_waits_ = false;  // a close request came while the print lock was held
};

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

void ProofSheetWindow::keep_in_view(int position) {
    if (position < 0 || cells_.height == 0) return;
    const int top = position / kColumns * cells_.height;
    if (top < scroll_) {
        set_scroll(top);
    } else if (top + cells_.height > scroll_ + pane_height_) {
        set_scroll(top + cells_.height - pane_height_);
    }
}

int ProofSheetWindow::hit(int x, int y) const {
    if (cells_.width == 0 || x < 0 || x >= cells_.width * kColumns) return -1;
    const int position = (y + scroll_) / cells_.height * kColumns + x / cells_.width;
    return position < sheet_.shown() ? position : -1;
}

void ProofSheetWindow::forget_thumbnail(int card) {
    if (thumbnails_[card].bitmap) DeleteObject(thumbnails_[card].bitmap);
    thumbnails_[card] = Thumbnail{};
}

HBITMAP ProofSheetWindow::thumbnail(int card, ThumbnailMaker& maker) {
    Thumbnail& kept = thumbnails_[card];
    if (kept.bitmap && kept.box_w == cells_.box_w) return kept.bitmap;
    forget_thumbnail(card);
    kept.bitmap = static_cast<HBITMAP>(maker.make(card, cells_.box_w, cells_.box_h));
    kept.box_w = cells_.box_w;
    return kept.bitmap;
}

void ProofSheetWindow::paint_cell(HDC dc, ThumbnailMaker& maker, int position, int x, int y) {
    const int card = sheet_.card_at(position);
    const bool selected = sheet_.selected(position);
    RECT cell{x + 2, y + 2, x + cells_.width - 2, y + cells_.height - 2};
    if (selected) {
        HBRUSH fill = CreateSolidBrush(kSelected);
        FillRect(dc, &cell, fill);
        DeleteObject(fill);
    }
    if (HBITMAP bitmap = thumbnail(card, maker)) {
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        const int left = x + (cells_.width - info.bmWidth) / 2;
        BitBlt(dc, left, y + 8, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        RECT edge{left - 1, y + 7, left + info.bmWidth + 1, y + 9 + info.bmHeight};
        FrameRect(dc, &edge, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
    if (selected) {
        HBRUSH edge = CreateSolidBrush(kSelectedEdge);
        FrameRect(dc, &cell, edge);
        DeleteObject(edge);
    }
    if (GetFocus() == pane_ && sheet_.focus() == position) {
        RECT inner{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
        DrawFocusRect(dc, &inner);
    }

    // Number and name, then the status and the marks as coloured tags.
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, font_);
    const int text_left = x + 10;
    const int text_right = x + cells_.width - 10;
    int line_y = y + 8 + cells_.box_h + 4;
    char16_t text[SHEET_TITLE_CAP];
    format_card_title(card, text, SHEET_TITLE_CAP);
    RECT line{text_left, line_y, text_right, line_y + kLine};
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, wide(text), -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    line_y += kLine;
    const CardCheck& check = sheet_.check(card);
    format_card_status(check, sheet_.year(), text, SHEET_TITLE_CAP);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide(text), text_length(text), &size);
    TextOutW(dc, text_left, line_y + 1, wide(text), text_length(text));
    SelectObject(dc, small_font_);
    int tag_x = text_left + size.cx + 6;
    for (const MarkStyle& style : kMarkStyles) {
        if (!(check.marks & style.mark)) continue;
        const int length = text_length(style.word);
        GetTextExtentPoint32W(dc, wide(style.word), length, &size);
        if (tag_x + size.cx + 6 > text_right && tag_x > text_left) {
            tag_x = text_left;
            line_y += kLine;
        }
        RECT tag{tag_x, line_y + 1, tag_x + size.cx + 6, line_y + kLine - 1};
        HBRUSH fill = CreateSolidBrush(RGB(style.colour.r, style.colour.g, style.colour.b));
        FillRect(dc, &tag, fill);
        DeleteObject(fill);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutW(dc, tag_x + 3, line_y + 2, wide(style.word), length);
        tag_x += size.cx + 10;
    }
    SelectObject(dc, old_font);
}

// Drawn off screen and copied in one piece: no flicker while scrolling.
void ProofSheetWindow::paint_pane(HDC dc, const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
    HBRUSH background = CreateSolidBrush(kPaneBackground);
    FillRect(memory, &area, background);
    DeleteObject(background);
    if (cells_.height > 0) {
        ThumbnailMaker maker(memory);
        const int first_row = (area.top + scroll_) / cells_.height;
        const int last_row = (area.bottom + scroll_) / cells_.height;
        for (int row = first_row; row <= last_row; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const int position = row * kColumns + column;
                if (position >= sheet_.shown()) break;
                paint_cell(memory, maker, position, column * cells_.width, row * cells_.height - scroll_);
            }
        }
    }
    if (sheet_.shown() == 0) {
        SetBkMode(memory, TRANSPARENT);
        HGDIOBJ old_font = SelectObject(memory, font_);
        const wchar_t* none = L"表示する葉書はありません。";
        TextOutW(memory, 16, 16, none, lstrlenW(none));
        SelectObject(memory, old_font);
    }
    SetViewportOrgEx(memory, 0, 0, nullptr);
    BitBlt(dc, area.left, area.top, w, h, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// Double click and Enter: the main window shows the card, in front.
void ProofSheetWindow::show_in_main_window(int position) {
    const int card = sheet_.card_at(position);
    if (card < 0 || !main_) return;
    doc().current_card = card;
    InvalidateRect(main_, nullptr, TRUE);
    UpdateWindow(main_);
    if (IsIconic(main_)) ShowWindow(main_, SW_RESTORE);
    SetForegroundWindow(main_);
}

void ProofSheetWindow::print_selected() {
    // The document as it stands now: a card whose addressee changed since
    // the last look is no longer selected.
    refresh();
    int cards[HDATA_MAX];
    const int count = sheet_.selected_cards(cards);
    if (count == 0) {
        platform().message_box(frame_, u"葉書を選択して下さい。", u"一覧で確認", kButtonsOk);
        return;
    }
    print_cards_command(frame_, cards, count);
    // The printed cards' marks, and the main window's status bar.
    if (main_) InvalidateRect(main_, nullptr, TRUE);
    refresh();
}

// The filter buttons show the filter in force, whatever a click checked.
void ProofSheetWindow::show_filter() {
    const SheetFilter filter = sheet_.filter();
    const int id = filter == SheetFilter::Attention ? IDC_SHEET_ATTENTION
                   : filter == SheetFilter::Unsent  ? IDC_SHEET_UNSENT
                                                    : IDC_SHEET_ALL;
    CheckRadioButton(frame_, IDC_SHEET_ALL, IDC_SHEET_UNSENT, id);
}

bool ProofSheetWindow::pane_key(int key) {
    const int focus = sheet_.focus();
    const int rows_in_view = cells_.height > 0 && pane_height_ / cells_.height > 1
                                 ? pane_height_ / cells_.height : 1;
    int to = focus;
    switch (key) {
    case VK_LEFT: to = focus - 1; break;
    case VK_RIGHT: to = focus + 1; break;
    case VK_UP: to = focus - kColumns; break;
    case VK_DOWN: to = focus + kColumns; break;
    case VK_PRIOR: to = focus - kColumns * rows_in_view; break;
    case VK_NEXT: to = focus + kColumns * rows_in_view; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = sheet_.shown() - 1; break;
    case VK_RETURN:
        show_in_main_window(focus);
        return true;
    case 'A':
        if (!key_down(VK_CONTROL)) return false;
        sheet_.select_all();
        InvalidateRect(pane_, nullptr, FALSE);
        return true;
    default:
        return false;
    }
    if (focus < 0) to = 0;
    // Up and down stop in the first and last row rather than jumping.
    if (to < 0 && (key == VK_UP || key == VK_PRIOR)) to = focus < 0 ? 0 : focus % kColumns;
    sheet_.move_to(to, key_down(VK_SHIFT));
    keep_in_view(sheet_.focus());
    InvalidateRect(pane_, nullptr, FALSE);
    return true;
}

LRESULT ProofSheetWindow::pane_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (dc) paint_pane(dc, ps.rcPaint);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        update_scroll_bar();
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_VSCROLL: {
        SCROLLINFO info{sizeof info, SIF_ALL};
        GetScrollInfo(window, SB_VERT, &info);
        int to = scroll_;
        switch (LOWORD(wparam)) {
        case SB_LINEUP: to -= kLine * 3; break;
        case SB_LINEDOWN: to += kLine * 3; break;
        case SB_PAGEUP: to -= pane_height_; break;
        case SB_PAGEDOWN: to += pane_height_; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: to = info.nTrackPos; break;
        case SB_TOP: to = 0; break;
        case SB_BOTTOM: to = info.nMax; break;
        default: break;
        }
        set_scroll(to);
        return 0;
    }
    case WM_MOUSEWHEEL:
        set_scroll(scroll_ - GET_WHEEL_DELTA_WPARAM(wparam) * cells_.height / 3 / WHEEL_DELTA);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE: {
        // Arrows and Enter belong to the thumbnails; Tab moves on.
        const MSG* msg = reinterpret_cast<const MSG*>(lparam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
            return DLGC_WANTARROWS | DLGC_WANTMESSAGE;
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        SetFocus(window);
        if (busy()) return 0;
        const int position = hit(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        if (position < 0) return 0;
        if (message == WM_LBUTTONDBLCLK) {
            show_in_main_window(position);
            return 0;
        }
        sheet_.click(position, (wparam & MK_SHIFT) != 0, (wparam & MK_CONTROL) != 0);
        keep_in_view(position);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    case WM_KEYDOWN:
        if (!busy() && pane_key(static_cast<int>(wparam))) return 0;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
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
    static bool registered = false;
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

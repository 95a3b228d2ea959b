// The window "一覧で確認": the mouse and the keys of the pane of
// thumbnails. Click, Shift and Ctrl select; the arrows, Page Up/Down, Home
// and End move the focus; Ctrl+A selects all; a double click or Enter shows
// the card in the main window; the scroll bar and the wheel scroll.

#include <windows.h>
#include <windowsx.h>

#include "editors/proof_sheet_window_win32.h"

namespace proof_sheet_window {
namespace {

bool key_down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

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

}  // namespace proof_sheet_window

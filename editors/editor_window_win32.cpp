#include "editors/editor_window_win32.h"

#include <algorithm>
#include <vector>

namespace {
// The main window the editors serve, told once by the main window when it is
// created: the editors may not include the main window's code, and their
// views are made without it.
HWND g_main_window = nullptr;
POINT g_main_window_origin{};
}  // namespace

void set_editors_main_window(HWND window, int left, int top) {
    g_main_window = window;
    g_main_window_origin = POINT{left, top};
}

void Win32DialogView::get_text(int id, char16_t* out, int cap) {
    if (cap <= 0) return;
    out[0] = 0;
    GetDlgItemTextW(dialog_, id, reinterpret_cast<wchar_t*>(out), cap);
}

void Win32DialogView::set_text(int id, const char16_t* text) {
    SetDlgItemTextW(dialog_, id, reinterpret_cast<const wchar_t*>(text));
}

bool Win32DialogView::checked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

void Win32DialogView::set_checked(int id, bool on) {
    CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void Win32DialogView::repaint_main_window() {
    if (!g_main_window) return;
    InvalidateRect(g_main_window, nullptr, TRUE);
    UpdateWindow(g_main_window);
}

void Win32DialogView::repaint_dialog() {
    InvalidateRect(dialog_, nullptr, TRUE);
    UpdateWindow(dialog_);
}

void Win32DialogView::focus(int id) {
    HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) return;
    // As Tab does, so that the default button follows; the dialog manager
    // selects an edit's whole text, the caret goes after it instead.
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    int end = GetWindowTextLengthW(control);
    SendMessageW(control, EM_SETSEL, end, end);
}

void Win32DialogView::close(int result) {
    if (modal_) {
        EndDialog(dialog_, result);
    } else {
        DestroyWindow(dialog_);
    }
}

void place_beside_main_window(HWND dialog, int dx, int dy) {
    SetWindowPos(dialog, HWND_NOTOPMOST, g_main_window_origin.x + dx,
                 g_main_window_origin.y + dy, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

bool bring_open_dialog_forward(HWND dialog) {
    if (dialog == nullptr) return false;
    ShowWindow(dialog, SW_RESTORE);
    SetForegroundWindow(dialog);
    return true;
}

namespace {
// The open modeless dialogs, for the main loop, which holds no pointer to
// them.
std::vector<HWND> g_modeless;
}

void register_modeless_dialog(HWND dialog) { g_modeless.push_back(dialog); }

void unregister_modeless_dialog(HWND dialog) {
    g_modeless.erase(std::remove(g_modeless.begin(), g_modeless.end(), dialog), g_modeless.end());
}

bool handle_modeless_dialog_message(MSG* msg) {
    for (HWND dialog : g_modeless) {
        if (IsDialogMessageW(dialog, msg)) return true;
    }
    return false;
}

void keep_on_work_area(HWND dialog) {
    RECT r;
    if (!GetWindowRect(dialog, &r)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& area = monitor.rcWork;
    int left = r.left;
    int top = r.top;
    if (r.right > area.right) left -= r.right - area.right;
    if (r.bottom > area.bottom) top -= r.bottom - area.bottom;
    if (left < area.left) left = area.left;
    if (top < area.top) top = area.top;
    if (left == r.left && top == r.top) return;
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EditorDialogWindow::attach(EditorDialogWindow* window) {
    SetWindowLongPtrW(window->dialog_, DWLP_USER, reinterpret_cast<LONG_PTR>(window));
}

INT_PTR EditorDialogWindow::dispatch(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* window = reinterpret_cast<EditorDialogWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (window == nullptr) return FALSE;
    ++window->handling_;
    INT_PTR result = window->handle(message, wparam, lparam);
    if (message == WM_DESTROY) {
        window->destroyed_ = true;
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
    }
    if (--window->handling_ == 0 && window->destroyed_) delete window;
    return result;
}

// The sender editor on Win32 (dialog 3): a modeless dialog owned by the main
// window that binds the portable logic to its controls.
#include <windows.h>

#include "editors/editor_dialog_ids.h"
#include "editors/editor_dialogs.h"
#include "editors/editor_shared.h"
#include "editors/editor_window_win32.h"
#include "editors/sender_editor.h"
#include "render/window_geometry.h"

namespace {

// The editor while it is open; it exists once. Its view stays known to
// the main window's commands until the dialog is destroyed.
HWND g_dialog = nullptr;
Win32DialogView g_view(nullptr, false);

// The editor opens right of the card layout dialog's place beside the main
// window, level with it.
constexpr int kBesideMainWindow = kMainWindowWidth + 350;
constexpr int kBelowMainWindowTop = 430;

void close_box(HWND dialog) {
    Win32DialogView view(dialog, false);
    sender_editor_close_box(view);
}

INT_PTR CALLBACK sender_editor_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        g_dialog = dialog;
        register_modeless_dialog(dialog);
        g_view = Win32DialogView(dialog, false);
        start_sender_editor(g_view);
        place_beside_main_window(dialog, kBesideMainWindow, kBelowMainWindowTop);
        keep_on_work_area(dialog);
        return TRUE;
    }
    case WM_COMMAND: {
        // Only presses (a click, Space or Enter); the edits' notifications
        // change nothing until a button stores them.
        if (HIWORD(wparam) != BN_CLICKED) return FALSE;
        int id = LOWORD(wparam);
        if (id == IDCANCEL) {  // the Esc key: as the close box
            close_box(dialog);
            return TRUE;
        }
        Win32DialogView view(dialog, false);
        return sender_editor_command(view, id) ? TRUE : FALSE;
    }
    case WM_CLOSE:
        close_box(dialog);
        return TRUE;
    case WM_DESTROY:
        forget_editor_view(g_view);
        unregister_modeless_dialog(dialog);
        g_dialog = nullptr;
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void open_sender_editor_dialog(WindowHandle main_window) {
    if (bring_open_dialog_forward(g_dialog)) return;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SENDER_EDITOR),
                       static_cast<HWND>(main_window), sender_editor_proc, 0);
}

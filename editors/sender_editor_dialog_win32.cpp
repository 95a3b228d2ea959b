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

// The open editor's dialog, so that a second request from the main window
// brings it to the front (the menu command holds no pointer to it).
HWND g_dialog = nullptr;

// The editor opens right of the card layout dialog's place beside the main
// window, level with it.
constexpr int kBesideMainWindow = kMainWindowWidth + 350;
constexpr int kBelowMainWindowTop = 430;

// Everything the open dialog knows: its view and the editor's logic.
class SenderEditorWindow final : public EditorDialogWindow {
public:
    explicit SenderEditorWindow(HWND dialog) : EditorDialogWindow(dialog), editor_(view_) {}

    void open(LPARAM) {
        g_dialog = dialog_;
        register_modeless_dialog(dialog_);
        editor_.open();
        place_beside_main_window(dialog_, kBesideMainWindow, kBelowMainWindowTop);
        keep_on_work_area(dialog_);
    }

    INT_PTR handle(UINT message, WPARAM wparam, LPARAM) override {
        switch (message) {
        case WM_COMMAND: {
            // Only presses (a click, Space or Enter); the edits' notifications
            // change nothing until a button stores them.
            if (HIWORD(wparam) != BN_CLICKED) return FALSE;
            int id = LOWORD(wparam);
            if (id == IDCANCEL) {  // the Esc key: as the close box
                editor_.close_box();
                return TRUE;
            }
            return editor_.press(id) ? TRUE : FALSE;
        }
        case WM_CLOSE:
            editor_.close_box();
            return TRUE;
        case WM_DESTROY:
            unregister_modeless_dialog(dialog_);
            g_dialog = nullptr;
            return TRUE;
        default:
            return FALSE;
        }
    }

private:
    SenderEditor editor_;
};

}  // namespace

void open_sender_editor_dialog(WindowHandle main_window) {
    if (bring_open_dialog_forward(g_dialog)) return;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SENDER_EDITOR),
                       static_cast<HWND>(main_window), editor_dialog_proc<SenderEditorWindow>, 0);
}

// The Win32 side the editors share: a DialogView on a dialog's HWND, the
// placement beside the main window, and the list of open modeless dialogs
// whose keyboard messages the main loop hands to IsDialogMessageW.
#pragma once

#include <windows.h>

#include "editors/dialog_view.h"

class Win32DialogView : public DialogView {
public:
    // `modal`: close() ends the dialog with EndDialog, else destroys it.
    Win32DialogView(HWND dialog, bool modal) : dialog_(dialog), modal_(modal) {}

    void get_text(int id, char16_t* out, int cap) override;
    void set_text(int id, const char16_t* text) override;
    bool checked(int id) override;
    void set_checked(int id, bool on) override;
    WindowHandle window() override { return dialog_; }
    void repaint_main_window() override;
    void repaint_dialog() override;
    void focus(int id) override;
    void close(int result) override;

protected:
    HWND dialog_;
    bool modal_;
};

// The main window the editors serve: repainted after every change they
// make, and the place they open beside (where it was created). Told by the
// main window when it is created (and nullptr when it is destroyed).
void set_editors_main_window(HWND window, int left, int top);

// The object of an open editor dialog, holding everything that dialog
// knows: created at WM_INITDIALOG and kept in the dialog's DWLP_USER,
// deleted when the dialog is destroyed, yet only once no message of the
// dialog is being handled (a message box of a button lets the main window
// close the dialog while the button's code still runs). `modal`: a dialog
// of DialogBoxParamW, which its view ends with EndDialog.
class EditorDialogWindow {
public:
    explicit EditorDialogWindow(HWND dialog, bool modal = false) : dialog_(dialog), view_(dialog, modal) {}
    virtual ~EditorDialogWindow() = default;
    EditorDialogWindow(const EditorDialogWindow&) = delete;
    EditorDialogWindow& operator=(const EditorDialogWindow&) = delete;

    // Handles one message of the dialog (all but WM_INITDIALOG).
    virtual INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam) = 0;

    // Attaches `window`, just created at WM_INITDIALOG, to its dialog.
    static void attach(EditorDialogWindow* window);
    // Hands a message of `dialog` to its object; deletes the object when the
    // dialog has been destroyed and no message is being handled any more.
    static INT_PTR dispatch(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

protected:
    HWND dialog_;
    Win32DialogView view_;

private:
    int handling_ = 0;        // messages of the dialog being handled, nested
    bool destroyed_ = false;  // WM_DESTROY has come
};

// The dialog procedure of an editor whose window object is `Window`: the
// object is made at WM_INITDIALOG and opened with the dialog's creation
// parameter; every later message goes to it through dispatch.
template <class Window>
INT_PTR CALLBACK editor_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_INITDIALOG) return EditorDialogWindow::dispatch(dialog, message, wparam, lparam);
    auto* window = new Window(dialog);
    EditorDialogWindow::attach(window);
    window->open(lparam);
    return TRUE;
}

// Moves the dialog, keeping its size, to the main window's initial left
// edge plus `dx` and its initial top plus `dy`; not topmost; shown.
void place_beside_main_window(HWND dialog, int dx, int dy);

// An editor exists once: when `dialog` is open it is restored if minimised
// and brought to the front, and true is returned; false when it is not open.
bool bring_open_dialog_forward(HWND dialog);

// Modeless dialogs served by the main loop. A dialog registers itself when
// it is created and unregisters when it is destroyed.
void register_modeless_dialog(HWND dialog);
void unregister_modeless_dialog(HWND dialog);
// True when one of them took the message (IsDialogMessageW); the loop then
// neither translates nor dispatches it.
bool handle_modeless_dialog_message(MSG* msg);

// Moves the dialog, keeping its size, as little as needed to lie wholly on
// the work area of its monitor (a dialog placed beside the main window can
// reach past the bottom or right edge of a small screen, out of reach of
// its buttons).
void keep_on_work_area(HWND dialog);

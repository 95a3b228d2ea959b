// What an editor's logic needs of its dialog besides the controls' texts:
// the window that owns its message boxes and choosers, repaints of the main
// window's preview and of the dialog itself, the keyboard focus, and
// closing. The Win32 dialogs implement it (editors/editor_window_win32.*);
// the native tests use a fake that records texts by control id and counts
// the calls.
#pragma once

#include "platform/dialog_controls.h"
#include "platform/platform.h"

class DialogView : public DialogControls {
public:
    // The dialog's window, owner of the message boxes and choosers it opens.
    virtual WindowHandle window() = 0;
    // Invalidates and paints the main window's preview at once.
    virtual void repaint_main_window() = 0;
    // Invalidates and paints the dialog.
    virtual void repaint_dialog() = 0;
    // Gives the keyboard focus to control `id`, an edit with the caret
    // after its text, where the user goes on typing.
    virtual void focus(int id) = 0;
    // Ends the dialog (a modeless one is destroyed; a modal one ends with
    // `result`).
    virtual void close(int result) = 0;
};

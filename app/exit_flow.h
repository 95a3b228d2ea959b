// The exit flow of the main window (menu and toolbar exit, close box): asks
// whether to end, lets the open editors settle their changes, offers to save
// unsaved changes to the three start-up files and says whether the window
// may be destroyed. Also the answer to Windows when the session ends
// (shutdown, sign-out).
#pragma once

#include "platform/platform.h"

constexpr int EXIT_ALLOWED = 0;  // destroy the main window
constexpr int EXIT_STAY = 1;     // keep running

// "終了しますか？" first; only after Yes the open editors' questions (a
// Cancel there keeps the program running), then, when the document has
// changed, "保存しますか？" and the save.
int confirm_exit(WindowHandle owner);

// Changes that ending now would lose: the document's, or an open editor's.
bool unsaved_changes();

// Windows asks whether the session may end (WM_QUERYENDSESSION). Without
// unsaved changes: true at once. Otherwise the open editors' questions and
// "保存しますか？" with Yes, No and Cancel; true when the session may end
// (saved, or the user chose not to save), false on a Cancel or a failed
// save. While a print or an editor's modal dialog is waiting nothing can be
// asked: false.
bool session_may_end(WindowHandle owner);

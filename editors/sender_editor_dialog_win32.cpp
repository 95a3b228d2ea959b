// The sender editor on Win32 (dialog 3).
#include "editors/editor_dialogs.h"

void open_sender_editor_dialog(WindowHandle) {}

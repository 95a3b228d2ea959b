// The card layout dialog on Win32 (dialog 2).
#include "editors/editor_dialogs.h"

void open_card_layout_dialog(WindowHandle) {}

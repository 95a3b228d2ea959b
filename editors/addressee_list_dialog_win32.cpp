// The addressee list on Win32 (dialog 4) and the one-line editor (dialog 5).
#include "editors/editor_dialogs.h"

void open_addressee_list_dialog(WindowHandle) {}

#include "files/file_dialogs.h"
// Placeholder until the file dialogs are filled in.
int extension_code(const char16_t*) { return 0; }
int open_file_dialog(WindowHandle, int) { return 0; }
int save_file_dialog(WindowHandle, char16_t*, int) { return 0; }

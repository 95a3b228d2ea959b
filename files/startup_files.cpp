#include "files/startup_files.h"
// Placeholder until the start-up load and exit save are filled in.
const char16_t* const SENDER_STARTUP_FILE = u"zelko1.txt";
const char16_t* const ADDRESSEE_STARTUP_FILE = u"zelko2.txt";
const char16_t* const LAYOUT_STARTUP_FILE = u"zelko3.txt";
void load_startup_files(WindowHandle) {}
int save_startup_files() { return 0; }

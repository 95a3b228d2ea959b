// The three start-up data files in the working folder: loaded silently when
// the main window is created, written back by the exit save.
#pragma once

#include "platform/platform.h"

extern const char16_t* const SENDER_STARTUP_FILE;     // "zelko1.txt"
extern const char16_t* const ADDRESSEE_STARTUP_FILE;  // "zelko2.txt"
extern const char16_t* const LAYOUT_STARTUP_FILE;     // "zelko3.txt"

// Creation of the main window, data side: captures work_dir, shows the wait
// window, resets the document, loads the three files silently, resets the
// layout clipboard, closes the wait window and clears `modified`.
void load_startup_files(WindowHandle owner);

// Writes the three start-up files without questions, stopping at the first
// that cannot be written. Returns WRITE_DONE, or WRITE_FAILED when one failed
// (its message was shown).
int save_startup_files();

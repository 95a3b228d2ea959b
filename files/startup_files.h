// The three start-up data files in the working folder: loaded silently when
// the main window is created, written back by the exit save.
#pragma once

#include "platform/platform.h"

extern const char16_t* const SENDER_STARTUP_FILE;     // "zelko1.txt"
extern const char16_t* const ADDRESSEE_STARTUP_FILE;  // "zelko2.txt"
extern const char16_t* const LAYOUT_STARTUP_FILE;     // "zelko3.txt"

// Creation of the main window, data side: captures work_dir, shows the wait
// window, resets the document, loads the three files silently and the
// fitting switches (files/fit_settings_file.h), resets the layout clipboard, closes the wait window and clears `modified`.
void load_startup_files(WindowHandle owner);

// Writes the three start-up files without overwrite questions, stopping at
// the first that cannot be written. A file changed on disk since it was
// loaded or saved is asked about first ("...は他のプログラムで変更されて
// います。上書きしますか？"): No leaves that file as it is, Cancel writes
// nothing. A file that was there at start-up but could not be read (no
// byte order mark, a read error) and is still as it was is asked about the
// same way ("%sは起動時に読めなかったファイルです。今の内容で上書きしますか？…",
// Enter answers No): its part of the document never held its contents.
// Every existing file is backed up before it is replaced. Returns
// WRITE_DONE, WRITE_DECLINED (cancelled) or WRITE_FAILED when one failed
// (its message was shown).
int save_startup_files();

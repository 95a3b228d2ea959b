// The main window's command table (menu items and toolbar buttons) and its
// keyboard table, turned into calls of the parts that do the work.
#pragma once

#include "app/main_window_actions.h"
#include "platform/platform.h"

// Virtual-key codes the main window acts on.
constexpr int KEY_LEFT = 0x25;   // VK_LEFT
constexpr int KEY_RIGHT = 0x27;  // VK_RIGHT
constexpr int KEY_PRINT = 0x50;  // 'P'

// WM_COMMAND with command `id` (the low word of its first parameter).
// Unknown ids do nothing, and so does every command while an editor has a
// modal dialog open or a print holds the print lock (print/print_job.h; the
// exit then waits for the print's end). 新規作成 and the open commands
// let the open editors settle their changes after their own question and
// file choice (app/file_commands.h).
void run_command(WindowHandle owner, int id, MainWindowActions& window);

// WM_KEYDOWN with `virtual_key`: the arrows step through the cards, P
// prints; every other key is ignored, and every key while an editor has a
// modal dialog open or a print holds the print lock.
void run_key(int virtual_key, MainWindowActions& window);

// Menu and toolbar exit and the close box: the exit question, then the open
// editors settle their changes, then the exit save (app/exit_flow.h), then
// the window is destroyed unless the program must stay open. While a print
// holds the print lock the exit waits for its end; during the job it asks
// whether to cancel the job (print/print_job.h).
void exit_command(WindowHandle owner, MainWindowActions& window);

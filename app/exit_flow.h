// The exit flow of the main window (menu and toolbar exit, close box): asks
// whether to end, offers to save unsaved changes to the three start-up files
// and says whether the window may be destroyed.
#pragma once

#include "platform/platform.h"

constexpr int EXIT_ALLOWED = 0;  // destroy the main window
constexpr int EXIT_STAY = 1;     // keep running

int confirm_exit(WindowHandle owner);

// The Win32 implementation of the platform seam.
#pragma once

#include "platform/platform.h"

// The program's dialog resource of the wait window (IDD_WAIT). The seam
// knows the number only; the program's resources check that it matches.
constexpr int WAIT_WINDOW_DIALOG = 7;

// The one Win32 platform object.
Platform& win32_platform();
// Makes it the platform in use (set_platform).
void install_win32_platform();
// The wait window while it is shown, nullptr otherwise.
WindowHandle wait_window();

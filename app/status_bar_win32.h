// The main window's four-part status bar at the bottom of the window.
#pragma once

#include <windows.h>

// Creates the status bar (control 1) as a visible child of `parent`, with a
// size grip, no text yet and the four parts of status_bar.h.
HWND create_status_bar(HWND parent);

// The status bar while it exists, nullptr before it is created and after
// its window is gone.
HWND status_bar_window();

// Rewrites the four texts from the document and the printer state. Does
// nothing while there is no status bar.
void refresh_status();

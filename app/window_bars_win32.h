// The main window's bars as one step of its creation: the toolbar, the
// question whether to switch the default printer to postcard paper, and the
// status bar, which from then on is refreshed after every preview paint.
#pragma once

#include <windows.h>

// The last step of the main window's creation handler, in this order:
// common controls, toolbar, printer question (ask_postcard_switch), status
// bar. The status bar gets its texts at the first paint of the preview.
void create_toolbar_and_status(HWND main_window);

// Keeps the toolbar across the top and the status bar along the bottom of
// the main window's client area; for the main window's WM_SIZE.
void follow_main_window_size();

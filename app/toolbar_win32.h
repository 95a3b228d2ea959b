// The main window's toolbar: nine image buttons at the top of the window,
// with tooltips.
#pragma once

#include <windows.h>

// Creates the toolbar (control 329) as a visible child of `parent`, with the
// images of bitmap resource 32 of the program's module and the nine buttons
// of toolbar_tips.h. nullptr when the control could not be made.
HWND create_toolbar(HWND parent);

// The toolbar while it exists, nullptr before it is created.
HWND toolbar_window();

// Answers a tooltip text request (TTN_GETDISPINFOW) for one of the toolbar's
// buttons by pointing its text at the button's fixed tooltip. Returns false,
// leaving the request untouched, for any other notification or id.
bool answer_toolbar_tooltip(const NMHDR* header);

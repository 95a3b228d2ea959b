// The about box (dialog resource 1): the program's picture above an OK
// button.
#pragma once

#include <windows.h>

// Shows the about box, modal, owned by `owner`; returns 1 when it was
// closed (OK, Esc or the close box), -1 when it could not be shown.
INT_PTR show_about(HWND owner);

// Where the picture (bitmap resource 31, 160 x 103) stands in the box's
// client area.
constexpr int ABOUT_PICTURE_X = 30;
constexpr int ABOUT_PICTURE_Y = 0;
constexpr int ABOUT_PICTURE_WIDTH = 160;
constexpr int ABOUT_PICTURE_HEIGHT = 103;

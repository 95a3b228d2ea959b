// The three mouse messages of the main window handed to the preview drag
// (Win32 layer; the parameters are the messages' WPARAM and LPARAM).
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "render/preview_drag.h"

// WM_LBUTTONDOWN: the hit test.
void preview_mouse_down(WindowHandle window, intptr_t lparam);
// WM_MOUSEMOVE: the drag feedback, only when the key state is exactly the
// left button alone.
void preview_mouse_move(WindowHandle window, uintptr_t key_state, intptr_t lparam);
// WM_LBUTTONUP: the commit.
void preview_mouse_up(WindowHandle window, intptr_t lparam);

// Size and place of the main window: 435 x 730 pixels, frame included,
// placed from the screen size.
#pragma once

#include <cstdint>

constexpr int32_t kMainWindowWidth = 435;
constexpr int32_t kMainWindowHeight = 730;

struct WindowPlacement {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

// From the screen's HORZRES x VERTRES: left = (width - 1450) / 2, never
// negative, so that on a wide screen the window stands left of the centre;
// top = (height - 730) / 2, negative on a screen lower than the window.
WindowPlacement main_window_placement(int32_t screen_width, int32_t screen_height);

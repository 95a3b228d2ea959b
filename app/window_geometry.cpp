#include "app/window_geometry.h"

namespace {
// The width the horizontal position is centred for; wider than the window.
constexpr int kCentringWidth = 1450;
}

WindowPlacement main_window_placement(int screen_w, int screen_h) {
    int x = (screen_w - kCentringWidth) / 2;  // C++ division truncates toward zero
    if (x < 0) x = 0;
    int y = (screen_h - MAIN_WINDOW_HEIGHT) / 2;
    return {x, y, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT};
}

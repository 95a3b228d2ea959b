#include "render/window_geometry.h"

WindowPlacement main_window_placement(int32_t screen_width, int32_t screen_height) {
    int32_t left = static_cast<int32_t>((static_cast<int64_t>(screen_width) - 1450) / 2);
    if (left < 0) left = 0;
    int32_t top = static_cast<int32_t>((static_cast<int64_t>(screen_height) - kMainWindowHeight) / 2);
    return {left, top, kMainWindowWidth, kMainWindowHeight};
}

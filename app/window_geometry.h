// Size and place of the main window, computed from the screen size.
#pragma once

constexpr int MAIN_WINDOW_WIDTH = 435;   // outer size, frame included
constexpr int MAIN_WINDOW_HEIGHT = 730;

struct WindowPlacement {
    int x;
    int y;
    int width;
    int height;
};

// The main window's outer rectangle on a screen of screen_w x screen_h
// pixels: left (screen_w - 1450) / 2 but not below 0, so on a wide screen the
// window stands left of the centre; top (screen_h - 730) / 2, negative on a
// screen lower than the window.
WindowPlacement main_window_placement(int screen_w, int screen_h);

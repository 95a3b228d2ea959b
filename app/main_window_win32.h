// The main window: its class, creation, message handling and the program's
// message loop.
#pragma once

#include <windows.h>


constexpr const wchar_t* MAIN_WINDOW_CLASS = L"Main Window";
constexpr const wchar_t* MAIN_WINDOW_TITLE = L"Zelkovane Ver1.05";
// The window background, also the colour around the card preview.
constexpr COLORREF MAIN_WINDOW_BACKGROUND = RGB(238, 235, 218);

// Registers the class, creates and shows the main window and runs the
// message loop; returns the exit code (that of the quit message, or 0 when
// the window could not be made).
int run(HINSTANCE instance, int show_command);

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The main window while it exists, nullptr otherwise.
HWND main_window();

// Invalidates the whole client area with erase and paints it at once (the
// editors call this after they changed the document).
void repaint_main_window();


// Zelkovane.exe: the Unicode entry point.
#include <windows.h>

#include "app/main_window_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    return run(instance, show_command);
}

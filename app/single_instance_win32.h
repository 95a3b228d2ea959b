// One program per working folder. The first Zelkovane started in a folder
// holds a named mutex made from the folder's normalised path and marks its
// main window with the same key; a second start in that folder brings that
// window (or the question it shows) to the front, restored if minimised,
// and ends at once, before the printer question and without touching any
// file. Programs in different folders run side by side.
#pragma once

#include <windows.h>

// Checks the current folder. True when another Zelkovane already runs there
// (its window has been brought forward): this program must end now.
bool another_copy_runs_here();

// Marks the main window as this folder's, so that a second start finds it;
// unmark it before it is destroyed.
void mark_main_window(HWND window);
void unmark_main_window(HWND window);

// "BITMAPで保存": saves the current card as the preview shows it, the
// base_w x base_h pixels at the preview origin of the main window's client
// area, as an uncompressed 24-bit BMP file (Win32 layer).
#pragma once

#include "platform/platform.h"

// Returns 0 written, 1 the user declined to overwrite, 2 not written (its
// message already shown).
int export_bitmap(WindowHandle main_window, const char16_t* path);

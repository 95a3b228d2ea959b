// Loading a BMP file of the user's (a card's background, the print position
// dialog's sheet of paper) as a GDI bitmap, after checking its header
// (render/bitmap_check.h), so that a huge, truncated or foreign file is
// refused before the system's loader allocates or reads anything for it
// (Win32 layer).
#pragma once

#include "render/render_state.h"

// The loaded bitmap (an HBITMAP, released with DeleteObject), or nullptr
// when the file is missing, unreadable or not an acceptable bitmap.
BitmapHandle load_bitmap_file(const char16_t* path);

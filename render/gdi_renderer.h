// The renderer, paper measurement and preview bitmap on GDI device contexts
// (Win32 layer only).
#pragma once

#include "render/gdi_surface.h"

// Paints the current card on the main window's paint device context.
void draw_card_preview(DeviceContext dc);
// Draws card `card` on a printer page (between StartPage and EndPage).
void draw_card_print(DeviceContext dc, int card);
// Sets paper_width and paper_height from a printer device or information
// context.
void read_paper_metrics(DeviceContext printer_dc);

// Loads `path` as it stands into the preview bitmap, releasing the previous
// one; a failed load leaves none. Used when the main window is asked to
// realise its palette and when the layout dialog changes the bitmap name.
void load_preview_bitmap(const char16_t* path);
// Releases the preview bitmap (at exit).
void release_preview_bitmap();

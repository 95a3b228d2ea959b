// Draws one card, the address side of a postcard, on a drawing surface:
// background, addressee postal code, address and name lines, then the
// chosen sender's code, address and name lines. The preview paints the
// current card in the main window; the print path draws a given card on a
// printer page and records it as sent.
#pragma once

#include "render/drawing_surface.h"

// Paints card current_card at the preview origin, card units as pixels.
// Records the measured extents, keeps the loaded background as the preview
// bitmap and leaves the dragged item out.
void draw_card_preview(DrawingSurface& surface);

// Draws card `card` (zero-based) stretched over the printable area of a
// printer page, then records it as sent in the current card year. Neither
// starts nor ends the page. A card without a positive size is neither drawn
// nor recorded.
void draw_card_print(DrawingSurface& surface, int card);

// Draws card `card` as it prints (the same mapping, fonts and fitting),
// stretched onto the rectangle of width x height surface units at `origin`;
// with `background` over its background bitmap, its name resolved as the
// preview resolves it. Records nothing: no extents, no preview bitmap, no
// sent mark. Thumbnails and printed sheets of many cards are drawn with it.
void draw_card_view(DrawingSurface& surface, int card, Point origin, int32_t width,
                    int32_t height, bool background);

// Called at the end of every preview paint (the main window refreshes its
// status bar there). Nothing is installed until the status bar exists.
using PreviewPaintedHook = void (*)();
void set_preview_painted_hook(PreviewPaintedHook hook);

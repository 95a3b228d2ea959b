// What the preview keeps between paints: the extents measured at the last
// paint, the item being dragged, and the background bitmap last loaded.
#pragma once

#include "render/card_geometry.h"

// A loaded background bitmap (an HBITMAP on Windows); nullptr means none.
using BitmapHandle = void*;

// Written at every preview paint; read by the hit test and drag feedback.
ItemExtents& item_extents();

// The item being dragged in the preview, kItemNone when no drag is under
// way. The preview leaves this item out of the card.
ItemId drag_item();
void set_drag_item(ItemId id);

// The background bitmap most recently loaded for the preview; it lives
// until the next load replaces it.
BitmapHandle preview_bitmap();
// Makes `bitmap` (possibly nullptr) the preview bitmap and returns the one
// it replaces, which the caller releases.
BitmapHandle exchange_preview_bitmap(BitmapHandle bitmap);

// The lines of the card shown at the last paint that do not fit even at
// their smallest size (render/card_fit.h); the status bar says so.
int preview_overflow_lines();
void set_preview_overflow_lines(int lines);

// Whether the preview draws its red bar beside such lines: on, except
// while the bitmap export repaints the card to capture it.
bool overflow_bars_shown();
void show_overflow_bars(bool shown);

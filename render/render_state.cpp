#include "render/render_state.h"

namespace {
ItemExtents g_extents{};
ItemId g_drag_item = kItemNone;
BitmapHandle g_preview_bitmap = nullptr;
}  // namespace

ItemExtents& item_extents() { return g_extents; }

ItemId drag_item() { return g_drag_item; }
void set_drag_item(ItemId id) { g_drag_item = id; }

BitmapHandle preview_bitmap() { return g_preview_bitmap; }

BitmapHandle exchange_preview_bitmap(BitmapHandle bitmap) {
    BitmapHandle old = g_preview_bitmap;
    g_preview_bitmap = bitmap;
    return old;
}

namespace {
int g_preview_overflow = 0;
}  // namespace

int preview_overflow_lines() { return g_preview_overflow; }
void set_preview_overflow_lines(int lines) { g_preview_overflow = lines; }

namespace {
bool g_overflow_bars = true;
}  // namespace

bool overflow_bars_shown() { return g_overflow_bars; }
void show_overflow_bars(bool shown) { g_overflow_bars = shown; }

#include "render/gdi_renderer.h"

#include <windows.h>

#include "render/bitmap_file.h"
#include "render/card_renderer.h"
#include "render/paper_metrics.h"

void draw_card_preview(DeviceContext dc) {
    GdiSurface surface(dc, GdiSurface::Kind::Screen);
    draw_card_preview(surface);
}

void draw_card_print(DeviceContext dc, int card) {
    GdiSurface surface(dc, GdiSurface::Kind::Printer);
    draw_card_print(surface, card);
}

void read_paper_metrics(DeviceContext printer_dc) {
    GdiSurface surface(printer_dc, GdiSurface::Kind::Printer);
    read_paper_metrics(surface);
}

void load_preview_bitmap(const char16_t* path) {
    BitmapHandle loaded = load_bitmap_file(path);
    BitmapHandle previous = exchange_preview_bitmap(loaded);
    if (previous) DeleteObject(static_cast<HGDIOBJ>(previous));
}

void release_preview_bitmap() {
    BitmapHandle previous = exchange_preview_bitmap(nullptr);
    if (previous) DeleteObject(static_cast<HGDIOBJ>(previous));
}

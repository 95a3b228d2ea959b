#include "render/gdi_renderer.h"

#include <windows.h>

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
    HANDLE loaded = LoadImageW(nullptr, reinterpret_cast<const wchar_t*>(path), IMAGE_BITMAP, 0, 0,
                               LR_LOADFROMFILE);
    BitmapHandle previous = exchange_preview_bitmap(loaded);
    if (previous) DeleteObject(static_cast<HGDIOBJ>(previous));
}

void release_preview_bitmap() {
    BitmapHandle previous = exchange_preview_bitmap(nullptr);
    if (previous) DeleteObject(static_cast<HGDIOBJ>(previous));
}

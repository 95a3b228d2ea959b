// The drawing surface on a GDI device context (Win32 layer only; the
// handles are HDC and HFONT behind opaque pointers so that this header does
// not need windows.h).
#pragma once

#include "render/drawing_surface.h"

using DeviceContext = void*;  // HDC

class GdiSurface final : public DrawingSurface {
public:
    // The screen stretches backgrounds with StretchBlt from a memory device
    // context; a printer gets the pixels as a 32-bit DIB with StretchDIBits,
    // which every printer driver accepts.
    enum class Kind { Screen, Printer };

    GdiSurface(DeviceContext dc, Kind kind);
    ~GdiSurface() override;  // ends a font still selected
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    int32_t device_caps(int index) override;
    BitmapHandle load_bitmap(const char16_t* path) override;
    void release_bitmap(BitmapHandle bitmap) override;
    void stretch_bitmap(BitmapHandle bitmap, Point origin, int32_t width, int32_t height) override;
    void begin_font(const LogFont& font, RgbColor colour) override;
    void end_font() override;
    void text_out(Point at, const char16_t* text, int length) override;
    Extent text_extent(const char16_t* text, int length) override;

private:
    void stretch_on_screen(BitmapHandle bitmap, Point origin, int32_t width, int32_t height);
    void stretch_on_printer(BitmapHandle bitmap, Point origin, int32_t width, int32_t height);

    DeviceContext dc_;
    Kind kind_;
    void* font_ = nullptr;      // HFONT made by begin_font
    void* old_font_ = nullptr;  // the font it replaced in the device context
    bool font_selected_ = false;
};

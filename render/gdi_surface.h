// The drawing surface on a GDI device context (Win32 layer only; the
// handles are HDC and HFONT behind opaque pointers so that this header does
// not need windows.h).
#pragma once

#include "render/drawing_surface.h"

using DeviceContext = void*;  // HDC

// A memory device context compatible with `like` (nullptr: the screen),
// deleted with this object; declared before a surface on it, it outlives
// that surface.
class MemoryDeviceContext {
public:
    explicit MemoryDeviceContext(DeviceContext like);
    ~MemoryDeviceContext();
    MemoryDeviceContext(const MemoryDeviceContext&) = delete;
    MemoryDeviceContext& operator=(const MemoryDeviceContext&) = delete;
    DeviceContext dc() const { return dc_; }

private:
    DeviceContext dc_;
};

class GdiSurface final : public DrawingSurface {
public:
    // The screen stretches backgrounds with StretchBlt from a memory device
    // context; a printer gets the pixels as a 32-bit DIB with StretchDIBits,
    // which every printer driver accepts.
    // Many cards drawn on one screen surface in a row (thumbnails) stretch as
    // the screen does and keep their first background as a printer does.
    enum class Kind { Screen, Printer, ScreenCards };

    GdiSurface(DeviceContext dc, Kind kind);
    ~GdiSurface() override;  // ends a font still selected, deletes the fonts made
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    int32_t device_caps(int index) override;
    BitmapHandle load_bitmap(const char16_t* path) override;
    void release_bitmap(BitmapHandle bitmap) override;
    void stretch_bitmap(BitmapHandle bitmap, Point origin, int32_t width, int32_t height) override;
    void begin_font(const LogFont& font, RgbColor colour) override;
    void end_font() override;
    void text_out(Point at, const char16_t* text, int length) override;
    void text_out_stepped(Point at, const char16_t* text, int length,
                          const int32_t* steps) override;
    void frame(Rect rect, RgbColor colour) override;
    Extent text_extent(const char16_t* text, int length) override;
    Extent text_ends(const char16_t* text, int length, int32_t* ends) override;
    void fill_rect(const Rect& r, RgbColor colour) override;

private:
    void stretch_on_screen(BitmapHandle bitmap, Point origin, int32_t width, int32_t height);
    void stretch_on_printer(BitmapHandle bitmap, Point origin, int32_t width, int32_t height);

    // The font for a stored description: one made earlier for this surface,
    // or a new one (make_font, the one place fonts are made). Fonts are kept
    // until the surface is destroyed: a print job draws the same few fonts
    // on every page, and a printer driver that meets a new font on each page
    // prepares it again each time.
    void* font_for(const LogFont& font);
    void* make_font(const LogFont& font);

    static constexpr int kKeptFonts = 16;
    struct KeptFont {
        LogFont font;
        void* handle;  // HFONT
    };

    DeviceContext dc_;
    Kind kind_;
    // On a printer, the first background loaded stays for the whole job, so
    // the file is read once, not once per page; release_bitmap leaves it.
    // (The preview keeps the bitmap it loads beyond the surface: the screen
    // keeps nothing.)
    BitmapHandle kept_bitmap_ = nullptr;
    char16_t kept_bitmap_path_[PATH_CAP] = {};
    KeptFont fonts_[kKeptFonts] = {};
    int font_count_ = 0;
    void* unkept_font_ = nullptr;  // a font made when all places are taken; deleted by end_font
    void* old_font_ = nullptr;     // the font begin_font replaced in the device context
    bool font_selected_ = false;
    bool writes_down_ = false;     // the font begun writes down (a vertical face)
};

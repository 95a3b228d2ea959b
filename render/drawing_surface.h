// The few drawing operations the card renderer needs of a device: one GDI
// implementation for the screen and the printer (gdi_surface_win32.cpp),
// and a recording one in the native tests.
#pragma once

#include <cstdint>

#include "model/document.h"
#include "render/card_geometry.h"
#include "render/render_state.h"

// Device capability indices, with the values of the GDI constants.
constexpr int kCapHorzSize = 4;         // HORZSIZE, mm
constexpr int kCapVertSize = 6;         // VERTSIZE, mm
constexpr int kCapHorzRes = 8;          // HORZRES, pixels
constexpr int kCapVertRes = 10;         // VERTRES, pixels
constexpr int kCapLogPixelsX = 88;      // LOGPIXELSX
constexpr int kCapLogPixelsY = 90;      // LOGPIXELSY
constexpr int kCapPhysicalWidth = 110;  // PHYSICALWIDTH, pixels
constexpr int kCapPhysicalHeight = 111;
constexpr int kCapPhysicalOffsetX = 112;
constexpr int kCapPhysicalOffsetY = 113;

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual int32_t device_caps(int index) = 0;

    // Loads a BMP file; nullptr when it is missing or not a bitmap.
    virtual BitmapHandle load_bitmap(const char16_t* path) = 0;
    virtual void release_bitmap(BitmapHandle bitmap) = 0;
    // Stretches the whole bitmap onto the destination rectangle.
    virtual void stretch_bitmap(BitmapHandle bitmap, Point origin, int32_t width,
                                int32_t height) = 0;

    // Makes a font from the stored description and selects it, with
    // transparent text background and the given text colour; end_font puts
    // the device's previous font back and deletes the made one.
    virtual void begin_font(const LogFont& font, RgbColor colour) = 0;
    virtual void end_font() = 0;

    virtual void text_out(Point at, const char16_t* text, int length) = 0;
    // Draws `text` with character i+1 starting steps[i] units after
    // character i along the writing, whatever the font's own advances at
    // this size. A surface that draws no pixels may ignore the steps.
    virtual void text_out_stepped(Point at, const char16_t* text, int length,
                                  const int32_t* steps) {
        (void)steps;
        text_out(at, text, length);
    }
    // A one-unit frame around the rectangle (the cards of a printed sheet);
    // cards themselves never draw one.
    virtual void frame(Rect rect, RgbColor colour) { (void)rect, (void)colour; }
    virtual Extent text_extent(const char16_t* text, int length) = 0;
    // The extent of `text` and, in ends[i], the extent of its first i + 1
    // units.
    virtual Extent text_ends(const char16_t* text, int length, int32_t* ends) {
        for (int i = 0; i + 1 < length; ++i) ends[i] = text_extent(text, i + 1).cx;
        Extent whole = text_extent(text, length);
        if (length > 0) ends[length - 1] = whole.cx;
        return whole;
    }

    // Fills the rectangle (right and bottom edges excluded) with a colour.
    virtual void fill_rect(const Rect& r, RgbColor colour) = 0;
};

// The font actually made from a card's stored LOGFONTW. Layout files are
// read without limits, so a damaged or hand-edited file can hold a font of
// millions of pixels; the font engine renders such a font for minutes and
// with gigabytes of glyph memory. Every font made from a card's `lf` goes
// through bounded_font first; the stored values themselves are never
// changed, so a file loaded and saved again keeps its bytes.
#pragma once

#include <cstdint>

#include "model/document.h"

// The largest character height or width, in device pixels, that a font may
// have on a device whose drawing area is `device_width` by `device_height`
// pixels (HORZRES, VERTRES). The card is drawn inside that area (on paper it
// fills it exactly), so a character larger than the whole area cannot be
// meant. A device that reports no size gets kFontFallbackLimit; no device
// gets more than kFontMaxLimit, which is taller than a postcard printed at
// 1200 dpi (6992 pixels) and keeps a line of such characters within about
// 0.2 s and 100 MB of the font engine's time and memory.
constexpr int32_t kFontFallbackLimit = 4096;
constexpr int32_t kFontMaxLimit = 8192;
int32_t font_size_limit(int32_t device_width, int32_t device_height);

// The stored font as the device gets it:
// - lfHeight and lfWidth keep their sign (a negative height is a character
//   height, a positive one a cell height) and are limited to `limit` in
//   magnitude;
// - lfEscapement and lfOrientation, tenths of a degree, are taken modulo
//   3600: the same angle, in the range every font engine handles;
// - lfWeight is limited to 0 (the default weight) to 1000 (the heaviest);
// - the face name always ends within its 32 units.
// Everything else passes as stored.
LogFont bounded_font(const LogFont& stored, int32_t limit);

#include "render/font_bounds.h"

namespace {

int32_t clamp_magnitude(int32_t v, int32_t limit) {
    if (v > limit) return limit;
    if (v < -limit) return -limit;
    return v;
}

}  // namespace

int32_t font_size_limit(int32_t device_width, int32_t device_height) {
    int32_t larger = device_width > device_height ? device_width : device_height;
    if (larger <= 0) return kFontFallbackLimit;
    return larger < kFontMaxLimit ? larger : kFontMaxLimit;
}

LogFont bounded_font(const LogFont& stored, int32_t limit) {
    if (limit < 1) limit = 1;
    LogFont font = stored;
    font.lfHeight = clamp_magnitude(stored.lfHeight, limit);
    font.lfWidth = clamp_magnitude(stored.lfWidth, limit);
    font.lfEscapement = stored.lfEscapement % 3600;
    font.lfOrientation = stored.lfOrientation % 3600;
    if (font.lfWeight < 0) font.lfWeight = 0;
    if (font.lfWeight > 1000) font.lfWeight = 1000;
    font.lfFaceName[FACE_CAP - 1] = 0;
    return font;
}

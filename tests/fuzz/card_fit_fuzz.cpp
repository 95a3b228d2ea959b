// Feeds arbitrary bytes to what sets a card's lines when it is drawn: the
// fitting switches' file, and a card whose layout (positions, font heights
// and angles, size) and name and address texts come from the input, planned
// on a surface that measures as a full-width face advances. Nothing may
// read out of bounds, overflow or loop: layout files are read without
// limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "files/fit_settings_file.h"
#include "model/defaults.h"
#include "model/document.h"
#include "render/card_fit.h"

namespace {

class MeasuringSurface final : public DrawingSurface {
public:
    int32_t device_caps(int) override { return 0; }
    BitmapHandle load_bitmap(const char16_t*) override { return nullptr; }
    void release_bitmap(BitmapHandle) override {}
    void stretch_bitmap(BitmapHandle, Point, int32_t, int32_t) override {}
    void begin_font(const LogFont& font, RgbColor) override { height_ = font.lfHeight; }
    void end_font() override {}
    void text_out(Point, const char16_t*, int) override {}
    Extent text_extent(const char16_t*, int length) override {
        int64_t h = height_ < 0 ? -int64_t{height_} : height_;
        if (h > 8192) h = 8192;  // the font a device makes is bounded (render/font_bounds.h)
        return {static_cast<int32_t>(h * length), static_cast<int32_t>(h)};
    }
    void fill_rect(const Rect&, RgbColor) override {}

private:
    int32_t height_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    parse_fit_settings(data, static_cast<unsigned long>(size));
    static CardRecord card;
    set_default_layout(card);
    // The first bytes overwrite the layout fields and texts (tt to fn), the
    // last eight the card's size.
    size_t layout = offsetof(CardRecord, typ) - offsetof(CardRecord, tt);
    size_t n = size < layout ? size : layout;
    std::memcpy(reinterpret_cast<char*>(&card) + offsetof(CardRecord, tt), data, n);
    for (int k = 0; k < ADDRESSEE_LINES; ++k) card.tn.m[k].s[LINE_CAP - 1] = card.ta.m[k].s[LINE_CAP - 1] = 0;
    card.ftb = 0;
    if (size >= layout + 8) std::memcpy(&card.base_w, data + size - 8, 8);  // the card's size
    MeasuringSurface surface;
    int lines = card_overflow_lines(surface, card);
    if (lines < 0 || lines > 2 * ADDRESSEE_LINES + 2 * SENDER_LINES) std::abort();
    return 0;
}

// A drawing surface that records what the renderer asks of it, with text
// extents derived from the selected font so that measurements are
// predictable: cx = |lfHeight| x length, as a full-width face advances
// (or, without `square_cells`, 10 x length), cy = |lfHeight| + 2.
#pragma once

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "render/card_fit.h"
#include "render/drawing_surface.h"
#include "tests/support/fake_platform.h"

class RecordingSurface : public DrawingSurface {
public:
    struct Text {
        std::u16string text;
        Point at;
        LogFont font;
        RgbColor colour;
    };
    struct Stretch {
        BitmapHandle bitmap;
        Point origin;
        int32_t width;
        int32_t height;
    };
    struct Measure {
        std::u16string text;  // as handed over, a NUL included
        int length;
        Extent result;
    };

    std::map<int, int32_t> caps;
    bool square_cells = true;
    std::set<std::u16string> bitmap_files;  // paths that load as bitmaps

    // Everything in order: "load <path>", "release", "stretch", "font <face>",
    // "end_font", "text <utf8>", "extent <utf8>".
    std::vector<std::string> events;
    std::vector<Text> texts;
    std::vector<Stretch> stretches;
    std::vector<std::u16string> loads;
    std::vector<BitmapHandle> released;
    std::vector<Measure> measures;
    std::vector<LogFont> fonts;
    std::vector<Rect> fills;
    int open_fonts = 0;

    int32_t device_caps(int index) override {
        auto it = caps.find(index);
        return it == caps.end() ? 0 : it->second;
    }
    BitmapHandle load_bitmap(const char16_t* path) override {
        loads.push_back(path);
        events.push_back("load " + utf8(path));
        if (!bitmap_files.count(path)) return nullptr;
        return reinterpret_cast<BitmapHandle>(static_cast<intptr_t>(next_bitmap_++));
    }
    void release_bitmap(BitmapHandle bitmap) override {
        released.push_back(bitmap);
        events.push_back("release");
    }
    void stretch_bitmap(BitmapHandle bitmap, Point origin, int32_t width, int32_t height) override {
        stretches.push_back({bitmap, origin, width, height});
        events.push_back("stretch");
    }
    void begin_font(const LogFont& font, RgbColor colour) override {
        ++open_fonts;
        fonts.push_back(font);
        font_ = font;
        colour_ = colour;
        events.push_back("font " + utf8(font.lfFaceName));
    }
    void end_font() override {
        --open_fonts;
        events.push_back("end_font");
    }
    void text_out(Point at, const char16_t* text, int length) override {
        texts.push_back({std::u16string(text, length), at, font_, colour_});
        events.push_back("text " + utf8(std::u16string(text, length)));
    }
    // One measure, each unit as wide as the others.
    Extent text_ends(const char16_t* text, int length, int32_t* ends) override {
        Extent e = text_extent(text, length);
        for (int i = 0; i < length; ++i) ends[i] = e.cx / length * (i + 1);
        return e;
    }
    Extent text_extent(const char16_t* text, int length) override {
        Extent e{(square_cells ? std::abs(font_.lfHeight) : 10) * length, std::abs(font_.lfHeight) + 2};
        measures.push_back({std::u16string(text, length), length, e});
        events.push_back("extent " + utf8(std::u16string(text, length)));
        return e;
    }

    void fill_rect(const Rect& r, RgbColor colour) override {
        fills.push_back(r);
        events.push_back("fill " + std::to_string(colour.r) + "," + std::to_string(colour.g) + "," +
                         std::to_string(colour.b));
    }

    // The fonts selected to draw, without those the fitting measures with.
    std::vector<LogFont> drawn_fonts() const {
        std::vector<LogFont> out;
        for (const LogFont& f : fonts)
            if (std::abs(f.lfHeight) != kReferenceHeight) out.push_back(f);
        return out;
    }

    // The texts drawn, "text@x,y" each, for compact comparisons.
    std::vector<std::string> placed() const {
        std::vector<std::string> out;
        for (const Text& t : texts)
            out.push_back(utf8(t.text) + "@" + std::to_string(t.at.x) + "," + std::to_string(t.at.y));
        return out;
    }

private:
    LogFont font_{};
    RgbColor colour_{};
    int next_bitmap_ = 1;
};

// Opening "一覧で確認" with 200 cards: the marks of every card (the
// fitting's overflow count and the postal table included) and one screen of
// thumbnails, against drawing the same 200 cards once on the same surface.
// The surface stands in for a screen: it measures text as fonts do (an
// advance per character from the height) and inks every character's cell
// into a card-sized raster, as drawing text does and measuring does not.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "editors/proof_sheet.h"
#include "model/defaults.h"
#include "model/text.h"
#include "render/card_fit.h"
#include "render/card_renderer.h"
#include "tests/support/postal_tables.h"

namespace {

constexpr int kScreen = 16;  // four rows of four in a maximised window

class RasterSurface final : public DrawingSurface {
public:
    RasterSurface() : ink_(400 * 592, 0) {}
    int32_t device_caps(int) override { return 0; }
    BitmapHandle load_bitmap(const char16_t*) override { return nullptr; }
    void release_bitmap(BitmapHandle) override {}
    void stretch_bitmap(BitmapHandle, Point, int32_t, int32_t) override {}
    void begin_font(const LogFont& font, RgbColor) override { height_ = std::abs(font.lfHeight); }
    void end_font() override {}
    // Each character's cell down from `at` (vertical writing), clipped.
    void text_out(Point at, const char16_t*, int length) override {
        for (int c = 0; c < length; ++c)
            for (int32_t y = at.y + c * height_; y < at.y + (c + 1) * height_; ++y)
                for (int32_t x = at.x - height_; x < at.x; ++x)
                    if (x >= 0 && x < 400 && y >= 0 && y < 592) ink_[static_cast<size_t>(y) * 400 + x] ^= 1;
        drawn_ += length;
    }
    Extent text_extent(const char16_t*, int length) override { return {height_ * length, height_ + 2}; }
    void fill_rect(const Rect&, RgbColor) override {}
    long drawn() const { return drawn_; }

private:
    int32_t height_ = 0;
    long drawn_ = 0;
    std::vector<unsigned char> ink_;
};

class SurfaceFit final : public CardFitCheck {
public:
    explicit SurfaceFit(DrawingSurface& surface) : surface_(surface) {}
    bool overflows(int card) override { return card_overflow_lines(surface_, doc().hdata[card]) > 0; }

private:
    DrawingSurface& surface_;
};

// 200 cards as people have them: a postal code, two address lines, a
// name with 様, the one sender.
void fill_cards() {
    std::memset(&doc(), 0, sizeof(Document));
    for (CardRecord& c : doc().hdata) set_default_layout(c);
    set_default_print_settings(doc().print);
    text_set(doc().fdata[0].t, u"1500001");
    text_set(doc().fdata[0].a[0].s, u"東京都渋谷区神宮前一ー二ー三");
    text_set(doc().fdata[0].n[0].s, u"山田　太郎");
    for (int i = 0; i < HDATA_MAX; ++i) {
        CardRecord& c = doc().hdata[i];
        text_set(c.tt.m, i % 2 ? u"1500001" : u"5300001");
        const std::u16string number = u"一ー" + std::u16string(1, static_cast<char16_t>(u'一' + i % 9));
        text_set(c.ta.m[0].s, (u"大阪府大阪市北区梅田" + number).c_str());
        text_set(c.ta.m[1].s, u"梅田ハイツ二〇二");
        text_set(c.tn.m[0].s, u"鈴木　花子　様");
    }
}

void BM_ProofSheet(benchmark::State& state) {
    fill_cards();
    static ProofSheet sheet;
    static bool changed[HDATA_MAX];
    PostalCodeTable table{};
    const std::string& real = real_postal_table();
    const std::string& bytes = real.empty() ? postal_fixture_table() : real;
    open_postal_code_table(bytes.data(), bytes.size(), table);
    RasterSurface surface;
    SurfaceFit fit(surface);
    static unsigned round = 0;
    for (auto _ : state) {
        // Another fitting state each round: every card is looked at again.
        if (sheet.refresh(2027, &table, fit, ++round, changed) != HDATA_MAX)
            state.SkipWithError("not every card was looked at");
        for (int p = 0; p < kScreen; ++p) {
            const CardRecord& c = doc().hdata[sheet.card_at(p)];
            draw_card_view(surface, sheet.card_at(p), {0, 0}, c.base_w, c.base_h, true);
        }
    }
    benchmark::DoNotOptimize(surface.drawn());
}
BENCHMARK(BM_ProofSheet)->Unit(benchmark::kMicrosecond);

void BM_ProofSheet_Baseline(benchmark::State& state) {
    fill_cards();
    RasterSurface surface;
    for (auto _ : state) {
        for (int i = 0; i < HDATA_MAX; ++i)
            draw_card_view(surface, i, {0, 0}, doc().hdata[i].base_w, doc().hdata[i].base_h, true);
    }
    benchmark::DoNotOptimize(surface.drawn());
}
BENCHMARK(BM_ProofSheet_Baseline)->Unit(benchmark::kMicrosecond);

}  // namespace

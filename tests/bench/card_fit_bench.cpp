// Drawing 200 cards with fitting and the 連名/敬称 alignment on against the
// same cards with both switches off, on the same surface: a device that
// measures as a full-width face advances and draws nothing, so that the
// ratio shows what the planning costs the renderer.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "render/card_fit.h"
#include "render/card_renderer.h"
#include "tests/support/fake_platform.h"

namespace {

class MeasuringSurface final : public DrawingSurface {
public:
    int32_t device_caps(int index) override { return index == kCapHorzRes ? 2244 : 3389; }
    BitmapHandle load_bitmap(const char16_t*) override { return nullptr; }
    void release_bitmap(BitmapHandle) override {}
    void stretch_bitmap(BitmapHandle, Point, int32_t, int32_t) override {}
    void begin_font(const LogFont& font, RgbColor) override { height_ = std::abs(font.lfHeight); }
    void end_font() override {}
    void text_out(Point at, const char16_t*, int length) override { drawn_ += at.y + length; }
    Extent text_extent(const char16_t*, int length) override { return {height_ * length, height_}; }
    void fill_rect(const Rect&, RgbColor) override {}
    int64_t drawn() const { return drawn_; }

private:
    int32_t height_ = 0;
    int64_t drawn_ = 0;
};

// 200 cards as a year's list has them: addresses of 12 to 26 characters
// (a fifth longer than the card), every third card a 連名 with 様.
void fill_cards() {
    static bool filled = false;
    if (filled) return;
    filled = true;
    std::memset(&doc(), 0, sizeof(Document));
    for (CardRecord& c : doc().hdata) set_default_layout(c);
    set_default_print_settings(doc().print);
    text_set(doc().fdata[0].t, u"1000005");
    text_set(doc().fdata[0].a[0].s, u"東京都千代田区丸の内一丁目一ー一");
    text_set(doc().fdata[0].n[0].s, u"鈴木　一郎");
    for (int i = 0; i < HDATA_MAX; ++i) {
        CardRecord& c = doc().hdata[i];
        text_set(c.tt.m, u"2220033");
        std::u16string address = u"神奈川県横浜市港北区新横浜三丁目一七番地六";
        text_set(c.ta.m[0].s, address.substr(0, 12 + i % 15).c_str());
        text_set(c.ta.m[1].s, u"ハイツ新横浜二〇三");
        text_set(c.tn.m[0].s, u"山田　太郎　様");
        if (i % 3 == 0) text_set(c.tn.m[1].s, u"花子　様");
    }
}

void draw_all(benchmark::State& state, bool on) {
    FakePlatform fake;
    fill_cards();
    MeasuringSurface surface;
    fit_switches() = FitSwitches{on, on};
    for (auto _ : state) {
        for (int i = 0; i < HDATA_MAX; ++i) draw_card_print(surface, i);
        benchmark::DoNotOptimize(surface.drawn());
    }
    fit_switches() = FitSwitches{};
}

void BM_FitCards(benchmark::State& state) {
    draw_all(state, true);
    state.SetLabel("200 cards drawn with fitting and alignment on");
}
BENCHMARK(BM_FitCards)->Unit(benchmark::kMicrosecond);

void BM_FitCards_Baseline(benchmark::State& state) { draw_all(state, false); }
BENCHMARK(BM_FitCards_Baseline)->Unit(benchmark::kMicrosecond);

}  // namespace

// Importing a complete older layout file (200 cards, every key) against
// only reading the same bytes through the same platform seam.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "exchange/legacy_import.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/bench/bench_platform.h"

namespace {

const char16_t kPath[] = u"C:\\work\\old_layout.txt";

std::u16string number(int value) {
    char16_t buffer[16];
    TextBuilder(buffer, 16).add_int(value);
    return buffer;
}

// Every key of the older layout file, with values that differ from card to card.
std::u16string full_old_layout() {
    static const char16_t* const font_fields[] = {
        u"lfHeight",   u"lfWidth",        u"lfEscapement",    u"lfOrientation", u"lfWeight",
        u"lfItalic",   u"lfUnderline",    u"lfStrikeOut",     u"lfCharSet",     u"lfOutPrecision",
        u"lfClipPrecision", u"lfQuality", u"lfPitchAndFamily",
    };
    std::u16string out = u"base_w=400\r\nbase_h=592\r\nbase_bmp=base1.bmp\r\n";
    for (int i = 0; i < HDATA_MAX; ++i) {
        std::u16string card = u"base_dt[" + number(i) + u"].";
        auto line = [&](const std::u16string& key, const std::u16string& value) {
            out += card + key + u"=" + value + u"\r\n";
        };
        line(u"base_filepass", u"C:\\はがき\\背景" + number(i) + u".bmp");
        for (const char16_t* pos : {u"x1", u"y1", u"w1", u"x2", u"y2", u"w2", u"x3", u"y3", u"w3",
                                    u"x4", u"y4", u"w4"})
            line(pos, number(100 + i));
        for (char16_t item : std::u16string(u"tanydm")) {
            std::u16string lf = std::u16string(1, item) + u"lf.";
            for (const char16_t* field : font_fields) line(lf + field, number(-900 + i));
            line(lf + u"lfFaceName", u"@HG行書体");
            for (const char16_t* c : {u"c.r", u"c.g", u"c.b"}) line(std::u16string(1, item) + c, number(i));
            int lines = item == u'a' || item == u'n' ? 5 : item == u'd' || item == u'm' ? 2 : 0;
            for (int k = 0; k < lines; ++k) {
                std::u16string xy = std::u16string(1, item) + u"xy[" + number(k) + u"].";
                line(xy + u"x", number(370 - 35 * k));
                line(xy + u"y", number(100 + i));
            }
        }
    }
    out += u"base_pw=1000\r\nbase_ph=1480\r\nbase_px=0\r\nbase_py=0\r\n"
           u"prn_mode=0\r\nbmp_mode=0\r\nstart_p=1\r\nstop_p=1\r\n";
    return out;
}

// One platform with the file for both benchmarks; its folder goes at exit.
YesBenchPlatform& bench_platform() {
    static YesBenchPlatform fake;
    static const bool written = (fake.put_file(kPath, utf16le_file(full_old_layout())), true);
    (void)written;
    set_platform(&fake);
    return fake;
}

void BM_ImportLegacyLayout(benchmark::State& state) {
    bench_platform();
    text_set(doc().work_dir, u"C:\\work");
    text_set(doc().chosen_file, kPath);
    for (auto _ : state) {
        int result = import_legacy(nullptr, LEGACY_LAYOUT);
        benchmark::DoNotOptimize(result);
    }
    if (doc().hdata[199].fn.xy[1].y != 299) state.SkipWithError("the import did not apply the file");
    state.SetLabel("importing an older layout file of 200 cards");
}
BENCHMARK(BM_ImportLegacyLayout)->Unit(benchmark::kMicrosecond);

void BM_ImportLegacyLayout_Baseline(benchmark::State& state) {
    Platform& p = bench_platform();
    std::vector<unsigned char> content;
    for (auto _ : state) {
        read_whole_file(p, kPath, content);
        benchmark::DoNotOptimize(content.data());
    }
}
BENCHMARK(BM_ImportLegacyLayout_Baseline)->Unit(benchmark::kMicrosecond);

}  // namespace

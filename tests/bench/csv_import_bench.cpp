// Importing 200 rows of CSV (the program's own export of a full document)
// against only reading the same bytes through the same platform seam.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "exchange/csv_export.h"
#include "exchange/csv_import.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/bench/bench_platform.h"
#include "tests/support/full_document.h"

namespace {

const char16_t kPath[] = u"C:\\work\\export.csv";

// One platform with the exported file for both benchmarks.
YesBenchPlatform& bench_platform() {
    static YesBenchPlatform fake;
    static const bool written = [] {
        fill_full_document();
        text_set(doc().work_dir, u"C:\\work");
        text_set(doc().chosen_file, kPath);
        return export_csv(nullptr) == CSV_WRITTEN;
    }();
    (void)written;
    set_platform(&fake);
    return fake;
}

void BM_ImportCsv(benchmark::State& state) {
    bench_platform();
    text_set(doc().work_dir, u"C:\\work");
    text_set(doc().chosen_file, kPath);
    for (auto _ : state) {
        int result = import_csv(nullptr);
        benchmark::DoNotOptimize(result);
    }
    if (count_cards() != HDATA_MAX) state.SkipWithError("the import did not take 200 rows");
    state.SetLabel("importing a CSV file of 200 rows");
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMicrosecond);

void BM_ImportCsv_Baseline(benchmark::State& state) {
    Platform& p = bench_platform();
    std::vector<unsigned char> content;
    for (auto _ : state) {
        read_whole_file(p, kPath, content);
        benchmark::DoNotOptimize(content.data());
    }
}
BENCHMARK(BM_ImportCsv_Baseline)->Unit(benchmark::kMicrosecond);

}  // namespace

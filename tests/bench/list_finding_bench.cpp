// Finding in the addressee list over 200 rows, each against reading the
// rows' texts once: a search that finds nothing (every row looked at), the
// あいうえお順 sort, and 重複チェック.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "editors/addressee_list_finding.h"
#include "model/text.h"

namespace {

// 200 rows of kanji names, katakana readings in random order, addresses
// and postal codes, made once.
const ListRow* bench_rows() {
    static ListRow rows[HDATA_MAX];
    static const bool made = [] {
        const char16_t kana[] = u"アイウエオカガキギクサザシジスタダチツテナニヌハバパヒビマミムヤユヨラリルワン";
        const int kinds = static_cast<int>(sizeof kana / sizeof kana[0]) - 1;
        unsigned seed = 12345;
        for (int r = 0; r < HDATA_MAX; ++r) {
            ListRow& row = rows[r];
            std::u16string reading;
            for (int k = 0; k < 9; ++k) {
                seed = seed * 1103515245u + 12345u;
                reading += k == 4 ? u'　' : kana[(seed >> 16) % kinds];
            }
            text_set(row.cell[COLUMN_YOMI], reading.c_str());
            TextBuilder(row.cell[COLUMN_NAME0], LINE_CAP).add(u"山田　太郎").add_int(r).add(u"　様");
            TextBuilder(row.cell[COLUMN_ADDRESS0], LINE_CAP).add(u"東京都千代田区千代田").add_int(r).add(u"－１－１");
            text_set(row.cell[COLUMN_ADDRESS0 + 1], u"ザ・タワー千代田　１２０１号室");
            TextBuilder(row.cell[COLUMN_POSTAL], LINE_CAP).add_int(1000000 + r * 37);
        }
        return true;
    }();
    (void)made;
    return rows;
}

// Reading every text of the 200 rows once.
void read_rows(benchmark::State& state) {
    const ListRow* rows = bench_rows();
    for (auto _ : state) {
        unsigned sum = 0;
        for (int r = 0; r < HDATA_MAX; ++r)
            for (int c = 0; c < LIST_COLUMNS; ++c)
                for (const char16_t* p = rows[r].cell[c]; *p; ++p) sum += *p;
        benchmark::DoNotOptimize(sum);
    }
}

void BM_FindRow(benchmark::State& state) {
    const ListRow* rows = bench_rows();
    for (auto _ : state) {
        int r = find_next_row(rows, HDATA_MAX, 0, u"ｽｽﾞｷ");
        benchmark::DoNotOptimize(r);
    }
    state.SetLabel("次を検索 over 200 rows without a match");
}
BENCHMARK(BM_FindRow)->Unit(benchmark::kMicrosecond);
void BM_FindRow_Baseline(benchmark::State& state) { read_rows(state); }
BENCHMARK(BM_FindRow_Baseline)->Unit(benchmark::kMicrosecond);

void BM_SortByReading(benchmark::State& state) {
    const ListRow* rows = bench_rows();
    int order[HDATA_MAX];
    for (auto _ : state) {
        sort_by_reading(rows, HDATA_MAX, 1, order);
        benchmark::DoNotOptimize(order);
    }
    state.SetLabel("sorting 200 rows あいうえお順");
}
BENCHMARK(BM_SortByReading)->Unit(benchmark::kMicrosecond);
void BM_SortByReading_Baseline(benchmark::State& state) { read_rows(state); }
BENCHMARK(BM_SortByReading_Baseline)->Unit(benchmark::kMicrosecond);

void BM_DuplicateRows(benchmark::State& state) {
    // It only sets the rows' selection, so one copy serves every run.
    static ListRow rows[HDATA_MAX];
    std::copy(bench_rows(), bench_rows() + HDATA_MAX, rows);
    for (auto _ : state) {
        int found = select_duplicate_rows(rows, HDATA_MAX);
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel("重複チェック over 200 rows");
}
BENCHMARK(BM_DuplicateRows)->Unit(benchmark::kMicrosecond);
void BM_DuplicateRows_Baseline(benchmark::State& state) { read_rows(state); }
BENCHMARK(BM_DuplicateRows_Baseline)->Unit(benchmark::kMicrosecond);

}  // namespace

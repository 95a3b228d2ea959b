// Postal code lookups in the table the build made from the real package
// (the fixture's when the build could not fetch it), against a plain
// binary search (std::lower_bound) over the same codes, copied into a
// std::vector<uint32_t>, with the same keys in the same order.
//   PostalFind: the table's search for a code against the plain search.
//   PostalLookup: what "〒→住所" does per code (the typed text read, the
//   code found, the address text built) against the same plain search.
//   PostalOpenTable: checking the whole table, as every button press does.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/csv_decode.h"
#include "postal/postal_code_table.h"
#include "postal/postal_table_builder.h"
#include "tests/support/postal_tables.h"

namespace {

constexpr int kKeys = 4096;

struct BenchTable {
    PostalCodeTable table{};
    std::vector<uint32_t> codes;       // the table's codes, for the plain search
    std::vector<uint32_t> keys;        // codes of the table in a scattered order
    std::vector<std::u16string> typed; // the same keys as typed: "150-0001"
    bool real = false;
};

const BenchTable& bench_table() {
    static const BenchTable b = [] {
        BenchTable t;
        const std::string& real = real_postal_table();
        const std::string& bytes = real.empty() ? postal_fixture_table() : real;
        t.real = !real.empty();
        if (open_postal_code_table(bytes.data(), bytes.size(), t.table) != POSTAL_TABLE_OK) return t;
        for (uint32_t i = 0; i < t.table.code_count; ++i) {
            const unsigned char* p = t.table.codes + 4 * i;
            t.codes.push_back(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
        }
        uint32_t x = 12345;
        for (int k = 0; k < kKeys; ++k) {
            x = x * 1103515245u + 12345u;
            uint32_t code = t.codes[(x >> 8) % t.codes.size()];
            t.keys.push_back(code);
            std::u16string text;
            for (uint32_t d = 1000000; d > 0; d /= 10) {
                text += static_cast<char16_t>(u'0' + code / d % 10);
                if (d == 10000) text += u'-';
            }
            t.typed.push_back(text);
        }
        return t;
    }();
    return b;
}

// Checks the run and names the job one key stands for: the time per job is
// the time per iteration divided by "per_iteration".
void finish(benchmark::State& state, const BenchTable& b, long found, const char* job) {
    if (b.keys.empty()) state.SkipWithError("no postal code table");
    if (found != static_cast<long>(state.iterations()) * kKeys)
        state.SkipWithError("a code of the table was not found");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kKeys);
    state.counters["per_iteration"] = kKeys;
    state.SetLabel(std::string(job) + (b.real ? " (real table)" : " (fixture table)"));
}

void BM_PostalFind(benchmark::State& state) {
    const BenchTable& b = bench_table();
    long found = 0;
    for (auto _ : state) {
        for (uint32_t key : b.keys) found += find_postal_code(b.table, key) >= 0;
        benchmark::DoNotOptimize(found);
    }
    finish(state, b, found, "finding one postal code");
}
BENCHMARK(BM_PostalFind)->Unit(benchmark::kMicrosecond);

void BM_PostalLookup(benchmark::State& state) {
    const BenchTable& b = bench_table();
    long found = 0;
    char16_t address[64];
    for (auto _ : state) {
        for (const std::u16string& text : b.typed) {
            uint32_t code = 0;
            int index = read_typed_postal_code(text.c_str(), code) ? find_postal_code(b.table, code) : -1;
            if (index < 0) continue;
            postal_address(b.table, index, address, 64);
            found += address[0] != 0;
        }
        benchmark::DoNotOptimize(found);
    }
    finish(state, b, found, "one typed postal code turned into its address");
}
BENCHMARK(BM_PostalLookup)->Unit(benchmark::kMicrosecond);

// Opening checks the whole table; each press of a postal code button opens
// it anew. Reported only (no limit).
void BM_PostalOpenTable(benchmark::State& state) {
    const std::string& real = real_postal_table();
    const std::string& bytes = real.empty() ? postal_fixture_table() : real;
    PostalCodeTable table;
    for (auto _ : state) {
        int result = open_postal_code_table(bytes.data(), bytes.size(), table);
        benchmark::DoNotOptimize(result);
    }
    if (table.code_count == 0) state.SkipWithError("no postal code table");
    state.SetLabel("checking the whole table, as each press of a postal code button does");
}
BENCHMARK(BM_PostalOpenTable)->Unit(benchmark::kMicrosecond);

void plain_search(benchmark::State& state) {
    const BenchTable& b = bench_table();
    long found = 0;
    for (auto _ : state) {
        for (uint32_t key : b.keys) {
            auto it = std::lower_bound(b.codes.begin(), b.codes.end(), key);
            found += it != b.codes.end() && *it == key;
        }
        benchmark::DoNotOptimize(found);
    }
    finish(state, b, found, "a plain binary search for one code");
}

void BM_PostalFind_Baseline(benchmark::State& state) { plain_search(state); }
BENCHMARK(BM_PostalFind_Baseline)->Unit(benchmark::kMicrosecond);

void BM_PostalLookup_Baseline(benchmark::State& state) { plain_search(state); }
BENCHMARK(BM_PostalLookup_Baseline)->Unit(benchmark::kMicrosecond);


// "郵便番号データの更新": the table built from an address file of Japan
// Post's size (124,000 records of utf_ken_all.csv, some of them towns of
// several records, notes, buildings' floors and codes of several towns),
// from its bytes as read, against reading the same bytes into text.
//   PostalBuildTable: decoding, reading the records, building the table.
const std::string& full_size_address_file() {
    static const std::string bytes = [] {
        const char* digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
        auto number = [&](int n) {
            std::string s;
            do s.insert(0, digits[n % 10]); while ((n /= 10) > 0);
            return s;
        };
        std::string out;
        for (int i = 0; i < 124000; ++i) {
            int code = 10000 + (i / 2) * 79 + (i % 13 == 0 ? 0 : i % 2);  // some codes of two towns
            std::string town = "大字" + number(i % 700) + "町";
            if (i % 97 == 0) town += "（" + number(i % 30) + "～" + number(i % 30 + 9) + "丁目）";
            if (i % 211 == 0) town = "以下に掲載がない場合";
            if (i % 37 == 0) town = "大字" + number(i % 700) + "町中央ビル（" + number(i % 40 + 1) + "階）";
            out += "01101,\"060  \",\"" + std::to_string(10000000 + code).substr(1) +
                   "\",\"ﾎｯｶｲﾄﾞｳ\",\"ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ\",\"ｵｵﾄﾞｵﾘﾆｼ\",\"県" + number(i / 2700) + "\",\"市" +
                   number(i / 65) + "\",\"" + town + "\",0,0,1,0,0,0\r\n";
        }
        return out;
    }();
    return bytes;
}

// The file's text as the update reads it.
std::u16string file_text(const std::string& bytes) {
    std::u16string text;
    store_csv_bytes(bytes.data(), bytes.size(), text);
    decode_csv_file(text, bytes.size());
    return text;
}

void BM_PostalBuildTable(benchmark::State& state) {
    const std::string& bytes = full_size_address_file();
    size_t table_bytes = 0;
    for (auto _ : state) {
        std::vector<PostalRow> rows;
        if (read_japan_post_file(file_text(bytes), rows) != POSTAL_FILE_ADDRESS) state.SkipWithError("not read");
        table_bytes = build_postal_table(rows, 0).size();
        benchmark::DoNotOptimize(table_bytes);
    }
    if (table_bytes == 0) state.SkipWithError("no table built");
    state.SetLabel("building the postal code table from a full-size address file (124,000 records)");
}
BENCHMARK(BM_PostalBuildTable)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PostalBuildTable_Baseline(benchmark::State& state) {
    const std::string& bytes = full_size_address_file();
    for (auto _ : state) {
        std::u16string text = file_text(bytes);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_PostalBuildTable_Baseline)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

// Loading a full set of data files (10 senders, 200 cards with every text at
// full length) against merely reading the same bytes through the platform.
#include <benchmark/benchmark.h>

#include <cstring>

#include "files/data_files.h"
#include "files/kv_file.h"
#include "files/kv_line_splitter.h"
#include "files/startup_files.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"
#include "tests/support/full_document.h"

namespace {

const char16_t* const kNames[3] = {u"zelko1.txt", u"zelko2.txt", u"zelko3.txt"};

// The document the files were written from.
Document& written_document() {
    static Document written;
    return written;
}

// The fake platform with the three files written once.
FakePlatform& full_files() {
    // A static object, so that its folder is removed at exit.
    static FakePlatform fake;
    static const bool written = [] {
        std::memset(&doc(), 0, sizeof(Document));
        text_set(doc().work_dir, u"C:\\work");
        fill_full_document();
        std::memcpy(&written_document(), &doc(), sizeof(Document));
        return write_sender_file(nullptr, kNames[0], WRITE_SILENT) == WRITE_DONE &&
               write_addressee_file(nullptr, kNames[1], WRITE_SILENT) == WRITE_DONE &&
               write_layout_file(nullptr, kNames[2], WRITE_SILENT) == WRITE_DONE;
    }();
    (void)written;
    set_platform(&fake);
    return fake;
}

void BM_LoadFullDataFiles(benchmark::State& state) {
    full_files();
    for (auto _ : state) {
        read_kv_file(nullptr, READ_SILENT, KIND_SENDER, kNames[0]);
        read_kv_file(nullptr, READ_SILENT, KIND_ADDRESSEE, kNames[1]);
        read_kv_file(nullptr, READ_SILENT, KIND_LAYOUT, kNames[2]);
        benchmark::DoNotOptimize(doc().hdata[HDATA_MAX - 1].fn.c.b);
    }
    // The loads must have read back exactly what was written.
    const Document& written = written_document();
    if (std::memcmp(doc().hdata, written.hdata, sizeof written.hdata) != 0 ||
        std::memcmp(doc().fdata, written.fdata, sizeof written.fdata) != 0 ||
        std::memcmp(&doc().print, &written.print, sizeof written.print) != 0)
        state.SkipWithError("files not loaded as written");
    state.SetLabel("the start-up load of 10 senders and 200 cards");
}
BENCHMARK(BM_LoadFullDataFiles)->Unit(benchmark::kMillisecond);

// The same files read into memory in chunks of the reader's size.
void BM_LoadFullDataFiles_Baseline(benchmark::State& state) {
    full_files();
    static char16_t chunk[KV_DATA_FILE_LINES.chunk_units];
    for (auto _ : state) {
        size_t total = 0;
        for (const char16_t* name : kNames) {
            char16_t path[PATH_CAP];
            resolve_data_path(name, path, PATH_CAP);
            FileHandle file = platform().open_for_read(path);
            size_t got = 0;
            while ((got = platform().read(file, chunk, sizeof chunk)) > 0) {
                total += got;
                benchmark::DoNotOptimize(chunk);
            }
            platform().close(file);
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_LoadFullDataFiles_Baseline)->Unit(benchmark::kMillisecond);

// The exit save of the full document in `folder`, one save a second of the
// fake clock, each with a change in the last card, so that each compares
// every file with its newest backup to the end and makes new generations.
void save_full_document(benchmark::State& state, const char16_t* folder) {
    FakePlatform& fake = full_files();
    text_set(doc().work_dir, folder);
    int saves = 0;
    for (auto _ : state) {
        fake.now = LocalTime{2026, 12, 7, saves / 3600 % 24, saves / 60 % 60, saves % 60};
        ++saves;
        doc().hdata[HDATA_MAX - 1].tn.m[0].s[0] = saves % 2 == 0 ? u'甲' : u'乙';
        doc().fdata[FDATA_MAX - 1].n[0].s[0] = saves % 2 == 0 ? u'甲' : u'乙';
        if (save_startup_files() != WRITE_DONE) state.SkipWithError("not saved");
    }
    text_set(doc().work_dir, u"C:\\work");
}

// With the three replaced files copied into the backup folder and the
// generations trimmed to ten ...
void BM_ExitSaveWithBackup(benchmark::State& state) {
    save_full_document(state, u"C:\\work");
    state.SetLabel("the exit save of 10 senders and 200 cards with their backups");
}
BENCHMARK(BM_ExitSaveWithBackup)->Unit(benchmark::kMillisecond);

// ... against the same save where a file named "backup" leaves no room for
// the folder (reported once, then every save goes on without copies).
void BM_ExitSaveWithBackup_Baseline(benchmark::State& state) {
    full_files().put_file(u"C:\\blocked\\backup", "a file");
    save_full_document(state, u"C:\\blocked");
}
BENCHMARK(BM_ExitSaveWithBackup_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

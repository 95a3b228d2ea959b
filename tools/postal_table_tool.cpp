// Makes the postal code table built into the program, with the program's
// own reader and rules (postal/postal_table_builder.h), from files in the
// layout of Japan Post's address and business files: the ones
// scripts/postal_data.py writes from the npm package, or Japan Post's own
// (utf_ken_all.csv, KEN_ALL.CSV in Shift_JIS, JIGYOSYO.CSV), read exactly
// as the command "郵便番号データの更新" reads them. A host program of the
// build:
//
//     postal_table_tool OUT DATE FILE...
//
// DATE is the data's date as yyyymmdd (0 unknown). Exit 0 when written;
// a file it cannot read or take (bytes that are no character, a cut
// record, another layout) is named with the reason in one line on stderr,
// exit 1, before OUT is touched.
#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "exchange/csv_decode.h"
#include "platform/platform.h"
#include "postal/postal_table_builder.h"

namespace {

// What the platform gives the readers on this host: Shift_JIS (code page
// 932) through the C library's iconv, as Windows decodes it. The tool reads
// and writes its files itself and shows nothing, so the rest does nothing.
class HostPlatform : public Platform {
public:
    int message_box(WindowHandle, const char16_t*, const char16_t*, unsigned) override { return kAnswerNo; }
    bool file_dialog(WindowHandle, FileDialogRequest&) override { return false; }
    bool get_current_directory(char16_t*, int) override { return false; }
    bool set_current_directory(const char16_t*) override { return false; }
    bool path_exists(const char16_t*) override { return false; }
    FileHandle open_for_read(const char16_t*) override { return nullptr; }
    size_t read(FileHandle, void*, size_t) override { return 0; }
    bool close(FileHandle) override { return false; }
    bool replace_file(const char16_t*, const void*, size_t) override { return false; }
    LocalTime local_time() override { return LocalTime{}; }
    void show_wait_window(WindowHandle) override {}
    void close_wait_window() override {}
    int decode_code_page(unsigned code_page, const void* bytes, size_t count, char16_t* out,
                         size_t out_cap) override {
        if (code_page != 932) return -1;
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1)) return -1;
        char* in = const_cast<char*>(static_cast<const char*>(bytes));
        char* to = reinterpret_cast<char*>(out);
        size_t in_left = count, to_left = out_cap * sizeof(char16_t);
        const bool whole = iconv(cd, &in, &in_left, &to, &to_left) != static_cast<size_t>(-1) && in_left == 0;
        iconv_close(cd);
        return whole ? static_cast<int>((out_cap * sizeof(char16_t) - to_left) / sizeof(char16_t)) : -1;
    }
};

int fail(const char* path, const char* why) {
    std::fprintf(stderr, "postal_table_tool: %s: %s\n", path, why);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: postal_table_tool OUT DATE FILE...\n");
        return 2;
    }
    HostPlatform host;
    set_platform(&host);
    std::vector<PostalRow> rows;
    for (int i = 3; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in.is_open()) return fail(argv[i], "cannot be opened");
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return fail(argv[i], "cannot be read");
        std::u16string text;
        store_csv_bytes(bytes.data(), bytes.size(), text);
        int garbled = 0;
        if (read_japan_post_bytes(text, bytes.size(), rows, nullptr, &garbled) == POSTAL_FILE_NONE)
            return fail(argv[i], garbled > 0 ? "bytes that are no character in UTF-8, UTF-16 or Shift_JIS"
                                             : "not Japan Post's layout (every record with all columns "
                                               "and a seven-digit code)");
    }
    const size_t count = rows.size();
    std::string table = build_postal_table(rows, static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    if (table.empty()) return fail(argv[1], "more places than the table can hold");
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(table.data(), static_cast<std::streamsize>(table.size()));
    out.close();
    if (!out) return fail(argv[1], "cannot be written");
    std::printf("postal code table: %zu rows, %zu bytes\n", count, table.size());
    return 0;
}

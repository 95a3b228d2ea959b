// Makes the postal code table built into the program, with the program's
// own rules (postal/postal_table_builder.h), from files in the layout of
// Japan Post's address and business files, as scripts/postal_data.py
// writes them from the npm package. A host program of the build:
//
//     postal_table_tool OUT DATE FILE...
//
// DATE is the data's date as yyyymmdd (0 unknown). Exit 0 when written.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "exchange/csv_decode.h"
#include "postal/postal_table_builder.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: postal_table_tool OUT DATE FILE...\n");
        return 2;
    }
    std::vector<PostalRow> rows;
    for (int i = 3; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::u16string text;
        store_csv_bytes(bytes.data(), bytes.size(), text);
        if (!in.is_open() || decode_csv_file(text, bytes.size()) != CSV_UTF8 ||
            read_japan_post_file(text, rows) == POSTAL_FILE_NONE) {
            std::fprintf(stderr, "postal_table_tool: %s is no UTF-8 file of Japan Post's layout\n", argv[i]);
            return 1;
        }
    }
    const size_t count = rows.size();
    std::string table = build_postal_table(rows, static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(table.data(), static_cast<std::streamsize>(table.size()));
    out.close();
    if (table.empty() || !out) {
        std::fprintf(stderr, "postal_table_tool: %s not written\n", argv[1]);
        return 1;
    }
    std::printf("postal code table: %zu rows, %zu bytes\n", count, table.size());
    return 0;
}

// Feeds arbitrary text (the bytes as UTF-16LE) to the reader of Japan
// Post's postal code files and, when it takes them, to the table builder:
// the table built must open, hold every code read, ascending and exactly
// once, and give each an address that ends inside its buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "postal/postal_code_table.h"
#include "postal/postal_table_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    std::vector<PostalRow> rows;
    int kind = read_japan_post_file(text, rows);
    if (kind == POSTAL_FILE_NONE) {
        if (!rows.empty()) abort();
        return 0;
    }
    std::set<uint32_t> codes;
    for (const PostalRow& row : rows) {
        if (row.code >= 10000000) abort();
        codes.insert(row.code);
    }
    std::string bytes = build_postal_table(rows, 20261207);
    PostalCodeTable table;
    if (open_postal_code_table(bytes.data(), bytes.size(), table) != POSTAL_TABLE_OK) abort();
    if (table.code_count != codes.size() || table.date != 20261207) abort();
    int index = 0;
    for (uint32_t code : codes) {
        if (find_postal_code(table, code) != index) abort();
        char16_t line[8], building[8], office[8];
        postal_address_parts(table, index, line, building, office, 8);
        for (int k = 0; k < postal_place_count(table, index); ++k) postal_place_address(table, index, k, line, 8);
        ++index;
    }
    return 0;
}

// Feeds arbitrary bytes to the postal code table's reader: opening must
// refuse whatever is not a consistent table, and on what it accepts every
// code must be found at its own index and every address must end inside
// its buffer. The same bytes, as UTF-16 text, go through the readers of
// typed and printed postal codes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "postal/postal_code_table.h"

namespace {

uint32_t code_at(const PostalCodeTable& table, uint32_t i) {
    const unsigned char* p = table.codes + 4 * static_cast<size_t>(i);
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void check_address(const PostalCodeTable& table, int index, int cap) {
    char16_t out[64];
    out[cap - 1] = 1;
    postal_address(table, index, out, cap);
    if (out[cap - 1] != 0 && out[cap - 1] != 1) abort();
    bool ended = false;
    for (int k = 0; k < cap && !ended; ++k) ended = out[k] == 0;
    if (!ended) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PostalCodeTable table;
    if (open_postal_code_table(data, size, table) == POSTAL_TABLE_OK) {
        for (uint32_t i = 0; i < table.code_count && i < 4096; ++i) {
            if (find_postal_code(table, code_at(table, i)) != static_cast<int>(i)) abort();
            check_address(table, static_cast<int>(i), 64);
            check_address(table, static_cast<int>(i), 1 + static_cast<int>(i % 8));
        }
        check_address(table, -1, 64);
        check_address(table, static_cast<int>(table.code_count), 64);
        if (find_postal_code(table, 10000000) != -1) abort();
    } else if (table.code_count != 0) {
        abort();
    }

    std::vector<char16_t> text(size / 2 + 1, 0);
    for (size_t i = 0; i + 1 < size; i += 2) text[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    uint32_t code = 0;
    if (read_typed_postal_code(text.data(), code) && code >= 10000000) abort();
    if (postal_code_digits(text.data(), code) && code >= 10000000) abort();
    return 0;
}

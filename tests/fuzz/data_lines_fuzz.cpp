// Hands arbitrary NUL-terminated lines to the three line handlers and checks
// each result against the plain reference handlers, which test every
// fragment in turn: the quick dispatch of the handlers must change exactly
// the same fields, and never write outside a field.
//
// Input: each byte becomes one unit; 0xFF followed by two bytes gives any
// unit (NUL included, which ends the line as the handler sees it).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "files/data_files.h"
#include "model/document.h"
#include "tests/support/full_document.h"
#include "tests/support/reference_reader.h"

namespace {

Document g_start;
Document g_expected;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        std::memset(&doc(), 0, sizeof(Document));
        fill_full_document();
        std::memcpy(&g_start, &doc(), sizeof(Document));
        return true;
    }();
    (void)ready;
    std::vector<char16_t> line;
    for (size_t i = 0; i < size; ++i) {
        unsigned unit = data[i];
        if (unit == 0xFF && i + 2 < size) {
            unit = data[i + 1] | (data[i + 2] << 8);
            i += 2;
        }
        line.push_back(static_cast<char16_t>(unit));
    }
    line.push_back(0);

    void (*const handlers[3])(const char16_t*) = {read_sender_line, read_addressee_line, read_layout_line};
    void (*const references[3])(Document&, const char16_t*) = {reference_sender_line, reference_addressee_line,
                                                                 reference_layout_line};
    for (int h = 0; h < 3; ++h) {
        std::memcpy(&doc(), &g_start, sizeof(Document));
        std::memcpy(&g_expected, &g_start, sizeof(Document));
        handlers[h](line.data());
        references[h](g_expected, line.data());
        if (std::memcmp(&doc(), &g_expected, sizeof(Document)) != 0) std::abort();
    }
    return 0;
}

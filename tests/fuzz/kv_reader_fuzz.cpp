// Feeds arbitrary bytes as a data file through read_kv_file and checks the
// document against the plain reference reader: the same lines must be cut
// and applied, whatever the bytes and however the file arrives.
//
// Input: byte 0 picks the file kind (bits 0-1), the size of the reads
// (bits 2-4) and whether the rest is taken as raw file bytes or as text
// (bit 5: a byte order mark is put in front and each byte becomes one unit,
// 0xFF followed by two bytes giving any unit), which lets the fuzzer reach
// the keys quickly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/kv_file.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/full_document.h"
#include "tests/support/memory_platform.h"
#include "tests/support/reference_reader.h"

namespace {

Document g_start;         // the state every run starts from
Document g_cleared[4];    // the same with the part of kind 1, 2 or 3 cleared
Document g_expected;      // the reference reader's result

void prepare_start() {
    std::memset(&doc(), 0, sizeof(Document));
    fill_full_document();
    std::memcpy(&g_start, &doc(), sizeof(Document));
    for (int kind = 1; kind <= 3; ++kind) {
        std::memcpy(&g_cleared[kind], &g_start, sizeof(Document));
        reference_clear(g_cleared[kind], kind);
    }
}

std::string file_bytes(const uint8_t* data, size_t size, bool as_text) {
    if (!as_text) return std::string(reinterpret_cast<const char*>(data), size);
    std::string out("\xFF\xFE", 2);
    for (size_t i = 0; i < size; ++i) {
        unsigned unit = data[i];
        if (unit == 0xFF && i + 2 < size) {
            unit = data[i + 1] | (data[i + 2] << 8);
            i += 2;
        }
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryPlatform* memory = [] {
        prepare_start();
        return new MemoryPlatform();
    }();
    if (size == 0) return 0;
    static const size_t kSteps[8] = {1, 2, 3, 7, 64, 1001, 4096, 1 << 20};
    const int kind = (data[0] & 3) == 0 ? 3 : (data[0] & 3);
    memory->read_step = kSteps[(data[0] >> 2) & 7];
    const std::string bytes = file_bytes(data + 1, size - 1, (data[0] & 0x20) != 0);
    memory->data = reinterpret_cast<const unsigned char*>(bytes.data());
    memory->size = bytes.size();

    std::memcpy(&g_expected, &g_cleared[kind], sizeof(Document));
    const int expected_boxes = reference_apply(g_expected, kind, memory->data, memory->size);
    // A file without the byte order mark changes nothing.
    if (expected_boxes != 0) std::memcpy(&g_expected, &g_start, sizeof(Document));

    std::memcpy(&doc(), &g_start, sizeof(Document));
    memory->boxes = 0;
    read_kv_file(nullptr, READ_INTERACTIVE, kind, u"C:\\work\\fuzz.txt");

    if (memory->boxes != expected_boxes) std::abort();
    if (std::memcmp(&doc(), &g_expected, sizeof(Document)) != 0) std::abort();
    return 0;
}

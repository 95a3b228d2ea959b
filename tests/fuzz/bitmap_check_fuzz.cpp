// Feeds arbitrary bytes as the start of a bitmap file to the header check
// that guards the system's bitmap loader: it must read nothing beyond the
// bytes it is given and accept only bitmaps within the size bound whose
// pixels fit the file.
//
// Input: the file's first bytes; the file is taken to be as long as the
// input, or, when bit 0 of the last byte is set, a few gigabytes longer
// (a header paired with a file large enough for its claims).
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "render/bitmap_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t head_bytes = size < kBitmapHeadBytes ? size : kBitmapHeadBytes;
    // An exact-size copy, so that the sanitizer sees any read past it.
    std::vector<uint8_t> head(data, data + head_bytes);
    uint64_t file_bytes = size;
    if (size > 0 && (data[size - 1] & 1)) file_bytes += 5000000000ull;
    if (check_bitmap_file(head.data(), head.size(), file_bytes) != BITMAP_FILE_OK) return 0;
    // What was accepted is a bitmap of bounded size.
    if (head_bytes < 26 || head[0] != 'B' || head[1] != 'M') std::abort();
    uint32_t header_size;
    std::memcpy(&header_size, head.data() + 14, 4);
    if (header_size != 12) {
        int32_t width, height;
        std::memcpy(&width, head.data() + 18, 4);
        std::memcpy(&height, head.data() + 22, 4);
        if (width <= 0 || width > kBitmapMaxSide || height == 0 || height == INT32_MIN) std::abort();
        int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
        if (rows > kBitmapMaxSide || static_cast<uint64_t>(width) * rows > kBitmapMaxPixels)
            std::abort();
    }
    return 0;
}

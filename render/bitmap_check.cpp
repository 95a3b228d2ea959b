#include "render/bitmap_check.h"

#include "platform/platform.h"

namespace {

uint32_t u16_at(const uint8_t* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }
uint32_t u32_at(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr uint32_t kFileHeader = 14;
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitfields = 3;

bool known_header_size(uint32_t size) {
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool depth_fits_compression(uint32_t bits, uint32_t compression, bool core) {
    if (core) return compression == kCompressionRgb && (bits == 1 || bits == 4 || bits == 8 || bits == 24);
    switch (compression) {
    case kCompressionRgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kCompressionRle8: return bits == 8;
    case kCompressionRle4: return bits == 4;
    case kCompressionBitfields: return bits == 16 || bits == 32;
    default: return false;  // JPEG, PNG and the rest are not loaded from files
    }
}

}  // namespace

int check_bitmap_file(const uint8_t* head, size_t head_bytes, uint64_t file_bytes) {
    if (head == nullptr || head_bytes < kFileHeader + 4 || file_bytes < head_bytes) return BITMAP_FILE_REFUSED;
    if (head[0] != 'B' || head[1] != 'M') return BITMAP_FILE_REFUSED;
    const uint32_t header_size = u32_at(head + 14);
    if (!known_header_size(header_size) || head_bytes < kFileHeader + header_size)
        return BITMAP_FILE_REFUSED;
    const uint8_t* h = head + kFileHeader;
    const bool core = header_size == 12;

    int64_t width, height;
    uint32_t planes, bits, compression = kCompressionRgb, image_size = 0, colours_used = 0;
    if (core) {
        width = u16_at(h + 4);
        height = u16_at(h + 6);
        planes = u16_at(h + 8);
        bits = u16_at(h + 10);
    } else {
        width = static_cast<int32_t>(u32_at(h + 4));
        height = static_cast<int32_t>(u32_at(h + 8));
        planes = u16_at(h + 12);
        bits = u16_at(h + 14);
        compression = u32_at(h + 16);
        image_size = u32_at(h + 20);
        colours_used = u32_at(h + 32);
    }
    // A negative height is a top-down bitmap (not allowed compressed).
    const bool top_down = height < 0;
    if (top_down) height = -height;
    if (planes != 1 || !depth_fits_compression(bits, compression, core)) return BITMAP_FILE_REFUSED;
    if (top_down && (compression == kCompressionRle8 || compression == kCompressionRle4))
        return BITMAP_FILE_REFUSED;
    if (width <= 0 || height <= 0) return BITMAP_FILE_REFUSED;
    if (width > kBitmapMaxSide || height > kBitmapMaxSide ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kBitmapMaxPixels)
        return BITMAP_FILE_TOO_LARGE;

    // The colour table (and a BITMAPINFOHEADER's three colour masks) follow
    // the header.
    uint64_t colours = colours_used != 0 ? colours_used : (bits <= 8 ? (1u << bits) : 0);
    if (bits <= 8 && colours > (1u << bits)) return BITMAP_FILE_REFUSED;
    uint64_t table_end = kFileHeader + header_size + colours * (core ? 3 : 4);
    if (compression == kCompressionBitfields && header_size == 40) table_end += 12;
    if (table_end > file_bytes) return BITMAP_FILE_REFUSED;

    // The pixels start at the file header's offset, or right after the
    // table when the offset is 0.
    uint64_t offset = u32_at(head + 10);
    if (offset == 0) offset = table_end;
    if (offset < kFileHeader + header_size) return BITMAP_FILE_REFUSED;
    uint64_t pixel_bytes;
    if (compression == kCompressionRle8 || compression == kCompressionRle4) {
        if (image_size == 0) return BITMAP_FILE_REFUSED;  // the compressed size is needed
        pixel_bytes = image_size;
    } else {
        uint64_t row = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
        pixel_bytes = row * static_cast<uint64_t>(height);
    }
    return offset + pixel_bytes <= file_bytes ? BITMAP_FILE_OK : BITMAP_FILE_REFUSED;
}

bool bitmap_file_too_large(const char16_t* path) {
    FileHandle file = platform().open_for_read(path);
    if (!file) return false;
    uint8_t head[kBitmapHeadBytes];
    size_t head_bytes = 0;
    while (head_bytes < sizeof head) {
        size_t got = platform().read(file, head + head_bytes, sizeof head - head_bytes);
        if (got == 0) break;
        head_bytes += got;
    }
    platform().close(file);
    // The size is judged from the headers alone, so the file's length does
    // not matter here.
    return check_bitmap_file(head, head_bytes, UINT64_MAX) == BITMAP_FILE_TOO_LARGE;
}

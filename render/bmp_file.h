// The BMP file of the bitmap export: a 14-byte file header, a 40-byte
// BITMAPINFOHEADER, no colour table, then 24-bit pixel rows bottom row
// first, each row padded with zero bytes to a multiple of four.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

constexpr uint32_t kBmpHeadersSize = 54;

struct BmpLayout {
    uint32_t row_bytes;   // 3 x width rounded up to a multiple of 4
    uint32_t image_bytes; // row_bytes x height
    uint32_t file_bytes;  // 54 + image_bytes
};

// False when the size is not positive, or the picture is larger than the
// largest bitmap the program handles (kBitmapMaxPixels: a card of a damaged
// layout file may claim any size, and the capture of 20000 x 20000 pixels
// alone would take 1.6 GB), or the file would not fit the format's 32-bit
// sizes.
bool bmp_layout(int32_t width, int32_t height, BmpLayout* layout);

// Writes both headers into the first 54 bytes of `file`.
void write_bmp_headers(uint8_t* file, int32_t width, int32_t height);

// Zeroes the bytes behind each row's pixels, whatever the pixel read left
// there.
void clear_bmp_row_padding(uint8_t* file, int32_t width, int32_t height);

// Writes the finished file. An existing file is replaced only after the user
// agrees, and only once the new content is completely written. Returns 0
// written, 1 declined by the user, 2 not written (message shown).
int save_bitmap_file(WindowHandle owner, const char16_t* path, const uint8_t* file, size_t bytes);

// The message shown when the file cannot be written (also used when the
// picture cannot be taken).
void show_bitmap_write_error(WindowHandle owner, const char16_t* path);

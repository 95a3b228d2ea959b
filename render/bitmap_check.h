// Whether a BMP file is safe to hand to the system's bitmap loader. Card
// backgrounds and the print position dialog's sheet of paper are named by
// the user's files; the loader trusts a bitmap's header, so a header that
// claims 60000 x 60000 pixels makes it allocate gigabytes, and a truncated
// file makes it read past the file's end. The check reads only the headers
// and the file's size.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes from the start of the file that the check looks at: the file
// header and the largest bitmap header (BITMAPV5HEADER).
constexpr size_t kBitmapHeadBytes = 14 + 124;

// The largest bitmap accepted: 16,777,216 pixels (64 MB as the 32-bit
// pixels every load and print makes of it), no side above 16384. A
// postcard scanned at 600 dpi has 2362 x 3496 pixels.
constexpr uint64_t kBitmapMaxPixels = 4096ull * 4096ull;
constexpr int32_t kBitmapMaxSide = 16384;

// Results of the check.
constexpr int BITMAP_FILE_OK = 0;
constexpr int BITMAP_FILE_TOO_LARGE = 1;  // a bitmap with more pixels than the bounds above
constexpr int BITMAP_FILE_REFUSED = 2;    // not a bitmap the loader can read whole

// BITMAP_FILE_OK when `head` (the first `head_bytes` bytes of a file of
// `file_bytes` bytes) starts a BMP file that the loader can read whole: a
// known header (OS/2 core, BITMAPINFOHEADER to BITMAPV5HEADER), one plane, a
// bit depth and compression the loader supports, a size within the bounds
// above (else BITMAP_FILE_TOO_LARGE), and a colour table and pixel data
// that lie within the file.
int check_bitmap_file(const uint8_t* head, size_t head_bytes, uint64_t file_bytes);

// True when the file at `path` is a bitmap refused for its size alone (its
// header is read through the platform; a missing file is not too large).
bool bitmap_file_too_large(const char16_t* path);

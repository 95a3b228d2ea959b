// What a damaged layout or a hostile background file can make the drawing
// code do: fonts are made within the device's drawing area, and only BMP
// files that the loader can read whole within a bounded size are loaded.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "model/defaults.h"
#include "render/bitmap_check.h"
#include "render/bmp_file.h"
#include "render/font_bounds.h"

namespace {

TEST(HostileFileBoundsTest, DamagedFontsAreMadeWithinTheDeviceAndSaneFontsPassAsStored) {
    CardRecord card{};
    set_default_layout(card);

    // A 600-dpi postcard page and the preview's screen both leave every
    // default font exactly as stored.
    const int32_t page = font_size_limit(2244, 3389);
    const int32_t screen = font_size_limit(1920, 1080);
    EXPECT_EQ(page, 3389);
    EXPECT_EQ(screen, 1920);
    for (const LogFont* lf : {&card.tt.lf, &card.ta.lf, &card.tn.lf, &card.ft.lf, &card.fa.lf,
                              &card.fn.lf}) {
        LogFont made = bounded_font(*lf, screen);
        EXPECT_EQ(std::memcmp(&made, lf, sizeof made), 0);
    }

    // The values a damaged file can hold: sizes keep their sign and stop at
    // the device's size, angles keep their direction, the weight stays
    // within what the font engines know, the face name ends in its array.
    LogFont damaged = card.ta.lf;
    damaged.lfHeight = INT32_MIN;
    damaged.lfWidth = 30000;
    damaged.lfEscapement = INT32_MAX;      // 2147483647 = 596523 x 3600 + 847
    damaged.lfOrientation = -900 - 3600 * 1000;
    damaged.lfWeight = INT32_MAX;
    for (char16_t& c : damaged.lfFaceName) c = u'\x9F8D';  // 32 unknown characters, no end
    LogFont made = bounded_font(damaged, screen);
    EXPECT_EQ(made.lfHeight, -1920);
    EXPECT_EQ(made.lfWidth, 1920);
    EXPECT_EQ(made.lfEscapement, 847);
    EXPECT_EQ(made.lfOrientation, -900);
    EXPECT_EQ(made.lfWeight, 1000);
    EXPECT_EQ(made.lfFaceName[FACE_CAP - 2], u'\x9F8D');
    EXPECT_EQ(made.lfFaceName[FACE_CAP - 1], 0);
    EXPECT_EQ(std::memcmp(&made.lfItalic, &damaged.lfItalic, 8), 0) << "byte fields as stored";
    damaged.lfWeight = -5;
    damaged.lfHeight = INT32_MAX;
    EXPECT_EQ(bounded_font(damaged, page).lfWeight, 0);
    EXPECT_EQ(bounded_font(damaged, page).lfHeight, 3389);

    // A device that reports no size, or an absurd one.
    EXPECT_EQ(font_size_limit(0, -1), kFontFallbackLimit);
    EXPECT_EQ(font_size_limit(INT32_MAX, 10), kFontMaxLimit);
}

std::vector<uint8_t> bmp(int32_t width, int32_t height) {
    BmpLayout layout{};
    EXPECT_TRUE(bmp_layout(width, height, &layout));
    std::vector<uint8_t> file(layout.file_bytes, 0);
    write_bmp_headers(file.data(), width, height);
    return file;
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

int checked(const std::vector<uint8_t>& file, uint64_t file_bytes = 0) {
    size_t head = file.size() < kBitmapHeadBytes ? file.size() : kBitmapHeadBytes;
    return check_bitmap_file(file.data(), head, file_bytes ? file_bytes : file.size());
}

bool acceptable(const std::vector<uint8_t>& file, uint64_t file_bytes = 0) {
    return checked(file, file_bytes) == BITMAP_FILE_OK;
}

// The check of a whole 24-bit file whose header says width x height.
int checked_size(int32_t width, int32_t height) {
    std::vector<uint8_t> head = bmp(1, 1);
    put32(head, 18, static_cast<uint32_t>(width));
    put32(head, 22, static_cast<uint32_t>(height));
    uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    return checked(head, 54 + (static_cast<uint64_t>(width) * 3 + 3) / 4 * 4 * rows);
}

TEST(HostileFileBoundsTest, OnlyBitmapsWithinTheBoundAreLoadedOrExported) {
    std::vector<uint8_t> card = bmp(400, 592);
    EXPECT_TRUE(acceptable(card));
    std::vector<uint8_t> scan = bmp(2362, 3496);  // a postcard at 600 dpi
    EXPECT_TRUE(acceptable(scan));

    // A header claiming 60000 x 60000 pixels over a small file, and one
    // whose file would really be that large.
    std::vector<uint8_t> huge = card;
    put32(huge, 18, 60000);
    put32(huge, 22, 60000);
    EXPECT_FALSE(acceptable(huge));
    EXPECT_FALSE(acceptable(huge, 60000ull * 60000ull * 3 + 54));
    put32(huge, 18, 1);
    put32(huge, 22, 20000);  // a side beyond the bound
    EXPECT_FALSE(acceptable(huge, 20000ull * 4 + 54));

    // The bounds are exact: 4096 x 4096 pixels and a side of 16384 pass, one
    // pixel more is too large, as is a postcard scanned at 1200 dpi.
    EXPECT_EQ(checked_size(4096, 4096), BITMAP_FILE_OK);
    EXPECT_EQ(checked_size(4096, -4096), BITMAP_FILE_OK);
    EXPECT_EQ(checked_size(16384, 1024), BITMAP_FILE_OK);
    EXPECT_EQ(checked_size(1024, 16384), BITMAP_FILE_OK);
    EXPECT_EQ(checked_size(4097, 4096), BITMAP_FILE_TOO_LARGE);
    EXPECT_EQ(checked_size(4096, -4097), BITMAP_FILE_TOO_LARGE);
    EXPECT_EQ(checked_size(16385, 1), BITMAP_FILE_TOO_LARGE);
    EXPECT_EQ(checked_size(1, 16385), BITMAP_FILE_TOO_LARGE);
    EXPECT_EQ(checked_size(4724, 6992), BITMAP_FILE_TOO_LARGE);
    EXPECT_EQ(checked(huge), BITMAP_FILE_TOO_LARGE) << "judged by the header before the file";

    // A truncated file: the headers are whole, the pixels are not.
    std::vector<uint8_t> truncated(card.begin(), card.begin() + card.size() / 2);
    EXPECT_FALSE(acceptable(truncated));
    EXPECT_FALSE(acceptable(std::vector<uint8_t>(card.begin(), card.begin() + 30)));
    EXPECT_FALSE(acceptable({}));

    // Not a bitmap at all, or a header the loader does not know.
    std::vector<uint8_t> text(card.size(), 'x');
    EXPECT_FALSE(acceptable(text));
    std::vector<uint8_t> odd = card;
    put32(odd, 14, 64);
    EXPECT_FALSE(acceptable(odd));
    odd = card;
    put16(odd, 28, 7);  // 7 bits per pixel
    EXPECT_FALSE(acceptable(odd));
    odd = card;
    put32(odd, 30, 5);  // PNG inside
    EXPECT_FALSE(acceptable(odd));
    odd = card;
    put32(odd, 22, static_cast<uint32_t>(INT32_MIN));
    EXPECT_FALSE(acceptable(odd));

    // A top-down bitmap is fine; an RLE one needs its compressed size within
    // the file, and a palette must fit before the file ends.
    std::vector<uint8_t> top_down = card;
    put32(top_down, 22, static_cast<uint32_t>(-592));
    EXPECT_TRUE(acceptable(top_down));
    std::vector<uint8_t> rle = card;
    put16(rle, 28, 8);
    put32(rle, 30, 1);
    put32(rle, 10, 54 + 1024);
    EXPECT_FALSE(acceptable(rle)) << "no compressed size";
    put32(rle, 34, 1000);
    EXPECT_TRUE(acceptable(rle));
    put32(rle, 34, static_cast<uint32_t>(card.size()));
    EXPECT_FALSE(acceptable(rle));
    std::vector<uint8_t> palette = bmp(4, 4);
    put16(palette, 28, 8);
    put32(palette, 46, 0);  // 256 colours after the header
    EXPECT_FALSE(acceptable(palette));

    // The preview of a card that a damaged file makes 20000 x 20000 units
    // large is not exported; a postcard scan's size is.
    BmpLayout layout{};
    EXPECT_FALSE(bmp_layout(20000, 20000, &layout));
    EXPECT_TRUE(bmp_layout(2362, 3496, &layout));
}

}  // namespace

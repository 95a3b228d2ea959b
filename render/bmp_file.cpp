#include "render/bmp_file.h"

#include "model/document.h"
#include "model/text.h"
#include "render/bitmap_check.h"

namespace {

void put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

constexpr int kMessageCap = PATH_CAP + 64;

}  // namespace

bool bmp_layout(int32_t width, int32_t height, BmpLayout* layout) {
    if (width <= 0 || height <= 0) return false;
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kBitmapMaxPixels) return false;
    uint64_t row = (static_cast<uint64_t>(width) * 3 + 3) / 4 * 4;
    uint64_t image = row * static_cast<uint64_t>(height);
    uint64_t file = image + kBmpHeadersSize;
    if (file > UINT32_MAX) return false;
    *layout = {static_cast<uint32_t>(row), static_cast<uint32_t>(image), static_cast<uint32_t>(file)};
    return true;
}

void write_bmp_headers(uint8_t* file, int32_t width, int32_t height) {
    BmpLayout layout{};
    bmp_layout(width, height, &layout);
    for (uint32_t i = 0; i < kBmpHeadersSize; ++i) file[i] = 0;
    file[0] = 'B';
    file[1] = 'M';
    put32(file + 2, layout.file_bytes);
    put32(file + 10, kBmpHeadersSize);
    put32(file + 14, 40);
    put32(file + 18, static_cast<uint32_t>(width));
    put32(file + 22, static_cast<uint32_t>(height));  // positive: bottom row first
    put16(file + 26, 1);
    put16(file + 28, 24);
    // Compression, image size, resolutions and colour counts stay 0.
}

void clear_bmp_row_padding(uint8_t* file, int32_t width, int32_t height) {
    BmpLayout layout{};
    if (!bmp_layout(width, height, &layout)) return;
    uint32_t used = static_cast<uint32_t>(width) * 3;
    uint8_t* row = file + kBmpHeadersSize;
    for (int32_t y = 0; y < height; ++y, row += layout.row_bytes)
        for (uint32_t i = used; i < layout.row_bytes; ++i) row[i] = 0;
}

void show_bitmap_write_error(WindowHandle owner, const char16_t* path) {
    char16_t text[kMessageCap];
    format_with_text(text, kMessageCap, u"%sのファイルが開きません。\r\n書込中止します。", path);
    platform().message_box(owner, text, u"ファイル書込エラー", kButtonsOk | kIconWarning);
}

int save_bitmap_file(WindowHandle owner, const char16_t* path, const uint8_t* file, size_t bytes) {
    if (platform().path_exists(path)) {
        char16_t text[kMessageCap];
        format_with_text(text, kMessageCap, u"既に%sのファイルが存在しています。\r\n上書きしますか？",
                         path);
        if (platform().message_box(owner, text, u"ファイル書込確認", kButtonsYesNo) != kAnswerYes)
            return 1;
    }
    if (!platform().replace_file(path, file, bytes)) {
        show_bitmap_write_error(owner, path);
        return 2;
    }
    return 0;
}

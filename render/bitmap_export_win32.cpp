#include "render/bitmap_export.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "model/document.h"
#include "render/bmp_file.h"
#include "render/card_geometry.h"
#include "render/render_state.h"

namespace {

// Copies the card area of the window as it is on screen into the pixel part
// of `file`, 24-bit rows bottom row first.
bool capture_card(HWND window, int32_t width, int32_t height, uint8_t* file) {
    HDC window_dc = GetDC(window);
    if (!window_dc) return false;
    bool ok = false;
    HBITMAP bitmap = CreateCompatibleBitmap(window_dc, width, height);
    HDC memory = CreateCompatibleDC(window_dc);
    if (bitmap && memory) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (old) {
            ok = BitBlt(memory, 0, 0, width, height, window_dc, kPreviewOrigin.x, kPreviewOrigin.y,
                        SRCCOPY) != 0;
            SelectObject(memory, old);
        }
        // A copy of the file's header as the requested format, so that the
        // file keeps the header as prepared whatever GetDIBits fills in.
        BITMAPINFO format{};
        std::memcpy(&format.bmiHeader, file + 14, sizeof(BITMAPINFOHEADER));
        if (ok)
            ok = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), file + kBmpHeadersSize,
                           &format, DIB_RGB_COLORS) == height;
    }
    ReleaseDC(window, window_dc);
    if (memory) DeleteDC(memory);
    if (bitmap) DeleteObject(bitmap);
    return ok;
}

}  // namespace

int export_bitmap(WindowHandle main_window, const char16_t* path) {
    int i = doc().current_card;
    if (i < 0 || i >= HDATA_MAX) i = 0;
    int32_t width = doc().hdata[i].base_w;
    int32_t height = doc().hdata[i].base_h;
    BmpLayout layout{};
    uint8_t* file = nullptr;
    if (bmp_layout(width, height, &layout))
        file = static_cast<uint8_t*>(std::calloc(layout.file_bytes, 1));
    if (!file) {
        show_bitmap_write_error(main_window, path);
        return 2;
    }
    write_bmp_headers(file, width, height);
    // The picture is the card without the preview's red bars: the card is
    // painted once without them for the capture, then again as shown.
    HWND window = static_cast<HWND>(main_window);
    show_overflow_bars(false);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    bool captured = capture_card(window, width, height, file);
    show_overflow_bars(true);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    int result;
    if (captured) {
        clear_bmp_row_padding(file, width, height);
        result = save_bitmap_file(main_window, path, file, layout.file_bytes);
    } else {
        show_bitmap_write_error(main_window, path);
        result = 2;
    }
    std::free(file);
    return result;
}

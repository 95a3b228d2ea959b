#include "render/gdi_surface.h"

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "model/text.h"
#include "render/bitmap_file.h"
#include "render/font_bounds.h"

static_assert(sizeof(LogFont) == sizeof(LOGFONTW), "LogFont mirrors LOGFONTW");
static_assert(sizeof(INT) == sizeof(int32_t), "steps and ends are INT arrays");
static_assert(offsetof(LogFont, lfWeight) == offsetof(LOGFONTW, lfWeight), "LogFont layout");
static_assert(offsetof(LogFont, lfItalic) == offsetof(LOGFONTW, lfItalic), "LogFont layout");
static_assert(offsetof(LogFont, lfPitchAndFamily) == offsetof(LOGFONTW, lfPitchAndFamily),
              "LogFont layout");
static_assert(offsetof(LogFont, lfFaceName) == offsetof(LOGFONTW, lfFaceName), "LogFont layout");
static_assert(sizeof(LogFont::lfFaceName) == sizeof(LOGFONTW::lfFaceName), "LogFont layout");

namespace {

HDC hdc(DeviceContext dc) { return static_cast<HDC>(dc); }
HBITMAP hbitmap(BitmapHandle b) { return static_cast<HBITMAP>(b); }
const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

// Every font made from a card's stored description: bounded to the device's
// drawing area first (render/font_bounds.h), whatever the file holds.
HFONT create_bounded_font(HDC dc, const LogFont& stored) {
    LogFont bounded = bounded_font(
        stored, font_size_limit(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)));
    LOGFONTW lf;
    std::memcpy(&lf, &bounded, sizeof lf);
    return CreateFontIndirectW(&lf);
}

}  // namespace

MemoryDeviceContext::MemoryDeviceContext(DeviceContext like)
    : dc_(CreateCompatibleDC(static_cast<HDC>(like))) {}

MemoryDeviceContext::~MemoryDeviceContext() {
    if (dc_) DeleteDC(hdc(dc_));
}

GdiSurface::GdiSurface(DeviceContext dc, Kind kind) : dc_(dc), kind_(kind) {}

GdiSurface::~GdiSurface() {
    if (kept_bitmap_) DeleteObject(hbitmap(kept_bitmap_));
    end_font();
    for (int i = 0; i < font_count_; ++i) DeleteObject(static_cast<HGDIOBJ>(fonts_[i].handle));
}

int32_t GdiSurface::device_caps(int index) { return GetDeviceCaps(hdc(dc_), index); }

BitmapHandle GdiSurface::load_bitmap(const char16_t* path) {
    const bool keep = kind_ != Kind::Screen && text_length(path) < PATH_CAP;
    if (keep && kept_bitmap_ && text_equal(kept_bitmap_path_, path)) return kept_bitmap_;
    BitmapHandle loaded = load_bitmap_file(path);
    if (keep && loaded && !kept_bitmap_) {
        kept_bitmap_ = loaded;
        text_copy(kept_bitmap_path_, PATH_CAP, path);
    }
    return loaded;
}

void GdiSurface::release_bitmap(BitmapHandle bitmap) {
    if (bitmap && bitmap != kept_bitmap_) DeleteObject(hbitmap(bitmap));
}

void GdiSurface::stretch_bitmap(BitmapHandle bitmap, Point origin, int32_t width, int32_t height) {
    if (!bitmap) return;
    if (kind_ == Kind::Printer)
        stretch_on_printer(bitmap, origin, width, height);
    else
        stretch_on_screen(bitmap, origin, width, height);
}

void GdiSurface::stretch_on_screen(BitmapHandle bitmap, Point origin, int32_t width,
                                   int32_t height) {
    BITMAP info{};
    if (GetObjectW(hbitmap(bitmap), sizeof info, &info) == 0) return;
    HDC memory = CreateCompatibleDC(hdc(dc_));
    if (!memory) return;
    HGDIOBJ old = SelectObject(memory, hbitmap(bitmap));
    if (old) {
        StretchBlt(hdc(dc_), origin.x, origin.y, width, height, memory, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
        SelectObject(memory, old);
    }
    DeleteDC(memory);
}

void GdiSurface::stretch_on_printer(BitmapHandle bitmap, Point origin, int32_t width,
                                    int32_t height) {
    BITMAP info{};
    if (GetObjectW(hbitmap(bitmap), sizeof info, &info) == 0) return;
    if (info.bmWidth <= 0 || info.bmHeight <= 0) return;
    size_t bytes = static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight) * 4;
    void* pixels = std::calloc(bytes, 1);
    if (!pixels) return;
    BITMAPINFO dib{};
    dib.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    dib.bmiHeader.biWidth = info.bmWidth;
    dib.bmiHeader.biHeight = info.bmHeight;  // positive: bottom-up rows
    dib.bmiHeader.biPlanes = 1;
    dib.bmiHeader.biBitCount = 32;
    dib.bmiHeader.biCompression = BI_RGB;
    // The bitmap was loaded compatible with the screen, so its pixels are
    // read through a screen memory device context.
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory) {
        if (GetDIBits(memory, hbitmap(bitmap), 0, static_cast<UINT>(info.bmHeight), pixels, &dib,
                      DIB_RGB_COLORS) > 0) {
            StretchDIBits(hdc(dc_), origin.x, origin.y, width, height, 0, 0, info.bmWidth,
                          info.bmHeight, pixels, &dib, DIB_RGB_COLORS, SRCCOPY);
        }
        DeleteDC(memory);
    }
    std::free(pixels);
}

void* GdiSurface::make_font(const LogFont& font) { return create_bounded_font(hdc(dc_), font); }

void* GdiSurface::font_for(const LogFont& font) {
    for (int i = 0; i < font_count_; ++i)
        if (std::memcmp(&fonts_[i].font, &font, sizeof font) == 0) return fonts_[i].handle;
    void* made = make_font(font);
    if (made == nullptr) return nullptr;
    if (font_count_ == kKeptFonts) {
        unkept_font_ = made;
    } else {
        fonts_[font_count_++] = {font, made};
    }
    return made;
}

void GdiSurface::begin_font(const LogFont& font, RgbColor colour) {
    end_font();
    writes_down_ = font.lfEscapement == -900 || font.lfEscapement == 2700;
    if (void* made = font_for(font)) {
        old_font_ = SelectObject(hdc(dc_), static_cast<HFONT>(made));
        font_selected_ = old_font_ != nullptr;
    }
    SetBkMode(hdc(dc_), TRANSPARENT);
    SetTextColor(hdc(dc_), RGB(colour.r, colour.g, colour.b));
}

void GdiSurface::end_font() {
    if (font_selected_) SelectObject(hdc(dc_), static_cast<HGDIOBJ>(old_font_));
    if (unkept_font_) DeleteObject(static_cast<HGDIOBJ>(unkept_font_));
    unkept_font_ = nullptr;
    old_font_ = nullptr;
    font_selected_ = false;
}

void GdiSurface::text_out(Point at, const char16_t* text, int length) {
    TextOutW(hdc(dc_), at.x, at.y, wide(text), length);
}

// Each character (a surrogate pair as one) is drawn by its own call at its
// place down or to the right: a printer driver then never decides where a
// character of a longer call goes. (Wine's PostScript driver splits a
// vertical call into runs of upright and turned characters and sets a run
// after a turned one sideways.)
void GdiSurface::text_out_stepped(Point at, const char16_t* text, int length,
                                  const int32_t* steps) {
    int32_t along = 0;
    for (int i = 0; i < length;) {
        int n = i + 1 < length && text[i] >= 0xD800 && text[i] < 0xDC00 ? 2 : 1;
        TextOutW(hdc(dc_), writes_down_ ? at.x : at.x + along, writes_down_ ? at.y + along : at.y,
                 wide(text + i), n);
        for (int j = 0; j < n; ++j) along += steps[i + j];
        i += n;
    }
}

Extent GdiSurface::text_ends(const char16_t* text, int length, int32_t* ends) {
    SIZE size{};
    if (length <= 0) return {0, 0};
    if (!GetTextExtentExPointW(hdc(dc_), wide(text), length, 0, nullptr,
                               reinterpret_cast<INT*>(ends), &size)) {
        for (int i = 0; i < length; ++i) ends[i] = 0;
        return {0, 0};
    }
    return {size.cx, size.cy};
}

Extent GdiSurface::text_extent(const char16_t* text, int length) {
    SIZE size{};
    if (!GetTextExtentPoint32W(hdc(dc_), wide(text), length, &size)) return {0, 0};
    return {size.cx, size.cy};
}

void GdiSurface::frame(Rect rect, RgbColor colour) {
    HBRUSH brush = CreateSolidBrush(RGB(colour.r, colour.g, colour.b));
    if (!brush) return;
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    FrameRect(hdc(dc_), &r, brush);
    DeleteObject(brush);
}

void GdiSurface::fill_rect(const Rect& r, RgbColor colour) {
    HBRUSH brush = CreateSolidBrush(RGB(colour.r, colour.g, colour.b));
    if (!brush) return;
    RECT area{r.left, r.top, r.right, r.bottom};
    FillRect(hdc(dc_), &area, brush);
    DeleteObject(brush);
}

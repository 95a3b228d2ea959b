#include "render/card_thumbnail.h"

#include <windows.h>

#include "render/card_renderer.h"

namespace {

constexpr int32_t kLargestDrawnWhole = 2000;

// The largest size of the card's proportions that fits into the box.
SIZE fitted_size(const CardRecord& card, int32_t box_w, int32_t box_h) {
    SIZE size{box_w, box_h};
    if (!card_printable(card)) return size;
    const int64_t h = static_cast<int64_t>(box_w) * card.base_h / card.base_w;
    if (h <= box_h) {
        size.cy = h > 0 ? static_cast<LONG>(h) : 1;
    } else {
        const int64_t w = static_cast<int64_t>(box_h) * card.base_w / card.base_h;
        size.cx = w > 0 ? static_cast<LONG>(w) : 1;
    }
    return size;
}

void fill_white(HDC dc, int32_t w, int32_t h) {
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

// The card at its own size into `big`, then shrunk into `small`.
bool draw_whole_and_shrink(HDC like, HDC small, SIZE size, int card, const CardRecord& record) {
    HDC big = CreateCompatibleDC(like);
    HBITMAP bitmap = big ? CreateCompatibleBitmap(like, record.base_w, record.base_h) : nullptr;
    if (!bitmap) {
        if (big) DeleteDC(big);
        return false;
    }
    HGDIOBJ old = SelectObject(big, bitmap);
    fill_white(big, record.base_w, record.base_h);
    {
        GdiSurface surface(big, GdiSurface::Kind::Screen);
        draw_card_view(surface, card, {0, 0}, record.base_w, record.base_h, true);
    }
    SetStretchBltMode(small, HALFTONE);
    SetBrushOrgEx(small, 0, 0, nullptr);
    StretchBlt(small, 0, 0, size.cx, size.cy, big, 0, 0, record.base_w, record.base_h, SRCCOPY);
    SelectObject(big, old);
    DeleteObject(bitmap);
    DeleteDC(big);
    return true;
}

}  // namespace

BitmapHandle make_card_thumbnail(DeviceContext like_dc, int card, int32_t box_w, int32_t box_h) {
    if (card < 0 || card >= HDATA_MAX || box_w <= 0 || box_h <= 0) return nullptr;
    HDC like = static_cast<HDC>(like_dc);
    const CardRecord& record = doc().hdata[card];
    const SIZE size = fitted_size(record, box_w, box_h);
    HDC small = CreateCompatibleDC(like);
    HBITMAP bitmap = small ? CreateCompatibleBitmap(like, size.cx, size.cy) : nullptr;
    if (!bitmap) {
        if (small) DeleteDC(small);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(small, bitmap);
    fill_white(small, size.cx, size.cy);
    const bool whole = card_printable(record) && record.base_w <= kLargestDrawnWhole &&
                       record.base_h <= kLargestDrawnWhole;
    if (!whole || !draw_whole_and_shrink(like, small, size, card, record)) {
        GdiSurface surface(small, GdiSurface::Kind::Screen);
        draw_card_view(surface, card, {0, 0}, size.cx, size.cy, true);
    }
    SelectObject(small, old);
    DeleteDC(small);
    return bitmap;
}

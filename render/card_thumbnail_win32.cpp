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

}  // namespace

ThumbnailMaker::ThumbnailMaker(DeviceContext like)
    : like_(like), whole_(like), surface_(whole_.dc(), GdiSurface::Kind::ScreenCards) {}

ThumbnailMaker::~ThumbnailMaker() {
    if (area_) {
        SelectObject(static_cast<HDC>(whole_.dc()), static_cast<HGDIOBJ>(old_area_));
        DeleteObject(static_cast<HGDIOBJ>(area_));
    }
}

// A drawing area of at least w x h in the card-sized device context.
bool ThumbnailMaker::room_for(int32_t w, int32_t h) {
    if (!whole_.dc()) return false;
    if (area_ && w <= area_w_ && h <= area_h_) return true;
    const int32_t new_w = w > area_w_ ? w : area_w_, new_h = h > area_h_ ? h : area_h_;
    HBITMAP bigger = CreateCompatibleBitmap(static_cast<HDC>(like_), new_w, new_h);
    if (!bigger) return false;
    HGDIOBJ previous = SelectObject(static_cast<HDC>(whole_.dc()), bigger);
    if (area_) {
        DeleteObject(previous);
    } else {
        old_area_ = previous;
    }
    area_ = bigger;
    area_w_ = new_w;
    area_h_ = new_h;
    return true;
}

BitmapHandle ThumbnailMaker::make(int card, int32_t box_w, int32_t box_h) {
    if (card < 0 || card >= HDATA_MAX || box_w <= 0 || box_h <= 0) return nullptr;
    HDC like = static_cast<HDC>(like_);
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
                       record.base_h <= kLargestDrawnWhole && room_for(record.base_w, record.base_h);
    if (whole) {
        HDC area = static_cast<HDC>(whole_.dc());
        fill_white(area, record.base_w, record.base_h);
        draw_card_view(surface_, card, {0, 0}, record.base_w, record.base_h, true);
        SetStretchBltMode(small, HALFTONE);
        SetBrushOrgEx(small, 0, 0, nullptr);
        StretchBlt(small, 0, 0, size.cx, size.cy, area, 0, 0, record.base_w, record.base_h, SRCCOPY);
    } else {
        GdiSurface surface(small, GdiSurface::Kind::Screen);
        draw_card_view(surface, card, {0, 0}, size.cx, size.cy, true);
    }
    SelectObject(small, old);
    DeleteDC(small);
    return bitmap;
}

// A card as a small picture (Win32 layer only): drawn by the card renderer
// at the card's own size, one card unit a pixel as the preview draws it,
// on white, then shrunk with halftone stretching into a box, keeping its
// proportions. The proof sheet keeps one per card until the card changes.
#pragma once

#include <cstdint>

#include "render/gdi_surface.h"
#include "render/render_state.h"

// Makes thumbnails one after the other, all compatible with `like` (a
// screen device context): the card-sized drawing area, the fonts and the
// first background loaded are kept from one to the next.
class ThumbnailMaker {
public:
    explicit ThumbnailMaker(DeviceContext like);
    ~ThumbnailMaker();
    ThumbnailMaker(const ThumbnailMaker&) = delete;
    ThumbnailMaker& operator=(const ThumbnailMaker&) = delete;

    // The thumbnail of card `card` of the document, fitting into box_w x
    // box_h; nullptr when no bitmap could be made. The caller deletes it
    // (DeleteObject). A card larger than 2000 units either way is drawn
    // straight into the box.
    BitmapHandle make(int card, int32_t box_w, int32_t box_h);

private:
    bool room_for(int32_t w, int32_t h);

    DeviceContext like_;
    MemoryDeviceContext whole_;  // the card at its own size
    void* area_ = nullptr;      // HBITMAP selected into whole_
    void* old_area_ = nullptr;
    int32_t area_w_ = 0, area_h_ = 0;
    GdiSurface surface_;  // on whole_
};

// A card as a small picture (Win32 layer only): drawn by the card renderer
// at the card's own size, one card unit a pixel as the preview draws it,
// on white, then shrunk with halftone stretching into a box, keeping its
// proportions. The proof sheet keeps one per card until the card changes.
#pragma once

#include <cstdint>

#include "render/gdi_surface.h"
#include "render/render_state.h"

// The thumbnail of card `card` of the document, a bitmap compatible with
// `like` (a screen device context) that fits into box_w x box_h; nullptr
// when no bitmap could be made. The caller deletes it (DeleteObject). A card
// larger than 2000 units either way is drawn straight into the box.
BitmapHandle make_card_thumbnail(DeviceContext like, int card, int32_t box_w, int32_t box_h);

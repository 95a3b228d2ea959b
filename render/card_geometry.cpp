#include "render/card_geometry.h"

#include <climits>

#include "render/render_state.h"

namespace {

// Positions come from files and drags unchecked; sums and products wrap
// like the 32-bit registers the coordinates end up in instead of
// overflowing.
int32_t wrap(uint32_t v) { return static_cast<int32_t>(v); }
int32_t mul(int32_t a, int32_t b) { return wrap(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }

int32_t scale_unsigned(int32_t v, int32_t size, int32_t base) {
    return wrap(static_cast<uint32_t>(v) * static_cast<uint32_t>(size) / static_cast<uint32_t>(base));
}

Rect group_rect(Point origin, int32_t step, int cells, Extent code_extent) {
    Point p = to_preview(origin.x, origin.y);
    return {p.x, p.y, wrapping_add(p.x, mul(cells, step)), wrapping_add(p.y, code_extent.cy)};
}

}  // namespace

const SenderRecord& chosen_sender(const CardRecord& card) {
    static const SenderRecord kNoSender{};
    if (card.ftb < 0 || card.ftb >= FDATA_MAX) return kNoSender;
    return doc().fdata[card.ftb];
}

Point to_preview(int32_t x, int32_t y) {
    return {wrapping_add(kPreviewOrigin.x, x), wrapping_add(kPreviewOrigin.y, y)};
}

bool card_printable(const CardRecord& card) { return card.base_w > 0 && card.base_h > 0; }

Point to_printer(int32_t x, int32_t y, int32_t W, int32_t H, const CardRecord& card) {
    const PrintSettings& print = doc().print;
    return to_area(x, y, {print.base_px, print.base_py}, W, H, card);
}

Point to_area(int32_t x, int32_t y, Point origin, int32_t W, int32_t H, const CardRecord& card) {
    if (!card_printable(card)) return {INT32_MIN / 2, INT32_MIN / 2};
    return {wrapping_add(scale_unsigned(x, W, card.base_w), origin.x),
            wrapping_add(scale_unsigned(y, H, card.base_h), origin.y)};
}

int32_t printer_font_height(int32_t lfHeight, int32_t H, const CardRecord& card) {
    if (card.base_h <= 0) return lfHeight;
    int64_t h = static_cast<int64_t>(lfHeight) * H / card.base_h;
    if (h > INT32_MAX) return INT32_MAX;
    if (h < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(h);
}

CodeBoxes code_boxes(const AddresseePostalCode& b) { return {b.x1, b.y1, b.w1, b.x2, b.y2, b.w2}; }
CodeBoxes code_boxes(const PostalCodeBlock& b) { return {b.x1, b.y1, b.w1, b.x2, b.y2, b.w2}; }

Point digit_position(const CodeBoxes& b, int i) {
    if (i < 3) return {wrapping_add(b.x1, mul(i, b.w1)), b.y1};
    return {wrapping_add(b.x2, mul(i - 3, b.w2)), b.y2};
}

Rect line_rect(LinePos origin, Extent extent) {
    Point p = to_preview(origin.x, origin.y);
    return {wrapping_add(p.x, -extent.cy), p.y, p.x, wrapping_add(p.y, extent.cx)};
}

Rect item_rect(const CardRecord& card, const ItemExtents& e, ItemId id) {
    if (id == kItemCodeGroup3) return group_rect({card.tt.x1, card.tt.y1}, card.tt.w1, 3, e.code);
    if (id == kItemCodeGroup4) return group_rect({card.tt.x2, card.tt.y2}, card.tt.w2, 4, e.code);
    if (id >= kItemAddressLine0 && id < kItemNameLine0) {
        int k = id - kItemAddressLine0;
        return line_rect(card.ta.xy[k], e.address[k]);
    }
    if (id >= kItemNameLine0 && id < kItemSenderCodeGroup3) {
        int k = id - kItemNameLine0;
        return line_rect(card.tn.xy[k], e.name[k]);
    }
    if (id == kItemSenderCodeGroup3) return group_rect({card.ft.x1, card.ft.y1}, card.ft.w1, 3, e.sender_code);
    if (id == kItemSenderCodeGroup4) return group_rect({card.ft.x2, card.ft.y2}, card.ft.w2, 4, e.sender_code);
    if (id >= kItemSenderAddressLine0 && id < kItemSenderNameLine0) {
        int k = id - kItemSenderAddressLine0;
        return line_rect(card.fa.xy[k], e.sender_address[k]);
    }
    if (id >= kItemSenderNameLine0 && id <= kItemLast) {
        int k = id - kItemSenderNameLine0;
        return line_rect(card.fn.xy[k], e.sender_name[k]);
    }
    return {0, 0, 0, 0};
}

Rect item_rect(ItemId id) {
    int i = doc().current_card;
    if (i < 0 || i >= HDATA_MAX) return {0, 0, 0, 0};
    return item_rect(doc().hdata[i], item_extents(), id);
}

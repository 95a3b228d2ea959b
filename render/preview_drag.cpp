#include "render/preview_drag.h"

#include "model/document.h"
#include "model/text.h"
#include "render/render_state.h"

namespace {

Point g_grab{0, 0};
Rect g_feedback{0, 0, 0, 0};

// Widening of the feedback rectangle on every side, for glyphs that reach
// past their measured cell.
constexpr int32_t kFeedbackMargin = 3;


bool draggable(ItemId id) { return id >= kItemCodeGroup3 && id <= kItemLast; }

bool current_card_valid() {
    int i = doc().current_card;
    return i >= 0 && i < HDATA_MAX;
}

CardRecord& current_card() { return doc().hdata[doc().current_card]; }

bool inside(const Rect& r, int32_t x, int32_t y) {
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

Rect moved(const Rect& r, int32_t dx, int32_t dy, int32_t margin) {
    return {wrapping_add(wrapping_add(r.left, dx), -margin), wrapping_add(wrapping_add(r.top, dy), -margin),
            wrapping_add(wrapping_add(r.right, dx), margin), wrapping_add(wrapping_add(r.bottom, dy), margin)};
}

// The item's two position fields in the card.
struct PositionFields {
    int32_t* x;
    int32_t* y;
};

PositionFields fields(LinePos& p) { return {&p.x, &p.y}; }

PositionFields position_fields(CardRecord& card, ItemId id) {
    if (id == kItemCodeGroup3) return {&card.tt.x1, &card.tt.y1};
    if (id == kItemCodeGroup4) return {&card.tt.x2, &card.tt.y2};
    if (id < kItemNameLine0) return fields(card.ta.xy[id - kItemAddressLine0]);
    if (id < kItemSenderCodeGroup3) return fields(card.tn.xy[id - kItemNameLine0]);
    if (id == kItemSenderCodeGroup3) return {&card.ft.x1, &card.ft.y1};
    if (id == kItemSenderCodeGroup4) return {&card.ft.x2, &card.ft.y2};
    if (id < kItemSenderNameLine0) return fields(card.fa.xy[id - kItemSenderAddressLine0]);
    return fields(card.fn.xy[id - kItemSenderNameLine0]);
}

// One digit group: its characters at their cells, moved by (dx, dy).
void draw_group(DrawingSurface& surface, const char16_t* code, const CodeBoxes& boxes, int first,
                int last, int32_t dx, int32_t dy) {
    int length = text_length_bounded(code, POSTAL_CAP);
    for (int i = first; i <= last && i < length; ++i) {
        Point cell = digit_position(boxes, i);
        surface.text_out(to_preview(wrapping_add(cell.x, dx), wrapping_add(cell.y, dy)), code + i, 1);
    }
}

void draw_line(DrawingSurface& surface, const char16_t* text, LinePos origin, int32_t dx,
               int32_t dy) {
    int length = text_length_bounded(text, LINE_CAP);
    if (length == 0) return;
    surface.text_out(to_preview(wrapping_add(origin.x, dx), wrapping_add(origin.y, dy)), text, length);
}

}  // namespace

ItemId hit_test(int32_t x, int32_t y) {
    ItemId hit = kItemNone;
    if (!current_card_valid()) return hit;
    for (ItemId id = kItemCodeGroup3; id <= kItemLast; ++id)
        if (inside(item_rect(id), x, y)) hit = id;
    return hit;
}

void on_press(int32_t x, int32_t y) {
    ItemId hit = hit_test(x, y);
    if (hit == kItemNone) return;
    set_drag_item(hit);
    g_grab = {x, y};
    g_feedback = item_rect(hit);
}

void on_move(int32_t x, int32_t y, PreviewWindow& window) {
    int32_t dx = x - g_grab.x;
    int32_t dy = y - g_grab.y;
    ItemId item = drag_item();
    if (!draggable(item)) return;
    // The repaint leaves the dragged item out, which wipes the last feedback.
    window.repaint_now(g_feedback);
    window.draw_feedback(item, dx, dy);
    g_feedback = moved(item_rect(item), dx, dy, kFeedbackMargin);
}

void on_release(int32_t x, int32_t y, PreviewWindow& window) {
    int32_t dx = x - g_grab.x;
    int32_t dy = y - g_grab.y;
    ItemId item = drag_item();
    if (!draggable(item)) return;
    if (current_card_valid()) {
        PositionFields p = position_fields(current_card(), item);
        *p.x = wrapping_add(*p.x, dx);
        *p.y = wrapping_add(*p.y, dy);
    }
    set_drag_item(kItemNone);
    window.invalidate_all();
    doc().modified = true;
}

Point drag_grab_point() { return g_grab; }
Rect drag_feedback_rect() { return g_feedback; }

void reset_drag() {
    set_drag_item(kItemNone);
    g_grab = {0, 0};
    g_feedback = {0, 0, 0, 0};
}

void draw_moved_item(DrawingSurface& surface, ItemId item, int32_t dx, int32_t dy) {
    if (!draggable(item) || !current_card_valid()) return;
    const CardRecord& card = current_card();
    const SenderRecord& sender = chosen_sender(card);
    if (item == kItemCodeGroup3 || item == kItemCodeGroup4) {
        bool first_group = item == kItemCodeGroup3;
        surface.begin_font(card.tt.lf, card.tt.c);
        draw_group(surface, card.tt.m, code_boxes(card.tt), first_group ? 0 : 3,
                   first_group ? 2 : 6, dx, dy);
    } else if (item < kItemNameLine0) {
        int k = item - kItemAddressLine0;
        surface.begin_font(card.ta.lf, card.ta.c);
        draw_line(surface, card.ta.m[k].s, card.ta.xy[k], dx, dy);
    } else if (item < kItemSenderCodeGroup3) {
        int k = item - kItemNameLine0;
        surface.begin_font(card.tn.lf, card.tn.c);
        draw_line(surface, card.tn.m[k].s, card.tn.xy[k], dx, dy);
    } else if (item == kItemSenderCodeGroup3 || item == kItemSenderCodeGroup4) {
        bool first_group = item == kItemSenderCodeGroup3;
        surface.begin_font(card.ft.lf, card.ft.c);
        draw_group(surface, sender.t, code_boxes(card.ft), first_group ? 0 : 3,
                   first_group ? 2 : 6, dx, dy);
    } else if (item < kItemSenderNameLine0) {
        int k = item - kItemSenderAddressLine0;
        surface.begin_font(card.fa.lf, card.fa.c);
        draw_line(surface, sender.a[k].s, card.fa.xy[k], dx, dy);
    } else {
        int k = item - kItemSenderNameLine0;
        surface.begin_font(card.fn.lf, card.fn.c);
        draw_line(surface, sender.n[k].s, card.fn.xy[k], dx, dy);
    }
    surface.end_font();
}

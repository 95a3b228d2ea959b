#include "render/card_renderer.h"

#include "model/card_status.h"
#include "model/text.h"
#include "render/background_path.h"
#include "render/card_fit.h"

namespace {

PreviewPaintedHook g_preview_painted = nullptr;

// One drawing of one card: where card units land on the surface and which
// of the two paths is drawing.
struct Pass {
    DrawingSurface& surface;
    CardMapping mapping;
    ItemId dragged = kItemNone;
    ItemExtents* extents = nullptr;  // preview: the measurements to record
    int overflow = 0;                // lines that do not fit even at the floor

    const CardRecord& card() const { return mapping.card; }
    bool preview() const { return mapping.preview; }
    Point map(int32_t x, int32_t y) const { return mapping.map(x, y); }

    // The item's font with the height the surface needs, selected together
    // with the item's colour.
    LogFont begin_item(const LogFont& stored, RgbColor colour) const {
        LogFont font = mapping.font(stored);
        surface.begin_font(font, colour);
        return font;
    }
};

// Character i of the code goes into digit cell i; a code shorter than seven
// characters leaves the remaining cells empty, characters past the seventh
// are never drawn.
void draw_postal_code(const Pass& pass, const char16_t* code, const CodeBoxes& boxes,
                      const LogFont& font, RgbColor colour, ItemId group3, Extent* code_extent) {
    int length = text_length_bounded(code, POSTAL_CAP);
    if (!pass.preview() && length == 0) return;
    pass.begin_item(font, colour);
    // The first character's cell height sizes the groups' rectangles; an
    // empty code measures its terminating NUL.
    if (pass.preview()) *code_extent = pass.surface.text_extent(code, 1);
    for (int i = 0; i < kCodeDigits && i < length; ++i) {
        ItemId group = i < 3 ? group3 : group3 + 1;
        if (pass.preview() && pass.dragged == group) continue;
        Point cell = digit_position(boxes, i);
        pass.surface.text_out(pass.map(cell.x, cell.y), code + i, 1);
    }
    pass.surface.end_font();
}

// The red bar the preview shows beside a line that does not fit even at
// its smallest size; never printed.
constexpr RgbColor kOverflowColour{255, 0, 0};
constexpr int32_t kOverflowBarGap = 2;
constexpr int32_t kOverflowBarWidth = 3;

void mark_overflow(const Pass& pass, Point at, const LinePlan& plan, bool down) {
    int32_t from = kOverflowBarGap, to = kOverflowBarGap + kOverflowBarWidth;
    int32_t length = pass.mapping.length(plan.end, down);
    Rect bar = down ? Rect{at.x + from, at.y, at.x + to, at.y + length}
                    : Rect{at.x, at.y - to, at.x + length, at.y - from};
    pass.surface.fill_rect(bar, kOverflowColour);
}

// Units [from, to) of a planned line from `at`, each where the plan puts
// it. A line written at another angle, which is never fitted, and every
// line while both fitting switches are off are drawn as their font sets
// them, as the program always drew them.
void draw_piece(const Pass& pass, const LinePlan& plan, Writing writing, int from, int to,
                Point at) {
    const FitSwitches& switches = fit_switches();
    if (writing == Writing::Other || (!switches.fit_long_lines && !switches.align_names)) {
        pass.surface.text_out(at, plan.text + from, to - from);
        return;
    }
    int32_t steps[LINE_CAP];
    plan_steps(pass.mapping, plan, writing == Writing::Down, from, to, steps);
    pass.surface.text_out_stepped(at, plan.text + from, to - from, steps);
}

// Each non-empty line is drawn as planned once for the card
// (render/card_fit.h), at the surface's scale, every character where the
// plan puts it: a line that fits and stays where it is in one piece at its
// own origin, with the item's font (vertical for the default layouts, which
// decides the writing direction); a fitted one in its smaller size; a line
// whose 敬称 moves to the common level in two pieces.
void draw_lines(Pass& pass, LineBlock block, const TextLine* lines, const LinePos* origins,
                int count, const LogFont& stored, RgbColor colour, ItemId first_id,
                Extent* line_extents) {
    LinePlan plans[ADDRESSEE_LINES];
    plan_lines(pass.surface, pass.card(), block, stored, lines, origins, count, fit_switches(),
               plans);
    const Writing writing = writing_of(stored);
    const bool down = writing == Writing::Down;
    LogFont font = pass.begin_item(stored, colour);
    for (int k = 0; k < count; ++k) {
        const LinePlan& plan = plans[k];
        if (pass.preview()) line_extents[k] = {pass.mapping.length(plan.end, down), plan.cell};
        if (plan.length == 0) continue;
        if (plan.overflow) ++pass.overflow;
        if (pass.preview() && pass.dragged == first_id + k) continue;
        if (plan.fitted) {
            LogFont fitted = stored;
            fitted.lfHeight = plan.height;
            pass.surface.end_font();
            pass.surface.begin_font(pass.mapping.font(fitted), colour);
        }
        draw_piece(pass, plan, writing, 0, plan.split,
                   pass.mapping.map_along(origins[k], down, plan.start));
        if (plan.split < plan.length)
            draw_piece(pass, plan, writing, plan.split, plan.length,
                       pass.mapping.map_along(origins[k], down, plan.tail_start));
        if (plan.fitted) {
            pass.surface.end_font();
            pass.surface.begin_font(font, colour);
        }
        if (pass.preview() && plan.overflow && overflow_bars_shown())
            mark_overflow(pass, pass.map(origins[k].x, origins[k].y), plan, down);
    }
    pass.surface.end_font();
}

void draw_items(Pass& pass) {
    const CardRecord& card = pass.card();
    const SenderRecord& sender = chosen_sender(card);
    static ItemExtents unused;
    ItemExtents& e = pass.extents ? *pass.extents : unused;

    draw_postal_code(pass, card.tt.m, code_boxes(card.tt), card.tt.lf, card.tt.c, kItemCodeGroup3,
                     &e.code);
    draw_lines(pass, LineBlock::Address, card.ta.m, card.ta.xy, ADDRESSEE_LINES, card.ta.lf,
               card.ta.c, kItemAddressLine0, e.address);
    draw_lines(pass, LineBlock::Name, card.tn.m, card.tn.xy, ADDRESSEE_LINES, card.tn.lf,
               card.tn.c, kItemNameLine0, e.name);
    draw_postal_code(pass, sender.t, code_boxes(card.ft), card.ft.lf, card.ft.c,
                     kItemSenderCodeGroup3, &e.sender_code);
    draw_lines(pass, LineBlock::SenderAddress, sender.a, card.fa.xy, SENDER_LINES, card.fa.lf,
               card.fa.c, kItemSenderAddressLine0, e.sender_address);
    draw_lines(pass, LineBlock::SenderName, sender.n, card.fn.xy, SENDER_LINES, card.fn.lf,
               card.fn.c, kItemSenderNameLine0, e.sender_name);
}

// The preview reads the background file at every paint, so a file changed
// on disk shows at the next repaint. A name that cannot be resolved or
// loaded leaves no background and no preview bitmap.
void draw_preview_background(DrawingSurface& surface, const CardRecord& card) {
    char16_t path[PATH_CAP];
    BitmapHandle bitmap = nullptr;
    if (resolve_background_path(doc().work_dir, card.base_filepass, path, PATH_CAP))
        bitmap = surface.load_bitmap(path);
    BitmapHandle previous = exchange_preview_bitmap(bitmap);
    if (previous) surface.release_bitmap(previous);
    if (bitmap && card_printable(card))
        surface.stretch_bitmap(bitmap, kPreviewOrigin, card.base_w, card.base_h);
}

// The background covers the printable area exactly as the texts do. The
// name is used as stored: a bare name is found in the current directory.
void draw_print_background(const Pass& pass) {
    char16_t name[PATH_CAP];
    text_copy(name, PATH_CAP, pass.card().base_filepass, PATH_CAP - 1);
    if (name[0] == 0) return;
    BitmapHandle bitmap = pass.surface.load_bitmap(name);
    if (!bitmap) return;
    const PrintSettings& print = doc().print;
    pass.surface.stretch_bitmap(bitmap, {print.base_px, print.base_py}, pass.mapping.W,
                                pass.mapping.H);
    pass.surface.release_bitmap(bitmap);
}

// A view's background, found as the preview finds it and stretched onto its
// rectangle; the bitmap is not kept.
void draw_view_background(const Pass& pass) {
    char16_t path[PATH_CAP];
    if (!resolve_background_path(doc().work_dir, pass.card().base_filepass, path, PATH_CAP)) return;
    BitmapHandle bitmap = pass.surface.load_bitmap(path);
    if (!bitmap) return;
    pass.surface.stretch_bitmap(bitmap, pass.mapping.origin, pass.mapping.W, pass.mapping.H);
    pass.surface.release_bitmap(bitmap);
}

}  // namespace

void set_preview_painted_hook(PreviewPaintedHook hook) { g_preview_painted = hook; }

void draw_card_preview(DrawingSurface& surface) {
    int i = doc().current_card;
    set_preview_overflow_lines(0);
    if (i >= 0 && i < HDATA_MAX) {
        const CardRecord& card = doc().hdata[i];
        draw_preview_background(surface, card);
        Pass pass{surface, CardMapping{card, true}};
        pass.dragged = drag_item();
        pass.extents = &item_extents();
        draw_items(pass);
        set_preview_overflow_lines(pass.overflow);
    }
    if (g_preview_painted) g_preview_painted();
}

void draw_card_print(DrawingSurface& surface, int card) {
    if (card < 0 || card >= HDATA_MAX) return;
    const CardRecord& record = doc().hdata[card];
    // A card without a positive size has no mapping onto paper: its page
    // stays blank and the card is not recorded as sent.
    if (!card_printable(record)) return;
    Pass pass{surface, CardMapping{record, false, surface.device_caps(kCapHorzRes),
                                   surface.device_caps(kCapVertRes)}};
    if (doc().print.bmp_mode == 1) draw_print_background(pass);
    draw_items(pass);
    mark_card_sent(card);
}

void draw_card_view(DrawingSurface& surface, int card, Point origin, int32_t width,
                    int32_t height, bool background) {
    if (card < 0 || card >= HDATA_MAX) return;
    const CardRecord& record = doc().hdata[card];
    if (!card_printable(record) || width <= 0 || height <= 0) return;
    Pass pass{surface, CardMapping{record, false, width, height, true, origin}};
    if (background) draw_view_background(pass);
    draw_items(pass);
}

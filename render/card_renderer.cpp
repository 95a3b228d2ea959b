#include "render/card_renderer.h"

#include "model/card_status.h"
#include "model/text.h"
#include "render/background_path.h"

namespace {

PreviewPaintedHook g_preview_painted = nullptr;

// One drawing of one card: where card units land on the surface and which
// of the two paths is drawing.
struct Pass {
    DrawingSurface& surface;
    const CardRecord& card;
    bool preview;
    int32_t W = 0;  // printer: HORZRES; a view: the rectangle's width
    int32_t H = 0;  // printer: VERTRES; a view: the rectangle's height
    Point origin{};  // where the card's corner lands (printer: the print offset)
    ItemId dragged = kItemNone;
    ItemExtents* extents = nullptr;  // preview: the measurements to record

    Point map(int32_t x, int32_t y) const {
        return preview ? to_preview(x, y) : to_area(x, y, origin, W, H, card);
    }

    // The item's font with the height the surface needs, selected together
    // with the item's colour.
    void begin_item(const LogFont& stored, RgbColor colour) const {
        LogFont font = stored;
        if (!preview) font.lfHeight = printer_font_height(stored.lfHeight, H, card);
        surface.begin_font(font, colour);
    }
};

// Character i of the code goes into digit cell i; a code shorter than seven
// characters leaves the remaining cells empty, characters past the seventh
// are never drawn.
void draw_postal_code(const Pass& pass, const char16_t* code, const CodeBoxes& boxes,
                      const LogFont& font, RgbColor colour, ItemId group3, Extent* code_extent) {
    int length = text_length_bounded(code, POSTAL_CAP);
    if (!pass.preview && length == 0) return;
    pass.begin_item(font, colour);
    // The first character's cell height sizes the groups' rectangles; an
    // empty code measures its terminating NUL.
    if (pass.preview) *code_extent = pass.surface.text_extent(code, 1);
    for (int i = 0; i < kCodeDigits && i < length; ++i) {
        ItemId group = i < 3 ? group3 : group3 + 1;
        if (pass.preview && pass.dragged == group) continue;
        Point cell = digit_position(boxes, i);
        pass.surface.text_out(pass.map(cell.x, cell.y), code + i, 1);
    }
    pass.surface.end_font();
}

// Each non-empty line is drawn in one piece at its own origin; the font
// (vertical for the default layouts) decides the writing direction.
void draw_lines(const Pass& pass, const TextLine* lines, const LinePos* origins, int count,
                const LogFont& font, RgbColor colour, ItemId first_id, Extent* line_extents) {
    pass.begin_item(font, colour);
    for (int k = 0; k < count; ++k) {
        const char16_t* text = lines[k].s;
        int length = text_length_bounded(text, LINE_CAP);
        if (length == 0) {
            if (pass.preview) line_extents[k] = {0, 0};
            continue;
        }
        if (!(pass.preview && pass.dragged == first_id + k))
            pass.surface.text_out(pass.map(origins[k].x, origins[k].y), text, length);
        if (pass.preview) line_extents[k] = pass.surface.text_extent(text, length);
    }
    pass.surface.end_font();
}

void draw_items(const Pass& pass) {
    const CardRecord& card = pass.card;
    const SenderRecord& sender = chosen_sender(card);
    static ItemExtents unused;
    ItemExtents& e = pass.extents ? *pass.extents : unused;

    draw_postal_code(pass, card.tt.m, code_boxes(card.tt), card.tt.lf, card.tt.c, kItemCodeGroup3,
                     &e.code);
    draw_lines(pass, card.ta.m, card.ta.xy, ADDRESSEE_LINES, card.ta.lf, card.ta.c,
               kItemAddressLine0, e.address);
    draw_lines(pass, card.tn.m, card.tn.xy, ADDRESSEE_LINES, card.tn.lf, card.tn.c,
               kItemNameLine0, e.name);
    draw_postal_code(pass, sender.t, code_boxes(card.ft), card.ft.lf, card.ft.c,
                     kItemSenderCodeGroup3, &e.sender_code);
    draw_lines(pass, sender.a, card.fa.xy, SENDER_LINES, card.fa.lf, card.fa.c,
               kItemSenderAddressLine0, e.sender_address);
    draw_lines(pass, sender.n, card.fn.xy, SENDER_LINES, card.fn.lf, card.fn.c,
               kItemSenderNameLine0, e.sender_name);
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
    text_copy(name, PATH_CAP, pass.card.base_filepass, PATH_CAP - 1);
    if (name[0] == 0) return;
    BitmapHandle bitmap = pass.surface.load_bitmap(name);
    if (!bitmap) return;
    pass.surface.stretch_bitmap(bitmap, pass.origin, pass.W, pass.H);
    pass.surface.release_bitmap(bitmap);
}

// A view shows the background as the preview does (whatever bmp_mode says),
// stretched onto its rectangle; the bitmap is not kept.
void draw_view_background(const Pass& pass) {
    char16_t path[PATH_CAP];
    if (!resolve_background_path(doc().work_dir, pass.card.base_filepass, path, PATH_CAP)) return;
    BitmapHandle bitmap = pass.surface.load_bitmap(path);
    if (!bitmap) return;
    pass.surface.stretch_bitmap(bitmap, pass.origin, pass.W, pass.H);
    pass.surface.release_bitmap(bitmap);
}

}  // namespace

void set_preview_painted_hook(PreviewPaintedHook hook) { g_preview_painted = hook; }

void draw_card_preview(DrawingSurface& surface) {
    int i = doc().current_card;
    if (i >= 0 && i < HDATA_MAX) {
        const CardRecord& card = doc().hdata[i];
        draw_preview_background(surface, card);
        Pass pass{surface, card, true};
        pass.dragged = drag_item();
        pass.extents = &item_extents();
        draw_items(pass);
    }
    if (g_preview_painted) g_preview_painted();
}

void draw_card_print(DrawingSurface& surface, int card) {
    if (card < 0 || card >= HDATA_MAX) return;
    const CardRecord& record = doc().hdata[card];
    // A card without a positive size has no mapping onto paper: its page
    // stays blank and the card is not recorded as sent.
    if (!card_printable(record)) return;
    Pass pass{surface, record, false};
    pass.W = surface.device_caps(kCapHorzRes);
    pass.H = surface.device_caps(kCapVertRes);
    pass.origin = {doc().print.base_px, doc().print.base_py};
    if (doc().print.bmp_mode == 1) draw_print_background(pass);
    draw_items(pass);
    mark_card_sent(card);
}

void draw_card_view(DrawingSurface& surface, int card, Point origin, int32_t width,
                    int32_t height) {
    if (card < 0 || card >= HDATA_MAX) return;
    const CardRecord& record = doc().hdata[card];
    if (!card_printable(record) || width <= 0 || height <= 0) return;
    Pass pass{surface, record, false};
    pass.W = width;
    pass.H = height;
    pass.origin = origin;
    draw_view_background(pass);
    draw_items(pass);
}

#include "editors/proof_sheet_print.h"

#include "model/text.h"
#include "print/print_command.h"
#include "render/card_renderer.h"

namespace {

constexpr RgbColor kInk{0, 0, 0};
constexpr RgbColor kFrame{160, 160, 160};

LogFont sheet_font(int32_t height) {
    LogFont font{};
    font.lfHeight = -height;
    font.lfWeight = 400;
    font.lfCharSet = 128;  // SHIFTJIS_CHARSET
    text_set(font.lfFaceName, u"ＭＳ ゴシック");
    return font;
}

// As much of `text` as fits into `width`, whole characters (a surrogate
// pair is never split).
int fitting_length(DrawingSurface& surface, const char16_t* text, int32_t width) {
    int length = text_length(text);
    while (length > 0 && surface.text_extent(text, length).cx > width) {
        --length;
        if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
    }
    return length;
}

void write(DrawingSurface& surface, Point at, const char16_t* text, int32_t width, RgbColor colour,
           const LogFont& font) {
    surface.begin_font(font, colour);
    surface.text_out(at, text, fitting_length(surface, text, width));
    surface.end_font();
}

// The card's marks in their words and colours, one after the other.
void write_marks(DrawingSurface& surface, Point at, unsigned marks, int32_t width, const LogFont& font) {
    int32_t x = at.x;
    for (const MarkStyle& style : kMarkStyles) {
        if (!(marks & style.mark)) continue;
        surface.begin_font(font, style.colour);
        const int length = text_length(style.word);
        const Extent extent = surface.text_extent(style.word, length);
        if (x + extent.cx <= at.x + width) surface.text_out({x, at.y}, style.word, length);
        surface.end_font();
        x += extent.cx + extent.cy / 2;
    }
}

}  // namespace

int ProofSheetPages::pages() const {
    return (sheet_.shown() + SHEET_CARDS_PER_PAGE - 1) / SHEET_CARDS_PER_PAGE;
}

void ProofSheetPages::draw_page(DrawingSurface& surface, int page) {
    const int32_t W = surface.device_caps(kCapHorzRes);
    const int32_t H = surface.device_caps(kCapVertRes);
    if (W <= 0 || H <= 0) return;
    const int32_t margin = W / 25;
    const int32_t line = H / 90 > 1 ? H / 90 : 1;  // about 9 points on A4
    const LogFont font = sheet_font(line);

    char16_t text[SHEET_TITLE_CAP];
    TextBuilder(text, SHEET_TITLE_CAP)
        .add(u"一覧で確認　").add_int(sheet_.year()).add(u"年　")
        .add_int(page + 1).add(u"/").add_int(pages());
    write(surface, {margin, margin}, text, W - 2 * margin, kInk, font);

    const int32_t top = margin + 2 * line;
    const int32_t cell_w = (W - 2 * margin) / SHEET_COLUMNS;
    const int32_t cell_h = (H - margin - top) / SHEET_ROWS;
    const int32_t pad = line / 2;
    const int32_t text_h = line * 7 / 2;
    for (int k = 0; k < SHEET_CARDS_PER_PAGE; ++k) {
        const int card = sheet_.card_at(page * SHEET_CARDS_PER_PAGE + k);
        if (card < 0) break;
        const int32_t x = margin + (k % SHEET_COLUMNS) * cell_w + pad;
        const int32_t y = top + (k / SHEET_COLUMNS) * cell_h + pad;
        const int32_t box_w = cell_w - 2 * pad;
        const int32_t box_h = cell_h - 2 * pad - text_h;

        // The card keeps its proportions inside its box, centred across.
        const CardRecord& record = doc().hdata[card];
        if (card_printable(record) && box_w > 0 && box_h > 0) {
            int32_t w = box_w;
            int32_t h = static_cast<int32_t>(static_cast<int64_t>(w) * record.base_h / record.base_w);
            if (h > box_h) {
                h = box_h;
                w = static_cast<int32_t>(static_cast<int64_t>(h) * record.base_w / record.base_h);
            }
            const Point at{x + (box_w - w) / 2, y};
            draw_card_view(surface, card, at, w, h, doc().print.bmp_mode == 1);
            surface.frame({at.x, at.y, at.x + w, at.y + h}, kFrame);
        }
        const int32_t below = y + box_h + pad;
        format_card_title(card, text, SHEET_TITLE_CAP);
        write(surface, {x, below}, text, box_w, kInk, font);
        format_card_status(sheet_.check(card), sheet_.year(), text, SHEET_TITLE_CAP);
        write(surface, {x, below + line}, text, box_w, kInk, font);
        write_marks(surface, {x, below + 2 * line}, sheet_.check(card).marks, box_w, font);
    }
}

void print_proof_sheet(WindowHandle window, const ProofSheet& sheet) {
    ProofSheetPages pages(sheet);
    if (pages.pages() == 0) {
        platform().message_box(window, u"印刷する葉書がありません。", u"一覧で確認", kButtonsOk);
        return;
    }
    print_pages_command(window, pages, pages.pages(), SHEET_PAPER_A4);
}

#include "app/status_bar.h"

#include "model/document.h"
#include "model/text.h"
#include "print/printer_state.h"
#include "render/bitmap_check.h"
#include "render/render_state.h"

namespace {

// Appends at most `field_cap` - 1 units of a fixed-capacity field, so a
// field whose NUL was lost cannot be read past its end.
void add_field(TextBuilder& out, const char16_t* field, int field_cap) {
    int n = text_length_bounded(field, field_cap - 1);
    for (int i = 0; i < n; ++i) out.add_unit(field[i]);
}

}  // namespace

void status_part_edges(int paper_width, int page_width, int edges[STATUS_PART_COUNT]) {
    int page_end = STATUS_PART_EDGES[2];
    int paper_end = page_end - page_width < STATUS_PART_EDGES[1] ? page_end - page_width
                                                                   : STATUS_PART_EDGES[1];
    int printer_end = paper_end - paper_width < STATUS_PART_EDGES[0] ? paper_end - paper_width
                                                                      : STATUS_PART_EDGES[0];
    if (printer_end < STATUS_MIN_PRINTER_PART) {
        int shift = STATUS_MIN_PRINTER_PART - printer_end;
        printer_end += shift;
        paper_end += shift;
        page_end += shift;
    }
    edges[0] = printer_end;
    edges[1] = paper_end;
    edges[2] = page_end;
    edges[3] = STATUS_PART_EDGES[3];
}

const char16_t* file_name_part(const char16_t* path) {
    const char16_t* name = path;
    for (const char16_t* p = path; *p != 0; ++p)
        if (*p == u'\\') name = p + 1;
    return name;
}

void format_status_texts(StatusTexts& out) {
    const PrinterState& printer = printer_state();
    const Document& d = doc();

    TextBuilder prn(out.part[0], STATUS_TEXT_CAP);
    prn.add(u"Prn:");
    add_field(prn, printer.printer_name, PRINTER_NAME_CAP);

    TextBuilder paper(out.part[1], STATUS_TEXT_CAP);
    paper.add(u"紙:");
    add_field(paper, printer.form_name, FORM_NAME_CAP);

    TextBuilder page(out.part[2], STATUS_TEXT_CAP);
    page.add(u"Page:").add_int(d.current_card + 1).add(u"/").add_int(count_cards());

    // A card number outside the table (never set by the program itself)
    // names no bitmap rather than reading past the table.
    // A line of the card shown that does not fit even at its smallest size
    // comes first, where it cannot be cut off.
    TextBuilder bitmap(out.part[3], STATUS_TEXT_CAP);
    if (preview_overflow_lines() > 0) bitmap.add(u"はみ出し　");
    if (d.current_card >= 0 && d.current_card < HDATA_MAX) {
        const char16_t* path = d.hdata[d.current_card].base_filepass;
        char16_t bounded[PATH_CAP];
        text_copy(bounded, PATH_CAP, path, PATH_CAP - 1);
        bitmap.add(file_name_part(bounded));
        // The preview and the print leave out a bitmap refused for its size;
        // say why it is not there.
        if (bounded[0] != 0 && bitmap_file_too_large(bounded)) bitmap.add(u"（大きすぎます）");
    }
}

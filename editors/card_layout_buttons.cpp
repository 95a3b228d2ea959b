// The card layout dialog's buttons that act on the page and its items:
// paging, the line selectors, the line tops and spacings ("高", "横"), the
// font and colour choosers and the background bitmap ("参照").
#include <cstdint>

#include "editors/card_layout_editor.h"
#include "editors/card_layout_ids.h"
#include "editors/card_layout_items.h"
#include "model/text.h"

namespace {

// "警" and a NUL, measured together for the line spacing of "横".
const char16_t kSpacingSample[] = {u'\u8B66', 0};
constexpr int32_t kVertical = -900;  // tenths of a degree
constexpr unsigned kOfnHideReadOnly = 0x00000004;  // OFN_HIDEREADONLY

int32_t clamp_to_int32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace

// One page on (+1) or back (-1), wrapping around the cards in use; page 0
// when none is.
void CardLayoutEditor::move_page(int delta) {
    int32_t count = state_.page_count;
    int32_t page = state_.page + delta;
    if (page >= count) page = 0;
    if (page < 0) page = count > 0 ? count - 1 : 0;
    state_.page = page;
}

void CardLayoutEditor::turn_page(int delta) {
    store_fields(page_card());
    move_page(delta);
    show_fields();
    if (card_in_use(state_.page)) doc().current_card = state_.page;
    view_.repaint_main_window();
}

void CardLayoutEditor::move_selector(const LayoutLineItem& line, int delta) {
    store_fields(page_card());
    int32_t& k = selector(line.item);
    k += delta;
    if (k >= line.lines) k = 0;
    if (k < 0) k = line.lines - 1;
    show_fields();
}

// "高": every line of the item starts at the height in field 227.
void CardLayoutEditor::set_line_tops(const LayoutLineItem& line) {
    int32_t top = read_layout_number(view_, IDC_CL_TOP);
    LinePos* xy = layout_origins(page_card(), line.item);
    for (int k = 0; k < line.lines; ++k) xy[k].y = top;
    show_fields();
}

// "横": the lines stand side by side from right to left, each the step left
// of the one before; the step is field 226, or when that is empty or 0 the
// advance of the item's font measured on the screen.
void CardLayoutEditor::set_line_spacing(LayoutChoosers& choosers, const LayoutLineItem& line) {
    store_fields(page_card());
    CardRecord& card = page_card();
    int32_t step = read_layout_number(view_, IDC_CL_SPACING);
    if (step == 0) {
        DrawingSurface& screen = choosers.screen_surface();
        screen.begin_font(layout_font(card, line.item), layout_colour(card, line.item));
        step = screen.text_extent(kSpacingSample, 2).cx;
        screen.end_font();
    }
    LinePos* xy = layout_origins(card, line.item);
    for (int k = 1; k < line.lines; ++k)
        xy[k].x = clamp_to_int32(static_cast<int64_t>(xy[0].x) - static_cast<int64_t>(k) * step);
    show_fields();
}

// "Font": the chooser offers the fonts of the printer last chosen (or the
// first one); postal codes stay horizontal and lines vertical whatever was
// chosen, even when the chooser was cancelled.
void CardLayoutEditor::choose_item_font(LayoutChoosers& choosers, LayoutItem item) {
    int32_t index = enum_printers(view_.window());
    if (index < 0) {
        platform().message_box(view_.window(), u"プリンタが選定が不明ですので先頭プリンタにします",
                               u"フォント選択", kButtonsOk);
        index = 0;
    }
    const PrinterEntry* printer = index < printer_count() ? &printer_list()[index] : nullptr;
    LogFont& lf = layout_font(page_card(), item);
    LogFont chosen = lf;
    bool chosen_ok;
    {
        EditorModal modal;
        chosen_ok = choosers.choose_font(view_.window(), printer, chosen);
    }
    if (chosen_ok) lf = chosen;
    int32_t escapement = item == kCode || item == kSenderCode ? 0 : kVertical;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
}

void CardLayoutEditor::choose_item_colour(LayoutChoosers& choosers, LayoutItem item) {
    RgbColor& c = layout_colour(page_card(), item);
    RgbColor chosen = c;
    EditorModal modal;
    if (choosers.choose_colour(view_.window(), chosen)) c = chosen;
}

// "参照": the open dialog starts at the card's bitmap, a bare name taken
// from the working folder.
void CardLayoutEditor::browse_bitmap() {
    Document& d = doc();
    platform().set_current_directory(d.work_dir);
    CardRecord& card = page_card();
    char16_t file[PATH_CAP];
    TextBuilder start(file, PATH_CAP);
    if (card.base_filepass[0] != 0 && card.base_filepass[1] == u':' &&
        card.base_filepass[2] == u'\\') {
        start.add(card.base_filepass);
    } else {
        int n = text_length(d.work_dir);
        start.add(d.work_dir);
        if (n == 0 || d.work_dir[n - 1] != u'\\') start.add_unit(u'\\');
        start.add(card.base_filepass);
    }
    FileDialogRequest request{false,
                              u"PalyFileの在処を指定",
                              u"BMPFile(*.bmp)\0*.bmp\0ALLFile(*.*)\0*.*\0",
                              file,
                              PATH_CAP,
                              kOfnHideReadOnly};
    EditorModal modal;
    if (!platform().file_dialog(view_.window(), request)) return;
    text_copy(card.base_filepass, PATH_CAP, file);
    view_.set_text(IDC_CL_BITMAP, card.base_filepass);
}

bool CardLayoutEditor::line_command(LayoutChoosers& choosers, int id) {
    for (const LayoutLineItem& line : kLineItems) {
        if (id == line.next_id) {
            move_selector(line, +1);
        } else if (id == line.previous_id) {
            move_selector(line, -1);
        } else if (id == line.tops_id) {
            set_line_tops(line);
        } else if (id == line.spacing_id) {
            set_line_spacing(choosers, line);
        } else {
            continue;
        }
        return true;
    }
    return false;
}

bool CardLayoutEditor::style_command(LayoutChoosers& choosers, int id) {
    for (const LayoutStyleButtons& style : kStyleButtons) {
        if (id == style.font_id) {
            choose_item_font(choosers, style.item);
        } else if (id == style.colour_id) {
            choose_item_colour(choosers, style.item);
        } else {
            continue;
        }
        return true;
    }
    return false;
}

#include "editors/card_layout_editor.h"

#include <cstdint>
#include <cstring>

#include "editors/navigation_request.h"
#include "editors/card_layout_ids.h"
#include "editors/editor_shared.h"
#include "model/defaults.h"
#include "model/text.h"
#include "print/print_job.h"

namespace {

CardLayoutState g_state{};

// The layouts of all cards as they were when the dialog opened (only the
// layout fields count: the texts and histories belong to the addressee
// list and to printing).
CardRecord g_snapshot[HDATA_MAX];

// The print settings as they were before the first "座標初期化" since the
// dialog opened (which resets them with the layouts), and as that reset
// left them: undoing the dialog's changes puts each back only while it
// still holds what the reset set.
PrintSettings g_print_before_reset{};
PrintSettings g_print_after_reset{};
bool g_print_reset = false;

// Number fields are read from at most this many characters.
constexpr int kNumberChars = 4;
// The values fields 226 and 227 show at every showing.
const char16_t kDefaultSpacing[] = u"20";
const char16_t kDefaultTop[] = u"170";
// "警" and a NUL, measured together for the line spacing of "横".
const char16_t kSpacingSample[] = {u'\u8B66', 0};
constexpr int32_t kVertical = -900;  // tenths of a degree
constexpr unsigned kOfnHideReadOnly = 0x00000004;  // OFN_HIDEREADONLY

// The six items of a card's layout.
enum Item { kCode, kAddress, kName, kSenderCode, kSenderAddress, kSenderName };

// An item drawn as lines: its origins, selector and buttons.
struct LineItem {
    Item item;
    int lines;
    int x_id, y_id, label_id, next_id, previous_id, tops_id, spacing_id;
};

const LineItem kLineItems[] = {
    {kAddress, ADDRESSEE_LINES, IDC_CL_TA_X, IDC_CL_TA_Y, IDC_CL_TA_LINE, IDC_CL_TA_NEXT,
     IDC_CL_TA_PREVIOUS, IDC_CL_TA_TOPS, IDC_CL_TA_SPACING},
    {kName, ADDRESSEE_LINES, IDC_CL_TN_X, IDC_CL_TN_Y, IDC_CL_TN_LINE, IDC_CL_TN_NEXT,
     IDC_CL_TN_PREVIOUS, IDC_CL_TN_TOPS, IDC_CL_TN_SPACING},
    {kSenderAddress, SENDER_LINES, IDC_CL_FA_X, IDC_CL_FA_Y, IDC_CL_FA_LINE, IDC_CL_FA_NEXT,
     IDC_CL_FA_PREVIOUS, IDC_CL_FA_TOPS, IDC_CL_FA_SPACING},
    {kSenderName, SENDER_LINES, IDC_CL_FN_X, IDC_CL_FN_Y, IDC_CL_FN_LINE, IDC_CL_FN_NEXT,
     IDC_CL_FN_PREVIOUS, IDC_CL_FN_TOPS, IDC_CL_FN_SPACING},
};

// The font and colour buttons of each item.
struct StyleButtons {
    Item item;
    int font_id, colour_id;
};

const StyleButtons kStyleButtons[] = {
    {kCode, IDC_CL_TT_FONT, IDC_CL_TT_COLOUR},
    {kAddress, IDC_CL_TA_FONT, IDC_CL_TA_COLOUR},
    {kName, IDC_CL_TN_FONT, IDC_CL_TN_COLOUR},
    {kSenderCode, IDC_CL_FT_FONT, IDC_CL_FT_COLOUR},
    {kSenderAddress, IDC_CL_FA_FONT, IDC_CL_FA_COLOUR},
    {kSenderName, IDC_CL_FN_FONT, IDC_CL_FN_COLOUR},
};

CardRecord& page_card() {
    int32_t page = g_state.page;
    return doc().hdata[page >= 0 && page < HDATA_MAX ? page : 0];
}

int32_t& selector(Item item) {
    switch (item) {
    case kAddress: return g_state.address_line;
    case kName: return g_state.name_line;
    case kSenderAddress: return g_state.sender_address_line;
    default: return g_state.sender_name_line;
    }
}

LinePos* origins(CardRecord& card, Item item) {
    switch (item) {
    case kAddress: return card.ta.xy;
    case kName: return card.tn.xy;
    case kSenderAddress: return card.fa.xy;
    default: return card.fn.xy;
    }
}

LogFont& font(CardRecord& card, Item item) {
    switch (item) {
    case kCode: return card.tt.lf;
    case kAddress: return card.ta.lf;
    case kName: return card.tn.lf;
    case kSenderCode: return card.ft.lf;
    case kSenderAddress: return card.fa.lf;
    default: return card.fn.lf;
    }
}

RgbColor& colour(CardRecord& card, Item item) {
    switch (item) {
    case kCode: return card.tt.c;
    case kAddress: return card.ta.c;
    case kName: return card.tn.c;
    case kSenderCode: return card.ft.c;
    case kSenderAddress: return card.fa.c;
    default: return card.fn.c;
    }
}

// The number fields of the card at the page, with the lines the selectors
// pick.
struct NumberField {
    int id;
    int32_t* value;
};
constexpr int kNumberFields = 22;

void number_fields(CardRecord& card, NumberField (&out)[kNumberFields]) {
    LinePos& ta = card.ta.xy[g_state.address_line];
    LinePos& tn = card.tn.xy[g_state.name_line];
    LinePos& fa = card.fa.xy[g_state.sender_address_line];
    LinePos& fn = card.fn.xy[g_state.sender_name_line];
    NumberField fields[kNumberFields] = {
        {IDC_CL_BASE_W, &card.base_w}, {IDC_CL_BASE_H, &card.base_h},
        {IDC_CL_TT_X1, &card.tt.x1},   {IDC_CL_TT_Y1, &card.tt.y1},
        {IDC_CL_TT_W1, &card.tt.w1},   {IDC_CL_TT_X2, &card.tt.x2},
        {IDC_CL_TT_Y2, &card.tt.y2},   {IDC_CL_TT_W2, &card.tt.w2},
        {IDC_CL_FT_X1, &card.ft.x1},   {IDC_CL_FT_Y1, &card.ft.y1},
        {IDC_CL_FT_W1, &card.ft.w1},   {IDC_CL_FT_X2, &card.ft.x2},
        {IDC_CL_FT_Y2, &card.ft.y2},   {IDC_CL_FT_W2, &card.ft.w2},
        {IDC_CL_TA_X, &ta.x},          {IDC_CL_TA_Y, &ta.y},
        {IDC_CL_TN_X, &tn.x},          {IDC_CL_TN_Y, &tn.y},
        {IDC_CL_FA_X, &fa.x},          {IDC_CL_FA_Y, &fa.y},
        {IDC_CL_FN_X, &fn.x},          {IDC_CL_FN_Y, &fn.y},
    };
    std::memcpy(out, fields, sizeof fields);
}

// Room for any 32-bit number in decimal, sign and NUL included.
constexpr int kNumberCap = 16;

void format_number(char16_t (&text)[kNumberCap], int32_t value) {
    TextBuilder(text, kNumberCap).add_int(value);
}

// A number field as the user typed it: its first four characters, converted
// like _wtoi (empty or not a number gives 0).
int32_t read_number(DialogView& view, int id) {
    char16_t text[kNumberChars + 1];
    view.get_text(id, text, kNumberChars + 1);
    return text_to_int(text, kNumberChars);
}

// Stores a number field into `value`. A field still showing the value
// unchanged leaves it as it is: a stored number wider than four characters
// (from a file, or dragged far off the card) would otherwise be cut by
// merely paging past the card.
void store_number(DialogView& view, int id, int32_t& value) {
    char16_t text[kNumberCap];
    char16_t unchanged[kNumberCap];
    view.get_text(id, text, kNumberCap);
    format_number(unchanged, value);
    if (text_equal(text, unchanged)) return;
    value = text_to_int(text, kNumberChars);
}

void show_number(DialogView& view, int id, int32_t value) {
    char16_t text[kNumberCap];
    format_number(text, value);
    view.set_text(id, text);
}

void show_fields(DialogView& view) {
    CardRecord& card = page_card();
    NumberField fields[kNumberFields];
    number_fields(card, fields);
    for (const NumberField& f : fields) show_number(view, f.id, *f.value);
    view.set_text(IDC_CL_BITMAP, card.base_filepass);
    char16_t label[32];
    for (const LineItem& line : kLineItems) {
        format_counter(label, 32, u"番号:", selector(line.item) + 1, line.lines);
        view.set_text(line.label_id, label);
    }
    format_counter(label, 32, u"Page:", g_state.page + 1, g_state.page_count);
    view.set_text(IDC_CL_PAGE, label);
    view.set_text(IDC_CL_SPACING, kDefaultSpacing);
    view.set_text(IDC_CL_TOP, kDefaultTop);
}

void store_fields(DialogView& view, CardRecord& card) {
    NumberField fields[kNumberFields];
    number_fields(card, fields);
    for (const NumberField& f : fields) store_number(view, f.id, *f.value);
    char16_t path[PATH_CAP];
    view.get_text(IDC_CL_BITMAP, path, PATH_CAP);
    text_copy(card.base_filepass, PATH_CAP, path, PATH_CAP - 1);
}

// One page on (+1) or back (-1), wrapping around the cards in use; page 0
// when none is.
void move_page(int delta) {
    int32_t count = g_state.page_count;
    int32_t page = g_state.page + delta;
    if (page >= count) page = 0;
    if (page < 0) page = count > 0 ? count - 1 : 0;
    g_state.page = page;
}

void turn_page(DialogView& view, int delta) {
    store_fields(view, page_card());
    move_page(delta);
    show_fields(view);
    if (card_in_use(g_state.page)) doc().current_card = g_state.page;
    view.repaint_main_window();
}

void move_selector(DialogView& view, const LineItem& line, int delta) {
    store_fields(view, page_card());
    int32_t& k = selector(line.item);
    k += delta;
    if (k >= line.lines) k = 0;
    if (k < 0) k = line.lines - 1;
    show_fields(view);
}

// "高": every line of the item starts at the height in field 227.
void set_line_tops(DialogView& view, const LineItem& line) {
    int32_t top = read_number(view, IDC_CL_TOP);
    LinePos* xy = origins(page_card(), line.item);
    for (int k = 0; k < line.lines; ++k) xy[k].y = top;
    show_fields(view);
}

int32_t clamp_to_int32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// "横": the lines stand side by side from right to left, each the step left
// of the one before; the step is field 226, or when that is empty or 0 the
// advance of the item's font measured on the screen.
void set_line_spacing(DialogView& view, LayoutChoosers& choosers, const LineItem& line) {
    store_fields(view, page_card());
    CardRecord& card = page_card();
    int32_t step = read_number(view, IDC_CL_SPACING);
    if (step == 0) {
        DrawingSurface& screen = choosers.screen_surface();
        screen.begin_font(font(card, line.item), colour(card, line.item));
        step = screen.text_extent(kSpacingSample, 2).cx;
        screen.end_font();
    }
    LinePos* xy = origins(card, line.item);
    for (int k = 1; k < line.lines; ++k)
        xy[k].x = clamp_to_int32(static_cast<int64_t>(xy[0].x) - static_cast<int64_t>(k) * step);
    show_fields(view);
}

// "Font": the chooser offers the fonts of the printer last chosen (or the
// first one); postal codes stay horizontal and lines vertical whatever was
// chosen, even when the chooser was cancelled.
void choose_item_font(DialogView& view, LayoutChoosers& choosers, Item item) {
    int32_t index = enum_printers(view.window());
    if (index < 0) {
        platform().message_box(view.window(), u"プリンタが選定が不明ですので先頭プリンタにします",
                               u"フォント選択", kButtonsOk);
        index = 0;
    }
    const PrinterEntry* printer = index < printer_count() ? &printer_list()[index] : nullptr;
    LogFont& lf = font(page_card(), item);
    LogFont chosen = lf;
    bool chosen_ok;
    {
        EditorModal modal;
        chosen_ok = choosers.choose_font(view.window(), printer, chosen);
    }
    if (chosen_ok) lf = chosen;
    int32_t escapement = item == kCode || item == kSenderCode ? 0 : kVertical;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
}

void choose_item_colour(DialogView& view, LayoutChoosers& choosers, Item item) {
    RgbColor& c = colour(page_card(), item);
    RgbColor chosen = c;
    EditorModal modal;
    if (choosers.choose_colour(view.window(), chosen)) c = chosen;
}

// "参照": the open dialog starts at the card's bitmap, a bare name taken
// from the working folder.
void browse_bitmap(DialogView& view) {
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
    if (!platform().file_dialog(view.window(), request)) return;
    text_copy(card.base_filepass, PATH_CAP, file);
    view.set_text(IDC_CL_BITMAP, card.base_filepass);
}

void paste_all() {
    int count = count_cards();
    for (int i = 0; i < count; ++i) copy_layout(doc().hdata[i], doc().layout_clipboard);
}

void reset_all_layouts(DialogView& view) {
    if (!g_print_reset) {
        g_print_before_reset = doc().print;
        g_print_reset = true;
    }
    reset_layouts();
    g_print_after_reset = doc().print;
    view.repaint_main_window();
    view.repaint_dialog();
    show_fields(view);
}

// The print settings the reset sets, one by one.
int32_t PrintSettings::* const kPrintFields[] = {
    &PrintSettings::base_pw, &PrintSettings::base_ph,  &PrintSettings::base_px,
    &PrintSettings::base_py, &PrintSettings::prn_mode, &PrintSettings::bmp_mode,
    &PrintSettings::start_p, &PrintSettings::stop_p,
};
static_assert(sizeof kPrintFields / sizeof kPrintFields[0] * sizeof(int32_t) == sizeof(PrintSettings),
              "every print setting is listed");

// A print setting that undoing puts back: the reset changed it and it still
// holds what the reset set. Each setting counts alone, so that one set
// since (the print mode by a print from the addressee list, offsets
// confirmed in the print position dialog) keeps its value and does not keep
// the others from going back.
bool reset_pending(int32_t PrintSettings::*field) {
    return g_print_reset && doc().print.*field == g_print_after_reset.*field &&
           g_print_after_reset.*field != g_print_before_reset.*field;
}

bool print_reset_pending() {
    for (auto field : kPrintFields)
        if (reset_pending(field)) return true;
    return false;
}

// Every card's layout (and the print settings the dialog reset, where
// nobody has set them since) as they were when the dialog opened.
void restore_layouts() {
    for (int i = 0; i < HDATA_MAX; ++i) copy_layout(doc().hdata[i], g_snapshot[i]);
    for (auto field : kPrintFields)
        if (reset_pending(field)) doc().print.*field = g_print_before_reset.*field;
    g_print_reset = false;
}

bool same_layout(const CardRecord& card, const CardRecord& layout) {
    CardRecord probe;
    std::memcpy(&probe, &card, sizeof probe);
    copy_layout(probe, layout);
    return std::memcmp(&probe, &card, sizeof probe) == 0;
}

// A layout stored since the dialog opened (or the print settings reset),
// or a field typed into and not stored yet.
bool has_changes(DialogView& view) {
    for (int i = 0; i < HDATA_MAX; ++i)
        if (!same_layout(doc().hdata[i], g_snapshot[i])) return true;
    if (print_reset_pending()) return true;
    CardRecord typed;
    std::memcpy(&typed, &page_card(), sizeof typed);
    store_fields(view, typed);
    return !same_layout(page_card(), typed);
}

void save_and_close(DialogView& view) {
    store_fields(view, page_card());
    close_editor(view, 1);
    view.repaint_main_window();
    doc().modified = true;
}

void discard_and_close(DialogView& view) {
    restore_layouts();
    close_editor(view, 0);
    // The preview must not go on showing the discarded layouts.
    view.repaint_main_window();
}

const EditorKind kCardLayout = {u"葉書の設定", has_changes, save_and_close, discard_and_close};

bool line_command(DialogView& view, LayoutChoosers& choosers, int id) {
    for (const LineItem& line : kLineItems) {
        if (id == line.next_id) {
            move_selector(view, line, +1);
        } else if (id == line.previous_id) {
            move_selector(view, line, -1);
        } else if (id == line.tops_id) {
            set_line_tops(view, line);
        } else if (id == line.spacing_id) {
            set_line_spacing(view, choosers, line);
        } else {
            continue;
        }
        return true;
    }
    return false;
}

bool style_command(DialogView& view, LayoutChoosers& choosers, int id) {
    for (const StyleButtons& style : kStyleButtons) {
        if (id == style.font_id) {
            choose_item_font(view, choosers, style.item);
        } else if (id == style.colour_id) {
            choose_item_colour(view, choosers, style.item);
        } else {
            continue;
        }
        return true;
    }
    return false;
}

}  // namespace

CardLayoutState& card_layout_state() { return g_state; }

void start_card_layout(DialogView& view) {
    std::memcpy(g_snapshot, doc().hdata, sizeof g_snapshot);
    g_print_reset = false;
    g_state = CardLayoutState{};
    g_state.page_count = count_cards();
    view.repaint_main_window();
    int32_t current = doc().current_card;
    g_state.page = current >= 0 && current < HDATA_MAX ? current : 0;
    show_fields(view);
    set_nav_request(NAV_NONE);
    editor_opened(kCardLayout, view);
}

bool card_layout_command(DialogView& view, LayoutChoosers& choosers, int id) {
    // Nothing is taken while a print runs (print/print_job.h).
    if (print_lock_held()) return true;
    if (line_command(view, choosers, id) || style_command(view, choosers, id)) return true;
    switch (id) {
    case IDC_CL_NEXT_PAGE:
        turn_page(view, +1);
        return true;
    case IDC_CL_PREVIOUS_PAGE:
        turn_page(view, -1);
        return true;
    case IDC_CL_BROWSE:
        browse_bitmap(view);
        return true;
    case IDC_CL_COPY:
        store_fields(view, page_card());
        copy_layout(doc().layout_clipboard, page_card());
        return true;
    case IDC_CL_PASTE:
        copy_layout(page_card(), doc().layout_clipboard);
        show_fields(view);
        return true;
    case IDC_CL_PASTE_ALL:
        paste_all();
        show_fields(view);
        return true;
    case IDC_CL_RESET:
        reset_all_layouts(view);
        return true;
    case IDC_CL_REFRESH:
        store_fields(view, page_card());
        view.repaint_main_window();
        show_fields(view);
        return true;
    case IDC_CL_RELOAD:
        show_fields(view);
        view.repaint_dialog();
        return true;
    case IDC_CL_UNDO:
        // The fields show the restored card at once: were they left showing
        // the undone values, the next store would write them back into it.
        restore_layouts();
        view.repaint_main_window();
        view.repaint_dialog();
        show_fields(view);
        return true;
    case IDC_CL_SAVE_CLOSE:
        save_and_close(view);
        return true;
    default:
        return false;
    }
}

void card_layout_follow_navigation(DialogView& view) {
    int request = nav_request();
    if (request != NAV_NEXT && request != NAV_PREVIOUS) return;
    store_fields(view, page_card());
    move_page(request == NAV_NEXT ? +1 : -1);
    set_nav_request(NAV_NONE);
    show_fields(view);
}

bool card_layout_close_box(DialogView& view) {
    if (print_lock_held()) return false;
    if (!confirm_discard(view)) return false;
    discard_and_close(view);
    return true;
}

#include "print/print_position.h"

#include "model/document.h"
#include "model/text.h"
#include "print/decimal_text.h"
#include "print/message_format.h"
#include "print/print_dialog_ids.h"
#include "print/printer_state.h"
#include "render/paper_metrics.h"

namespace {

constexpr int kLineCap = 320;
constexpr int kFieldCap = 32;  // each edit is read with at most 31 characters
constexpr int kNumberCap = 16;

void set_tenths(DialogControls& c, int id, int32_t tenths) {
    char16_t text[kNumberCap];
    format_tenths(text, kNumberCap, tenths);
    c.set_text(id, text);
}

void set_number(DialogControls& c, int id, int32_t value) {
    char16_t text[kNumberCap];
    TextBuilder(text, kNumberCap).add_int(value);
    c.set_text(id, text);
}

int32_t read_tenths(DialogControls& c, int id) {
    char16_t text[kFieldCap];
    c.get_text(id, text, kFieldCap);
    return text_to_tenths(text, kFieldCap - 1);
}

int32_t read_number(DialogControls& c, int id) {
    char16_t text[kFieldCap];
    c.get_text(id, text, kFieldCap);
    return text_to_int(text, kFieldCap - 1);
}

Rect rect_at(int32_t x, int32_t y, int32_t width, int32_t height) {
    return {x, y, x + width, y + height};
}

}  // namespace

void fill_print_position(DialogControls& c) {
    const PrintSettings& s = doc().print;
    char16_t line[kLineCap];
    format_message(line, kLineCap, u"プリンタ　%s", {printer_state().printer_name});
    c.set_text(IDC_PP_PRINTER, line);

    char16_t width[kNumberCap];
    char16_t height[kNumberCap];
    format_tenths(width, kNumberCap, paper_width());
    format_tenths(height, kNumberCap, paper_height());
    format_message(line, kLineCap, u"用紙サイズ　%s（横）×%s（縦）単位mm", {width, height});
    c.set_text(IDC_PP_PAPER, line);

    set_tenths(c, IDC_PP_CARD_WIDTH, s.base_pw);
    set_tenths(c, IDC_PP_CARD_HEIGHT, s.base_ph);
    set_tenths(c, IDC_PP_OFFSET_X, s.base_px);
    set_tenths(c, IDC_PP_OFFSET_Y, s.base_py);

    int mode_button = s.prn_mode == 2   ? IDC_PP_MODE_RANGE
                      : s.prn_mode == 1 ? IDC_PP_MODE_ALL
                                        : IDC_PP_MODE_ONE;
    for (int id : {IDC_PP_MODE_ONE, IDC_PP_MODE_ALL, IDC_PP_MODE_RANGE})
        c.set_checked(id, id == mode_button);

    set_number(c, IDC_PP_START, s.start_p);
    set_number(c, IDC_PP_STOP, s.stop_p);
    c.set_checked(IDC_PP_BACKGROUND, s.bmp_mode == 1);
}

void take_print_position(DialogControls& c) {
    PrintSettings& s = doc().print;
    s.base_pw = read_tenths(c, IDC_PP_CARD_WIDTH);
    s.base_ph = read_tenths(c, IDC_PP_CARD_HEIGHT);
    s.base_px = read_tenths(c, IDC_PP_OFFSET_X);
    s.base_py = read_tenths(c, IDC_PP_OFFSET_Y);

    if (c.checked(IDC_PP_MODE_ALL))
        s.prn_mode = 1;
    else if (c.checked(IDC_PP_MODE_RANGE))
        s.prn_mode = 2;
    else
        s.prn_mode = 0;

    s.start_p = read_number(c, IDC_PP_START);
    if (s.start_p < 1) {
        s.start_p = 1;
        set_number(c, IDC_PP_START, s.start_p);
    }
    s.stop_p = read_number(c, IDC_PP_STOP);
    int cards = count_cards();
    if (s.stop_p > cards) {
        s.stop_p = cards;
        set_number(c, IDC_PP_STOP, s.stop_p);
    }
    if (s.start_p > s.stop_p) {
        s.start_p = s.stop_p;
        set_number(c, IDC_PP_START, s.start_p);
    }
    s.bmp_mode = c.checked(IDC_PP_BACKGROUND) ? 1 : 0;
}

LengthBackup backup_lengths() {
    const PrintSettings& s = doc().print;
    return {s.base_pw, s.base_ph, s.base_px, s.base_py};
}

void restore_lengths(const LengthBackup& b) {
    PrintSettings& s = doc().print;
    s.base_pw = b.base_pw;
    s.base_ph = b.base_ph;
    s.base_px = b.base_px;
    s.base_py = b.base_py;
}

PositionPreview position_preview() {
    const PrintSettings& s = doc().print;
    int32_t x0 = paper_width() > paper_height() ? 70 : 95;
    int32_t y0 = 150;
    return {rect_at(x0, y0, paper_width() / 10, paper_height() / 10),
            rect_at(x0 + s.base_px / 10, y0 + s.base_py / 10, s.base_pw / 10, s.base_ph / 10)};
}

void show_print_position_help(WindowHandle dialog) {
    platform().message_box(dialog, u"Internet Explorerが見つかりませんでした。", u"残念！",
                           kButtonsOk);
}

// The card layout dialog's fields: the table of its number fields, showing
// the card at the page in them and storing them back into a card.
#include <cstring>

#include "editors/card_layout_editor.h"
#include "editors/card_layout_ids.h"
#include "editors/card_layout_items.h"
#include "model/text.h"

const LayoutLineItem kLineItems[kLayoutLineItems] = {
    {kAddress, ADDRESSEE_LINES, IDC_CL_TA_X, IDC_CL_TA_Y, IDC_CL_TA_LINE, IDC_CL_TA_NEXT,
     IDC_CL_TA_PREVIOUS, IDC_CL_TA_TOPS, IDC_CL_TA_SPACING},
    {kName, ADDRESSEE_LINES, IDC_CL_TN_X, IDC_CL_TN_Y, IDC_CL_TN_LINE, IDC_CL_TN_NEXT,
     IDC_CL_TN_PREVIOUS, IDC_CL_TN_TOPS, IDC_CL_TN_SPACING},
    {kSenderAddress, SENDER_LINES, IDC_CL_FA_X, IDC_CL_FA_Y, IDC_CL_FA_LINE, IDC_CL_FA_NEXT,
     IDC_CL_FA_PREVIOUS, IDC_CL_FA_TOPS, IDC_CL_FA_SPACING},
    {kSenderName, SENDER_LINES, IDC_CL_FN_X, IDC_CL_FN_Y, IDC_CL_FN_LINE, IDC_CL_FN_NEXT,
     IDC_CL_FN_PREVIOUS, IDC_CL_FN_TOPS, IDC_CL_FN_SPACING},
};

const LayoutStyleButtons kStyleButtons[kLayoutStyleButtons] = {
    {kCode, IDC_CL_TT_FONT, IDC_CL_TT_COLOUR},
    {kAddress, IDC_CL_TA_FONT, IDC_CL_TA_COLOUR},
    {kName, IDC_CL_TN_FONT, IDC_CL_TN_COLOUR},
    {kSenderCode, IDC_CL_FT_FONT, IDC_CL_FT_COLOUR},
    {kSenderAddress, IDC_CL_FA_FONT, IDC_CL_FA_COLOUR},
    {kSenderName, IDC_CL_FN_FONT, IDC_CL_FN_COLOUR},
};

LinePos* layout_origins(CardRecord& card, LayoutItem item) {
    switch (item) {
    case kAddress: return card.ta.xy;
    case kName: return card.tn.xy;
    case kSenderAddress: return card.fa.xy;
    default: return card.fn.xy;
    }
}

LogFont& layout_font(CardRecord& card, LayoutItem item) {
    switch (item) {
    case kCode: return card.tt.lf;
    case kAddress: return card.ta.lf;
    case kName: return card.tn.lf;
    case kSenderCode: return card.ft.lf;
    case kSenderAddress: return card.fa.lf;
    default: return card.fn.lf;
    }
}

RgbColor& layout_colour(CardRecord& card, LayoutItem item) {
    switch (item) {
    case kCode: return card.tt.c;
    case kAddress: return card.ta.c;
    case kName: return card.tn.c;
    case kSenderCode: return card.ft.c;
    case kSenderAddress: return card.fa.c;
    default: return card.fn.c;
    }
}

namespace {

// Number fields are read from at most this many characters.
constexpr int kNumberChars = 4;
// The values fields 226 and 227 show at every showing.
const char16_t kDefaultSpacing[] = u"20";
const char16_t kDefaultTop[] = u"170";

// The number fields of the card at the page, with the lines the selectors
// pick.
struct NumberField {
    int id;
    int32_t* value;
};
constexpr int kNumberFields = 22;

void number_fields(CardRecord& card, const CardLayoutState& state, NumberField (&out)[kNumberFields]) {
    LinePos& ta = card.ta.xy[state.address_line];
    LinePos& tn = card.tn.xy[state.name_line];
    LinePos& fa = card.fa.xy[state.sender_address_line];
    LinePos& fn = card.fn.xy[state.sender_name_line];
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

}  // namespace

int32_t read_layout_number(DialogView& view, int id) {
    char16_t text[kNumberChars + 1];
    view.get_text(id, text, kNumberChars + 1);
    return text_to_int(text, kNumberChars);
}

CardRecord& CardLayoutEditor::page_card() {
    int32_t page = state_.page;
    return doc().hdata[page >= 0 && page < HDATA_MAX ? page : 0];
}

int32_t& CardLayoutEditor::selector(LayoutItem item) {
    switch (item) {
    case kAddress: return state_.address_line;
    case kName: return state_.name_line;
    case kSenderAddress: return state_.sender_address_line;
    default: return state_.sender_name_line;
    }
}

void CardLayoutEditor::show_fields() {
    DialogView& view = view_;
    CardRecord& card = page_card();
    NumberField fields[kNumberFields];
    number_fields(card, state_, fields);
    for (const NumberField& f : fields) show_number(view, f.id, *f.value);
    view.set_text(IDC_CL_BITMAP, card.base_filepass);
    char16_t label[32];
    for (const LayoutLineItem& line : kLineItems) {
        format_counter(label, 32, u"番号:", selector(line.item) + 1, line.lines);
        view.set_text(line.label_id, label);
    }
    format_counter(label, 32, u"Page:", state_.page + 1, state_.page_count);
    view.set_text(IDC_CL_PAGE, label);
    view.set_text(IDC_CL_SPACING, kDefaultSpacing);
    view.set_text(IDC_CL_TOP, kDefaultTop);
}

void CardLayoutEditor::store_fields(CardRecord& card) {
    NumberField fields[kNumberFields];
    number_fields(card, state_, fields);
    for (const NumberField& f : fields) store_number(view_, f.id, *f.value);
    char16_t path[PATH_CAP];
    view_.get_text(IDC_CL_BITMAP, path, PATH_CAP);
    text_copy(card.base_filepass, PATH_CAP, path, PATH_CAP - 1);
}

// The card layout dialog's items and the controls of each, shared by the
// files of its logic (card_layout_editor.h): the six items of a card's
// layout, the four drawn as lines with their selector and buttons, and the
// font and colour buttons of each.
#pragma once

#include <cstdint>

#include "editors/dialog_view.h"
#include "model/document.h"

// The six items of a card's layout.
enum LayoutItem : int { kCode, kAddress, kName, kSenderCode, kSenderAddress, kSenderName };

// An item drawn as lines: its origins, selector and buttons.
struct LayoutLineItem {
    LayoutItem item;
    int lines;
    int x_id, y_id, label_id, next_id, previous_id, tops_id, spacing_id;
};
constexpr int kLayoutLineItems = 4;
extern const LayoutLineItem kLineItems[kLayoutLineItems];

// The font and colour buttons of each item.
struct LayoutStyleButtons {
    LayoutItem item;
    int font_id, colour_id;
};
constexpr int kLayoutStyleButtons = 6;
extern const LayoutStyleButtons kStyleButtons[kLayoutStyleButtons];

LinePos* layout_origins(CardRecord& card, LayoutItem item);
LogFont& layout_font(CardRecord& card, LayoutItem item);
RgbColor& layout_colour(CardRecord& card, LayoutItem item);

// A number field as the user typed it: its first four characters, converted
// like _wtoi (empty or not a number gives 0).
int32_t read_layout_number(DialogView& view, int id);

// Card units on the two surfaces the program draws on: the preview in the
// main window (one unit is one pixel, the card's top left corner at client
// point (10, 50)) and a printer page (the card stretched over the printable
// area, shifted by the print offset). Also the item numbers of the draggable
// items and the rectangle each item covers in the preview.
#pragma once

#include <cstdint>

#include "model/document.h"

struct Point {
    int32_t x;
    int32_t y;
};

struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// A text's size as GetTextExtentPoint32W reports it: cx the advance along
// the writing direction, cy the height of the font's character cell.
struct Extent {
    int32_t cx;
    int32_t cy;
};

// The draggable items of a card.
using ItemId = int32_t;
constexpr ItemId kItemNone = 0;
constexpr ItemId kItemCodeGroup3 = 1;          // addressee code, three-digit group
constexpr ItemId kItemCodeGroup4 = 2;          // addressee code, four-digit group
constexpr ItemId kItemAddressLine0 = 3;        // 3 to 7: ta line id - 3
constexpr ItemId kItemNameLine0 = 8;           // 8 to 12: tn line id - 8
constexpr ItemId kItemSenderCodeGroup3 = 13;
constexpr ItemId kItemSenderCodeGroup4 = 14;
constexpr ItemId kItemSenderAddressLine0 = 15;  // 15, 16: fa line id - 15
constexpr ItemId kItemSenderNameLine0 = 17;     // 17, 18: fn line id - 17
constexpr ItemId kItemLast = 18;

// The sizes measured by the last preview paint, in preview pixels.
struct ItemExtents {
    Extent code;                           // first character of tt.m (cy used)
    Extent address[ADDRESSEE_LINES];
    Extent name[ADDRESSEE_LINES];
    Extent sender_code;                    // first character of the sender's t (cy used)
    Extent sender_address[SENDER_LINES];
    Extent sender_name[SENDER_LINES];
};

constexpr Point kPreviewOrigin{10, 50};

// Positions come from files and drags unchecked: sums wrap like the 32-bit
// values they are stored in instead of overflowing.
inline int32_t wrapping_add(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// The sender card `card` prints (fdata[ftb]); an empty sender when ftb names
// none.
const SenderRecord& chosen_sender(const CardRecord& card);

// Card point -> main window client point.
Point to_preview(int32_t x, int32_t y);

// Card point -> printer device point for a printable area of W x H pixels
// (HORZRES x VERTRES), shifted by the print offset (base_px, base_py) of the
// document's print settings. The products and the division are unsigned
// 32-bit, so a negative card position lands far outside the page. A card
// whose base_w or base_h is not positive cannot be mapped: see
// card_printable; for such a card the result is a point far off any page.
Point to_printer(int32_t x, int32_t y, int32_t W, int32_t H, const CardRecord& card);

// The same mapping onto any rectangle of W x H surface units whose top left
// corner is `origin` (a thumbnail, a cell of a printed sheet).
Point to_area(int32_t x, int32_t y, Point origin, int32_t W, int32_t H, const CardRecord& card);

// A stored lfHeight scaled to the printer: lfHeight x H / base_h, truncated
// toward zero (negative character heights stay negative).
int32_t printer_font_height(int32_t lfHeight, int32_t H, const CardRecord& card);

// True when the card has a positive size and can be mapped onto paper.
bool card_printable(const CardRecord& card);

// The box geometry of a postal code block (tt or ft).
struct CodeBoxes {
    int32_t x1, y1, w1;
    int32_t x2, y2, w2;
};
CodeBoxes code_boxes(const AddresseePostalCode& block);
CodeBoxes code_boxes(const PostalCodeBlock& block);

// Seven digit cells; character i of a postal code goes into cell i.
constexpr int kCodeDigits = 7;

// Card position of postal code character i (0 to 6): the three-digit group
// at (x1 + i w1, y1), the four-digit group at (x2 + (i - 3) w2, y2).
Point digit_position(const CodeBoxes& boxes, int i);

// The area a vertical line with origin (x, y) and extent (cx, cy) covers in
// the preview: its cells lie left of the origin and it runs downward.
Rect line_rect(LinePos origin, Extent extent);

// The preview rectangle of an item of `card`, from its stored position and
// the measured extents. kItemNone and unknown ids give an empty rectangle.
Rect item_rect(const CardRecord& card, const ItemExtents& extents, ItemId id);
// The same for the current card and the extents of the last preview paint.
Rect item_rect(ItemId id);

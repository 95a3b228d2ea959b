// How each text line of a card is set when it is drawn: a line longer than
// its room (render/line_room.h) is set in a smaller size of its font until
// it ends inside the room, down to half its set size; a 連名 starts where
// the first name line's given name starts, and the 敬称 of the name lines
// end on one level. The extents are measured on the surface being drawn
// on, with the font the line is drawn with, so that the screen, the printer
// and the bitmap export agree. Fitting changes how a card is drawn, never
// its stored layout.
#pragma once

#include <cstdint>

#include "render/drawing_surface.h"
#include "render/line_room.h"

// The two switches of the 印刷 menu, both on by default; off, every line is
// drawn at its set size from its stored origin.
struct FitSwitches {
    bool fit_long_lines = true;  // "長い行を縮めて収める"
    bool align_names = true;     // "連名・敬称を揃える"
};
FitSwitches& fit_switches();

// The number of lines of card `card` (zero-based, of the document) that do
// not fit their room even at the smallest size, as drawn with the current
// switches, measured on `surface` at the card's own scale (one card unit a
// device unit, as the preview draws). 0 for an index outside the table.
// Selects fonts on the surface and leaves none selected.
int card_overflow_lines(DrawingSurface& surface, int card);
// The same as card `card` is printed on a printer page of the surface's
// HORZRES x VERTRES pixels (the print confirmation's count).
int card_overflow_lines_on_page(DrawingSurface& printer, int card);
// The same for a card record outside the document (the addressee list's
// rows before they are saved).
int card_overflow_lines(DrawingSurface& surface, const CardRecord& card);

// Where card units land on a surface: the preview (one unit a pixel, from
// the preview origin, fonts as stored) or a printer page of W x H pixels
// (shifted by the print offset), or, with `own_origin`, a rectangle of
// W x H pixels whose top left corner is `origin` (a thumbnail, a cell of a
// printed sheet).
struct CardMapping {
    const CardRecord& card;
    bool preview;
    int32_t W = 0;
    int32_t H = 0;
    bool own_origin = false;
    Point origin{0, 0};

    Point map(int32_t x, int32_t y) const;
    // The stored font with the height the surface needs.
    LogFont font(const LogFont& stored) const;
};

// How one line is drawn.
struct LinePlan {
    int length = 0;       // units of the line; 0: nothing to draw
    LogFont font{};       // the font it is drawn with (its height fitted)
    bool fitted = false;  // font differs from the block's
    Point at{0, 0};       // where it starts
    int split = 0;        // units drawn from `at`; the rest from `tail_at`
    Point tail_at{0, 0};  // where the 敬称 moved to the common level starts
    Extent drawn{0, 0};   // from its stored origin to its end; the cell height
    bool overflow = false;
};

// Plans the `count` lines of `block`, whose surface font `font` (from
// CardMapping::font) is selected on `surface` with `colour`; leaves it
// selected.
void plan_lines(DrawingSurface& surface, const CardMapping& mapping, LineBlock block,
                const LogFont& font, RgbColor colour, const TextLine* lines,
                const LinePos* origins, int count, const FitSwitches& switches, LinePlan* out);

// How each text line of a card is set when it is drawn: a line longer than
// its room (render/line_room.h) is set in a smaller size of its font until
// it ends inside the room, down to half its set size; a 連名 starts where
// the first name line's given name starts when it still fits there, and
// the 敬称 of the name lines end on one level. Lines in a vertical face are
// set in their vertical form (model/vertical_form.h).
//
// The plan is made once per card in card units, from each line measured in
// its font at a reference size and scaled, so it does not depend on the
// pixels of the surface: the preview, the thumbnails, the bitmap export and
// the printed page draw the same plan at their own scale, and one verdict
// of はみ出し holds for all of them. Fitting changes how a card is drawn,
// never its stored layout or text.
#pragma once

#include <cstdint>

#include "render/drawing_surface.h"
#include "render/line_room.h"

// The four switches of the 印刷 menu; off, every line is drawn at its set
// size from its stored origin, as typed.
struct FitSwitches {
    bool fit_long_lines = true;   // "長い行を縮めて収める"
    bool align_names = true;      // "連名・敬称を揃える"
    bool vertical_forms = true;   // "縦書きの形で印刷"
    bool kanji_digits = false;    // "数字を漢数字で印刷"
};
FitSwitches& fit_switches();

// The lines of `card` (the sender's lines those of its chosen sender) that
// do not fit their room even at the smallest size, with the current
// switches: the one verdict of はみ出し. Measures on `surface` at the
// reference size, whatever its resolution; selects fonts on it and leaves
// none selected. A card without a positive size is drawn nowhere: 0.
int card_overflow_lines(DrawingSurface& surface, const CardRecord& card);

// The height lines are measured at, in device units: large enough that a
// pixel of rounding is far below a pixel of any surface the card is drawn
// on, small enough for every device's font limit (render/font_bounds.h).
constexpr int32_t kReferenceHeight = 512;
// Lengths along a line are planned in 1/64 of a card unit.
constexpr int64_t kFine = 64;

// How one line is drawn, in card units.
struct LinePlan {
    int length = 0;           // units of `text`; 0: nothing to draw
    char16_t text[LINE_CAP];  // what is drawn: the line or its vertical form
    int32_t height = 0;       // the font height it is set at (card units, sign kept)
    bool fitted = false;      // height differs from the block's
    int64_t start = 0;        // from its stored origin along its writing (fine units)
    int split = 0;            // units drawn from `start`; the rest from `tail_start`
    int64_t tail_start = 0;   // where the 敬称 moved to the common level starts
    int64_t end = 0;          // where it ends, from its stored origin (fine units)
    int64_t ends[LINE_CAP];   // where each unit of `text` ends, from the text's start (fine units)
    int32_t cell = 0;         // its cell height across the writing (card units)
    bool overflow = false;
};

// Plans the `count` lines of `block` of `card`, whose stored font is `font`,
// measuring on `surface` (fonts selected and released there).
void plan_lines(DrawingSurface& surface, const CardRecord& card, LineBlock block,
                const LogFont& font, const TextLine* lines, const LinePos* origins, int count,
                const FitSwitches& switches, LinePlan* out);

struct CardMapping;

// The steps (render/drawing_surface.h) that put units [from, to) of `plan`
// where the plan places them, at the scale of `mapping`: every surface
// draws the characters of a line at the same places of the card, whatever
// its fonts' own advances at its size in whole pixels.
void plan_steps(const CardMapping& mapping, const LinePlan& plan, bool down, int from, int to,
                int32_t* steps);

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
    // `o` moved by `fine` (1/64 card units) down (`down`) or to the right.
    Point map_along(LinePos o, bool down, int64_t fine) const;
    // A length along the writing in fine units, in surface units.
    int32_t length(int64_t fine, bool down) const;
    // The stored font with the height the surface needs.
    LogFont font(const LogFont& stored) const;
};

// The texts of the main window's status bar, made from the document and the
// printer state: the printer, the paper form, the card shown and the number
// of cards, and the file name of the card's background bitmap.
#pragma once

constexpr int STATUS_PART_COUNT = 4;
// Each part's text is built in a buffer of this many units (NUL included);
// longer texts are cut.
constexpr int STATUS_TEXT_CAP = 260;
// Right edges of the parts in pixels from the status bar's left; the last
// part (-1) runs to the right end.
inline constexpr int STATUS_PART_EDGES[STATUS_PART_COUNT] = {160, 230, 290, -1};
// The texts the paper and page parts must hold whole in the bar's font.
inline constexpr char16_t STATUS_WIDEST_PAPER[] = u"紙:Postcard";
inline constexpr char16_t STATUS_WIDEST_PAGE[] = u"Page:200/200";
// The printer part keeps at least this many pixels.
constexpr int STATUS_MIN_PRINTER_PART = 60;

// The right edges when the paper part needs `paper_width` and the page part
// `page_width` pixels: parts that are too narrow for them grow, taking the
// room from the printer part, so that the page part still ends at the same
// edge; only when the printer part would fall below its minimum do the edges
// move right.
void status_part_edges(int paper_width, int page_width, int edges[STATUS_PART_COUNT]);

struct StatusTexts {
    char16_t part[STATUS_PART_COUNT][STATUS_TEXT_CAP];
};

// Fills the four texts: "Prn:" with printer_name, "紙:" with form_name,
// "Page:" with current_card + 1 "/" count_cards(), and the background
// bitmap's file name of the current card (after "はみ出し　" while the card
// shown at the last paint has a line that does not fit, render/card_fit.h), followed by "（大きすぎます）"
// when that bitmap is refused for its size (render/bitmap_check.h).
void format_status_texts(StatusTexts& out);

// The part of `path` behind its last "\" (all of it when it has none; an
// empty text when it ends in "\"). Points into `path`.
const char16_t* file_name_part(const char16_t* path);

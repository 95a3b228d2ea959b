#include "render/card_fit.h"

#include "model/text.h"
#include "model/vertical_form.h"
#include "render/name_alignment.h"

namespace {

int64_t magnitude(int64_t v) { return v < 0 ? -v : v; }

// Nearest integer of a / b, b > 0.
int64_t divide_rounded(int64_t a, int64_t b) {
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

// Measures a block's texts in its font at the reference size, selecting
// that font on the surface at the first measure and releasing it at the
// end. Lengths at a set height are the reference ones scaled, rounded up.
class Measurer {
public:
    Measurer(DrawingSurface& surface, const LogFont& stored) : surface_(surface), font_(stored) {
        // A height of 0 (the font's own default size) names no size to
        // scale: it is measured as it is and never fitted.
        if (stored.lfHeight != 0) {
            int64_t set = magnitude(stored.lfHeight);
            font_.lfHeight = stored.lfHeight < 0 ? -kReferenceHeight : kReferenceHeight;
            font_.lfWidth = static_cast<int32_t>(int64_t{stored.lfWidth} * kReferenceHeight / set);
            reference_ = kReferenceHeight;
        }
    }
    ~Measurer() {
        if (selected_) surface_.end_font();
    }

    Extent reference(const char16_t* text, int length, int32_t* ends) {
        if (length <= 0) return {0, 0};
        if (!selected_) surface_.begin_font(font_, RgbColor{0, 0, 0});
        selected_ = true;
        return surface_.text_ends(text, length, ends);
    }
    // A reference length at `height`, in fine units.
    int64_t fine(int64_t reference, int32_t height) const {
        if (reference_ == 0) return reference * kFine;
        return (reference * magnitude(height) * kFine + reference_ - 1) / reference_;
    }
    int32_t cell(int64_t reference, int32_t height) const {
        if (reference_ == 0) return static_cast<int32_t>(reference);
        return static_cast<int32_t>((reference * magnitude(height) + reference_ - 1) / reference_);
    }
    // The largest height whose length of `reference` is at most `room`.
    int64_t size_for(int64_t reference, int64_t room) const {
        if (room <= 0 || reference <= 0) return 0;
        return room * reference_ / (reference * kFine);
    }

private:
    DrawingSurface& surface_;
    LogFont font_;
    int64_t reference_ = 0;
    bool selected_ = false;
};

struct Fit {
    int32_t height;
    int64_t length;  // fine units
    bool overflow;
};

// The size at which a line of reference length `reference` ends within
// `room` (fine units): the set size when it fits or fitting is off, else
// the largest size that fits, down to half the set size.
Fit fit_line(const Measurer& m, int32_t set_height, int64_t reference, int64_t room, bool fit_on) {
    int64_t natural = m.fine(reference, set_height);
    if (natural <= room || !fit_on || reference <= 0 || set_height == 0)
        return {set_height, natural, natural > room};
    const int64_t set = magnitude(set_height);
    const int64_t floor = set / 2 > 0 ? (set + 1) / 2 : 1;
    const int32_t sign = set_height < 0 ? -1 : 1;
    int64_t size = m.size_for(reference, room);
    if (size >= set) size = set - 1;
    while (size > floor && m.fine(reference, static_cast<int32_t>(size)) > room) --size;
    if (size < floor) size = floor;
    int32_t height = static_cast<int32_t>(sign * size);
    int64_t length = m.fine(reference, height);
    return {height, length, length > room};
}

// Plans a block's lines line by line; the name blocks then line up. Every
// length is in fine units along the writing, from the card's top or left.
class BlockPlanner {
public:
    BlockPlanner(DrawingSurface& surface, const CardRecord& card, LineBlock block,
                 const LogFont& font, const TextLine* lines, const LinePos* origins, int count,
                 const FitSwitches& switches, LinePlan* out)
        : m_(surface, font), set_height_(font.lfHeight), origins_(origins), count_(count),
          switches_(switches), out_(out), down_(writing_of(font) == Writing::Down) {
        const bool vertical_face = font.lfFaceName[0] == u'@';
        for (int k = 0; k < count; ++k) {
            LinePlan& p = out[k];
            p = LinePlan{};
            if (switches.vertical_forms && vertical_face)
                p.length = vertical_form(p.text, LINE_CAP, lines[k].s, switches.kanji_digits);
            else
                text_copy(p.text, LINE_CAP, lines[k].s, LINE_CAP - 1), p.length = text_length(p.text);
            if (p.length == 0) continue;
            Extent e = m_.reference(p.text, p.length, ends_[k]);
            reference_[k] = e.cx;
            cell_[k] = e.cy;
            start_[k] = (down_ ? int64_t{origins[k].y} : int64_t{origins[k].x}) * kFine;
            int32_t room = card_printable(card) ? line_room(card, block, k) : kNoLimit;
            room_end_[k] = room >= kNoLimit ? INT64_MAX / 4 : start_[k] + int64_t{room} * kFine;
            fit(k, room_end_[k]);
        }
        const bool names = block == LineBlock::Name || block == LineBlock::SenderName;
        if (names && switches.align_names && writing_of(font) != Writing::Other) {
            join_given_names();
            level_honorifics();
        }
        for (int k = 0; k < count; ++k) finish(k);
    }

private:
    // Line k from its start (moved by offset_[k]) to `limit`.
    void fit(int k, int64_t limit) {
        fit_[k] = fit_line(m_, set_height_, reference_[k], limit - start_[k] - offset_[k],
                           switches_.fit_long_lines);
    }

    int64_t end_of(int k) const { return start_[k] + offset_[k] + fit_[k].length; }

    // A 連名 (a given name alone, with or without its 敬称) that starts
    // where the first line starts begins where that line's given name does,
    // when it fits its room from there; else it stays and is fitted there.
    void join_given_names() {
        if (count_ < 2 || out_[0].length == 0) return;
        NameParts first = name_parts(out_[0].text, out_[0].length);
        if (first.hand_aligned || first.given_start == 0) return;
        int64_t given = m_.fine(ends_[0][first.given_start - 1], fit_[0].height);
        for (int k = 1; k < count_; ++k) {
            if (out_[k].length == 0) continue;
            if (!name_parts(out_[k].text, out_[k].length).given_only) continue;
            bool same_start = down_ ? origins_[k].y == origins_[0].y : origins_[k].x == origins_[0].x;
            if (!same_start) continue;
            offset_[k] = given + start_[0] - start_[k];
            fit(k, room_end_[k]);
            if (!fit_[k].overflow) continue;
            offset_[k] = 0;
            fit(k, room_end_[k]);
        }
    }

    // The 敬称 of two or more lines end on the lowest of their ends that
    // lies within every one's room; a line that cannot end there keeps its
    // own end.
    void level_honorifics() {
        int with[ADDRESSEE_LINES];
        int n = 0;
        for (int k = 0; k < count_ && n < ADDRESSEE_LINES; ++k) {
            if (out_[k].length == 0 || fit_[k].overflow) continue;
            NameParts parts = name_parts(out_[k].text, out_[k].length);
            if (parts.hand_aligned || parts.honorific == 0) continue;
            honorific_[k] = parts.honorific;
            with[n++] = k;
        }
        if (n < 2) return;
        int64_t level = end_of(with[0]);
        for (int i = 1; i < n; ++i)
            if (end_of(with[i]) > level) level = end_of(with[i]);
        if (switches_.fit_long_lines) {
            for (int i = 0; i < n; ++i)
                if (room_end_[with[i]] < level) level = room_end_[with[i]];
        }
        for (int i = 0; i < n; ++i) {
            int k = with[i];
            if (end_of(k) > level) {
                Fit kept = fit_[k];
                fit(k, level);
                if (fit_[k].overflow) fit_[k] = kept;
                continue;
            }
            if (end_of(k) == level) continue;
            int split = out_[k].length - honorific_[k];
            if (split == 0) continue;  // a 敬称 alone stays where it starts
            int64_t tail = m_.fine(reference_[k], fit_[k].height) -
                           m_.fine(ends_[k][split - 1], fit_[k].height);
            out_[k].split = split;
            tail_start_[k] = level - tail - start_[k];
            fit_[k].length = level - start_[k] - offset_[k];
        }
    }

    void finish(int k) {
        LinePlan& p = out_[k];
        if (p.length == 0) return;
        p.height = fit_[k].height;
        p.fitted = p.height != set_height_;
        p.start = offset_[k];
        if (p.split == 0) p.split = p.length;
        p.tail_start = tail_start_[k];
        p.end = offset_[k] + fit_[k].length;
        p.cell = m_.cell(cell_[k], p.height);
        for (int i = 0; i < p.length; ++i) p.ends[i] = m_.fine(ends_[k][i], p.height);
        p.overflow = fit_[k].overflow;
    }

    Measurer m_;
    int32_t set_height_;
    const LinePos* origins_;
    int count_;
    const FitSwitches& switches_;
    LinePlan* out_;
    bool down_;
    int64_t reference_[ADDRESSEE_LINES] = {};
    int32_t ends_[ADDRESSEE_LINES][LINE_CAP] = {};
    int64_t cell_[ADDRESSEE_LINES] = {};
    int64_t start_[ADDRESSEE_LINES] = {};
    int64_t room_end_[ADDRESSEE_LINES] = {};
    int64_t offset_[ADDRESSEE_LINES] = {};
    Fit fit_[ADDRESSEE_LINES] = {};
    int honorific_[ADDRESSEE_LINES] = {};
    int64_t tail_start_[ADDRESSEE_LINES] = {};
};

int count_overflow(DrawingSurface& surface, const CardRecord& card, LineBlock block,
                   const LogFont& font, const TextLine* lines, const LinePos* origins, int count) {
    LinePlan plans[ADDRESSEE_LINES];
    plan_lines(surface, card, block, font, lines, origins, count, fit_switches(), plans);
    int overflow = 0;
    for (int k = 0; k < count; ++k) overflow += plans[k].overflow ? 1 : 0;
    return overflow;
}

}  // namespace

FitSwitches& fit_switches() {
    static FitSwitches switches;
    return switches;
}

void plan_lines(DrawingSurface& surface, const CardRecord& card, LineBlock block,
                const LogFont& font, const TextLine* lines, const LinePos* origins, int count,
                const FitSwitches& switches, LinePlan* out) {
    if (count > ADDRESSEE_LINES) count = ADDRESSEE_LINES;
    BlockPlanner(surface, card, block, font, lines, origins, count, switches, out);
}

int card_overflow_lines(DrawingSurface& surface, const CardRecord& card) {
    if (!card_printable(card)) return 0;
    const SenderRecord& sender = chosen_sender(card);
    return count_overflow(surface, card, LineBlock::Address, card.ta.lf, card.ta.m, card.ta.xy,
                          ADDRESSEE_LINES) +
           count_overflow(surface, card, LineBlock::Name, card.tn.lf, card.tn.m, card.tn.xy,
                          ADDRESSEE_LINES) +
           count_overflow(surface, card, LineBlock::SenderAddress, card.fa.lf, sender.a,
                          card.fa.xy, SENDER_LINES) +
           count_overflow(surface, card, LineBlock::SenderName, card.fn.lf, sender.n, card.fn.xy,
                          SENDER_LINES);
}

void plan_steps(const CardMapping& mapping, const LinePlan& plan, bool down, int from, int to,
                int32_t* steps) {
    if (from < 0 || to > plan.length || from >= to) return;
    const int64_t base = from > 0 ? plan.ends[from - 1] : 0;
    int32_t at = 0;
    for (int i = from; i < to; ++i) {
        int32_t next = mapping.length(plan.ends[i] - base, down);
        steps[i - from] = next - at;
        at = next;
    }
}

Point CardMapping::map(int32_t x, int32_t y) const {
    if (preview) return to_preview(x, y);
    return own_origin ? to_area(x, y, origin, W, H, card) : to_printer(x, y, W, H, card);
}

int32_t CardMapping::length(int64_t fine, bool down) const {
    // Lengths beyond any card are cut before they are scaled.
    constexpr int64_t kLimit = int64_t{1} << 36;
    if (fine > kLimit) fine = kLimit;
    if (fine < -kLimit) fine = -kLimit;
    if (preview) return static_cast<int32_t>(divide_rounded(fine, kFine));
    int64_t base = down ? card.base_h : card.base_w;
    int64_t size = down ? H : W;
    if (base <= 0 || size <= 0) return 0;
    if (size > (int64_t{1} << 24)) size = int64_t{1} << 24;
    return static_cast<int32_t>(divide_rounded(fine * size, base * kFine));
}

Point CardMapping::map_along(LinePos o, bool down, int64_t fine) const {
    Point p = map(o.x, o.y);
    if (fine == 0) return p;
    int32_t d = length(fine, down);
    return down ? Point{p.x, wrapping_add(p.y, d)} : Point{wrapping_add(p.x, d), p.y};
}

LogFont CardMapping::font(const LogFont& stored) const {
    LogFont f = stored;
    if (!preview) f.lfHeight = printer_font_height(stored.lfHeight, H, card);
    return f;
}

#include "render/card_fit.h"

#include "model/text.h"
#include "render/name_alignment.h"

namespace {

// Tries at a smaller size before settling for the floor; each try measures
// the line once.
constexpr int kFitTries = 6;

int64_t magnitude(int32_t v) { return v < 0 ? -int64_t{v} : int64_t{v}; }

// The surface while a block is planned: measures with the block's font or
// a fitted size of it, and puts the block's font back at the end.
class Measurer {
public:
    Measurer(DrawingSurface& surface, const LogFont& font, RgbColor colour)
        : surface_(surface), font_(font), colour_(colour), height_(font.lfHeight) {}
    ~Measurer() { select(font_.lfHeight); }

    LogFont font(int32_t height) const {
        LogFont f = font_;
        f.lfHeight = height;
        return f;
    }
    Extent measure(int32_t height, const char16_t* text, int length) {
        select(height);
        if (length <= 0) return {0, 0};
        return surface_.text_extent(text, length);
    }

private:
    void select(int32_t height) {
        if (height == height_) return;
        surface_.end_font();
        surface_.begin_font(font(height), colour_);
        height_ = height;
    }

    DrawingSurface& surface_;
    LogFont font_;
    RgbColor colour_;
    int32_t height_;
};

struct Fit {
    int32_t height;
    Extent extent;
    bool overflow;
};

// The size at which `text` ends within `room` (surface units): the set size
// when it fits or fitting is off, else the largest size found that fits,
// down to half the set size. A height of 0 (the font's own default size)
// names no size to scale, and is drawn as set.
Fit fit_line(Measurer& m, int32_t set_height, const char16_t* text, int length, int64_t room,
             bool fit_on) {
    Extent natural = m.measure(set_height, text, length);
    if (natural.cx <= room || !fit_on || natural.cx <= 0 || set_height == 0)
        return {set_height, natural, natural.cx > room};
    const int64_t set = magnitude(set_height);
    const int64_t floor = set / 2 > 0 ? (set + 1) / 2 : 1;
    const int32_t sign = set_height < 0 ? -1 : 1;
    int64_t size = room > 0 ? set * room / natural.cx : 0;
    if (size >= set) size = set - 1;
    for (int i = 0;; ++i) {
        if (size < floor || i == kFitTries) size = floor;
        int32_t height = static_cast<int32_t>(sign * size);
        Extent e = m.measure(height, text, length);
        if (e.cx <= room) return {height, e, false};
        if (size == floor) return {height, e, true};
        int64_t next = room > 0 ? size * room / e.cx : 0;
        size = next < size ? next : size - 1;
    }
}

Point along(Point p, bool down, int64_t by) {
    int32_t d = static_cast<int32_t>(by);
    return down ? Point{p.x, wrapping_add(p.y, d)} : Point{wrapping_add(p.x, d), p.y};
}

int64_t coordinate(Point p, bool down) { return down ? p.y : p.x; }

// Plans a block's lines line by line; the name blocks then line up.
class BlockPlanner {
public:
    BlockPlanner(DrawingSurface& surface, const CardMapping& mapping, LineBlock block,
                 const LogFont& font, RgbColor colour, const TextLine* lines,
                 const LinePos* origins, int count, const FitSwitches& switches, LinePlan* out)
        : m_(surface, font, colour), mapping_(mapping), font_(font), lines_(lines),
          origins_(origins), count_(count), switches_(switches), out_(out),
          down_(writing_of(font) == Writing::Down) {
        for (int k = 0; k < count; ++k) {
            LinePlan& p = out[k];
            p = LinePlan{};
            p.length = text_length_bounded(lines[k].s, LINE_CAP);
            origin_[k] = mapping.map(origins[k].x, origins[k].y);
            room_end_[k] = room_end(block, k);
            offset_[k] = 0;
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
    // Where line k's room ends, as a surface coordinate along its writing.
    int64_t room_end(LineBlock block, int k) const {
        int32_t room = line_room(mapping_.card, block, k);
        if (room >= kNoLimit) return INT64_MAX / 4;
        LinePos o = origins_[k];
        int64_t end_card = (down_ ? int64_t{o.y} : int64_t{o.x}) + room;
        if (mapping_.preview) return coordinate(origin_[k], down_) + room;
        // The printer maps positions on the card, not beyond it.
        if (end_card < 0) end_card = 0;
        int64_t size = down_ ? mapping_.card.base_h : mapping_.card.base_w;
        if (end_card > size) end_card = size;
        Point end = down_ ? mapping_.map(o.x, static_cast<int32_t>(end_card))
                          : mapping_.map(static_cast<int32_t>(end_card), o.y);
        return coordinate(end, down_);
    }

    // Line k from its start (moved by offset_[k]) to `limit`.
    void fit(int k, int64_t limit) {
        if (out_[k].length == 0) return;
        int64_t room = limit - coordinate(origin_[k], down_) - offset_[k];
        fit_[k] = fit_line(m_, font_.lfHeight, lines_[k].s, out_[k].length, room,
                           switches_.fit_long_lines);
    }

    int64_t end_of(int k) const { return coordinate(origin_[k], down_) + offset_[k] + fit_[k].extent.cx; }

    // A 連名 (a given name alone, with or without its 敬称) that starts
    // where the first line starts begins where that line's given name does.
    void join_given_names() {
        if (count_ < 2 || out_[0].length == 0) return;
        NameParts first = name_parts(lines_[0].s, out_[0].length);
        if (first.hand_aligned || first.given_start == 0) return;
        int64_t given = m_.measure(fit_[0].height, lines_[0].s, first.given_start).cx;
        for (int k = 1; k < count_; ++k) {
            if (out_[k].length == 0) continue;
            if (!name_parts(lines_[k].s, out_[k].length).given_only) continue;
            bool same_start = down_ ? origins_[k].y == origins_[0].y : origins_[k].x == origins_[0].x;
            if (!same_start) continue;
            offset_[k] = given + coordinate(origin_[0], down_) - coordinate(origin_[k], down_);
            fit(k, room_end_[k]);
        }
    }

    // The 敬称 of two or more lines end on the lowest of their ends that
    // lies within every one's room.
    void level_honorifics() {
        int with[ADDRESSEE_LINES];
        int n = 0;
        for (int k = 0; k < count_ && n < ADDRESSEE_LINES; ++k) {
            if (out_[k].length == 0 || fit_[k].overflow) continue;
            NameParts parts = name_parts(lines_[k].s, out_[k].length);
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
            int64_t tail = m_.measure(fit_[k].height, lines_[k].s + split, honorific_[k]).cx;
            out_[k].split = split;
            tail_start_[k] = level - tail;
            fit_[k].extent.cx = static_cast<int32_t>(level - coordinate(origin_[k], down_) - offset_[k]);
        }
    }

    void finish(int k) {
        LinePlan& p = out_[k];
        if (p.length == 0) return;
        p.font = m_.font(fit_[k].height);
        p.fitted = fit_[k].height != font_.lfHeight;
        p.at = along(origin_[k], down_, offset_[k]);
        if (p.split == 0) {
            p.split = p.length;
        } else {
            p.tail_at = along(origin_[k], down_, tail_start_[k] - coordinate(origin_[k], down_));
        }
        p.drawn = {static_cast<int32_t>(offset_[k] + fit_[k].extent.cx), fit_[k].extent.cy};
        p.overflow = fit_[k].overflow;
    }

    Measurer m_;
    const CardMapping& mapping_;
    LogFont font_;
    const TextLine* lines_;
    const LinePos* origins_;
    int count_;
    const FitSwitches& switches_;
    LinePlan* out_;
    bool down_;
    Point origin_[ADDRESSEE_LINES];
    int64_t room_end_[ADDRESSEE_LINES];
    int64_t offset_[ADDRESSEE_LINES];
    Fit fit_[ADDRESSEE_LINES] = {};
    int honorific_[ADDRESSEE_LINES] = {};
    int64_t tail_start_[ADDRESSEE_LINES] = {};
};

int count_overflow(DrawingSurface& surface, const CardMapping& mapping, LineBlock block,
                   const LogFont& stored, RgbColor colour, const TextLine* lines,
                   const LinePos* origins, int count) {
    LinePlan plans[ADDRESSEE_LINES];
    LogFont font = mapping.font(stored);
    surface.begin_font(font, colour);
    plan_lines(surface, mapping, block, font, colour, lines, origins, count, fit_switches(), plans);
    surface.end_font();
    int overflow = 0;
    for (int k = 0; k < count; ++k) overflow += plans[k].overflow ? 1 : 0;
    return overflow;
}

}  // namespace

FitSwitches& fit_switches() {
    static FitSwitches switches;
    return switches;
}

Point CardMapping::map(int32_t x, int32_t y) const {
    if (preview) return to_preview(x, y);
    return own_origin ? to_area(x, y, origin, W, H, card) : to_printer(x, y, W, H, card);
}

LogFont CardMapping::font(const LogFont& stored) const {
    LogFont f = stored;
    if (!preview) f.lfHeight = printer_font_height(stored.lfHeight, H, card);
    return f;
}

void plan_lines(DrawingSurface& surface, const CardMapping& mapping, LineBlock block,
                const LogFont& font, RgbColor colour, const TextLine* lines,
                const LinePos* origins, int count, const FitSwitches& switches, LinePlan* out) {
    if (count > ADDRESSEE_LINES) count = ADDRESSEE_LINES;
    BlockPlanner(surface, mapping, block, font, colour, lines, origins, count, switches, out);
}

namespace {

int overflow_lines(DrawingSurface& surface, const CardMapping& mapping) {
    const CardRecord& card = mapping.card;
    const SenderRecord& sender = chosen_sender(card);
    return count_overflow(surface, mapping, LineBlock::Address, card.ta.lf, card.ta.c, card.ta.m,
                          card.ta.xy, ADDRESSEE_LINES) +
           count_overflow(surface, mapping, LineBlock::Name, card.tn.lf, card.tn.c, card.tn.m,
                          card.tn.xy, ADDRESSEE_LINES) +
           count_overflow(surface, mapping, LineBlock::SenderAddress, card.fa.lf, card.fa.c,
                          sender.a, card.fa.xy, SENDER_LINES) +
           count_overflow(surface, mapping, LineBlock::SenderName, card.fn.lf, card.fn.c, sender.n,
                          card.fn.xy, SENDER_LINES);
}

}  // namespace

int card_overflow_lines(DrawingSurface& surface, const CardRecord& card) {
    return overflow_lines(surface, CardMapping{card, true});
}

int card_overflow_lines_on_page(DrawingSurface& printer, int card) {
    if (card < 0 || card >= HDATA_MAX || !card_printable(doc().hdata[card])) return 0;
    return overflow_lines(printer, CardMapping{doc().hdata[card], false, printer.device_caps(kCapHorzRes),
                                               printer.device_caps(kCapVertRes)});
}

int card_overflow_lines(DrawingSurface& surface, int card) {
    if (card < 0 || card >= HDATA_MAX) return 0;
    return card_overflow_lines(surface, doc().hdata[card]);
}

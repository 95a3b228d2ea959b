#include "render/line_room.h"

#include <cstdlib>

#include "model/text.h"
#include "render/card_geometry.h"

namespace {

// A span along one axis, [from, to).
struct Span {
    int64_t from;
    int64_t to;
};

// Something a line must stop before: its extent across the line's writing
// direction and where it begins along it.
struct Obstacle {
    Span across;
    Span along;
};

int64_t size_of(const LogFont& font) { return std::llabs(static_cast<int64_t>(font.lfHeight)); }

bool overlap(Span a, Span b) { return a.from < b.to && b.from < a.to; }

// The area a line covers: a vertical line's cells lie left of its origin
// and run down, a horizontal one's right of and below it. Its length is
// taken as one character cell per character.
void line_area(LinePos at, const LogFont& font, int length, Span* xs, Span* ys) {
    int64_t size = size_of(font), run = size * length;
    if (writing_of(font) == Writing::Down) {
        *xs = {int64_t{at.x} - size, at.x};
        *ys = {at.y, at.y + run};
    } else {
        *xs = {at.x, at.x + run};
        *ys = {at.y, at.y + size};
    }
}

// Lays out the obstacles of a line: both postal codes' groups and the
// other party's lines that hold text.
class Obstacles {
public:
    Obstacles(const CardRecord& card, bool sender_line, bool down) : down_(down) {
        add_group(card.tt.x1, card.tt.y1, card.tt.w1, 3, card.tt.lf);
        add_group(card.tt.x2, card.tt.y2, card.tt.w2, 4, card.tt.lf);
        add_group(card.ft.x1, card.ft.y1, card.ft.w1, 3, card.ft.lf);
        add_group(card.ft.x2, card.ft.y2, card.ft.w2, 4, card.ft.lf);
        if (sender_line) {
            for (int k = 0; k < ADDRESSEE_LINES; ++k) {
                add_line(card.ta.xy[k], card.ta.lf, card.ta.m[k].s);
                add_line(card.tn.xy[k], card.tn.lf, card.tn.m[k].s);
            }
        } else {
            const SenderRecord& sender = chosen_sender(card);
            for (int k = 0; k < SENDER_LINES; ++k) {
                add_line(card.fa.xy[k], card.fa.lf, sender.a[k].s);
                add_line(card.fn.xy[k], card.fn.lf, sender.n[k].s);
            }
        }
    }

    // The nearest limit ahead of `start` for a line covering `across`.
    int64_t limit(Span across, int64_t start, int64_t limit) const {
        for (int i = 0; i < count_; ++i) {
            const Obstacle& o = items_[i];
            if (o.along.from > start && overlap(across, o.across) &&
                o.along.from - kObstacleGap < limit)
                limit = o.along.from - kObstacleGap;
        }
        return limit;
    }

private:
    void add(Span xs, Span ys) {
        if (count_ < kMax) items_[count_++] = down_ ? Obstacle{xs, ys} : Obstacle{ys, xs};
    }
    void add_group(int32_t x, int32_t y, int32_t step, int cells, const LogFont& font) {
        int64_t end = int64_t{x} + int64_t{step} * cells;
        Span xs = end >= x ? Span{x, end} : Span{end, x};
        add(xs, {y, y + size_of(font)});
    }
    void add_line(LinePos at, const LogFont& font, const char16_t* text) {
        int length = text_length_bounded(text, LINE_CAP);
        if (length == 0) return;
        Span xs{}, ys{};
        line_area(at, font, length, &xs, &ys);
        add(xs, ys);
    }

    static constexpr int kMax = 4 + 2 * ADDRESSEE_LINES;
    Obstacle items_[kMax];
    int count_ = 0;
    bool down_;
};

}  // namespace

Writing writing_of(const LogFont& font) {
    int32_t angle = font.lfEscapement % 3600;
    if (angle < 0) angle += 3600;
    if (angle == 2700) return Writing::Down;
    if (angle == 0) return Writing::Right;
    return Writing::Other;
}

int32_t line_room(const CardRecord& card, LineBlock block, int k) {
    const bool sender_line = block == LineBlock::SenderAddress || block == LineBlock::SenderName;
    const int lines = sender_line ? SENDER_LINES : ADDRESSEE_LINES;
    if (k < 0 || k >= lines) return kNoLimit;
    const LinePos* origins = block == LineBlock::Address ? card.ta.xy
                             : block == LineBlock::Name  ? card.tn.xy
                             : block == LineBlock::SenderAddress ? card.fa.xy
                                                                 : card.fn.xy;
    const LogFont& font = block == LineBlock::Address ? card.ta.lf
                          : block == LineBlock::Name  ? card.tn.lf
                          : block == LineBlock::SenderAddress ? card.fa.lf
                                                              : card.fn.lf;
    Writing writing = writing_of(font);
    if (writing == Writing::Other) return kNoLimit;
    const bool down = writing == Writing::Down;
    LinePos at = origins[k];
    Span xs{}, ys{};
    line_area(at, font, 1, &xs, &ys);
    int64_t start = down ? at.y : at.x;
    int64_t edge = (down ? int64_t{card.base_h} : int64_t{card.base_w}) - kEdgeMargin;
    int64_t end = Obstacles(card, sender_line, down).limit(down ? xs : ys, start, edge);
    int64_t room = end - start;
    if (room > kNoLimit) return kNoLimit;
    if (room < -kNoLimit) return -kNoLimit;
    return static_cast<int32_t>(room);
}

#include "files/kv_line_splitter.h"

#include <cstring>

// The files are UTF-16LE; file bytes are taken as char16_t units as they
// stand, which is right on the little-endian machines the program runs on.
#if defined(__BYTE_ORDER__) && defined(__ORDER_LITTLE_ENDIAN__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "UTF-16LE files need a little-endian host");
#endif

namespace {

using kv_detail::kCr;
using kv_detail::kLf;
constexpr char16_t kByteOrderMark = 0xFEFF;  // bytes FF FE

// One bit per unit of the 64 units at `s`: set for LF and NUL, and also for
// the control units 0x0002 and 0x0008, which a single test cannot tell
// apart from them (a unit u with u & ~0x000A == 0); the caller looks at the
// unit itself.
inline uint64_t lf_or_nul_bits(const char16_t* s) {
    uint64_t bits = 0;
    for (int i = 0; i < 64; ++i) bits |= static_cast<uint64_t>((s[i] & ~0x000A) == 0) << i;
    return bits;
}

}  // namespace

uint64_t KvLineSplitter::marks_of_block(size_t block, size_t pos) const {
    uint64_t bits = lf_or_nul_bits(units_ + block);
    if (end_ - block < 64) bits &= (uint64_t{1} << (end_ - block)) - 1;
    if (pos > block) bits = pos - block < 64 ? bits & (~uint64_t{0} << (pos - block)) : 0;
    return bits;
}

bool KvLineSplitter::refill() {
    unsigned char* bytes = reinterpret_cast<unsigned char*>(units_);
    pos_ = end_ = 0;
    bits_ = 0;
    next_block_ = 0;
    while (!eof_ && end_ == 0) {
        size_t have = 0;
        if (has_carry_) {
            bytes[0] = carry_;
            have = 1;
            has_carry_ = false;
        }
        const size_t room = chunk_units_ * sizeof(char16_t) - have;
        size_t got = 0;
        read_failed_ = !platform().read_checked(file_, bytes + have, room, &got);
        if (read_failed_ || got == 0 || got > room) {
            eof_ = true;
            if (have == 1 && lone_last_byte_ == LoneLastByte::kUnit) units_[end_++] = static_cast<char16_t>(carry_);
            break;
        }
        have += got;
        if (have & 1) {
            carry_ = bytes[have - 1];
            has_carry_ = true;
        }
        end_ = have / 2;
    }
    std::memset(units_ + end_, 0, kSlackUnits * sizeof(char16_t));
    return end_ > 0;
}

#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline bool KvLineSplitter::peek_mark(size_t* at) {
    while (bits_ == 0) {
        if (next_block_ * 64 >= end_) return false;
        bits_ = marks_of_block(64 * next_block_++, pos_);
    }
    *at = (next_block_ - 1) * 64 + static_cast<size_t>(kv_detail::lowest_bit(bits_));
    return true;
}

bool KvLineSplitter::read_byte_order_mark() {
    if (!fill() || units_[pos_] != kByteOrderMark) return false;
    ++pos_;
    return true;
}

void KvLineSplitter::skip(size_t units) {
    pos_ += units;
    // Marks behind the new position are passed: at once in the block at
    // hand, by peek_mark in a block not yet looked at.
    const size_t scanned = next_block_ * 64;
    if (pos_ >= scanned) {
        next_block_ = pos_ / 64;
        bits_ = 0;
    } else if (pos_ + 64 > scanned) {
        bits_ &= ~uint64_t{0} << (pos_ + 64 - scanned);
    }
}

size_t KvLineSplitter::next_plain_lines(KvLine* lines, size_t max) {
    size_t n = 0;
    size_t m = 0;
    while (n < max && peek_mark(&m)) {
        // The first mark is the LF of a CR LF within 574 units: the line
        // lies in the chunk and holds no NUL (that would have been an
        // earlier mark). Its CR becomes its terminating NUL.
        if (m <= pos_ || m >= pos_ + KV_READ_LINE_MAX || units_[m] != kLf || units_[m - 1] != kCr) break;
        pass_mark();
        units_[m - 1] = 0;
        lines[n++] = KvLine{units_ + pos_, static_cast<int>(m - 1 - pos_)};
        pos_ = m + 1;
    }
    return n;
}

bool KvLineSplitter::next(KvLine* line) {
    size_t n = 0;                   // units gathered in line_
    std::ptrdiff_t first_nul = -1;  // position of the first NUL in the line
    bool crlf = false;              // the line ended with CR LF
    bool more = true;
    for (;;) {
        if (!fill()) {
            more = false;
            break;
        }
        const size_t start = pos_;
        size_t limit = start + (KV_READ_LINE_MAX - n);
        if (limit > end_) limit = end_;
        size_t stop = limit;
        size_t m = 0;
        while (peek_mark(&m) && m < limit) {
            pass_mark();
            const char16_t unit = units_[m];
            if (unit != kLf) {
                if (unit == 0 && first_nul < 0) first_nul = static_cast<std::ptrdiff_t>(n + (m - start));
                continue;
            }
            const char16_t previous = m > start ? units_[m - 1] : (n > 0 ? line_[n - 1] : 0);
            if (n + (m - start) > 0 && previous == kCr) {
                stop = m + 1;
                crlf = true;
                break;
            }
        }
        const size_t used = stop - start;
        pos_ = stop;
        std::memcpy(line_ + n, units_ + start, used * sizeof(char16_t));
        n += used;
        if (crlf || n == static_cast<size_t>(KV_READ_LINE_MAX)) break;
    }
    line_[n] = 0;
    int length = first_nul >= 0 ? static_cast<int>(first_nul) : static_cast<int>(n);
    if (ending_ == LineEnding::kCrLf) {
        // The CR LF that ended the line becomes NUL; a NUL before it, if
        // any, ends the text earlier.
        if (crlf && first_nul < 0) {
            length = static_cast<int>(n) - 2;
            line_[length] = 0;
        }
    } else {
        for (int pass = 0; pass < 2; ++pass) {
            if (length > 0 && (line_[length - 1] == kLf || line_[length - 1] == kCr)) line_[--length] = 0;
        }
    }
    *line = KvLine{line_, length};
    return more;
}

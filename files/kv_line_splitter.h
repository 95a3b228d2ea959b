// Splits an open key=value file into lines: UTF-16LE behind the byte order
// mark, each line ended by CR LF. Both the current data files and the older
// file generations are read with it. A line ends after a LF that follows a
// CR at a position above 0, after 574 units (the rest of a longer line comes
// back as the next line), or at the end of the file. The text a line handler
// sees runs up to the line's first NUL, less its end as LineEnding says.
// The file is read in large chunks through the platform, and the LF units of
// a chunk are found 64 at a time; the splitting is the same as reading the
// file one unit at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/platform.h"

// Units of the line buffer (a line is cut after 574 units).
constexpr int KV_READ_LINE_CAP = 576;
constexpr int KV_READ_LINE_MAX = 574;

// What is removed from the end of a line's text.
enum class LineEnding {
    // The last unit if it is CR or LF, and then once more, however the line
    // ended (the current data files): this removes the CR LF, and also a
    // lone CR or LF that ends the last line.
    kTrailingCrOrLf,
    // Only the CR LF that ended the line (the older file generations).
    kCrLf,
};

// What becomes of a lone byte at the end of a file, half a UTF-16 unit.
enum class LoneLastByte {
    // Ignored: half a unit is no text (the current data files).
    kDropped,
    // Read as a unit of its own with a high byte of zero (the older file
    // generations, which have always been read that way).
    kUnit,
};

// A line handed out: NUL-terminated, `len` units before the NUL.
struct KvLine {
    const char16_t* text;
    int len;
};

class KvLineSplitter {
public:
    KvLineSplitter(FileHandle file, LineEnding ending, LoneLastByte lone_last_byte)
        : file_(file), ending_(ending), lone_last_byte_(lone_last_byte) {}
    KvLineSplitter(const KvLineSplitter&) = delete;
    KvLineSplitter& operator=(const KvLineSplitter&) = delete;

    // Consumes the byte order mark; false when the file does not start with it.
    bool read_byte_order_mark();

    // The usual lines, quickly: up to `max` lines that come next, each
    // ending in CR LF inside the chunk at hand and holding no NUL (whose
    // text is the same under either LineEnding). Returns how many; fewer
    // than `max` when the line after them needs next().
    size_t next_plain_lines(KvLine* lines, size_t max);

    // The same lines handed to `take(text, len)` one after the other, for as
    // long as it takes them: it returns false to leave a line as it was, for
    // the next call or next(). The text is not NUL-terminated: text[len] is
    // the line's CR, which `take` may overwrite with a NUL when it takes the
    // line. Returns how many were taken. Inline, so that a reader that
    // applies most lines itself does so without a call per line.
    template <typename Take>
    size_t take_plain_lines(Take take);

    // The same for the lines at hand that end in CR LF within 574 units,
    // found by their LF alone: such a line may hold NUL units, which `take`
    // must look for where its text matters (kv_holds_nul). Quicker for a
    // reader that checks every unit of a line anyway.
    template <typename Take>
    size_t take_crlf_lines(Take take);

    // The next line, whatever it holds. Returns false when the end of the
    // file ended it, which makes it the last one; every line is handed
    // out, even an empty one.
    bool next(KvLine* line);

    // The units read but not yet handed out, for a caller that takes plain
    // lines itself: *available units from the result (0 at the end of the
    // file), not NUL-terminated. Lines taken from there are passed over with
    // skip(); a caller may only skip whole lines that end with CR LF within
    // KV_READ_LINE_MAX units, so that the next line starts where it would
    // have.
    const char16_t* peek(size_t* available) {
        *available = fill() ? end_ - pos_ : 0;
        return units_ + pos_;
    }
    void skip(size_t units);

private:
    // Units read at a time.
    static constexpr size_t kChunkUnits = 16384;
    // Units behind a chunk that are cleared after each read, so that the
    // 64-unit blocks of the mark search, and the wide compares of readers
    // that look a little beyond a line's end, never meet indeterminate units.
    static constexpr size_t kSlackUnits = 64;

    bool fill() { return pos_ < end_ || refill(); }
    bool refill();
    // Marks behind the end of the chunk and, after skip(), before the
    // current position are left out.
    uint64_t marks_of_block(size_t block, size_t pos) const;
    // The position of the next LF or NUL unit of the chunk not yet passed
    // (or of one of the rare control units 0x0002 and 0x0008, which the
    // same test finds); false when the chunk has none left.
    bool peek_mark(size_t* at);
    void pass_mark() { bits_ &= bits_ - 1; }

    FileHandle file_;
    LineEnding ending_;
    LoneLastByte lone_last_byte_;
    char16_t units_[kChunkUnits + kSlackUnits];
    size_t pos_ = 0;
    size_t end_ = 0;
    // The marks not yet passed of the 64-unit block before next_block_.
    uint64_t bits_ = 0;
    size_t next_block_ = 0;
    bool eof_ = false;
    bool has_carry_ = false;
    unsigned char carry_ = 0;
    char16_t line_[KV_READ_LINE_CAP];
};

namespace kv_detail {

constexpr char16_t kCr = 0x000D;
constexpr char16_t kLf = 0x000A;

inline int lowest_bit(uint64_t bits) {
#if defined(__GNUC__)
    return __builtin_ctzll(bits);
#else
    int n = 0;
    while ((bits & 1) == 0) {
        bits >>= 1;
        ++n;
    }
    return n;
#endif
}

// One bit per unit of the 64 units at `s`: set for LF and NUL, and also for
// the control units 0x0002 and 0x0008, which a single test cannot tell
// apart from them (a unit u with u & ~0x000A == 0); the caller looks at the
// unit itself.
inline uint64_t lf_or_nul_bits(const char16_t* s) {
#if defined(__SSE2__)
    const __m128i others = _mm_set1_epi16(static_cast<short>(~0x000A));
    const __m128i zero = _mm_setzero_si128();
    // Sixteen units at a time: two compares packed into one 16-bit mask.
    auto sixteen = [&](const char16_t* p) -> uint64_t {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        __m128i hits_a = _mm_cmpeq_epi16(_mm_and_si128(a, others), zero);
        __m128i hits_b = _mm_cmpeq_epi16(_mm_and_si128(b, others), zero);
        return static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(hits_a, hits_b)));
    };
    return sixteen(s) | (sixteen(s + 16) << 16) | (sixteen(s + 32) << 32) | (sixteen(s + 48) << 48);
#else
    uint64_t bits = 0;
    for (int i = 0; i < 64; ++i) bits |= static_cast<uint64_t>((s[i] & ~0x000A) == 0) << i;
    return bits;
#endif
}

// One bit per unit of the 64 units at `s` that is LF.
inline uint64_t lf_bits(const char16_t* s) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi16(static_cast<short>(kLf));
    auto sixteen = [&](const char16_t* p) -> uint64_t {
        __m128i a = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), lf);
        __m128i b = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)), lf);
        return static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(a, b)));
    };
    return sixteen(s) | (sixteen(s + 16) << 16) | (sixteen(s + 32) << 32) | (sixteen(s + 48) << 48);
#else
    uint64_t bits = 0;
    for (int i = 0; i < 64; ++i) bits |= static_cast<uint64_t>(s[i] == kLf) << i;
    return bits;
#endif
}

}  // namespace kv_detail

// True when a unit from `s` up to `end` is NUL.
inline bool kv_holds_nul(const char16_t* s, const char16_t* end) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; end - s >= 8; s += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(units, zero)) != 0) return true;
    }
#endif
    for (; s != end; ++s) {
        if (*s == 0) return true;
    }
    return false;
}

inline uint64_t KvLineSplitter::marks_of_block(size_t block, size_t pos) const {
    uint64_t bits = kv_detail::lf_or_nul_bits(units_ + block);
    if (end_ - block < 64) bits &= (uint64_t{1} << (end_ - block)) - 1;
    if (pos > block) bits = pos - block < 64 ? bits & (~uint64_t{0} << (pos - block)) : 0;
    return bits;
}

template <typename Take>
size_t KvLineSplitter::take_plain_lines(Take take) {
    if (!fill()) return 0;
    // The state is kept in locals: `take` stores through pointers that
    // could alias the members.
    char16_t* const units = units_;
    const size_t end = end_;
    size_t pos = pos_;
    uint64_t bits = bits_;
    size_t next_block = next_block_;
    size_t taken = 0;
    for (;;) {
        while (bits == 0 && next_block * 64 < end) bits = marks_of_block(64 * next_block++, pos);
        if (bits == 0) break;
        // The first mark is the LF of a CR LF within 574 units: the line
        // lies in the chunk and holds no NUL (that would have been an
        // earlier mark).
        const size_t m = (next_block - 1) * 64 + static_cast<size_t>(kv_detail::lowest_bit(bits));
        if (m <= pos || m >= pos + KV_READ_LINE_MAX || units[m] != kv_detail::kLf || units[m - 1] != kv_detail::kCr)
            break;
        if (!take(units + pos, static_cast<int>(m - 1 - pos))) break;
        bits &= bits - 1;
        pos = m + 1;
        ++taken;
    }
    pos_ = pos;
    bits_ = bits;
    next_block_ = next_block;
    return taken;
}

template <typename Take>
size_t KvLineSplitter::take_crlf_lines(Take take) {
    if (!fill()) return 0;
    // As in take_plain_lines, with LF marks only; the units behind the end
    // of the chunk are cleared, so they hold none.
    char16_t* const units = units_;
    const size_t end = end_;
    size_t pos = pos_;
    size_t block = pos / 64 * 64;
    uint64_t bits = kv_detail::lf_bits(units + block) & (~uint64_t{0} << (pos - block));
    size_t taken = 0;
    for (;;) {
        while (bits == 0 && block + 64 < end) {
            block += 64;
            bits = kv_detail::lf_bits(units + block);
        }
        if (bits == 0) break;
        const size_t m = block + static_cast<size_t>(kv_detail::lowest_bit(bits));
        // pos < m < pos + 574, with a CR before the LF.
        if (m - pos - 1 >= static_cast<size_t>(KV_READ_LINE_MAX - 1) || units[m - 1] != kv_detail::kCr ||
            !take(units + pos, static_cast<int>(m - 1 - pos)))
            break;
        bits &= bits - 1;
        pos = m + 1;
        ++taken;
    }
    // peek_mark() goes on from the block of the position, leaving out the
    // marks before it.
    pos_ = pos;
    bits_ = 0;
    next_block_ = pos / 64;
    return taken;
}

// Hands every line of a file, after its byte order mark, to `handle` (text
// and length), in order. `take`, when given, is offered the lines first and
// may apply those at hand itself (with take_plain_lines, or peek and skip),
// returning how much it took; the lines it leaves go to `handle`.
template <typename Handle>
void kv_split_lines(KvLineSplitter& lines, size_t (*take)(KvLineSplitter& lines), Handle handle) {
    KvLine batch[64];
    // With a reader that takes lines, the others are handled one at a time
    // so that it is offered every line it might take.
    const size_t per_batch = take != nullptr ? 1 : 64;
    for (;;) {
        if (take != nullptr && take(lines) > 0) continue;
        const size_t count = lines.next_plain_lines(batch, per_batch);
        for (size_t i = 0; i < count; ++i) handle(batch[i].text, batch[i].len);
        if (count == per_batch) continue;
        KvLine line;
        const bool more = lines.next(&line);
        handle(line.text, line.len);
        if (!more) return;
    }
}

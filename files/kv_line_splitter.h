// Splits an open key=value file into lines: UTF-16LE behind the byte order
// mark, each line ended by CR LF. Both the current data files and the older
// file generations are read with it. A line ends after a LF that follows a
// CR at a position above 0, after 574 units (the rest of a longer line comes
// back as the next line), or at the end of the file. The text a line handler
// sees runs up to the line's first NUL, less its end as LineEnding says.
// The file is read in large chunks through the platform; the splitting is
// the same as reading the file one unit at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>


#include "platform/platform.h"

// Units of the line buffer (a line is cut after 574 units).
constexpr int KV_READ_LINE_CAP = 576;
constexpr int KV_READ_LINE_MAX = 574;

// Units of the largest chunk a splitter reads from its file at a time.
constexpr size_t KV_READ_CHUNK_MAX = 32768;

// Units behind those KvLineSplitter::peek() offers that may be read (they
// are NUL), so that a caller may compare a few units at a time near the end.
constexpr size_t KV_PEEK_SLACK = 64;

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

// How the files of one generation are read.
struct KvLineRules {
    LineEnding ending;
    LoneLastByte lone_last_byte;
    size_t chunk_units;  // units read at a time, 64 to KV_READ_CHUNK_MAX
};

// The current data files, read 16384 units at a time, and the older file
// generations, read 32768 units at a time.
constexpr KvLineRules KV_DATA_FILE_LINES{LineEnding::kTrailingCrOrLf, LoneLastByte::kDropped, 16384};
constexpr KvLineRules KV_OLDER_FILE_LINES{LineEnding::kCrLf, LoneLastByte::kUnit, 32768};

// A line handed out: NUL-terminated, `len` units before the NUL.
struct KvLine {
    const char16_t* text;
    int len;
};

class KvLineSplitter {
public:
    KvLineSplitter(FileHandle file, const KvLineRules& rules)
        : file_(file),
          ending_(rules.ending),
          lone_last_byte_(rules.lone_last_byte),
          chunk_units_(rules.chunk_units < 64 ? 64
                       : rules.chunk_units > KV_READ_CHUNK_MAX ? KV_READ_CHUNK_MAX
                                                              : rules.chunk_units) {}
    KvLineSplitter(const KvLineSplitter&) = delete;
    KvLineSplitter& operator=(const KvLineSplitter&) = delete;

    // Consumes the byte order mark; false when the file does not start with it.
    bool read_byte_order_mark();

    // A read failed: the lines handed out end where the error struck, so the
    // file was not read to its end.
    bool read_failed() const { return read_failed_; }

    // The usual lines, quickly: up to `max` lines that come next, each
    // ending in CR LF inside the chunk at hand and holding no NUL (whose
    // text is the same under either LineEnding). Returns how many; fewer
    // than `max` when the line after them needs next().
    size_t next_plain_lines(KvLine* lines, size_t max);

    // The next line, whatever it holds. Returns false when the end of the
    // file ended it, which makes it the last one; every line is handed
    // out, even an empty one.
    bool next(KvLine* line);

    // The units read but not yet handed out, for a caller that takes plain
    // lines itself: *available units from the result (0 at the end of the
    // file), not NUL-terminated; KV_PEEK_SLACK more units behind them may be
    // read and are NUL. Lines taken from there are passed over with skip();
    // a caller may only skip whole lines that end with CR LF within
    // KV_READ_LINE_MAX units, so that the next line starts where it would
    // have. A line that runs past the units at hand is left to next().
    const char16_t* peek(size_t* available) {
        *available = fill() ? end_ - pos_ : 0;
        return units_ + pos_;
    }
    void skip(size_t units);

private:
    // Units behind a chunk that are cleared after each read, so that the
    // 64-unit blocks of the mark search, and callers of peek() that look a
    // little beyond the units at hand, never meet indeterminate units.
    static constexpr size_t kSlackUnits = KV_PEEK_SLACK;

    bool fill() { return pos_ < end_ || refill(); }
    // Reads the next chunk; false at the end of the file.
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
    size_t chunk_units_;
    char16_t units_[KV_READ_CHUNK_MAX + kSlackUnits];
    size_t pos_ = 0;
    size_t end_ = 0;
    // The marks not yet passed of the 64-unit block before next_block_.
    uint64_t bits_ = 0;
    size_t next_block_ = 0;
    bool eof_ = false;
    bool read_failed_ = false;
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

}  // namespace kv_detail

// For callers of peek(): the LF units of the units at hand, in order.
class KvLfMarks {
public:
    // `from` and `end` as peek() gives them.
    KvLfMarks(const char16_t* from, const char16_t* end) : next_(from), end_(end) {}

    // The next LF, or nullptr when there is none before `end`.
    const char16_t* next() {
        const char16_t* p = next_;
        while (p < end_ && *p != kv_detail::kLf) ++p;
        if (p >= end_) return nullptr;
        next_ = p + 1;
        return p;
    }

private:
    const char16_t* next_;
    const char16_t* end_;
};

// True when a unit from `s` up to `end` is NUL.
inline bool kv_holds_nul(const char16_t* s, const char16_t* end) {
    for (; s != end; ++s) {
        if (*s == 0) return true;
    }
    return false;
}

// Hands every line of a file, after its byte order mark, to `handle` (text
// and length), in order. `take`, unless nullptr, is offered the lines first
// and may apply those at hand itself (with peek and skip), returning how
// much it took; the lines it leaves go to `handle`.
template <typename Take, typename Handle>
void kv_split_lines(KvLineSplitter& lines, Take take, Handle handle) {
    constexpr bool takes = !std::is_same<Take, std::nullptr_t>::value;
    KvLine batch[64];
    // With a reader that takes lines, the others are handled one at a time
    // so that it is offered every line it might take.
    const size_t per_batch = takes ? 1 : 64;
    for (;;) {
        if constexpr (takes) {
            if (take(lines) > 0) continue;
        }
        const size_t count = lines.next_plain_lines(batch, per_batch);
        for (size_t i = 0; i < count; ++i) handle(batch[i].text, batch[i].len);
        if (count == per_batch) continue;
        KvLine line;
        const bool more = lines.next(&line);
        handle(line.text, line.len);
        if (!more) return;
    }
}

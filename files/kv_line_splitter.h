// Splits an open data file into the lines of the key-value format: UTF-16LE
// behind the byte order mark, each line ended by CR LF. A line ends after a
// LF that follows a CR at a position above 0, after 574 units, or at the end
// of the file; of its text (up to its first NUL) the last unit is dropped if
// it is CR or LF, and then once more, which removes the CR LF. A trailing
// odd byte is ignored. The file is read in large chunks through the
// platform, and the LF units of a chunk are found 64 at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// Units of the line buffer (a line is cut after 574 units).
constexpr int KV_READ_LINE_CAP = 576;
constexpr int KV_READ_LINE_MAX = 574;

// A line handed out: NUL-terminated, `len` units before the NUL.
struct KvLine {
    const char16_t* text;
    int len;
};

class KvLineSplitter {
public:
    explicit KvLineSplitter(FileHandle file) : file_(file) {}

    // Consumes the byte order mark; false when the file does not start with it.
    bool read_byte_order_mark();

    // The usual lines, quickly: up to `max` lines that come next, each
    // ending in CR LF inside the chunk at hand and holding no NUL. Returns
    // how many; fewer than `max` when the line after them needs next().
    size_t next_plain_lines(KvLine* lines, size_t max);

    // The next line, whatever it holds. Returns false when the end of the
    // file ended it, which makes it the last one; every line is handed
    // out, even an empty one.
    bool next(KvLine* line);

private:
    // Units read at a time.
    static constexpr size_t kChunkUnits = 16384;

    bool fill() { return pos_ < end_ || refill(); }
    bool refill();
    // The position of the next LF or NUL unit of the chunk not yet passed
    // (or of one of the rare control units 0x0002 and 0x0008, which the
    // same test finds); false when the chunk has none left.
    bool peek_mark(size_t* at);
    void pass_mark() { bits_ &= bits_ - 1; }

    FileHandle file_;
    char16_t units_[kChunkUnits];
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

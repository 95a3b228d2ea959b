// Splits an open data file into the lines of the key-value format: UTF-16LE
// behind the byte order mark, each line ended by CR LF. A line ends after a
// LF that follows a CR at a position above 0, after 574 units, or at the end
// of the file; of its text (up to its first NUL) the last unit is dropped if
// it is CR or LF, and then once more, which removes the CR LF. A trailing
// odd byte is ignored. The file is read in large chunks through the
// platform, and the CR LF positions of a chunk are found in one pass.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// Units of the line buffer (a line is cut after 574 units).
constexpr int KV_READ_LINE_CAP = 576;
constexpr int KV_READ_LINE_MAX = 574;

class KvLineSplitter {
public:
    explicit KvLineSplitter(FileHandle file) : file_(file) {}

    // Consumes the byte order mark; false when the file does not start with it.
    bool read_byte_order_mark();

    // The next line, NUL-terminated, and its length (units before the NUL).
    // Returns false when the end of the file ended the line, which makes it
    // the last one; every line is handed out, even an empty one.
    bool next(const char16_t** text, int* len);

private:
    // Units read at a time, and units whose LF and NUL positions are found
    // at a time: a window small enough to stay in the fastest cache while
    // its lines are handled.
    static constexpr size_t kChunkUnits = 16384;
    static constexpr size_t kWindowUnits = 1024;

    bool fill() { return pos_ < end_ || refill(); }
    bool refill();
    // Finds the marks of the next window; false when the chunk has no more.
    bool mark_window();

    FileHandle file_;
    char16_t units_[kChunkUnits];
    // Positions in units_ of the LF and NUL units (and of the rare control
    // units 0x0002 and 0x0008) of the window marked last and not yet passed.
    uint16_t marks_[kWindowUnits];
    size_t mark_count_ = 0;
    size_t next_mark_ = 0;
    size_t marked_end_ = 0;  // end of the units whose marks were found
    size_t pos_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
    bool has_carry_ = false;
    unsigned char carry_ = 0;
    char16_t line_[KV_READ_LINE_CAP];
};

// Splits a UTF-16LE text file, read through the platform seam, into the
// lines that the data file readers hand to their line handlers: after the
// byte order mark, units are taken one after the other until CR LF, the end
// of the file, or LINE_READ_MAX units (the rest of a longer line comes back
// as the next line). The file is read in large blocks; the splitting is the
// same as reading it one unit at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// Units of a line buffer, and the most units a line can hold before it is cut.
constexpr int LINE_READ_CAP = 576;
constexpr int LINE_READ_MAX = 574;

// What is removed from the end of a line.
enum class LineEnding {
    // Only a CR LF that ended the line (the older file generations).
    kCrLf,
    // Up to two trailing CR or LF units of the line's text, however the line
    // ended (the current data files).
    kTrailingCrOrLf,
};

class Utf16LineReader {
public:
    explicit Utf16LineReader(FileHandle file) : file_(file) {}
    Utf16LineReader(const Utf16LineReader&) = delete;
    Utf16LineReader& operator=(const Utf16LineReader&) = delete;

    // Reads the first two bytes; true when they are the byte order mark FF FE.
    bool read_byte_order_mark();

    // The next line, NUL-terminated, valid until the next call. Every call up
    // to and including the one that meets the end of the file delivers a
    // line, possibly empty; after that the result is nullptr.
    const char16_t* next_line(LineEnding ending);

    // The units read but not yet handed out, for a caller that splits plain
    // lines itself: at most *available units from the result (0 at the end
    // of the file). Lines taken from there are passed over with skip(); a
    // caller may only skip whole lines that end with CR LF and hold at most
    // LINE_READ_MAX units, so that the next line starts where it would have.
    const char16_t* peek(size_t* available);
    void skip(size_t units) { pos_ += units; }

private:
    static constexpr size_t kBlockUnits = 1 << 15;

    // Makes at least one unit available; false at the end of the file. A
    // lone last byte is a unit of its own (high byte zero).
    bool fill();
    // Position of the first LF unit in [from, to) of the block, or `to`.
    size_t find_lf(size_t from, size_t to) const;
    const char16_t* finish(char16_t* line, size_t n, bool crlf, LineEnding ending);

    FileHandle file_;
    char16_t block_[kBlockUnits];
    size_t pos_ = 0;  // units
    size_t end_ = 0;
    bool at_end_ = false;
    bool done_ = false;
    bool has_carry_ = false;
    uint8_t carry_ = 0;
    char16_t line_[LINE_READ_CAP];
};

#include "files/utf16_line_reader.h"

#include <cstring>

// File bytes are taken as char16_t units as they stand, which is UTF-16LE on
// the little-endian machines the program runs on.
#if defined(__BYTE_ORDER__) && defined(__ORDER_LITTLE_ENDIAN__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "UTF-16LE files need a little-endian host");
#endif

namespace {
constexpr char16_t kCr = 0x000D;
constexpr char16_t kLf = 0x000A;
}  // namespace

bool Utf16LineReader::fill() {
    if (pos_ < end_) return true;
    uint8_t* bytes = reinterpret_cast<uint8_t*>(block_);
    while (!at_end_) {
        size_t have = 0;
        if (has_carry_) {
            bytes[0] = carry_;
            have = 1;
            has_carry_ = false;
        }
        size_t room = sizeof block_ - have;
        size_t got = platform().read(file_, bytes + have, room);
        if (got == 0 || got > room) {
            at_end_ = true;
            if (have == 1) {
                block_[0] = static_cast<char16_t>(bytes[0]);
                pos_ = 0;
                end_ = 1;
                return true;
            }
            break;
        }
        have += got;
        if (have & 1) {
            carry_ = bytes[have - 1];
            has_carry_ = true;
        }
        pos_ = 0;
        end_ = have / 2;
        if (end_ > 0) return true;
    }
    pos_ = end_ = 0;
    return false;
}

size_t Utf16LineReader::find_lf(size_t from, size_t to) const {
    // memchr finds a byte 0A quickly; only the low byte of a unit 000A counts.
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(block_);
    size_t at = from * 2;
    const size_t stop = to * 2;
    while (at < stop) {
        const void* hit = std::memchr(bytes + at, 0x0A, stop - at);
        if (hit == nullptr) break;
        size_t offset = static_cast<size_t>(static_cast<const uint8_t*>(hit) - bytes);
        if ((offset & 1) == 0 && bytes[offset + 1] == 0) return offset / 2;
        at = offset + 1;
    }
    return to;
}

const char16_t* Utf16LineReader::peek(size_t* available) {
    *available = !done_ && fill() ? end_ - pos_ : 0;
    return block_ + pos_;
}

bool Utf16LineReader::read_byte_order_mark() {
    if (!fill()) return false;
    return block_[pos_++] == 0xFEFF;
}

const char16_t* Utf16LineReader::finish(char16_t* line, size_t n, bool crlf, LineEnding ending) {
    // Only a line that did not end with CR LF needs the unit behind it; a
    // line ended in place inside the block always ends with CR LF.
    if (ending == LineEnding::kCrLf) {
        line[crlf ? n - 2 : n] = 0;
        return line;
    }
    size_t len = 0;
    while (len < n && line[len] != 0) ++len;
    if (len == n && !crlf) line[n] = 0;
    for (int k = 0; k < 2 && len > 0 && (line[len - 1] == kCr || line[len - 1] == kLf); ++k)
        line[--len] = 0;
    return line;
}

const char16_t* Utf16LineReader::next_line(LineEnding ending) {
    if (done_) return nullptr;
    if (!fill()) {
        done_ = true;
        return finish(line_, 0, false, ending);
    }

    // Most lines lie inside the block and end with CR LF: they are ended in
    // place, without a copy.
    size_t take = end_ - pos_;
    if (take > LINE_READ_MAX) take = LINE_READ_MAX;
    for (size_t from = pos_;;) {
        size_t q = find_lf(from, pos_ + take);
        if (q == pos_ + take) break;
        if (q > pos_ && block_[q - 1] == kCr) {
            char16_t* line = block_ + pos_;
            size_t n = q + 1 - pos_;
            pos_ = q + 1;
            return finish(line, n, true, ending);
        }
        from = q + 1;
    }

    // A line that runs to the end of the block, is cut, or ends the file:
    // gathered unit block by block into the line buffer.
    size_t n = 0;
    bool crlf = false;
    for (;;) {
        if (!fill()) {
            done_ = true;
            break;
        }
        size_t avail = end_ - pos_;
        size_t room = LINE_READ_MAX - n;
        size_t chunk = avail < room ? avail : room;
        size_t used = chunk;
        for (size_t from = pos_;;) {
            size_t q = find_lf(from, pos_ + chunk);
            if (q == pos_ + chunk) break;
            char16_t previous = q > pos_ ? block_[q - 1] : (n > 0 ? line_[n - 1] : 0);
            if (n + (q - pos_) > 0 && previous == kCr) {
                used = q + 1 - pos_;
                crlf = true;
                break;
            }
            from = q + 1;
        }
        std::memcpy(line_ + n, block_ + pos_, used * sizeof(char16_t));
        n += used;
        pos_ += used;
        if (crlf || n == LINE_READ_MAX) break;
    }
    return finish(line_, n, crlf, ending);
}

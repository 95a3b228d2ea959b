#include "files/csv_parser.h"

#include <cstdint>
#include <cstring>

namespace {

bool ends_field(char16_t u) { return u == u',' || u == u'\r' || u == u'\n'; }

// True when one of the four units packed in `w` is below `limit` (at most
// 0x8000). Texts are scanned four units at a time with it: Japanese text
// and most ASCII lie above the separators.
bool has_unit_below(uint64_t w, uint64_t limit) {
    constexpr uint64_t kLanes = 0x0001000100010001ULL;
    constexpr uint64_t kHighBits = 0x8000800080008000ULL;
    return ((w - kLanes * limit) & ~w & kHighBits) != 0;
}

// The first unit from `p` on that `stop` accepts, or `end`. Only units below
// `limit` may be accepted.
template <typename Stop>
char16_t* find_unit(char16_t* p, char16_t* end, uint64_t limit, Stop stop) {
    for (;;) {
        // Eight units a time while none of them may stop, then four.
        while (end - p >= 8) {
            uint64_t w[2];
            std::memcpy(w, p, sizeof w);
            if (has_unit_below(w[0], limit) || has_unit_below(w[1], limit)) break;
            p += 8;
        }
        while (end - p >= 4) {
            uint64_t w;
            std::memcpy(&w, p, sizeof w);
            if (has_unit_below(w, limit)) break;
            p += 4;
        }
        char16_t* block_end = end - p >= 4 ? p + 4 : end;
        for (; p != block_end; ++p)
            if (stop(*p)) return p;
        if (p == end) return end;
    }
}

}  // namespace

void CsvParser::next_field(CsvField& field) {
    char16_t* start = p_;
    if (p_ == end_ || *p_ != u'"') {
        p_ = find_unit(p_, end_, u',' + 1, ends_field);
        field = CsvField{start, static_cast<size_t>(p_ - start), false};
        return;
    }
    // Quoted: the unquoted units are moved down over the opening quote and
    // the quotes taken out, never ahead of the units being read.
    char16_t* out = start;
    ++p_;
    while (p_ != end_) {
        char16_t* quote = find_unit(p_, end_, u'"' + 1, [](char16_t u) { return u == u'"'; });
        std::memmove(out, p_, static_cast<size_t>(quote - p_) * sizeof(char16_t));
        out += quote - p_;
        p_ = quote;
        if (p_ == end_) break;
        if (p_ + 1 != end_ && p_[1] == u'"') {
            *out++ = u'"';
            p_ += 2;
            continue;
        }
        ++p_;
        break;
    }
    while (p_ != end_ && !ends_field(*p_)) *out++ = *p_++;
    field = CsvField{start, static_cast<size_t>(out - start), true};
}

int CsvParser::next_record(CsvField* fields) {
    if (p_ == end_) return -1;
    int count = 0;
    CsvField dropped;
    for (;;) {
        // Fields beyond the room are read into `dropped`.
        next_field(count < CSV_MAX_FIELDS ? fields[count++] : dropped);
        if (p_ == end_) return count;
        if (*p_ == u',') {
            ++p_;
            continue;
        }
        if (*p_ == u'\r') ++p_;
        if (p_ != end_ && *p_ == u'\n') ++p_;
        return count;
    }
}

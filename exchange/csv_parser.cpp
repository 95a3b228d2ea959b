#include "exchange/csv_parser.h"

#include <cstdint>
#include <cstring>

namespace {

// Line breaks in `n` units: CR LF, LF or a lone CR.
int line_breaks(const char16_t* s, size_t n) {
    int lines = 0;
    for (size_t i = 0; i < n; ++i)
        lines += s[i] == u'\n' || (s[i] == u'\r' && (i + 1 == n || s[i + 1] != u'\n'));
    return lines;
}

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

CsvParser::CsvParser(char16_t* text, size_t length, char16_t separator)
    : p_(text), end_(text + length), separator_(separator) {
    scan_limit_ = static_cast<char16_t>((separator > u'\r' ? separator : u'\r') + 1);
}

void CsvParser::next_field(CsvField& field) {
    char16_t* start = p_;
    const auto stop = [this](char16_t u) { return ends_field(u); };
    if (p_ == end_ || *p_ != u'"') {
        p_ = find_unit(p_, end_, scan_limit_, stop);
        field = CsvField{start, static_cast<size_t>(p_ - start), false};
        return;
    }
    if (!last_quote_found_) {
        // Looked for from the end once: the units behind the reading
        // position are not changed by the parser.
        for (char16_t* q = end_; q != p_ && last_quote_ == nullptr;)
            if (*--q == u'"') last_quote_ = q;
        last_quote_found_ = true;
    }
    if (p_ == last_quote_) {
        // No quote closes this one: the field runs to its separator like an
        // unquoted one, the quote left out, and the rest of the text is read
        // as records again.
        if (unclosed_quote_line_ == 0) unclosed_quote_line_ = line_;
        ++p_;
        ++start;
        p_ = find_unit(p_, end_, scan_limit_, stop);
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
    line_ += line_breaks(start, field.length);
}

int CsvParser::next_record(CsvField* fields) {
    if (p_ == end_) return -1;
    int count = 0;
    CsvField dropped;
    for (;;) {
        // Fields beyond the room are read into `dropped`.
        if (count < CSV_MAX_FIELDS) {
            next_field(fields[count++]);
        } else {
            next_field(dropped);
            ++dropped_fields_;
        }
        if (p_ == end_) return count;
        if (*p_ == separator_) {
            ++p_;
            continue;
        }
        if (*p_ == u'\r') ++p_;
        if (p_ != end_ && *p_ == u'\n') ++p_;
        ++line_;
        return count;
    }
}

#include "files/csv_parser.h"

namespace {

bool ends_field(char16_t u) { return u == u',' || u == u'\r' || u == u'\n'; }

}  // namespace

CsvField CsvParser::next_field() {
    char16_t* start = p_;
    if (p_ == end_ || *p_ != u'"') {
        while (p_ != end_ && !ends_field(*p_)) ++p_;
        return CsvField{start, static_cast<size_t>(p_ - start)};
    }
    // Quoted: the unquoted units are written from the opening quote onward,
    // never ahead of the units being read.
    char16_t* out = start;
    ++p_;
    while (p_ != end_) {
        if (*p_ == u'"') {
            if (p_ + 1 != end_ && p_[1] == u'"') {
                *out++ = u'"';
                p_ += 2;
                continue;
            }
            ++p_;
            break;
        }
        *out++ = *p_++;
    }
    while (p_ != end_ && !ends_field(*p_)) *out++ = *p_++;
    return CsvField{start, static_cast<size_t>(out - start)};
}

int CsvParser::next_record(CsvField* fields) {
    if (p_ == end_) return -1;
    int count = 0;
    for (;;) {
        CsvField field = next_field();
        if (count < CSV_MAX_FIELDS) fields[count++] = field;
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

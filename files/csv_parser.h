// Splits CSV text into records and fields as RFC 4180 has them, leniently,
// as spreadsheets write them: fields separated by commas; a field that
// starts with a double quote runs to the next lone double quote and may hold
// commas, line breaks and doubled quotes; records end at CR LF, LF or a lone
// CR. Text behind a closing quote is kept, and a quote that is never closed
// runs to the end of the text.
#pragma once

#include <cstddef>

// One field: units of the text, quotes already taken out. Not NUL-terminated.
// Only a quoted field can hold line breaks.
struct CsvField {
    const char16_t* text;
    size_t length;
    bool quoted;
};

// Fields kept per record; further fields are read past and dropped.
constexpr int CSV_MAX_FIELDS = 64;

class CsvParser {
public:
    // The text is changed in place: quoted fields are unquoted where they
    // lie. It must outlive the parser and the fields it hands out.
    CsvParser(char16_t* text, size_t length) : p_(text), end_(text + length) {}

    // Reads the next record into `fields` (room for CSV_MAX_FIELDS) and
    // returns how many it holds, at least 1; -1 when the text is used up.
    int next_record(CsvField* fields);

private:
    void next_field(CsvField& field);

    char16_t* p_;
    char16_t* end_;
};

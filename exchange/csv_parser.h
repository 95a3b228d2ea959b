// Splits CSV text into records and fields as RFC 4180 has them, leniently,
// as spreadsheets write them: fields separated by commas (or tabs or
// semicolons); a field that starts with a double quote runs to the next lone
// double quote and may hold separators, line breaks and doubled quotes;
// records end at CR LF, LF or a lone CR. Text behind a closing quote is
// kept. A quote that is never closed would swallow the rest of the text:
// its field is read as an unquoted one instead, and its line is remembered.
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
constexpr int CSV_MAX_FIELDS = 256;

class CsvParser {
public:
    // The text is changed in place: quoted fields are unquoted where they
    // lie. It must outlive the parser and the fields it hands out.
    CsvParser(char16_t* text, size_t length, char16_t separator = u',');

    // Reads the next record into `fields` (room for CSV_MAX_FIELDS) and
    // returns how many it holds, at least 1; -1 when the text is used up.
    int next_record(CsvField* fields);

    // Line (from 1) of the first quote that was never closed; 0 when none.
    int unclosed_quote_line() const { return unclosed_quote_line_; }
    // Fields behind the CSV_MAX_FIELDS-th of a record, dropped so far.
    int dropped_fields() const { return dropped_fields_; }

private:
    void next_field(CsvField& field);
    bool ends_field(char16_t u) const { return u == separator_ || u == u'\r' || u == u'\n'; }

    char16_t* p_;
    char16_t* end_;
    char16_t* last_quote_ = nullptr;  // the last quote of the text; nullptr when none
    bool last_quote_found_ = false;   // looked for at the first quoted field
    char16_t separator_;
    char16_t scan_limit_;   // every unit that may end an unquoted field is below it
    int line_ = 1;          // line of the text at p_
    int unclosed_quote_line_ = 0;
    int dropped_fields_ = 0;
};

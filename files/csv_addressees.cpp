#include "files/csv_addressees.h"

#include <cstring>

#include "model/text.h"

namespace {

// What a column holds; each kind takes the first column of its name.
enum Slot {
    NAME_LINE_0 = 0,  // to NAME_LINE_0 + 4
    FAMILY_NAME = ADDRESSEE_LINES,
    GIVEN_NAME,
    POSTAL_CODE,
    ADDRESS_LINE_0,  // to ADDRESS_LINE_0 + 4
    COMPANY = ADDRESS_LINE_0 + ADDRESSEE_LINES,
    DEPARTMENT,
    HONORIFIC,
    SENDER_NUMBER,
    SLOT_COUNT,
    CARD_NUMBER = SLOT_COUNT,  // known, not read: cards are numbered by their place
};
static_assert(SLOT_COUNT == CSV_COLUMN_KINDS, "one field per kind of column");

struct HeaderName {
    const char16_t* text;
    int slot;
};

const HeaderName kHeaderNames[] = {
    {u"宛先", CARD_NUMBER},
    {u"名前1", NAME_LINE_0},
    {u"名前2", NAME_LINE_0 + 1},
    {u"名前3", NAME_LINE_0 + 2},
    {u"名前4", NAME_LINE_0 + 3},
    {u"名前5", NAME_LINE_0 + 4},
    {u"氏名", NAME_LINE_0},
    {u"姓", FAMILY_NAME},
    {u"名", GIVEN_NAME},
    {u"郵便番号", POSTAL_CODE},
    {u"〒", POSTAL_CODE},
    {u"住所", ADDRESS_LINE_0},
    {u"住所1", ADDRESS_LINE_0},
    {u"住所2", ADDRESS_LINE_0 + 1},
    {u"住所3", ADDRESS_LINE_0 + 2},
    {u"住所4", ADDRESS_LINE_0 + 3},
    {u"住所5", ADDRESS_LINE_0 + 4},
    {u"会社名", COMPANY},
    {u"部署", DEPARTMENT},
    {u"敬称", HONORIFIC},
    {u"差出番号", SENDER_NUMBER},
};

constexpr char16_t kFullWidthSpace = 0x3000;
// Units of a sender number looked at, like a number typed into a dialog.
constexpr size_t kNumberUnits = 11;

// Column index of each slot, -1 when the file has no such column.
struct Columns {
    int of[SLOT_COUNT];
};

const CsvField kNoField{u"", 0, false};

bool is_blank(char16_t u) { return u == u' ' || u == u'\t' || u == kFullWidthSpace; }

CsvField trimmed(CsvField f) {
    while (f.length > 0 && is_blank(f.text[0])) ++f.text, --f.length;
    while (f.length > 0 && is_blank(f.text[f.length - 1])) --f.length;
    return f;
}

bool field_equals(CsvField f, const char16_t* s) {
    const size_t n = static_cast<size_t>(text_length(s));
    return f.length == n && std::memcmp(f.text, s, n * sizeof(char16_t)) == 0;
}

// True when the record names at least one known column; fills the columns.
bool read_header(const CsvField* fields, int count, Columns& columns) {
    for (int& c : columns.of) c = -1;
    bool known = false;
    for (int i = 0; i < count; ++i) {
        const CsvField name = trimmed(fields[i]);
        for (const HeaderName& h : kHeaderNames) {
            if (!field_equals(name, h.text)) continue;
            known = true;
            if (h.slot != CARD_NUMBER && columns.of[h.slot] < 0) columns.of[h.slot] = i;
            break;
        }
    }
    return known;
}

// The column order of the program's own export.
void export_order(Columns& columns) {
    for (int& c : columns.of) c = -1;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        columns.of[NAME_LINE_0 + k] = 1 + k;
        columns.of[ADDRESS_LINE_0 + k] = 7 + k;
    }
    columns.of[POSTAL_CODE] = 6;
    columns.of[SENDER_NUMBER] = 12;
}

// Units of `s` that fit into `max`, a surrogate pair never cut in two.
size_t fitting(const char16_t* s, size_t n, size_t max) {
    if (n <= max) return n;
    if (max > 0 && s[max - 1] >= 0xD800 && s[max - 1] <= 0xDBFF) return max - 1;
    return max;
}

// Stores a text into a line, cut to its capacity. A line break inside a
// quoted field (CR LF, CR or LF) becomes a full-width space: a card's line
// is one line, and the addressee file keeps one text per line.
void store(TextLine& line, CsvField f) {
    if (!f.quoted) {
        const size_t n = fitting(f.text, f.length, LINE_CAP - 1);
        std::memcpy(line.s, f.text, n * sizeof(char16_t));
        line.s[n] = 0;
        return;
    }
    const char16_t* s = f.text;
    const size_t n = f.length;
    size_t out = 0;
    size_t i = 0;
    for (; i < n && out < LINE_CAP - 1; ++i) {
        char16_t u = s[i];
        if (u == u'\r' || u == u'\n') {
            if (u == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
            u = kFullWidthSpace;
        }
        line.s[out++] = u;
    }
    if (i < n && line.s[out - 1] >= 0xD800 && line.s[out - 1] <= 0xDBFF) --out;
    line.s[out] = 0;
}

// Builds a text from pieces in a buffer twice the line capacity, then stores
// it cut to the line's capacity.
struct LineBuilder {
    char16_t units[2 * LINE_CAP];
    size_t length = 0;

    void add(CsvField f) {
        const size_t n = fitting(f.text, f.length, LINE_CAP - 1);
        std::memcpy(units + length, f.text, n * sizeof(char16_t));
        length += n;
    }
    void add(char16_t u) { units[length++] = u; }
    // As a quoted field: line breaks from the pieces are still to be replaced.
    CsvField text() const { return CsvField{units, length, true}; }
};

bool is_empty(const TextLine& line) { return line.s[0] == 0; }

bool ends_with(const TextLine& line, CsvField tail) {
    const CsvField whole = trimmed(CsvField{line.s, static_cast<size_t>(text_length(line.s)), false});
    return whole.length >= tail.length &&
           std::memcmp(whole.text + whole.length - tail.length, tail.text,
                       tail.length * sizeof(char16_t)) == 0;
}

// Moves the lines up so that the first line with text comes first.
void move_lines_up(TextLine (&lines)[ADDRESSEE_LINES]) {
    int first = 0;
    while (first < ADDRESSEE_LINES && is_empty(lines[first])) ++first;
    if (first == 0 || first == ADDRESSEE_LINES) return;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        if (k + first < ADDRESSEE_LINES)
            lines[k] = lines[k + first];
        else
            lines[k].s[0] = 0;
    }
}

void read_names(const CsvRow& row, AddresseeTextBlock& names) {
    for (int k = 0; k < ADDRESSEE_LINES; ++k) store(names.m[k], row.column[NAME_LINE_0 + k]);
    TextLine& first = names.m[0];
    if (is_empty(first)) {
        const CsvField family = trimmed(row.column[FAMILY_NAME]);
        const CsvField given = trimmed(row.column[GIVEN_NAME]);
        LineBuilder b;
        b.add(family);
        if (family.length > 0 && given.length > 0) b.add(kFullWidthSpace);
        b.add(given);
        store(first, b.text());
    }
    const CsvField honorific = trimmed(row.column[HONORIFIC]);
    if (honorific.length > 0 && !is_empty(first) && !ends_with(first, honorific)) {
        LineBuilder b;
        const size_t n = static_cast<size_t>(text_length(first.s));
        b.add(CsvField{first.s, n, false});
        if (!is_blank(first.s[n - 1])) b.add(kFullWidthSpace);
        b.add(honorific);
        store(first, b.text());
    }
}

void read_address(const CsvRow& row, AddresseeTextBlock& address) {
    int next = 0;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        store(address.m[k], row.column[ADDRESS_LINE_0 + k]);
        if (!is_empty(address.m[k])) next = k + 1;
    }
    // The company and the department follow the address on lines of their
    // own while there are lines left.
    for (int slot : {COMPANY, DEPARTMENT}) {
        const CsvField f = trimmed(row.column[slot]);
        if (f.length == 0 || next == ADDRESSEE_LINES) continue;
        store(address.m[next++], f);
    }
}

// The digits of the postal code, full-width ones folded; "〒150-0001" gives
// "1500001".
void read_postal(const CsvRow& row, char16_t (&postal)[POSTAL_CAP]) {
    const CsvField f = row.column[POSTAL_CODE];
    int n = 0;
    for (size_t i = 0; i < f.length && n < POSTAL_CAP - 1; ++i) {
        char16_t u = f.text[i];
        if (u >= 0xFF10 && u <= 0xFF19) u = static_cast<char16_t>(u - 0xFF10 + u'0');
        if (u >= u'0' && u <= u'9') postal[n++] = u;
    }
    postal[n] = 0;
}

int32_t read_sender(const CsvRow& row, int senders) {
    const CsvField f = trimmed(row.column[SENDER_NUMBER]);
    char16_t digits[kNumberUnits + 1];
    const size_t n = f.length < kNumberUnits ? f.length : kNumberUnits;
    std::memcpy(digits, f.text, n * sizeof(char16_t));
    digits[n] = 0;
    const int32_t index = text_to_int(digits, static_cast<int>(n));
    return index >= 0 && index < senders ? index : 0;
}

bool has_text(CsvField f) { return f.length > 0 && f.text[0] != 0; }

// Whether write_csv_row would give the row a text or a postal code, found
// without writing them: a stored text is empty exactly when its field is
// empty or starts with a NUL.
bool holds_addressee(const CsvRow& row) {
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        if (has_text(row.column[NAME_LINE_0 + k]) || has_text(row.column[ADDRESS_LINE_0 + k]))
            return true;
    // The first name line from the family and given names starts with the
    // family name, or the given name when there is none.
    const CsvField family = trimmed(row.column[FAMILY_NAME]);
    if (has_text(family.length > 0 ? family : trimmed(row.column[GIVEN_NAME]))) return true;
    if (has_text(trimmed(row.column[COMPANY])) || has_text(trimmed(row.column[DEPARTMENT])))
        return true;
    const CsvField postal = row.column[POSTAL_CODE];
    for (size_t i = 0; i < postal.length; ++i) {
        const char16_t u = postal.text[i];
        if ((u >= u'0' && u <= u'9') || (u >= 0xFF10 && u <= 0xFF19)) return true;
    }
    return false;
}

// The fields of a record by kind of column.
void take_columns(const CsvField* fields, int count, const Columns& columns, CsvRow& row) {
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        const int i = columns.of[slot];
        row.column[slot] = i >= 0 && i < count ? fields[i] : kNoField;
    }
}

}  // namespace

void write_csv_row(const CsvRow& row, int senders, CardRecord& card) {
    read_names(row, card.tn);
    read_address(row, card.ta);
    read_postal(row, card.tt.m);
    card.ftb = read_sender(row, senders);
    if (card.tt.m[0] == 0 && is_empty(card.tn.m[0]) && is_empty(card.ta.m[0])) {
        move_lines_up(card.tn.m);
        move_lines_up(card.ta.m);
    }
}

void read_csv_addressees(CsvAddressees& file) {
    file.rows.clear();
    file.rows.reserve(HDATA_MAX);
    file.left_out = 0;
    // A UTF-16 file's text still starts with its byte order mark.
    const size_t start = !file.text.empty() && file.text[0] == 0xFEFF ? 1 : 0;
    CsvParser parser(&file.text[0] + start, file.text.size() - start);
    CsvField fields[CSV_MAX_FIELDS];
    int count = parser.next_record(fields);
    if (count < 0) return;
    Columns columns;
    const bool header = read_header(fields, count, columns);
    if (!header) export_order(columns);
    CsvRow row;
    for (bool first = !header; first || (count = parser.next_record(fields)) >= 0; first = false) {
        take_columns(fields, count, columns, row);
        if (!holds_addressee(row)) continue;
        if (file.rows.size() < static_cast<size_t>(HDATA_MAX))
            file.rows.push_back(row);
        else
            ++file.left_out;
    }
}

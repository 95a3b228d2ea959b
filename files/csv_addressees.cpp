#include "files/csv_addressees.h"

#include <cstring>

#include "files/csv_parser.h"
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
    CARD_NUMBER,  // known, not read: cards are numbered by their place
    SLOT_COUNT
};

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

bool is_blank(char16_t u) { return u == u' ' || u == u'\t' || u == kFullWidthSpace; }

CsvField trimmed(CsvField f) {
    while (f.length > 0 && is_blank(f.text[0])) ++f.text, --f.length;
    while (f.length > 0 && is_blank(f.text[f.length - 1])) --f.length;
    return f;
}

bool field_equals(CsvField f, const char16_t* s) {
    size_t n = static_cast<size_t>(text_length(s));
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
            if (columns.of[h.slot] < 0) columns.of[h.slot] = i;
            break;
        }
    }
    return known;
}

// The column order of the program's own export.
void export_order(Columns& columns) {
    for (int& c : columns.of) c = -1;
    columns.of[CARD_NUMBER] = 0;
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
void store(TextLine& line, const char16_t* s, size_t n) {
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

    void add(const char16_t* s, size_t n) {
        n = fitting(s, n, LINE_CAP - 1);
        std::memcpy(units + length, s, n * sizeof(char16_t));
        length += n;
    }
    void add(char16_t u) { units[length++] = u; }
};

bool is_empty(const TextLine& line) { return line.s[0] == 0; }

bool ends_with(const TextLine& line, CsvField tail) {
    CsvField whole = trimmed(CsvField{line.s, static_cast<size_t>(text_length(line.s))});
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

class RowReader {
public:
    RowReader(const CsvField* fields, int count, const Columns& columns)
        : fields_(fields), count_(count), columns_(columns) {}

    CsvField field(int slot) const {
        int i = columns_.of[slot];
        if (i < 0 || i >= count_) return CsvField{u"", 0};
        return fields_[i];
    }

    void read_names(CsvAddressee& a) const {
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            CsvField f = field(NAME_LINE_0 + k);
            store(a.name[k], f.text, f.length);
        }
        TextLine& first = a.name[0];
        if (is_empty(first)) {
            const CsvField family = trimmed(field(FAMILY_NAME));
            const CsvField given = trimmed(field(GIVEN_NAME));
            LineBuilder b;
            b.add(family.text, family.length);
            if (family.length > 0 && given.length > 0) b.add(kFullWidthSpace);
            b.add(given.text, given.length);
            store(first, b.units, b.length);
        }
        const CsvField honorific = trimmed(field(HONORIFIC));
        if (honorific.length > 0 && !is_empty(first) && !ends_with(first, honorific)) {
            LineBuilder b;
            const size_t n = static_cast<size_t>(text_length(first.s));
            b.add(first.s, n);
            if (!is_blank(first.s[n - 1])) b.add(kFullWidthSpace);
            b.add(honorific.text, honorific.length);
            store(first, b.units, b.length);
        }
    }

    void read_address(CsvAddressee& a) const {
        int next = 0;
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            CsvField f = field(ADDRESS_LINE_0 + k);
            store(a.address[k], f.text, f.length);
            if (!is_empty(a.address[k])) next = k + 1;
        }
        // The company and the department follow the address on lines of
        // their own while there are lines left.
        for (int slot : {COMPANY, DEPARTMENT}) {
            CsvField f = trimmed(field(slot));
            if (f.length == 0 || next == ADDRESSEE_LINES) continue;
            store(a.address[next++], f.text, f.length);
        }
    }

    // The digits of the postal code, full-width ones folded; "〒150-0001"
    // gives "1500001".
    void read_postal(CsvAddressee& a) const {
        CsvField f = field(POSTAL_CODE);
        int n = 0;
        for (size_t i = 0; i < f.length && n < POSTAL_CAP - 1; ++i) {
            char16_t u = f.text[i];
            if (u >= 0xFF10 && u <= 0xFF19) u = static_cast<char16_t>(u - 0xFF10 + u'0');
            if (u >= u'0' && u <= u'9') a.postal[n++] = u;
        }
        a.postal[n] = 0;
    }

    void read_sender(CsvAddressee& a, int senders) const {
        CsvField f = trimmed(field(SENDER_NUMBER));
        char16_t digits[kNumberUnits + 1];
        size_t n = f.length < kNumberUnits ? f.length : kNumberUnits;
        std::memcpy(digits, f.text, n * sizeof(char16_t));
        digits[n] = 0;
        int32_t index = text_to_int(digits, static_cast<int>(n));
        a.ftb = index >= 0 && index < senders ? index : 0;
    }

private:
    const CsvField* fields_;
    int count_;
    const Columns& columns_;
};

// Reads one record; false when it holds no addressee.
bool read_row(const CsvField* fields, int count, const Columns& columns, int senders,
              CsvAddressee& a) {
    RowReader row(fields, count, columns);
    row.read_names(a);
    row.read_address(a);
    row.read_postal(a);
    row.read_sender(a, senders);
    bool any_line = false;
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        any_line = any_line || !is_empty(a.name[k]) || !is_empty(a.address[k]);
    if (!any_line && a.postal[0] == 0) return false;
    if (a.postal[0] == 0 && is_empty(a.name[0]) && is_empty(a.address[0])) {
        move_lines_up(a.name);
        move_lines_up(a.address);
    }
    return true;
}

}  // namespace

void read_csv_addressees(std::u16string& text, CsvAddressees& out) {
    out.rows.clear();
    out.rows.reserve(HDATA_MAX);
    out.left_out = 0;
    CsvParser parser(&text[0], text.size());
    CsvField fields[CSV_MAX_FIELDS];
    int count = parser.next_record(fields);
    if (count < 0) return;
    Columns columns;
    const bool header = read_header(fields, count, columns);
    if (!header) export_order(columns);
    const int senders = count_senders();
    CsvAddressee row;
    for (bool first = !header; first || (count = parser.next_record(fields)) >= 0; first = false) {
        std::memset(&row, 0, sizeof row);
        if (!read_row(fields, count, columns, senders, row)) continue;
        if (out.rows.size() < static_cast<size_t>(HDATA_MAX))
            out.rows.push_back(row);
        else
            ++out.left_out;
    }
}

#include "files/csv_addressees.h"

#include <cstring>
#include <initializer_list>

#include "files/csv_columns.h"
#include "files/csv_parser.h"
#include "model/text.h"

namespace {

constexpr char16_t kFullWidthSpace = 0x3000;
// Records with text among which the header is looked for.
constexpr int kHeaderSearchRecords = 10;
// Units of the text's start parsed to choose the separator: ten records of
// a wide table.
constexpr size_t kSniffUnits = 1u << 14;
// Units of a sender number looked at, like a number typed into a dialog.
constexpr size_t kNumberUnits = 11;
const char16_t kSeparators[] = {u',', u'\t', u';'};

const CsvField kNoField{u"", 0, false};

bool is_blank(char16_t u) { return u == u' ' || u == u'\t' || u == kFullWidthSpace; }

CsvField trimmed(CsvField f) {
    while (f.length > 0 && is_blank(f.text[0])) ++f.text, --f.length;
    while (f.length > 0 && is_blank(f.text[f.length - 1])) --f.length;
    return f;
}

bool is_blank_record(const CsvField* fields, int count) {
    for (int i = 0; i < count; ++i)
        if (trimmed(fields[i]).length > 0) return false;
    return true;
}

int mapped_columns(const CsvColumns& c) {
    int n = 0;
    for (int i = 0; i < c.count; ++i) n += c.kind[i] != COLUMN_UNUSED;
    return n;
}

// Where the table starts with one separator: the index of the header
// record among all records, -1 when none of the first records with text is
// one; *score is the header's mapped columns, *first_fields the fields of
// the first record with text. Parses a copy of `head`.
int find_header_record(const std::u16string& head, char16_t separator, int* score,
                       int* first_fields) {
    std::u16string copy(head);
    *score = 0;
    *first_fields = 0;
    if (copy.empty()) return -1;
    CsvParser parser(&copy[0], copy.size(), separator);
    CsvField fields[CSV_MAX_FIELDS];
    CsvColumns columns;
    int count;
    for (int index = 0, with_text = 0;
         with_text < kHeaderSearchRecords && (count = parser.next_record(fields)) >= 0; ++index) {
        if (is_blank_record(fields, count)) continue;
        if (with_text++ == 0) *first_fields = count;
        if (map_csv_header(fields, count, columns)) {
            *score = mapped_columns(columns);
            return index;
        }
    }
    return -1;
}

// Excel's first line "sep=;" names the separator; *separator stays 0 when
// it names none the import knows (the separator is then looked for).
bool separator_line(const char16_t* s, size_t n, char16_t* separator) {
    if (n != 5 || !(s[0] == u's' || s[0] == u'S') || !(s[1] == u'e' || s[1] == u'E') ||
        !(s[2] == u'p' || s[2] == u'P') || s[3] != u'=')
        return false;
    if (s[4] == u',' || s[4] == u'\t' || s[4] == u';' || s[4] == u'|') *separator = s[4];
    return true;
}

CsvField column(const CsvField* fields, int count, int i) {
    return i >= 0 && i < count ? fields[i] : kNoField;
}

// The columns one text of a card is put together from.
struct Sources {
    int8_t column[CSV_MAX_FIELDS];
    int count = 0;
};

// Where each text of a card comes from, worked out once per table.
struct RowPlan {
    Sources name;                        // the whole name
    Sources name_lines[ADDRESSEE_LINES];  // further name lines (1 to 4)
    Sources joints;
    Sources address[ADDRESSEE_LINES];    // line 1: prefecture, city, street; 2: building
    int family = -1, given = -1, honorific = -1, postal = -1;
    int company = -1, department = -1, title = -1, sender = -1;
};

RowPlan make_plan(const CsvColumns& c) {
    RowPlan plan;
    const auto add = [](Sources& s, int i) { s.column[s.count++] = static_cast<int8_t>(i); };
    const auto first = [](int& slot, int i) {
        if (slot < 0) slot = i;
    };
    // Address line 1 joins its parts in this order, whatever the columns' order.
    for (CsvColumnKind part : {COLUMN_PREFECTURE, COLUMN_CITY, COLUMN_STREET})
        for (int i = 0; i < c.count; ++i)
            if (c.kind[i] == part) add(plan.address[0], i);
    for (int i = 0; i < c.count; ++i) {
        switch (c.kind[i]) {
        case COLUMN_NAME: add(plan.name, i); break;
        case COLUMN_NAME_LINE: add(plan.name_lines[c.line[i]], i); break;
        case COLUMN_JOINT: add(plan.joints, i); break;
        case COLUMN_BUILDING: add(plan.address[1], i); break;
        case COLUMN_ADDRESS_LINE: add(plan.address[c.line[i]], i); break;
        case COLUMN_FAMILY: first(plan.family, i); break;
        case COLUMN_GIVEN: first(plan.given, i); break;
        case COLUMN_HONORIFIC: first(plan.honorific, i); break;
        case COLUMN_POSTAL: first(plan.postal, i); break;
        case COLUMN_COMPANY: first(plan.company, i); break;
        case COLUMN_DEPARTMENT: first(plan.department, i); break;
        case COLUMN_TITLE: first(plan.title, i); break;
        case COLUMN_SENDER: first(plan.sender, i); break;
        default: break;
        }
    }
    return plan;
}

// Adds the sources' fields to `out`: a single one as it is, several
// trimmed and joined without spaces.
void join(const CsvField* fields, int count, const Sources& sources, ImportText& out) {
    for (int k = 0; k < sources.count; ++k) {
        const CsvField f = column(fields, count, sources.column[k]);
        const CsvField part = sources.count > 1 ? trimmed(f) : f;
        out.add(part.text, part.length);
    }
}

// Stores the sources' text into a clear line; returns 1 when it was cut.
int store_joined(const CsvField* fields, int count, const Sources& sources, TextLine& line) {
    if (sources.count == 0) return 0;
    if (sources.count == 1) {
        const CsvField f = column(fields, count, sources.column[0]);
        return store_import_text(line, f.text, f.length);
    }
    ImportText text;
    join(fields, count, sources, text);
    return store_import_text(line, text);
}

// The honorific behind a name, unless the name is empty or ends with it.
void add_honorific(ImportText& name, CsvField honorific) {
    if (honorific.length == 0 || name.empty() || name.ends_with(honorific.text, honorific.length))
        return;
    if (!is_blank(name.units[name.length - 1])) name.add_unit(kFullWidthSpace);
    name.add(honorific.text, honorific.length);
}

int read_names(const CsvField* fields, int count, const RowPlan& plan, ImportedAddressee& a) {
    const CsvField honorific = trimmed(column(fields, count, plan.honorific));
    ImportText name;
    join(fields, count, plan.name, name);
    if (name.empty()) {
        const CsvField family = trimmed(column(fields, count, plan.family));
        const CsvField given = trimmed(column(fields, count, plan.given));
        name.add(family.text, family.length);
        if (family.length > 0 && given.length > 0) name.add_unit(kFullWidthSpace);
        name.add(given.text, given.length);
    }
    add_honorific(name, honorific);
    int cuts = store_import_text(a.names[0], name);
    for (int k = 1; k < ADDRESSEE_LINES; ++k)
        cuts += store_joined(fields, count, plan.name_lines[k], a.names[k]);
    int next = next_free_line(a.names);
    for (int k = 0; k < plan.joints.count; ++k) {
        const CsvField joint = trimmed(column(fields, count, plan.joints.column[k]));
        ImportText line;
        line.add(joint.text, joint.length);
        add_honorific(line, honorific);
        cuts += store_on_next_line(a.names, next, line);
    }
    return cuts;
}

int read_address(const CsvField* fields, int count, const RowPlan& plan, ImportedAddressee& a) {
    int cuts = 0;
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        cuts += store_joined(fields, count, plan.address[k], a.address[k]);
    // The company, then the department with the job title, follow the
    // address on lines of their own.
    int next = next_free_line(a.address);
    ImportText company;
    const CsvField name = trimmed(column(fields, count, plan.company));
    company.add(name.text, name.length);
    cuts += store_on_next_line(a.address, next, company);
    ImportText position;
    const CsvField department = trimmed(column(fields, count, plan.department));
    const CsvField title = trimmed(column(fields, count, plan.title));
    position.add(department.text, department.length);
    if (department.length > 0 && title.length > 0) position.add_unit(kFullWidthSpace);
    position.add(title.text, title.length);
    cuts += store_on_next_line(a.address, next, position);
    return cuts;
}

int read_postal(const CsvField* fields, int count, const RowPlan& plan, ImportedAddressee& a) {
    const CsvField f = column(fields, count, plan.postal);
    return store_postal_digits(a.postal, f.text, f.length);
}

int32_t read_sender(const CsvField* fields, int count, const RowPlan& plan) {
    const CsvField f = trimmed(column(fields, count, plan.sender));
    char16_t digits[kNumberUnits + 1];
    const size_t n = f.length < kNumberUnits ? f.length : kNumberUnits;
    std::memcpy(digits, f.text, n * sizeof(char16_t));
    digits[n] = 0;
    return text_to_int(digits, static_cast<int>(n));
}

void read_row(const CsvField* fields, int count, const RowPlan& plan, AddresseeImport& import) {
    ImportedAddressee a;
    std::memset(&a, 0, sizeof a);
    int cuts = read_names(fields, count, plan, a);
    cuts += read_address(fields, count, plan, a);
    cuts += read_postal(fields, count, plan, a);
    a.sender = read_sender(fields, count, plan);
    keep_imported(import, a, cuts);
}

}  // namespace

void read_csv_addressees(std::u16string& text, AddresseeImport& import) {
    import.addressees.clear();
    import.addressees.reserve(HDATA_MAX);
    import.left_out = 0;
    import.cut_texts = 0;
    import.mapping[0] = import.unused[0] = import.notes[0] = 0;
    // A UTF-16 file's text still starts with its byte order mark.
    size_t start = !text.empty() && text[0] == 0xFEFF ? 1 : 0;
    int lines_before = 0;

    char16_t separator = 0;
    size_t line_end = start;
    while (line_end < text.size() && text[line_end] != u'\r' && text[line_end] != u'\n') ++line_end;
    if (separator_line(text.data() + start, line_end - start, &separator)) {
        if (line_end < text.size() && text[line_end] == u'\r') ++line_end;
        if (line_end < text.size() && text[line_end] == u'\n') ++line_end;
        start = line_end;
        lines_before = 1;
    }

    const size_t sniffed = text.size() - start < kSniffUnits ? text.size() - start : kSniffUnits;
    const std::u16string head = text.substr(start, sniffed);
    int header_record = -1;
    if (separator != 0) {
        int score = 0;
        int fields = 0;
        header_record = find_header_record(head, separator, &score, &fields);
    } else {
        // The separator that makes the best header, else the one that
        // splits the first record most; comma when in doubt.
        int best_score = 0;
        int most_fields = 0;
        separator = u',';
        char16_t split_most = u',';
        for (char16_t candidate : kSeparators) {
            int score = 0;
            int fields = 0;
            const int record = find_header_record(head, candidate, &score, &fields);
            if (record >= 0 && score > best_score) {
                best_score = score;
                header_record = record;
                separator = candidate;
            }
            if (fields > most_fields) {
                most_fields = fields;
                split_most = candidate;
            }
        }
        if (header_record < 0) separator = split_most;
    }

    if (start == text.size()) return;
    CsvParser parser(&text[0] + start, text.size() - start, separator);
    CsvField fields[CSV_MAX_FIELDS];
    CsvField header[CSV_MAX_FIELDS];
    CsvColumns columns;
    int count = 0;
    bool has_header = false;
    for (int r = 0; r < header_record; ++r) parser.next_record(fields);
    if (header_record >= 0 && (count = parser.next_record(fields)) >= 0) {
        std::memcpy(header, fields, static_cast<size_t>(count) * sizeof(CsvField));
        map_csv_header(header, count, columns);
        has_header = true;
    } else {
        export_csv_columns(columns);
    }
    const RowPlan plan = make_plan(columns);
    uint64_t with_text = 0;
    while ((count = parser.next_record(fields)) >= 0) {
        if (is_blank_record(fields, count)) continue;
        for (int i = 0; i < count; ++i)
            if (fields[i].length > 0) with_text |= uint64_t{1} << i;
        read_row(fields, count, plan, import);
    }

    describe_csv_columns(has_header ? header : nullptr, columns, with_text, import.mapping,
                         import.unused, IMPORT_TEXT_CAP);
    TextBuilder notes(import.notes, IMPORT_TEXT_CAP);
    if (parser.dropped_fields() > 0) {
        // Fields behind the 64th of any record, the header's or a row's.
        TextBuilder unused(import.unused, IMPORT_TEXT_CAP);
        unused.len = text_length(import.unused);
        if (unused.len > 0) unused.add(u"、");
        unused.add_int(CSV_MAX_FIELDS + 1).add(u"列目以降");
    }
    if (parser.unclosed_quote_line() > 0)
        notes.add(u"・")
            .add_int(parser.unclosed_quote_line() + lines_before)
            .add(u"行目の引用符が閉じていません（その欄は引用符を除き、区切りまでを読みます）\r\n");
}

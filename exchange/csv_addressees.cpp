#include "exchange/csv_addressees.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "exchange/csv_columns.h"
#include "exchange/csv_parser.h"
#include "exchange/import_address.h"
#include "model/text.h"

namespace {

constexpr char16_t kFullWidthSpace = 0x3000;
// Records with text among which the header is looked for.
constexpr int kHeaderSearchRecords = 10;
// Units of the text's start parsed to choose the separator: ten records of
// a wide table.
constexpr size_t kSniffUnits = 1u << 15;
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
    for (int i = 0; i < c.count; ++i)
        n += c.kind[i] != COLUMN_UNUSED && c.kind[i] != COLUMN_READING && !c.joined[i];
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

std::u16string field_text(CsvField f) { return std::u16string(f.text, f.length); }

// The columns one text of a card is put together from.
using Sources = std::vector<int>;

// Where one owner's address comes from.
struct AddressPlan {
    Sources region, locality, street, building, postal, country;
    Sources lines[ADDRESSEE_LINES];  // lines 3 to 5 of the export
    bool any = false;
};

// Where each text of a card comes from, worked out once per table.
struct RowPlan {
    Sources name;                        // the whole name
    Sources name_lines[ADDRESSEE_LINES];  // further name lines (1 to 4)
    Sources joints;
    AddressPlan address[ADDRESS_GROUPS];
    int family = -1, given = -1, honorific = -1;
    int company = -1, department = -1, title = -1, sender = -1;
    bool own_export = false;
};

RowPlan make_plan(const CsvColumns& c) {
    RowPlan plan;
    plan.own_export = c.own_export;
    const auto first = [](int& slot, int i) {
        if (slot < 0) slot = i;
    };
    for (int i = 0; i < c.count; ++i) {
        AddressPlan& address = plan.address[c.group[i]];
        switch (c.kind[i]) {
        case COLUMN_NAME: plan.name.push_back(i); break;
        case COLUMN_NAME_LINE: plan.name_lines[c.line[i]].push_back(i); break;
        case COLUMN_JOINT: plan.joints.push_back(i); break;
        case COLUMN_PREFECTURE: address.region.push_back(i); break;
        case COLUMN_CITY: address.locality.push_back(i); break;
        case COLUMN_STREET: address.street.push_back(i); break;
        case COLUMN_BUILDING: address.building.push_back(i); break;
        case COLUMN_ADDRESS_LINE: address.lines[c.line[i]].push_back(i); break;
        case COLUMN_POSTAL: address.postal.push_back(i); break;
        case COLUMN_COUNTRY: address.country.push_back(i); break;
        case COLUMN_FAMILY: first(plan.family, i); break;
        case COLUMN_GIVEN: first(plan.given, i); break;
        case COLUMN_HONORIFIC: first(plan.honorific, i); break;
        case COLUMN_COMPANY: first(plan.company, i); break;
        case COLUMN_DEPARTMENT: first(plan.department, i); break;
        case COLUMN_TITLE: first(plan.title, i); break;
        case COLUMN_SENDER: first(plan.sender, i); break;
        default: break;
        }
        address.any = address.any || is_address_part(c.kind[i]);
    }
    return plan;
}

// Adds the sources' fields to `out`: a single one as it is, several
// trimmed and joined without spaces.
void join(const CsvField* fields, int count, const Sources& sources, ImportText& out) {
    for (int i : sources) {
        const CsvField f = column(fields, count, i);
        const CsvField part = sources.size() > 1 ? trimmed(f) : f;
        out.add(part.text, part.length);
    }
}

// The sources' fields, each one a piece.
std::vector<std::u16string> pieces(const CsvField* fields, int count, const Sources& sources) {
    std::vector<std::u16string> out;
    for (int i : sources) {
        const CsvField f = column(fields, count, i);
        if (f.length > 0) out.push_back(field_text(f));
    }
    return out;
}

std::u16string first_piece(const CsvField* fields, int count, const Sources& sources) {
    for (int i : sources) {
        const CsvField f = trimmed(column(fields, count, i));
        if (f.length > 0) return field_text(f);
    }
    return u"";
}

bool any_text(const CsvField* fields, int count, const Sources& sources) {
    for (int i : sources)
        if (trimmed(column(fields, count, i)).length > 0) return true;
    return false;
}

// Stores the sources' text into a clear line; returns 1 when it was cut.
int store_joined(const CsvField* fields, int count, const Sources& sources, TextLine& line) {
    if (sources.empty()) return 0;
    if (sources.size() == 1) {
        const CsvField f = column(fields, count, sources[0]);
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
    if (plan.name.size() <= 1 || plan.own_export) {
        join(fields, count, plan.name, name);
    } else {
        // A name header over several columns: the family and the given
        // name, a space between them.
        for (const std::u16string& piece : pieces(fields, count, plan.name)) {
            const CsvField t = trimmed(CsvField{piece.data(), piece.size(), false});
            if (t.length == 0) continue;
            if (!name.empty()) name.add_unit(latin_text(piece) ? u' ' : kFullWidthSpace);
            name.add(t.text, t.length);
        }
    }
    if (name.empty()) {
        const std::u16string person = person_name(field_text(column(fields, count, plan.family)),
                                                  field_text(column(fields, count, plan.given)));
        name.add(person.data(), person.size());
    }
    add_honorific(name, honorific);
    int cuts = store_import_text(a.names[0], name);
    for (int k = 1; k < ADDRESSEE_LINES; ++k)
        cuts += store_joined(fields, count, plan.name_lines[k], a.names[k]);
    int next = next_free_line(a.names);
    for (int i : plan.joints) {
        const CsvField joint = trimmed(column(fields, count, i));
        ImportText line;
        line.add(joint.text, joint.length);
        add_honorific(line, honorific);
        cuts += store_on_next_line(a.names, next, line);
    }
    return cuts;
}

// The program's own export: every line in its place, the postal code's digits.
int read_own_address(const CsvField* fields, int count, const AddressPlan& plan, ImportedAddressee& a) {
    Sources first = plan.region;
    first.insert(first.end(), plan.locality.begin(), plan.locality.end());
    first.insert(first.end(), plan.street.begin(), plan.street.end());
    int cuts = store_joined(fields, count, first, a.address[0]);
    cuts += store_joined(fields, count, plan.building, a.address[1]);
    for (int k = 2; k < ADDRESSEE_LINES; ++k)
        cuts += store_joined(fields, count, plan.lines[k], a.address[k]);
    const CsvField postal = plan.postal.empty() ? kNoField : column(fields, count, plan.postal[0]);
    return cuts + store_postal_digits(a.postal, postal.text, postal.length);
}

int read_address(const CsvField* fields, int count, const RowPlan& plan, ImportedAddressee& a,
                 bool* postal_in_text) {
    // The first owner's address the row fills: the plain one, home, work, other.
    const AddressPlan* chosen = &plan.address[ADDRESS_PLAIN];
    for (const AddressPlan& owner : plan.address) {
        if (!owner.any) continue;
        bool filled = false;
        for (const Sources* part : {&owner.region, &owner.locality, &owner.street, &owner.building,
                                    &owner.postal, &owner.lines[2], &owner.lines[3], &owner.lines[4]})
            filled = filled || any_text(fields, count, *part);
        if (filled) {
            chosen = &owner;
            break;
        }
    }
    int cuts = 0;
    *postal_in_text = false;
    if (plan.own_export) {
        cuts = read_own_address(fields, count, *chosen, a);
    } else {
        AddressParts parts;
        parts.region = pieces(fields, count, chosen->region);
        parts.locality = pieces(fields, count, chosen->locality);
        parts.street = pieces(fields, count, chosen->street);
        parts.extended = pieces(fields, count, chosen->building);
        for (int k = 2; k < ADDRESSEE_LINES; ++k) {
            std::u16string line;
            for (const std::u16string& piece : pieces(fields, count, chosen->lines[k])) line += piece;
            parts.lines.push_back(line);
        }
        parts.postal = first_piece(fields, count, chosen->postal);
        parts.country = first_piece(fields, count, chosen->country);
        cuts = put_address(parts, a, postal_in_text);
    }
    // The company, then the department with the job title, follow the
    // address on lines of their own.
    int next = next_free_line(a.address);
    cuts += store_wrapped(a.address, next, field_text(trimmed(column(fields, count, plan.company))));
    std::u16string position;
    const CsvField department = trimmed(column(fields, count, plan.department));
    const CsvField title = trimmed(column(fields, count, plan.title));
    position = field_text(department);
    if (department.length > 0 && title.length > 0) position += kFullWidthSpace;
    position += field_text(title);
    cuts += store_wrapped(a.address, next, position);
    return cuts;
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
    bool postal_in_text = false;
    int cuts = read_names(fields, count, plan, a);
    cuts += read_address(fields, count, plan, a, &postal_in_text);
    a.sender = read_sender(fields, count, plan);
    keep_imported(import, a, cuts, postal_in_text);
}

// A table without header is the program's own export when its first
// record with text starts with a card number.
bool starts_with_number(const CsvField* fields, int count) {
    const CsvField f = count > 0 ? trimmed(fields[0]) : kNoField;
    if (f.length == 0) return false;
    for (size_t i = 0; i < f.length; ++i)
        if (f.text[i] < u'0' || f.text[i] > u'9') return false;
    return true;
}

}  // namespace

bool read_csv_addressees(std::u16string& text, AddresseeImport& import) {
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

    if (start == text.size()) return true;
    CsvParser parser(&text[0] + start, text.size() - start, separator);
    std::vector<CsvField> field_room(CSV_MAX_FIELDS);
    std::vector<CsvField> header(CSV_MAX_FIELDS, kNoField);
    CsvField* fields = field_room.data();
    CsvColumns columns;
    int count = 0;
    bool has_header = false;
    for (int r = 0; r < header_record; ++r) parser.next_record(fields);
    if (header_record >= 0 && (count = parser.next_record(fields)) >= 0) {
        std::copy(fields, fields + count, header.begin());
        map_csv_header(header.data(), count, columns);
        has_header = true;
    } else {
        export_csv_columns(columns);
    }
    const RowPlan plan = make_plan(columns);
    CsvColumnSet with_text;
    bool first_record = !has_header;
    while ((count = parser.next_record(fields)) >= 0) {
        if (is_blank_record(fields, count)) continue;
        if (first_record && !starts_with_number(fields, count)) {
            // Neither a header nor the export's rows: nothing is guessed.
            list_csv_headers(fields, count, import.unused, IMPORT_TEXT_CAP);
            import.addressees.clear();
            return false;
        }
        first_record = false;
        for (int i = 0; i < count; ++i)
            if (fields[i].length > 0) with_text.set(static_cast<size_t>(i));
        read_row(fields, count, plan, import);
    }

    describe_csv_columns(has_header ? header.data() : nullptr, columns, with_text, import.mapping,
                         import.unused, IMPORT_TEXT_CAP);
    if (parser.dropped_fields() > 0) {
        // Fields behind the last one read, the header's or a row's.
        // The builder starts by clearing the text: the list is kept.
        const int listed = text_length(import.unused);
        const char16_t first = import.unused[0];
        TextBuilder unused(import.unused, IMPORT_TEXT_CAP);
        import.unused[0] = first;
        unused.len = listed;
        if (unused.len > 0) unused.add(u"、");
        unused.add_int(CSV_MAX_FIELDS + 1).add(u"列目以降");
    }
    TextBuilder notes(import.notes, IMPORT_TEXT_CAP);
    if (parser.unclosed_quote_line() > 0)
        notes.add(u"・")
            .add_int(parser.unclosed_quote_line() + lines_before)
            .add(u"行目の引用符が閉じていません（その欄は引用符を除き、区切りまでを読みます）\r\n");
    return true;
}

#include "files/csv_columns.h"

#include <cstring>

#include "model/document.h"
#include "model/text.h"

namespace {

struct HeaderName {
    const char16_t* folded;  // as fold_header gives it
    CsvColumnKind kind;
    int8_t line;
};

// Every name a column is known by, folded: ASCII half-width, lower case,
// without spaces or underscores. "名前" is COLUMN_NAME here and becomes the
// given name beside a family name column.
const HeaderName kHeaderNames[] = {
    {u"宛先", COLUMN_CARD_NUMBER, 0},
    {u"氏名", COLUMN_NAME, 0},
    {u"名前", COLUMN_NAME, 0},
    {u"名前1", COLUMN_NAME, 0},
    {u"宛名", COLUMN_NAME, 0},
    {u"お名前", COLUMN_NAME, 0},
    {u"姓名", COLUMN_NAME, 0},
    {u"表示名", COLUMN_NAME, 0},
    {u"name", COLUMN_NAME, 0},
    {u"fullname", COLUMN_NAME, 0},
    {u"displayname", COLUMN_NAME, 0},
    {u"名前2", COLUMN_NAME_LINE, 1},
    {u"名前3", COLUMN_NAME_LINE, 2},
    {u"名前4", COLUMN_NAME_LINE, 3},
    {u"名前5", COLUMN_NAME_LINE, 4},
    {u"姓", COLUMN_FAMILY, 0},
    {u"苗字", COLUMN_FAMILY, 0},
    {u"名字", COLUMN_FAMILY, 0},
    {u"familyname", COLUMN_FAMILY, 0},
    {u"lastname", COLUMN_FAMILY, 0},
    {u"surname", COLUMN_FAMILY, 0},
    {u"名", COLUMN_GIVEN, 0},
    {u"givenname", COLUMN_GIVEN, 0},
    {u"firstname", COLUMN_GIVEN, 0},
    {u"敬称", COLUMN_HONORIFIC, 0},
    {u"連名", COLUMN_JOINT, 0},
    {u"連名1", COLUMN_JOINT, 0},
    {u"連名2", COLUMN_JOINT, 0},
    {u"連名3", COLUMN_JOINT, 0},
    {u"連名4", COLUMN_JOINT, 0},
    {u"郵便番号", COLUMN_POSTAL, 0},
    {u"〒", COLUMN_POSTAL, 0},
    {u"〒番号", COLUMN_POSTAL, 0},
    {u"postalcode", COLUMN_POSTAL, 0},
    {u"postcode", COLUMN_POSTAL, 0},
    {u"zip", COLUMN_POSTAL, 0},
    {u"zipcode", COLUMN_POSTAL, 0},
    {u"address1-postalcode", COLUMN_POSTAL, 0},
    {u"homepostalcode", COLUMN_POSTAL, 0},
    {u"都道府県", COLUMN_PREFECTURE, 0},
    {u"region", COLUMN_PREFECTURE, 0},
    {u"state", COLUMN_PREFECTURE, 0},
    {u"address1-region", COLUMN_PREFECTURE, 0},
    {u"homestate", COLUMN_PREFECTURE, 0},
    {u"市区町村", COLUMN_CITY, 0},
    {u"市町村", COLUMN_CITY, 0},
    {u"city", COLUMN_CITY, 0},
    {u"address1-city", COLUMN_CITY, 0},
    {u"homecity", COLUMN_CITY, 0},
    {u"住所", COLUMN_STREET, 0},
    {u"住所1", COLUMN_STREET, 0},
    {u"町域", COLUMN_STREET, 0},
    {u"番地", COLUMN_STREET, 0},
    {u"町名番地", COLUMN_STREET, 0},
    {u"street", COLUMN_STREET, 0},
    {u"address", COLUMN_STREET, 0},
    {u"address1-street", COLUMN_STREET, 0},
    {u"homestreet", COLUMN_STREET, 0},
    {u"住所2", COLUMN_BUILDING, 0},
    {u"建物名", COLUMN_BUILDING, 0},
    {u"建物", COLUMN_BUILDING, 0},
    {u"マンション名", COLUMN_BUILDING, 0},
    {u"ビル名", COLUMN_BUILDING, 0},
    {u"extendedaddress", COLUMN_BUILDING, 0},
    {u"address1-extendedaddress", COLUMN_BUILDING, 0},
    {u"homestreet2", COLUMN_BUILDING, 0},
    {u"住所3", COLUMN_ADDRESS_LINE, 2},
    {u"住所4", COLUMN_ADDRESS_LINE, 3},
    {u"住所5", COLUMN_ADDRESS_LINE, 4},
    {u"会社名", COLUMN_COMPANY, 0},
    {u"会社", COLUMN_COMPANY, 0},
    {u"company", COLUMN_COMPANY, 0},
    {u"organization", COLUMN_COMPANY, 0},
    {u"organizationname", COLUMN_COMPANY, 0},
    {u"organization1-name", COLUMN_COMPANY, 0},
    {u"部署", COLUMN_DEPARTMENT, 0},
    {u"部署名", COLUMN_DEPARTMENT, 0},
    {u"department", COLUMN_DEPARTMENT, 0},
    {u"organizationdepartment", COLUMN_DEPARTMENT, 0},
    {u"organization1-department", COLUMN_DEPARTMENT, 0},
    {u"役職", COLUMN_TITLE, 0},
    {u"jobtitle", COLUMN_TITLE, 0},
    {u"organizationtitle", COLUMN_TITLE, 0},
    {u"organization1-title", COLUMN_TITLE, 0},
    {u"差出番号", COLUMN_SENDER, 0},
};

// Longest folded header looked up; longer ones are no known name.
constexpr int kFoldedCap = 32;
// Units of a header shown in the summary.
constexpr size_t kShownHeaderUnits = 32;

// Folds a header for the lookup; false when it is too long to be a name.
bool fold_header(CsvField f, char16_t (&out)[kFoldedCap]) {
    int n = 0;
    for (size_t i = 0; i < f.length; ++i) {
        char16_t u = f.text[i];
        if (u >= 0xFF01 && u <= 0xFF5E) u = static_cast<char16_t>(u - 0xFF01 + u'!');
        if (u == u' ' || u == u'\t' || u == 0x3000 || u == 0xA0 || u == u'_' || u == 0xFEFF) continue;
        if (u >= u'A' && u <= u'Z') u = static_cast<char16_t>(u - u'A' + u'a');
        if (n == kFoldedCap - 1) return false;
        out[n++] = u;
    }
    out[n] = 0;
    return true;
}

const HeaderName* find_header(CsvField f) {
    char16_t folded[kFoldedCap];
    if (!fold_header(f, folded)) return nullptr;
    for (const HeaderName& h : kHeaderNames)
        if (text_equal(folded, h.folded)) return &h;
    return nullptr;
}

int find_kind(const CsvColumns& c, CsvColumnKind kind, int line = 0) {
    for (int i = 0; i < c.count; ++i)
        if (c.kind[i] == kind && c.line[i] == line) return i;
    return -1;
}

bool same_header(CsvField a, CsvField b) {
    char16_t fa[kFoldedCap];
    char16_t fb[kFoldedCap];
    return fold_header(a, fa) && fold_header(b, fb) && text_equal(fa, fb);
}

bool is_name_or_address(CsvColumnKind kind) {
    switch (kind) {
    case COLUMN_NAME:
    case COLUMN_NAME_LINE:
    case COLUMN_FAMILY:
    case COLUMN_GIVEN:
    case COLUMN_PREFECTURE:
    case COLUMN_CITY:
    case COLUMN_STREET:
    case COLUMN_BUILDING:
    case COLUMN_ADDRESS_LINE:
        return true;
    default:
        return false;
    }
}

// A header's text as the file has it, shortened, line breaks as spaces.
void add_header(TextBuilder& b, CsvField f) {
    size_t start = 0;
    size_t end = f.length;
    while (start < end && (f.text[start] == u' ' || f.text[start] == 0x3000)) ++start;
    while (end > start && (f.text[end - 1] == u' ' || f.text[end - 1] == 0x3000)) --end;
    for (size_t i = start; i < end && i - start < kShownHeaderUnits; ++i)
        b.add_unit(f.text[i] == u'\r' || f.text[i] == u'\n' || f.text[i] == 0 ? u' ' : f.text[i]);
    if (end - start > kShownHeaderUnits) b.add(u"…");
}

// Adds the headers of the columns of the kinds (and `line`), "+" between.
void add_sources(TextBuilder& b, const CsvField* header, const CsvColumns& c,
                 const CsvColumnKind* kinds, int kind_count, int line) {
    bool first = true;
    for (int k = 0; k < kind_count; ++k)
        for (int i = 0; i < c.count; ++i) {
            if (c.kind[i] != kinds[k] || c.line[i] != line) continue;
            if (!first) b.add(u"+");
            first = false;
            add_header(b, header[i]);
        }
}

bool has_any(const CsvColumns& c, const CsvColumnKind* kinds, int kind_count, int line) {
    for (int k = 0; k < kind_count; ++k)
        if (find_kind(c, kinds[k], line) >= 0) return true;
    return false;
}

// Adds "target ← source+source" when the table has columns of the kinds.
void add_target(TextBuilder& b, const CsvField* header, const CsvColumns& c, const char16_t* target,
                const CsvColumnKind* kinds, int kind_count, int line = 0) {
    if (!has_any(c, kinds, kind_count, line)) return;
    if (b.len > 0) b.add(u"、");
    b.add(target).add(u" ← ");
    add_sources(b, header, c, kinds, kind_count, line);
}

}  // namespace

bool map_csv_header(const CsvField* fields, int count, CsvColumns& c) {
    c = CsvColumns();
    c.count = count < CSV_MAX_FIELDS ? count : CSV_MAX_FIELDS;
    int joints = 0;
    for (int i = 0; i < c.count; ++i) {
        const HeaderName* h = find_header(fields[i]);
        if (h == nullptr) continue;
        bool taken = find_kind(c, h->kind, h->line) >= 0;
        if (h->kind == COLUMN_JOINT) {
            taken = joints == ADDRESSEE_LINES - 1;
            ++joints;
        } else if (taken && (h->kind == COLUMN_STREET || h->kind == COLUMN_BUILDING)) {
            // Differently named parts are joined; a repeated name (the
            // sender's columns of the export) is not read again.
            taken = false;
            for (int j = 0; j < i && !taken; ++j)
                taken = c.kind[j] == h->kind && same_header(fields[j], fields[i]);
        }
        if (taken) continue;
        c.kind[i] = h->kind;
        c.line[i] = h->line;
    }
    // "名前" beside a family name column is the given name.
    const int family = find_kind(c, COLUMN_FAMILY);
    for (int i = 0; i < c.count; ++i) {
        if (c.kind[i] != COLUMN_NAME || family < 0 || find_kind(c, COLUMN_GIVEN) >= 0) continue;
        char16_t folded[kFoldedCap];
        if (fold_header(fields[i], folded) && text_equal(folded, u"名前")) c.kind[i] = COLUMN_GIVEN;
    }
    for (int i = 0; i < c.count; ++i)
        if (is_name_or_address(c.kind[i])) return true;
    return false;
}

void export_csv_columns(CsvColumns& c) {
    c = CsvColumns();
    c.count = 13;
    c.kind[0] = COLUMN_CARD_NUMBER;
    c.kind[1] = COLUMN_NAME;
    for (int k = 1; k < ADDRESSEE_LINES; ++k) {
        c.kind[1 + k] = COLUMN_NAME_LINE;
        c.line[1 + k] = static_cast<int8_t>(k);
    }
    c.kind[6] = COLUMN_POSTAL;
    c.kind[7] = COLUMN_STREET;
    c.kind[8] = COLUMN_BUILDING;
    for (int k = 2; k < ADDRESSEE_LINES; ++k) {
        c.kind[7 + k] = COLUMN_ADDRESS_LINE;
        c.line[7 + k] = static_cast<int8_t>(k);
    }
    c.kind[12] = COLUMN_SENDER;
}

void describe_csv_columns(const CsvField* header, const CsvColumns& c, uint64_t with_text,
                          char16_t* mapping, char16_t* unused, int cap) {
    TextBuilder m(mapping, cap);
    TextBuilder u(unused, cap);
    if (header == nullptr) {
        m.add(u"見出しの行がないため、列の順に 宛先、名前1～5、郵便番号、住所1～5、差出番号 として読みます");
        return;
    }
    static const CsvColumnKind kName[] = {COLUMN_NAME};
    static const CsvColumnKind kNameParts[] = {COLUMN_FAMILY, COLUMN_GIVEN};
    static const CsvColumnKind kAddress1[] = {COLUMN_PREFECTURE, COLUMN_CITY, COLUMN_STREET};
    static const char16_t* const kNameLines[] = {u"", u"名前2", u"名前3", u"名前4", u"名前5"};
    static const char16_t* const kAddressLines[] = {u"", u"", u"住所3", u"住所4", u"住所5"};
    const auto one = [&](const char16_t* target, CsvColumnKind kind, int line = 0) {
        add_target(m, header, c, target, &kind, 1, line);
    };
    // A whole name wins; its parts are read where it is empty.
    if (has_any(c, kName, 1, 0) && has_any(c, kNameParts, 2, 0)) {
        add_target(m, header, c, u"氏名", kName, 1);
        m.add(u"（空のときは ");
        add_sources(m, header, c, kNameParts, 2, 0);
        m.add(u"）");
    } else {
        add_target(m, header, c, u"氏名", kName, 1);
        add_target(m, header, c, u"氏名", kNameParts, 2);
    }
    for (int k = 1; k < ADDRESSEE_LINES; ++k) one(kNameLines[k], COLUMN_NAME_LINE, k);
    one(u"連名", COLUMN_JOINT);
    one(u"敬称", COLUMN_HONORIFIC);
    one(u"郵便番号", COLUMN_POSTAL);
    add_target(m, header, c, u"住所1", kAddress1, 3);
    one(u"住所2", COLUMN_BUILDING);
    for (int k = 2; k < ADDRESSEE_LINES; ++k) one(kAddressLines[k], COLUMN_ADDRESS_LINE, k);
    one(u"会社名", COLUMN_COMPANY);
    one(u"部署", COLUMN_DEPARTMENT);
    one(u"役職", COLUMN_TITLE);
    one(u"差出番号", COLUMN_SENDER);

    for (int i = 0; i < c.count; ++i) {
        if (c.kind[i] != COLUMN_UNUSED) continue;
        bool named = false;
        for (size_t k = 0; k < header[i].length && !named; ++k)
            named = header[i].text[k] != u' ' && header[i].text[k] != 0x3000;
        if (!named && (with_text >> i & 1) == 0) continue;
        if (u.len > 0) u.add(u"、");
        if (named) {
            add_header(u, header[i]);
        } else {
            u.add(u"見出しのない").add_int(i + 1).add(u"列目");
        }
    }
}

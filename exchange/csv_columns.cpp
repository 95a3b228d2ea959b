#include "exchange/csv_columns.h"

#include <cstring>
#include <string>

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
// given name beside a family name column. Address parts are listed without
// their owner ("番地", not "番地 (自宅)"; "street", not "home street").
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
    {u"都道府県", COLUMN_PREFECTURE, 0},
    {u"都道府県名", COLUMN_PREFECTURE, 0},
    {u"region", COLUMN_PREFECTURE, 0},
    {u"state", COLUMN_PREFECTURE, 0},
    {u"province", COLUMN_PREFECTURE, 0},
    {u"prefecture", COLUMN_PREFECTURE, 0},
    {u"市区町村", COLUMN_CITY, 0},
    {u"市区町村名", COLUMN_CITY, 0},
    {u"市町村", COLUMN_CITY, 0},
    {u"city", COLUMN_CITY, 0},
    {u"住所", COLUMN_STREET, 0},
    {u"住所1", COLUMN_STREET, 0},
    {u"町域", COLUMN_STREET, 0},
    {u"番地", COLUMN_STREET, 0},
    {u"番地1", COLUMN_STREET, 0},
    {u"町名番地", COLUMN_STREET, 0},
    {u"町名・番地", COLUMN_STREET, 0},
    {u"町域・番地", COLUMN_STREET, 0},
    {u"street", COLUMN_STREET, 0},
    {u"street1", COLUMN_STREET, 0},
    {u"address", COLUMN_STREET, 0},
    {u"address1", COLUMN_STREET, 0},
    {u"住所2", COLUMN_BUILDING, 0},
    {u"番地2", COLUMN_BUILDING, 0},
    {u"建物名", COLUMN_BUILDING, 0},
    {u"建物", COLUMN_BUILDING, 0},
    {u"建物名・部屋番号", COLUMN_BUILDING, 0},
    {u"マンション名", COLUMN_BUILDING, 0},
    {u"ビル名", COLUMN_BUILDING, 0},
    {u"extendedaddress", COLUMN_BUILDING, 0},
    {u"street2", COLUMN_BUILDING, 0},
    {u"address2", COLUMN_BUILDING, 0},
    {u"住所3", COLUMN_ADDRESS_LINE, 2},
    {u"番地3", COLUMN_ADDRESS_LINE, 2},
    {u"street3", COLUMN_ADDRESS_LINE, 2},
    {u"address3", COLUMN_ADDRESS_LINE, 2},
    {u"住所4", COLUMN_ADDRESS_LINE, 3},
    {u"住所5", COLUMN_ADDRESS_LINE, 4},
    {u"国", COLUMN_COUNTRY, 0},
    {u"国名", COLUMN_COUNTRY, 0},
    {u"国/地域", COLUMN_COUNTRY, 0},
    {u"国・地域", COLUMN_COUNTRY, 0},
    {u"country", COLUMN_COUNTRY, 0},
    {u"country/region", COLUMN_COUNTRY, 0},
    {u"会社名", COLUMN_COMPANY, 0},
    {u"会社", COLUMN_COMPANY, 0},
    {u"組織", COLUMN_COMPANY, 0},
    {u"company", COLUMN_COMPANY, 0},
    {u"organization", COLUMN_COMPANY, 0},
    {u"organizationname", COLUMN_COMPANY, 0},
    {u"organization1-name", COLUMN_COMPANY, 0},
    {u"部署", COLUMN_DEPARTMENT, 0},
    {u"部署名", COLUMN_DEPARTMENT, 0},
    {u"部門", COLUMN_DEPARTMENT, 0},
    {u"department", COLUMN_DEPARTMENT, 0},
    {u"organizationdepartment", COLUMN_DEPARTMENT, 0},
    {u"organization1-department", COLUMN_DEPARTMENT, 0},
    {u"役職", COLUMN_TITLE, 0},
    {u"jobtitle", COLUMN_TITLE, 0},
    {u"organizationtitle", COLUMN_TITLE, 0},
    {u"organization1-title", COLUMN_TITLE, 0},
    {u"差出番号", COLUMN_SENDER, 0},
};

// Words that mark a column as the reading of a name (or of a company).
const char16_t* const kReadingMarks[] = {u"フリガナ", u"ふりがな", u"ﾌﾘｶﾞﾅ", u"よみ", u"ヨミ", u"ﾖﾐ",
                                         u"読み",     u"カナ",     u"かな",   u"ｶﾅ",  u"yomi", u"phonetic",
                                         u"furigana", u"kana"};

struct Owner {
    const char16_t* folded;
    AddressGroup group;
};
// Owners written in brackets anywhere in the header ("番地 (自宅) 2").
const Owner kBracketOwners[] = {
    {u"(自宅)", ADDRESS_HOME},   {u"(会社)", ADDRESS_WORK},   {u"(勤務先)", ADDRESS_WORK},
    {u"(仕事)", ADDRESS_WORK},   {u"(その他)", ADDRESS_OTHER}, {u"(home)", ADDRESS_HOME},
    {u"(work)", ADDRESS_WORK},   {u"(business)", ADDRESS_WORK}, {u"(other)", ADDRESS_OTHER},
};
// Owners written in front ("自宅の市町村", "Home Street").
const Owner kLeadingOwners[] = {
    {u"自宅の", ADDRESS_HOME},   {u"自宅", ADDRESS_HOME},     {u"勤務先の", ADDRESS_WORK},
    {u"勤務先", ADDRESS_WORK},   {u"会社の", ADDRESS_WORK},   {u"会社", ADDRESS_WORK},
    {u"仕事の", ADDRESS_WORK},   {u"その他の", ADDRESS_OTHER}, {u"home", ADDRESS_HOME},
    {u"work", ADDRESS_WORK},     {u"business", ADDRESS_WORK}, {u"office", ADDRESS_WORK},
    {u"other", ADDRESS_OTHER},
};

// Longest folded header looked up; longer ones are no known name.
constexpr int kFoldedCap = 48;
// Units of a header shown in the summary.
constexpr size_t kShownHeaderUnits = 32;
// Units of the list of unused columns; further ones are only counted.
constexpr int kUnusedShownUnits = 480;

using Folded = std::u16string;

// Folds a header for the lookup; false when it is too long to be a name.
bool fold_header(CsvField f, Folded& out) {
    out.clear();
    for (size_t i = 0; i < f.length; ++i) {
        char16_t u = f.text[i];
        if (u >= 0xFF01 && u <= 0xFF5E) u = static_cast<char16_t>(u - 0xFF01 + u'!');
        if (u == u' ' || u == u'\t' || u == 0x3000 || u == 0xA0 || u == u'_' || u == 0xFEFF) continue;
        if (u >= u'A' && u <= u'Z') u = static_cast<char16_t>(u - u'A' + u'a');
        if (out.size() == kFoldedCap - 1) return false;
        out += u;
    }
    return true;
}

const HeaderName* find_name(const Folded& folded) {
    for (const HeaderName& h : kHeaderNames)
        if (folded == h.folded) return &h;
    return nullptr;
}

struct HeaderMatch {
    CsvColumnKind kind = COLUMN_UNUSED;
    int8_t line = 0;
    AddressGroup group = ADDRESS_PLAIN;
};

// An address part under an owner: the folded header without the owner.
bool owned_part(const Folded& rest, AddressGroup group, HeaderMatch& m) {
    const HeaderName* h = find_name(rest);
    if (h == nullptr || !is_address_part(h->kind)) return false;
    m.kind = h->kind;
    m.line = h->line;
    m.group = group;
    return true;
}

HeaderMatch match_header(CsvField f) {
    HeaderMatch m;
    Folded folded;
    if (!fold_header(f, folded) || folded.empty()) return m;
    for (const char16_t* mark : kReadingMarks)
        if (folded.find(mark) != Folded::npos) {
            m.kind = COLUMN_READING;
            return m;
        }
    if (const HeaderName* h = find_name(folded)) {
        m.kind = h->kind;
        m.line = h->line;
        return m;
    }
    for (const Owner& o : kBracketOwners) {
        const size_t at = folded.find(o.folded);
        if (at == Folded::npos) continue;
        Folded rest = folded;
        rest.erase(at, Folded(o.folded).size());
        if (owned_part(rest, o.group, m)) return m;
    }
    for (const Owner& o : kLeadingOwners) {
        const Folded owner(o.folded);
        if (folded.compare(0, owner.size(), owner) == 0 &&
            owned_part(folded.substr(owner.size()), o.group, m))
            return m;
    }
    // Google's "Address 1 - Street", "Address 2 - City": the first address
    // is read first, the others when it is empty.
    const Folded google = u"address";
    size_t digits = google.size();
    while (digits < folded.size() && folded[digits] >= u'0' && folded[digits] <= u'9') ++digits;
    if (folded.compare(0, google.size(), google) == 0 && digits > google.size() &&
        digits < folded.size() && folded[digits] == u'-') {
        const bool first = folded.compare(google.size(), digits - google.size(), u"1") == 0;
        owned_part(folded.substr(digits + 1), first ? ADDRESS_PLAIN : ADDRESS_OTHER, m);
    }
    return m;
}

int find_kind(const CsvColumns& c, CsvColumnKind kind, int line = 0, AddressGroup group = ADDRESS_PLAIN) {
    for (int i = 0; i < c.count; ++i)
        if (c.kind[i] == kind && c.line[i] == line && c.group[i] == group) return i;
    return -1;
}

bool same_header(CsvField a, CsvField b) {
    Folded fa;
    Folded fb;
    return fold_header(a, fa) && fold_header(b, fb) && fa == fb;
}

bool is_blank_header(CsvField f) {
    for (size_t k = 0; k < f.length; ++k)
        if (f.text[k] != u' ' && f.text[k] != 0x3000 && f.text[k] != u'\t') return false;
    return true;
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

// Kinds whose header cell may stand over several columns.
bool takes_nameless_columns(CsvColumnKind kind) {
    return kind == COLUMN_NAME || (is_name_or_address(kind) && kind != COLUMN_NAME_LINE &&
                                   kind != COLUMN_FAMILY && kind != COLUMN_GIVEN);
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

// Adds the headers of the columns of the kinds (and `line`, `group`), "+"
// between; the nameless columns with text joined to one as "+N列".
void add_sources(TextBuilder& b, const CsvField* header, const CsvColumns& c, const CsvColumnSet& with_text,
                 const CsvColumnKind* kinds, int kind_count, int line, AddressGroup group) {
    bool first = true;
    for (int k = 0; k < kind_count; ++k)
        for (int i = 0; i < c.count; ++i) {
            if (c.kind[i] != kinds[k] || c.line[i] != line || c.group[i] != group || c.joined[i]) continue;
            if (!first) b.add(u"+");
            first = false;
            add_header(b, header[i]);
            int joined = 0;
            for (int j = i + 1; j < c.count && c.joined[j]; ++j) joined += with_text[static_cast<size_t>(j)];
            if (joined > 0) b.add(u"+").add_int(joined).add(u"列");
        }
}

bool has_any(const CsvColumns& c, const CsvColumnKind* kinds, int kind_count, int line,
             AddressGroup group = ADDRESS_PLAIN) {
    for (int k = 0; k < kind_count; ++k)
        if (find_kind(c, kinds[k], line, group) >= 0) return true;
    return false;
}

}  // namespace

bool is_address_part(CsvColumnKind kind) {
    switch (kind) {
    case COLUMN_POSTAL:
    case COLUMN_PREFECTURE:
    case COLUMN_CITY:
    case COLUMN_STREET:
    case COLUMN_BUILDING:
    case COLUMN_ADDRESS_LINE:
    case COLUMN_COUNTRY:
        return true;
    default:
        return false;
    }
}

bool map_csv_header(const CsvField* fields, int count, CsvColumns& c) {
    c = CsvColumns();
    c.count = count < CSV_MAX_FIELDS ? count : CSV_MAX_FIELDS;
    int joints = 0;
    for (int i = 0; i < c.count; ++i) {
        const HeaderMatch h = match_header(fields[i]);
        if (h.kind == COLUMN_UNUSED) continue;
        bool taken = h.kind != COLUMN_READING && find_kind(c, h.kind, h.line, h.group) >= 0;
        if (h.kind == COLUMN_JOINT) {
            taken = joints == ADDRESSEE_LINES - 1;
            ++joints;
        } else if (taken && (h.kind == COLUMN_STREET || h.kind == COLUMN_BUILDING)) {
            // Differently named parts are joined; a repeated name (the
            // sender's columns of the export) is not read again.
            taken = false;
            for (int j = 0; j < i && !taken; ++j)
                taken = c.kind[j] == h.kind && c.group[j] == h.group && same_header(fields[j], fields[i]);
        }
        if (taken) continue;
        c.kind[i] = h.kind;
        c.line[i] = h.line;
        c.group[i] = h.group;
    }
    // "名前" beside a family name column is the given name.
    const int family = find_kind(c, COLUMN_FAMILY);
    for (int i = 0; i < c.count; ++i) {
        if (c.kind[i] != COLUMN_NAME || family < 0 || find_kind(c, COLUMN_GIVEN) >= 0) continue;
        Folded folded;
        if (fold_header(fields[i], folded) && folded == u"名前") c.kind[i] = COLUMN_GIVEN;
    }
    c.own_export = find_kind(c, COLUMN_CARD_NUMBER) >= 0;
    bool found = false;
    for (int i = 0; i < c.count; ++i) found = found || is_name_or_address(c.kind[i]);
    if (c.own_export) return found;
    // A header cell over several columns: the nameless columns on its right,
    // up to the next named one (or the end of the rows), belong to it.
    const int named = c.count;
    for (int i = 0; i < named; ++i) {
        if (!takes_nameless_columns(c.kind[i])) continue;
        int j = i + 1;
        for (; j < CSV_MAX_FIELDS && (j >= named || is_blank_header(fields[j])); ++j) {
            c.kind[j] = c.kind[i];
            c.line[j] = c.line[i];
            c.group[j] = c.group[i];
            c.joined[j] = true;
        }
        if (j > c.count) c.count = j;
        i = j - 1;
    }
    return found;
}

void export_csv_columns(CsvColumns& c) {
    c = CsvColumns();
    c.count = 13;
    c.own_export = true;
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

void describe_csv_columns(const CsvField* header, const CsvColumns& c, const CsvColumnSet& with_text,
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
    static const CsvColumnKind kAddressParts[] = {COLUMN_POSTAL,   COLUMN_PREFECTURE,   COLUMN_CITY,
                                                  COLUMN_STREET,   COLUMN_BUILDING,     COLUMN_COUNTRY};
    static const char16_t* const kNameLines[] = {u"", u"名前2", u"名前3", u"名前4", u"名前5"};
    static const char16_t* const kAddressLines[] = {u"", u"", u"住所3", u"住所4", u"住所5"};
    // Adds "target ← source+source" when the table has columns of the kinds.
    const auto target = [&](const char16_t* name, const CsvColumnKind* kinds, int kind_count, int line = 0,
                            AddressGroup group = ADDRESS_PLAIN) {
        if (!has_any(c, kinds, kind_count, line, group)) return;
        if (m.len > 0) m.add(u"、");
        m.add(name).add(u" ← ");
        add_sources(m, header, c, with_text, kinds, kind_count, line, group);
    };
    const auto one = [&](const char16_t* name, CsvColumnKind kind, int line = 0,
                         AddressGroup group = ADDRESS_PLAIN) { target(name, &kind, 1, line, group); };
    // A whole name wins; its parts are read where it is empty.
    if (has_any(c, kName, 1, 0) && has_any(c, kNameParts, 2, 0)) {
        target(u"氏名", kName, 1);
        m.add(u"（空のときは ");
        add_sources(m, header, c, with_text, kNameParts, 2, 0, ADDRESS_PLAIN);
        m.add(u"）");
    } else {
        target(u"氏名", kName, 1);
        target(u"氏名", kNameParts, 2);
    }
    for (int k = 1; k < ADDRESSEE_LINES; ++k) one(kNameLines[k], COLUMN_NAME_LINE, k);
    one(u"連名", COLUMN_JOINT);
    one(u"敬称", COLUMN_HONORIFIC);
    // The address of the first owner the table has; the others are read
    // where it is empty.
    bool shown = false;
    bool fallback = false;
    for (int g = ADDRESS_PLAIN; g < ADDRESS_GROUPS; ++g) {
        const AddressGroup group = static_cast<AddressGroup>(g);
        bool any = has_any(c, kAddressParts, 6, 0, group);
        for (int k = 2; k < ADDRESSEE_LINES; ++k)
            any = any || find_kind(c, COLUMN_ADDRESS_LINE, k, group) >= 0;
        if (!any) continue;
        if (shown) {
            m.add(m.len > 0 ? u"、" : u"").add(fallback ? u"次に " : u"住所が空のときは ");
            fallback = true;
            for (int i = 0; i < c.count; ++i)
                if (c.group[i] == group && is_address_part(c.kind[i])) {
                    add_header(m, header[i]);
                    break;
                }
            m.add(u" などの列");
            continue;
        }
        shown = true;
        one(u"郵便番号", COLUMN_POSTAL, 0, group);
        target(u"住所1", kAddress1, 3, 0, group);
        one(u"住所2", COLUMN_BUILDING, 0, group);
        for (int k = 2; k < ADDRESSEE_LINES; ++k) one(kAddressLines[k], COLUMN_ADDRESS_LINE, k, group);
        one(u"国", COLUMN_COUNTRY, 0, group);
    }
    one(u"会社名", COLUMN_COMPANY);
    one(u"部署", COLUMN_DEPARTMENT);
    one(u"役職", COLUMN_TITLE);
    one(u"差出番号", COLUMN_SENDER);

    int more = 0;  // columns not named for want of room
    for (int i = 0; i < c.count; ++i) {
        if (c.kind[i] != COLUMN_UNUSED && c.kind[i] != COLUMN_READING) continue;
        const bool named = !is_blank_header(header[i]);
        if (!named && !with_text[static_cast<size_t>(i)]) continue;
        if (u.len >= kUnusedShownUnits) {
            ++more;
            continue;
        }
        if (u.len > 0) u.add(u"、");
        if (named) {
            add_header(u, header[i]);
        } else {
            u.add(u"見出しのない").add_int(i + 1).add(u"列目");
        }
    }
    if (more > 0) u.add(u"、ほか").add_int(more).add(u"列");
}

void list_csv_headers(const CsvField* header, int count, char16_t* out, int cap) {
    TextBuilder b(out, cap);
    for (int i = 0; i < count; ++i) {
        if (is_blank_header(header[i])) continue;
        if (b.len > 0) b.add(u"、");
        add_header(b, header[i]);
    }
}

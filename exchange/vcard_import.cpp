#include "exchange/vcard_import.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "exchange/charset_decode.h"
#include "exchange/csv_decode.h"
#include "exchange/csv_import.h"
#include "exchange/import_address.h"
#include "model/text.h"

namespace {

constexpr const char16_t* kCaption = u"vCardから読込";
constexpr char16_t kFullWidthSpace = 0x3000;

// The parts of an ADR value, in their order.
enum { ADR_PO_BOX, ADR_EXTENDED, ADR_STREET, ADR_LOCALITY, ADR_REGION, ADR_POSTAL, ADR_COUNTRY, ADR_PARTS };

// Properties that say nothing a user would miss on a card, or are read.
const char* const kTechnical[] = {"BEGIN", "END", "VERSION", "PRODID", "REV", "UID", "N", "FN",
                                  "ADR", "ORG", "LABEL"};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upper_text(const std::string& s) {
    std::string out(s);
    for (char& c : out) c = upper(c);
    return out;
}

// Where a content line's name and parameters end: its first colon outside
// a quoted parameter value; npos when it has none.
size_t value_colon(const std::string& line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ':' && !quoted) return i;
    }
    return std::string::npos;
}

// Splits `s` at `separator` outside double quotes.
std::vector<std::string> split_outside_quotes(const std::string& s, char separator) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (char c : s) {
        if (c == '"') quoted = !quoted;
        if (c == separator && !quoted) {
            out.emplace_back();
            continue;
        }
        out.back() += c;
    }
    return out;
}

// A parameter value: its quotes taken off and its ^n, ^^ and ^' escapes
// undone.
std::string param_value(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"') continue;
        if (s[i] == '^' && i + 1 < s.size() && s[i + 1] != '\0' && std::strchr("nN^'", s[i + 1]) != nullptr) {
            ++i;
            out += s[i] == '^' ? '^' : s[i] == '\'' ? '"' : '\n';
            continue;
        }
        out += s[i];
    }
    return out;
}

struct Property {
    std::string name;                // upper case, without its group
    std::vector<std::string> types;  // TYPE values and bare parameters, upper case
    std::string charset;             // upper case
    bool quoted_printable = false;
    std::string label;               // the LABEL parameter of an ADR, as written
    std::string value;               // the bytes behind the colon
};

bool is_type(const Property& p, const char* type) {
    for (const std::string& t : p.types)
        if (t == type) return true;
    return false;
}

bool parse_property(const std::string& line, Property& p) {
    const size_t colon = value_colon(line);
    if (colon == std::string::npos) return false;
    p = Property();
    const std::vector<std::string> head = split_outside_quotes(line.substr(0, colon), ';');
    p.name = upper_text(head[0]);
    const size_t dot = p.name.rfind('.');
    if (dot != std::string::npos) p.name.erase(0, dot + 1);
    for (size_t k = 1; k < head.size(); ++k) {
        const std::string& param = head[k];
        const size_t eq = param.find('=');
        const size_t quote = param.find('"');
        if (eq == std::string::npos || (quote != std::string::npos && quote < eq)) {
            const std::string bare = upper_text(param_value(param));
            if (bare == "QUOTED-PRINTABLE") p.quoted_printable = true;
            p.types.push_back(bare);
            continue;
        }
        const std::string name = upper_text(param.substr(0, eq));
        const std::string value = param.substr(eq + 1);
        if (name == "CHARSET") {
            p.charset = upper_text(param_value(value));
        } else if (name == "ENCODING") {
            p.quoted_printable = p.quoted_printable || upper_text(param_value(value)) == "QUOTED-PRINTABLE";
        } else if (name == "LABEL") {
            p.label = param_value(value);
        } else if (name == "TYPE") {
            // TYPE=home,pref and TYPE="home,pref" alike.
            for (const std::string& t : split_outside_quotes(param_value(value), ','))
                p.types.push_back(upper_text(t));
        }
    }
    p.value = line.substr(colon + 1);
    return true;
}

// Splits the bytes into the logical lines of the file: a line that starts
// with a space or a tab continues the line before it without that unit, and
// a quoted-printable value that ends with "=" goes on on the next line.
class LineReader {
public:
    LineReader(const unsigned char* p, size_t n) : p_(p), end_(p + n) {}

    bool next(std::string& line) {
        line.clear();
        if (p_ == end_) return false;
        physical(line);
        Property head;
        const bool quoted_printable = parse_property(line, head) && head.quoted_printable;
        for (;;) {
            if (quoted_printable && !line.empty() && line.back() == '=' && p_ != end_) {
                line.pop_back();
                physical(line);
            } else if (p_ != end_ && (*p_ == ' ' || *p_ == '\t')) {
                ++p_;
                physical(line);
            } else {
                return true;
            }
        }
    }

private:
    // Appends the rest of the current physical line, without its end (the
    // CRs before its LF too: some tools write CR CR LF).
    void physical(std::string& line) {
        const unsigned char* start = p_;
        while (p_ != end_ && *p_ != '\n') ++p_;
        const unsigned char* stop = p_;
        while (stop != start && stop[-1] == '\r') --stop;
        line.append(reinterpret_cast<const char*>(start), static_cast<size_t>(stop - start));
        if (p_ != end_) ++p_;
    }

    const unsigned char* p_;
    const unsigned char* end_;
};

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string quoted_printable(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '=' && i + 2 < s.size() && hex_digit(s[i + 1]) >= 0 && hex_digit(s[i + 2]) >= 0) {
            out += static_cast<char>(hex_digit(s[i + 1]) << 4 | hex_digit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// What decoding the values found.
struct ValueCounts {
    int* garbled;
    int guessed = 0;  // values without a charset that were no UTF-8, read as code page 932
};

// The text of some bytes of a value: in the declared charset, else as
// undeclared bytes are read.
std::u16string decode_value(const std::string& charset, const std::string& bytes, ValueCounts& counts) {
    std::u16string text;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data());
    if (!charset.empty() && decode_charset(charset, b, bytes.size(), text, counts.garbled)) return text;
    text.clear();
    bool cp932 = false;
    decode_undeclared(b, bytes.size(), text, counts.garbled, &cp932);
    if (cp932) ++counts.guessed;
    if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
    return text;
}

std::u16string value_text(const Property& p, ValueCounts& counts) {
    return decode_value(p.charset, p.quoted_printable ? quoted_printable(p.value) : p.value, counts);
}

// The parts of a structured value (N, ADR, ORG), split at the semicolons
// that are no "\;", with the escapes undone.
std::vector<std::u16string> parts(const std::u16string& value) {
    std::vector<std::u16string> out(1);
    for (size_t i = 0; i < value.size(); ++i) {
        char16_t u = value[i];
        if (u == u';') {
            out.emplace_back();
            continue;
        }
        if (u == u'\\' && i + 1 < value.size()) {
            u = value[++i];
            if (u == u'n' || u == u'N') u = u'\n';
        }
        out.back() += u;
    }
    return out;
}

// A text value with its escapes undone ("\n" a line break).
std::u16string unescaped(const std::u16string& value) {
    const std::vector<std::u16string> pieces = parts(value);
    std::u16string text = pieces[0];
    for (size_t k = 1; k < pieces.size(); ++k) text += u';' + pieces[k];
    return text;
}

bool is_blank(char16_t u) { return u == u' ' || u == u'\t' || u == kFullWidthSpace; }

std::u16string part(const std::vector<std::u16string>& v, size_t i) {
    if (i >= v.size()) return u"";
    std::u16string s = v[i];
    while (!s.empty() && (is_blank(s.back()) || s.back() == u'\r' || s.back() == u'\n')) s.pop_back();
    size_t start = 0;
    while (start < s.size() && is_blank(s[start])) ++start;
    return s.substr(start);
}

// The lines of a text: its line breaks (CR LF, CR, LF) split it.
std::vector<std::u16string> text_lines(const std::u16string& text) {
    std::vector<std::u16string> out(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out.emplace_back();
            continue;
        }
        out.back() += text[i];
    }
    return out;
}

struct Address {
    std::vector<std::u16string> parts;
    bool home;
};

struct Label {
    std::u16string text;
    bool home;
};

struct Contact {
    std::vector<std::u16string> name;  // N
    std::u16string formatted;          // FN
    std::vector<Address> addresses;    // the ADRs with text
    std::vector<Label> labels;         // LABELs, and the LABEL parameters of empty ADRs
    std::vector<std::vector<std::u16string>> organizations;
};

bool has_text(const std::vector<std::u16string>& adr) {
    for (int k = ADR_PO_BOX; k < ADR_PARTS; ++k)
        if (!part(adr, static_cast<size_t>(k)).empty() && k != ADR_COUNTRY) return true;
    return false;
}

// The home entry of a list, else its first; nullptr when it is empty.
template <typename T>
const T* chosen(const std::vector<T>& list) {
    for (const T& entry : list)
        if (entry.home) return &entry;
    return list.empty() ? nullptr : &list[0];
}

void add(ImportText& t, const std::u16string& s) { t.add(s.data(), s.size()); }

// Keeps the contact as an addressee; false when it has no address.
// *unchosen counts the further addresses it had.
bool read_contact(const Contact& c, AddresseeImport& import, int* unchosen) {
    AddressParts address;
    const Address* adr = chosen(c.addresses);
    const Label* label = chosen(c.labels);
    if (adr != nullptr) {
        const std::vector<std::u16string>& v = adr->parts;
        address.extended.push_back(part(v, ADR_EXTENDED));
        address.street.push_back(part(v, ADR_PO_BOX));
        address.street.push_back(part(v, ADR_STREET));
        address.locality.push_back(part(v, ADR_LOCALITY));
        address.region.push_back(part(v, ADR_REGION));
        address.postal = part(v, ADR_POSTAL);
        address.country = part(v, ADR_COUNTRY);
        *unchosen += static_cast<int>(c.addresses.size()) - 1;
    } else if (label != nullptr) {
        for (const std::u16string& line : text_lines(label->text)) address.lines.push_back(part({line}, 0));
    }
    if (address.empty()) return false;
    ImportedAddressee a;
    std::memset(&a, 0, sizeof a);
    ImportText name;
    add(name, person_name(part(c.name, 0), part(c.name, 1)));
    if (name.empty()) add(name, part({c.formatted}, 0));
    int cuts = store_import_text(a.names[0], name);
    bool postal_in_text = false;
    cuts += put_address(address, a, &postal_in_text);
    // Each organization: its name, then its units on the next line.
    int next = next_free_line(a.address);
    for (const std::vector<std::u16string>& org : c.organizations) {
        cuts += store_wrapped(a.address, next, part(org, 0));
        std::u16string units;
        for (size_t k = 1; k < org.size(); ++k) {
            const std::u16string unit = part(org, k);
            if (unit.empty()) continue;
            if (!units.empty()) units += latin_text(unit) && latin_text(units) ? u' ' : kFullWidthSpace;
            units += unit;
        }
        cuts += store_wrapped(a.address, next, units);
    }
    keep_imported(import, a, cuts, postal_in_text);
    return true;
}

bool is_technical(const std::string& name) {
    for (const char* t : kTechnical)
        if (name == t) return true;
    return false;
}

// Adds a property the import does not read to the list, once.
void note_unused(const std::string& name, std::vector<std::string>& unused) {
    if (name.empty() || is_technical(name)) return;
    for (const std::string& u : unused)
        if (u == name) return;
    unused.push_back(name);
}

// A UTF-16 file's text as UTF-8 bytes, read like any other file.
std::string utf16_as_utf8(const unsigned char* bytes, size_t count) {
    std::u16string text;
    store_csv_bytes(bytes, count, text);
    decode_csv_file(text, count);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c == 0xFEFF && i == 0) continue;
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

int read_vcard_addressees(const unsigned char* bytes, size_t count, AddresseeImport& import) {
    import.addressees.clear();
    import.addressees.reserve(HDATA_MAX);
    std::string converted;
    if (utf16_by_evidence(bytes, count) != 0) {
        converted = utf16_as_utf8(bytes, count);
        bytes = reinterpret_cast<const unsigned char*>(converted.data());
        count = converted.size();
    }
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) bytes += 3, count -= 3;
    LineReader reader(bytes, count);
    std::string line;
    Property p;
    Contact contact;
    ValueCounts counts{&import.garbled};
    bool inside = false;
    int nested = 0;  // vCards inside the contact (an AGENT's): skipped
    int contacts = 0;
    int without_address = 0;
    int unchosen = 0;
    std::vector<std::string> unused;
    const auto finish = [&] {
        ++contacts;
        if (!read_contact(contact, import, &unchosen)) ++without_address;
        inside = false;
    };
    while (reader.next(line)) {
        if (!parse_property(line, p)) continue;
        const bool begins = p.name == "BEGIN" && upper_text(p.value).compare(0, 5, "VCARD") == 0;
        if (begins && !inside) {
            contact = Contact();
            inside = true;
            continue;
        }
        if (!inside) continue;
        if (begins || nested > 0) {
            nested += begins ? 1 : p.name == "END" ? -1 : 0;
            continue;
        }
        if (p.name == "END") {
            finish();
        } else if (p.name == "N") {
            contact.name = parts(value_text(p, counts));
        } else if (p.name == "FN") {
            contact.formatted = value_text(p, counts);
        } else if (p.name == "ADR") {
            const bool home = is_type(p, "HOME");
            std::vector<std::u16string> adr = parts(value_text(p, counts));
            if (has_text(adr)) {
                contact.addresses.push_back(Address{adr, home});
            } else if (!p.label.empty()) {
                contact.labels.push_back(Label{unescaped(decode_value(p.charset, p.label, counts)), home});
            }
        } else if (p.name == "LABEL") {
            contact.labels.push_back(Label{unescaped(value_text(p, counts)), is_type(p, "HOME")});
        } else if (p.name == "ORG") {
            contact.organizations.push_back(parts(value_text(p, counts)));
        } else {
            note_unused(p.name, unused);
        }
    }
    // A file cut off inside its last contact still gives what it holds.
    if (inside) finish();

    TextBuilder(import.mapping, IMPORT_TEXT_CAP)
        .add(u"氏名 ← N（姓+名。空のときは FN）、郵便番号 ← ADRの郵便番号、"
             u"住所1 ← ADRの都道府県+市区町村+番地、住所2 ← ADRの建物名、国 ← ADRの国（日本は入れません）、"
             u"会社名 ← ORG、ADRがないときの住所 ← LABEL");
    TextBuilder names(import.unused, IMPORT_TEXT_CAP);
    for (const std::string& name : unused) {
        if (names.len > 0) names.add(u"、");
        for (char c : name) names.add_unit(static_cast<unsigned char>(c));
    }
    if (unchosen > 0) {
        if (names.len > 0) names.add(u"、");
        names.add(u"ADR（自宅でも最初でもない住所 ").add_int(unchosen).add(u"件）");
    }
    TextBuilder notes(import.notes, IMPORT_TEXT_CAP);
    if (without_address > 0)
        notes.add(u"・住所のない連絡先 ").add_int(without_address).add(u"件は読み込みません\r\n");
    if (counts.guessed > 0)
        notes.add(u"・文字コードの書かれていない、UTF-8でない値 ")
            .add_int(counts.guessed)
            .add(u"件をShift_JISとして読みました\r\n");
    return contacts;
}

int import_vcard(WindowHandle owner) {
    Document& d = doc();
    if (d.work_dir[0] != 0) platform().set_current_directory(d.work_dir);

    platform().show_wait_window(owner);
    std::u16string file;
    AddresseeImport import;
    size_t bytes = 0;
    const bool read = read_csv_file(d.chosen_file, file, &bytes);
    const int contacts =
        read ? read_vcard_addressees(reinterpret_cast<const unsigned char*>(file.data()), bytes, import)
             : 0;
    platform().close_wait_window();

    const char16_t* problem = !read ? u"%sのファイルが読み込めません。"
                              : contacts == 0 ? u"%sには連絡先(vCard)がありません。"
                              : import.addressees.empty() ? u"%sには住所のある連絡先がありません。"
                                                          : nullptr;
    if (problem != nullptr) {
        char16_t message[PATH_CAP + 96];
        format_with_text(message, sizeof message / sizeof message[0], problem, d.chosen_file);
        platform().message_box(owner, message, kCaption, kButtonsOk | kIconWarning);
        return VCARD_IMPORT_FAILED;
    }
    return offer_import(owner, kCaption, d.chosen_file, import) == IMPORT_CANCELLED
               ? VCARD_IMPORT_DECLINED
               : VCARD_IMPORTED;
}

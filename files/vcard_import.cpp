#include "files/vcard_import.h"

#include <cstring>
#include <string>
#include <vector>

#include "files/csv_decode.h"
#include "files/csv_import.h"
#include "model/text.h"

namespace {

constexpr const char16_t* kCaption = u"vCardから読込";
constexpr char16_t kFullWidthSpace = 0x3000;
constexpr unsigned kShiftJisCodePage = 932;

// The parts of an ADR value, in their order.
enum { ADR_PO_BOX, ADR_EXTENDED, ADR_STREET, ADR_LOCALITY, ADR_REGION, ADR_POSTAL, ADR_PARTS };

// Properties that say nothing a user would miss on a card.
const char* const kTechnical[] = {"BEGIN", "END", "VERSION", "PRODID", "REV", "UID", "N", "FN",
                                  "ADR", "ORG"};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upper_text(const std::string& s) {
    std::string out(s);
    for (char& c : out) c = upper(c);
    return out;
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
        const bool quoted_printable =
            upper_text(line.substr(0, line.find(':'))).find("QUOTED-PRINTABLE") != std::string::npos;
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
    // Appends the rest of the current physical line, without its end.
    void physical(std::string& line) {
        const unsigned char* start = p_;
        while (p_ != end_ && *p_ != '\n') ++p_;
        const unsigned char* stop = p_;
        if (stop != start && stop[-1] == '\r') --stop;
        line.append(reinterpret_cast<const char*>(start), static_cast<size_t>(stop - start));
        if (p_ != end_) ++p_;
    }

    const unsigned char* p_;
    const unsigned char* end_;
};

struct Property {
    std::string name;    // upper case, without its group
    std::string params;  // upper case, as written
    std::string value;   // the bytes behind the colon
};

bool parse_property(const std::string& line, Property& p) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return false;
    const std::string head = upper_text(line.substr(0, colon));
    const size_t semicolon = head.find(';');
    p.name = head.substr(0, semicolon);
    const size_t dot = p.name.rfind('.');
    if (dot != std::string::npos) p.name.erase(0, dot + 1);
    p.params = semicolon == std::string::npos ? "" : head.substr(semicolon + 1);
    p.value = line.substr(colon + 1);
    return true;
}

// True when a parameter or a type of the list is `word` ("TYPE=HOME",
// "HOME", "TYPE=home,pref", "TYPE=\"home\"").
bool has_param(const std::string& params, const char* word) {
    const size_t n = std::strlen(word);
    for (size_t at = params.find(word); at != std::string::npos; at = params.find(word, at + 1)) {
        const bool starts = at == 0 || std::strchr(";,=\"", params[at - 1]) != nullptr;
        const bool ends = at + n == params.size() || std::strchr(";,\"", params[at + n]) != nullptr;
        if (starts && ends) return true;
    }
    return false;
}

bool shift_jis_charset(const std::string& params) {
    return has_param(params, "CHARSET=SHIFT_JIS") || has_param(params, "CHARSET=SHIFT-JIS") ||
           has_param(params, "CHARSET=SJIS") || has_param(params, "CHARSET=CP932") ||
           has_param(params, "CHARSET=WINDOWS-31J") || has_param(params, "CHARSET=MS_KANJI");
}

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

// The text of a value: quoted-printable undone, then Shift_JIS when the
// charset says so, else UTF-8 (or what the bytes show, as for a CSV file).
std::u16string value_text(const Property& p, int* garbled) {
    const std::string bytes =
        has_param(p.params, "QUOTED-PRINTABLE") || has_param(p.params, "ENCODING=QUOTED-PRINTABLE")
            ? quoted_printable(p.value)
            : p.value;
    std::u16string text;
    if (shift_jis_charset(p.params) && !bytes.empty()) {
        text.resize(bytes.size());
        const int units = platform().decode_code_page(kShiftJisCodePage, bytes.data(), bytes.size(),
                                                      &text[0], text.size());
        if (units >= 0) {
            text.resize(static_cast<size_t>(units));
            return text;
        }
    }
    int bad = 0;
    store_csv_bytes(bytes.data(), bytes.size(), text);
    decode_csv_file(text, bytes.size(), &bad);
    if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
    *garbled += bad;
    return text;
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

std::u16string part(const std::vector<std::u16string>& v, size_t i) {
    if (i >= v.size()) return u"";
    std::u16string s = v[i];
    const auto blank = [](char16_t u) { return u == u' ' || u == u'\t' || u == kFullWidthSpace; };
    while (!s.empty() && blank(s.back())) s.pop_back();
    size_t start = 0;
    while (start < s.size() && blank(s[start])) ++start;
    return s.substr(start);
}

struct Contact {
    std::vector<std::u16string> name;  // N
    std::u16string formatted;          // FN
    std::vector<std::u16string> address;
    bool home_address = false;
    std::vector<std::u16string> organization;
};

void add(ImportText& t, const std::u16string& s) { t.add(s.data(), s.size()); }

// Keeps the contact as an addressee; false when it has no address.
bool read_contact(const Contact& c, AddresseeImport& import) {
    std::u16string street[ADR_PARTS];
    bool any = false;
    for (int k = 0; k < ADR_PARTS; ++k) {
        street[k] = part(c.address, static_cast<size_t>(k));
        any = any || (k != ADR_PO_BOX && !street[k].empty());
    }
    if (!any) return false;
    ImportedAddressee a;
    std::memset(&a, 0, sizeof a);
    ImportText name;
    const std::u16string family = part(c.name, 0);
    const std::u16string given = part(c.name, 1);
    add(name, family);
    if (!family.empty() && !given.empty()) name.add_unit(kFullWidthSpace);
    add(name, given);
    if (name.empty()) add(name, part({c.formatted}, 0));
    int cuts = store_import_text(a.names[0], name);
    ImportText first;
    add(first, street[ADR_REGION]);
    add(first, street[ADR_LOCALITY]);
    add(first, street[ADR_STREET]);
    cuts += store_import_text(a.address[0], first);
    ImportText second;
    add(second, street[ADR_EXTENDED]);
    cuts += store_import_text(a.address[1], second);
    int next = next_free_line(a.address);
    for (size_t k = 0; k < 2; ++k) {
        ImportText line;
        add(line, part(c.organization, k));
        cuts += store_on_next_line(a.address, next, line);
    }
    cuts += store_postal_digits(a.postal, street[ADR_POSTAL].data(), street[ADR_POSTAL].size());
    keep_imported(import, a, cuts);
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

}  // namespace

int read_vcard_addressees(const unsigned char* bytes, size_t count, AddresseeImport& import) {
    import.addressees.clear();
    import.addressees.reserve(HDATA_MAX);
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) bytes += 3, count -= 3;
    LineReader reader(bytes, count);
    std::string line;
    Property p;
    Contact contact;
    bool inside = false;
    int contacts = 0;
    int without_address = 0;
    std::vector<std::string> unused;
    while (reader.next(line)) {
        if (!parse_property(line, p)) continue;
        if (p.name == "BEGIN" && upper_text(p.value).compare(0, 5, "VCARD") == 0) {
            contact = Contact();
            inside = true;
            continue;
        }
        if (!inside) continue;
        if (p.name == "END") {
            ++contacts;
            if (!read_contact(contact, import)) ++without_address;
            inside = false;
        } else if (p.name == "N") {
            contact.name = parts(value_text(p, &import.garbled));
        } else if (p.name == "FN") {
            contact.formatted = value_text(p, &import.garbled);
        } else if (p.name == "ADR") {
            const bool home = has_param(p.params, "HOME");
            if (contact.address.empty() || (home && !contact.home_address)) {
                contact.address = parts(value_text(p, &import.garbled));
                contact.home_address = home;
            }
        } else if (p.name == "ORG") {
            contact.organization = parts(value_text(p, &import.garbled));
        } else {
            note_unused(p.name, unused);
        }
    }
    // A file cut off inside its last contact still gives what it holds.
    if (inside) {
        ++contacts;
        if (!read_contact(contact, import)) ++without_address;
    }

    TextBuilder(import.mapping, IMPORT_TEXT_CAP)
        .add(u"氏名 ← N（姓+名。空のときは FN）、郵便番号 ← ADRの郵便番号、"
             u"住所1 ← ADRの都道府県+市区町村+番地、住所2 ← ADRの建物名、会社名 ← ORG");
    TextBuilder names(import.unused, IMPORT_TEXT_CAP);
    for (const std::string& name : unused) {
        if (names.len > 0) names.add(u"、");
        for (char c : name) names.add_unit(static_cast<unsigned char>(c));
    }
    if (without_address > 0)
        TextBuilder(import.notes, IMPORT_TEXT_CAP)
            .add(u"・住所のない連絡先 ")
            .add_int(without_address)
            .add(u"件は読み込みません\r\n");
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

#include "exchange/import_address.h"

#include <cstring>

namespace {

constexpr char16_t kFullWidthSpace = 0x3000;
constexpr char16_t kPostalMark = 0x3012;  // 〒

bool is_blank(char16_t u) { return u == u' ' || u == u'\t' || u == kFullWidthSpace; }
bool is_digit(char16_t u) { return (u >= u'0' && u <= u'9') || (u >= 0xFF10 && u <= 0xFF19); }
bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }

// Hyphens, dashes and long vowel marks written between the numbers of an
// address or a postal code.
bool is_hyphen(char16_t u) {
    return u == u'-' || u == 0xFF0D || (u >= 0x2010 && u <= 0x2015) || u == 0x2212 ||
           u == 0x30FC || u == 0xFF70;
}

// Units of the alphabetic scripts (Latin, Greek, Cyrillic …), whose
// addresses are written with spaces: everything but kana, kanji, hangul, the
// CJK symbols and the full-width forms (and the surrogates, which carry the
// rarer kanji).
bool is_latin_unit(char16_t u) {
    return !((u >= 0x1100 && u <= 0x11FF) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7AF) ||
             (u >= 0xD800 && u <= 0xDFFF) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) ||
             (u >= 0xFF00 && u <= 0xFFEF));
}

std::u16string trimmed(const std::u16string& s) {
    size_t start = 0;
    size_t end = s.size();
    while (start < end && is_blank(s[start])) ++start;
    while (end > start && is_blank(s[end - 1])) --end;
    return s.substr(start, end - start);
}

// Adds a piece behind `out`: with a space between in Latin script.
void join(std::u16string& out, const std::u16string& piece, bool latin) {
    const std::u16string t = trimmed(piece);
    if (t.empty()) return;
    if (latin && !out.empty()) out += u' ';
    out += t;
}

void join_all(std::u16string& out, const std::vector<std::u16string>& pieces, bool latin) {
    for (const std::u16string& piece : pieces) join(out, piece, latin);
}

bool all_latin(const std::vector<std::u16string>& pieces) {
    for (const std::u16string& piece : pieces)
        if (!latin_text(piece)) return false;
    return true;
}

// A text with a letter or a digit in it (a lone "-" is no postal code).
bool has_letter_or_digit(const std::u16string& s) {
    for (char16_t u : s)
        if (!is_blank(u) && !is_hyphen(u) && u != kPostalMark) return true;
    return false;
}

bool is_japan(const std::u16string& country) {
    const std::u16string t = trimmed(country);
    std::u16string folded;
    for (char16_t u : t) {
        if (u == u'.' || u == u' ') continue;
        folded += u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u - u'A' + u'a') : u;
    }
    for (const char16_t* name : {u"japan", u"jp", u"jpn", u"nippon", u"nihon", u"日本", u"日本国"})
        if (folded == name) return true;
    return false;
}

// True when s[...end) ends with a number and its 丁目, 番地, 番 or 号.
bool ends_with_numbered_part(const char16_t* s, size_t end) {
    for (const char16_t* part : {u"丁目", u"番地", u"番", u"号"}) {
        const size_t n = std::char_traits<char16_t>::length(part);
        if (end > n && std::memcmp(s + end - n, part, n * sizeof(char16_t)) == 0 && is_digit(s[end - n - 1]))
            return true;
    }
    return false;
}

bool starts_numbered_part(char16_t u) { return u == u'丁' || u == u'番' || u == u'号'; }

}  // namespace

bool AddressParts::empty() const {
    for (const auto* part : {&region, &locality, &street, &extended, &lines})
        for (const std::u16string& piece : *part)
            if (!trimmed(piece).empty()) return false;
    return !has_letter_or_digit(postal);
}

bool latin_text(const std::u16string& s) {
    for (char16_t u : s)
        if (!is_latin_unit(u)) return false;
    return true;
}

bool seven_digit_postal(const std::u16string& s, char16_t (&digits)[8]) {
    const std::u16string t = trimmed(s);
    size_t i = !t.empty() && t[0] == kPostalMark ? 1 : 0;
    while (i < t.size() && is_blank(t[i])) ++i;
    int n = 0;
    bool hyphen = false;
    for (; i < t.size(); ++i) {
        const char16_t u = t[i];
        if (is_digit(u) && n < 7) {
            digits[n++] = u >= 0xFF10 ? static_cast<char16_t>(u - 0xFF10 + u'0') : u;
        } else if (is_hyphen(u) && n == 3 && !hyphen) {
            hyphen = true;
        } else {
            return false;
        }
    }
    digits[n] = 0;
    return n == 7;
}

size_t address_split_point(const char16_t* s, size_t cap, size_t* skip) {
    *skip = 0;
    for (size_t i = cap; i > 0; --i) {
        if (is_blank(s[i])) {
            *skip = 1;
            return i;
        }
        if (ends_with_numbered_part(s, i)) return i;
        if (is_digit(s[i - 1]) && !is_digit(s[i]) && !is_hyphen(s[i]) && !starts_numbered_part(s[i])) return i;
    }
    return is_high_surrogate(s[cap - 1]) ? cap - 1 : cap;
}

int store_wrapped(TextLine (&lines)[ADDRESSEE_LINES], int& next, const char16_t* s, size_t n) {
    // Line breaks become spaces: full-width ones in Japanese text.
    std::u16string t;
    t.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        char16_t u = s[i];
        if (u == u'\r' || u == u'\n') {
            if (u == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
            u = !t.empty() && is_latin_unit(t.back()) ? u' ' : kFullWidthSpace;
        }
        t += u;
    }
    constexpr size_t kRoom = LINE_CAP - 1;
    size_t start = 0;
    while (start < t.size() && is_blank(t[start])) ++start;
    while (start < t.size()) {
        if (next >= ADDRESSEE_LINES) return 1;
        size_t take = t.size() - start;
        size_t skip = 0;
        if (take > kRoom) take = address_split_point(t.data() + start, kRoom, &skip);
        size_t kept = take;
        while (kept > 0 && is_blank(t[start + kept - 1])) --kept;
        TextLine& line = lines[next++];
        std::memset(line.s, 0, sizeof line.s);
        std::memcpy(line.s, t.data() + start, kept * sizeof(char16_t));
        start += take + skip;
        while (start < t.size() && is_blank(t[start])) ++start;
    }
    return 0;
}

int put_address(const AddressParts& p, ImportedAddressee& a, bool* postal_in_text) {
    *postal_in_text = false;
    char16_t digits[8];
    const bool boxes = seven_digit_postal(p.postal, digits);
    if (boxes) {
        std::memset(a.postal, 0, sizeof a.postal);
        std::memcpy(a.postal, digits, sizeof digits);
    }
    const bool odd_postal = !boxes && has_letter_or_digit(p.postal);
    const bool latin = all_latin(p.region) && all_latin(p.locality) && all_latin(p.street) &&
                       all_latin(p.extended) && all_latin(p.lines);

    std::u16string first;
    if (latin) {
        join_all(first, p.street, true);
        join_all(first, p.locality, true);
        join_all(first, p.region, true);
        if (odd_postal) join(first, p.postal, true);
    } else {
        join_all(first, p.region, false);
        join_all(first, p.locality, false);
        join_all(first, p.street, false);
        if (odd_postal) {
            if (!first.empty()) first += u' ';
            first += trimmed(p.postal);
        }
    }
    std::u16string extended;
    join_all(extended, p.extended, latin);

    int next = next_free_line(a.address);
    int cuts = store_wrapped(a.address, next, first);
    cuts += store_wrapped(a.address, next, extended);
    for (const std::u16string& line : p.lines) cuts += store_wrapped(a.address, next, trimmed(line));
    if (!is_japan(p.country)) cuts += store_wrapped(a.address, next, trimmed(p.country));
    *postal_in_text = odd_postal;
    return cuts;
}

std::u16string person_name(const std::u16string& family, const std::u16string& given) {
    const std::u16string f = trimmed(family);
    const std::u16string g = trimmed(given);
    if (f.empty() || g.empty()) return f + g;
    if (latin_text(f) && latin_text(g)) return g + u' ' + f;
    return f + kFullWidthSpace + g;
}

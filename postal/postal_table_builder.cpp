#include "postal/postal_table_builder.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <set>
#include <unordered_map>
#include <utility>

namespace {

using Text = std::u16string;

constexpr uint32_t kFormatVersion = 2;
constexpr uint32_t kCodeLimit = 10000000;
constexpr size_t kAddressColumns = 15;
constexpr size_t kBusinessColumns = 13;

void report(const PostalProgress* progress, int percent) {
    if (progress && progress->step) progress->step(progress->context, percent);
}

bool ends_with(const Text& s, const Text& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool is_digit(char16_t u) { return (u >= u'0' && u <= u'9') || (u >= u'０' && u <= u'９'); }

// The seven ASCII digits of a code column.
bool code_of(const Text& s, uint32_t& code) {
    if (s.size() != 7) return false;
    code = 0;
    for (char16_t u : s) {
        if (u < u'0' || u > u'9') return false;
        code = code * 10 + static_cast<uint32_t>(u - u'0');
    }
    return true;
}

// Splits one CSV record of text[pos...] into fields (quotes as in RFC 4180);
// pos moves past the line's end. False at the end of the text.
bool next_record(const Text& text, size_t& pos, std::vector<Text>& fields) {
    fields.clear();
    if (pos >= text.size()) return false;
    Text field;
    bool quoted = false;
    while (pos < text.size()) {
        char16_t u = text[pos++];
        if (quoted) {
            if (u != u'"') {
                field += u;
            } else if (pos < text.size() && text[pos] == u'"') {
                field += u;
                ++pos;
            } else {
                quoted = false;
            }
        } else if (u == u'"') {
            quoted = true;
        } else if (u == u',') {
            fields.push_back(std::move(field));
            field.clear();
        } else if (u == u'\n') {
            break;
        } else if (u != u'\r') {
            field += u;
        }
    }
    fields.push_back(std::move(field));
    return true;
}

bool blank_record(const std::vector<Text>& fields) { return fields.size() == 1 && fields[0].empty(); }

int brackets_open(const Text& s) {
    int open = 0;
    for (char16_t u : s) open += u == u'（' ? 1 : u == u'）' ? -1 : 0;
    return open;
}

// "（１階）" at the end: the floor of a building, kept without the brackets.
bool ends_with_bracketed_floor(const Text& s) {
    if (!ends_with(s, u"階）")) return false;
    size_t i = s.size() - 2;
    size_t digits = 0;
    while (i > 0 && is_digit(s[i - 1])) --i, ++digits;
    return digits > 0 && i > 0 && s[i - 1] == u'（';
}

// Length of a floor ("１階", "１２階") at the end of s, 0 when none.
size_t floor_length(const Text& s) {
    if (!ends_with(s, u"階")) return 0;
    size_t i = s.size() - 1, digits = 0;
    while (i > 0 && is_digit(s[i - 1])) --i, ++digits;
    return digits > 0 ? digits + 1 : 0;
}

// Where "第Ｎ地割" starts in s after at least one unit, npos when nowhere.
size_t jiwari_at(const Text& s) {
    for (size_t p = 1; p < s.size(); ++p) {
        if (s[p] != u'第') continue;
        size_t i = p + 1;
        while (i < s.size() && is_digit(s[i])) ++i;
        if (i > p + 1 && s.compare(i, 2, u"地割") == 0) return p;
    }
    return Text::npos;
}

// A town's rows of one city: which towns are a building's codes.
struct CityTowns {
    std::set<Text> towns;      // every town of the city, as cleaned
    std::set<Text> buildings;  // a building (town + building name) that has floors
};

using CityKey = std::pair<Text, Text>;

// Splits `town` of a building's code into the town it starts with and the
// building with its floor; building stays empty for any other town.
void split_building(const CityTowns& city, Text& town, Text& building) {
    size_t floor = floor_length(town);
    Text base = town.substr(0, town.size() - floor);
    if (city.buildings.count(base) == 0) return;
    // The longest town of the city that the building's name starts with and
    // that is no building itself.
    for (size_t n = base.size() - 1; n > 0; --n) {
        Text head = town.substr(0, n);
        if (city.towns.count(head) && city.buildings.count(head) == 0 && floor_length(head) == 0) {
            building = town.substr(n);
            town = std::move(head);
            return;
        }
    }
}

// One distinct place of a code.
struct Place {
    Text pref, city, town, building, street, office;
    bool operator<(const Place& o) const {
        return std::tie(pref, city, town, building, street, office) <
               std::tie(o.pref, o.city, o.town, o.building, o.street, o.office);
    }
};

// The table's texts, each stored once; offset 0 is the empty text.
class TextPool {
public:
    TextPool() { units_.push_back(0); offsets_.emplace(Text(), 0); }
    uint32_t add(const Text& s) {
        auto found = offsets_.find(s);
        if (found != offsets_.end()) return found->second;
        uint32_t at = static_cast<uint32_t>(units_.size());
        units_.insert(units_.end(), s.begin(), s.end());
        units_.push_back(0);
        offsets_.emplace(s, at);
        return at;
    }
    const std::vector<char16_t>& units() const { return units_; }

private:
    std::vector<char16_t> units_;
    std::unordered_map<Text, uint32_t> offsets_;
};

void put_u32(std::string& out, uint32_t v) {
    for (int k = 0; k < 4; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
}
void put_u16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

}  // namespace

std::u16string postal_town_of(const std::u16string& raw) {
    Text town = raw;
    if (ends_with(town, u"がくる場合") || ends_with(town, u"に掲載がない場合")) return Text();
    if (town.size() > 2 && ends_with(town, u"一円")) return Text();  // the whole city or village
    if (ends_with_bracketed_floor(town)) {
        town.pop_back();
        town.erase(town.rfind(u'（'), 1);
    } else if (!town.empty() && town.back() == u'）') {
        size_t open = town.rfind(u'（');
        // The note's brackets hold no other pair: "（高層棟）（地階・階層不明）"
        // loses the last one only.
        if (open != Text::npos && town.find(u'）', open) == town.size() - 1) town.erase(open);
    }
    size_t jiwari = jiwari_at(town);
    if (jiwari != Text::npos) town.erase(jiwari);
    return town;
}

int read_japan_post_file(const std::u16string& text, std::vector<PostalRow>& rows,
                         const PostalProgress* progress) {
    std::vector<PostalRow> added;
    std::vector<Text> f;
    size_t pos = 0, next_report = 0;
    int kind = POSTAL_FILE_NONE;
    while (next_record(text, pos, f)) {
        if (blank_record(f)) continue;
        int this_kind = f.size() == kAddressColumns    ? POSTAL_FILE_ADDRESS
                        : f.size() == kBusinessColumns ? POSTAL_FILE_BUSINESS
                                                       : POSTAL_FILE_NONE;
        if (this_kind == POSTAL_FILE_NONE || (kind != POSTAL_FILE_NONE && this_kind != kind))
            return POSTAL_FILE_NONE;
        kind = this_kind;
        PostalRow row;
        if (!code_of(f[kind == POSTAL_FILE_ADDRESS ? 2 : 7], row.code)) return POSTAL_FILE_NONE;
        if (kind == POSTAL_FILE_ADDRESS) {
            row.pref = std::move(f[6]);
            row.city = std::move(f[7]);
            row.town = std::move(f[8]);
            // KEN_ALL.CSV splits a long town over records of the same code
            // until its brackets close.
            if (!added.empty() && added.back().code == row.code &&
                brackets_open(added.back().town) > 0 && added.back().pref == row.pref &&
                added.back().city == row.city) {
                added.back().town += row.town;
                continue;
            }
        } else {
            row.office = std::move(f[2]);
            row.pref = std::move(f[3]);
            row.city = std::move(f[4]);
            row.town = std::move(f[5]);
            row.street = std::move(f[6]);
        }
        added.push_back(std::move(row));
        if (pos >= next_report) {
            report(progress, static_cast<int>(50.0 * pos / text.size()));
            next_report = pos + text.size() / 50 + 1;
        }
    }
    if (kind == POSTAL_FILE_NONE) return POSTAL_FILE_NONE;
    rows.insert(rows.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    return kind;
}

std::string build_postal_table(std::vector<PostalRow>& rows, uint32_t date,
                               const PostalProgress* progress) {
    // Every row's town as cleaned, and per city its towns and buildings.
    std::map<CityKey, CityTowns> cities;
    for (PostalRow& row : rows) {
        row.town = postal_town_of(row.town);
        CityTowns& city = cities[{row.pref, row.city}];
        city.towns.insert(row.town);
        if (size_t floor = floor_length(row.town))
            city.buildings.insert(row.town.substr(0, row.town.size() - floor));
    }
    report(progress, 60);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const PostalRow& a, const PostalRow& b) { return a.code < b.code; });
    report(progress, 70);

    TextPool texts;
    std::map<CityKey, uint32_t> areas;
    std::vector<uint32_t> area_pref, area_city;
    auto area_of = [&](const Text& pref, const Text& city) {
        auto found = areas.emplace(CityKey{pref, city}, static_cast<uint32_t>(area_pref.size()));
        if (found.second) {
            area_pref.push_back(texts.add(pref));
            area_city.push_back(texts.add(city));
        }
        return found.first->second;
    };
    std::vector<uint32_t> codes, towns, extra_of, code_area, extras, place_town, place_area;

    for (size_t i = 0; i < rows.size();) {
        size_t end = i;
        while (end < rows.size() && rows[end].code == rows[i].code) ++end;
        if (rows[i].code >= kCodeLimit) break;
        // The code's distinct places in the order of the file.
        std::vector<Place> places;
        std::set<Place> seen;
        for (size_t k = i; k < end; ++k) {
            const PostalRow& r = rows[k];
            Place p{r.pref, r.city, r.town, Text(), r.street, r.office};
            split_building(cities[{r.pref, r.city}], p.town, p.building);
            if (seen.insert(p).second) places.push_back(std::move(p));
        }
        // The parts all of them share.
        Place shared = places[0];
        for (const Place& p : places) {
            bool same = p.pref == shared.pref;
            if (!same) shared.pref.clear();
            same = same && p.city == shared.city;
            if (!same) shared.city.clear();
            same = same && p.town == shared.town;
            if (!same) shared.town.clear();
            bool building = same && p.building == shared.building;
            if (!building) shared.building.clear();
            if (!(building && p.street == shared.street)) shared.street.clear();
            if (p.office != shared.office) shared.office.clear();
        }
        // The towns to choose from: distinct prefecture, city and town.
        std::vector<const Place*> choices;
        std::set<std::tuple<Text, Text, Text>> distinct;
        if (shared.town.empty()) {
            for (const Place& p : places)
                if (!p.town.empty() && distinct.emplace(p.pref, p.city, p.town).second) choices.push_back(&p);
        }
        if (choices.size() < 2) choices.clear();

        codes.push_back(rows[i].code);
        towns.push_back(texts.add(shared.town));
        code_area.push_back(area_of(shared.pref, shared.city));
        if (shared.building.empty() && shared.street.empty() && shared.office.empty() && choices.empty()) {
            extra_of.push_back(0);
        } else {
            extra_of.push_back(static_cast<uint32_t>(extras.size() / 5 + 1));
            extras.push_back(texts.add(shared.building));
            extras.push_back(texts.add(shared.street));
            extras.push_back(texts.add(shared.office));
            extras.push_back(static_cast<uint32_t>(place_town.size()));
            extras.push_back(static_cast<uint32_t>(choices.size()));
            for (const Place* p : choices) {
                place_town.push_back(texts.add(p->town));
                place_area.push_back(area_of(p->pref, p->city));
            }
        }
        i = end;
    }
    report(progress, 95);

    const std::vector<char16_t>& units = texts.units();
    uint32_t n = static_cast<uint32_t>(codes.size()), a = static_cast<uint32_t>(area_pref.size()),
             e = static_cast<uint32_t>(extras.size() / 5), p = static_cast<uint32_t>(place_town.size()),
             t = static_cast<uint32_t>(units.size());
    if (a > 0xFFFF) return std::string();  // more cities than the table can number
    std::string out = "ZKPC";
    for (uint32_t v : {kFormatVersion, n, a, t, e, p, date}) put_u32(out, v);
    for (const auto* array : {&codes, &towns, &extra_of, &area_pref, &area_city, &extras, &place_town})
        for (uint32_t v : *array) put_u32(out, v);
    for (uint32_t v : code_area) put_u16(out, v);
    for (uint32_t v : place_area) put_u16(out, v);
    for (char16_t u : units) put_u16(out, u);
    report(progress, 100);
    return out;
}

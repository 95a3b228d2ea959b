#include "postal/postal_table_builder.h"

#include "exchange/csv_decode.h"

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

bool starts_with_at(const Text& s, size_t at, const Text& part) {
    return s.size() >= at + part.size() && s.compare(at, part.size(), part) == 0;
}

// Length of a floor ("１階", "１２階") in brackets at the end of s
// ("（１階）"), 0 when none.
size_t bracketed_floor_length(const Text& s) {
    if (!ends_with(s, u"階）")) return 0;
    size_t i = s.size() - 2, digits = 0;
    while (i > 0 && is_digit(s[i - 1])) --i, ++digits;
    return digits > 0 && i > 0 && s[i - 1] == u'（' ? digits + 1 : 0;
}

// Where a 地割 starts in s after at least one unit ("種市第１地割～第３地割",
// "槻沢２５地割～槻沢２８地割", "湯本２９地割、湯本３０地割"), npos when
// nowhere: "第" and digits, or digits alone, then "地割".
size_t jiwari_at(const Text& s) {
    for (size_t p = 1; p < s.size(); ++p) {
        if (is_digit(s[p - 1]) || s[p - 1] == u'第') continue;  // inside a number already tried
        size_t i = p + (s[p] == u'第' ? 1 : 0);
        size_t digits = i;
        while (i < s.size() && is_digit(s[i])) ++i;
        if (i > digits && starts_with_at(s, i, u"地割")) return p;
    }
    return Text::npos;
}

Text without_brackets(const Text& s) {
    Text out;
    for (char16_t u : s)
        if (u != u'（' && u != u'）') out += u;
    return out;
}

// A town of Japan Post's files read apart: the town without the notes (a
// building's code keeps the building's name here, its qualifiers still in
// brackets), the floor of a floor code, and whether the row is one of a
// building's codes (a floor, or "（地階・階層不明）" for the rest of it).
struct TownRead {
    Text town, floor;
    bool building = false;
};

TownRead read_town(const Text& raw, const Text& city) {
    TownRead r;
    Text town = raw;
    if (ends_with(town, u"に掲載がない場合")) return r;
    if (ends_with(town, u"がくる場合")) {
        // "大島町の次に番地がくる場合": the numbers follow the town 大島町;
        // "小菅村の次に６６４番地以降がくる場合" names the village, the
        // city itself, so there is no town.
        size_t next = town.find(u"の次に");
        if (next != Text::npos && next > 0 && !ends_with(city, town.substr(0, next))) r.town = town.substr(0, next);
        return r;
    }
    if (town.size() > 2 && ends_with(town, u"一円")) return r;  // the whole city or village
    if (size_t floor = bracketed_floor_length(town)) {
        r.floor = town.substr(town.size() - 1 - floor, floor);
        town.erase(town.size() - 2 - floor);
        r.building = true;
    } else if (ends_with(town, u"（地階・階層不明）")) {
        town.erase(town.size() - 9);
        r.building = true;
    } else if (!town.empty() && town.back() == u'）') {
        size_t open = town.rfind(u'（');
        // The note's brackets hold no other pair: "（高層棟）（次のビルを除く）"
        // loses the last one only.
        if (open != Text::npos && town.find(u'）', open) == town.size() - 1) town.erase(open);
    }
    size_t jiwari = jiwari_at(town);
    if (jiwari != Text::npos) town.erase(jiwari);
    r.town = std::move(town);
    return r;
}

// A city's towns: which of them are a building's codes.
struct CityTowns {
    std::set<Text> towns;      // every town of the city, as read
    std::set<Text> buildings;  // a building (town + building name) that has codes of its own
};

using CityKey = std::pair<Text, Text>;

// A town ending in a floor without brackets ("東池袋サンシャイン６０１階",
// as the package's rows write a floor): the floor counts only after the
// building's own name, a town of the same city ("東池袋サンシャイン６０",
// so not a 601st floor). The package's rows may have lost a qualifier from
// that name ("名駅ミッドランドスクエア（高層棟）１階" beside
// "名駅ミッドランドスクエア"): a name in brackets at the end is the
// qualifier of the town before it. Gives the building's own name as a town
// of the city, empty when the town has no floor.
Text read_unbracketed_floor(const CityTowns& city, TownRead& r) {
    if (r.building || !ends_with(r.town, u"階")) return Text();
    size_t first = r.town.size() - 1;
    while (first > 0 && is_digit(r.town[first - 1])) --first;
    for (size_t at = r.town.size() - 1; at-- > first && at > 0;) {
        Text base = r.town.substr(0, at);
        Text own = base;
        if (!city.towns.count(own) && ends_with(own, u"）")) own.erase(std::min(own.rfind(u'（'), own.size()));
        if (!own.empty() && city.towns.count(own)) {
            r.floor = r.town.substr(at);
            r.town = std::move(base);
            r.building = true;
            return own;
        }
    }
    return Text();
}

// Splits the town of a building's code into the town it starts with and the
// building with its floor. The longest town of the city that the building's
// name starts with and that is no building itself is the town; the rest is
// the building, its qualifiers without brackets ("ミッドランドスクエア
// （高層棟）" reads ミッドランドスクエア高層棟, on every code of the building
// alike: the qualifier names the tower the mail goes to). Without such a
// town the whole stays the town, the building's name and floor in it.
void split_building(const CityTowns& city, const TownRead& r, Text& town, Text& building) {
    town = r.town.empty() ? r.floor : r.town;
    if (r.town.empty() || (!r.building && city.buildings.count(r.town) == 0)) return;
    for (size_t n = r.town.size() - 1; n > 0; --n) {
        Text head = r.town.substr(0, n);
        if (city.towns.count(head) && city.buildings.count(head) == 0) {
            building = without_brackets(r.town.substr(n)) + r.floor;
            town = std::move(head);
            return;
        }
    }
    town = without_brackets(r.town) + r.floor;
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

int read_japan_post_bytes(std::u16string& file, size_t bytes, std::vector<PostalRow>& rows,
                          const PostalProgress* progress, int* garbled) {
    int bad = 0;
    decode_csv_file(file, bytes, &bad);
    if (garbled) *garbled = bad;
    if (bad > 0) return POSTAL_FILE_NONE;
    if (!file.empty() && file[0] == 0xFEFF) file.erase(0, 1);
    return read_japan_post_file(file, rows, progress);
}

std::string build_postal_table(std::vector<PostalRow>& rows, uint32_t date,
                               const PostalProgress* progress) {
    // Every row's town as read, and per city its towns and buildings; then
    // the floors without brackets, which need the city's towns; then the
    // towns of the buildings' codes split from their buildings.
    std::map<CityKey, CityTowns> cities;
    std::vector<TownRead> reads(rows.size());
    std::vector<CityTowns*> city_of(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        reads[i] = read_town(rows[i].town, rows[i].city);
        city_of[i] = &cities[{rows[i].pref, rows[i].city}];
        city_of[i]->towns.insert(reads[i].town);
        if (reads[i].building) city_of[i]->buildings.insert(reads[i].town);
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        Text own = read_unbracketed_floor(*city_of[i], reads[i]);
        if (!own.empty()) city_of[i]->buildings.insert(own);
        if (reads[i].building) city_of[i]->buildings.insert(reads[i].town);
    }
    std::vector<Text> building_of(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) split_building(*city_of[i], reads[i], rows[i].town, building_of[i]);
    report(progress, 60);
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return rows[a].code < rows[b].code; });
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

    for (size_t i = 0; i < order.size();) {
        const uint32_t code = rows[order[i]].code;
        size_t end = i;
        while (end < order.size() && rows[order[end]].code == code) ++end;
        if (code >= kCodeLimit) break;
        // The code's distinct places in the order of the file.
        std::vector<Place> places;
        std::set<Place> seen;
        for (size_t k = i; k < end; ++k) {
            const PostalRow& r = rows[order[k]];
            Place p{r.pref, r.city, r.town, building_of[order[k]], r.street, r.office};
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
        // The towns to choose from: distinct prefecture, city and town; a
        // place without a town is its city ("以下に掲載がない場合" in two
        // cities or prefectures offers the two).
        std::vector<const Place*> choices;
        std::set<std::tuple<Text, Text, Text>> distinct;
        if (shared.town.empty()) {
            for (const Place& p : places)
                if (distinct.emplace(p.pref, p.city, p.town).second) choices.push_back(&p);
        }
        if (choices.size() < 2) choices.clear();

        codes.push_back(code);
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

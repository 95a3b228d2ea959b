#include "exchange/addressee_import.h"

#include <cstring>

#include "model/text.h"

namespace {

constexpr char16_t kFullWidthSpace = 0x3000;
constexpr int kSummaryCap = 4 * IMPORT_TEXT_CAP;

bool is_blank(char16_t u) { return u == u' ' || u == u'\t' || u == kFullWidthSpace; }
bool is_empty(const TextLine& line) { return line.s[0] == 0; }

void clear_line(TextLine& line) { std::memset(line.s, 0, sizeof line.s); }

// Moves the lines up so that the first line with text comes first.
void move_lines_up(TextLine (&lines)[ADDRESSEE_LINES]) {
    int first = 0;
    while (first < ADDRESSEE_LINES && is_empty(lines[first])) ++first;
    if (first == 0 || first == ADDRESSEE_LINES) return;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        if (k + first < ADDRESSEE_LINES)
            lines[k] = lines[k + first];
        else
            clear_line(lines[k]);
    }
}

// The file's name without its folder, for the summary.
const char16_t* file_name(const char16_t* path) {
    const char16_t* name = path;
    for (const char16_t* p = path; *p; ++p)
        if (*p == u'\\' || *p == u'/') name = p + 1;
    return name;
}

void clear_addressee_texts(CardRecord& card) {
    std::memset(card.tt.m, 0, sizeof card.tt.m);
    for (TextLine& line : card.ta.m) clear_line(line);
    for (TextLine& line : card.tn.m) clear_line(line);
    card.ftb = 0;
    for (TypEntry& entry : card.typ) entry = TypEntry{0, 0};
}

// Writes the texts into a card whose addressee texts are clear.
void write_card(const ImportedAddressee& a, int senders, CardRecord& card) {
    std::memcpy(card.tt.m, a.postal, sizeof card.tt.m);
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        card.tn.m[k] = a.names[k];
        card.ta.m[k] = a.address[k];
    }
    card.ftb = a.sender >= 0 && a.sender < senders ? a.sender : 0;
}

// "・" and a loss of `count` things of `what` ("長すぎて切れる文字列"), when
// there are any.
void add_loss(TextBuilder& b, int count, const char16_t* what, const char16_t* unit) {
    if (count <= 0) return;
    b.add(u"・").add(what).add(u" ").add_int(count).add(unit).add(u"\r\n");
}

}  // namespace

void ImportText::add(const char16_t* s, size_t n) {
    const size_t room = sizeof units / sizeof units[0] - length;
    if (n > room) n = room;
    std::memcpy(units + length, s, n * sizeof(char16_t));
    length += n;
}

bool ImportText::ends_with(const char16_t* s, size_t n) const {
    size_t end = length;
    while (end > 0 && is_blank(units[end - 1])) --end;
    return end >= n && std::memcmp(units + end - n, s, n * sizeof(char16_t)) == 0;
}

int store_import_text(TextLine& line, const char16_t* s, size_t n) {
    // Only the units that can reach the line matter (a CR LF gives one).
    const size_t looked_at = n < 2 * LINE_CAP ? n : 2 * LINE_CAP;
    bool breaks = false;
    for (size_t k = 0; k < looked_at; ++k)
        if (s[k] <= u'\r' && (s[k] == u'\r' || s[k] == u'\n')) {
            breaks = true;
            break;
        }
    size_t out = 0;
    size_t i = 0;
    if (!breaks) {
        // Most texts: copied as they are.
        out = i = n < LINE_CAP - 1 ? n : LINE_CAP - 1;
        std::memcpy(line.s, s, out * sizeof(char16_t));
    } else {
        for (; i < n && out < LINE_CAP - 1; ++i) {
            char16_t u = s[i];
            if (u == u'\r' || u == u'\n') {
                if (u == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
                u = kFullWidthSpace;
            }
            line.s[out++] = u;
        }
    }
    const bool cut = i < n;
    if (cut && is_high_surrogate(line.s[out - 1])) --out;
    std::memset(line.s + out, 0, (LINE_CAP - out) * sizeof(char16_t));
    return cut ? 1 : 0;
}

int next_free_line(const TextLine (&lines)[ADDRESSEE_LINES]) {
    int next = 0;
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        if (!is_empty(lines[k])) next = k + 1;
    return next;
}

int store_on_next_line(TextLine (&lines)[ADDRESSEE_LINES], int& next, const ImportText& text) {
    if (text.empty()) return 0;
    if (next == ADDRESSEE_LINES) return 1;
    return store_import_text(lines[next++], text);
}

int store_postal_digits(char16_t (&postal)[POSTAL_CAP], const char16_t* s, size_t n) {
    int digits = 0;
    for (size_t i = 0; i < n; ++i) {
        char16_t u = s[i];
        if (u >= 0xFF10 && u <= 0xFF19) u = static_cast<char16_t>(u - 0xFF10 + u'0');
        if (u < u'0' || u > u'9') continue;
        if (digits == POSTAL_CAP - 1) return 1;
        postal[digits++] = u;
        postal[digits] = 0;
    }
    return 0;
}

void keep_imported(AddresseeImport& import, ImportedAddressee& a, int cuts, bool postal_in_text) {
    bool any = a.postal[0] != 0;
    for (int k = 0; k < ADDRESSEE_LINES; ++k) any = any || !is_empty(a.names[k]) || !is_empty(a.address[k]);
    if (!any) return;
    if (import.addressees.size() >= static_cast<size_t>(HDATA_MAX)) {
        ++import.left_out;
        return;
    }
    if (a.postal[0] == 0 && is_empty(a.names[0]) && is_empty(a.address[0])) {
        move_lines_up(a.names);
        move_lines_up(a.address);
    }
    import.addressees.push_back(a);
    import.cut_texts += cuts;
    import.postal_in_text += postal_in_text ? 1 : 0;
}

void build_import_summary(char16_t* out, int cap, const char16_t* path,
                          const AddresseeImport& import) {
    const int kept = static_cast<int>(import.addressees.size());
    const int total = kept + import.left_out;
    const int in_use = count_cards();
    const int room = HDATA_MAX - in_use;
    const int appended = total < room ? total : room;

    TextBuilder b(out, cap);
    b.add(file_name(path)).add(u"から").add_int(total).add(u"件の宛先を読み込みます。\r\n");
    b.add(u"欄の対応: ").add(import.mapping).add(u"\r\n");
    if (import.unused[0] != 0) b.add(u"使わない欄: ").add(import.unused).add(u"\r\n");
    if (import.postal_in_text > 0)
        b.add(u"郵便番号が7桁でない宛先 ").add_int(import.postal_in_text).add(u"件（住所に入れました）\r\n");
    if (import.cut_texts > 0 || import.garbled > 0 || import.notes[0] != 0) {
        b.add(u"読み込めないもの:\r\n");
        add_loss(b, import.cut_texts, u"長すぎて切れる文字列", u"件");
        add_loss(b, import.garbled, u"文字にならないバイト（\uFFFDになります）", u"か所");
        b.add(import.notes);
    }
    b.add(u"\r\n置き換え: 今の宛先");
    b.add_int(in_use).add(u"件を消して、この").add_int(kept).add(u"件にします。");
    if (import.left_out > 0)
        b.add(u"（").add_int(HDATA_MAX + 1).add(u"件目以降の").add_int(import.left_out).add(u"件は入りません）");
    b.add(u"\r\n追加: ");
    if (room == 0) {
        b.add(u"宛先が").add_int(HDATA_MAX).add(u"件あり、追加できません。");
    } else {
        b.add(u"今の宛先").add_int(in_use).add(u"件の後ろに").add_int(appended).add(u"件を加えます。");
        if (appended < total) b.add(u"（残りの").add_int(total - appended).add(u"件は入りません）");
    }
    b.add(u"\r\nキャンセル: 何も変えません。");
}

int offer_import(WindowHandle owner, const char16_t* caption, const char16_t* path,
                 const AddresseeImport& import) {
    char16_t summary[kSummaryCap];
    build_import_summary(summary, kSummaryCap, path, import);
    const int answer = platform().choice_box(owner, summary, caption, u"置き換え(&R)", u"追加(&A)",
                                             u"キャンセル");
    if (answer == kAnswerYes) {
        apply_import(import, false);
        return IMPORT_REPLACED;
    }
    if (answer == kAnswerNo && apply_import(import, true) > 0) return IMPORT_APPENDED;
    return IMPORT_CANCELLED;
}

int apply_import(const AddresseeImport& import, bool append) {
    Document& d = doc();
    const int first = append ? count_cards() : 0;
    const int senders = count_senders();
    int count = static_cast<int>(import.addressees.size());
    if (count > HDATA_MAX - first) count = HDATA_MAX - first;
    if (count <= 0) return 0;
    // Cards behind the ones in use may still hold texts that nothing shows;
    // they are cleared so that none of them joins the new cards.
    for (int i = first; i < HDATA_MAX; ++i) clear_addressee_texts(d.hdata[i]);
    for (int i = 0; i < count; ++i)
        write_card(import.addressees[static_cast<size_t>(i)], senders, d.hdata[first + i]);
    d.current_card = first;
    d.modified = true;
    return count;
}

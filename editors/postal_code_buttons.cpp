#include "editors/postal_code_buttons.h"

#include "exchange/import_address.h"
#include "postal/postal_code_table.h"
#include "postal/postal_update.h"
#include "model/document.h"
#include "model/text.h"

namespace {

const char16_t kFillCaption[] = u"住所自動入力";
const char16_t kCheckCaption[] = u"郵便番号チェック";

// Opens the table in use (the updated one, else the built-in one); without
// any, says so under `caption`.
bool open_table(WindowHandle owner, const char16_t* caption, PostalCodeTable& table) {
    if (open_postal_code_table_in_use(table) == POSTAL_TABLE_OK) return true;
    platform().message_box(owner, u"郵便番号データが組み込まれていません", caption,
                           kButtonsOk | kIconWarning);
    return false;
}

// The town the user picks from the menu of a code's towns, a page of
// POSTAL_MENU_PAGE towns at a time; false when the menu was closed.
bool choose_town(WindowHandle owner, const PostalCodeTable& table, int index, char16_t* out, int cap) {
    const int count = postal_place_count(table, index);
    if (count < 2) return false;
    char16_t towns[POSTAL_MENU_PAGE + 1][LINE_CAP];
    const char16_t* items[POSTAL_MENU_PAGE + 1];
    for (int first = 0;;) {
        const int shown = count - first < POSTAL_MENU_PAGE ? count - first : POSTAL_MENU_PAGE;
        for (int k = 0; k < shown; ++k) {
            postal_place_address(table, index, first + k, towns[k], LINE_CAP);
            items[k] = towns[k];
        }
        const int next = first + shown < count ? first + shown : 0;
        int n = shown;
        if (count > POSTAL_MENU_PAGE) {
            // "次へ（31～60／66件）", on the last page "最初へ（1～30／66件）".
            const int to = next + POSTAL_MENU_PAGE < count ? next + POSTAL_MENU_PAGE : count;
            TextBuilder(towns[n], LINE_CAP)
                .add(next == 0 ? u"最初へ（" : u"次へ（")
                .add_int(next + 1)
                .add(u"～")
                .add_int(to)
                .add(u"／")
                .add_int(count)
                .add(u"件）");
            items[n] = towns[n];
            ++n;
        }
        const int chosen = platform().choose_from_menu(owner, items, n);
        if (chosen < 0 || chosen >= n) return false;
        if (chosen < shown) {
            text_copy(out, cap, towns[chosen]);
            return true;
        }
        first = next;
    }
}

size_t length_of(const char16_t* s) {
    size_t n = 0;
    while (s[n]) ++n;
    return n;
}

// Puts as much of `text` as fits a line into `line` (LINE_CAP units),
// split as the imports split a long address; returns where the rest starts.
const char16_t* take_line(const char16_t* text, char16_t* line) {
    constexpr size_t kRoom = LINE_CAP - 1;
    size_t take = length_of(text), skip = 0;
    if (take > kRoom) take = address_split_point(text, kRoom, &skip);
    for (size_t i = 0; i < take; ++i) line[i] = text[i];
    line[take] = 0;
    text += take + skip;
    while (*text == u' ' || *text == u'　') ++text;
    return text;
}

void append(char16_t* out, int cap, const char16_t* text) {
    char16_t joined[POSTAL_LONG_CAP];
    TextBuilder(joined, POSTAL_LONG_CAP).add(out).add(text);
    text_copy(out, cap, joined);
}

}  // namespace

int postal_address_fill(WindowHandle owner, const char16_t* code_text, const char16_t* address_line,
                        bool next_line_free, PostalFill& out) {
    out.line[0] = out.next[0] = out.office[0] = out.rest[0] = 0;
    PostalCodeTable table;
    if (!open_table(owner, kFillCaption, table)) return 0;

    uint32_t code = 0;
    int index = read_typed_postal_code(code_text, code) ? find_postal_code(table, code) : -1;
    char16_t message[160];
    char16_t typed[16];  // as the postal code field holds it
    text_copy(typed, 16, code_text);
    if (index < 0) {
        format_with_text(message, 160, u"郵便番号%sは見つかりません", typed);
        platform().message_box(owner, message, kFillCaption, kButtonsOk | kIconWarning);
        return 0;
    }
    char16_t whole[POSTAL_LONG_CAP] = {}, building[POSTAL_LONG_CAP] = {};
    if (!choose_town(owner, table, index, whole, POSTAL_LONG_CAP)) {
        postal_address_parts(table, index, whole, building, out.office, POSTAL_LONG_CAP);
        if (!next_line_free) {
            append(whole, POSTAL_LONG_CAP, building);
            building[0] = 0;
        }
    }
    if (whole[0] == 0) {
        // A code shared by places in two prefectures names no one address.
        format_with_text(message, 160, u"郵便番号%sの住所は一つに決まりません", typed);
        platform().message_box(owner, message, kFillCaption, kButtonsOk | kIconInformation);
        return 0;
    }
    // The rest of a long address goes on on the next line with the
    // building, when that line is free.
    char16_t rest[POSTAL_LONG_CAP];
    text_copy(rest, POSTAL_LONG_CAP, take_line(whole, out.line));
    if (next_line_free) {
        append(rest, POSTAL_LONG_CAP, building);
        text_copy(out.rest, POSTAL_LONG_CAP, take_line(rest, out.next));
    } else {
        text_copy(out.rest, POSTAL_LONG_CAP, rest);
    }
    if (address_line[0] == 0) return 1;
    if (text_equal(address_line, out.line)) return 0;
    format_with_text(message, 160, u"住所を「%s」に置き換えますか？", out.line);
    return platform().message_box(owner, message, kFillCaption, kButtonsYesNo | kIconQuestion) ==
                   kAnswerYes
               ? 1
               : 0;
}

int postal_address_button(DialogView& view, int postal_id, int address_id, char16_t* next_line,
                          int name_id, char16_t* next_name_line) {
    // Wider than any field's capacity: what the user typed, as typed.
    char16_t code[LINE_CAP], line[LINE_CAP];
    PostalFill fill;
    view.get_text(postal_id, code, LINE_CAP);
    view.get_text(address_id, line, LINE_CAP);
    bool next_free = next_line != nullptr && next_line[0] == 0;
    if (postal_address_fill(view.window(), code, line, next_free, fill) != 1) {
        view.focus(postal_id);
        return 0;
    }
    view.set_text(address_id, fill.line);
    if (next_free && fill.next[0] != 0) text_copy(next_line, LINE_CAP, fill.next);
    if (name_id >= 0 && fill.office[0] != 0) {
        char16_t name[LINE_CAP];
        view.get_text(name_id, name, LINE_CAP);
        if (name[0] == 0) {
            // A long name goes on on the next name line, as an import puts it.
            const char16_t* rest = take_line(fill.office, name);
            view.set_text(name_id, name);
            if (rest[0] != 0 && next_name_line != nullptr && next_name_line[0] == 0)
                rest = take_line(rest, next_name_line);
            if (rest[0] != 0) {
                if (fill.rest[0] != 0) append(fill.rest, POSTAL_LONG_CAP, u"」「");
                append(fill.rest, POSTAL_LONG_CAP, rest);
            }
        }
    }
    // The code as the card prints it into its seven boxes and as the
    // editors store it: "〒150-0001" becomes 1500001.
    uint32_t value = 0;
    if (read_typed_postal_code(code, value)) {
        char16_t digits[8];
        for (int i = 6; i >= 0; --i, value /= 10) digits[i] = char16_t(u'0' + value % 10);
        digits[7] = 0;
        view.set_text(postal_id, digits);
    }
    if (fill.rest[0] != 0) {
        // Never cut silently: the user sees what is missing.
        char16_t message[POSTAL_LONG_CAP + 40];
        format_with_text(message, POSTAL_LONG_CAP + 40, u"次の行が空いていないため、「%s」は入れていません", fill.rest);
        platform().message_box(view.window(), message, kFillCaption, kButtonsOk | kIconInformation);
    }
    view.focus(address_id);
    return 1;
}

int find_bad_postal_codes(WindowHandle owner, const char16_t* const* codes, int count, bool* bad) {
    for (int i = 0; i < count; ++i) bad[i] = false;
    PostalCodeTable table;
    if (!open_table(owner, kCheckCaption, table)) return -1;

    int bad_rows = 0;
    for (int i = 0; i < count; ++i) {
        uint32_t code = 0;
        bad[i] = !postal_code_digits(codes[i], code) || find_postal_code(table, code) < 0;
        if (bad[i]) ++bad_rows;
    }
    return bad_rows;
}

void tell_bad_postal_codes(WindowHandle owner, int bad_rows) {
    if (bad_rows == 0) {
        platform().message_box(owner, u"郵便番号はすべて見つかりました", kCheckCaption,
                               kButtonsOk | kIconInformation);
    } else {
        char16_t rows[12], message[80];
        TextBuilder(rows, 12).add_int(bad_rows);
        format_with_text(message, 80, u"郵便番号が７桁でないか見つからない行が%s行あります", rows);
        platform().message_box(owner, message, kCheckCaption, kButtonsOk | kIconWarning);
    }
}

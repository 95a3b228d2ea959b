#include "editors/postal_code_buttons.h"

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

// The town the user picks from the menu of a code's towns; false when the
// menu was closed.
bool choose_town(WindowHandle owner, const PostalCodeTable& table, int index, char16_t* out, int cap) {
    constexpr int kMost = 64;
    int count = postal_place_count(table, index);
    if (count < 2) return false;
    if (count > kMost) count = kMost;
    char16_t towns[kMost][LINE_CAP];
    const char16_t* items[kMost];
    for (int k = 0; k < count; ++k) {
        postal_place_address(table, index, k, towns[k], LINE_CAP);
        items[k] = towns[k];
    }
    int chosen = platform().choose_from_menu(owner, items, count);
    if (chosen < 0 || chosen >= count) return false;
    text_copy(out, cap, towns[chosen]);
    return true;
}

}  // namespace

int postal_address_fill(WindowHandle owner, const char16_t* code_text, const char16_t* address_line,
                        bool next_line_free, PostalFill& out) {
    out.line[0] = out.building[0] = out.office[0] = 0;
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
    if (!choose_town(owner, table, index, out.line, LINE_CAP)) {
        postal_address_parts(table, index, out.line, out.building, out.office, LINE_CAP);
        if (!next_line_free && out.building[0] != 0) {
            char16_t whole[LINE_CAP];
            TextBuilder(whole, LINE_CAP).add(out.line).add(out.building);
            text_copy(out.line, LINE_CAP, whole);
            out.building[0] = 0;
        }
    }
    if (out.line[0] == 0) {
        // A code shared by places in two prefectures names no one address.
        format_with_text(message, 160, u"郵便番号%sの住所は一つに決まりません", typed);
        platform().message_box(owner, message, kFillCaption, kButtonsOk | kIconInformation);
        return 0;
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
                          int name_id) {
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
    if (next_free && fill.building[0] != 0) text_copy(next_line, LINE_CAP, fill.building);
    if (name_id >= 0 && fill.office[0] != 0) {
        char16_t name[LINE_CAP];
        view.get_text(name_id, name, LINE_CAP);
        if (name[0] == 0) view.set_text(name_id, fill.office);
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

#include "exchange/csv_export.h"

#include <string>

#include "model/document.h"
#include "model/text.h"

namespace {

// The export as UTF-16 units; turned into little-endian bytes at the end.
class CsvText {
public:
    CsvText() { units_.push_back(0xFEFF); }

    // A text field: the text, then a comma. A text holding a comma, a
    // double quote or a line break is put in double quotes with its quotes
    // doubled, so that it stays one field for spreadsheets and the import.
    void text(const char16_t* s) {
        const size_t n = static_cast<size_t>(text_length(s));
        if (needs_quotes(s, n)) {
            units_.push_back(u'"');
            for (size_t i = 0; i < n; ++i) {
                if (s[i] == u'"') units_.push_back(u'"');
                units_.push_back(s[i]);
            }
            units_.push_back(u'"');
        } else {
            units_.append(s, n);
        }
        units_.push_back(u',');
    }
    // A postal code: as a text, but a lone space for an empty code.
    void postal(const char16_t* s) {
        if (s[0] == 0)
            units_.append(u" ,");
        else
            text(s);
    }
    void number(int32_t value) {
        char16_t digits[16];
        TextBuilder(digits, 16).add_int(value);
        text(digits);
    }
    void end_line() { units_.append(u"\r\n"); }

    std::string bytes() const {
        std::string out;
        out.reserve(units_.size() * 2);
        for (char16_t u : units_) {
            out.push_back(static_cast<char>(u & 0xFF));
            out.push_back(static_cast<char>(u >> 8));
        }
        return out;
    }

private:
    static bool needs_quotes(const char16_t* s, size_t n) {
        for (size_t i = 0; i < n; ++i)
            if (s[i] == u',' || s[i] == u'"' || s[i] == u'\r' || s[i] == u'\n') return true;
        return false;
    }

    std::u16string units_;
};

void write_header(CsvText& csv) {
    csv.text(u"宛先");
    const char16_t* const addressee_names[] = {u"名前1", u"名前2", u"名前3", u"名前4", u"名前5"};
    for (const char16_t* h : addressee_names) csv.text(h);
    csv.text(u"郵便番号");
    const char16_t* const addressee_lines[] = {u"住所1", u"住所2", u"住所3", u"住所4", u"住所5"};
    for (const char16_t* h : addressee_lines) csv.text(h);
    csv.text(u"差出番号");
    csv.text(u"名前1");
    csv.text(u"名前2");
    csv.text(u"郵便番号");
    csv.text(u"住所1");
    csv.text(u"住所2");
    csv.end_line();
}

void write_row(CsvText& csv, int i) {
    // A sender index outside the table (only possible through a damaged
    // record) exports empty sender texts rather than reading past the table.
    static const SenderRecord kNoSender{};
    const CardRecord& card = doc().hdata[i];
    const SenderRecord& sender =
        card.ftb >= 0 && card.ftb < FDATA_MAX ? doc().fdata[card.ftb] : kNoSender;

    csv.number(i + 1);
    for (const TextLine& line : card.tn.m) csv.text(line.s);
    csv.postal(card.tt.m);
    for (const TextLine& line : card.ta.m) csv.text(line.s);
    csv.number(card.ftb);
    for (const TextLine& line : sender.n) csv.text(line.s);
    csv.postal(sender.t);
    for (const TextLine& line : sender.a) csv.text(line.s);
    csv.end_line();
}

}  // namespace

int export_csv(WindowHandle owner) {
    Document& d = doc();
    if (d.work_dir[0] != 0) platform().set_current_directory(d.work_dir);
    char16_t message[2 * PATH_CAP + 64];
    if (platform().path_exists(d.chosen_file)) {
        format_with_text(message, sizeof message / sizeof message[0],
                         u"既に%sのファイルが存在しています。\r\n上書きしますか？", d.chosen_file);
        if (platform().message_box(owner, message, u"ファイル書込確認", kButtonsYesNo) != kAnswerYes)
            return CSV_DECLINED;
    }

    CsvText csv;
    write_header(csv);
    int count = count_cards();
    for (int i = 0; i < count; ++i) write_row(csv, i);

    std::string bytes = csv.bytes();
    if (!platform().replace_file(d.chosen_file, bytes.data(), bytes.size())) {
        format_with_text(message, sizeof message / sizeof message[0],
                         u"%sのファイルが開きません。\r\n書込中止します。", d.chosen_file);
        platform().message_box(owner, message, u"ファイル書込エラー", kButtonsOk | kIconWarning);
        return CSV_FAILED;
    }
    return CSV_WRITTEN;
}

#include "files/csv_import.h"

#include <cstring>
#include <string>

#include "files/csv_decode.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"

namespace {

constexpr const char16_t* kCaption = u"CSVから読込";
constexpr size_t kReadBlock = 1u << 16;

void show_message(WindowHandle owner, const char16_t* text, unsigned icon) {
    platform().message_box(owner, text, kCaption, kButtonsOk | icon);
}

}  // namespace

bool read_csv_file(const char16_t* path, std::string& bytes) {
    bytes.clear();
    FileHandle file = platform().open_for_read(path);
    if (file == nullptr) return false;
    bool fits = true;
    for (;;) {
        const size_t old_size = bytes.size();
        bytes.resize(old_size + kReadBlock);
        const size_t got = platform().read(file, &bytes[old_size], kReadBlock);
        bytes.resize(old_size + got);
        if (got == 0) break;
        if (bytes.size() > CSV_MAX_BYTES) {
            fits = false;
            break;
        }
    }
    platform().close(file);
    if (!fits) bytes.clear();
    return fits;
}

void apply_csv_addressees(const CsvAddressees& addressees) {
    Document& d = doc();
    clear_addressees();
    const int count = static_cast<int>(addressees.rows.size());
    for (int i = 0; i < count && i < HDATA_MAX; ++i) {
        const CsvAddressee& row = addressees.rows[static_cast<size_t>(i)];
        CardRecord& card = d.hdata[i];
        std::memcpy(card.tt.m, row.postal, sizeof card.tt.m);
        std::memcpy(card.ta.m, row.address, sizeof card.ta.m);
        std::memcpy(card.tn.m, row.name, sizeof card.tn.m);
        card.ftb = row.ftb;
    }
    d.current_card = 0;
    d.modified = true;
}

int import_csv(WindowHandle owner) {
    Document& d = doc();
    if (d.work_dir[0] != 0) platform().set_current_directory(d.work_dir);

    platform().show_wait_window(owner);
    std::string bytes;
    const bool read = read_csv_file(d.chosen_file, bytes);
    CsvAddressees addressees;
    if (read) {
        std::u16string text;
        decode_csv_bytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), text);
        read_csv_addressees(text, addressees);
    }
    platform().close_wait_window();

    char16_t message[PATH_CAP + 96];
    if (!read) {
        format_with_text(message, sizeof message / sizeof message[0],
                         u"%sのファイルが読み込めません。", d.chosen_file);
        show_message(owner, message, kIconWarning);
        return CSV_IMPORT_FAILED;
    }
    if (addressees.rows.empty()) {
        format_with_text(message, sizeof message / sizeof message[0],
                         u"%sには読み込める宛先がありません。", d.chosen_file);
        show_message(owner, message, kIconWarning);
        return CSV_IMPORT_FAILED;
    }

    TextBuilder question(message, sizeof message / sizeof message[0]);
    question.add_int(static_cast<int32_t>(addressees.rows.size()))
        .add(u"件の宛先を読み込みます。現在の宛先と置き換えますか？");
    if (platform().message_box(owner, message, kCaption, kButtonsYesNo | kIconQuestion) !=
        kAnswerYes)
        return CSV_IMPORT_DECLINED;

    apply_csv_addressees(addressees);
    if (addressees.left_out > 0) {
        TextBuilder note(message, sizeof message / sizeof message[0]);
        note.add_int(HDATA_MAX)
            .add(u"件を読み込みました。")
            .add_int(HDATA_MAX + 1)
            .add(u"件目以降の")
            .add_int(addressees.left_out)
            .add(u"件は読み込んでいません。");
        show_message(owner, message, kIconInformation);
    }
    return CSV_IMPORTED;
}

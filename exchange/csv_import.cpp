#include "exchange/csv_import.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "exchange/addressee_import.h"
#include "exchange/csv_addressees.h"
#include "exchange/csv_decode.h"
#include "model/document.h"
#include "model/text.h"

namespace {

constexpr const char16_t* kCaption = u"CSVから読込";
constexpr size_t kReadBlock = 1u << 16;

void show_message(WindowHandle owner, const char16_t* text, unsigned icon) {
    platform().message_box(owner, text, kCaption, kButtonsOk | icon);
}

}  // namespace

bool read_csv_file(const char16_t* path, std::u16string& file, size_t* bytes) {
    *bytes = 0;
    file.clear();
    FileHandle handle = platform().open_for_read(path);
    if (handle == nullptr) return false;
    // The file is read in blocks, then put together in a text of its exact
    // size, so that no room is cleared and nothing is copied again as a
    // growing buffer would.
    std::vector<std::unique_ptr<char16_t[]>> blocks;
    size_t in_last = kReadBlock;
    bool fits = true;  // read whole, within CSV_MAX_BYTES
    for (;;) {
        if (in_last == kReadBlock) {
            blocks.emplace_back(new char16_t[kReadBlock / 2]);
            in_last = 0;
        }
        char* room = reinterpret_cast<char*>(blocks.back().get()) + in_last;
        size_t got = 0;
        if (!platform().read_checked(handle, room, kReadBlock - in_last, &got)) {
            fits = false;
            break;
        }
        if (got == 0) break;
        in_last += got;
        *bytes += got;
        if (*bytes > CSV_MAX_BYTES) {
            fits = false;
            break;
        }
    }
    platform().close(handle);
    if (!fits) {
        *bytes = 0;
        return false;
    }
    // Every block but the last is full; an odd last byte is the first byte
    // of a unit of its own.
    file.reserve((*bytes + 1) / 2);
    for (size_t i = 0, left = *bytes; left > 0; ++i) {
        const size_t n = left < kReadBlock ? left : kReadBlock;
        file.append(blocks[i].get(), (n + 1) / 2);
        if (n % 2 != 0) {
            char16_t last = 0;
            std::memcpy(&last, reinterpret_cast<const char*>(blocks[i].get()) + n - 1, 1);
            file.back() = last;
        }
        left -= n;
    }
    return true;
}

int import_csv(WindowHandle owner) {
    Document& d = doc();
    if (d.work_dir[0] != 0) platform().set_current_directory(d.work_dir);

    platform().show_wait_window(owner);
    std::u16string text;
    AddresseeImport addressees;
    size_t bytes = 0;
    const bool read = read_csv_file(d.chosen_file, text, &bytes);
    bool columns = true;
    if (read) {
        decode_csv_file(text, bytes, &addressees.garbled);
        columns = read_csv_addressees(text, addressees);
    }
    platform().close_wait_window();

    char16_t message[PATH_CAP + IMPORT_TEXT_CAP];
    if (!columns) {
        TextBuilder(message, sizeof message / sizeof message[0])
            .add(u"名前や住所の欄が見つかりません。見出し: ")
            .add(addressees.unused);
        show_message(owner, message, kIconWarning);
        return CSV_IMPORT_FAILED;
    }
    if (!read) {
        format_with_text(message, sizeof message / sizeof message[0],
                         u"%sのファイルが読み込めません。", d.chosen_file);
        show_message(owner, message, kIconWarning);
        return CSV_IMPORT_FAILED;
    }
    if (addressees.addressees.empty()) {
        format_with_text(message, sizeof message / sizeof message[0],
                         u"%sには読み込める宛先がありません。", d.chosen_file);
        show_message(owner, message, kIconWarning);
        return CSV_IMPORT_FAILED;
    }
    return offer_import(owner, kCaption, d.chosen_file, addressees) == IMPORT_CANCELLED
               ? CSV_IMPORT_DECLINED
               : CSV_IMPORTED;
}

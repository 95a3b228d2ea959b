#include "postal/postal_update.h"

#include <string>
#include <vector>

#include "exchange/csv_import.h"
#include "files/file_dialogs.h"
#include "postal/postal_table_builder.h"
#include "model/document.h"
#include "model/text.h"

namespace {

const char16_t kCaption[] = u"郵便番号データの更新";
const char16_t kTableName[] = u"\\postal_codes.bin";

// The updated table's bytes, read at the first lookup after start or update.
struct UpdatedTable {
    bool read = false;
    std::string bytes;
};
UpdatedTable g_updated;

bool read_whole_file(const char16_t* path, std::string& out) {
    out.clear();
    FileHandle file = platform().open_for_read(path);
    if (file == nullptr) return false;
    char block[65536];
    size_t got = 0;
    bool ok = true;
    while ((ok = platform().read_checked(file, block, sizeof block, &got)) && got > 0) out.append(block, got);
    platform().close(file);
    return ok;
}

void tell(WindowHandle owner, const char16_t* pattern, const char16_t* arg, unsigned icon) {
    char16_t message[PATH_CAP + 160];
    format_with_text(message, PATH_CAP + 160, pattern, arg);
    platform().message_box(owner, message, kCaption, kButtonsOk | icon);
}

bool is_zip(const char16_t* path) {
    int n = 0;
    while (path[n]) ++n;
    return n >= 4 && text_equal_ignore_case(path + n - 4, u".zip");
}

void show_progress(void*, int percent) {
    char16_t line[40];
    TextBuilder(line, 40).add(u"郵便番号データ作成中 ").add_int(percent).add_unit(u'%');
    platform().wait_window_progress(line);
}

// Reads one of Japan Post's files into `rows`; its kind, POSTAL_FILE_NONE
// when it cannot be read or is not one of them.
int read_postal_file(const char16_t* path, std::vector<PostalRow>& rows, const PostalProgress& progress) {
    std::u16string text;
    size_t bytes = 0;
    if (!read_csv_file(path, text, &bytes)) return POSTAL_FILE_NONE;
    return read_japan_post_bytes(text, bytes, rows, &progress);
}

// yyyymmdd of the newest of the files' write dates, 0 when none is known.
uint32_t data_date(const char16_t* const* paths, int count) {
    uint32_t newest = 0;
    for (int i = 0; i < count; ++i) {
        LocalTime t{};
        if (!platform().file_date(paths[i], &t)) continue;
        uint32_t date = static_cast<uint32_t>(t.year * 10000 + t.month * 100 + t.day);
        if (date > newest) newest = date;
    }
    return newest;
}

int build_and_write(WindowHandle owner, const char16_t* const* paths, int count) {
    std::vector<PostalRow> rows;
    PostalProgress progress{show_progress, nullptr};
    for (int i = 0; i < count; ++i) {
        int kind = read_postal_file(paths[i], rows, progress);
        if (kind != (i == 0 ? POSTAL_FILE_ADDRESS : POSTAL_FILE_BUSINESS)) {
            platform().close_wait_window();
            tell(owner,
                 i == 0 ? u"%s\r\nは日本郵便の住所の郵便番号データ（utf_ken_all.csv または "
                          u"KEN_ALL.CSV）ではありません。\r\n郵便番号データは変わりません。"
                        : u"%s\r\nは日本郵便の事業所の個別郵便番号データ（JIGYOSYO.CSV）ではありません。"
                          u"\r\n郵便番号データは変わりません。",
                 paths[i], kIconWarning);
            return POSTAL_UPDATE_FAILED;
        }
    }
    std::string table = build_postal_table(rows, data_date(paths, count), &progress);
    PostalCodeTable check;
    char16_t path[PATH_CAP];
    bool written = open_postal_code_table(table.data(), table.size(), check) == POSTAL_TABLE_OK &&
                   updated_postal_table_path(path, PATH_CAP);
    if (written) {
        // The folder's name without the table's.
        char16_t folder[PATH_CAP];
        text_copy(folder, PATH_CAP, path);
        int n = 0;
        while (folder[n]) ++n;
        folder[n - (sizeof kTableName / sizeof kTableName[0] - 1)] = 0;
        written = platform().make_folder(folder) && platform().replace_file(path, table.data(), table.size());
    }
    platform().close_wait_window();
    if (!written) {
        tell(owner, u"郵便番号データを書き込めません。\r\n%s\r\n郵便番号データは変わりません。",
             updated_postal_table_path(path, PATH_CAP) ? path : u"", kIconError);
        return POSTAL_UPDATE_FAILED;
    }
    forget_postal_table_in_use();
    char16_t number[12];
    TextBuilder(number, 12).add_int(static_cast<int32_t>(check.code_count));
    tell(owner, u"%s件の郵便番号を読み込みました。", number, kIconInformation);
    return POSTAL_UPDATED;
}

}  // namespace

bool updated_postal_table_path(char16_t* out, int cap) {
    char16_t folder[PATH_CAP];
    if (!platform().user_data_folder(folder, PATH_CAP) || folder[0] == 0) return false;
    TextBuilder path(out, cap);
    path.add(folder).add(kTableName);
    return path.len + 1 < cap;
}

int open_postal_code_table_in_use(PostalCodeTable& table) {
    if (!g_updated.read) {
        g_updated.read = true;
        char16_t path[PATH_CAP];
        if (!updated_postal_table_path(path, PATH_CAP) || !read_whole_file(path, g_updated.bytes))
            g_updated.bytes.clear();
    }
    if (open_postal_code_table(g_updated.bytes.data(), g_updated.bytes.size(), table) == POSTAL_TABLE_OK)
        return POSTAL_TABLE_OK;
    return open_builtin_postal_code_table(table);
}

void forget_postal_table_in_use() { g_updated = UpdatedTable{}; }

void describe_postal_table_in_use(char16_t* out, int cap) {
    PostalCodeTable table;
    TextBuilder b(out, cap);
    b.add(u"郵便番号データ：");
    if (open_postal_code_table_in_use(table) != POSTAL_TABLE_OK) {
        b.add(u"なし");
        return;
    }
    if (table.date != 0) {
        b.add_int(static_cast<int32_t>(table.date / 10000)).add(u"年");
        b.add_int(static_cast<int32_t>(table.date / 100 % 100)).add(u"月");
        b.add_int(static_cast<int32_t>(table.date % 100)).add(u"日");
    } else {
        b.add(u"日付不明");
    }
    PostalCodeTable builtin;
    bool updated = open_builtin_postal_code_table(builtin) != POSTAL_TABLE_OK || builtin.codes != table.codes;
    b.add(updated ? u"\r\n（更新済み）" : u"\r\n（組み込み）");
}

int update_postal_codes_from(WindowHandle owner, const char16_t* address, const char16_t* business) {
    const char16_t* paths[2] = {address, business};
    int count = business ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        if (is_zip(paths[i])) {
            platform().message_box(owner, u"zipを展開してから、中のCSVファイルを選んでください。", kCaption,
                                   kButtonsOk | kIconWarning);
            return POSTAL_UPDATE_FAILED;
        }
    }
    platform().show_wait_window(owner);
    return build_and_write(owner, paths, count);
}

int update_postal_codes(WindowHandle owner) {
    if (open_file_dialog(owner, DIALOG_POSTAL) == EXT_NONE) return POSTAL_UPDATE_CANCELLED;
    char16_t address[PATH_CAP];
    text_copy(address, PATH_CAP, doc().chosen_file);
    if (is_zip(address)) return update_postal_codes_from(owner, address, nullptr);
    bool business = platform().message_box(owner,
                                           u"事業所の個別郵便番号（JIGYOSYO.CSV）も読み込みますか？",
                                           kCaption, kButtonsYesNo | kIconQuestion) == kAnswerYes &&
                    open_file_dialog(owner, DIALOG_POSTAL_BUSINESS) != EXT_NONE;
    return update_postal_codes_from(owner, address, business ? doc().chosen_file : nullptr);
}

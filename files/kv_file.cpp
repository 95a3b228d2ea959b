#include "files/kv_file.h"

#include "files/backup_generations.h"
#include "files/data_files.h"
#include "files/file_dialogs.h"
#include "files/file_stamps.h"
#include "files/kv_line_splitter.h"
#include "model/defaults.h"
#include "model/document.h"

const char16_t* const KV_READ_KEPT_NOTE = u"\r\n読込を中止しました。データは開く前のままです。";
const char16_t* const KV_READ_CUT_SHORT = u"%sを最後まで読めません。";

namespace {

constexpr char16_t kCr = 0x000D;
constexpr char16_t kLf = 0x000A;
constexpr char16_t kByteOrderMark = 0xFEFF;  // written as the bytes FF FE

// Texts of the messages; `%s` is the file name as the caller passed it.
const char16_t* const kCannotOpen = u"ﾌｧｲﾙが開けません";
const char16_t* const kCannotOpenCaption = u"ﾌｧｲﾙｴﾗｰ";
const char16_t* const kNotWide = u"%sがWide文字で有りません!。";
const char16_t* const kNotWideCaption = u"ErrorFileRead";
const char16_t* const kCloseFailedCaption = u"CloseHandle-errer";
const char16_t* const kOverwriteQuestion = u"既に%sのファイルが存在しています。\r\n上書きしますか？";
const char16_t* const kCannotCreate = u"ファイルが開きません。\r\n書込中止します。";

struct KindCaptions {
    const char16_t* confirm;
    const char16_t* error;
    int dialog;
};

const KindCaptions& captions_of(int kind) {
    static const KindCaptions sender{u"差出ファイル書込確認", u"差出ファイル書込エラー", KIND_SENDER};
    static const KindCaptions addressee{u"宛先ファイル書込確認", u"宛先ファイル書込エラー",
                                        KIND_ADDRESSEE};
    static const KindCaptions layout{u"情報ファイル書込確認", u"情報ファイル書込エラー", KIND_LAYOUT};
    if (kind == KIND_SENDER) return sender;
    if (kind == KIND_ADDRESSEE) return addressee;
    return layout;
}

// Every file operation starts from the working directory.
void enter_work_dir() {
    if (doc().work_dir[0] != 0) platform().set_current_directory(doc().work_dir);
}

}  // namespace

void report_read_failure(WindowHandle owner, const char16_t* pattern, const char16_t* name, const char16_t* kept,
                         const char16_t* caption, unsigned style) {
    char16_t first[PATH_CAP + 48], message[PATH_CAP + 96];
    format_with_text(first, PATH_CAP + 48, pattern, name);
    TextBuilder(message, PATH_CAP + 96).add(first).add(kept);
    platform().message_box(owner, message, caption, style);
}

bool resolve_data_path(const char16_t* name, char16_t* out, int cap) {
    if (cap <= 0) return false;
    out[0] = 0;
    if (name == nullptr) return false;
    const bool drive_path = name[0] != 0 && name[1] == u':' && name[2] == u'\\';
    const int name_len = text_length_bounded(name, cap);
    int dir_len = 0;
    bool separator = false;
    const char16_t* dir = doc().work_dir;
    if (!drive_path && dir[0] != 0) {
        dir_len = text_length_bounded(dir, PATH_CAP - 1);
        separator = dir[dir_len - 1] != u'\\';
    }
    if (dir_len + (separator ? 1 : 0) + name_len > cap - 1) return false;
    TextBuilder path(out, cap);
    for (int i = 0; i < dir_len; ++i) path.add_unit(dir[i]);
    if (separator) path.add_unit(u'\\');
    path.add(name);
    return true;
}

int read_kv_file(WindowHandle owner, int mode, int kind, const char16_t* name) {
    if (name == nullptr) name = u"";
    enter_work_dir();
    char16_t path[PATH_CAP];
    FileHandle file = nullptr;
    if (resolve_data_path(name, path, PATH_CAP)) {
        // Noted before reading: a change made meanwhile counts as a change.
        remember_file_stamp(path);
        file = platform().open_for_read(path);
    }
    // A load the user asked for says that the document stayed as it was.
    const char16_t* kept = mode == READ_INTERACTIVE ? KV_READ_KEPT_NOTE : u"";
    if (file == nullptr) {
        if (mode == READ_INTERACTIVE)
            report_read_failure(owner, kCannotOpen, name, kept, kCannotOpenCaption, kButtonsOk | kIconWarning);
        return KV_READ_FAILED;
    }

    // The part is read in place of the cleared one; a file that is not read
    // to its end puts the whole document back before anything is shown.
    keep_document_copy();
    if (kind == KIND_SENDER)
        clear_senders();
    else if (kind == KIND_ADDRESSEE)
        clear_addressees();
    else
        reset_layouts();

    KvLineSplitter lines(file, KV_DATA_FILE_LINES);
    const char16_t* failure = nullptr;
    if (!lines.read_byte_order_mark()) {
        failure = lines.read_failed() ? KV_READ_CUT_SHORT : kNotWide;
    } else if (kind == KIND_SENDER) {
        kv_split_lines(lines, nullptr, [](const char16_t* line, int len) { read_sender_line(line, len); });
    } else {
        // The lines of the addressee and layout files the program wrote are
        // mostly taken at once, in the writer's order.
        const bool addressees = kind == KIND_ADDRESSEE;
        CardKeyExpectation guess = addressees ? written_addressee_keys() : written_layout_keys();
        auto take = [&guess](KvLineSplitter& at) { return guess.take_lines(at); };
        if (addressees)
            kv_split_lines(lines, take, [&guess](const char16_t* line, int len) {
                read_addressee_line(line, len, &guess);
            });
        else
            kv_split_lines(lines, take, [&guess](const char16_t* line, int len) {
                read_layout_line(line, len, &guess);
            });
    }
    if (failure == nullptr && lines.read_failed()) failure = KV_READ_CUT_SHORT;

    const bool closed = platform().close(file);
    if (failure != nullptr) {
        restore_document_copy();
        report_read_failure(owner, failure, name, kept, kNotWideCaption, kButtonsOk);
        return KV_READ_FAILED;
    }
    if (!closed) platform().message_box(owner, name, kCloseFailedCaption, kButtonsOk);
    return KV_READ_DONE;
}

KvWriter::KvWriter() : buffer_{}, builder_(buffer_, KV_WRITE_LINE_CAP) {
    units_.reserve(1 << 16);
    units_.push_back(kByteOrderMark);
}

TextBuilder& KvWriter::line() {
    builder_ = TextBuilder(buffer_, KV_WRITE_LINE_CAP);
    return builder_;
}

void KvWriter::end_line() {
    int len = builder_.len;
    if (len > KV_WRITE_LINE_CAP - 3) len = KV_WRITE_LINE_CAP - 3;
    units_.append(buffer_, static_cast<size_t>(len));
    units_.push_back(kCr);
    units_.push_back(kLf);
}

void kv_add_field(TextBuilder& line, const char16_t* field, int cap) {
    for (int i = 0; i < cap - 1 && field[i] != 0; ++i) line.add_unit(field[i]);
}

int write_kv_file(WindowHandle owner, const char16_t* name, int mode, int kind,
                  void (*emit)(KvWriter& out)) {
    if (name == nullptr) name = u"";
    const KindCaptions& captions = captions_of(kind);
    enter_work_dir();
    char16_t path[PATH_CAP];
    bool resolved = resolve_data_path(name, path, PATH_CAP);
    char16_t other[PATH_CAP];
    const char16_t* shown = name;  // the name the questions show

    if (mode == WRITE_INTERACTIVE && resolved && platform().path_exists(path)) {
        char16_t question[PATH_CAP + 48];
        format_with_text(question, PATH_CAP + 48, kOverwriteQuestion, name);
        if (platform().message_box(owner, question, captions.confirm, kButtonsYesNo) != kAnswerYes) {
            // The user may pick another file; the chosen path replaces the
            // one being written (chosen_file itself when that was passed).
            char16_t* destination = name == doc().chosen_file ? doc().chosen_file : other;
            if (destination == other) text_copy(other, PATH_CAP, name);
            if (save_file_dialog(owner, destination, captions.dialog) != EXT_TXT) return WRITE_DECLINED;
            resolved = resolve_data_path(destination, path, PATH_CAP);
            shown = destination;
        }
    }
    // The exit save asks this before it writes anything (save_startup_files).
    if (mode == WRITE_INTERACTIVE && resolved &&
        confirm_overwrite_if_changed(owner, path, shown, kButtonsYesNo) != kAnswerYes)
        return WRITE_DECLINED;

    if (resolved) {
        KvWriter out;
        emit(out);
        // The units as they lie in memory are the UTF-16LE bytes of the file
        // on the little-endian machines the program runs on.
        const std::u16string& units = out.units();
        if (replace_keeping_backup(owner, path, units.data(), units.size() * sizeof(char16_t))) {
            remember_file_stamp(path);
            return WRITE_DONE;
        }
    }
    platform().message_box(owner, kCannotCreate, captions.error, kButtonsOk | kIconWarning);
    return WRITE_FAILED;
}

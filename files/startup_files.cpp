#include "files/startup_files.h"

#include "files/data_files.h"
#include "files/file_stamps.h"
#include "files/fit_settings_file.h"
#include "files/kv_file.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"

const char16_t* const SENDER_STARTUP_FILE = u"zelko1.txt";
const char16_t* const ADDRESSEE_STARTUP_FILE = u"zelko2.txt";
const char16_t* const LAYOUT_STARTUP_FILE = u"zelko3.txt";

namespace {

// A start-up file that was there but could not be read (no byte order
// mark, a read error): its part of the document stayed empty, so the exit
// save must not replace it unasked. Kept with the file's stamp as found.
struct UnreadFile {
    bool unread;
    FileStamp stamp;
};
UnreadFile g_unread[3];

const char16_t* const kUnreadQuestion =
    u"%sは起動時に読めなかったファイルです。今の内容で上書きしますか？\r\n"
    u"（いいえ：このファイルはそのまま残し、ほかのファイルを保存します）";

// kAnswerYes unless `path` is still the file that could not be read at
// start-up; then the user's answer, No when Enter is pressed.
int confirm_overwrite_unread(const char16_t* path, const char16_t* name, const UnreadFile& file) {
    FileStamp now{};
    if (!file.unread || !platform().file_stamp(path, &now) || now.size != file.stamp.size ||
        now.write_time != file.stamp.write_time)
        return kAnswerYes;
    char16_t question[PATH_CAP + 96];
    format_with_text(question, PATH_CAP + 96, kUnreadQuestion, name);
    return platform().message_box(nullptr, question, u"ファイル書込確認",
                                  kButtonsYesNoCancel | kIconWarning | kDefaultButton2);
}

}  // namespace

void load_startup_files(WindowHandle owner) {
    Document& d = doc();
    // A folder too long for the field leaves it empty rather than cut short.
    if (!platform().get_current_directory(d.work_dir, PATH_CAP)) text_clear(d.work_dir, PATH_CAP);
    d.work_dir[PATH_CAP - 1] = 0;

    platform().show_wait_window(owner);
    clear_senders();
    clear_addressees();
    reset_layouts();
    const char16_t* const names[3] = {SENDER_STARTUP_FILE, ADDRESSEE_STARTUP_FILE, LAYOUT_STARTUP_FILE};
    for (int kind = KIND_SENDER; kind <= KIND_LAYOUT; ++kind) {
        const bool read = read_kv_file(owner, READ_SILENT, kind, names[kind - 1]) == KV_READ_DONE;
        // The exit save writes them whatever other files were opened or
        // saved meanwhile, so their stamps are never forgotten.
        char16_t path[PATH_CAP];
        UnreadFile& unread = g_unread[kind - 1];
        unread.unread = false;
        if (resolve_data_path(names[kind - 1], path, PATH_CAP)) {
            keep_file_stamp(path);
            // A missing file is no loss; one that is there but was not read is.
            unread.unread = !read && platform().file_stamp(path, &unread.stamp);
        }
    }
    load_fit_settings();
    reset_layout_clipboard();
    platform().close_wait_window();
    d.modified = false;
}

int save_startup_files() {
    // A file another program changed since it was loaded or saved is
    // written only when the user says so; Cancel writes none of the three.
    const char16_t* const names[3] = {SENDER_STARTUP_FILE, ADDRESSEE_STARTUP_FILE, LAYOUT_STARTUP_FILE};
    bool write[3];
    for (int i = 0; i < 3; ++i) {
        char16_t path[PATH_CAP];
        int answer = kAnswerYes;
        if (resolve_data_path(names[i], path, PATH_CAP)) {
            answer = confirm_overwrite_unread(path, names[i], g_unread[i]);
            if (answer == kAnswerYes)
                answer = confirm_overwrite_if_changed(nullptr, path, names[i], kButtonsYesNoCancel);
        }
        if (answer == kAnswerCancel) return WRITE_DECLINED;
        write[i] = answer == kAnswerYes;
    }

    platform().show_wait_window(nullptr);
    int (*const writers[3])(WindowHandle, const char16_t*, int) = {write_sender_file, write_addressee_file,
                                                                   write_layout_file};
    int result = WRITE_DONE;
    for (int i = 0; i < 3 && result != WRITE_FAILED; ++i)
        if (write[i]) result = writers[i](nullptr, names[i], WRITE_SILENT);
    platform().close_wait_window();
    return result == WRITE_FAILED ? WRITE_FAILED : WRITE_DONE;
}

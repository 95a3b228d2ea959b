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

void load_startup_files(WindowHandle owner) {
    Document& d = doc();
    // A folder too long for the field leaves it empty rather than cut short.
    if (!platform().get_current_directory(d.work_dir, PATH_CAP)) text_clear(d.work_dir, PATH_CAP);
    d.work_dir[PATH_CAP - 1] = 0;

    platform().show_wait_window(owner);
    clear_senders();
    clear_addressees();
    reset_layouts();
    read_kv_file(owner, READ_SILENT, KIND_SENDER, SENDER_STARTUP_FILE);
    read_kv_file(owner, READ_SILENT, KIND_ADDRESSEE, ADDRESSEE_STARTUP_FILE);
    read_kv_file(owner, READ_SILENT, KIND_LAYOUT, LAYOUT_STARTUP_FILE);
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
        if (resolve_data_path(names[i], path, PATH_CAP))
            answer = confirm_overwrite_if_changed(nullptr, path, names[i], kButtonsYesNoCancel);
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

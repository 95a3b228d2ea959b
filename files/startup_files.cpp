#include "files/startup_files.h"

#include "files/data_files.h"
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
    reset_layout_clipboard();
    platform().close_wait_window();
    d.modified = false;
}

int save_startup_files() {
    platform().show_wait_window(nullptr);
    int result = write_sender_file(nullptr, SENDER_STARTUP_FILE, WRITE_SILENT);
    if (result != WRITE_FAILED)
        result = write_addressee_file(nullptr, ADDRESSEE_STARTUP_FILE, WRITE_SILENT);
    if (result != WRITE_FAILED)
        result = write_layout_file(nullptr, LAYOUT_STARTUP_FILE, WRITE_SILENT);
    platform().close_wait_window();
    return result == WRITE_FAILED ? WRITE_FAILED : WRITE_DONE;
}

#include "app/exit_flow.h"

#include "files/kv_file.h"
#include "files/startup_files.h"
#include "model/document.h"

int confirm_exit(WindowHandle owner) {
    Platform& os = platform();
    if (os.message_box(owner, u"終了しますか？", u"Zelkovane", kButtonsYesNo) != kAnswerYes)
        return EXIT_STAY;
    if (!doc().modified) return EXIT_ALLOWED;
    if (os.message_box(owner, u"保存しますか？", u"ファイル書込確認", kButtonsYesNo) != kAnswerYes)
        return EXIT_ALLOWED;
    // Shows the wait window (without an owner) around the three writes; a
    // failed write or Cancel to a changed file keeps the program open.
    return save_startup_files() == WRITE_DONE ? EXIT_ALLOWED : EXIT_STAY;
}

#include "app/exit_flow.h"

#include "editors/editor_shared.h"
#include "files/kv_file.h"
#include "files/startup_files.h"
#include "model/document.h"
#include "print/print_job.h"

namespace {

const char16_t kSaveQuestion[] = u"保存しますか？";
const char16_t kSaveCaption[] = u"ファイル書込確認";

// Shows the wait window (without an owner) around the three writes; a
// failed write or Cancel to a changed file keeps the program open.
bool save_for_exit() { return save_startup_files() == WRITE_DONE; }

}  // namespace

int confirm_exit(WindowHandle owner) {
    Platform& os = platform();
    if (os.message_box(owner, u"終了しますか？", u"Zelkovane", kButtonsYesNo) != kAnswerYes)
        return EXIT_STAY;
    // Asked only once the user wants to end: an editor's changes put back
    // by its No must not be lost to a program that then keeps running.
    if (!settle_open_editors(owner)) return EXIT_STAY;
    if (!doc().modified) return EXIT_ALLOWED;
    if (os.message_box(owner, kSaveQuestion, kSaveCaption, kButtonsYesNo) != kAnswerYes)
        return EXIT_ALLOWED;
    return save_for_exit() ? EXIT_ALLOWED : EXIT_STAY;
}

bool unsaved_changes() { return doc().modified || open_editors_have_changes(); }

bool session_may_end(WindowHandle owner) {
    if (!unsaved_changes()) return true;
    if (print_lock_held() || editor_modal_open()) return false;
    if (!settle_open_editors(owner)) return false;
    if (!doc().modified) return true;
    int answer = platform().message_box(owner, kSaveQuestion, kSaveCaption, kButtonsYesNoCancel);
    if (answer == kAnswerYes) return save_for_exit();
    return answer == kAnswerNo;
}

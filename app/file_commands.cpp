#include "app/file_commands.h"

#include "app/resource_ids.h"
#include "editors/editor_shared.h"
#include "editors/proof_sheet.h"
#include "exchange/csv_export.h"
#include "exchange/csv_import.h"
#include "exchange/vcard_import.h"
#include "files/data_files.h"
#include "files/file_dialogs.h"
#include "files/kv_file.h"
#include "exchange/legacy_import.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"

namespace {

// While the document or an open editor has unsaved changes, asks whether to
// go on; true when there is nothing to lose or the user answered Yes.
bool may_discard_changes(WindowHandle owner, const char16_t* question, const char16_t* caption) {
    if (!doc().modified && !open_editors_have_changes()) return true;
    return platform().message_box(owner, question, caption, kButtonsYesNo) == kAnswerYes;
}

bool may_open(WindowHandle owner) {
    return may_discard_changes(owner, u"保存せず開いて良いですか？", u"開く！");
}

void refuse_save(WindowHandle owner) {
    platform().message_box(owner, u"拡張子違い又は未選択で保存しません。", u"ファイル保存！",
                           kButtonsOk);
}

// The file name as it was before an open: put back unless the open read
// its file, so that an open that failed or was declined changes nothing.
class ChosenFileBefore {
public:
    ChosenFileBefore() { text_set(name_, doc().chosen_file); }
    ~ChosenFileBefore() {
        if (restore_) text_set(doc().chosen_file, name_);
    }
    void forget() { restore_ = false; }

private:
    char16_t name_[PATH_CAP];
    bool restore_ = true;
};

bool is_data_kind(int kind) {
    return kind == KIND_SENDER || kind == KIND_ADDRESSEE || kind == KIND_LAYOUT;
}

}  // namespace

int command_new(WindowHandle owner) {
    if (!may_discard_changes(owner, u"保存せず新規にして良いですか？", u"新規作成！"))
        return REPAINT_NONE;
    if (!settle_open_editors(owner)) return REPAINT_NONE;
    clear_senders();
    clear_addressees();
    reset_layouts();
    doc().modified = false;
    proof_sheet_document_replaced();
    return REPAINT_WINDOW;
}

int command_open(WindowHandle owner, int kind) {
    if (!is_data_kind(kind)) return REPAINT_NONE;
    if (!may_open(owner)) return REPAINT_NONE;
    ChosenFileBefore before;
    if (open_file_dialog(owner, kind) == EXT_TXT && settle_open_editors(owner)) {
        platform().show_wait_window(owner);
        // A failed load left the document as it was, unsaved changes included.
        if (read_kv_file(owner, READ_INTERACTIVE, kind, doc().chosen_file) == KV_READ_DONE) {
            doc().modified = false;
            before.forget();
            proof_sheet_document_replaced();
        }
        platform().close_wait_window();
    }
    return REPAINT_WINDOW;
}

int command_save(WindowHandle owner, int kind) {
    if (!is_data_kind(kind)) return REPAINT_NONE;
    Document& d = doc();
    if (save_file_dialog(owner, d.chosen_file, kind) != EXT_TXT) {
        refuse_save(owner);
        return REPAINT_NONE;
    }
    platform().show_wait_window(owner);
    int result = kind == KIND_SENDER      ? write_sender_file(owner, d.chosen_file, WRITE_INTERACTIVE)
                 : kind == KIND_ADDRESSEE ? write_addressee_file(owner, d.chosen_file, WRITE_INTERACTIVE)
                                          : write_layout_file(owner, d.chosen_file, WRITE_INTERACTIVE);
    if (result == WRITE_DONE) d.modified = false;
    platform().close_wait_window();
    return REPAINT_NONE;
}

int command_export_csv(WindowHandle owner) {
    if (save_file_dialog(owner, doc().chosen_file, DIALOG_CSV) != EXT_CSV) {
        refuse_save(owner);
        return REPAINT_NONE;
    }
    platform().show_wait_window(owner);
    export_csv(owner);
    platform().close_wait_window();
    return REPAINT_NONE;
}

int command_import_legacy(WindowHandle owner, int kind) {
    if (kind != LEGACY_LAYOUT && kind != LEGACY_ADDRESS) return REPAINT_NONE;
    if (!may_open(owner)) return REPAINT_NONE;
    ChosenFileBefore before;
    if (open_file_dialog(owner, DIALOG_ANY) == EXT_TXT && settle_open_editors(owner)) {
        platform().show_wait_window(owner);
        // Declining the import question or a failed import leaves the
        // document untouched, so its unsaved changes must still be offered
        // at exit.
        if (import_legacy(owner, kind) == LEGACY_READ) {
            doc().modified = false;
            before.forget();
            proof_sheet_document_replaced();
        }
        platform().close_wait_window();
    }
    return REPAINT_WINDOW;
}

int command_import_csv(WindowHandle owner) {
    if (!may_open(owner)) return REPAINT_NONE;
    ChosenFileBefore before;
    // Any name the dialog returns is read: spreadsheets also save CSV as .txt.
    if (open_file_dialog(owner, DIALOG_CSV) != EXT_NONE && settle_open_editors(owner) &&
        import_csv(owner) == CSV_IMPORTED) {
        before.forget();
        proof_sheet_document_replaced();
    }
    return REPAINT_WINDOW;
}

int command_import_vcard(WindowHandle owner) {
    if (!may_open(owner)) return REPAINT_NONE;
    ChosenFileBefore before;
    if (open_file_dialog(owner, DIALOG_VCARD) != EXT_NONE && settle_open_editors(owner) &&
        import_vcard(owner) == VCARD_IMPORTED) {
        before.forget();
        proof_sheet_document_replaced();
    }
    return REPAINT_WINDOW;
}

int run_file_command(WindowHandle owner, int command) {
    switch (command) {
    case CMD_NEW: return command_new(owner);
    case CMD_OPEN_SENDERS: return command_open(owner, KIND_SENDER);
    case CMD_OPEN_ADDRESSEES: return command_open(owner, KIND_ADDRESSEE);
    case CMD_OPEN_LAYOUTS: return command_open(owner, KIND_LAYOUT);
    case CMD_SAVE_SENDERS: return command_save(owner, KIND_SENDER);
    case CMD_SAVE_ADDRESSEES: return command_save(owner, KIND_ADDRESSEE);
    case CMD_SAVE_LAYOUTS: return command_save(owner, KIND_LAYOUT);
    case CMD_SAVE_CSV: return command_export_csv(owner);
    case CMD_OPEN_LEGACY_LAYOUT: return command_import_legacy(owner, LEGACY_LAYOUT);
    case CMD_OPEN_LEGACY_ADDRESS: return command_import_legacy(owner, LEGACY_ADDRESS);
    case CMD_IMPORT_CSV: return command_import_csv(owner);
    case CMD_IMPORT_VCARD: return command_import_vcard(owner);
    default: return REPAINT_NONE;
    }
}

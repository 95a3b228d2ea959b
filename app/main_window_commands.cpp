#include "app/main_window_commands.h"

#include "app/bitmap_export_command.h"
#include "app/exit_flow.h"
#include "app/file_commands.h"
#include "app/navigation.h"
#include "app/resource_ids.h"
#include "editors/editor_shared.h"
#include "files/fit_settings_file.h"
#include "postal/postal_update.h"
#include "model/document.h"
#include "print/print_job.h"
#include "print/printer_state.h"
#include "render/card_fit.h"

namespace {

// 65 and 336: the print position dialog, after the printer settings when no
// printer is known yet. The document counts as changed whatever the dialogs
// did.
void print_position_command(MainWindowActions& window) {
    if (printer_state().printer_name[0] == 0) window.printer_settings();
    window.print_position();
    doc().modified = true;
    window.refresh_status();
}

// 73, 74, 77 and 78: one of the four switches of how lines are set flips, is kept in its file
// beside the data files at once (not a change of the document: the exit
// asks nothing for it), and the card is drawn anew.
void flip_fit_switch(WindowHandle owner, bool FitSwitches::*field, MainWindowActions& window) {
    fit_switches().*field = !(fit_switches().*field);
    window.show_fit_switches();
    if (!save_fit_settings())
        platform().message_box(owner, u"設定をzelko_fit.txtに保存できません。", u"Zelkovane",
                               kButtonsOk | kIconWarning);
    window.repaint();
}

}  // namespace

void exit_command(WindowHandle owner, MainWindowActions& window) {
    // A close request while a print command holds the print lock (served by
    // the print dialog's, the confirmation's or the job's message loop):
    // ending the program here would end the job half-way or close windows
    // under the dialog. It waits for the lock's end; during the job the
    // user may cancel the job (as with the abort dialog's Cancel). A second
    // request meanwhile asks nothing more.
    if (print_lock_held()) {
        if (close_after_print_job() && print_job_running() && !print_user_abort() &&
            platform().message_box(owner, u"印刷中です。印刷を中止しますか？", u"Zelkovane",
                                   kButtonsYesNo) == kAnswerYes)
            set_print_user_abort();
        return;
    }
    if (editor_modal_open()) return;
    if (confirm_exit(owner) == EXIT_ALLOWED) window.destroy();
}

void run_command(WindowHandle owner, int id, MainWindowActions& window) {
    // While a print command runs, only a request to end the program is
    // taken (it waits for the print's end).
    if (print_lock_held()) {
        if (id == CMD_EXIT || id == CMD_TB_EXIT) exit_command(owner, window);
        return;
    }
    // An editor's modal dialog waits for an answer about the document as it
    // stands (the one-line editor's row, the card a chooser is for).
    if (editor_modal_open()) return;
    switch (id) {
    case CMD_NEW:
    case CMD_OPEN_SENDERS:
    case CMD_OPEN_ADDRESSEES:
    case CMD_OPEN_LAYOUTS:
    case CMD_OPEN_LEGACY_LAYOUT:
    case CMD_OPEN_LEGACY_ADDRESS:
    case CMD_IMPORT_CSV:
    case CMD_IMPORT_VCARD:
        // The document is replaced: after the command's own question and
        // file choice the open editors settle their changes
        // (app/file_commands.h).
        if (run_file_command(owner, id) == REPAINT_WINDOW) window.repaint();
        break;
    case CMD_SAVE_SENDERS:
    case CMD_SAVE_ADDRESSEES:
    case CMD_SAVE_LAYOUTS:
    case CMD_SAVE_CSV:
        if (run_file_command(owner, id) == REPAINT_WINDOW) window.repaint();
        break;
    case CMD_SAVE_BITMAP:
        command_export_bitmap(owner, window);
        break;
    case CMD_CARD_LAYOUT:
    case CMD_TB_CARD_LAYOUT:
        window.open_card_layout();
        break;
    case CMD_SENDER_EDITOR:
    case CMD_TB_SENDER_EDITOR:
        window.open_sender_editor();
        break;
    case CMD_ADDRESSEE_LIST:
    case CMD_TB_ADDRESSEE_LIST:
        window.open_addressee_list();
        break;
    case CMD_PROOF_SHEET:
        window.open_proof_sheet();
        break;
    case CMD_PRINT_POSITION:
    case CMD_TB_PRINT_POSITION:
        print_position_command(window);
        break;
    case CMD_PRINTER_SETTINGS:
        window.printer_settings();
        doc().modified = true;
        window.refresh_status();
        break;
    case CMD_PRINT:
    case CMD_TB_PRINT:
        window.print();
        window.refresh_status();
        break;
    case CMD_FIT_LONG_LINES:
        flip_fit_switch(owner, &FitSwitches::fit_long_lines, window);
        break;
    case CMD_ALIGN_NAMES:
        flip_fit_switch(owner, &FitSwitches::align_names, window);
        break;
    case CMD_VERTICAL_FORMS:
        flip_fit_switch(owner, &FitSwitches::vertical_forms, window);
        break;
    case CMD_KANJI_DIGITS:
        flip_fit_switch(owner, &FitSwitches::kanji_digits, window);
        break;
    case CMD_MANUAL:
    case CMD_TB_MANUAL:
        window.open_manual();
        break;
    case CMD_ABOUT:
        window.about();
        break;
    case CMD_UPDATE_POSTAL:
        // The document is not touched; the lookups use the new table.
        update_postal_codes(owner);
        break;
    case CMD_EXIT:
    case CMD_TB_EXIT:
        exit_command(owner, window);
        break;
    case CMD_TB_PREVIOUS:
        previous_card();
        window.repaint();
        break;
    case CMD_TB_NEXT:
        next_card();
        window.repaint();
        break;
    default:
        break;
    }
}

void run_key(int virtual_key, MainWindowActions& window) {
    if (editor_modal_open() || print_lock_held()) return;
    switch (virtual_key) {
    case KEY_LEFT:
        step_left();
        window.repaint();
        break;
    case KEY_RIGHT:
        step_right();
        window.repaint();
        break;
    case KEY_PRINT:
        window.print();
        break;
    default:
        break;
    }
}

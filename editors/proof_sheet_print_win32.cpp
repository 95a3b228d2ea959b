// The window "一覧で確認": "選択した葉書を印刷", the selected cards through
// the usual print command. ("一覧を印刷" is editors/proof_sheet_print.*.)

#include <windows.h>

#include "editors/proof_sheet_window_win32.h"
#include "print/print_command.h"

namespace proof_sheet_window {

void ProofSheetWindow::print_selected() {
    // The document as it stands now: a card whose addressee changed since
    // the last look is no longer selected.
    refresh();
    int cards[HDATA_MAX];
    const int count = sheet_.selected_cards(cards);
    if (count == 0) {
        platform().message_box(frame_, u"葉書を選択して下さい。", u"一覧で確認", kButtonsOk);
        return;
    }
    print_cards_command(frame_, cards, count);
    // The printed cards' marks, and the main window's status bar.
    if (main_) InvalidateRect(main_, nullptr, TRUE);
    refresh();
}

}  // namespace proof_sheet_window

// Printing from the addressee list: 印刷処理 prints the selected rows, and
// every card a print job marks as sent is marked in its row.
#include <cstring>

#include "editors/addressee_list.h"
#include "model/card_status.h"
#include "print/print_command.h"
#include "print/printer_state.h"

// Prints the addressees of every selected row, in list order, in one job:
// the list is written into the cards first (as "画面更新" does), so that the
// cards at the rows' positions are the rows the user selected, whatever
// order the list shows.
void AddresseeList::print_rows() {
    if (first_selected() < 0) return tell_select_row();
    save_rows();  // keeps the selection; may drop empty rows
    int cards[HDATA_MAX];
    int count = 0;
    for (int r = 0; r < count_; ++r) {
        if (!rows_[r].selected) continue;
        cards[count++] = r;
        rows_[r].selected = false;
    }
    show_rows();
    view_.repaint_main_window();
    if (count == 0) return;  // only empty rows were selected: no card to print
    // The dialog offers the pages from the first to the last selected card.
    // Only a run of rows without a gap leaves that range to the main
    // window's next print: rows 2, 3 and 5 must not come back as 2 to 5.
    const int32_t mode = doc().print.prn_mode;
    const int32_t from = printer_state().list_from;
    const int32_t to = printer_state().list_to;
    doc().print.prn_mode = 3;
    printer_state().list_from = cards[0] + 1;
    printer_state().list_to = cards[count - 1] + 1;
    print_cards_command(view_.window(), cards, count);
    if (cards[count - 1] - cards[0] + 1 != count) {
        doc().print.prn_mode = mode;
        printer_state().list_from = from;
        printer_state().list_to = to;
    }
    view_.repaint_main_window();  // the marks and the printer in the status bar
}

void AddresseeList::card_marked(int card, int year) {
    if (card < 0 || card >= HDATA_MAX) return;
    // As mark_card_sent does to the card, also to the history the list's
    // undo would put back.
    if (origin_[card] >= 0) mark_typ_sent(snapshot_[origin_[card]].typ, year);
    for (int r = 0; r < count_; ++r) {
        ListRow& row = rows_[r];
        if (row.card != card) continue;
        mark_typ_sent(row.typ, year);  // as mark_card_sent does to the card
        show_status(row, year_);
        pull_selection();
        show_rows();
        return;
    }
}

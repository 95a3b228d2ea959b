// The print command and the printer settings command. Both run the system
// print dialog from the shared print dialog record, take the chosen
// printer's name and paper into the printer state and measure the paper.
#pragma once

#include "platform/platform.h"
#include "print/print_job.h"
#include "print/printer_spooler.h"

// Presets the shared record from prn_mode: the current card (0), all cards
// (1), start_p to stop_p (2), or the addressee list's range list_from to
// list_to (3 and any other value); pages 1 to count_cards(), one copy.
void preset_print_dialog(WindowHandle window);

// The cards a confirmed print dialog asks for: indices first up to but
// excluding end.
struct PrintRange {
    int first;
    int end;
    int copies;
};
PrintRange print_range(const PrintDialogRecord& record);

// The print command (menu "印刷(&P)", its toolbar button, the P key and the
// addressee list's print button): print dialog, confirmation of printer,
// form and paper size, then the print job.
void print_command(WindowHandle window);

// The print command of the addressee list's "印刷処理" for the cards of its
// selected rows (indices, in list order): the print dialog opens with its
// "selection" chosen, which prints exactly those cards in one job; the
// user may choose all cards or pages instead. The confirmation also says
// how many cards are printed.
void print_cards_command(WindowHandle window, const int* cards, int count);

// Printing `pages` pages that are not cards (the sheet of all cards): the
// print dialog preset with all pages and, first, the paper `paper` (a
// dmPaperSize code; 0 the printer's own), then "%s %sで%dページ印刷していいですか？"
// (printer, paper, pages to print), then the job. The printer state the
// status bar shows stays as it was: it belongs to the cards' printing.
void print_pages_command(WindowHandle window, PageSource& source, int pages, int16_t paper);

// The printer settings command (menu "プリンタの設定(&S)", the print position
// dialog's button): the print setup dialog; only the printer state shown is
// updated, no setting of the printer itself.
void printer_settings_command(WindowHandle window);

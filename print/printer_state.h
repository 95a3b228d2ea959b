// The printer state shared by the print commands, the start-up paper switch,
// the status bar, the print position dialog and the card layout dialog's
// font chooser. One process-wide instance for the whole run. The paper size
// (paper_width, paper_height) belongs to it too; it is kept with the paper
// measurement in render/paper_metrics.h.
#pragma once

#include <cstdint>
#include <string>

#include "print/printer_spooler.h"

constexpr int PRINTER_NAME_CAP = 256;
constexpr int FORM_NAME_CAP = 64;

struct PrinterState {
    // The printer last taken from a device mode: the default printer found
    // at start-up, or the one chosen in the last print or print setup
    // dialog. Empty until then.
    char16_t printer_name[PRINTER_NAME_CAP];
    // The form of the paper chosen in the last print dialog.
    char16_t form_name[FORM_NAME_CAP];
    // dmPaperSize of the last device mode read.
    int16_t paper_code;
    // First and last card number (from 1) printed when prn_mode is 3; set by
    // the addressee list's print button.
    int32_t list_from;
    int32_t list_to;
};

PrinterState& printer_state();

// Back to the state at program start: no printer, no form, code 0, list
// range 0 to 1.
void reset_printer_state();

// The one print dialog record shared by the print command and the printer
// settings command.
PrintDialogRecord& print_dialog_record();

// Takes the printer's whole name from the device names as printer_name;
// without one (empty `full_name`), the device mode's name (at most 31
// characters).
void take_printer_name(const DevModeFields& mode, const std::u16string& full_name);

// The system's default printer at start-up and exit: its name and paper are
// read, its default paper is switched to Japanese postcard if the user
// agrees, and the saved paper is put back when the main window is
// destroyed. A notice tells the user for one second what was done.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int DEFAULT_PRINTER_CAP = 260;
constexpr int NOTICE_TEXT_CAP = 256;

// The default printer's paper before the switch (dmPaperSize, dmPaperWidth,
// dmPaperLength in 0.1 mm, dmOrientation).
struct SavedPaper {
    int16_t code;
    int16_t width;
    int16_t length;
    int16_t orientation;
};

struct DefaultPrinterState {
    // dmDeviceName of the default printer as read at start-up; the printer
    // that is switched and restored. Empty until start-up.
    char16_t default_printer[DEFAULT_PRINTER_CAP];
    SavedPaper saved_paper;
    // Set when the switch was written; makes the restore at exit happen.
    bool paper_switched;
};

DefaultPrinterState& default_printer_state();
void reset_default_printer_state();

// The start-up question "デフォルトプリンタをはがきサイズにしますか？": Yes
// switches the default printer to postcard paper, anything else only reads
// its name and paper.
void ask_postcard_switch(WindowHandle window);

// Reads the default printer's name and paper into the printer state; the
// printer is not changed.
void read_default_printer(WindowHandle window);
// Reads the default printer, saves its paper and makes Japanese postcard
// (portrait, 100 x 148 mm) its default paper.
void switch_to_postcard(WindowHandle window);
// Puts the saved paper back when the switch was made at start-up.
void restore_default_printer(WindowHandle window);

// Shows `text` in the printer notice for one second.
void printer_notice(const char16_t* text);
// The text the notice shows.
const char16_t* printer_notice_text();

// The name the notices give a saved paper: "A1" for 153, else paper_name.
const char16_t* saved_paper_name(int code);

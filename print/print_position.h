// The logic of the print position dialog: filling its controls from the
// print settings and the printer state, reading them back with their range
// corrections, the backup of the four lengths that Cancel puts back, and the
// geometry of its to-scale preview. The dialog procedure binds it to the
// real controls (print_position_dialog_win32.cpp).
#pragma once

#include <cstdint>

#include "platform/dialog_controls.h"
#include "platform/platform.h"
#include "render/card_geometry.h"

// Writes the printer line, the paper line, the four lengths, the print
// mode, the range and the background check box into the controls.
void fill_print_position(DialogControls& controls);

// Takes the controls' values into the print settings: lengths times ten
// (truncated), the mode, the range corrected to 1 .. count_cards() with the
// corrected numbers shown, and the background flag.
void take_print_position(DialogControls& controls);

// base_pw, base_ph, base_px, base_py as the dialog found them.
struct LengthBackup {
    int32_t base_pw;
    int32_t base_ph;
    int32_t base_px;
    int32_t base_py;
};
LengthBackup backup_lengths();
void restore_lengths(const LengthBackup& backup);

// The preview in dialog client pixels, one pixel per millimetre: the paper
// at (70 or 95, 150) and the card placed on it by the print offset.
struct PositionPreview {
    Rect paper;
    Rect card;
};
PositionPreview position_preview();

// The help button's message.
void show_print_position_help(WindowHandle dialog);

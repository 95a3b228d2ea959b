// The print position dialog (dialog 6, modal): the postcard size and offset,
// what the print command prints and whether the background is printed, with
// a to-scale preview of the paper and the card.
#pragma once

#include "platform/platform.h"

// Runs the dialog over `owner`; 1 when it was closed with OK, 0 otherwise.
// The print settings change at every read-back, not only at OK.
int print_position_dialog(WindowHandle owner);

// Stepping through the cards: the arrow keys and the toolbar's previous and
// next buttons move current_card; the toolbar buttons also leave a request
// that the card layout dialog reads to follow the main window.
#pragma once

#include "editors/navigation_request.h"

// Right arrow: one card on; back to card 0 when the next card is not in use
// or the end of the table is reached.
void step_right();
// Left arrow: one card back, stopping at card 0.
void step_left();

// The toolbar's next button: as the right arrow, then nav_request = NAV_NEXT.
void next_card();
// The toolbar's previous button: one card back; from card 0 it wraps to the
// last card in use (0 when none is in use). Then nav_request = NAV_PREVIOUS.
void previous_card();

// What the main window's toolbar navigation asked for last: left by its
// previous and next buttons, read and reset by the card layout dialog, which
// follows the main window's card.
#pragma once

constexpr int NAV_NONE = 0;
constexpr int NAV_NEXT = 1;      // the next button was used
constexpr int NAV_PREVIOUS = 2;  // the previous button was used

int nav_request();
void set_nav_request(int request);

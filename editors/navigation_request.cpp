#include "editors/navigation_request.h"

namespace {
// Left by the main window's toolbar for the layout dialog's timer to pick
// up: neither holds a pointer to the other, and the timer carries none.
int g_nav_request = NAV_NONE;
}

int nav_request() { return g_nav_request; }
void set_nav_request(int request) { g_nav_request = request; }

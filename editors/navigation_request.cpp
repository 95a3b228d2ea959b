#include "editors/navigation_request.h"

namespace {
int g_nav_request = NAV_NONE;
}

int nav_request() { return g_nav_request; }
void set_nav_request(int request) { g_nav_request = request; }

#include "platform/platform.h"

namespace {
Platform* g_platform = nullptr;
}

Platform& platform() { return *g_platform; }

void set_platform(Platform* p) { g_platform = p; }

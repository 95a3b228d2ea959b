// Placeholder: the Win32 implementation of the platform seam comes next.
#include "platform/platform.h"

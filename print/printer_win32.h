// The Win32 side of printing (Win32 layer only; no windows.h needed here).
#pragma once

#include <memory>

#include "print/print_target.h"

using DeviceContext = void*;  // HDC

// Makes the Win32 print spooler the one in use (set_printer_spooler). Called
// once at program start, before the start-up printer question.
void install_win32_printer_spooler();

// A print target on a printer device context; it deletes the device context
// when it is destroyed. Its jobs run with the abort procedure that serves
// the thread's messages and the abort dialog.
std::unique_ptr<PrintTarget> make_print_target(DeviceContext printer_dc);

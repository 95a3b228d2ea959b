#include "print/printer_state.h"

#include "model/text.h"

namespace {
PrinterState g_state{{}, {}, 0, 0, 1};
PrintDialogRecord g_record{};
}  // namespace

PrinterState& printer_state() { return g_state; }

void reset_printer_state() { g_state = PrinterState{{}, {}, 0, 0, 1}; }

PrintDialogRecord& print_dialog_record() { return g_record; }

void take_printer_name(const DevModeFields& mode, const std::u16string& full_name) {
    if (!full_name.empty())
        text_copy(g_state.printer_name, PRINTER_NAME_CAP, full_name.c_str());
    else
        text_copy(g_state.printer_name, PRINTER_NAME_CAP, mode.dmDeviceName, kDevModeNameCap - 1);
}

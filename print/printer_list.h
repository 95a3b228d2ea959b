// The installed printers, for the card layout dialog's font chooser, which
// makes a device context from an entry's driver and name.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int PRINTER_LIST_MAX = 30;
constexpr int PRINTER_ENTRY_CAP = 128;

struct PrinterEntry {
    char16_t name[PRINTER_ENTRY_CAP];
    char16_t port[PRINTER_ENTRY_CAP];
    char16_t driver[PRINTER_ENTRY_CAP];
};

// The printers as last listed by enum_printers; printer_count() entries are
// valid.
const PrinterEntry* printer_list();
int32_t printer_count();

// Lists the first 30 installed printers (local and connections) and returns
// the index of the entry named printer_name (the last one when several
// are), or -1. A failed listing warns "プリンタが見つかりません" and gives -1.
int32_t enum_printers(WindowHandle window);

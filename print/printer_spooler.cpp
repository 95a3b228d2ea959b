#include "print/printer_spooler.h"

namespace {
PrinterSpooler* g_spooler = nullptr;
}  // namespace

PrinterSpooler& printer_spooler() { return *g_spooler; }

void set_printer_spooler(PrinterSpooler* spooler) { g_spooler = spooler; }

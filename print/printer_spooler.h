// The narrow seam between the printing logic and the Windows print spooler,
// the common print dialog and the few windows of a print job. The portable
// code decides what is read, written, shown and released; the Win32
// implementation (printer_spooler_win32.cpp) makes the system calls, and the
// native tests script a fake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "print/print_target.h"

using MemoryHandle = void*;   // HGLOBAL
using PrinterHandle = void*;  // an open printer (HANDLE of OpenPrinterW)

// Print dialog flags, with the values of the Win32 constants.
constexpr uint32_t kPdSelection = 0x00000001;      // PD_SELECTION
constexpr uint32_t kPdPageNums = 0x00000002;       // PD_PAGENUMS
constexpr uint32_t kPdNoSelection = 0x00000004;    // PD_NOSELECTION
constexpr uint32_t kPdCollate = 0x00000010;        // PD_COLLATE
constexpr uint32_t kPdPrintSetup = 0x00000040;     // PD_PRINTSETUP
constexpr uint32_t kPdReturnDc = 0x00000100;       // PD_RETURNDC
constexpr uint32_t kPdReturnIc = 0x00000200;       // PD_RETURNIC
constexpr uint32_t kPdReturnDefault = 0x00000400;  // PD_RETURNDEFAULT

// The fields of a PRINTDLGW that the print commands set and read. The
// device mode and device names handed in are always none, so every dialog
// starts from the system's default printer.
struct PrintDialogRecord {
    WindowHandle hwndOwner;
    uint32_t Flags;
    uint16_t nFromPage;
    uint16_t nToPage;
    uint16_t nMinPage;
    uint16_t nMaxPage;
    uint16_t nCopies;
    // The paper the dialog offers first (a dmPaperSize code, portrait); 0
    // keeps the printer's own.
    int16_t paper;
};

// What a print dialog returned besides the record's fields.
struct PrintDialogResult {
    MemoryHandle devmode = nullptr;         // hDevMode; the caller unlocks and frees it
    std::unique_ptr<PrintTarget> device;    // hDC (or the information context)
    // The chosen printer's whole name from the device names (hDevNames);
    // the device mode's dmDeviceName holds only its first 31 characters.
    // Empty when the dialog returned no device names.
    std::u16string device_name;
};

// Device mode fields the printing logic reads or writes. The name fields
// are copied as stored (32 units, not necessarily NUL-terminated).
constexpr int kDevModeNameCap = 32;  // CCHDEVICENAME, CCHFORMNAME
struct DevModeFields {
    char16_t dmDeviceName[kDevModeNameCap];
    char16_t dmFormName[kDevModeNameCap];
    int16_t dmOrientation;
    int16_t dmPaperSize;
    int16_t dmPaperLength;  // 0.1 mm
    int16_t dmPaperWidth;   // 0.1 mm
};

// The paper written into a printer's default device mode.
struct PaperSetting {
    int16_t orientation;  // 1 portrait, 2 landscape
    int16_t code;         // dmPaperSize
    int16_t width;        // dmPaperWidth, 0.1 mm
    int16_t length;       // dmPaperLength, 0.1 mm
};

enum class PaperWrite {
    Written,  // the default device mode was changed
    NotRead,  // the printer's settings could not be read; nothing written
    Refused,  // the spooler refused the change
};

// One installed printer as EnumPrintersW level 2 lists it.
struct PrinterNames {
    std::u16string name;
    std::u16string port;
    std::u16string driver;
};

class PrinterSpooler {
public:
    virtual ~PrinterSpooler() = default;

    // PrintDlgW with the record's owner, flags, pages and copies. True when
    // it returned 1; the record then holds the returned flags, pages and
    // copies, and `result` the device mode and device context.
    virtual bool print_dialog(PrintDialogRecord& record, PrintDialogResult& result) = 0;

    // GlobalAlloc(GHND), GlobalLock (nullptr on failure), GlobalUnlock and
    // GlobalFree (true when the block was freed).
    virtual MemoryHandle alloc_memory(size_t bytes) = 0;
    virtual void* lock_memory(MemoryHandle memory) = 0;
    virtual void unlock_memory(MemoryHandle memory) = 0;
    virtual bool free_memory(MemoryHandle memory) = 0;
    // The fields of a device mode in locked memory.
    virtual DevModeFields devmode_fields(const void* locked) = 0;

    // OpenPrinterW without defaults; nullptr when it fails.
    virtual PrinterHandle open_printer(const char16_t* name) = 0;
    virtual void close_printer(PrinterHandle printer) = 0;
    // DocumentPropertiesW: with out == nullptr the size of the printer's
    // device mode, otherwise the device mode written into `out`
    // (DM_OUT_BUFFER) and the call's result (negative on failure).
    virtual int32_t document_properties(WindowHandle owner, PrinterHandle printer,
                                        const char16_t* name, void* out) = 0;
    // Reads the printer's settings (GetPrinterW level 2), changes the paper
    // of its default device mode and writes them back (SetPrinterW level 2).
    virtual PaperWrite set_default_paper(PrinterHandle printer, const PaperSetting& paper) = 0;

    // EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, level 2)
    // in the order returned; false when the listing fails.
    virtual bool enum_printers(std::vector<PrinterNames>& out) = 0;

    // The printer notice (dialog 8) showing the notice text for one second.
    virtual void show_notice() = 0;

    // The abort dialog of a print job (template "PRNSTOP"), modeless, owned
    // by `owner` and shown. Destroying it when there is none does nothing.
    virtual void create_abort_dialog(WindowHandle owner) = 0;
    virtual void destroy_abort_dialog() = 0;
    // Shows in the abort dialog which page of how many is being printed.
    virtual void show_job_progress(int page, int pages) { (void)page, (void)pages; }
    virtual void enable_window(WindowHandle window, bool enable) = 0;
    // The print lock (print/print_job.h): every window of the program but
    // `owner` is disabled, until unlock_windows() enables again exactly
    // the windows it disabled.
    virtual void lock_windows(WindowHandle owner) { (void)owner; }
    virtual void unlock_windows() {}
    virtual void focus_window(WindowHandle window) = 0;
};

// The spooler in use. The Win32 program and the native tests install theirs
// at start.
PrinterSpooler& printer_spooler();
void set_printer_spooler(PrinterSpooler* spooler);

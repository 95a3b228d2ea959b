// The print spooler, the print dialogs and the windows of a print job on
// Win32: PrintDlgW, the GlobalAlloc family, OpenPrinterW,
// DocumentPropertiesW, GetPrinterW / SetPrinterW, EnumPrintersW, the printer
// notice (dialog 8) and the abort dialog ("PRNSTOP") with its abort
// procedure.
#include <windows.h>
#include <commdlg.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "print/default_printer.h"
#include "print/print_dialog_ids.h"
#include "print/print_job.h"
#include "print/printer_spooler.h"
#include "print/printer_win32.h"
#include "render/gdi_surface.h"

static_assert(kPdSelection == PD_SELECTION && kPdPageNums == PD_PAGENUMS && kPdNoSelection == PD_NOSELECTION &&
                  kPdCollate == PD_COLLATE && kPdPrintSetup == PD_PRINTSETUP &&
                  kPdReturnDc == PD_RETURNDC && kPdReturnIc == PD_RETURNIC &&
                  kPdReturnDefault == PD_RETURNDEFAULT,
              "print dialog flags");
static_assert(kDevModeNameCap == CCHDEVICENAME && kDevModeNameCap == CCHFORMNAME,
              "device mode name sizes");
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");

namespace {

constexpr int kNoticeDialog = 8;
constexpr int kNoticeText = 301;
constexpr DWORD kNoticeMs = 1000;

wchar_t* w(const char16_t* s) { return reinterpret_cast<wchar_t*>(const_cast<char16_t*>(s)); }

HINSTANCE module() { return GetModuleHandleW(nullptr); }

// The abort dialog of the running job; nullptr when there is none. At file
// scope because the abort procedure gets only the printer's DC, no pointer.
HWND g_abort_dialog = nullptr;

INT_PTR CALLBACK abort_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetFocus(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDCANCEL) {
            set_print_user_abort();
            DestroyWindow(dialog);
            g_abort_dialog = nullptr;
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// The windows the print lock disabled, enabled again when it ends; one list
// for the program, as the print lock itself is one for the program.
std::vector<HWND> g_locked_windows;

// Keyboard and mouse input (also on a window's frame and menu bar).
bool is_input(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

bool in_abort_dialog(HWND window) {
    return g_abort_dialog != nullptr && window != nullptr &&
           (window == g_abort_dialog || IsChild(g_abort_dialog, window));
}

// Serves every waiting message of the thread, the abort dialog's through
// IsDialogMessageW. Input for any other window is dropped: the windows are
// disabled, but input posted to them would still arrive.
void serve_job_messages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request to the main loop and stop the job.
            set_print_user_abort();
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (is_input(msg.message) && !in_abort_dialog(msg.hwnd)) continue;
        if (g_abort_dialog != nullptr && IsDialogMessageW(g_abort_dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Called by the spooler while the job runs: serves the thread's messages and
// tells the spooler to go on until the user has cancelled.
BOOL CALLBACK abort_procedure(HDC, int) {
    serve_job_messages();
    return print_user_abort() ? FALSE : TRUE;
}

INT_PTR CALLBACK notice_proc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextW(dialog, kNoticeText, w(printer_notice_text()));
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

class GdiPrintTarget final : public PrintTarget {
public:
    explicit GdiPrintTarget(HDC dc) : dc_(dc), surface_(dc, GdiSurface::Kind::Printer) {}
    ~GdiPrintTarget() override { DeleteDC(dc_); }
    GdiPrintTarget(const GdiPrintTarget&) = delete;
    GdiPrintTarget& operator=(const GdiPrintTarget&) = delete;

    DrawingSurface& surface() override { return surface_; }

    DocStart start_doc(const char16_t* doc_name) override {
        SetAbortProc(dc_, abort_procedure);
        DOCINFOW info{};
        info.cbSize = sizeof info;
        info.lpszDocName = w(doc_name);
        SetLastError(0);
        if (StartDocW(dc_, &info) > 0) return DocStart::Started;
        return GetLastError() == ERROR_CANCELLED ? DocStart::Cancelled : DocStart::Failed;
    }
    bool start_page() override { return StartPage(dc_) > 0; }
    bool end_page() override { return EndPage(dc_) > 0; }
    void end_doc() override { EndDoc(dc_); }
    void abort_doc() override { AbortDoc(dc_); }

private:
    HDC dc_;
    GdiSurface surface_;  // destroyed before the device context is deleted
};

// Names the form of the device mode's paper code as the printer's driver
// names it (DC_PAPERS, DC_PAPERNAMES). A device mode whose form name names
// another paper than its code is read differently by different drivers
// (Wine's keeps the form name in the print dialog, others print on the
// named form), so the two are kept together. Nothing changes when the
// driver does not list the code.
void name_form_of_paper(DEVMODEW& mode, const wchar_t* printer, const wchar_t* port) {
    if (printer == nullptr) return;
    int count = DeviceCapabilitiesW(printer, port, DC_PAPERS, nullptr, nullptr);
    if (count <= 0) return;
    std::vector<WORD> papers(static_cast<size_t>(count));
    std::vector<wchar_t> names(static_cast<size_t>(count) * 64 + 1);
    if (DeviceCapabilitiesW(printer, port, DC_PAPERS, reinterpret_cast<wchar_t*>(papers.data()),
                            nullptr) != count ||
        DeviceCapabilitiesW(printer, port, DC_PAPERNAMES, names.data(), nullptr) != count)
        return;
    for (int i = 0; i < count; ++i) {
        if (papers[static_cast<size_t>(i)] != static_cast<WORD>(mode.dmPaperSize)) continue;
        const wchar_t* name = &names[static_cast<size_t>(i) * 64];
        lstrcpynW(mode.dmFormName, name, CCHFORMNAME);
        mode.dmFields |= DM_FORMNAME;
        return;
    }
}

// Changes the paper of the default device mode in a PRINTER_INFO_2 buffer
// read from the printer.
void change_paper(PRINTER_INFO_2W& info, const PaperSetting& paper) {
    DEVMODEW& mode = *info.pDevMode;
    mode.dmOrientation = paper.orientation;
    mode.dmPaperSize = paper.code;
    mode.dmPaperWidth = paper.width;
    mode.dmPaperLength = paper.length;
    if (mode.dmFields & DM_FORMNAME) name_form_of_paper(mode, info.pPrinterName, info.pPortName);
}

bool write_printer_2(HANDLE printer, std::vector<BYTE>& buffer) {
    return SetPrinterW(printer, 2, buffer.data(), 0) != 0;
}

// The system's default printer by its whole name; "" when there is none.
std::wstring default_printer_name() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0) return {};
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(&name[0], &size)) return {};
    name.resize(wcslen(name.c_str()));
    return name;
}

// A movable block holding `bytes` bytes; nullptr when it cannot be made.
HGLOBAL global_copy(const void* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GHND, size);
    void* to = block ? GlobalLock(block) : nullptr;
    if (to == nullptr) {
        if (block) GlobalFree(block);
        return nullptr;
    }
    memcpy(to, bytes, size);
    GlobalUnlock(block);
    return block;
}

// Device names (DEVNAMES) for a printer, its driver and port, marked as the
// default printer.
HGLOBAL make_device_names(const wchar_t* driver, const wchar_t* device, const wchar_t* port) {
    std::vector<wchar_t> names(sizeof(DEVNAMES) / sizeof(wchar_t));
    auto add = [&names](const wchar_t* text) {
        WORD offset = static_cast<WORD>(names.size());
        for (const wchar_t* p = text ? text : L""; *p; ++p) names.push_back(*p);
        names.push_back(0);
        return offset;
    };
    DEVNAMES header{};
    header.wDriverOffset = add(driver);
    header.wDeviceOffset = add(device);
    header.wOutputOffset = add(port);
    header.wDefault = DN_DEFAULTPRN;
    memcpy(names.data(), &header, sizeof header);
    return global_copy(names.data(), names.size() * sizeof(wchar_t));
}

// A dialog that prints something else than cards (the sheet of all cards
// on A4) starts from that paper, upright; the user may still choose another.
void offer_paper(DEVMODEW& mode, short paper) {
    mode.dmPaperSize = paper;
    mode.dmOrientation = DMORIENT_PORTRAIT;
    mode.dmPaperWidth = 0;
    mode.dmPaperLength = 0;
    mode.dmFields = (mode.dmFields | DM_PAPERSIZE | DM_ORIENTATION) & ~(DM_PAPERWIDTH | DM_PAPERLENGTH);
}

// The print dialogs start from the default printer with its stored default
// settings. Left to itself, a driver may start the dialog from its own
// defaults (Wine's PostScript driver takes the paper of its PPD) and ignore
// the paper the start-up switch wrote, so the dialog is handed the printer's
// stored device mode, completed by the driver, and the printer's names.
// Nothing is handed over when any of it cannot be read: the dialog then
// starts from the driver's defaults as before.
void preset_from_default_printer(PRINTDLGW& pd, short paper) {
    std::wstring name = default_printer_name();
    HANDLE printer = nullptr;
    if (name.empty() || !OpenPrinterW(&name[0], &printer, nullptr)) return;
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
    LONG size = DocumentPropertiesW(nullptr, printer, &name[0], nullptr, nullptr, 0);
    if (needed > 0 && size > 0 && GetPrinterW(printer, 2, buffer.data(), needed, &needed) &&
        info->pDevMode != nullptr) {
        std::vector<BYTE> mode(static_cast<size_t>(size));
        if (DocumentPropertiesW(nullptr, printer, &name[0], reinterpret_cast<DEVMODEW*>(mode.data()),
                                info->pDevMode, DM_IN_BUFFER | DM_OUT_BUFFER) == IDOK) {
            if (paper != 0) offer_paper(*reinterpret_cast<DEVMODEW*>(mode.data()), paper);
            name_form_of_paper(*reinterpret_cast<DEVMODEW*>(mode.data()), name.c_str(),
                               info->pPortName);
            pd.hDevMode = global_copy(mode.data(), mode.size());
            pd.hDevNames = make_device_names(info->pDriverName, name.c_str(), info->pPortName);
        }
    }
    ClosePrinter(printer);
    if (pd.hDevMode == nullptr || pd.hDevNames == nullptr) {
        if (pd.hDevMode) GlobalFree(pd.hDevMode);
        if (pd.hDevNames) GlobalFree(pd.hDevNames);
        pd.hDevMode = pd.hDevNames = nullptr;
    }
}

// The device name of the device names a dialog returned.
std::u16string device_name_of(HGLOBAL names) {
    const auto* header = names ? static_cast<const DEVNAMES*>(GlobalLock(names)) : nullptr;
    if (header == nullptr) return {};
    const auto* text = reinterpret_cast<const char16_t*>(header) + header->wDeviceOffset;
    std::u16string name(text);
    GlobalUnlock(names);
    return name;
}

class Win32PrinterSpooler final : public PrinterSpooler {
public:
    bool print_dialog(PrintDialogRecord& record, PrintDialogResult& result) override {
        PRINTDLGW pd{};
        pd.lStructSize = sizeof pd;
        pd.hwndOwner = static_cast<HWND>(record.hwndOwner);
        pd.hDevMode = nullptr;
        pd.hDevNames = nullptr;
        // Every dialog starts anew from the default printer: a printer chosen
        // in an earlier dialog is not carried over.
        if (!(record.Flags & PD_RETURNDEFAULT)) preset_from_default_printer(pd, record.paper);
        pd.Flags = record.Flags;
        pd.nFromPage = record.nFromPage;
        pd.nToPage = record.nToPage;
        pd.nMinPage = record.nMinPage;
        pd.nMaxPage = record.nMaxPage;
        pd.nCopies = record.nCopies;
        if (PrintDlgW(&pd) != 1) {
            if (pd.hDevMode != nullptr) GlobalFree(pd.hDevMode);
            if (pd.hDevNames != nullptr) GlobalFree(pd.hDevNames);
            return false;
        }

        record.Flags = pd.Flags;
        record.nFromPage = pd.nFromPage;
        record.nToPage = pd.nToPage;
        record.nCopies = pd.nCopies;
        result.device_name = device_name_of(pd.hDevNames);
        if (pd.hDevNames != nullptr) GlobalFree(pd.hDevNames);
        result.devmode = pd.hDevMode;
        if (pd.hDC != nullptr) result.device = make_print_target(pd.hDC);
        return true;
    }

    MemoryHandle alloc_memory(size_t bytes) override { return GlobalAlloc(GHND, bytes); }
    void* lock_memory(MemoryHandle memory) override {
        return memory ? GlobalLock(static_cast<HGLOBAL>(memory)) : nullptr;
    }
    void unlock_memory(MemoryHandle memory) override {
        if (memory) GlobalUnlock(static_cast<HGLOBAL>(memory));
    }
    bool free_memory(MemoryHandle memory) override {
        return memory == nullptr || GlobalFree(static_cast<HGLOBAL>(memory)) == nullptr;
    }
    DevModeFields devmode_fields(const void* locked) override {
        const DEVMODEW& dm = *static_cast<const DEVMODEW*>(locked);
        DevModeFields f{};
        for (int i = 0; i < kDevModeNameCap; ++i) {
            f.dmDeviceName[i] = static_cast<char16_t>(dm.dmDeviceName[i]);
            f.dmFormName[i] = static_cast<char16_t>(dm.dmFormName[i]);
        }
        f.dmOrientation = dm.dmOrientation;
        f.dmPaperSize = dm.dmPaperSize;
        f.dmPaperLength = dm.dmPaperLength;
        f.dmPaperWidth = dm.dmPaperWidth;
        return f;
    }

    PrinterHandle open_printer(const char16_t* name) override {
        HANDLE printer = nullptr;
        if (!OpenPrinterW(w(name), &printer, nullptr)) return nullptr;
        return printer;
    }
    void close_printer(PrinterHandle printer) override { ClosePrinter(static_cast<HANDLE>(printer)); }
    int32_t document_properties(WindowHandle owner, PrinterHandle printer, const char16_t* name,
                                void* out) override {
        return DocumentPropertiesW(static_cast<HWND>(owner), static_cast<HANDLE>(printer), w(name),
                                   static_cast<DEVMODEW*>(out), nullptr, out ? DM_OUT_BUFFER : 0);
    }

    PaperWrite set_default_paper(PrinterHandle printer_handle, const PaperSetting& paper) override {
        HANDLE printer = static_cast<HANDLE>(printer_handle);
        DWORD needed = 0;
        GetPrinterW(printer, 2, nullptr, 0, &needed);
        if (needed == 0) return PaperWrite::NotRead;
        std::vector<BYTE> buffer(needed);
        if (!GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return PaperWrite::NotRead;
        auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
        if (info->pDevMode == nullptr) return PaperWrite::NotRead;
        change_paper(*info, paper);
        // The security descriptor stays as it is; writing it back would ask
        // for rights the change of paper does not need.
        info->pSecurityDescriptor = nullptr;
        if (write_printer_2(printer, buffer)) return PaperWrite::Written;

        // A handle opened for plain use may not change the printer's
        // defaults; ask for administrative access once.
        HANDLE admin = nullptr;
        PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
        if (info->pPrinterName == nullptr || !OpenPrinterW(info->pPrinterName, &admin, &access))
            return PaperWrite::Refused;
        bool written = write_printer_2(admin, buffer);
        ClosePrinter(admin);
        return written ? PaperWrite::Written : PaperWrite::Refused;
    }

    bool enum_printers(std::vector<PrinterNames>& out) override {
        const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
        DWORD needed = 0;
        DWORD returned = 0;
        EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &returned);
        std::vector<BYTE> buffer(needed > 0 ? needed : 1);
        if (!EnumPrintersW(flags, nullptr, 2, buffer.data(), needed, &needed, &returned))
            return false;
        auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
        auto text = [](const wchar_t* s) {
            return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
        };
        out.clear();
        for (DWORD i = 0; i < returned; ++i)
            out.push_back({text(info[i].pPrinterName), text(info[i].pPortName),
                           text(info[i].pDriverName)});
        return true;
    }

    void show_notice() override {
        HWND notice = CreateDialogParamW(module(), MAKEINTRESOURCEW(kNoticeDialog), nullptr,
                                         notice_proc, 0);
        if (notice == nullptr) return;
        ShowWindow(notice, SW_SHOWNORMAL);
        // The thread waits without serving messages: paint the notice now.
        UpdateWindow(notice);
        Sleep(kNoticeMs);
        DestroyWindow(notice);
    }

    void create_abort_dialog(WindowHandle owner) override {
        destroy_abort_dialog();
        g_abort_dialog = CreateDialogParamW(module(), L"PRNSTOP", static_cast<HWND>(owner),
                                            abort_dialog_proc, 0);
        if (g_abort_dialog != nullptr) ShowWindow(g_abort_dialog, SW_SHOW);
    }
    void destroy_abort_dialog() override {
        if (g_abort_dialog != nullptr) DestroyWindow(g_abort_dialog);
        g_abort_dialog = nullptr;
    }
    void show_job_progress(int page, int pages) override {
        if (g_abort_dialog == nullptr) return;
        wchar_t text[64];
        wsprintfW(text, L"%d / %d 枚目", page, pages);
        SetDlgItemTextW(g_abort_dialog, IDC_PRNSTOP_PAGE, text);
        // Not every driver calls the abort procedure while a page is
        // spooled (Wine's does not): serve the messages between pages too,
        // so the dialog shows the page and its cancel is seen on any page.
        serve_job_messages();
    }
    void enable_window(WindowHandle window, bool enable) override {
        if (window != nullptr) EnableWindow(static_cast<HWND>(window), enable ? TRUE : FALSE);
    }
    void focus_window(WindowHandle window) override {
        if (window != nullptr) SetFocus(static_cast<HWND>(window));
    }
    // Every visible, enabled top-level window of the thread: the main
    // window, the editors and whatever window the program shows besides.
    void lock_windows(WindowHandle owner) override {
        g_locked_windows.clear();
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM keep) -> BOOL {
                if (window != reinterpret_cast<HWND>(keep) && IsWindowVisible(window) &&
                    IsWindowEnabled(window)) {
                    EnableWindow(window, FALSE);
                    g_locked_windows.push_back(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(owner));
    }
    void unlock_windows() override {
        for (HWND window : g_locked_windows)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        g_locked_windows.clear();
    }
};

}  // namespace

void install_win32_printer_spooler() {
    static Win32PrinterSpooler spooler;
    set_printer_spooler(&spooler);
}

std::unique_ptr<PrintTarget> make_print_target(DeviceContext printer_dc) {
    return std::make_unique<GdiPrintTarget>(static_cast<HDC>(printer_dc));
}

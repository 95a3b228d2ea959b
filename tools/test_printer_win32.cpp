// zelko_test_printer: prepares and checks the test printer of a Wine prefix.
//
//   zelko_test_printer --install PPD_NAME UNIX_PATH
//       Registers UNIX_PATH as a port, the Wine PostScript driver with the
//       PPD file PPD_NAME (already copied into the printer driver folder),
//       the printer "Zelkovane Test Printer" printing to that port, and makes
//       it the default printer; adds "Zelkovane Long Name Test Printer
//       (40 ch)" on the same port. Run again, it replaces what it made before
//       (the PDF printer below included).
//   zelko_test_printer --add-pdf-printer PORT [--default]
//       Adds the printer "Zelkovane PDF" with the same driver and PPD,
//       printing to PORT: a Unix file, or "|command", which the spooler runs
//       with the job's PostScript on its standard input. --default makes it
//       the default printer.
//   zelko_test_printer --check
//       Checks that the test printer is the default printer, that its
//       default paper is A4 and that it offers Japanese postcard paper
//       (DMPAPER_JAPANESE_POSTCARD) of 100 x 148 mm; checks that the Japanese
//       Windows font names the program uses resolve to real fonts.
//   zelko_test_printer --selftest-print [--postcard]
//       Prints one page on the default printer (frame, Latin and Japanese
//       text, horizontal and vertical), on postcard paper with --postcard.
//
// Exit code 0 on success, 1 on failure, 2 on a usage error. Messages go to
// standard output as UTF-8.
#include <windows.h>
#include <winspool.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

const wchar_t kPrinterName[] = L"Zelkovane Test Printer";
const wchar_t kPdfPrinterName[] = L"Zelkovane PDF";
// A second printer on the test printer's port whose name, 40 characters,
// is longer than a device mode's dmDeviceName holds.
const wchar_t kLongPrinterName[] = L"Zelkovane Long Name Test Printer (40 ch)";
const wchar_t kDriverName[] = L"Wine PostScript Driver";
const wchar_t kEnvironment[] = L"Windows x64";
const wchar_t kPortsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

// Writes one line to standard output as UTF-8.
void say(const wchar_t* format, ...)
{
    wchar_t wide[1024];
    va_list args;
    va_start(args, format);
    _vsnwprintf(wide, 1023, format, args);
    va_end(args);
    wide[1023] = 0;
    char utf8[4096];
    int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    if (n > 0) {
        fputs(utf8, stdout);
        fputc('\n', stdout);
        fflush(stdout);
    }
}

bool fail(const wchar_t* what)
{
    say(L"error: %ls failed (error %lu)", what, GetLastError());
    return false;
}

int failed(const wchar_t* what)
{
    fail(what);
    return 1;
}

bool register_port(const wchar_t* port)
{
    HKEY key;
    LONG rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPortsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr);
    if (rc != ERROR_SUCCESS) {
        SetLastError(rc);
        return fail(L"opening the Ports key");
    }
    rc = RegSetValueExW(key, port, 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) {
        SetLastError(rc);
        return fail(L"registering the port");
    }
    return true;
}

void remove_printer(const wchar_t* name)
{
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<wchar_t*>(name), &printer, &access)) {
        if (DeletePrinter(printer))
            say(L"removed the previous \"%ls\"", name);
        ClosePrinter(printer);
    }
}

// Removes the printers and the driver of an earlier installation so that a
// changed PPD or port takes effect.
void remove_previous()
{
    remove_printer(kPrinterName);
    remove_printer(kPdfPrinterName);
    remove_printer(kLongPrinterName);
    DeletePrinterDriverW(nullptr, const_cast<wchar_t*>(kEnvironment),
                         const_cast<wchar_t*>(kDriverName));
}

// A printer of the Wine PostScript driver (installed by --install) printing
// to `port`.
bool add_printer(const wchar_t* name, const wchar_t* port, const wchar_t* comment)
{
    PRINTER_INFO_2W info = {};
    info.pPrinterName = const_cast<wchar_t*>(name);
    info.pPortName = const_cast<wchar_t*>(port);
    info.pDriverName = const_cast<wchar_t*>(kDriverName);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.pComment = const_cast<wchar_t*>(comment);
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer)
        return fail(L"AddPrinterW");
    ClosePrinter(printer);
    return true;
}

int install(const wchar_t* ppd_name, const wchar_t* port)
{
    if (!register_port(port))
        return 1;
    remove_previous();

    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(kDriverName);
    driver.pEnvironment = const_cast<wchar_t*>(kEnvironment);
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = const_cast<wchar_t*>(ppd_name);
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver)))
        return failed(L"AddPrinterDriverW");

    if (!add_printer(kPrinterName, port, L"Writes PostScript to a file for the tests"))
        return 1;
    if (!add_printer(kLongPrinterName, port, L"The test printer under a 40-character name"))
        return 1;

    if (!SetDefaultPrinterW(kPrinterName))
        return failed(L"SetDefaultPrinterW");
    say(L"installed \"%ls\" printing to %ls", kPrinterName, port);
    return 0;
}

int add_pdf_printer(const wchar_t* port, bool make_default)
{
    if (!register_port(port))
        return 1;
    remove_printer(kPdfPrinterName);
    if (!add_printer(kPdfPrinterName, port, L"Turns each print job into a PDF file"))
        return 1;
    if (make_default && !SetDefaultPrinterW(kPdfPrinterName))
        return failed(L"SetDefaultPrinterW");
    say(L"installed \"%ls\" printing to %ls%ls", kPdfPrinterName, port,
        make_default ? L" (default printer)" : L"");
    return 0;
}

bool default_printer(wchar_t* name, DWORD cap)
{
    DWORD size = cap;
    return GetDefaultPrinterW(name, &size) != 0;
}

bool check_printer()
{
    wchar_t name[256];
    if (!default_printer(name, 256))
        return fail(L"GetDefaultPrinterW");
    if (wcscmp(name, kPrinterName) != 0) {
        say(L"error: the default printer is \"%ls\", not \"%ls\"", name, kPrinterName);
        return false;
    }

    HANDLE printer = nullptr;
    if (!OpenPrinterW(name, &printer, nullptr))
        return fail(L"OpenPrinterW");
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (!GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
        ClosePrinter(printer);
        return fail(L"GetPrinterW");
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    say(L"printer \"%ls\", port %ls, driver %ls", info->pPrinterName, info->pPortName,
        info->pDriverName);
    std::vector<wchar_t> port(info->pPortName, info->pPortName + wcslen(info->pPortName) + 1);

    LONG size = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
    bool ok = true;
    if (size <= 0) {
        ok = fail(L"DocumentPropertiesW");
    } else {
        std::vector<BYTE> dm(size);
        auto* mode = reinterpret_cast<DEVMODEW*>(dm.data());
        if (DocumentPropertiesW(nullptr, printer, name, mode, nullptr, DM_OUT_BUFFER) != IDOK) {
            ok = fail(L"DocumentPropertiesW");
        } else {
            say(L"default paper %d", mode->dmPaperSize);
            if (mode->dmPaperSize != DMPAPER_A4) {
                say(L"error: the default paper is %d, not A4 (%d)", mode->dmPaperSize, DMPAPER_A4);
                ok = false;
            }
        }
    }
    ClosePrinter(printer);

    int count = DeviceCapabilitiesW(name, port.data(), DC_PAPERS, nullptr, nullptr);
    if (count <= 0)
        return fail(L"DeviceCapabilitiesW(DC_PAPERS)");
    std::vector<WORD> papers(count);
    std::vector<POINT> sizes(count);
    std::vector<wchar_t> names(static_cast<size_t>(count) * 64);
    DeviceCapabilitiesW(name, port.data(), DC_PAPERS, reinterpret_cast<wchar_t*>(papers.data()),
                        nullptr);
    DeviceCapabilitiesW(name, port.data(), DC_PAPERSIZE, reinterpret_cast<wchar_t*>(sizes.data()),
                        nullptr);
    DeviceCapabilitiesW(name, port.data(), DC_PAPERNAMES, names.data(), nullptr);
    bool postcard = false;
    for (int i = 0; i < count; ++i) {
        wchar_t paper_name[65] = {};
        wmemcpy(paper_name, &names[static_cast<size_t>(i) * 64], 64);
        say(L"paper %d \"%ls\" %ld x %ld (0.1 mm)", papers[i], paper_name, sizes[i].x, sizes[i].y);
        if (papers[i] == DMPAPER_JAPANESE_POSTCARD) {
            postcard = true;
            if (sizes[i].x < 995 || sizes[i].x > 1005 || sizes[i].y < 1475 || sizes[i].y > 1485) {
                say(L"error: postcard paper is %ld x %ld, not 1000 x 1480", sizes[i].x, sizes[i].y);
                ok = false;
            }
        }
    }
    if (!postcard) {
        say(L"error: no Japanese postcard paper (%d) among the papers", DMPAPER_JAPANESE_POSTCARD);
        ok = false;
    }
    return ok;
}

// A face name resolves when the font mapper hands back that very name and
// a Japanese character set; an unknown name falls back to another face.
bool check_fonts()
{
    static const wchar_t* const faces[] = {L"ＭＳ ゴシック", L"ＭＳゴシック", L"ＭＳ Ｐゴシック",
                                           L"HG行書体", L"@HG行書体"};
    HDC dc = CreateCompatibleDC(nullptr);
    bool ok = true;
    for (const wchar_t* face : faces) {
        LOGFONTW lf = {};
        lf.lfHeight = -24;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        HFONT font = CreateFontIndirectW(&lf);
        HGDIOBJ old = SelectObject(dc, font);
        wchar_t got[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, got);
        TEXTMETRICW tm = {};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        DeleteObject(font);
        bool good = wcscmp(got, face) == 0 && tm.tmCharSet == SHIFTJIS_CHARSET;
        say(L"font \"%ls\" -> \"%ls\" charset %d%ls", face, got, tm.tmCharSet,
            good ? L"" : L"  (not available)");
        ok = ok && good;
    }
    DeleteDC(dc);
    return ok;
}

int check()
{
    bool printer_ok = check_printer();
    bool fonts_ok = check_fonts();
    return printer_ok && fonts_ok ? 0 : 1;
}

HFONT make_font(const wchar_t* face, int height, int escapement, BYTE charset)
{
    LOGFONTW lf = {};
    lf.lfHeight = -height;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfCharSet = charset;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

int selftest_print(bool postcard)
{
    wchar_t name[256];
    if (!default_printer(name, 256))
        return failed(L"GetDefaultPrinterW");

    HANDLE printer = nullptr;
    if (!OpenPrinterW(name, &printer, nullptr))
        return failed(L"OpenPrinterW");
    LONG size = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
    std::vector<BYTE> dm(size > 0 ? size : sizeof(DEVMODEW));
    auto* mode = reinterpret_cast<DEVMODEW*>(dm.data());
    if (size <= 0 ||
        DocumentPropertiesW(nullptr, printer, name, mode, nullptr, DM_OUT_BUFFER) != IDOK) {
        ClosePrinter(printer);
        return failed(L"DocumentPropertiesW");
    }
    ClosePrinter(printer);
    if (postcard) {
        mode->dmFields |= DM_PAPERSIZE;
        mode->dmPaperSize = DMPAPER_JAPANESE_POSTCARD;
    }

    HDC dc = CreateDCW(L"WINSPOOL", name, nullptr, mode);
    if (!dc)
        return failed(L"CreateDCW");
    int width = GetDeviceCaps(dc, HORZRES);
    int height = GetDeviceCaps(dc, VERTRES);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    say(L"printing on \"%ls\": %d x %d dots at %d dpi", name, width, height, dpi);

    DOCINFOW doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = L"Zelkovane printer self-test";
    bool ok = StartDocW(dc, &doc) > 0;
    ok = ok && StartPage(dc) > 0;
    if (ok) {
        int margin = dpi / 4;
        HPEN pen = CreatePen(PS_SOLID, dpi / 50, RGB(0, 0, 0));
        HGDIOBJ old_pen = SelectObject(dc, pen);
        HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, margin, margin, width - margin, height - margin);

        HFONT latin = make_font(L"Liberation Sans", dpi / 6, 0, ANSI_CHARSET);
        HGDIOBJ old_font = SelectObject(dc, latin);
        SetBkMode(dc, TRANSPARENT);
        const wchar_t title[] = L"Zelkovane Test Printer";
        TextOutW(dc, margin * 2, margin * 2, title, static_cast<int>(wcslen(title)));

        HFONT gothic = make_font(L"ＭＳ ゴシック", dpi / 5, 0, SHIFTJIS_CHARSET);
        SelectObject(dc, gothic);
        const wchar_t japanese[] = L"郵便はがき ｱﾄﾞﾚｽ 〒123-4567";
        TextOutW(dc, margin * 2, margin * 2 + dpi / 3, japanese, static_cast<int>(wcslen(japanese)));

        // Vertical writing as the address side uses it: a vertical font
        // turned by 270 degrees.
        HFONT vertical = make_font(L"@HG行書体", dpi / 4, 2700, SHIFTJIS_CHARSET);
        SelectObject(dc, vertical);
        SetTextColor(dc, RGB(200, 0, 0));
        const wchar_t name_text[] = L"山田太郎様";
        TextOutW(dc, width / 2 + dpi / 8, margin * 2 + dpi, name_text,
                 static_cast<int>(wcslen(name_text)));

        SelectObject(dc, old_font);
        SelectObject(dc, old_pen);
        SelectObject(dc, old_brush);
        DeleteObject(latin);
        DeleteObject(gothic);
        DeleteObject(vertical);
        DeleteObject(pen);
        ok = EndPage(dc) > 0;
        ok = EndDoc(dc) > 0 && ok;
    }
    if (!ok) {
        fail(L"printing");
        AbortDoc(dc);
    }
    DeleteDC(dc);
    if (ok)
        say(L"printed one page%ls", postcard ? L" on postcard paper" : L"");
    return ok ? 0 : 1;
}

int usage()
{
    say(L"usage: zelko_test_printer --install PPD_NAME UNIX_PATH | "
        L"--add-pdf-printer PORT [--default] | --check | --selftest-print [--postcard]");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && wcscmp(argv[1], L"--install") == 0)
        return install(argv[2], argv[3]);
    if (argc >= 3 && argc <= 4 && wcscmp(argv[1], L"--add-pdf-printer") == 0) {
        if (argc == 3)
            return add_pdf_printer(argv[2], false);
        if (wcscmp(argv[3], L"--default") == 0)
            return add_pdf_printer(argv[2], true);
    }
    if (argc == 2 && wcscmp(argv[1], L"--check") == 0)
        return check();
    if (argc >= 2 && wcscmp(argv[1], L"--selftest-print") == 0) {
        if (argc == 2)
            return selftest_print(false);
        if (argc == 3 && wcscmp(argv[2], L"--postcard") == 0)
            return selftest_print(true);
    }
    return usage();
}

// zelko_print_bench COUNT: how fast the program prints, beside plain GDI.
//
// Prints COUNT realistic cards (postal codes, two or three address lines,
// one or two names, the sender) through the real program onto the test
// printer on postcard paper: start with Yes to the printer question, P, all
// pages, OK, Yes; timed from the confirmation to the complete PostScript.
// Then, in the same run, the same COUNT pages drawn by plain GDI calls
// (each font made once, every text at the place the card mapping gives it)
// onto the same printer and paper: the baseline. Prints one line each:
//   program  PAGES pages SECONDS s PAGES_PER_S pages/s BYTES bytes/page
//   baseline PAGES pages SECONDS s PAGES_PER_S pages/s BYTES bytes/page
//   ratio R
// Needs ZK_EXE and ZK_PRINTER_OUTPUT as the end-to-end tests get them, the
// test printer as the default printer. Exit code 0 when both jobs printed.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "render/card_geometry.h"
#include "tests/e2e/driver_win32.h"

namespace {

constexpr DWORD kJobTimeout = 1800000;
const wchar_t kTestPrinter[] = L"Zelkovane Test Printer";

struct Card {
    std::wstring code;
    std::vector<std::wstring> address;
    std::vector<std::wstring> names;
};

// Card i: addresses and names varied from a few lists, as an address book
// of friends and relatives across the country looks.
Card realistic_card(int i) {
    static const wchar_t* const places[] = {L"東京都世田谷区桜新町", L"大阪府大阪市北区梅田",
                                            L"北海道札幌市中央区北一条西", L"福岡県福岡市博多区博多駅前",
                                            L"愛知県名古屋市中村区名駅", L"宮城県仙台市青葉区一番町",
                                            L"京都府京都市左京区下鴨", L"沖縄県那覇市泉崎"};
    static const wchar_t* const buildings[] = {L"グランドハイツ", L"さくら荘", L"パークマンション"};
    static const wchar_t* const family[] = {L"佐藤", L"鈴木", L"高橋", L"田中", L"伊藤",
                                            L"渡辺", L"山本", L"中村", L"小林", L"加藤"};
    static const wchar_t* const given[] = {L"一郎", L"花子", L"美咲", L"健太", L"由美",
                                           L"翔太", L"陽子", L"大輔", L"恵", L"隆"};
    Card c;
    wchar_t code[8];
    std::swprintf(code, 8, L"%03d%04d", 100 + (i * 37) % 899, (i * 7919) % 10000);
    c.code = code;
    c.address.push_back(places[i % 8] + std::to_wstring(i % 5 + 1) + L"丁目");
    c.address.push_back(std::to_wstring(i % 20 + 1) + L"番" + std::to_wstring(i % 9 + 1) + L"号");
    if (i % 3 == 0) c.address.push_back(std::wstring(buildings[i % 3]) + std::to_wstring(100 + i) + L"号室");
    std::wstring surname = family[i % 10];
    c.names.push_back(surname + L"　" + given[(i / 10) % 10] + L"　様");
    if (i % 4 == 1) c.names.push_back(L"　　" + std::wstring(given[(i + 3) % 10]) + L"　様");
    return c;
}

const wchar_t kSender[] = L"fdata_cont_max=1\r\nfdata[0].t=1500001\r\n"
                          L"fdata[0].a[0].s=東京都渋谷区神宮前一丁目\r\nfdata[0].a[1].s=二番三号\r\n"
                          L"fdata[0].n[0].s=山田　太郎\r\n";

std::wstring addressee_file(int count) {
    std::wstring out = L"hdata_cont_max=" + std::to_wstring(count) + L"\r\n";
    for (int i = 0; i < count; ++i) {
        Card c = realistic_card(i);
        std::wstring k = L"hdata[" + std::to_wstring(i) + L"].";
        out += k + L"tt.m=" + c.code + L"\r\n";
        for (size_t n = 0; n < c.address.size(); ++n)
            out += k + L"ta.m[" + std::to_wstring(n) + L"].s=" + c.address[n] + L"\r\n";
        for (size_t n = 0; n < c.names.size(); ++n)
            out += k + L"tn.m[" + std::to_wstring(n) + L"].s=" + c.names[n] + L"\r\n";
        out += k + L"ftb=0\r\n";
    }
    return out;
}

// The size of a file and its last bytes (a job's PostScript runs to
// hundreds of megabytes; its end says whether it is complete).
size_t read_tail(const std::wstring& path, std::string& tail) {
    tail.clear();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    LARGE_INTEGER at{};
    at.QuadPart = size.QuadPart > 4096 ? size.QuadPart - 4096 : 0;
    char buffer[4096];
    DWORD got = 0;
    if (SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && ReadFile(h, buffer, sizeof buffer, &got, nullptr))
        tail.assign(buffer, got);
    CloseHandle(h);
    return static_cast<size_t>(size.QuadPart);
}

// Waits for a complete job in the printer's output file (removed before
// the job); its size, or 0.
size_t wait_for_output(const std::wstring& output) {
    std::string tail;
    size_t size = 0;
    bool done = e2e::wait_until([&] {
        size = read_tail(output, tail);
        return tail.find("%%EOF") != std::string::npos;
    }, kJobTimeout);
    return done ? size : 0;
}

struct Figure {
    int pages = 0;
    double seconds = 0;
    size_t bytes = 0;
};

void report(const char* what, const Figure& f) {
    std::printf("%-8s %d pages %.2f s %.1f pages/s %zu bytes/page\n", what, f.pages, f.seconds,
                f.seconds > 0 ? f.pages / f.seconds : 0.0, f.pages ? f.bytes / f.pages : 0);
    std::fflush(stdout);
}

double seconds_since(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
}

bool fail(const char* what) {
    std::printf("error: %s\n", what);
    return false;
}

// The program prints all cards after Yes at start-up, through the print
// dialog as it opens (postcard paper) with all pages chosen.
bool print_with_program(int count, const std::wstring& output, Figure& f) {
    e2e::TempDir dir(L"printbench");
    dir.write(L"zelko1.txt", e2e::utf16le_file(kSender));
    dir.write(L"zelko2.txt", e2e::utf16le_file(addressee_file(count)));
    e2e::App app(dir.path());
    if (!app.started()) return fail("Zelkovane did not start");
    HWND main = app.start(true);
    if (!main || !app.settle()) return fail("no main window");
    DeleteFileW(output.c_str());
    app.post_key('P');
    HWND dialog = app.wait_other_dialog();
    if (!dialog) return fail("no print dialog");
    DWORD_PTR clicked = 0;
    HWND all_pages = GetDlgItem(dialog, 0x420);  // rad1
    if (!all_pages ||
        !SendMessageTimeoutW(all_pages, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &clicked) ||
        !e2e::App::answer(dialog, IDOK))
        return fail("the print dialog did not close");
    HWND box = app.wait_message_box();
    if (!box) return fail("no confirmation");
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!e2e::App::answer(box, IDYES)) return fail("the confirmation did not close");
    f.bytes = wait_for_output(output);
    if (f.bytes == 0 || !e2e::wait_until([&] { return IsWindowEnabled(main) != FALSE; }, kJobTimeout))
        return fail("the program's job did not complete");
    f.seconds = seconds_since(start);
    f.pages = count;
    app.kill();
    return true;
}

// The baseline: the same pages by plain GDI calls, each font made once.
struct Font {
    LOGFONTW lf;
    HFONT font;
};

HFONT font_for(std::vector<Font>& fonts, const LogFont& stored, int32_t height) {
    LOGFONTW lf;
    static_assert(sizeof lf == sizeof stored, "LogFont mirrors LOGFONTW");
    std::memcpy(&lf, &stored, sizeof lf);
    lf.lfHeight = height;
    for (const Font& f : fonts)
        if (std::memcmp(&f.lf, &lf, sizeof lf) == 0) return f.font;
    fonts.push_back({lf, CreateFontIndirectW(&lf)});
    return fonts.back().font;
}

void text_at(HDC dc, std::vector<Font>& fonts, const CardRecord& card, const LogFont& font,
             int32_t W, int32_t H, int32_t x, int32_t y, const std::wstring& text) {
    if (text.empty()) return;
    SelectObject(dc, font_for(fonts, font, printer_font_height(font.lfHeight, H, card)));
    Point p = to_printer(x, y, W, H, card);
    TextOutW(dc, p.x, p.y, text.c_str(), static_cast<int>(text.size()));
}

template <typename Boxes>
void code_at(HDC dc, std::vector<Font>& fonts, const CardRecord& card, const Boxes& block,
             int32_t W, int32_t H, const std::wstring& code) {
    CodeBoxes boxes = code_boxes(block);
    for (int i = 0; i < kCodeDigits && i < static_cast<int>(code.size()); ++i) {
        Point cell = digit_position(boxes, i);
        text_at(dc, fonts, card, block.lf, W, H, cell.x, cell.y, code.substr(i, 1));
    }
}

bool print_with_gdi(int count, const std::wstring& output, Figure& f) {
    HANDLE printer = nullptr;
    wchar_t* name = const_cast<wchar_t*>(kTestPrinter);
    if (!OpenPrinterW(name, &printer, nullptr)) return fail("OpenPrinterW");
    LONG size = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
    std::vector<BYTE> mode(size > 0 ? size : 1);
    auto* dm = reinterpret_cast<DEVMODEW*>(mode.data());
    bool ok = size > 0 && DocumentPropertiesW(nullptr, printer, name, dm, nullptr, DM_OUT_BUFFER) == IDOK;
    ClosePrinter(printer);
    if (!ok) return fail("DocumentPropertiesW");
    dm->dmFields |= DM_PAPERSIZE | DM_ORIENTATION;
    dm->dmPaperSize = DMPAPER_JAPANESE_POSTCARD;
    dm->dmOrientation = DMORIENT_PORTRAIT;

    CardRecord card{};
    set_default_layout(card);
    Card sender{L"1500001", {L"東京都渋谷区神宮前一丁目", L"二番三号"}, {L"山田　太郎"}};
    DeleteFileW(output.c_str());
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    HDC dc = CreateDCW(L"WINSPOOL", kTestPrinter, nullptr, dm);
    if (!dc) return fail("CreateDCW");
    const int32_t W = GetDeviceCaps(dc, HORZRES), H = GetDeviceCaps(dc, VERTRES);
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = L"Zelkovane baseline";
    std::vector<Font> fonts;
    ok = StartDocW(dc, &info) > 0;
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; ok && i < count; ++i) {
        Card c = realistic_card(i);
        ok = StartPage(dc) > 0;
        SetBkMode(dc, TRANSPARENT);
        code_at(dc, fonts, card, card.tt, W, H, c.code);
        for (size_t k = 0; k < c.address.size(); ++k)
            text_at(dc, fonts, card, card.ta.lf, W, H, card.ta.xy[k].x, card.ta.xy[k].y, c.address[k]);
        for (size_t k = 0; k < c.names.size(); ++k)
            text_at(dc, fonts, card, card.tn.lf, W, H, card.tn.xy[k].x, card.tn.xy[k].y, c.names[k]);
        code_at(dc, fonts, card, card.ft, W, H, sender.code);
        for (size_t k = 0; k < sender.address.size(); ++k)
            text_at(dc, fonts, card, card.fa.lf, W, H, card.fa.xy[k].x, card.fa.xy[k].y, sender.address[k]);
        text_at(dc, fonts, card, card.fn.lf, W, H, card.fn.xy[0].x, card.fn.xy[0].y, sender.names[0]);
        ok = ok && EndPage(dc) > 0;
    }
    ok = ok && EndDoc(dc) > 0;
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteDC(dc);
    for (const Font& font : fonts) DeleteObject(font.font);
    if (!ok) return fail("the baseline job failed");
    f.bytes = wait_for_output(output);
    if (f.bytes == 0) return fail("the baseline job did not complete");
    f.seconds = seconds_since(start);
    f.pages = count;
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int count = argc == 2 ? _wtoi(argv[1]) : 0;
    if (count < 1 || count > HDATA_MAX) {
        std::printf("usage: zelko_print_bench COUNT (1 to %d)\n", HDATA_MAX);
        return 2;
    }
    std::wstring output = e2e::environment(L"ZK_PRINTER_OUTPUT");
    if (e2e::environment(L"ZK_EXE").empty() || output.empty())
        return fail("ZK_EXE and ZK_PRINTER_OUTPUT must be set") ? 0 : 1;
    if (e2e::default_printer() != kTestPrinter) return fail("the test printer is not the default") ? 0 : 1;
    e2e::PaperGuard guard;
    Figure program, baseline;
    if (!print_with_program(count, output, program)) return 1;
    report("program", program);
    if (!print_with_gdi(count, output, baseline)) return 1;
    report("baseline", baseline);
    std::printf("ratio %.2f\n", program.seconds / baseline.seconds);
    return 0;
}

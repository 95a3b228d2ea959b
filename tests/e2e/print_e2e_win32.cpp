// Printing through the real program on the printers of the Wine prefix: the
// start-up switch of the default printer to postcard paper and its restore
// at exit, the print command through the real print dialog and its
// confirmation, a range of cards with copies, and the PDF printer of
// `make run`.
//
// What a page looks like is checked outside Wine: each test that prints
// copies the PostScript the test printer wrote into ZK_ARTIFACTS, together
// with a calibration job of the same texts and an expectations file (where
// the card mapping puts each text, in device pixels), and
// scripts/check_print_e2e.py rasterises the pages with Ghostscript and
// compares.
//
// The program hands the print dialog the default printer's stored settings,
// so after the start-up switch the dialog opens on postcard paper; the
// earlier tests still choose postcard paper in the dialog, as a user may.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "render/card_fit.h"
#include "render/card_geometry.h"
#include "render/gdi_surface.h"
#include "tests/e2e/driver_win32.h"

using e2e::App;
using e2e::TempDir;
using e2e::utf8;
using e2e::answer;
using e2e::expect_message_box;
using e2e::read_file;
using e2e::sample_picture;
using e2e::screenshot;

namespace {

const std::wstring kSenders =
    L"fdata_cont_max=1\r\nfdata[0].t=1500001\r\nfdata[0].a[0].s=東京都渋谷区神宮前一丁目\r\n"
    L"fdata[0].a[1].s=二番三号\r\nfdata[0].n[0].s=山田　太郎\r\nfdata[0].n[1].s=\r\n";

// Three cards told apart on paper by their number of address lines: card k
// has k + 1 of them.
const std::wstring kAddressees =
    L"hdata_cont_max=3\r\n"
    L"hdata[0].tt.m=5300001\r\nhdata[0].ta.m[0].s=大阪府大阪市北区梅田一丁目\r\n"
    L"hdata[0].tn.m[0].s=鈴木　花子　様\r\nhdata[0].ftb=0\r\n"
    L"hdata[1].tt.m=0600001\r\nhdata[1].ta.m[0].s=北海道札幌市中央区\r\n"
    L"hdata[1].ta.m[1].s=北一条西二丁目\r\n"
    L"hdata[1].tn.m[0].s=佐藤　一郎　様\r\nhdata[1].ftb=0\r\n"
    L"hdata[2].tt.m=9000001\r\nhdata[2].ta.m[0].s=沖縄県那覇市\r\n"
    L"hdata[2].ta.m[1].s=泉崎一丁目\r\nhdata[2].ta.m[2].s=二番二号\r\n"
    L"hdata[2].tn.m[0].s=高橋　美咲　様\r\nhdata[2].ftb=0\r\n";

// The print offset of the card test, in printer pixels: the mapping adds
// it to every item.
constexpr int kOffsetX = 60;
constexpr int kOffsetY = 40;

const wchar_t kTestPrinter[] = L"Zelkovane Test Printer";
const wchar_t kPdfPrinter[] = L"Zelkovane PDF";
// The test printer's port under a name of 40 characters.
const wchar_t kLongPrinter[] = L"Zelkovane Long Name Test Printer (40 ch)";

// Controls of the system print dialog (dlgs.h).
constexpr int kPrintAll = 0x420;     // rad1
constexpr int kPrintPages = 0x422;   // rad3
constexpr int kFromPage = 0x480;     // edt1
constexpr int kToPage = 0x481;       // edt2
constexpr int kCopies = 0x482;       // edt3
constexpr int kPrinterList = 0x473;  // cmb4
constexpr int kProperties = 0x401;   // psh2
// The paper list on the first page of the PostScript driver's properties.
constexpr int kPaperList = 0x64;
// The test printer's postcard paper as its PPD names it.
const wchar_t kPostcardForm[] = L"Postcard (100 x 148 mm)";

bool write_file(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(h);
    return ok;
}

bool file_exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Occurrences of a line start ("%%Page:") in PostScript.
int count_lines_starting(const std::string& text, const std::string& start) {
    int n = 0;
    for (size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1))
        if (at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r') ++n;
    return n;
}

// The year whose New Year cards are being prepared: next year from
// September on.
int card_year_now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wMonth > 8 ? now.wYear + 1 : now.wYear;
}

bool checked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    HWND control = GetDlgItem(dialog, id);
    return control &&
           SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_NORMAL, e2e::kSendTimeout, &state) &&
           state == BST_CHECKED;
}

// A visible dialog owned by `owner` (a dialog it opened), or nullptr when
// none appeared in time.
HWND wait_owned_dialog(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    e2e::wait_until([&] {
        EnumWindows(
            [](HWND w, LPARAM param) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(param);
                if (GetWindow(w, GW_OWNER) != s.owner || !IsWindowVisible(w) ||
                    e2e::class_name(w) != L"#32770")
                    return TRUE;
                s.found = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, e2e::kWaitTimeout);
    return search.found;
}

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR* result = nullptr) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, e2e::kSendTimeout,
                               result ? result : &ignored) != 0;
}

// Chooses the paper `form` through the print dialog's Properties button
// and the driver's paper list. Wine's PostScript driver starts every print
// dialog from its own default paper (the PPD's A4): it does not take up the
// default paper that the start-up switch writes into the printer's
// settings, so under Wine the postcard paper is chosen here, as a user
// would.
void choose_paper(HWND print_dialog, const wchar_t* form) {
    ASSERT_TRUE(PostMessageW(print_dialog, WM_COMMAND, MAKEWPARAM(kProperties, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(print_dialog, kProperties))));
    HWND sheet = wait_owned_dialog(print_dialog);
    ASSERT_NE(sheet, nullptr) << "no printer properties";
    HWND page = FindWindowExW(sheet, nullptr, L"#32770", nullptr);
    ASSERT_NE(page, nullptr);
    HWND list = GetDlgItem(page, kPaperList);
    ASSERT_NE(list, nullptr) << "no paper list";
    DWORD_PTR index = static_cast<DWORD_PTR>(LB_ERR);
    ASSERT_TRUE(send(list, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(form), &index));
    ASSERT_NE(static_cast<LRESULT>(index), LB_ERR) << "no paper " << utf8(form);
    ASSERT_TRUE(send(page, WM_COMMAND, MAKEWPARAM(kPaperList, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list)));
    ASSERT_TRUE(App::answer(sheet, IDOK)) << "the properties did not close";
}

bool click(HWND dialog, int id) {
    DWORD_PTR result = 0;
    HWND control = GetDlgItem(dialog, id);
    return control &&
           SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, e2e::kSendTimeout, &result);
}

// --- Where the items of a card land on the page ------------------------------

// The printer's device mode with postcard paper, portrait: the paper the
// tests choose in the print dialog. Empty when it cannot be read.
std::vector<BYTE> postcard_devmode(const std::wstring& printer) {
    HANDLE handle = nullptr;
    wchar_t* name = const_cast<wchar_t*>(printer.c_str());
    if (!OpenPrinterW(name, &handle, nullptr)) return {};
    LONG bytes = DocumentPropertiesW(nullptr, handle, name, nullptr, nullptr, 0);
    std::vector<BYTE> buffer(bytes > 0 ? bytes : 0);
    bool ok = bytes > 0 &&
              DocumentPropertiesW(nullptr, handle, name, reinterpret_cast<DEVMODEW*>(buffer.data()),
                                  nullptr, DM_OUT_BUFFER) == IDOK;
    ClosePrinter(handle);
    if (!ok) return {};
    auto* mode = reinterpret_cast<DEVMODEW*>(buffer.data());
    mode->dmFields |= DM_PAPERSIZE | DM_ORIENTATION;
    mode->dmPaperSize = DMPAPER_JAPANESE_POSTCARD;
    mode->dmOrientation = DMORIENT_PORTRAIT;
    return buffer;
}

struct DeleteDc {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using PrinterIc = std::unique_ptr<std::remove_pointer<HDC>::type, DeleteDc>;

// An information context of the printer with postcard paper: its printable
// area and fonts are those of the printed pages.
PrinterIc postcard_printer_ic(const std::wstring& printer) {
    std::vector<BYTE> mode = postcard_devmode(printer);
    if (mode.empty()) return nullptr;
    return PrinterIc(CreateICW(L"WINSPOOL", printer.c_str(), nullptr,
                               reinterpret_cast<const DEVMODEW*>(mode.data())));
}

// What the checker (scripts/check_print_e2e.py) needs to know about a job:
// where the card mapping puts every text of every page. Where a driver puts
// the ink of a text relative to its origin depends on the font and the
// driver (the placement of vertical glyphs, synthetic bold), so every text
// is also printed by plain GDI calls at a known point of a calibration job,
// from which the checker takes the ink's offset from the origin.
//
// The expectations file, one line each, in device pixels of the raster:
//   page-size WIDTH HEIGHT DPI
//   pages N                              the job has N pages
//   window LABEL LEFT TOP RIGHT BOTTOM   where LABEL's ink may lie, relative to its origin
//   ref PAGE X Y LABEL                   LABEL drawn at (X, Y) on a calibration page
//   at PAGE X Y LABEL                    the job drew LABEL at (X, Y) on PAGE
//   missing PAGE X Y LABEL               LABEL drawn at (X, Y) would leave ink on
//                                        PAGE; there must be none
//   blank PAGE LEFT TOP RIGHT BOTTOM LABEL  no ink at all in this box
// Every ink pixel of a job's page must belong to one of its "at" texts.
class PagePlan {
public:
    explicit PagePlan(HDC ic) : ic_(ic) {
        W = GetDeviceCaps(ic, HORZRES);
        H = GetDeviceCaps(ic, VERTRES);
        offset_ = {GetDeviceCaps(ic, PHYSICALOFFSETX), GetDeviceCaps(ic, PHYSICALOFFSETY)};
        line("page-size %d %d %d", GetDeviceCaps(ic, PHYSICALWIDTH),
             GetDeviceCaps(ic, PHYSICALHEIGHT), GetDeviceCaps(ic, LOGPIXELSY));
    }

    void pages(int n) { line("pages %d", n); }

    // Card `card` of the document (its layout and texts as in `doc()`) on
    // page `page`: each postal code digit on its own, each line as it is
    // set on the printer's page (whole at its origin when it fits).
    void card(int page, const CardRecord& card) {
        const SenderRecord& sender = doc().fdata[card.ftb];
        code(page, card, card.tt.lf, code_boxes(card.tt), card.tt.m, "code");
        lines(page, card, LineBlock::Address, card.ta.lf, card.ta.m, card.ta.xy, ADDRESSEE_LINES, "address");
        lines(page, card, LineBlock::Name, card.tn.lf, card.tn.m, card.tn.xy, ADDRESSEE_LINES, "name");
        code(page, card, card.ft.lf, code_boxes(card.ft), sender.t, "sender-code");
        lines(page, card, LineBlock::SenderAddress, card.fa.lf, sender.a, card.fa.xy, SENDER_LINES,
              "sender-address");
        lines(page, card, LineBlock::SenderName, card.fn.lf, sender.n, card.fn.xy, SENDER_LINES,
              "sender-name");
    }

    // No ink 3 mm inside the card's edges nor 1 mm above the sender's
    // digits across the sender's address columns.
    void clear_margins(int page, const CardRecord& card) {
        auto blank = [&](int32_t l, int32_t t, int32_t r, int32_t b, const char* label) {
            Point a = device(l, t, card), z = device(r, b, card);
            line("blank %d %d %d %d %d %s", page, a.x, a.y, z.x, z.y, label);
        };
        blank(0, card.base_h - kEdgeMargin, card.base_w, card.base_h, "bottom-margin");
        blank(0, 0, kEdgeMargin, card.base_h, "left-margin");
        blank(card.base_w - kEdgeMargin, 0, card.base_w, card.base_h, "right-margin");
        blank(card.fa.xy[1].x + card.fa.lf.lfHeight, card.ft.y1 - kObstacleGap, card.fa.xy[0].x,
              card.ft.y1, "above-sender-digits");
    }

    // Address line k of `card` is empty: `text` at its place would leave
    // ink, and there must be none.
    void missing_line(int page, const CardRecord& card, int k, const char16_t* text) {
        std::string label = text_label(card, card.ta.lf, text, "address");
        Point at = device(card.ta.xy[k].x, card.ta.xy[k].y, card);
        line("missing %d %d %d %s", page, at.x, at.y, label.c_str());
    }

    // Places the calibration texts on pages 1, 2 ... of the calibration job
    // in rows, their windows apart. Returns the number of pages.
    int lay_out_calibration() {
        const int gap = 40;
        int page = 1, x = gap, y = gap, row_height = 0;
        for (Sample& t : samples_) {
            int w = t.window.right - t.window.left, h = t.window.bottom - t.window.top;
            if (x + w + gap > W) {
                x = gap;
                y += row_height + gap;
                row_height = 0;
            }
            if (y + h + gap > H) {
                ++page;
                x = gap;
                y = gap;
                row_height = 0;
            }
            t.page = page;
            t.origin = {x - t.window.left, y - t.window.top};
            x += w + gap;
            row_height = std::max(row_height, h);
            line("window %s %d %d %d %d", t.label.c_str(), t.window.left, t.window.top,
                 t.window.right, t.window.bottom);
            line("ref %d %d %d %s", page, t.origin.x + offset_.x, t.origin.y + offset_.y,
                 t.label.c_str());
        }
        return page;
    }

    // Draws the calibration texts of `page` with plain GDI calls.
    void draw_calibration(HDC dc, int page) const {
        for (const Sample& t : samples_) {
            if (t.page != page) continue;
            HFONT font = CreateFontIndirectW(reinterpret_cast<const LOGFONTW*>(&t.font));
            HGDIOBJ old = SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            if (t.steps.empty())
                TextOutW(dc, t.origin.x, t.origin.y, reinterpret_cast<const wchar_t*>(t.text.c_str()),
                         static_cast<int>(t.text.size()));
            SelectObject(dc, old);
            DeleteObject(font);
            if (t.steps.empty()) continue;
            GdiSurface planned(dc, GdiSurface::Kind::Printer);  // a planned line as the renderer draws it
            planned.begin_font(t.font, {0, 0, 0});
            planned.text_out_stepped(t.origin, t.text.c_str(), static_cast<int>(t.text.size()), t.steps.data());
        }
    }

    const std::string& text() const { return text_; }
    int32_t W = 0;
    int32_t H = 0;

private:
    // One distinct text in one font, as the printer gets it.
    struct Sample {
        std::string label;
        LogFont font;  // lfHeight scaled to the printer
        std::u16string text;
        Rect window;   // where its ink may lie relative to its origin
        int page = 0;  // calibration page and origin
        Point origin{0, 0};
        std::vector<int32_t> steps;  // a planned line's steps; none: the font's advances
    };

    Point device(int32_t x, int32_t y, const CardRecord& card) const {
        Point p = to_printer(x, y, W, H, card);
        return {p.x + offset_.x, p.y + offset_.y};
    }

    // The label of `text` in the item's font, adding it to the samples when
    // it is new.
    std::string text_label(const CardRecord& card, const LogFont& stored, const char16_t* text,
                           const char* item) {
        LogFont font = stored;
        font.lfHeight = printer_font_height(stored.lfHeight, H, card);
        std::u16string content(text, text_length(text));
        for (const Sample& t : samples_)
            if (t.text == content && std::memcmp(&t.font, &font, sizeof font) == 0)
                return t.label;
        std::string label = std::string(item) + "-" + std::to_string(samples_.size());
        samples_.push_back({label, font, content, window_of(font, content)});
        return label;
    }

    // The text's cell on the printer, grown generously: a vertical line's
    // cells lie left of its origin and run down, a horizontal text's right
    // of and below it.
    Rect window_of(const LogFont& font, const std::u16string& text) {
        HFONT made = CreateFontIndirectW(reinterpret_cast<const LOGFONTW*>(&font));
        HGDIOBJ old = SelectObject(ic_, made);
        SIZE size{};
        GetTextExtentPoint32W(ic_, reinterpret_cast<const wchar_t*>(text.c_str()),
                              static_cast<int>(text.size()), &size);
        SelectObject(ic_, old);
        DeleteObject(made);
        int32_t margin = size.cy / 2 + 20;
        bool vertical = font.lfEscapement == -900 || font.lfEscapement == 2700;
        return vertical ? Rect{-size.cy - margin, -margin, margin, size.cx + margin}
                        : Rect{-margin, -margin, size.cx + margin, size.cy + margin};
    }

    void at(int page, const CardRecord& card, const LogFont& stored, int32_t x, int32_t y,
            const char16_t* text, const char* item) {
        std::string label = text_label(card, stored, text, item);
        Point p = device(x, y, card);
        line("at %d %d %d %s", page, p.x, p.y, label.c_str());
    }

    void code(int page, const CardRecord& card, const LogFont& stored, const CodeBoxes& boxes,
              const char16_t* text, const char* item) {
        for (int i = 0; i < text_length(text) && i < kCodeDigits; ++i) {
            Point p = digit_position(boxes, i);
            const char16_t digit[2] = {text[i], 0};
            at(page, card, stored, p.x, p.y, digit, item);
        }
    }

    // The lines of a block as the renderer sets them on this printer.
    void lines(int page, const CardRecord& card, LineBlock block, const LogFont& stored,
               const TextLine* texts, const LinePos* origins, int count, const char* item) {
        GdiSurface surface(ic_, GdiSurface::Kind::Printer);
        CardMapping mapping{card, false, W, H};
        LinePlan plans[ADDRESSEE_LINES];
        plan_lines(surface, card, block, stored, texts, origins, count, fit_switches(), plans);
        const bool down = writing_of(stored) == Writing::Down;
        for (int k = 0; k < count; ++k) {
            const LinePlan& p = plans[k];
            if (p.length == 0) continue;
            LogFont set = stored;
            set.lfHeight = p.height;
            LogFont font = mapping.font(set);
            piece(page, font, mapping.map_along(origins[k], down, p.start), mapping, p, down, 0, p.split, item);
            if (p.split < p.length)
                piece(page, font, mapping.map_along(origins[k], down, p.tail_start), mapping, p, down,
                      p.split, p.length, item);
        }
    }

    // Units [from, to) of `plan` drawn in the printer font `font` at the
    // page point `at`, each where the plan puts it.
    void piece(int page, const LogFont& font, Point at, const CardMapping& mapping,
               const LinePlan& plan, bool down, int from, int to, const char* item) {
        const std::u16string text(plan.text + from, to - from);
        std::vector<int32_t> steps(text.size());
        plan_steps(mapping, plan, down, from, to, steps.data());
        std::string label;
        for (const Sample& t : samples_)
            if (t.text == text && t.steps == steps && std::memcmp(&t.font, &font, sizeof font) == 0)
                label = t.label;
        if (label.empty()) {
            label = std::string(item) + "-" + std::to_string(samples_.size());
            samples_.push_back({label, font, text, window_of(font, text), 0, {0, 0}, steps});
        }
        line("at %d %d %d %s", page, at.x + offset_.x, at.y + offset_.y, label.c_str());
    }

    void line(const char* format, ...) {
        char buffer[300];
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
        text_ += buffer;
        text_ += "\n";
    }

    HDC ic_;
    Point offset_{0, 0};
    std::vector<Sample> samples_;
    std::string text_;
};

// The document as the program holds it after loading the test's files: the
// default layout of every card, the texts of the three cards and the one
// sender, the print offset.
void load_test_document(int offset_x, int offset_y) {
    std::memset(&doc(), 0, sizeof(Document));
    for (CardRecord& c : doc().hdata) set_default_layout(c);
    set_default_print_settings(doc().print);
    doc().print.base_px = offset_x;
    doc().print.base_py = offset_y;
    SenderRecord& s = doc().fdata[0];
    text_set(s.t, u"1500001");
    text_set(s.a[0].s, u"東京都渋谷区神宮前一丁目");
    text_set(s.a[1].s, u"二番三号");
    text_set(s.n[0].s, u"山田　太郎");
    const char16_t* codes[] = {u"5300001", u"0600001", u"9000001"};
    const char16_t* lines[3][3] = {{u"大阪府大阪市北区梅田一丁目", nullptr, nullptr},
                                   {u"北海道札幌市中央区", u"北一条西二丁目", nullptr},
                                   {u"沖縄県那覇市", u"泉崎一丁目", u"二番二号"}};
    const char16_t* names[] = {u"鈴木　花子　様", u"佐藤　一郎　様", u"高橋　美咲　様"};
    for (int i = 0; i < 3; ++i) {
        CardRecord& c = doc().hdata[i];
        text_set(c.tt.m, codes[i]);
        for (int k = 0; k < 3; ++k)
            if (lines[i][k]) text_set(c.ta.m[k].s, lines[i][k]);
        text_set(c.tn.m[0].s, names[i]);
    }
}

// --- The fixture -------------------------------------------------------------

class Print : public ::testing::Test {
protected:
    void SetUp() override {
        if (e2e::environment(L"ZK_EXE").empty()) GTEST_SKIP() << "ZK_EXE is not set";
        output_ = e2e::environment(L"ZK_PRINTER_OUTPUT");
        if (output_.empty()) GTEST_SKIP() << "ZK_PRINTER_OUTPUT is not set";
        if (e2e::default_printer() != kTestPrinter)
            GTEST_SKIP() << "the test printer is not the default printer";
        guard_.reset(new e2e::PaperGuard);
        ASSERT_EQ(guard_->paper().code, DMPAPER_A4) << "the test printer starts with A4 paper";
    }

    void TearDown() override {
        // The program first, then the printer's paper and the default printer.
        app_.reset();
        printer_guard_.reset();
        guard_.reset();
        if (swapped_) SetDefaultPrinterW(kTestPrinter);
    }

    // A working folder with the sender, the three cards, the sample
    // background and `layouts` (when given), and the program started in it.
    void start(const wchar_t* tag, bool switch_to_postcard, const std::wstring& layouts = L"",
               const std::wstring& addressees = kAddressees, const std::wstring& senders = kSenders) {
        dir_.reset(new TempDir(tag));
        dir_->write(L"zelko1.txt", e2e::utf16le_file(senders));
        dir_->write(L"zelko2.txt", e2e::utf16le_file(addressees));
        if (!layouts.empty()) dir_->write(L"zelko3.txt", e2e::utf16le_file(layouts));
        // The card's background and the sheet of paper of the print
        // position dialog's preview.
        for (const wchar_t* picture : {L"base1.bmp", L"yousi.gdt"}) {
            std::wstring source = sample_picture(picture);
            if (!source.empty()) dir_->copy_in(source, picture);
        }
        app_.reset(new App(dir_->path()));
        ASSERT_TRUE(app_->started());
        ASSERT_TRUE(app_->answer_printer_question(switch_to_postcard));
        if (switch_to_postcard) expect_switch_notice();
        main_ = app_->wait_main_window();
        ASSERT_NE(main_, nullptr);
        ASSERT_TRUE(app_->settle());
        ASSERT_EQ(app_->find_message_box(), nullptr);
    }

    void expect_switch_notice() {
        HWND notice = app_->wait_notice();
        ASSERT_NE(notice, nullptr) << "no notice after switching to postcard paper";
        EXPECT_EQ(utf8(App::notice_text(notice)),
                  utf8(printer_ + L"をA4からはがきサイズにしました"));
    }

    // The print dialog the P key opens.
    HWND open_print_dialog() {
        app_->post_key('P');
        HWND dialog = app_->wait_other_dialog();
        EXPECT_NE(dialog, nullptr) << "no print dialog";
        return dialog;
    }

    // The confirmation for the test printer's postcard paper: its form name
    // and the size the program measures, in whole millimetres.
    static std::wstring postcard_confirmation(HDC ic) {
        // Without an unprintable margin the measurement is the printable
        // size in millimetres (HORZSIZE, VERTSIZE).
        return std::wstring(kTestPrinter) + L" " + kPostcardForm + L" " +
               std::to_wstring(GetDeviceCaps(ic, HORZSIZE)) + L"×" +
               std::to_wstring(GetDeviceCaps(ic, VERTSIZE)) + L"で印刷していいですか？";
    }

    // Presses the print dialog's OK button and answers the confirmation;
    // returns the confirmation's text.
    std::wstring print_and_confirm(HWND print_dialog, int button) {
        if (!App::answer(print_dialog, IDOK)) {
            ADD_FAILURE() << "the print dialog did not close";
            return L"";
        }
        HWND box = app_->wait_message_box();
        if (!box) {
            ADD_FAILURE() << "no confirmation";
            return L"";
        }
        e2e::MessageBoxText shown = App::read_message_box(box);
        EXPECT_EQ(utf8(shown.caption), "PageSize");
        EXPECT_TRUE(App::answer(box, button));
        return shown.text;
    }

    // The job the test printer wrote, once complete and the program is
    // back (its window enabled again); "" on time-out.
    std::string wait_for_job() {
        std::string ps;
        bool done = e2e::wait_until([&] {
            ps = read_file(output_);
            return ps.find("%%EOF") != std::string::npos && IsWindowEnabled(main_);
        }, e2e::kJobTimeout);
        EXPECT_TRUE(done) << "no complete job in " << utf8(output_);
        return done ? ps : "";
    }

    // Prints the plan's calibration job on the test printer with postcard
    // paper and returns its PostScript ("" on failure).
    std::string print_calibration(PagePlan& plan) {
        int pages = plan.lay_out_calibration();
        DeleteFileW(output_.c_str());
        std::vector<BYTE> mode = postcard_devmode(kTestPrinter);
        if (mode.empty()) return "";
        HDC dc = CreateDCW(L"WINSPOOL", kTestPrinter, nullptr,
                           reinterpret_cast<const DEVMODEW*>(mode.data()));
        if (!dc) return "";
        DOCINFOW info{};
        info.cbSize = sizeof info;
        info.lpszDocName = L"Zelkovane e2e calibration";
        bool ok = StartDocW(dc, &info) > 0;
        for (int page = 1; ok && page <= pages; ++page) {
            ok = StartPage(dc) > 0;
            if (ok) plan.draw_calibration(dc, page);
            ok = ok && EndPage(dc) > 0;
        }
        ok = ok && EndDoc(dc) > 0;
        DeleteDC(dc);
        if (!ok) return "";
        std::string ps;
        e2e::wait_until([&] {
            ps = read_file(output_);
            return ps.find("%%Title: Zelkovane e2e calibration") != std::string::npos &&
                   ps.find("%%EOF") != std::string::npos;
        }, e2e::kJobTimeout);
        return ps;
    }

    // The job's PostScript, the calibration job and the expectations for
    // scripts/check_print_e2e.py, as NAME.ps, NAME-calibration.ps and
    // NAME.expect.
    void leave_for_checker(const std::string& ps, PagePlan& plan, const wchar_t* name) {
        std::wstring folder = e2e::environment(L"ZK_ARTIFACTS");
        if (folder.empty()) return;
        CreateDirectoryW(folder.c_str(), nullptr);
        std::wstring base = folder + L"\\" + name;
        EXPECT_TRUE(write_file(base + L".ps", ps));
        std::string calibration = print_calibration(plan);
        EXPECT_FALSE(calibration.empty()) << "the calibration job did not print";
        EXPECT_TRUE(write_file(base + L"-calibration.ps", calibration));
        EXPECT_TRUE(write_file(base + L".expect", plan.text()));
    }

    // Exit, the save question answered `save`, the notice that the paper
    // was put back, the end of the program.
    void exit_restoring_paper(bool save) {
        app_->post_close();
        ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
        ASSERT_TRUE(answer(*app_, L"ファイル書込確認", L"保存しますか？", save ? IDYES : IDNO));
        expect_restore_notice();
        DWORD code = 99;
        ASSERT_TRUE(app_->wait_exit(&code)) << "the program did not end";
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(e2e::default_paper(printer_), guard_->paper()) << "the paper was put back";
    }

    // Makes `printer` the default printer until the test ends, its paper
    // guarded like the test printer's.
    void use_default_printer(const wchar_t* printer) {
        ASSERT_TRUE(SetDefaultPrinterW(printer)) << utf8(printer);
        swapped_ = true;
        printer_ = printer;
        printer_guard_.reset(new e2e::PaperGuard);
        ASSERT_EQ(printer_guard_->paper().code, DMPAPER_A4) << utf8(printer);
    }

    void expect_restore_notice() {
        HWND notice = app_->wait_notice();
        ASSERT_NE(notice, nullptr) << "no notice after putting the paper back";
        EXPECT_EQ(utf8(App::notice_text(notice)), utf8(printer_ + L"をA4へ戻しました"));
    }

    std::wstring addressee_file() const { return e2e::utf16le_text(dir_->read(L"zelko2.txt")); }

    std::wstring output_;
    std::wstring printer_ = kTestPrinter;  // the default printer of the test
    bool swapped_ = false;
    std::unique_ptr<e2e::PaperGuard> printer_guard_;  // its paper, when not the test printer
    std::unique_ptr<e2e::PaperGuard> guard_;
    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<App> app_;
    HWND main_ = nullptr;
};

// --- Tests -------------------------------------------------------------------

TEST_F(Print, YesAtStartSwitchesTheDefaultPrinterToPostcardUntilExit) {
    start(L"switch", true);
    EXPECT_EQ(e2e::default_paper(kTestPrinter), e2e::kPostcardPaper);
    EXPECT_EQ(app_->find_message_box(), nullptr);

    // Nothing was changed: no save question, only the notice at exit.
    app_->post_close();
    ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
    expect_restore_notice();
    DWORD code = 99;
    ASSERT_TRUE(app_->wait_exit(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(e2e::default_paper(kTestPrinter), guard_->paper()) << "the paper was put back";
}

TEST_F(Print, ProgramEndedWithoutExitLeavesPostcardForTheGuardToPutBack) {
    // As when a test fails while the program has the paper switched: the
    // program never gets to restore it, the tests' guard does.
    start(L"killed", true);
    app_->kill();
    EXPECT_EQ(e2e::default_paper(kTestPrinter), e2e::kPostcardPaper);
    const e2e::Paper before = guard_->paper();
    guard_.reset();
    EXPECT_EQ(e2e::default_paper(kTestPrinter), before);
}

TEST_F(Print, PKeyPrintsTheCurrentCardWhereTheMappingPutsIt) {
    start(L"card", true,
          L"base_px=" + std::to_wstring(kOffsetX) + L"\r\nbase_py=" + std::to_wstring(kOffsetY) +
              L"\r\n");
    DeleteFileW(output_.c_str());
    app_->post_key(VK_RIGHT);  // the second card
    ASSERT_TRUE(app_->settle());

    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    screenshot(dialog, L"print_dialog.bmp");
    // The current card alone is preset, as page 2 of 3.
    EXPECT_TRUE(checked(dialog, kPrintPages));
    EXPECT_EQ(utf8(e2e::window_text(GetDlgItem(dialog, kFromPage))), "2");
    EXPECT_EQ(utf8(e2e::window_text(GetDlgItem(dialog, kToPage))), "2");
    choose_paper(dialog, kPostcardForm);
    if (HasFatalFailure()) return;
    std::wstring confirmation = print_and_confirm(dialog, IDYES);
    PrinterIc ic = postcard_printer_ic(kTestPrinter);
    ASSERT_NE(ic, nullptr);
    EXPECT_EQ(utf8(confirmation), utf8(postcard_confirmation(ic.get())));

    std::string ps = wait_for_job();
    ASSERT_FALSE(ps.empty());
    EXPECT_EQ(count_lines_starting(ps, "%%Page:"), 1);
    EXPECT_NE(ps.find("%%Title: Zelkovane"), std::string::npos);
    screenshot(main_, L"main_window_after_print.bmp");

    load_test_document(kOffsetX, kOffsetY);
    PagePlan plan(ic.get());
    plan.pages(1);
    plan.card(1, doc().hdata[1]);
    plan.missing_line(1, doc().hdata[1], 2, u"二番二号");
    leave_for_checker(ps, plan, L"print_e2e_card");

    // The printed card is recorded as sent, the others are not.
    exit_restoring_paper(true);
    const std::wstring addressees = addressee_file();
    const std::wstring year = std::to_wstring(card_year_now());
    EXPECT_NE(addressees.find(L"hdata[1].typ[0].t=1\r\nhdata[1].typ[0].y=" + year + L"\r\n"),
              std::wstring::npos)
        << utf8(addressees);
    EXPECT_EQ(addressees.find(L"hdata[0].typ[0].t=1\r\n"), std::wstring::npos);
    EXPECT_EQ(addressees.find(L"hdata[2].typ[0].t=1\r\n"), std::wstring::npos);
}

// The card whose address used to run off the card and whose sender's
// address ran through the sender's digits prints whole: each line set to
// fit, the margins and the sender's digits clear.
TEST_F(Print, PKeyPrintsALongAddressAndALongSenderAddressWholeOnPostcardPaper) {
    const std::wstring senders = L"fdata_cont_max=1\r\nfdata[0].t=1000005\r\n"
                                 L"fdata[0].a[0].s=東京都千代田区丸の内一丁目一ー一\r\n"
                                 L"fdata[0].n[0].s=鈴木　一郎\r\n";
    const std::wstring cards = L"hdata_cont_max=1\r\nhdata[0].tt.m=2220033\r\n"
                               L"hdata[0].ta.m[0].s=神奈川県横浜市港北区新横浜三丁目一七番地六\r\n"
                               L"hdata[0].tn.m[0].s=山田　太郎　様\r\nhdata[0].tn.m[1].s=花子様\r\n"
                               L"hdata[0].ftb=0\r\n";
    start(L"fitted", true, L"", cards, senders);
    // The manual's pictures: the card fitted, and as drawn before with
    // both switches of the 印刷 menu off (then on again).
    screenshot(main_, L"fitting_after.bmp");
    app_->post_command(73);
    app_->post_command(74);
    ASSERT_TRUE(app_->settle());
    screenshot(main_, L"fitting_before.bmp");
    app_->post_command(73);
    app_->post_command(74);
    ASSERT_TRUE(app_->settle());
    DeleteFileW(output_.c_str());
    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    choose_paper(dialog, kPostcardForm);
    if (HasFatalFailure()) return;
    print_and_confirm(dialog, IDYES);
    std::string ps = wait_for_job();
    ASSERT_FALSE(ps.empty());

    PrinterIc ic = postcard_printer_ic(kTestPrinter);
    ASSERT_NE(ic, nullptr);
    std::memset(&doc(), 0, sizeof(Document));
    for (CardRecord& c : doc().hdata) set_default_layout(c);
    set_default_print_settings(doc().print);
    text_set(doc().fdata[0].t, u"1000005");
    text_set(doc().fdata[0].a[0].s, u"東京都千代田区丸の内一丁目一ー一");
    text_set(doc().fdata[0].n[0].s, u"鈴木　一郎");
    CardRecord& card = doc().hdata[0];
    text_set(card.tt.m, u"2220033");
    text_set(card.ta.m[0].s, u"神奈川県横浜市港北区新横浜三丁目一七番地六");
    text_set(card.tn.m[0].s, u"山田　太郎　様");
    text_set(card.tn.m[1].s, u"花子様");
    PagePlan plan(ic.get());
    plan.pages(1);
    plan.card(1, card);
    plan.clear_margins(1, card);
    leave_for_checker(ps, plan, L"print_e2e_fitted");
    exit_restoring_paper(true);
}

// An address typed as contacts exports write it (half-width numbers and
// hyphens, Latin letters, half-width katakana), as addressee and as sender,
// and a family of four, printed with 縦書きの形で印刷 on (upright, whole,
// inside the card) and off (as typed, as before). Each page is checked
// against the plan; the checker's pictures of the two pages are the
// manual's before and after (texts whose full-width forms the test
// prefix's brush font draws; "－" and "０" are blank in it, and the Windows
// print test covers them).
TEST_F(Print, TypedAddressesAndAFamilyOfFourPrintInTheirVerticalForm) {
    const char16_t* address[] = {u"京都府京都市左京区北白川東久保田町1-11-18", u"ｸﾞﾘｰﾝﾊｲﾂ北白川 B棟412"};
    const char16_t* family[] = {u"山田　太郎　様", u"花子　様", u"一郎　様", u"次郎　様"};
    const char16_t* sender[] = {u"大阪府大阪市北区梅田3-20-12", u"ｸﾞﾗﾝﾌﾛﾝﾄ Tower 2815"};
    const std::wstring senders = L"fdata_cont_max=1\r\nfdata[0].t=5300001\r\n"
                                 L"fdata[0].a[0].s=大阪府大阪市北区梅田3-20-12\r\n"
                                 L"fdata[0].a[1].s=ｸﾞﾗﾝﾌﾛﾝﾄ Tower 2815\r\n"
                                 L"fdata[0].n[0].s=鈴木　一郎\r\n";
    const std::wstring cards = L"hdata_cont_max=1\r\nhdata[0].tt.m=6068267\r\n"
                               L"hdata[0].ta.m[0].s=京都府京都市左京区北白川東久保田町1-11-18\r\n"
                               L"hdata[0].ta.m[1].s=ｸﾞﾘｰﾝﾊｲﾂ北白川 B棟412\r\n"
                               L"hdata[0].tn.m[0].s=山田　太郎　様\r\nhdata[0].tn.m[1].s=花子　様\r\n"
                               L"hdata[0].tn.m[2].s=一郎　様\r\nhdata[0].tn.m[3].s=次郎　様\r\n"
                               L"hdata[0].ftb=0\r\n";
    start(L"typed", true, L"", cards, senders);
    screenshot(main_, L"vertical_print_on.bmp");
    PrinterIc ic = postcard_printer_ic(kTestPrinter);
    ASSERT_NE(ic, nullptr);
    for (bool on : {true, false}) {
        if (!on) {
            app_->post_command(77);  // 縦書きの形で印刷 off
            ASSERT_TRUE(app_->settle());
            screenshot(main_, L"vertical_print_off.bmp");
        }
        DeleteFileW(output_.c_str());
        HWND dialog = open_print_dialog();
        ASSERT_NE(dialog, nullptr);
        choose_paper(dialog, kPostcardForm);
        if (HasFatalFailure()) return;
        print_and_confirm(dialog, IDYES);
        std::string ps = wait_for_job();
        ASSERT_FALSE(ps.empty());

        std::memset(&doc(), 0, sizeof(Document));
        for (CardRecord& c : doc().hdata) set_default_layout(c);
        set_default_print_settings(doc().print);
        text_set(doc().fdata[0].t, u"5300001");
        for (int k = 0; k < 2; ++k) text_set(doc().fdata[0].a[k].s, sender[k]);
        text_set(doc().fdata[0].n[0].s, u"鈴木　一郎");
        CardRecord& card = doc().hdata[0];
        text_set(card.tt.m, u"6068267");
        for (int k = 0; k < 2; ++k) text_set(card.ta.m[k].s, address[k]);
        for (int k = 0; k < 4; ++k) text_set(card.tn.m[k].s, family[k]);
        fit_switches().vertical_forms = on;
        PagePlan plan(ic.get());
        plan.pages(1);
        plan.card(1, card);
        if (on) plan.clear_margins(1, card);
        fit_switches() = FitSwitches{};
        leave_for_checker(ps, plan, on ? L"print_e2e_vertical_on" : L"print_e2e_vertical_off");
    }
    app_->post_command(77);
    ASSERT_TRUE(app_->settle());
    exit_restoring_paper(true);
}

TEST_F(Print, RangeOfThreeCardsWithTwoCopiesPrintsSixPagesCardByCard) {
    start(L"range", true);
    DeleteFileW(output_.c_str());

    // Cards 1 to 3 through the print position dialog.
    app_->post_command(65);
    HWND position = app_->wait_dialog(L"印刷の位置設定");
    ASSERT_NE(position, nullptr) << "no print position dialog";
    EXPECT_EQ(utf8(e2e::window_text(GetDlgItem(position, 327))),
              utf8(L"プリンタ　" + std::wstring(kTestPrinter)));
    ASSERT_TRUE(click(position, 403));  // "指定印刷"
    ASSERT_TRUE(e2e::set_control_text(GetDlgItem(position, 228), L"1"));
    ASSERT_TRUE(e2e::set_control_text(GetDlgItem(position, 205), L"3"));
    screenshot(position, L"print_position_dialog.bmp");
    ASSERT_TRUE(App::answer(position, 107));  // OK

    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(checked(dialog, kPrintPages));
    EXPECT_EQ(utf8(e2e::window_text(GetDlgItem(dialog, kFromPage))), "1");
    EXPECT_EQ(utf8(e2e::window_text(GetDlgItem(dialog, kToPage))), "3");
    ASSERT_TRUE(e2e::set_control_text(GetDlgItem(dialog, kCopies), L"2"));
    choose_paper(dialog, kPostcardForm);
    if (HasFatalFailure()) return;
    print_and_confirm(dialog, IDYES);

    std::string ps = wait_for_job();
    ASSERT_FALSE(ps.empty());
    EXPECT_EQ(count_lines_starting(ps, "%%Page:"), 6);
    screenshot(main_, L"main_window_with_bars.bmp");

    // Pages 1 and 2 carry card 1, 3 and 4 card 2, 5 and 6 card 3: each card
    // has its own number of address lines, and lines it lacks stay blank.
    load_test_document(0, 0);
    PrinterIc ic = postcard_printer_ic(kTestPrinter);
    ASSERT_NE(ic, nullptr);
    PagePlan plan(ic.get());
    plan.pages(6);
    const char16_t* longest[] = {u"大阪府大阪市北区梅田一丁目", u"北一条西二丁目", u"二番二号"};
    for (int page = 1; page <= 6; ++page) {
        int card = (page - 1) / 2;
        plan.card(page, doc().hdata[card]);
        for (int k = card + 1; k < 3; ++k)
            plan.missing_line(page, doc().hdata[card], k, longest[k]);
    }
    leave_for_checker(ps, plan, L"print_e2e_range");

    // All three cards are recorded as sent this card year; the range is
    // kept with the layouts.
    exit_restoring_paper(true);
    const std::wstring addressees = addressee_file();
    const std::wstring year = std::to_wstring(card_year_now());
    for (int i = 0; i < 3; ++i) {
        std::wstring prefix = L"hdata[" + std::to_wstring(i) + L"].typ[0].";
        EXPECT_NE(addressees.find(prefix + L"t=1\r\n" + prefix + L"y=" + year + L"\r\n"),
                  std::wstring::npos)
            << "card " << i;
    }
    const std::wstring layouts = e2e::utf16le_text(dir_->read(L"zelko3.txt"));
    EXPECT_NE(layouts.find(L"prn_mode=2\r\nbmp_mode=0\r\nstart_p=1\r\nstop_p=3\r\n"),
              std::wstring::npos)
        << utf8(layouts);
}

TEST_F(Print, NoToTheConfirmationPrintsAndMarksNothing) {
    start(L"decline", false);
    const std::string before = read_file(output_);
    const bool existed = file_exists(output_);

    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    std::wstring confirmation = print_and_confirm(dialog, IDNO);
    EXPECT_EQ(confirmation.rfind(std::wstring(kTestPrinter) + L" ", 0), 0u) << utf8(confirmation);
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(app_->find_message_box(), nullptr);
    EXPECT_EQ(app_->wait_other_dialog(200), nullptr) << "no job, no abort dialog";

    // Nothing is marked: the exit asks no save question.
    app_->post_close();
    ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
    DWORD code = 99;
    ASSERT_TRUE(app_->wait_exit(&code)) << "the program did not end (a save question?)";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(file_exists(output_), existed);
    EXPECT_TRUE(read_file(output_) == before) << "nothing was printed";
    EXPECT_FALSE(dir_->exists(L"zelko3.txt"));
}

TEST_F(Print, PdfPrinterLeavesAPdfOfTheJobInTheWorkingFolder) {
    HANDLE pdf_printer = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(kPdfPrinter), &pdf_printer, nullptr))
        GTEST_SKIP() << "the prefix has no PDF printer";
    ClosePrinter(pdf_printer);

    // The printer's port script runs in the program's working folder and,
    // without ZK_PDF_DIR (which `make run` sets to the same folder), writes
    // its PDF there.
    start(L"pdf", false);
    const std::vector<std::wstring> before = dir_->names();

    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    HWND printers = GetDlgItem(dialog, kPrinterList);
    DWORD_PTR index = static_cast<DWORD_PTR>(CB_ERR);
    ASSERT_TRUE(send(printers, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(kPdfPrinter), &index));
    ASSERT_NE(static_cast<LRESULT>(index), CB_ERR) << "the PDF printer is not offered";
    ASSERT_TRUE(send(dialog, WM_COMMAND, MAKEWPARAM(kPrinterList, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(printers)));
    std::wstring confirmation = print_and_confirm(dialog, IDYES);
    EXPECT_EQ(confirmation.rfind(std::wstring(kPdfPrinter) + L" ", 0), 0u) << utf8(confirmation);

    // One PDF named after the time of the job, nothing else.
    std::wstring pdf;
    bool arrived = e2e::wait_until([&] {
        for (const std::wstring& name : dir_->names())
            if (name.rfind(L"Zelkovane-", 0) == 0 && name.size() > 4 &&
                name.compare(name.size() - 4, 4, L".pdf") == 0)
                pdf = name;
        return !pdf.empty();
    }, e2e::kJobTimeout);
    ASSERT_TRUE(arrived) << "no PDF in the working folder (log: build/logs/print-pdf.log)";
    // Complete once the spooler's job has ended and the program is back.
    ASSERT_TRUE(e2e::wait_until([&] { return IsWindowEnabled(main_) != FALSE; }, e2e::kJobTimeout));
    const std::string bytes = dir_->read(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(bytes.find("%%EOF"), std::string::npos);
    std::vector<std::wstring> expected = before;
    expected.push_back(pdf);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir_->names(), expected) << "the PDF and nothing else";
    std::wstring artifacts = e2e::environment(L"ZK_ARTIFACTS");
    if (!artifacts.empty())
        CopyFileW(dir_->file(pdf).c_str(), (artifacts + L"\\print_e2e_pdf_printer.pdf").c_str(), FALSE);

    // The printed card counts as a change.
    app_->post_close();
    ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
    ASSERT_TRUE(answer(*app_, L"ファイル書込確認", L"保存しますか？", IDNO));
    ASSERT_TRUE(app_->wait_exit(nullptr));
}

// After Yes at start-up the print dialog opens on the postcard paper the
// switch wrote: OK without touching Properties prints a postcard page.
TEST_F(Print, YesAtStartMakesThePrintDialogOpenOnPostcardPaper) {
    start(L"preset", true);
    DeleteFileW(output_.c_str());
    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    std::wstring confirmation = print_and_confirm(dialog, IDYES);
    PrinterIc ic = postcard_printer_ic(kTestPrinter);
    ASSERT_NE(ic, nullptr);
    // The driver's form name, or the paper's short name when it gives none.
    std::wstring size = std::to_wstring(GetDeviceCaps(ic.get(), HORZSIZE)) + L"×" +
                        std::to_wstring(GetDeviceCaps(ic.get(), VERTSIZE)) + L"で印刷していいですか？";
    EXPECT_TRUE(confirmation == std::wstring(kTestPrinter) + L" " + kPostcardForm + L" " + size ||
                confirmation == std::wstring(kTestPrinter) + L" はがき " + size)
        << utf8(confirmation);
    std::string ps = wait_for_job();
    ASSERT_FALSE(ps.empty());
    screenshot(main_, L"main_window_after_postcard_print.bmp");

    // The checker rasterises the page and finds it 100 x 148 mm.
    load_test_document(0, 0);
    PagePlan plan(ic.get());
    plan.pages(1);
    plan.card(1, doc().hdata[0]);
    leave_for_checker(ps, plan, L"print_e2e_preset");
    exit_restoring_paper(false);
}

// The same on the PDF printer as the default printer, as `make run` has it:
// the PDF's page is a postcard.
TEST_F(Print, YesAtStartGivesAPostcardPdfOnThePdfPrinter) {
    HANDLE pdf_printer = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(kPdfPrinter), &pdf_printer, nullptr))
        GTEST_SKIP() << "the prefix has no PDF printer";
    ClosePrinter(pdf_printer);
    use_default_printer(kPdfPrinter);
    if (HasFatalFailure()) return;
    start(L"pdfpreset", true);
    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    std::wstring confirmation = print_and_confirm(dialog, IDYES);
    EXPECT_EQ(confirmation.rfind(std::wstring(kPdfPrinter) + L" ", 0), 0u) << utf8(confirmation);
    std::wstring pdf;
    ASSERT_TRUE(e2e::wait_until([&] {
        for (const std::wstring& name : dir_->names())
            if (name.rfind(L"Zelkovane-", 0) == 0) pdf = name;
        return !pdf.empty() && IsWindowEnabled(main_);
    }, e2e::kJobTimeout)) << "no PDF (log: build/logs/print-pdf.log)";
    std::string bytes;
    ASSERT_TRUE(e2e::wait_until([&] {
        bytes = dir_->read(pdf);
        return bytes.find("%%EOF") != std::string::npos;
    }, e2e::kJobTimeout));
    // 100 x 148 mm in points.
    size_t box = bytes.find("/MediaBox");
    ASSERT_NE(box, std::string::npos);
    double x0 = -1, y0 = -1, x1 = 0, y1 = 0;
    ASSERT_EQ(std::sscanf(bytes.c_str() + box, "/MediaBox [%lf %lf %lf %lf", &x0, &y0, &x1, &y1), 4);
    EXPECT_NEAR(x1 - x0, 100 * 72 / 25.4, 2.0);
    EXPECT_NEAR(y1 - y0, 148 * 72 / 25.4, 2.0);
    exit_restoring_paper(false);
}

// A default printer whose name is longer than a device mode holds: the
// program starts without a message, switches, prints and restores it.
TEST_F(Print, FortyCharacterPrinterNameStartsWithoutAMessageAndPrints) {
    use_default_printer(kLongPrinter);
    if (HasFatalFailure()) return;
    start(L"longname", true);
    EXPECT_EQ(e2e::default_paper(kLongPrinter), e2e::kPostcardPaper);
    DeleteFileW(output_.c_str());
    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    std::wstring confirmation = print_and_confirm(dialog, IDYES);
    EXPECT_EQ(confirmation.rfind(std::wstring(kLongPrinter) + L" ", 0), 0u) << utf8(confirmation);
    std::string ps = wait_for_job();
    EXPECT_EQ(count_lines_starting(ps, "%%Page:"), 1);
    exit_restoring_paper(false);
}

// A job of 200 cards can be cancelled on a later page: it stops at once,
// the cards not printed stay unmarked and the window is usable again; a
// close request during the job waits for its end.
TEST_F(Print, CancellingATwoHundredCardJobOnALaterPageStopsIt) {
    std::wstring cards = L"hdata_cont_max=200\r\n";
    for (int i = 0; i < 200; ++i) {
        std::wstring k = L"hdata[" + std::to_wstring(i) + L"].";
        cards += k + L"tt.m=5300001\r\n" + k + L"ta.m[0].s=大阪府大阪市北区梅田一丁目" +
                 std::to_wstring(i + 1) + L"番\r\n" + k + L"tn.m[0].s=宛先　" +
                 std::to_wstring(i + 1) + L"　様\r\n" + k + L"ftb=0\r\n";
    }
    start(L"cancel", false, L"", cards);
    if (HasFatalFailure()) return;

    // The status bar of the last of 200 cards.
    app_->post_command(333);  // the previous button wraps to the last card
    ASSERT_TRUE(app_->settle());
    screenshot(main_, L"main_window_200_cards.bmp");

    DeleteFileW(output_.c_str());
    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(click(dialog, kPrintAll));
    print_and_confirm(dialog, IDYES);
    HWND abort_dialog = app_->wait_dialog(L"Zelkovane");
    ASSERT_NE(abort_dialog, nullptr) << "no abort dialog";
    // Cancel once the job is well past its first page.
    std::wstring progress;
    ASSERT_TRUE(e2e::wait_until([&] {
        progress = e2e::item_text(abort_dialog, 1001);
        return _wtoi(progress.c_str()) >= 3;
    }, e2e::kJobTimeout)) << "the abort dialog shows " << utf8(progress);
    // A close request during the job (a posted WM_CLOSE) does not end the
    // program: it asks whether to cancel the job (No: the job goes on) ...
    // (The abort dialog's own text has the message box's id, so the
    // question is told by its text.)
    PostMessageW(main_, WM_CLOSE, 0, 0);
    HWND question = nullptr;
    ASSERT_TRUE(e2e::wait_until([&] {
        question = app_->find_message_box();
        return question && App::read_message_box(question).text == L"印刷中です。印刷を中止しますか？";
    }, e2e::kWaitTimeout)) << "no question whether to cancel the job";
    ASSERT_TRUE(App::answer(question, IDNO));
    screenshot(abort_dialog, L"print_abort_dialog.bmp");
    ASSERT_TRUE(e2e::click_button(abort_dialog, IDCANCEL));
    // ... and the exit question comes once the job has ended.
    ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDNO));
    ASSERT_TRUE(e2e::wait_until([&] {
        return !IsWindow(abort_dialog) && IsWindowEnabled(main_);
    }, e2e::kWaitTimeout)) << "the job did not stop";
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(app_->find_message_box(), nullptr);
    EXPECT_FALSE(file_exists(output_) && read_file(output_).find("%%EOF") != std::string::npos)
        << "the cancelled job was not printed";

    // The cards drawn before the cancel are recorded as sent, the rest not.
    app_->post_close();
    ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
    ASSERT_TRUE(answer(*app_, L"ファイル書込確認", L"保存しますか？", IDYES));
    ASSERT_TRUE(app_->wait_exit(nullptr));
    const std::wstring addressees = addressee_file();
    int marked = 0;
    for (int i = 0; i < 200; ++i)
        marked += addressees.find(L"hdata[" + std::to_wstring(i) + L"].typ[0].t=1\r\n") !=
                  std::wstring::npos;
    EXPECT_GE(marked, 2);
    EXPECT_LT(marked, 150) << "the job went on after the cancel";
    EXPECT_EQ(addressees.find(L"hdata[199].typ[0].t=1\r\n"), std::wstring::npos);
}

}  // namespace

// --- 一覧で確認 ----------------------------------------------------------------

namespace {

constexpr int kProofSheetCommand = 75;
constexpr int kSheetAttention = 1302, kSheetAll = 1301, kSheetCount = 1304;
constexpr int kSheetPrintSelected = 1305, kSheetPrintSheet = 1306, kSheetCards = 1307;

// The window "一覧で確認" of the program, once it is shown.
HWND wait_proof_sheet(DWORD pid) {
    HWND sheet = nullptr;
    e2e::wait_until([&] {
        sheet = FindWindowW(L"ZelkovaneProofSheet", L"一覧で確認");
        DWORD owner = 0;
        if (sheet) GetWindowThreadProcessId(sheet, &owner);
        return sheet != nullptr && owner == pid && IsWindowVisible(sheet);
    }, e2e::kWaitTimeout);
    return sheet;
}

// A click (or double click) on the thumbnail in column `column` of the
// first row, as the pane lays out four to a row.
void click_thumbnail(HWND pane, int column, UINT message, WPARAM keys = MK_LBUTTON) {
    RECT client;
    GetClientRect(pane, &client);
    const int cell = client.right / 4 > 120 ? client.right / 4 : 120;
    PostMessageW(pane, message, keys, MAKELPARAM(column * cell + cell / 2, 60));
    PostMessageW(pane, WM_LBUTTONUP, 0, MAKELPARAM(column * cell + cell / 2, 60));
}

}  // namespace

// 200 cards, three of them with something to look at: 〒なし (card 2), a code
// that is not seven digits (card 5) and a sender that is empty (card 7);
// card 3 was printed this year. The sheet shows them, prints the selected
// ones and prints itself on A4, closed while it prints.
TEST_F(Print, ProofSheetShowsTheCardsToLookAtAndPrintsThemAndItself) {
    const std::wstring year = std::to_wstring(card_year_now());
    std::wstring cards = L"hdata_cont_max=200\r\n";
    for (int i = 0; i < 200; ++i) {
        std::wstring k = L"hdata[" + std::to_wstring(i) + L"].";
        const wchar_t* code = i == 1 ? L"" : i == 4 ? L"53000" : L"5300001";
        cards += k + L"tt.m=" + code + L"\r\n" + k + L"ta.m[0].s=大阪府大阪市北区梅田一丁目" +
                 std::to_wstring(i + 1) + L"番\r\n" + k + L"tn.m[0].s=宛先　" +
                 std::to_wstring(i + 1) + L"　様\r\n" + k + L"ftb=" + (i == 6 ? L"5" : L"0") + L"\r\n";
        if (i == 2) cards += k + L"typ[0].t=1\r\n" + k + L"typ[0].y=" + year + L"\r\n";
    }
    start(L"proof", false, L"", cards);
    if (HasFatalFailure()) return;

    // The program's own time to open the sheet with 200 cards: from the
    // command until every message it caused has been handled (the
    // thumbnails in view are drawn by then).
    const DWORD started = GetTickCount();
    app_->post_command(kProofSheetCommand);
    HWND sheet = wait_proof_sheet(app_->pid());
    ASSERT_NE(sheet, nullptr) << "no window 一覧で確認";
    DWORD_PTR answered = 0;
    ASSERT_TRUE(SendMessageTimeoutW(sheet, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, e2e::kWaitTimeout, &answered));
    std::printf("[ wait ] 一覧で確認 opened with 200 cards in %lu ms\n", GetTickCount() - started);
    HWND pane = GetDlgItem(sheet, kSheetCards);
    EXPECT_EQ(utf8(e2e::item_text(sheet, kSheetCount)), "表示 200枚（要確認 3枚）");
    screenshot(sheet, L"proof_sheet.bmp");

    // 要確認: exactly the three; a double click on the first shows card 2 in
    // the main window (the print dialog of P offers its page).
    ASSERT_TRUE(e2e::click_button(sheet, kSheetAttention));
    ASSERT_TRUE(app_->settle());
    EXPECT_EQ(utf8(e2e::item_text(sheet, kSheetCount)), "表示 3枚（要確認 3枚）");
    screenshot(sheet, L"proof_sheet_attention.bmp");
    click_thumbnail(pane, 0, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(app_->settle());
    HWND dialog = open_print_dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(utf8(e2e::window_text(GetDlgItem(dialog, kFromPage))), "2");
    ASSERT_TRUE(App::answer(dialog, IDCANCEL));

    // The first and, with Shift, the third: 選択した葉書を印刷 prints those
    // three cards in one job.
    click_thumbnail(pane, 0, WM_LBUTTONDOWN);
    click_thumbnail(pane, 2, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT);
    ASSERT_TRUE(app_->settle());
    DeleteFileW(output_.c_str());
    ASSERT_TRUE(e2e::click_button(sheet, kSheetPrintSelected));
    dialog = app_->wait_other_dialog();
    ASSERT_NE(dialog, nullptr) << "no print dialog";
    EXPECT_NE(print_and_confirm(dialog, IDYES).find(L"で3枚印刷していいですか？"), std::wstring::npos);
    std::string ps = wait_for_job();
    EXPECT_EQ(count_lines_starting(ps, "%%Page:"), 3);

    // 一覧を印刷 of all 200 cards: seventeen A4 pages, nothing marked.
    ASSERT_TRUE(e2e::click_button(sheet, kSheetAll));
    ASSERT_TRUE(e2e::wait_until([&] { return IsWindowEnabled(sheet) != FALSE; }, e2e::kJobTimeout));
    DeleteFileW(output_.c_str());
    ASSERT_TRUE(e2e::click_button(sheet, kSheetPrintSheet));
    dialog = app_->wait_other_dialog();
    ASSERT_NE(dialog, nullptr) << "no print dialog";
    const std::wstring confirmation = print_and_confirm(dialog, IDYES);
    EXPECT_EQ(confirmation.rfind(kTestPrinter, 0), 0u) << utf8(confirmation);
    EXPECT_NE(confirmation.find(L"で17ページ印刷していいですか？"), std::wstring::npos) << utf8(confirmation);
    // Twelve cards a page in the printer's fonts: as long as 200 cards. A
    // close of the sheet meanwhile (as from its taskbar button) waits for
    // the job, which stays whole; then the sheet goes and the program runs on.
    const DWORD job_started = GetTickCount();
    PostMessageW(sheet, WM_CLOSE, 0, 0);
    ASSERT_TRUE(e2e::wait_until([&] {
        ps = read_file(output_);
        return ps.find("%%EOF") != std::string::npos && !IsWindow(sheet);
    }, 5 * e2e::kJobTimeout)) << "no complete job in " << utf8(output_) << " or the sheet stayed";
    std::printf("[ wait ] 一覧を印刷 of 200 cards: %lu ms\n", GetTickCount() - job_started);
    EXPECT_EQ(count_lines_starting(ps, "%%Page:"), 17);
    ps.clear();
    DeleteFileW(output_.c_str());  // some 200 MB of PostScript

    app_->post_close();
    ASSERT_TRUE(answer(*app_, L"Zelkovane", L"終了しますか？", IDYES));
    ASSERT_TRUE(answer(*app_, L"ファイル書込確認", L"保存しますか？", IDYES));
    ASSERT_TRUE(app_->wait_exit(nullptr));
    const std::wstring saved = addressee_file();
    for (int i : {1, 4, 6})
        EXPECT_NE(saved.find(L"hdata[" + std::to_wstring(i) + L"].typ[0].t=1\r\n"), std::wstring::npos) << i;
    EXPECT_EQ(saved.find(L"hdata[7].typ[0].t=1\r\n"), std::wstring::npos);
}

// Printing cards for real (run under Wine with the test printer of the
// prefix: Wine's PostScript driver, 600 dpi, its port a file). Two cards go
// onto postcard paper through the GDI renderer: one with the postal code
// 1000001, one with an empty code. The test checks what it can see from
// Windows (the job arrives, the cards are recorded as sent) and leaves
// beside the PostScript an expectations file: the device point where the
// mapping says each digit and line starts, and which boxes must stay blank.
// scripts/check_print_card.py rasterises the PostScript with Ghostscript
// and compares.
//
// Where a driver puts a text's ink relative to its origin depends on the
// font and the driver (synthetic bold, the placement of vertical glyphs),
// so every text is also printed by plain GDI calls at a known point of a
// calibration page behind the cards; the checker takes the ink offsets from
// there.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "model/card_status.h"
#include "platform/platform_win32.h"
#include "render/card_fit.h"
#include "render/gdi_renderer.h"
#include "render/paper_metrics.h"
#include "tests/win/render_test_support.h"

namespace {

using namespace render_test;

std::wstring environment(const wchar_t* name) {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return buffer;
}

// A device context of the default printer with Japanese postcard paper.
HDC postcard_printer_dc() {
    wchar_t name[256];
    DWORD size = 256;
    if (!GetDefaultPrinterW(name, &size)) return nullptr;
    HANDLE printer = nullptr;
    if (!OpenPrinterW(name, &printer, nullptr)) return nullptr;
    LONG bytes = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
    std::vector<BYTE> buffer(bytes > 0 ? bytes : sizeof(DEVMODEW));
    auto* mode = reinterpret_cast<DEVMODEW*>(buffer.data());
    bool ok = bytes > 0 &&
              DocumentPropertiesW(nullptr, printer, name, mode, nullptr, DM_OUT_BUFFER) == IDOK;
    ClosePrinter(printer);
    if (!ok) return nullptr;
    mode->dmFields |= DM_PAPERSIZE;
    mode->dmPaperSize = DMPAPER_JAPANESE_POSTCARD;
    return CreateDCW(L"WINSPOOL", name, nullptr, mode);
}

// The job's own name, so that its output cannot be mistaken for another
// test's job in the shared port file.
const wchar_t kJobName[] = L"Zelkovane card print check";
const char kJobTitle[] = "%%Title: Zelkovane card print check";

// Waits, bounded, until the spooler has written the whole job to the port
// file: it carries this job's title and ends with the PostScript trailer.
std::string wait_for_job(const std::wstring& path) {
    std::string ps;
    for (int i = 0; i < 300; ++i) {
        ps = read_file(path);
        if (ps.find(kJobTitle) != std::string::npos && ps.find("%%EOF") != std::string::npos)
            break;
        Sleep(100);
    }
    return ps;
}

// Everything the check needs to know about one printed text: its font as
// handed to the printer and its text. Each text is printed twice: by the
// renderer at its card position, and by this test at a known point of a
// calibration page, which tells the checker where the driver puts the ink
// of that text relative to its origin.
struct PrintedText {
    std::string label;
    LogFont font;  // lfHeight already scaled to the printer
    std::u16string text;
    Rect window;   // where its ink may lie relative to its origin
    int page = 0;  // calibration page and origin
    Point origin{0, 0};
    std::vector<int32_t> steps;  // a planned line's steps; none: the font's advances
};

// The expectations file, one line each (device pixels of the raster):
//   page-size WIDTH HEIGHT DPI
//   same PAGE PAGE                       the two pages have the same pixels
//   window LABEL LEFT TOP RIGHT BOTTOM   where LABEL's ink may lie, relative to its origin
//   ref PAGE X Y LABEL                   LABEL drawn at (X, Y) on a calibration page
//   at PAGE X Y LABEL                    LABEL drawn by the renderer at (X, Y)
//   blank PAGE LEFT TOP RIGHT BOTTOM LABEL  no ink at all in this box
class PrintPlan {
public:
    explicit PrintPlan(HDC dc) : dc_(dc) {
        W = GetDeviceCaps(dc, HORZRES);
        H = GetDeviceCaps(dc, VERTRES);
        offset_ = {GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY)};
        line("page-size %d %d %d", GetDeviceCaps(dc, PHYSICALWIDTH),
             GetDeviceCaps(dc, PHYSICALHEIGHT), GetDeviceCaps(dc, LOGPIXELSY));
    }

    // The renderer draws `text` of `card` at card point (x, y) in `stored`.
    void expect_text(int page, const CardRecord& card, const LogFont& stored, int32_t x, int32_t y,
                     const char16_t* text, int length, const std::string& label) {
        LogFont font = stored;
        font.lfHeight = printer_font_height(stored.lfHeight, H, card);
        expect_text_at(page, font, to_printer(x, y, W, H, card), text, length, label);
    }
    // The renderer draws `text` at device point `at` in `font`.
    void expect_text_at(int page, const LogFont& font, Point at, const char16_t* text, int length,
                        const std::string& name, std::vector<int32_t> steps = {}) {
        // Each card page's texts calibrated on their own: the cards differ.
        std::string label = name + "-p" + std::to_string(page);
        if (!known(label)) {
            texts_.push_back(measure(label, font, std::u16string(text, length)));
            texts_.back().steps = std::move(steps);
        }
        line("at %d %d %d %s", page, at.x + offset_.x, at.y + offset_.y, label.c_str());
    }
    void expect_same(int page, int other) { line("same %d %d", page, other); }
    // The ink of `name` (drawn by expect_text_at) lies inside `r`.
    void expect_room(int page, const Rect& r, const std::string& name) {
        line("room %d %d %d %d %d %s-p%d", page, r.left + offset_.x, r.top + offset_.y,
             r.right + offset_.x, r.bottom + offset_.y, name.c_str(), page);
    }

    void expect_blank(int page, const Rect& r, const std::string& label) {
        line("blank %d %d %d %d %d %s", page, r.left + offset_.x, r.top + offset_.y,
             r.right + offset_.x, r.bottom + offset_.y, label.c_str());
    }

    // Places the calibration texts on pages from `first_page` on, in rows,
    // their windows apart. Returns the number of pages used.
    int lay_out_calibration(int first_page) {
        const int gap = 40;
        int page = first_page, x = gap, y = gap, row_height = 0;
        for (PrintedText& t : texts_) {
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
            if (h > row_height) row_height = h;
            line("window %s %d %d %d %d", t.label.c_str(), t.window.left, t.window.top,
                 t.window.right, t.window.bottom);
            line("ref %d %d %d %s", page, t.origin.x + offset_.x, t.origin.y + offset_.y,
                 t.label.c_str());
        }
        return page - first_page + 1;
    }

    // Draws the calibration texts of `page` with plain GDI calls.
    void print_calibration(int page) {
        for (const PrintedText& t : texts_) {
            if (t.page != page) continue;
            HFONT font = CreateFontIndirectW(reinterpret_cast<const LOGFONTW*>(&t.font));
            HGDIOBJ old = SelectObject(dc_, font);
            SetBkMode(dc_, TRANSPARENT);
            SetTextColor(dc_, RGB(0, 0, 0));
            if (t.steps.empty())
                TextOutW(dc_, t.origin.x, t.origin.y, reinterpret_cast<const wchar_t*>(t.text.c_str()),
                         static_cast<int>(t.text.size()));
            SelectObject(dc_, old);
            DeleteObject(font);
            if (t.steps.empty()) continue;
            GdiSurface planned(dc_, GdiSurface::Kind::Printer);  // a planned line as the renderer draws it
            planned.begin_font(t.font, {0, 0, 0});
            planned.text_out_stepped(t.origin, t.text.c_str(), static_cast<int>(t.text.size()), t.steps.data());
        }
    }

    const std::string& text() const { return text_; }
    int32_t W = 0;
    int32_t H = 0;

private:
    bool known(const std::string& label) const {
        for (const PrintedText& t : texts_)
            if (t.label == label) return true;
        return false;
    }

    // The text's cell on the printer, grown generously: a vertical line's
    // cells lie left of its origin and run down, a horizontal text's right
    // of and below it.
    PrintedText measure(const std::string& label, const LogFont& font, const std::u16string& text) {
        HFONT made = CreateFontIndirectW(reinterpret_cast<const LOGFONTW*>(&font));
        HGDIOBJ old = SelectObject(dc_, made);
        SIZE size{};
        GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text.c_str()),
                              static_cast<int>(text.size()), &size);
        SelectObject(dc_, old);
        DeleteObject(made);
        int32_t margin = size.cy / 2 + 20;
        bool vertical = font.lfEscapement == -900 || font.lfEscapement == 2700;
        Rect window = vertical ? Rect{-size.cy - margin, -margin, margin, size.cx + margin}
                               : Rect{-margin, -margin, size.cx + margin, size.cy + margin};
        return {label, font, text, window};
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

    HDC dc_;
    Point offset_{0, 0};
    std::vector<PrintedText> texts_;
    std::string text_;
};

// The lines of a block as the renderer plans them for the card (for a
// line that fits: the stored font and origin, one piece), each with its
// room: its ink within its column and from its start to the end of its
// room (render/line_room.h), never nearer the card's edge than 3 mm.
void expect_lines(PrintPlan& plan, HDC dc, int page, const CardRecord& card, LineBlock block,
                  const LogFont& stored, const TextLine* lines, const LinePos* origins, int count,
                  const std::string& name) {
    GdiSurface surface(dc, GdiSurface::Kind::Printer);
    CardMapping mapping{card, false, plan.W, plan.H};
    LinePlan plans[ADDRESSEE_LINES];
    plan_lines(surface, card, block, stored, lines, origins, count, fit_switches(), plans);
    const bool down = writing_of(stored) == Writing::Down;
    for (int k = 0; k < count; ++k) {
        const LinePlan& p = plans[k];
        if (p.length == 0) continue;
        EXPECT_FALSE(p.overflow) << name << " " << k;
        LogFont set = stored;
        set.lfHeight = p.height;
        const LogFont font = mapping.font(set);
        std::string label = name + "-" + std::to_string(k) + (p.fitted ? "-fitted" : "");
        std::vector<int32_t> steps(p.length);
        plan_steps(mapping, p, down, 0, p.split, steps.data());
        plan.expect_text_at(page, font, mapping.map_along(origins[k], down, p.start), p.text, p.split,
                            label, {steps.begin(), steps.begin() + p.split});
        if (p.split < p.length) {
            plan_steps(mapping, p, down, p.split, p.length, steps.data());
            plan.expect_text_at(page, font, mapping.map_along(origins[k], down, p.tail_start),
                                p.text + p.split, p.length - p.split, label + "-tail",
                                {steps.begin(), steps.begin() + (p.length - p.split)});
        }
        if (!down) continue;
        const LinePos o = origins[k];
        Point start = mapping.map(o.x, o.y);
        Point end = mapping.map(o.x, o.y + line_room(card, block, k));
        Rect room{start.x - mapping.length(int64_t{p.cell} * kFine, false), start.y, start.x, end.y};
        plan.expect_room(page, room, label);
        if (p.split < p.length) plan.expect_room(page, room, label + "-tail");
    }
}

// The margins of a fitted card: 3 mm inside its edges, and 1 mm above the
// sender's digits across the sender's address columns.
void expect_clear_margins(PrintPlan& plan, int page, const CardRecord& card) {
    auto box = [&](int32_t l, int32_t t, int32_t r, int32_t b, const char* label) {
        Point a = to_printer(l, t, plan.W, plan.H, card), z = to_printer(r, b, plan.W, plan.H, card);
        plan.expect_blank(page, {a.x, a.y, z.x, z.y}, label);
    };
    box(0, card.base_h - kEdgeMargin, card.base_w, card.base_h, "bottom-margin");
    box(0, 0, kEdgeMargin, card.base_h, "left-margin");
    box(card.base_w - kEdgeMargin, 0, card.base_w, card.base_h, "right-margin");
    int32_t size = -card.fa.lf.lfHeight;
    box(card.fa.xy[1].x - size, card.ft.y1 - kObstacleGap, card.fa.xy[0].x, card.ft.y1, "above-sender-digits");
}

void expect_card(PrintPlan& plan, HDC dc, int page, const CardRecord& card) {
    const SenderRecord& sender = doc().fdata[card.ftb];
    int code_length = text_length(card.tt.m);
    for (int i = 0; i < code_length && i < kCodeDigits; ++i) {
        Point p = digit_position(code_boxes(card.tt), i);
        plan.expect_text(page, card, card.tt.lf, p.x, p.y, card.tt.m + i, 1,
                         "code-" + std::to_string(i));
    }
    expect_lines(plan, dc, page, card, LineBlock::Address, card.ta.lf, card.ta.m, card.ta.xy,
                 ADDRESSEE_LINES, "address");
    expect_lines(plan, dc, page, card, LineBlock::Name, card.tn.lf, card.tn.m, card.tn.xy,
                 ADDRESSEE_LINES, "name");
    for (int i = 0; i < text_length(sender.t) && i < kCodeDigits; ++i) {
        Point p = digit_position(code_boxes(card.ft), i);
        plan.expect_text(page, card, card.ft.lf, p.x, p.y, sender.t + i, 1,
                         "sender-code-" + std::to_string(i));
    }
    expect_lines(plan, dc, page, card, LineBlock::SenderAddress, card.fa.lf, sender.a, card.fa.xy,
                 SENDER_LINES, "sender-address");
    expect_lines(plan, dc, page, card, LineBlock::SenderName, card.fn.lf, sender.n, card.fn.xy,
                 SENDER_LINES, "sender-name");
}

// A card as the program drew it before lines were fitted: every digit and
// every whole line by one TextOutW at its mapped point in its stored font
// (its height scaled).
void draw_as_typed(HDC dc, const PrintPlan& plan, const CardRecord& card) {
    const SenderRecord& sender = doc().fdata[card.ftb];
    auto draw = [&](const LogFont& stored, int32_t x, int32_t y, const char16_t* text, int n) {
        if (n == 0) return;
        LogFont font = stored;
        font.lfHeight = printer_font_height(stored.lfHeight, plan.H, card);
        HFONT made = CreateFontIndirectW(reinterpret_cast<const LOGFONTW*>(&font));
        HGDIOBJ old = SelectObject(dc, made);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        Point at = to_printer(x, y, plan.W, plan.H, card);
        TextOutW(dc, at.x, at.y, reinterpret_cast<const wchar_t*>(text), n);
        SelectObject(dc, old);
        DeleteObject(made);
    };
    for (int i = 0; i < text_length(card.tt.m) && i < kCodeDigits; ++i) {
        Point p = digit_position(code_boxes(card.tt), i);
        draw(card.tt.lf, p.x, p.y, card.tt.m + i, 1);
    }
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        draw(card.ta.lf, card.ta.xy[k].x, card.ta.xy[k].y, card.ta.m[k].s, text_length(card.ta.m[k].s));
        draw(card.tn.lf, card.tn.xy[k].x, card.tn.xy[k].y, card.tn.m[k].s, text_length(card.tn.m[k].s));
    }
    for (int i = 0; i < text_length(sender.t) && i < kCodeDigits; ++i) {
        Point p = digit_position(code_boxes(card.ft), i);
        draw(card.ft.lf, p.x, p.y, sender.t + i, 1);
    }
    for (int k = 0; k < SENDER_LINES; ++k) {
        draw(card.fa.lf, card.fa.xy[k].x, card.fa.xy[k].y, sender.a[k].s, text_length(sender.a[k].s));
        draw(card.fn.lf, card.fn.xy[k].x, card.fn.xy[k].y, sender.n[k].s, text_length(sender.n[k].s));
    }
}

// The seven boxes of the addressee's code, one box pitch wide and a
// character (the font height) high, in device pixels.
void expect_empty_code(PrintPlan& plan, int page, const CardRecord& card) {
    CodeBoxes boxes = code_boxes(card.tt);
    for (int i = 0; i < kCodeDigits; ++i) {
        Point p = digit_position(boxes, i);
        int32_t pitch = i < 3 ? boxes.w1 : boxes.w2;
        Point from = to_printer(p.x, p.y, plan.W, plan.H, card);
        Point to = to_printer(p.x + pitch, p.y - card.tt.lf.lfHeight, plan.W, plan.H, card);
        plan.expect_blank(page, {from.x, from.y, to.x, to.y}, "empty-code-" + std::to_string(i));
    }
}

TEST(PrintCard, TwoCardsOnPostcardPaperThroughTheTestPrinter) {
    std::wstring port_file = environment(L"ZK_PRINTER_OUTPUT");
    std::wstring artifacts = artifacts_dir();
    if (port_file.empty() || artifacts.empty())
        GTEST_SKIP() << "needs ZK_PRINTER_OUTPUT and ZK_ARTIFACTS of the test runner";

    install_win32_platform();  // the card year comes from the local time
    TempFolder folder;
    reset_document(folder.path());
    fill_sample_card(0, u"1000001");
    fill_sample_card(1, u"");
    // The card whose address ran off the card and whose sender's address
    // ran through the sender's digits; its sender is sender 1.
    fill_sample_card(2, u"2220033");
    text_set(doc().hdata[2].ta.m[0].s, u"神奈川県横浜市港北区新横浜三丁目一七番地六");
    text_set(doc().hdata[2].ta.m[1].s, u"");
    text_set(doc().hdata[2].tn.m[0].s, u"山田　太郎　様");
    text_set(doc().hdata[2].tn.m[1].s, u"花子様");
    doc().hdata[2].ftb = 1;
    doc().fdata[1] = doc().fdata[0];
    text_set(doc().fdata[1].t, u"1000005");
    text_set(doc().fdata[1].a[0].s, u"東京都千代田区丸の内一丁目一ー一");
    doc().hdata[3] = doc().hdata[2];
    // Addresses as contacts exports write them (half-width numbers and
    // hyphens, Latin letters, half-width katakana), as addressee and as
    // sender (sender 2); and a family of four.
    fill_sample_card(4, u"6068267");
    text_set(doc().hdata[4].ta.m[0].s, u"京都府京都市左京区北白川東久保田町1-11-18");
    text_set(doc().hdata[4].ta.m[1].s, u"ｸﾞﾘｰﾝﾊｲﾂ北白川 B-402");
    text_set(doc().hdata[4].tn.m[0].s, u"佐藤　健一　様");
    doc().hdata[4].ftb = 2;
    doc().fdata[2] = doc().fdata[0];
    text_set(doc().fdata[2].a[0].s, u"大阪府大阪市北区梅田3-20-12");
    text_set(doc().fdata[2].a[1].s, u"ｸﾞﾗﾝﾌﾛﾝﾄ Tower 2805");
    fill_sample_card(5, u"1000001");
    const char16_t* family[] = {u"山田　太郎　様", u"花子　様", u"一郎　様", u"次郎　様"};
    for (int k = 0; k < 4; ++k) text_set(doc().hdata[5].tn.m[k].s, family[k]);
    doc().print.base_px = 30;  // device pixels, as stored
    doc().print.base_py = 20;

    HDC dc = postcard_printer_dc();
    ASSERT_NE(dc, nullptr);
    read_paper_metrics(dc);
    EXPECT_NEAR(paper_width(), 1000, 10);
    EXPECT_NEAR(paper_height(), 1480, 10);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);

    // Pages 1 and 2: the two cards; 3: the long card fitted; 4: the same
    // card with both switches off, and 5 as the program drew it before
    // lines were fitted; 6: the exported addresses; 7: the family of four;
    // from page 8: the calibration texts.
    PrintPlan plan(dc);
    expect_card(plan, dc, 1, doc().hdata[0]);
    expect_card(plan, dc, 2, doc().hdata[1]);
    expect_empty_code(plan, 2, doc().hdata[1]);
    expect_card(plan, dc, 3, doc().hdata[2]);
    expect_clear_margins(plan, 3, doc().hdata[2]);
    plan.expect_same(4, 5);
    for (int card = 4; card < 6; ++card) {
        expect_card(plan, dc, card + 2, doc().hdata[card]);
        expect_clear_margins(plan, card + 2, doc().hdata[card]);
    }
    const int first_calibration = 8;
    int calibration_pages = plan.lay_out_calibration(first_calibration);

    DeleteFileW(port_file.c_str());
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = kJobName;
    if (StartDocW(dc, &info) <= 0) {
        DeleteDC(dc);
        FAIL() << "StartDocW failed";
    }
    for (int card = 0; card < 4; ++card) {
        EXPECT_GT(StartPage(dc), 0);
        if (card == 3) fit_switches() = FitSwitches{false, false, false, false};
        draw_card_print(dc, card);
        fit_switches() = FitSwitches{};
        EXPECT_GT(EndPage(dc), 0);
    }
    EXPECT_GT(StartPage(dc), 0);
    draw_as_typed(dc, plan, doc().hdata[3]);
    EXPECT_GT(EndPage(dc), 0);
    for (int card = 4; card < 6; ++card) {
        EXPECT_GT(StartPage(dc), 0);
        draw_card_print(dc, card);
        EXPECT_GT(EndPage(dc), 0);
    }
    for (int page = first_calibration; page < first_calibration + calibration_pages; ++page) {
        EXPECT_GT(StartPage(dc), 0);
        plan.print_calibration(page);
        EXPECT_GT(EndPage(dc), 0);
    }
    EXPECT_GT(EndDoc(dc), 0);
    DeleteDC(dc);

    // The printed cards are recorded as sent in the current card year.
    for (int card = 0; card < 6; ++card) {
        EXPECT_EQ(doc().hdata[card].typ[0].y, card_year()) << card;
        EXPECT_EQ(doc().hdata[card].typ[0].t, 1) << card;
    }
    EXPECT_TRUE(doc().modified);

    std::string ps = wait_for_job(port_file);
    ASSERT_NE(ps.find(kJobTitle), std::string::npos) << "the job did not reach the port file";
    ASSERT_NE(ps.find("%%EOF"), std::string::npos) << "the job in the port file is incomplete";
    EXPECT_NE(ps.find("%%Page: 2"), std::string::npos);
    EXPECT_TRUE(write_file(artifacts + L"\\print_card.ps", ps));
    EXPECT_TRUE(write_file(artifacts + L"\\print_card.expect", plan.text()));
    std::memset(&doc(), 0, sizeof(Document));
}

}  // namespace

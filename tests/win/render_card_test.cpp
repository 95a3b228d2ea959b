// The card renderer on real GDI device contexts (run under Wine): where the
// ink of the postal code digits and the vertical lines lands, how the
// background bitmap is stretched onto the card, and how the vertical face
// draws the vertical-writing form ("漢数字").
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/vertical_form.h"
#include "render/card_fit.h"
#include "platform/platform_win32.h"
#include "render/card_thumbnail.h"
#include "render/gdi_renderer.h"
#include "tests/win/render_test_support.h"

namespace {

using namespace render_test;

class RenderCardTest : public ::testing::Test {
protected:
    void SetUp() override { reset_document(folder.path()); }
    void TearDown() override {
        release_preview_bitmap();
        std::memset(&doc(), 0, sizeof(Document));
    }

    CardRecord& card() { return doc().hdata[0]; }

    // The cell of postal code character i in the preview: from its box
    // position one box pitch across and one character cell down.
    Rect digit_cell(int i) const {
        const CardRecord& c = doc().hdata[0];
        CodeBoxes boxes = code_boxes(c.tt);
        Point p = digit_position(boxes, i);
        Point at = to_preview(p.x, p.y);
        int32_t pitch = i < 3 ? boxes.w1 : boxes.w2;
        return {at.x, at.y, at.x + pitch, at.y + item_extents().code.cy};
    }

    TempFolder folder;
    Canvas canvas{440, 700};
};

TEST_F(RenderCardTest, PostalCodeDigitsInkTheirOwnCellsOnly) {
    ASSERT_TRUE(canvas.valid());
    text_set(card().tt.m, u"1000001");
    draw_card_preview(canvas.dc());
    // ＭＳ ゴシック at -24: a cell some 24 to 32 pixels high.
    ASSERT_GE(item_extents().code.cy, 24);
    ASSERT_LE(item_extents().code.cy, 34);
    int32_t advance = item_extents().code.cx;  // half-width digit
    ASSERT_GT(advance, 6);

    std::vector<Rect> cells;
    for (int i = 0; i < kCodeDigits; ++i) {
        Rect cell = digit_cell(i);
        cells.push_back(cell);
        EXPECT_GT(canvas.ink_in(cell), 20) << "digit " << i;
        // The digit's ink lies within its own character cell.
        Rect box = canvas.ink_box(cell);
        EXPECT_GE(box.left, cell.left) << i;
        EXPECT_LE(box.right, cell.left + advance + 1) << i;
    }
    EXPECT_EQ(cells[0].left, 193);
    EXPECT_EQ(cells[2].left, 247);
    EXPECT_EQ(cells[3].left, 280);
    EXPECT_EQ(cells[6].left, 358);

    // A "1" and a "0" differ: the zero is wider.
    int width1 = canvas.ink_box(cells[0]).right - canvas.ink_box(cells[0]).left;
    int width0 = canvas.ink_box(cells[1]).right - canvas.ink_box(cells[1]).left;
    EXPECT_LT(width1, width0);

    // Nothing anywhere else.
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            bool in_cell = false;
            for (const Rect& c : cells) in_cell = in_cell || inside(x, y, c);
            if (!in_cell && canvas.ink(x, y)) {
                ADD_FAILURE() << "ink outside the digit cells at " << x << "," << y;
                return;
            }
        }
}

TEST_F(RenderCardTest, VerticalLinesRunDownFromTheirOriginsInsideTheirRectangles) {
    ASSERT_TRUE(canvas.valid());
    fill_sample_card(0);
    draw_card_preview(canvas.dc());

    const ItemId drawn[] = {kItemCodeGroup3,        kItemCodeGroup4,         kItemAddressLine0,
                            kItemAddressLine0 + 1,  kItemNameLine0,          kItemSenderCodeGroup3,
                            kItemSenderCodeGroup4,  kItemSenderAddressLine0, kItemSenderAddressLine0 + 1,
                            kItemSenderNameLine0};
    std::vector<Rect> rects;
    for (ItemId id : drawn) {
        Rect r = item_rect(id);
        rects.push_back(r);
        EXPECT_GT(canvas.ink_in(r), 30) << "item " << id;
    }
    // The address line is a column: much taller than wide, its ink right
    // of x - cy and from y downward.
    Rect line = item_rect(kItemAddressLine0);
    EXPECT_EQ(line.right, 380);
    EXPECT_EQ(line.top, 150);
    EXPECT_GT(line.bottom - line.top, 4 * (line.right - line.left));
    Rect ink = canvas.ink_box(grow(line, 4));
    EXPECT_GT(ink.bottom - ink.top, 4 * (ink.right - ink.left));
    EXPECT_LE(ink.top, line.top + 4);
    // The last character (一, a flat stroke) inks only the middle of its cell.
    EXPECT_GE(ink.bottom, line.bottom - (line.right - line.left));

    // All ink belongs to an item (a pixel of slack for glyph edges).
    int stray = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            if (!canvas.ink(x, y)) continue;
            bool owned = false;
            for (const Rect& r : rects) owned = owned || inside(x, y, grow(r, 1));
            stray += owned ? 0 : 1;
        }
    EXPECT_EQ(stray, 0);
}

TEST_F(RenderCardTest, DraggedLineIsLeftOutOfThePaint) {
    fill_sample_card(0);
    set_drag_item(kItemNameLine0);
    draw_card_preview(canvas.dc());
    set_drag_item(kItemNone);
    Rect name = item_rect(kItemNameLine0);
    EXPECT_GT(name.bottom - name.top, 100);  // still measured
    EXPECT_EQ(canvas.ink_in(name), 0);
    EXPECT_GT(canvas.ink_in(item_rect(kItemAddressLine0)), 30);
}

// A bitmap of four coloured quadrants, w x h pixels.
std::string quadrant_bmp(int w, int h) {
    Canvas source(w, h);
    const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    for (int q = 0; q < 4; ++q) {
        RECT r{(q % 2) * w / 2, (q / 2) * h / 2, (q % 2 + 1) * w / 2, (q / 2 + 1) * h / 2};
        HBRUSH brush = CreateSolidBrush(colours[q]);
        FillRect(source.dc(), &r, brush);
        DeleteObject(brush);
    }
    return source.bmp(source.whole());
}

TEST_F(RenderCardTest, BackgroundIsStretchedOntoTheCardRectangle) {
    ASSERT_TRUE(write_file(folder.file(L"base1.bmp"), quadrant_bmp(40, 60)));
    draw_card_preview(canvas.dc());

    ASSERT_NE(preview_bitmap(), nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectW(static_cast<HBITMAP>(preview_bitmap()), sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 40);
    EXPECT_EQ(info.bmHeight, 60);

    // Quadrants scaled by 10 across and 592 / 60 down onto (10, 50).
    EXPECT_EQ(canvas.pixel(10, 50), 0xFF0000u);
    EXPECT_EQ(canvas.pixel(209, 345), 0xFF0000u);
    EXPECT_EQ(canvas.pixel(211, 50), 0x00A000u);
    EXPECT_EQ(canvas.pixel(409, 340), 0x00A000u);
    EXPECT_EQ(canvas.pixel(10, 641), 0x0000FFu);
    EXPECT_EQ(canvas.pixel(209, 350), 0x0000FFu);
    EXPECT_EQ(canvas.pixel(409, 641), 0xFFFF00u);
    // Not a pixel beyond the card.
    EXPECT_EQ(canvas.pixel(9, 50), 0xFFFFFFu);
    EXPECT_EQ(canvas.pixel(10, 49), 0xFFFFFFu);
    EXPECT_EQ(canvas.pixel(410, 641), 0xFFFFFFu);
    EXPECT_EQ(canvas.pixel(409, 642), 0xFFFFFFu);
    EXPECT_EQ(canvas.ink_in({0, 0, 440, 50}), 0);
    EXPECT_EQ(canvas.ink_in({410, 0, 440, 700}), 0);

    // A removed file leaves no background and no preview bitmap.
    ASSERT_TRUE(DeleteFileW(folder.file(L"base1.bmp").c_str()));
    Canvas again(440, 700);
    draw_card_preview(again.dc());
    EXPECT_EQ(preview_bitmap(), nullptr);
    EXPECT_EQ(again.ink_in(again.whole()), 0);
}

// The proof sheet's thumbnail is the card as the preview shows it (the
// background, a line set smaller to fit), shrunk to its box.
TEST_F(RenderCardTest, ThumbnailIsThePreviewShrunkToItsBox) {
    ASSERT_TRUE(write_file(folder.file(L"base1.bmp"), quadrant_bmp(40, 60)));
    fill_sample_card(0);
    text_set(card().ta.m[0].s, u"東京都千代田区丸の内一丁目一番一号一二三四");
    draw_card_preview(canvas.dc());
    Canvas expected(150, 222);
    SetStretchBltMode(expected.dc(), HALFTONE);
    StretchBlt(expected.dc(), 0, 0, 150, 222, canvas.dc(), 10, 50, 400, 592, SRCCOPY);

    HDC screen = GetDC(nullptr);
    HBITMAP thumbnail = static_cast<HBITMAP>(ThumbnailMaker(screen).make(0, 150, 240));
    ReleaseDC(nullptr, screen);
    ASSERT_NE(thumbnail, nullptr);
    BITMAP info{};
    GetObjectW(thumbnail, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 150);   // the card's proportions in the box
    EXPECT_EQ(info.bmHeight, 222);
    Canvas shown(150, 222);
    HDC memory = CreateCompatibleDC(shown.dc());
    HGDIOBJ old = SelectObject(memory, thumbnail);
    BitBlt(shown.dc(), 0, 0, 150, 222, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(thumbnail);

    int differing = 0;
    for (int y = 0; y < 222; ++y)
        for (int x = 0; x < 150; ++x) {
            uint32_t a = expected.pixel(x, y), b = shown.pixel(x, y);
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 40) {
                    ++differing;
                    break;
                }
        }
    EXPECT_LT(differing, 150 * 222 / 100) << "pixels that differ from the shrunk preview";
    const std::wstring artifacts = artifacts_dir();
    if (!artifacts.empty()) write_file(artifacts + L"\\proof_thumbnail.bmp", shown.bmp(shown.whole()));
}

TEST_F(RenderCardTest, NonBitmapFileGivesNoBackground) {
    ASSERT_TRUE(write_file(folder.file(L"base1.bmp"), "this is not a bitmap"));
    draw_card_preview(canvas.dc());
    EXPECT_EQ(preview_bitmap(), nullptr);
    EXPECT_EQ(canvas.ink_in(canvas.whole()), 0);
}

TEST_F(RenderCardTest, PreviewBitmapCanBeReloadedByName) {
    ASSERT_TRUE(write_file(folder.file(L"x.bmp"), quadrant_bmp(8, 8)));
    load_preview_bitmap(u16(folder.file(L"x.bmp")));
    EXPECT_NE(preview_bitmap(), nullptr);
    load_preview_bitmap(u16(folder.file(L"missing.bmp")));
    EXPECT_EQ(preview_bitmap(), nullptr);
}

// The print path on a memory device context: its printable area is the
// screen's HORZRES x VERTRES, so the canvas is made that large.
TEST_F(RenderCardTest, PrintPathStretchesTheBackgroundOverThePrintableArea) {
    install_win32_platform();  // recording the card as sent needs the local time
    ASSERT_TRUE(write_file(folder.file(L"base1.bmp"), quadrant_bmp(40, 60)));
    wchar_t previous_dir[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous_dir);
    SetCurrentDirectoryW(folder.path().c_str());  // the name is used as stored

    HDC screen = GetDC(nullptr);
    int W = GetDeviceCaps(screen, HORZRES), H = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    Canvas page(W + 20, H + 20);
    ASSERT_TRUE(page.valid());
    doc().print.base_px = 8;
    doc().print.base_py = 6;

    doc().print.bmp_mode = 0;
    draw_card_print(page.dc(), 0);
    EXPECT_EQ(page.ink_in(page.whole()), 0);

    doc().print.bmp_mode = 1;
    draw_card_print(page.dc(), 0);
    SetCurrentDirectoryW(previous_dir);
    EXPECT_EQ(page.pixel(8, 6), 0xFF0000u);
    EXPECT_EQ(page.pixel(8 + W - 1, 6), 0x00A000u);
    EXPECT_EQ(page.pixel(8, 6 + H - 1), 0x0000FFu);
    EXPECT_EQ(page.pixel(8 + W - 1, 6 + H - 1), 0xFFFF00u);
    EXPECT_EQ(page.pixel(8 + W / 2 - 2, 6 + H / 2 - 2), 0xFF0000u);
    EXPECT_EQ(page.pixel(8 + W / 2 + 2, 6 + H / 2 + 2), 0xFFFF00u);
    EXPECT_EQ(page.pixel(7, 6), 0xFFFFFFu);
    EXPECT_EQ(page.pixel(8, 5), 0xFFFFFFu);
    EXPECT_EQ(page.pixel(8 + W, 6 + H - 1), 0xFFFFFFu);
    EXPECT_EQ(page.pixel(8 + W - 1, 6 + H), 0xFFFFFFu);
    EXPECT_EQ(preview_bitmap(), nullptr);  // printing leaves the preview's bitmap alone
    EXPECT_EQ(card().typ[0].t, 1);
}

// The ink box of `units` characters drawn with `font`; empty without ink.
Rect glyph_ink(const LogFont& font, const char16_t* ch, int units) {
    Canvas canvas(200, 200);
    HFONT made = CreateFontIndirectW(reinterpret_cast<const LOGFONTW*>(&font));
    HGDIOBJ old = SelectObject(canvas.dc(), made);
    SetBkMode(canvas.dc(), TRANSPARENT);
    TextOutW(canvas.dc(), 100, 50, reinterpret_cast<const wchar_t*>(ch), units);
    Rect box = canvas.ink_box(canvas.whole());
    SelectObject(canvas.dc(), old);
    DeleteObject(made);
    return box;
}

int width(const Rect& r) { return r.right - r.left; }
int height(const Rect& r) { return r.bottom - r.top; }

// How each character of `text` stands in the vertical face `vertical`,
// against its glyph in the same face without "@" and rotation: 'U' upright
// (its ink keeps its shape), 'S' on its side (width and height swapped),
// '|' a vertical line (ink more than twice as tall as wide, where the
// horizontal glyph is a flat stroke), '.' no ink.
std::string stances(const LogFont& vertical, const std::u16string& text) {
    LogFont horizontal = vertical;
    text_set(horizontal.lfFaceName, vertical.lfFaceName + 1);
    horizontal.lfEscapement = horizontal.lfOrientation = 0;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        Rect v = glyph_ink(vertical, &text[i], 1), h = glyph_ink(horizontal, &text[i], 1);
        int same = std::abs(width(v) - width(h)) + std::abs(height(v) - height(h));
        int swapped = std::abs(width(v) - height(h)) + std::abs(height(v) - width(h));
        if (width(v) == 0) {
            out += '.';
        } else if (height(v) > 2 * width(v) && width(h) > 2 * height(h)) {
            out += '|';
        } else {
            out += swapped + 2 < same ? 'S' : 'U';
        }
    }
    return out;
}

// "漢数字" turns an address into characters that the default vertical face
// draws upright, with a vertical line between the numbers; as typed, its
// digits and letters lie on their side (and so do its hyphens, as short
// strokes). (An upright 一 is wider
// than tall, so "upright" means: the ink keeps the shape of the horizontal
// glyph.) The separator is a vertical line in every vertical face the
// program names, and the default one.
TEST_F(RenderCardTest, VerticalFormStandsUprightInTheVerticalFace) {
    const LogFont face = card().tn.lf;  // the default "@HG行書体", at the name's size
    ASSERT_EQ(face.lfFaceName[0], u'@');
    const std::u16string typed = u"梅田1-2-3 ABCビル101";
    char16_t form[LINE_CAP];
    vertical_form(form, LINE_CAP, typed.c_str());
    ASSERT_EQ(std::u16string(form), u"梅田一ー二ー三　ＡＢＣビル一〇一");
    EXPECT_EQ(stances(face, typed), "UUS|S|S.SSSUUSSS");
    EXPECT_EQ(stances(face, form), "UUU|U|U.UUUUUUUU");

    const char16_t* faces[] = {u"@HG行書体", u"@ＭＳ ゴシック", u"@ＭＳ 明朝", u"@ＭＳ Ｐゴシック"};
    const char16_t candidates[] = {kVerticalSeparator, u'―', u'－', u'‐', u'─', u'｜'};
    for (int i = 0; i < 4; ++i) {
        LogFont f = face;
        text_set(f.lfFaceName, faces[i]);
        EXPECT_EQ(stances(f, std::u16string(1, kVerticalSeparator)), "|") << "face " << i;
        for (char16_t c : candidates) {  // the candidates' ink boxes, in the log
            Rect box = glyph_ink(f, &c, 1);
            std::printf("[ separator ] face %d U+%04X ink %d x %d\n", i, unsigned(c), width(box), height(box));
        }
    }
}

// The card whose address ran off the bottom of the card and whose sender's
// address ran through the sender's own postal code.
void fill_long_card() {
    fill_sample_card(0, u"2220033");
    CardRecord& c = doc().hdata[0];
    text_set(c.ta.m[0].s, u"神奈川県横浜市港北区新横浜三丁目一七番地六");
    text_set(c.ta.m[1].s, u"");
    text_set(doc().fdata[0].a[0].s, u"東京都千代田区丸の内一丁目一ー一");
    text_set(doc().fdata[0].t, u"1000005");
}

// Fitted, the long lines end inside the card and before the sender's
// digits, every character inked in its own cell, where the plan puts it. (That the switches off
// draw as before is checked on paper: tests/win/print_card_test.cpp.)
TEST_F(RenderCardTest, LongLinesAreFittedWholeWithEveryCharacterInItsOwnCell) {
    fill_long_card();
    draw_card_preview(canvas.dc());
    const CardRecord& c = card();
    const SenderRecord& sender = doc().fdata[0];
    std::wstring artifacts = artifacts_dir();
    if (!artifacts.empty()) write_file(artifacts + L"\\render_fitted_card.bmp", canvas.bmp(canvas.whole()));
    EXPECT_EQ(preview_overflow_lines(), 0);
    // No ink within 3 mm (12 units) of the card's edges, none of the
    // sender's address within 1 mm above its digits.
    const Rect card_area{10, 50, 410, 642};
    EXPECT_EQ(canvas.ink_in({card_area.left, card_area.bottom - 12, card_area.right, card_area.bottom}), 0);
    EXPECT_EQ(canvas.ink_in({card_area.left, card_area.top, card_area.left + 12, card_area.bottom}), 0);
    EXPECT_EQ(canvas.ink_in({card_area.right - 12, card_area.top, card_area.right, card_area.bottom}), 0);
    Point digits = to_preview(c.ft.x1, c.ft.y1);
    EXPECT_EQ(canvas.ink_in({to_preview(c.fa.xy[1].x, 0).x - 20, digits.y - 4, to_preview(c.fa.xy[0].x, 0).x + 1, digits.y}), 0);

    // Every character of the two fitted lines has ink in its own cell and,
    // drawn alone, none outside it.
    GdiSurface surface(canvas.dc(), GdiSurface::Kind::Screen);
    struct Fitted { LineBlock block; const LogFont& font; const TextLine* lines; const LinePos* at; int n; };
    const Fitted fitted[] = {{LineBlock::Address, c.ta.lf, c.ta.m, c.ta.xy, ADDRESSEE_LINES},
                             {LineBlock::SenderAddress, c.fa.lf, sender.a, c.fa.xy, SENDER_LINES}};
    for (const Fitted& f : fitted) {
        LinePlan plans[ADDRESSEE_LINES];
        plan_lines(surface, c, f.block, f.font, f.lines, f.at, f.n, fit_switches(), plans);
        const LinePlan& plan = plans[0];
        ASSERT_TRUE(plan.fitted);
        ASSERT_FALSE(plan.overflow);
        EXPECT_GE(-plan.height * 2, -f.font.lfHeight);
        LogFont fitted = f.font;
        fitted.lfHeight = plan.height;
        surface.begin_font(fitted, {0, 0, 0});
        const char16_t* text = plan.text;
        const Point at = to_preview(f.at[0].x, f.at[0].y);
        int32_t from = at.y;
        const CardMapping preview{c, true};
        for (int i = 1; i <= plan.length; ++i) {
            int32_t to = at.y + preview.length(plan.ends[i - 1], true);
            Rect cell{at.x - plan.cell - 2, from, at.x + 2, to};
            EXPECT_GT(canvas.ink_in(cell), 3) << "character " << i - 1;
            Canvas alone(440, 700);
            SelectObject(alone.dc(), GetCurrentObject(canvas.dc(), OBJ_FONT));
            SetBkMode(alone.dc(), TRANSPARENT);
            TextOutW(alone.dc(), at.x, from, reinterpret_cast<const wchar_t*>(text + i - 1), 1);
            Rect ink = alone.ink_box(alone.whole());
            EXPECT_GE(ink.top, from - 1) << "character " << i - 1;
            EXPECT_LE(ink.bottom, to + 1) << "character " << i - 1;
            from = to;
        }
        surface.end_font();
    }
}

// 連名 begin where the first line's given name begins and the 敬称 end on
// one level.
TEST_F(RenderCardTest, JointNamesStartOnOneLevelAndTheirHonorificsEndOnOne) {
    fill_sample_card(0);
    text_set(card().tn.m[0].s, u"山田　太郎　様");
    text_set(card().tn.m[1].s, u"花子様");
    text_set(card().tn.m[2].s, u"次郎　様");
    draw_card_preview(canvas.dc());
    std::wstring artifacts = artifacts_dir();
    if (!artifacts.empty()) write_file(artifacts + L"\\render_joint_names.bmp", canvas.bmp(canvas.whole()));
    Rect column[3];
    for (int k = 0; k < 3; ++k) {
        Rect r = item_rect(kItemNameLine0 + k);
        column[k] = canvas.ink_box({r.left + 2, r.top, r.right, item_rect(kItemNameLine0).bottom + 4});
        ASSERT_GT(column[k].bottom, 0) << k;
    }
    // The given names: 太郎 of line 0 starts three characters down, where
    // 花子 and 次郎 start.
    Rect first = item_rect(kItemNameLine0);
    Rect given = canvas.ink_box({first.left, first.top + 3 * 48 - 4, first.right, first.top + 4 * 48});
    EXPECT_NEAR(column[1].top, given.top, 4);
    EXPECT_NEAR(column[2].top, given.top, 4);
    EXPECT_NEAR(column[1].bottom, column[0].bottom, 1);
    EXPECT_NEAR(column[2].bottom, column[0].bottom, 1);
}

TEST(GdiSurfaceTest, FontsAreReleasedAndTheDeviceGetsItsFontBack) {
    Canvas canvas(50, 50);
    HGDIOBJ before = GetCurrentObject(canvas.dc(), OBJ_FONT);
    DWORD objects_before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 50; ++i) {
        GdiSurface surface(canvas.dc(), GdiSurface::Kind::Screen);
        LogFont font{};
        font.lfHeight = -20;
        text_set(font.lfFaceName, u"ＭＳ ゴシック");
        surface.begin_font(font, {0, 0, 0});
        EXPECT_NE(GetCurrentObject(canvas.dc(), OBJ_FONT), before);
        surface.end_font();
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), before);
        surface.begin_font(font, {0, 0, 0});  // left open: the destructor ends it
    }
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), before);
    DWORD objects_after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (objects_before != 0) {
        EXPECT_LE(objects_after, objects_before + 2);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "model/card_status.h"
#include "model/defaults.h"
#include "model/text.h"
#include "render/card_fit.h"
#include "render/card_renderer.h"
#include "tests/render/recording_surface.h"
#include "tests/support/fake_platform.h"

namespace {

using Strings = std::vector<std::string>;

class CardRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        for (CardRecord& c : doc().hdata) set_default_layout(c);
        set_default_print_settings(doc().print);
        text_set(doc().work_dir, u"C:\\work");
        set_drag_item(kItemNone);
        exchange_preview_bitmap(nullptr);
        item_extents() = ItemExtents{};
        printer.caps[kCapHorzRes] = 2244;
        printer.caps[kCapVertRes] = 3389;
    }
    void TearDown() override {
        EXPECT_EQ(screen.open_fonts, 0);
        EXPECT_EQ(printer.open_fonts, 0);
        set_drag_item(kItemNone);
        exchange_preview_bitmap(nullptr);
        set_card_marked_hook(nullptr);
        set_preview_painted_hook(nullptr);
    }

    CardRecord& card(int i = 0) { return doc().hdata[i]; }

    // A card with a postal code, address lines 0, 1 and 3, name line 0, and
    // sender 0 with a code and one address and name line.
    void fill_card(int i = 0) {
        text_set(card(i).tt.m, u"1000001");
        text_set(card(i).ta.m[0].s, u"東京都千代田区");
        text_set(card(i).ta.m[1].s, u"千代田一ー一");
        text_set(card(i).ta.m[3].s, u"三階");
        text_set(card(i).tn.m[0].s, u"山田太郎様");
        card(i).ftb = 0;
        text_set(doc().fdata[0].t, u"5300001");
        text_set(doc().fdata[0].a[0].s, u"大阪市北区");
        text_set(doc().fdata[0].n[0].s, u"鈴木花子");
    }

    // Where the printer path must put card point (x, y).
    static std::string on_paper(const std::string& text, int64_t x, int64_t y) {
        const PrintSettings& p = doc().print;
        return text + "@" + std::to_string(x * 2244 / 400 + p.base_px) + "," +
               std::to_string(y * 3389 / 592 + p.base_py);
    }

    FakePlatform fake;
    RecordingSurface screen;
    RecordingSurface printer;
};

TEST_F(CardRendererTest, PreviewPlacesEveryCharacterAndLineAtItsPixel) {
    fill_card();
    draw_card_preview(screen);
    const Strings expected = {
        // addressee code: boxes at x1 183 / w1 27 and x2 270 / w2 26
        "1@193,102", "0@220,102", "0@247,102", "0@280,103", "0@306,103", "0@332,103", "1@358,103",
        // address lines 0, 1, 3 at (370 - 35k, 100); line 2 empty leaves its gap
        "東京都千代田区@380,150", "千代田一ー一@345,150", "三階@275,150",
        "山田太郎様@280,165",
        // sender code: 29 / 16 and 80 / 16 at y 493
        "5@39,543", "3@55,543", "0@71,543", "0@90,543", "0@106,543", "0@122,543", "1@138,543",
        "大阪市北区@130,325", "鈴木花子@80,440"};
    EXPECT_EQ(screen.placed(), expected);
}

TEST_F(CardRendererTest, EachItemGetsItsOwnFontOnceInDrawingOrder) {
    fill_card();
    card().tt.c = {200, 10, 20};
    draw_card_preview(screen);
    const std::vector<LogFont> fonts = screen.drawn_fonts();
    ASSERT_EQ(fonts.size(), 6u);
    const int32_t heights[] = {-24, -27, -48, -19, -16, -19};  // tt ta tn ft fa fn
    for (int i = 0; i < 6; ++i) EXPECT_EQ(fonts[i].lfHeight, heights[i]) << i;
    EXPECT_EQ(utf8(fonts[1].lfFaceName), "@HG行書体");
    EXPECT_EQ(fonts[1].lfEscapement, -900);
    EXPECT_EQ(screen.texts[0].colour.r, 200);
    EXPECT_EQ(screen.texts[0].colour.b, 20);
    // Every text of an item lies between its font's selection and release.
    int open = 0;
    for (const std::string& e : screen.events) {
        if (e.rfind("font", 0) == 0) {
            EXPECT_EQ(open++, 0);
        } else if (e == "end_font") {
            EXPECT_EQ(--open, 0);
        } else if (e.rfind("text", 0) == 0) {
            EXPECT_EQ(open, 1);
        }
    }
}

TEST_F(CardRendererTest, PreviewRecordsTheExtentsOfTheShownCard) {
    fill_card();
    item_extents().address[2] = {99, 99};  // from an earlier paint
    draw_card_preview(screen);
    const ItemExtents& e = item_extents();
    // Recording surface: cx = |lfHeight| x length, cy = |lfHeight| + 2;
    // the lines measured at the reference size and scaled, rounded up.
    EXPECT_EQ(e.code.cy, 26);
    EXPECT_EQ(e.address[0].cx, 7 * 27);
    EXPECT_EQ(e.address[0].cy, 28);
    EXPECT_EQ(e.address[2].cx, 0);
    EXPECT_EQ(e.address[2].cy, 0);
    EXPECT_EQ(e.address[3].cx, 2 * 27);
    EXPECT_EQ(e.name[0].cx, 5 * 48);
    EXPECT_EQ(e.name[0].cy, 49);
    EXPECT_EQ(e.name[1].cx, 0);
    EXPECT_EQ(e.sender_code.cy, 21);
    EXPECT_EQ(e.sender_address[0].cx, 5 * 16);
    EXPECT_EQ(e.sender_name[0].cy, 20);
    EXPECT_EQ(e.sender_name[1].cx, 0);
    // The codes are measured by their first character only.
    EXPECT_EQ(utf8(screen.measures[0].text), "1");
}

TEST_F(CardRendererTest, ShortCodesFillTheFirstCellsAndLongOnesLoseTheirTail) {
    text_set(card().tt.m, u"123");
    draw_card_preview(screen);
    EXPECT_EQ(screen.placed(), (Strings{"1@193,102", "2@220,102", "3@247,102"}));

    RecordingSurface again;
    text_set(card().tt.m, u"123-4567");
    draw_card_preview(again);
    EXPECT_EQ(again.placed(), (Strings{"1@193,102", "2@220,102", "3@247,102", "-@280,103",
                                       "4@306,103", "5@332,103", "6@358,103"}));
}

TEST_F(CardRendererTest, EmptyCodeInThePreviewIsMeasuredButShowsNothing) {
    draw_card_preview(screen);
    EXPECT_TRUE(screen.texts.empty());
    EXPECT_EQ(screen.fonts.size(), 6u);
    ASSERT_GE(screen.measures.size(), 2u);
    EXPECT_EQ(screen.measures[0].length, 1);
    EXPECT_EQ(screen.measures[0].text, std::u16string(1, u'\0'));
    EXPECT_EQ(item_extents().code.cy, 26);
    EXPECT_EQ(item_extents().sender_code.cy, 21);
}

TEST_F(CardRendererTest, DraggedItemIsLeftOutButStillMeasured) {
    fill_card();
    set_drag_item(kItemAddressLine0 + 1);
    draw_card_preview(screen);
    Strings placed = screen.placed();
    EXPECT_EQ(std::count(placed.begin(), placed.end(), "千代田一ー一@345,150"), 0);
    EXPECT_EQ(std::count(placed.begin(), placed.end(), "東京都千代田区@380,150"), 1);
    EXPECT_EQ(item_extents().address[1].cx, 6 * 27);

    RecordingSurface group;
    set_drag_item(kItemCodeGroup3);
    draw_card_preview(group);
    placed = group.placed();
    EXPECT_EQ(placed.front(), "0@280,103");  // the four-digit group still shows
    EXPECT_EQ(item_extents().code.cy, 26);

    RecordingSurface sender;
    set_drag_item(kItemSenderCodeGroup4);
    draw_card_preview(sender);
    placed = sender.placed();
    EXPECT_EQ(std::count(placed.begin(), placed.end(), "5@39,543"), 1);
    EXPECT_EQ(std::count(placed.begin(), placed.end(), "0@90,543"), 0);
    EXPECT_EQ(std::count(placed.begin(), placed.end(), "1@138,543"), 0);

    RecordingSurface name;
    set_drag_item(kItemSenderNameLine0);
    draw_card_preview(name);
    placed = name.placed();
    EXPECT_EQ(std::count(placed.begin(), placed.end(), "鈴木花子@80,440"), 0);
    EXPECT_EQ(placed.size(), 19u);
}

TEST_F(CardRendererTest, PrintMapsEveryPositionAndScalesOnlyTheFontHeight) {
    fill_card(2);
    doc().print.base_px = 30;
    doc().print.base_py = -12;
    draw_card_print(printer, 2);
    const Strings expected = {
        on_paper("1", 183, 52),  on_paper("0", 210, 52),  on_paper("0", 237, 52),
        on_paper("0", 270, 53),  on_paper("0", 296, 53),  on_paper("0", 322, 53),
        on_paper("1", 348, 53),  on_paper("東京都千代田区", 370, 100),
        on_paper("千代田一ー一", 335, 100), on_paper("三階", 265, 100),
        on_paper("山田太郎様", 270, 115), on_paper("5", 29, 493), on_paper("3", 45, 493),
        on_paper("0", 61, 493),  on_paper("0", 80, 493),  on_paper("0", 96, 493),
        on_paper("0", 112, 493), on_paper("1", 128, 493), on_paper("大阪市北区", 120, 275),
        on_paper("鈴木花子", 70, 390)};
    EXPECT_EQ(printer.placed(), expected);
    EXPECT_EQ(printer.placed()[7], "東京都千代田区@2105,560");

    const std::vector<LogFont> fonts = printer.drawn_fonts();
    ASSERT_EQ(fonts.size(), 6u);
    const int32_t heights[] = {-137, -154, -274, -108, -91, -108};  // x 3389 / 592, truncated
    for (int i = 0; i < 6; ++i) EXPECT_EQ(fonts[i].lfHeight, heights[i]) << i;
    EXPECT_EQ(fonts[2].lfEscapement, -900);
    EXPECT_EQ(fonts[2].lfOrientation, -900);
    EXPECT_EQ(fonts[2].lfWidth, 0);
    EXPECT_EQ(fonts[2].lfWeight, 700);
    // Each line is measured once, at the reference size, to see that it
    // fits: the six lines fit and are drawn as they stand.
    EXPECT_EQ(printer.measures.size(), 6u);
    EXPECT_EQ(printer.fonts.size(), 10u);
}

TEST_F(CardRendererTest, PrintSkipsAnEmptyAddresseeCodeButNotTheSendersCode) {
    fill_card();
    text_set(card().tt.m, u"");
    draw_card_print(printer, 0);
    EXPECT_EQ(printer.drawn_fonts().size(), 5u);
    EXPECT_EQ(utf8(printer.fonts[0].lfFaceName), "@HG行書体");
    EXPECT_EQ(printer.placed()[0], on_paper("東京都千代田区", 370, 100));
    Strings placed = printer.placed();
    EXPECT_EQ(std::count(placed.begin(), placed.end(), on_paper("5", 29, 493)), 1);
    EXPECT_EQ(placed.size(), 13u);
}

TEST_F(CardRendererTest, ItemMovedLeftOfTheCardMapsOffThePage) {
    fill_card();
    card().ta.xy[0].x = -5;
    draw_card_preview(screen);
    EXPECT_EQ(screen.placed()[7], "東京都千代田区@5,150");
    draw_card_print(printer, 0);
    EXPECT_GT(printer.texts[7].at.x, 2244);
}

TEST_F(CardRendererTest, PreviewLoadsTheBackgroundEveryPaintAndKeepsTheLastOne) {
    fill_card();
    screen.bitmap_files = {u"C:\\work\\base1.bmp"};
    draw_card_preview(screen);
    ASSERT_EQ(screen.loads.size(), 1u);
    EXPECT_EQ(utf8(screen.loads[0]), "C:\\work\\base1.bmp");
    ASSERT_EQ(screen.stretches.size(), 1u);
    const RecordingSurface::Stretch& s = screen.stretches[0];
    EXPECT_EQ(s.origin.x, 10);
    EXPECT_EQ(s.origin.y, 50);
    EXPECT_EQ(s.width, 400);
    EXPECT_EQ(s.height, 592);
    EXPECT_EQ(screen.events[0], "load C:\\work\\base1.bmp");
    EXPECT_EQ(screen.events[1], "stretch");  // under everything else
    BitmapHandle first = preview_bitmap();
    EXPECT_EQ(first, s.bitmap);
    EXPECT_TRUE(screen.released.empty());

    // The next paint loads it anew and releases the previous one.
    draw_card_preview(screen);
    EXPECT_EQ(screen.loads.size(), 2u);
    EXPECT_EQ(screen.released, std::vector<BitmapHandle>{first});
    EXPECT_NE(preview_bitmap(), first);

    // A missing file leaves no background and no preview bitmap.
    BitmapHandle second = preview_bitmap();
    text_set(card().base_filepass, u"E:\\pics\\x.bmp");
    draw_card_preview(screen);
    EXPECT_EQ(utf8(screen.loads.back()), "E:\\pics\\x.bmp");
    EXPECT_EQ(screen.stretches.size(), 2u);
    EXPECT_EQ(preview_bitmap(), nullptr);
    EXPECT_EQ(screen.released.back(), second);
}

TEST_F(CardRendererTest, OverlongBackgroundNameIsNotLoaded) {
    std::u16string dir = u"C:\\" + std::u16string(250, u'w');
    text_set(doc().work_dir, dir.c_str());
    text_set(card().base_filepass, u"background.bmp");
    draw_card_preview(screen);
    EXPECT_TRUE(screen.loads.empty());
    EXPECT_TRUE(screen.stretches.empty());
    EXPECT_EQ(preview_bitmap(), nullptr);
}

TEST_F(CardRendererTest, PrintDrawsTheBackgroundOnlyWhenAskedAndUnderTheTexts) {
    fill_card();
    printer.bitmap_files = {u"base1.bmp"};
    doc().print.bmp_mode = 0;
    draw_card_print(printer, 0);
    EXPECT_TRUE(printer.loads.empty());

    RecordingSurface page;
    page.caps = printer.caps;
    page.bitmap_files = {u"base1.bmp"};
    doc().print.bmp_mode = 1;
    doc().print.base_px = 7;
    doc().print.base_py = 9;
    draw_card_print(page, 0);
    ASSERT_EQ(page.loads.size(), 1u);
    EXPECT_EQ(utf8(page.loads[0]), "base1.bmp");  // as stored
    ASSERT_EQ(page.stretches.size(), 1u);
    EXPECT_EQ(page.stretches[0].origin.x, 7);
    EXPECT_EQ(page.stretches[0].origin.y, 9);
    EXPECT_EQ(page.stretches[0].width, 2244);
    EXPECT_EQ(page.stretches[0].height, 3389);
    EXPECT_EQ(page.events[1], "stretch");
    EXPECT_EQ(page.events[2], "release");
    EXPECT_EQ(page.released.size(), 1u);
    EXPECT_EQ(preview_bitmap(), nullptr);  // printing does not touch the preview's bitmap

    // A view (a thumbnail, a cell of a printed sheet) maps the card onto its
    // own rectangle with the background as the preview resolves it, whatever
    // bmp_mode says, and records nothing: no mark, no preview state.
    RecordingSurface view;
    view.bitmap_files = {u"C:\\work\\base1.bmp"};
    doc().print.bmp_mode = 0;
    card(0).typ[0] = {0, 0};
    draw_card_view(view, 0, {100, 40}, 200, 296, true);
    ASSERT_EQ(view.stretches.size(), 1u);
    EXPECT_EQ(view.stretches[0].origin.x, 100);
    EXPECT_EQ(view.stretches[0].width, 200);
    EXPECT_EQ(view.stretches[0].height, 296);
    EXPECT_EQ(view.placed()[7], "東京都千代田区@285,90");  // (370 / 2 + 100, 100 / 2 + 40)
    EXPECT_EQ(view.drawn_fonts()[1].lfHeight, card(0).ta.lf.lfHeight / 2);
    EXPECT_EQ(card(0).typ[0].t, 0);
    EXPECT_EQ(preview_bitmap(), nullptr);
}

int g_marked_calls = 0;
int g_marked_card = -1;
int g_marked_year = 0;
void count_marks(int card_index, int year) {
    ++g_marked_calls;
    g_marked_card = card_index;
    g_marked_year = year;
}

TEST_F(CardRendererTest, EveryPrintedPageRecordsTheCardAsSent) {
    fill_card(1);
    card(1).typ[0] = {5, 2025};
    g_marked_calls = 0;
    set_card_marked_hook(count_marks);
    draw_card_print(printer, 1);
    // December 2026: the card year is 2027.
    EXPECT_EQ(g_marked_calls, 1);
    EXPECT_EQ(g_marked_card, 1);
    EXPECT_EQ(g_marked_year, 2027);
    EXPECT_EQ(card(1).typ[0].y, 2027);
    EXPECT_EQ(card(1).typ[0].t, 1);
    EXPECT_EQ(card(1).typ[2].y, 2025);
    EXPECT_EQ(card(1).typ[2].t, 5);
    EXPECT_TRUE(doc().modified);
    draw_card_print(printer, 1);  // a second copy
    EXPECT_EQ(g_marked_calls, 2);
    EXPECT_EQ(card(0).typ[0].y, 0);  // other cards untouched

    // The preview never marks.
    doc().current_card = 2;
    draw_card_preview(screen);
    EXPECT_EQ(g_marked_calls, 2);
}

TEST_F(CardRendererTest, CardWithoutPositiveSizeIsNeitherPrintedNorMarked) {
    fill_card();
    for (auto size : {std::pair<int, int>{0, 592}, {400, 0}, {-400, 592}, {400, -1}}) {
        card().base_w = size.first;
        card().base_h = size.second;
        RecordingSurface page;
        page.caps = printer.caps;
        draw_card_print(page, 0);
        EXPECT_TRUE(page.events.empty());
    }
    EXPECT_EQ(card().typ[0].t, 0);
    EXPECT_FALSE(doc().modified);
    // The preview still shows its items (no division there).
    card().base_w = 0;
    draw_card_preview(screen);
    EXPECT_EQ(screen.texts.size(), 20u);
    EXPECT_TRUE(screen.stretches.empty());
}

TEST_F(CardRendererTest, OutOfRangeIndicesDrawNothingAndDoNotCrash) {
    fill_card();
    draw_card_print(printer, -1);
    draw_card_print(printer, HDATA_MAX);
    EXPECT_TRUE(printer.events.empty());
    EXPECT_FALSE(doc().modified);

    for (int ftb : {-1, FDATA_MAX}) {
        card().ftb = ftb;
        RecordingSurface s;
        draw_card_preview(s);
        EXPECT_EQ(s.texts.size(), 11u) << ftb;  // the addressee side only
        EXPECT_EQ(item_extents().sender_address[0].cx, 0);
    }
}

int g_paints = 0;
void count_paint() { ++g_paints; }

TEST_F(CardRendererTest, EveryPreviewPaintEndsWithTheStatusHook) {
    g_paints = 0;
    set_preview_painted_hook(count_paint);
    draw_card_preview(screen);
    draw_card_preview(screen);
    EXPECT_EQ(g_paints, 2);
    draw_card_print(printer, 0);
    EXPECT_EQ(g_paints, 2);
}

// The room of every line: to 3 mm before the card's edge, or 1 mm before a
// postal code group or the other party's line that its column crosses.
TEST_F(CardRendererTest, EveryLineMayRunToTheEdgeOrTheNearestThingItsColumnCrosses) {
    fill_card();
    CardRecord& c = card();
    EXPECT_EQ(line_room(c, LineBlock::Address, 0), 592 - 12 - 100);
    EXPECT_EQ(line_room(c, LineBlock::Name, 0), 592 - 12 - 115);
    // The sender's address columns cross its four-digit group at y 493.
    EXPECT_EQ(line_room(c, LineBlock::SenderAddress, 0), 493 - 4 - 275);
    EXPECT_EQ(line_room(c, LineBlock::SenderAddress, 1), 493 - 4 - 275);
    EXPECT_EQ(line_room(c, LineBlock::SenderName, 0), 493 - 4 - 390);  // its three-digit group
    // A moved layout: a shorter card; a sender line placed below the first
    // address line; an address line started above the addressee's code.
    c.base_h = 500;
    EXPECT_EQ(line_room(c, LineBlock::Name, 0), 500 - 12 - 115);
    c.fa.xy[0] = {360, 400};
    EXPECT_EQ(line_room(c, LineBlock::Address, 0), 400 - 4 - 100);
    EXPECT_EQ(line_room(c, LineBlock::Address, 1), 500 - 12 - 100);  // its column misses it
    text_set(doc().fdata[0].a[0].s, u"");  // an empty line is no obstacle
    EXPECT_EQ(line_room(c, LineBlock::Address, 0), 500 - 12 - 100);
    c.ta.xy[0] = {370, 40};
    EXPECT_EQ(line_room(c, LineBlock::Address, 0), 53 - 4 - 40);
    c.ta.xy[0] = {370, 60};  // it starts inside the code's row: the edge counts
    EXPECT_EQ(line_room(c, LineBlock::Address, 0), 500 - 12 - 60);
}

// A line longer than its room is set smaller until it fits, down to half
// its size; one that still does not fit is drawn at half size, marked with
// a red bar in the preview and counted. Lines that fit are drawn as before.
TEST_F(CardRendererTest, LongLinesAreSetSmallerDownToHalfTheirSize) {
    fill_card();
    screen.square_cells = printer.square_cells = true;
    text_set(card().ta.m[0].s, u"神奈川県横浜市港北区新横浜三丁目一七番地六");  // 21 x 27 > 480
    text_set(doc().fdata[0].a[0].s, u"東京都千代田区丸の内一丁目一ー一");  // 16 x 16 > 214
    draw_card_preview(screen);
    ASSERT_EQ(screen.texts.size(), 20u);
    EXPECT_EQ(screen.placed()[7], "神奈川県横浜市港北区新横浜三丁目一七番地六@380,150");
    EXPECT_EQ(screen.texts[7].font.lfHeight, -22);  // 462 of 480
    EXPECT_EQ(screen.texts[8].font.lfHeight, -27);
    EXPECT_EQ(screen.placed()[18], "東京都千代田区丸の内一丁目一ー一@130,325");
    EXPECT_EQ(screen.texts[18].font.lfHeight, -13);  // 208 of 214
    EXPECT_EQ(item_extents().address[0].cx, 462);
    EXPECT_EQ(preview_overflow_lines(), 0);
    EXPECT_TRUE(screen.fills.empty());
    EXPECT_EQ(card_overflow_lines(screen, card()), 0);

    // On paper, and on a coarser page, the same plan at the page's scale.
    draw_card_print(printer, 0);
    EXPECT_EQ(printer.placed()[7], on_paper("神奈川県横浜市港北区新横浜三丁目一七番地六", 370, 100));
    EXPECT_EQ(printer.texts[7].font.lfHeight, -22 * 3389 / 592);
    EXPECT_EQ(printer.texts[18].font.lfHeight, -13 * 3389 / 592);
    RecordingSurface coarse;
    coarse.caps = {{kCapHorzRes, 283}, {kCapVertRes, 419}};
    draw_card_print(coarse, 0);
    EXPECT_EQ(coarse.texts[7].font.lfHeight, -22 * 419 / 592);
    EXPECT_EQ(card_overflow_lines(coarse, card()), 0);

    // A line that ends exactly at the end of its room fits as set.
    card().base_h = 100 + 10 * 27 + 12;
    text_set(card().ta.m[2].s, std::u16string(10, u'一').c_str());
    RecordingSurface exact;
    draw_card_preview(exact);
    EXPECT_EQ(exact.texts[9].font.lfHeight, -27);
    EXPECT_EQ(item_extents().address[2].cx, 270);
    card().base_h = 592;
    text_set(card().ta.m[2].s, u"");

    // 40 characters need a third of the size: drawn at half, and flagged.
    text_set(card().ta.m[1].s, std::u16string(40, u'一').c_str());
    RecordingSurface again;
    again.square_cells = true;
    draw_card_preview(again);
    EXPECT_EQ(again.texts[8].font.lfHeight, -14);
    EXPECT_EQ(preview_overflow_lines(), 1);
    ASSERT_EQ(again.fills.size(), 1u);
    EXPECT_EQ(again.fills[0].left, 347);  // beside the column's right edge, along the line
    EXPECT_EQ(again.fills[0].top, 150);
    EXPECT_EQ(again.fills[0].bottom, 150 + 40 * 14);
    EXPECT_EQ(card_overflow_lines(again, card()), 1);
    RecordingSurface page;
    page.caps = printer.caps;
    draw_card_print(page, 0);
    EXPECT_TRUE(page.fills.empty()) << "the red bar is never printed";
    show_overflow_bars(false);  // the bitmap export's paint
    RecordingSurface exported;
    draw_card_preview(exported);
    show_overflow_bars(true);
    EXPECT_TRUE(exported.fills.empty());
    EXPECT_EQ(preview_overflow_lines(), 1);

    // Fitting off: every line at its set size, the long ones still counted.
    fit_switches().fit_long_lines = false;
    RecordingSurface off;
    off.square_cells = true;
    draw_card_preview(off);
    fit_switches().fit_long_lines = true;
    EXPECT_EQ(off.drawn_fonts().size(), 6u);
    EXPECT_EQ(off.texts[7].font.lfHeight, -27);
    EXPECT_EQ(off.texts[18].font.lfHeight, -16);
    EXPECT_EQ(preview_overflow_lines(), 3);
}

// 連名 start where the first line's given name starts, 敬称 end on one
// level; a line aligned by hand, another family name or a missing 敬称
// keep what they say.
TEST_F(CardRendererTest, JointNamesStartUnderTheGivenNameAndHonorificsEndOnOneLevel) {
    struct Case {
        std::vector<std::u16string> names;
        Strings placed;
    };
    // Name lines at x 270 - 50k, y 115, 48 units a character: 山田　is 144.
    const Case cases[] = {
        {{u"山田太郎様"}, {"山田太郎様@280,165"}},
        {{u"山田　太郎　様", u"花子　様"}, {"山田　太郎　様@280,165", "花子　様@230,309"}},
        {{u"山田　太郎　様", u"花子様", u"一郎　様"},
         {"山田　太郎　様@280,165", "花子@230,309", "様@230,453", "一郎　様@180,309"}},
        {{u"山田　太郎　様", u"鈴木　花子　様"}, {"山田　太郎　様@280,165", "鈴木　花子　様@230,165"}},
        {{u"山田　太郎　様", u"　　　花子様"}, {"山田　太郎　様@280,165", "　　　花子様@230,165"}},
        {{u"山田　太郎　様", u"花子"}, {"山田　太郎　様@280,165", "花子@230,309"}},
        // 御一同様 is one 敬称, not 様 after 御一同; alone it stays.
        {{u"山田　太郎兵衛門　様", u"御一同様"}, {"山田　太郎兵衛門　様@280,165", "御一同様@230,165"}},
        {{u"山田商店　御中", u"営業部　御中"}, {"山田商店　御中@280,165", "営業部　@230,165", "御中@230,405"}},
    };
    for (const Case& c : cases) {
        for (int k = 0; k < ADDRESSEE_LINES; ++k)
            text_set(card().tn.m[k].s, k < int(c.names.size()) ? c.names[k].c_str() : u"");
        RecordingSurface s;
        s.square_cells = true;
        draw_card_preview(s);
        EXPECT_EQ(s.placed(), c.placed) << utf8(c.names.back());
    }
    // A 連名 the user placed elsewhere stays there; with the switch off
    // every name is drawn as typed.
    card().tn.xy[1].y = 200;
    RecordingSurface moved;
    moved.square_cells = true;
    draw_card_preview(moved);
    EXPECT_EQ(moved.placed(), (Strings{"山田商店　@280,165", "御中@280,442", "営業部　御中@230,250"}));
    text_set(card().tn.m[0].s, u"山田　太郎　様");
    text_set(card().tn.m[1].s, u"花子　様");
    RecordingSurface given;
    draw_card_preview(given);
    EXPECT_EQ(given.placed(), (Strings{"山田　太郎　様@280,165", "花子　@230,250", "様@230,453"}));
    text_set(card().tn.m[0].s, u"山田商店　御中");
    text_set(card().tn.m[1].s, u"営業部　御中");
    card().tn.xy[1].y = 115;

    fit_switches().align_names = false;
    RecordingSurface off;
    off.square_cells = true;
    draw_card_preview(off);
    fit_switches().align_names = true;
    EXPECT_EQ(off.placed(), (Strings{"山田商店　御中@280,165", "営業部　御中@230,165"}));

    // A family of four with a sender: the fourth line's room ends before the
    // sender's address; below 山田　 it would not fit, so it keeps its own
    // start and is fitted there. No 敬称 level lies in every line's room, so
    // each keeps its end, and nothing is はみ出し.
    fill_card();
    for (TextLine& line : card().ta.m) text_set(line.s, u"");
    const char16_t* family[] = {u"山田　太郎　様", u"花子　様", u"一郎　様", u"次郎　様", u""};
    for (int k = 0; k < ADDRESSEE_LINES; ++k) text_set(card().tn.m[k].s, family[k]);
    RecordingSurface four;
    draw_card_preview(four);
    const Strings placed = four.placed();
    const Strings names(placed.begin() + 7, placed.begin() + 11);
    EXPECT_EQ(names, (Strings{"山田　太郎　様@280,165", "花子　様@230,309", "一郎　様@180,309",
                              "次郎　様@130,165"}));
    EXPECT_EQ(four.texts[10].font.lfHeight, -39);  // 156 units of room, 4 characters
    EXPECT_EQ(preview_overflow_lines(), 0);
    EXPECT_EQ(card_overflow_lines(four, card()), 0);
}

// Lines in a vertical face are drawn in their vertical form, and fitted
// and counted as drawn; the stored text and the postal code digits stay.
TEST_F(CardRendererTest, LinesInAVerticalFaceAreDrawnInTheirVerticalForm) {
    fill_card();
    const struct {
        std::u16string typed, form, kanji;
    } lines[] = {
        {u"京都府京都市左京区北白川東久保田町1-11-18", u"京都府京都市左京区北白川東久保田町１ー１１ー１８",
         u"京都府京都市左京区北白川東久保田町一ー一一ー一八"},
        {u"北白川プラザ402 A-B", u"北白川プラザ４０２　Ａ－Ｂ", u"北白川プラザ四〇二　Ａ－Ｂ"},
        {u"ﾒｿﾞﾝ･ﾄﾞ･ﾊﾟﾙｸ 2F", u"メゾン・ド・パルク　２Ｆ", u"メゾン・ド・パルク　二Ｆ"},
        {u"𠮷野ﾋﾞﾙ1−2", u"𠮷野ビル１ー２", u"𠮷野ビル一ー二"},
    };
    for (int k = 0; k < 4; ++k) text_set(card().ta.m[k].s, lines[k].typed.c_str());
    for (bool kanji : {false, true}) {
        fit_switches().kanji_digits = kanji;
        RecordingSurface s;
        draw_card_preview(s);
        for (int k = 0; k < 4; ++k) {
            const std::u16string& want = kanji ? lines[k].kanji : lines[k].form;
            EXPECT_EQ(s.texts[7 + k].text, want) << k;
            // Measured as drawn; the first line is fitted into its 480 units.
            EXPECT_EQ(item_extents().address[k].cx, std::min(int32_t(want.size()) * 27, 480)) << k;
        }
        EXPECT_EQ(s.texts[0].text, u"1");  // the postal code's digits as typed
    }
    fit_switches().kanji_digits = false;
    fit_switches().vertical_forms = false;
    RecordingSurface off;
    draw_card_preview(off);
    fit_switches().vertical_forms = true;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(off.texts[7 + k].text, lines[k].typed) << k;
    EXPECT_EQ(utf8(card().ta.m[0].s), utf8(lines[0].typed));
}

}  // namespace

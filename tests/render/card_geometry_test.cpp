#include <gtest/gtest.h>

#include <cstring>

#include "model/defaults.h"
#include "render/card_geometry.h"
#include "render/paper_metrics.h"
#include "render/render_state.h"
#include "render/window_geometry.h"

namespace {

class CardGeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        set_default_layout(card());
        item_extents() = ItemExtents{};
    }
    CardRecord& card() { return doc().hdata[0]; }
};

TEST_F(CardGeometryTest, PreviewShiftsByTheOrigin) {
    EXPECT_EQ(to_preview(0, 0).x, 10);
    EXPECT_EQ(to_preview(0, 0).y, 50);
    EXPECT_EQ(to_preview(-5, 7).x, 5);  // left of the card edge, still drawn
    EXPECT_EQ(to_preview(-5, 7).y, 57);
}

TEST_F(CardGeometryTest, PrinterStretchesTheCardOverThePrintableArea) {
    Point p = to_printer(370, 100, 2244, 3389, card());
    EXPECT_EQ(p.x, 2075);
    EXPECT_EQ(p.y, 572);
    EXPECT_EQ(to_printer(400, 592, 2244, 3389, card()).x, 2244);
    EXPECT_EQ(to_printer(400, 592, 2244, 3389, card()).y, 3389);

    // The offset is added in device pixels as stored, not as 0.1 mm.
    doc().print.base_px = 50;
    doc().print.base_py = -20;
    p = to_printer(370, 100, 2244, 3389, card());
    EXPECT_EQ(p.x, 2125);
    EXPECT_EQ(p.y, 552);
}

TEST_F(CardGeometryTest, NegativePositionMapsFarOffThePage) {
    // (2^32 - 5) * 2244 mod 2^32 / 400, unsigned.
    Point p = to_printer(-5, -1, 2244, 3389, card());
    EXPECT_EQ(p.x, 10737390);
    EXPECT_GT(p.y, 3389);
    // A large position wraps like the 32-bit product it is.
    EXPECT_EQ(to_printer(2000000, 0, 2244, 3389, card()).x,
              static_cast<int32_t>(2000000u * 2244u / 400u));
}

TEST_F(CardGeometryTest, PrinterFontHeightTruncatesTowardZero) {
    EXPECT_EQ(printer_font_height(-27, 3389, card()), -154);  // -154.56
    EXPECT_EQ(printer_font_height(27, 3389, card()), 154);
    EXPECT_EQ(printer_font_height(-1, 100, card()), 0);       // -0.17
    EXPECT_EQ(printer_font_height(0, 3389, card()), 0);
    // No 32-bit overflow in the product.
    EXPECT_EQ(printer_font_height(-2000000000, 592, card()), -2000000000);
}

TEST_F(CardGeometryTest, CardWithoutPositiveSizeIsNotMappedAndNeverDivides) {
    for (int w : {0, -400}) {
        card().base_w = w;
        EXPECT_FALSE(card_printable(card()));
        Point p = to_printer(10, 10, 2244, 3389, card());
        EXPECT_TRUE(p.x < 0 || p.x > 2244);
    }
    card().base_w = 400;
    card().base_h = 0;
    EXPECT_FALSE(card_printable(card()));
    EXPECT_EQ(printer_font_height(-27, 3389, card()), -27);
    card().base_h = 592;
    EXPECT_TRUE(card_printable(card()));
}

TEST_F(CardGeometryTest, DigitPositionsFollowTheBoxPitch) {
    CodeBoxes b = code_boxes(card().tt);  // 183, 52, 27 / 270, 53, 26
    const int xs[kCodeDigits] = {183, 210, 237, 270, 296, 322, 348};
    for (int i = 0; i < kCodeDigits; ++i) {
        EXPECT_EQ(digit_position(b, i).x, xs[i]) << i;
        EXPECT_EQ(digit_position(b, i).y, i < 3 ? 52 : 53) << i;
    }
    EXPECT_EQ(to_preview(digit_position(b, 2).x, 0).x, 247);
    CodeBoxes s = code_boxes(card().ft);  // 29, 493, 16 / 80, 493, 16
    EXPECT_EQ(digit_position(s, 6).x, 80 + 3 * 16);
}

TEST_F(CardGeometryTest, GroupRectanglesSpanTheirBoxesAndTheCodeCellHeight) {
    item_extents().code = {12, 24};
    item_extents().sender_code = {9, 19};
    Rect r = item_rect(kItemCodeGroup3);
    EXPECT_EQ(r.left, 193);
    EXPECT_EQ(r.right, 274);
    EXPECT_EQ(r.top, 102);
    EXPECT_EQ(r.bottom, 126);
    r = item_rect(kItemCodeGroup4);
    EXPECT_EQ(r.left, 280);
    EXPECT_EQ(r.right, 280 + 4 * 26);
    EXPECT_EQ(r.bottom, 103 + 24);
    r = item_rect(kItemSenderCodeGroup4);
    EXPECT_EQ(r.left, 90);
    EXPECT_EQ(r.top, 543);
    EXPECT_EQ(r.right, 90 + 64);
    EXPECT_EQ(r.bottom, 543 + 19);
}

TEST_F(CardGeometryTest, LineRectanglesLieLeftOfTheOriginAndRunDown) {
    item_extents().address[0] = {200, 27};
    Rect r = item_rect(kItemAddressLine0);
    EXPECT_EQ(r.left, 353);
    EXPECT_EQ(r.top, 150);
    EXPECT_EQ(r.right, 380);
    EXPECT_EQ(r.bottom, 350);
    // An empty line has an empty rectangle.
    r = item_rect(kItemAddressLine0 + 1);
    EXPECT_EQ(r.left, r.right);
    EXPECT_EQ(r.top, r.bottom);
}

TEST_F(CardGeometryTest, EveryLineItemUsesItsOwnPositionAndExtent) {
    ItemExtents& e = item_extents();
    struct Case {
        ItemId id;
        LinePos pos;
        Extent* extent;
    };
    const Case cases[] = {
        {3, card().ta.xy[0], &e.address[0]},  {7, card().ta.xy[4], &e.address[4]},
        {8, card().tn.xy[0], &e.name[0]},     {12, card().tn.xy[4], &e.name[4]},
        {15, card().fa.xy[0], &e.sender_address[0]}, {16, card().fa.xy[1], &e.sender_address[1]},
        {17, card().fn.xy[0], &e.sender_name[0]},    {18, card().fn.xy[1], &e.sender_name[1]},
    };
    for (const Case& c : cases) {
        *c.extent = {100 + c.id, 20 + c.id};
        Rect r = item_rect(c.id);
        EXPECT_EQ(r.left, 10 + c.pos.x - (20 + c.id)) << c.id;
        EXPECT_EQ(r.top, 50 + c.pos.y) << c.id;
        EXPECT_EQ(r.right, 10 + c.pos.x) << c.id;
        EXPECT_EQ(r.bottom, 50 + c.pos.y + 100 + c.id) << c.id;
    }
    for (ItemId id : {kItemNone, 19, -1}) {
        Rect r = item_rect(id);
        EXPECT_EQ(r.right - r.left, 0) << id;
    }
}

TEST_F(CardGeometryTest, ExtremePositionsWrapInsteadOfOverflowing) {
    card().tt.x1 = INT32_MAX;
    card().tt.w1 = INT32_MAX;
    Rect r = item_rect(kItemCodeGroup3);  // no signed overflow
    EXPECT_EQ(r.left, static_cast<int32_t>(static_cast<uint32_t>(INT32_MAX) + 10u));
}

TEST(WindowGeometryTest, PlacedFromTheScreenSize) {
    WindowPlacement p = main_window_placement(1920, 1080);
    EXPECT_EQ(p.left, 235);
    EXPECT_EQ(p.top, 175);
    EXPECT_EQ(p.width, 435);
    EXPECT_EQ(p.height, 730);
    p = main_window_placement(1280, 720);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, -5);
    p = main_window_placement(1451, 731);  // truncation toward zero
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
}

TEST(PaperMetricsTest, PhysicalSizeIsUsedOnlyWithAnUnprintableMargin) {
    // A postcard at 600 dpi with margins: 2362 px = 99.99 mm.
    PaperCaps caps{600, 600, 2362, 3496, 96, 144, 50, 50};
    read_paper_metrics(caps);
    EXPECT_EQ(paper_width(), 1000);
    EXPECT_EQ(paper_height(), 1480);
    caps.physicaloffsetx = 0;
    read_paper_metrics(caps);
    EXPECT_EQ(paper_width(), 960);   // HORZSIZE x 10
    EXPECT_EQ(paper_height(), 1480);
    caps.physicaloffsety = 0;
    read_paper_metrics(caps);
    EXPECT_EQ(paper_height(), 1440);
}

TEST(PaperMetricsTest, DeviceWithoutResolutionFallsBackToItsSize) {
    read_paper_metrics(PaperCaps{0, 0, 2362, 3496, 96, 144, 50, 50});
    EXPECT_EQ(paper_width(), 960);
    EXPECT_EQ(paper_height(), 1440);
}

TEST(PaperMetricsTest, KnownCodesSetTheSizeUnknownOnesLeaveIt) {
    set_paper_size(1, 2);
    EXPECT_FALSE(paper_size_from_code(2));
    EXPECT_FALSE(paper_size_from_code(0));
    EXPECT_FALSE(paper_size_from_code(154));
    EXPECT_EQ(paper_width(), 1);
    EXPECT_EQ(paper_height(), 2);
    struct Known {
        int code;
        int32_t w, h;
    };
    const Known known[] = {{1, 2159, 2794},  {9, 2100, 2970},  {43, 1000, 1480},
                           {70, 1050, 1480}, {82, 1480, 2000}, {88, 1280, 1820},
                           {122, 1016, 1524}, {131, 2330, 2972}, {153, 5940, 8410}};
    for (const Known& k : known) {
        EXPECT_TRUE(paper_size_from_code(k.code)) << k.code;
        EXPECT_EQ(paper_width(), k.w) << k.code;
        EXPECT_EQ(paper_height(), k.h) << k.code;
    }
    int count = 0;
    for (int code = 0; code < 300; ++code) count += paper_size_from_code(code) ? 1 : 0;
    EXPECT_EQ(count, 30);
}

}  // namespace

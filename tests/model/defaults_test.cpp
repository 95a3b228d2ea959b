#include <gtest/gtest.h>

#include <cstring>

#include "model/defaults.h"
#include "model/text.h"
#include "tests/support/full_document.h"

namespace {

class DefaultsTest : public ::testing::Test {
protected:
    void SetUp() override { std::memset(&doc(), 0, sizeof(Document)); }
};

TEST_F(DefaultsTest, NewDocumentHasNoSendersNoCardsAndTheDefaultBackground) {
    fill_full_document();
    doc().current_card = 17;
    doc().modified = true;
    clear_senders();
    clear_addressees();
    reset_layouts();
    EXPECT_EQ(count_cards(), 0);
    EXPECT_EQ(count_senders(), 0);
    for (int i = 0; i < HDATA_MAX; ++i) {
        const CardRecord& c = doc().hdata[i];
        ASSERT_TRUE(text_equal(c.base_filepass, u"base1.bmp")) << i;
        // The whole field was cleared, not only the start overwritten.
        for (int u = 9; u < PATH_CAP; ++u) ASSERT_EQ(c.base_filepass[u], 0) << i;
        for (int k = 0; k < ADDRESSEE_LINES; ++k) ASSERT_EQ(c.tn.m[k].s[LINE_CAP - 1], 0);
        ASSERT_EQ(c.ftb, 0);
        ASSERT_EQ(c.typ[9].y, 0);
    }
    for (const SenderRecord& s : doc().fdata) {
        EXPECT_EQ(s.a[1].s[LINE_CAP - 2], 0);
        EXPECT_EQ(s.n[1].s[0], 0);
    }
    EXPECT_EQ(doc().current_card, 17);
    EXPECT_TRUE(doc().modified);
}

TEST_F(DefaultsTest, DefaultLayoutValues) {
    reset_layouts();
    const CardRecord& c = doc().hdata[123];
    EXPECT_EQ(c.base_w, 400);
    EXPECT_EQ(c.base_h, 592);
    EXPECT_EQ(c.tt.x1, 183);
    EXPECT_EQ(c.tt.y1, 52);
    EXPECT_EQ(c.tt.w1, 27);
    EXPECT_EQ(c.tt.x2, 270);
    EXPECT_EQ(c.tt.y2, 53);
    EXPECT_EQ(c.tt.w2, 26);
    const int ta_x[] = {370, 335, 300, 265, 230};
    const int tn_x[] = {270, 220, 170, 120, 70};
    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        EXPECT_EQ(c.ta.xy[k].x, ta_x[k]);
        EXPECT_EQ(c.ta.xy[k].y, 100);
        EXPECT_EQ(c.tn.xy[k].x, tn_x[k]);
        EXPECT_EQ(c.tn.xy[k].y, 115);
    }
    EXPECT_EQ(c.ft.x1, 29);
    EXPECT_EQ(c.ft.y1, 493);
    EXPECT_EQ(c.ft.w1, 16);
    EXPECT_EQ(c.ft.x2, 80);
    EXPECT_EQ(c.ft.y2, 493);
    EXPECT_EQ(c.ft.w2, 16);
    EXPECT_EQ(c.fa.xy[0].x, 120);
    EXPECT_EQ(c.fa.xy[1].x, 100);
    EXPECT_EQ(c.fa.xy[1].y, 275);
    EXPECT_EQ(c.fn.xy[0].x, 70);
    EXPECT_EQ(c.fn.xy[1].x, 50);
    EXPECT_EQ(c.fn.xy[1].y, 390);

    struct Font {
        const LogFont& lf;
        int height, escapement, pitch;
        const char16_t* face;
    };
    const Font fonts[] = {
        {c.tt.lf, -24, 0, 49, u"ＭＳ ゴシック"}, {c.ta.lf, -27, -900, 65, u"@HG行書体"},
        {c.tn.lf, -48, -900, 65, u"@HG行書体"},  {c.ft.lf, -19, 0, 49, u"ＭＳ ゴシック"},
        {c.fa.lf, -16, -900, 65, u"@HG行書体"},  {c.fn.lf, -19, -900, 66, u"@HG行書体"},
    };
    for (const Font& f : fonts) {
        EXPECT_EQ(f.lf.lfHeight, f.height);
        EXPECT_EQ(f.lf.lfWidth, 0);
        EXPECT_EQ(f.lf.lfEscapement, f.escapement);
        EXPECT_EQ(f.lf.lfOrientation, f.escapement);
        EXPECT_EQ(f.lf.lfWeight, 700);
        EXPECT_EQ(f.lf.lfItalic + f.lf.lfUnderline + f.lf.lfStrikeOut, 0);
        EXPECT_EQ(f.lf.lfCharSet, 128);
        EXPECT_EQ(f.lf.lfOutPrecision, 3);
        EXPECT_EQ(f.lf.lfClipPrecision, 2);
        EXPECT_EQ(f.lf.lfQuality, 1);
        EXPECT_EQ(f.lf.lfPitchAndFamily, f.pitch);
        EXPECT_TRUE(text_equal(f.lf.lfFaceName, f.face));
    }
    for (const RgbColor* col : {&c.tt.c, &c.ta.c, &c.tn.c, &c.ft.c, &c.fa.c, &c.fn.c})
        EXPECT_EQ(col->r + col->g + col->b, 0);

    const PrintSettings& p = doc().print;
    EXPECT_EQ(describe_print(p), describe_print(PrintSettings{1000, 1480, 0, 0, 0, 0, 1, 1}));
}

TEST_F(DefaultsTest, ClearingAndResettingTouchOnlyTheirOwnFields) {
    fill_full_document();
    const std::string addressee = describe_addressee(doc().hdata[42]);
    const std::string sender = describe_sender(doc().fdata[3]);
    reset_layouts();
    EXPECT_EQ(describe_addressee(doc().hdata[42]), addressee);
    EXPECT_EQ(describe_sender(doc().fdata[3]), sender);

    fill_full_document();
    const std::string layout = describe_layout(doc().hdata[199]);
    clear_addressees();
    clear_senders();
    EXPECT_EQ(describe_layout(doc().hdata[199]), layout);
    EXPECT_EQ(doc().print.stop_p, 199);
}

TEST_F(DefaultsTest, LayoutClipboardDiffersOnlyInTheSenderPostalCode) {
    reset_layouts();
    reset_layout_clipboard();
    CardRecord expected = doc().hdata[0];
    expected.ft.x2 = 75;
    EXPECT_EQ(doc().layout_clipboard.ft.x2, 75);
    EXPECT_EQ(describe_layout(doc().layout_clipboard), describe_layout(expected));
    EXPECT_EQ(doc().hdata[0].ft.x2, 80);
}

}  // namespace

#include "print/print_position.h"

#include <gtest/gtest.h>

#include <map>

#include "model/document.h"
#include "print/decimal_text.h"
#include "print/message_format.h"
#include "print/print_dialog_ids.h"
#include "print/printer_state.h"
#include "render/paper_metrics.h"
#include "tests/print/print_test_document.h"
#include "tests/support/fake_platform.h"

namespace {

class FakeControls : public DialogControls {
public:
    std::map<int, std::u16string> texts;
    std::map<int, bool> checks;

    void get_text(int id, char16_t* out, int cap) override {
        text_copy(out, cap, texts[id].c_str());
    }
    void set_text(int id, const char16_t* text) override { texts[id] = text; }
    bool checked(int id) override { return checks[id]; }
    void set_checked(int id, bool on) override { checks[id] = on; }

    std::string text(int id) { return utf8(texts[id]); }
    void check_only(int id) {
        for (int b : {IDC_PP_MODE_ONE, IDC_PP_MODE_ALL, IDC_PP_MODE_RANGE}) checks[b] = b == id;
    }
};

class PrintPositionTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    FakeControls controls_;

    void SetUp() override {
        reset_print_test_document(12);
        PrintSettings& s = doc().print;
        s.base_pw = 1000;
        s.base_ph = 1485;
        s.base_px = 25;
        s.base_py = -5;
        s.prn_mode = 0;
        s.bmp_mode = 1;
        s.start_p = 3;
        s.stop_p = 7;
        text_set(printer_state().printer_name, u"Office Printer");
        set_paper_size(2100, 2970);
    }
};

TEST_F(PrintPositionTest, FillShowsPrinterPaperLengthsModeRangeAndBackground) {
    fill_print_position(controls_);
    EXPECT_EQ(controls_.text(IDC_PP_PRINTER), "プリンタ　Office Printer");
    EXPECT_EQ(controls_.text(IDC_PP_PAPER), "用紙サイズ　210.0（横）×297.0（縦）単位mm");
    EXPECT_EQ(controls_.text(IDC_PP_CARD_WIDTH), "100.0");
    EXPECT_EQ(controls_.text(IDC_PP_CARD_HEIGHT), "148.5");
    EXPECT_EQ(controls_.text(IDC_PP_OFFSET_X), "2.5");
    EXPECT_EQ(controls_.text(IDC_PP_OFFSET_Y), "-0.5");
    EXPECT_TRUE(controls_.checks[IDC_PP_MODE_ONE]);
    EXPECT_FALSE(controls_.checks[IDC_PP_MODE_ALL]);
    EXPECT_EQ(controls_.text(IDC_PP_START), "3");
    EXPECT_EQ(controls_.text(IDC_PP_STOP), "7");
    EXPECT_TRUE(controls_.checks[IDC_PP_BACKGROUND]);

    doc().print.base_px = -25;
    doc().print.base_pw = -1234;  // accepted by the read-back, shown signed
    doc().print.bmp_mode = 2;
    fill_print_position(controls_);
    EXPECT_EQ(controls_.text(IDC_PP_OFFSET_X), "-2.5");
    EXPECT_EQ(controls_.text(IDC_PP_CARD_WIDTH), "-123.4");
    EXPECT_FALSE(controls_.checks[IDC_PP_BACKGROUND]);
}

TEST_F(PrintPositionTest, FillChecksOneRadioButtonForEveryMode) {
    const std::pair<int32_t, int> cases[] = {{0, IDC_PP_MODE_ONE},   {1, IDC_PP_MODE_ALL},
                                             {2, IDC_PP_MODE_RANGE}, {3, IDC_PP_MODE_ONE},
                                             {-7, IDC_PP_MODE_ONE},  {99, IDC_PP_MODE_ONE}};
    for (const auto& c : cases) {
        doc().print.prn_mode = c.first;
        fill_print_position(controls_);
        for (int b : {IDC_PP_MODE_ONE, IDC_PP_MODE_ALL, IDC_PP_MODE_RANGE})
            EXPECT_EQ(controls_.checks[b], b == c.second) << c.first << " " << b;
    }
}

TEST_F(PrintPositionTest, ModeThreeOpensAsOneCardAndOkMakesItZero) {
    doc().print.prn_mode = 3;
    fill_print_position(controls_);
    take_print_position(controls_);
    EXPECT_EQ(doc().print.prn_mode, 0);
    controls_.check_only(IDC_PP_MODE_RANGE);
    take_print_position(controls_);
    EXPECT_EQ(doc().print.prn_mode, 2);
    controls_.check_only(IDC_PP_MODE_ALL);
    take_print_position(controls_);
    EXPECT_EQ(doc().print.prn_mode, 1);
}

TEST_F(PrintPositionTest, LengthsReadBackAsTenthsTruncated) {
    fill_print_position(controls_);
    controls_.texts[IDC_PP_CARD_WIDTH] = u"105.3";
    controls_.texts[IDC_PP_CARD_HEIGHT] = u"12.34";
    controls_.texts[IDC_PP_OFFSET_X] = u"-0.5";
    controls_.texts[IDC_PP_OFFSET_Y] = u"abc";
    take_print_position(controls_);
    EXPECT_EQ(doc().print.base_pw, 1053);
    EXPECT_EQ(doc().print.base_ph, 123);
    EXPECT_EQ(doc().print.base_px, -5);
    EXPECT_EQ(doc().print.base_py, 0);

    // What fill shows reads back unchanged.
    fill_print_position(controls_);
    take_print_position(controls_);
    EXPECT_EQ(doc().print.base_pw, 1053);
    EXPECT_EQ(doc().print.base_px, -5);
}

TEST_F(PrintPositionTest, RangeIsCorrectedAndTheCorrectionShown) {
    fill_print_position(controls_);
    controls_.texts[IDC_PP_START] = u"0";
    controls_.texts[IDC_PP_STOP] = u"250";
    take_print_position(controls_);
    EXPECT_EQ(doc().print.start_p, 1);
    EXPECT_EQ(doc().print.stop_p, 12);
    EXPECT_EQ(controls_.text(IDC_PP_START), "1");
    EXPECT_EQ(controls_.text(IDC_PP_STOP), "12");

    controls_.texts[IDC_PP_START] = u"15";
    controls_.texts[IDC_PP_STOP] = u"12";
    take_print_position(controls_);
    EXPECT_EQ(doc().print.start_p, 12);
    EXPECT_EQ(controls_.text(IDC_PP_START), "12");

    controls_.texts[IDC_PP_START] = u"x";  // no number: 0, corrected to 1
    controls_.texts[IDC_PP_STOP] = u" 5 cards";
    take_print_position(controls_);
    EXPECT_EQ(doc().print.start_p, 1);
    EXPECT_EQ(doc().print.stop_p, 5);
    EXPECT_EQ(controls_.text(IDC_PP_STOP), " 5 cards");  // not corrected, not rewritten
}

TEST_F(PrintPositionTest, CancelPutsBackOnlyTheFourLengths) {
    LengthBackup backup = backup_lengths();
    fill_print_position(controls_);
    controls_.texts[IDC_PP_CARD_WIDTH] = u"90";
    controls_.texts[IDC_PP_OFFSET_Y] = u"4";
    controls_.check_only(IDC_PP_MODE_ALL);
    take_print_position(controls_);  // the preview was refreshed
    restore_lengths(backup);
    EXPECT_EQ(doc().print.base_pw, 1000);
    EXPECT_EQ(doc().print.base_ph, 1485);
    EXPECT_EQ(doc().print.base_px, 25);
    EXPECT_EQ(doc().print.base_py, -5);
    EXPECT_EQ(doc().print.prn_mode, 1);  // stays as the last read-back took it
}

TEST_F(PrintPositionTest, PreviewIsDrawnToScaleBelowTheControls) {
    PositionPreview p = position_preview();
    EXPECT_EQ(p.paper.left, 95);  // portrait A4
    EXPECT_EQ(p.paper.top, 150);
    EXPECT_EQ(p.paper.right, 95 + 210);
    EXPECT_EQ(p.paper.bottom, 150 + 297);
    EXPECT_EQ(p.card.left, 95 + 2);  // base_px 25 / 10
    EXPECT_EQ(p.card.top, 150);      // base_py -5 / 10 truncates to 0
    EXPECT_EQ(p.card.right - p.card.left, 100);
    EXPECT_EQ(p.card.bottom - p.card.top, 148);

    doc().print.base_pw = 1053;
    set_paper_size(2970, 2100);  // landscape paper
    p = position_preview();
    EXPECT_EQ(p.paper.left, 70);
    EXPECT_EQ(p.card.right - p.card.left, 105);
}

TEST(DecimalText, ReadsLikeWtof) {
    EXPECT_EQ(text_to_tenths(u"148.5", 31), 1485);
    EXPECT_EQ(text_to_tenths(u"  +7.25mm", 31), 72);
    EXPECT_EQ(text_to_tenths(u"-.5", 31), -5);
    EXPECT_EQ(text_to_tenths(u"3.", 31), 30);
    EXPECT_EQ(text_to_tenths(u"1e1", 31), 100);
    EXPECT_EQ(text_to_tenths(u"2e", 31), 20);
    EXPECT_EQ(text_to_tenths(u"-", 31), 0);
    EXPECT_EQ(text_to_tenths(u".", 31), 0);
    EXPECT_EQ(text_to_tenths(u"0x10", 31), 0);
    EXPECT_EQ(text_to_tenths(u"inf", 31), 0);
    EXPECT_EQ(text_to_tenths(u"", 31), 0);
    EXPECT_EQ(text_to_tenths(u"1e300", 31), INT32_MAX);
    EXPECT_EQ(text_to_tenths(u"-99999999999", 31), INT32_MIN);
    EXPECT_EQ(text_to_tenths(u"12345", 3), 1230);  // only the units allowed are read
    // Every one-decimal length reads back as it was written.
    for (int32_t v = -20000; v <= 20000; ++v) {
        char16_t text[16];
        format_tenths(text, 16, v);
        ASSERT_EQ(text_to_tenths(text, 31), v) << v;
    }
}

}  // namespace

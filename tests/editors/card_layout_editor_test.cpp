#include "editors/card_layout_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "app/navigation.h"
#include "editors/card_layout_ids.h"
#include "editors/editor_shared.h"
#include "model/defaults.h"
#include "model/text.h"
#include "print/printer_state.h"
#include "tests/editors/fake_dialog_view.h"
#include "tests/print/fake_printer_spooler.h"
#include "tests/render/recording_surface.h"
#include "tests/support/fake_platform.h"
#include "tests/support/full_document.h"

namespace {

// Answers the font and colour choosers as scripted and measures on a
// recording surface (cx = 10 per code unit).
class FakeChoosers : public LayoutChoosers {
public:
    RecordingSurface surface;
    bool font_ok = false;
    LogFont font_answer{};
    int font_calls = 0;
    std::u16string font_printer;  // "" when no printer was offered
    LogFont font_offered{};
    bool colour_ok = false;
    RgbColor colour_answer{};
    RgbColor colour_offered{};
    int modal_choosers = 0;  // choosers run while the main window takes no commands

    bool choose_font(WindowHandle, const PrinterEntry* printer, LogFont& font) override {
        ++font_calls;
        modal_choosers += editor_modal_open();
        font_printer = printer ? printer->name : u"";
        font_offered = font;
        if (font_ok) font = font_answer;
        return font_ok;
    }
    bool choose_colour(WindowHandle, RgbColor& colour) override {
        colour_offered = colour;
        modal_choosers += editor_modal_open();
        if (colour_ok) colour = colour_answer;
        return colour_ok;
    }
    DrawingSurface& screen_surface() override { return surface; }
};

class CardLayoutEditorTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    FakePrinterSpooler spooler_;
    FakeDialogView view_;
    FakeChoosers choosers_;
    std::optional<CardLayoutEditor> editor_;

    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        reset_layouts();
        reset_layout_clipboard();
        set_nav_request(NAV_NONE);
        text_set(doc().work_dir, u"C:\\work");
    }
    void TearDown() override { set_nav_request(NAV_NONE); }

    static void use_cards(int n) {
        for (int i = 0; i < n; ++i) text_set(doc().hdata[i].tn.m[0].s, u"宛名");
    }
    void open(int current) {
        doc().current_card = current;
        editor_.emplace(view_);  // as when the dialog opens
        editor_->open();
    }
    void press(int id) { EXPECT_TRUE(editor_->press(choosers_, id)) << id; }
    std::string shown(int id) const { return utf8(view_.text(id)); }
    static CardRecord& card(int i) { return doc().hdata[i]; }
};

TEST_F(CardLayoutEditorTest, PagesThroughTheCardsInUseStoringBeforeEachMove) {
    use_cards(5);
    card(3).ta.xy[0].x = 321;
    set_nav_request(NAV_NEXT);
    open(3);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:4/5");
    EXPECT_EQ(shown(IDC_CL_TA_X), "321");
    EXPECT_EQ(shown(IDC_CL_BITMAP), "base1.bmp");
    EXPECT_EQ(shown(IDC_CL_TA_LINE), "番号:1/5");
    EXPECT_EQ(shown(IDC_CL_FN_LINE), "番号:1/2");
    EXPECT_EQ(nav_request(), NAV_NONE);
    EXPECT_EQ(view_.main_repaints, 1);

    // Typed values reach the card when the page turns: four characters at
    // most, like _wtoi; the bitmap name at most 259 characters.
    view_.type(IDC_CL_TA_X, u"250");
    view_.type(IDC_CL_TT_X1, u"12345");
    view_.type(IDC_CL_TT_Y1, u"abc");
    view_.type(IDC_CL_FN_Y, u"-42");
    view_.type(IDC_CL_BITMAP, std::u16string(300, u'b'));
    view_.type(IDC_CL_SPACING, u"99");
    press(IDC_CL_NEXT_PAGE);
    EXPECT_EQ(card(3).ta.xy[0].x, 250);
    EXPECT_EQ(card(3).tt.x1, 1234);
    EXPECT_EQ(card(3).tt.y1, 0);
    EXPECT_EQ(card(3).fn.xy[0].y, -42);
    EXPECT_EQ(text_length(card(3).base_filepass), PATH_CAP - 1);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:5/5");
    EXPECT_EQ(shown(IDC_CL_SPACING), "20") << "226 and 227 are set again at every showing";
    EXPECT_EQ(shown(IDC_CL_TOP), "170");
    EXPECT_EQ(doc().current_card, 4);

    press(IDC_CL_NEXT_PAGE);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:1/5") << "the last card wraps to the first";
    press(IDC_CL_PREVIOUS_PAGE);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:5/5") << "the first card wraps to the last";
    EXPECT_EQ(doc().current_card, 4);
    EXPECT_EQ(card(3).ta.xy[0].x, 250);

    // The main window's toolbar moved on: the timer stores and follows, and
    // leaves current_card to the main window.
    view_.type(IDC_CL_TA_Y, u"77");
    editor_->follow_navigation();
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:5/5") << "no request, no move";
    set_nav_request(NAV_PREVIOUS);
    editor_->follow_navigation();
    EXPECT_EQ(card(4).ta.xy[0].y, 77);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:4/5");
    EXPECT_EQ(nav_request(), NAV_NONE);
    EXPECT_EQ(doc().current_card, 4);
}

TEST_F(CardLayoutEditorTest, NoCardsStayOnPageZeroAndAllCardsWrapAtTwoHundred) {
    open(0);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:1/0");
    press(IDC_CL_NEXT_PAGE);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:1/0");
    press(IDC_CL_PREVIOUS_PAGE);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:1/0");

    use_cards(HDATA_MAX);
    open(0);
    press(IDC_CL_PREVIOUS_PAGE);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:200/200");
    EXPECT_EQ(doc().current_card, 199);
    press(IDC_CL_NEXT_PAGE);
    EXPECT_EQ(shown(IDC_CL_PAGE), "Page:1/200");
    EXPECT_EQ(doc().current_card, 0);
}

TEST_F(CardLayoutEditorTest, LineSelectorsWrapAndTopsAndSpacingMoveEveryLine) {
    use_cards(3);
    open(0);
    view_.type(IDC_CL_TA_X, u"360");
    press(IDC_CL_TA_PREVIOUS);
    EXPECT_EQ(card(0).ta.xy[0].x, 360) << "stored before the selector moves";
    EXPECT_EQ(shown(IDC_CL_TA_LINE), "番号:5/5");
    EXPECT_EQ(shown(IDC_CL_TA_X), "230");
    press(IDC_CL_TA_NEXT);
    EXPECT_EQ(shown(IDC_CL_TA_LINE), "番号:1/5");
    press(IDC_CL_FA_NEXT);
    press(IDC_CL_FA_NEXT);
    EXPECT_EQ(shown(IDC_CL_FA_LINE), "番号:1/2") << "sender lines wrap after two";
    press(IDC_CL_FN_PREVIOUS);
    EXPECT_EQ(shown(IDC_CL_FN_LINE), "番号:2/2");
    EXPECT_EQ(shown(IDC_CL_FN_X), "50");

    // "高" takes field 227 without storing the others: the typed 250 is lost.
    view_.type(IDC_CL_FN_X, u"250");
    press(IDC_CL_FN_TOPS);
    EXPECT_EQ(card(0).fn.xy[0].y, 170);
    EXPECT_EQ(card(0).fn.xy[1].y, 170);
    EXPECT_EQ(card(0).fn.xy[1].x, 50);
    EXPECT_EQ(shown(IDC_CL_FN_X), "50");
    view_.type(IDC_CL_TOP, u"");
    press(IDC_CL_TN_TOPS);
    for (const LinePos& p : card(0).tn.xy) EXPECT_EQ(p.y, 0);

    // "横" with field 226: lines stand the step apart from line 0.
    view_.type(IDC_CL_TA_X, u"370");
    press(IDC_CL_TA_SPACING);
    EXPECT_EQ(card(0).ta.xy[1].x, 350);
    EXPECT_EQ(card(0).ta.xy[4].x, 290);
    EXPECT_EQ(card(0).ta.xy[4].y, 100) << "y stays";
    EXPECT_TRUE(choosers_.surface.measures.empty());

    // Empty: the advance of "警" and a NUL in the item's own font.
    card(0).fa.lf.lfHeight = -33;
    view_.type(IDC_CL_SPACING, u"");
    press(IDC_CL_FA_SPACING);
    ASSERT_EQ(choosers_.surface.measures.size(), 1u);
    EXPECT_EQ(choosers_.surface.measures[0].text, std::u16string(u"警\0", 2));
    EXPECT_EQ(choosers_.surface.fonts[0].lfHeight, -33);
    EXPECT_EQ(choosers_.surface.open_fonts, 0) << "the measuring font is released";
    EXPECT_EQ(card(0).fa.xy[1].x, 120 - 2 * 33);
}

TEST_F(CardLayoutEditorTest, FontsKeepTheirDirectionAndColoursComeFromTheChooser) {
    use_cards(1);
    spooler_.printers = {{u"First", u"LPT1", u"Driver A"}, {u"Chosen", u"LPT2", u"Driver B"}};
    text_set(printer_state().printer_name, u"Chosen");
    open(0);

    // A horizontal face confirmed for the address lines stays vertical.
    choosers_.font_ok = true;
    choosers_.font_answer = card(0).tt.lf;
    text_set(choosers_.font_answer.lfFaceName, u"Horizontal");
    press(IDC_CL_TA_FONT);
    EXPECT_EQ(choosers_.font_printer, u"Chosen");
    EXPECT_EQ(utf8(card(0).ta.lf.lfFaceName), "Horizontal");
    EXPECT_EQ(card(0).ta.lf.lfEscapement, -900);
    EXPECT_EQ(card(0).ta.lf.lfOrientation, -900);
    EXPECT_TRUE(platform_.boxes.empty());

    // Cancelled for the postal code: still set horizontal; an unknown
    // printer falls back to the first one.
    card(0).tt.lf.lfEscapement = 450;
    card(0).tt.lf.lfOrientation = 450;
    choosers_.font_ok = false;
    text_set(printer_state().printer_name, u"Gone");
    press(IDC_CL_TT_FONT);
    EXPECT_EQ(utf8(choosers_.font_offered.lfFaceName), "ＭＳ ゴシック");
    EXPECT_EQ(choosers_.font_printer, u"First");
    EXPECT_EQ(card(0).tt.lf.lfEscapement, 0);
    EXPECT_EQ(card(0).tt.lf.lfOrientation, 0);
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(utf8(platform_.boxes[0].text), "プリンタが選定が不明ですので先頭プリンタにします");
    EXPECT_EQ(utf8(platform_.boxes[0].caption), "フォント選択");

    // No printer installed at all: the chooser offers the screen's fonts.
    spooler_.printers.clear();
    press(IDC_CL_FN_FONT);
    EXPECT_EQ(choosers_.font_calls, 3);
    EXPECT_EQ(choosers_.font_printer, u"");

    card(0).tn.c = RgbColor{1, 2, 3};
    press(IDC_CL_TN_COLOUR);
    EXPECT_EQ(choosers_.colour_offered.b, 3);
    EXPECT_EQ(card(0).tn.c.r, 1) << "cancelled: unchanged";
    choosers_.colour_ok = true;
    choosers_.colour_answer = RgbColor{200, 100, 50};
    press(IDC_CL_FT_COLOUR);
    EXPECT_EQ(card(0).ft.c.r, 200);
    EXPECT_EQ(card(0).ft.c.g, 100);
    EXPECT_EQ(card(0).ft.c.b, 50);
}

TEST_F(CardLayoutEditorTest, ClipboardCarriesLayoutsButNeverTextsSendersOrStatus) {
    fill_full_document();
    for (int i = 50; i < HDATA_MAX; ++i) card(i).tt.m[0] = card(i).ta.m[0].s[0] = card(i).tn.m[0].s[0] = 0;
    ASSERT_EQ(count_cards(), 50);
    CardRecord before[HDATA_MAX];
    std::memcpy(before, doc().hdata, sizeof before);
    reset_layout_clipboard();

    open(7);
    press(IDC_CL_PASTE);
    EXPECT_EQ(card(7).ft.x2, 75) << "the clipboard starts with the default layout";
    EXPECT_EQ(describe_addressee(card(7)), describe_addressee(before[7]));

    open(2);
    view_.type(IDC_CL_TA_X, u"111");
    press(IDC_CL_COPY);
    EXPECT_EQ(card(2).ta.xy[0].x, 111) << "stored before copying";
    press(IDC_CL_PASTE_ALL);
    for (int i = 0; i < HDATA_MAX; ++i) {
        const CardRecord& expect = i < 50 ? card(2) : before[i];
        EXPECT_EQ(describe_layout(card(i)), describe_layout(expect)) << i;
        EXPECT_EQ(describe_addressee(card(i)), describe_addressee(before[i])) << i;
    }
    EXPECT_EQ(shown(IDC_CL_TA_X), "111");
}

TEST_F(CardLayoutEditorTest, ResetUndoAndCloseBoxGoBackToTheOpeningState) {
    fill_full_document();
    CardRecord before[HDATA_MAX];
    std::memcpy(before, doc().hdata, sizeof before);
    PrintSettings print = doc().print;
    doc().modified = false;

    open(5);
    std::string shown_at_open = shown(IDC_CL_TA_X);
    press(IDC_CL_RESET);
    for (int i = 0; i < HDATA_MAX; ++i) {
        CardRecord expect = before[i];
        set_default_layout(expect);
        ASSERT_EQ(describe_layout(card(i)), describe_layout(expect)) << i;
        ASSERT_EQ(describe_addressee(card(i)), describe_addressee(before[i])) << i;
    }
    EXPECT_EQ(doc().print.base_pw, 1000);
    EXPECT_EQ(shown(IDC_CL_TA_X), "370");

    // Undo shows the restored card, so the next page turn cannot write the
    // reset values back into it; numbers wider than four characters that
    // the user left alone survive the store.
    press(IDC_CL_UNDO);
    EXPECT_EQ(shown(IDC_CL_TA_X), shown_at_open);
    press(IDC_CL_NEXT_PAGE);
    for (int i = 0; i < HDATA_MAX; ++i)
        ASSERT_EQ(describe_layout(card(i)), describe_layout(before[i])) << i;
    EXPECT_EQ(describe_print(doc().print), describe_print(print));

    // "画面取込" takes over a change made outside the dialog (a drag).
    card(6).tn.xy[0].x = 5;
    press(IDC_CL_RELOAD);
    EXPECT_EQ(shown(IDC_CL_TN_X), "5");

    view_.type(IDC_CL_TN_X, u"9");
    platform_.answer(kAnswerNo);
    EXPECT_FALSE(editor_->close_box());
    EXPECT_FALSE(view_.closed);
    press(IDC_CL_REFRESH);
    EXPECT_EQ(card(6).tn.xy[0].x, 9);
    platform_.answer(kAnswerYes);
    EXPECT_TRUE(editor_->close_box());
    EXPECT_TRUE(view_.closed);
    EXPECT_EQ(utf8(platform_.boxes.back().text), "修正を破棄して閉じていいですか？");
    EXPECT_EQ(utf8(platform_.boxes.back().caption), "閉じる");
    EXPECT_EQ(card(6).tn.xy[0].x, before[6].tn.xy[0].x);
    EXPECT_FALSE(doc().modified);

    // "保存後閉じる" stores, closes and marks the document changed.
    view_ = FakeDialogView();
    open(1);
    view_.type(IDC_CL_FT_W2, u"33");
    press(IDC_CL_SAVE_CLOSE);
    EXPECT_EQ(card(1).ft.w2, 33);
    EXPECT_TRUE(view_.closed);
    EXPECT_TRUE(doc().modified);
}

TEST_F(CardLayoutEditorTest, UndoPutsBackLayoutsOnlyAndKeepsConfirmedPrintOffsets) {
    fill_full_document();
    CardRecord before[HDATA_MAX];
    std::memcpy(before, doc().hdata, sizeof before);
    open(0);
    press(IDC_CL_RESET);
    // Meanwhile the list saves a text and a print from it marks a card and
    // sets the print mode; the print position dialog confirms a new offset.
    text_set(card(3).tn.m[0].s, u"renamed");
    card(4).typ[0] = {1, 2027};
    doc().print.prn_mode = 3;
    doc().print.base_px = 33;
    press(IDC_CL_UNDO);
    for (int i = 0; i < HDATA_MAX; ++i) ASSERT_EQ(describe_layout(card(i)), describe_layout(before[i])) << i;
    EXPECT_EQ(utf8(card(3).tn.m[0].s), "renamed");
    EXPECT_EQ(card(4).typ[0].t, 1);
    // Each setting set since keeps its value; the others go back.
    EXPECT_EQ(describe_print(doc().print), describe_print(PrintSettings{1001, 1482, 33, 47, 3, 1, 3, 199}));

    // The choosers run with the main window waiting.
    press(IDC_CL_TA_FONT);
    press(IDC_CL_TA_COLOUR);
    EXPECT_EQ(choosers_.modal_choosers, 2);
    EXPECT_FALSE(editor_modal_open());

    // A reset that changed only the print settings (every layout was the
    // default already) is a change the exit asks about; No puts it back.
    reset_layouts();
    doc().print.base_py = 12;
    view_ = FakeDialogView();
    open(0);
    press(IDC_CL_RESET);
    platform_.answer(kAnswerNo);
    EXPECT_TRUE(settle_open_editors(nullptr));
    EXPECT_EQ(utf8(platform_.boxes.back().text), "「葉書の設定」の変更を保存しますか？");
    EXPECT_EQ(doc().print.base_py, 12);
}

TEST_F(CardLayoutEditorTest, BrowseStartsAtTheBitmapInTheWorkingFolder) {
    use_cards(1);
    text_set(doc().work_dir, u"D:\\data");
    open(0);
    press(IDC_CL_BROWSE);
    ASSERT_EQ(platform_.dialogs.size(), 1u);
    const FakePlatform::DialogCall& call = platform_.dialogs[0];
    EXPECT_EQ(utf8(call.initial_file), "D:\\data\\base1.bmp");
    EXPECT_EQ(utf8(call.title), "PalyFileの在処を指定");
    EXPECT_EQ(call.filter, std::u16string(u"BMPFile(*.bmp)\0*.bmp\0ALLFile(*.*)\0*.*\0", 38));
    EXPECT_EQ(call.flags, 0x4u);
    EXPECT_FALSE(call.save);

    text_set(doc().work_dir, u"D:\\");
    platform_.answer_dialog(u"E:\\pictures\\winter.bmp");
    press(IDC_CL_BROWSE);
    EXPECT_EQ(utf8(platform_.dialogs[1].initial_file), "D:\\base1.bmp");
    EXPECT_EQ(utf8(card(0).base_filepass), "E:\\pictures\\winter.bmp");
    EXPECT_EQ(shown(IDC_CL_BITMAP), "E:\\pictures\\winter.bmp");

    press(IDC_CL_BROWSE);
    EXPECT_EQ(utf8(platform_.dialogs[2].initial_file), "E:\\pictures\\winter.bmp")
        << "a full path starts as it is";
    EXPECT_EQ(utf8(card(0).base_filepass), "E:\\pictures\\winter.bmp") << "cancelled";
}

}  // namespace

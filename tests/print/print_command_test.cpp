#include "print/print_command.h"

#include <gtest/gtest.h>

#include "model/card_status.h"
#include "print/printer_state.h"
#include "render/drawing_surface.h"
#include "render/paper_metrics.h"
#include "tests/print/fake_printer_spooler.h"
#include "tests/print/print_test_document.h"
#include "tests/support/fake_platform.h"

namespace {

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);

class PrintCommandTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    FakePrinterSpooler spooler_;

    void SetUp() override { reset_print_test_document(12); }

    // A confirmed dialog for a postcard printer; the caller adjusts it.
    static FakePrinterSpooler::DialogAnswer postcard_answer() {
        FakePrinterSpooler::DialogAnswer a;
        FakePrinterSpooler::set_mode(a.mode, u"Office Printer", u"はがき", 43, 1000, 1480);
        a.caps = {{kCapLogPixelsX, 600}, {kCapLogPixelsY, 600},
                  {kCapPhysicalWidth, 2362}, {kCapPhysicalHeight, 3496},
                  {kCapPhysicalOffsetX, 50}, {kCapPhysicalOffsetY, 50}};
        return a;
    }

    std::vector<int> printed_cards(size_t job = 0) const {
        std::vector<int> cards;
        for (const auto& page : spooler_.logs.at(job)->pages) cards.push_back(card_on_page(page));
        return cards;
    }
};

TEST_F(PrintCommandTest, PresetsTheDialogFromEveryPrintMode) {
    struct Case {
        int32_t mode;
        uint16_t from, to;
        bool page_nums;
    };
    doc().current_card = 4;
    doc().print.start_p = 3;
    doc().print.stop_p = 5;
    printer_state().list_from = 7;
    printer_state().list_to = 9;
    const Case cases[] = {
        {0, 5, 5, true},   // the current card, as page current_card + 1
        {1, 1, 12, false}, // all cards: the dialog opens with all pages chosen
        {2, 3, 5, true},   // start_p .. stop_p
        {3, 7, 9, true},   // the addressee list's range
        {4, 7, 9, true},   // any other value as 3
        {-1, 7, 9, true},
        {1000, 7, 9, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        doc().print.prn_mode = c.mode;
        spooler_.dialogs.clear();
        print_command(kWindow);  // cancelled: no answer scripted
        ASSERT_EQ(spooler_.dialogs.size(), 1u);
        const PrintDialogRecord& r = spooler_.dialogs[0];
        EXPECT_EQ(r.hwndOwner, kWindow);
        EXPECT_EQ(r.nFromPage, c.from);
        EXPECT_EQ(r.nToPage, c.to);
        EXPECT_EQ(r.nMinPage, 1);
        EXPECT_EQ(r.nMaxPage, 12);
        EXPECT_EQ(r.nCopies, 1);
        uint32_t flags = kPdReturnDc | kPdNoSelection | kPdCollate | (c.page_nums ? kPdPageNums : 0);
        EXPECT_EQ(r.Flags, flags);
    }
    // A cancelled dialog ends the command silently and changes nothing.
    EXPECT_TRUE(platform_.boxes.empty());
    EXPECT_EQ(printer_state().printer_name[0], 0);
    EXPECT_TRUE(spooler_.logs.empty());
}

TEST_F(PrintCommandTest, PresetPagesOutsideTheCardsInUseArePulledIntoRange) {
    struct Case {
        int32_t from, to;
        uint16_t want_from, want_to;
    };
    // list_from 0 and list_to 1 are the values at program start, which a
    // prn_mode of 3 read from the layout file meets.
    const Case cases[] = {{0, 1, 1, 1},   {-1, 70000, 1, 12}, {15, 20, 12, 12},
                          {5, 3, 5, 5},   {3, 12, 3, 12},     {12, 12, 12, 12}};
    doc().print.prn_mode = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
        printer_state().list_from = c.from;
        printer_state().list_to = c.to;
        spooler_.dialogs.clear();
        print_command(kWindow);
        EXPECT_EQ(spooler_.dialogs[0].nFromPage, c.want_from);
        EXPECT_EQ(spooler_.dialogs[0].nToPage, c.want_to);
    }
    // The current card beyond the cards in use (after cards were removed).
    doc().print.prn_mode = 0;
    doc().current_card = 40;
    spooler_.dialogs.clear();
    print_command(kWindow);
    EXPECT_EQ(spooler_.dialogs[0].nFromPage, 12);
    // With no card in use there is nothing to pull into: as preset.
    reset_print_test_document(0);
    doc().print.prn_mode = 2;
    doc().print.start_p = 3;
    doc().print.stop_p = 4;
    spooler_.dialogs.clear();
    print_command(kWindow);
    EXPECT_EQ(spooler_.dialogs[0].nFromPage, 3);
    EXPECT_EQ(spooler_.dialogs[0].nToPage, 4);
    EXPECT_EQ(spooler_.dialogs[0].nMaxPage, 0);
}

TEST_F(PrintCommandTest, AllPagesKeptPrintsEveryCardInUse) {
    doc().print.prn_mode = 1;
    spooler_.dialog_answers.push_back(postcard_answer());
    platform_.answer(kAnswerYes);
    print_command(kWindow);
    EXPECT_EQ(printed_cards(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST_F(PrintCommandTest, EnteredPagesPrintThatRange) {
    doc().print.prn_mode = 1;
    auto a = postcard_answer();
    a.flags = kPdPageNums;
    a.keep_pages = false;
    a.from = 2;
    a.to = 3;
    spooler_.dialog_answers.push_back(a);
    platform_.answer(kAnswerYes);
    print_command(kWindow);
    EXPECT_EQ(printed_cards(), (std::vector<int>{1, 2}));
}

TEST_F(PrintCommandTest, OneCardModePrintsTheCurrentCardOnce) {
    doc().print.prn_mode = 0;
    doc().current_card = 4;
    auto a = postcard_answer();
    a.flags = kPdPageNums;  // the preset pages come back as they were
    spooler_.dialog_answers.push_back(a);
    platform_.answer(kAnswerYes);
    print_command(kWindow);
    EXPECT_EQ(printed_cards(), (std::vector<int>{4}));
}

TEST_F(PrintCommandTest, CopiesOfACardFollowEachOtherAndEachIsMarked) {
    doc().print.prn_mode = 2;
    doc().print.start_p = 1;
    doc().print.stop_p = 2;
    auto a = postcard_answer();
    a.flags = kPdPageNums | kPdCollate;  // the collate choice is not used
    a.copies = 2;
    spooler_.dialog_answers.push_back(a);
    platform_.answer(kAnswerYes);
    static std::vector<int> marks;
    marks.clear();
    set_card_marked_hook([](int card, int) { marks.push_back(card); });
    print_command(kWindow);
    EXPECT_EQ(printed_cards(), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(marks, (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(doc().hdata[0].typ[0].t, STATUS_SENT);
    EXPECT_EQ(doc().hdata[0].typ[0].y, 2027);  // December 2026: card year 2027
    EXPECT_EQ(doc().hdata[1].typ[0].t, STATUS_SENT);
    EXPECT_EQ(doc().hdata[2].typ[0].t, STATUS_NONE);
    EXPECT_TRUE(doc().modified);
    set_card_marked_hook(nullptr);
}

TEST_F(PrintCommandTest, ListSelectionPrintsThoseCardsWithCopiesOrWhatTheDialogChose) {
    const int cards[] = {2, 5, 9};
    // Card 5's sender name does not fit its room, even at half size.
    doc().hdata[5].ftb = 1;
    text_set(doc().fdata[1].n[0].s, std::u16string(63, u'名').c_str());
    auto a = postcard_answer();
    a.flags = kPdSelection;
    a.copies = 2;
    auto one = a;
    one.copies = 1;
    // The second time the user chose all cards; the third time card 5 alone
    // is printed: its own preview showed the overflow, no note.
    spooler_.dialog_answers = {a, postcard_answer(), one};
    platform_.answer(kAnswerYes);
    platform_.answer(kAnswerYes);
    print_cards_command(kWindow, cards, 3);
    print_cards_command(kWindow, cards, 3);
    print_cards_command(kWindow, cards + 1, 1);
    EXPECT_EQ(printed_cards(0), (std::vector<int>{2, 2, 5, 5, 9, 9}));
    EXPECT_EQ(printed_cards(1).size(), 12u);
    EXPECT_EQ(utf8(platform_.boxes.at(0).text),
              "Office Printer はがき 100×148で6枚印刷していいですか？（はみ出す行のある葉書が1枚あります）");
    EXPECT_EQ(utf8(platform_.boxes.at(2).text), "Office Printer はがき 100×148で1枚印刷していいですか？");
}

TEST_F(PrintCommandTest, ConfirmationNamesPrinterFormAndMeasuredSizeInWholeMillimetres) {
    doc().print.prn_mode = 0;
    auto a = postcard_answer();
    a.flags = kPdPageNums;
    a.caps[kCapPhysicalHeight] = 3508;  // 1485 tenths of a millimetre
    spooler_.dialog_answers.push_back(a);
    print_command(kWindow);  // the fake answers No
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(utf8(platform_.boxes[0].text), "Office Printer はがき 100×148で印刷していいですか？");
    EXPECT_EQ(utf8(platform_.boxes[0].caption), "PageSize");
    EXPECT_EQ(platform_.boxes[0].style, kButtonsYesNo);
    EXPECT_EQ(platform_.boxes[0].owner, kWindow);
    EXPECT_EQ(paper_width(), 1000);
    EXPECT_EQ(paper_height(), 1485);
}

TEST_F(PrintCommandTest, AnsweringNoPrintsNothingButKeepsTheDialogsChoice) {
    doc().print.prn_mode = 1;
    auto a = postcard_answer();
    a.caps.clear();  // a device without margins: HORZSIZE / VERTSIZE
    a.caps[kCapHorzSize] = 210;
    a.caps[kCapVertSize] = 297;
    spooler_.dialog_answers.push_back(a);
    platform_.answer(kAnswerNo);
    print_command(kWindow);

    EXPECT_TRUE(spooler_.logs[0]->calls.empty());
    EXPECT_TRUE(spooler_.logs[0]->deleted);  // the device context is released
    EXPECT_TRUE(spooler_.all_released());    // and the device mode freed
    EXPECT_FALSE(doc().modified);
    EXPECT_EQ(doc().hdata[0].typ[0].t, STATUS_NONE);
    EXPECT_EQ(utf8(printer_state().printer_name), "Office Printer");
    EXPECT_EQ(utf8(printer_state().form_name), "はがき");
    EXPECT_EQ(printer_state().paper_code, 43);
    EXPECT_EQ(paper_width(), 2100);  // the measurement replaces the device mode's size
    EXPECT_EQ(paper_height(), 2970);
}

TEST_F(PrintCommandTest, LockFailureIsReportedAndThePrinterStateKept) {
    text_set(printer_state().printer_name, u"Old Printer");
    text_set(printer_state().form_name, u"A4");
    auto a = postcard_answer();
    a.lock_fails = true;
    spooler_.dialog_answers.push_back(a);
    print_command(kWindow);
    ASSERT_EQ(platform_.boxes.size(), 2u);
    EXPECT_EQ(utf8(platform_.boxes[0].text), "メモリブロックをロックできません");
    EXPECT_EQ(utf8(platform_.boxes[0].caption), "Error");
    EXPECT_EQ(platform_.boxes[0].style, kButtonsOk);
    EXPECT_EQ(utf8(platform_.boxes[1].text), "Old Printer A4 100×148で印刷していいですか？");
    EXPECT_TRUE(spooler_.all_released());
}

TEST_F(PrintCommandTest, DeviceNameOfFullLengthIsCutTo31Characters) {
    auto a = postcard_answer();
    for (char16_t& u : a.mode.dmDeviceName) u = u'P';  // 32 units, no NUL
    for (char16_t& u : a.mode.dmFormName) u = u'F';
    spooler_.dialog_answers.push_back(a);
    print_command(kWindow);
    EXPECT_EQ(text_length(printer_state().printer_name), 31);
    EXPECT_EQ(text_length(printer_state().form_name), 31);
}

TEST_F(PrintCommandTest, WholePrinterNameAndPaperNameWhenTheDriverGivesNoForm) {
    // A driver that leaves the form name empty: the status bar and the
    // confirmation name the paper by its code; a name longer than a device
    // mode holds comes whole from the device names.
    const std::u16string forty = u"Zelkovane Printer With A Forty Char Name";
    auto a = postcard_answer();
    a.flags = kPdPageNums;
    a.mode.dmFormName[0] = 0;
    a.device_name = forty;
    spooler_.dialog_answers.push_back(a);
    a.mode.dmPaperSize = 2;  // a code without a short name
    spooler_.dialog_answers.push_back(a);
    print_command(kWindow);
    EXPECT_EQ(printer_state().printer_name, forty);
    EXPECT_EQ(utf8(printer_state().form_name), "はがき");
    EXPECT_EQ(utf8(platform_.boxes.at(0).text),
              utf8(forty) + " はがき 100×148で印刷していいですか？");
    print_command(kWindow);
    EXPECT_EQ(utf8(printer_state().form_name), "不明");
}

TEST_F(PrintCommandTest, PrinterSettingsTakesNameCodeAndSizeWithTheTableWinning) {
    text_set(printer_state().form_name, u"A4");
    FakePrinterSpooler::DialogAnswer a;
    FakePrinterSpooler::set_mode(a.mode, u"Label Printer", u"Letter", 9, 2000, 2900);
    a.caps = {{kCapHorzSize, 200}, {kCapVertSize, 280}};
    spooler_.dialog_answers.push_back(a);
    printer_settings_command(kWindow);

    ASSERT_EQ(spooler_.dialogs.size(), 1u);
    EXPECT_EQ(spooler_.dialogs[0].Flags, kPdPrintSetup | kPdReturnDc);
    EXPECT_EQ(spooler_.dialogs[0].hwndOwner, kWindow);
    EXPECT_EQ(utf8(printer_state().printer_name), "Label Printer");
    EXPECT_EQ(printer_state().paper_code, 9);
    EXPECT_EQ(utf8(printer_state().form_name), "A4");  // not changed by this command
    EXPECT_EQ(paper_width(), 2100);                     // the A4 of the table wins
    EXPECT_EQ(paper_height(), 2970);
    EXPECT_TRUE(spooler_.logs[0]->calls.empty());  // no job
    EXPECT_TRUE(spooler_.logs[0]->deleted);
    EXPECT_TRUE(spooler_.all_released());
    EXPECT_TRUE(platform_.boxes.empty());
}

TEST_F(PrintCommandTest, PrinterSettingsWithAnUnknownCodeKeepsTheMeasurement) {
    FakePrinterSpooler::DialogAnswer a;
    FakePrinterSpooler::set_mode(a.mode, u"Roll Printer", u"", 256, 500, 900);
    a.caps = {{kCapHorzSize, 62}, {kCapVertSize, 100}};
    spooler_.dialog_answers.push_back(a);
    printer_settings_command(kWindow);
    EXPECT_EQ(printer_state().paper_code, 256);
    EXPECT_EQ(paper_width(), 620);
    EXPECT_EQ(paper_height(), 1000);
}

TEST_F(PrintCommandTest, PrinterSettingsCancelledOrUnlockableLeavesTheState) {
    text_set(printer_state().printer_name, u"Old Printer");
    set_paper_size(1000, 1480);
    printer_settings_command(kWindow);  // cancelled
    EXPECT_EQ(utf8(printer_state().printer_name), "Old Printer");
    EXPECT_EQ(paper_width(), 1000);

    FakePrinterSpooler::DialogAnswer a;
    FakePrinterSpooler::set_mode(a.mode, u"Other", u"", 9, 2100, 2970);
    a.lock_fails = true;
    a.has_device = false;
    spooler_.dialog_answers.push_back(a);
    printer_settings_command(kWindow);
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(utf8(platform_.boxes[0].text), "メモリブロックをロックできません");
    EXPECT_EQ(utf8(printer_state().printer_name), "Old Printer");
    EXPECT_TRUE(spooler_.all_released());
}

}  // namespace

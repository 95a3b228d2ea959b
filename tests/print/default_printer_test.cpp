#include "print/default_printer.h"

#include <gtest/gtest.h>

#include "print/printer_state.h"
#include "render/paper_metrics.h"
#include "tests/print/fake_printer_spooler.h"
#include "tests/print/print_test_document.h"
#include "tests/support/fake_platform.h"

namespace {

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x42);

class DefaultPrinterTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    std::unique_ptr<FakePrinterSpooler> fake_;
    FakePrinterSpooler& spooler() { return *fake_; }

    void SetUp() override { start(); }

    // A fresh document, printer state, message record and spooler, whose
    // default printer has A4 paper; its information context measures a
    // printable area of 203 x 288 mm.
    void start() {
        reset_print_test_document(0);
        platform_.boxes.clear();
        fake_.reset();
        fake_ = std::make_unique<FakePrinterSpooler>();
        FakePrinterSpooler::DialogAnswer a;
        FakePrinterSpooler::set_mode(a.mode, u"Office Printer", u"A4", 9, 2100, 2970);
        a.caps = {{kCapHorzSize, 203}, {kCapVertSize, 288}};
        spooler().dialog_answers.push_back(a);
    }

    std::vector<std::string> box_texts() const {
        std::vector<std::string> texts;
        for (const auto& b : platform_.boxes) texts.push_back(utf8(b.text));
        return texts;
    }
};

TEST_F(DefaultPrinterTest, ReadingOnlyTakesNameAndPaperAndChangesNothing) {
    read_default_printer(kWindow);
    ASSERT_EQ(spooler().dialogs.size(), 1u);
    EXPECT_EQ(spooler().dialogs[0].Flags, kPdReturnDefault | kPdReturnIc);
    EXPECT_EQ(utf8(printer_state().printer_name), "Office Printer");
    EXPECT_EQ(utf8(default_printer_state().default_printer), "Office Printer");
    EXPECT_EQ(default_printer_state().saved_paper.code, 9);
    EXPECT_EQ(default_printer_state().saved_paper.width, 2100);
    EXPECT_EQ(default_printer_state().saved_paper.length, 2970);
    EXPECT_EQ(printer_state().paper_code, 9);
    EXPECT_EQ(paper_width(), 2030);  // measured on the information context
    EXPECT_EQ(paper_height(), 2880);
    EXPECT_TRUE(spooler().paper_writes.empty());
    EXPECT_TRUE(spooler().notices.empty());
    EXPECT_TRUE(platform_.boxes.empty());
    EXPECT_TRUE(spooler().all_released());
    EXPECT_TRUE(spooler().logs[0]->deleted);

    restore_default_printer(kWindow);  // nothing was switched
    EXPECT_TRUE(spooler().paper_writes.empty());
    EXPECT_TRUE(spooler().notices.empty());
}

TEST_F(DefaultPrinterTest, SwitchWritesPostcardAndRestoreWritesTheSavedPaperBack) {
    spooler().printer_mode.dmOrientation = 2;  // the printer stood on landscape
    switch_to_postcard(kWindow);

    ASSERT_EQ(spooler().paper_writes.size(), 1u);
    EXPECT_EQ(utf8(spooler().paper_writes[0].printer), "Office Printer");
    const PaperSetting& p = spooler().paper_writes[0].paper;
    EXPECT_EQ(p.orientation, 1);
    EXPECT_EQ(p.code, 43);
    EXPECT_EQ(p.width, 1000);
    EXPECT_EQ(p.length, 1480);
    EXPECT_TRUE(default_printer_state().paper_switched);
    EXPECT_EQ(printer_state().paper_code, 43);
    EXPECT_EQ(spooler().notices,
              (std::vector<std::u16string>{u"Office PrinterをA4からはがきサイズにしました"}));
    // The printer is opened once more after the switch.
    EXPECT_EQ(spooler().opened, (std::vector<std::u16string>{u"Office Printer", u"Office Printer"}));
    // The paper shown is the postcard now on the printer, not the old paper
    // the information context (made before the switch) measures.
    EXPECT_EQ(paper_width(), 1000);
    EXPECT_EQ(paper_height(), 1480);
    EXPECT_TRUE(platform_.boxes.empty());
    EXPECT_TRUE(spooler().all_released());

    restore_default_printer(kWindow);
    ASSERT_EQ(spooler().paper_writes.size(), 2u);
    const PaperSetting& back = spooler().paper_writes[1].paper;
    EXPECT_EQ(back.code, 9);
    EXPECT_EQ(back.width, 2100);
    EXPECT_EQ(back.length, 2970);
    EXPECT_EQ(back.orientation, 2);  // the orientation the printer had
    EXPECT_EQ(spooler().notices.back(), u"Office PrinterをA4へ戻しました");
    EXPECT_TRUE(spooler().all_released());
}

TEST_F(DefaultPrinterTest, SavedPaperNamesInTheNotices) {
    struct Case {
        int16_t code;
        const char16_t* name;
    } cases[] = {{153, u"A1"}, {2, u"不明"}, {70, u"A6"}};
    for (const Case& c : cases) {
        start();
        spooler().printer_mode.dmPaperSize = c.code;
        switch_to_postcard(kWindow);
        restore_default_printer(kWindow);
        ASSERT_EQ(spooler().notices.size(), 2u);
        EXPECT_EQ(spooler().notices[0], std::u16string(u"Office Printerを") + c.name + u"からはがきサイズにしました");
        EXPECT_EQ(spooler().notices[1], std::u16string(u"Office Printerを") + c.name + u"へ戻しました");
    }
}

TEST_F(DefaultPrinterTest, StartUpQuestionChoosesSwitchOrRead) {
    platform_.answer(kAnswerYes);
    ask_postcard_switch(kWindow);
    ASSERT_FALSE(platform_.boxes.empty());
    EXPECT_EQ(utf8(platform_.boxes[0].text), "デフォルトプリンタをはがきサイズにしますか？");
    EXPECT_EQ(utf8(platform_.boxes[0].caption), "印刷設定");
    EXPECT_EQ(platform_.boxes[0].style, kButtonsYesNo);
    EXPECT_TRUE(default_printer_state().paper_switched);

    start();
    platform_.answer(kAnswerCancel);  // anything but Yes is No
    ask_postcard_switch(kWindow);
    EXPECT_TRUE(spooler().paper_writes.empty());
    EXPECT_FALSE(default_printer_state().paper_switched);
    EXPECT_EQ(utf8(printer_state().printer_name), "Office Printer");
}

TEST_F(DefaultPrinterTest, EveryReadingFailureIsReportedAndLeavesNoPrinter) {
    struct Case {
        const char* expected;
        std::function<void(FakePrinterSpooler&)> arrange;
    };
    const Case cases[] = {
        {"デフォルトのプリンタ名の取得に失敗しました",
         [](FakePrinterSpooler& s) { s.dialog_answers.front().ok = false; }},
        {"メモリブロックをロックできません",
         [](FakePrinterSpooler& s) { s.dialog_answers.front().lock_fails = true; }},
        {"プリンタをオープンできません",
         [](FakePrinterSpooler& s) { s.open_fails.insert(u"Office Printer"); }},
        {"バッファのためのメモリを確保できません", [](FakePrinterSpooler& s) { s.alloc_fails = true; }},
        {"バッファのためのメモリを確保できません", [](FakePrinterSpooler& s) { s.devmode_size = -1; }},
        {"GlobalLockに失敗しました", [](FakePrinterSpooler& s) { s.block_lock_fails = true; }},
        {"DocumentProperties関数が失敗しました", [](FakePrinterSpooler& s) { s.fill_result = -1; }},
    };
    for (bool yes : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.expected);
            start();
            c.arrange(spooler());
            if (yes)
                switch_to_postcard(kWindow);
            else
                read_default_printer(kWindow);
            ASSERT_EQ(box_texts(), std::vector<std::string>{c.expected});
            EXPECT_EQ(utf8(platform_.boxes[0].caption), "Error");
            EXPECT_EQ(platform_.boxes[0].style, kButtonsOk);
            EXPECT_EQ(platform_.boxes[0].owner, kWindow);
            EXPECT_EQ(printer_state().printer_name[0], 0);
            EXPECT_FALSE(default_printer_state().paper_switched);
            EXPECT_TRUE(spooler().paper_writes.empty());
            EXPECT_TRUE(spooler().notices.empty());
            EXPECT_TRUE(spooler().all_released());

            restore_default_printer(kWindow);  // nothing to restore
            EXPECT_TRUE(spooler().paper_writes.empty());
        }
    }
}

TEST_F(DefaultPrinterTest, FreeFailuresAfterTheSwitchKeepItInForce) {
    spooler().block_free_fails = true;
    switch_to_postcard(kWindow);
    EXPECT_EQ(box_texts(), std::vector<std::string>{"GlobalFree(hMem) が失敗しました"});
    EXPECT_EQ(spooler().notices.size(), 1u);  // goes on to the notice
    EXPECT_TRUE(default_printer_state().paper_switched);

    start();
    spooler().dialog_answers.front().free_fails = true;
    set_paper_size(7, 7);
    switch_to_postcard(kWindow);
    EXPECT_EQ(box_texts(), std::vector<std::string>{"GlobalFree Error"});
    EXPECT_TRUE(spooler().notices.empty());  // stops: no notice, no measurement
    EXPECT_EQ(paper_width(), 7);
    EXPECT_TRUE(default_printer_state().paper_switched);
    restore_default_printer(kWindow);
    EXPECT_EQ(spooler().paper_writes.back().paper.code, 9);
}

TEST_F(DefaultPrinterTest, UnwrittenSwitchIsNotReportedAsDoneNorRestored) {
    for (PaperWrite result : {PaperWrite::NotRead, PaperWrite::Refused}) {
        start();
        spooler().paper_result = result;
        switch_to_postcard(kWindow);
        EXPECT_FALSE(default_printer_state().paper_switched);
        EXPECT_EQ(printer_state().paper_code, 0);
        EXPECT_TRUE(spooler().notices.empty());
        ASSERT_EQ(box_texts(), std::vector<std::string>{"プリンタの用紙をはがきサイズにできませんでした"});
        EXPECT_EQ(platform_.boxes[0].style, kButtonsOk | kIconWarning);
        EXPECT_EQ(paper_width(), 2030);  // the printer keeps its paper
        restore_default_printer(kWindow);
        EXPECT_EQ(spooler().paper_writes.size(), 1u);
    }
}

TEST_F(DefaultPrinterTest, RestoreFailuresAreReported) {
    switch_to_postcard(kWindow);
    spooler().open_fails.insert(u"Office Printer");
    restore_default_printer(kWindow);
    EXPECT_EQ(box_texts(), std::vector<std::string>{"プリンタをオープンできません"});
    EXPECT_EQ(spooler().notices.size(), 1u);

    platform_.boxes.clear();
    spooler().open_fails.clear();
    spooler().paper_result = PaperWrite::Refused;
    restore_default_printer(kWindow);
    EXPECT_EQ(box_texts(), std::vector<std::string>{"プリンタの用紙を元に戻せませんでした"});
    EXPECT_EQ(spooler().notices.size(), 1u);
    EXPECT_TRUE(spooler().all_released());
}

TEST_F(DefaultPrinterTest, LongDeviceNameIsCutTo31Characters) {
    std::u16string forty(40, u'N');
    for (char16_t& u : spooler().dialog_answers.front().mode.dmDeviceName) u = u'N';
    for (char16_t& u : spooler().printer_mode.dmDeviceName) u = u'N';
    read_default_printer(kWindow);
    EXPECT_EQ(spooler().opened[0], forty.substr(0, 31));
    EXPECT_EQ(std::u16string(printer_state().printer_name), forty.substr(0, 31));
    EXPECT_EQ(std::u16string(default_printer_state().default_printer), forty.substr(0, 31));
}

TEST_F(DefaultPrinterTest, LongNameFromTheDeviceNamesIsOpenedSwitchedAndRestoredWhole) {
    const std::u16string forty = u"Zelkovane Printer With A Forty Char Name";
    spooler().dialog_answers.front().device_name = forty;
    switch_to_postcard(kWindow);
    EXPECT_TRUE(box_texts().empty());
    EXPECT_EQ(spooler().opened.at(0), forty);
    EXPECT_EQ(std::u16string(printer_state().printer_name), forty);
    EXPECT_EQ(std::u16string(default_printer_state().default_printer), forty);
    restore_default_printer(kWindow);
    EXPECT_EQ(spooler().paper_writes.back().printer, forty);
    EXPECT_TRUE(spooler().all_released());
}

TEST(PrinterNotice, KeepsTheTextWithinItsCapacity) {
    FakePlatform platform;
    FakePrinterSpooler spooler;
    std::u16string long_text(300, u'x');
    printer_notice(long_text.c_str());
    EXPECT_EQ(spooler.notices, (std::vector<std::u16string>{long_text.substr(0, 255)}));
}

}  // namespace

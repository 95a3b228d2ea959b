// The start-up paper switch, the restore at exit and the printer list on
// the real spooler, with the test printer of the Wine prefix as the default
// printer (A4 as installed).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "model/text.h"
#include "print/default_printer.h"
#include "print/printer_list.h"
#include "print/printer_state.h"
#include "print/printer_win32.h"
#include "render/paper_metrics.h"
#include "tests/win/printer_test_support.h"

namespace {

using namespace printer_test;

std::wstring wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

class PrinterSpoolerTest : public ::testing::Test {
protected:
    RecordingPlatform platform_;
    Paper before_{};

    void SetUp() override {
        install_win32_printer_spooler();
        reset_printer_state();
        reset_default_printer_state();
        set_paper_size(0, 0);
        if (default_printer() != kTestPrinter) GTEST_SKIP() << "the test printer is not the default printer";
        before_ = default_paper(kTestPrinter);
        ASSERT_EQ(before_.code, DMPAPER_A4);
    }
    void TearDown() override {
        // Whatever happened, the printer keeps the paper it had.
        if (before_.code > 0 && default_paper(kTestPrinter).code != before_.code)
            set_default_paper(kTestPrinter, before_);
    }
};

TEST_F(PrinterSpoolerTest, ReadingTheDefaultPrinterChangesNothing) {
    read_default_printer(nullptr);
    EXPECT_TRUE(platform_.boxes.empty());
    EXPECT_EQ(wide(printer_state().printer_name), kTestPrinter);
    EXPECT_EQ(wide(default_printer_state().default_printer), kTestPrinter);
    EXPECT_EQ(default_printer_state().saved_paper.code, DMPAPER_A4);
    EXPECT_EQ(printer_state().paper_code, DMPAPER_A4);
    EXPECT_NEAR(paper_width(), 2100, 15);  // measured: the printable width when the device reports no margin
    EXPECT_NEAR(paper_height(), 2970, 15);
    EXPECT_FALSE(default_printer_state().paper_switched);
    EXPECT_EQ(default_paper(kTestPrinter).code, DMPAPER_A4);
}

TEST_F(PrinterSpoolerTest, SwitchesTheDefaultPaperToPostcardAndRestoresIt) {
    DWORD start = GetTickCount();
    switch_to_postcard(nullptr);
    DWORD elapsed = GetTickCount() - start;
    ASSERT_TRUE(platform_.boxes.empty()) << utf8(platform_.boxes[0].text);
    ASSERT_TRUE(default_printer_state().paper_switched);
    EXPECT_EQ(wide(printer_state().printer_name), kTestPrinter);
    EXPECT_EQ(printer_state().paper_code, DMPAPER_JAPANESE_POSTCARD);
    EXPECT_EQ(wide(printer_notice_text()), L"Zelkovane Test PrinterをA4からはがきサイズにしました");
    EXPECT_GE(elapsed, 1000u);  // the notice stands for one second
    EXPECT_EQ(paper_width(), 1000);
    EXPECT_EQ(paper_height(), 1480);

    // The printer's default device mode as the spooler keeps it.
    Paper switched = default_paper(kTestPrinter);
    EXPECT_EQ(switched.code, DMPAPER_JAPANESE_POSTCARD);
    EXPECT_EQ(switched.width, 1000);
    EXPECT_EQ(switched.length, 1480);
    EXPECT_EQ(switched.orientation, DMORIENT_PORTRAIT);

    restore_default_printer(nullptr);
    ASSERT_TRUE(platform_.boxes.empty()) << utf8(platform_.boxes[0].text);
    EXPECT_EQ(wide(printer_notice_text()), L"Zelkovane Test PrinterをA4へ戻しました");
    Paper restored = default_paper(kTestPrinter);
    EXPECT_EQ(restored.code, before_.code);
    EXPECT_EQ(restored.width, before_.width);
    EXPECT_EQ(restored.length, before_.length);
    EXPECT_EQ(restored.orientation, before_.orientation);
}

TEST_F(PrinterSpoolerTest, PrinterListHoldsTheTestPrinter) {
    text_set(printer_state().printer_name, reinterpret_cast<const char16_t*>(kTestPrinter));
    int32_t index = enum_printers(nullptr);
    ASSERT_GE(index, 0);
    EXPECT_TRUE(platform_.boxes.empty());
    EXPECT_LE(printer_count(), PRINTER_LIST_MAX);
    const PrinterEntry& e = printer_list()[index];
    EXPECT_EQ(wide(e.name), kTestPrinter);
    EXPECT_EQ(wide(e.driver), L"Wine PostScript Driver");
    EXPECT_EQ(e.port[0], u'/');  // the Unix file it prints into

    // A device context made from the entry, as the font chooser makes it.
    HDC dc = CreateDCW(reinterpret_cast<const wchar_t*>(e.driver),
                       reinterpret_cast<const wchar_t*>(e.name), nullptr, nullptr);
    EXPECT_NE(dc, nullptr);
    if (dc) DeleteDC(dc);
}

}  // namespace

// A print job on the test printer of the Wine prefix: two cards with two
// copies each give four pages in the PostScript the printer writes, card by
// card, and every printed card is recorded as sent.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "model/card_status.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "print/print_job.h"
#include "print/printer_win32.h"
#include "tests/win/printer_test_support.h"

namespace {

using namespace printer_test;

void reset_two_cards() {
    std::memset(&doc(), 0, sizeof(Document));
    for (CardRecord& c : doc().hdata) set_default_layout(c);
    set_default_print_settings(doc().print);
    doc().print.bmp_mode = 0;
    const char16_t* names[] = {u"山田太郎様", u"鈴木花子様"};
    for (int i = 0; i < 2; ++i) {
        CardRecord& c = doc().hdata[i];
        text_set(c.tt.m, u"1000001");
        text_set(c.ta.m[0].s, u"東京都千代田区千代田一ー一");
        text_set(c.tn.m[0].s, names[i]);
    }
}

// Waits (bounded) until the printer's file holds a finished document.
std::string wait_for_output(const std::wstring& path) {
    std::string text;
    for (int i = 0; i < 600; ++i) {
        text = read_file(path);
        if (text.find("%%EOF") != std::string::npos) break;
        Sleep(50);
    }
    return text;
}

TEST(PrinterJob, TwoCardsWithTwoCopiesGiveFourPagesCardByCard) {
    RecordingPlatform platform;
    install_win32_printer_spooler();
    std::wstring output = output_file(kTestPrinter);
    if (output.empty()) GTEST_SKIP() << "the test printer is not installed";
    DeleteFileW(output.c_str());
    reset_two_cards();

    HWND window = CreateWindowExW(0, L"STATIC", L"requesting window", WS_OVERLAPPEDWINDOW, 0, 0,
                                  200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = CreateDCW(L"WINSPOOL", kTestPrinter, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    {
        std::unique_ptr<PrintTarget> target = make_print_target(dc);
        print_job(window, *target, 0, 2, 2);
    }
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(IsWindowEnabled(window));
    DestroyWindow(window);

    std::string ps = wait_for_output(output);
    ASSERT_FALSE(ps.empty()) << "no output in " << utf8(output);
    EXPECT_EQ(count_lines(ps, "%%Page:"), 4);
    // The job is named after the program.
    EXPECT_NE(ps.find("Zelkovane"), std::string::npos);

    int year = card_year();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(doc().hdata[i].typ[0].y, year) << i;
        EXPECT_EQ(doc().hdata[i].typ[0].t, STATUS_SENT) << i;
    }
    EXPECT_EQ(doc().hdata[2].typ[0].t, STATUS_NONE);
    EXPECT_TRUE(doc().modified);

    // Kept for a look at the pages when the runner collects artifacts.
    wchar_t artifacts[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"ZK_ARTIFACTS", artifacts, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        CreateDirectoryW(artifacts, nullptr);
        write_file(std::wstring(artifacts) + L"\\printer-job-4-pages.ps", ps);
    }
}

}  // namespace

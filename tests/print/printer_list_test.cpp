#include "print/printer_list.h"

#include <gtest/gtest.h>

#include "print/paper_names.h"
#include "print/printer_state.h"
#include "tests/print/fake_printer_spooler.h"
#include "tests/print/print_test_document.h"
#include "tests/support/fake_platform.h"

namespace {

std::u16string numbered(const char16_t* prefix, int i) {
    std::string n = std::to_string(i);
    return prefix + std::u16string(n.begin(), n.end());
}

class PrinterListTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    FakePrinterSpooler spooler_;

    void SetUp() override { reset_print_test_document(0); }

    void install(int count) {
        spooler_.printers.clear();
        for (int i = 0; i < count; ++i)
            spooler_.printers.push_back(
                {numbered(u"Printer ", i), numbered(u"LPT", i), numbered(u"Driver ", i)});
    }
};

TEST_F(PrinterListTest, ListsTheFirstThirtyAndFindsTheSelectedPrinter) {
    install(35);
    text_set(printer_state().printer_name, u"Printer 29");
    EXPECT_EQ(enum_printers(nullptr), 29);
    EXPECT_EQ(printer_count(), 30);
    EXPECT_EQ(std::u16string(printer_list()[0].name), u"Printer 0");
    EXPECT_EQ(std::u16string(printer_list()[0].port), u"LPT0");
    EXPECT_EQ(std::u16string(printer_list()[0].driver), u"Driver 0");
    EXPECT_EQ(std::u16string(printer_list()[29].name), u"Printer 29");

    text_set(printer_state().printer_name, u"Printer 30");  // listed as 31st: ignored
    EXPECT_EQ(enum_printers(nullptr), -1);
    EXPECT_TRUE(platform_.boxes.empty());
}

TEST_F(PrinterListTest, TheLastOfSeveralEqualNamesWins) {
    install(3);
    spooler_.printers[2].name = u"Printer 0";
    text_set(printer_state().printer_name, u"Printer 0");
    EXPECT_EQ(enum_printers(nullptr), 2);
}

TEST_F(PrinterListTest, NamesAreCutTo127UnitsAndNulFilled) {
    install(1);
    spooler_.printers[0].name = std::u16string(200, u'n');
    enum_printers(nullptr);
    const PrinterEntry& e = printer_list()[0];
    EXPECT_EQ(std::u16string(e.name), std::u16string(127, u'n'));
    install(1);
    enum_printers(nullptr);
    for (int i = 9; i < PRINTER_ENTRY_CAP; ++i) EXPECT_EQ(e.name[i], 0) << i;
}

TEST_F(PrinterListTest, EmptyListGivesMinusOneSilentlyAFailureWarns) {
    install(0);
    EXPECT_EQ(enum_printers(nullptr), -1);
    EXPECT_EQ(printer_count(), 0);
    EXPECT_TRUE(platform_.boxes.empty());

    WindowHandle window = reinterpret_cast<WindowHandle>(0x99);
    spooler_.enum_fails = true;
    EXPECT_EQ(enum_printers(window), -1);
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(utf8(platform_.boxes[0].text), "プリンタが見つかりません");
    EXPECT_EQ(utf8(platform_.boxes[0].caption), "プリンタ検索中");
    EXPECT_EQ(platform_.boxes[0].style, kButtonsOk | kIconWarning);
    EXPECT_EQ(platform_.boxes[0].owner, window);
}

TEST(PaperNames, TheWholeTableAndUnknownCodes) {
    const std::pair<int, const char*> table[] = {
        {1, "8.5×11"},   {3, "11×17"},     {5, "8.5×14"},        {6, "5.5×8.5"},
        {7, "7.25×10.5"}, {8, "A3"},       {9, "A4"},            {11, "A5"},
        {12, "B4"},      {13, "B5"},       {14, "8.5×13"},       {43, "はがき"},
        {44, "9×11"},    {45, "10×11"},    {66, "A2"},           {70, "A6"},
        {73, "封筒長形３号"}, {82, "往復はがき"}, {88, "B6"},       {122, "4×6"},
        {123, "SRA3"},   {124, "5×7"},     {125, "8.46×12.4"},   {126, "8×10"},
        {127, "11×15"},  {128, "12×18"},   {129, "十六開"},       {130, "八開"},
        {131, "表紙A4"},
    };
    for (const auto& entry : table) EXPECT_EQ(utf8(paper_name(entry.first)), entry.second);
    for (int code : {0, 2, 10, 153, 256, -1}) EXPECT_EQ(utf8(paper_name(code)), "不明") << code;

    char16_t buffer[PAPER_NAME_CAP] = {};
    paper_name(73, buffer, PAPER_NAME_CAP);
    EXPECT_EQ(utf8(buffer), "封筒長形３号");
    EXPECT_EQ(utf8(saved_paper_name(153)), "A1");
    EXPECT_EQ(utf8(saved_paper_name(9)), "A4");
}

}  // namespace

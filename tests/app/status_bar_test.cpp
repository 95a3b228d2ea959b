#include "app/status_bar.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "print/printer_state.h"
#include "render/bmp_file.h"
#include "render/render_state.h"
#include "tests/support/fake_platform.h"

namespace {

std::u16string part(const StatusTexts& t, int i) { return t.part[i]; }

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        reset_layouts();
        reset_printer_state();
    }
    FakePlatform fake;  // the background bitmap's header is read through it
    void TearDown() override {
        std::memset(&doc(), 0, sizeof(Document));
        reset_printer_state();
    }

    static void use_cards(int n) {
        for (int i = 0; i < n; ++i) text_set(doc().hdata[i].tn.m[0].s, u"宛名");
    }
    static StatusTexts texts() {
        StatusTexts t;
        std::memset(&t, 0x5a, sizeof t);  // stale bytes must not show through
        format_status_texts(t);
        return t;
    }
};

TEST_F(StatusBarTest, NewDocumentWithoutPrinterShowsPrefixesFirstPageAndDefaultBitmap) {
    StatusTexts t = texts();
    EXPECT_EQ(part(t, 0), u"Prn:");
    EXPECT_EQ(part(t, 1), u"紙:");
    EXPECT_EQ(part(t, 2), u"Page:1/0");
    EXPECT_EQ(part(t, 3), u"base1.bmp");
}

TEST_F(StatusBarTest, LoadedDocumentShowsPrinterFormCardNumberAndBitmapName) {
    use_cards(12);
    doc().current_card = 2;
    text_set(doc().hdata[2].base_filepass, u"D:\\pics\\x.bmp");
    text_set(doc().hdata[0].base_filepass, u"first.bmp");
    text_set(printer_state().printer_name, u"Zelkovane Test Printer");
    text_set(printer_state().form_name, u"はがき");
    StatusTexts t = texts();
    EXPECT_EQ(part(t, 0), u"Prn:Zelkovane Test Printer");
    EXPECT_EQ(part(t, 1), u"紙:はがき");
    EXPECT_EQ(part(t, 2), u"Page:3/12");
    EXPECT_EQ(part(t, 3), u"x.bmp") << "the shown card's bitmap, not card 0's";
    set_preview_overflow_lines(2);  // the last paint found lines that do not fit
    EXPECT_EQ(part(texts(), 3), u"はみ出し　x.bmp");
    set_preview_overflow_lines(0);
}

TEST_F(StatusBarTest, CountStopsAtTheFirstCardNotInUse) {
    use_cards(5);
    std::memset(&doc().hdata[2].tn, 0, sizeof doc().hdata[2].tn);
    doc().current_card = 4;
    EXPECT_EQ(part(texts(), 2), u"Page:5/2");
}

TEST_F(StatusBarTest, LastOfAllTwoHundredCards) {
    use_cards(HDATA_MAX);
    doc().current_card = HDATA_MAX - 1;
    EXPECT_EQ(part(texts(), 2), u"Page:200/200");
}

TEST_F(StatusBarTest, PaperAndPagePartsGrowForTheirWidestTextsTakingRoomFromThePrinter) {
    int e[STATUS_PART_COUNT];
    status_part_edges(50, 40, e);  // both fit: the first edges
    EXPECT_EQ(std::vector<int>(e, e + 4), (std::vector<int>{160, 230, 290, -1}));
    status_part_edges(90, 85, e);
    EXPECT_EQ(std::vector<int>(e, e + 4), (std::vector<int>{115, 205, 290, -1}));
    status_part_edges(150, 120, e);  // the printer part keeps its minimum
    EXPECT_EQ(std::vector<int>(e, e + 4), (std::vector<int>{60, 210, 330, -1}));
}

// The bitmap part shows the name behind the last backslash; a background
// refused for its size says so behind its name, while a missing, broken or
// fitting one shows its name alone.
TEST_F(StatusBarTest, BitmapNameIsThePartBehindTheLastBackslash) {
    std::string bmp(kBmpHeadersSize + 4, '\0');
    uint8_t* head = reinterpret_cast<uint8_t*>(&bmp[0]);
    write_bmp_headers(head, 1, 1);
    fake.put_file(u"C:\\work\\fits.bmp", bmp);
    write_bmp_headers(head, 4724, 6992);  // a postcard scanned at 1200 dpi
    fake.put_file(u"C:\\work\\scan.bmp", bmp);
    fake.put_file(u"C:\\work\\short.bmp", bmp.substr(0, 20));
    struct Case {
        const char16_t* path;
        const char16_t* name;
        const char16_t* shown;  // when not the name alone
    } cases[] = {
        {u"base1.bmp", u"base1.bmp"},
        {u"D:\\pics\\x.bmp", u"x.bmp"},
        {u"\\\\server\\share\\背景.bmp", u"背景.bmp"},
        {u"C:\\pics\\", u""},
        {u"\\", u""},
        {u"", u""},
        {u"pics/y.bmp", u"pics/y.bmp"},
        {u"scan.bmp", u"scan.bmp", u"scan.bmp（大きすぎます）"},
        {u"C:\\work\\scan.bmp", u"scan.bmp", u"scan.bmp（大きすぎます）"},
        {u"fits.bmp", u"fits.bmp"},
        {u"short.bmp", u"short.bmp"},
        {u"missing.bmp", u"missing.bmp"},
    };
    for (const Case& c : cases) {
        text_set(doc().hdata[0].base_filepass, c.path);
        EXPECT_EQ(part(texts(), 3), c.shown ? c.shown : c.name);
        EXPECT_EQ(std::u16string(file_name_part(c.path)), c.name);
    }
}

TEST_F(StatusBarTest, FullLengthFieldsFitTheirParts) {
    std::u16string name(PRINTER_NAME_CAP - 1, u'P');
    std::u16string form(FORM_NAME_CAP - 1, u'紙');
    std::u16string path(PATH_CAP - 1, u'b');
    text_set(printer_state().printer_name, name.c_str());
    text_set(printer_state().form_name, form.c_str());
    text_set(doc().hdata[0].base_filepass, path.c_str());
    StatusTexts t = texts();
    EXPECT_EQ(part(t, 0), u"Prn:" + name);
    EXPECT_EQ(part(t, 1), u"紙:" + form);
    EXPECT_EQ(part(t, 3), path);
}

TEST_F(StatusBarTest, FieldsWithoutTheirEndMarkAreReadOnlyToTheirCapacity) {
    std::memset(printer_state().printer_name, 0x41, sizeof printer_state().printer_name);
    std::memset(printer_state().form_name, 0x42, sizeof printer_state().form_name);
    for (char16_t& u : doc().hdata[0].base_filepass) u = u'c';
    StatusTexts t = texts();
    EXPECT_EQ(part(t, 0).size(), 4u + PRINTER_NAME_CAP - 1);
    EXPECT_EQ(part(t, 1).size(), 2u + FORM_NAME_CAP - 1);
    EXPECT_EQ(part(t, 3), std::u16string(PATH_CAP - 1, u'c'));
}

TEST_F(StatusBarTest, CardNumberOutsideTheTableNamesNoBitmap) {
    use_cards(3);
    struct Case {
        int card;
        const char16_t* page;
    } cases[] = {{-1, u"Page:0/3"}, {HDATA_MAX, u"Page:201/3"}, {1000, u"Page:1001/3"}};
    for (const Case& c : cases) {
        doc().current_card = c.card;
        StatusTexts t = texts();
        EXPECT_EQ(part(t, 2), c.page);
        EXPECT_EQ(part(t, 3), u"") << c.card;
    }
}

}  // namespace

#include <string>

#include "tests/files/data_file_fixture.h"
#include "tests/support/full_document.h"
#include "tests/support/golden.h"

namespace {

const std::u16string kPath = u"C:\\work\\zelko3.txt";

class LayoutFileTest : public DataFileTest {
protected:
    void load(const std::u16string& text) {
        put_data(kPath, text);
        read_kv_file(nullptr, READ_SILENT, KIND_LAYOUT, u"zelko3.txt");
    }
    std::string default_layout() {
        CardRecord card{};
        set_default_layout(card);
        return describe_layout(card);
    }
};

TEST_F(LayoutFileTest, WritesTheGoldenFileForOneDefaultCard) {
    text_set(doc().hdata[0].tt.m, u"1000001");
    EXPECT_EQ(write_layout_file(nullptr, u"zelko3.txt", WRITE_SILENT), WRITE_DONE);
    EXPECT_EQ(fake.file_bytes(kPath), golden_data_file("layout_one_default.txt"));
}

TEST_F(LayoutFileTest, NoCardGivesTheCountAndThePrintSettings) {
    doc().print = PrintSettings{1, -2, 3, -4, 2, 1, 7, 2147483647};
    EXPECT_EQ(write_layout_file(nullptr, u"zelko3.txt", WRITE_SILENT), WRITE_DONE);
    EXPECT_EQ(fake.file_bytes(kPath),
              utf16le_file(u"hdata_cont_max=0\r\nbase_pw=1\r\nbase_ph=-2\r\nbase_px=3\r\nbase_py=-4\r\n"
                           u"prn_mode=2\r\nbmp_mode=1\r\nstart_p=7\r\nstop_p=2147483647\r\n"));
}

TEST_F(LayoutFileTest, BytesAreWrittenUnsigned) {
    text_set(doc().hdata[0].tt.m, u"1");
    doc().hdata[0].fn.c = RgbColor{255, 128, 200};
    doc().hdata[0].fa.lf.lfCharSet = 255;
    EXPECT_EQ(write_layout_file(nullptr, u"zelko3.txt", WRITE_SILENT), WRITE_DONE);
    std::string bytes = fake.file_bytes(kPath);
    for (const char16_t* line : {u"hdata[0].fn.c.r=255\r\n", u"hdata[0].fn.c.g=128\r\n",
                                 u"hdata[0].fn.c.b=200\r\n", u"hdata[0].fa.lf.lfCharSet=255\r\n"})
        EXPECT_NE(bytes.find(utf16le_file(line).substr(2)), std::string::npos) << utf8(line);
}

TEST_F(LayoutFileTest, LinesChangeOnlyTheNamedItemOfTheNamedCard) {
    load(u"hdata[5].fn.c.g=77\r\n"
         u"hdata[5].ft.lf.lfOutPrecision=9\r\n"
         u"hdata[5].ta.lf.lfFaceName=ＭＳ Ｐゴシック\r\n"
         u"hdata[5].tn.lf.lfWeight=400\r\n");
    EXPECT_EQ(doc().hdata[5].fn.c.g, 77);
    EXPECT_EQ(doc().hdata[5].fa.c.g, 0);
    EXPECT_EQ(doc().hdata[4].fn.c.g, 0);
    EXPECT_EQ(doc().hdata[5].ft.lf.lfOutPrecision, 9);
    EXPECT_EQ(doc().hdata[5].tt.lf.lfOutPrecision, 3);
    EXPECT_EQ(field_text(doc().hdata[5].ta.lf.lfFaceName), u"ＭＳ Ｐゴシック");
    EXPECT_EQ(field_text(doc().hdata[5].tn.lf.lfFaceName), u"@HG行書体");
    EXPECT_EQ(doc().hdata[5].tn.lf.lfWeight, 400);
    EXPECT_EQ(doc().hdata[5].fn.lf.lfWeight, 700);
}

TEST_F(LayoutFileTest, PositionsBelongOnlyToThePostalCodeItems) {
    load(u"hdata[1].ta.x1=5\r\nhdata[1].fn.w2=5\r\n"
         u"hdata[1].tt.x1=11\r\nhdata[1].tt.y1=12\r\nhdata[1].tt.w1=13\r\n"
         u"hdata[1].ft.x2=21\r\nhdata[1].ft.y2=22\r\nhdata[1].ft.w2=23\r\n"
         u"hdata[1].tt.xy[0].x=9\r\nhdata[1].tt.x3=9\r\nhdata[1].tt.x\r\nhdata[1].tt.x1\r\n");
    const CardRecord& c = doc().hdata[1];
    EXPECT_EQ(c.tt.x1, 11);
    EXPECT_EQ(c.tt.y1, 12);
    EXPECT_EQ(c.tt.w1, 13);
    EXPECT_EQ(c.tt.x2, 270);
    EXPECT_EQ(c.ft.x2, 21);
    EXPECT_EQ(c.ft.y2, 22);
    EXPECT_EQ(c.ft.w2, 23);
    EXPECT_EQ(c.ft.x1, 29);
    EXPECT_EQ(c.ta.xy[0].x, 370);  // the ignored ta.x1 touched nothing
    EXPECT_EQ(c.fn.xy[1].x, 50);
}

TEST_F(LayoutFileTest, LineOriginsUseEachItemsLineRange) {
    load(u"hdata[2].ta.xy[4].x=44\r\nhdata[2].tn.xy[5].y=55\r\n"
         u"hdata[2].fa.xy[3].x=33\r\nhdata[2].fa.xy[1].y=11\r\n"
         u"hdata[2].fn.xy[-1].x=-1\r\nhdata[2].fn.xy[].y=-2\r\nhdata[2].fa.xy[1]=x\r\n");
    const CardRecord& c = doc().hdata[2];
    EXPECT_EQ(c.ta.xy[4].x, 44);
    EXPECT_EQ(c.tn.xy[0].y, 55);
    EXPECT_EQ(c.tn.xy[4].y, 115);
    EXPECT_EQ(c.fa.xy[0].x, 33);
    EXPECT_EQ(c.fa.xy[1].y, 11);
    EXPECT_EQ(c.fn.xy[0].x, -1);
    EXPECT_EQ(c.fn.xy[0].y, -2);
    EXPECT_EQ(c.fa.xy[1].x, 100);
}

TEST_F(LayoutFileTest, ByteFieldsKeepTheLowEightBits) {
    load(u"hdata[0].tt.c.r=300\r\nhdata[0].tt.c.b=-1\r\nhdata[0].tt.c.g=256\r\n"
         u"hdata[0].fa.lf.lfItalic=257\r\nhdata[0].fa.lf.lfPitchAndFamily=-190\r\n"
         u"hdata[0].ft.c.r=\r\nhdata[0].ft.c.x=5\r\nhdata[0].ft.c.b5\r\n");
    const CardRecord& c = doc().hdata[0];
    EXPECT_EQ(c.tt.c.r, 44);
    EXPECT_EQ(c.tt.c.b, 255);
    EXPECT_EQ(c.tt.c.g, 0);
    EXPECT_EQ(c.fa.lf.lfItalic, 1);
    EXPECT_EQ(c.fa.lf.lfPitchAndFamily, 66);
    EXPECT_EQ(c.ft.c.r, 0);
    EXPECT_EQ(c.ft.c.b, 0);
}

TEST_F(LayoutFileTest, PrintSettingsAndCardSize) {
    load(u"hdata[3].base_w=-4\r\nhdata[3].base_h=99999999999\r\nhdata[3].base_filepass=C:\\bg\\カード.bmp\r\n"
         u"base_pw=1010\r\nbase_ph=1490\r\nbase_px=-12\r\nbase_py=34\r\nprn_mode=3\r\nbmp_mode=1\r\n"
         u"start_p=5\r\nstop_p=\r\nstop_p=9x\r\nbase_pwx=1\r\n");
    EXPECT_EQ(doc().hdata[3].base_w, -4);
    EXPECT_EQ(doc().hdata[3].base_h, INT32_MAX);
    EXPECT_EQ(field_text(doc().hdata[3].base_filepass), u"C:\\bg\\カード.bmp");
    EXPECT_EQ(describe_print(doc().print), describe_print(PrintSettings{1010, 1490, -12, 34, 3, 1, 5, 9}));
}

TEST_F(LayoutFileTest, MissingLinesKeepTheDefaults) {
    doc().hdata[9].tn.c = RgbColor{1, 2, 3};
    doc().print.prn_mode = 2;
    text_set(doc().hdata[9].tn.m[0].s, u"texts stay");
    load(u"hdata_cont_max=1\r\nhdata[0].base_w=401\r\n");
    EXPECT_EQ(doc().hdata[0].base_w, 401);
    EXPECT_EQ(describe_layout(doc().hdata[9]), default_layout());
    EXPECT_EQ(describe_print(doc().print), describe_print(PrintSettings{1000, 1480, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(field_text(doc().hdata[9].tn.m[0].s), u"texts stay");
}

TEST_F(LayoutFileTest, TextsAreCutToTheirFields) {
    std::u16string face(50, u'字');
    std::u16string path(400, u'p');
    load(u"hdata[0].tt.lf.lfFaceName=" + face + u"\r\nhdata[0].base_filepass=" + path + u"\r\n");
    EXPECT_EQ(field_text(doc().hdata[0].tt.lf.lfFaceName), std::u16string(31, u'字'));
    EXPECT_EQ(field_text(doc().hdata[0].base_filepass), std::u16string(259, u'p'));
    EXPECT_EQ(doc().hdata[0].tt.x1, 183);
}

TEST_F(LayoutFileTest, MalformedLinesAreIgnored) {
    load(u"hdata[0].tt\r\nhdata[0].tt.\r\nhdata[0].tx.x1=1\r\nhdata[0]tt.x1=1\r\n"
         u"hdata[0].tt.lf.\r\nhdata[0].tt.lf.lfHeigh=1\r\nhdata[0].tt.lfHeight=1\r\n"
         u"hdata[0].ta.xy[\r\nhdata[0].ta.xy[0\r\nhdata[0].ta.xy[0].z=1\r\n"
         u"hdata[0].base\r\nhdata[0].tt.c\r\nhdata[0].tt.c.\r\nhdata[0].tt.c.r\r\nx\r\n\r\n");
    EXPECT_EQ(describe_layout(doc().hdata[0]), default_layout());
}

// Lines in the writer's order are recognised without the whole grammar;
// the value rules stay the same.
TEST_F(LayoutFileTest, WriterOrderLinesFollowTheSameRules) {
    load(u"hdata_cont_max=1\r\nhdata[0].base_w=\r\nhdata[0].base_h=12abc\r\n"
         u"hdata[0].base_filepass=" + std::u16string(300, u'p') + u"\r\n"
         u"hdata[0].tt.x1=-2147483649\r\nhdata[0].tt.y1= 5\r\nhdata[0].tt.w1=+6\r\nhdata[0].tt.x2=-0\r\n"
         u"hdata[0].tt.y2=9999\r\nhdata[0].tt.w2=-\r\nhdata[0].tt.lf.lfHeight=0x10\r\n"
         u"hdata[0].tt.lf.lfWidth=1\r\nhdata[0].tt.lf.lfEscapement=2\r\nhdata[0].tt.lf.lfOrientation=3\r\n"
         u"hdata[0].tt.lf.lfWeight=4\r\nhdata[0].tt.lf.lfItalic=300\r\nhdata[0].tt.lf.lfUnderline=-1\r\n");
    const CardRecord& c = doc().hdata[0];
    EXPECT_EQ(c.base_w, 400);
    EXPECT_EQ(c.base_h, 12);
    EXPECT_EQ(field_text(c.base_filepass), std::u16string(259, u'p'));
    EXPECT_EQ(c.tt.x1, INT32_MIN);
    EXPECT_EQ(c.tt.y1, 5);
    EXPECT_EQ(c.tt.w1, 6);
    EXPECT_EQ(c.tt.x2, 0);
    EXPECT_EQ(c.tt.y2, 9999);
    EXPECT_EQ(c.tt.w2, 0);
    EXPECT_EQ(c.tt.lf.lfHeight, 0);
    EXPECT_EQ(c.tt.lf.lfWeight, 4);
    EXPECT_EQ(c.tt.lf.lfItalic, 44);
    EXPECT_EQ(c.tt.lf.lfUnderline, 255);
}

TEST_F(LayoutFileTest, FullLayoutsSurviveARoundTrip) {
    fill_full_document();
    std::string expected[HDATA_MAX];
    for (int i = 0; i < HDATA_MAX; ++i) expected[i] = describe_layout(doc().hdata[i]);
    std::string print = describe_print(doc().print);
    ASSERT_EQ(write_layout_file(nullptr, u"zelko3.txt", WRITE_SILENT), WRITE_DONE);
    reset_layouts();
    read_kv_file(nullptr, READ_SILENT, KIND_LAYOUT, u"zelko3.txt");
    EXPECT_TRUE(fake.boxes.empty());
    for (int i = 0; i < HDATA_MAX; ++i) ASSERT_EQ(describe_layout(doc().hdata[i]), expected[i]) << i;
    EXPECT_EQ(describe_print(doc().print), print);
}

}  // namespace

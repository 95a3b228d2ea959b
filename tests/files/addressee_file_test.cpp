#include <string>

#include "tests/files/data_file_fixture.h"
#include "tests/support/full_document.h"
#include "tests/support/golden.h"

namespace {

const std::u16string kPath = u"C:\\work\\zelko2.txt";

class AddresseeFileTest : public DataFileTest {
protected:
    void load(const std::u16string& text) {
        put_data(kPath, text);
        read_kv_file(nullptr, READ_SILENT, KIND_ADDRESSEE, u"zelko2.txt");
    }
    size_t written_lines() {
        EXPECT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_DONE);
        std::string bytes = fake.file_bytes(kPath);
        size_t lines = 0;
        for (size_t i = 2; i + 3 < bytes.size(); i += 2)
            if (bytes.compare(i, 4, std::string("\r\0\n\0", 4)) == 0) ++lines;
        return lines;
    }
};

TEST_F(AddresseeFileTest, WritesTheGoldenFileForTwoCards) {
    CardRecord& a = doc().hdata[0];
    text_set(a.tt.m, u"1000001");
    text_set(a.ta.m[0].s, u"東京都千代田区");
    text_set(a.ta.m[1].s, u"千代田1-1");
    text_set(a.ta.m[4].s, u"ｱﾊﾟｰﾄ101");
    text_set(a.tn.m[0].s, u"山田 太郎 様");
    a.typ[0] = TypEntry{3, 2026};
    a.typ[1] = TypEntry{1, 2025};
    a.typ[9] = TypEntry{-1, 2017};
    CardRecord& b = doc().hdata[1];  // only a name: in use
    text_set(b.tn.m[0].s, u"𠮷田 花子 様");
    text_set(b.tn.m[1].s, u"𠮷田 一郎 様");
    b.ftb = 9;
    b.base_w = 123;  // layout fields are not in this file
    EXPECT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_DONE);
    EXPECT_EQ(fake.file_bytes(kPath), golden_data_file("addressees_two.txt"));
}

TEST_F(AddresseeFileTest, OnlyTheLeadingCardsInUseAreWritten) {
    EXPECT_EQ(written_lines(), 1u);
    for (int i = 0; i < 3; ++i) text_set(doc().hdata[i].tt.m, u"1");
    text_set(doc().hdata[3].ta.m[2].s, u"line 2 only");  // not in use
    text_set(doc().hdata[4].tt.m, u"behind the gap");
    EXPECT_EQ(written_lines(), 1u + 3 * 32);
    EXPECT_EQ(fake.file_bytes(kPath).find(utf16le_file(u"hdata[4]").substr(2)), std::string::npos);
}

TEST_F(AddresseeFileTest, AReadingIsWrittenOnlyWhenThereIsOneAndReadBack) {
    for (int i = 0; i < 3; ++i) text_set(doc().hdata[i].tt.m, u"1");
    text_set(doc().hdata[1].yomi, u"ヤマダ　タロウ");
    EXPECT_EQ(written_lines(), 1u + 3 * 32 + 1);
    const std::string bytes = fake.file_bytes(kPath);
    const std::string line = utf16le_file(u"hdata[0].typ[9].y=0\r\nhdata[1].tt.m=").substr(2);
    EXPECT_NE(bytes.find(line), std::string::npos);  // card 0 has none
    EXPECT_NE(bytes.find(utf16le_file(u"hdata[1].typ[9].y=0\r\nhdata[1].yomi.s=ヤマダ　タロウ\r\n").substr(2)),
              std::string::npos);
    clear_addressees();
    text_set(doc().hdata[2].yomi, u"stale");
    read_kv_file(nullptr, READ_SILENT, KIND_ADDRESSEE, u"zelko2.txt");
    EXPECT_EQ(std::u16string(doc().hdata[1].yomi), u"ヤマダ　タロウ");
    EXPECT_EQ(doc().hdata[0].yomi[0], 0);
    EXPECT_EQ(doc().hdata[2].yomi[0], 0);
}

TEST_F(AddresseeFileTest, LoadingReplacesTextsAndKeepsLayouts) {
    text_set(doc().hdata[7].tt.m, u"old");
    doc().hdata[7].ftb = 4;
    doc().hdata[7].typ[3] = TypEntry{2, 2020};
    doc().hdata[7].tn.lf.lfHeight = -99;
    load(u"hdata_cont_max=1\r\nhdata[0].tt.m=1000001\r\n");
    EXPECT_EQ(doc().hdata[7].tt.m[0], 0);
    EXPECT_EQ(doc().hdata[7].ftb, 0);
    EXPECT_EQ(doc().hdata[7].typ[3].y, 0);
    EXPECT_EQ(doc().hdata[7].tn.lf.lfHeight, -99);
    EXPECT_EQ(count_cards(), 1);
}

TEST_F(AddresseeFileTest, IndicesOutOfRangeOrEmptyGoToZero) {
    load(u"hdata[250].tt.m=250\r\n"
         u"hdata[].tn.m[1].s=empty\r\n"
         u"hdata[5].ta.m[7].s=seven\r\n"
         u"hdata[5].typ[12].t=4\r\n"
         u"hdata[5].typ[12].y=2030\r\n"
         u"hdata[5].typ[9].y=2021\r\n"
         u"hdata[5].typ[].t=6\r\n"
         u"hdata[199].tn.m[4].s=last\r\n");
    EXPECT_EQ(field_text(doc().hdata[0].tt.m), u"250");
    EXPECT_EQ(field_text(doc().hdata[0].tn.m[1].s), u"empty");
    EXPECT_EQ(field_text(doc().hdata[5].ta.m[0].s), u"seven");
    EXPECT_EQ(doc().hdata[5].typ[0].t, 6);
    EXPECT_EQ(doc().hdata[5].typ[0].y, 2030);
    EXPECT_EQ(doc().hdata[5].typ[9].y, 2021);
    EXPECT_EQ(field_text(doc().hdata[199].tn.m[4].s), u"last");
}

TEST_F(AddresseeFileTest, SenderChoiceStaysWithinTheSenderTable) {
    load(u"hdata[1].ftb=7\r\nhdata[2].ftb=\r\nhdata[3].ftb=15\r\nhdata[4].ftb=-1\r\n"
         u"hdata[5].ftb=9\r\nhdata[5].ftb=10\r\nhdata[6].ftb= 3abc\r\nhdata[7].ftb=99999999999999\r\n");
    EXPECT_EQ(doc().hdata[1].ftb, 7);
    EXPECT_EQ(doc().hdata[2].ftb, 0);
    EXPECT_EQ(doc().hdata[3].ftb, 0);
    EXPECT_EQ(doc().hdata[4].ftb, 0);
    EXPECT_EQ(doc().hdata[5].ftb, 0);
    EXPECT_EQ(doc().hdata[6].ftb, 3);
    EXPECT_EQ(doc().hdata[7].ftb, 0);
}

// The same rules hold for lines in the writer's order, which the reader
// recognises without going through the whole grammar.
TEST_F(AddresseeFileTest, WriterOrderLinesFollowTheSameRules) {
    std::u16string text = u"hdata_cont_max=1\r\nhdata[0].tt.m=1\r\n";
    for (int k = 0; k < 5; ++k) text += u"hdata[0].ta.m[" + std::u16string(1, static_cast<char16_t>(u'0' + k)) + u"].s=\r\n";
    for (int k = 0; k < 5; ++k) text += u"hdata[0].tn.m[" + std::u16string(1, static_cast<char16_t>(u'0' + k)) + u"].s=n\r\n";
    text += u"hdata[0].ftb=15\r\nhdata[0].typ[0].t=300x\r\nhdata[0].typ[0].y=\r\nhdata[0].typ[1].t=-7\r\n";
    doc().hdata[0].typ[0].y = 1999;  // cleared by the load; the empty value keeps it cleared
    load(text);
    EXPECT_EQ(doc().hdata[0].ftb, 0);
    EXPECT_EQ(doc().hdata[0].typ[0].t, 300);
    EXPECT_EQ(doc().hdata[0].typ[0].y, 0);
    EXPECT_EQ(doc().hdata[0].typ[1].t, -7);
    EXPECT_EQ(field_text(doc().hdata[0].tn.m[4].s), u"n");
    EXPECT_EQ(doc().hdata[0].ta.m[0].s[0], 0);

    load(u"hdata_cont_max=1\r\nhdata[0].tt.m=1\r\nhdata[0].ftb=-3\r\n");
    EXPECT_EQ(doc().hdata[0].ftb, 0);
}

TEST_F(AddresseeFileTest, NumbersFollowWtoiOnAtMost31Units) {
    load(u"hdata[0].typ[0].y=-2026x\r\n"
         u"hdata[0].typ[1].y=\t+17\r\n"
         u"hdata[0].typ[2].y=abc\r\n"
         u"hdata[0].typ[3].y=00000000000000000000000000000012\r\n"   // 32 digits: the 2 is not read
         u"hdata[0].typ[4].y=1234567890123456789012345678901234567890\r\n"
         u"hdata[0].typ[5].y=\r\n");
    EXPECT_EQ(doc().hdata[0].typ[0].y, -2026);
    EXPECT_EQ(doc().hdata[0].typ[1].y, 17);
    EXPECT_EQ(doc().hdata[0].typ[2].y, 0);
    EXPECT_EQ(doc().hdata[0].typ[3].y, 1);
    EXPECT_EQ(doc().hdata[0].typ[4].y, INT32_MAX);
    EXPECT_EQ(doc().hdata[0].typ[5].y, 0);
}

TEST_F(AddresseeFileTest, FullCardsSurviveARoundTrip) {
    fill_full_document();
    std::string expected[HDATA_MAX];
    for (int i = 0; i < HDATA_MAX; ++i) expected[i] = describe_addressee(doc().hdata[i]);
    ASSERT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_DONE);
    clear_addressees();
    read_kv_file(nullptr, READ_SILENT, KIND_ADDRESSEE, u"zelko2.txt");
    EXPECT_TRUE(fake.boxes.empty());
    for (int i = 0; i < HDATA_MAX; ++i) ASSERT_EQ(describe_addressee(doc().hdata[i]), expected[i]) << i;
}

}  // namespace

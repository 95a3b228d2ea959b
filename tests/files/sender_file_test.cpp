#include <string>

#include "tests/files/data_file_fixture.h"
#include "tests/support/full_document.h"
#include "tests/support/golden.h"

namespace {

const std::u16string kPath = u"C:\\work\\zelko1.txt";

class SenderFileTest : public DataFileTest {
protected:
    void load(const std::u16string& text) {
        put_data(kPath, text);
        read_kv_file(nullptr, READ_SILENT, KIND_SENDER, u"zelko1.txt");
    }
    std::u16string written() {
        EXPECT_EQ(write_sender_file(nullptr, u"zelko1.txt", WRITE_SILENT), WRITE_DONE);
        std::string bytes = fake.file_bytes(kPath);
        std::u16string units;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8));
        return units;
    }
};

TEST_F(SenderFileTest, WritesTheGoldenFileForTwoSenders) {
    text_set(doc().fdata[0].t, u"100-0001");
    text_set(doc().fdata[0].a[0].s, u"東京都千代田区千代田1-1");
    text_set(doc().fdata[0].n[0].s, u"山田 太郎");
    text_set(doc().fdata[0].n[1].s, u"山田 花子");
    // Empty postal code, but address line 0: in use.
    text_set(doc().fdata[1].a[0].s, u"大阪府大阪市北区梅田ﾋﾞﾙ3F");
    text_set(doc().fdata[1].a[1].s, u"𠮷野 方");
    text_set(doc().fdata[1].n[1].s, u"鈴木 一郎");
    // Sender 2 is not in use, so sender 3 is not written.
    text_set(doc().fdata[2].n[1].s, u"not in use");
    text_set(doc().fdata[3].t, u"lost");
    EXPECT_EQ(write_sender_file(nullptr, u"zelko1.txt", WRITE_SILENT), WRITE_DONE);
    EXPECT_EQ(fake.file_bytes(kPath), golden_data_file("senders_two.txt"));
}

TEST_F(SenderFileTest, NoSenderGivesTheCountLineOnly) {
    EXPECT_EQ(written(), u"fdata_cont_max=0\r\n");
}

TEST_F(SenderFileTest, AllTenSendersAreWritten) {
    for (int j = 0; j < FDATA_MAX; ++j) text_set(doc().fdata[j].n[0].s, u"n");
    std::u16string text = written();
    EXPECT_EQ(text.substr(0, 19), u"fdata_cont_max=10\r\n");
    size_t lines = 0;
    for (size_t at = 0; (at = text.find(u"\r\n", at)) != std::u16string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, 51u);
    EXPECT_NE(text.find(u"fdata[9].n[1].s=\r\n"), std::u16string::npos);
}

TEST_F(SenderFileTest, IndicesOutOfRangeOrMalformedGoToZero) {
    load(u"fdata[12].t=twelve\r\n"
         u"fdata[3].a[5].s=five\r\n"
         u"fdata[].n[1].s=empty index\r\n"
         u"fdata[4].a[].s=empty line index\r\n");
    EXPECT_EQ(field_text(doc().fdata[0].t), u"twelve");
    EXPECT_EQ(field_text(doc().fdata[3].a[0].s), u"five");
    EXPECT_EQ(field_text(doc().fdata[0].n[1].s), u"empty index");
    EXPECT_EQ(field_text(doc().fdata[4].a[0].s), u"empty line index");

    load(u"fdata[-1].t=minus\r\nfdata[99999999999].a[1].s=huge\r\nfdata[3x].t=three\r\n"
         u"fdata[ 2].n[+1].s=spaces\r\nfdata[1234567890123456789012345678901234567890].t=40\r\n");
    EXPECT_EQ(field_text(doc().fdata[0].a[1].s), u"huge");
    EXPECT_EQ(field_text(doc().fdata[0].t), u"40");
    EXPECT_EQ(field_text(doc().fdata[3].t), u"three");
    EXPECT_EQ(field_text(doc().fdata[2].n[1].s), u"spaces");
}

TEST_F(SenderFileTest, CountLineIsInformationOnly) {
    std::u16string text = u"fdata_cont_max=5\r\n";
    for (int j = 0; j < 7; ++j) text += u"fdata[" + std::u16string(1, static_cast<char16_t>(u'0' + j)) + u"].t=x\r\n";
    load(text);
    EXPECT_EQ(count_senders(), 7);
}

TEST_F(SenderFileTest, ValuesAreBoundedAndEmptyValuesLeaveTheField) {
    load(u"fdata[1].t=1234567890123456789\r\n"
         u"fdata[1].a[1].s=" + std::u16string(100, u'あ') + u"\r\n"
         u"fdata[1].n[0].s=\r\n"
         u"fdata[1].a[0].s=a=b]c\r\n"
         u"fdata[1].n[1]=no .s\r\n"
         u"fdata[1]\r\n"
         u"fdata[1\r\n"
         u"fdata[1].x=unknown\r\n"
         u"\r\n"
         u"hdata[1].tt.m=other file\r\n");
    EXPECT_EQ(field_text(doc().fdata[1].t), u"123456789012345");
    EXPECT_EQ(field_text(doc().fdata[1].a[1].s), std::u16string(63, u'あ'));
    EXPECT_EQ(doc().fdata[1].n[0].s[0], 0);
    EXPECT_EQ(field_text(doc().fdata[1].a[0].s), u"a=b]c");
    EXPECT_EQ(doc().fdata[1].n[1].s[0], 0);
    EXPECT_EQ(doc().fdata[0].t[0], 0);
}

TEST_F(SenderFileTest, LaterLinesWinAndShorterTextsClearTheWholeField) {
    load(u"fdata[2].t=123456789\r\nfdata[2].t=12\r\n");
    EXPECT_EQ(field_text(doc().fdata[2].t), u"12");
    for (int u = 2; u < POSTAL_CAP; ++u) EXPECT_EQ(doc().fdata[2].t[u], 0) << u;
}

TEST_F(SenderFileTest, FullSendersSurviveARoundTrip) {
    fill_full_document();
    std::string expected[FDATA_MAX];
    for (int j = 0; j < FDATA_MAX; ++j) expected[j] = describe_sender(doc().fdata[j]);
    ASSERT_EQ(write_sender_file(nullptr, u"zelko1.txt", WRITE_SILENT), WRITE_DONE);
    clear_senders();
    read_kv_file(nullptr, READ_SILENT, KIND_SENDER, u"zelko1.txt");
    EXPECT_TRUE(fake.boxes.empty());
    for (int j = 0; j < FDATA_MAX; ++j) EXPECT_EQ(describe_sender(doc().fdata[j]), expected[j]) << j;
}

}  // namespace

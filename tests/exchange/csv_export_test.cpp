#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "exchange/csv_export.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

const char16_t kHeader[] =
    u"宛先,名前1,名前2,名前3,名前4,名前5,郵便番号,住所1,住所2,住所3,住所4,住所5,"
    u"差出番号,名前1,名前2,郵便番号,住所1,住所2,\r\n";

class CsvExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        text_set(doc().work_dir, u"C:\\work");
        text_set(doc().chosen_file, kPath);
    }

    // Two cards: the first with sender 0, the second without a postal code
    // and with sender 2, whose postal code is empty too. Card 3 holds text
    // behind the unused card 2 and is not exported.
    void fill_two_cards() {
        Document& d = doc();
        text_set(d.fdata[0].t, u"2220002");
        text_set(d.fdata[0].a[0].s, u"横浜市");
        text_set(d.fdata[0].n[0].s, u"鈴木一郎");
        text_set(d.fdata[2].a[0].s, u"札幌市");
        text_set(d.fdata[2].a[1].s, u"北区");
        text_set(d.fdata[2].n[0].s, u"田中");

        CardRecord& first = d.hdata[0];
        text_set(first.tn.m[0].s, u"山田 太郎");
        text_set(first.tn.m[1].s, u"花子");
        text_set(first.tt.m, u"1000001");
        text_set(first.ta.m[0].s, u"東京都千代田区");
        text_set(first.ta.m[1].s, u"1-1");
        first.ftb = 0;

        CardRecord& second = d.hdata[1];
        text_set(second.tn.m[0].s, u"佐藤");
        text_set(second.ta.m[0].s, u"大阪府");
        second.ftb = 2;

        text_set(d.hdata[3].tn.m[0].s, u"not exported");
    }

    static constexpr const char16_t* kPath = u"C:\\work\\out.csv";
    FakePlatform fake;
};

TEST_F(CsvExportTest, TwoCardsByteForByte) {
    fill_two_cards();
    EXPECT_EQ(export_csv(nullptr), CSV_WRITTEN);
    std::u16string expected = kHeader;
    expected += u"1,山田 太郎,花子,,,,1000001,東京都千代田区,1-1,,,,0,鈴木一郎,,2220002,横浜市,,\r\n";
    expected += u"2,佐藤,,,,, ,大阪府,,,,,2,田中,, ,札幌市,北区,\r\n";
    EXPECT_EQ(fake.file_bytes(kPath), utf16le_file(expected));
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_FALSE(doc().modified);
}

TEST_F(CsvExportTest, NoCardsGiveTheHeaderOnly) {
    text_set(doc().hdata[1].tn.m[0].s, u"behind an empty card 0");
    EXPECT_EQ(export_csv(nullptr), CSV_WRITTEN);
    EXPECT_EQ(fake.file_bytes(kPath), utf16le_file(kHeader));
}

TEST_F(CsvExportTest, SenderIndexOutsideTheTableExportsEmptySenderTexts) {
    text_set(doc().fdata[0].n[0].s, u"sender 0");
    text_set(doc().hdata[0].tt.m, u"1234567");
    doc().hdata[0].ftb = 12;
    text_set(doc().hdata[1].tt.m, u"7654321");
    doc().hdata[1].ftb = -1;
    EXPECT_EQ(export_csv(nullptr), CSV_WRITTEN);
    std::u16string expected = kHeader;
    expected += u"1,,,,,,1234567,,,,,,12,,, ,,,\r\n";
    expected += u"2,,,,,,7654321,,,,,,-1,,, ,,,\r\n";
    EXPECT_EQ(fake.file_bytes(kPath), utf16le_file(expected));
}

TEST_F(CsvExportTest, DecliningTheOverwriteKeepsTheOldFile) {
    fill_two_cards();
    fake.put_file(kPath, "old contents");
    fake.answer(kAnswerNo);
    WindowHandle owner = reinterpret_cast<WindowHandle>(0x55);
    EXPECT_EQ(export_csv(owner), CSV_DECLINED);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].owner, owner);
    EXPECT_EQ(fake.boxes[0].text, u"既にC:\\work\\out.csvのファイルが存在しています。\r\n上書きしますか？");
    EXPECT_EQ(fake.boxes[0].caption, u"ファイル書込確認");
    EXPECT_EQ(fake.boxes[0].style & 0xF, kButtonsYesNo);
    EXPECT_TRUE(fake.dialogs.empty());  // no second save dialog
    EXPECT_EQ(fake.file_bytes(kPath), "old contents");
}

TEST_F(CsvExportTest, AgreeingToTheOverwriteReplacesTheFile) {
    fake.put_file(kPath, "old contents");
    fake.answer(kAnswerYes);
    EXPECT_EQ(export_csv(nullptr), CSV_WRITTEN);
    EXPECT_EQ(fake.file_bytes(kPath), utf16le_file(kHeader));
}

TEST_F(CsvExportTest, AFileThatCannotBeWrittenIsReportedAndTheOldOneKept) {
    fake.put_file(kPath, "old contents");
    fake.unwritable.insert(kPath);
    fake.answer(kAnswerYes);
    EXPECT_EQ(export_csv(nullptr), CSV_FAILED);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].text, u"C:\\work\\out.csvのファイルが開きません。\r\n書込中止します。");
    EXPECT_EQ(fake.boxes[1].caption, u"ファイル書込エラー");
    EXPECT_EQ(fake.boxes[1].style & 0xF0, kIconWarning);
    EXPECT_EQ(fake.file_bytes(kPath), "old contents");

    // A folder that does not exist: nothing to ask, the same message.
    text_set(doc().chosen_file, u"C:\\missing\\out.csv");
    fake.boxes.clear();
    EXPECT_EQ(export_csv(nullptr), CSV_FAILED);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].caption, u"ファイル書込エラー");
}

TEST_F(CsvExportTest, TextsWithCommasQuotesOrLineBreaksAreQuoted) {
    text_set(doc().hdata[0].tn.m[0].s, u"山田, 太郎");
    text_set(doc().hdata[0].tn.m[1].s, u"\"花子\"");
    text_set(doc().hdata[0].ta.m[0].s, u"一\r\n二");
    EXPECT_EQ(export_csv(nullptr), CSV_WRITTEN);
    std::u16string expected = kHeader;
    expected += u"1,\"山田, 太郎\",\"\"\"花子\"\"\",,,, ,\"一\r\n二\",,,,,0,,, ,,,\r\n";
    EXPECT_EQ(fake.file_bytes(kPath), utf16le_file(expected));
}

TEST_F(CsvExportTest, FullTableWithLongestTexts) {
    std::u16string line(63, u'字');
    for (int i = 0; i < HDATA_MAX; ++i) {
        CardRecord& card = doc().hdata[i];
        text_set(card.tt.m, u"123456789012345");
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            text_set(card.ta.m[k].s, line.c_str());
            text_set(card.tn.m[k].s, line.c_str());
        }
        card.ftb = 9;
    }
    EXPECT_EQ(export_csv(nullptr), CSV_WRITTEN);
    std::string bytes = fake.file_bytes(kPath);
    // BOM, header, then 200 rows of 10 lines of 63 units, a 15-unit code,
    // the number, "9", 17 commas... counted as units:
    size_t row_units_without_number = 10 * 63 + 15 + 1 + 1 /* " " of the sender code */ + 18 + 2;
    size_t numbers = 9 * 1 + 90 * 2 + 101 * 3;  // 1..9, 10..99, 100..200
    size_t units = 1 + (sizeof(kHeader) / 2 - 1) + 200 * row_units_without_number + numbers;
    EXPECT_EQ(bytes.size(), units * 2);
}

}  // namespace

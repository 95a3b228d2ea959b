#include <string>

#include "files/file_dialogs.h"
#include "tests/files/data_file_fixture.h"

namespace {

const std::u16string kSenderFile = u"C:\\work\\zelko1.txt";
const std::string kOldBytes = utf16le_file(u"fdata_cont_max=0\r\nold\r\n");

class KvWriterTest : public DataFileTest {
protected:
    void SetUp() override {
        DataFileTest::SetUp();
        text_set(doc().fdata[0].t, u"1000001");
    }
    std::string written_senders() const {
        return utf16le_file(u"fdata_cont_max=1\r\nfdata[0].t=1000001\r\nfdata[0].a[0].s=\r\n"
                            u"fdata[0].a[1].s=\r\nfdata[0].n[0].s=\r\nfdata[0].n[1].s=\r\n");
    }
};

TEST_F(KvWriterTest, ExitSaveOverwritesWithoutAQuestion) {
    fake.put_file(kSenderFile, kOldBytes);
    EXPECT_EQ(write_sender_file(nullptr, u"zelko1.txt", WRITE_SILENT), WRITE_DONE);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.file_bytes(kSenderFile), written_senders());
    // The file and its backup folder; no temporary file left.
    EXPECT_EQ(fake.list_dir(u"C:\\work").size(), 2u);
}

TEST_F(KvWriterTest, MenuSaveOfANewFileAsksNothing) {
    text_set(doc().chosen_file, u"C:\\work\\new.txt");
    EXPECT_EQ(write_sender_file(nullptr, doc().chosen_file, WRITE_INTERACTIVE), WRITE_DONE);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\new.txt"), written_senders());
}

TEST_F(KvWriterTest, MenuSaveOverAnExistingFileAsksAndOverwritesOnYes) {
    fake.put_file(kSenderFile, kOldBytes);
    fake.answer(kAnswerYes);
    EXPECT_EQ(write_sender_file(nullptr, u"zelko1.txt", WRITE_INTERACTIVE), WRITE_DONE);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, u"既にzelko1.txtのファイルが存在しています。\r\n上書きしますか？");
    EXPECT_EQ(fake.boxes[0].caption, u"差出ファイル書込確認");
    EXPECT_EQ(fake.boxes[0].style, kButtonsYesNo);
    EXPECT_TRUE(fake.dialogs.empty());
    EXPECT_EQ(fake.file_bytes(kSenderFile), written_senders());
}

TEST_F(KvWriterTest, NoThenAnotherTxtFileWritesThatFileWithoutAskingAgain) {
    fake.put_file(kSenderFile, kOldBytes);
    fake.put_file(u"C:\\work\\other.txt", kOldBytes);  // exists too: no second question
    text_set(doc().chosen_file, kSenderFile.c_str());
    fake.answer(kAnswerNo);
    fake.answer_dialog(u"C:\\work\\other.txt");
    EXPECT_EQ(write_sender_file(nullptr, doc().chosen_file, WRITE_INTERACTIVE), WRITE_DONE);
    EXPECT_EQ(fake.boxes.size(), 1u);
    ASSERT_EQ(fake.dialogs.size(), 1u);
    EXPECT_TRUE(fake.dialogs[0].save);
    EXPECT_EQ(fake.dialogs[0].initial_file, u"C:\\work\\差出_無題.txt");
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\other.txt"), written_senders());
    EXPECT_EQ(fake.file_bytes(kSenderFile), kOldBytes);
    EXPECT_EQ(field_text(doc().chosen_file), u"C:\\work\\other.txt");
}

TEST_F(KvWriterTest, NoThenCancelOrAnotherExtensionWritesNothing) {
    fake.put_file(kSenderFile, kOldBytes);
    fake.answer(kAnswerNo);
    fake.cancel_dialog();
    EXPECT_EQ(write_sender_file(nullptr, u"zelko1.txt", WRITE_INTERACTIVE), WRITE_DECLINED);
    EXPECT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.file_bytes(kSenderFile), kOldBytes);

    fake.answer(kAnswerNo);
    fake.answer_dialog(u"C:\\work\\list.csv");
    EXPECT_EQ(write_sender_file(nullptr, u"zelko1.txt", WRITE_INTERACTIVE), WRITE_DECLINED);
    EXPECT_FALSE(fake.has_file(u"C:\\work\\list.csv"));
    EXPECT_EQ(fake.file_bytes(kSenderFile), kOldBytes);
    EXPECT_EQ(fake.list_dir(u"C:\\work").size(), 1u);
}

// A write that fails (full disk, read-only file) keeps the previous file.
TEST_F(KvWriterTest, FailedWriteKeepsTheOldFileAndReportsPerKind) {
    struct Case {
        int (*write)(WindowHandle, const char16_t*, int);
        const char16_t* name;
        const char16_t* caption;
    };
    const Case cases[] = {
        {write_sender_file, u"zelko1.txt", u"差出ファイル書込エラー"},
        {write_addressee_file, u"zelko2.txt", u"宛先ファイル書込エラー"},
        {write_layout_file, u"zelko3.txt", u"情報ファイル書込エラー"},
    };
    for (const Case& c : cases) {
        std::u16string path = u"C:\\work\\" + std::u16string(c.name);
        fake.put_file(path, kOldBytes);
        fake.unwritable.insert(path);
        fake.boxes.clear();
        EXPECT_EQ(c.write(nullptr, c.name, WRITE_SILENT), WRITE_FAILED);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, u"ファイルが開きません。\r\n書込中止します。");
        EXPECT_EQ(fake.boxes[0].caption, c.caption);
        EXPECT_EQ(fake.boxes[0].style, kButtonsOk | kIconWarning);
        EXPECT_EQ(fake.file_bytes(path), kOldBytes);
    }
}

TEST_F(KvWriterTest, QuestionCaptionsPerKind) {
    fake.put_file(u"C:\\work\\zelko2.txt", kOldBytes);
    fake.put_file(u"C:\\work\\zelko3.txt", kOldBytes);
    fake.answer(kAnswerYes);
    fake.answer(kAnswerYes);
    EXPECT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_INTERACTIVE), WRITE_DONE);
    EXPECT_EQ(write_layout_file(nullptr, u"zelko3.txt", WRITE_INTERACTIVE), WRITE_DONE);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].caption, u"宛先ファイル書込確認");
    EXPECT_EQ(fake.boxes[1].caption, u"情報ファイル書込確認");
}

TEST_F(KvWriterTest, MissingFolderOrOverlongPathFailsWithTheMessage) {
    EXPECT_EQ(write_sender_file(nullptr, u"C:\\missing\\zelko1.txt", WRITE_SILENT), WRITE_FAILED);
    std::u16string overlong = u"C:\\" + std::u16string(300, u'x') + u".txt";
    EXPECT_EQ(write_sender_file(nullptr, overlong.c_str(), WRITE_INTERACTIVE), WRITE_FAILED);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].caption, u"差出ファイル書込エラー");
}

TEST(KvWriterLineTest, LinesEndInCrLfAndNeverExceed287Units) {
    KvWriter out;
    out.line().add(u"a=").add_int(-12);
    out.end_line();
    std::u16string long_value(400, u'z');
    out.line().add(u"b=").add(long_value.c_str());
    out.end_line();
    const std::u16string& units = out.units();
    ASSERT_GE(units.size(), 1u);
    EXPECT_EQ(units[0], 0xFEFF);
    EXPECT_EQ(units.substr(1, 7), u"a=-12\r\n");
    std::u16string second = units.substr(8);
    EXPECT_EQ(second.size(), 287u);
    EXPECT_EQ(second.substr(285), u"\r\n");
}

TEST(KvWriterLineTest, FieldsAreWrittenUpToTheirCapacityMinusOne) {
    KvWriter out;
    char16_t field[4] = {u'a', u'b', u'c', u'd'};  // lost its NUL
    kv_add_field(out.line(), field);
    out.end_line();
    EXPECT_EQ(out.units().substr(1), u"abc\r\n");
}

}  // namespace

#include "app/exit_flow.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "editors/sender_editor.h"
#include "editors/sender_editor_ids.h"
#include "files/data_files.h"
#include "files/kv_file.h"
#include "files/startup_files.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "print/print_job.h"
#include "tests/editors/fake_dialog_view.h"
#include "tests/print/fake_printer_spooler.h"
#include "tests/support/fake_platform.h"

namespace {

const std::u16string kSenderFile = u"C:\\work\\zelko1.txt";
const std::u16string kAddresseeFile = u"C:\\work\\zelko2.txt";
const std::u16string kLayoutFile = u"C:\\work\\zelko3.txt";

class ExitFlow : public ::testing::Test {
protected:
    void SetUp() override {
        clear_senders();
        clear_addressees();
        reset_layouts();
        text_set(doc().work_dir, u"C:\\work");
        doc().modified = false;
        text_set(doc().fdata[0].n[0].s, u"山田太郎");
        text_set(doc().hdata[0].tn.m[0].s, u"鈴木花子");
    }
    void TearDown() override { doc().modified = false; }

    void expect_box(size_t i, const std::u16string& text, const std::u16string& caption,
                    unsigned buttons) {
        ASSERT_LT(i, fake.boxes.size());
        EXPECT_EQ(utf8(fake.boxes[i].text), utf8(text));
        EXPECT_EQ(utf8(fake.boxes[i].caption), utf8(caption));
        EXPECT_EQ(fake.boxes[i].style & 0xF, buttons);
    }

    FakePlatform fake;
};

TEST_F(ExitFlow, AnythingButYesToTheFirstQuestionKeepsRunning) {
    doc().modified = true;
    for (int answer : {kAnswerNo, kAnswerCancel}) {
        fake.boxes.clear();
        fake.answer(answer);
        EXPECT_EQ(confirm_exit(nullptr), EXIT_STAY);
        ASSERT_EQ(fake.boxes.size(), 1u);
        expect_box(0, u"終了しますか？", u"Zelkovane", kButtonsYesNo);
    }
    EXPECT_TRUE(doc().modified);
    EXPECT_TRUE(fake.events.empty());
    EXPECT_FALSE(fake.has_file(kSenderFile));
}

TEST_F(ExitFlow, UnmodifiedDocumentExitsWithoutTheSaveQuestion) {
    fake.answer(kAnswerYes);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_ALLOWED);
    EXPECT_EQ(fake.boxes.size(), 1u);
    EXPECT_TRUE(fake.list_dir(u"C:\\work").empty());
}

TEST_F(ExitFlow, ModifiedAndNoToSavingExitsWithoutWriting) {
    doc().modified = true;
    fake.answer(kAnswerYes);
    fake.answer(kAnswerNo);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_ALLOWED);
    ASSERT_EQ(fake.boxes.size(), 2u);
    expect_box(1, u"保存しますか？", u"ファイル書込確認", kButtonsYesNo);
    EXPECT_TRUE(fake.list_dir(u"C:\\work").empty());
    EXPECT_TRUE(fake.events.empty());
}

TEST_F(ExitFlow, ModifiedAndYesWritesTheThreeStartupFilesInTheWorkingFolder) {
    doc().modified = true;
    fake.put_file(kAddresseeFile, "old");
    // The exit save writes into work_dir even when the current directory moved.
    fake.current_dir = u"C:\\elsewhere";
    fake.put_file(u"C:\\elsewhere\\keep.txt", "x");
    fake.answer(kAnswerYes);
    fake.answer(kAnswerYes);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_ALLOWED);
    EXPECT_EQ(fake.boxes.size(), 2u) << "no overwrite question at exit";
    for (const auto& file : {kSenderFile, kAddresseeFile, kLayoutFile}) {
        ASSERT_TRUE(fake.has_file(file)) << utf8(file);
        EXPECT_EQ(fake.file_bytes(file).substr(0, 2), std::string("\xFF\xFE", 2)) << utf8(file);
    }
    EXPECT_NE(fake.file_bytes(kAddresseeFile), "old");
    EXPECT_EQ(fake.events, (std::vector<std::string>{"wait_show", "wait_close"}));
}

TEST_F(ExitFlow, UnwritableSenderFileStopsTheSaveAndKeepsRunning) {
    doc().modified = true;
    fake.put_file(kAddresseeFile, "old addressees");
    fake.unwritable.insert(kSenderFile);
    fake.answer(kAnswerYes);
    fake.answer(kAnswerYes);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_STAY);
    ASSERT_EQ(fake.boxes.size(), 3u);
    expect_box(2, u"ファイルが開きません。\r\n書込中止します。", u"差出ファイル書込エラー",
               kButtonsOk);
    EXPECT_EQ(fake.boxes[2].style & 0xF0, kIconWarning);
    EXPECT_FALSE(fake.has_file(kSenderFile));
    EXPECT_EQ(fake.file_bytes(kAddresseeFile), "old addressees");
    EXPECT_FALSE(fake.has_file(kLayoutFile));
    EXPECT_TRUE(doc().modified);
    ASSERT_FALSE(fake.events.empty());
    EXPECT_EQ(fake.events.back(), "wait_close") << "the wait window is closed after a failure";
}

TEST_F(ExitFlow, UnwritableAddresseeFileKeepsTheSenderFileAndSkipsTheLayoutFile) {
    doc().modified = true;
    fake.unwritable.insert(kAddresseeFile);
    fake.answer(kAnswerYes);
    fake.answer(kAnswerYes);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_STAY);
    ASSERT_EQ(fake.boxes.size(), 3u);
    expect_box(2, u"ファイルが開きません。\r\n書込中止します。", u"宛先ファイル書込エラー",
               kButtonsOk);
    EXPECT_TRUE(fake.has_file(kSenderFile));
    EXPECT_FALSE(fake.has_file(kAddresseeFile));
    EXPECT_FALSE(fake.has_file(kLayoutFile));
}

// Windows ends the session (shutdown, sign-out): no "終了しますか？"; the
// open editors' questions, then the save question with Cancel, which keeps
// the session from ending.
TEST_F(ExitFlow, TheEndOfTheSessionAsksOnlyAboutUnsavedChanges) {
    EXPECT_FALSE(unsaved_changes());
    EXPECT_TRUE(session_may_end(nullptr));
    EXPECT_TRUE(fake.boxes.empty()) << "nothing changed: the session ends at once";

    // An address typed into the sender editor: its question, then the save.
    FakeDialogView senders;
    SenderEditor sender_editor(senders);
    sender_editor.open();
    senders.type(IDC_SE_ADDRESS, u"東京都");
    EXPECT_TRUE(unsaved_changes());
    for (int a : {kAnswerYes, kAnswerCancel}) fake.answer(a);
    EXPECT_FALSE(session_may_end(nullptr));
    ASSERT_EQ(fake.boxes.size(), 2u);
    expect_box(0, u"「差出人の設定」の変更を保存しますか？", u"差出人の設定", kButtonsYesNoCancel);
    expect_box(1, u"保存しますか？", u"ファイル書込確認", kButtonsYesNoCancel);
    EXPECT_TRUE(senders.closed);
    EXPECT_FALSE(fake.has_file(kSenderFile));

    // A print or a failed save keeps the session too; No ends it unsaved,
    // Yes saved.
    {
        FakePrinterSpooler spooler;
        PrintLock lock(nullptr);
        EXPECT_FALSE(session_may_end(nullptr));
    }
    EXPECT_EQ(fake.boxes.size(), 2u) << "nothing is asked during a print";
    fake.unwritable.insert(kSenderFile);
    fake.answer(kAnswerYes);
    EXPECT_FALSE(session_may_end(nullptr));
    fake.unwritable.clear();
    fake.answer(kAnswerNo);
    EXPECT_TRUE(session_may_end(nullptr));
    EXPECT_FALSE(fake.has_file(kSenderFile));
    fake.answer(kAnswerYes);
    EXPECT_TRUE(session_may_end(nullptr));
    EXPECT_NE(fake.file_bytes(kSenderFile).find(utf16le_file(u"東京都").substr(2)), std::string::npos);
    EXPECT_TRUE(fake.has_file(kLayoutFile));
}

// Since the start another program appended to zelko2.txt and made
// zelko3.txt; zelko1.txt is as loaded. Later only zelko1.txt's time changes.
TEST_F(ExitFlow, AFileChangedByAnotherProgramIsWrittenOnlyWhenTheUserSaysSo) {
    fake.put_file(kSenderFile, utf16le_file(u"fdata_cont_max=0\r\n"));
    fake.put_file(kAddresseeFile, utf16le_file(u"hdata_cont_max=0\r\n"));
    load_startup_files(nullptr);
    fake.put_file(kAddresseeFile, utf16le_file(u"hdata_cont_max=0\r\nappended"));
    fake.put_file(kLayoutFile, "made elsewhere");
    doc().modified = true;
    fake.events.clear();
    for (int a : {kAnswerYes, kAnswerYes, kAnswerCancel}) fake.answer(a);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_STAY) << "Cancel writes nothing";
    ASSERT_EQ(fake.boxes.size(), 3u) << "no question for the unchanged zelko1.txt";
    expect_box(2, u"zelko2.txtは他のプログラムで変更されています。上書きしますか？", u"ファイル書込確認",
               kButtonsYesNoCancel);
    EXPECT_TRUE(fake.events.empty());

    // No to zelko2.txt, Yes to zelko3.txt (kept in the backup first).
    for (int a : {kAnswerYes, kAnswerYes, kAnswerNo, kAnswerYes}) fake.answer(a);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_ALLOWED);
    ASSERT_EQ(fake.boxes.size(), 7u);
    EXPECT_EQ(fake.file_bytes(kAddresseeFile), utf16le_file(u"hdata_cont_max=0\r\nappended"));
    EXPECT_TRUE(fake.has_file(u"C:\\work\\backup\\zelko1-20261207-100000.txt"));
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\backup\\zelko3-20261207-100000.txt"), "made elsewhere");

    namespace fs = std::filesystem;
    fs::path sender = fake.host_path(kSenderFile);
    fs::last_write_time(sender, fs::last_write_time(sender) + std::chrono::hours(1));
    for (int a : {kAnswerYes, kAnswerYes, kAnswerNo, kAnswerNo}) fake.answer(a);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_ALLOWED);
    ASSERT_EQ(fake.boxes.size(), 11u) << "zelko1.txt now, and zelko2.txt still";
    EXPECT_EQ(utf8(fake.boxes[9].text), "zelko1.txtは他のプログラムで変更されています。上書きしますか？");
}

// zelko2.txt has no byte order mark: its part stayed empty at start-up,
// so the exit save replaces it only when the user says so (Enter keeps it).
TEST_F(ExitFlow, AStartupFileThatCouldNotBeReadIsOverwrittenOnlyWhenTheUserSaysSo) {
    const std::string unread = "hdata[0].tn.m[0].s=\xE5\xB1\xB1\r\n";
    fake.put_file(kSenderFile, utf16le_file(u"fdata_cont_max=0\r\n"));
    fake.put_file(kAddresseeFile, unread);
    load_startup_files(nullptr);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(utf8(fake.boxes[0].text), "zelko2.txtがWide文字で有りません!。");
    doc().modified = true;
    for (int a : {kAnswerYes, kAnswerYes, kAnswerNo}) fake.answer(a);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_ALLOWED);
    ASSERT_EQ(fake.boxes.size(), 4u);
    expect_box(3, u"zelko2.txtは起動時に読めなかったファイルです。今の内容で上書きしますか？\r\n"
                  u"（いいえ：このファイルはそのまま残し、ほかのファイルを保存します）",
               u"ファイル書込確認", kButtonsYesNoCancel);
    EXPECT_TRUE(fake.boxes[3].style & kDefaultButton2);
    EXPECT_EQ(fake.file_bytes(kAddresseeFile), unread);
    EXPECT_TRUE(fake.has_file(kLayoutFile));

    // Yes replaces it, the file as it was going into the backup; once
    // replaced it is asked about no more.
    for (int a : {kAnswerYes, kAnswerYes, kAnswerYes}) fake.answer(a);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_ALLOWED);
    EXPECT_EQ(fake.boxes.size(), 7u);
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\backup\\zelko2-20261207-100000.txt"), unread);
    EXPECT_NE(fake.file_bytes(kAddresseeFile), unread);
    for (int a : {kAnswerYes, kAnswerYes}) fake.answer(a);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_ALLOWED);
    EXPECT_EQ(fake.boxes.size(), 9u);
}

// After the program saved twenty other files, another program changes
// zelko2.txt within the file system's time step (FAT and network drives
// keep coarse times: only the size tells) and deletes zelko3.txt.
TEST_F(ExitFlow, ASizeChangeWithinTheTimeStepAndADeletedFileCountAsChanges) {
    fake.put_file(kSenderFile, utf16le_file(u"fdata_cont_max=0\r\n"));
    fake.put_file(kAddresseeFile, utf16le_file(u"hdata_cont_max=0\r\n"));
    fake.put_file(kLayoutFile, utf16le_file(u""));
    load_startup_files(nullptr);
    for (char16_t c = u'a'; c < u'a' + 20; ++c)
        write_sender_file(nullptr, (std::u16string(u"C:\\work\\") + c + u".txt").c_str(), WRITE_SILENT);
    namespace fs = std::filesystem;
    fs::path addressees = fake.host_path(kAddresseeFile);
    const fs::file_time_type loaded = fs::last_write_time(addressees);
    fake.put_file(kAddresseeFile, utf16le_file(u"hdata_cont_max=0\r\nmore"));
    fs::last_write_time(addressees, loaded);
    fs::remove(fake.host_path(kLayoutFile));
    doc().modified = true;
    fake.boxes.clear();
    for (int a : {kAnswerYes, kAnswerYes, kAnswerNo, kAnswerNo}) fake.answer(a);
    EXPECT_EQ(confirm_exit(nullptr), EXIT_ALLOWED);
    ASSERT_EQ(fake.boxes.size(), 4u);
    EXPECT_EQ(utf8(fake.boxes[2].text), "zelko2.txtは他のプログラムで変更されています。上書きしますか？");
    EXPECT_EQ(utf8(fake.boxes[3].text), "zelko3.txtは他のプログラムで変更されています。上書きしますか？");
}

}  // namespace

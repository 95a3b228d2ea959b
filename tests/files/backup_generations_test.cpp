#include "files/backup_generations.h"

#include <gtest/gtest.h>

#include "files/data_files.h"
#include "files/kv_file.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

// Twelve saves of zelko2.txt, the first two in the same second, then one
// more in the last second and one of zelko1.txt.
TEST(BackupGenerations, EachSaveKeepsTheReplacedFileAndTheTenNewest) {
    FakePlatform fake;
    clear_addressees();
    text_set(doc().work_dir, u"C:\\work");
    ASSERT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_DONE);
    EXPECT_FALSE(fake.path_exists(u"C:\\work\\backup")) << "no file yet, nothing to keep";
    for (int save = 0; save < 12; ++save) {
        fake.put_file(u"zelko2.txt", "generation " + std::to_string(save));
        fake.now.second = save == 1 ? 0 : save;
        ASSERT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_DONE);
    }
    EXPECT_EQ(fake.list_dir(u"C:\\work\\backup").size(), 10u);
    EXPECT_FALSE(fake.has_file(u"C:\\work\\backup\\zelko2-20261207-100000_1.txt")) << "removed";
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\backup\\zelko2-20261207-100002.txt"), "generation 2");
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\backup\\zelko2-20261207-100011.txt"), "generation 11");

    fake.put_file(u"C:\\work\\backup\\zelko2-old.txt", "no generation: kept");
    fake.put_file(u"zelko1.txt", "senders");
    ASSERT_EQ(write_sender_file(nullptr, u"zelko1.txt", WRITE_SILENT), WRITE_DONE);
    ASSERT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_DONE);
    EXPECT_EQ(fake.list_dir(u"C:\\work\\backup").size(), 12u);
    EXPECT_TRUE(fake.has_file(u"C:\\work\\backup\\zelko2-20261207-100011_1.txt"));
    EXPECT_FALSE(fake.has_file(u"C:\\work\\backup\\zelko2-20261207-100002.txt"));
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\backup\\zelko1-20261207-100011.txt"), "senders");
    EXPECT_TRUE(fake.boxes.empty());
}

// The clock was set back: ten generations are dated later than now. Beside
// them lies a file of another kind with the generations' pattern in front.
TEST(BackupGenerations, OnlyAReplaceThatChangedTheFileKeepsAGenerationWhateverTheClockSays) {
    FakePlatform fake;
    clear_addressees();
    text_set(doc().work_dir, u"C:\\work");
    const std::u16string folder = u"C:\\work\\backup\\";
    fake.make_folder(u"C:\\work\\backup");
    for (char16_t i = u'0'; i <= u'9'; ++i)
        fake.put_file(folder + u"zelko2-20270101-10000" + i + u".txt", "later");
    fake.put_file(folder + u"zelko2-20261206-100000.txt.bak", "another program's");
    fake.put_file(u"zelko2.txt", "today");
    const std::vector<std::string> before = fake.list_dir(folder);

    fake.unwritable.insert(u"C:\\work\\zelko2.txt");
    EXPECT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_FAILED);
    EXPECT_EQ(fake.list_dir(folder), before) << "a failed save keeps no generation and removes none";
    fake.unwritable.clear();
    for (int second = 0; second < 3; ++second) {
        fake.now.second = second;
        ASSERT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_DONE);
    }
    EXPECT_EQ(fake.file_bytes(folder + u"zelko2-20261207-100000.txt"), "today") << "not removed as the oldest";
    EXPECT_EQ(fake.file_bytes(folder + u"zelko2-20261207-100001.txt"), fake.file_bytes(u"zelko2.txt"));
    EXPECT_FALSE(fake.has_file(folder + u"zelko2-20261207-100002.txt")) << "the same bytes as the newest";
    EXPECT_FALSE(fake.has_file(folder + u"zelko2-20270101-100001.txt")) << "the oldest: dated after now";
    EXPECT_TRUE(fake.has_file(folder + u"zelko2-20261206-100000.txt.bak")) << "neither counted nor removed";
    EXPECT_EQ(fake.list_dir(folder).size(), 11u);
}

TEST(BackupGenerations, AFolderThatCannotBeMadeIsReportedOnceAndTheSaveGoesOn) {
    FakePlatform fake;
    clear_senders();
    text_set(doc().work_dir, u"C:\\work");
    fake.put_file(u"C:\\work\\backup", "a file where the folder would be");
    for (const char16_t* name : {u"zelko1.txt", u"C:\\work\\other.txt", u"zelko1.txt"}) {
        fake.put_file(name, "old");
        EXPECT_EQ(write_sender_file(nullptr, name, WRITE_SILENT), WRITE_DONE);
        EXPECT_NE(fake.file_bytes(name), "old");
    }
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(utf8(fake.boxes[0].text),
              "C:\\work\\backupにバックアップを作成できません。\r\n保存はそのまま続けます。");
    EXPECT_EQ(utf8(fake.boxes[0].caption), "バックアップエラー");
}

}  // namespace

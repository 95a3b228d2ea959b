#include "files/backup_generations.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "files/data_files.h"
#include "files/kv_file.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

std::vector<std::string> backups(const FakePlatform& fake, const std::u16string& folder) {
    std::vector<std::string> names = fake.list_dir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(BackupGenerations, EachSaveKeepsTheReplacedFileAndTheTenNewest) {
    FakePlatform fake;
    clear_addressees();
    text_set(doc().work_dir, u"C:\\work");
    const std::u16string file = u"C:\\work\\zelko2.txt";

    // No file yet: nothing to keep, no folder made.
    ASSERT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_DONE);
    EXPECT_FALSE(fake.path_exists(u"C:\\work\\backup"));

    // Twelve saves, two of them in the same second; each copy holds the
    // bytes the save replaced.
    std::vector<std::string> generations;
    for (int save = 0; save < 12; ++save) {
        generations.push_back("generation " + std::to_string(save));
        fake.put_file(file, generations.back());
        fake.now.second = save == 1 ? 0 : save;
        ASSERT_EQ(write_addressee_file(nullptr, u"zelko2.txt", WRITE_SILENT), WRITE_DONE);
    }
    std::vector<std::string> kept = backups(fake, u"C:\\work\\backup");
    ASSERT_EQ(kept.size(), 10u);
    EXPECT_EQ(kept.front(), "zelko2-20261207-100002.txt") << "the two oldest were removed";
    EXPECT_EQ(kept.back(), "zelko2-20261207-100011.txt");
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\backup\\zelko2-20261207-100011.txt"), generations[11]);
    EXPECT_TRUE(fake.boxes.empty());

    // The same second gets "_1"; other files and other names stay.
    fake.put_file(u"C:\\work\\backup\\zelko2-old.txt", "mine");
    fake.put_file(u"C:\\work\\zelko1.txt", "senders");
    EXPECT_TRUE(back_up_before_replace(nullptr, u"C:\\work\\zelko1.txt"));
    EXPECT_TRUE(back_up_before_replace(nullptr, file.c_str()));
    kept = backups(fake, u"C:\\work\\backup");
    EXPECT_EQ(kept.size(), 12u);
    EXPECT_TRUE(fake.has_file(u"C:\\work\\backup\\zelko2-20261207-100011_1.txt"));
    EXPECT_FALSE(fake.has_file(u"C:\\work\\backup\\zelko2-20261207-100002.txt"));
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\backup\\zelko1-20261207-100011.txt"), "senders");
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

    // A copy that fails (a full disk) is a failure too.
    reset_backup_report();
    fake.put_file(u"C:\\disk\\zelko1.txt", "old");
    fake.fail_copy = true;
    EXPECT_FALSE(back_up_before_replace(nullptr, u"C:\\disk\\zelko1.txt"));
    EXPECT_EQ(fake.boxes.size(), 2u);
    EXPECT_TRUE(fake.list_dir(u"C:\\disk\\backup").empty());
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/file_commands.h"
#include "files/kv_file.h"
#include "exchange/legacy_import.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

using Events = std::vector<std::string>;
const Events kWaitAround{"wait_show", "wait_close"};

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        clear_senders();
        clear_addressees();
        reset_layouts();
        text_set(doc().work_dir, u"C:\\work");
        text_set(doc().fdata[0].n[0].s, u"差出人");
        text_set(doc().hdata[0].tn.m[0].s, u"宛名");
        doc().hdata[0].tt.x1 = 11;
        doc().current_card = 0;
    }
    static std::u16string text(const char16_t* s) { return s; }
    const FakePlatform::Box& only_box() {
        EXPECT_EQ(fake.boxes.size(), 1u);
        return fake.boxes.at(0);
    }

    FakePlatform fake;
    WindowHandle owner = reinterpret_cast<WindowHandle>(0x99);
};

TEST_F(FileCommandsTest, NewAsksOnlyWithUnsavedChanges) {
    doc().modified = true;
    doc().current_card = 3;
    fake.answer(kAnswerNo);
    EXPECT_EQ(command_new(owner), REPAINT_NONE);
    EXPECT_EQ(only_box().text, u"保存せず新規にして良いですか？");
    EXPECT_EQ(only_box().caption, u"新規作成！");
    EXPECT_EQ(only_box().style & 0xF, kButtonsYesNo);
    EXPECT_EQ(count_cards(), 1);
    EXPECT_TRUE(doc().modified);

    fake.answer(kAnswerYes);
    EXPECT_EQ(command_new(owner), REPAINT_WINDOW);
    EXPECT_EQ(count_cards(), 0);
    EXPECT_EQ(count_senders(), 0);
    EXPECT_EQ(doc().hdata[0].tt.x1, 183);
    EXPECT_EQ(text(doc().hdata[5].base_filepass), u"base1.bmp");
    EXPECT_FALSE(doc().modified);
    EXPECT_EQ(doc().current_card, 3);

    fake.boxes.clear();
    EXPECT_EQ(command_new(owner), REPAINT_WINDOW);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(FileCommandsTest, OpenDeclinedShowsNoDialog) {
    doc().modified = true;
    fake.answer(kAnswerNo);
    EXPECT_EQ(command_open(owner, 2), REPAINT_NONE);
    EXPECT_EQ(only_box().text, u"保存せず開いて良いですか？");
    EXPECT_EQ(only_box().caption, u"開く！");
    EXPECT_TRUE(fake.dialogs.empty());
    EXPECT_TRUE(doc().modified);
}

TEST_F(FileCommandsTest, OpenCancelledOrNotTxtLoadsNothingButRepaints) {
    doc().modified = true;
    fake.answer(kAnswerYes);
    fake.cancel_dialog();
    EXPECT_EQ(command_open(owner, 1), REPAINT_WINDOW);
    EXPECT_TRUE(doc().modified);
    EXPECT_TRUE(fake.events.empty());

    fake.put_file(u"C:\\data\\s.csv", utf16le_file(u"fdata[0].t=1\r\n"));
    fake.answer(kAnswerYes);
    fake.answer_dialog(u"C:\\data\\s.csv");
    EXPECT_EQ(command_open(owner, 1), REPAINT_WINDOW);
    EXPECT_EQ(text(doc().fdata[0].n[0].s), u"差出人");
    EXPECT_TRUE(doc().modified);
    EXPECT_TRUE(fake.events.empty());
}

TEST_F(FileCommandsTest, OpeningAnAddresseeFileReplacesTheCardTextsOnly) {
    fake.put_file(u"C:\\data\\a.TXT", utf16le_file(u"hdata[0].tt.m=1000001\r\nhdata[1].tn.m[0].s=佐藤\r\n"));
    doc().modified = true;
    fake.answer(kAnswerYes);
    fake.answer_dialog(u"C:\\data\\a.TXT");
    EXPECT_EQ(command_open(owner, 2), REPAINT_WINDOW);
    EXPECT_EQ(fake.dialogs.at(0).initial_file, u"C:\\work\\宛先_無題.txt");
    EXPECT_EQ(text(doc().chosen_file), u"C:\\data\\a.TXT");
    EXPECT_EQ(text(doc().hdata[0].tt.m), u"1000001");
    EXPECT_EQ(doc().hdata[0].tn.m[0].s[0], 0);
    EXPECT_EQ(text(doc().hdata[1].tn.m[0].s), u"佐藤");
    EXPECT_EQ(doc().hdata[0].tt.x1, 11);                  // layout kept
    EXPECT_EQ(text(doc().fdata[0].n[0].s), u"差出人");    // senders kept
    EXPECT_FALSE(doc().modified);
    EXPECT_EQ(fake.events, kWaitAround);
}

// With unsaved changes: 宛先情報開く of a UTF-8 text chosen by mistake, 文字情報
// 開く of a missing file and of one whose reading breaks off, 旧ファイル２ of
// the UTF-8 text. Each leaves the document, the file name and `modified`
// as they were, and says so.
TEST_F(FileCommandsTest, AFailedOpenChangesNothing) {
    const std::u16string kept = u"\r\n読込を中止しました。データは開く前のままです。";
    fake.put_file(u"C:\\data\\utf8.txt", "hdata[0].tn.m[0].s=\xE5\xB1\xB1\r\n");
    fake.put_file(u"C:\\data\\cut.txt", utf16le_file(u"hdata[0].base_w=123\r\nhdata[1].base_w=123\r\n"));
    text_set(doc().chosen_file, u"C:\\work\\before.txt");
    doc().modified = true;
    static Document before;
    before = doc();
    const struct {
        int command;
        const char16_t* path;
        std::u16string message;
    } attempts[] = {
        {CMD_OPEN_ADDRESSEES, u"C:\\data\\utf8.txt", u"C:\\data\\utf8.txtがWide文字で有りません!。" + kept},
        {CMD_OPEN_LAYOUTS, u"C:\\data\\missing.txt", u"ﾌｧｲﾙが開けません" + kept},
        {CMD_OPEN_LAYOUTS, u"C:\\data\\cut.txt", u"C:\\data\\cut.txtを最後まで読めません。" + kept},
        {CMD_OPEN_LEGACY_ADDRESS, u"C:\\data\\utf8.txt", u"C:\\data\\utf8.txtがWide文字で有りません!。" + kept},
    };
    fake.read_error_after = 12;
    for (const auto& a : attempts) {
        fake.boxes.clear();
        for (int answer : {kAnswerYes, kAnswerYes}) fake.answer(answer);  // open unsaved; clear the data
        fake.answer_dialog(a.path);
        EXPECT_EQ(run_file_command(owner, a.command), REPAINT_WINDOW);
        ASSERT_FALSE(fake.boxes.empty());
        EXPECT_EQ(utf8(fake.boxes.back().text), utf8(a.message));
        EXPECT_EQ(std::memcmp(&doc(), &before, sizeof before), 0) << utf8(a.path);
        fake.answers.clear();
    }
}

TEST_F(FileCommandsTest, SaveRefusesAnythingButTxt) {
    doc().modified = true;
    text_set(doc().chosen_file, u"C:\\before.txt");
    EXPECT_EQ(command_save(owner, 1), REPAINT_NONE);  // cancelled
    EXPECT_EQ(only_box().text, u"拡張子違い又は未選択で保存しません。");
    EXPECT_EQ(only_box().caption, u"ファイル保存！");
    EXPECT_EQ(only_box().style, kButtonsOk);
    EXPECT_EQ(text(doc().chosen_file), u"C:\\before.txt");

    fake.boxes.clear();
    fake.answer_dialog(u"C:\\work\\senders.csv");
    EXPECT_EQ(command_save(owner, 1), REPAINT_NONE);
    EXPECT_EQ(only_box().text, u"拡張子違い又は未選択で保存しません。");
    EXPECT_FALSE(fake.has_file(u"C:\\work\\senders.csv"));
    EXPECT_TRUE(doc().modified);
    EXPECT_TRUE(fake.events.empty());
    EXPECT_TRUE(fake.dialogs.at(0).save);
    EXPECT_EQ(fake.dialogs.at(0).initial_file, u"C:\\work\\差出_無題.txt");
}

TEST_F(FileCommandsTest, ASavedFileClearsModified) {
    doc().modified = true;
    fake.answer_dialog(u"C:\\work\\SENDERS.TXT");
    EXPECT_EQ(command_save(owner, 1), REPAINT_NONE);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(fake.has_file(u"C:\\work\\SENDERS.TXT"));
    EXPECT_FALSE(doc().modified);
    EXPECT_EQ(fake.events, kWaitAround);
}

TEST_F(FileCommandsTest, ASaveThatIsDeclinedOrFailsKeepsModified) {
    doc().modified = true;
    fake.put_file(u"C:\\work\\l.txt", "old");
    fake.answer_dialog(u"C:\\work\\l.txt");
    fake.answer(kAnswerNo);  // do not overwrite; the second dialog is cancelled
    EXPECT_EQ(command_save(owner, 3), REPAINT_NONE);
    EXPECT_TRUE(doc().modified);
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\l.txt"), "old");

    fake.boxes.clear();
    fake.unwritable.insert(u"C:\\work\\a.txt");
    fake.answer_dialog(u"C:\\work\\a.txt");
    EXPECT_EQ(command_save(owner, 2), REPAINT_NONE);
    EXPECT_EQ(only_box().caption, u"宛先ファイル書込エラー");
    EXPECT_TRUE(doc().modified);
}

TEST_F(FileCommandsTest, CsvExportNeedsACsvName) {
    doc().modified = true;
    fake.answer_dialog(u"C:\\work\\list.txt");
    EXPECT_EQ(command_export_csv(owner), REPAINT_NONE);
    EXPECT_EQ(only_box().text, u"拡張子違い又は未選択で保存しません。");
    EXPECT_FALSE(fake.has_file(u"C:\\work\\list.txt"));

    fake.boxes.clear();
    fake.answer_dialog(u"C:\\work\\list.CSV");
    EXPECT_EQ(command_export_csv(owner), REPAINT_NONE);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(fake.has_file(u"C:\\work\\list.CSV"));
    EXPECT_EQ(fake.dialogs.at(1).initial_file, u"C:\\work\\無題.csv");
    EXPECT_TRUE(doc().modified);  // an export is not a save
    EXPECT_EQ(fake.events, kWaitAround);
}

TEST_F(FileCommandsTest, LegacyImportCommand) {
    fake.put_file(u"C:\\old\\addr.txt", utf16le_file(u"form_address[0].t=7654321\r\n"));
    doc().modified = true;
    fake.answer(kAnswerNo);
    EXPECT_EQ(command_import_legacy(owner, LEGACY_ADDRESS), REPAINT_NONE);
    EXPECT_TRUE(fake.dialogs.empty());

    // Any file may be chosen, but only a ".txt" name is imported.
    fake.answer(kAnswerYes);
    fake.answer_dialog(u"C:\\old\\addr.dat");
    EXPECT_EQ(command_import_legacy(owner, LEGACY_ADDRESS), REPAINT_WINDOW);
    EXPECT_EQ(fake.dialogs.at(0).filter, std::u16string(u"AllFile(*.*)\0*.*\0", 17));
    EXPECT_EQ(fake.dialogs.at(0).initial_file, u"C:\\work\\無題.txt");
    EXPECT_EQ(fake.boxes.size(), 2u);
    EXPECT_TRUE(doc().modified);

    fake.answer(kAnswerYes);  // open without saving
    fake.answer(kAnswerYes);  // data will be cleared
    fake.answer_dialog(u"C:\\old\\addr.txt");
    EXPECT_EQ(command_import_legacy(owner, LEGACY_ADDRESS), REPAINT_WINDOW);
    EXPECT_EQ(text(doc().hdata[0].tt.m), u"7654321");
    EXPECT_FALSE(doc().modified);
    EXPECT_EQ(fake.events, kWaitAround);
}

TEST_F(FileCommandsTest, LegacyImportDeclinedKeepsUnsavedChanges) {
    fake.put_file(u"C:\\old\\lay.txt", utf16le_file(u"base_w=800\r\n"));
    doc().modified = true;
    fake.answer(kAnswerYes);
    fake.answer(kAnswerNo);
    fake.answer_dialog(u"C:\\old\\lay.txt");
    EXPECT_EQ(command_import_legacy(owner, LEGACY_LAYOUT), REPAINT_WINDOW);
    EXPECT_EQ(doc().hdata[0].base_w, 400);
    EXPECT_TRUE(doc().modified);
}

TEST_F(FileCommandsTest, DispatchByMenuNumber) {
    fake.cancel_dialog();
    EXPECT_EQ(run_file_command(owner, CMD_OPEN_LAYOUTS), REPAINT_WINDOW);
    EXPECT_EQ(fake.dialogs.at(0).initial_file, u"C:\\work\\情報_無題.txt");
    fake.cancel_dialog();
    EXPECT_EQ(run_file_command(owner, CMD_SAVE_ADDRESSEES), REPAINT_NONE);
    EXPECT_EQ(fake.dialogs.at(1).initial_file, u"C:\\work\\宛先_無題.txt");
    EXPECT_TRUE(fake.dialogs.at(1).save);
    fake.cancel_dialog();
    EXPECT_EQ(run_file_command(owner, CMD_OPEN_LEGACY_LAYOUT), REPAINT_WINDOW);
    EXPECT_EQ(fake.dialogs.at(2).initial_file, u"C:\\work\\無題.txt");
    EXPECT_EQ(run_file_command(owner, CMD_SAVE_BITMAP), REPAINT_NONE);
    EXPECT_EQ(run_file_command(owner, 62), REPAINT_NONE);
    EXPECT_EQ(fake.dialogs.size(), 3u);
    EXPECT_EQ(run_file_command(owner, CMD_NEW), REPAINT_WINDOW);
    EXPECT_EQ(count_cards(), 0);
}

// After the usual overwrite question: No leaves the file and `modified`,
// Yes saves and keeps the changed file in the backup.
TEST_F(FileCommandsTest, SavingOntoAFileChangedSinceItWasOpenedAsksFirst) {
    fake.put_file(u"a.txt", utf16le_file(u"hdata_cont_max=0\r\n"));
    fake.answer_dialog(u"C:\\work\\a.txt");
    command_open(owner, KIND_ADDRESSEE);
    fake.put_file(u"a.txt", "changed elsewhere");
    doc().modified = true;
    for (int answer : {kAnswerNo, kAnswerYes}) {
        fake.answer_dialog(u"C:\\work\\a.txt");
        for (int a : {kAnswerYes, answer}) fake.answer(a);
        command_save(owner, KIND_ADDRESSEE);
        EXPECT_EQ(fake.boxes.back().text, u"C:\\work\\a.txtは他のプログラムで変更されています。上書きしますか？");
        EXPECT_EQ(fake.boxes.back().style & 0xF, kButtonsYesNo);
        EXPECT_EQ(doc().modified, answer == kAnswerNo);
    }
    EXPECT_EQ(fake.file_bytes(u"backup\\a-20261207-100000.txt"), "changed elsewhere");
}

}  // namespace

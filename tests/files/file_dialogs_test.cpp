#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "files/file_dialogs.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

const std::u16string kTextFilter(u"txtFile(*.txt)\0*.txt\0AllFile(*.*)\0*.*\0", 38);

class FileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        text_set(doc().work_dir, u"C:\\work");
        text_set(doc().chosen_file, u"C:\\work\\before.txt");
    }
    FakePlatform fake;
    WindowHandle owner = reinterpret_cast<WindowHandle>(0x1234);
};

TEST_F(FileDialogsTest, ExtensionCodeComparesTheLastFourUnitsIgnoringCase) {
    EXPECT_EQ(extension_code(u"C:\\a\\b.txt"), EXT_TXT);
    EXPECT_EQ(extension_code(u"C:\\a\\b.TXT"), EXT_TXT);
    EXPECT_EQ(extension_code(u"C:\\a\\b.TxT"), EXT_TXT);
    EXPECT_EQ(extension_code(u"b.CSV"), EXT_CSV);
    EXPECT_EQ(extension_code(u".bmp"), EXT_BMP);
    EXPECT_EQ(extension_code(u"C:\\a\\b.text"), EXT_OTHER);
    EXPECT_EQ(extension_code(u"C:\\a\\b.txt "), EXT_OTHER);
    EXPECT_EQ(extension_code(u"C:\\folder"), EXT_OTHER);
    EXPECT_EQ(extension_code(u"txt"), EXT_OTHER);  // shorter than four units
    EXPECT_EQ(extension_code(u""), EXT_OTHER);
    EXPECT_EQ(extension_code(u"b．ｔｘｔ"), EXT_OTHER);  // full-width letters do not fold
}

TEST_F(FileDialogsTest, OpenDialogRequestAndResult) {
    fake.answer_dialog(u"C:\\data\\senders.TXT");
    EXPECT_EQ(open_file_dialog(owner, KIND_SENDER), EXT_TXT);
    ASSERT_EQ(fake.dialogs.size(), 1u);
    const FakePlatform::DialogCall& call = fake.dialogs[0];
    EXPECT_EQ(call.owner, owner);
    EXPECT_FALSE(call.save);
    EXPECT_EQ(call.title, u"ファイルの読込");
    EXPECT_EQ(call.filter, kTextFilter);
    EXPECT_EQ(call.initial_file, u"C:\\work\\差出_無題.txt");
    EXPECT_EQ(call.file_cap, 260);
    EXPECT_EQ(call.flags, kOfnExplorer | kOfnAllowMultiSelect);
    EXPECT_EQ(std::u16string(doc().chosen_file), u"C:\\data\\senders.TXT");
}

TEST_F(FileDialogsTest, SaveDialogFillsTheDestinationPerKind) {
    struct Case {
        int kind;
        std::u16string filter;
        std::u16string initial;
    };
    const Case cases[] = {
        {KIND_SENDER, kTextFilter, u"C:\\work\\差出_無題.txt"},
        {KIND_ADDRESSEE, kTextFilter, u"C:\\work\\宛先_無題.txt"},
        {KIND_LAYOUT, kTextFilter, u"C:\\work\\情報_無題.txt"},
        {DIALOG_CSV, std::u16string(u"CsvFile(*.csv)\0*.csv\0AllFile(*.*)\0*.*\0", 38), u"C:\\work\\無題.csv"},
        {DIALOG_BMP, std::u16string(u"BmpFile(*.bmp)\0*.bmp\0AllFile(*.*)\0*.*\0", 38), u"C:\\work\\無題.bmp"},
        {DIALOG_ANY, std::u16string(u"AllFile(*.*)\0*.*\0", 17), u"C:\\work\\無題.txt"},
        {77, std::u16string(u"AllFile(*.*)\0*.*\0", 17), u"C:\\work\\無題.txt"},
    };
    for (const Case& c : cases) {
        char16_t destination[PATH_CAP] = u"old";
        fake.dialogs.clear();
        fake.answer_dialog(u"C:\\out\\x.csv");
        EXPECT_EQ(save_file_dialog(owner, destination, c.kind), EXT_CSV) << c.kind;
        ASSERT_EQ(fake.dialogs.size(), 1u);
        EXPECT_TRUE(fake.dialogs[0].save);
        EXPECT_EQ(fake.dialogs[0].title, u"ファイルの保存");
        EXPECT_EQ(fake.dialogs[0].filter, c.filter) << c.kind;
        EXPECT_EQ(fake.dialogs[0].initial_file, c.initial) << c.kind;
        EXPECT_EQ(std::u16string(destination), u"C:\\out\\x.csv");
    }
    // The open dialog's chosen_file is not the save dialog's destination.
    EXPECT_EQ(std::u16string(doc().chosen_file), u"C:\\work\\before.txt");
}

TEST_F(FileDialogsTest, CancelLeavesThePathAlone) {
    fake.cancel_dialog();
    EXPECT_EQ(open_file_dialog(owner, KIND_ADDRESSEE), EXT_NONE);
    EXPECT_EQ(std::u16string(doc().chosen_file), u"C:\\work\\before.txt");

    char16_t destination[PATH_CAP] = u"C:\\keep.txt";
    EXPECT_EQ(save_file_dialog(owner, destination, KIND_LAYOUT), EXT_NONE);  // nothing scripted
    EXPECT_EQ(std::u16string(destination), u"C:\\keep.txt");
}

TEST_F(FileDialogsTest, AnyExtensionIsStoredAndReported) {
    fake.answer_dialog(u"C:\\a\\b.bmp");
    EXPECT_EQ(open_file_dialog(owner, KIND_SENDER), EXT_BMP);
    EXPECT_EQ(std::u16string(doc().chosen_file), u"C:\\a\\b.bmp");
    fake.answer_dialog(u"C:\\a\\noext");
    EXPECT_EQ(open_file_dialog(owner, KIND_SENDER), EXT_OTHER);
    fake.answer_dialog(u"abc");
    EXPECT_EQ(open_file_dialog(owner, KIND_SENDER), EXT_OTHER);
    EXPECT_EQ(std::u16string(doc().chosen_file), u"abc");
}

TEST_F(FileDialogsTest, InitialNameInARootFolderAndInALongFolder) {
    text_set(doc().work_dir, u"C:\\");
    fake.cancel_dialog();
    open_file_dialog(owner, DIALOG_CSV);
    EXPECT_EQ(fake.dialogs.back().initial_file, u"C:\\無題.csv");

    std::u16string deep = u"C:\\" + std::u16string(250, u'd');
    text_set(doc().work_dir, deep.c_str());
    fake.cancel_dialog();
    open_file_dialog(owner, KIND_SENDER);
    std::u16string initial = fake.dialogs.back().initial_file;
    EXPECT_EQ(initial.size(), 259u);  // cut to the buffer
    EXPECT_EQ(initial, (deep + u"\\差出_無題.txt").substr(0, 259));
}

TEST_F(FileDialogsTest, PathsThatDoNotFitAreRefusedByTheDialog) {
    fake.answer_dialog(u"C:\\" + std::u16string(300, u'x') + u".txt");
    EXPECT_EQ(open_file_dialog(owner, KIND_SENDER), EXT_NONE);
    EXPECT_EQ(std::u16string(doc().chosen_file), u"C:\\work\\before.txt");
}

}  // namespace

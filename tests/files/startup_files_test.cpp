#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/kv_file.h"
#include "files/startup_files.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

// Also records the owner of the wait window and the order of the writes.
class RecordingPlatform : public FakePlatform {
public:
    std::vector<WindowHandle> wait_owners;
    std::vector<std::u16string> written;

    void show_wait_window(WindowHandle owner) override {
        wait_owners.push_back(owner);
        FakePlatform::show_wait_window(owner);
    }
    bool replace_file(const char16_t* path, const void* data, size_t bytes) override {
        written.push_back(path);
        return FakePlatform::replace_file(path, data, bytes);
    }
};

class StartupFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Whatever the process held before: start-up must not depend on it.
        std::memset(&doc(), 0x5A, sizeof(Document));
        doc().modified = true;
    }
    static std::u16string text(const char16_t* s) { return s; }
    RecordingPlatform fake;
    WindowHandle owner = reinterpret_cast<WindowHandle>(0x42);
};

TEST_F(StartupFilesTest, NoDataFilesGiveANewDocumentSilently) {
    load_startup_files(owner);
    const Document& d = doc();
    EXPECT_EQ(text(d.work_dir), u"C:\\work");
    EXPECT_EQ(count_cards(), 0);
    EXPECT_EQ(count_senders(), 0);
    for (int i = 0; i < HDATA_MAX; ++i) {
        ASSERT_EQ(text(d.hdata[i].base_filepass), u"base1.bmp") << i;
        ASSERT_EQ(d.hdata[i].base_w, 400) << i;
    }
    EXPECT_EQ(d.print.base_pw, 1000);
    EXPECT_EQ(d.layout_clipboard.ft.x2, 75);
    EXPECT_FALSE(d.modified);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.events, (std::vector<std::string>{"wait_show", "wait_close"}));
    EXPECT_EQ(fake.wait_owners, std::vector<WindowHandle>{owner});
}

TEST_F(StartupFilesTest, OnlyTheAddresseeFile) {
    fake.put_file(u"C:\\work\\zelko2.txt",
                  utf16le_file(u"hdata_cont_max=1\r\nhdata[0].tt.m=1000001\r\nhdata[0].tn.m[0].s=山田\r\n"));
    load_startup_files(owner);
    EXPECT_EQ(count_cards(), 1);
    EXPECT_EQ(text(doc().hdata[0].tn.m[0].s), u"山田");
    EXPECT_EQ(count_senders(), 0);
    EXPECT_EQ(doc().hdata[0].tt.x1, 183);  // default layout
    EXPECT_EQ(doc().hdata[0].tn.xy[0].x, 270);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(StartupFilesTest, AStartupFileWithoutTheMarkIsReportedByItsBareName) {
    fake.put_file(u"C:\\work\\zelko1.txt", "fdata[0].t=1000001\r\n");
    fake.put_file(u"C:\\work\\zelko3.txt", utf16le_file(u"base_pw=900\r\n"));
    load_startup_files(owner);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, u"zelko1.txtがWide文字で有りません!。");
    EXPECT_EQ(fake.boxes[0].caption, u"ErrorFileRead");
    EXPECT_EQ(count_senders(), 0);
    EXPECT_EQ(doc().print.base_pw, 900);  // the files behind it still load
    EXPECT_FALSE(doc().modified);
}

TEST_F(StartupFilesTest, ExitSaveWritesTheThreeFilesInOrderWithoutQuestions) {
    for (const char16_t* name : {u"C:\\work\\zelko1.txt", u"C:\\work\\zelko2.txt", u"C:\\work\\zelko3.txt"})
        fake.put_file(name, utf16le_file(u"old=1\r\n"));
    load_startup_files(owner);
    text_set(doc().fdata[0].t, u"2220002");
    fake.boxes.clear();
    fake.events.clear();
    fake.wait_owners.clear();

    EXPECT_EQ(save_startup_files(), WRITE_DONE);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.written, (std::vector<std::u16string>{u"C:\\work\\zelko1.txt", u"C:\\work\\zelko2.txt",
                                                         u"C:\\work\\zelko3.txt"}));
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\zelko1.txt").substr(0, 2), "\xFF\xFE");
    EXPECT_NE(fake.file_bytes(u"C:\\work\\zelko1.txt").find(utf16le_file(u"2220002").substr(2)),
              std::string::npos);
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\zelko2.txt"), utf16le_file(u"hdata_cont_max=0\r\n"));
    EXPECT_EQ(fake.events, (std::vector<std::string>{"wait_show", "wait_close"}));
    EXPECT_EQ(fake.wait_owners, std::vector<WindowHandle>{nullptr});
}

TEST_F(StartupFilesTest, ExitSaveStopsAtTheFirstFileThatCannotBeWritten) {
    load_startup_files(owner);
    fake.unwritable.insert(u"C:\\work\\zelko1.txt");
    fake.events.clear();
    EXPECT_EQ(save_startup_files(), WRITE_FAILED);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].owner, nullptr);
    EXPECT_EQ(fake.boxes[0].text, u"ファイルが開きません。\r\n書込中止します。");
    EXPECT_EQ(fake.boxes[0].caption, u"差出ファイル書込エラー");
    EXPECT_FALSE(fake.has_file(u"C:\\work\\zelko2.txt"));
    EXPECT_FALSE(fake.has_file(u"C:\\work\\zelko3.txt"));
    EXPECT_EQ(fake.events, (std::vector<std::string>{"wait_show", "wait_close"}));

    fake.unwritable = {u"C:\\work\\zelko2.txt"};
    fake.boxes.clear();
    EXPECT_EQ(save_startup_files(), WRITE_FAILED);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].caption, u"宛先ファイル書込エラー");
    EXPECT_TRUE(fake.has_file(u"C:\\work\\zelko1.txt"));
    EXPECT_FALSE(fake.has_file(u"C:\\work\\zelko3.txt"));
}

TEST_F(StartupFilesTest, ExitSaveWritesIntoTheWorkingFolderWhereverTheProcessIs) {
    load_startup_files(owner);
    fake.put_file(u"C:\\elsewhere\\x.txt", "");
    fake.current_dir = u"C:\\elsewhere";
    text_set(doc().chosen_file, u"C:\\elsewhere\\x.txt");
    EXPECT_EQ(save_startup_files(), WRITE_DONE);
    EXPECT_TRUE(fake.has_file(u"C:\\work\\zelko3.txt"));
    EXPECT_FALSE(fake.has_file(u"C:\\elsewhere\\zelko3.txt"));
}

}  // namespace

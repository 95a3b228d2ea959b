#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/bmp_file.h"
#include "tests/support/fake_platform.h"

namespace {

uint32_t read32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint32_t read16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }

std::vector<uint8_t> headers(int32_t w, int32_t h) {
    std::vector<uint8_t> b(kBmpHeadersSize, 0xEE);
    write_bmp_headers(b.data(), w, h);
    return b;
}

TEST(BmpFileTest, DefaultCardHeaders) {
    BmpLayout layout{};
    ASSERT_TRUE(bmp_layout(400, 592, &layout));
    EXPECT_EQ(layout.row_bytes, 1200u);
    EXPECT_EQ(layout.file_bytes, 710454u);

    std::vector<uint8_t> b = headers(400, 592);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(read32(b, 2), 710454u);
    EXPECT_EQ(read32(b, 6), 0u);  // both reserved words
    EXPECT_EQ(read32(b, 10), 54u);
    EXPECT_EQ(read32(b, 14), 40u);
    EXPECT_EQ(read32(b, 18), 400u);
    EXPECT_EQ(read32(b, 22), 592u);  // positive: bottom row first
    EXPECT_EQ(read16(b, 26), 1u);
    EXPECT_EQ(read16(b, 28), 24u);
    for (size_t at = 30; at < 54; at += 4) EXPECT_EQ(read32(b, at), 0u) << at;
}

TEST(BmpFileTest, OddWidthRowsArePaddedWithZeros) {
    BmpLayout layout{};
    ASSERT_TRUE(bmp_layout(401, 3, &layout));
    EXPECT_EQ(layout.row_bytes, 1204u);
    EXPECT_EQ(layout.file_bytes, 54u + 1204u * 3u);
    EXPECT_EQ(read32(headers(401, 3), 2), 54u + 1204u * 3u);

    // Whatever the pixel read leaves behind the pixels is cleared.
    std::vector<uint8_t> file(layout.file_bytes, 0xAB);
    write_bmp_headers(file.data(), 401, 3);
    clear_bmp_row_padding(file.data(), 401, 3);
    for (int row = 0; row < 3; ++row) {
        size_t start = 54 + row * 1204;
        EXPECT_EQ(file[start + 1202], 0xAB) << row;  // last pixel byte kept
        EXPECT_EQ(file[start + 1203], 0) << row;     // one padding byte
    }
    ASSERT_TRUE(bmp_layout(2, 1, &layout));
    EXPECT_EQ(layout.row_bytes, 8u);
}

TEST(BmpFileTest, SizesThatCannotBeWrittenAreRefused) {
    BmpLayout layout{};
    EXPECT_FALSE(bmp_layout(0, 592, &layout));
    EXPECT_FALSE(bmp_layout(400, 0, &layout));
    EXPECT_FALSE(bmp_layout(-400, 592, &layout));
    EXPECT_FALSE(bmp_layout(100000, 100000, &layout));  // more than 4 GiB
}

class BitmapSaveTest : public ::testing::Test {
protected:
    FakePlatform fake;
    const std::string content = std::string("BM") + std::string(52, '\0') + "pixels";
    int save(const char16_t* path) {
        return save_bitmap_file(nullptr, path, reinterpret_cast<const uint8_t*>(content.data()),
                                content.size());
    }
};

TEST_F(BitmapSaveTest, NewFileIsWrittenWithoutAQuestion) {
    EXPECT_EQ(save(u"C:\\work\\card.bmp"), 0);
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\card.bmp"), content);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(BitmapSaveTest, ExistingFileIsKeptWhenTheUserDeclines) {
    fake.put_file(u"C:\\work\\card.bmp", "old");
    fake.answer(kAnswerNo);
    EXPECT_EQ(save(u"C:\\work\\card.bmp"), 1);
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\card.bmp"), "old");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(utf8(fake.boxes[0].text),
              "既にC:\\work\\card.bmpのファイルが存在しています。\r\n上書きしますか？");
    EXPECT_EQ(utf8(fake.boxes[0].caption), "ファイル書込確認");
    EXPECT_EQ(fake.boxes[0].style & 0xF, kButtonsYesNo);

    fake.answer(kAnswerCancel);  // anything but Yes is No
    EXPECT_EQ(save(u"C:\\work\\card.bmp"), 1);
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\card.bmp"), "old");

    fake.answer(kAnswerYes);
    EXPECT_EQ(save(u"C:\\work\\card.bmp"), 0);
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\card.bmp"), content);
}

TEST_F(BitmapSaveTest, FailedWriteReportsAndLeavesTheOldFile) {
    fake.put_file(u"C:\\work\\card.bmp", "old");
    fake.unwritable.insert(u"C:\\work\\card.bmp");
    fake.answer(kAnswerYes);
    EXPECT_EQ(save(u"C:\\work\\card.bmp"), 2);
    EXPECT_EQ(fake.file_bytes(u"C:\\work\\card.bmp"), "old");
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(utf8(fake.boxes[1].text),
              "C:\\work\\card.bmpのファイルが開きません。\r\n書込中止します。");
    EXPECT_EQ(utf8(fake.boxes[1].caption), "ファイル書込エラー");
    EXPECT_EQ(fake.boxes[1].style, kButtonsOk | kIconWarning);
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/kv_line_splitter.h"
#include "tests/support/fake_platform.h"

namespace {

// The rules each file generation reads its lines with: the older files
// keep a lone last byte as a unit, the current data files drop it.
LoneLastByte lone_last_byte_of(LineEnding ending) {
    return ending == LineEnding::kCrLf ? LoneLastByte::kUnit : LoneLastByte::kDropped;
}

class KvLineSplitterTest : public ::testing::Test {
protected:
    // The lines of `bytes` after a byte order mark check that must pass,
    // each as the handler sees it (up to its NUL).
    std::vector<std::u16string> lines(const std::string& bytes, LineEnding ending) {
        fake.put_file(u"C:\\work\\f.txt", bytes);
        FileHandle file = fake.open_for_read(u"C:\\work\\f.txt");
        std::vector<std::u16string> out;
        {
            KvLineSplitter splitter(file, ending, lone_last_byte_of(ending));
            EXPECT_TRUE(splitter.read_byte_order_mark());
            kv_split_lines(splitter, nullptr, [&](const char16_t* text, int len) {
                EXPECT_EQ(std::u16string(text).size(), static_cast<size_t>(len));
                out.push_back(text);
            });
        }
        fake.close(file);
        return out;
    }
    bool has_mark(const std::string& bytes) {
        fake.put_file(u"C:\\work\\m.txt", bytes);
        FileHandle file = fake.open_for_read(u"C:\\work\\m.txt");
        bool result = KvLineSplitter(file, LineEnding::kCrLf, LoneLastByte::kUnit).read_byte_order_mark();
        fake.close(file);
        return result;
    }
    using V = std::vector<std::u16string>;
    FakePlatform fake;
};

TEST_F(KvLineSplitterTest, ByteOrderMark) {
    EXPECT_TRUE(has_mark("\xFF\xFE"));
    EXPECT_TRUE(has_mark("\xFF\xFEx"));
    EXPECT_FALSE(has_mark(""));
    EXPECT_FALSE(has_mark("\xFF"));
    EXPECT_FALSE(has_mark("\xFE\xFF"));
    EXPECT_FALSE(has_mark("\xEF\xBB\xBF" "a=1"));  // UTF-8 with its own mark
}

TEST_F(KvLineSplitterTest, LinesEndAtCrLfAndTheEndOfTheFile) {
    EXPECT_EQ(lines(utf16le_file(u""), LineEnding::kCrLf), V{u""});
    EXPECT_EQ(lines(utf16le_file(u"a=1\r\nb=2"), LineEnding::kCrLf), (V{u"a=1", u"b=2"}));
    // A final CR LF is followed by one empty line.
    EXPECT_EQ(lines(utf16le_file(u"a=1\r\n"), LineEnding::kCrLf), (V{u"a=1", u""}));
    EXPECT_EQ(lines(utf16le_file(u"\r\n\r\n"), LineEnding::kCrLf), (V{u"", u"", u""}));
    // LF alone and CR alone do not end a line.
    EXPECT_EQ(lines(utf16le_file(u"a\nb\rc\r\nd"), LineEnding::kCrLf), (V{u"a\nb\rc", u"d"}));
    // A LF at the start of a line does not pair with the CR that ended the
    // line before it.
    EXPECT_EQ(lines(utf16le_file(u"a\r\n\nb\r\n"), LineEnding::kCrLf), (V{u"a", u"\nb", u""}));
}

TEST_F(KvLineSplitterTest, TrailingCrOrLfRule) {
    EXPECT_EQ(lines(utf16le_file(u"a\r\nb\r"), LineEnding::kTrailingCrOrLf), (V{u"a", u"b"}));
    EXPECT_EQ(lines(utf16le_file(u"a\r\nb\r"), LineEnding::kCrLf), (V{u"a", u"b\r"}));
    EXPECT_EQ(lines(utf16le_file(u"a\n\n\n"), LineEnding::kTrailingCrOrLf), (V{u"a\n"}));
    EXPECT_EQ(lines(utf16le_file(u"a\r\r\n"), LineEnding::kTrailingCrOrLf), (V{u"a\r", u""}));
    EXPECT_EQ(lines(utf16le_file(u"a\r\r\n"), LineEnding::kCrLf), (V{u"a\r", u""}));
}

TEST_F(KvLineSplitterTest, LongLinesAreCutAfter574Units) {
    std::u16string long_line(574, u'x');
    EXPECT_EQ(lines(utf16le_file(long_line + u"yz\r\nn"), LineEnding::kCrLf),
              (V{long_line, u"yz", u"n"}));
    // Exactly 574 units before the CR LF: the CR LF comes back as an empty
    // line of its own.
    EXPECT_EQ(lines(utf16le_file(long_line + u"\r\n"), LineEnding::kCrLf), (V{long_line, u"", u""}));
    std::u16string cut_at_cr(573, u'x');
    cut_at_cr += u'\r';
    EXPECT_EQ(lines(utf16le_file(cut_at_cr + u"\nq"), LineEnding::kCrLf), (V{cut_at_cr, u"\nq"}));
    EXPECT_EQ(lines(utf16le_file(cut_at_cr + u"\nq"), LineEnding::kTrailingCrOrLf),
              (V{std::u16string(573, u'x'), u"\nq"}));
}

TEST_F(KvLineSplitterTest, OddByteCountAndBlockBoundaries) {
    // A lone last byte is a unit of its own.
    EXPECT_EQ(lines(utf16le_file(u"ab") + "c", LineEnding::kCrLf), (V{u"abc"}));
    EXPECT_EQ(lines(utf16le_file(u"ab\r") + "\n", LineEnding::kCrLf), (V{u"ab", u""}));
    // Lines that straddle the splitter's chunks are put together again.
    std::u16string text;
    V expected;
    for (int i = 0; text.size() < 100000; ++i) {
        std::u16string line = u"key" + std::u16string(static_cast<size_t>(i % 37), u'v');
        text += line + u"\r\n";
        expected.push_back(line);
    }
    expected.push_back(u"");
    EXPECT_EQ(lines(utf16le_file(text), LineEnding::kCrLf), expected);
}

TEST_F(KvLineSplitterTest, CrLfSplitBetweenTwoBlocks) {
    // The splitter reads 16384 units at a time, the mark included: the CR
    // of the 328th line is the last unit of the second chunk.
    std::u16string text;
    V expected;
    for (int i = 0; i < 327; ++i) {
        text += std::u16string(98, u'x') + u"\r\n";
        expected.push_back(std::u16string(98, u'x'));
    }
    text += std::u16string(66, u'y') + u"\r\nz";
    expected.push_back(std::u16string(66, u'y'));
    expected.push_back(u"z");
    ASSERT_EQ(text.find(u'\r', 32700), 32766u);
    EXPECT_EQ(lines(utf16le_file(text), LineEnding::kCrLf), expected);
    EXPECT_EQ(lines(utf16le_file(text), LineEnding::kTrailingCrOrLf), expected);
}

TEST_F(KvLineSplitterTest, NulUnitsStayInTheBuffer) {
    std::u16string text(u"a\0b\r\nc", 6);
    V got = lines(utf16le_file(text), LineEnding::kCrLf);
    EXPECT_EQ(got, (V{u"a", u"c"}));  // the handler sees the text up to the NUL
    // The current files' rule strips the end of the text, which ends at the NUL.
    EXPECT_EQ(lines(utf16le_file(std::u16string(u"a\r\0b\r\n", 6)), LineEnding::kTrailingCrOrLf),
              (V{u"a", u""}));
    EXPECT_EQ(lines(utf16le_file(std::u16string(u"a\r\0b\r\n", 6)), LineEnding::kCrLf),
              (V{u"a\r", u""}));
}

}  // namespace

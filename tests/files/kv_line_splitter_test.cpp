#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/kv_line_splitter.h"
#include "tests/support/fake_platform.h"

namespace {

// The rules of the file generation that ends its lines so: the older
// files also keep a lone last byte as a unit, the data files drop it.
const KvLineRules& rules_of(LineEnding ending) {
    return ending == LineEnding::kCrLf ? KV_OLDER_FILE_LINES : KV_DATA_FILE_LINES;
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
            KvLineSplitter splitter(file, rules_of(ending));
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
        bool result = KvLineSplitter(file, KV_OLDER_FILE_LINES).read_byte_order_mark();
        fake.close(file);
        return result;
    }
    // The same lines, taken in turns by peek() and skip() (whole plain lines,
    // as a reader that applies lines in place does), by next_plain_lines()
    // and by next(), in an order `rng` picks.
    std::vector<std::u16string> lines_in_turns(const std::string& bytes, LineEnding ending, std::mt19937& rng) {
        fake.put_file(u"C:\\work\\t.txt", bytes);
        FileHandle file = fake.open_for_read(u"C:\\work\\t.txt");
        std::vector<std::u16string> out;
        {
            KvLineSplitter splitter(file, rules_of(ending));
            EXPECT_TRUE(splitter.read_byte_order_mark());
            for (bool more = true; more;) {
                if (rng() % 3 == 0) {
                    size_t available = 0;
                    const char16_t* units = splitter.peek(&available);
                    for (size_t i = 0; i < KV_PEEK_SLACK; ++i) EXPECT_EQ(units[available + i], 0);
                    // A whole plain line at hand: no NUL, CR LF within 574 units.
                    size_t n = 0;
                    while (n + 1 < available && n + 1 < static_cast<size_t>(KV_READ_LINE_MAX) && units[n] != 0 &&
                           !(units[n] == u'\r' && units[n + 1] == u'\n'))
                        ++n;
                    if (n + 1 < available && n + 1 < static_cast<size_t>(KV_READ_LINE_MAX) && units[n] == u'\r' &&
                        units[n + 1] == u'\n') {
                        out.emplace_back(units, n);
                        splitter.skip(n + 2);
                        continue;
                    }
                }
                KvLine line;
                if (rng() % 2 == 0 && splitter.next_plain_lines(&line, 1) == 1) {
                    out.push_back(line.text);
                    continue;
                }
                more = splitter.next(&line);
                out.push_back(line.text);
            }
        }
        fake.close(file);
        return out;
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
    // The older files are read 32768 units at a time and the data files
    // 16384, the mark included: the CR of the 328th line is the last unit of
    // a chunk either way.
    static_assert(KV_OLDER_FILE_LINES.chunk_units == 32768 && KV_DATA_FILE_LINES.chunk_units == 16384,
                  "the lines below are laid out for these chunks");
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

// Both rules on the same bytes: only the older files read half a unit.
TEST_F(KvLineSplitterTest, LoneLastByteRules) {
    for (LineEnding ending : {LineEnding::kCrLf, LineEnding::kTrailingCrOrLf}) {
        for (LoneLastByte rule : {LoneLastByte::kDropped, LoneLastByte::kUnit}) {
            fake.put_file(u"C:\\work\\o.txt", utf16le_file(u"a=1\r\nb") + "c");
            FileHandle file = fake.open_for_read(u"C:\\work\\o.txt");
            V got;
            {
                KvLineSplitter splitter(file, KvLineRules{ending, rule, 16384});
                ASSERT_TRUE(splitter.read_byte_order_mark());
                kv_split_lines(splitter, nullptr, [&](const char16_t* text, int) { got.push_back(text); });
            }
            fake.close(file);
            EXPECT_EQ(got, (V{u"a=1", rule == LoneLastByte::kUnit ? u"bc" : u"b"}));
        }
    }
}

TEST_F(KvLineSplitterTest, PeekOffersTheUnitsAtHandAndSkipPassesWholeLines) {
    fake.put_file(u"C:\\work\\p.txt", utf16le_file(u"a=1\r\nbb=2\r\nccc=3\r\nd"));
    FileHandle file = fake.open_for_read(u"C:\\work\\p.txt");
    {
        KvLineSplitter splitter(file, KV_DATA_FILE_LINES);
        ASSERT_TRUE(splitter.read_byte_order_mark());
        size_t available = 0;
        const char16_t* units = splitter.peek(&available);
        ASSERT_EQ(std::u16string(units, available), u"a=1\r\nbb=2\r\nccc=3\r\nd");
        for (size_t i = 0; i < KV_PEEK_SLACK; ++i) EXPECT_EQ(units[available + i], 0) << i;
        splitter.skip(5);
        KvLine line;
        ASSERT_EQ(splitter.next_plain_lines(&line, 1), 1u);
        EXPECT_EQ(std::u16string(line.text), u"bb=2");
        units = splitter.peek(&available);
        EXPECT_EQ(std::u16string(units, available), u"ccc=3\r\nd");
        splitter.skip(7);
        EXPECT_FALSE(splitter.next(&line));
        EXPECT_EQ(std::u16string(line.text), u"d");
        splitter.peek(&available);
        EXPECT_EQ(available, 0u);
    }
    fake.close(file);
}

// Taking lines in place, as plain lines or one by one, in any mix, splits a
// file as reading it one unit at a time does, across chunks and with the
// awkward units that are no plain lines.
TEST_F(KvLineSplitterTest, TakingLinesInTurnsSplitsAlike) {
    std::mt19937 rng(11);
    const std::u16string pieces[] = {u"k=1", u"key=value", std::u16string(40, u'x'), std::u16string(u"n\0ul", 4),
                                     u"a\rb", u"a\nb", u"\r", u"\n", u"", std::u16string(600, u'y')};
    for (int round = 0; round < 12; ++round) {
        std::u16string text;
        while (text.size() < (round % 2 == 0 ? 1000u : 40000u)) {
            text += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
            text += rng() % 8 == 0 ? u"\r\r\n" : u"\r\n";
        }
        if (round % 3 == 0) text += u"tail";
        for (LineEnding ending : {LineEnding::kCrLf, LineEnding::kTrailingCrOrLf}) {
            const std::string bytes = utf16le_file(text) + (round % 4 == 1 ? "z" : "");
            ASSERT_EQ(lines_in_turns(bytes, ending, rng), lines(bytes, ending)) << round;
        }
    }
}

TEST(KvLfMarksTest, FindsEveryLfBeforeTheEnd) {
    // Units at hand, then the NUL slack a splitter provides behind them.
    std::u16string units;
    std::vector<size_t> expected;
    for (size_t i = 0; i < 300; ++i) {
        const bool lf = i % 7 == 3 || i % 64 == 63 || i == 128 || i == 129;
        units += lf ? u'\n' : static_cast<char16_t>(u'a' + i % 26);
        if (lf) expected.push_back(i);
    }
    const size_t at_hand = units.size();
    units += std::u16string(KV_PEEK_SLACK, u'\0');
    for (size_t from : {size_t(0), size_t(3), size_t(4), size_t(100)}) {
        KvLfMarks marks(units.data() + from, units.data() + at_hand);
        std::vector<size_t> got;
        while (const char16_t* lf = marks.next()) got.push_back(static_cast<size_t>(lf - units.data()));
        std::vector<size_t> want;
        for (size_t at : expected)
            if (at >= from) want.push_back(at);
        EXPECT_EQ(got, want) << from;
    }
    KvLfMarks none(units.data() + at_hand, units.data() + at_hand);
    EXPECT_EQ(none.next(), nullptr);
}

TEST(KvHoldsNulTest, LooksAtEveryUnitUpToTheEnd) {
    std::u16string units(40, u'x');
    for (size_t at = 0; at < 40; ++at) {
        units[at] = 0;
        EXPECT_TRUE(kv_holds_nul(units.data(), units.data() + 40)) << at;
        EXPECT_EQ(kv_holds_nul(units.data(), units.data() + at), false) << at;
        EXPECT_EQ(kv_holds_nul(units.data() + at + 1, units.data() + 40), false) << at;
        units[at] = u'x';
    }
}

}  // namespace

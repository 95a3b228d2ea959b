// The older layout file is read with lines applied in place where they lie
// in the reader's block; the result must be the same as reading every line
// through the line reader and read_old_layout_line.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "exchange/legacy_import.h"
#include "exchange/legacy_layout_keys.h"
#include "files/kv_line_splitter.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

const char16_t kPath[] = u"C:\\work\\old.txt";

// Every card field name of the older layout file.
std::vector<std::u16string> card_field_names() {
    std::vector<std::u16string> names = {u"base_filepass"};
    for (char16_t group : std::u16string(u"1234"))
        for (char16_t letter : std::u16string(u"xyw")) names.push_back({letter, group});
    const char16_t* const fonts[] = {u"Height",    u"Width",        u"Escapement",    u"Orientation",
                                     u"Weight",    u"Italic",       u"Underline",     u"StrikeOut",
                                     u"CharSet",   u"OutPrecision", u"ClipPrecision", u"Quality",
                                     u"PitchAndFamily", u"FaceName"};
    const std::pair<char16_t, int> items[] = {{u't', 0}, {u'a', 5}, {u'n', 5}, {u'y', 0}, {u'd', 2}, {u'm', 2}};
    for (const auto& item : items) {
        std::u16string letter(1, item.first);
        for (const char16_t* font : fonts) names.push_back(letter + u"lf.lf" + font);
        for (const char16_t* c : {u"c.r", u"c.g", u"c.b"}) names.push_back(letter + c);
        for (int k = 0; k < item.second; ++k) {
            names.push_back(letter + u"xy[" + char16_t(u'0' + k) + u"].x");
            names.push_back(letter + u"xy[" + char16_t(u'0' + k) + u"].y");
        }
    }
    return names;
}

class LegacyLayoutFastTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        text_set(doc().work_dir, u"C:\\work");
        text_set(doc().chosen_file, kPath);
    }

    // The document after import_legacy, and after the plain line-by-line
    // reading, of the same file bytes.
    void import_both(const std::string& bytes, Document& fast, Document& plain) {
        fake.put_file(kPath, bytes);
        std::memset(&doc(), 0, sizeof(Document));
        text_set(doc().work_dir, u"C:\\work");
        text_set(doc().chosen_file, kPath);
        fake.answer(kAnswerYes);
        import_legacy(nullptr, LEGACY_LAYOUT);
        std::memcpy(&fast, &doc(), sizeof(Document));

        std::memset(&doc(), 0, sizeof(Document));
        text_set(doc().work_dir, u"C:\\work");
        text_set(doc().chosen_file, kPath);
        reset_layouts();
        FileHandle file = fake.open_for_read(kPath);
        {
            KvLineSplitter lines(file, KV_OLDER_FILE_LINES);
            if (lines.read_byte_order_mark())
                kv_split_lines(lines, nullptr, [](const char16_t* line, int) { read_old_layout_line(line); });
        }
        fake.close(file);
        std::memcpy(&plain, &doc(), sizeof(Document));
    }

    void expect_same(const std::u16string& text) {
        Document fast;
        Document plain;
        import_both(utf16le_file(text), fast, plain);
        for (int i = 0; i < HDATA_MAX; ++i)
            ASSERT_EQ(std::memcmp(&fast.hdata[i], &plain.hdata[i], sizeof(CardRecord)), 0) << "card " << i;
        ASSERT_EQ(std::memcmp(&fast, &plain, sizeof(Document)), 0);
    }

    FakePlatform fake;
};

TEST_F(LegacyLayoutFastTest, EveryNameIsKnownOnceAndNothingElse) {
    std::vector<std::u16string> names = card_field_names();
    ASSERT_EQ(names.size(), 143u);
    std::set<uint32_t> offsets;
    for (const std::u16string& name : names) {
        const OldCardField* field = find_old_card_field(name.data(), name.size());
        ASSERT_NE(field, nullptr) << utf8(name);
        EXPECT_TRUE(offsets.insert(field->offset).second) << utf8(name);
        EXPECT_EQ(find_old_card_field(name.data(), name.size() - 1), nullptr) << utf8(name);
        std::u16string longer = name + u"x";
        EXPECT_EQ(find_old_card_field(longer.data(), longer.size()), nullptr) << utf8(name);
    }
    EXPECT_EQ(find_old_card_field(u"", 0), nullptr);
    EXPECT_EQ(find_old_card_field(u"txy[0].x", 8), nullptr);
    EXPECT_EQ(find_old_card_field(u"x0", 2), nullptr);
}

TEST_F(LegacyLayoutFastTest, AWholeFileInTheUsualOrder) {
    std::u16string text = u"base_w=800\r\nbase_h=1184\r\n";
    std::vector<std::u16string> names = card_field_names();
    for (int i = 0; i < HDATA_MAX; ++i) {
        for (size_t n = 0; n < names.size(); ++n) {
            std::u16string value = std::u16string(1, char16_t(u'0' + (i + n) % 10));
            if (n % 5 == 0) value = u"-" + value + u"7";
            if (names[n].find(u"FaceName") != std::u16string::npos) value = u"@ＭＳ 明朝";
            if (names[n] == u"base_filepass") value = u"C:\\bg\\" + std::u16string(i % 7, u'p');
            text += u"base_dt[";
            char16_t number[8];
            TextBuilder(number, 8).add_int(i);
            text += number;
            text += u"]." + names[n] + u"=" + value + u"\r\n";
        }
    }
    text += u"prn_mode=3";
    expect_same(text);
    // And the import did take the values.
    Document fast;
    Document plain;
    import_both(utf16le_file(text), fast, plain);
    EXPECT_EQ(fast.hdata[199].fn.xy[1].y, plain.hdata[199].fn.xy[1].y);
    EXPECT_EQ(std::u16string(fast.hdata[3].tn.lf.lfFaceName), u"@ＭＳ 明朝");
    EXPECT_EQ(fast.print.prn_mode, 3);
}

TEST_F(LegacyLayoutFastTest, OddLinesGiveTheSameResult) {
    const char16_t* const lines[] = {
        u"base_dt[1].x1=12",           u"base_dt[1].x1= 12",           u"base_dt[1].x1=+12",
        u"base_dt[1].x1=-",            u"base_dt[1].x1=",              u"base_dt[1].x1=12a",
        u"base_dt[1].x1=0012",         u"base_dt[1].x1=1234",          u"base_dt[1].x1=12345678901",
        u"base_dt[1].x1=99999999999999999999999999999999",            u"base_dt[1].x1=-2147483649",
        u"base_dt[1].x1=18446744073709551621",        u"base_dt[1].x1=1234567890123456789012345",                   u"base_dt[1].x1=-0000000000000000000000000001",
        u"base_dt[1].x1=123456789012345678901234567890123",           u"base_dt[1].x1=000000000000000000000000000001234",
        u"base_dt[1].x1=2147483647",   u"base_dt[1].tc.r=300",         u"base_dt[1].tc.r=-1",
        u"base_dt[1].x1=1=2",          u"base_dt[1].x1==2",            u"base_dt[01].x1=3",
        u"base_dt[0].x1=4",            u"base_dt[199].x1=5",           u"base_dt[200].x1=6",
        u"base_dt[1999].x1=6",         u"base_dt[1].x1\r=7",           u"base_dt[1].x1=\r7",
        u"base_dt[1].x1=7\r",          u"base_dt[1].x1=7\n",           u"base_dt[1].x1=\t8",
        u"base_dt[1].tlf.lfFaceName=\r", u"base_dt[1].tlf.lfFaceName=a\rb",
        u"base_dt[1].tlf.lfFaceName=a\nb", u"base_dt[1].tlf.lfFaceName=",
        u"base_dt[1].tlf.lfFaceName=" "0123456789012345678901234567890123456789",
        u"base_dt[1].base_filepass=x=y", u"base_dt[1].axy[4].y=9",      u"base_dt[1].axy[5].y=9",
        u"base_dt[1].qq=1",            u"base_dt[1].=1",               u"base_dt[1]=1",
        u"base_w=7",                   u"stop_p=8",                    u"",
        u"base_dt[1].x1=1\r\nbase_dt[1].y1=2",
    };
    for (const char16_t* line : lines) {
        SCOPED_TRACE(utf8(line));
        expect_same(std::u16string(line) + u"\r\n");
        expect_same(u"base_dt[2].x1=1\r\n" + std::u16string(line));
        expect_same(u"base_dt[2].x1=1\r\n" + std::u16string(line) + u"\r\nbase_dt[2].y1=3\r\n");
    }
    // NUL units in the name, the value and the text.
    expect_same(std::u16string(u"base_dt[1].x\0001=5\r\n", 19));
    expect_same(std::u16string(u"base_dt[1].x1=5\0009\r\n", 20));
    expect_same(std::u16string(u"base_dt[1].tlf.lfFaceName=a\0b\r\n", 31));
}

TEST_F(LegacyLayoutFastTest, LinesAtTheLengthLimitAndAcrossBlocks) {
    // A text line of exactly 574 units with its CR LF, and one unit longer.
    for (size_t length : {572u, 573u, 574u, 575u}) {
        std::u16string key = u"base_dt[5].base_filepass=";
        std::u16string line = key + std::u16string(length - key.size() - 2, u'p') + u"\r\n";
        SCOPED_TRACE(length);
        expect_same(line + u"base_dt[5].x1=1\r\n");
        expect_same(u"base_dt[5].x1=2\r\n" + line);
    }
    // Number lines of every length around the reader's block of 32768
    // units, so that some line is cut by the block's end at every place.
    for (int pad = 0; pad < 24; ++pad) {
        std::u16string text;
        while (text.size() < 32740 + static_cast<size_t>(pad)) text += u"base_dt[7].w2=5\r\n";
        text += std::u16string(static_cast<size_t>(pad % 5), u'z') + u"\r\n";
        for (int k = 0; k < 6; ++k) text += u"base_dt[8].tlf.lfHeight=-123\r\nbase_dt[8].x1=42\r\n";
        SCOPED_TRACE(pad);
        expect_same(text);
    }
}

TEST_F(LegacyLayoutFastTest, ALineThatBreaksTheUsualOrder) {
    // After a few cards in one order, lines that begin like the expected
    // key but are not it.
    std::u16string cards;
    for (int i = 0; i < 5; ++i) {
        char16_t number[8];
        TextBuilder(number, 8).add_int(i);
        std::u16string prefix = u"base_dt[" + std::u16string(number) + u"].";
        cards += prefix + u"x1=1\r\n" + prefix + u"y1=2\r\n" + prefix + u"tlf.lfFaceName=f\r\n" +
                 prefix + u"axy[1].y=3\r\n";
    }
    const char16_t* const breaks[] = {
        u"y1:5", u"y15", u"y1", u"y1 =5", u"y", u"x1=7", u"tlf.lfFaceName", u"tlf.lfFaceNam=g",
        u"tlf.lfFaceNameX=g", u"axy[1].y", u"axy[1].x=4",
    };
    for (const char16_t* brk : breaks) {
        SCOPED_TRACE(utf8(brk));
        expect_same(cards + u"base_dt[9].x1=1\r\nbase_dt[9]." + brk + u"\r\nbase_dt[9].w1=6\r\n");
        expect_same(cards + u"base_dt[9].y1=1\r\nbase_dt[9]." + brk + u"\r\nbase_dt[9].w1=6\r\n");
        expect_same(cards + u"base_dt[9].tlf.lfFaceName=q\r\nbase_dt[9]." + brk + u"\r\n");
    }
}

TEST_F(LegacyLayoutFastTest, RandomLinesGiveTheSameResult) {
    std::vector<std::u16string> names = card_field_names();
    std::mt19937 random(20251207);
    const std::u16string noise[] = {u"", u" ", u"-", u"+", u"0", u"9", u"=", u"\r", u"\n", u"]",
                                    u"[", u".", u"x", u"字", std::u16string(1, u'\0')};
    for (int round = 0; round < 40; ++round) {
        std::u16string text;
        for (int n = 0; n < 300; ++n) {
            std::u16string line = u"base_dt[";
            int card = static_cast<int>(random() % 210);
            char16_t number[8];
            TextBuilder(number, 8).add_int(card);
            line += number;
            line += u"]." + names[random() % names.size()] + u"=";
            int digits = static_cast<int>(random() % 13);
            for (int d = 0; d < digits; ++d) line += char16_t(u'0' + random() % 10);
            // Now and then a unit that may break the line somewhere.
            if (random() % 4 == 0) {
                size_t at = random() % (line.size() + 1);
                line.insert(at, noise[random() % (sizeof noise / sizeof noise[0])]);
            }
            text += line + (random() % 20 == 0 ? u"\n" : u"\r\n");
        }
        SCOPED_TRACE(round);
        expect_same(text);
    }
}

}  // namespace

#include <string>

#include "tests/files/data_file_fixture.h"

namespace {

const std::u16string kSenderFile = u"C:\\work\\zelko1.txt";

class KvReaderTest : public DataFileTest {
protected:
    void SetUp() override {
        DataFileTest::SetUp();
        text_set(doc().fdata[5].t, u"kept");  // shows whether the senders were cleared
    }
    void read_senders(const std::u16string& bytes_text) {
        put_data(kSenderFile, bytes_text);
        read_kv_file(nullptr, READ_INTERACTIVE, KIND_SENDER, u"zelko1.txt");
    }
};

// A platform whose reads deliver at most a few bytes, so that units, CR LF
// pairs and lines are split across reads at every possible place.
class TricklePlatform : public FakePlatform {
public:
    size_t step = 7;
    size_t read(FileHandle file, void* buffer, size_t bytes) override {
        return FakePlatform::read(file, buffer, bytes < step ? bytes : step);
    }
};

TEST(ResolveDataPathTest, DrivePathsStandBareNamesGoIntoTheWorkingFolder) {
    FakePlatform fake;
    char16_t out[PATH_CAP];
    text_set(doc().work_dir, u"C:\\work");
    ASSERT_TRUE(resolve_data_path(u"zelko1.txt", out, PATH_CAP));
    EXPECT_EQ(std::u16string(out), u"C:\\work\\zelko1.txt");
    ASSERT_TRUE(resolve_data_path(u"D:\\data\\a.txt", out, PATH_CAP));
    EXPECT_EQ(std::u16string(out), u"D:\\data\\a.txt");
    // "C:" without the backslash is not a drive path.
    ASSERT_TRUE(resolve_data_path(u"C:a.txt", out, PATH_CAP));
    EXPECT_EQ(std::u16string(out), u"C:\\work\\C:a.txt");

    text_set(doc().work_dir, u"C:\\");  // the backslash is not doubled
    ASSERT_TRUE(resolve_data_path(u"zelko1.txt", out, PATH_CAP));
    EXPECT_EQ(std::u16string(out), u"C:\\zelko1.txt");
}

TEST(ResolveDataPathTest, PathsOverTheCapacityAreRefusedWithoutOverflow) {
    FakePlatform fake;
    std::u16string dir = u"C:\\" + std::u16string(240, u'd');
    text_set(doc().work_dir, dir.c_str());
    char16_t out[PATH_CAP + 8];
    for (char16_t& u : out) u = u'#';
    // 243 + 1 + 15 = 259 units fit; one more does not.
    EXPECT_TRUE(resolve_data_path(std::u16string(15, u'n').c_str(), out, PATH_CAP));
    EXPECT_EQ(text_length(out), 259);
    EXPECT_FALSE(resolve_data_path(std::u16string(16, u'n').c_str(), out, PATH_CAP));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[PATH_CAP], u'#');
    std::u16string long_drive_path = u"C:\\" + std::u16string(400, u'x');
    EXPECT_FALSE(resolve_data_path(long_drive_path.c_str(), out, PATH_CAP));
    EXPECT_EQ(out[PATH_CAP], u'#');
}

TEST_F(KvReaderTest, MissingFileIsSilentAtStartUpAndReportedOnRequest) {
    read_kv_file(nullptr, READ_SILENT, KIND_SENDER, u"zelko1.txt");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(field_text(doc().fdata[5].t), u"kept");

    EXPECT_EQ(read_kv_file(nullptr, READ_INTERACTIVE, KIND_SENDER, u"C:\\nowhere\\x.txt"), KV_READ_FAILED);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, u"ﾌｧｲﾙが開けません\r\n読込を中止しました。データは開く前のままです。");
    EXPECT_EQ(fake.boxes[0].caption, u"ﾌｧｲﾙｴﾗｰ");
    EXPECT_EQ(fake.boxes[0].style, kButtonsOk | kIconWarning);
    EXPECT_EQ(field_text(doc().fdata[5].t), u"kept");
}

TEST_F(KvReaderTest, OverlongPathIsAFileThatCannotBeOpened) {
    std::u16string name = u"C:\\" + std::u16string(300, u'x') + u".txt";
    read_kv_file(nullptr, READ_INTERACTIVE, KIND_SENDER, name.c_str());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].caption, u"ﾌｧｲﾙｴﾗｰ");
    EXPECT_EQ(field_text(doc().fdata[5].t), u"kept");
}

TEST_F(KvReaderTest, ReadingStartsFromTheWorkingFolder) {
    fake.put_file(u"C:\\elsewhere\\dummy", "");
    ASSERT_TRUE(fake.set_current_directory(u"C:\\elsewhere"));
    read_senders(u"fdata[0].t=1\r\n");
    EXPECT_EQ(fake.current_dir, u"C:\\work");
    EXPECT_EQ(field_text(doc().fdata[0].t), u"1");
}

TEST_F(KvReaderTest, ByteOrderMarkOnlyClearsTheKindAndLoadsNothing) {
    read_senders(u"");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(count_senders(), 0);
    EXPECT_EQ(doc().fdata[5].t[0], 0);
}

TEST_F(KvReaderTest, FileWithoutByteOrderMarkIsRefusedAndChangesNothing) {
    for (const std::string& bytes : {std::string("fdata[0].t=1\r\n"), std::string("\xEF\xBB\xBF" "fdata"),
                                     std::string("\xFF"), std::string(), std::string("\xFE\xFF\x00t", 4)}) {
        fake.boxes.clear();
        text_set(doc().fdata[5].t, u"kept");
        fake.put_file(kSenderFile, bytes);
        EXPECT_EQ(read_kv_file(nullptr, READ_SILENT, KIND_SENDER, u"zelko1.txt"), KV_READ_FAILED);
        ASSERT_EQ(fake.boxes.size(), 1u) << bytes.size();
        EXPECT_EQ(fake.boxes[0].text, u"zelko1.txtがWide文字で有りません!。");
        EXPECT_EQ(fake.boxes[0].caption, u"ErrorFileRead");
        EXPECT_EQ(fake.boxes[0].style, kButtonsOk);
        EXPECT_EQ(field_text(doc().fdata[5].t), u"kept");
    }
}

TEST_F(KvReaderTest, LinesEndOnlyAtCrLfAndLoseExactlyThatPair) {
    read_senders(
        u"fdata[0].t=a\rb\r\n"          // a lone CR stays in the value
        u"fdata[0].a[0].s=x\ny\r\n"     // so does a lone LF
        u"fdata[0].a[1].s=cr\r\r\n"     // CR CR LF: the first CR is part of the value
        u"fdata[0].n[0].s=lf\n\r\n"     // LF CR LF likewise keeps the LF
        u"fdata[0].n[1].s=\x02\x08\x0A\r\n"  // other control units are plain text
        u"fdata[1].t=last");            // the last line needs no CR LF
    EXPECT_EQ(field_text(doc().fdata[0].t), u"a\rb");
    EXPECT_EQ(field_text(doc().fdata[0].a[0].s), u"x\ny");
    EXPECT_EQ(field_text(doc().fdata[0].a[1].s), u"cr\r");
    EXPECT_EQ(field_text(doc().fdata[0].n[0].s), u"lf\n");
    EXPECT_EQ(field_text(doc().fdata[0].n[1].s), u"\x02\x08\n");
    EXPECT_EQ(field_text(doc().fdata[1].t), u"last");
}

TEST_F(KvReaderTest, LastLineEndingInLoneCrOrLfLosesIt) {
    read_senders(u"fdata[0].t=a\r");
    EXPECT_EQ(field_text(doc().fdata[0].t), u"a");
    read_senders(u"fdata[0].t=b\n");
    EXPECT_EQ(field_text(doc().fdata[0].t), u"b");
    read_senders(u"fdata[0].t=c\n\n");
    EXPECT_EQ(field_text(doc().fdata[0].t), u"c");
}

TEST_F(KvReaderTest, LongLineIsCutAfter574UnitsAndItsRemainderIsTheNextLine) {
    // 16 + 558 = 574 units; the remainder is a line of its own.
    std::u16string first = u"fdata[0].a[0].s=" + std::u16string(558, u'x');
    read_senders(first + u"fdata[1].t=rest\r\nfdata[2].t=next\r\n");
    EXPECT_EQ(field_text(doc().fdata[0].a[0].s), std::u16string(63, u'x'));
    EXPECT_EQ(doc().fdata[0].a[0].s[63], 0);
    EXPECT_EQ(field_text(doc().fdata[1].t), u"rest");
    EXPECT_EQ(field_text(doc().fdata[2].t), u"next");
}

TEST_F(KvReaderTest, LineOf574UnitsWithCrLfBehindTheCut) {
    // The cut falls between CR and LF: the CR is stripped from the first
    // piece, and the LF starts the next piece, which no key matches.
    std::u16string first = u"fdata[0].t=" + std::u16string(562, u'y') + u"\r";
    for (const std::u16string& before : {std::u16string(), std::u16string(u"fdata[3].t=before\r\n")}) {
        read_senders(before + first + u"\nfdata[1].t=lost\r\nfdata[2].t=kept\r\n");
        EXPECT_EQ(field_text(doc().fdata[0].t), std::u16string(15, u'y'));
        EXPECT_EQ(doc().fdata[1].t[0], 0);
        EXPECT_EQ(field_text(doc().fdata[2].t), u"kept");
    }
    // One unit shorter, the CR LF ends the line as usual.
    read_senders(u"fdata[3].t=before\r\nfdata[0].t=" + std::u16string(561, u'y') + u"\r\nfdata[1].t=next\r\n");
    EXPECT_EQ(field_text(doc().fdata[1].t), u"next");
}

TEST_F(KvReaderTest, OddTrailingByteAndEmbeddedNulsAreHarmless) {
    std::string bytes = utf16le_file(std::u16string(u"fdata[0].t=ab\0cd\r\nfdata[1].t=z", 30));
    bytes += 'q';
    fake.put_file(kSenderFile, bytes);
    read_kv_file(nullptr, READ_INTERACTIVE, KIND_SENDER, u"zelko1.txt");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(field_text(doc().fdata[0].t), u"ab");
    EXPECT_EQ(field_text(doc().fdata[1].t), u"z");
}

TEST_F(KvReaderTest, HugeLinesNeverWritePastAField) {
    std::u16string text = u"fdata[3].n[1].s=" + std::u16string(10000, u'w') + u"\r\n" +
                          u"fdata[4].t=" + std::u16string(10000, u'v');
    read_senders(text);
    EXPECT_EQ(field_text(doc().fdata[3].n[1].s), std::u16string(63, u'w'));
    EXPECT_EQ(field_text(doc().fdata[4].t), std::u16string(15, u'v'));
    // The 574-unit pieces of the remainder match no key.
    EXPECT_EQ(doc().fdata[0].t[0], 0);
    EXPECT_EQ(count_senders(), 0);
}

TEST_F(KvReaderTest, CloseFailureNamesTheFileAsPassed) {
    fake.fail_close = true;
    read_senders(u"fdata[0].t=1\r\n");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, u"zelko1.txt");
    EXPECT_EQ(fake.boxes[0].caption, u"CloseHandle-errer");
    EXPECT_EQ(fake.boxes[0].style, kButtonsOk);
    EXPECT_EQ(field_text(doc().fdata[0].t), u"1");
}

TEST_F(KvReaderTest, EachKindClearsOnlyItsOwnPart) {
    text_set(doc().hdata[0].tt.m, u"1000001");
    doc().hdata[0].base_w = 1;
    doc().print.base_pw = 5;
    put_data(u"C:\\work\\zelko2.txt", u"");
    read_kv_file(nullptr, READ_SILENT, KIND_ADDRESSEE, u"zelko2.txt");
    EXPECT_EQ(doc().hdata[0].tt.m[0], 0);
    EXPECT_EQ(doc().hdata[0].base_w, 1);
    EXPECT_EQ(field_text(doc().fdata[5].t), u"kept");

    text_set(doc().hdata[0].tt.m, u"1000001");
    put_data(u"C:\\work\\zelko3.txt", u"");
    read_kv_file(nullptr, READ_SILENT, 7, u"zelko3.txt");  // any other kind is the layout file
    EXPECT_EQ(doc().hdata[0].base_w, 400);
    EXPECT_EQ(doc().print.base_pw, 1000);
    EXPECT_EQ(field_text(doc().hdata[0].tt.m), u"1000001");
    EXPECT_EQ(field_text(doc().fdata[5].t), u"kept");
}

// Lines are split alike whether the file arrives in large chunks or in tiny
// reads, and at a chunk boundary that falls between CR and LF.
TEST(KvReaderChunkTest, SplittingDoesNotDependOnHowTheFileArrives) {
    std::u16string text;
    for (int j = 0; j < 10; ++j) {
        text += u"fdata[" + std::u16string(1, static_cast<char16_t>(u'0' + j)) + u"].t=t" +
                std::u16string(1, static_cast<char16_t>(u'0' + j)) + u"\r\n";
        text += u"fdata[" + std::u16string(1, static_cast<char16_t>(u'0' + j)) + u"].a[1].s=" +
                std::u16string(700, static_cast<char16_t>(0x6771)) + u"\r\r\n";
    }
    std::u16string expected[FDATA_MAX];
    for (size_t step : {size_t(1), size_t(2), size_t(3), size_t(7), size_t(4096)}) {
        TricklePlatform fake;
        fake.step = step;
        std::memset(&doc(), 0, sizeof(Document));
        text_set(doc().work_dir, u"C:\\work");
        fake.put_file(u"C:\\work\\s.txt", utf16le_file(text) + "x");
        read_kv_file(nullptr, READ_INTERACTIVE, KIND_SENDER, u"s.txt");
        EXPECT_TRUE(fake.boxes.empty());
        for (int j = 0; j < FDATA_MAX; ++j) {
            std::u16string got = field_text(doc().fdata[j].t) + u"|" + field_text(doc().fdata[j].a[1].s);
            if (step == 1) expected[j] = got;
            EXPECT_EQ(utf8(got), utf8(expected[j])) << "step " << step << " sender " << j;
        }
    }
    EXPECT_EQ(utf8(expected[9]), "t9|" + utf8(std::u16string(63, static_cast<char16_t>(0x6771))));
}

TEST(KvReaderChunkTest, CrLfAcrossTheReaderChunkBoundary) {
    FakePlatform fake;
    std::memset(&doc(), 0, sizeof(Document));
    text_set(doc().work_dir, u"C:\\work");
    // The reader takes 16384 units at a time, the byte order mark first.
    // 163 ignored lines of 100 units end at unit 16300; the next line's CR
    // is unit 16383, the last of the first chunk, and its LF the first of
    // the second.
    std::u16string text;
    for (int n = 0; n < 163; ++n) text += std::u16string(98, u'-') + u"\r\n";
    std::u16string line = u"fdata[1].a[0].s=";
    line += std::u16string(16383 - 16301 - line.size(), u'a');
    text += line + u"\r\nfdata[2].t=ok\r\n";
    ASSERT_EQ(1 + text.find(u"\r\nfdata[2]"), 16383u);
    fake.put_file(u"C:\\work\\s.txt", utf16le_file(text));
    read_kv_file(nullptr, READ_INTERACTIVE, KIND_SENDER, u"s.txt");
    EXPECT_EQ(field_text(doc().fdata[1].a[0].s), std::u16string(63, u'a'));
    EXPECT_EQ(field_text(doc().fdata[2].t), u"ok");
}

}  // namespace

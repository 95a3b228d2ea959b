// The readers against the plain reference reader (tests/support/
// reference_reader): files built from the keys of the three formats, with
// indices, values and line endings chosen at random among the awkward ones,
// must leave the document exactly as the reference leaves it, whatever size
// the reads have.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "files/data_files.h"
#include "files/kv_file.h"
#include "files/kv_line_splitter.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"
#include "tests/support/full_document.h"
#include "tests/support/reference_reader.h"

namespace {

class SteppedPlatform : public FakePlatform {
public:
    size_t step = 1 << 20;
    size_t read(FileHandle file, void* buffer, size_t bytes) override {
        return FakePlatform::read(file, buffer, bytes < step ? bytes : step);
    }
};

const char* const kKeys[] = {
    "fdata_cont_max=", "fdata[#].t=", "fdata[#].a[#].s=", "fdata[#].n[#].s=", "fdata[#]", "fdata[",
    "hdata_cont_max=", "hdata[#].tt.m=", "hdata[#].ta.m[#].s=", "hdata[#].tn.m[#].s=", "hdata[#].ftb=",
    "hdata[#].typ[#].t=", "hdata[#].typ[#].y=", "hdata[#].yomi.s=", "hdata[#].typ[#].", "hdata[#].base_w=", "hdata[#].base_h=",
    "hdata[#].base_filepass=", "hdata[#].tt.x1=", "hdata[#].ft.w2=", "hdata[#].ta.y1=", "hdata[#].tt.",
    "hdata[#].ta.xy[#].x=", "hdata[#].fn.xy[#].y=", "hdata[#].tt.xy[#].x=", "hdata[#].fa.xy[#]",
    "hdata[#].tn.lf.lfHeight=", "hdata[#].fa.lf.lfWidth=", "hdata[#].ft.lf.lfWeight=",
    "hdata[#].fn.lf.lfOrientation=", "hdata[#].ta.lf.lfOutPrecision=", "hdata[#].tt.lf.lfClipPrecision=",
    "hdata[#].tn.lf.lfCharSet=", "hdata[#].fa.lf.lfPitchAndFamily=", "hdata[#].ft.lf.lfFaceName=",
    "hdata[#].fn.lf.lfQuality=", "hdata[#].tt.lf.lfItalic=", "hdata[#].tt.lf.lfEscapement=",
    "hdata[#].tt.lf.lfHeigh=", "hdata[#].tt.lf.", "hdata[#].tt.c.r=", "hdata[#].fn.c.g=", "hdata[#].ta.c.b=",
    "hdata[#].tt.c.x=", "hdata[#].tx.c.r=", "base_pw=", "base_ph=", "base_px=", "base_py=", "prn_mode=",
    "bmp_mode=", "start_p=", "stop_p=", "stop_p", "",
};

const char16_t* const kIndices[] = {u"0", u"1", u"4", u"9", u"12", u"199", u"200", u"250", u"-1", u"",
                                    u"3x", u" 2", u"+1", u"99999999999", u"0000000000000000000000000000000007"};

const char16_t* const kValues[] = {u"", u"0", u"7", u"-900", u"300", u"65535", u"-1", u"2147483647",
                                   u"-2147483648", u"99999999999", u"12x", u" 42", u"+5", u"-", u"x",
                                   u"東京都千代田区", u"ﾃｽﾄ", u"𠮷", u"a=b]c", u"1234567890123456789012345678901234567890"};

std::u16string random_file(std::mt19937& rng) {
    std::u16string text;
    const int lines = 1 + static_cast<int>(rng() % 40);
    for (int n = 0; n < lines; ++n) {
        const char* key = kKeys[rng() % (sizeof kKeys / sizeof kKeys[0])];
        for (const char* p = key; *p != 0; ++p) {
            if (*p == '#') text += kIndices[rng() % (sizeof kIndices / sizeof kIndices[0])];
            else text += static_cast<char16_t>(*p);
        }
        switch (rng() % 12) {
            case 0: text += std::u16string(rng() % 700, u'v'); break;
            case 1: text += std::u16string(1, static_cast<char16_t>(rng() % 16)); break;  // control units, NUL
            default: text += kValues[rng() % (sizeof kValues / sizeof kValues[0])]; break;
        }
        switch (rng() % 10) {
            case 0: text += u"\r"; break;
            case 1: text += u"\n"; break;
            case 2: text += u"\r\r\n"; break;
            case 3: break;
            default: text += u"\r\n"; break;
        }
    }
    return text;
}

TEST(ReaderOracleTest, ReadersMatchTheReferenceOnRandomFiles) {
    static Document start;
    static Document expected;
    std::memset(&doc(), 0, sizeof(Document));
    fill_full_document();
    std::memcpy(&start, &doc(), sizeof(Document));

    std::mt19937 rng(20261207);
    const size_t steps[] = {1, 3, 64, 1 << 20};
    SteppedPlatform fake;
    for (int round = 0; round < 240; ++round) {
        fake.step = steps[round % 4];
        const int kind = 1 + round % 3;
        std::string bytes = utf16le_file(random_file(rng));
        if (round % 7 == 0) bytes += 'z';  // an odd trailing byte
        fake.put_file(u"C:\\work\\f.txt", bytes);

        std::memcpy(&expected, &start, sizeof(Document));
        reference_load(expected, kind, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        std::memcpy(&doc(), &start, sizeof(Document));
        text_set(doc().work_dir, u"C:\\work");
        text_set(expected.work_dir, u"C:\\work");
        read_kv_file(nullptr, READ_INTERACTIVE, kind, u"f.txt");

        ASSERT_TRUE(fake.boxes.empty()) << round;
        if (std::memcmp(&doc(), &expected, sizeof(Document)) == 0) continue;
        // Name the first field that differs.
        for (int i = 0; i < HDATA_MAX; ++i) {
            ASSERT_EQ(describe_addressee(doc().hdata[i]), describe_addressee(expected.hdata[i])) << round << " card " << i;
            ASSERT_EQ(describe_layout(doc().hdata[i]), describe_layout(expected.hdata[i])) << round << " card " << i;
        }
        for (int j = 0; j < FDATA_MAX; ++j)
            ASSERT_EQ(describe_sender(doc().fdata[j]), describe_sender(expected.fdata[j])) << round;
        ASSERT_EQ(describe_print(doc().print), describe_print(expected.print)) << round;
        FAIL() << "round " << round << ": the documents differ";
    }
}

// Files as the program writes them, with lines dropped, repeated, swapped or
// given awkward values here and there: the readers expect the writer's order
// and must still do exactly what the grammar says when it is broken.
TEST(ReaderOracleTest, ReadersMatchTheReferenceOnDisturbedWrittenFiles) {
    static Document start;
    static Document expected;
    SteppedPlatform fake;
    std::memset(&doc(), 0, sizeof(Document));
    text_set(doc().work_dir, u"C:\\work");
    fill_full_document();
    std::memcpy(&start, &doc(), sizeof(Document));
    ASSERT_EQ(write_sender_file(nullptr, u"s.txt", WRITE_SILENT), WRITE_DONE);
    ASSERT_EQ(write_addressee_file(nullptr, u"a.txt", WRITE_SILENT), WRITE_DONE);
    ASSERT_EQ(write_layout_file(nullptr, u"l.txt", WRITE_SILENT), WRITE_DONE);
    const char16_t* const names[4] = {nullptr, u"C:\\work\\s.txt", u"C:\\work\\a.txt", u"C:\\work\\l.txt"};

    std::mt19937 rng(7);
    for (int round = 0; round < 24; ++round) {
        const int kind = 1 + round % 3;
        const std::string written = fake.file_bytes(names[kind]);
        std::vector<std::u16string> lines;
        std::u16string current;
        for (size_t i = 2; i + 1 < written.size(); i += 2) {
            current += static_cast<char16_t>(static_cast<unsigned char>(written[i]) |
                                             (static_cast<unsigned char>(written[i + 1]) << 8));
            if (current.size() >= 2 && current.compare(current.size() - 2, 2, u"\r\n") == 0) {
                lines.push_back(current);
                current.clear();
            }
        }
        for (int change = 0; change < 40; ++change) {
            const size_t at = rng() % lines.size();
            switch (rng() % 6) {
                case 0: lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at)); break;
                case 1: lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[at]); break;
                case 2: std::swap(lines[at], lines[rng() % lines.size()]); break;
                case 3: {  // another value
                    const size_t eq = lines[at].find(u'=');
                    if (eq != std::u16string::npos)
                        lines[at] = lines[at].substr(0, eq + 1) + kValues[rng() % (sizeof kValues / sizeof kValues[0])] +
                                    u"\r\n";
                    break;
                }
                case 4: lines[at].insert(rng() % lines[at].size(), 1, static_cast<char16_t>(rng() % 128)); break;
                default: lines[at].erase(rng() % lines[at].size(), 1); break;
            }
        }
        std::u16string text;
        for (const std::u16string& line : lines) text += line;
        const std::string bytes = utf16le_file(text);
        fake.put_file(u"C:\\work\\f.txt", bytes);
        fake.step = round % 2 == 0 ? 1 << 20 : 7;

        std::memcpy(&expected, &start, sizeof(Document));
        reference_load(expected, kind, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        std::memcpy(&doc(), &start, sizeof(Document));
        read_kv_file(nullptr, READ_INTERACTIVE, kind, u"f.txt");
        ASSERT_TRUE(fake.boxes.empty()) << round;
        if (std::memcmp(&doc(), &expected, sizeof(Document)) == 0) continue;
        for (int i = 0; i < HDATA_MAX; ++i) {
            ASSERT_EQ(describe_addressee(doc().hdata[i]), describe_addressee(expected.hdata[i])) << round << " card " << i;
            ASSERT_EQ(describe_layout(doc().hdata[i]), describe_layout(expected.hdata[i])) << round << " card " << i;
        }
        for (int j = 0; j < FDATA_MAX; ++j)
            ASSERT_EQ(describe_sender(doc().fdata[j]), describe_sender(expected.fdata[j])) << round;
        ASSERT_EQ(describe_print(doc().print), describe_print(expected.print)) << round;
        FAIL() << "round " << round << ": the documents differ";
    }
}

// The lines of a file as the writer wrote them, CR LF included.
std::vector<std::u16string> written_lines(const std::string& bytes) {
    std::vector<std::u16string> lines;
    std::u16string current;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        current += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (current.size() >= 2 && current.compare(current.size() - 2, 2, u"\r\n") == 0) {
            lines.push_back(current);
            current.clear();
        }
    }
    return lines;
}

// Nearly every line of a file the program wrote is taken in place, in the
// writer's order; only the count line, the print settings, the empty last
// line and the lines across the splitter's chunks go to the line handler.
TEST(ReaderOracleTest, WrittenFilesAreTakenInPlace) {
    static Document written;
    SteppedPlatform fake;
    std::memset(&doc(), 0, sizeof(Document));
    text_set(doc().work_dir, u"C:\\work");
    fill_full_document();
    std::memcpy(&written, &doc(), sizeof(Document));
    ASSERT_EQ(write_addressee_file(nullptr, u"a.txt", WRITE_SILENT), WRITE_DONE);
    ASSERT_EQ(write_layout_file(nullptr, u"l.txt", WRITE_SILENT), WRITE_DONE);
    struct Kind {
        const char16_t* path;
        CardKeyExpectation (*guess)();
        void (*handle)(const char16_t*, int, CardKeyExpectation*);
        size_t other_lines;  // besides the count line and the empty last line
    };
    for (const Kind& kind : {Kind{u"C:\\work\\a.txt", written_addressee_keys, read_addressee_line, 0},
                             Kind{u"C:\\work\\l.txt", written_layout_keys, read_layout_line, 8}}) {
        const std::string bytes = fake.file_bytes(kind.path);
        const size_t chunks = bytes.size() / (2 * KV_DATA_FILE_LINES.chunk_units) + 1;
        // Only the kind's own part is cleared before the load.
        std::memcpy(&doc(), &written, sizeof(Document));
        if (kind.guess == written_addressee_keys)
            clear_addressees();
        else
            reset_layouts();
        FileHandle file = fake.open_for_read(kind.path);
        size_t taken = 0;
        size_t handled = 0;
        {
            KvLineSplitter lines(file, KV_DATA_FILE_LINES);
            ASSERT_TRUE(lines.read_byte_order_mark());
            CardKeyExpectation guess = kind.guess();
            for (bool more = true; more;) {
                if (const size_t used = guess.take_lines(lines)) {
                    taken += used;
                    continue;
                }
                KvLine line;
                if (lines.next_plain_lines(&line, 1) == 0) more = lines.next(&line);
                kind.handle(line.text, line.len, &guess);
                ++handled;
            }
        }
        fake.close(file);
        EXPECT_LE(handled, 2 + kind.other_lines + chunks) << utf8(kind.path);
        EXPECT_GT(taken, bytes.size() / 2 - 600 * (2 + kind.other_lines + chunks)) << utf8(kind.path);
        for (int i = 0; i < HDATA_MAX; ++i) {
            ASSERT_EQ(describe_addressee(doc().hdata[i]), describe_addressee(written.hdata[i])) << i;
            ASSERT_EQ(describe_layout(doc().hdata[i]), describe_layout(written.hdata[i])) << i;
        }
        EXPECT_EQ(describe_print(doc().print), describe_print(written.print));
    }
}

// Written files with awkward values put here and there: lines taken in
// place have exactly the effect the line handlers give them, whatever the
// value and wherever the splitter's chunks end.
TEST(ReaderOracleTest, AwkwardValuesInWrittenFilesMatchTheReference) {
    static Document start;
    static Document expected;
    SteppedPlatform fake;
    std::memset(&doc(), 0, sizeof(Document));
    text_set(doc().work_dir, u"C:\\work");
    fill_full_document();
    // Forty cards in use: files of several chunks, quickly read by the
    // reference.
    CardRecord& end_of_cards = doc().hdata[40];
    end_of_cards.tt.m[0] = end_of_cards.ta.m[0].s[0] = end_of_cards.tn.m[0].s[0] = 0;
    ASSERT_EQ(count_cards(), 40);
    std::memcpy(&start, &doc(), sizeof(Document));
    ASSERT_EQ(write_addressee_file(nullptr, u"a.txt", WRITE_SILENT), WRITE_DONE);
    ASSERT_EQ(write_layout_file(nullptr, u"l.txt", WRITE_SILENT), WRITE_DONE);
    const std::u16string values[] = {
        u"", u"+5", u" 7", u"007", u"12345678901", u"-", u"-0", u"65535", u"9999", u"-10000", u"2147483648",
        u"a\rb", u"x\ny", u"\r", u"\n", u"7\r", std::u16string(u"1\0" u"2", 3), std::u16string(u"\0", 1),
        std::u16string(600, u'q'), std::u16string(520, u'w'), u"\u6771\u4eac", u"sweep"};
    const char16_t* const names[3] = {nullptr, u"C:\\work\\a.txt", u"C:\\work\\l.txt"};
    int round = 0;
    for (int kind = 1; kind <= 2; ++kind) {
        const std::vector<std::u16string> lines = written_lines(fake.file_bytes(names[kind]));
        for (const std::u16string& value : values) {
            ++round;
            std::u16string text;
            for (size_t i = 0; i < lines.size(); ++i) {
                const size_t eq = lines[i].find(u'=');
                if ((i + static_cast<size_t>(round)) % 5 != 0 || eq == std::u16string::npos) {
                    text += lines[i];
                } else if (value == u"sweep") {
                    // Lines around the splitter's cut after 574 units.
                    text += lines[i].substr(0, eq + 1) + std::u16string(570 - eq + i / 5 % 8, u'L') + u"\r\n";
                } else {
                    text += lines[i].substr(0, eq + 1) + value + u"\r\n";
                }
            }
            const std::string bytes = utf16le_file(text);
            ASSERT_GT(bytes.size(), 2 * 2 * KV_DATA_FILE_LINES.chunk_units);  // two chunks at least
            fake.put_file(u"C:\\work\\f.txt", bytes);
            fake.step = 1 << 20;
            const int file_kind = kind == 1 ? KIND_ADDRESSEE : KIND_LAYOUT;
            std::memcpy(&expected, &start, sizeof(Document));
            reference_load(expected, file_kind, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
            std::memcpy(&doc(), &start, sizeof(Document));
            read_kv_file(nullptr, READ_INTERACTIVE, file_kind, u"f.txt");
            ASSERT_TRUE(fake.boxes.empty()) << round;
            if (std::memcmp(&doc(), &expected, sizeof(Document)) == 0) continue;
            // Name the first field that differs.
            for (int i = 0; i < HDATA_MAX; ++i) {
                ASSERT_EQ(describe_addressee(doc().hdata[i]), describe_addressee(expected.hdata[i])) << round << " card " << i;
                ASSERT_EQ(describe_layout(doc().hdata[i]), describe_layout(expected.hdata[i])) << round << " card " << i;
            }
            ASSERT_EQ(describe_print(doc().print), describe_print(expected.print)) << round;
            FAIL() << "round " << round << ": the documents differ";
        }
    }
}

}  // namespace

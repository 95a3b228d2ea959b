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

#include "files/kv_file.h"
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
    "hdata[#].typ[#].t=", "hdata[#].typ[#].y=", "hdata[#].typ[#].", "hdata[#].base_w=", "hdata[#].base_h=",
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

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "exchange/legacy_import.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

class LegacyAddressLineTest : public ::testing::Test {
protected:
    void SetUp() override { std::memset(&doc(), 0, sizeof(Document)); }
    static void apply(const std::u16string& line) { read_old_address_line(line.c_str()); }
    static std::u16string text(const char16_t* s) { return s; }
};

TEST_F(LegacyAddressLineTest, CardTexts) {
    apply(u"form_address[5].t=1000001");
    apply(u"form_address[5].a[0].s=東京都");
    apply(u"form_address[5].a[4].s=5号室");
    apply(u"form_address[199].n[1].s=様");
    EXPECT_EQ(text(doc().hdata[5].tt.m), u"1000001");
    EXPECT_EQ(text(doc().hdata[5].ta.m[0].s), u"東京都");
    EXPECT_EQ(text(doc().hdata[5].ta.m[4].s), u"5号室");
    EXPECT_EQ(text(doc().hdata[199].tn.m[1].s), u"様");
    // The value is the whole rest of the line.
    apply(u"form_address[0].a[1].s=a=b].s=c");
    EXPECT_EQ(text(doc().hdata[0].ta.m[1].s), u"a=b].s=c");
}

TEST_F(LegacyAddressLineTest, TextsAreCutAndClearedOverTheWholeField) {
    apply(u"form_address[5].n[0].s=" + std::u16string(70, u'名'));
    EXPECT_EQ(text(doc().hdata[5].tn.m[0].s), std::u16string(62, u'名'));
    EXPECT_EQ(doc().hdata[5].tn.m[0].s[62], 0);
    apply(u"form_address[5].t=" + std::u16string(20, u'9'));
    EXPECT_EQ(text(doc().hdata[5].tt.m), std::u16string(14, u'9'));
    apply(u"form_address[5].n[0].s=short");
    EXPECT_EQ(text(doc().hdata[5].tn.m[0].s), u"short");
    for (int i = 5; i < LINE_CAP; ++i) EXPECT_EQ(doc().hdata[5].tn.m[0].s[i], 0);
    apply(u"form_address[5].t=");
    EXPECT_EQ(doc().hdata[5].tt.m[0], 0);
}

TEST_F(LegacyAddressLineTest, TheSenderBecomesSenderZero) {
    text_set(doc().fdata[1].t, u"keep");
    apply(u"to_address.t=2220002");
    apply(u"to_address.a[1].s=横浜市");
    apply(u"to_address.n[0].s=" + std::u16string(80, u'n'));
    EXPECT_EQ(text(doc().fdata[0].t), u"2220002");
    EXPECT_EQ(text(doc().fdata[0].a[1].s), u"横浜市");
    EXPECT_EQ(text(doc().fdata[0].n[0].s), std::u16string(62, u'n'));
    EXPECT_EQ(text(doc().fdata[1].t), u"keep");
    apply(u"to_address.t=" + std::u16string(16, u'1'));
    EXPECT_EQ(text(doc().fdata[0].t), std::u16string(14, u'1'));
}

TEST_F(LegacyAddressLineTest, IndicesAreReadLikeWtoi) {
    apply(u"form_address[05].t=a");
    EXPECT_EQ(text(doc().hdata[5].tt.m), u"a");
    apply(u"form_address[ 7].a[ 1].s=b");
    EXPECT_EQ(text(doc().hdata[7].ta.m[1].s), u"b");
    apply(u"form_address[].t=c");
    EXPECT_EQ(text(doc().hdata[0].tt.m), u"c");
    apply(u"form_address[3x].n[2y].s=d");
    EXPECT_EQ(text(doc().hdata[3].tn.m[2].s), u"d");
    apply(u"to_address.a[+1].s=e");
    EXPECT_EQ(text(doc().fdata[0].a[1].s), u"e");
}

TEST_F(LegacyAddressLineTest, LinesOutsideTheDocumentOrMalformedAreIgnored) {
    Document before;
    std::memcpy(&before, &doc(), sizeof(Document));
    const char16_t* const ignored[] = {
        u"form_address[200].t=x",        u"form_address[-1].t=x",
        u"form_address[99999999999].t=x", u"form_address[5].a[5].s=x",
        u"form_address[5].n[-1].s=x",    u"form_address[5.t=x",
        u"form_address[5].a[1.s=x",      u"form_address[5].a[1]s=x",
        u"form_address[5].a[1].t=x",     u"form_address[5].x=x",
        u"form_address[5].t",            u"form_address[5]",
        u"form_address[5].b[1].s=x",     u"form_address[",
        u"to_address.a[2].s=x",          u"to_address.n[-1].s=x",
        u"to_address.a[1]=x",            u"to_address.a1].s=x",
        u"to_address.t",                 u"to_address.x=x",
        u"to_address.",                  u"to_address.a[",
        u"Form_address[1].t=x",          u" to_address.t=x",
        u"hdata[0].tt.m=x",              u"",
    };
    for (const char16_t* line : ignored) {
        read_old_address_line(line);
        EXPECT_EQ(std::memcmp(&before, &doc(), sizeof(Document)), 0) << utf8(line);
    }
}

}  // namespace

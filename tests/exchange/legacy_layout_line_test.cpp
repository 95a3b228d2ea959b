#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "exchange/legacy_import.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

class LegacyLayoutLineTest : public ::testing::Test {
protected:
    void SetUp() override { std::memset(&doc(), 0, sizeof(Document)); }

    static void apply(const std::u16string& line) { read_old_layout_line(line.c_str()); }

    // True when the document differs from `before` only inside the `size`
    // bytes at `field`.
    static bool only_changed(const Document& before, const void* field, size_t size) {
        const unsigned char* a = reinterpret_cast<const unsigned char*>(&before);
        const unsigned char* b = reinterpret_cast<const unsigned char*>(&doc());
        size_t begin = static_cast<size_t>(static_cast<const unsigned char*>(field) - b);
        for (size_t i = 0; i < sizeof(Document); ++i) {
            if (i >= begin && i < begin + size) continue;
            if (a[i] != b[i]) return false;
        }
        return true;
    }
    static bool unchanged(const Document& before) {
        return std::memcmp(&before, &doc(), sizeof(Document)) == 0;
    }
};

// Every card key of the older layout file and the field it sets.
struct CardKey {
    std::u16string key;
    void* (*field)(CardRecord&);
    size_t size;  // 4 for numbers, 1 for bytes
};

#define FIELD(expr) [](CardRecord& c) -> void* { return &c.expr; }

std::vector<CardKey> card_keys() {
    std::vector<CardKey> keys = {
        {u"x1=", FIELD(tt.x1), 4}, {u"y1=", FIELD(tt.y1), 4}, {u"w1=", FIELD(tt.w1), 4},
        {u"x2=", FIELD(tt.x2), 4}, {u"y2=", FIELD(tt.y2), 4}, {u"w2=", FIELD(tt.w2), 4},
        {u"x3=", FIELD(ft.x1), 4}, {u"y3=", FIELD(ft.y1), 4}, {u"w3=", FIELD(ft.w1), 4},
        {u"x4=", FIELD(ft.x2), 4}, {u"y4=", FIELD(ft.y2), 4}, {u"w4=", FIELD(ft.w2), 4},
        {u"tc.r=", FIELD(tt.c.r), 1}, {u"tc.g=", FIELD(tt.c.g), 1}, {u"tc.b=", FIELD(tt.c.b), 1},
        {u"ac.r=", FIELD(ta.c.r), 1}, {u"ac.g=", FIELD(ta.c.g), 1}, {u"ac.b=", FIELD(ta.c.b), 1},
        {u"nc.r=", FIELD(tn.c.r), 1}, {u"nc.g=", FIELD(tn.c.g), 1}, {u"nc.b=", FIELD(tn.c.b), 1},
        {u"yc.r=", FIELD(ft.c.r), 1}, {u"yc.g=", FIELD(ft.c.g), 1}, {u"yc.b=", FIELD(ft.c.b), 1},
        {u"dc.r=", FIELD(fa.c.r), 1}, {u"dc.g=", FIELD(fa.c.g), 1}, {u"dc.b=", FIELD(fa.c.b), 1},
        {u"mc.r=", FIELD(fn.c.r), 1}, {u"mc.g=", FIELD(fn.c.g), 1}, {u"mc.b=", FIELD(fn.c.b), 1},
        {u"axy[0].x=", FIELD(ta.xy[0].x), 4}, {u"axy[4].y=", FIELD(ta.xy[4].y), 4},
        {u"axy[2].x=", FIELD(ta.xy[2].x), 4}, {u"nxy[0].y=", FIELD(tn.xy[0].y), 4},
        {u"nxy[4].x=", FIELD(tn.xy[4].x), 4}, {u"nxy[3].y=", FIELD(tn.xy[3].y), 4},
        {u"dxy[0].x=", FIELD(fa.xy[0].x), 4}, {u"dxy[1].y=", FIELD(fa.xy[1].y), 4},
        {u"mxy[0].y=", FIELD(fn.xy[0].y), 4}, {u"mxy[1].x=", FIELD(fn.xy[1].x), 4},
    };
    // The fonts of the six items, one field each, spread over the items.
    const std::vector<CardKey> fonts = {
        {u"tlf.lfHeight=", FIELD(tt.lf.lfHeight), 4},
        {u"alf.lfWidth=", FIELD(ta.lf.lfWidth), 4},
        {u"nlf.lfEscapement=", FIELD(tn.lf.lfEscapement), 4},
        {u"ylf.lfOrientation=", FIELD(ft.lf.lfOrientation), 4},
        {u"dlf.lfWeight=", FIELD(fa.lf.lfWeight), 4},
        {u"mlf.lfItalic=", FIELD(fn.lf.lfItalic), 1},
        {u"tlf.lfUnderline=", FIELD(tt.lf.lfUnderline), 1},
        {u"alf.lfStrikeOut=", FIELD(ta.lf.lfStrikeOut), 1},
        {u"nlf.lfCharSet=", FIELD(tn.lf.lfCharSet), 1},
        {u"ylf.lfOutPrecision=", FIELD(ft.lf.lfOutPrecision), 1},
        {u"dlf.lfClipPrecision=", FIELD(fa.lf.lfClipPrecision), 1},
        {u"mlf.lfQuality=", FIELD(fn.lf.lfQuality), 1},
        {u"tlf.lfPitchAndFamily=", FIELD(tt.lf.lfPitchAndFamily), 1},
        {u"mlf.lfHeight=", FIELD(fn.lf.lfHeight), 4},
        {u"ylf.lfPitchAndFamily=", FIELD(ft.lf.lfPitchAndFamily), 1},
        {u"dlf.lfCharSet=", FIELD(fa.lf.lfCharSet), 1},
    };
    keys.insert(keys.end(), fonts.begin(), fonts.end());
    return keys;
}

TEST_F(LegacyLayoutLineTest, EveryCardKeySetsItsOwnFieldOnly) {
    for (const CardKey& k : card_keys()) {
        for (int card : {0, 7, 199}) {
            Document before;
            std::memcpy(&before, &doc(), sizeof(Document));
            apply(u"base_dt[" + std::u16string(card == 0 ? u"0" : card == 7 ? u"7" : u"199") + u"]." +
                  k.key + u"300");
            void* field = k.field(doc().hdata[card]);
            if (k.size == 4)
                EXPECT_EQ(*static_cast<int32_t*>(field), 300) << utf8(k.key);
            else
                EXPECT_EQ(*static_cast<uint8_t*>(field), 44) << utf8(k.key);  // low eight bits
            EXPECT_TRUE(only_changed(before, field, k.size)) << utf8(k.key) << " card " << card;
            std::memset(&doc(), 0, sizeof(Document));
        }
    }
}

TEST_F(LegacyLayoutLineTest, SpecimenLines) {
    apply(u"base_dt[3].x3=40");
    EXPECT_EQ(doc().hdata[3].ft.x1, 40);
    apply(u"base_dt[3].dxy[1].y=270");
    EXPECT_EQ(doc().hdata[3].fa.xy[1].y, 270);
    doc().hdata[0].tt.c = {1, 2, 3};
    apply(u"base_dt[0].tc.b=255");
    EXPECT_EQ(doc().hdata[0].tt.c.r, 1);
    EXPECT_EQ(doc().hdata[0].tt.c.g, 2);
    EXPECT_EQ(doc().hdata[0].tt.c.b, 255);
}

TEST_F(LegacyLayoutLineTest, BitmapSizeGoesToCardZeroAndSettingsToThePrintSettings) {
    doc().hdata[1].base_w = 400;
    apply(u"base_w=800");
    apply(u"base_h=1184");
    EXPECT_EQ(doc().hdata[0].base_w, 800);
    EXPECT_EQ(doc().hdata[0].base_h, 1184);
    EXPECT_EQ(doc().hdata[1].base_w, 400);

    const std::pair<const char16_t*, int32_t PrintSettings::*> settings[] = {
        {u"base_pw=", &PrintSettings::base_pw},   {u"base_ph=", &PrintSettings::base_ph},
        {u"base_px=", &PrintSettings::base_px},   {u"base_py=", &PrintSettings::base_py},
        {u"prn_mode=", &PrintSettings::prn_mode}, {u"bmp_mode=", &PrintSettings::bmp_mode},
        {u"start_p=", &PrintSettings::start_p},   {u"stop_p=", &PrintSettings::stop_p},
    };
    char16_t digit = u'1';
    for (const auto& s : settings) {
        Document before;
        std::memcpy(&before, &doc(), sizeof(Document));
        apply(std::u16string(s.first) + u"-" + digit);
        EXPECT_EQ(doc().print.*s.second, -(digit - u'0')) << utf8(s.first);
        EXPECT_TRUE(only_changed(before, &(doc().print.*s.second), 4));
        ++digit;
    }

    Document before;
    std::memcpy(&before, &doc(), sizeof(Document));
    apply(u"base_bmp=C:\\old\\back.bmp");
    EXPECT_TRUE(unchanged(before));
}

TEST_F(LegacyLayoutLineTest, KeysThatDoNotMatchExactlyAreIgnored) {
    Document before;
    std::memcpy(&before, &doc(), sizeof(Document));
    const char16_t* const ignored[] = {
        u"base_dt[200].x1=5",      u"base_dt[03].x1=5",       u"base_dt[2].axy[5].x=1",
        u"base_dt[00].x1=5",       u"base_dt[].x1=5",         u"base_dt[-1].x1=5",
        u"base_dt[ 1].x1=5",       u"base_dt[+1].x1=5",       u"base_dt[1]x1=5",
        u"base_dt[1].x1 =5",       u"base_dt[1].x1",          u"base_dt[1].x5=5",
        u"base_dt[1].x0=5",        u"base_dt[1].txy[0].x=5",  u"base_dt[1].yxy[0].x=5",
        u"base_dt[1].dxy[2].x=5",  u"base_dt[1].mxy[2].y=5",  u"base_dt[1].axy[01].x=5",
        u"base_dt[1].axy[1].z=5",  u"base_dt[1].axy[1]x=5",   u"base_dt[1].axy[1].x",
        u"base_dt[1].axy[1].",     u"base_dt[1].axy[",        u"base_dt[1].axy",
        u"base_dt[1].tc.x=5",      u"base_dt[1].tc.r",        u"base_dt[1].tc.",
        u"base_dt[1].zc.r=5",      u"base_dt[1].tlf.lfheight=5", u"base_dt[1].tlf.lfHeights=5",
        u"base_dt[1].tlf.Height=5", u"base_dt[1].tlf.",       u"base_dt[1].lf.lfHeight=5",
        u"base_dt[1].base_filepass", u"base_dt[1].Base_filepass=x", u"base_dt[99999999999].x1=5",
        u"base_dt[1",               u"base_dt[",               u"base_dt",
        u"BASE_W=5",               u" base_w=5",              u"base_w 5",
        u"base_x=5",               u"prn_mode5",              u"",
        u"hdata[0].tt.x1=5",       u"base_dt[1].ta.x1=5",
    };
    for (const char16_t* line : ignored) {
        read_old_layout_line(line);
        EXPECT_TRUE(unchanged(before)) << utf8(line);
    }
}

TEST_F(LegacyLayoutLineTest, NumberValues) {
    CardRecord& c = doc().hdata[5];
    apply(u"base_dt[5].x1=  -17xyz");
    EXPECT_EQ(c.tt.x1, -17);
    apply(u"base_dt[5].x1=abc");
    EXPECT_EQ(c.tt.x1, 0);
    c.tt.x1 = 9;
    apply(u"base_dt[5].x1=");  // empty value: 0
    EXPECT_EQ(c.tt.x1, 0);
    // Only the first 30 units of the value count.
    apply(u"base_dt[5].x1=" + std::u16string(28, u'0') + u"12345");
    EXPECT_EQ(c.tt.x1, 12);
    apply(u"base_dt[5].x1=" + std::u16string(29, u' ') + u"78");
    EXPECT_EQ(c.tt.x1, 7);
    apply(u"base_dt[5].x1=" + std::u16string(30, u' ') + u"7");
    EXPECT_EQ(c.tt.x1, 0);
    apply(u"base_dt[5].x1=99999999999");
    EXPECT_EQ(c.tt.x1, INT32_MAX);
    apply(u"base_dt[5].tc.r=-1");
    EXPECT_EQ(c.tt.c.r, 255);
    apply(u"base_dt[5].tlf.lfQuality=256");
    EXPECT_EQ(c.tt.lf.lfQuality, 0);
    apply(u"base_dt[5].x1=1");
    apply(u"base_dt[5].x1=2");  // the later line wins
    EXPECT_EQ(c.tt.x1, 2);
}

TEST_F(LegacyLayoutLineTest, TextValues) {
    CardRecord& c = doc().hdata[9];
    apply(u"base_dt[9].base_filepass=C:\\bg\\card=1.bmp");
    EXPECT_EQ(std::u16string(c.base_filepass), u"C:\\bg\\card=1.bmp");
    apply(u"base_dt[9].base_filepass=" + std::u16string(300, u'p'));
    EXPECT_EQ(std::u16string(c.base_filepass), std::u16string(254, u'p'));
    for (int i = 254; i < PATH_CAP; ++i) EXPECT_EQ(c.base_filepass[i], 0);
    apply(u"base_dt[9].base_filepass=");
    EXPECT_EQ(c.base_filepass[0], 0);

    apply(u"base_dt[9].nlf.lfFaceName=@ＭＳ 明朝");
    EXPECT_EQ(std::u16string(c.tn.lf.lfFaceName), u"@ＭＳ 明朝");
    EXPECT_EQ(c.tt.lf.lfFaceName[0], 0);
    apply(u"base_dt[9].nlf.lfFaceName=" + std::u16string(40, u'f'));
    EXPECT_EQ(std::u16string(c.tn.lf.lfFaceName), std::u16string(31, u'f'));
    EXPECT_EQ(c.tn.lf.lfFaceName[31], 0);
    apply(u"base_dt[9].nlf.lfFaceName=");
    EXPECT_EQ(c.tn.lf.lfFaceName[0], 0);
}

}  // namespace

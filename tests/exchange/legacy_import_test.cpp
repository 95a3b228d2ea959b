#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "exchange/legacy_import.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/fake_platform.h"

namespace {

const char16_t kPath[] = u"C:\\old\\layout.txt";

class LegacyImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        clear_senders();
        clear_addressees();
        reset_layouts();
        text_set(doc().work_dir, u"C:\\work");
        text_set(doc().chosen_file, kPath);
        // Data of both kinds that an import may or may not replace.
        text_set(doc().hdata[0].tn.m[0].s, u"山田");
        text_set(doc().hdata[1].tt.m, u"1000001");
        doc().hdata[1].ftb = 3;
        doc().hdata[1].typ[0] = {1, 2026};
        doc().hdata[4].base_w = 999;
        doc().hdata[4].ta.xy[0].x = 1;
        doc().print.base_px = 50;
        for (int j = 0; j < FDATA_MAX; ++j) text_set(doc().fdata[j].n[0].s, u"差出人");
        text_set(doc().fdata[0].a[0].s, u"kept address");
    }
    std::u16string text(const char16_t* s) { return s; }
    Document snapshot() {
        Document d;
        std::memcpy(&d, &doc(), sizeof(Document));
        return d;
    }
    bool unchanged(const Document& before) { return std::memcmp(&before, &doc(), sizeof(Document)) == 0; }

    FakePlatform fake;
    WindowHandle owner = reinterpret_cast<WindowHandle>(0x77);
};

TEST_F(LegacyImportTest, DecliningChangesNothing) {
    fake.put_file(kPath, utf16le_file(u"base_w=800\r\n"));
    Document before = snapshot();
    fake.answer(kAnswerNo);
    EXPECT_EQ(import_legacy(owner, LEGACY_LAYOUT), LEGACY_DECLINED);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].owner, owner);
    EXPECT_EQ(fake.boxes[0].text, u"データーはクリアしますが実行しますか？");
    EXPECT_EQ(fake.boxes[0].caption, u"旧ファイル読込");
    EXPECT_EQ(fake.boxes[0].style & 0xF, kButtonsYesNo);
    EXPECT_TRUE(unchanged(before));
}

TEST_F(LegacyImportTest, AMissingFileIsReportedAndNotCreated) {
    Document before = snapshot();
    fake.answer(kAnswerYes);
    EXPECT_EQ(import_legacy(owner, LEGACY_LAYOUT), LEGACY_FAILED);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].text, u"ﾌｧｲﾙが開けません\r\n読込を中止しました。データは開く前のままです。");
    EXPECT_EQ(fake.boxes[1].caption, u"ﾌｧｲﾙｴﾗｰ");
    EXPECT_EQ(fake.boxes[1].style & 0xF0, kIconWarning);
    EXPECT_TRUE(unchanged(before));
    EXPECT_FALSE(fake.has_file(kPath));

    fake.put_file(kPath, utf16le_file(u"form_address[0].t=1\r\n"));
    fake.unreadable.insert(kPath);
    fake.answer(kAnswerYes);
    EXPECT_EQ(import_legacy(owner, LEGACY_ADDRESS), LEGACY_FAILED);
    EXPECT_TRUE(unchanged(before));
}

TEST_F(LegacyImportTest, OlderLayoutFileReplacesLayoutsOnly) {
    fake.put_file(kPath, utf16le_file(u"base_w=800\r\n"
                                      u"base_h=1184\r\n"
                                      u"base_bmp=C:\\old.bmp\r\n"
                                      u"base_dt[3].x3=40\r\n"
                                      u"base_dt[3].dxy[1].y=270\r\n"
                                      u"base_dt[200].x1=5\r\n"
                                      u"base_dt[03].x1=5\r\n"
                                      u"base_dt[2].axy[5].x=1\r\n"
                                      u"base_dt[0].tc.b=255\r\n"
                                      u"base_dt[7].mlf.lfFaceName=ＭＳ 明朝\r\n"
                                      u"prn_mode=2\r\n"
                                      u"stop_p=12"));  // last line without CR LF
    fake.answer(kAnswerYes);
    EXPECT_EQ(import_legacy(owner, LEGACY_LAYOUT), LEGACY_READ);
    EXPECT_EQ(fake.boxes.size(), 1u);  // the question only

    const Document& d = doc();
    EXPECT_EQ(d.hdata[0].base_w, 800);
    EXPECT_EQ(d.hdata[0].base_h, 1184);
    for (int i = 1; i < HDATA_MAX; ++i) {
        ASSERT_EQ(d.hdata[i].base_w, 400) << i;  // card 4's own width was reset
        ASSERT_EQ(d.hdata[i].base_h, 592) << i;
    }
    EXPECT_EQ(d.hdata[3].ft.x1, 40);
    EXPECT_EQ(d.hdata[3].fa.xy[1].y, 270);
    EXPECT_EQ(d.hdata[0].tt.c.b, 255);
    EXPECT_EQ(d.hdata[0].tt.c.r, 0);
    EXPECT_EQ(text(d.hdata[7].fn.lf.lfFaceName), u"ＭＳ 明朝");
    EXPECT_EQ(d.hdata[4].ta.xy[0].x, 370);  // default again
    EXPECT_EQ(d.hdata[2].ta.xy[0].x, 370);
    EXPECT_EQ(d.hdata[0].tt.x1, 183);
    EXPECT_EQ(d.print.prn_mode, 2);
    EXPECT_EQ(d.print.stop_p, 12);
    EXPECT_EQ(d.print.base_px, 0);
    // Texts, sender choice, history and senders are the other kind's data.
    EXPECT_EQ(text(d.hdata[0].tn.m[0].s), u"山田");
    EXPECT_EQ(d.hdata[1].ftb, 3);
    EXPECT_EQ(d.hdata[1].typ[0].y, 2026);
    EXPECT_EQ(text(d.fdata[9].n[0].s), u"差出人");
}

TEST_F(LegacyImportTest, OlderAddressFileReplacesAddresseesAndSenderZero) {
    fake.put_file(kPath, utf16le_file(u"form_address[0].t=1234567\r\n"
                                      u"form_address[0].n[0].s=佐藤\r\n"
                                      u"form_address[2].a[0].s=大阪府\r\n"
                                      u"to_address.t=2220002\r\n"
                                      u"to_address.n[0].s=鈴木\r\n"
                                      u"unknown line\r\n"
                                      u"\r\n"));
    fake.answer(kAnswerYes);
    EXPECT_EQ(import_legacy(owner, LEGACY_ADDRESS), LEGACY_READ);

    const Document& d = doc();
    EXPECT_EQ(text(d.hdata[0].tt.m), u"1234567");
    EXPECT_EQ(text(d.hdata[0].tn.m[0].s), u"佐藤");
    EXPECT_EQ(text(d.hdata[2].ta.m[0].s), u"大阪府");
    EXPECT_EQ(d.hdata[1].tt.m[0], 0);  // cleared, not in the file
    EXPECT_EQ(d.hdata[1].ftb, 0);
    EXPECT_EQ(d.hdata[1].typ[0].y, 0);
    EXPECT_EQ(d.hdata[1].typ[0].t, 0);
    EXPECT_EQ(text(d.fdata[0].t), u"2220002");
    EXPECT_EQ(text(d.fdata[0].n[0].s), u"鈴木");
    EXPECT_EQ(text(d.fdata[0].a[0].s), u"kept address");  // not named by the file
    for (int j = 1; j < FDATA_MAX; ++j) EXPECT_EQ(text(d.fdata[j].n[0].s), u"差出人");
    // Layouts stay.
    EXPECT_EQ(d.hdata[4].base_w, 999);
    EXPECT_EQ(d.print.base_px, 50);
}

TEST_F(LegacyImportTest, NotUtf16ChangesNothing) {
    Document before = snapshot();
    fake.put_file(kPath, "\xEF\xBB\xBF" "base_w=800\r\n");
    fake.answer(kAnswerYes);
    EXPECT_EQ(import_legacy(owner, LEGACY_LAYOUT), LEGACY_FAILED);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].text,
              u"C:\\old\\layout.txtがWide文字で有りません!。\r\n読込を中止しました。データは開く前のままです。");
    EXPECT_EQ(fake.boxes[1].caption, u"ErrorFileRead");
    EXPECT_EQ(fake.boxes[1].style, kButtonsOk);
    EXPECT_TRUE(unchanged(before));

    fake.put_file(kPath, "\xFF");  // shorter than the mark
    fake.answer(kAnswerYes);
    EXPECT_EQ(import_legacy(owner, LEGACY_ADDRESS), LEGACY_FAILED);
    EXPECT_TRUE(unchanged(before));
}

TEST_F(LegacyImportTest, AFailedCloseIsReported) {
    fake.put_file(kPath, utf16le_file(u"form_address[3].t=9\r\n"));
    fake.fail_close = true;
    fake.answer(kAnswerYes);
    EXPECT_EQ(import_legacy(nullptr, LEGACY_ADDRESS), LEGACY_READ);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].text, kPath);
    EXPECT_EQ(fake.boxes[1].caption, u"CloseHandle-errer");
    EXPECT_EQ(text(doc().hdata[3].tt.m), u"9");
}

TEST_F(LegacyImportTest, AnOnlyCrAtTheEndStaysInTheLastValue) {
    fake.put_file(kPath, utf16le_file(u"to_address.t=123\r"));
    fake.answer(kAnswerYes);
    import_legacy(nullptr, LEGACY_ADDRESS);
    EXPECT_EQ(text(doc().fdata[0].t), u"123\r");
}

TEST_F(LegacyImportTest, ARelativeChosenFileIsFoundInTheWorkingFolder) {
    fake.put_file(u"C:\\work\\old2.txt", utf16le_file(u"form_address[0].t=5"));
    fake.current_dir = u"C:\\";
    text_set(doc().chosen_file, u"old2.txt");
    fake.answer(kAnswerYes);
    EXPECT_EQ(import_legacy(nullptr, LEGACY_ADDRESS), LEGACY_READ);
    EXPECT_EQ(text(doc().hdata[0].tt.m), u"5");
}

}  // namespace

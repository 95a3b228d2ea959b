#include "editors/proof_sheet.h"

#include "editors/proof_sheet_print.h"

#include <gtest/gtest.h>

#include <set>

#include "model/card_status.h"
#include "model/text.h"
#include "print/printer_state.h"
#include "tests/print/fake_printer_spooler.h"
#include "tests/print/print_test_document.h"
#include "tests/support/fake_platform.h"
#include "tests/support/postal_tables.h"

namespace {

constexpr int kYear = 2027;

// The fitting's answer per card, and which cards were asked.
struct FitTable : CardFitCheck {
    std::set<int> overflowing, asked;
    bool overflows(int card) override {
        asked.insert(card);
        return overflowing.count(card) > 0;
    }
};

std::string utf8_of(const char16_t* s) { return utf8(std::u16string(s)); }

class ProofSheetTest : public ::testing::Test {
protected:
    PostalCodeTable table{};
    FitTable fit;
    ProofSheet sheet;
    bool changed[HDATA_MAX];

    void SetUp() override {
        reset_print_test_document(0);
        const std::string& bytes = postal_fixture_table();
        ASSERT_EQ(open_postal_code_table(bytes.data(), bytes.size(), table), POSTAL_TABLE_OK);
        text_set(doc().fdata[0].n[0].s, u"差出 太郎");
    }
    // Card i with a postal code, sender `ftb` and status `code` in the card year.
    static void put(int i, const char16_t* postal, int ftb = 0, int code = STATUS_NONE) {
        CardRecord& c = doc().hdata[i];
        text_set(c.tn.m[0].s, u"宛名");
        text_set(c.tt.m, postal);
        c.ftb = ftb;
        c.typ[0] = {code, kYear};
    }
    unsigned marks(int i) const { return sheet.check(i).marks; }
    int refresh() { return sheet.refresh(kYear, &table, fit, 0, changed); }
    std::string count_line() const {
        char16_t line[SHEET_COUNT_CAP];
        sheet.format_count(line, SHEET_COUNT_CAP);
        return utf8_of(line);
    }
    std::vector<int> selected() const {
        int out[HDATA_MAX];
        return std::vector<int>(out, out + sheet.selected_cards(out));
    }
};

}  // namespace

TEST_F(ProofSheetTest, MarksFiltersAndTheCountLineFollowTheCards) {
    put(0, u"1500001", 2, STATUS_SENT);                   // 済 only; sender 3 has an address only
    put(1, u"");                                          // 〒なし
    put(2, u"1500002");                                   // 〒不明
    put(3, u"150-0001", 0, STATUS_SENT);                  // 〒桁, 済
    put(4, u"１５００００１", 5, 2 /* 喪/未 */);          // full-width digits print; sender 6 is empty
    put(5, u"0010000", 0, 7 /* 止/受 */);                  // 止
    put(6, u"1500001", 0, STATUS_RECEIVED);               // 未/受: unsent, nothing to look at
    put(7, u"", 3, 5 /* 済/受 */);                        // 〒なし, 差出人なし, 済, はみ出し
    text_set(doc().fdata[2].a[0].s, u"東京都渋谷区");
    fit.overflowing = {7};
    EXPECT_EQ(refresh(), 8);

    const unsigned expected[] = {MARK_SENT, MARK_NO_POSTAL, MARK_POSTAL_UNKNOWN, MARK_POSTAL_DIGITS | MARK_SENT,
                                 MARK_NO_SENDER | MARK_MOURNING, MARK_STOPPED, 0,
                                 MARK_OVERFLOW | MARK_NO_POSTAL | MARK_NO_SENDER | MARK_SENT};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(marks(i), expected[i]) << "card " << i;
    EXPECT_EQ(utf8_of(kMarkStyles[0].word), "はみ出し");
    // Without the table a code of seven digits is taken as it stands.
    EXPECT_EQ(check_card(doc().hdata[2], kYear, false, nullptr).marks, 0u);

    EXPECT_EQ(count_line(), "表示 8枚（要確認 6枚）");
    sheet.set_filter(SheetFilter::Attention);
    EXPECT_EQ(count_line(), "表示 6枚（要確認 6枚）");
    EXPECT_EQ(sheet.card_at(0), 1);
    EXPECT_EQ(sheet.position_of(6), -1);
    sheet.set_filter(SheetFilter::Unsent);  // 未/未 and 未/受, as 未送付を選択
    EXPECT_EQ(count_line(), "表示 3枚（要確認 2枚）");
    EXPECT_EQ(sheet.card_at(2), 6);

    // Only what changed is looked at again: a store into card 2, a sender
    // that card 4 now prints, a card out of use.
    fit.asked.clear();
    EXPECT_EQ(refresh(), 0);
    text_set(doc().hdata[2].tt.m, u"1500001");
    text_set(doc().fdata[5].n[0].s, u"差出 花子");
    doc().hdata[7] = CardRecord{};
    EXPECT_EQ(refresh(), 3);
    EXPECT_TRUE(changed[2] && changed[4] && changed[7] && !changed[3]);
    EXPECT_EQ(fit.asked, (std::set<int>{2, 4}));
    EXPECT_EQ(count_line(), "表示 3枚（要確認 1枚）");
    // A new card year or other fitting switches look at every card.
    EXPECT_EQ(sheet.refresh(kYear + 1, &table, fit, 0, changed), 7);
    EXPECT_EQ(sheet.refresh(kYear + 1, &table, fit, 1, changed), 7);
    // So does a replaced postal code table.
    sheet.recheck_all();
    EXPECT_EQ(sheet.refresh(kYear + 1, &table, fit, 1, changed), 7);
}

TEST_F(ProofSheetTest, ClicksShiftAndCtrlSelectAndTheFilterDropsWhatItHides) {
    for (int i = 0; i < 10; ++i) put(i, i % 3 == 0 ? u"" : u"1500001");
    refresh();
    sheet.click(2, false, false);
    EXPECT_EQ(selected(), (std::vector<int>{2}));
    sheet.click(5, true, false);  // the run from the last click
    EXPECT_EQ(selected(), (std::vector<int>{2, 3, 4, 5}));
    sheet.click(8, false, true);  // Ctrl adds one
    sheet.click(3, false, true);  // and takes one away
    EXPECT_EQ(selected(), (std::vector<int>{2, 4, 5, 8}));
    sheet.click(1, true, true);   // Ctrl+Shift adds the run from card 3 back to 1
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3, 4, 5, 8}));
    EXPECT_EQ(sheet.focus(), 1);
    sheet.click(9, true, false);  // Shift alone: just the run
    EXPECT_EQ(selected(), (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));

    // The keyboard: one step, then Shift extends from the last click.
    sheet.move_to(sheet.focus() + 4, false);  // past the end stops at the last
    EXPECT_EQ(selected(), (std::vector<int>{9}));
    sheet.move_to(7, true);
    EXPECT_EQ(selected(), (std::vector<int>{7, 8, 9}));

    // 要確認 shows cards 0, 3, 6, 9: the hidden ones leave the selection,
    // positions count the thumbnails shown.
    sheet.set_filter(SheetFilter::Attention);
    EXPECT_EQ(selected(), (std::vector<int>{9}));
    EXPECT_TRUE(sheet.selected(3));
    sheet.select_all();
    EXPECT_EQ(selected(), (std::vector<int>{0, 3, 6, 9}));
    sheet.click(1, false, false);
    EXPECT_EQ(selected(), (std::vector<int>{3}));
}

TEST_F(ProofSheetTest, TheSelectionFollowsPeopleNotCardNumbers) {
    const char16_t* names[] = {u"赤井", u"井上", u"上田", u"江口", u"大野", u"加藤", u"木村", u"工藤"};
    for (int i = 0; i < 8; ++i) {
        put(i, u"1500001");
        text_set(doc().hdata[i].tn.m[0].s, names[i]);
    }
    refresh();
    sheet.click(2, false, false);
    sheet.click(5, false, true);
    sheet.click(7, false, true);
    // A print's 済 and another sender keep the people selected.
    doc().hdata[5].typ[0].t = STATUS_SENT;
    doc().hdata[2].ftb = 1;
    refresh();
    EXPECT_EQ(selected(), (std::vector<int>{2, 5, 7}));

    // Row 4 deleted in the list: 加藤 moves to card 4, 木村 to card 5, and
    // card 7 leaves use. Only 上田 is still where the user selected him.
    for (int i = 4; i < 7; ++i) doc().hdata[i] = doc().hdata[i + 1];
    const CardRecord last = doc().hdata[7];
    doc().hdata[7] = CardRecord{};
    refresh();
    EXPECT_EQ(selected(), (std::vector<int>{2}));
    // A card that left use and comes back is not selected again.
    doc().hdata[7] = last;
    refresh();
    EXPECT_EQ(selected(), (std::vector<int>{2}));

    // Another document (新規作成, 開く, an import): nothing stays selected,
    // even where the cards look the same.
    sheet.select_all();
    proof_sheet_document_replaced();
    refresh();
    EXPECT_TRUE(selected().empty());
}

TEST_F(ProofSheetTest, TheSheetPrintsTwelveCardsAPageOnA4AndMarksNothing) {
    FakePlatform platform;
    FakePrinterSpooler spooler;
    reset_print_test_document(13);
    doc().hdata[12].tt.m[0] = 0;  // card 13: 〒なし (its name keeps it in use)
    refresh();
    FakePrinterSpooler::DialogAnswer a;
    FakePrinterSpooler::set_mode(a.mode, u"Office Printer", u"A4", 9, 2100, 2970);
    spooler.dialog_answers.push_back(a);
    platform.answer(kAnswerYes);
    print_proof_sheet(reinterpret_cast<WindowHandle>(0x77), sheet);

    ASSERT_EQ(spooler.dialogs.size(), 1u);
    // Under the print lock, from the dialog to the job's end.
    EXPECT_EQ(spooler.calls.front(), "lock_windows");
    EXPECT_EQ(spooler.calls.back(), "unlock_windows");
    EXPECT_EQ(spooler.dialogs[0].paper, SHEET_PAPER_A4);  // offered first, upright
    EXPECT_EQ(spooler.dialogs[0].nMaxPage, 2);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(utf8(platform.boxes[0].text), "Office Printer A4で2ページ印刷していいですか？");
    ASSERT_EQ(spooler.logs.size(), 1u);
    const auto& pages = spooler.logs[0]->pages;
    ASSERT_EQ(pages.size(), 2u);
    // Each card as it prints, with its number, name, status and marks in text.
    auto titles = [](const std::vector<std::u16string>& page) {
        std::vector<std::string> out;
        for (const std::u16string& t : page)
            if (t.compare(0, 3, u"No.") == 0) out.push_back(utf8(t));
        return out;
    };
    EXPECT_EQ(titles(pages[0]).size(), 12u);
    EXPECT_EQ(titles(pages[0])[11], "No.12 card 11");
    EXPECT_EQ(titles(pages[1]), (std::vector<std::string>{"No.13 card 12"}));
    EXPECT_EQ(utf8(pages[1][0]), "一覧で確認　2027年　2/2");
    EXPECT_EQ(std::count(pages[1].begin(), pages[1].end(), u"〒なし"), 1);
    EXPECT_EQ(std::count(pages[1].begin(), pages[1].end(), u"2027年 未/未"), 1);
    EXPECT_EQ(printer_state().printer_name[0], 0);  // the cards' printer state stays
    for (int i = 0; i < 13; ++i) EXPECT_EQ(doc().hdata[i].typ[0].t, 0) << i;
    // Twelve cards fill one page, with no empty one behind it.
    doc().hdata[12] = CardRecord{};
    refresh();
    EXPECT_EQ(ProofSheetPages(sheet).pages(), 1);
}

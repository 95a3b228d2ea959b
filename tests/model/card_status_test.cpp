#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/card_status.h"
#include "model/document.h"
#include "tests/support/fake_platform.h"

namespace {

class CardStatusTest : public ::testing::Test {
protected:
    void SetUp() override { std::memset(&doc(), 0, sizeof(Document)); }
    FakePlatform fake;

    static void set_typ(TypEntry (&typ)[TYP_MAX], std::vector<TypEntry> entries) {
        std::memset(typ, 0, sizeof(typ));
        for (size_t k = 0; k < entries.size(); ++k) typ[k] = entries[k];
    }
    static std::u16string text(const char16_t* s) { return s; }
};

TEST_F(CardStatusTest, CardYearTurnsInSeptember) {
    fake.now = {2025, 9, 1, 0, 0, 0};
    EXPECT_EQ(card_year(), 2026);
    fake.now = {2025, 8, 31, 23, 59, 59};
    EXPECT_EQ(card_year(), 2025);
    fake.now = {2025, 12, 31, 0, 0, 0};
    EXPECT_EQ(card_year(), 2026);
    fake.now = {2026, 1, 1, 0, 0, 0};
    EXPECT_EQ(card_year(), 2026);
}

TEST_F(CardStatusTest, TheEightTextsRoundTripThroughEveryOperation) {
    const std::vector<std::u16string> texts = {u"未/未", u"済/未", u"喪/未", u"止/未",
                                               u"未/受", u"済/受", u"喪/受", u"止/受"};
    for (int code = 0; code < STATUS_COUNT; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(text(status_text[code]), texts[code]);  // the choice lists' order
        EXPECT_EQ(text(status_code_text(code)), texts[code]);
        EXPECT_EQ(parse_status(texts[code].c_str()), code);
        TypEntry typ[TYP_MAX];
        set_typ(typ, {{6, 2024}, {code, 2024}, {9, 2024}});  // 0 and the unknown 9 change nothing
        EXPECT_EQ(text(status_text_for(typ, 2024)), code == 0 ? u"喪/受" : texts[code]);
    }
    EXPECT_EQ(text(status_code_text(-1)), u"未/未");
    EXPECT_EQ(text(status_code_text(8)), u"未/未");
}

TEST_F(CardStatusTest, ParseLooksAtTheFirstThreeUnitsOnly) {
    EXPECT_EQ(parse_status(u"済/受 and more"), 5);
    EXPECT_EQ(parse_status(u"受"), 0);
    EXPECT_EQ(parse_status(u"済/"), 0);
    EXPECT_EQ(parse_status(u""), 0);
    EXPECT_EQ(parse_status(nullptr), 0);
    EXPECT_EQ(parse_status(u"済-未"), 0);
    EXPECT_EQ(parse_status(u" 済/未"), 0);
}

TEST_F(CardStatusTest, TextForYearAndNormalizeKeepCodesByYear) {
    TypEntry typ[TYP_MAX];
    set_typ(typ, {{1, 2025}, {5, 2024}});
    EXPECT_EQ(text(status_text_for(typ, 2026)), u"未/未");
    EXPECT_EQ(text(status_text_for(typ, 2025)), u"済/未");
    EXPECT_EQ(text(status_text_for(typ, 2024)), u"済/受");

    normalize_typ(typ, 2026);
    const int expected_codes[TYP_MAX] = {0, 1, 5, 0, 0, 0, 0, 0, 0, 0};
    for (int k = 0; k < TYP_MAX; ++k) {
        EXPECT_EQ(typ[k].y, 2026 - k) << k;
        EXPECT_EQ(typ[k].t, expected_codes[k]) << k;
    }
}

TEST_F(CardStatusTest, LaterEntryForTheSameYearWins) {
    TypEntry typ[TYP_MAX];
    set_typ(typ, {{1, 2024}, {3, 2024}});
    EXPECT_EQ(text(status_text_for(typ, 2024)), u"止/未");
    normalize_typ(typ, 2026);
    EXPECT_EQ(typ[2].y, 2024);
    EXPECT_EQ(typ[2].t, 3);
}

TEST_F(CardStatusTest, NormalizeDropsYearsOutsideTheTenYearWindow) {
    TypEntry typ[TYP_MAX];
    set_typ(typ, {{1, 2027}, {2, 2016}, {3, 2017}, {5, INT32_MIN}, {6, INT32_MAX}, {7, 2026}});
    normalize_typ(typ, 2026);
    EXPECT_EQ(typ[0].t, 7);
    EXPECT_EQ(typ[9].y, 2017);
    EXPECT_EQ(typ[9].t, 3);
    for (int k = 1; k < 9; ++k) EXPECT_EQ(typ[k].t, 0) << k;
}

TEST_F(CardStatusTest, NormalizeWithoutYearUsesTheLocalDate) {
    fake.now = {2025, 8, 15, 12, 0, 0};
    TypEntry typ[TYP_MAX];
    set_typ(typ, {{2, 2024}});
    normalize_typ(typ);
    EXPECT_EQ(typ[0].y, 2025);
    EXPECT_EQ(typ[1].t, 2);
}

std::vector<std::pair<int, int>> g_marked;
void record_mark(int card, int year) { g_marked.push_back({card, year}); }

TEST_F(CardStatusTest, MarkingRollsTheHistoryIntoTheNewCardYear) {
    fake.now = {2025, 12, 7, 10, 0, 0};
    TypEntry (&typ)[TYP_MAX] = doc().hdata[4].typ;
    for (int k = 0; k < TYP_MAX; ++k) typ[k] = {k == 0 ? 5 : (k == 9 ? 7 : 2), 2025 - k};
    g_marked.clear();
    set_card_marked_hook(record_mark);

    mark_card_sent(4);

    EXPECT_EQ(typ[0].y, 2026);
    EXPECT_EQ(typ[0].t, 1);
    EXPECT_EQ(typ[1].y, 2025);
    EXPECT_EQ(typ[1].t, 5);
    EXPECT_EQ(typ[9].y, 2017);
    EXPECT_EQ(typ[9].t, 2);  // the old 2016 entry (code 7) is gone
    EXPECT_TRUE(doc().modified);
    ASSERT_EQ(g_marked.size(), 1u);
    EXPECT_EQ(g_marked[0], std::make_pair(4, 2026));

    TypEntry after_first[TYP_MAX];
    std::memcpy(after_first, typ, sizeof(typ));
    mark_card_sent(4);
    EXPECT_EQ(std::memcmp(after_first, typ, sizeof(typ)), 0);
    EXPECT_EQ(g_marked.size(), 2u);
    set_card_marked_hook(nullptr);
}

TEST_F(CardStatusTest, MarkingInTheCurrentYearTouchesOnlyItsEntries) {
    fake.now = {2026, 3, 1, 0, 0, 0};
    TypEntry (&typ)[TYP_MAX] = doc().hdata[0].typ;
    typ[0] = {6, 2026};
    typ[1] = {3, 1999};  // not in order, left alone since entry 0 is current
    typ[2] = {2, 2026};  // the year twice: this one is shown
    mark_card_sent(0);
    EXPECT_EQ(typ[0].t, 5);  // 喪/受 printed after all: 済, and the 受 stays
    EXPECT_EQ(typ[2].t, 5);
    EXPECT_EQ(status_text_for(typ, 2026), std::u16string(u"済/受"));
    EXPECT_EQ(typ[1].y, 1999);
    EXPECT_EQ(typ[1].t, 3);
}

TEST_F(CardStatusTest, MarkingKeepsTheReceivedMark) {
    fake.now = {2026, 12, 1, 0, 0, 0};
    // Every code in the card year's entry, and an unknown one.
    const int before[] = {0, 1, 2, 3, 4, 5, 6, 7, 9};
    const int after[] = {1, 1, 1, 1, 5, 5, 5, 5, 1};
    for (int n = 0; n < 9; ++n) {
        SCOPED_TRACE(before[n]);
        TypEntry (&typ)[TYP_MAX] = doc().hdata[n].typ;
        set_typ(typ, {{before[n], 2027}, {7, 2026}});
        mark_card_sent(n);
        EXPECT_EQ(typ[0].t, after[n]);
        EXPECT_EQ(typ[1].t, 7);
    }
}

TEST_F(CardStatusTest, MarkingOutsideTheTableDoesNothing) {
    mark_card_sent(-1);
    mark_card_sent(HDATA_MAX);
    EXPECT_FALSE(doc().modified);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>

#include "model/document.h"
#include "model/text.h"

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { std::memset(&doc(), 0, sizeof(Document)); }
};

TEST_F(DocumentTest, CardCountsOnlyLeadingCardsInUse) {
    EXPECT_EQ(count_cards(), 0);
    text_set(doc().hdata[0].tn.m[0].s, u"山田 太郎");  // name only, no postal code
    text_set(doc().hdata[1].tt.m, u"1000001");
    text_set(doc().hdata[2].ta.m[0].s, u"東京都");
    text_set(doc().hdata[3].ta.m[2].s, u"address line 2 only");  // not in use: ends the list
    text_set(doc().hdata[4].tt.m, u"1234567");
    EXPECT_TRUE(card_in_use(0));
    EXPECT_FALSE(card_in_use(3));
    EXPECT_TRUE(card_in_use(4));
    EXPECT_EQ(count_cards(), 3);
}

TEST_F(DocumentTest, AllCardsAndSendersInUse) {
    for (int i = 0; i < HDATA_MAX; ++i) text_set(doc().hdata[i].tt.m, u"1");
    for (int j = 0; j < FDATA_MAX; ++j) text_set(doc().fdata[j].n[0].s, u"n");
    EXPECT_EQ(count_cards(), 200);
    EXPECT_EQ(count_senders(), 10);
    EXPECT_FALSE(card_in_use(200));
    EXPECT_FALSE(card_in_use(-1));
}

TEST_F(DocumentTest, SenderCountStopsAtFirstEmptySender) {
    text_set(doc().fdata[0].a[0].s, u"a");
    text_set(doc().fdata[1].n[1].s, u"only name line 1");  // not in use
    text_set(doc().fdata[2].t, u"1000001");
    EXPECT_EQ(count_senders(), 1);
}

}  // namespace

#include "app/navigation.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"

namespace {

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&doc(), 0, sizeof(Document));
        reset_layouts();
        set_nav_request(NAV_NONE);
    }
    void TearDown() override { set_nav_request(NAV_NONE); }

    static void use_cards(int n) {
        for (int i = 0; i < n; ++i) text_set(doc().hdata[i].tn.m[0].s, u"宛名");
    }
    static int& current() { return doc().current_card; }
};

TEST_F(NavigationTest, ThreeCardsArrowsStopAtTheFirstAndWrapAtTheLast) {
    use_cards(3);
    current() = 2;
    step_right();
    EXPECT_EQ(current(), 0) << "right arrow wraps to the first card";
    step_left();
    EXPECT_EQ(current(), 0) << "left arrow stops at the first card";
    step_right();
    step_right();
    EXPECT_EQ(current(), 2);
    step_left();
    EXPECT_EQ(current(), 1);
    EXPECT_EQ(nav_request(), NAV_NONE) << "the keys leave no request for the layout dialog";
}

TEST_F(NavigationTest, ThreeCardsToolbarWrapsBothWays) {
    use_cards(3);
    current() = 0;
    previous_card();
    EXPECT_EQ(current(), 2) << "previous wraps from the first to the last card in use";
    EXPECT_EQ(nav_request(), NAV_PREVIOUS);
    next_card();
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(nav_request(), NAV_NEXT);
    next_card();
    EXPECT_EQ(current(), 1);
    previous_card();
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(nav_request(), NAV_PREVIOUS);
}

TEST_F(NavigationTest, NoCardInUseStaysAtCardZero) {
    previous_card();
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(nav_request(), NAV_PREVIOUS);
    next_card();
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(nav_request(), NAV_NEXT);
    step_right();
    EXPECT_EQ(current(), 0);
    step_left();
    EXPECT_EQ(current(), 0);
}

TEST_F(NavigationTest, AllTwoHundredCardsWrapFromTheLastSlot) {
    use_cards(HDATA_MAX);
    current() = HDATA_MAX - 1;
    step_right();
    EXPECT_EQ(current(), 0);
    current() = HDATA_MAX - 1;
    next_card();
    EXPECT_EQ(current(), 0);
    previous_card();
    EXPECT_EQ(current(), HDATA_MAX - 1);
    current() = HDATA_MAX - 2;
    step_right();
    EXPECT_EQ(current(), HDATA_MAX - 1);
}

TEST_F(NavigationTest, AGapEndsTheCardsForTheNextKeysButNotForTheLeftArrow) {
    use_cards(3);
    text_set(doc().hdata[4].tn.m[0].s, u"離れた宛名");  // card 3 empty
    current() = 2;
    step_right();
    EXPECT_EQ(current(), 0) << "card 3 is not in use";
    current() = 5;  // left over after loading a shorter addressee file
    step_left();
    EXPECT_EQ(current(), 4);
    current() = 0;
    previous_card();
    EXPECT_EQ(current(), 2) << "the last card counted from the front";
}

TEST_F(NavigationTest, AnIndexOutsideTheTableComesBackInside) {
    use_cards(3);
    current() = 250;
    step_right();
    EXPECT_EQ(current(), 0);
    current() = 250;
    step_left();
    EXPECT_EQ(current(), HDATA_MAX - 1);
    current() = -3;
    step_left();
    EXPECT_EQ(current(), 0);
    current() = -3;
    step_right();
    EXPECT_EQ(current(), 0);
    current() = -3;
    previous_card();
    EXPECT_EQ(current(), 2);
}

}  // namespace

#include "app/window_geometry.h"

#include <gtest/gtest.h>

TEST(MainWindowPlacement, CommonScreens) {
    WindowPlacement full_hd = main_window_placement(1920, 1080);
    EXPECT_EQ(full_hd.x, 235);
    EXPECT_EQ(full_hd.y, 175);
    EXPECT_EQ(full_hd.width, 435);
    EXPECT_EQ(full_hd.height, 730);

    WindowPlacement small = main_window_placement(1280, 720);
    EXPECT_EQ(small.x, 0);   // (1280 - 1450) / 2 is negative: clamped
    EXPECT_EQ(small.y, -5);  // not clamped
}

TEST(MainWindowPlacement, DivisionTruncatesTowardZero) {
    EXPECT_EQ(main_window_placement(1450, 730).x, 0);
    EXPECT_EQ(main_window_placement(1451, 731).x, 0);
    EXPECT_EQ(main_window_placement(1453, 733).x, 1);
    EXPECT_EQ(main_window_placement(1453, 733).y, 1);
    // (729 - 730) / 2 is 0, not -1; (727 - 730) / 2 is -1.
    EXPECT_EQ(main_window_placement(800, 729).y, 0);
    EXPECT_EQ(main_window_placement(800, 727).y, -1);
}

// The main window's place: the shell creates it where render/window_geometry
// says; these are the rounding corners of that formula.
#include "render/window_geometry.h"

#include <gtest/gtest.h>

TEST(MainWindowPlacement, DivisionTruncatesTowardZero) {
    EXPECT_EQ(main_window_placement(1450, 730).left, 0);
    EXPECT_EQ(main_window_placement(1451, 731).left, 0);
    EXPECT_EQ(main_window_placement(1453, 733).left, 1);
    EXPECT_EQ(main_window_placement(1453, 733).top, 1);
    // (729 - 730) / 2 is 0, not -1; (727 - 730) / 2 is -1.
    EXPECT_EQ(main_window_placement(800, 729).top, 0);
    EXPECT_EQ(main_window_placement(800, 727).top, -1);
    // A screen narrower than 1450 pixels puts the window at the left edge.
    EXPECT_EQ(main_window_placement(800, 600).left, 0);
    EXPECT_EQ(main_window_placement(800, 600).width, 435);
}

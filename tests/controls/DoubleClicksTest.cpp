// The double clicks HotKey makes for a window class without them: time and rectangle of the
// previous press, ticks that wrap around, rectangles of odd size.
#include "controls/hotkey/DoubleClicks.h"

#include <gtest/gtest.h>

using controls::DoubleClicks;

TEST(DoubleClicks, ASecondPressCountsWithinTheTimeAndTheRectangleOfTheFirst) {
    DoubleClicks d;
    d.Configure(500, 4, 4);
    EXPECT_FALSE(d.Press({10, 10}, 1000));
    EXPECT_TRUE(d.Press({11, 9}, 1500)) << "the full time still counts";
    EXPECT_TRUE(d.Press({10, 10}, 1600)) << "a third quick press completes another one";
    EXPECT_FALSE(d.Press({12, 8}, 1700)) << "the rectangle's right edge is outside";
    EXPECT_FALSE(d.Press({12, 8}, 2201)) << "too late";
    EXPECT_TRUE(d.Press({13, 9}, 2300));
    d.Reset();
    EXPECT_FALSE(d.Press({13, 9}, 2400)) << "forgotten";
}

TEST(DoubleClicks, TickCountsWrapAroundAndOddRectanglesRoundHalvesToEven) {
    DoubleClicks d;
    d.Configure(500, 4, 4);
    d.Press({10, 10}, 0xFFFFFF00u);
    EXPECT_TRUE(d.Press({10, 10}, 0x50)) << "336 ms across the wrap";

    // Width 5 around x 10: 7.5 .. 12.5 becomes 8 .. 12; around x 11: 8.5 .. 13.5 becomes 8 .. 14.
    d.Configure(500, 5, 5);
    d.Press({10, 10}, 100);
    EXPECT_FALSE(d.Press({7, 10}, 110));
    d.Press({10, 10}, 200);
    EXPECT_TRUE(d.Press({8, 10}, 210));
    d.Press({10, 10}, 300);
    EXPECT_FALSE(d.Press({12, 10}, 310));
    d.Press({11, 11}, 400);
    EXPECT_TRUE(d.Press({13, 13}, 410));
    d.Press({11, 11}, 500);
    EXPECT_FALSE(d.Press({14, 11}, 510));
}

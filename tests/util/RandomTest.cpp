#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "util/clsUtil.h"

namespace {

TEST(Random, ValuesStayInRangeAndFollowTheCounter) {
    clsUtil util;
    std::set<float> singles;
    std::set<short> dice;
    const DWORD start = ::timeGetTime();
    while ((dice.size() < 6 || singles.size() < 8) && ::timeGetTime() - start < 3000) {
        const float r = util.RandomSingle();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        singles.insert(r);
        const short die = util.RandomInt(1, 6);
        ASSERT_GE(die, 1);
        ASSERT_LE(die, 6);
        dice.insert(die);
        const short low = util.RandomInt(-32768, -2);
        ASSERT_LE(low, -2);
        const short reversed = util.RandomInt(6, 1);  // floor(-4 * r) + 6
        ASSERT_GE(reversed, 2);
        ASSERT_LE(reversed, 6);
    }
    EXPECT_EQ(dice.size(), 6u);
    EXPECT_GE(singles.size(), 8u);  // every step of the counter gives a new value
}

TEST(Random, CallsWithinOneMillisecondAgree) {
    clsUtil util;
    int checked = 0;
    for (int attempt = 0; attempt < 100000 && checked < 50; ++attempt) {
        const DWORD before = ::timeGetTime();
        const short a = util.RandomInt(1, 1000);
        const float x = util.RandomSingle();
        const short b = util.RandomInt(1, 1000);
        const float y = util.RandomSingle();
        if (::timeGetTime() != before) continue;
        EXPECT_EQ(a, b);
        EXPECT_EQ(x, y);
        ++checked;
    }
    EXPECT_EQ(checked, 50);
}

TEST(Random, SpansOutside16BitsAreAnOverflow) {
    auto errorOf = [](short min, short max) {
        return utiltest::ErrorNumberOf([=] { clsUtil().RandomInt(min, max); });
    };
    EXPECT_EQ(errorOf(-32768, 32767), 6);
    EXPECT_EQ(errorOf(0, 32767), 6);   // the span 32768 does not fit
    EXPECT_EQ(errorOf(-1, 32767), 6);  // nor does the difference
    EXPECT_EQ(errorOf(32767, -32768), 6);
    EXPECT_EQ(errorOf(1, 32767), 0);
    EXPECT_EQ(errorOf(-32768, -2), 0);
}

}  // namespace

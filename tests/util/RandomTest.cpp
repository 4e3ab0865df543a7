#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <set>

#include "util/clsUtil.h"

namespace {

long OverflowOf(short min, short max) {
    try {
        clsUtil().RandomInt(min, max);
    } catch (const base::Error& e) {
        return e.Number();
    }
    return 0;
}

// Calls `draw` across roughly `milliseconds` of the counter, several times per millisecond.
template <class Draw>
void AcrossMilliseconds(DWORD milliseconds, Draw draw) {
    const DWORD start = ::timeGetTime();
    while (::timeGetTime() - start < milliseconds) draw();
}

TEST(Random, SingleLiesInUnitIntervalAndVariesWithTheCounter) {
    clsUtil util;
    std::set<float> seen;
    AcrossMilliseconds(200, [&] {
        const float r = util.RandomSingle();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        seen.insert(r);
    });
    // Each step of the counter gives a new value (Wine's counter steps every few milliseconds).
    EXPECT_GE(seen.size(), 8u);
}

TEST(Random, IntStaysWithinItsBoundsAndReachesThem) {
    clsUtil util;
    std::set<short> seen;
    const DWORD start = ::timeGetTime();
    while (seen.size() < 6 && ::timeGetTime() - start < 3000) {
        const short v = util.RandomInt(1, 6);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 6);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 6u);

    AcrossMilliseconds(20, [&] {
        const short v = util.RandomInt(-32768, -2);
        ASSERT_GE(v, -32768);
        ASSERT_LE(v, -2);
        ASSERT_EQ(util.RandomInt(7, 7), 7);
    });
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
    EXPECT_EQ(OverflowOf(-32768, 32767), 6);
    EXPECT_EQ(OverflowOf(0, 32767), 6);       // the span 32768 does not fit
    EXPECT_EQ(OverflowOf(-1, 32767), 6);      // nor does the difference
    EXPECT_EQ(OverflowOf(32767, -32768), 6);
    EXPECT_EQ(OverflowOf(1, 32767), 0);
    EXPECT_EQ(OverflowOf(-32768, -2), 0);
}

TEST(Random, ReversedBoundsGiveValuesAtOrBelowMin) {
    clsUtil util;
    AcrossMilliseconds(20, [&] {
        const short v = util.RandomInt(6, 1);
        ASSERT_LE(v, 6);
        ASSERT_GE(v, 2);  // floor(-4 * r) + 6 with r in [0, 1)
    });
}

}  // namespace

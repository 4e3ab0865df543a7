#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "TestSupport.h"
#include "util/clsUtil.h"

namespace {

TEST(Angles, ConstantsAreTheNearestDoubles) {
    EXPECT_EQ(std::bit_cast<uint64_t>(clsUtil().PI()), 0x400921FB54442D18u);
    EXPECT_EQ(std::bit_cast<uint64_t>(clsUtil().ENB()), 0x4005BF0A8B145769u);
}

TEST(Angles, CosineIsRoundedTo15DecimalsAndSineIsNot) {
    clsUtil util;
    EXPECT_EQ(util.CosineDeg(60), 0.5);
    EXPECT_EQ(util.CosineDeg(90), 0.0);
    EXPECT_EQ(util.CosineDeg(270), 0.0);
    EXPECT_EQ(util.CosineDeg(180), -1.0);
    EXPECT_EQ(util.CosineDeg(45), 0.707106781186548);
    EXPECT_EQ(util.SineDeg(90), 1.0);
    EXPECT_EQ(util.SineDeg(30), 0.49999999999999994);
    // Near multiples of pi the argument reduction shows: the x87 instruction alone gives
    // 1.2246063538223773e-16 here.
    EXPECT_EQ(util.SineDeg(180), 1.2246467991473532e-16);
    EXPECT_EQ(util.SineDeg(360), -2.4492935982947064e-16);
}

TEST(Angles, TangentDividesTheRawSineByTheRoundedCosine) {
    clsUtil util;
    EXPECT_EQ(util.TangentDeg(45), 0.9999999999999992);
    EXPECT_EQ(util.TangentDeg(-45), -0.9999999999999992);
    EXPECT_EQ(util.TangentDeg(180), -1.2246467991473532e-16);
    for (double degree : {90.0, 270.0, -90.0, 90.00000000000001})
        EXPECT_EQ(utiltest::ErrorNumberOf([&] { util.TangentDeg(degree); }), 6) << degree;
    EXPECT_EQ(utiltest::ErrorNumberOf([&] { util.TangentDeg(89.99); }), 0);
}

}  // namespace

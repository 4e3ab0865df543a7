#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "util/clsUtil.h"

namespace {

long ErrorNumberOf(double (clsUtil::*op)(double) const, double degree) {
    try {
        (clsUtil().*op)(degree);
    } catch (const base::Error& e) {
        return e.Number();
    }
    return 0;
}

TEST(Angles, ConstantsAreTheNearestDoubles) {
    clsUtil util;
    EXPECT_EQ(std::bit_cast<uint64_t>(util.PI()), 0x400921FB54442D18u);
    EXPECT_EQ(std::bit_cast<uint64_t>(util.ENB()), 0x4005BF0A8B145769u);
}

TEST(Angles, CosineIsRoundedTo15DecimalsAndSineIsNot) {
    clsUtil util;
    EXPECT_EQ(util.CosineDeg(60), 0.5);
    EXPECT_EQ(util.CosineDeg(90), 0.0);
    EXPECT_EQ(util.CosineDeg(270), 0.0);
    EXPECT_EQ(util.CosineDeg(0), 1.0);
    EXPECT_EQ(util.CosineDeg(180), -1.0);
    EXPECT_EQ(util.CosineDeg(45), 0.707106781186548);
    EXPECT_EQ(util.SineDeg(90), 1.0);
    EXPECT_EQ(util.SineDeg(30), 0.49999999999999994);
    EXPECT_EQ(util.SineDeg(180), 1.2246467991473532e-16);
}

TEST(Angles, TangentDividesTheRawSineByTheRoundedCosine) {
    clsUtil util;
    EXPECT_EQ(util.TangentDeg(45), 0.9999999999999992);
    EXPECT_EQ(util.TangentDeg(0), 0.0);
    const double t180 = util.TangentDeg(180);
    EXPECT_LT(t180, 0.0);
    EXPECT_NEAR(t180, -1.2246e-16, 1e-20);
    EXPECT_EQ(util.TangentDeg(-45), -0.9999999999999992);
}

TEST(Angles, TangentWhereTheRoundedCosineIsZeroIsAnOverflow) {
    EXPECT_EQ(ErrorNumberOf(&clsUtil::TangentDeg, 90), 6);
    EXPECT_EQ(ErrorNumberOf(&clsUtil::TangentDeg, 270), 6);
    EXPECT_EQ(ErrorNumberOf(&clsUtil::TangentDeg, -90), 6);
    // Close enough to 90 that the cosine rounds to zero at 15 decimals.
    EXPECT_EQ(ErrorNumberOf(&clsUtil::TangentDeg, 90.00000000000001), 6);
    EXPECT_EQ(ErrorNumberOf(&clsUtil::TangentDeg, 89.99), 0);
    try {
        clsUtil().TangentDeg(90);
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Description(), L"Overflow");
    }
}

}  // namespace

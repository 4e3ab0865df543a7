// The two constants and trigonometry in degrees.
//
// The runtime's sin and cos on this target use the x87 instructions, whose argument reduction
// works with a 66-bit pi and is visibly off near multiples of pi (sin of 180 degrees came out
// 1.2246063e-16 instead of 1.2246468e-16). So the argument is reduced here, against pi/2 held
// to 160 bits, and only the reduced argument (at most pi/4) goes to the instructions, where
// they are accurate. Intermediates are long double; each result is rounded once to double.

#include "util/clsUtil.h"

#include <cmath>

#include "util/Errors.h"

namespace {

// pi/2 = kHalfPi1 + ... + kHalfPi5 (+ 2e-52), 32 bits each, so k * part is exact. The later
// parts matter: near a multiple of pi the reduced argument is as small as 1e-16, and it must
// still be right to the last bit.
constexpr long double kHalfPi1 = 0xc90fdaa2p-31L;
constexpr long double kHalfPi2 = 0x85a308d3p-65L;
constexpr long double kHalfPi3 = 0x98cc5170p-100L;
constexpr long double kHalfPi4 = 0xdc1cd129p-135L;
constexpr long double kHalfPi5 = 0x93822299p-173L;
constexpr long double kTwoOverPi = 0.636619772367581343075535053490057448L;
// Beyond this the quadrant count no longer fits the exact products; such angles are left to
// the runtime.
constexpr double kReducible = 1e9;

struct Reduced {
    long double r;  // in [-pi/4, pi/4]
    int quadrant;   // the angle is r + quadrant * pi/2, modulo 2 pi
};

// One rounding to double, forced through memory: the x87 registers would keep the extra bits.
double ToDouble(long double v) {
    volatile double d = static_cast<double>(v);
    return d;
}

Reduced Reduce(double x) {
    const long double k = std::nearbyint(x * kTwoOverPi);
    const long double r = ((((x - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3) - k * kHalfPi4) - k * kHalfPi5;
    return {r, static_cast<int>(static_cast<long long>(k) & 3)};
}

double Sine(double x) {
    if (!(std::fabs(x) < kReducible)) return std::sin(x);
    const Reduced a = Reduce(x);
    switch (a.quadrant) {
    case 0: return ToDouble(std::sin(a.r));
    case 1: return ToDouble(std::cos(a.r));
    case 2: return ToDouble(-std::sin(a.r));
    default: return ToDouble(-std::cos(a.r));
    }
}

double Cosine(double x) {
    if (!(std::fabs(x) < kReducible)) return std::cos(x);
    const Reduced a = Reduce(x);
    switch (a.quadrant) {
    case 0: return ToDouble(std::cos(a.r));
    case 1: return ToDouble(-std::sin(a.r));
    case 2: return ToDouble(-std::cos(a.r));
    default: return ToDouble(std::sin(a.r));
    }
}

// The nearest double to x rounded to 15 decimals, ties to even.
double RoundTo15Decimals(double x) {
    if (!std::isfinite(x)) return x;
    volatile double scaled = x * 1e15;
    volatile double rounded = std::nearbyint(scaled);
    return rounded / 1e15;
}

// Degree / 180 first, then times pi, each step rounded to double.
double Radians(double degree, double pi) {
    volatile double fraction = degree / 180;
    volatile double radians = fraction * pi;
    return radians;
}

}  // namespace

double clsUtil::PI() const {
    return 3.1415926535897932384626433832795;
}

double clsUtil::ENB() const {
    return 2.7182818284590452353602874713527;
}

double clsUtil::SineDeg(double Degree) const {
    return Sine(Radians(Degree, PI()));
}

double clsUtil::CosineDeg(double Degree) const {
    return RoundTo15Decimals(Cosine(Radians(Degree, PI())));
}

double clsUtil::TangentDeg(double Degree) const {
    const double sine = SineDeg(Degree);
    const double cosine = CosineDeg(Degree);
    if (cosine == 0) util::Raise(base::err::Overflow);
    volatile double tangent = sine / cosine;
    return tangent;
}

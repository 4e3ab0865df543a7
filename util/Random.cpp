// Random numbers that depend only on the millisecond counter: the generator is re-seeded from
// the counter on every call, so calls within one millisecond agree.

#include "util/clsUtil.h"

#include <mmsystem.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "util/Errors.h"

namespace {

// The first value after seeding, 24 bits wide. A full avalanche mix, so that neighbouring
// milliseconds give unrelated values.
uint32_t FirstValueAfterSeed(uint32_t seed) {
    uint32_t x = seed;
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x >> 8;
}

}  // namespace

float clsUtil::RandomSingle() const {
    const uint32_t counter = ::timeGetTime();
    const uint32_t seed = 0u - counter;  // the counter negated as a signed 32-bit value
    const uint64_t value = FirstValueAfterSeed(seed);  // value / 2^24 lies in [0, 1)

    // Nine decimals, half up, in integers: value / 2^24 * 10^9. With 24 bits the result stays
    // below 1 (at most 0.999999940), so RandomInt never reaches Max + 1.
    const uint64_t scaled = value * 1'000'000'000u;
    uint64_t nanos = scaled >> 24;
    if ((scaled & 0xFFFFFF) >= 0x800000) ++nanos;
    char text[16];
    std::snprintf(text, sizeof text, "0.%09u", static_cast<unsigned>(nanos));
    return std::strtof(text, nullptr);
}

short clsUtil::RandomInt(short Min, short Max) const {
    const float r = RandomSingle();
    const int difference = int{Max} - int{Min};
    const int span = difference + 1;
    if (difference < -32768 || difference > 32767 || span < -32768 || span > 32767)
        util::Raise(base::err::Overflow);
    const double value = std::floor(span * static_cast<double>(r)) + Min;
    if (value < -32768 || value > 32767) util::Raise(base::err::Overflow);
    return static_cast<short>(value);
}

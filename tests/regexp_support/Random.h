// A PRNG of our own (splitmix64) so that native and Wine runs draw exactly the same cases:
// the standard library's distributions are not specified bit for bit across implementations.
#pragma once

#include <cstdint>

namespace rxtest {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n-1 (n > 0); the modulo bias is irrelevant for test generation.
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }
    int Between(int lo, int hi) { return lo + static_cast<int>(Below(static_cast<uint32_t>(hi - lo + 1))); }
    bool Percent(int p) { return Below(100) < static_cast<uint32_t>(p); }
    template <typename T, unsigned N>
    const T& Pick(const T (&items)[N]) { return items[Below(N)]; }

private:
    uint64_t state_;
};

}  // namespace rxtest

#include "regexp/UnitScan.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rx {

// The first position at or after `from` holding `unit`, or `length`: eight units at a time with
// SSE2 where the target has it, else four at a time in a 64-bit word (a 16-bit lane that equals
// the unit shows as a zero lane of word ^ pattern).
size_t FindUnit(const Char* text, size_t from, size_t length, uint16_t unit) {
    size_t p = from;
#ifdef __SSE2__
    const __m128i needle = _mm_set1_epi16(static_cast<short>(unit));
    auto at = [&](size_t q) { return _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + q)), needle); };
    // thirty-two units a look while the unit is absent (most of the text, where it is rare)
    while (p + 32 <= length &&
           !_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(at(p), at(p + 8)), _mm_or_si128(at(p + 16), at(p + 24)))))
        p += 32;
    for (; p + 8 <= length; p += 8) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + p));
        int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(v, needle));
        if (mask) return p + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)) >> 1);
    }
#else
    constexpr uint64_t kOnes = 0x0001000100010001ull, kHighs = 0x8000800080008000ull;
    const uint64_t pattern = kOnes * unit;
    for (; p + 4 <= length; p += 4) {
        uint64_t word = static_cast<uint64_t>(static_cast<uint16_t>(text[p])) |
                        static_cast<uint64_t>(static_cast<uint16_t>(text[p + 1])) << 16 |
                        static_cast<uint64_t>(static_cast<uint16_t>(text[p + 2])) << 32 |
                        static_cast<uint64_t>(static_cast<uint16_t>(text[p + 3])) << 48;
        uint64_t x = word ^ pattern;
        if ((x - kOnes) & ~x & kHighs) break;   // some lane is zero: the unit is among these four
    }
#endif
    while (p < length && static_cast<uint16_t>(text[p]) != unit) ++p;
    return p;
}

// The first position at or after `from` (before `length`) holding one of the n (1 to 4) units.
size_t FindAnyOf(const Char* text, size_t from, size_t length, const uint16_t* units, int n) {
    if (n == 1) return FindUnit(text, from, length, units[0]);
    size_t p = from;
#ifdef __SSE2__
    // the unused lanes repeat the first unit
    const __m128i u0 = _mm_set1_epi16(static_cast<short>(units[0]));
    const __m128i u1 = _mm_set1_epi16(static_cast<short>(units[1]));
    const __m128i u2 = _mm_set1_epi16(static_cast<short>(units[n > 2 ? 2 : 0]));
    const __m128i u3 = _mm_set1_epi16(static_cast<short>(units[n > 3 ? 3 : 0]));
    for (; p + 8 <= length; p += 8) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + p));
        __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, u0), _mm_cmpeq_epi16(v, u1)),
                                   _mm_or_si128(_mm_cmpeq_epi16(v, u2), _mm_cmpeq_epi16(v, u3)));
        int mask = _mm_movemask_epi8(hit);
        if (mask) return p + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)) >> 1);
    }
#endif
    for (; p < length; ++p) {
        const auto c = static_cast<uint16_t>(text[p]);
        for (int k = 0; k < n; ++k)
            if (c == units[k]) return p;
    }
    return p;
}

// The first place at or after `from` where the n units of `literal` stand, or length + 1.
size_t FindLiteral(const Char* text, size_t from, size_t length, const uint16_t* literal, size_t n) {
    size_t p = from;
    const uint16_t c0 = literal[0];
    auto at = [&](size_t q) { return static_cast<uint16_t>(text[q]); };
#ifdef __SSE2__
    if (n >= 2) {
        // eight starts at a time with the literal's first and last units both in place: far
        // fewer starts to check than where the first unit alone is common
        const __m128i first = _mm_set1_epi16(static_cast<short>(c0));
        const __m128i last = _mm_set1_epi16(static_cast<short>(literal[n - 1]));
        auto pairs = [&](size_t q) {
            const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + q));
            const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + q + n - 1));
            return static_cast<unsigned>(
                _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(v0, first), _mm_cmpeq_epi16(v1, last))));
        };
        for (; p + n - 1 + 8 <= length; p += 8) {
            // sixteen at a time while nothing is found (where a literal is rare, most of the text)
            while (p + n - 1 + 16 <= length && !(pairs(p) | pairs(p + 8))) p += 16;
            if (p + n - 1 + 8 > length) break;
            auto mask = pairs(p);
            while (mask) {
                const size_t q = p + (static_cast<size_t>(__builtin_ctz(mask)) >> 1);
                size_t k = 1;
                while (k + 1 < n && at(q + k) == literal[k]) ++k;
                if (k + 1 >= n) return q;
                mask &= mask - 1;  // each lane sets two bits
                mask &= mask - 1;
            }
        }
    }
#endif
    while (p + n <= length) {
        p = FindUnit(text, p, length - n + 1, c0);
        if (p + n > length) break;
        size_t k = 1;
        while (k < n && at(p + k) == literal[k]) ++k;
        if (k == n) return p;
        ++p;
    }
    return length + 1;
}

namespace {

// A unit is in a range when (unit - low) does not exceed the range's width, as unsigned 16-bit
// numbers (a saturating subtraction gives zero). The ranges are unrolled, their lanes loaded
// once a call.
template <size_t N>
size_t SkipLanes(const Char* text, size_t pos, size_t limit, const uint16_t* lanes) {
#ifdef __SSE2__
    __m128i low[N], width[N];
    for (size_t k = 0; k < N; ++k) {
        low[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes + 16 * k));
        width[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes + 16 * k + 8));
    }
    const __m128i zero = _mm_setzero_si128();
    for (; pos + 8 <= limit; pos += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
        __m128i in = zero;
        for (size_t k = 0; k < N; ++k)
            in = _mm_or_si128(in, _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(v, low[k]), width[k]), zero));
        const unsigned out = ~static_cast<unsigned>(_mm_movemask_epi8(in)) & 0xFFFFu;
        if (out) return pos + (static_cast<size_t>(__builtin_ctz(out)) >> 1);
    }
#endif
    for (; pos < limit; ++pos) {
        const auto u = static_cast<uint16_t>(text[pos]);
        bool in = false;
        for (size_t k = 0; k < N && !in; ++k) in = static_cast<uint16_t>(u - lanes[16 * k]) <= lanes[16 * k + 8];
        if (!in) return pos;
    }
    return limit;
}

}  // namespace

size_t SkipLaneRanges(const Char* text, size_t pos, size_t limit, const uint16_t* lanes, size_t n) {
    switch (n) {
    case 1: return SkipLanes<1>(text, pos, limit, lanes);
    case 2: return SkipLanes<2>(text, pos, limit, lanes);
    case 3: return SkipLanes<3>(text, pos, limit, lanes);
    case 4: return SkipLanes<4>(text, pos, limit, lanes);
    case 5: return SkipLanes<5>(text, pos, limit, lanes);
    case 6: return SkipLanes<6>(text, pos, limit, lanes);
    default: return pos;
    }
}

void PutLaneRange(uint16_t* lanes, size_t k, uint16_t low, uint16_t high) {
    std::fill_n(lanes + 16 * k, 8, low);
    std::fill_n(lanes + 16 * k + 8, 8, static_cast<uint16_t>(high - low));
}

}  // namespace rx

#include "rxgrep/Decode.h"

#include <algorithm>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#define RXGREP_X86 1
#include <immintrin.h>
#endif

namespace rxgrep {

namespace {

#if RXGREP_X86

// Where the vector paths cannot go on (a four-byte character, a broken sequence), the
// one-at-a-time reading takes over from i up to the first byte from `from` on that is not a
// continuation byte (80-BF). That reading never takes such a byte into an earlier
// character, and looks at the byte only to see that it is no continuation: so it decodes the
// slice exactly as it decodes the same bytes inside the whole text, and stops where a character
// of the whole text starts. The vector paths take only whole, well-formed characters, so every
// position the loops stand on is such a start as well.
size_t OneByOne(const unsigned char* b, size_t i, size_t from, size_t n, rx::Char*& o) {
    size_t j = from;
    while (j < n && (b[j] & 0xC0) == 0x80) ++j;
    o += rx::FromUtf8(std::string_view(reinterpret_cast<const char*>(b + i), j - i), o);
    return j;
}

// Stores sixteen ASCII bytes as sixteen units.
__attribute__((target("sse2"), always_inline)) inline void Widen(__m128i v, rx::Char* o) {
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(v, zero));
}

// The ASCII step shared by both vector loops: true when it consumed anything. Long ASCII runs
// go 32 bytes at a time; a block that turns non-ASCII part-way is stored whole and only its ASCII
// head is kept (the units stored past it are overwritten next). Writing ahead is safe because
// the text never has more units than bytes: o <= out + i, and i + 16 <= n.
__attribute__((target("sse2"), always_inline)) inline bool AsciiStep(const unsigned char* b, size_t& i, size_t n,
                                                                     rx::Char*& o) {
    while (i + 32 <= n) {
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i + 16));
        if (_mm_movemask_epi8(_mm_or_si128(v0, v1))) break;
        Widen(v0, o);
        Widen(v1, o + 16);
        i += 32;
        o += 32;
    }
    if (i + 16 > n) return false;
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(v));
    if (high & 1) return false;
    Widen(v, o);
    const unsigned k = high ? static_cast<unsigned>(__builtin_ctz(high)) : 16;
    i += k;
    o += k;
    return true;
}

__attribute__((target("sse2"))) size_t DecodeSse2(const unsigned char* b, size_t n, rx::Char* const out) {
    rx::Char* o = out;
    size_t i = 0;
    while (i + 16 <= n) {
        if (!AsciiStep(b, i, n, o) && i + 16 <= n) i = OneByOne(b, i, i + 1, n, o);
    }
    if (i < n) o += rx::FromUtf8(std::string_view(reinterpret_cast<const char*>(b + i), n - i), o);
    return static_cast<size_t>(o - out);
}

// The mixed path works on blocks of 64 bytes that start where a character starts. A block is
// first checked as a whole: every byte is ASCII, a continuation byte that a lead one or two
// places before it calls for, or such a lead (C2-DF, E0-EF) — no four-byte lead, no C0/C1, no
// overlong E0 80-9F form, no continuation byte too many or too few (surrogates ED A0-BF are
// kept as units, as the one-at-a-time reading keeps them). A block that fails goes to that
// reading up to past its first fault. In a block that passes, the characters are taken a window
// of 12 bytes at a time: the window's character ends (from the block's mask of character
// starts) index a table of where up to eight characters end, and one byte shuffle gathers each
// character's last three bytes into a 16-bit lane, from which its unit is assembled.
struct Window {
    uint8_t ends[8] = {};   // offset of each character's last byte in the window
    uint8_t count = 0;      // characters taken (at most 8)
    uint8_t consumed = 0;   // bytes they span
    uint8_t unused[6] = {};
};

constexpr int kWindow = 12;

struct WindowTable {
    alignas(16) Window at[1 << kWindow];
    constexpr WindowTable() : at() {
        for (unsigned mask = 0; mask < (1u << kWindow); ++mask) {
            Window& w = at[mask];
            for (unsigned q = 0; q < kWindow && w.count < 8; ++q)
                if (mask >> q & 1) w.ends[w.count++] = static_cast<uint8_t>(q);
            w.consumed = w.count ? static_cast<uint8_t>(w.ends[w.count - 1] + 1) : 0;
        }
    }
};

constexpr WindowTable kWindows;

// Unsigned x >= limit, per byte.
__attribute__((target("sse2"), always_inline)) inline __m128i AtLeast(__m128i x, uint8_t limit) {
    const __m128i l = _mm_set1_epi8(static_cast<char>(limit));
    return _mm_cmpeq_epi8(_mm_max_epu8(x, l), x);
}

// The faults of 16 bytes, given the 16 before them (zero before the block): a mask byte per byte.
__attribute__((target("ssse3"), always_inline)) inline __m128i Faults(__m128i v, __m128i before) {
    const __m128i prev1 = _mm_alignr_epi8(v, before, 15);
    const __m128i prev2 = _mm_alignr_epi8(v, before, 14);
    const __m128i isCont = _mm_cmpgt_epi8(_mm_set1_epi8(-64), v);  // 80-BF: -128..-65 as signed
    const __m128i wanted = _mm_or_si128(AtLeast(prev1, 0xC0), AtLeast(prev2, 0xE0));
    __m128i f = _mm_xor_si128(wanted, isCont);
    f = _mm_or_si128(f, AtLeast(v, 0xF0));
    f = _mm_or_si128(f, _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(static_cast<char>(0xFE))),
                                       _mm_set1_epi8(static_cast<char>(0xC0))));
    const __m128i overlong = _mm_and_si128(_mm_cmpeq_epi8(prev1, _mm_set1_epi8(static_cast<char>(0xE0))),
                                           _mm_cmpgt_epi8(_mm_set1_epi8(-96), v));  // E0 then 80-9F
    return _mm_or_si128(f, overlong);
}

__attribute__((target("sse2"), always_inline)) inline uint64_t Mask64(__m128i a, __m128i b, __m128i c, __m128i d) {
    return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(a))) |
           static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(b))) << 16 |
           static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(c))) << 32 |
           static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(d))) << 48;
}

// The characters of one window (at least one, the window starting a character of a block that
// passed): their units stored at o (eight written); returns the window's entry.
__attribute__((target("ssse3"), always_inline)) inline const Window& TakeWindow(const unsigned char* at, unsigned ends,
                                                                                rx::Char* o) {
    const Window& w = kWindows.at[ends];
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i last = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(w.ends));
    const __m128i one = _mm_set1_epi8(1);
    // lane j: its last byte low, the one before high; then the pair one byte earlier (a byte
    // before the window is an index below zero, which the shuffle reads as zero)
    const __m128i pick = _mm_unpacklo_epi8(last, _mm_sub_epi8(last, one));
    const __m128i x0x1 = _mm_shuffle_epi8(v, pick);
    const __m128i x1x2 = _mm_shuffle_epi8(v, _mm_sub_epi8(pick, one));
    // the byte before the last belongs to the character when the last is a continuation byte,
    // and the one before that when both are
    const __m128i cont0 = _mm_cmpeq_epi16(_mm_and_si128(x0x1, _mm_set1_epi16(0x00C0)), _mm_set1_epi16(0x0080));
    const __m128i cont1 = _mm_cmpeq_epi16(_mm_and_si128(x0x1, _mm_set1_epi16(static_cast<short>(0xC000))),
                                          _mm_set1_epi16(static_cast<short>(0x8000)));
    const __m128i low = _mm_and_si128(x0x1, _mm_set1_epi16(0x007F));
    const __m128i mid = _mm_and_si128(cont0, _mm_srli_epi16(_mm_and_si128(x0x1, _mm_set1_epi16(0x3F00)), 2));
    const __m128i high =
        _mm_and_si128(_mm_and_si128(cont0, cont1), _mm_slli_epi16(_mm_and_si128(x1x2, _mm_set1_epi16(0x0F00)), 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_or_si128(_mm_or_si128(low, mid), high));
    return w;
}

__attribute__((target("ssse3"))) size_t DecodeSsse3(const unsigned char* b, size_t n, rx::Char* const out) {
    rx::Char* o = out;
    size_t i = 0;
    constexpr size_t kBlock = 64, kLastWindow = kBlock - 16;
    while (i + kBlock <= n) {
        const auto* at = reinterpret_cast<const __m128i*>(b + i);
        const __m128i v0 = _mm_loadu_si128(at), v1 = _mm_loadu_si128(at + 1), v2 = _mm_loadu_si128(at + 2),
                      v3 = _mm_loadu_si128(at + 3);
        const uint64_t nonAscii = Mask64(v0, v1, v2, v3);
        if (!nonAscii) {
            Widen(v0, o);
            Widen(v1, o + 16);
            Widen(v2, o + 32);
            Widen(v3, o + 48);
            i += kBlock;
            o += kBlock;
            continue;
        }
        const __m128i zero = _mm_setzero_si128();
        const uint64_t faults = Mask64(Faults(v0, zero), Faults(v1, v0), Faults(v2, v1), Faults(v3, v2));
        if (faults) {
            const size_t first = static_cast<size_t>(__builtin_ctzll(faults));
            i = OneByOne(b, i, std::min(n, i + std::max<size_t>(first, 15) + 1), n, o);
            continue;
        }
        const __m128i below = _mm_set1_epi8(-64);  // a continuation byte is signed below -64
        const uint64_t starts = ~Mask64(_mm_cmpgt_epi8(below, v0), _mm_cmpgt_epi8(below, v1),
                                        _mm_cmpgt_epi8(below, v2), _mm_cmpgt_epi8(below, v3));
        size_t p = 0;
        while (p < kLastWindow) {
            if (!((nonAscii >> p) & 0xFFFF)) {
                Widen(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i + p)), o);
                p += 16;
                o += 16;
                continue;
            }
            // a character ends where the next one starts
            const Window& w = TakeWindow(b + i + p, static_cast<unsigned>(starts >> (p + 1)) & ((1u << kWindow) - 1), o);
            p += w.consumed;
            o += w.count;
        }
        i += p;
    }
    if (i < n) o += rx::FromUtf8(std::string_view(reinterpret_cast<const char*>(b + i), n - i), o);
    return static_cast<size_t>(o - out);
}

DecodePath AskProcessor() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("ssse3")) return DecodePath::Ssse3;
    if (__builtin_cpu_supports("sse2")) return DecodePath::Sse2;
    return DecodePath::Scalar;
}

#endif  // RXGREP_X86

}  // namespace

DecodePath BestDecodePath() {
#if RXGREP_X86
    static const DecodePath best = AskProcessor();
    return best;
#else
    return DecodePath::Scalar;
#endif
}

size_t DecodeUtf8(std::string_view utf8, rx::Char* out, DecodePath path) {
    if (path > BestDecodePath()) path = BestDecodePath();
#if RXGREP_X86
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    switch (path) {
    case DecodePath::Ssse3: return DecodeSsse3(b, utf8.size(), out);
    case DecodePath::Sse2: return DecodeSse2(b, utf8.size(), out);
    case DecodePath::Scalar: break;
    }
#endif
    return rx::FromUtf8(utf8, out);
}

}  // namespace rxgrep

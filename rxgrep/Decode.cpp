#include "rxgrep/Decode.h"

#include <algorithm>
#include <cstdint>
#include <atomic>
#include <cstring>
#include <future>
#include <memory>
#include <vector>

#ifdef __linux__
#include <pthread.h>

#include "rxgrep/Threads.h"
#endif

#if defined(__x86_64__) || defined(__i386__)
#define RXGREP_X86 1
#include <immintrin.h>
#endif

namespace rxgrep {

namespace {

#if RXGREP_X86

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Where the vector path cannot go on (a broken sequence), the one-at-a-time reading takes over
// from i up to the first byte from `from` on that is not a continuation byte (80-BF). That
// reading never takes such a byte into an earlier character, and looks at the byte only to see
// that it is no continuation: so it decodes the slice exactly as it decodes the same bytes
// inside the whole text, and stops where a character of the whole text starts. The vector path
// hands over at the start of a character it has not given whole (see TakeOverAt), so every
// position the loops stand on is such a start as well.
size_t OneByOne(const unsigned char* b, size_t i, size_t from, size_t n, rx::Char*& o) {
    size_t j = from;
    while (j < n && IsContinuation(b[j])) ++j;
    o += rx::FromUtf8(std::string_view(reinterpret_cast<const char*>(b + i), j - i), o);
    return j;
}

// Stores sixteen ASCII bytes as sixteen units.
__attribute__((target("sse2"), always_inline)) inline void Widen(__m128i v, rx::Char* o) {
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(v, zero));
}

// The faults of 16 bytes, given the 16 before them (zero where the stream starts): a nonzero byte
// where a byte and the one before it cannot stand together. Each pair is looked up by three
// nibbles — the earlier byte's high and low one, the later byte's high one — in tables whose
// bits stand for the ways a pair can be wrong, so that a bit survives the three lookups only
// where all of its nibbles fit: a lead not followed by a continuation byte, a continuation
// byte after ASCII, E0 followed by 80-9F (overlong), C0 or C1 (overlong), F0-FF (four-byte
// characters and bytes no character has). Two continuation bytes in a row are right exactly
// where the byte two before is a three-byte lead (E0-EF).
constexpr char kShort = 0x01, kLong = 0x02, kOverlong3 = 0x04, kLeadC = 0x10, kLeadF = 0x20;
constexpr char kTwoConts = static_cast<char>(0x80);
constexpr char kAll = kShort | kLong | kOverlong3 | kLeadC | kLeadF | kTwoConts;

constexpr char kOthers = kAll & ~(kOverlong3 | kLeadC);                              // low nibbles 2-F
constexpr char kNotCont = kShort | kLeadC | kLeadF, kCont = kLong | kTwoConts | kLeadC | kLeadF;
alignas(16) constexpr char kFirstHigh[16] = {kLong, kLong, kLong, kLong, kLong, kLong, kLong, kLong,  // ASCII
                                             kTwoConts, kTwoConts, kTwoConts, kTwoConts,              // 80-BF
                                             kShort | kLeadC, kShort, kShort | kOverlong3, kShort | kLeadF};
alignas(16) constexpr char kFirstLow[16] = {kAll, kAll & ~kOverlong3, kOthers, kOthers, kOthers, kOthers,
                                            kOthers, kOthers, kOthers, kOthers, kOthers, kOthers, kOthers,
                                            kOthers, kOthers, kOthers};
alignas(16) constexpr char kSecondHigh[16] = {kNotCont, kNotCont, kNotCont, kNotCont, kNotCont, kNotCont, kNotCont,
                                              kNotCont, kCont | kOverlong3, kCont | kOverlong3, kCont, kCont,  // 80-9F, A0-BF
                                              kNotCont, kNotCont, kNotCont, kNotCont};

__attribute__((target("ssse3"), always_inline)) inline __m128i Faults(__m128i v, __m128i before) {
    const __m128i firstHigh = _mm_load_si128(reinterpret_cast<const __m128i*>(kFirstHigh));
    const __m128i firstLow = _mm_load_si128(reinterpret_cast<const __m128i*>(kFirstLow));
    const __m128i secondHigh = _mm_load_si128(reinterpret_cast<const __m128i*>(kSecondHigh));
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i prev1 = _mm_alignr_epi8(v, before, 15);
    const __m128i prev2 = _mm_alignr_epi8(v, before, 14);
    const __m128i pair = _mm_and_si128(
        _mm_and_si128(_mm_shuffle_epi8(firstHigh, _mm_and_si128(_mm_srli_epi16(prev1, 4), nibble)),
                      _mm_shuffle_epi8(firstLow, _mm_and_si128(prev1, nibble))),
        _mm_shuffle_epi8(secondHigh, _mm_and_si128(_mm_srli_epi16(v, 4), nibble)));
    // bit 7 where the byte two before is E0-FF (F0-FF are faults of their own)
    const __m128i third = _mm_and_si128(_mm_subs_epu8(prev2, _mm_set1_epi8(0x60)), _mm_set1_epi8(kTwoConts));
    return _mm_xor_si128(pair, third);
}

__attribute__((target("sse2"), always_inline)) inline uint64_t Mask64(__m128i a, __m128i b, __m128i c, __m128i d) {
    return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(a))) |
           static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(b))) << 16 |
           static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(c))) << 32 |
           static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(d))) << 48;
}

// The mixed path streams 16 bytes at a time and gives, for each byte, the unit of the
// character that ends there (whose next byte is no continuation byte): with x0 the byte, x1 the
// one before where x0 continues it and x2 the one before that where x1 continues it too (zero
// otherwise), the unit is (x0 & 7F) | (x1 & 3F) << 6 | (x2 & 0F) << 12 — x0 & 7F is the ASCII
// value or a continuation's six bits, x1 & 3F a two-byte lead's five or a continuation's six,
// x2 & 0F a three-byte lead's four. Built as a low and a high byte per lane, so no byte waits
// for the one before, ASCII and the rest alike; the lanes where a character ends are then
// gathered to the front, eight 16-bit lanes at a time, by a table of byte shuffles. A character
// that runs over into the next 16 bytes is given there, from the bytes before it. Each store
// writes eight units from where its eight bytes' units go; no byte gives more than one unit, so
// that place is at most the first byte's own offset and no store reaches past the block's end
// (the text's size bounds the output).
struct PackTable {
    alignas(16) int8_t shuffle[256][16];  // the kept lanes' two bytes first, in order
    uint8_t count[256];                   // lanes kept
    constexpr PackTable() : shuffle(), count() {
        for (unsigned keep = 0; keep < 256; ++keep) {
            int lane = 0;
            for (int j = 0; j < 8; ++j)
                if (keep >> j & 1) {
                    shuffle[keep][2 * lane] = static_cast<int8_t>(2 * j);
                    shuffle[keep][2 * lane + 1] = static_cast<int8_t>(2 * j + 1);
                    ++lane;
                }
            for (int k = 2 * lane; k < 16; ++k) shuffle[keep][k] = -1;
            count[keep] = static_cast<uint8_t>(lane);
        }
    }
};

constexpr PackTable kPack;

// Stores the units of the lanes in `keep` at o (eight written) and moves o past them.
__attribute__((target("ssse3"), always_inline)) inline void Pack(__m128i units, unsigned keep, rx::Char*& o) {
    const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i*>(kPack.shuffle[keep]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_shuffle_epi8(units, shuffle));
    o += kPack.count[keep];
}

// The units of the characters that end at the bytes of v (given the 16 before it) whose bits
// are set in `ends`, stored at o.
__attribute__((target("ssse3"), always_inline)) inline void TakeEnds(__m128i v, __m128i before, unsigned ends,
                                                                     rx::Char*& o) {
    const __m128i below = _mm_set1_epi8(-64);  // a continuation byte is signed below -64
    const __m128i cont = _mm_cmpgt_epi8(below, v);
    const __m128i x1 = _mm_and_si128(_mm_alignr_epi8(v, before, 15), cont);
    // in well-formed text a byte two before is E0-EF exactly where it leads the character that
    // ends here: its four bits are what it lies above E0
    const __m128i x2bits = _mm_subs_epu8(_mm_alignr_epi8(v, before, 14), _mm_set1_epi8(static_cast<char>(0xE0)));
    const __m128i low = _mm_or_si128(_mm_and_si128(v, _mm_set1_epi8(0x7F)),
                                     _mm_slli_epi16(_mm_and_si128(x1, _mm_set1_epi8(0x03)), 6));
    const __m128i high = _mm_or_si128(_mm_srli_epi16(_mm_and_si128(x1, _mm_set1_epi8(0x3C)), 2),
                                      _mm_slli_epi16(x2bits, 4));
    Pack(_mm_unpacklo_epi8(low, high), ends & 0xFF, o);
    Pack(_mm_unpackhi_epi8(low, high), ends >> 8 & 0xFF, o);
}

// Blocks with four-byte characters: the fast check above takes every byte F0-FF for a fault;
// such a block is checked again, with each rule of UTF-8 (a four-byte lead F0-F4 followed by
// three continuation bytes, not overlong (F0 80-8F), not past U+10FFFF (F4 90-BF, F5-FF), and
// the rest as above), and decoded with four-byte characters giving two units: the first (high
// surrogate) at their third byte, the second at their fourth. Only the one-by-one reading takes
// what fails this too.
constexpr char kF4Short = 0x01, kF4Long = 0x02, kF4Overlong3 = 0x04, kF4Past = 0x08, kF4Overlong2 = 0x10,
               kF4Overlong4 = 0x20, kF4PastF4 = 0x40;
// kTwoConts as above: two continuation bytes in a row, right where a lead two or three before calls for them
constexpr char kF4Base = kF4Short | kF4Long | kTwoConts;
constexpr char kF4NotCont = kF4Short | kF4Overlong2 | kF4Past, kF4Cont = kF4Long | kTwoConts | kF4Overlong2 | kF4Past;
alignas(16) constexpr char kFirstHigh4[16] = {kF4Long, kF4Long, kF4Long, kF4Long, kF4Long, kF4Long, kF4Long,
                                              kF4Long, kTwoConts, kTwoConts, kTwoConts, kTwoConts,
                                              kF4Short | kF4Overlong2, kF4Short, kF4Short | kF4Overlong3,
                                              kF4Short | kF4Overlong4 | kF4PastF4 | kF4Past};
alignas(16) constexpr char kFirstLow4[16] = {
    kF4Base | kF4Overlong2 | kF4Overlong3 | kF4Overlong4, kF4Base | kF4Overlong2, kF4Base, kF4Base,
    kF4Base | kF4PastF4, kF4Base | kF4Past, kF4Base | kF4Past, kF4Base | kF4Past, kF4Base | kF4Past,
    kF4Base | kF4Past, kF4Base | kF4Past, kF4Base | kF4Past, kF4Base | kF4Past, kF4Base | kF4Past,
    kF4Base | kF4Past, kF4Base | kF4Past};
alignas(16) constexpr char kSecondHigh4[16] = {kF4NotCont, kF4NotCont, kF4NotCont, kF4NotCont, kF4NotCont,
                                               kF4NotCont, kF4NotCont, kF4NotCont,
                                               kF4Cont | kF4Overlong3 | kF4Overlong4,  // 80-8F
                                               kF4Cont | kF4Overlong3 | kF4PastF4,     // 90-9F
                                               kF4Cont | kF4PastF4, kF4Cont | kF4PastF4,  // A0-BF
                                               kF4NotCont, kF4NotCont, kF4NotCont, kF4NotCont};

__attribute__((target("ssse3"), always_inline)) inline __m128i Faults4(__m128i v, __m128i before) {
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i prev1 = _mm_alignr_epi8(v, before, 15);
    const __m128i pair = _mm_and_si128(
        _mm_and_si128(_mm_shuffle_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(kFirstHigh4)),
                                       _mm_and_si128(_mm_srli_epi16(prev1, 4), nibble)),
                      _mm_shuffle_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(kFirstLow4)),
                                       _mm_and_si128(prev1, nibble))),
        _mm_shuffle_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(kSecondHigh4)),
                         _mm_and_si128(_mm_srli_epi16(v, 4), nibble)));
    // bit 7 where the byte two before is E0-FF or the byte three before F0-FF
    const __m128i calledFor = _mm_or_si128(_mm_subs_epu8(_mm_alignr_epi8(v, before, 14), _mm_set1_epi8(0x60)),
                                           _mm_subs_epu8(_mm_alignr_epi8(v, before, 13), _mm_set1_epi8(0x70)));
    return _mm_xor_si128(pair, _mm_and_si128(calledFor, _mm_set1_epi8(kTwoConts)));
}

__attribute__((target("ssse3"), always_inline)) inline __m128i FourByteLeads(__m128i v) {
    return _mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(static_cast<char>(0xF0))), v);
}

// TakeEnds with four-byte characters. At a four-byte character's third byte x0 (x1 and x2 the
// two before) the first unit is D800 + (code point >> 10) - 40 = D7C0 + (x2 & 7) << 8 |
// (x1 & 3F) << 2 | (x0 >> 4 & 3); at its fourth byte the second is DC00 | (x1 & 0F) << 6 | (x0 & 3F),
// the three-byte formula's low ten bits.
__attribute__((target("ssse3"), always_inline)) inline void TakeEnds4(__m128i v, __m128i before, unsigned ends,
                                                                      rx::Char*& o) {
    const __m128i cont = _mm_cmpgt_epi8(_mm_set1_epi8(-64), v);
    const __m128i p1 = _mm_alignr_epi8(v, before, 15), p2 = _mm_alignr_epi8(v, before, 14);
    const __m128i third = FourByteLeads(p2), fourth = FourByteLeads(_mm_alignr_epi8(v, before, 13));
    const __m128i x1 = _mm_and_si128(p1, cont);
    const __m128i x2bits = _mm_and_si128(_mm_subs_epu8(p2, _mm_set1_epi8(static_cast<char>(0xE0))), _mm_set1_epi8(0x0F));
    const __m128i low = _mm_or_si128(_mm_and_si128(v, _mm_set1_epi8(0x7F)),
                                     _mm_slli_epi16(_mm_and_si128(x1, _mm_set1_epi8(0x03)), 6));
    __m128i high = _mm_or_si128(_mm_srli_epi16(_mm_and_si128(x1, _mm_set1_epi8(0x3C)), 2), _mm_slli_epi16(x2bits, 4));
    high = _mm_or_si128(_mm_andnot_si128(_mm_and_si128(fourth, _mm_set1_epi8(static_cast<char>(0xFC))), high),
                        _mm_and_si128(fourth, _mm_set1_epi8(static_cast<char>(0xDC))));
    const __m128i firstLow = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(p1, _mm_set1_epi8(0x3F)), 2),
                                          _mm_and_si128(_mm_srli_epi16(v, 4), _mm_set1_epi8(0x03)));
    const __m128i firstHigh = _mm_and_si128(p2, _mm_set1_epi8(0x07));
    const __m128i lowAll = _mm_or_si128(_mm_andnot_si128(third, low), _mm_and_si128(third, firstLow));
    const __m128i highAll = _mm_or_si128(_mm_andnot_si128(third, high), _mm_and_si128(third, firstHigh));
    const __m128i offLow = _mm_and_si128(third, _mm_set1_epi8(static_cast<char>(0xC0)));
    const __m128i offHigh = _mm_and_si128(third, _mm_set1_epi8(static_cast<char>(0xD7)));
    Pack(_mm_add_epi16(_mm_unpacklo_epi8(lowAll, highAll), _mm_unpacklo_epi8(offLow, offHigh)), ends & 0xFF, o);
    Pack(_mm_add_epi16(_mm_unpackhi_epi8(lowAll, highAll), _mm_unpackhi_epi8(offLow, offHigh)), ends >> 8 & 0xFF, o);
}

// Where the one-at-a-time reading takes over from the stream at byte i (which began at a
// character start, `from`): the start of the character byte i-1 belongs to, whose units stored
// so far are taken back, as whether it was whole shows only at byte i. Stored were the unit of
// its last byte before i when byte i starts a character, and a four-byte character's first
// unit at its third byte.
size_t TakeOverAt(const unsigned char* b, size_t from, size_t i, rx::Char*& o) {
    if (i == from) return i;
    size_t start = i - 1;
    while (start > from && IsContinuation(b[start])) --start;
    const size_t taken = i - start;
    const bool fourBytes = b[start] >= 0xF0;
    o -= (fourBytes && taken > 3) + (!IsContinuation(b[i]) || (fourBytes && taken == 3));
    return start;
}

constexpr size_t kBlock = 64;

// Where the vector loops stand: at byte i of the text, the stream having gone on since `from`
// (a character start), units stored up to o. The block at i is taken when byte i + 64 is there
// too: a block's last byte ends a character when that byte starts one.
struct Stream {
    const unsigned char* b;
    size_t n;
    rx::Char* o;
    size_t i = 0, from = 0;
    size_t slow = kBlock;  // how far the one-by-one reading goes past a fault

    bool HasBlock() const { return i + kBlock < n; }
    // ASCII between ASCII needs no checking: `lastTwo` tells whether either of the two bytes
    // before the block is not ASCII (the first bytes then show whether that character was
    // whole); before a continuation byte the block's last unit is not stored (see TakeOverAt)
    bool AsciiBlock(uint64_t nonAscii, unsigned lastTwo) const {
        return !nonAscii && !lastTwo && !IsContinuation(b[i + kBlock]);
    }
    uint64_t Ends(uint64_t conts) const {
        return ~(conts >> 1 | static_cast<uint64_t>(IsContinuation(b[i + kBlock])) << 63);
    }
    // The block has a fault at byte `first`: the one-by-one reading goes past it, and the
    // further the more blocks in a row fail (text of broken bytes goes to it almost whole); the
    // stream starts again where it stops.
    void HandOver(size_t first) {
        constexpr size_t kSlowest = 4096;
        const size_t start = TakeOverAt(b, from, i, o);
        i = from = OneByOne(b, start, std::min(n, i + std::max(first + 1, slow)), n, o);
        slow = std::min(slow * 2, kSlowest);
    }
    // At a block the fast check fails: while blocks are whole and well formed, four-byte
    // characters included, they are decoded, and the one after each that has a four-byte
    // character is taken here too (more are likely, and one left open is one the fast check,
    // which looks two bytes back, cannot see the end of); the first that fails is handed over.
    // Returns the 16 bytes before i (zero after a hand-over). Kept out of the loops, whose
    // registers it would crowd.
    __attribute__((target("ssse3"), noinline)) __m128i SlowBlocks(__m128i before) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i below = _mm_set1_epi8(-64);
        for (;;) {
            const auto* at = reinterpret_cast<const __m128i*>(b + i);
            const __m128i v0 = _mm_loadu_si128(at), v1 = _mm_loadu_si128(at + 1), v2 = _mm_loadu_si128(at + 2),
                          v3 = _mm_loadu_si128(at + 3);
            const __m128i f0 = Faults4(v0, before), f1 = Faults4(v1, v0), f2 = Faults4(v2, v1), f3 = Faults4(v3, v2);
            if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(_mm_or_si128(f0, f1), _mm_or_si128(f2, f3)), zero)) != 0xFFFF) {
                const uint64_t fine = Mask64(_mm_cmpeq_epi8(f0, zero), _mm_cmpeq_epi8(f1, zero),
                                             _mm_cmpeq_epi8(f2, zero), _mm_cmpeq_epi8(f3, zero));
                HandOver(static_cast<size_t>(__builtin_ctzll(~fine)));
                return zero;
            }
            const uint64_t conts = Mask64(_mm_cmpgt_epi8(below, v0), _mm_cmpgt_epi8(below, v1),
                                          _mm_cmpgt_epi8(below, v2), _mm_cmpgt_epi8(below, v3));
            const uint64_t leads = Mask64(FourByteLeads(v0), FourByteLeads(v1), FourByteLeads(v2), FourByteLeads(v3));
            const auto leadsBefore = static_cast<unsigned>(_mm_movemask_epi8(FourByteLeads(before))) >> 14;
            const uint64_t ends = Ends(conts) | leads << 2 | leadsBefore;  // and third bytes
            TakeEnds4(v0, before, static_cast<unsigned>(ends), o);
            TakeEnds4(v1, v0, static_cast<unsigned>(ends >> 16), o);
            TakeEnds4(v2, v1, static_cast<unsigned>(ends >> 32), o);
            TakeEnds4(v3, v2, static_cast<unsigned>(ends >> 48), o);
            Passed();
            if (!leads || !HasBlock()) return v3;
            before = v3;
        }
    }
    void Passed() {
        slow = kBlock;
        i += kBlock;
    }
    size_t Finish(rx::Char* out) {
        if (i < n) {
            i = TakeOverAt(b, from, i, o);
            o += rx::FromUtf8(std::string_view(reinterpret_cast<const char*>(b + i), n - i), o);
        }
        return static_cast<size_t>(o - out);
    }
};

__attribute__((target("ssse3"))) size_t DecodeSsse3(const unsigned char* b, size_t n, rx::Char* const out) {
    Stream s{b, n, out};
    const __m128i zero = _mm_setzero_si128();
    __m128i before = zero;  // the 16 bytes before s.i in the stream (zero at its start)
    while (s.HasBlock()) {
        const auto* at = reinterpret_cast<const __m128i*>(b + s.i);
        const __m128i v0 = _mm_loadu_si128(at), v1 = _mm_loadu_si128(at + 1), v2 = _mm_loadu_si128(at + 2),
                      v3 = _mm_loadu_si128(at + 3);
        if (s.AsciiBlock(Mask64(v0, v1, v2, v3), static_cast<unsigned>(_mm_movemask_epi8(before)) & 0xC000)) {
            Widen(v0, s.o);
            Widen(v1, s.o + 16);
            Widen(v2, s.o + 32);
            Widen(v3, s.o + 48);
            s.o += kBlock;
            s.Passed();
            before = v3;
            continue;
        }
        const __m128i f0 = Faults(v0, before), f1 = Faults(v1, v0), f2 = Faults(v2, v1), f3 = Faults(v3, v2);
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(_mm_or_si128(f0, f1), _mm_or_si128(f2, f3)), zero)) != 0xFFFF) {
            Stream aside = s;  // (the loop's own stays in registers)
            before = aside.SlowBlocks(before);
            s = aside;
            continue;
        }
        const __m128i below = _mm_set1_epi8(-64);
        const uint64_t ends = s.Ends(Mask64(_mm_cmpgt_epi8(below, v0), _mm_cmpgt_epi8(below, v1),
                                            _mm_cmpgt_epi8(below, v2), _mm_cmpgt_epi8(below, v3)));
        TakeEnds(v0, before, static_cast<unsigned>(ends), s.o);
        TakeEnds(v1, v0, static_cast<unsigned>(ends >> 16), s.o);
        TakeEnds(v2, v1, static_cast<unsigned>(ends >> 32), s.o);
        TakeEnds(v3, v2, static_cast<unsigned>(ends >> 48), s.o);
        s.Passed();
        before = v3;
    }
    Stream last = s;
    return last.Finish(out);
}

// The same 32 bytes at a time. AVX2's byte shuffles and shifts work within each 16-byte half, so
// the bytes before a vector's upper half are its lower half, those before its lower half the
// previous vector's upper half (one lane-crossing permute).
__attribute__((target("avx2"), always_inline)) inline __m256i HalvesBefore(__m256i v, __m256i before) {
    return _mm256_permute2x128_si256(before, v, 0x21);
}

__attribute__((target("avx2"), always_inline)) inline __m256i Table256(const char* table) {
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(table)));
}

__attribute__((target("avx2"), always_inline)) inline __m256i Faults256(__m256i v, __m256i before) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i halves = HalvesBefore(v, before);
    const __m256i prev1 = _mm256_alignr_epi8(v, halves, 15);
    const __m256i prev2 = _mm256_alignr_epi8(v, halves, 14);
    const __m256i pair = _mm256_and_si256(
        _mm256_and_si256(_mm256_shuffle_epi8(Table256(kFirstHigh), _mm256_and_si256(_mm256_srli_epi16(prev1, 4), nibble)),
                         _mm256_shuffle_epi8(Table256(kFirstLow), _mm256_and_si256(prev1, nibble))),
        _mm256_shuffle_epi8(Table256(kSecondHigh), _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble)));
    const __m256i third = _mm256_and_si256(_mm256_subs_epu8(prev2, _mm256_set1_epi8(0x60)), _mm256_set1_epi8(kTwoConts));
    return _mm256_xor_si256(pair, third);
}

__attribute__((target("avx2"), always_inline)) inline uint64_t Mask64(__m256i a, __m256i b) {
    return static_cast<uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(a))) |
           static_cast<uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(b))) << 32;
}

__attribute__((target("avx2"), always_inline)) inline __m256i PackShuffles(unsigned low, unsigned high) {
    return _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kPack.shuffle[low]))),
        _mm_load_si128(reinterpret_cast<const __m128i*>(kPack.shuffle[high])), 1);
}

__attribute__((target("avx2"), always_inline)) inline void TakeEnds256(__m256i v, __m256i before, unsigned ends,
                                                                       rx::Char*& o) {
    const __m256i cont = _mm256_cmpgt_epi8(_mm256_set1_epi8(-64), v);
    const __m256i halves = HalvesBefore(v, before);
    const __m256i x1 = _mm256_and_si256(_mm256_alignr_epi8(v, halves, 15), cont);
    const __m256i x2bits = _mm256_subs_epu8(_mm256_alignr_epi8(v, halves, 14), _mm256_set1_epi8(static_cast<char>(0xE0)));
    const __m256i low = _mm256_or_si256(_mm256_and_si256(v, _mm256_set1_epi8(0x7F)),
                                        _mm256_slli_epi16(_mm256_and_si256(x1, _mm256_set1_epi8(0x03)), 6));
    const __m256i high = _mm256_or_si256(_mm256_srli_epi16(_mm256_and_si256(x1, _mm256_set1_epi8(0x3C)), 2),
                                         _mm256_slli_epi16(x2bits, 4));
    // lanes of bytes 0-7 and 16-23, then of bytes 8-15 and 24-31
    const unsigned e0 = ends & 0xFF, e1 = ends >> 8 & 0xFF, e2 = ends >> 16 & 0xFF, e3 = ends >> 24;
    const __m256i first = _mm256_shuffle_epi8(_mm256_unpacklo_epi8(low, high), PackShuffles(e0, e2));
    const __m256i second = _mm256_shuffle_epi8(_mm256_unpackhi_epi8(low, high), PackShuffles(e1, e3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(first));
    o += kPack.count[e0];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(second));
    o += kPack.count[e1];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_extracti128_si256(first, 1));
    o += kPack.count[e2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_extracti128_si256(second, 1));
    o += kPack.count[e3];
}

__attribute__((target("avx2"), always_inline)) inline void Widen32(const unsigned char* at, rx::Char* o) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(o), _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at))));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + 16),
                        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16))));
}

__attribute__((target("avx2"))) size_t DecodeAvx2(const unsigned char* b, size_t n, rx::Char* const out) {
    Stream s{b, n, out};
    const __m256i zero = _mm256_setzero_si256();
    __m256i before = zero;
    while (s.HasBlock()) {
        const auto* at = reinterpret_cast<const __m256i*>(b + s.i);
        const __m256i v0 = _mm256_loadu_si256(at), v1 = _mm256_loadu_si256(at + 1);
        if (s.AsciiBlock(Mask64(v0, v1), static_cast<unsigned>(_mm256_movemask_epi8(before)) & 0xC0000000u)) {
            Widen32(b + s.i, s.o);
            Widen32(b + s.i + 32, s.o + 32);
            s.o += kBlock;
            s.Passed();
            before = v1;
            continue;
        }
        const __m256i f0 = Faults256(v0, before), f1 = Faults256(v1, v0);
        if (!_mm256_testz_si256(_mm256_or_si256(f0, f1), _mm256_or_si256(f0, f1))) {
            // (only the upper half of `before` is read)
            Stream aside = s;
            before = _mm256_inserti128_si256(zero, aside.SlowBlocks(_mm256_extracti128_si256(before, 1)), 1);
            s = aside;
            continue;
        }
        const __m256i below = _mm256_set1_epi8(-64);
        const uint64_t ends = s.Ends(Mask64(_mm256_cmpgt_epi8(below, v0), _mm256_cmpgt_epi8(below, v1)));
        TakeEnds256(v0, before, static_cast<unsigned>(ends), s.o);
        TakeEnds256(v1, v0, static_cast<unsigned>(ends >> 32), s.o);
        s.Passed();
        before = v1;
    }
    Stream last = s;
    return last.Finish(out);
}

// WellFormedUnits sixteen bytes at a time: each byte lane counts its hits down from zero (two at
// most per round), summed across lanes before a lane could wrap.
__attribute__((target("sse2"))) size_t WellFormedUnitsSse2(const unsigned char* b, size_t n, size_t& i) {
    const __m128i belowLeads = _mm_set1_epi8(-65);  // BF as a signed byte: ASCII and C0-FF lie above it
    const __m128i fourByteLeads = _mm_set1_epi8(static_cast<char>(0xF0));
    const __m128i zero = _mm_setzero_si128();
    size_t units = 0;
    while (i + 16 <= n) {
        __m128i hits = zero;
        for (size_t round = 0; round < 127 && i + 16 <= n; ++round, i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
            hits = _mm_sub_epi8(hits, _mm_cmpgt_epi8(v, belowLeads));
            hits = _mm_sub_epi8(hits, _mm_cmpeq_epi8(_mm_max_epu8(v, fourByteLeads), v));
        }
        const __m128i sums = _mm_sad_epu8(hits, zero);
        units += static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
    return units;
}

bool HasSse2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
}

DecodePath AskProcessor() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return DecodePath::Avx2;
    return __builtin_cpu_supports("ssse3") ? DecodePath::Ssse3 : DecodePath::Scalar;
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
    case DecodePath::Avx2: return DecodeAvx2(b, utf8.size(), out);
    case DecodePath::Ssse3: return DecodeSsse3(b, utf8.size(), out);
    case DecodePath::Scalar: break;
    }
#endif
    return rx::FromUtf8(utf8, out);
}

size_t WellFormedUnits(std::string_view utf8) {
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t units = 0, i = 0;
#if RXGREP_X86
    static const bool sse2 = HasSse2();
    if (sse2) units = WellFormedUnitsSse2(b, utf8.size(), i);
#endif
    for (; i < utf8.size(); ++i) units += ((b[i] & 0xC0) != 0x80) + (b[i] >= 0xF0);
    return units;
}

namespace {

bool StartsACharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// Decoding stops and starts again without a trace at a byte that is no continuation byte: the
// one-at-a-time reading never takes such a byte into the character before it, and the vector
// path takes whole characters only. So a text cut at such bytes decodes, piece by piece, to the
// units of the whole.
size_t StartAtOrAfter(std::string_view s, size_t from) {
    while (from < s.size() && !StartsACharacter(s[from])) ++from;
    return from;
}

// Below this much room left the first half's last bytes go to a buffer of their own: slicing
// on would cost more calls than it saves copying.
constexpr size_t kLeastSlice = 64;

// The first half, decoded into out without writing at or past out + room (where the second
// half's units already go): in slices of no more bytes than the room left, as a slice never
// decodes to more units than it has bytes, each ending where a character starts. For
// well-formed text the room is exactly what the half needs and the slices soon reach its end;
// what is left when the room has run low (broken bytes that decode to more units than the
// room predicted) is decoded into `rest`. Returns the units written at out.
size_t DecodeFirstHalf(std::string_view half, rx::Char* out, size_t room, DecodePath path, std::vector<rx::Char>& rest) {
    size_t from = 0, written = 0;
    while (from < half.size() && room - written >= kLeastSlice) {
        size_t to = std::min(half.size(), from + (room - written));
        while (to > from && to < half.size() && !StartsACharacter(half[to])) --to;
        if (to == from) break;
        written += DecodeUtf8(half.substr(from, to - from), out + written, path);
        from = to;
    }
    if (from < half.size()) {
        rest.resize(half.size() - from);
        rest.resize(DecodeUtf8(half.substr(from), rest.data(), path));
    }
    return written;
}

}  // namespace

namespace {

// The second half goes to whichever thread reaches it first: the helper, or the caller once the
// first half is done, when the system has not run the helper by then (a new thread may wait
// milliseconds for a processor, on a busy machine or a virtual one), so that the second thread
// never leaves the decoding slower than one thread would be. The helper owns its share of this,
// as the caller may return before the helper ever runs.
struct SecondHalf {
    std::string_view bytes;
    rx::Char* out;
    DecodePath path;
    std::atomic<bool> taken{false};
    std::promise<size_t> units;  // set by the helper when it took the half

    SecondHalf(std::string_view b, rx::Char* o, DecodePath p) : bytes(b), out(o), path(p) {}
    bool Take() { return !taken.exchange(true); }
    size_t Decode() const { return DecodeUtf8(bytes, out, path); }
    void Help() {
        if (Take()) units.set_value(Decode());
    }
};

// Starts the helper on a detached thread of its own, away from the caller's processor; false
// when none can be started.
bool StartHelper(std::shared_ptr<SecondHalf> job) {
#ifdef __linux__
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    PlaceAwayFromCaller(attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    auto* handed = new std::shared_ptr<SecondHalf>(std::move(job));
    pthread_t thread;
    const bool started = pthread_create(&thread, &attr, [](void* p) -> void* {
        const std::unique_ptr<std::shared_ptr<SecondHalf>> job(static_cast<std::shared_ptr<SecondHalf>*>(p));
        (*job)->Help();
        return nullptr;
    }, handed) == 0;
    pthread_attr_destroy(&attr);
    if (!started) delete handed;
    return started;
#else
    // Elsewhere the decoding stays on one thread: under Wine a run of the decoding tests with the
    // detached helper once never ended (the cause not found), and the helper saves a millisecond
    // or two of wall time at most.
    (void)job;
    return false;
#endif
}

}  // namespace

size_t DecodeUtf8InTwo(std::string_view utf8, rx::Char* out, DecodePath path, size_t twoThreadsFrom) {
    if (utf8.size() < std::max<size_t>(twoThreadsFrom, 2)) return DecodeUtf8(utf8, out, path);
    const size_t split = StartAtOrAfter(utf8, utf8.size() / 2);
    if (split >= utf8.size()) return DecodeUtf8(utf8, out, path);
    const std::string_view first = utf8.substr(0, split);
    // where the second half's units go: right after the first half's, as far as well-formed
    // text tells; never past `split`, so that they fit whatever the first half holds
    const size_t predicted = std::min(WellFormedUnits(first), split);
    auto second = std::make_shared<SecondHalf>(utf8.substr(split), out + predicted, path);
    std::future<size_t> helped = second->units.get_future();
    if (!StartHelper(second)) return DecodeUtf8(utf8, out, path);
    std::vector<rx::Char> rest;
    size_t written = 0;
    try {
        written = DecodeFirstHalf(first, out, predicted, path, rest);
    } catch (...) {
        if (!second->Take()) helped.wait();  // the helper writes into out: not past its end
        throw;
    }
    const size_t secondUnits = second->Take() ? second->Decode() : helped.get();
    const size_t firstUnits = written + rest.size();
    if (firstUnits != predicted) std::memmove(out + firstUnits, out + predicted, secondUnits * sizeof(rx::Char));
    std::copy(rest.begin(), rest.end(), out + written);
    return firstUnits + secondUnits;
}

}  // namespace rxgrep

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

// Where the vector path cannot go on (a four-byte character, a broken sequence), the
// one-at-a-time reading takes over from i up to the first byte from `from` on that is not a
// continuation byte (80-BF). That reading never takes such a byte into an earlier
// character, and looks at the byte only to see that it is no continuation: so it decodes the
// slice exactly as it decodes the same bytes inside the whole text, and stops where a character
// of the whole text starts. The vector path takes only whole, well-formed characters, so every
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

// The mixed path works on blocks of 64 bytes that start where a character starts. A block is
// first checked as a whole: every byte is ASCII, a continuation byte that a lead one or two
// places before it calls for, or such a lead (C2-DF, E0-EF) — no four-byte lead, no C0/C1, no
// overlong E0 80-9F form, no continuation byte too many or too few (surrogates ED A0-BF are
// kept as units, as the one-at-a-time reading keeps them). A block that fails goes to that
// reading up to past its first fault. A block that passes yields the characters that start in
// its first 56 bytes (they end inside it), taken in seven windows of 8 bytes at fixed places, so
// that no window waits for the one before: which bytes of the window start a character, and
// the two after it (which give the last one's length), index a table of two byte shuffles
// that gather each character's bytes into a 16-bit lane — last byte low, the one before high,
// and the third from last alone — zero where the character is shorter, so that one formula
// assembles every unit.
constexpr int kWindowBytes = 8, kWindows = 7, kWindowIndexBits = kWindowBytes + 2;

struct Window {
    int8_t lastTwo[16] = {};  // lane j: its last byte, then the one before (-1: none, read as zero)
    int8_t third[16] = {};    // lane j: -1, then the byte two before its last (-1: none)
};

struct WindowTable {
    alignas(16) Window at[1 << kWindowIndexBits];
    uint8_t count[1 << kWindowIndexBits] = {};  // characters starting in the window
    constexpr WindowTable() : at() {
        for (unsigned starts = 0; starts < (1u << kWindowIndexBits); ++starts) {
            Window& w = at[starts];
            for (int j = 0; j < 16; ++j) w.lastTwo[j] = w.third[j] = -1;
            int lane = 0;
            for (int s = 0; s < kWindowBytes; ++s) {
                if (!(starts >> s & 1)) continue;
                // the next start, or three bytes on when the index does not show it (a block
                // that passed has no longer character)
                int next = s + 1;
                while (next < s + 3 && next < kWindowIndexBits && !(starts >> next & 1)) ++next;
                const int last = next - 1, length = next - s;
                w.lastTwo[2 * lane] = static_cast<int8_t>(last);
                if (length >= 2) w.lastTwo[2 * lane + 1] = static_cast<int8_t>(last - 1);
                if (length >= 3) w.third[2 * lane + 1] = static_cast<int8_t>(last - 2);
                ++lane;
            }
            count[starts] = static_cast<uint8_t>(lane);
        }
    }
};

constexpr WindowTable kWindowTable;

// The faults of 16 bytes, given the 16 before them (zero before the block): a nonzero byte
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

__attribute__((target("ssse3"), always_inline)) inline __m128i Faults(__m128i v, __m128i before) {
    const __m128i firstHigh = _mm_setr_epi8(kLong, kLong, kLong, kLong, kLong, kLong, kLong, kLong,  // ASCII
                                            kTwoConts, kTwoConts, kTwoConts, kTwoConts,              // 80-BF
                                            kShort | kLeadC, kShort, kShort | kOverlong3, kShort | kLeadF);
    constexpr char others = kAll & ~(kOverlong3 | kLeadC);  // low nibbles 2-F
    const __m128i firstLow = _mm_setr_epi8(kAll, kAll & ~kOverlong3, others, others, others, others, others, others,
                                           others, others, others, others, others, others, others, others);
    constexpr char notCont = kShort | kLeadC | kLeadF, cont = kLong | kTwoConts | kLeadC | kLeadF;
    const __m128i secondHigh = _mm_setr_epi8(notCont, notCont, notCont, notCont, notCont, notCont, notCont, notCont,
                                             cont | kOverlong3, cont | kOverlong3, cont, cont,  // 80-9F, A0-BF
                                             notCont, notCont, notCont, notCont);
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

// The characters that start in one window: their units stored at o (eight written); returns
// how many. With x0 the last byte, x1 and x2 the ones before (zero when the character is
// shorter): x0 & 7F is the ASCII value or the continuation bits (bit 6 of a continuation byte is
// 0), x1 & 3F the lead's five bits or a continuation's six, x2 & 0F a three-byte lead's four.
__attribute__((target("ssse3"), always_inline)) inline unsigned TakeWindow(const unsigned char* at, unsigned starts,
                                                                           rx::Char* o) {
    const Window& w = kWindowTable.at[starts];
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i x0x1 = _mm_shuffle_epi8(v, _mm_load_si128(reinterpret_cast<const __m128i*>(w.lastTwo)));
    const __m128i x2 = _mm_shuffle_epi8(v, _mm_load_si128(reinterpret_cast<const __m128i*>(w.third)));
    const __m128i unit =
        _mm_or_si128(_mm_or_si128(_mm_and_si128(x0x1, _mm_set1_epi16(0x007F)),
                                  _mm_srli_epi16(_mm_and_si128(x0x1, _mm_set1_epi16(0x3F00)), 2)),
                     _mm_slli_epi16(_mm_and_si128(x2, _mm_set1_epi16(0x0F00)), 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), unit);
    return kWindowTable.count[starts];
}

__attribute__((target("ssse3"))) size_t DecodeSsse3(const unsigned char* b, size_t n, rx::Char* const out) {
    rx::Char* o = out;
    size_t i = 0;
    constexpr size_t kBlock = 64, kSlowest = 4096;
    size_t slow = kBlock;
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
        const __m128i f0 = Faults(v0, zero), f1 = Faults(v1, v0), f2 = Faults(v2, v1), f3 = Faults(v3, v2);
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(_mm_or_si128(f0, f1), _mm_or_si128(f2, f3)), zero)) != 0xFFFF) {
            // past the fault, and the further the more blocks in a row fail (text of four-byte
            // characters or of broken bytes goes to the one-by-one reading almost whole)
            const uint64_t fine = Mask64(_mm_cmpeq_epi8(f0, zero), _mm_cmpeq_epi8(f1, zero), _mm_cmpeq_epi8(f2, zero),
                                         _mm_cmpeq_epi8(f3, zero));
            const size_t first = static_cast<size_t>(__builtin_ctzll(~fine));
            i = OneByOne(b, i, std::min(n, i + std::max<size_t>(first + 1, slow)), n, o);
            slow = std::min<size_t>(slow * 2, kSlowest);
            continue;
        }
        slow = kBlock;
        const __m128i below = _mm_set1_epi8(-64);  // a continuation byte is signed below -64
        const uint64_t starts = ~Mask64(_mm_cmpgt_epi8(below, v0), _mm_cmpgt_epi8(below, v1),
                                        _mm_cmpgt_epi8(below, v2), _mm_cmpgt_epi8(below, v3));
        for (int k = 0; k < kWindows; ++k) {
            const unsigned at = static_cast<unsigned>(k * kWindowBytes);
            o += TakeWindow(b + i + at, static_cast<unsigned>(starts >> at) & ((1u << kWindowIndexBits) - 1), o);
        }
        // on to the first character that starts past the windows (a block that passed has one
        // within three bytes)
        constexpr unsigned taken = kWindows * kWindowBytes;
        i += taken + static_cast<size_t>(__builtin_ctzll(starts >> taken));
    }
    if (i < n) o += rx::FromUtf8(std::string_view(reinterpret_cast<const char*>(b + i), n - i), o);
    return static_cast<size_t>(o - out);
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

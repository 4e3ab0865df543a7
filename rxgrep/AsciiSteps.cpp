#include "rxgrep/AsciiSteps.h"

#include <climits>
#include <string_view>

#if defined(__x86_64__) || defined(__i386__)
#define RXGREP_X86 1
#include <immintrin.h>
#endif

#include "regexp/CaseFold.h"
#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "regexp/Searcher.h"

namespace rxgrep {

namespace {

// Longer patterns are left to the engine: a bound that keeps the step reckoning below well
// inside the engine's fixed allowance, and the sets small.
constexpr size_t kMostSteps = 1024;

// The units one step of this kind takes, when all are ASCII; false when any is not (or the
// step is `.`, any unit but the line feed).
bool AsciiUnitsOf(const rx::Program& program, rx::UnitKind kind, int32_t operand, ByteSet& set) {
    switch (kind) {
    case rx::UnitKind::Char:
        if (operand < 0 || operand >= 0x80) return false;
        set.Add(static_cast<unsigned char>(operand));
        return true;
    case rx::UnitKind::CharFold: {
        // the units the engine takes for this one: every unit of its fold
        bool ascii = true;
        rx::ForEachUnitFoldingTo(static_cast<uint16_t>(operand), [&](uint16_t u) {
            if (u >= 0x80) ascii = false;
            else set.Add(static_cast<unsigned char>(u));
        });
        return ascii;
    }
    case rx::UnitKind::Set:
        // (under IgnoreCase the compiled class holds every unit of its members' folds already)
        for (const auto& [lo, hi] : program.sets[static_cast<size_t>(operand)].Ranges()) {
            if (hi >= 0x80) return false;
            for (unsigned u = lo; u <= hi; ++u) set.Add(static_cast<unsigned char>(u));
        }
        return true;
    case rx::UnitKind::Any: return false;
    }
    return false;
}

bool AppendSteps(const rx::Program& program, rx::UnitKind kind, int32_t operand, int64_t count,
                 std::vector<ByteSet>& sets) {
    ByteSet set;
    if (count < 0 || static_cast<uint64_t>(count) > kMostSteps - sets.size() || !AsciiUnitsOf(program, kind, operand, set))
        return false;
    sets.insert(sets.end(), static_cast<size_t>(count), set);
    return true;
}

// Whether each start the engine's search loop tries is a match: it looks for a literal prefix
// as long as the pattern, or tests a match's first units up to the pattern's length with the
// very sets the steps take.
bool EngineTriesOnlyMatches(const rx::Program& program, size_t length) {
    const rx::StartInfo& start = program.start;
    if (!start.prefix.empty()) return start.prefix.size() >= length;
    const auto& f = start.filter;
    return start.anchor == rx::StartInfo::Anchor::None && f.length >= length && f.same.empty() && f.edges.empty();
}

// ---- Finding the occurrences -------------------------------------------------------------

// A set as up to sixteen ranges of bytes for a vector test (sixteen were still faster than
// looking each byte up, in rxgrepbench): per range its low end and its width
// (high - low), each repeated over sixteen lanes. A byte lies in a range when byte - low,
// wrapping, is at most the width: a byte of 0x80 or more never does, the ranges being ASCII.
constexpr int kVectorRanges = 16;
struct VectorSet {
    int ranges = -1;  // -1: more than kVectorRanges (the bytes are then looked up one by one)
    unsigned char low[kVectorRanges][16] = {}, width[kVectorRanges][16] = {};
};

VectorSet VectorSetOf(const ByteSet& set) {
    VectorSet v;
    int ranges = 0;
    for (unsigned b = 0; b < 0x80; ++b) {
        if (!set.Has(static_cast<unsigned char>(b))) continue;
        unsigned hi = b;
        while (hi + 1 < 0x80 && set.Has(static_cast<unsigned char>(hi + 1))) ++hi;
        if (ranges == kVectorRanges) return v;
        for (int lane = 0; lane < 16; ++lane) {
            v.low[ranges][lane] = static_cast<unsigned char>(b);
            v.width[ranges][lane] = static_cast<unsigned char>(hi - b);
        }
        ++ranges;
        b = hi;
    }
    if (ranges > 0) v.ranges = ranges;
    return v;
}

bool HoldsFrom(const std::vector<ByteSet>& sets, const char* at, size_t k) {
    for (; k < sets.size(); ++k)
        if (!sets[k].Has(static_cast<unsigned char>(at[k]))) return false;
    return true;
}

// The leftmost non-overlapping occurrences that start at or after `from`, a byte at a time
// (with firstOnly, up to the first).
uint64_t CountOneByOne(std::string_view hay, const std::vector<ByteSet>& sets, size_t from, bool firstOnly) {
    uint64_t count = 0;
    for (size_t p = from; p + sets.size() <= hay.size();) {
        if (!HoldsFrom(sets, hay.data() + p, 0)) {
            ++p;
            continue;
        }
        ++count;
        if (firstOnly) break;
        p += sets.size();
    }
    return count;
}

#if RXGREP_X86

bool HasSse2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
}

__attribute__((target("sse2"), always_inline)) inline __m128i InRange(const VectorSet& s, int k, __m128i x) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.low[k]));
    const __m128i width = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.width[k]));
    return _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(x, low), width), _mm_setzero_si128());
}

// 0xFF in each lane whose byte lies in the set (a range of one byte: a plain comparison). The
// loops that call it store nothing but locals, so that the ranges need not be read again after
// each store (bytes may alias anything); for a set of one range (kOneRange: most sets) they
// stay in registers, with no loop over ranges.
template <bool kOneRange>
__attribute__((target("sse2"), always_inline)) inline __m128i InSet(const VectorSet& s, __m128i x) {
    if constexpr (kOneRange) return InRange(s, 0, x);
    __m128i in = _mm_setzero_si128();
    for (int k = 0; k < s.ranges; ++k) {
        if (s.width[k][0] == 0) in = _mm_or_si128(in, _mm_cmpeq_epi8(x, _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.low[k]))));
        else in = _mm_or_si128(in, InRange(s, k, x));
    }
    return in;
}

// Bytes in the set (of one range at least), sixteen at a time: each lane counts its hits down
// from zero, summed across lanes before one could wrap. Returns the count of hay[0, end); end
// is where it stopped.
template <bool kOneRange>
__attribute__((target("sse2"))) uint64_t CountInSetSse2(const char* hay, size_t n, const VectorSet& s, size_t& end) {
    const __m128i zero = _mm_setzero_si128();
    uint64_t count = 0;
    size_t i = 0;
    while (i + 16 <= n) {
        __m128i hits = zero;
        for (int round = 0; round < 255 && i + 16 <= n; ++round, i += 16)
            hits = _mm_sub_epi8(hits, InSet<kOneRange>(s, _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i))));
        const __m128i sums = _mm_sad_epu8(hits, zero);
        count += static_cast<uint64_t>(_mm_cvtsi128_si32(sums)) + static_cast<uint64_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
    end = i;
    return count;
}

// The leftmost non-overlapping occurrences, sixteen starts at a time: where the first and the
// last offsets' sets both hold (far fewer places than where the first alone does) each start
// is checked whole, unless it lies inside the occurrence before. Stops where the vectors run
// out, or after the first occurrence with firstOnly; `next` is then where the caller goes on
// (no occurrence before it is left uncounted, none counted starts at or after it).
template <bool kFirstOneRange, bool kLastOneRange>
__attribute__((target("sse2"))) uint64_t CountSse2(std::string_view hay, const std::vector<ByteSet>& sets,
                                                   const VectorSet& first, const VectorSet& last, bool firstOnly,
                                                   size_t& next) {
    const size_t m = sets.size(), n = hay.size();
    const char* bytes = hay.data();
    uint64_t count = 0;
    size_t from = 0, end = 0;  // end: where the last occurrence ended
    for (; from + m - 1 + 16 <= n; from += 16) {
        if (from < end) {
            from = end;  // (a long occurrence may cover whole blocks)
            if (from + m - 1 + 16 > n) break;
        }
        __m128i both = InSet<kFirstOneRange>(first, _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from)));
        if (m > 1) both = _mm_and_si128(both, InSet<kLastOneRange>(last, _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from + m - 1))));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(both)); mask; mask &= mask - 1) {
            const size_t at = from + static_cast<size_t>(__builtin_ctz(mask));
            if (at < end || !HoldsFrom(sets, bytes + at, 1)) continue;
            ++count;
            end = at + m;
            if (firstOnly) {
                next = n;
                return count;
            }
        }
    }
    next = from > end ? from : end;
    return count;
}

#endif  // RXGREP_X86

// The sets with the vector forms of the two the search looks at first.
class Occurrences {
public:
    explicit Occurrences(const std::vector<ByteSet>& sets)
        : sets_(sets), first_(VectorSetOf(sets.front())), last_(VectorSetOf(sets.back())) {
#if RXGREP_X86
        static const bool sse2 = HasSse2();
        vector_ = sse2 && first_.ranges >= 0 && last_.ranges >= 0;
#endif
    }

    // Of a one-byte pattern: the bytes in its set.
    uint64_t CountBytes(std::string_view hay) const {
        size_t i = 0;
        uint64_t count = 0;
#if RXGREP_X86
        if (vector_)
            count = first_.ranges == 1 ? CountInSetSse2<true>(hay.data(), hay.size(), first_, i)
                                       : CountInSetSse2<false>(hay.data(), hay.size(), first_, i);
#endif
        for (; i < hay.size(); ++i) count += sets_[0].Has(static_cast<unsigned char>(hay[i]));
        return count;
    }

    uint64_t Count(std::string_view hay, bool firstOnly) const {
        size_t next = 0;
        uint64_t count = 0;
#if RXGREP_X86
        if (vector_) {
            const bool firstOne = first_.ranges == 1, lastOne = last_.ranges == 1;
            count = firstOne && lastOne ? CountSse2<true, true>(hay, sets_, first_, last_, firstOnly, next)
                    : firstOne          ? CountSse2<true, false>(hay, sets_, first_, last_, firstOnly, next)
                    : lastOne           ? CountSse2<false, true>(hay, sets_, first_, last_, firstOnly, next)
                                        : CountSse2<false, false>(hay, sets_, first_, last_, firstOnly, next);
        }
        if (firstOnly && count) return count;
#endif
        return count + CountOneByOne(hay, sets_, next, firstOnly);
    }

private:
    const std::vector<ByteSet>& sets_;
    VectorSet first_, last_;
    bool vector_ = false;
};

}  // namespace

AsciiSteps AsciiStepsOf(const rx::Program& program) {
    const auto& code = program.code;
    AsciiSteps steps;
    uint64_t cost = 0;  // the backtracker's steps on one start, as it charges them
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(rx::InstrSize(code.data(), pc))) {
        const int32_t* arg = code.data() + pc + 1;
        ++cost;
        bool plain = true;
        switch (static_cast<rx::Op>(code[pc])) {
        case rx::Op::Save: break;  // a group changes nothing of what is matched
        case rx::Op::Char: plain = AppendSteps(program, rx::UnitKind::Char, arg[0], 1, steps.sets); break;
        case rx::Op::CharFold: plain = AppendSteps(program, rx::UnitKind::CharFold, arg[0], 1, steps.sets); break;
        case rx::Op::Set: plain = AppendSteps(program, rx::UnitKind::Set, arg[0], 1, steps.sets); break;
        case rx::Op::String:
        case rx::Op::StringFold: {
            const auto kind = static_cast<rx::Op>(code[pc]) == rx::Op::String ? rx::UnitKind::Char : rx::UnitKind::CharFold;
            for (int32_t k = 0; plain && k < arg[0]; ++k) plain = AppendSteps(program, kind, arg[1 + k], 1, steps.sets);
            break;
        }
        case rx::Op::Star:
        case rx::Op::StarLazy:
        case rx::Op::StarAtomic:
            // a repeat of as many at least as at most: that many steps, nothing to give back
            plain = arg[2] == arg[3] && AppendSteps(program, static_cast<rx::UnitKind>(arg[0]), arg[1], arg[2], steps.sets);
            cost += static_cast<uint64_t>(arg[3]);  // a step per unit the loop takes
            break;
        case rx::Op::Match: {
            if (pc + 1 != code.size() || steps.sets.empty()) return {};
            // and a step per sixteen group slots cleared at the start
            steps.stepsPerStart = cost + (2 * (static_cast<uint64_t>(program.groupCount) + 1)) / 16 + 1;
            steps.everyStartMatches = EngineTriesOnlyMatches(program, steps.sets.size());
            return steps;
        }
        default: plain = false; break;
        }
        if (!plain) return {};
    }
    return {};
}

// The engine's searcher gives such a program to the backtracker alone (there is no choice for
// its automaton), with an allowance of kBaseSteps + kStepsPerUnit steps per unit of the text
// before the linear matcher takes over, and each search at most half the budget while the
// allowance lasts. Where every start the search loop tries is a match, a search costs one
// start's steps, and a run no more than one start's steps per match of the pattern's length:
// within the allowance while a start costs no more than kStepsPerUnit per unit it takes. Else
// failed starts cost their steps too; each position is a start at most once in a run (it goes
// on from each match's end), so a run spends at most stepsPerStart × (units + 1), which is kept
// within the allowance and half the budget as for counting by windows (LineWindows.cpp). Units
// never outnumber the bytes they are decoded from.
bool EngineCountsWithinBudget(const AsciiSteps& steps, uint64_t stepBudget, size_t utf8Bytes) {
    if (steps.sets.empty() || stepBudget < rx::RegExp::DefaultStepBudget) return false;
    if (utf8Bytes >= static_cast<size_t>(INT32_MAX) - 1) return false;  // the engine's "Out of memory"
    const uint64_t length = steps.sets.size(), perStart = steps.stepsPerStart;
    if (steps.everyStartMatches) return perStart <= rx::Searcher::kStepsPerUnit * length;
    return perStart <= rx::Searcher::kStepsPerUnit && static_cast<uint64_t>(utf8Bytes) + 1 <= stepBudget / 2 / perStart;
}

uint64_t CountOccurrences(std::string_view hay, const std::vector<ByteSet>& sets, bool firstOnly) {
    for (const ByteSet& set : sets)
        if (set == ByteSet{}) return 0;  // an empty class: nothing matches
    const Occurrences occurrences(sets);
    if (sets.size() == 1 && !firstOnly) return occurrences.CountBytes(hay);
    return occurrences.Count(hay, firstOnly);
}

}  // namespace rxgrep

#include "rxgrep/Literal.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define RXGREP_X86 1
#include <immintrin.h>
#endif

#include "regexp/CaseFold.h"
#include "regexp/Program.h"

namespace rxgrep {

namespace {

// The ASCII unit a case-insensitive step compares with, when that unit alone has its fold; -1
// for a fold shared with other units (a letter: 'k' with 'K' and the Kelvin sign) or above ASCII.
int AloneInItsFold(uint16_t folded) {
    int units = 0, only = -1;
    rx::ForEachUnitFoldingTo(folded, [&](uint16_t u) {
        ++units;
        only = u;
    });
    return units == 1 && only == folded && folded < 0x80 ? only : -1;
}

bool AppendAscii(std::string& out, int32_t unit) {
    if (unit < 0 || unit >= 0x80) return false;
    out += static_cast<char>(unit);
    return true;
}

#if RXGREP_X86

bool HasSse2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
}

// Bytes equal to c, sixteen at a time: each lane counts its hits down from zero, summed across
// lanes before one could wrap. Returns the count of hay[0, i); i is where it stopped.
__attribute__((target("sse2"))) uint64_t CountByteSse2(const char* hay, size_t n, char c, size_t& i) {
    const __m128i needle = _mm_set1_epi8(c), zero = _mm_setzero_si128();
    uint64_t count = 0;
    while (i + 16 <= n) {
        __m128i hits = zero;
        for (int round = 0; round < 255 && i + 16 <= n; ++round, i += 16)
            hits = _mm_sub_epi8(hits, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i)), needle));
        const __m128i sums = _mm_sad_epu8(hits, zero);
        count += static_cast<uint64_t>(_mm_cvtsi128_si32(sums)) + static_cast<uint64_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
    return count;
}

// The first place at or after `from` where the needle (two bytes or more) stands: sixteen places
// at a time where its first and last bytes both stand (far fewer than where its first byte
// alone does), each then compared whole. npos when none is found before the vectors run out at
// `from`, which the caller finishes.
__attribute__((target("sse2"))) size_t FindSse2(std::string_view hay, std::string_view needle, size_t& from) {
    const size_t m = needle.size();
    const __m128i first = _mm_set1_epi8(needle[0]), last = _mm_set1_epi8(needle[m - 1]);
    for (; from + m - 1 + 16 <= hay.size(); from += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay.data() + from));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay.data() + from + m - 1));
        auto both = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        for (; both; both &= both - 1) {
            const size_t at = from + static_cast<size_t>(__builtin_ctz(both));
            if (!std::memcmp(hay.data() + at + 1, needle.data() + 1, m - 2)) return at;
        }
    }
    return std::string_view::npos;
}

#endif  // RXGREP_X86

uint64_t CountByte(std::string_view hay, char c) {
    size_t i = 0;
    uint64_t count = 0;
#if RXGREP_X86
    static const bool sse2 = HasSse2();
    if (sse2) count = CountByteSse2(hay.data(), hay.size(), c, i);
#endif
    return count + static_cast<uint64_t>(std::count(hay.begin() + static_cast<std::ptrdiff_t>(i), hay.end(), c));
}

size_t Find(std::string_view hay, std::string_view needle, size_t from) {
#if RXGREP_X86
    static const bool sse2 = HasSse2();
    if (sse2 && needle.size() >= 2) {
        const size_t at = FindSse2(hay, needle, from);
        if (at != std::string_view::npos) return at;
    }
#endif
    return hay.find(needle, from);
}

}  // namespace

std::string AsciiLiteral(const rx::Program& program) {
    const auto& code = program.code;
    std::string literal;
    size_t pc = 0;
    while (pc < code.size()) {
        const auto op = static_cast<rx::Op>(code[pc]);
        const int32_t* arg = code.data() + pc + 1;
        bool plain = true;
        switch (op) {
        case rx::Op::Save: break;  // a group changes nothing of what is matched
        case rx::Op::Char: plain = AppendAscii(literal, arg[0]); break;
        case rx::Op::CharFold: plain = AppendAscii(literal, AloneInItsFold(static_cast<uint16_t>(arg[0]))); break;
        case rx::Op::String:
            for (int32_t k = 0; plain && k < arg[0]; ++k) plain = AppendAscii(literal, arg[1 + k]);
            break;
        case rx::Op::StringFold:
            for (int32_t k = 0; plain && k < arg[0]; ++k)
                plain = AppendAscii(literal, AloneInItsFold(static_cast<uint16_t>(arg[1 + k])));
            break;
        case rx::Op::Match: return pc + 1 == code.size() ? literal : std::string();
        default: plain = false; break;
        }
        if (!plain) return {};
        pc += static_cast<size_t>(rx::InstrSize(code.data(), pc));
    }
    return {};
}

uint64_t CountOccurrences(std::string_view hay, std::string_view needle, bool firstOnly) {
    if (needle.size() == 1 && !firstOnly) return CountByte(hay, needle[0]);
    uint64_t count = 0;
    for (size_t at = Find(hay, needle, 0); at != std::string_view::npos; at = Find(hay, needle, at + needle.size())) {
        ++count;
        if (firstOnly) break;
    }
    return count;
}

}  // namespace rxgrep

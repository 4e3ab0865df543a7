#include "rxgrep/Prefilter.h"

#include <algorithm>
#include <cstring>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "regexp/Program.h"

namespace rxgrep {

namespace {

// A unit that decoding yields only from its own UTF-8 form: every unit but U+FFFD (which broken
// bytes become too) and the surrogates (which four-byte characters become too). An ASCII unit,
// for one, comes only from its own byte, never from part of a longer sequence.
bool OnlyFromItsOwnBytes(uint16_t u) { return u != 0xFFFD && (u < 0xD800 || u >= 0xE000); }

void AppendUtf8(std::string& out, uint16_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// The longest stretch of the units whose bytes a matching text must hold in a row (consecutive
// characters decode from consecutive bytes), as UTF-8; empty when there is none.
std::string RequiredBytes(const std::basic_string<uint16_t>& units) {
    std::string best, run;
    for (uint16_t u : units) {
        if (OnlyFromItsOwnBytes(u)) {
            AppendUtf8(run, u);
            continue;
        }
        if (run.size() > best.size()) best.swap(run);
        run.clear();
    }
    return run.size() > best.size() ? run : best;
}

// Whether the bytes hold the needle. Sixteen places at a time where the needle's first and last
// bytes both stand (far fewer than where its first byte alone does: a letter is common), each
// then compared whole.
bool Contains(std::string_view hay, const std::string& needle) {
    const size_t m = needle.size();
    if (m > hay.size()) return false;
    size_t p = 0;
#ifdef __SSE2__
    if (m >= 2) {
        const __m128i first = _mm_set1_epi8(needle[0]), last = _mm_set1_epi8(needle[m - 1]);
        for (; p + m - 1 + 16 <= hay.size(); p += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay.data() + p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay.data() + p + m - 1));
            auto both = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
            for (; both; both &= both - 1)
                if (!std::memcmp(hay.data() + p + static_cast<size_t>(__builtin_ctz(both)), needle.data(), m)) return true;
        }
    }
#endif
    return hay.find(needle, p) != std::string_view::npos;
}

}  // namespace

bool RulesOutEveryMatch(const rx::Program& program, std::string_view utf8) {
    const rx::StartInfo& start = program.start;
    std::basic_string<uint16_t> literals[2] = {start.prefix, {}};
    if (start.requiredUnit >= 0) literals[1].push_back(static_cast<uint16_t>(start.requiredUnit));
    return std::any_of(std::begin(literals), std::end(literals), [&](const auto& units) {
        const std::string bytes = RequiredBytes(units);
        return !bytes.empty() && !Contains(utf8, bytes);
    });
}

}  // namespace rxgrep

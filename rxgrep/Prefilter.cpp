#include "rxgrep/Prefilter.h"

#include <algorithm>
#include <string>

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

}  // namespace

bool RulesOutEveryMatch(const rx::Program& program, std::string_view utf8) {
    const rx::StartInfo& start = program.start;
    std::basic_string<uint16_t> literals[2] = {start.prefix, {}};
    if (start.requiredUnit >= 0) literals[1].push_back(static_cast<uint16_t>(start.requiredUnit));
    return std::any_of(std::begin(literals), std::end(literals), [&](const auto& units) {
        const std::string bytes = RequiredBytes(units);
        return !bytes.empty() && utf8.find(bytes) == std::string_view::npos;
    });
}

}  // namespace rxgrep

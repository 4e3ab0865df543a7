// Counting on the raw UTF-8 bytes a pattern that matches exactly the strings of one fixed
// length whose unit at each offset is one of a set of ASCII characters (`[ab]`, `\d\d`,
// `x[0-9]y`, a plain literal being the case of one-character sets). An ASCII byte is never part
// of another character's UTF-8 form, and decoding turns every ASCII byte into the unit of the
// same value and every other byte into units above ASCII, which no such set holds. So the
// pattern's occurrences in the bytes are its occurrences in the decoded text, in the same order:
// the same leftmost, non-overlapping ones the engine counts, found without decoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace rx {
class Program;
}

namespace rxgrep {

// A set of ASCII bytes; a byte of 0x80 or more is never in it.
class ByteSet {
public:
    void Add(unsigned char b) {
        if (b < 0x80) bits_[b >> 6] |= uint64_t{1} << (b & 63);
    }
    bool Has(unsigned char b) const { return b < 0x80 && ((bits_[b >> 6] >> (b & 63)) & 1); }
    bool operator==(const ByteSet&) const = default;

private:
    uint64_t bits_[2] = {0, 0};
};

struct AsciiSteps {
    // What each offset of a match may hold; empty when the program is no such pattern.
    std::vector<ByteSet> sets;
    // The most steps the engine's backtracker spends on one start of a match.
    uint64_t stepsPerStart = 0;
    // Every start the engine's search loop tries is a match (its own test of a match's first
    // units covers every offset), so no attempt fails and none costs steps in vain.
    bool everyStartMatches = false;
};

// The steps of a compiled program that is a sequence of single-unit steps, each of a set of
// ASCII units only, and nothing else: characters, strings and classes (under IgnoreCase with
// every unit of their fold, none of which may lie above ASCII), a repeat of one of those with
// as many at least as at most, groups; no choice, loop of varying count, anchor, assertion,
// look-ahead or back-reference. Empty sets where it is not.
AsciiSteps AsciiStepsOf(const rx::Program& program);

// Whether the engine, counting this pattern over the text these many UTF-8 bytes decode to
// with that step budget, is sure to give its count rather than run out of steps: the budget
// is the default one or more (a lowered budget is the engine's to spend), the text is within the
// engine's 32-bit positions, and the steps its run can spend stay within what each search is
// allowed.
bool EngineCountsWithinBudget(const AsciiSteps& steps, uint64_t stepBudget, size_t utf8Bytes);

// The leftmost non-overlapping places in `hay` where each byte lies in its offset's set (sets
// not empty); with firstOnly, whether there is one (1 or 0).
uint64_t CountOccurrences(std::string_view hay, const std::vector<ByteSet>& sets, bool firstOnly);

}  // namespace rxgrep

#include "rxgrep/LineWindows.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "regexp/CaseFold.h"
#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "regexp/Searcher.h"
#include "rxgrep/Decode.h"

// Why a window's count is the whole text's count for the matches that start in it.
//
// The text is cut just after line feeds. A window that is not the text's last is given to the
// engine without its closing line feed; the last one is given whole.
//
// 1. No step of the program can take a line feed (StepsPerStart checks every unit, string,
//    class, `.` and loop, inside look-aheads too; `.` here is any unit but the line feed, and a
//    case-insensitive step is checked against the line feed's fold). So a match, and every look
//    ahead on the way to it, reads no further than the line feed that follows its start, and no
//    match starts past a line feed and ends before it.
// 2. What a step looks at around a position: the assertions look at the unit before and the
//    unit at the position, nothing else. At a window's start the unit before is a line feed in
//    the whole text and nothing in the window: `^` under multiline holds after both; `\b` and
//    `\B` see a non-word unit either way. At a window's end (where its line feed stood) the unit
//    at the position is a line feed in the whole text and nothing in the window: `$` under
//    multiline holds before both; `\b` and `\B` again see a non-word unit; every consuming step
//    fails on both (1). `^` and `$` without multiline (the start and end of the whole text) are
//    not allowed: they would hold at every window's edge.
// 3. So an attempt at any position of a window, its end included, has the same outcome and the
//    same end in the window as in the whole text. The global run goes from each match's end (one
//    unit further after an empty one) to the leftmost next match; a match ends at the latest at
//    a window's end (1), so the run of the whole text passes each window's start with no match
//    across it, and within a window it finds what the window's own run finds. The position just
//    after a line feed is the next window's start, counted there; the text's very end is the
//    last window's end, which that window keeps.
// 4. Decoding: a line feed is a byte of its own in UTF-8, never part of another character, and
//    the decoder reads no byte past it to finish a sequence before it (a cut sequence before a
//    line feed is broken the same way whether more follows or not). So the windows' units,
//    joined, are the whole text's units.
// 5. The step budget: see StepsPerStart and CountableByWindows.

namespace rxgrep {

namespace {

constexpr uint16_t kLineFeed = 0x0A;

bool FoldsLikeLineFeed(int32_t folded) { return static_cast<uint16_t>(folded) == rx::FoldCase(kLineFeed); }

// Whether the single-unit step of this kind and operand can take a line feed.
bool TakesLineFeed(const rx::Program& program, rx::UnitKind kind, int32_t operand) {
    switch (kind) {
    case rx::UnitKind::Char: return static_cast<uint16_t>(operand) == kLineFeed;
    case rx::UnitKind::CharFold: return FoldsLikeLineFeed(operand);
    case rx::UnitKind::Set: return program.sets[static_cast<size_t>(operand)].Contains(kLineFeed);
    case rx::UnitKind::Any: return false;  // the dialect's `.`: any unit but the line feed
    }
    return true;
}

bool StringTakesLineFeed(const int32_t* arg, bool fold) {
    for (int32_t k = 0; k < arg[0]; ++k)
        if (fold ? FoldsLikeLineFeed(arg[1 + k]) : static_cast<uint16_t>(arg[1 + k]) == kLineFeed) return true;
    return false;
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

// Where the window that starts at `start` ends: just after the last line feed within
// `windowBytes` bytes, else just after the first one past them, else at the text's end.
size_t WindowEnd(std::string_view utf8, size_t start, size_t windowBytes) {
    const size_t limit = windowBytes < utf8.size() - start ? start + windowBytes : utf8.size();
    if (limit == utf8.size()) return limit;
    const size_t before = utf8.rfind('\n', limit - 1);
    if (before != std::string_view::npos && before >= start) return before + 1;
    const size_t after = utf8.find('\n', limit);
    return after == std::string_view::npos ? utf8.size() : after + 1;
}

}  // namespace

// The backtracking matcher charges a step for each instruction it runs, one per unit a loop
// takes, one per record it pops or looks over on a look-ahead's close, a step per sixteen group
// slots cleared at an attempt's start, and one per failed start in the search loop. In a program
// of only the instructions below, the code is run front to back once per attempt (no choice, no
// jump back), the stack holds records only inside a look-ahead (a mark, and the undo record of
// a group written after it), each popped or looked over a bounded number of times; a loop is
// bounded by its maximum. What one start can cost is then a fixed number, which the sum below
// does not fall short of. Anything else (choices, loops without a maximum, back-references,
// the whole text's own start and end) gives 0.
uint64_t StepsPerStart(const rx::Program& program) {
    const auto& code = program.code;
    uint64_t steps = 0, records = 0;
    bool lookAhead = false;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(rx::InstrSize(code.data(), pc))) {
        const int32_t* arg = code.data() + pc + 1;
        steps = SaturatingAdd(steps, 1);
        switch (static_cast<rx::Op>(code[pc])) {
        case rx::Op::Match:
        case rx::Op::Any:
        case rx::Op::LineStartM:
        case rx::Op::LineEndM:
        case rx::Op::WordBoundary:
        case rx::Op::NotWordBoundary:
        case rx::Op::LookEnd:
        case rx::Op::NegLookEnd: break;
        case rx::Op::Char: if (TakesLineFeed(program, rx::UnitKind::Char, arg[0])) return 0; break;
        case rx::Op::CharFold: if (TakesLineFeed(program, rx::UnitKind::CharFold, arg[0])) return 0; break;
        case rx::Op::Set: if (TakesLineFeed(program, rx::UnitKind::Set, arg[0])) return 0; break;
        case rx::Op::String: if (StringTakesLineFeed(arg, false)) return 0; break;
        case rx::Op::StringFold: if (StringTakesLineFeed(arg, true)) return 0; break;
        case rx::Op::Save: ++records; break;
        case rx::Op::LookAhead:
        case rx::Op::NegLookAhead:
            ++records;
            lookAhead = true;
            break;
        case rx::Op::StarAtomic: {
            const auto max = static_cast<uint32_t>(arg[3]);
            if (max == rx::kInfinite || TakesLineFeed(program, static_cast<rx::UnitKind>(arg[0]), arg[1])) return 0;
            steps = SaturatingAdd(steps, max);
            break;
        }
        default: return 0;
        }
    }
    // without a look-ahead the stack stays empty: a group's write keeps no undo record then
    if (lookAhead) steps = SaturatingAdd(steps, 3 * records);
    const uint64_t slots = 2 * (static_cast<uint64_t>(program.groupCount) + 1);
    return SaturatingAdd(steps, slots / 16 + 1);
}

// The engine's searcher gives a program like the ones above to the backtracker alone (it has no
// choice for the automaton to save), with an allowance of kBaseSteps + kStepsPerUnit steps per
// unit of the text before the linear matcher takes over, and each search at most half the step
// budget while the allowance lasts. Each position of a text is a start at most once in a run
// (the run goes on from each match's end), so a run spends at most StepsPerStart × (units + 1)
// steps. Where that cannot exceed the allowance (StepsPerStart <= kStepsPerUnit) nor half the
// budget for the whole text, it cannot for any window either (a window has fewer units), and
// neither run ends with the budget spent, nor changes matcher. A text past the engine's 32-bit
// positions stays on the whole text, whose run tells "Out of memory" for it.
bool CountableByWindows(const rx::Program& program, uint64_t stepBudget, size_t utf8Bytes) {
    const uint64_t perStart = StepsPerStart(program);
    if (perStart == 0 || perStart > rx::Searcher::kStepsPerUnit) return false;
    if (utf8Bytes >= static_cast<size_t>(INT32_MAX) - 1) return false;
    // (units never outnumber the bytes they are decoded from)
    return static_cast<uint64_t>(utf8Bytes) + 1 <= stepBudget / 2 / perStart;
}

long long CountByWindows(rx::RegExp& re, std::string_view utf8, size_t windowBytes) {
    windowBytes = std::max<size_t>(windowBytes, 1);
    std::unique_ptr<rx::Char[]> units;  // one buffer for every window, grown for a longer line
    size_t room = 0;
    long long count = 0;
    size_t start = 0;
    do {
        const size_t end = WindowEnd(utf8, start, windowBytes);
        const std::string_view bytes = utf8.substr(start, end - start);
        if (bytes.size() > room || !units) {
            room = std::max(bytes.size(), windowBytes);
            units.reset(new rx::Char[room]);
        }
        size_t length = DecodeUtf8(bytes, units.get());
        if (end < utf8.size()) --length;  // its line feed: the position before it is the window's end
        count += re.Count(rx::StringView(units.get(), length));
        if (!re.Global() && count > 0) break;
        start = end;
    } while (start < utf8.size());
    return count;
}

}  // namespace rxgrep

#include "rxgrep/LineWindows.h"

#include <algorithm>
#include <cstdint>
#include <atomic>
#include <exception>
#include <memory>
#include <new>
#include <vector>

#include "regexp/CaseFold.h"
#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "regexp/Searcher.h"
#include "rxgrep/Decode.h"
#include "rxgrep/Threads.h"

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
// 5. The step budget: see StepsPerStart and CountableByWindows for what is known before, and
//    CheckableByWindows for what the windows' runs show.

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

// Whether the instructions after the one at pc are group marks and the match alone.
bool OnlyTheEndAfter(const rx::Program& program, size_t pc) {
    const auto& code = program.code;
    for (pc += static_cast<size_t>(rx::InstrSize(code.data(), pc)); pc < code.size();
         pc += static_cast<size_t>(rx::InstrSize(code.data(), pc))) {
        const auto op = static_cast<rx::Op>(code[pc]);
        if (op == rx::Op::Match) return true;
        if (op != rx::Op::Save) return false;
    }
    return false;
}

}  // namespace

// `^` and `$` without multiline: the start and end of the whole text.
bool AsksForTheTextsEdges(const rx::Program& program) {
    const auto& code = program.code;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(rx::InstrSize(code.data(), pc))) {
        const auto op = static_cast<rx::Op>(code[pc]);
        if (op == rx::Op::LineStart || op == rx::Op::LineEnd) return true;
    }
    return false;
}

// The instructions that keep a match and every attempt within a line when none of their units
// is a line feed: everything but the start and end of the whole text.
bool StaysOnItsLine(const rx::Program& program) {
    if (AsksForTheTextsEdges(program)) return false;
    const auto& code = program.code;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(rx::InstrSize(code.data(), pc))) {
        const int32_t* arg = code.data() + pc + 1;
        switch (static_cast<rx::Op>(code[pc])) {
        case rx::Op::Char: if (TakesLineFeed(program, rx::UnitKind::Char, arg[0])) return false; break;
        case rx::Op::CharFold: if (TakesLineFeed(program, rx::UnitKind::CharFold, arg[0])) return false; break;
        case rx::Op::Set: if (TakesLineFeed(program, rx::UnitKind::Set, arg[0])) return false; break;
        case rx::Op::String: if (StringTakesLineFeed(arg, false)) return false; break;
        case rx::Op::StringFold: if (StringTakesLineFeed(arg, true)) return false; break;
        case rx::Op::Star:
        case rx::Op::StarLazy:
        case rx::Op::StarAtomic:
            if (TakesLineFeed(program, static_cast<rx::UnitKind>(arg[0]), arg[1])) return false;
            break;
        // (a back-reference takes what its group took, which held no line feed then)
        default: break;
        }
    }
    return true;
}

// The backtracking matcher charges a step for each instruction it runs, one per unit a loop
// takes, one per record it pops or looks over on a look-ahead's close, a step per sixteen group
// slots cleared at an attempt's start, and one per failed start in the search loop. In a program
// of only the instructions below, the code is run front to back once per attempt (no choice, no
// jump back), the stack holds records only inside a look-ahead (a mark, and the undo record of
// a group written after it), each popped or looked over a bounded number of times; a loop is
// bounded by its maximum. What one start can cost is then a fixed number, which the sum below
// does not fall short of. A loop without a maximum may end the program (nothing after it but
// group marks and the match): an attempt that takes its minimum then matches, with every unit
// the loop took, and the run goes on from the match's end, so those units are taken once in the
// whole run, one step each, no more than there are starts; an attempt that falls short took
// fewer than the minimum. Such a loop counts its minimum and one more per start. Anything else
// (choices, other loops without a maximum, back-references, the whole text's own start and end)
// gives 0.
uint64_t StepsPerStart(const rx::Program& program) {
    if (!StaysOnItsLine(program)) return 0;
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
        case rx::Op::NegLookEnd:
        case rx::Op::Char:
        case rx::Op::CharFold:
        case rx::Op::Set:
        case rx::Op::String:
        case rx::Op::StringFold: break;
        case rx::Op::Save: ++records; break;
        case rx::Op::LookAhead:
        case rx::Op::NegLookAhead:
            ++records;
            lookAhead = true;
            break;
        case rx::Op::StarAtomic: {
            const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
            if (max != rx::kInfinite) {
                steps = SaturatingAdd(steps, max);
            } else {
                // the units such a loop takes are the match's own, once in a run (see above)
                if (!OnlyTheEndAfter(program, pc)) return 0;
                steps = SaturatingAdd(steps, static_cast<uint64_t>(min) + 1);
            }
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

// A program the engine never gives to its automaton (no choice to make; or a back-reference or
// a look-ahead) goes to the backtracker on a text of any length, with the allowance above
// before the linear matcher takes over (none where the linear matcher cannot follow it), each
// search at most half the budget while the allowance lasts (all of it without one). Within a
// line an attempt at a position is the same attempt in a window as in the whole text (1-3) and
// costs the same steps; the search loop charges one step per start that fails, the same starts
// in both. The engine passes over the starts after the last place of a unit every match needs:
// a window counted as a piece of a longer text passes over none for that (its run may try
// more starts than the whole text's, never fewer). So where every window's run was the
// backtracker's alone, the whole text's run takes at most the attempts the windows took and
// spends at most the sum of their steps, unless it changes matcher or runs out itself, which it
// cannot while that sum is within half the whole text's allowance (at least kBaseSteps and
// kStepsPerUnit per four bytes) and a quarter of the budget: none of its searches spends more
// than the whole run. (The halving leaves room for what this may have missed.)
//
// A program with a choice to make goes to the engine's automaton on a text long enough, the
// whole text's as much as the windows' (each window's run is told the whole text's length, at
// the least what its bytes decode to, and a text whose length could fall on either side of that
// threshold is counted whole). Each thread keeps its automaton from window to window. The
// automaton's steps are one per unit it reads and the work of each state and transition it
// builds. Its searches read, window by window, the units the whole text's read: a search ends
// or the ways under way die at the latest at a line feed (1), so the whole text's searches pass
// each window's start with no way under way and its state there is the start state with a line
// feed behind, where the window has the text's edge behind; both hold for every assertion the
// program may hold (2), so from there on the states are the same. The whole text's automaton
// thus needs no state the threads' automata did not build, but for a few with no way under way
// or one at the program's start (the start states with a line feed behind or after, and what
// reading a line feed leads to; eight counted for each direction), and builds every transition
// once while its cache is not emptied, which it is not while all those states and the table
// that finds them fit within its cap. Then it gives up on no search, and spends at most what
// the windows spent, twice over for the transitions out of the states with a line feed behind
// (each costs what the same one out of the window's start state cost), and the bare states'
// rows: that is to stay within half the budget, below any search's and the run's. A window's
// run that left its automaton, or an automaton that emptied its cache, ends the count too.
//
// A program that may take a line feed (`<[^>]*>` over lines) but asks nothing of the whole
// text's start or end is checked the same way where the automaton answers it, with what its
// runs show in place of (1): no window but the last came to its end with a way of the
// automaton's under way that would take the line feed after it (RunReport::waysAtEnd, told the
// line feed; a window's run passes over no start for want of units its end cuts off), and no way
// begun just before a line feed takes it (TakesFirst). In
// the whole text every way then dies before the line feed that ends a window, and none begins
// with it: no match runs across a window's edge, and the whole text's automaton passes each
// window's start with no way under way, as above. Its backward searches stop at the window's
// start as the window's do; what they read of the line feed before it tells an assertion there
// and builds no state.
//
// A window whose run changed matcher, ran out or failed otherwise, or a sum past the limit,
// ends the count, and the whole text is counted instead.
bool CheckableByWindows(const rx::Program& program) {
    return StaysOnItsLine(program) || (!AsksForTheTextsEdges(program) && rx::Searcher::MayUseDfa(program));
}

namespace {

// Whether the engine gives this program's searches of a text of `units` units to its automaton.
bool GoesToTheAutomaton(const rx::Program& program, size_t units) {
    return rx::Searcher::DfaInUse() && units >= rx::Searcher::DfaFromLength() && rx::Searcher::MayUseDfa(program);
}

// Thrown where the windows' runs cannot show that their count is the whole text's.
struct NotShown {};

// What one window's run gave.
struct WindowRun {
    long long count = 0;
    uint64_t steps = 0;
    bool backtrackerAlone = true;
    bool automatonAlone = false;
    bool waysAtEnd = false;  // at a window's end that is not the text's
};

// Counts windows, and adds up their runs in the windows' order, which gives the count, the error
// or the NotShown that counting them one after the other would give.
class Tally {
public:
    Tally(rx::RegExp& re, size_t utf8Bytes, bool checked) : global_(re.Global()), checked_(checked) {
        if (!checked) return;
        // (the whole text's positions must fit the engine's 32 bits, as the windows' do)
        if (utf8Bytes >= static_cast<size_t>(INT32_MAX) - 1) throw NotShown{};
        // the whole text has at least a unit per three bytes, at most one per byte
        const rx::Program& program = re.Compiled();
        wholeLength_ = utf8Bytes / 3;
        automaton_ = GoesToTheAutomaton(program, wholeLength_);
        if (automaton_ != GoesToTheAutomaton(program, utf8Bytes)) throw NotShown{};
        // what may take a line feed, the automaton's runs alone can show
        onItsLine_ = StaysOnItsLine(program);
        if (!onItsLine_ && !automaton_) throw NotShown{};
        const uint64_t allowance = rx::Searcher::kBaseSteps + rx::Searcher::kStepsPerUnit * (utf8Bytes / 4);
        limit_ = automaton_ ? re.StepBudget() / 4 : std::min(allowance / 2, re.StepBudget() / 4);
        budget_ = re.StepBudget();
    }

    // One window's run: its count and, in a checked count, what it spent, with the automata of
    // the thread that counts it. Throws what the engine throws, or NotShown in a checked count
    // where the engine failed. Safe on any thread: the program is compiled, and each run has a
    // searcher of its own.
    WindowRun Count(rx::RegExp& re, rx::StringView units, rx::Automata& automata, bool last) const {
        WindowRun w;
        if (!checked_) {
            w.count = re.Count(units);
            return w;
        }
        rx::RegExp::RunReport run;
        run.restFollows = true;  // (the run of the whole text goes on past the window)
        run.wholeLength = wholeLength_;
        run.automata = &automata;
        if (!last) run.followedBy = kLineFeed;  // (the line feed the window is given without)
        try {
            w.count = re.Count(units, &run);
        } catch (const base::Error&) {
            throw NotShown{};
        }
        w.steps = run.steps;
        w.backtrackerAlone = run.backtrackerAlone;
        w.automatonAlone = run.automatonAlone;
        w.waysAtEnd = run.waysAtEnd && !last;
        return w;
    }
    // Whether a window's run ends the count whatever comes after it (a first match, or a run a
    // checked count cannot take), so that later windows need no counting.
    bool Ends(const WindowRun& w) const {
        return (!global_ && w.count > 0) || Refused(w, w.steps);
    }
    // Adds the next window's run; true once the count is known (a first match). Throws NotShown
    // where a checked count can no longer be shown.
    bool Add(const WindowRun& w) {
        steps_ = SaturatingAdd(steps_, w.steps);
        if (Refused(w, steps_)) throw NotShown{};
        count_ += w.count;
        return !global_ && count_ > 0;
    }
    // The count, once the windows are added up; in a checked count of the automaton's, where the
    // automata of the threads that counted (`count` of them) show it (see CheckableByWindows),
    // else throws NotShown.
    long long Total(rx::Automata* const* automata, size_t count) const {
        if (!automaton_) return count_;
        const rx::LazyDfa* forward[2] = {}, *backward[2] = {};
        size_t built = 0;
        for (size_t i = 0; i < count && i < 2; ++i) {
            if (automata[i]->GaveUp()) throw NotShown{};
            if (!automata[i]->Forward()) continue;  // (a thread that counted no window)
            forward[built] = automata[i]->Forward();
            backward[built] = automata[i]->Backward();
            ++built;
        }
        // what may take a line feed: no way begun just before one takes it (asked of a thread's
        // automaton before the states are weighed, as the asking may build some)
        if (!onItsLine_ && built > 0) {
            for (size_t i = 0; i < count && i < 2; ++i)
                if (automata[i]->Forward() && automata[i]->TakesFirst(kLineFeed)) throw NotShown{};
        }
        constexpr size_t kBare = 8;  // states without ways the whole text's may add, per direction
        if (!rx::LazyDfa::HoldTogether(forward, built, kBare) || !rx::LazyDfa::HoldTogether(backward, built, kBare))
            throw NotShown{};
        // (a state's row is charged a step per sixteen transitions)
        const uint64_t rows = built ? kBare * (forward[0]->Stride() / 16 + backward[0]->Stride() / 16 + 2) : 0;
        if (SaturatingAdd(SaturatingAdd(steps_, steps_), rows) > budget_ / 2) throw NotShown{};
        return count_;
    }

private:
    // Whether a checked count cannot take a window's run, with `steps` spent by then.
    bool Refused(const WindowRun& w, uint64_t steps) const {
        if (!checked_) return false;
        return (automaton_ ? !w.automatonAlone || w.waysAtEnd : !w.backtrackerAlone) || steps > limit_;
    }

    const bool global_, checked_;
    bool automaton_ = false;   // the whole text's searches, and the windows', go to the automaton
    bool onItsLine_ = true;    // the program stays on its line (StaysOnItsLine)
    size_t wholeLength_ = 0;   // the fewest units the whole text may have
    uint64_t limit_ = 0;
    uint64_t budget_ = 0;
    uint64_t steps_ = 0;
    long long count_ = 0;
};

// A window's units without its closing line feed (the position before it is the window's end).
size_t DecodeWindow(std::string_view utf8, size_t start, size_t end, rx::Char* out) {
    const size_t length = DecodeUtf8(utf8.substr(start, end - start), out);
    return end < utf8.size() ? length - 1 : length;
}

// One buffer for every window a thread decodes, grown for a line longer than the buffer.
class WindowBuffer {
public:
    explicit WindowBuffer(size_t windowBytes) : windowBytes_(windowBytes) {}
    rx::StringView Decode(std::string_view utf8, size_t start, size_t end) {
        if (end - start > room_ || !units_) {
            room_ = std::max(end - start, windowBytes_);
            units_.reset(new rx::Char[room_]);
        }
        return rx::StringView(units_.get(), DecodeWindow(utf8, start, end, units_.get()));
    }

private:
    size_t windowBytes_;
    std::unique_ptr<rx::Char[]> units_;
    size_t room_ = 0;
};

long long CountOnOneThread(rx::RegExp& re, Tally& tally, std::string_view utf8, size_t windowBytes, size_t* counted) {
    WindowBuffer buffer(windowBytes);
    rx::Automata automata;
    for (size_t start = 0;;) {
        const size_t end = WindowEnd(utf8, start, windowBytes);
        const WindowRun run = tally.Count(re, buffer.Decode(utf8, start, end), automata, end >= utf8.size());
        if (counted) ++*counted;
        if (tally.Add(run) || end >= utf8.size()) break;
        start = end;
    }
    rx::Automata* kept = &automata;
    return tally.Total(&kept, 1);
}

#ifndef _WIN32

// The windows counted by the caller and a helper thread at once. The windows' ends are found
// first; then each thread takes the next window no thread has taken (`next_`), decodes it into
// a buffer of its own and counts it, and keeps what its run gave, or threw, in the window's own
// place. A window whose run ends the count (Tally::Ends, or a throw) keeps both threads from
// taking any window after it (`endsAt_`); every window before it has been taken by then, as
// windows are taken in order, and is finished before the helper is joined. The caller then adds
// the windows up in their order, as one thread would have, and throws what the first window
// that threw threw. The threads share the compiled program, which a count only reads.
class TwoCounters {
public:
    TwoCounters(rx::RegExp& re, std::string_view utf8, size_t windowBytes, Tally& tally)
        : re_(re), utf8_(utf8), windowBytes_(windowBytes), tally_(tally) {
        for (size_t start = 0; start < utf8.size(); start = ends_.back()) ends_.push_back(WindowEnd(utf8, start, windowBytes));
        if (ends_.empty()) ends_.push_back(0);
        runs_.resize(ends_.size());
        endsAt_.store(ends_.size());
    }

    // False when the helper could not be started: nothing has been counted then.
    bool Start() { return helper_.Start(&Run, this); }

    long long Count(size_t* countedByHelper, size_t* counted) {
        Work(false);
        helper_.Join();
        for (const Slot& slot : runs_) {
            if (counted && slot.counted) ++*counted;
            if (countedByHelper && slot.counted && slot.byHelper) ++*countedByHelper;
        }
        for (size_t i = 0; i < runs_.size(); ++i) {
            const Slot& slot = runs_[i];
            if (slot.error) std::rethrow_exception(slot.error);
            if (tally_.Add(slot.run)) break;
        }
        rx::Automata* kept[2] = {&automata_[0], &automata_[1]};
        return tally_.Total(kept, 2);
    }

private:
    struct Slot {
        WindowRun run;
        std::exception_ptr error;
        bool counted = false;
        bool byHelper = false;
    };

    static void* Run(void* self) {
        static_cast<TwoCounters*>(self)->Work(true);
        return nullptr;
    }
    void Work(bool helper) {
        WindowBuffer buffer(windowBytes_);
        rx::Automata& automata = automata_[helper ? 1 : 0];
        for (;;) {
            const size_t i = next_.fetch_add(1);
            if (i >= endsAt_.load()) return;
            Slot& slot = runs_[i];
            slot.counted = true;
            slot.byHelper = helper;
            bool ends = true;
            try {
                const size_t start = i ? ends_[i - 1] : 0;
                slot.run = tally_.Count(re_, buffer.Decode(utf8_, start, ends_[i]), automata, i + 1 == ends_.size());
                ends = tally_.Ends(slot.run);
            } catch (...) {
                slot.error = std::current_exception();
            }
            if (ends) {
                size_t at = endsAt_.load();
                while (i < at && !endsAt_.compare_exchange_weak(at, i)) {}
            }
        }
    }

    rx::RegExp& re_;
    const std::string_view utf8_;
    const size_t windowBytes_;
    Tally& tally_;
    std::vector<size_t> ends_;  // each window's end (the next one's start)
    std::vector<Slot> runs_;
    std::atomic<size_t> next_{0};
    std::atomic<size_t> endsAt_{0};  // no window at or after this one is taken
    rx::Automata automata_[2];       // the caller's, the helper's: each kept from window to window
    JoinedThread helper_;
};

#endif  // _WIN32

long long CountWindows(rx::RegExp& re, std::string_view utf8, const WindowCounting& how) {
    const size_t windowBytes = std::max<size_t>(how.windowBytes, 1);
    if (how.countedByHelper) *how.countedByHelper = 0;
    if (how.windowsCounted) *how.windowsCounted = 0;
    Tally tally(re, utf8.size(), how.checked);
    re.Compiled();  // (before a second thread reads the program)
#ifndef _WIN32
    // (under Wine a helper thread in rxgrep's decoding once left a test run hanging, cause not
    // found: Windows keeps one thread)
    if (utf8.size() >= how.twoThreadsFrom) {
        std::unique_ptr<TwoCounters> two;
        try {
            two = std::make_unique<TwoCounters>(re, utf8, windowBytes, tally);
        } catch (const std::bad_alloc&) {
            // no room for the windows' list: one thread, which needs none
        }
        if (two && (how.helperStarts && two->Start())) return two->Count(how.countedByHelper, how.windowsCounted);
    }
#endif
    return CountOnOneThread(re, tally, utf8, windowBytes, how.windowsCounted);
}

}  // namespace

// Every match starts at the text's start, so the whole text's run is one search from there (the
// searches after it find no place to start) and the window's run, as a piece of a longer text,
// the same search: the automaton reads the same units in both, builds the same states, and
// spends the same steps (the whole text's run has a larger allowance), until it has no way
// under way. Where that came before the window's end, nothing after the window was looked at;
// the line feed closing the window is in it, so an anchor or a word boundary looked at within
// the window saw what it sees in the whole text. (Where the window's run came to its end with a
// way under way, it may have seen the end of the text where the whole text goes on: -1.) The
// whole text's length decides the matcher, as for the windows above.
long long CountFromTheStart(rx::RegExp& re, std::string_view utf8, size_t windowBytes) {
    const rx::Program& program = re.Compiled();
    if (program.start.anchor != rx::StartInfo::Anchor::InputStart || program.start.filtered) return -1;
    if (utf8.size() >= static_cast<size_t>(INT32_MAX) - 1) return -1;
    if (!GoesToTheAutomaton(program, utf8.size() / 3) || !GoesToTheAutomaton(program, utf8.size())) return -1;
    const size_t end = WindowEnd(utf8, 0, std::max<size_t>(windowBytes, 1));
    if (end >= utf8.size()) return -1;  // (the window is the whole text: counted as such)
    std::unique_ptr<rx::Char[]> units(new rx::Char[end]);
    const size_t length = DecodeUtf8(utf8.substr(0, end), units.get());
    rx::Automata automata;
    rx::RegExp::RunReport run;
    run.restFollows = true;
    run.wholeLength = utf8.size() / 3;
    run.automata = &automata;
    long long count;
    try {
        count = re.Count(rx::StringView(units.get(), length), &run);
    } catch (const base::Error&) {
        return -1;
    }
    return run.automatonAlone && !run.waysAtEnd ? count : -1;
}

long long CountByWindows(rx::RegExp& re, std::string_view utf8, const WindowCounting& how) {
    try {
        return CountWindows(re, utf8, how);
    } catch (const NotShown&) {
        return -1;
    }
}

}  // namespace rxgrep

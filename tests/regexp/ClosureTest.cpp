// The closure walk that the linear matcher and the lazy DFA share, on its own: the order in
// which it hands the ways that take a unit to its matcher (alternatives in order, greedy loops
// before leaving, lazy ones after every way from leaving), the cut below a way that reaches the
// pattern's end, and the registers and marks it leaves behind for the next way.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "regexp/Closure.h"
#include "regexp/Parser.h"
#include "regexp/Program.h"

namespace rxtest {
namespace {

std::unique_ptr<rx::Program> Compiled(const char* pattern) {
    const std::string p(pattern);
    return rx::Compile(rx::Parse(rx::String(p.begin(), p.end())), false, false);
}

// A matcher that notes what the walk tells it. Each class of the test patterns holds 'a' and one
// other letter, by which a way that takes the unit is named.
class Recorder {
public:
    Recorder(const rx::Program& prog, rx::Closure& closure, bool cut) : prog_(prog), closure_(closure), cut_(cut) {}

    void Step() { ++steps; }
    bool Visit(int32_t pc, int32_t count) {
        std::vector<int32_t> key{pc, count};
        key.insert(key.end(), closure_.Regs().begin(), closure_.Regs().end());
        for (uint32_t w : closure_.Marks()) key.push_back(static_cast<int32_t>(w));
        return seen_.insert(key).second;
    }
    bool Match() {
        ++matches;
        return cut_;
    }
    void Take(int32_t pc, int32_t) {
        const int32_t* at = prog_.code.data() + pc;
        switch (static_cast<rx::Op>(at[0])) {
        case rx::Op::Char: taken += static_cast<char>(at[1]); break;
        case rx::Op::Set: Name(at[1]); break;
        case rx::Op::Star: case rx::Op::StarLazy: case rx::Op::StarAtomic:
            // what a single-unit loop repeats follows its kind
            if (static_cast<rx::UnitKind>(at[1]) == rx::UnitKind::Set) Name(at[2]);
            else taken += '?';
            break;
        default: taken += '?'; break;
        }
    }
    bool Holds(rx::Op) const { return true; }
    void Save(int32_t slot) { closure_.Write(static_cast<int32_t>(closure_.Counters()) + slot, 7); }
    void ResetGroups(int32_t from, int32_t to) {
        for (int32_t s = from; s < to; ++s) closure_.Write(static_cast<int32_t>(closure_.Counters()) + s, -1);
    }

    std::string taken;
    int matches = 0;
    int steps = 0;

private:
    void Name(int32_t set) {
        for (char c : std::string("bcde"))
            if (prog_.sets[static_cast<size_t>(set)].Contains(static_cast<uint16_t>(c))) taken += c;
    }

    const rx::Program& prog_;
    rx::Closure& closure_;
    bool cut_;
    std::set<std::vector<int32_t>> seen_;
};

struct Walked {
    std::string taken;
    int matches;
    bool cut;
};

Walked Walk(const char* pattern, bool cut) {
    const auto prog = Compiled(pattern);
    rx::Closure closure(*prog);
    closure.Regs().assign(closure.Counters() + 2 * (prog->groupCount + 1), -1);
    Recorder recorder(*prog, closure, cut);
    const bool ended = closure.Walk(recorder, 0, 0, 'a');
    EXPECT_GT(recorder.steps, 0) << pattern;
    return Walked{recorder.taken, recorder.matches, ended};
}

TEST(RegExpClosure, WaysTakeTheUnitInTheBacktrackersOrder) {
    // alternatives left to right; a lazy loop leaves before it takes one more
    EXPECT_EQ(Walk("[ab]|[ac]*?[ad]|[ae]", true).taken, "bdce");
    // a greedy loop takes one more before it leaves
    EXPECT_EQ(Walk("[ab]|[ac]*[ad]|[ae]", true).taken, "bcde");
    // a counted loop: greedy into its body first, lazy out of it first
    EXPECT_EQ(Walk("(?:[ab]|[ac]){0,2}[ad]", true).taken, "bcd");
    EXPECT_EQ(Walk("(?:[ab]|[ac]){0,2}?[ad]", true).taken, "dbc");
    // an iteration that matched nothing fails (it does not end the loop): what follows the loop
    // is met once, after the body
    EXPECT_EQ(Walk("(?:|[ab])*[ac]", true).taken, "bc");
}

TEST(RegExpClosure, AWayAtThePatternsEndCutsTheWaysAfterIt) {
    const Walked cut = Walk("[ab]|x?|[ac]", true);
    EXPECT_EQ(cut.taken, "b");
    EXPECT_EQ(cut.matches, 1);
    EXPECT_TRUE(cut.cut);
    // a matcher that wants every end (the longest match, backwards) goes on after it
    const Walked all = Walk("[ab]|x?|[ac]", false);
    EXPECT_EQ(all.taken, "bc");
    EXPECT_EQ(all.matches, 1);
    EXPECT_FALSE(all.cut);
}

// Groups, counters and empty-iteration marks are written on the way and must all be taken back,
// whether the walk ran through or was cut at a match: the next way starts from what it was given.
TEST(RegExpClosure, TheRegistersAndMarksAreLeftAsTheyWereFound) {
    for (const char* pattern : {"(?:(a)|(b)|){1,3}(?:[ae]|)", "((?:|[ab])*)(x)?[ac]{0,2}", "(?:(a)|b)*?c|"}) {
        for (bool cut : {true, false}) {
            const auto prog = Compiled(pattern);
            rx::Closure closure(*prog);
            closure.Regs().assign(closure.Counters() + 2 * (prog->groupCount + 1), -1);
            std::fill(closure.Regs().begin(), closure.Regs().begin() + closure.Counters(), 0);
            const std::vector<int32_t> before = closure.Regs();
            Recorder recorder(*prog, closure, cut);
            closure.Walk(recorder, 0, 0, 'a');
            EXPECT_GT(recorder.matches, 0) << pattern;
            EXPECT_EQ(closure.Regs(), before) << pattern << " cut " << cut;
            for (uint32_t w : closure.Marks()) EXPECT_EQ(w, 0u) << pattern << " cut " << cut;
        }
    }
}

}  // namespace
}  // namespace rxtest

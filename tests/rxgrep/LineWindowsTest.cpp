// Counting by windows of lines against the engine's Count on the whole decoded text: the same
// count for every pattern that is allowed windows, on texts with CR LF, CJK, broken bytes and
// cut sequences before line feeds and lines longer than a window, with windows cut as small as
// one byte so that seams fall everywhere; the matcher's steps within the bound the decision
// rests on; and for what is not allowed windows, that windows would indeed have answered wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/Error.h"
#include "regexp/Matcher.h"
#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "regexp/Searcher.h"
#include "rxgrep/LineWindows.h"

namespace {

struct Flags {
    bool ignoreCase = false, multiline = false, first = false;
    uint64_t budget = rx::RegExp::DefaultStepBudget;
};

void Configure(rx::RegExp& re, const std::string& pattern, Flags f) {
    re.Pattern(rx::FromUtf8(pattern));
    re.IgnoreCase(f.ignoreCase);
    re.Multiline(f.multiline);
    re.Global(!f.first);
    re.StepBudget(f.budget);
}

// A count, or the number of the error that ended it.
struct Outcome {
    long long count = -1;
    long error = 0;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return o.error ? os << "error " << o.error : os << o.count;
}

template <typename F>
Outcome Try(F&& count) {
    try {
        return Outcome{count(), 0};
    } catch (const base::Error& e) {
        return Outcome{-1, e.Number()};
    }
}

Outcome Whole(const std::string& pattern, Flags f, const std::string& utf8) {
    rx::RegExp re;
    Configure(re, pattern, f);
    return Try([&] { return re.Count(rx::FromUtf8(utf8)); });
}

Outcome Windowed(const std::string& pattern, Flags f, const std::string& utf8, size_t windowBytes) {
    rx::RegExp re;
    Configure(re, pattern, f);
    return Try([&] { return rxgrep::CountByWindows(re, utf8, {windowBytes, SIZE_MAX}); });
}

// The windows counted by two threads whatever the text's size (where the system has threads
// for it); `byHelper` is told how many of them the second thread counted.
Outcome InTwo(const std::string& pattern, Flags f, const std::string& utf8, size_t windowBytes, size_t& byHelper,
              bool helperStarts = true) {
    rx::RegExp re;
    Configure(re, pattern, f);
    return Try([&] { return rxgrep::CountByWindows(re, utf8, {windowBytes, 0, helperStarts, &byHelper}); });
}

// Counted by windows that show by their runs that the count is the whole text's (-1 where they
// cannot), on one thread or two.
Outcome Checked(const std::string& pattern, Flags f, const std::string& utf8, size_t windowBytes, bool inTwo = false) {
    rx::RegExp re;
    Configure(re, pattern, f);
    return Try([&] {
        return rxgrep::CountByWindows(re, utf8, {windowBytes, inTwo ? size_t{0} : SIZE_MAX, true, nullptr, true});
    });
}

// The steps of the whole text's run, and the sum of those of its lines' runs, each counted as
// a piece of a longer text; whether the backtracker answered every line alone.
struct LineSteps {
    uint64_t whole = 0, lines = 0;
    bool alone = true;
};
LineSteps StepsByLines(const std::string& pattern, Flags f, const std::string& utf8) {
    rx::RegExp re;
    Configure(re, pattern, f);
    const rx::String units = rx::FromUtf8(utf8);
    LineSteps steps;
    rx::RegExp::RunReport run;
    re.Count(units, &run);
    steps.whole = run.steps;
    for (size_t start = 0;;) {
        const size_t end = std::min(units.find(u'\n', start), units.size());
        rx::RegExp::RunReport piece;
        piece.restFollows = true;
        re.Count(rx::StringView(units).substr(start, end - start), &piece);
        steps.lines += piece.steps;
        steps.alone = steps.alone && piece.backtrackerAlone;
        if (end == units.size()) return steps;
        start = end + 1;
    }
}

// Counts the text by checked windows of a few sizes, on one thread and on two: every count they
// give is the whole text's; `shown` and `left` are told how many gave one and how many left it
// to the whole text.
void CheckedAsWhole(const std::string& pattern, Flags f, const std::string& text, const Outcome& whole, int& shown,
                    int& left) {
    for (size_t windowBytes : {size_t{1}, size_t{16}, rxgrep::kWindowBytes}) {
        for (bool inTwo : {false, true}) {
            const Outcome windows = Checked(pattern, f, text, windowBytes, inTwo);
            ASSERT_EQ(windows.error, 0) << pattern;
            if (windows.count < 0) {
                ++left;
                continue;
            }
            ++shown;
            ASSERT_EQ(windows, whole) << "/" << pattern << "/ " << (f.ignoreCase ? "i" : "")
                                      << (f.multiline ? "m" : "") << (f.first ? " first" : "") << " budget " << f.budget
                                      << ", windows of " << windowBytes << (inTwo ? " in two" : "") << ", text of "
                                      << text.size();
        }
    }
}

bool Checkable(const std::string& pattern, Flags f) {
    rx::RegExp re;
    Configure(re, pattern, f);
    return rxgrep::CheckableByWindows(re.Compiled());
}

#ifdef _WIN32
constexpr bool kCountsInTwo = false;  // one thread there
#else
constexpr bool kCountsInTwo = true;
#endif

bool Allowed(const std::string& pattern, Flags f, size_t bytes) {
    rx::RegExp re;
    Configure(re, pattern, f);
    return rxgrep::CountableByWindows(re.Compiled(), f.budget, bytes);
}

// Every step the backtracker spends in a global run over the text, one search after another as
// the engine's Count goes, with no budget to stop it.
uint64_t StepsOfARun(const std::string& pattern, Flags f, const rx::String& text) {
    rx::RegExp re;
    Configure(re, pattern, f);
    rx::Matcher matcher(re.Compiled(), text.data(), text.size(), UINT64_MAX / 4);
    std::vector<int32_t> spans;
    uint64_t steps = 0;
    for (size_t from = 0; from <= text.size();) {
        spans.clear();
        const rx::Status st = matcher.Search(from, spans);
        steps += matcher.Steps();
        if (st != rx::Status::Match || f.first) break;
        from = static_cast<size_t>(spans[1]) + (spans[1] == spans[0] ? 1 : 0);
    }
    return steps;
}

const char* const kAtoms[] = {
    "a", "b", "A", "[ab]", "[^a]", "\\d", "\\D", "\\w", "\\W", "\\s", "\\S", ".", "\\r", "\\n", "\\x0A",
    "中", "[一-龥]", "é", "\\uFFFD", "\\b", "\\B", "^", "$", "(a)", "(?=a)", "(?!b)", "(?=.)", "(?=\\s)",
    "(?!\\n)", "a*", "x*", "[ab]{2}", "\\d{1,3}", "\\w{0,2}", "a|b", "(?:ab|\\w)", "(\\w)\\1", "k", "\\r?",
    "[ab]+", "\\d{2,}", "(\\w+)",
};

// A line feed often, with what can stand before one: CR, a cut or broken sequence, a word.
const char* const kPieces[] = {
    "a", "b", "ab", "A", "K", "1", "12", "123", " ", "\t", "\r\n", "\n", "\n", "\n", "\r", "中文", "é", "while",
    "\xFF", "\xE4\xB8\n", "\xF0\x9F\x98\n", "\x80\n", "\xC3\n", "\xEF\xBF\xBD", "😀", "aa\n", "\n\n",
};

std::string RandomText(std::mt19937& rng, size_t pieces) {
    std::string s;
    for (size_t k = 0; k < pieces; ++k) {
        if (rng() % 40 == 0) s += std::string(30 + rng() % 40, "ab1 "[rng() % 4]);  // a line longer than small windows
        s += kPieces[rng() % std::size(kPieces)];
    }
    return s;
}

// A pattern for the checked windows: one of `bases` and up to two atoms, with flags and a budget
// from 40 steps to the default.
template <size_t N>
std::string RandomChecked(std::mt19937& rng, const char* const (&bases)[N], Flags& f) {
    std::string pattern = bases[rng() % N];
    for (unsigned n = rng() % 3; n > 0; --n) pattern += kAtoms[rng() % std::size(kAtoms)];
    f.ignoreCase = rng() % 4 == 0;
    f.multiline = rng() % 2 == 0;
    f.first = rng() % 8 == 0;
    f.budget = std::vector<uint64_t>{40, 400, 4000, rx::RegExp::DefaultStepBudget}[rng() % 4];
    return pattern;
}

}  // namespace

TEST(LineWindows, GeneratedPatternsCountAsOnTheWholeText) {
    std::mt19937 rng(20261207);
    int windowed = 0, notWindowed = 0;
    size_t byHelper = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string pattern;
        for (unsigned n = 1 + rng() % 3; n > 0; --n) pattern += kAtoms[rng() % std::size(kAtoms)];
        Flags f;
        f.ignoreCase = rng() % 4 == 0;
        f.multiline = rng() % 2 == 0;
        f.first = rng() % 6 == 0;
        const std::string text = RandomText(rng, rng() % 60);
        if (!Allowed(pattern, f, text.size())) {
            ++notWindowed;
            continue;
        }
        ++windowed;
        const Outcome whole = Whole(pattern, f, text);
        ASSERT_EQ(whole.error, 0) << pattern;
        for (size_t windowBytes : {size_t{1}, size_t{2}, size_t{5}, size_t{64}, rxgrep::kWindowBytes})
            ASSERT_EQ(Windowed(pattern, f, text, windowBytes), whole)
                << "/" << pattern << "/ " << (f.ignoreCase ? "i" : "") << (f.multiline ? "m" : "")
                << (f.first ? " first" : "") << " windows of " << windowBytes << " bytes, text of " << text.size();
        // the windows counted by two threads, each taking the next: the same, also on the text many
        // times over, so that the second thread has started well before the end
        std::string longer;
        for (int k = 0; k < 12; ++k) longer += text;
        const Outcome wholeLonger = Whole(pattern, f, longer);
        for (size_t windowBytes : {size_t{1}, size_t{5}, size_t{64}}) {
            size_t helper = 0;
            ASSERT_EQ(InTwo(pattern, f, text, windowBytes, helper), whole) << "/" << pattern << "/ in two, windows of " << windowBytes;
            ASSERT_EQ(InTwo(pattern, f, longer, windowBytes, helper), wholeLonger)
                << "/" << pattern << "/ " << (f.ignoreCase ? "i" : "") << (f.multiline ? "m" : "")
                << (f.first ? " first" : "") << " in two, windows of " << windowBytes << " bytes, text of " << longer.size();
            ASSERT_LE(helper, longer.size() + 1);
            byHelper += helper;
        }
        // the decision rests on this bound of the matcher's steps
        const rx::String units = rx::FromUtf8(text);
        rx::RegExp re;
        Configure(re, pattern, f);
        ASSERT_LE(StepsOfARun(pattern, f, units), rxgrep::StepsPerStart(re.Compiled()) * (units.size() + 1)) << pattern;
    }
    // both kinds came up often enough for the comparison to mean something
    EXPECT_GT(windowed, 300);
    EXPECT_GT(notWindowed, 300);
    // and the second thread did count windows (not only the caller, taking them all)
    if (kCountsInTwo) EXPECT_GT(byHelper, 1000u);
    else EXPECT_EQ(byHelper, 0u);
}

// Lines of `line` (each ending in a line feed) `times` over.
std::string Lines(const std::string& line, int times) {
    std::string s;
    for (int k = 0; k < times; ++k) s += line + "\n";
    return s;
}

TEST(LineWindows, InTwoAFirstMatchEndsTheCountWhereverItIs) {
    // with --first, one match in an early, a middle or the last window, though many follow it:
    // neither thread counts far past it, and the count is that one match
    const std::string noise = Lines("xyz 12", 3000);
    for (const std::string& text : {"b" + noise + Lines("abc", 3000), noise + Lines("abc", 3000), noise + "b"}) {
        for (size_t windowBytes : {size_t{1}, size_t{7}, size_t{4096}}) {
            size_t helper = 0;
            const Outcome expected = Whole("b", {false, false, true}, text);
            ASSERT_EQ(expected, (Outcome{1, 0}));
            EXPECT_EQ(InTwo("b", {false, false, true}, text, windowBytes, helper), expected) << windowBytes;
            EXPECT_EQ(InTwo("b", {}, text, windowBytes, helper), Whole("b", {}, text)) << windowBytes;
        }
    }
    size_t helper = 0;
    EXPECT_EQ(InTwo("q", {false, false, true}, noise, 3, helper), (Outcome{0, 0}));  // none: to the end
    // a first match in the first of thousands of windows: the count ends there, neither thread
    // counting on to the end
    rx::RegExp re;
    Configure(re, "b", {false, false, true});
    size_t counted = 0;
    const std::string early = "b\n" + noise;
    EXPECT_EQ(rxgrep::CountByWindows(re, early, {7, 0, true, &helper, false, &counted}), 1);
    EXPECT_LT(counted, 300u) << "of " << early.size() / 7;
    EXPECT_EQ(rxgrep::CountByWindows(re, early, {7, SIZE_MAX, true, &helper, false, &counted}), 1);
    EXPECT_EQ(counted, 1u);
}

TEST(LineWindows, InTwoABudgetRunOutInALateWindowIsTold) {
    // the step budget is spent in one window only, late in the text: a window of 4 KB, or a line
    // longer than a window
    const Flags small{false, false, false, 2000};
    const std::string text = Lines("b a", 2000) + std::string(3000, 'a') + "\n" + Lines("a b", 500);
    for (size_t windowBytes : {size_t{4096}, size_t{64}}) {
        size_t helper = 0;
        ASSERT_EQ(Windowed("a(?=[b])", small, text, windowBytes).error, rx::err::BudgetExceeded) << windowBytes;
        EXPECT_EQ(InTwo("a(?=[b])", small, text, windowBytes, helper), Windowed("a(?=[b])", small, text, windowBytes)) << windowBytes;
        // with --first a match in an earlier window ends the count before that window is reached
        const Flags first{false, false, true, 2000};
        const std::string matchFirst = "ab\n" + text;
        ASSERT_EQ(Windowed("a(?=[b])", first, matchFirst, windowBytes), (Outcome{1, 0}));
        EXPECT_EQ(InTwo("a(?=[b])", first, matchFirst, windowBytes, helper), (Outcome{1, 0})) << windowBytes;
        // and one in a later window does not, whichever thread counts which window first
        const std::string matchAfter = text + "ab\n";
        ASSERT_EQ(Windowed("a(?=[b])", first, matchAfter, windowBytes).error, rx::err::BudgetExceeded);
        EXPECT_EQ(InTwo("a(?=[b])", first, matchAfter, windowBytes, helper).error, rx::err::BudgetExceeded) << windowBytes;
    }
}

TEST(LineWindows, InTwoAThreadThatCannotStartLeavesTheCountToOneThread) {
    const std::string text = Lines("ab 12 中文 ab", 5000);
    size_t helper = 99;
    EXPECT_EQ(InTwo("[ab]", {}, text, 64, helper, false), Windowed("[ab]", {}, text, 64));
    EXPECT_EQ(helper, 0u);
    EXPECT_EQ(InTwo("\\d{2}", {false, false, true}, text, 64, helper, false), (Outcome{1, 0}));
    EXPECT_EQ(helper, 0u);
    // and a text below the size worth a second thread stays on one
    rx::RegExp re;
    Configure(re, "[ab]", {});
    ASSERT_LT(text.size(), rxgrep::kCountInTwoFrom);
    EXPECT_EQ(rxgrep::CountByWindows(re, text, {64, rxgrep::kCountInTwoFrom, true, &helper}), 20000);
    EXPECT_EQ(helper, 0u);
}

TEST(LineWindows, WhatIsNotAllowedWindowsWouldHaveCountedWrong) {
    // each pattern's windowed count (windows of one line) differs from the whole text's here,
    // so the count must come from the whole text
    struct {
        const char* pattern;
        Flags flags;
        const char* text;
    } cases[] = {
        {"[^a]", {}, "b\nb"},             // a class that takes the line feed
        {"\\s", {}, "a\nb"},
        {"[\\s\\S]", {}, "a\nb"},
        {"\\D", {}, "1\n2"},
        {"\\W", {}, "a\nb"},
        {"\\n", {}, "a\nb"},
        {"\\x0A", {true}, "a\nb"},        // the line feed's own fold
        {"a\\s*b", {}, "a\nb"},
        {"^a", {}, "a\na"},               // the whole text's start, not a line's
        {"a$", {}, "a\na"},               // its end
        {"^", {}, "a\na"},
        {"a(?!\\n)", {}, "a\na"},         // a look-ahead that reads the line feed
        {"a(?=\\s)", {}, "a\na"},
    };
    for (const auto& c : cases) {
        const Outcome whole = Whole(c.pattern, c.flags, c.text);
        EXPECT_NE(Windowed(c.pattern, c.flags, c.text, 1), whole) << c.pattern;
        EXPECT_FALSE(Allowed(c.pattern, c.flags, std::string(c.text).size())) << c.pattern;
    }
    // with multiline, ^ and $ hold at every line's edge: windows give the same count there
    for (const char* p : {"^a", "a$", "^", "$", "^$"}) {
        EXPECT_TRUE(Allowed(p, {false, true}, 5)) << p;
        EXPECT_EQ(Windowed(p, {false, true}, "a\n\na\r\na", 1), Whole(p, {false, true}, "a\n\na\r\na")) << p;
    }
}

TEST(LineWindows, AStepBudgetTheWholeTextWouldSpendKeepsTheWholeText) {
    // one search over the whole text tries every "a" and runs out of steps; a window of one
    // line needs a few: windows would count where the engine tells 5099
    std::string text;
    for (int line = 0; line < 200; ++line) text += "aaaaaaaaaa\n";
    const Flags small{false, false, false, 2000};
    EXPECT_EQ(Whole("a(?=[b])", small, text).error, rx::err::BudgetExceeded);
    EXPECT_EQ(Windowed("a(?=[b])", small, text, 1), (Outcome{0, 0}));
    EXPECT_FALSE(Allowed("a(?=[b])", small, text.size()));
    // the default budget leaves plenty: windows, and the same count
    EXPECT_TRUE(Allowed("a(?=[b])", {}, text.size()));
    EXPECT_EQ(Windowed("a(?=a)", {}, text, 64), Whole("a(?=a)", {}, text));
    // the bound scales with the text: a budget that the largest texts could exhaust keeps them whole
    const uint64_t perStart = [] {
        rx::RegExp re;
        re.Pattern(rx::FromUtf8("[ab]"));
        return rxgrep::StepsPerStart(re.Compiled());
    }();
    ASSERT_GT(perStart, 0u);
    const uint64_t budget = 1'000'000;
    const size_t fits = static_cast<size_t>(budget / 2 / perStart) - 1;
    EXPECT_TRUE(Allowed("[ab]", {false, false, false, budget}, fits));
    EXPECT_FALSE(Allowed("[ab]", {false, false, false, budget}, fits + 1));
    // a loop without a maximum with more to come after it, or a choice, has no such bound: may
    // run to the line's end at every start, or go back and forth
    for (const char* p : {"x*y", "\\w+@\\w+", "ab|cd", "a+?", "[ab]+\\b", "(a+)(b)"})
        EXPECT_FALSE(Allowed(p, {}, 100)) << p;
    // one that ends the program takes each unit once in a run: the match keeps what it took
    for (const char* p : {"x*", "[ab]+", "a(\\w+)", "\\d{2,}"}) EXPECT_TRUE(Allowed(p, {}, 100)) << p;
}

TEST(LineWindows, TheStepBoundHoldsWhereEveryStartRunsThroughTheProgram) {
    // texts on which every start goes through the whole program (loops to their maximum,
    // look-aheads with groups) and fails only at its last step: the costliest starts there are
    // (a class at the end: a plain unit the text lacks would rule out every start at once)
    struct {
        const char* pattern;
        const char* unit;
    } cases[] = {
        {"\\d{1,3}[xy]", "1"},
        {"(?=(a))", "a"},
        {"(?!a)", "a"},
        {"(?=a{0,2}b)", "a"},
        {"(?!1{2}b)\\d{0,2}[yz]", "1"},
        {"\\B\\d{0,3}[yz]", "1"},
        {"(?!x)1{6,}", "11111 "},  // every start in a run one short of the loop's minimum
    };
    for (const auto& c : cases) {
        std::string text;
        for (int k = 0; k < 300; ++k) text += c.unit;
        text += "\n";
        ASSERT_TRUE(Allowed(c.pattern, {}, text.size())) << c.pattern;
        rx::RegExp re;
        Configure(re, c.pattern, {});
        const rx::String units = rx::FromUtf8(text);
        const uint64_t steps = StepsOfARun(c.pattern, {}, units);
        EXPECT_GE(steps, 2 * units.size()) << c.pattern;  // (the text does make the starts costly)
        EXPECT_LE(steps, rxgrep::StepsPerStart(re.Compiled()) * (units.size() + 1)) << c.pattern;
    }
}

TEST(LineWindows, CheckedWindowsCountAsTheWholeTextOrLeaveItToIt) {
    // patterns without a bound on their steps per start (loops with more after them,
    // back-references): the windows count them where their runs show it, and nowhere else give a
    // count, whatever the budget; where the whole text's run runs out, they never do
    std::mt19937 rng(20261208);
    const char* const loops[] = {"\\w+@", "[ab]+c", "\\d+\\.", "a*b", "(\\w)\\1", "\\w+(?=\\d)"};
    int shown = 0, leftToWhole = 0, wholeRanOut = 0;
    for (int round = 0; round < 600; ++round) {
        Flags f;
        const std::string pattern = RandomChecked(rng, loops, f);
        if (!Checkable(pattern, f) || Allowed(pattern, f, 1)) continue;
        std::string text = RandomText(rng, rng() % 80);
        if (rng() % 3 == 0) text += Lines("abab@ ab1.2 aab", 40);  // many starts that fail late
        const Outcome whole = Whole(pattern, f, text);
        wholeRanOut += whole.error != 0;
        if (f.budget == rx::RegExp::DefaultStepBudget && !f.first) {
            // what the windows' check rests on: the whole text's run spends no more than its
            // lines' runs do together
            const LineSteps steps = StepsByLines(pattern, f, text);
            ASSERT_TRUE(steps.alone) << pattern;
            ASSERT_LE(steps.whole, steps.lines) << "/" << pattern << "/ on " << text.size() << " bytes";
        }
        CheckedAsWhole(pattern, f, text, whole, shown, leftToWhole);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(shown, 1000);
    EXPECT_GT(leftToWhole, 100);
    EXPECT_GT(wholeRanOut, 20);
}

TEST(LineWindows, CheckedWindowsLeaveToTheWholeTextWhatItsRunCouldNotAfford) {
    // each line costs the run a few steps (two starts before the "@" fail after it), every
    // window far within the budget; the whole text's run, one search, spends them all together
    const std::string text = Lines("ab@ cd", 3000);
    const Flags small{false, false, false, 20000};
    ASSERT_TRUE(Checkable("\\w+@\\w+", small));
    ASSERT_FALSE(Allowed("\\w+@\\w+", small, text.size()));
    EXPECT_EQ(Whole("\\w+@\\w+", small, text).error, rx::err::BudgetExceeded);
    EXPECT_EQ(Checked("\\w+@\\w+", small, text, 64), (Outcome{-1, 0}));
    EXPECT_EQ(Checked("\\w+@\\w+", small, text, 64, true), (Outcome{-1, 0}));
    // the default budget affords them: the windows' count, the whole text's
    const std::string mixed = text + Lines("x ab@cd 中文 a@b", 3000);
    EXPECT_EQ(Checked("\\w+@\\w+", {}, mixed, rxgrep::kWindowBytes), Whole("\\w+@\\w+", {}, mixed));
    EXPECT_EQ(Checked("\\w+@\\w+", {}, mixed, rxgrep::kWindowBytes, true), (Outcome{6000, 0}));
    // what asks for the whole text's start, or takes a line feed on the backtracker, is not for
    // these windows
    for (const char* p : {"a\\s+b", "^\\w+@", "a[^b]*b", "(a|b)c$"}) EXPECT_FALSE(Checkable(p, {})) << p;
}

namespace {

// The automaton answers texts from this many units on, for the time of a test.
class DfaFrom {
public:
    explicit DfaFrom(size_t units) : was_(rx::Searcher::DfaFromLength()) { rx::Searcher::DfaFromLength(units); }
    ~DfaFrom() { rx::Searcher::DfaFromLength(was_); }

private:
    size_t was_;
};

// The whole text's run and its lines' runs (as pieces of it, with one automaton kept from line
// to line): steps, and the states of the automata.
struct AutomatonRuns {
    uint64_t wholeSteps = 0, lineSteps = 0;
    bool wholeAlone = false, linesAlone = true;
    bool waysAtLineEnds = false;  // at the end of a line but the last
    rx::Automata whole, lines;
};
void RunByLines(const std::string& pattern, Flags f, const std::string& utf8, AutomatonRuns& runs) {
    rx::RegExp re;
    Configure(re, pattern, f);
    const rx::String units = rx::FromUtf8(utf8);
    rx::RegExp::RunReport run;
    run.automata = &runs.whole;
    re.Count(units, &run);
    runs.wholeSteps = run.steps;
    runs.wholeAlone = run.automatonAlone;
    for (size_t start = 0;;) {
        const size_t end = std::min(units.find(u'\n', start), units.size());
        rx::RegExp::RunReport piece;
        piece.restFollows = true;
        piece.wholeLength = units.size();
        piece.automata = &runs.lines;
        if (end < units.size()) piece.followedBy = u'\n';
        re.Count(rx::StringView(units).substr(start, end - start), &piece);
        runs.lineSteps += piece.steps;
        runs.linesAlone = runs.linesAlone && piece.automatonAlone;
        if (end == units.size()) return;
        runs.waysAtLineEnds = runs.waysAtLineEnds || piece.waysAtEnd;
        start = end + 1;
    }
}

size_t States(const rx::LazyDfa* a) { return a ? a->StateCount() : 0; }
size_t Flushes(const rx::LazyDfa* a) { return a ? a->Flushes() : 0; }

}  // namespace

TEST(LineWindows, CheckedWindowsOfTheAutomatonCountAsTheWholeTextOrLeaveItToIt) {
    // patterns with a choice for the automaton to make, on texts it answers (from 16 units on
    // here): the windows, each thread keeping its automaton, count them where their runs and
    // automata show it, and nowhere else give a count, whatever the budget
    const DfaFrom from(16);
    std::mt19937 rng(20261209);
    // (the last ones may take a line feed: their windows show it only where no way is under way
    // at a window's end, and none begun at a line feed takes it)
    const char* const choices[] = {"a|b", "(a|b)+c", "\\w+(ing|ed|\\d)", "(ab|a)(bc|c)?", "(\\d+|[a-f]+)x",
                                   "[ab]*?b", "(a|ab)(c|bcd)", "\\b(中|文)+", "(?:\\r|1)\\w",
                                   "<(\\S*?)[^>]*>.*?|<.*?/>", "a(\\s|b)+c", "(a|\\n)b", "1[ab\\n]*?(c|2)",
                                   "(\\n|$)a"};
    int shown = 0, leftToWhole = 0, automaton = 0, acrossShown = 0, acrossLeft = 0, crossingShown = 0;
    for (int round = 0; round < 500; ++round) {
        Flags f;
        const std::string pattern = RandomChecked(rng, choices, f);
        if (!Checkable(pattern, f)) continue;
        std::string text = RandomText(rng, 20 + rng() % 80);
        if (rng() % 3 == 0) text += Lines("abab ab1c aabcd ed", 40);
        if (rng() % 3 == 0) text += Lines("<b>x</b> <a\nhref=1> a\n\nbc 1\nab2 <br/>", 20);
        const Outcome whole = Whole(pattern, f, text);
        rx::RegExp re;
        Configure(re, pattern, f);
        const bool byAutomaton = rx::Searcher::MayUseDfa(re.Compiled());
        const bool onItsLine = rxgrep::StaysOnItsLine(re.Compiled());
        automaton += byAutomaton;
        if (byAutomaton && f.budget == rx::RegExp::DefaultStepBudget && !f.first) {
            // what the windows' check rests on: the whole text's automaton needs no state but the
            // lines' and a few without ways, and spends no more than twice the lines' steps, where
            // the program stays on its line or the lines' runs show that no way crossed a line feed
            AutomatonRuns runs;
            RunByLines(pattern, f, text, runs);
            ASSERT_TRUE(runs.wholeAlone && runs.linesAlone) << pattern;
            const bool argued = onItsLine || (!runs.waysAtLineEnds && !runs.lines.TakesFirst(u'\n'));
            crossingShown += !onItsLine && argued;
            // (no automaton for a whole text that lacks a unit every match needs: no search)
            if (argued && Flushes(runs.lines.Forward()) + Flushes(runs.lines.Backward()) == 0) {
                ASSERT_EQ(Flushes(runs.whole.Forward()) + Flushes(runs.whole.Backward()), 0u) << pattern;
                ASSERT_LE(States(runs.whole.Forward()), States(runs.lines.Forward()) + 8) << pattern;
                ASSERT_LE(States(runs.whole.Backward()), States(runs.lines.Backward()) + 8) << pattern;
            }
            if (argued) {
                ASSERT_LE(runs.wholeSteps, 2 * runs.lineSteps + 8 * 64) << "/" << pattern << "/ on " << text.size();
            }
        }
        const int shownBefore = shown, leftBefore = leftToWhole;
        CheckedAsWhole(pattern, f, text, whole, shown, leftToWhole);
        if (HasFatalFailure()) return;
        if (!onItsLine) {
            acrossShown += shown - shownBefore;
            acrossLeft += leftToWhole - leftBefore;
        }
    }
    EXPECT_GT(automaton, 200);
    EXPECT_GT(shown, 800);
    EXPECT_GT(leftToWhole, 100);
    EXPECT_GT(acrossShown, 100);
    EXPECT_GT(acrossLeft, 100);
    EXPECT_GT(crossingShown, 5);
    // the same on many lines of tags, none across a line feed, with the automaton answering from
    // its usual length on
    rx::Searcher::DfaFromLength(rx::Searcher::kDfaFromLength);
    const char* const tag = "<(\\S*?)[^>]*>.*?|<.*?/>";
    const std::string tags = Lines("<b>x</b> y <a href=1>z</a>", 2000) + Lines("<br/> 中文 <i>", 2000);
    AutomatonRuns runs;
    RunByLines(tag, {}, tags, runs);
    ASSERT_TRUE(runs.wholeAlone && runs.linesAlone);
    EXPECT_FALSE(runs.waysAtLineEnds);
    EXPECT_FALSE(runs.lines.TakesFirst(u'\n'));
    EXPECT_EQ(Flushes(runs.whole.Forward()) + Flushes(runs.whole.Backward()), 0u);
    EXPECT_LE(States(runs.whole.Forward()), States(runs.lines.Forward()) + 8);
    EXPECT_LE(States(runs.whole.Backward()), States(runs.lines.Backward()) + 8);
    EXPECT_LE(runs.wholeSteps, 2 * runs.lineSteps + 8 * 64);
    EXPECT_EQ(Checked(tag, {}, tags, 4096, true), (Outcome{12000, 0}));
    EXPECT_EQ(Whole(tag, {}, tags), (Outcome{12000, 0}));
    // and a tag across a line feed at a window's end leaves the count to the whole text
    const std::string across = tags + "<a\nhref=2>" + tags;
    EXPECT_EQ(Checked(tag, {}, across, tags.size() + 4), (Outcome{-1, 0}));
    EXPECT_EQ(Whole(tag, {}, across), (Outcome{24001, 0}));
}

TEST(LineWindows, CheckedWindowsLeaveToTheWholeTextAnAutomatonTooLargeForItsCache) {
    // every line's automaton fits; the states all the lines need do not, and the windows'
    // automata empty their caches: the count is left to the whole text
    std::mt19937 rng(11);
    std::string text;
    for (int line = 0; line < 4000; ++line) {
        for (int k = 0; k < 50; ++k) text += "ab"[rng() % 2];
        text += "c\n";
    }
    const char* const pattern = "(a|b)*a(a|b){14}c";
    ASSERT_TRUE(Checkable(pattern, {}));
    const Outcome whole = Whole(pattern, {}, text);
    ASSERT_GT(whole.count, 1000);
    EXPECT_EQ(Checked(pattern, {}, text, rxgrep::kWindowBytes), (Outcome{-1, 0}));
    EXPECT_EQ(Checked(pattern, {}, text, rxgrep::kWindowBytes, true), (Outcome{-1, 0}));
    // (the count itself is right: it is the proof that is missing)
    EXPECT_EQ(Windowed(pattern, {}, text, rxgrep::kWindowBytes), whole);
    // a line on which a search has to empty the cache too often: the automaton gives up there
    // (made anew for the lines after it, which it holds)
    std::string blown;
    for (int k = 0; k < 200000; ++k) blown += "ab"[rng() % 2];
    blown += "\n" + Lines("ab ad aaaabbbbaaaabbbbc", 2000);
    const char* const giving = "a(a|b){14}(c|d)";
    ASSERT_GT(Whole(giving, {}, blown).count, 1000);
    EXPECT_EQ(Checked(giving, {}, blown, rxgrep::kWindowBytes), (Outcome{-1, 0}));
    EXPECT_EQ(Checked(giving, {}, blown, rxgrep::kWindowBytes, true), (Outcome{-1, 0}));
}

TEST(LineWindows, AProgramAnchoredAtTheStartIsCountedOnTheFirstWindowWhereItsRunShowsIt) {
    // every match starts at the text's start: the first window of lines alone, line feed
    // included, counts where the automaton had no way under way at its end; elsewhere the whole
    // text counts (-1), and the counts given are the whole text's
    const DfaFrom from(16);
    std::mt19937 rng(20261210);
    const char* const anchored[] = {"^(a|b)+", "^.*$", "^(\\w+|\\d)\\s", "^(a|\\n)*$", "^[\\s\\S]*?(1|b)",
                                    "^$", "^(ab|a)*\\n", "^\\w*?(\\n|$)", "^(.|\\n){0,3}b"};
    int counted = 0, left = 0;
    for (int round = 0; round < 400; ++round) {
        std::string pattern = anchored[rng() % std::size(anchored)];
        Flags f;
        f.ignoreCase = rng() % 4 == 0;
        f.first = rng() % 6 == 0;
        std::string text = RandomText(rng, 20 + rng() % 80);
        if (rng() % 2 == 0) text = Lines(std::string("ab\nab1 b"), 1 + rng() % 3) + text;
        const Outcome whole = Whole(pattern, f, text);
        for (size_t windowBytes : {size_t{1}, size_t{8}, size_t{64}}) {
            rx::RegExp re;
            Configure(re, pattern, f);
            const Outcome first = Try([&] { return rxgrep::CountFromTheStart(re, text, windowBytes); });
            ASSERT_EQ(first.error, 0) << pattern;
            if (first.count < 0) {
                ++left;
                continue;
            }
            ++counted;
            ASSERT_EQ(first, whole) << "/" << pattern << "/ windows of " << windowBytes << ", text of " << text.size();
        }
    }
    EXPECT_GT(counted, 300);
    EXPECT_GT(left, 100);
    // not anchored at the start, or not the automaton's: never, where a first window of the same
    // text is counted for a program that is both
    rx::RegExp re;
    Configure(re, "^(ab|ba)+", {});
    EXPECT_EQ(rxgrep::CountFromTheStart(re, Lines("ab", 100), 8), 1);
    Configure(re, "^a|b", {});
    EXPECT_EQ(rxgrep::CountFromTheStart(re, Lines("ab", 100), 8), -1);
    Configure(re, "^ab", {});
    EXPECT_EQ(rxgrep::CountFromTheStart(re, Lines("ab", 100), 8), -1);
}

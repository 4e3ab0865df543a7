// The lazy DFA against the backtracker: on generated patterns and texts (alternatives in
// order, lazy and greedy loops, empty iterations, anchors in both modes over CR, LF and CR LF
// texts, word boundaries, case-insensitive matching, classes, counted loops, global runs past
// empty matches) the automaton's matches must be the backtracker's, found straight through the
// two automata and through RegExp with its groups. Then its cache under a tiny cap, its giving
// up where a pattern's states cannot be held, and the budget and the stop flag ending its runs.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>

#include "base/Error.h"
#include "regexp/LazyDfa.h"
#include "regexp/Matcher.h"
#include "regexp/Parser.h"
#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "regexp/Searcher.h"
#include "tests/regexp_support/CaseGenerator.h"
#include "tests/regexp_support/Outcome.h"
#include "tests/regexp_support/Random.h"

namespace rxtest {
namespace {

constexpr uint64_t kBudget = 300'000;  // the backtracker's
using Spans = std::vector<int32_t>;

std::string Show(const Spans& spans) {
    std::string out;
    for (int32_t v : spans) out += std::to_string(v) + " ";
    return out;
}

// Every match of a Global run by the backtracker, with its groups; nullopt when it ran out.
std::optional<Spans> Backtracked(const rx::Program& prog, const rx::String& text) {
    rx::Matcher matcher(prog, text.data(), text.size(), kBudget);
    Spans spans;
    const size_t perMatch = 2 * (prog.groupCount + 1);
    for (size_t from = 0; from <= text.size();) {
        const rx::Status st = matcher.Search(from, spans);
        if (st == rx::Status::NoMatch) break;
        if (st != rx::Status::Match) return std::nullopt;
        const int32_t* found = spans.data() + (spans.size() - perMatch);
        from = static_cast<size_t>(found[1]) + (found[1] == found[0] ? 1 : 0);
    }
    return spans;
}

Spans Outer(const Spans& spans, size_t perMatch) {
    Spans out;
    for (size_t i = 0; i < spans.size(); i += perMatch) out.insert(out.end(), {spans[i], spans[i + 1]});
    return out;
}

// Every match of a Global run by the two automata alone (no start filter when `filtered` is
// off); nullopt when one gave up.
std::optional<Spans> Automata(const rx::Program& prog, const rx::String& text, bool filtered,
                              size_t cap = rx::LazyDfa::kDefaultCap, size_t* flushes = nullptr) {
    rx::LazyDfa forward(prog, rx::LazyDfa::Mode::LeftmostFirst, nullptr, cap);
    rx::LazyDfa backward(*prog.reversed, rx::LazyDfa::Mode::Longest, nullptr, cap);
    rx::Matcher starts(prog, text.data(), text.size(), kBudget);
    Spans spans;
    for (size_t from = 0; from <= text.size();) {
        size_t end = 0, floor = 0, start = 0;
        bool atFloor = false;
        rx::Status st = forward.Forward(text.data(), text.size(), from, filtered ? &starts : nullptr, end, floor, atFloor);
        if (st == rx::Status::NoMatch) break;
        if (st != rx::Status::Match) return std::nullopt;
        st = backward.Backward(text.data(), text.size(), end, floor, start);
        if (st != rx::Status::Match) return std::nullopt;
        // where the forward search says the match starts at its floor, the backward one agrees
        if (atFloor && start != floor) start = SIZE_MAX;
        spans.insert(spans.end(), {static_cast<int32_t>(start), static_cast<int32_t>(end)});
        from = end + (end == start ? 1 : 0);
    }
    if (flushes) *flushes = forward.Flushes() + backward.Flushes();
    return spans;
}

// Every match of a Global Execute, with its groups read.
Spans Executed(rx::RegExp& re, const rx::String& text) {
    Spans got;
    rx::MatchCollection mc = re.Execute(text);
    for (long i = 0; i < mc.Count(); ++i) {
        rx::Match m = mc.Item(i);
        got.push_back(static_cast<int32_t>(m.FirstIndex()));
        got.push_back(static_cast<int32_t>(m.FirstIndex() + m.Length()));
        for (long g = 0; g < m.SubMatchCount(); ++g) {
            const auto sub = m.SubMatch(g);
            got.push_back(sub ? static_cast<int32_t>(m.SubMatchIndex(g)) : -1);
            got.push_back(sub ? static_cast<int32_t>(m.SubMatchIndex(g) + sub->size()) : -1);
        }
    }
    return got;
}

// RAII: the DFA switch on (for texts of every length) or off for one test, back as it was after.
class DfaSwitch {
public:
    explicit DfaSwitch(bool on) : was_(rx::Searcher::DfaInUse()), from_(rx::Searcher::DfaFromLength()) {
        rx::Searcher::UseDfa(on);
        rx::Searcher::DfaFromLength(0);
    }
    ~DfaSwitch() {
        rx::Searcher::UseDfa(was_);
        rx::Searcher::DfaFromLength(from_);
    }
    DfaSwitch(const DfaSwitch&) = delete;
    DfaSwitch& operator=(const DfaSwitch&) = delete;

private:
    bool was_;
    size_t from_;
};

struct Tally {
    int compared = 0, matched = 0;
};

bool Compare(uint64_t seed, const rx::String& pattern, const rx::String& text, bool ignoreCase, bool multiline,
             Tally& tally) {
    std::unique_ptr<rx::Program> prog;
    try {
        prog = rx::Compile(rx::Parse(pattern), ignoreCase, multiline);
    } catch (const base::Error&) {
        return true;  // rejected patterns have no search to compare
    }
    if (!rx::LazyDfa::Handles(*prog) || !prog->reversed) return true;
    const auto back = Backtracked(*prog, text);
    if (!back) return true;  // the backtracker ran out of steps: nothing to compare with
    ++tally.compared;
    if (!back->empty()) ++tally.matched;
    const size_t all = 2 * (prog->groupCount + 1);
    const Spans expected = Outer(*back, all);
    std::string why;
    const auto plain = Automata(*prog, text, false);
    const auto filtered = Automata(*prog, text, true);
    if (!plain || !filtered) why = "the automaton gave up";
    else if (*plain != expected) why = "automata: " + Show(*plain);
    else if (*filtered != expected) why = "automata after the start filter: " + Show(*filtered);
    if (why.empty()) {
        rx::RegExp re;
        re.Pattern(pattern);
        re.Global(true);
        re.IgnoreCase(ignoreCase);
        re.Multiline(multiline);
        const Spans executed = Executed(re, text);
        const auto count = static_cast<long long>(back->size() / all);
        if (executed != *back) why = "Execute, with groups: " + Show(executed);
        else if (re.Count(text) != count) why = "Count: " + std::to_string(re.Count(text));
    }
    if (why.empty()) return true;
    ADD_FAILURE() << "seed " << seed << " pattern \"" << Quote(pattern) << "\" text \"" << Quote(text)
                  << "\" ignoreCase " << ignoreCase << " multiline " << multiline
                  << "\n  backtracker: " << Show(*back) << "\n  differs, " << why;
    return false;
}

void Put(rx::String& out, const char* s) {
    while (*s) out += static_cast<rx::Char>(*s++);
}

// Patterns over a few units, with what makes priorities and anchors hard to keep.
void DfaPattern(Random& rng, rx::String& out, int depth) {
    static const char* const kAtoms[] = {"a", "b", "A", "a?", "b*", "[ab]", "[^a\\n]", ".", "ab", "ba", "\\w", "\\W",
                                         "\\s", "(?:)", "x", "a|b", "b|ab|a", "^", "$", "\\b", "\\B", "\\r", "\\n",
                                         "[a-c]", "\\d", "aa|a", "a|aa", ""};
    static const char* const kQuantifiers[] = {"", "", "", "*", "+", "?", "{2}", "{0,2}", "{1,3}", "{2,}", "*?",
                                               "+?", "??", "{1,2}?", "{0,}", "{3}?", "{2,}?"};
    const int terms = rng.Between(1, 3);
    for (int t = 0; t < terms; ++t) {
        if (depth < 3 && rng.Percent(40)) {
            Put(out, rng.Percent(50) ? "(" : "(?:");
            DfaPattern(rng, out, depth + 1);
            while (rng.Percent(35)) {
                Put(out, "|");
                DfaPattern(rng, out, depth + 1);
            }
            Put(out, ")");
        } else {
            const std::string atom = rng.Pick(kAtoms);
            const bool bare = atom.size() == 1 && atom != "^" && atom != "$";
            if (!bare) Put(out, "(?:");
            Put(out, atom.c_str());
            if (!bare) Put(out, ")");
        }
        Put(out, rng.Pick(kQuantifiers));
    }
}

rx::String DfaText(Random& rng, int maxLength) {
    static const char* const kPieces[] = {"a", "a", "a", "b", "b", "A", "B", "x", " ", "\n", "\r", "\r\n", "1", ".", "_"};
    rx::String out;
    const int n = rng.Between(0, maxLength);
    for (int i = 0; i < n; ++i) Put(out, rng.Pick(kPieces));
    return out;
}

TEST(RegExpDfa, GeneratedLoopsAnchorsAndBoundariesFindWhatTheBacktrackerFinds) {
    DfaSwitch on(true);
    Tally tally;
    int failures = 0;
    for (uint64_t i = 0; i < 4000 && failures < 5; ++i) {
        const uint64_t seed = 0xDFA0'2026'1207ull + i;
        Random rng(seed);
        rx::String pattern;
        DfaPattern(rng, pattern, 0);
        const rx::String text = DfaText(rng, 20);
        if (!Compare(seed, pattern, text, rng.Percent(20), rng.Percent(50), tally)) ++failures;
    }
    std::printf("%d cases compared, %d with matches\n", tally.compared, tally.matched);
    EXPECT_GT(tally.compared, 3500);
    EXPECT_GT(tally.matched, tally.compared / 2);
}

TEST(RegExpDfa, GeneratedDialectCasesFindWhatTheBacktrackerFinds) {
    DfaSwitch on(true);
    CaseGenerator generator(0xDFA1'2026'1207ull);
    Tally tally;
    int failures = 0;
    for (int i = 0; i < 4000 && failures < 5; ++i) {
        Case c = generator.Next();
        c.text += generator.Text(30);
        if (!Compare(c.number, c.pattern, c.text, c.ignoreCase, c.multiline, tally)) ++failures;
    }
    std::printf("%d generated cases compared, %d with matches\n", tally.compared, tally.matched);
    EXPECT_GT(tally.compared, 2500);
}

rx::String Units(const std::string& s) { return rx::FromUtf8(s); }

rx::String RandomText(uint64_t seed, size_t length, const char* alphabet) {
    Random rng(seed);
    const size_t n = std::char_traits<char>::length(alphabet);
    rx::String out;
    for (size_t i = 0; i < length; ++i) out += static_cast<rx::Char>(alphabet[rng.Below(static_cast<uint32_t>(n))]);
    return out;
}

// Long runs inside a loop (`.*`, `[^>]*`, a lazy `.*?`), where a state that stays as it is reads
// on by table or by a vector scan for the few units that leave it, some of them a possible end
// at every unit (`[ab]*\B`: the last one that keeps the end possible is where the match ends;
// backwards the same for a start behind a way begun earlier, `\B[ab]*x|a[ab ]*q`); and patterns
// whose every candidate begins with units the automaton reads once for all (`<`, `ab`): on long
// lines of CR, LF and CR LF breaks the matches are the backtracker's.
TEST(RegExpDfa, LongRunsInsideLoopsFindWhatTheBacktrackerFinds) {
    const char* const patterns[] = {"^.*$", "^.*?$", "<([^>]*)>|<.*?/>", "a.*?b", "x[^\\n]*y|.z", "(?:.q)?[ab]*c",
                                    ".*\\r", "\\b.{3,}$", "(.)*?x", "[ab]*\\B", "\\B[ab]*x|a[ab ]*q", "a[ab]*\\B|c",
                                    "\\bab[ab]*", "<(\\S*?)[^>]*>.*?|<.*?/>", "ab(?:[ab.]*\\.)+[ab]+\\B"};
    static const char* const breaks[] = {"\r\n", "\n", "\r", ""};
    int compared = 0;
    for (uint64_t seed = 1; seed <= 30; ++seed) {
        Random rng(seed);
        rx::String text;
        const int lines = rng.Between(1, 6);
        for (int l = 0; l < lines; ++l) {
            text += RandomText(seed * 100 + static_cast<uint64_t>(l), rng.Below(400), "aaabbbcxyz <>/.");
            Put(text, rng.Pick(breaks));
        }
        for (const char* p : patterns) {
            const rx::String pattern = Units(p);
            std::unique_ptr<rx::Program> prog;
            try {
                prog = rx::Compile(rx::Parse(pattern), false, seed % 2 == 0);
            } catch (const base::Error&) {
                continue;
            }
            if (!rx::LazyDfa::Handles(*prog)) continue;
            const auto back = Backtracked(*prog, text);
            ASSERT_TRUE(back) << p;
            const auto got = Automata(*prog, text, true);
            ASSERT_TRUE(got) << p;
            EXPECT_EQ(Show(*got), Show(Outer(*back, 2 * (prog->groupCount + 1)))) << "seed " << seed << " pattern " << p;
            ++compared;
        }
    }
    EXPECT_GT(compared, 200);
}

// A cap that holds a few dozen states: the cache is emptied again and again during one run,
// and the answers stay the backtracker's.
TEST(RegExpDfa, ATinyCacheIsFlushedAndStillAnswersRight) {
    const auto prog = rx::Compile(rx::Parse(Units("[ab]*a[ab]{6}c|b[ab]{3}a")), false, false);
    const rx::String text = RandomText(7, 3000, "aaabbbc");
    const auto back = Backtracked(*prog, text);
    ASSERT_TRUE(back);
    ASSERT_GT(back->size(), 20u);
    size_t flushes = 0;
    // large enough for one search's flushes to stay under the limit, small enough to flush
    const auto got = Automata(*prog, text, true, 24 * 1024, &flushes);
    ASSERT_TRUE(got) << "gave up";
    EXPECT_EQ(Show(*got), Show(Outer(*back, 2 * (prog->groupCount + 1))));
    EXPECT_GT(flushes, 2u);
    // unlimited, the same run needs no flush
    EXPECT_TRUE(Automata(*prog, text, true, size_t{64} << 20, &flushes));
    EXPECT_EQ(flushes, 0u);
}

// A pattern whose states outgrow any cache (a's position 16 units before a c): the automaton
// gives up after its flushes, and the run goes on through the other matchers with the same
// answers.
TEST(RegExpDfa, StatesBeyondTheCapFallBackToTheOtherMatchers) {
    const rx::String pattern = Units("[ab]*a[ab]{16}c");
    const rx::String text = RandomText(11, 200'000, "ab") + Units("c") + RandomText(12, 1000, "abc");
    const auto prog = rx::Compile(rx::Parse(pattern), false, false);
    rx::LazyDfa forward(*prog, rx::LazyDfa::Mode::LeftmostFirst);
    size_t end = 0, floor = 0;
    bool atFloor = false;
    EXPECT_EQ(forward.Forward(text.data(), text.size(), 0, nullptr, end, floor, atFloor), rx::Status::OutOfMemory);
    EXPECT_EQ(forward.Flushes(), static_cast<size_t>(rx::LazyDfa::kMaxFlushes));

    rx::RegExp re;
    re.Pattern(pattern);
    re.Global(true);
    // the second text has matches the automaton finds in one call before its cache gives out:
    // they stand, and the other matchers go on from the last of them
    const rx::String easy = Units("abbbbbbbbbbbbbbbbc c aaaaaaaaaaaaaaaaac ");
    for (const rx::String& t : {text, easy + easy + text}) {
        Spans without, with;
        long long countWithout = 0, countWith = 0;
        {
            DfaSwitch off(false);
            without = Executed(re, t);
            countWithout = re.Count(t);
        }
        {
            DfaSwitch on(true);
            with = Executed(re, t);
            countWith = re.Count(t);
        }
        ASSERT_FALSE(without.empty());
        EXPECT_EQ(Show(with), Show(without));
        EXPECT_EQ(countWith, countWithout);
        EXPECT_EQ(countWith, static_cast<long long>(without.size() / 2));
    }
}

// The automaton counts a step per unit and per state built against the budget, and looks at
// the stop flag: a long run ends with the right status, and without either goes to its end.
TEST(RegExpDfa, TheBudgetAndTheStopFlagEndAnAutomatonRun) {
    const auto prog = rx::Compile(rx::Parse(Units("(x+x+)+y")), false, false);
    const rx::String text(300'000, 'x');
    std::atomic<bool> stop{false};
    rx::LazyDfa dfa(*prog, rx::LazyDfa::Mode::LeftmostFirst, &stop);
    size_t end = 0, floor = 0;
    bool atFloor = false;
    EXPECT_EQ(dfa.Forward(text.data(), text.size(), 0, nullptr, end, floor, atFloor), rx::Status::NoMatch);
    EXPECT_GE(dfa.Steps(), text.size());
    // given no budget, it still tells what it spent, not what is left of an endless budget
    EXPECT_LT(dfa.Steps(), 100 * text.size());
    dfa.Budget(100'000);
    EXPECT_EQ(dfa.Forward(text.data(), text.size(), 0, nullptr, end, floor, atFloor), rx::Status::BudgetExceeded);
    dfa.Budget(UINT64_MAX);
    stop.store(true);
    EXPECT_EQ(dfa.Forward(text.data(), text.size(), 0, nullptr, end, floor, atFloor), rx::Status::Stopped);
    rx::LazyDfa backward(*prog->reversed, rx::LazyDfa::Mode::Longest, &stop);
    size_t start = 0;
    EXPECT_EQ(backward.Backward(text.data(), text.size(), text.size(), 0, start), rx::Status::Stopped);
    stop.store(false);
    EXPECT_EQ(dfa.Forward(text.data(), text.size(), 0, nullptr, end, floor, atFloor), rx::Status::NoMatch);

    // through RegExp: the catastrophic pattern ends at once, and within a small budget it does
    // not (a class at the end, which no start filter sees through, keeps the search from giving
    // up before it starts)
    DfaSwitch on(true);
    rx::RegExp re;
    re.Pattern(Units("(x+x+)+[yz]"));
    re.Global(true);
    const rx::String tailed = text + Units("-y");
    EXPECT_EQ(re.Execute(tailed).Count(), 0);
    re.StepBudget(10'000);
    try {
        re.Execute(tailed);
        ADD_FAILURE() << "no error within a budget of 10,000 steps";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Number(), rx::err::BudgetExceeded);
    }
    re.StepBudget(rx::RegExp::DefaultStepBudget);
    stop.store(true);
    re.StopFlag(&stop);
    try {
        re.Execute(tailed);
        ADD_FAILURE() << "no error with the stop flag set";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Number(), rx::err::Stopped);
    }
}

// A values-only run finds many matches in one call of the search (the automaton's batch and the
// backtracker's); each search in it must spend and be bounded as when the caller asks match by
// match: the same matches, the same error at the same search and the same steps spent, whatever the budget (small
// ones run out, the backtracker's share of the steps runs out and the linear matcher takes
// over) and whichever matcher answers.
struct ValuesOutcome {
    Spans spans;
    rx::Status end = rx::Status::NoMatch;
    uint64_t spent = 0;
    bool operator==(const ValuesOutcome&) const = default;
};

ValuesOutcome ValuesRun(const rx::Program& prog, const rx::String& text, uint64_t budget, size_t many) {
    rx::Searcher searcher(prog, text.data(), text.size(), budget);
    ValuesOutcome run;
    for (size_t from = 0; from <= text.size();) {
        const rx::Status st = searcher.Search(from, run.spans, false, many);
        if (st != rx::Status::Match) {
            run.end = st;
            break;
        }
        const int32_t start = run.spans[run.spans.size() - 2], end = run.spans.back();
        from = static_cast<size_t>(end) + (end == start ? 1 : 0);
    }
    run.spent = searcher.Spent();
    return run;
}

TEST(RegExpBatch, ManyMatchesInOneCallSpendAsOneCallEach) {
    CaseGenerator generator(0xBA7C'2026'1208ull);
    // (the last: many cheap matches, each after some hundred steps of backtracking, until the
    // backtracker's share of the run is spent)
    static const char* const kCostly[][2] = {{"(a|aa)+b|a", "aaaaxxxx b "},    {"(x+x+)+y|x", "aaaaxxxx b "},
                                             {"(\\w+\\s?)*$|\\w", "aaaaxxxx b "}, {"(a*)*b|a{2}", "aaaaxxxx b "},
                                             {"(a|a)+c|\\b", "aaaaxxxx b "},  {"\\w{0,100}?x|a", "aaaaaaaaaaaaaaaab"}};
    int compared = 0, overBudget = 0, failures = 0;
    for (int i = 0; i < 1200 && failures < 5; ++i) {
        Case c = generator.Next();
        c.text += generator.Text(200);
        if (i % 4 == 0) {
            // the classic costly patterns over long runs of what they backtrack on
            const auto& costly = kCostly[i / 4 % 6];
            c.pattern = Units(costly[0]);
            c.text = RandomText(static_cast<uint64_t>(i), 100 + static_cast<size_t>(i) % 700, costly[1]);
        }
        std::unique_ptr<rx::Program> prog;
        try {
            prog = rx::Compile(rx::Parse(c.pattern), c.ignoreCase, c.multiline);
        } catch (const base::Error&) {
            continue;
        }
        for (const bool dfa : {false, true}) {
            DfaSwitch automaton(dfa);
            for (const uint64_t budget : {40ull, 700ull, 9'000ull, 300'000ull}) {
                const ValuesOutcome one = ValuesRun(*prog, c.text, budget, 1), many = ValuesRun(*prog, c.text, budget, SIZE_MAX),
                                    few = ValuesRun(*prog, c.text, budget, 3);
                ++compared;
                if (one.end == rx::Status::BudgetExceeded) ++overBudget;
                if (one == many && one == few) continue;
                ++failures;
                ADD_FAILURE() << "case " << c.number << " pattern \"" << Quote(c.pattern) << "\" text \"" << Quote(c.text)
                              << "\" dfa " << dfa << " budget " << budget << "\n  match by match: " << Show(one.spans)
                              << "end " << static_cast<int>(one.end) << ", " << one.spent << " steps\n  many at a time: "
                              << Show(many.spans) << "end " << static_cast<int>(many.end) << ", " << many.spent
                              << " steps\n  three at a time: " << Show(few.spans) << "end " << static_cast<int>(few.end)
                              << ", " << few.spent << " steps";
            }
        }
    }
    std::printf("%d runs compared, %d of them over the budget\n", compared, overBudget);
    EXPECT_GT(compared, 5000);
    EXPECT_GT(overBudget, compared / 20);
}

}  // namespace
}  // namespace rxtest

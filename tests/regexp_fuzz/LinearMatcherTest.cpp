// The linear matcher against the backtracker: on generated patterns (the dialect's rules for
// groups in repeated loops, empty iterations, counted and lazy loops) and texts, both must find
// the same matches with the same groups, with groups or without them, and anchored at a match's
// start. Then the classic catastrophic patterns, which the backtracker alone cannot finish, with
// their answers worked out by hand-written references.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "base/Error.h"
#include "regexp/Matcher.h"
#include "regexp/Parser.h"
#include "regexp/PikeVm.h"
#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "tests/regexp_support/CaseGenerator.h"
#include "tests/regexp_support/Outcome.h"
#include "tests/regexp_support/Random.h"

namespace rxtest {
namespace {

constexpr uint64_t kBudget = 300'000;          // the backtracker's
constexpr uint64_t kLinearBudget = 5'000'000;

using Spans = std::vector<int32_t>;

// Every match of a Global run, as the spans of each (the first `slots` of each match); nullopt
// when the budget or the memory ran out.
std::optional<Spans> Backtracked(const rx::Program& prog, const rx::String& text) {
    rx::Matcher matcher(prog, text.data(), text.size(), kBudget);
    Spans spans;
    const size_t perMatch = 2 * (prog.groupCount + 1);
    for (size_t from = 0; from <= text.size();) {
        rx::Status st = matcher.Search(from, spans);
        if (st == rx::Status::NoMatch) break;
        if (st != rx::Status::Match) return std::nullopt;
        const int32_t* found = spans.data() + (spans.size() - perMatch);
        from = static_cast<size_t>(found[1]) + (found[1] == found[0] ? 1 : 0);
    }
    return spans;
}

std::optional<Spans> Linear(const rx::Program& prog, const rx::String& text, size_t slots) {
    rx::Matcher starts(prog, text.data(), text.size(), kBudget);
    rx::PikeVm vm(prog, starts, text.data(), text.size());
    Spans spans;
    for (size_t from = 0; from <= text.size();) {
        rx::Status st = vm.Search(from, false, slots, kLinearBudget, spans);
        if (st == rx::Status::NoMatch) break;
        if (st != rx::Status::Match) return std::nullopt;
        const int32_t* found = spans.data() + (spans.size() - slots);
        from = static_cast<size_t>(found[1]) + (found[1] == found[0] ? 1 : 0);
    }
    return spans;
}

// The whole-match spans of a run with groups.
Spans Outer(const Spans& spans, size_t perMatch) {
    Spans out;
    for (size_t i = 0; i < spans.size(); i += perMatch) out.insert(out.end(), {spans[i], spans[i + 1]});
    return out;
}

std::string Show(const Spans& spans) {
    std::string out;
    for (int32_t v : spans) out += std::to_string(v) + " ";
    return out;
}

struct Tally {
    int compared = 0, matched = 0, linearOnly = 0;
};

bool Compare(const rx::String& pattern, const rx::String& text, bool ignoreCase, bool multiline, Tally& tally) {
    std::unique_ptr<rx::Program> prog;
    try {
        prog = rx::Compile(rx::Parse(pattern), ignoreCase, multiline);
    } catch (const base::Error&) {
        return true;  // rejected patterns have no search to compare
    }
    if (!rx::PikeVm::Handles(*prog)) return true;
    const size_t all = 2 * (prog->groupCount + 1);
    auto back = Backtracked(*prog, text);
    auto lin = Linear(*prog, text, all);
    auto bare = Linear(*prog, text, 2);
    if (!lin || !bare) {
        ADD_FAILURE() << "pattern \"" << Quote(pattern) << "\" text \"" << Quote(text) << "\": the linear matcher gave up";
        return false;
    }
    if (!back) {
        ++tally.linearOnly;  // the backtracker ran out of steps: nothing to compare with
        return true;
    }
    ++tally.compared;
    if (!back->empty()) ++tally.matched;
    std::string why;
    if (*lin != *back) why = "with groups";
    else if (*bare != Outer(*back, all)) why = "without groups: " + Show(*bare);
    if (why.empty()) {
        // anchored at each match's start, the linear matcher finds that match again
        rx::Matcher starts(*prog, text.data(), text.size(), kBudget);
        rx::PikeVm vm(*prog, starts, text.data(), text.size());
        for (size_t i = 0; i < back->size() && why.empty(); i += all) {
            Spans again;
            const auto st = vm.Search(static_cast<size_t>((*back)[i]), true, all, kLinearBudget, again);
            if (st != rx::Status::Match || !std::equal(again.begin(), again.end(), back->begin() + static_cast<ptrdiff_t>(i)))
                why = "anchored at " + std::to_string((*back)[i]) + ": " + Show(again);
        }
    }
    if (why.empty()) return true;
    ADD_FAILURE() << "pattern \"" << Quote(pattern) << "\" text \"" << Quote(text) << "\" ignoreCase " << ignoreCase
                  << " multiline " << multiline << "\n  backtracker: " << Show(*back) << "\n  linear:      " << Show(*lin)
                  << "\n  differs " << why;
    return false;
}

// Patterns of loops inside loops: groups in repeated loops, bodies that may match empty,
// counted loops with small bounds, lazy loops, alternatives that overlap.
void LoopPattern(Random& rng, rx::String& out, int depth) {
    static const char* const kAtoms[] = {"a", "b", "a?", "b*", "[ab]", ".", "ab", "\\w", "\\s", "(?:)", "x", "a|b",
                                         "^", "$", "\\b", "\\B", "[^a]", "aa|a", ""};
    static const char* const kQuantifiers[] = {"", "", "*", "+", "?", "{2}", "{0,2}", "{1,3}", "{2,}", "*?", "+?",
                                               "??", "{1,2}?", "{0,}"};
    auto put = [&](const char* s) {
        while (*s) out += static_cast<rx::Char>(*s++);
    };
    const int terms = rng.Between(1, 3);
    for (int t = 0; t < terms; ++t) {
        if (depth < 3 && rng.Percent(45)) {
            put(rng.Percent(60) ? "(" : "(?:");
            LoopPattern(rng, out, depth + 1);
            if (rng.Percent(30)) {
                put("|");
                LoopPattern(rng, out, depth + 1);
            }
            put(")");
        } else {
            const char* atom = rng.Pick(kAtoms);
            const std::string a = atom;
            const bool bare = a.size() == 1 && a != "^" && a != "$";
            if (!bare) put("(");
            put(atom);
            if (!bare) put(")");
        }
        put(rng.Pick(kQuantifiers));
    }
}

rx::String LoopText(Random& rng, int maxLength) {
    static const char16_t kUnits[] = u"aaaabbbx \n\r.A";
    rx::String out;
    const int n = rng.Between(0, maxLength);
    for (int i = 0; i < n; ++i) out += static_cast<rx::Char>(kUnits[rng.Below(sizeof kUnits / sizeof kUnits[0] - 1)]);
    return out;
}

TEST(RegExpLinear, LoopPatternsFindWhatTheBacktrackerFinds) {
    Random rng(0x11AE'A2'2026'1207ull);
    Tally tally;
    int failures = 0;
    for (int i = 0; i < 2500 && failures < 5; ++i) {
        rx::String pattern;
        LoopPattern(rng, pattern, 0);
        if (!Compare(pattern, LoopText(rng, 24), rng.Percent(15), rng.Percent(40), tally)) ++failures;
    }
    std::printf("%d loop cases compared, %d with matches, %d finished by the linear matcher alone\n", tally.compared,
                tally.matched, tally.linearOnly);
    EXPECT_GT(tally.compared, 2200);
    EXPECT_GT(tally.matched, tally.compared / 2);
}

TEST(RegExpLinear, GeneratedPatternsFindWhatTheBacktrackerFinds) {
    CaseGenerator generator(0x11AE'2026'1207ull);
    Tally tally;
    int failures = 0;
    for (int i = 0; i < 4000 && failures < 5; ++i) {
        Case c = generator.Next();
        c.text += generator.Text(30);
        if (!Compare(c.pattern, c.text, c.ignoreCase, c.multiline, tally)) ++failures;
    }
    std::printf("%d generated cases compared, %d with matches\n", tally.compared, tally.matched);
    EXPECT_GT(tally.compared, 3000);
}

// One catastrophic pattern: its text, and the spans of every match of a Global run worked out
// from the text's shape rather than by any matcher.
struct Catastrophe {
    const char* pattern;
    std::function<rx::String()> text;
    std::function<Spans(const rx::String&)> expected;
};

rx::String Repeat(const char* piece, size_t times, const char* tail = "") {
    rx::String out;
    for (size_t i = 0; i < times; ++i)
        for (const char* p = piece; *p; ++p) out += static_cast<rx::Char>(*p);
    for (const char* p = tail; *p; ++p) out += static_cast<rx::Char>(*p);
    return out;
}

TEST(RegExpLinear, CatastrophicPatternsFinish) {
    constexpr int32_t n = 30000;
    const std::vector<Catastrophe> table = {
        // no b anywhere: nothing matches
        {"(a*)*b", [] { return Repeat("a", n); }, [](const rx::String&) { return Spans{}; }},
        // the first iteration takes every a; a second, empty one ends the loop
        {"(a*)*b", [] { return Repeat("a", n, "b"); }, [](const rx::String&) { return Spans{0, n + 1, 0, n}; }},
        {"(x+x+)+y", [] { return Repeat("x", n); }, [](const rx::String&) { return Spans{}; }},
        // x+ takes all but one x, the second x+ the last one: one iteration
        {"(x+x+)+y", [] { return Repeat("x", n, "y"); }, [](const rx::String&) { return Spans{0, n + 1, 0, n}; }},
        // a line of words ending in '!': no start before the end reaches $, the empty match at the end does
        {"(\\w+\\s?)*$", [] { return Repeat("word ", n / 5, "!"); },
         [](const rx::String& t) { return Spans{int32_t(t.size()), int32_t(t.size()), -1, -1}; }},
        // without the '!' the first start takes the line; its last iteration is the last word
        {"(\\w+\\s?)*$", [] { return Repeat("word ", n / 5, "end"); },
         [](const rx::String& t) {
             const auto e = int32_t(t.size());
             return Spans{0, e, e - 3, e, e, e, -1, -1};
         }},
        // the first alternative wins every iteration; the last iteration is the last a
        {"(a|aa)+$", [] { return Repeat("a", n); }, [](const rx::String&) { return Spans{0, n, n - 1, n}; }},
        {"(a|aa)+$", [] { return Repeat("a", n, "b"); }, [](const rx::String&) { return Spans{}; }},
        {"^(\\d+)*$", [] { return Repeat("1", n, "x"); }, [](const rx::String&) { return Spans{}; }},
        // each of the 20 optional a's takes one, the 20 required ones the rest
        {"(?:a?){20}a{20}", [] { return Repeat("a", 40); }, [](const rx::String&) { return Spans{0, 40}; }},
        {"(?:a?){20}a{20}", [] { return Repeat("a", 39); }, [](const rx::String&) { return Spans{0, 39}; }},
        {"(.*x)*y", [] { return Repeat("x", n); }, [](const rx::String&) { return Spans{}; }},
        {"(a+)+(b+)+c", [] { return Repeat("ab", n / 2); }, [](const rx::String&) { return Spans{}; }},
    };
    for (const Catastrophe& c : table) {
        rx::RegExp re;
        re.Pattern(rx::FromUtf8(c.pattern));
        re.Global(true);
        const rx::String text = c.text();
        Spans got;
        try {
            rx::MatchCollection mc = re.Execute(text);
            for (long i = 0; i < mc.Count(); ++i) {
                rx::Match m = mc.Item(i);
                got.push_back(static_cast<int32_t>(m.FirstIndex()));
                got.push_back(static_cast<int32_t>(m.FirstIndex() + m.Length()));
                for (long g = 0; g < m.SubMatchCount(); ++g) {
                    got.push_back(static_cast<int32_t>(m.SubMatchIndex(g)));
                    got.push_back(m.SubMatch(g) ? static_cast<int32_t>(m.SubMatchIndex(g) + m.SubMatch(g)->size()) : -1);
                }
            }
        } catch (const base::Error& e) {
            ADD_FAILURE() << c.pattern << " on " << text.size() << " units: error " << e.Number();
            continue;
        }
        EXPECT_EQ(Show(got), Show(c.expected(text))) << c.pattern << " on " << text.size() << " units";
    }
}

}  // namespace
}  // namespace rxtest

namespace rxtest {
namespace {

// The linear matcher looks at the caller's stop flag as the backtracker does, and at the step
// budget: a long run ends with the right status, and goes on to the end with neither. (A class
// at the end: a y would tell the start filter that no match can start in a text without one.)
TEST(RegExpLinear, TheLinearMatcherPollsTheStopFlagAndTheBudget) {
    auto prog = rx::Compile(rx::Parse(rx::FromUtf8("(x+x+)+[yz]")), false, false);
    const rx::String text(300'000, 'x');
    std::atomic<bool> stop{false};
    rx::Matcher starts(*prog, text.data(), text.size(), kBudget, &stop);
    rx::PikeVm vm(*prog, starts, text.data(), text.size());
    Spans spans;
    EXPECT_EQ(vm.Search(0, false, 4, UINT64_MAX, spans), rx::Status::NoMatch);
    EXPECT_EQ(vm.Search(0, false, 4, 100'000, spans), rx::Status::BudgetExceeded);
    stop.store(true);
    EXPECT_EQ(vm.Search(0, false, 4, UINT64_MAX, spans), rx::Status::Stopped);
    stop.store(false);
    EXPECT_EQ(vm.Search(0, false, 4, UINT64_MAX, spans), rx::Status::NoMatch);
    EXPECT_TRUE(spans.empty());
}

}  // namespace
}  // namespace rxtest

namespace rxtest {
namespace {

std::string GlobalSpans(const char* pattern, const rx::String& text) {
    rx::RegExp re;
    re.Pattern(rx::FromUtf8(pattern));
    re.Global(true);
    std::string out;
    for (const rx::Match& m : re.Execute(text)) out += std::to_string(m.FirstIndex()) + "+" + std::to_string(m.Length()) + " ";
    return out;
}

// A search gives up at once where the rest of the text lacks a unit every match contains; the
// unit found before a search's start, or inside a loop that must run, still counts as it should.
TEST(RegExpLinear, AUnitEveryMatchNeedsIsLookedForOnce) {
    EXPECT_EQ(GlobalSpans("(a*)*b", Repeat("a", 2, "b") + Repeat("a", 50000)), "0+3 ");
    EXPECT_EQ(GlobalSpans("c(a|b)+d", Repeat("cabd cab", 1)), "0+4 ");
    EXPECT_EQ(GlobalSpans("(?:xy)+z|q", Repeat("q xyxyz xyz", 2)), "0+1 2+5 8+3 11+1 13+5 19+3 ");
    EXPECT_EQ(GlobalSpans("(?:ab){2}c", Repeat("ababc", 3)), "0+5 5+5 10+5 ");
    // a loop that may run no time, or an alternative, requires nothing
    EXPECT_EQ(GlobalSpans("a(?:b)*", Repeat("aab", 1)), "0+1 1+2 ");
    EXPECT_EQ(GlobalSpans("a|b", Repeat("ba", 1)), "0+1 1+1 ");
}

}  // namespace
}  // namespace rxtest

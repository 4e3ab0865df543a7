// Work and memory that once escaped the step budget, and the compile-time shortcuts that replaced
// walks over the whole code space: their results must stay exactly what the slow ways gave.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "EngineTestUtil.h"
#include "regexp/CaseFold.h"
#include "regexp/CharSet.h"
#include "regexp/Searcher.h"

using namespace rxtest;

namespace {

long ErrorNumber(rx::RegExp& re, const rx::String& text) {
    try {
        re.Execute(text);
    } catch (const base::Error& e) {
        return e.Number();
    }
    return 0;
}

rx::String Repeat(const std::string& s, size_t n) {
    rx::String one = U(s), out;
    for (size_t i = 0; i < n; ++i) out += one;
    return out;
}

}  // namespace

TEST(Limits, FoldIndexGivesTheUnitsAWalkOverTheCodeSpaceGives) {
    std::map<uint16_t, std::vector<uint16_t>> byFold;
    for (uint32_t u = 0; u <= 0xFFFF; ++u) byFold[rx::FoldCase(static_cast<uint16_t>(u))].push_back(static_cast<uint16_t>(u));
    for (uint32_t f = 0; f <= 0xFFFF; ++f) {
        std::vector<uint16_t> got;
        rx::ForEachUnitFoldingTo(static_cast<uint16_t>(f), [&](uint16_t u) { got.push_back(u); });
        auto it = byFold.find(static_cast<uint16_t>(f));
        ASSERT_EQ(got, it == byFold.end() ? std::vector<uint16_t>{} : it->second) << "fold " << f;
    }
    // closing a set over case: the slow definition, every unit whose fold is a member's fold
    const std::vector<std::vector<std::pair<uint16_t, uint16_t>>> sets = {
        {{'a', 'z'}}, {{0xE0, 0xE5}}, {{0x3A3, 0x3A3}}, {{0, 'j'}, {'l', 0xFFFF}}, {{0x400, 0x4FF}, {'K', 'K'}},
        {{0x1F00, 0x1FFF}}, {{0x212A, 0x212A}}};
    for (const auto& ranges : sets) {
        rx::CharSet set;
        std::vector<bool> folds(0x10000, false);
        for (auto [lo, hi] : ranges) {
            set.AddRange(lo, hi);
            for (uint32_t c = lo; c <= hi; ++c) folds[rx::FoldCase(static_cast<uint16_t>(c))] = true;
        }
        set.CloseOverCase();
        for (uint32_t c = 0; c <= 0xFFFF; ++c)
            ASSERT_EQ(set.Contains(static_cast<uint16_t>(c)), folds[rx::FoldCase(static_cast<uint16_t>(c))])
                << "unit " << c << " of the set starting " << ranges[0].first;
    }
}

TEST(Limits, ManyCaseInsensitiveAlternativesCompileAndMatch) {
    std::string pattern;
    for (int i = 0; i < 10000; ++i) pattern += (i ? "|k" : "k") + std::to_string(i);
    pattern += "|σx|äy";
    EXPECT_EQ(Matches(pattern, "K9999 k42 ΣX ςx ÄY K", {true, true}), "0:2:K9 | 6:2:k4 | 10:2:ΣX | 13:2:ςx | 16:2:ÄY");
    EXPECT_EQ(Matches("[^k]+", "KkxX", {true, true}), "2:2:xX");
}

TEST(Limits, NestedLookAheadsCloseInLinearWork) {
    const size_t depth = 30000;
    rx::RegExp re;
    re.Global(true);
    re.Pattern(Repeat("(?=(", depth) + U("a") + Repeat("))", depth));
    // each level costs a few steps at each of the text's six starts; closing them all once cost
    // the square of the depth
    re.StepBudget(40 * depth);
    rx::MatchCollection mc = re.Execute(U("xxaxx"));
    ASSERT_EQ(mc.Count(), 1);
    EXPECT_EQ(mc.Item(0).FirstIndex(), 2);
    EXPECT_EQ(mc.Item(0).Length(), 0);
    EXPECT_EQ(*mc.Item(0).SubMatch(0), U(""));  // the outer groups hold only look-aheads
    EXPECT_EQ(*mc.Item(0).SubMatch(depth - 1), U("a"));
}

TEST(Limits, BacktrackingPastClosedLookAheadsRestoresTheirGroups) {
    // the outer look-ahead holds an inner one's records; both are undone when x fails
    EXPECT_EQ(MatchesWithGroups("(?=(\\w)(?=(\\w)))x|\\w\\w", "ab"), "0:2:ab[-,-]");
    // a choice point of the outer body before the inner look-ahead's records is dropped at close
    EXPECT_EQ(MatchesWithGroups("(?=(a|ab)(?=(b)))(\\w+)", "ab"), "0:2:ab[a,b,ab]");
    EXPECT_EQ(MatchesWithGroups("(?=(a|ab)(?=(b)))(\\w+)c|(\\w)", "ab"), "0:1:a[-,-,-,a] | 1:1:b[-,-,-,b]");
    // look-aheads closed inside a loop, then the loop gives back its iterations
    EXPECT_EQ(MatchesWithGroups("(?:(?=(\\w))(?=(?=(\\w))\\w)\\w)*b", "aab"), "0:3:aab[a,a]");
    EXPECT_EQ(MatchesWithGroups("(?:(?=(a)(?=(a)))a)*ab", "aaab"), "0:4:aaab[a,a]");
    // (the second iteration's inner look-ahead sees the b: no start before it can match)
    EXPECT_EQ(MatchesWithGroups("(?:(?=(a)(?=(a)))a)*(?!x)b", "aab"), "2:1:b[-,-]");
    EXPECT_EQ(MatchesWithGroups("(?:(?=(a)(?=(a)))a)*(?!x)ab", "aaab"), "0:4:aaab[a,a]");
}

TEST(Limits, ResettingManyGroupsAtEveryStartCountsAgainstTheBudget) {
    rx::RegExp re;
    re.Global(true);
    re.Pattern(U("()\\1x") + Repeat("(b)", 5000));
    re.StepBudget(10'000'000);
    // (the b at the end: a text without it is answered at once, every match needing a b)
    const rx::String text = rx::String(100000, 'a') + U("b");
    EXPECT_EQ(ErrorNumber(re, text), rx::err::BudgetExceeded);
    // a pattern of few groups is not hindered by it
    re.Pattern(U("()\\1x(b)"));
    EXPECT_EQ(ErrorNumber(re, text), 0);
}

// Counted loops run through millions of counts make the linear matcher hold a state per count;
// its table lookups, copies and memory are work and memory like the backtracker's.
TEST(Limits, CountedLoopsOfManyCountsEndAtTheBudgetOrTheMemoryCap) {
    constexpr long kOutOfMemory = 7;
    rx::RegExp re;
    re.Global(true);
    // every count of the empty iterations is a state at the first position: the memory cap
    // ends it before the budget does
    re.Pattern(U("(a?){2147483647}"));
    EXPECT_EQ(ErrorNumber(re, U("aaa")), kOutOfMemory);
    // a small budget ends it before the cap
    re.StepBudget(2'000'000);
    EXPECT_EQ(ErrorNumber(re, U("aaa")), rx::err::BudgetExceeded);

    // nested counted loops: millions of counter combinations at every position, no match (a
    // class at the end: after a plain b, no start before a b's run of a's would be tried)
    re.Pattern(U("((((a{1,100}){1,100}){1,100}){1,100})[bc]"));
    re.StepBudget(20'000'000);
    const rx::String text = U("b") + rx::String(5000, 'a');
    EXPECT_EQ(ErrorNumber(re, text), rx::err::BudgetExceeded);
    // with the b after the run, the same loops match it whole
    re.StepBudget(rx::RegExp::DefaultStepBudget);
    auto matches = re.Execute(rx::String(300, 'a') + U("b"));
    ASSERT_EQ(matches.Count(), 1);
    EXPECT_EQ(matches.Item(0).Length(), 301);
}

// The budget bounds a whole run, not each search: many matches that each fit within it still
// end the run once together they have spent it (and what the text's length adds), whichever
// matcher finds them.
TEST(Limits, ManyCostlyMatchesTogetherEndAtTheRunsBudget) {
    rx::RegExp re;
    re.Global(true);
    re.StepBudget(1'000'000);
    const rx::String text(20000, 'a');
    // a thousand optional groups walked at every match: each match a few thousand steps on the
    // backtracker and the linear matcher
    re.Pattern(U("(a)") + Repeat("(b)?", 1000));
    const bool dfa = rx::Searcher::DfaInUse();
    rx::Searcher::UseDfa(false);
    EXPECT_EQ(ErrorNumber(re, text), rx::err::BudgetExceeded);
    try {
        re.Count(text);
        ADD_FAILURE() << "counting the same matches spends the same steps";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Number(), rx::err::BudgetExceeded);
    }
    // the lazy DFA finds the same matches at a step a unit; reading every match's groups (a
    // replacement that uses one) is the other matchers' work again, and the run's budget holds
    rx::Searcher::UseDfa(true);
    const size_t from = rx::Searcher::DfaFromLength();
    rx::Searcher::DfaFromLength(0);
    EXPECT_EQ(re.Execute(text).Count(), 20000);
    try {
        re.Replace(text, U("$1"));
        ADD_FAILURE() << "the groups of every match spend the same steps";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Number(), rx::err::BudgetExceeded);
    }
    rx::Searcher::UseDfa(dfa);
    rx::Searcher::DfaFromLength(from);
    // a back-reference keeps the pattern on the backtracker: the run's budget holds there too
    re.Pattern(U("(a)\\1") + Repeat("(b)?", 1000));
    EXPECT_EQ(ErrorNumber(re, text), rx::err::BudgetExceeded);
    // cheap matches over the same text are far within it
    re.Pattern(U("(a)(b)?"));
    auto matches = re.Execute(text);
    EXPECT_EQ(matches.Count(), 20000);
}

// What a count reports of its run: the steps, whether the backtracker answered alone, and the
// starts a piece of a longer text does not pass over.
TEST(Limits, ACountReportsItsStepsAndItsMatchers) {
    rx::RegExp re;
    re.Global(true);
    rx::String text;
    for (int k = 0; k < 2000; ++k) text += U("ab@ cd@ef x\n");
    // no choice to make: the backtracker alone, a few steps for each of the 4,000 places of "@"
    re.Pattern(U("\\w+@\\w+"));
    rx::RegExp::RunReport run;
    EXPECT_EQ(re.Count(text, &run), 2000);
    EXPECT_TRUE(run.backtrackerAlone);
    EXPECT_GE(run.steps, 4000u);
    EXPECT_LE(run.steps, 40u * 4000);
    // a unit every match needs, which the text lacks: no start is tried, unless the text is a
    // piece of one that may hold it further on; then the "@"s are tried as they would be there
    re.Pattern(U("\\w+@\\w+é"));
    rx::RegExp::RunReport alone, piece;
    piece.restFollows = true;
    EXPECT_EQ(re.Count(text, &alone), 0);
    EXPECT_EQ(re.Count(text, &piece), 0);
    EXPECT_EQ(alone.steps, 0u);
    EXPECT_GE(piece.steps, 4000u);
    // a choice: the automaton answers a text this long
    re.Pattern(U("\\w+@(cd|ef)"));
    EXPECT_EQ(re.Count(text, &run), 2000);
    EXPECT_FALSE(run.backtrackerAlone);
    // without the automaton, a search whose backtracking outgrows its share of the budget is
    // answered by the linear matcher, and the report says so
    const bool dfa = rx::Searcher::DfaInUse();
    rx::Searcher::UseDfa(false);
    re.Pattern(U("(\\w+\\s?)*$"));
    re.StepBudget(100'000);
    const rx::String line = rx::String(31, 'a') + U(" ") + rx::String(12, 'a') + U("!");
    EXPECT_EQ(re.Count(line, &run), 1);
    EXPECT_FALSE(run.backtrackerAlone);
    EXPECT_GT(run.steps, 50'000u);
    EXPECT_EQ(re.Count(U("ab cd"), &run), 2);
    EXPECT_TRUE(run.backtrackerAlone);
    rx::Searcher::UseDfa(dfa);
}

TEST(Limits, PiecesOfALongTextKeepTheAutomatonFromOneToTheNext) {
    rx::RegExp re;
    re.Global(true);
    re.Pattern(U("\\w+@(cd|ef)"));
    const rx::String line = U("ab@cd x@ef y@gh\n");
    // a short piece goes to the automaton where the text it is a piece of would
    rx::RegExp::RunReport shortAlone, shortPiece;
    shortPiece.wholeLength = rx::Searcher::kDfaFromLength;
    EXPECT_EQ(re.Count(line, &shortAlone), 2);
    EXPECT_EQ(re.Count(line, &shortPiece), 2);
    EXPECT_TRUE(shortAlone.backtrackerAlone);
    EXPECT_FALSE(shortAlone.automatonAlone);
    EXPECT_TRUE(shortPiece.automatonAlone);
    EXPECT_FALSE(shortPiece.backtrackerAlone);
    // kept: the second piece, alike, builds no state and spends only its reading
    rx::Automata kept;
    rx::RegExp::RunReport first, second;
    first.wholeLength = second.wholeLength = rx::Searcher::kDfaFromLength;
    first.automata = second.automata = &kept;
    EXPECT_EQ(re.Count(line, &first), 2);
    ASSERT_NE(kept.Forward(), nullptr);
    const size_t states = kept.Forward()->StateCount() + kept.Backward()->StateCount();
    EXPECT_GT(states, 2u);
    EXPECT_EQ(re.Count(line, &second), 2);
    EXPECT_EQ(kept.Forward()->StateCount() + kept.Backward()->StateCount(), states);
    EXPECT_TRUE(second.automatonAlone);
    EXPECT_LT(second.steps, first.steps);
    EXPECT_LE(second.steps, 3 * line.size());
    // another program's automata are not taken for this one's
    re.Pattern(U("x@(ef|gh)"));
    rx::RegExp::RunReport other;
    other.wholeLength = rx::Searcher::kDfaFromLength;
    other.automata = &kept;
    EXPECT_EQ(re.Count(line, &other), 1);
    EXPECT_TRUE(other.automatonAlone);
    EXPECT_FALSE(kept.GaveUp());
    // an automaton whose cache cannot hold the states a text needs empties it (kept automata
    // count it), and a search that has to do so too often gives up: the other matchers answer,
    // and the kept automata say so
    std::mt19937 rng(7);
    rx::String ab;
    for (int k = 0; k < 200000; ++k) ab += static_cast<rx::Char>("ab"[rng() % 2]);
    re.Pattern(U("(a|b)*a(a|b){14}c"));
    rx::String withC;
    for (size_t k = 0; k < ab.size(); k += 50) withC += ab.substr(k, 50) + U("c");
    rx::RegExp::RunReport flushed;
    flushed.automata = &kept;
    EXPECT_EQ(re.Count(withC, &flushed), 1979);
    EXPECT_TRUE(flushed.automatonAlone);
    EXPECT_GT(kept.Forward()->Flushes(), 0u);
    EXPECT_FALSE(kept.GaveUp());
    re.Pattern(U("a(a|b){14}(c|d)"));
    rx::RegExp::RunReport blown;
    blown.automata = &kept;
    EXPECT_EQ(re.Count(ab, &blown), 0);
    EXPECT_FALSE(blown.automatonAlone);
    EXPECT_TRUE(kept.GaveUp());
}

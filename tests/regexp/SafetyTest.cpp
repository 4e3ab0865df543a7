// Hostile patterns and inputs: none may crash, overflow the stack or run without bound.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "EngineTestUtil.h"

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

}  // namespace

TEST(Safety, DeepNestingNeedsNoDeepStack) {
    const int depth = 10000;
    rx::RegExp re;
    re.Global(true);

    re.Pattern(rx::String(depth, '(') + U("a") + rx::String(depth, ')') + U("+"));
    rx::MatchCollection mc = re.Execute(U("baab"));
    ASSERT_EQ(mc.Count(), 1);
    EXPECT_EQ(mc.Item(0).Length(), 2);
    EXPECT_EQ(mc.Item(0).SubMatchCount(), depth);
    EXPECT_EQ(*mc.Item(0).SubMatch(depth - 1), U("a"));

    rx::String alt;
    for (int i = 0; i < depth; ++i) alt += U("(?:a|");
    alt += U("b") + rx::String(depth, ')');
    re.Pattern(alt);
    EXPECT_EQ(re.Execute(U("b")).Count(), 1);

    re.Pattern(rx::String(depth, '('));
    EXPECT_EQ(ErrorNumber(re, U("x")), 5020);

    // nested loops re-enter every inner level on each outer iteration: the work grows with the
    // square of the depth, and the budget (which counts it) ends the run instead of a freeze
    rx::String loops;
    for (int i = 0; i < depth; ++i) loops += U("(?:");
    loops += U("a");
    for (int i = 0; i < depth; ++i) loops += U(")*");
    re.Pattern(loops);
    re.StepBudget(5'000'000);
    long err = ErrorNumber(re, U("aaab"));
    EXPECT_TRUE(err == 0 || err == rx::err::BudgetExceeded) << err;
    re.Pattern(rx::String(depth, '(') + U("a") + rx::String(depth, ')') + U("*"));
    err = ErrorNumber(re, U("aaab"));
    EXPECT_TRUE(err == 0 || err == rx::err::BudgetExceeded) << err;
}

TEST(Safety, CatastrophicBacktrackingEndsWithTheBudgetError) {
    // a look-ahead keeps a pattern on the backtracker: there the budget ends the run (one of a
    // class, as a literal look-ahead the text lacks would rule out every start at once)
    rx::RegExp re;
    re.Pattern(U("(a*)*(?=[b])"));
    rx::String text(30000, 'a');
    EXPECT_EQ(ErrorNumber(re, text), rx::err::BudgetExceeded);

    re.Pattern(U("(x+x+)+(?=[y])"));
    re.StepBudget(100000);
    EXPECT_EQ(re.StepBudget(), 100000u);
    EXPECT_EQ(ErrorNumber(re, rx::String(40, 'x')), rx::err::BudgetExceeded);
    // the same pattern is fine where it can finish within the budget
    EXPECT_EQ(re.Execute(U("xxxy")).Count(), 1);

    // without the look-ahead the linear matcher takes over from the backtracker and finishes
    // well within the same budgets
    re.Pattern(U("(x+x+)+y"));
    EXPECT_EQ(ErrorNumber(re, rx::String(40, 'x')), 0);
    re.Pattern(U("(a*)*b"));
    re.StepBudget(rx::RegExp::DefaultStepBudget);
    EXPECT_EQ(ErrorNumber(re, text), 0);

    rx::RegExp quadratic;   // no catastrophe, only a long search that was quadratic
    quadratic.Pattern(U(".*?x"));
    quadratic.StepBudget(1000000);
    EXPECT_EQ(ErrorNumber(quadratic, rx::String(100000, 'a')), 0);
    // with a back-reference it stays so, and the budget bounds it
    quadratic.Pattern(U("(.)*?\\1(?=x)"));
    EXPECT_EQ(ErrorNumber(quadratic, rx::String(100000, 'a')), rx::err::BudgetExceeded);
    // the greedy form's failed first attempt shows that no later start can match: the search
    // ends after one pass, well within the budget
    quadratic.Pattern(U(".*x"));
    EXPECT_EQ(ErrorNumber(quadratic, rx::String(100000, 'a')), 0);
}

TEST(Safety, HugeInputIsSearchedWithoutCopiesOrRecursion) {
    const size_t size = 100u << 20;   // 100 M code units
    rx::String text(size, 'a');
    text[size - 3] = 'b';
    rx::RegExp re;
    re.Global(true);
    re.Pattern(U("b(a+)$"));
    rx::MatchCollection mc = re.Execute(std::move(text));
    ASSERT_EQ(mc.Count(), 1);
    EXPECT_EQ(mc.Item(0).FirstIndex(), static_cast<long>(size - 3));
    EXPECT_EQ(*mc.Item(0).SubMatch(0), U("aa"));

    rx::String words(size / 4, 'w');
    for (size_t i = 5; i < words.size(); i += 6) words[i] = ' ';
    // a group loop over millions of units in one match keeps its backtrack records on the heap
    re.Pattern(U("(?:ww|x)+"));
    rx::String big(3'000'000, 'w');
    rx::MatchCollection loop = re.Execute(big);
    ASSERT_EQ(loop.Count(), 1);
    EXPECT_EQ(loop.Item(0).Length(), 3'000'000);
    re.Pattern(U("\\w+"));
    EXPECT_EQ(re.Execute(words).Count(), static_cast<long>((words.size() + 5) / 6));
}

TEST(Safety, SurrogatesAndNulAreOrdinaryUnits) {
    rx::String text = U("a");
    text += static_cast<rx::Char>(0xD800);   // a lone high surrogate
    text += static_cast<rx::Char>(0);
    text += static_cast<rx::Char>(0xDC00);   // a lone low surrogate
    text += U("b");
    rx::RegExp re;
    re.Global(true);
    re.Pattern(U("."));
    EXPECT_EQ(re.Execute(text).Count(), 5);
    re.Pattern(U("\\x00"));
    rx::MatchCollection nul = re.Execute(text);
    ASSERT_EQ(nul.Count(), 1);
    EXPECT_EQ(nul.Item(0).FirstIndex(), 2);
    re.Pattern(U("[\\ud800-\\udfff]"));
    re.IgnoreCase(true);
    EXPECT_EQ(re.Execute(text).Count(), 2);
    EXPECT_EQ(re.Replace(text, U("$&$&")).size(), text.size() + 2);
}

TEST(Safety, ARunEndsWhenItsStopFlagIsSet) {
    std::atomic<bool> stop{false};
    rx::RegExp re;
    re.Global(true);
    re.StopFlag(&stop);
    // with the flag clear the flag changes nothing
    re.Pattern(U("a(b)?"));
    const rx::String text = U("xaab");
    EXPECT_EQ(re.Execute(text).Count(), 2);
    EXPECT_EQ(re.Replace(text, U("[$1]")), U("x[][b]"));

    // a catastrophic search with no budget to speak of ends only because another thread asks
    // (the look-ahead keeps it on the backtracker, which no linear matcher relieves)
    re.Pattern(U("(x+x+)+(?=[y])"));
    re.StepBudget(UINT64_MAX);
    std::thread asker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.store(true);
    });
    const long err = ErrorNumber(re, rx::String(200, 'x'));
    asker.join();
    EXPECT_EQ(err, rx::err::Stopped);

    // once set, every kind of run ends, also one of many short searches that never reaches a
    // grant's end
    re.Pattern(U("a"));
    EXPECT_EQ(ErrorNumber(re, rx::String(100000, 'a')), rx::err::Stopped);
    long testErr = 0, replaceErr = 0;
    try { re.Test(U("a")); } catch (const base::Error& e) { testErr = e.Number(); }
    try { re.Replace(U("a"), U("b")); } catch (const base::Error& e) { replaceErr = e.Number(); }
    EXPECT_EQ(testErr, rx::err::Stopped);
    EXPECT_EQ(replaceErr, rx::err::Stopped);

    // clearing it again gives the full result; the budget still ends what it bounded before
    stop.store(false);
    EXPECT_EQ(re.Execute(rx::String(100000, 'a')).Count(), 100000);
    re.Pattern(U("(x+x+)+(?=[y])"));
    re.StepBudget(100000);
    EXPECT_EQ(ErrorNumber(re, rx::String(40, 'x')), rx::err::BudgetExceeded);
}

// A collection keeps only each match's start and end; its groups are found again when read,
// in any order, and still when the RegExp that made it has changed its pattern or is gone.
TEST(Safety, GroupsAreFoundWhenReadLongAfterTheRun) {
    rx::MatchCollection mc;
    {
        rx::RegExp re;
        re.Global(true);
        re.Pattern(U("(\\w)(\\w*)(x)?"));
        mc = re.Execute(U("ab cd efx"));
        re.Pattern(U("z"));
        EXPECT_EQ(re.Execute(U("ab")).Count(), 0);
    }
    ASSERT_EQ(mc.Count(), 3);
    EXPECT_EQ(*mc.Item(2).SubMatch(1), U("fx"));
    EXPECT_FALSE(mc.Item(2).SubMatch(2).has_value());
    EXPECT_EQ(*mc.Item(0).SubMatch(0), U("a"));
    EXPECT_EQ(mc.Item(1).SubMatchIndex(1), 4);
    EXPECT_EQ(*mc.Item(2).SubMatch(0), U("e"));
    EXPECT_EQ(mc.Item(2).Length(), 3);
}

// The match run as a person starts it: source pasted, pattern typed, Return or the button.
#include "Input.h"
#include "Workbench.h"

#include <gtest/gtest.h>

namespace wbtest {
namespace {

using Entries = std::vector<std::wstring>;

TEST(MatchRun, ListsEveryMatchCountsThemInTheCaptionAndSelectsTheFirst) {
    Workbench wb;
    wb.PasteSource(L"banana");
    wb.SetPattern(L"a");
    wb.RunByReturn();
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"a", L"a", L"a"}));
    EXPECT_EQ(wb.ResultsCaption(), L"结果 （共3个匹配项）");
    EXPECT_EQ(wb.CurrentEntry(L"lstResults"), 0);
    EXPECT_EQ(wb.SourceSelection(), (Selection{1, 1}));

    wb.ClickEntry(2);
    EXPECT_EQ(wb.SourceSelection(), (Selection{5, 1}));
    wb.ClickEntry(1);
    EXPECT_EQ(wb.SourceSelection(), (Selection{3, 1}));
}

TEST(MatchRun, TheButtonAndTheKeypadSeparatorRunItToo) {
    Workbench wb;
    wb.PasteSource(L"a1b22c333");
    wb.SetPattern(L"\\d+");
    Click(wb.Handle(L"Command4"));
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"1", L"22", L"333"}));

    wb.SetPattern(L"[a-c]");
    Press(VK_SEPARATOR);
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"a", L"b", L"c"}));
}

TEST(MatchRun, NoMatchEmptiesTheListAndLeavesTheSelectionAndCaseMatters) {
    Workbench wb;
    wb.PasteSource(L"banana");
    wb.SetPattern(L"n");
    wb.RunByReturn();
    wb.ClickEntry(1);
    ASSERT_EQ(wb.SourceSelection(), (Selection{4, 1}));

    wb.SetPattern(L"A");
    wb.RunByReturn();
    EXPECT_TRUE(wb.Entries(L"lstResults").empty());
    EXPECT_EQ(wb.ResultsCaption(), L"结果 （共0个匹配项）");
    EXPECT_EQ(wb.SourceSelection(), (Selection{4, 1}));
}

TEST(MatchRun, ZeroLengthMatchesAreEmptyEntriesThatPlaceTheCaret) {
    Workbench wb;
    wb.PasteSource(L"ab");
    wb.SetPattern(L"x*");
    wb.RunByReturn();
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"", L"", L""}));
    EXPECT_EQ(wb.ResultsCaption(), L"结果 （共3个匹配项）");
    EXPECT_EQ(wb.SourceSelection(), (Selection{0, 0}));
    wb.ClickEntry(2);
    EXPECT_EQ(wb.SourceSelection(), (Selection{2, 0}));
    wb.ClickEntry(1);
    EXPECT_EQ(wb.SourceSelection(), (Selection{1, 0}));
}

TEST(MatchRun, LineStartsCountCrLfAsTwoUnits) {
    Workbench wb;
    wb.PasteSource(L"a\r\nb\r\nab");
    wb.SetPattern(L"^b|b$");
    wb.RunByReturn();
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"b", L"b"}));
    EXPECT_EQ(wb.SourceSelection(), (Selection{3, 1}));
    wb.ClickEntry(1);
    EXPECT_EQ(wb.SourceSelection(), (Selection{7, 1}));
}

TEST(MatchRun, RejectedPatternResetsTheCaptionAndKeepsTheLastList) {
    Workbench wb;
    wb.PasteSource(L"banana");
    wb.SetPattern(L"a");
    wb.RunByReturn();
    wb.SetPattern(L"(");
    wb.RunByReturn();
    EXPECT_EQ(wb.ResultsCaption(), L"结果");
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"a", L"a", L"a"}));
    // the stale list still selects the spans of the run that made it
    wb.ClickEntry(2);
    EXPECT_EQ(wb.SourceSelection(), (Selection{5, 1}));
}

TEST(MatchRun, PatternBeyondTheStepBudgetEndsLikeARejectedOne) {
    Workbench wb;
    wb.PasteSource(std::wstring(40, L'x'));
    wb.SetPattern(L"xx");
    wb.RunByReturn();
    ASSERT_EQ(wb.Entries(L"lstResults").size(), 20u);
    wb.SetPattern(L"(x+x+)+(?=[y])");  // a look-ahead (of a class: no start ruled out) keeps it on the backtracker
    wb.RunByReturn();
    EXPECT_EQ(wb.ResultsCaption(), L"结果");
    EXPECT_EQ(wb.Entries(L"lstResults").size(), 20u);
    // the window answers again: the next run works
    wb.SetPattern(L"x{10}");
    wb.RunByReturn();
    EXPECT_EQ(wb.ResultsCaption(), L"结果 （共4个匹配项）");
}

TEST(MatchRun, EmptySourceOrPatternOnlyResetsTheCaption) {
    Workbench wb;
    wb.PasteSource(L"banana");
    wb.SetPattern(L"an");
    wb.RunByReturn();
    wb.SetPattern(L"");
    Press(VK_DELETE);  // the selected pattern goes
    ASSERT_EQ(wb.Text(L"txtMatch"), L"");
    wb.RunByReturn();
    EXPECT_EQ(wb.ResultsCaption(), L"结果");
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"an", L"an"}));
}

}  // namespace
}  // namespace wbtest

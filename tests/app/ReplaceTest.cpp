// The replace row and the confirm-and-replace, message boxes answered by clicking their buttons.
#include "Input.h"
#include "MessageBoxAnswer.h"
#include "Workbench.h"

#include <gtest/gtest.h>

namespace wbtest {
namespace {

const wchar_t kQuestion[] =
    L"即将进行替换操作，此操作不能撤销。\r\n替换的结果将覆盖“源文本”的内容。\r\n\r\n是否执行替换？";

void ShowReplaceRow(Workbench& wb, std::wstring_view replacement) {
    Click(wb.Handle(L"Check1"));
    wb.TypeInto(L"txtReplace", replacement);
}

TEST(Replace, TheCheckBoxShowsAndHidesTheRowKeepingItsText) {
    Workbench wb;
    EXPECT_FALSE(wb.IsShown(L"txtReplace"));
    EXPECT_FALSE(wb.IsShown(L"Command3"));
    EXPECT_FALSE(wb.IsShown(L"Line2"));
    ShowReplaceRow(wb, L"xyz");
    EXPECT_TRUE(wb.IsShown(L"txtReplace"));
    EXPECT_TRUE(wb.IsShown(L"Command3"));
    EXPECT_TRUE(wb.IsShown(L"Line2"));
    Click(wb.Handle(L"Check1"));
    EXPECT_FALSE(wb.IsShown(L"txtReplace"));
    EXPECT_FALSE(wb.IsShown(L"Command3"));
    EXPECT_FALSE(wb.IsShown(L"Line2"));
    Click(wb.Handle(L"Check1"));
    EXPECT_EQ(wb.Text(L"txtReplace"), L"xyz");
}

TEST(Replace, ConfirmedReplaceRewritesTheSourceReportsAndRunsAgain) {
    Workbench wb;
    wb.PasteSource(L"banana");
    wb.SetPattern(L"a");
    wb.RunByReturn();
    ShowReplaceRow(wb, L"o");
    {
        MessageBoxAnswer answer{IDYES, IDOK};
        Click(wb.Handle(L"Command3"));
        ASSERT_EQ(answer.Shown().size(), 2u);
        const ShownBox& ask = answer.Shown()[0];
        EXPECT_EQ(ask.title, L"替换");
        EXPECT_EQ(ask.text, kQuestion);
        EXPECT_EQ(ask.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(ask.icon, LoadIconW(nullptr, IDI_QUESTION));
        const ShownBox& done = answer.Shown()[1];
        EXPECT_EQ(done.title, L"替换");
        EXPECT_EQ(done.text, L"已完成3处替换。");
        EXPECT_EQ(done.buttons, (std::vector<int>{IDOK}));
        EXPECT_EQ(done.icon, LoadIconW(nullptr, IDI_INFORMATION));
    }
    EXPECT_EQ(wb.Text(L"txtSource"), L"bonono");
    EXPECT_EQ(wb.ResultsCaption(), L"结果 （共0个匹配项）");
    EXPECT_TRUE(wb.Entries(L"lstResults").empty());
}

TEST(Replace, TheReportedCountIsTheNumberOfReplacementsMadeEvenWithAnOlderList) {
    Workbench wb;
    wb.PasteSource(L"banana");
    wb.SetPattern(L"a");
    wb.RunByReturn();
    wb.SetPattern(L"an");  // edited, not run: the list still holds three entries
    ShowReplaceRow(wb, L"");
    MessageBoxAnswer answer{IDYES, IDOK};
    Click(wb.Handle(L"Command3"));
    ASSERT_EQ(answer.Shown().size(), 2u);
    EXPECT_EQ(answer.Shown()[1].text, L"已完成2处替换。");
    EXPECT_EQ(wb.Text(L"txtSource"), L"ba");
}

TEST(Replace, NoChangesNothingAndReturnInTheReplacementBoxAsksToo) {
    Workbench wb;
    wb.PasteSource(L"banana");
    wb.SetPattern(L"a");
    wb.RunByReturn();
    ShowReplaceRow(wb, L"o");
    MessageBoxAnswer answer{IDNO};
    Press(VK_RETURN);  // the focus is in the replacement box
    ASSERT_EQ(answer.Shown().size(), 1u);
    EXPECT_EQ(answer.Shown()[0].text, kQuestion);
    EXPECT_EQ(wb.Text(L"txtSource"), L"banana");
    EXPECT_EQ(wb.ResultsCaption(), L"结果 （共3个匹配项）");
    EXPECT_EQ(wb.Entries(L"lstResults").size(), 3u);
}

TEST(Replace, TheQuestionComesEvenWithNothingToReplaceAndThenNothingHappens) {
    Workbench wb;
    wb.SetPattern(L"a");
    ShowReplaceRow(wb, L"o");
    MessageBoxAnswer answer{IDYES, IDOK};
    Click(wb.Handle(L"Command3"));
    EXPECT_EQ(answer.Shown().size(), 1u);
    EXPECT_EQ(wb.Text(L"txtSource"), L"");
}

TEST(Replace, ARejectedPatternLeavesTheSourceAndReportsNothing) {
    Workbench wb;
    wb.PasteSource(L"banana");
    wb.SetPattern(L"a(");
    ShowReplaceRow(wb, L"o");
    MessageBoxAnswer answer{IDYES, IDOK};
    Click(wb.Handle(L"Command3"));
    EXPECT_EQ(answer.Shown().size(), 1u);
    EXPECT_EQ(wb.Text(L"txtSource"), L"banana");
}

}  // namespace
}  // namespace wbtest

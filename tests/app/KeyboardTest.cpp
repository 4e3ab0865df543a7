// The keys the three text boxes give a meaning: Tab between pattern and source, Ctrl+A in the
// source.
#include "Input.h"
#include "Workbench.h"

#include <gtest/gtest.h>

namespace wbtest {
namespace {

TEST(Keyboard, StartsInTheSourceAndTabGoesBackAndForthWithoutTypingATab) {
    Workbench wb;
    EXPECT_TRUE(wb.HasFocus(L"txtSource"));
    Type(L"ab");
    Press(VK_TAB);
    EXPECT_TRUE(wb.HasFocus(L"txtMatch"));
    Type(L"b");
    Press(VK_TAB);
    EXPECT_TRUE(wb.HasFocus(L"txtSource"));
    Press(VK_TAB, kShift);
    EXPECT_TRUE(wb.HasFocus(L"txtMatch"));
    EXPECT_EQ(wb.Text(L"txtSource"), L"ab");
    EXPECT_EQ(wb.Text(L"txtMatch"), L"b");
}

TEST(Keyboard, CtrlASelectsTheWholeSourceButNotWithShiftAndNotWhenEmpty) {
    Workbench wb;
    Press('A', kCtrl);
    EXPECT_EQ(wb.SourceSelection(), (Selection{0, 0}));
    EXPECT_EQ(wb.Text(L"txtSource"), L"");

    wb.PasteSource(L"line one\r\nline two");
    ASSERT_EQ(wb.SourceSelection(), (Selection{18, 0}));
    Press('A', kCtrl | kShift);
    EXPECT_EQ(wb.SourceSelection(), (Selection{18, 0}));
    Press('A', kCtrl);
    EXPECT_EQ(wb.SourceSelection(), (Selection{0, 18}));
    EXPECT_EQ(wb.Text(L"txtSource"), L"line one\r\nline two");
}

}  // namespace
}  // namespace wbtest

// Real-time mode: the switch's layout change and the run on every change of the pattern.
#include "Input.h"
#include "Workbench.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Intrinsics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wbtest {
namespace {

using Entries = std::vector<std::wstring>;

// The pattern box's width on the screen, in twips (one pixel is the reading's precision).
double ShownWidthTwips(const Workbench& wb, const wchar_t* name) {
    RECT rc = wb.ScreenRect(name);
    return (rc.right - rc.left) * TwipsPerPixelX();
}

TEST(RealTime, SwitchWidensThePatternBoxOverTheButtonAndBack) {
    Workbench wb;
    host::Line& underline = wb.Form().Ctl<host::Line>(L"Line1");
    EXPECT_NEAR(ShownWidthTwips(wb, L"txtMatch"), 6315, TwipsPerPixelX());
    EXPECT_EQ(underline.X2(), 1560 + 6315);

    Click(wb.Handle(L"Check2"));
    EXPECT_EQ(wb.CheckState(L"Check2"), BST_CHECKED);
    EXPECT_FALSE(wb.IsShown(L"Command4"));
    EXPECT_NEAR(ShownWidthTwips(wb, L"txtMatch"), 7575, TwipsPerPixelX());
    EXPECT_EQ(underline.X2(), 1560 + 7575);
    EXPECT_EQ(wb.Entries(L"lstResults"), Entries{});  // the switch itself runs nothing

    Click(wb.Handle(L"Check2"));
    EXPECT_TRUE(wb.IsShown(L"Command4"));
    EXPECT_NEAR(ShownWidthTwips(wb, L"txtMatch"), 6315, TwipsPerPixelX());
    EXPECT_EQ(underline.X2(), 1560 + 6315);
}

TEST(RealTime, EveryPatternKeystrokeRunsAndAnEmptiedPatternClears) {
    Workbench wb;
    wb.PasteSource(L"banana");
    Click(wb.Handle(L"Check2"));
    wb.TypeInto(L"txtMatch", L"a");
    ASSERT_TRUE(wb.WaitForRealTimeRun());
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"a", L"a", L"a"}));
    EXPECT_EQ(wb.ResultsCaption(), L"结果 （共3个匹配项）");
    EXPECT_EQ(wb.SourceSelection(), (Selection{1, 1}));
    Type(L"n");
    ASSERT_TRUE(wb.WaitForRealTimeRun());
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"an", L"an"}));

    Press(VK_BACK);
    Press(VK_BACK);
    ASSERT_TRUE(wb.WaitForRealTimeRun());
    EXPECT_EQ(wb.Entries(L"lstResults"), Entries{});
    EXPECT_EQ(wb.ResultsCaption(), L"结果");
    EXPECT_EQ(wb.SourceSelection().length, 0);
}

TEST(RealTime, OffOrSourceEditsDoNotRun) {
    Workbench wb;
    wb.PasteSource(L"banana");
    wb.TypeInto(L"txtMatch", L"a");
    EXPECT_EQ(wb.Entries(L"lstResults"), Entries{});
    EXPECT_EQ(wb.ResultsCaption(), L"结果");

    Click(wb.Handle(L"Check2"));
    wb.TypeInto(L"txtSource", L"na");
    EXPECT_FALSE(wb.Form().RealTimeRunPending());
    EXPECT_EQ(wb.Entries(L"lstResults"), Entries{});
}

}  // namespace
}  // namespace wbtest

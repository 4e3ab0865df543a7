// LabelW on a real form: painted caption, Change, auto-size anchoring, the appearance rules,
// ellipsis read-back and clicks routed by the container.
#include "ControlsTestSupport.h"

#include "controls/label/LabelW.h"
#include "host/ControlSite.h"
#include "host/Error.h"

#include <gtest/gtest.h>

using controls::LabelW;
using namespace ctltest;

namespace {

std::unique_ptr<host::Form> FormWithLabel(const std::wstring& props) {
    return ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 3000\n BackColor = &H00FFFFFF&\n"
                    L" Begin LabelW lbl\n  Left = 1500\n  Top = 300\n  Width = 1680\n  Height = 255\n" +
                    props + L" End\nEnd\n");
}

Snapshot LabelPixels(host::Form& form, LabelW& label) {
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return Snapshot::OfWindowRect(form.hWnd(), label.Site().PixelRect());
}

}  // namespace

TEST(LabelW, PaintsItsCaptionAndRaisesChangeOnlyForANewText) {
    auto form = FormWithLabel(L"  Caption = \"匹配：\"\n  BackColor = &H00FFFFFF&\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    Snapshot shot = LabelPixels(*form, label);
    RECT all{0, 0, shot.Width(), shot.Height()};
    EXPECT_GT(shot.CountDiffering(all, RGB(255, 255, 255)), 20);

    int changes = 0;
    label.Change = [&] { ++changes; };
    label.Caption(L"匹配：");
    EXPECT_EQ(changes, 0);
    label.Caption(L"");
    EXPECT_EQ(changes, 1);
    Snapshot empty = LabelPixels(*form, label);
    EXPECT_EQ(empty.CountDiffering(all, RGB(255, 255, 255)), 0);
}

TEST(LabelW, AutoSizeKeepsTheRightEdgeOfARightAlignedLabel) {
    auto form = FormWithLabel(L"  Caption = \"ab\"\n  Alignment = 1\n  AutoSize = True\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    double right = label.Left() + label.Width();
    double width = label.Width();
    label.Caption(L"a much longer caption");
    EXPECT_GT(label.Width(), width);
    EXPECT_NEAR(label.Left() + label.Width(), right, 15.0);

    // An empty caption keeps the height of one line.
    double height = label.Height();
    label.Caption(L"");
    EXPECT_NEAR(label.Height(), height, 1.0);
    EXPECT_GT(label.Height(), 60.0);
}

TEST(LabelW, FlatAppearanceTakesWindowTextAndASingleBorder) {
    auto form = FormWithLabel(L"  Caption = \"x\"\n  BorderStyle = 3\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    label.Appearance(0);
    EXPECT_EQ(label.BorderStyle(), 1);
    EXPECT_EQ(label.ForeColor(), 0x80000008u);
    label.Appearance(1);
    EXPECT_EQ(label.BorderStyle(), 3);
    EXPECT_EQ(label.ForeColor(), 0x80000012u);
    EXPECT_THROW(label.Appearance(2), host::Error);

    label.BorderStyle(0);
    label.Appearance(0);
    EXPECT_EQ(label.BorderStyle(), 0);
}

TEST(LabelW, EndEllipsisShortensTheDisplayedCaption) {
    auto form = FormWithLabel(L"  Caption = \"short\"\n  Width = 600\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    label.EllipsisFormat(1);
    label.Caption(L"a caption far wider than the label is");
    label.Refresh();
    std::wstring shown = label.DisplayedCaption();
    EXPECT_LT(shown.size(), label.Caption().size());
    EXPECT_NE(shown.find(L"..."), std::wstring::npos) << "shown: " << std::string(shown.begin(), shown.end());

    // Out of range: 380 and the old value stays.
    EXPECT_THROW(label.EllipsisFormat(4), host::Error);
    EXPECT_THROW(label.EllipsisFormat(-1), host::Error);
    EXPECT_EQ(label.EllipsisFormat(), 1);

    // An empty caption keeps what was displayed before.
    label.Caption(L"");
    label.Refresh();
    EXPECT_EQ(label.DisplayedCaption(), shown);
}

TEST(LabelW, ClickOnTheLabelReachesItThroughTheContainer) {
    auto form = FormWithLabel(L"  Caption = \"click me\"\n  BackStyle = 0\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    int clicks = 0;
    label.Click = [&] { ++clicks; };
    RECT rc = label.Site().PixelRect();
    PostClick(form->hWnd(), {rc.left + 3, rc.top + 3});
    EXPECT_EQ(clicks, 1);
    PostClick(form->hWnd(), {rc.right + 20, rc.bottom + 20});
    EXPECT_EQ(clicks, 1);
}

TEST(LabelW, MouseEnterAndLeaveFollowThePointerWhenTracked) {
    auto form = FormWithLabel(L"  Caption = \"hover\"\n  MouseTrack = True\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    ASSERT_TRUE(Activate(*form));
    std::vector<std::wstring> log;
    label.MouseEnter = [&] { log.push_back(L"enter"); };
    label.MouseLeave = [&] { log.push_back(L"leave"); };
    RECT rc = label.Site().PixelRect();
    POINT over{rc.left + 4, rc.top + 4}, away{rc.right + 40, rc.bottom + 40};
    POINT screen = over;
    ClientToScreen(form->hWnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(form->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
    ASSERT_TRUE(PumpUntil([&] { return log.size() == 1; }));
    EXPECT_EQ(log.front(), L"enter");
    // Elsewhere on the same window: no move reaches the label, the tracking timer notices.
    screen = away;
    ClientToScreen(form->hWnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(form->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(away.x, away.y));
    EXPECT_TRUE(PumpUntil([&] { return log.size() == 2; }, 2000));
    EXPECT_EQ(log, (std::vector<std::wstring>{L"enter", L"leave"}));

    label.MouseTrack(false);
    log.clear();
    PostMessageW(form->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
    Drain();
    EXPECT_TRUE(log.empty());
}

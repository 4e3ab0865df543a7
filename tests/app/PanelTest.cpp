// The reference panel: the width toggle, the 19 reference lines, what the narrow window hides.
#include "Input.h"
#include "Workbench.h"

#include <gtest/gtest.h>

namespace wbtest {
namespace {

double OuterWidthTwips(const Workbench& wb) {
    RECT rc;
    GetWindowRect(wb.Window(), &rc);
    return (rc.right - rc.left) * TwipsPerPixelX();
}

double ClientWidthTwips(const Workbench& wb) {
    RECT rc;
    GetClientRect(wb.Window(), &rc);
    return rc.right * TwipsPerPixelX();
}

// Narrow: the client area ends where the panel (10680) begins; wide: the design client area
// (16875). At 96 DPI, with the 45-twip frame of a fixed window, the outer widths are 10770 and
// 16965 exactly.
void ExpectNarrow(const Workbench& wb) {
    EXPECT_NEAR(ClientWidthTwips(wb), 10680, TwipsPerPixelX());
    if (TwipsPerPixelX() == 15) EXPECT_EQ(OuterWidthTwips(wb), 10770);
}
void ExpectWide(const Workbench& wb) {
    EXPECT_NEAR(ClientWidthTwips(wb), 16875, TwipsPerPixelX());
    if (TwipsPerPixelX() == 15) EXPECT_EQ(OuterWidthTwips(wb), 16965);
}

TEST(Panel, TheButtonTogglesTheWindowBetweenNarrowAndWide) {
    Workbench wb;
    RECT before;
    GetWindowRect(wb.Window(), &before);
    ExpectNarrow(wb);
    EXPECT_EQ(wb.Text(L"Command2"), L"参考和帮助 >");

    Click(wb.Handle(L"Command2"));
    ExpectWide(wb);
    EXPECT_EQ(wb.Text(L"Command2"), L"参考和帮助 <");
    RECT wide;
    GetWindowRect(wb.Window(), &wide);
    EXPECT_EQ(wide.left, before.left);
    EXPECT_EQ(wide.top, before.top);
    EXPECT_EQ(wide.bottom - wide.top, before.bottom - before.top);

    Click(wb.Handle(L"Command2"));
    ExpectNarrow(wb);
    EXPECT_EQ(wb.Text(L"Command2"), L"参考和帮助 >");
}

TEST(Panel, TheNarrowWindowShowsNothingOfThePanel) {
    Workbench wb;
    RECT client;
    GetClientRect(wb.Window(), &client);
    RECT panel = wb.ScreenRect(L"FrameW3");
    MapWindowPoints(nullptr, wb.Window(), reinterpret_cast<POINT*>(&panel), 2);
    EXPECT_GE(panel.left, client.right);
    EXPECT_LE(panel.left - client.right, 1);  // it starts right at the edge
}

TEST(Panel, TheReferenceListHoldsTheNineteenLinesAndOnlyDisplays) {
    Workbench wb;
    std::vector<std::wstring> lines = wb.Entries(L"ListBoxW1");
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], L".         => 除换行符以外的所有字符。");
    EXPECT_EQ(lines[3], L"\\d,\\w,\\s  => 匹配数字、字符、空格。");
    EXPECT_EQ(lines[15], L"(expr)    => 捕获 expr 子模式,以 \\1 使用它。");
    EXPECT_EQ(lines[18], L"(?!expr)  => 负向预查模式 expr。");
    for (const std::wstring& line : lines) EXPECT_EQ(line.substr(10, 3), L"=> ") << line;
    EXPECT_FALSE(IsWindowEnabled(wb.Handle(L"ListBoxW1")));
}

}  // namespace
}  // namespace wbtest

namespace wbtest {
namespace {

// What a person sees of a window: visible, inside its parent's client area and the form's.
bool SeenOnTheForm(const Workbench& wb, HWND hwnd) {
    if (!IsWindowVisible(hwnd)) return false;
    RECT rc, parent, form;
    GetWindowRect(hwnd, &rc);
    GetClientRect(GetParent(hwnd), &parent);
    MapWindowPoints(GetParent(hwnd), nullptr, reinterpret_cast<POINT*>(&parent), 2);
    GetClientRect(wb.Window(), &form);
    MapWindowPoints(wb.Window(), nullptr, reinterpret_cast<POINT*>(&form), 2);
    RECT inParent, inForm;
    return IntersectRect(&inParent, &rc, &parent) && EqualRect(&inParent, &rc) && IntersectRect(&inForm, &rc, &form) &&
           EqualRect(&inForm, &rc);
}

TEST(Panel, TheWideWindowShowsTheVersionAndCreditLabels) {
    Workbench wb;
    Click(wb.Handle(L"Command2"));
    EXPECT_EQ(wb.Text(L"Label1", 2), L"版本：1.0");
    for (int i = 0; i < 3; ++i) {
        HWND label = wb.Handle(L"Label1", i);
        RECT rc;
        GetWindowRect(label, &rc);
        EXPECT_TRUE(SeenOnTheForm(wb, label)) << "Label1(" << i << ") at " << rc.left << "," << rc.top << " "
                                              << rc.right - rc.left << "x" << rc.bottom - rc.top;
    }
}

}  // namespace
}  // namespace wbtest

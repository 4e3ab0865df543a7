// FrameW on a real form: the caption as the host window's text and in the drawing, the
// controls it contains, and the appearance rules.
#include "ControlsTestSupport.h"

#include "controls/frame/FrameW.h"
#include "controls/foundation/Common.h"
#include "controls/listbox/ListBoxW.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

using controls::FrameW;
using namespace ctltest;

namespace {

std::unique_ptr<host::Form> FormWithFrame(const std::wstring& props) {
    return ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 5000\n"
                    L" Begin FrameW fra\n  Left = 120\n  Top = 120\n  Width = 4500\n  Height = 3000\n" +
                    props +
                    L"  Begin ListBoxW lst\n   Left = 120\n   Top = 240\n   Width = 3000\n   Height = 1500\n  End\n"
                    L" End\nEnd\n");
}

}  // namespace

TEST(FrameW, CaptionIsTheHostWindowTextAndSurvivesPersistence) {
    auto form = FormWithFrame(L"  Caption = \"结果\"\n  Appearance = 0\n");
    auto& frame = form->Ctl<FrameW>(L"fra");
    EXPECT_EQ(WindowText(frame.hWnd()), L"结果");
    frame.Caption(L"结果 (12)");
    EXPECT_EQ(WindowText(frame.hWnd()), L"结果 (12)");
    EXPECT_EQ(frame.Caption(), L"结果 (12)");

    host::PropertyBag bag;
    frame.WriteProperties(bag);
    EXPECT_EQ(bag.Read(L"Caption").GetKind(), host::Value::Kind::Bytes);
    EXPECT_EQ(bag.Read(L"Caption").AsString(), L"结果 (12)");
    EXPECT_EQ(bag.Read(L"Appearance", 1L).AsLong(), 0);

    // The list placed inside the frame is a child of the frame's host window.
    auto& list = form->Ctl<controls::ListBoxW>(L"lst");
    EXPECT_EQ(GetParent(list.hWndUserControl()), frame.hWnd());
}

TEST(FrameW, AppearanceSetsForeColorUntilForeColorIsSetItself) {
    auto form = FormWithFrame(L"");
    auto& frame = form->Ctl<FrameW>(L"fra");
    EXPECT_EQ(frame.Appearance(), 1);
    frame.Appearance(0);
    EXPECT_EQ(frame.ForeColor(), 0x80000008u);
    frame.ForeColor(0x000000FF);
    EXPECT_EQ(frame.ForeColor(), 0x000000FFu);
    frame.Appearance(1);
    EXPECT_EQ(frame.ForeColor(), 0x80000012u);
    EXPECT_THROW(frame.Appearance(2), host::Error);
    EXPECT_EQ(frame.Appearance(), 1);

    frame.Alignment(0);
    frame.RightToLeft(true);
    EXPECT_EQ(frame.Alignment(), 1);
    frame.RightToLeft(false);
    EXPECT_EQ(frame.Alignment(), 0);
    frame.Alignment(2);
    frame.RightToLeft(true);
    EXPECT_EQ(frame.Alignment(), 2);
}

TEST(FrameW, DrawsTheBoxAroundTheCaptionAndNothingWithoutBorder) {
    auto form = FormWithFrame(L"  Caption = \"Results\"\n  VisualStyles = False\n");
    auto& frame = form->Ctl<FrameW>(L"fra");
    Snapshot shot = Snapshot::OfClient(frame.hWnd());
    COLORREF back = shot.At(shot.Width() / 2, shot.Height() - 8);
    int midY = shot.Height() / 2;
    // The box's left edge runs down the side; the caption's text sits in the gap at the top.
    EXPECT_GT(shot.CountDiffering({0, midY - 5, 3, midY + 5}, back), 5);
    EXPECT_GT(shot.CountDiffering({10, 0, 60, 16}, back), 10);
    // The top line is broken where the caption is and whole to the right of it.
    int topLine = -1;
    for (int y = 0; y < 20 && topLine < 0; ++y)
        if (shot.At(shot.Width() - 20, y) != back) topLine = y;
    ASSERT_GE(topLine, 2) << "the top line lies half a text line down";

    frame.BorderStyle(0);
    Snapshot none = Snapshot::OfClient(frame.hWnd());
    EXPECT_EQ(none.CountDiffering({0, 0, none.Width(), none.Height()}, back), 0);
    EXPECT_THROW(frame.BorderStyle(2), host::Error);
}

TEST(FrameW, APictureSitsBesideTheCaptionAndSetsTheTopLine) {
    auto form = FormWithFrame(L"  Caption = \"Results\"\n  VisualStyles = False\n");
    auto& frame = form->Ctl<FrameW>(L"fra");
    // A red picture taller than the caption's line.
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 30);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bitmap);
    RECT all{0, 0, 16, 30};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, &all, red);
    DeleteObject(red);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    frame.Picture(foundation::PictureFromBitmap(bitmap, true));

    Snapshot shot = Snapshot::OfClient(frame.hWnd());
    auto redIn = [&](const Snapshot& s, RECT rc) { return s.CountDiffering(rc, RGB(255, 0, 0)); };
    int left = static_cast<int>(std::lround(9 * foundation::DpiScaleX()));
    EXPECT_EQ(redIn(shot, {left, 0, left + 16, 30}), 0) << "the picture starts the caption band";
    // The box's side begins half the picture's height down, not half a text line.
    int midY = shot.Height() / 2;
    COLORREF back = shot.At(shot.Width() / 2, shot.Height() - 8);
    EXPECT_EQ(shot.CountDiffering({0, 0, 3, 12}, back), 0);
    EXPECT_GT(shot.CountDiffering({0, 16, 3, midY}, back), 5);

    frame.Alignment(1);
    frame.PictureAlignment(1);
    Snapshot right = Snapshot::OfClient(frame.hWnd());
    EXPECT_EQ(redIn(right, {right.Width() - left - 16, 0, right.Width() - left, 30}), 0) << "picture at the right end";
    EXPECT_GT(redIn(right, {left, 0, left + 16, 30}), 0) << "and gone from the left";
}

TEST(FrameW, ATransparentFrameShowsTheFormBehindIt) {
    auto form = ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 4000\n BackColor = &H0000FF00&\n"
                         L" Begin FrameW fra\n  Caption = \"x\"\n  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 2000\n"
                         L"  BackColor = &H00FF0000&\n End\nEnd\n");
    auto& frame = form->Ctl<FrameW>(L"fra");
    Snapshot opaque = Snapshot::OfClient(frame.hWnd());
    EXPECT_EQ(opaque.At(opaque.Width() / 2, opaque.Height() / 2), RGB(0, 0, 255));
    frame.Transparent(true);
    Snapshot clear = Snapshot::OfClient(frame.hWnd());
    EXPECT_EQ(clear.At(clear.Width() / 2, clear.Height() / 2), RGB(0, 255, 0));
}

namespace {

INPUT MouseInput(DWORD flags, POINT at = {-1, -1}) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (at.x >= 0) {
        in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    return in;
}

// Sends the inputs as one quick hand would and pumps until `done` holds, then until every button
// is seen up and no mouse input waits (Wine delivers injected input a little later).
void SendMouse(std::vector<INPUT> seq, const std::function<bool()>& done = [] { return true; }) {
    SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT));
    PumpUntil(done, 3000);
    PumpUntil([] {
        return GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_RBUTTON) >= 0 && GetKeyState(VK_MBUTTON) >= 0 &&
               !GetQueueStatus(QS_MOUSE);
    }, 2000);
    Drain();
}

struct FrameMouseLog {
    int downs = 0, ups = 0, clicks = 0, dblClicks = 0;
    std::vector<int> downButtons, upButtons;
    explicit FrameMouseLog(FrameW& frame) {
        frame.MouseDown.Connect([this](int b, int, float, float) { ++downs; downButtons.push_back(b); });
        frame.MouseUp.Connect([this](int b, int, float, float) { ++ups; upButtons.push_back(b); });
        frame.Click.Connect([this] { ++clicks; });
        frame.DblClick.Connect([this] { ++dblClicks; });
    }
};

}  // namespace

TEST(FrameW, APressReleasedOutsideIsNoClickAndLeavesNoClickBehind) {
    auto form = FormWithFrame(L"  Caption = \"Mouse\"\n");
    auto& frame = form->Ctl<FrameW>(L"fra");
    ASSERT_TRUE(Activate(*form));
    FrameMouseLog log(frame);
    RECT rc{};
    GetWindowRect(frame.hWnd(), &rc);
    POINT inside{rc.right - 30, rc.bottom - 20};   // on the frame, clear of the list
    // On the form beside the frame (Wine drops a release where none of its windows lies).
    POINT outside{rc.right + 40, rc.bottom + 60};

    // Pressed on the frame, released outside it: the frame hears the release, no Click.
    SendMouse({MouseInput(MOUSEEVENTF_LEFTDOWN, inside), MouseInput(MOUSEEVENTF_MOVE, outside),
               MouseInput(MOUSEEVENTF_LEFTUP, outside)},
              [&] { return log.ups == 1; });
    EXPECT_EQ(log.downs, 1);
    EXPECT_EQ(log.ups, 1) << "the release outside still reaches the frame that was pressed";
    EXPECT_EQ(log.clicks, 0);
    EXPECT_EQ(GetCapture(), nullptr) << "the capture ends with the last button";

    // A release alone over the frame (its press went elsewhere) is no click either.
    SendMouse({MouseInput(MOUSEEVENTF_MOVE, inside), MouseInput(MOUSEEVENTF_LEFTUP, inside)});
    EXPECT_EQ(log.clicks, 0);

    // An ordinary click still is one (once the first press is too old to make it a double click).
    DWORD after = GetTickCount() + GetDoubleClickTime() + 50;
    PumpUntil([&] { return static_cast<LONG>(GetTickCount() - after) > 0; }, 5000);
    SendMouse({MouseInput(MOUSEEVENTF_LEFTDOWN, inside), MouseInput(MOUSEEVENTF_LEFTUP, inside)},
              [&] { return log.clicks == 1; });
    EXPECT_EQ(log.clicks, 1);
}

TEST(FrameW, EveryButtonsDoubleClickGivesAPressForEachRelease) {
    auto form = FormWithFrame(L"  Caption = \"Mouse\"\n");
    auto& frame = form->Ctl<FrameW>(L"fra");
    ASSERT_TRUE(Activate(*form));
    RECT rc{};
    GetWindowRect(frame.hWnd(), &rc);
    POINT inside{rc.right - 30, rc.bottom - 20};
    for (auto [down, up, button] : {std::tuple{MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 2},
                                    std::tuple{MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 4}}) {
        FrameMouseLog log(frame);
        SendMouse({MouseInput(MOUSEEVENTF_MOVE, inside), MouseInput(down), MouseInput(up), MouseInput(down),
                   MouseInput(up)},
                  [&] { return log.ups >= 2; });
        EXPECT_EQ(log.downs, 2) << "button " << button;
        EXPECT_EQ(log.ups, 2) << "button " << button;
        EXPECT_EQ(log.downButtons, (std::vector<int>{button, button}));
        EXPECT_EQ(log.upButtons, (std::vector<int>{button, button}));
        EXPECT_EQ(log.clicks, 0);
        frame.MouseDown.Disconnect();
        frame.MouseUp.Disconnect();
        frame.Click.Disconnect();
        frame.DblClick.Disconnect();
        DWORD after = GetTickCount() + GetDoubleClickTime() + 50;  // the next pair must not join this one
        PumpUntil([&] { return static_cast<LONG>(GetTickCount() - after) > 0; }, 5000);
    }
}

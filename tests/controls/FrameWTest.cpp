// FrameW on a real form: the caption as the host window's text and in the drawing, the
// controls it contains, and the appearance rules.
#include "ControlsTestSupport.h"

#include "controls/frame/FrameW.h"
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/listbox/ListBoxW.h"
#include "host/Error.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <gtest/gtest.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>
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
    // the theme's group box is partly transparent: inside it the parent's background shows
    EXPECT_EQ(opaque.At(opaque.Width() / 2, opaque.Height() / 2), ThemedProgram() ? RGB(0, 255, 0) : RGB(0, 0, 255));
    frame.Transparent(true);
    Snapshot clear = Snapshot::OfClient(frame.hWnd());
    EXPECT_EQ(clear.At(clear.Width() / 2, clear.Height() / 2), RGB(0, 255, 0));
    // the form takes another colour: the frame's kept drawing follows
    form->BackColor(0x0000FFFF);
    Snapshot yellow = Snapshot::OfClient(frame.hWnd());
    EXPECT_EQ(yellow.At(yellow.Width() / 2, yellow.Height() / 2), RGB(255, 255, 0));
}

// A new theme is drawn in: the kept drawing does not outlive WM_THEMECHANGED.
TEST(FrameW, ANewThemeRedrawsTheKeptDrawing) {
    auto form = FormWithFrame(L"  Caption = \"x\"\n  BackColor = &H00FF0000&\n");
    auto& frame = form->Ctl<FrameW>(L"fra");
    RECT mark{40, 60, 50, 70};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(frame.Site().HostWin()->ImageDC(), &mark, green);
    DeleteObject(green);
    ASSERT_EQ(Snapshot::OfClient(frame.hWnd()).At(45, 65), RGB(0, 255, 0));
    SendMessageW(frame.hWnd(), WM_THEMECHANGED, 0, 0);
    Snapshot redrawn = Snapshot::OfClient(frame.hWnd());
    EXPECT_NE(redrawn.At(45, 65), RGB(0, 255, 0));
    EXPECT_EQ(redrawn.At(45, 65), redrawn.At(65, 85)) << "the spot is like the rest of the inside";
    if (!ThemedProgram()) EXPECT_EQ(redrawn.At(45, 65), RGB(0, 0, 255));
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

// --- drawing, in the classic and the themed path ----------------------------------------------

namespace {

// The comctl32 level of a test (0: classic drawing; 2: themed, captions in the frame's colour),
// back to the computed one afterwards.
struct ComCtlLevel {
    explicit ComCtlLevel(int level) { foundation::OverrideComCtlVersionLevel(level); }
    ~ComCtlLevel() { foundation::OverrideComCtlVersionLevel(std::nullopt); }
};

bool IsEmpty(const RECT& r) { return r.right <= r.left; }

bool IsRed(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; }

// The smallest rectangle holding every pixel that `match` accepts (empty when none does).
RECT BoxOf(const Snapshot& s, const std::function<bool(COLORREF)>& match, RECT within = {0, 0, 10000, 10000}) {
    RECT box{10000, 10000, -1, -1};
    for (int y = std::max<int>(within.top, 0); y < std::min<int>(within.bottom, s.Height()); ++y)
        for (int x = std::max<int>(within.left, 0); x < std::min<int>(within.right, s.Width()); ++x)
            if (match(s.At(x, y))) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    if (box.right < 0) return RECT{};
    return box;
}

// The frame's top line: the first row, down the middle, that is not the background above it.
int TopLineRow(const Snapshot& s, int x) {
    COLORREF back = s.At(x, 0);
    for (int y = 1; y < s.Height() / 2; ++y)
        if (s.At(x, y) != back) return y;
    return -1;
}

// The break in the top line around `x`: the columns of row `y` where `drawn` does not show the
// line that `unbroken` has there (the caption's anti-aliased ink is anything but the line).
std::pair<int, int> GapAround(const Snapshot& drawn, const Snapshot& unbroken, int y, int x) {
    auto open = [&](int at) { return drawn.At(at, y) != unbroken.At(at, y); };
    int l = x, r = x;
    while (l > 0 && open(l - 1)) --l;
    while (r + 1 < drawn.Width() && open(r + 1)) ++r;
    return {l, r + 1};
}

HBITMAP RedBitmap(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bitmap);
    RECT all{0, 0, w, h};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, &all, red);
    DeleteObject(red);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

class FrameDrawing : public ::testing::TestWithParam<bool> {
protected:
    bool Themed() const { return GetParam(); }
    ComCtlLevel level_{GetParam() ? 2 : 0};
};

std::unique_ptr<host::Form> DrawnFrame(const std::wstring& caption) {
    return ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 4000\n"
                    L" Begin FrameW fra\n  Left = 120\n  Top = 120\n  Width = 4500\n  Height = 2400\n"
                    L"  ForeColor = &H000000FF&\n  Caption = \"" + caption + L"\"\n End\nEnd\n");
}

}  // namespace

// The themed box is the theme's, not the etched edge, and the themed caption takes the frame's
// colour from comctl32 6.1 on and the theme's below it.
TEST(FrameW, TheThemedPathDrawsTheThemesBoxAndColoursItsCaptionByComCtlLevel) {
    Snapshot classic, themed, themeColours;
    {
        ComCtlLevel level(0);
        auto form = DrawnFrame(L"WWW");
        classic = Snapshot::OfClient(form->Ctl<FrameW>(L"fra").hWnd());
    }
    {
        ComCtlLevel level(2);
        auto form = DrawnFrame(L"WWW");
        themed = Snapshot::OfClient(form->Ctl<FrameW>(L"fra").hWnd());
    }
    {
        ComCtlLevel level(1);
        auto form = DrawnFrame(L"WWW");
        themeColours = Snapshot::OfClient(form->Ctl<FrameW>(L"fra").hWnd());
    }
    int midY = classic.Height() / 2;
    bool sideDiffers = false;
    for (int x = 0; x < 4; ++x) sideDiffers |= classic.At(x, midY) != themed.At(x, midY);
    EXPECT_TRUE(sideDiffers) << "the themed side is not the etched one";
    EXPECT_FALSE(IsEmpty(BoxOf(classic, IsRed)));
    EXPECT_FALSE(IsEmpty(BoxOf(themed, IsRed))) << "DrawThemeTextEx with the frame's colour";
    EXPECT_TRUE(IsEmpty(BoxOf(themeColours, IsRed))) << "DrawThemeText keeps the theme's colour";
    EXPECT_FALSE(IsEmpty(BoxOf(themeColours, [&](COLORREF c) { return c != themeColours.At(themeColours.Width() / 2, 1); },
                               {0, 0, themeColours.Width() / 2, 16})))
        << "the caption is drawn all the same";
}

// Left, right and centred: the caption sits in a break of the top line just wide enough for it.
TEST_P(FrameDrawing, TheCaptionSitsInItsGapForEachAlignment) {
    auto form = DrawnFrame(L"WWW");
    auto& frame = form->Ctl<FrameW>(L"fra");
    frame.Caption(L"");
    Snapshot empty = Snapshot::OfClient(frame.hWnd());
    int line = TopLineRow(empty, empty.Width() / 2);
    ASSERT_GT(line, 2);
    frame.Caption(L"WWW");
    for (long alignment : {0L, 1L, 2L}) {
        SCOPED_TRACE(alignment);
        frame.Alignment(alignment);
        Snapshot s = Snapshot::OfClient(frame.hWnd());
        RECT ink = BoxOf(s, IsRed);
        ASSERT_FALSE(IsEmpty(ink));
        EXPECT_LT(ink.top, line);
        EXPECT_GT(ink.bottom, line) << "the caption's line runs through it";
        int mid = (ink.left + ink.right) / 2;
        auto [gl, gr] = GapAround(s, empty, line, mid);
        EXPECT_LE(gl, ink.left);
        EXPECT_GE(gr, ink.right);
        EXPECT_GE(gl, ink.left - 6) << "the gap fits the caption";
        EXPECT_LE(gr, ink.right + 6);
        EXPECT_EQ(s.At(gl - 1, line), empty.At(gl - 1, line)) << "the line goes on beside the gap";
        if (alignment == 0) EXPECT_NEAR(ink.left, 9, 3);
        if (alignment == 1) EXPECT_NEAR(ink.right, s.Width() - 9, 3);
        if (alignment == 2) EXPECT_NEAR((ink.left + ink.right) / 2.0, s.Width() / 2.0, 3);
    }
}

// No caption and no picture: one unbroken box, its top line half a text line down.
TEST_P(FrameDrawing, AnEmptyCaptionLeavesTheBoxUnbroken) {
    auto form = DrawnFrame(L"");
    auto& frame = form->Ctl<FrameW>(L"fra");
    Snapshot s = Snapshot::OfClient(frame.hWnd());
    int line = TopLineRow(s, s.Width() / 2);
    HDC dc = GetDC(frame.hWnd());
    HGDIOBJ old = SelectObject(dc, frame.Site().HostWin()->FontHandle());
    SIZE a{};
    GetTextExtentPoint32W(dc, L"A", 1, &a);
    SelectObject(dc, old);
    ReleaseDC(frame.hWnd(), dc);
    EXPECT_NEAR(line, a.cy / 2.0, 2);
    COLORREF back = s.At(s.Width() / 2, 0);
    EXPECT_EQ(s.CountDiffering({0, 0, s.Width(), line - 1}, back), 0) << "nothing above the line";
    for (int x = 5; x < s.Width() - 5; ++x)
        if (s.At(x, line) == back) ADD_FAILURE() << "break in the top line at " << x;
}

// A flat frame draws a single dark edge where the three-dimensional one is etched; the themed box
// is the theme's either way.
TEST_P(FrameDrawing, AFlatFrameHasASingleEdge) {
    auto form = DrawnFrame(L"x");
    auto& frame = form->Ctl<FrameW>(L"fra");
    Snapshot raised = Snapshot::OfClient(frame.hWnd());
    frame.Appearance(0);
    Snapshot flat = Snapshot::OfClient(frame.hWnd());
    int y = flat.Height() / 2;
    if (Themed()) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(flat.At(x, y), raised.At(x, y)) << x;
        return;
    }
    int right = flat.Width() - 1;
    EXPECT_EQ(raised.At(0, y), GetSysColor(COLOR_BTNSHADOW)) << "etched: shadow outside";
    EXPECT_EQ(raised.At(right, y), GetSysColor(COLOR_BTNHIGHLIGHT)) << "and light on the far side";
    EXPECT_EQ(flat.At(0, y), GetSysColor(COLOR_WINDOWFRAME)) << "flat: the frame colour";
    EXPECT_EQ(flat.At(right, y), GetSysColor(COLOR_WINDOWFRAME)) << "on every side alike";
    EXPECT_EQ(flat.At(right, flat.Height() - 1), GetSysColor(COLOR_WINDOWFRAME));
}

// A disabled frame writes its caption in the system's grey, whatever its colour.
TEST_P(FrameDrawing, ADisabledFrameGreysItsCaption) {
    auto form = DrawnFrame(L"WWW");
    auto& frame = form->Ctl<FrameW>(L"fra");
    frame.Enabled(false);
    Snapshot s = Snapshot::OfClient(frame.hWnd());
    EXPECT_TRUE(IsEmpty(BoxOf(s, IsRed)));
    COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    RECT ink = BoxOf(s, [&](COLORREF c) { return c == grey; }, {0, 0, s.Width() / 2, 20});
    EXPECT_GT(ink.right - ink.left, 10) << "the caption is there, in grey";
    frame.Enabled(true);
    EXPECT_FALSE(IsEmpty(BoxOf(Snapshot::OfClient(frame.hWnd()), IsRed)));
}

// Right to left puts the caption at the right end and reads it from the right: the full stop
// that ends "H." comes first, on the left of the letter.
TEST_P(FrameDrawing, RightToLeftReadsTheCaptionFromTheRight) {
    auto form = DrawnFrame(L"H.");
    auto& frame = form->Ctl<FrameW>(L"fra");
    auto leftmostColumnHeight = [](const Snapshot& s, RECT ink) {
        RECT col = BoxOf(s, IsRed, {ink.left, 0, ink.left + 1, s.Height()});
        return col.bottom - col.top;
    };
    Snapshot ltr = Snapshot::OfClient(frame.hWnd());
    RECT ltrInk = BoxOf(ltr, IsRed);
    frame.RightToLeft(true);
    ASSERT_EQ(frame.Alignment(), 1);
    Snapshot rtl = Snapshot::OfClient(frame.hWnd());
    RECT rtlInk = BoxOf(rtl, IsRed);
    ASSERT_FALSE(IsEmpty(rtlInk));
    EXPECT_NEAR(rtlInk.right, rtl.Width() - 9, 3);
    EXPECT_GT(leftmostColumnHeight(ltr, ltrInk), 4) << "left to right, the H comes first";
    EXPECT_LE(leftmostColumnHeight(rtl, rtlInk), 3) << "right to left, the full stop does";
}

// With no caption the picture alone breaks the top line, at the left, the right or the middle.
TEST_P(FrameDrawing, APictureAloneSitsInTheTopLine) {
    auto form = DrawnFrame(L"");
    auto& frame = form->Ctl<FrameW>(L"fra");
    Snapshot empty = Snapshot::OfClient(frame.hWnd());
    int line = TopLineRow(empty, empty.Width() / 2);
    frame.Picture(foundation::PictureFromBitmap(RedBitmap(12, 8), true));
    for (long alignment : {0L, 1L, 2L}) {
        SCOPED_TRACE(alignment);
        frame.Alignment(alignment);
        Snapshot s = Snapshot::OfClient(frame.hWnd());
        RECT red = BoxOf(s, IsRed);
        EXPECT_EQ(red.right - red.left, 12);
        EXPECT_EQ(red.top, 0);
        EXPECT_EQ(red.bottom, 8);
        if (alignment == 0) EXPECT_EQ(red.left, 9);
        if (alignment == 1) EXPECT_EQ(red.right, s.Width() - 9);
        if (alignment == 2) EXPECT_NEAR((red.left + red.right) / 2.0, s.Width() / 2.0, 1);
        // the line runs through the picture's rows and is broken around it, 2 pixels aside
        ASSERT_LT(line, 8);
        auto [gl, gr] = GapAround(s, empty, line, (red.left + red.right) / 2);
        EXPECT_EQ(gl, red.left - 2);
        EXPECT_EQ(gr, red.right + 2);
    }
}

// What the frame drew stays in its host's image, which is its background: a repaint copies the
// image rather than drawing the frame again, and the screen shows what WM_PRINTCLIENT gives.
TEST_P(FrameDrawing, TheHostsImageIsTheFramesBackground) {
    auto form = DrawnFrame(L"WWW");
    auto& frame = form->Ctl<FrameW>(L"fra");
    host::HostWindow& hostWin = *frame.Site().HostWin();
    RECT mark{40, 60, 50, 70};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(hostWin.ImageDC(), &mark, green);
    DeleteObject(green);
    RedrawWindow(frame.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT rc{};
    GetWindowRect(frame.hWnd(), &rc);
    MapWindowPoints(nullptr, form->hWnd(), reinterpret_cast<POINT*>(&rc), 2);
    Snapshot screen = Snapshot::OfWindowRect(form->hWnd(), rc);
    EXPECT_EQ(screen.At(45, 65), RGB(0, 255, 0)) << "a repaint shows the image as it is";
    Snapshot printed = Snapshot::OfClient(frame.hWnd());
    EXPECT_EQ(printed.At(45, 65), RGB(0, 255, 0));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(printed.At(x, y), screen.At(x, y)) << x << "," << y;
    // a change draws the frame anew, over the whole image
    frame.Refresh();
    EXPECT_NE(Snapshot::OfClient(frame.hWnd()).At(45, 65), RGB(0, 255, 0));
    screen = Snapshot::OfWindowRect(form->hWnd(), rc);
    EXPECT_NE(screen.At(45, 65), RGB(0, 255, 0)) << "Refresh has painted before it returns";
}

INSTANTIATE_TEST_SUITE_P(FrameW, FrameDrawing, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Themed" : "Classic"; });

// A contained control that paints its parent's background (as themed buttons do, through
// DrawThemeParentBackground) gets the frame's drawing: here the red caption it lies over.
TEST_P(FrameDrawing, AContainedControlPaintingItsParentsBackgroundShowsTheFrame) {
    auto form = DrawnFrame(L"WWW");
    auto& frame = form->Ctl<FrameW>(L"fra");
    host::UniqueWindow child(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 4, 0, 60, 20, frame.hWnd(),
                                             nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(child);
    Snapshot whole = Snapshot::OfClient(frame.hWnd());
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 60, 20);
    HGDIOBJ old = SelectObject(mem, bitmap);
    DrawThemeParentBackground(child.Get(), mem, nullptr);
    int same = 0, red = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            COLORREF c = GetPixel(mem, x, y);
            same += c == whole.At(x + 4, y);
            red += IsRed(c);
        }
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(red, 10) << "the caption shows behind the child";
    EXPECT_EQ(same, 60 * 20) << "pixel for pixel the frame's drawing";
}

// On a design surface the frame keeps its host window's own behaviour, and is drawn all the
// same: on the screen and for whoever prints the window with its background.
TEST(FrameW, OnADesignSurfaceTheFrameIsDrawnAndPrinted) {
    RegisterLibraryControls();
    host::Form form(host::ParseDesign(
        L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 4000\n"
        L" Begin FrameW fra\n  Caption = \"WWW\"\n  ForeColor = &H000000FF&\n  VisualStyles = False\n"
        L"  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 2000\n End\nEnd\n"));
    form.UserMode(false);
    form.Show();
    Drain();
    auto& frame = form.Ctl<FrameW>(L"fra");
    RECT rc{};
    GetWindowRect(frame.hWnd(), &rc);
    MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&rc), 2);
    RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Snapshot screen = Snapshot::OfWindowRect(form.hWnd(), rc);
    Snapshot printed = Snapshot::OfClient(frame.hWnd());
    EXPECT_FALSE(IsEmpty(BoxOf(screen, IsRed)));
    EXPECT_FALSE(IsEmpty(BoxOf(printed, IsRed)));
    int y = screen.Height() / 2;
    EXPECT_EQ(printed.At(0, y), screen.At(0, y));
    EXPECT_EQ(printed.At(0, y), GetSysColor(COLOR_BTNSHADOW)) << "the etched side";
}

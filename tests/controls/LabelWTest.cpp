// LabelW on a real form: painted caption, Change, auto-size anchoring, the appearance rules,
// ellipsis read-back and clicks routed by the container.
#include "ControlsTestSupport.h"

#include "controls/label/LabelW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/WindowlessSurface.h"
#include "host/ControlSite.h"
#include "host/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

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

// --- drawing --------------------------------------------------------------------------------

namespace {

bool IsRed(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; }

// The smallest rectangle of pixels that `match` accepts (empty when none does).
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
    return box.right < 0 ? RECT{} : box;
}

RECT InkOf(const Snapshot& s, COLORREF back, RECT within = {0, 0, 10000, 10000}) {
    return BoxOf(s, [&](COLORREF c) { return c != back; }, within);
}

// The black caption's own pixels, apart from any border's greys.
RECT CaptionOf(const Snapshot& s) {
    return BoxOf(s, [](COLORREF c) { return GetRValue(c) < 40 && GetGValue(c) < 40 && GetBValue(c) < 40; });
}

// A tall label in blue with a black caption, on the white form.
std::unique_ptr<host::Form> BlueLabel(const std::wstring& props) {
    return FormWithLabel(L"  Height = 900\n  BackColor = &H00FF0000&\n  ForeColor = &H00000000&\n" + props);
}
constexpr COLORREF Blue = RGB(0, 0, 255);

// The height DrawText gives the caption in the label's font.
long TextHeight(LabelW& label, const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, label.Site().Windowless()->FontHandle());
    RECT r{0, 0, 1000, 1000};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOCLIP);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return r.bottom - r.top;
}

void PressAltKey(WORD vk) {
    INPUT seq[4]{};
    WORD keys[4] = {VK_MENU, vk, vk, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        seq[i].type = INPUT_KEYBOARD;
        seq[i].ki.wVk = keys[i];
        seq[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC));
        seq[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, seq, sizeof(INPUT));
    PumpUntil([] { return !GetQueueStatus(QS_KEY); }, 2000);
    Drain();
}

}  // namespace

// Each border style in its colours, and its width and height set the caption in from the edge.
TEST(LabelW, TheFiveBorderStylesAndTheirMetrics) {
    auto form = BlueLabel(L"  Caption = \"H\"\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    Snapshot none = LabelPixels(*form, label);
    int w = none.Width(), h = none.Height();
    RECT plain = CaptionOf(none);
    ASSERT_FALSE(plain.right <= plain.left);
    EXPECT_EQ(InkOf(none, Blue, {0, 0, w, 1}).right, 0) << "style 0: no border";

    struct Expected { long style; int metricX, metricY; COLORREF outerTopLeft, outerBottomRight; };
    const Expected styles[] = {
        {1, SM_CXBORDER, SM_CYBORDER, RGB(100, 100, 100), RGB(100, 100, 100)},
        {2, SM_CXBORDER, SM_CYBORDER, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT)},
        {3, SM_CXEDGE, SM_CYEDGE, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT)},
        {4, SM_CXDLGFRAME, SM_CYDLGFRAME, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW)},
    };
    for (const Expected& e : styles) {
        SCOPED_TRACE(e.style);
        label.BorderStyle(e.style);
        Snapshot s = LabelPixels(*form, label);
        EXPECT_EQ(s.At(0, 0), e.outerTopLeft);
        EXPECT_EQ(s.At(w - 1, h - 1), e.outerBottomRight);
        EXPECT_EQ(s.At(w / 2, 0), e.outerTopLeft) << "the whole top edge";
        EXPECT_EQ(s.At(0, h / 2), e.outerTopLeft) << "the whole left edge";
        if (e.style <= 2) EXPECT_EQ(s.At(1, 1), Blue) << "one pixel wide";
        if (e.style == 3) EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_3DDKSHADOW)) << "sunken: dark inside the shadow";
        if (e.style == 4) EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT)) << "raised: light inside the light";
        RECT ink = CaptionOf(s);
        EXPECT_EQ(ink.left - plain.left, GetSystemMetrics(e.metricX)) << "the caption moves in by the border's width";
        EXPECT_EQ(ink.top - plain.top, GetSystemMetrics(e.metricY));
    }

    // Auto-size adds the border on both sides.
    label.BorderStyle(0);
    label.AutoSize(true);
    RECT bare = label.Site().PixelRect();
    label.BorderStyle(3);
    RECT sunken = label.Site().PixelRect();
    EXPECT_EQ((sunken.right - sunken.left) - (bare.right - bare.left), 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ((sunken.bottom - sunken.top) - (bare.bottom - bare.top), 2 * GetSystemMetrics(SM_CYEDGE));
    EXPECT_THROW(label.BorderStyle(5), host::Error);
}

// Centre and bottom move the caption down by half and all of the room its line leaves, less the
// border above and below.
TEST(LabelW, VerticalAlignmentMovesTheCaptionDown) {
    for (long border : {0L, 3L}) {
        SCOPED_TRACE(border);
        auto form = BlueLabel(L"  Caption = \"H\"\n  BorderStyle = " + std::to_wstring(border) + L"\n");
        auto& label = form->Ctl<LabelW>(L"lbl");
        long cy = border ? GetSystemMetrics(SM_CYEDGE) : 0;
        Snapshot top = LabelPixels(*form, label);
        long room = top.Height() - 2 * cy - TextHeight(label, L"H");
        ASSERT_GT(room, 20) << "height " << top.Height() << ", line " << TextHeight(label, L"H");
        label.VerticalAlignment(1);
        Snapshot centre = LabelPixels(*form, label);
        label.VerticalAlignment(2);
        Snapshot bottom = LabelPixels(*form, label);
        long t0 = CaptionOf(top).top;
        EXPECT_EQ(CaptionOf(centre).top - t0, std::lround(std::nearbyint(room / 2.0)))
            << "height " << top.Height() << ", line " << TextHeight(label, L"H") << ", surface "
            << label.Site().Windowless()->HeightPixels();
        EXPECT_EQ(CaptionOf(bottom).top - t0, room);
    }
}

// A disabled label writes its caption in the system's grey, whatever its colour.
TEST(LabelW, ADisabledLabelGreysItsCaption) {
    auto form = BlueLabel(L"  Caption = \"WWW\"\n  ForeColor = &H000000FF&\n  BackColor = &H00FFFFFF&\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    auto count = [](const Snapshot& s, const std::function<bool(COLORREF)>& match) {
        int n = 0;
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x) n += match(s.At(x, y));
        return n;
    };
    EXPECT_GT(count(LabelPixels(*form, label), IsRed), 10);
    label.Enabled(false);
    Snapshot s = LabelPixels(*form, label);
    EXPECT_EQ(count(s, IsRed), 0);
    COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_GT(count(s, [&](COLORREF c) { return c == grey; }), 10);
}

// With UseMnemonic a doubled ampersand shows one and the x after a single one is underlined and
// becomes the access key (Alt+X goes on to the next control); without it every ampersand shows
// and there is no access key.
TEST(LabelW, UseMnemonicUnderlinesTheAccessKeyAndRegistersIt) {
    auto form = ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 3000\n"
                         L" Begin LabelW lbl\n  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 600\n"
                         L"  BackColor = &H00FFFFFF&\n  ForeColor = &H00000000&\n  Caption = \"A&&B &x\"\n  TabIndex = 0\n End\n"
                         L" Begin TextBoxW first\n  Left = 120\n  Top = 900\n  Width = 3000\n  Height = 315\n  TabIndex = 1\n End\n"
                         L" Begin TextBoxW last\n  Left = 120\n  Top = 1500\n  Width = 3000\n  Height = 315\n  TabIndex = 2\n End\n"
                         L"End\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    auto& first = form->Ctl<controls::TextBoxW>(L"first");
    auto& last = form->Ctl<controls::TextBoxW>(L"last");
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(label.Site().AccessKeys(), L"X");
    Snapshot withKey = LabelPixels(*form, label);

    // The same text without the prefixes: the access key's underline is all that differs.
    label.UseMnemonic(false);
    EXPECT_EQ(label.Site().AccessKeys(), L"");
    Snapshot literal = LabelPixels(*form, label);
    label.Caption(L"A&B x");
    Snapshot plain = LabelPixels(*form, label);
    RECT underline{10000, 10000, -1, -1};
    for (int y = 0; y < plain.Height(); ++y)
        for (int x = 0; x < plain.Width(); ++x)
            if (plain.At(x, y) != withKey.At(x, y)) {
                underline.left = std::min<LONG>(underline.left, x);
                underline.top = std::min<LONG>(underline.top, y);
                underline.right = std::max<LONG>(underline.right, x + 1);
                underline.bottom = std::max<LONG>(underline.bottom, y + 1);
            }
    RECT text = InkOf(plain, white);
    ASSERT_GT(underline.right, underline.left) << "an underline is drawn";
    EXPECT_LE(underline.bottom - underline.top, 2) << "one flat line";
    EXPECT_GE(underline.top, text.bottom - 3) << "at the foot of the text";
    EXPECT_GT(underline.left, (text.left + text.right) / 2) << "under the x at the end";
    EXPECT_GT(InkOf(literal, white).right, text.right + 3) << "literal: both ampersands show";

    // The access key goes to the next control; without UseMnemonic Alt+X does nothing.
    label.Caption(L"A&&B &x");
    ASSERT_TRUE(Activate(*form));
    SetFocus(last.hWnd());
    PressAltKey('X');
    EXPECT_EQ(GetFocus(), last.hWnd());
    label.UseMnemonic(true);
    EXPECT_EQ(label.Site().AccessKeys(), L"X");
    PressAltKey('X');
    EXPECT_EQ(GetFocus(), first.hWnd());
}

// Refresh returns with the label painted: the screen shows the new caption without the caller
// pumping a message.
TEST(LabelW, RefreshHasPaintedBeforeItReturns) {
    auto form = BlueLabel(L"  Caption = \"\"\n");
    auto& label = form->Ctl<LabelW>(L"lbl");
    RECT rc = label.Site().PixelRect();
    Snapshot before = LabelPixels(*form, label);
    ASSERT_EQ(InkOf(before, Blue).right, 0);
    label.Caption(L"WWW");
    Snapshot unpainted = Snapshot::OfWindowRect(form->hWnd(), rc);
    ASSERT_EQ(InkOf(unpainted, Blue).right, 0) << "nothing painted yet: no message was pumped";
    label.Refresh();
    Snapshot after = Snapshot::OfWindowRect(form->hWnd(), rc);
    EXPECT_GT(InkOf(after, Blue).right, 0);
    EXPECT_FALSE(GetQueueStatus(QS_PAINT) & QS_PAINT) << "no paint left waiting";
}

// TextBoxW under the real mouse: the automatic text drag (the arrow over the selection, a press
// there that moves drags the selected text) and the automatic drop (the caret follows the
// pointer, the box scrolls near its edges, a drop inserts and selects, moves within one box or
// does nothing on the box's own selection). The drag runs in the system's own drag loop, walked
// by a thread timer.
#include "ControlsTestSupport.h"

#include "controls/textbox/TextBoxW.h"
#include "host/DataObject.h"
#include "host/DragDrop.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using controls::TextBoxW;
using namespace ctltest;

namespace {

const wchar_t* kDesign = LR"(Begin Form F
   ClientWidth = 9000
   ClientHeight = 5400
   Begin TextBoxW src
      OLEDragMode = 1
      OLEDropMode = 2
      Left = 300
      Top = 300
      Width = 4200
      Height = 400
   End
   Begin TextBoxW dst
      OLEDropMode = 2
      MultiLine = True
      ScrollBars = 2
      Left = 300
      Top = 1200
      Width = 4200
      Height = 1500
   End
End
)";

std::vector<std::function<void()>> g_steps;
size_t g_step = 0;
void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    if (g_step < g_steps.size()) g_steps[g_step++]();
}

INPUT MoveTo(POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

INPUT Button(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    return in;
}

void Send(INPUT in) { SendInput(1, &in, sizeof in); }

void Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    Send(in);
}

// Press at `from`, move to `to` with the button down (released there when `release`); pumped
// until `done`.
void PressAndMove(POINT from, POINT to, bool release, const std::function<bool()>& done) {
    SetCursorPos(from.x, from.y);
    std::vector<INPUT> seq{MoveTo(from), Button(MOUSEEVENTF_LEFTDOWN)};
    if (to.x != from.x || to.y != from.y) seq.push_back(MoveTo(to));
    if (release) seq.push_back(Button(MOUSEEVENTF_LEFTUP));
    SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT));
    PumpUntil(done, 5000);
    PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0 && !GetQueueStatus(QS_MOUSE); }, 2000);
    Drain();
}

// Where character `index` of a box starts, in client pixels; (dx, dy) into it, on the screen.
POINT CharClient(const TextBoxW& box, long index) {
    LRESULT pos = SendMessageW(box.hWnd(), EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    return POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
}

POINT CharScreen(const TextBoxW& box, long index, int dx = 2, int dy = 4) {
    POINT p = CharClient(box, index);
    p.x += dx;
    p.y += dy;
    ClientToScreen(box.hWnd(), &p);
    return p;
}

POINT WindowPoint(const TextBoxW& box, int dx, int dy) {
    RECT r{};
    GetWindowRect(box.hWnd(), &r);
    return POINT{dx >= 0 ? r.left + dx : r.right + dx, dy >= 0 ? r.top + dy : r.bottom + dy};
}

std::wstring UnicodeOf(const host::Bytes& b) {
    std::wstring s(reinterpret_cast<const wchar_t*>(b.data()), b.size() / 2);
    return s;
}

class TextBoxWDrag : public testing::Test {
protected:
    void SetUp() override {
        form_ = ShowForm(kDesign);
        ASSERT_TRUE(Activate(*form_));
        Src().OLECompleteDrag = [this](long& effect) { completed_.push_back(effect); };
    }
    void TearDown() override {
        Send(Button(MOUSEEVENTF_LEFTUP));
        Key(VK_CONTROL, true);
        PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0; }, 1000);
        StopWalking();
        form_.reset();
        g_steps.clear();
        g_step = 0;
    }
    TextBoxW& Src() { return form_->Ctl<TextBoxW>(L"src"); }
    TextBoxW& Dst() { return form_->Ctl<TextBoxW>(L"dst"); }

    // Presses on character `index` of the source's selection, drags, and runs `steps` once
    // the drag has started; returns when the drag completed.
    void Drag(long index, std::vector<std::function<void()>> steps, int dx = 2) {
        Src().OLEStartDrag = [this, steps = std::move(steps)](host::DataObject&, long& allowed) {
            allowedAtStart_ = allowed;
            g_steps = steps;
            g_step = 0;
            timer_ = SetTimer(nullptr, 0, 60, RunStep);
        };
        size_t before = completed_.size();
        POINT from = CharScreen(Src(), index, dx);
        PressAndMove(from, POINT{from.x + 20, from.y + 20}, false, [&] { return completed_.size() > before; });
        StopWalking();
    }
    void StopWalking() {
        if (timer_) KillTimer(nullptr, timer_);
        timer_ = 0;
    }

    std::unique_ptr<host::Form> form_;
    std::vector<long> completed_;
    long allowedAtStart_ = -1;
    UINT_PTR timer_ = 0;
};

}  // namespace

TEST_F(TextBoxWDrag, ChineseTextMovesIntoAnotherBoxWhereTheCaretFollowedThePointer) {
    TextBoxW& src = Src();
    TextBoxW& dst = Dst();
    src.Text(L"abc 中文字 xyz");
    src.SelStart(4);
    src.SelLength(3);
    dst.Text(L"12345");
    Drain();

    // The arrow over the selection; the text cursor elsewhere.
    POINT over = CharScreen(src, 5);
    SetCursorPos(over.x, over.y);
    Send(MoveTo(over));
    EXPECT_TRUE(PumpUntil([] { return GetCursor() == LoadCursorW(nullptr, IDC_ARROW); }, 1000));
    POINT outside = CharScreen(src, 1);
    Send(MoveTo(outside));
    EXPECT_TRUE(PumpUntil([] { return GetCursor() == LoadCursorW(nullptr, IDC_IBEAM); }, 1000));

    std::wstring unicode;
    std::string ansi;
    dst.OLEDragDrop = [&](host::DataObject& data, long& effect, int, int, float, float) {
        unicode = UnicodeOf(data.GetData(CF_UNICODETEXT));
        host::Bytes b = data.GetData(CF_TEXT);
        ansi.assign(reinterpret_cast<const char*>(b.data()), b.size());
    };
    POINT caretSeen{-1, -1};
    POINT target = CharScreen(dst, 2, 1);
    Drag(5, {[&] { SetCursorPos(target.x - 8, target.y); }, [&] { SetCursorPos(target.x, target.y); }, [] {},
             [&] { GetCaretPos(&caretSeen); }, [] { Send(Button(MOUSEEVENTF_LEFTUP)); }});

    ASSERT_EQ(completed_, std::vector<long>{DROPEFFECT_MOVE});
    EXPECT_EQ(allowedAtStart_, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(caretSeen.x, CharClient(dst, 2).x) << "the caret stood where the text would go";
    EXPECT_EQ(caretSeen.y, CharClient(dst, 2).y);
    EXPECT_EQ(unicode, std::wstring(L"中文字") + L'\0');
    std::wstring wide = L"中文字";
    int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string expected(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, expected.data(), n, nullptr, nullptr);
    EXPECT_EQ(ansi, expected);
    EXPECT_EQ(dst.Text(), L"12中文字345");
    EXPECT_EQ(dst.SelStart(), 2);
    EXPECT_EQ(dst.SelLength(), 3);
    EXPECT_EQ(GetFocus(), dst.hWnd());
    EXPECT_EQ(src.Text(), L"abc  xyz") << "moved text leaves the source once the move was accepted";
    EXPECT_TRUE(dst.CanUndo());

    // Held Ctrl at the drop copies: the source keeps its text.
    src.SelStart(0);
    src.SelLength(3);
    target = CharScreen(dst, 0, 1);
    Drag(1, {[&] { SetCursorPos(target.x, target.y); }, [] { Key(VK_CONTROL, false); }, [] {},
             [] { Send(Button(MOUSEEVENTF_LEFTUP)); }, [] { Key(VK_CONTROL, true); }});
    ASSERT_EQ(completed_.back(), DROPEFFECT_COPY);
    EXPECT_EQ(dst.Text(), L"abc12中文字345");
    EXPECT_EQ(src.Text(), L"abc  xyz");

    // A move the target refuses leaves the source as it was.
    dst.OLEDragDrop = [](host::DataObject&, long& effect, int, int, float, float) { effect = 0; };
    dst.OLEDragOver = [](host::DataObject&, long& effect, int, int, float, float, int) { effect = 0; };
    Drag(1, {[&] { SetCursorPos(target.x, target.y); }, [] {}, [] { Send(Button(MOUSEEVENTF_LEFTUP)); }});
    ASSERT_EQ(completed_.back(), 0);
    EXPECT_EQ(src.Text(), L"abc  xyz");
    EXPECT_EQ(dst.Text(), L"abc12中文字345");
}

TEST_F(TextBoxWDrag, WithinOneBoxTextMovesPastItsSelectionAndADropOnItDoesNothing) {
    TextBoxW& src = Src();
    src.Text(L"one two three");
    src.SelStart(4);
    src.SelLength(3);
    Drain();
    int drops = 0;
    src.OLEDragDrop = [&](host::DataObject&, long&, int, int, float, float) { ++drops; };

    // Between "h" and "r" of "three": after the selection, so the place moves back by its length.
    POINT target = CharScreen(src, 10, 1);
    Drag(5, {[&] { SetCursorPos(target.x, target.y); }, [] {}, [] { Send(Button(MOUSEEVENTF_LEFTUP)); }});
    ASSERT_EQ(completed_, std::vector<long>{DROPEFFECT_MOVE});
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(src.Text(), L"one  thtworee") << "moved once, not removed a second time at completion";
    EXPECT_EQ(src.SelStart(), 7);
    EXPECT_EQ(src.SelLength(), 3);

    // Onto its own selection: nothing changes and the drag reports no effect.
    target = CharScreen(src, 9, 1);
    Drag(8, {[&] { SetCursorPos(target.x + 3, target.y); }, [] {}, [] { Send(Button(MOUSEEVENTF_LEFTUP)); }});
    ASSERT_EQ(completed_.back(), 0);
    EXPECT_EQ(src.Text(), L"one  thtworee");
    EXPECT_EQ(src.SelStart(), 7);
    EXPECT_EQ(src.SelLength(), 3);

    // A press on the selection that does not move is a click that puts the caret there.
    int clicks = 0;
    src.Click = [&] { ++clicks; };
    Sleep(GetDoubleClickTime() + 50);  // no double click with the last press
    POINT on = CharScreen(src, 8, 2);
    PressAndMove(on, on, true, [&] { return clicks > 0; });
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(src.SelLength(), 0);
    EXPECT_EQ(src.SelStart(), 8);
}

TEST_F(TextBoxWDrag, DraggingNearTheEdgesOfABoxScrollsItAndEscapeChangesNothing) {
    TextBoxW& src = Src();
    TextBoxW& dst = Dst();
    src.Text(L"carried");
    src.SelStart(0);
    src.SelLength(7);
    std::wstring lines;
    for (int i = 0; i < 60; ++i) lines += L"line " + std::to_wstring(i) + L"\r\n";
    dst.Text(lines);
    dst.SelStart(0);
    Drain();
    auto first = [&] { return static_cast<long>(SendMessageW(dst.hWnd(), EM_GETFIRSTVISIBLELINE, 0, 0)); };
    std::vector<long> seen;
    auto stay = [](std::vector<std::function<void()>>& steps, POINT at, int ticks) {
        for (int i = 0; i < ticks; ++i) steps.push_back([at] { SetCursorPos(at.x, at.y); });
    };
    std::vector<std::function<void()>> steps;
    stay(steps, WindowPoint(dst, 60, 50), 3);
    steps.push_back([&] { seen.push_back(first()); });
    stay(steps, WindowPoint(dst, 60, -8), 6);
    steps.push_back([&] { seen.push_back(first()); });
    stay(steps, WindowPoint(dst, 60, 6), 3);
    steps.push_back([&] { seen.push_back(first()); });
    steps.push_back([] {
        Key(VK_ESCAPE, false);
        Key(VK_ESCAPE, true);
    });
    Drag(2, steps);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], 0) << "away from the edges nothing scrolls";
    EXPECT_GT(seen[1], 2);
    EXPECT_LT(seen[2], seen[1]);
    ASSERT_EQ(completed_.back(), 0) << "Escape cancelled";
    EXPECT_EQ(src.Text(), L"carried");
    EXPECT_EQ(dst.Text(), lines);

    // Switched off, the box stays where it is.
    dst.OLEDragDropScroll(false);
    SendMessageW(dst.hWnd(), EM_LINESCROLL, 0, -100);
    seen.clear();
    steps.clear();
    stay(steps, WindowPoint(dst, 60, -8), 5);
    steps.push_back([&] { seen.push_back(first()); });
    steps.push_back([] {
        Key(VK_ESCAPE, false);
        Key(VK_ESCAPE, true);
    });
    Drag(4, steps);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], 0);
}

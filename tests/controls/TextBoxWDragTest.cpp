// TextBoxW under the real mouse: the automatic text drag (the arrow over the selection, a press
// there that moves drags the selected text) and the automatic drop (the caret follows the
// pointer, the box scrolls near its edges, a drop inserts and selects, moves within one box or
// does nothing on the box's own selection). The drag runs in the system's own drag loop, walked
// by a thread timer.
#include "ControlsTestSupport.h"
#include "MouseDrag.h"

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

// Where character `index` of a box starts, in client pixels; (dx, dy) into it, on the screen.
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
        SendMouse(MOUSEEVENTF_LEFTUP);
        SendKey(VK_CONTROL, true);
        PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0; }, 1000);
        steps_.Stop();
        form_.reset();
    }
    TextBoxW& Src() { return form_->Ctl<TextBoxW>(L"src"); }
    TextBoxW& Dst() { return form_->Ctl<TextBoxW>(L"dst"); }

    // Presses on character `index` of the source's selection, drags, and runs `steps` once
    // the drag has started; returns when the drag completed.
    void Drag(long index, std::vector<std::function<void()>> steps, int dx = 2) {
        Src().OLEStartDrag = [this, steps = std::move(steps)](host::DataObject&, long& allowed) {
            allowedAtStart_ = allowed;
            steps_.Start(steps);
        };
        size_t before = completed_.size();
        POINT from = EditCharScreen(Src().hWnd(), index, dx);
        PressAndMove(from, POINT{from.x + 20, from.y + 20}, false, [&] { return completed_.size() > before; });
        steps_.Stop();
    }

    std::unique_ptr<host::Form> form_;
    std::vector<long> completed_;
    long allowedAtStart_ = -1;
    DragSteps steps_;
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
    POINT over = EditCharScreen(src.hWnd(), 5);
    SetCursorPos(over.x, over.y);
    SendMouseMove(over);
    EXPECT_TRUE(PumpUntil([] { return GetCursor() == LoadCursorW(nullptr, IDC_ARROW); }, 1000));
    POINT outside = EditCharScreen(src.hWnd(), 1);
    SendMouseMove(outside);
    EXPECT_TRUE(PumpUntil([] { return GetCursor() == LoadCursorW(nullptr, IDC_IBEAM); }, 1000));

    std::wstring unicode;
    std::string ansi;
    dst.OLEDragDrop = [&](host::DataObject& data, long& effect, int, int, float, float) {
        unicode = UnicodeOf(data.GetData(CF_UNICODETEXT));
        host::Bytes b = data.GetData(CF_TEXT);
        ansi.assign(reinterpret_cast<const char*>(b.data()), b.size());
    };
    POINT caretSeen{-1, -1};
    POINT target = EditCharScreen(dst.hWnd(), 2, 1);
    Drag(5, {[&] { SetCursorPos(target.x - 8, target.y); }, [&] { SetCursorPos(target.x, target.y); }, [] {},
             [&] { GetCaretPos(&caretSeen); }, [] { SendMouse(MOUSEEVENTF_LEFTUP); }});

    ASSERT_EQ(completed_, std::vector<long>{DROPEFFECT_MOVE});
    EXPECT_EQ(allowedAtStart_, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(caretSeen.x, EditCharClient(dst.hWnd(), 2).x) << "the caret stood where the text would go";
    EXPECT_EQ(caretSeen.y, EditCharClient(dst.hWnd(), 2).y);
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
    target = EditCharScreen(dst.hWnd(), 0, 1);
    Drag(1, {[&] { SetCursorPos(target.x, target.y); }, [] { SendKey(VK_CONTROL, false); }, [] {},
             [] { SendMouse(MOUSEEVENTF_LEFTUP); }, [] { SendKey(VK_CONTROL, true); }});
    ASSERT_EQ(completed_.back(), DROPEFFECT_COPY);
    EXPECT_EQ(dst.Text(), L"abc12中文字345");
    EXPECT_EQ(src.Text(), L"abc  xyz");

    // A move the target refuses leaves the source as it was.
    dst.OLEDragDrop = [](host::DataObject&, long& effect, int, int, float, float) { effect = 0; };
    dst.OLEDragOver = [](host::DataObject&, long& effect, int, int, float, float, int) { effect = 0; };
    Drag(1, {[&] { SetCursorPos(target.x, target.y); }, [] {}, [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
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
    POINT target = EditCharScreen(src.hWnd(), 10, 1);
    Drag(5, {[&] { SetCursorPos(target.x, target.y); }, [] {}, [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    ASSERT_EQ(completed_, std::vector<long>{DROPEFFECT_MOVE});
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(src.Text(), L"one  thtworee") << "moved once, not removed a second time at completion";
    EXPECT_EQ(src.SelStart(), 7);
    EXPECT_EQ(src.SelLength(), 3);

    // Onto its own selection: nothing changes and the drag reports no effect.
    target = EditCharScreen(src.hWnd(), 9, 1);
    Drag(8, {[&] { SetCursorPos(target.x + 3, target.y); }, [] {}, [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    ASSERT_EQ(completed_.back(), 0);
    EXPECT_EQ(src.Text(), L"one  thtworee");
    EXPECT_EQ(src.SelStart(), 7);
    EXPECT_EQ(src.SelLength(), 3);

    // A press on the selection that does not move is a click that puts the caret there.
    int clicks = 0;
    src.Click = [&] { ++clicks; };
    Sleep(GetDoubleClickTime() + 50);  // no double click with the last press
    POINT on = EditCharScreen(src.hWnd(), 8, 2);
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
        SendKey(VK_ESCAPE, false);
        SendKey(VK_ESCAPE, true);
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
        SendKey(VK_ESCAPE, false);
        SendKey(VK_ESCAPE, true);
    });
    Drag(4, steps);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], 0);
}

namespace {

GUITHREADINFO ThreadCaret() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    return info;
}

// Whether the caret is drawn in `rc` of the window: it blinks by inverting what is under it, so
// within a few blinks two looks at the place show each other's inverse.
bool CaretBlinksAt(HWND hwnd, RECT rc) {
    if (IsRectEmpty(&rc)) return false;
    std::vector<Snapshot> looks;
    DWORD until = GetTickCount() + 3 * GetCaretBlinkTime() + 200;
    while (GetTickCount() < until) {
        looks.push_back(Snapshot::OfWindowRect(hwnd, rc));
        for (const Snapshot& earlier : looks) {
            bool inverse = true;
            for (int y = 0; y < earlier.Height() && inverse; ++y)
                for (int x = 0; x < earlier.Width() && inverse; ++x)
                    inverse = (earlier.At(x, y) ^ looks.back().At(x, y)) == 0xFFFFFF;
            if (inverse) return true;
        }
        PumpUntil([] { return false; }, 40);
    }
    return false;
}

}  // namespace

TEST_F(TextBoxWDrag, ADragPassingOverAnotherBoxLeavesTheFocusedBoxItsCaret) {
    TextBoxW& src = Src();
    TextBoxW& dst = Dst();
    src.Text(L"光标 stays here");
    src.SelStart(3);
    src.SelLength(5);
    dst.Text(L"passed over");
    Drain();
    POINT overDst = EditCharScreen(dst.hWnd(), 4, 1);
    POINT background = WindowPoint(dst, 20, -1);
    background.y += 30;  // the form below the box: no drop target there
    GUITHREADINFO before{}, during{}, after{};

    // Over the other box (its drop caret takes the thread's caret), then off to the form, where
    // the button is released.
    Drag(5, {[&] { before = ThreadCaret(); }, [&] { SetCursorPos(overDst.x, overDst.y); },
             [&] { SetCursorPos(overDst.x + 6, overDst.y); }, [&] { during = ThreadCaret(); },
             [&] { SetCursorPos(background.x, background.y); }, [] {}, [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    ASSERT_EQ(completed_.back(), 0);
    ASSERT_EQ(GetFocus(), src.hWnd());
    ASSERT_EQ(before.hwndCaret, src.hWnd()) << "the pressed box had the caret before the drag";
    EXPECT_EQ(during.hwndCaret, dst.hWnd()) << "the box dragged over showed where the text would go";
    after = ThreadCaret();
    EXPECT_EQ(after.hwndCaret, src.hWnd());
    EXPECT_TRUE(EqualRect(&after.rcCaret, &before.rcCaret));
    EXPECT_TRUE(CaretBlinksAt(src.hWnd(), before.rcCaret)) << "the caret is drawn again";
    EXPECT_EQ(src.Text(), L"光标 stays here");
    EXPECT_EQ(dst.Text(), L"passed over");

    // Escape while over the other box: the drag leaves it the same way.
    Drag(5, {[&] { SetCursorPos(overDst.x, overDst.y); }, [&] { SetCursorPos(overDst.x + 6, overDst.y); },
             [&] { during = ThreadCaret(); }, [] { SendKey(VK_ESCAPE, false); }, [] { SendKey(VK_ESCAPE, true); }});
    ASSERT_EQ(completed_.back(), 0);
    EXPECT_EQ(during.hwndCaret, dst.hWnd());
    after = ThreadCaret();
    EXPECT_EQ(after.hwndCaret, src.hWnd());
    EXPECT_TRUE(EqualRect(&after.rcCaret, &before.rcCaret));
    EXPECT_TRUE(CaretBlinksAt(src.hWnd(), before.rcCaret));

    // Over the pressed box itself, away from its selection (its own caret becomes the drop
    // caret), then off to the form: its caret comes back as it was, not as the drop caret was.
    POINT overSrc = EditCharScreen(src.hWnd(), 11, 1);
    Drag(5, {[&] { SetCursorPos(overSrc.x, overSrc.y); }, [&] { SetCursorPos(overSrc.x + 3, overSrc.y); },
             [&] { during = ThreadCaret(); }, [&] { SetCursorPos(background.x, background.y); }, [] {},
             [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    ASSERT_EQ(completed_.back(), 0);
    EXPECT_EQ(during.hwndCaret, src.hWnd());
    EXPECT_NE(during.rcCaret.left, before.rcCaret.left) << "the drop caret stood elsewhere";
    after = ThreadCaret();
    EXPECT_EQ(after.hwndCaret, src.hWnd());
    EXPECT_TRUE(EqualRect(&after.rcCaret, &before.rcCaret));
    EXPECT_TRUE(CaretBlinksAt(src.hWnd(), before.rcCaret));

    // Typing goes on at the caret's place, where the box's own caret follows it.
    PressKey(VK_END);
    TypeText(L"!");
    EXPECT_EQ(src.Text(), L"光标 stays here!");
    after = ThreadCaret();
    EXPECT_EQ(after.hwndCaret, src.hWnd());
    EXPECT_GT(after.rcCaret.left, before.rcCaret.left);
}

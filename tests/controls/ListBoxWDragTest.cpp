// ListBoxW under the real mouse: the automatic item drag (a press on a selected item that moves
// drags the selected texts; one that does not is an ordinary click) and the list scrolling by
// itself while something is dragged near its edges. The mouse goes through the system's input
// queue; the drag runs in the system's own drag loop, walked by a thread timer.
#include "ControlsTestSupport.h"
#include "MouseDrag.h"

#include "controls/listbox/ListBoxW.h"
#include "host/DataObject.h"
#include "host/DragDrop.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using controls::ListBoxW;
using namespace ctltest;

namespace {

const wchar_t* kDesign = LR"(Begin Form F
   ClientWidth = 9000
   ClientHeight = 5400
   Begin ListBoxW src
      OLEDragMode = 1
      MultiSelect = 2
      IntegralHeight = False
      Left = 300
      Top = 300
      Width = 2400
      Height = 2400
   End
   Begin ListBoxW dst
      OLEDropMode = 1
      IntegralHeight = False
      Left = 3300
      Top = 300
      Width = 2400
      Height = 1500
   End
   Begin ListBoxW cols
      OLEDropMode = 1
      MultiColumn = True
      IntegralHeight = False
      Left = 3300
      Top = 2400
      Width = 2400
      Height = 1500
   End
   Begin ListBoxW chk
      OLEDragMode = 1
      Style = 1
      IntegralHeight = False
      Left = 6000
      Top = 300
      Width = 2400
      Height = 1500
   End
End
)";

// The middle of an item, on the screen.
POINT ItemPoint(const ListBoxW& list, long index, int dx = 40) {
    RECT r{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left + dx, (r.top + r.bottom) / 2};
    ClientToScreen(list.hWnd(), &p);
    return p;
}

// A point of the list box window (not its client area), on the screen.
POINT WindowPoint(const ListBoxW& list, int dx, int dy) {
    RECT r{};
    GetWindowRect(list.hWnd(), &r);
    return POINT{dx >= 0 ? r.left + dx : r.right + dx, dy >= 0 ? r.top + dy : r.bottom + dy};
}

std::wstring TextOfUnicode(const host::Bytes& b) {
    std::wstring s(reinterpret_cast<const wchar_t*>(b.data()), b.size() / 2);
    return s.substr(0, s.find(L'\0'));
}

class ListBoxWDrag : public testing::Test {
protected:
    void SetUp() override {
        form_ = ShowForm(kDesign);
        ASSERT_TRUE(Activate(*form_));
    }
    void TearDown() override {
        SendMouse(MOUSEEVENTF_LEFTUP);
        PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0; }, 1000);
        steps_.Stop();
        form_.reset();
    }
    ListBoxW& List(const wchar_t* name) { return form_->Ctl<ListBoxW>(name); }

    // Runs `steps` on a timer once the drag has started (from OLEStartDrag of `source`).
    void WalkTheDrag(ListBoxW& source, std::vector<std::function<void()>> steps,
                     std::function<void(host::DataObject&, long&)> atStart = {}) {
        source.OLEStartDrag = [this, steps = std::move(steps), atStart](host::DataObject& data, long& allowed) {
            if (atStart) atStart(data, allowed);
            steps_.Start(steps);
        };
    }
    void StopWalking() { steps_.Stop(); }

    std::unique_ptr<host::Form> form_;
    DragSteps steps_;
};

}  // namespace

TEST_F(ListBoxWDrag, PressOnASelectedItemAndMoveDragsTheSelectedTextsAsACopy) {
    ListBoxW& src = List(L"src");
    ListBoxW& dst = List(L"dst");
    for (const wchar_t* s : {L"alpha", L"贝塔", L"gamma", L"delta"}) src.AddItem(s);
    src.SetSelRange(1, 2);
    Drain();
    EXPECT_EQ(src.OLEDraggedItem(), -1);

    long draggedAtStart = -2, draggedAtDrop = -2, allowedAtStart = -1;
    std::wstring unicodeText;
    std::string ansiText;
    std::vector<long> completed;
    int mouseDowns = 0;
    src.MouseDown = [&](int, int, float, float) { ++mouseDowns; };
    src.OLECompleteDrag = [&](long& effect) { completed.push_back(effect); };
    dst.OLEDragDrop = [&](host::DataObject& data, long& effect, int, int, float, float) {
        draggedAtDrop = src.OLEDraggedItem();
        unicodeText = TextOfUnicode(data.GetData(CF_UNICODETEXT));
        host::Bytes ansi = data.GetData(CF_TEXT);
        ansiText.assign(reinterpret_cast<const char*>(ansi.data()), ansi.size());
        dst.AddItem(unicodeText);
        effect = 1;
    };
    POINT target = WindowPoint(dst, 60, 40);
    WalkTheDrag(src, {[&] { SetCursorPos(target.x - 10, target.y); }, [&] { SetCursorPos(target.x, target.y); }, [] {},
                      [] { SendMouse(MOUSEEVENTF_LEFTUP); }},
                [&](host::DataObject&, long& allowed) {
                    draggedAtStart = src.OLEDraggedItem();
                    allowedAtStart = allowed;
                });

    POINT from = ItemPoint(src, 2);
    PressAndMove(from, POINT{from.x + 25, from.y + 25}, false, [&] { return !completed.empty(); });
    StopWalking();

    ASSERT_EQ(completed, std::vector<long>{1}) << "dropped as a copy";
    EXPECT_EQ(draggedAtStart, 2);
    EXPECT_EQ(allowedAtStart, 1);
    EXPECT_EQ(draggedAtDrop, 2);
    EXPECT_EQ(src.OLEDraggedItem(), -1);
    EXPECT_EQ(unicodeText, L"贝塔\r\ngamma");
    // The ANSI form in the system code page, with its terminating NUL.
    std::wstring wide = L"贝塔\r\ngamma";
    int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string expected(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, expected.data(), n, nullptr, nullptr);
    EXPECT_EQ(ansiText, expected);
    EXPECT_EQ(dst.ListCount(), 1);
    EXPECT_EQ(mouseDowns, 0) << "a press that became a drag is no MouseDown";
    EXPECT_EQ(src.SelectedIndices(), (std::vector<long>{1, 2})) << "dragging does not change the selection";

    // A start handler that allows nothing: no drag, no item dragged.
    completed.clear();
    bool asked = false;
    src.OLEStartDrag = [&](host::DataObject&, long& allowed) {
        asked = true;
        allowed = 0;
    };
    from = ItemPoint(src, 2, 80);  // away from the first press: no double click
    PressAndMove(from, POINT{from.x + 25, from.y + 25}, true, [&] { return asked; });
    EXPECT_TRUE(asked);
    EXPECT_TRUE(completed.empty());
    EXPECT_EQ(src.OLEDraggedItem(), -1);

    // From code, the item under the pointer is the dragged one.
    long fromCode = -2;
    src.OLEStartDrag = [&](host::DataObject& data, long& allowed) {
        fromCode = src.OLEDraggedItem();
        allowed = 0;
    };
    POINT over3 = ItemPoint(src, 3);
    SetCursorPos(over3.x, over3.y);
    src.OLEDrag();
    EXPECT_EQ(fromCode, 3);
}

TEST_F(ListBoxWDrag, APressThatDoesNotMoveIsAnOrdinaryClick) {
    ListBoxW& src = List(L"src");
    ListBoxW& chk = List(L"chk");
    for (const wchar_t* s : {L"a", L"b", L"c", L"d"}) {
        src.AddItem(s);
        chk.AddItem(s);
    }
    src.SetSelRange(0, 2);
    chk.ListIndex(1);
    Drain();
    int starts = 0, mouseDowns = 0, clicks = 0;
    std::vector<long> checked;
    for (ListBoxW* l : {&src, &chk}) {
        l->OLEStartDrag = [&](host::DataObject&, long&) { ++starts; };
        l->MouseDown = [&](int button, int, float, float) { mouseDowns += button == 1; };
    }
    chk.ItemCheck = [&](long item) { checked.push_back(item); };
    chk.Click = [&] { ++clicks; };

    // Extended selection: a click on one of the selected items selects it alone, as usual.
    POINT p = ItemPoint(src, 1);
    PressAndMove(p, p, true, [&] { return src.SelCount() == 1; });
    EXPECT_EQ(src.SelectedIndices(), std::vector<long>{1});
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(mouseDowns, 1);
    EXPECT_NE(GetCapture(), src.hWnd()) << "the list box no longer tracks the mouse";

    // Check boxes: a click anywhere on the selected item toggles it and raises MouseDown.
    p = ItemPoint(chk, 1, 80);
    PressAndMove(p, p, true, [&] { return !checked.empty(); });
    EXPECT_EQ(checked, std::vector<long>{1});
    EXPECT_EQ(chk.CheckedIndices(), std::vector<long>{1});
    EXPECT_EQ(mouseDowns, 2);
    EXPECT_EQ(starts, 0);
    // A click on the text of another item only selects it; a click in its check column
    // toggles it too.
    p = ItemPoint(chk, 3, 80);
    PressAndMove(p, p, true, [&] { return chk.ListIndex() == 3; });
    EXPECT_EQ(chk.ListIndex(), 3);
    EXPECT_EQ(chk.CheckedIndices(), std::vector<long>{1});
    p = ItemPoint(chk, 2, 5);
    PressAndMove(p, p, true, [&] { return checked.size() == 2; });
    EXPECT_EQ(chk.CheckedIndices(), (std::vector<long>{1, 2}));
    EXPECT_EQ(chk.ListIndex(), 2);
    EXPECT_GE(clicks, 2);
}

TEST_F(ListBoxWDrag, SomethingDraggedNearAnEdgeScrollsTheListThatWay) {
    ListBoxW& src = List(L"src");
    ListBoxW& dst = List(L"dst");
    ListBoxW& cols = List(L"cols");
    src.AddItem(L"carried");
    src.Selected(0, true);
    for (int i = 0; i < 120; ++i) {
        dst.AddItem(L"row " + std::to_wstring(i));
        cols.AddItem(L"c" + std::to_wstring(i));
    }
    Drain();
    ASSERT_TRUE(GetWindowLongW(cols.hWnd(), GWL_STYLE) & WS_HSCROLL) << "the columns overflow the list";
    int scrolls = 0;
    dst.Scroll = [&] { ++scrolls; };
    std::vector<long> seen;
    auto stay = [](std::vector<std::function<void()>>& steps, POINT at, int ticks) {
        for (int i = 0; i < ticks; ++i) steps.push_back([at] { SetCursorPos(at.x, at.y); });
    };
    auto note = [&](ListBoxW& l) { return [&seen, &l] { seen.push_back(l.TopIndex()); }; };

    // Single column: down at the bottom edge, back up at the top edge; the middle holds still.
    std::vector<std::function<void()>> steps;
    stay(steps, WindowPoint(dst, 50, 60), 4);
    steps.push_back(note(dst));
    stay(steps, WindowPoint(dst, 50, -6), 6);
    steps.push_back(note(dst));
    stay(steps, WindowPoint(dst, 50, 5), 3);
    steps.push_back(note(dst));
    steps.push_back([] { SendMouse(MOUSEEVENTF_LEFTUP); });
    bool done = false;
    src.OLECompleteDrag = [&](long&) { done = true; };
    WalkTheDrag(src, steps);
    POINT from = ItemPoint(src, 0);
    PressAndMove(from, POINT{from.x + 25, from.y + 25}, false, [&] { return done; });
    StopWalking();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], 0) << "away from the edges nothing scrolls";
    EXPECT_GT(seen[1], 2);
    EXPECT_LT(seen[2], seen[1]);
    EXPECT_GE(scrolls, 4) << "each line scrolled raised Scroll";

    // Multi-column: right at the right edge, back at the left one, a column at a time.
    seen.clear();
    steps.clear();
    stay(steps, WindowPoint(cols, -6, 40), 5);
    steps.push_back(note(cols));
    stay(steps, WindowPoint(cols, 5, 40), 3);
    steps.push_back(note(cols));
    steps.push_back([] { SendMouse(MOUSEEVENTF_LEFTUP); });
    done = false;
    WalkTheDrag(src, steps);
    POINT other = ItemPoint(src, 0, 80);  // a second press elsewhere is no double click
    PressAndMove(other, POINT{other.x + 25, other.y + 25}, false, [&] { return done; });
    StopWalking();
    ASSERT_EQ(seen.size(), 2u);
    long perColumn = cols.ItemsPerColumn();
    ASSERT_GT(perColumn, 0);
    EXPECT_GE(seen[0], 2 * perColumn);
    EXPECT_EQ(seen[0] % perColumn, 0);
    EXPECT_LT(seen[1], seen[0]);

    // Switched off, the list stays where it is.
    dst.OLEDragDropScroll(false);
    dst.TopIndex(0);
    seen.clear();
    steps.clear();
    stay(steps, WindowPoint(dst, 50, -6), 5);
    steps.push_back(note(dst));
    steps.push_back([] { SendMouse(MOUSEEVENTF_LEFTUP); });
    done = false;
    WalkTheDrag(src, steps);
    PressAndMove(from, POINT{from.x + 25, from.y + 25}, false, [&] { return done; });
    StopWalking();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], 0);
}

TEST_F(ListBoxWDrag, ADropHandlerThatUnloadsTheFormEndsTheItemDragQuietly) {
    ListBoxW& src = List(L"src");
    ListBoxW& dst = List(L"dst");
    src.AddItem(L"最后一项");
    src.Selected(0, true);
    Drain();
    std::wstring dropped;
    HWND listWindow = src.hWnd();
    dst.OLEDragDrop = [&](host::DataObject& data, long& effect, int, int, float, float) {
        form_->Unload();  // the source list goes with the form, in the middle of its own drag
        dropped = TextOfUnicode(data.GetData(CF_UNICODETEXT));
        effect = 1;
    };
    POINT target = WindowPoint(dst, 60, 40);
    WalkTheDrag(src, {[&] { SetCursorPos(target.x, target.y); }, [] {}, [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    POINT from = ItemPoint(src, 0);
    PressAndMove(from, POINT{from.x + 25, from.y + 25}, false, [&] { return !dropped.empty(); });
    StopWalking();
    EXPECT_EQ(dropped, L"最后一项");
    EXPECT_FALSE(IsWindow(listWindow));
    EXPECT_FALSE(host::dragdrop::DragInProgress());

    // The next form's list drags as before.
    form_ = ShowForm(kDesign);
    ASSERT_TRUE(Activate(*form_));
    ListBoxW& again = List(L"src");
    again.AddItem(L"again");
    again.Selected(0, true);
    Drain();
    long completedWith = -1;
    again.OLECompleteDrag = [&](long& effect) { completedWith = effect; };
    List(L"dst").OLEDragDrop = [](host::DataObject&, long& effect, int, int, float, float) { effect = 1; };
    WalkTheDrag(again, {[&] { SetCursorPos(target.x, target.y); }, [] {}, [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    from = ItemPoint(again, 0, 70);
    PressAndMove(from, POINT{from.x + 25, from.y + 25}, false, [&] { return completedWith != -1; });
    StopWalking();
    EXPECT_EQ(completedWith, 1);
    EXPECT_EQ(again.OLEDraggedItem(), -1);
}

// ListBoxW's members on a real form: check states for items the control never counted, state
// kept through a failing re-creation, replacing an item's text, item height, finding items,
// the anchor, column width and horizontal extent, thumb tracking, and the key, mouse and
// preview events from real input.
#include "ControlsTestSupport.h"

#include "controls/listbox/ListBoxW.h"
#include "host/DesignData.h"
#include "host/Error.h"
#include "host/Scale.h"

#include <gtest/gtest.h>
#include <olectl.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using controls::ListBoxW;
using namespace ctltest;

namespace {

std::unique_ptr<host::Form> FormWithList(const std::wstring& props = L"", const std::wstring& more = L"") {
    return ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 5000\n"
                    L" Begin ListBoxW lst\n  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 2400\n" +
                    props + L" End\n" + more + L"End\n");
}

long ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const host::Error& e) {
        return e.Number();
    }
    return 0;
}

const host::ScaleConverter& Screen() {
    static host::ScaleConverter screen = host::ScaleConverter::Screen();
    return screen;
}
float TwipsX(double px) { return static_cast<float>(Screen().PixelsToTwipsX(px)); }
float TwipsY(double px) { return static_cast<float>(Screen().PixelsToTwipsY(px)); }

RECT ItemRect(const ListBoxW& list, long index) {
    RECT r{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

// The visible difference between the check columns of two rows (0 when they look alike).
int CheckColumnDifference(HWND lb, const RECT& a, const RECT& b) {
    RedrawWindow(lb, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client{};
    GetClientRect(lb, &client);
    Snapshot shot = Snapshot::OfWindowRect(lb, client);
    int differ = 0;
    for (int y = 2; y < a.bottom - a.top - 2; ++y)
        for (int x = 2; x < 13; ++x) differ += shot.At(a.left + x, a.top + y) != shot.At(b.left + x, b.top + y);
    return differ;
}

// --- real input ------------------------------------------------------------------------------

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

void Input(std::vector<INPUT> seq) { SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT)); }

void SendMouse(std::vector<INPUT> seq) {
    Input(std::move(seq));
    PumpUntil([] { return !GetQueueStatus(QS_MOUSE | QS_POSTMESSAGE); }, 2000);
    Drain();
}

POINT OnScreen(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    return client;
}

void Click(HWND hwnd, POINT client) {
    POINT p = OnScreen(hwnd, client);
    SendMouse({MouseInput(0, p), MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
}

// Steps run by a thread timer while a modal loop (the scroll bar's) owns the thread.
std::vector<std::function<void()>> g_steps;
size_t g_step = 0;
void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    if (g_step < g_steps.size()) g_steps[g_step++]();
}

// A "ListBox" class procedure that refuses one text, the way a list box short of memory
// refuses an insert; everything else goes to the class's own procedure.
WNDPROC g_listProc = nullptr;
LRESULT CALLBACK RefusingListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((msg == LB_INSERTSTRING || msg == LB_ADDSTRING) && lParam && std::wstring(reinterpret_cast<const wchar_t*>(lParam)) == L"refused")
        return LB_ERRSPACE;
    return CallWindowProcW(g_listProc, hwnd, msg, wParam, lParam);
}

}  // namespace

// --- check states ----------------------------------------------------------------------------

TEST(ListBoxWMembers, CheckStatesCoverItemsAddedStraightToTheWindow) {
    auto form = FormWithList(L"  Style = 1\n  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    HWND lb = list.hWnd();
    list.AddItem(L"counted");
    SendMessageW(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"straight 1"));
    SendMessageW(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"straight 2"));
    list.AddItem(L"after");  // at 3, beyond the one item the control had counted
    EXPECT_EQ(list.NewIndex(), 3);
    EXPECT_TRUE(list.CheckedIndices().empty());
    list.ItemChecked(3, true);
    list.ItemChecked(1, true);
    EXPECT_EQ(list.CheckedIndices(), (std::vector<long>{1, 3}));
    list.AddItem(L"first", 0L);  // the checks move with their items
    EXPECT_EQ(list.CheckedIndices(), (std::vector<long>{2, 4}));
    EXPECT_FALSE(list.ItemChecked(0));
    list.RemoveItem(2);
    EXPECT_EQ(list.CheckedIndices(), std::vector<long>{3});
    EXPECT_EQ(list.List(3), L"after");

    // Removing an item the control never counted leaves the counted ones alone.
    SendMessageW(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"straight 3"));
    list.RemoveItem(4);
    EXPECT_EQ(list.CheckedIndices(), std::vector<long>{3});
    Drain();
    EXPECT_GT(CheckColumnDifference(lb, ItemRect(list, 3), ItemRect(list, 1)), 3) << "the checked row shows its mark";
}

TEST(ListBoxWMembers, CheckStatesCoverTheNameShownAtDesignTime) {
    RegisterLibraryControls();
    host::Form form(host::ParseDesign(
        L"Begin Form F\n Begin ListBoxW lstChecks\n  Style = 1\n  IntegralHeight = False\n  Width = 3000\n  Height = 1500\n End\nEnd\n"));
    form.UserMode(false);
    form.Load();
    auto& list = form.Ctl<ListBoxW>(L"lstChecks");
    ASSERT_EQ(list.ListCount(), 1);
    list.AddItem(L"one");
    list.AddItem(L"two");
    EXPECT_EQ(list.NewIndex(), 2);
    list.ItemChecked(2, true);
    EXPECT_EQ(list.CheckedIndices(), std::vector<long>{2});
    EXPECT_TRUE(list.ItemChecked(2));
    EXPECT_FALSE(list.ItemChecked(1));
    form.Unload();
}

// --- re-creation -------------------------------------------------------------------------------

TEST(ListBoxWMembers, AFailingClickHandlerDuringRecreationLosesNoState) {
    auto form = FormWithList(L"  Style = 2\n  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"d", L"c", L"b", L"a"}) list.AddItem(s);
    list.AddItem(L"e", 1L);
    list.OptionIndex(3);
    list.InsertMark(2, true);
    list.ListIndex(4);
    list.Redraw(false);

    list.Click = [] { throw host::Error(5, L"handler failed"); };
    EXPECT_THROW(list.Sorted(true), host::Error);
    list.Click = nullptr;

    EXPECT_TRUE(GetWindowLongW(list.hWnd(), GWL_STYLE) & LBS_SORT);
    EXPECT_EQ(list.ListCount(), 5);
    EXPECT_EQ(list.ListIndex(), 4);
    EXPECT_EQ(list.NewIndex(), 1);
    EXPECT_EQ(list.OptionIndex(), 3);
    bool after = false;
    EXPECT_EQ(list.InsertMark(&after), 2);
    EXPECT_TRUE(after);
    // Redraw stays off on the new window: a fill leaves the scroll bar as it was.
    SCROLLINFO before{sizeof(SCROLLINFO), SIF_RANGE};
    GetScrollInfo(list.hWnd(), SB_VERT, &before);
    for (int i = 0; i < 100; ++i) list.AddItem(L"more " + std::to_wstring(i));
    Drain();
    SCROLLINFO now{sizeof(SCROLLINFO), SIF_RANGE};
    GetScrollInfo(list.hWnd(), SB_VERT, &now);
    EXPECT_EQ(now.nMax, before.nMax);
    list.Redraw(true);
    GetScrollInfo(list.hWnd(), SB_VERT, &now);
    EXPECT_GT(now.nMax, before.nMax);
    // The lock on window updates was given back.
    EXPECT_TRUE(LockWindowUpdate(form->hWnd()));
    LockWindowUpdate(nullptr);
}

// --- items ----------------------------------------------------------------------------------

TEST(ListBoxWMembers, ListReplacesTheTextKeepingPositionDataSelectionAndCheck) {
    auto form = FormWithList(L"  Sorted = True\n  Style = 1\n  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"b", L"a", L"c"}) list.AddItem(s);  // a b c
    list.ItemData(1, 42);
    list.ItemChecked(1, true);
    list.ListIndex(1);
    int clicks = 0;
    list.Click = [&] { ++clicks; };
    list.List(1, L"zzz");  // stays at 1 although the list is sorted
    EXPECT_EQ(ListBoxText(list.hWnd(), 1), L"zzz");
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_EQ(list.ItemData(1), 42);
    EXPECT_TRUE(list.ItemChecked(1));
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(ErrorOf([&] { list.List(-1, L"x"); }), 5);
    EXPECT_EQ(ErrorOf([&] { list.List(3, L"x"); }), 5);
    EXPECT_EQ(list.ListCount(), 3);

    // A multiple-selection list keeps the item's own selection.
    auto multi = FormWithList(L"  MultiSelect = 1\n");
    auto& m = multi->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"x", L"y", L"z"}) m.AddItem(s);
    m.Selected(0, true);
    m.Selected(2, true);
    m.List(2, L"zed");
    EXPECT_EQ(m.SelectedIndices(), (std::vector<long>{0, 2}));
    EXPECT_EQ(m.List(2), L"zed");
}

TEST(ListBoxWMembers, AListBoxRefusingTheNewTextKeepsTheOldItem) {
    auto form = FormWithList(L"  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    // Windows created from now on get a class procedure that refuses one text.
    g_listProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list.hWnd(), GCLP_WNDPROC));
    SetClassLongPtrW(list.hWnd(), GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefusingListProc));
    list.Sorted(true);  // re-created with it
    SetClassLongPtrW(list.hWnd(), GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listProc));
    for (const wchar_t* s : {L"one", L"two", L"three"}) list.AddItem(s);
    list.ItemData(1, 7);
    EXPECT_EQ(ErrorOf([&] { list.AddItem(L"refused"); }), 5);
    EXPECT_EQ(ErrorOf([&] { list.List(1, L"refused"); }), 5);
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_EQ(ListBoxText(list.hWnd(), 1), L"three");
    EXPECT_EQ(list.ItemData(1), 7);
}

TEST(ListBoxWMembers, FindItemSearchesAfterTheIndexWrapsAndIgnoresCase) {
    auto form = FormWithList();
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"Apple", L"apricot", L"banana", L"APPLE"}) list.AddItem(s);
    EXPECT_EQ(list.FindItem(L"apple"), 0);
    EXPECT_EQ(list.FindItem(L"apple", 0), 3);
    EXPECT_EQ(list.FindItem(L"apple", 3), 0) << "wraps to the start";
    EXPECT_EQ(list.FindItem(L"ap"), -1) << "whole texts only";
    EXPECT_EQ(list.FindItem(L"AP", 0, true), 1);
    EXPECT_EQ(list.FindItem(L"ban", -1, true), 2);
    EXPECT_EQ(list.FindItem(L"cherry", -1, true), -1);
    EXPECT_EQ(ErrorOf([&] { list.FindItem(L"a", 4); }), 381);
    EXPECT_EQ(ErrorOf([&] { list.FindItem(L"a", -2); }), 381);
    EXPECT_EQ(list.ListIndex(), -1) << "finding selects nothing";
}

// --- geometry -------------------------------------------------------------------------------

TEST(ListBoxWMembers, ItemHeightInContainerUnitsAndItsLimits) {
    auto form = FormWithList();  // IntegralHeight: the control fits whole rows
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (int i = 0; i < 40; ++i) list.AddItem(L"row " + std::to_wstring(i));
    long px = static_cast<long>(SendMessageW(list.hWnd(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_NEAR(list.ItemHeight(), TwipsY(px), 0.5);
    EXPECT_EQ(ErrorOf([&] { list.ItemHeight(1); }), 5) << "rows share item 0's height";

    list.ItemHeight(0, TwipsY(23));
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETITEMHEIGHT, 0, 0), 23);
    EXPECT_EQ(ItemRect(list, 1).top, 23);
    RECT client{};
    GetClientRect(list.hWnd(), &client);
    EXPECT_EQ(client.bottom % 23, 0) << "the list re-fits whole rows of the new height";

    // user32's list box refuses rows above 255 pixels; Wine's version-6 one takes them
    if (ThemedProgram()) {
        EXPECT_EQ(ErrorOf([&] { list.ItemHeight(0, TwipsY(300)); }), 0);
        EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETITEMHEIGHT, 0, 0), 300);
        list.ItemHeight(0, TwipsY(23));
    } else {
        EXPECT_EQ(ErrorOf([&] { list.ItemHeight(0, TwipsY(300)); }), 5) << "taller than the list box keeps";
        EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETITEMHEIGHT, 0, 0), 23);
    }
    EXPECT_EQ(ErrorOf([&] { list.ItemHeight(0, -15); }), 380);
    EXPECT_EQ(ErrorOf([&] { list.ItemHeight(2, TwipsY(30)); }), 5);

    // Owner-drawn variable rows each have their own.
    auto variable = FormWithList(L"  DrawMode = 2\n");
    auto& v = variable->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"a", L"b", L"c"}) v.AddItem(s);
    v.ItemHeight(1, TwipsY(40));
    EXPECT_EQ(SendMessageW(v.hWnd(), LB_GETITEMHEIGHT, 1, 0), 40);
    EXPECT_NEAR(v.ItemHeight(1), TwipsY(40), 0.5);
    EXPECT_NE(SendMessageW(v.hWnd(), LB_GETITEMHEIGHT, 0, 0), 40);
}

TEST(ListBoxWMembers, ColumnWidthPlacesTheColumnsUntilTheListIsRecreated) {
    auto form = FormWithList(L"  MultiColumn = True\n  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (int i = 0; i < 60; ++i) list.AddItem(L"c" + std::to_wstring(i));
    long perColumn = list.ItemsPerColumn();
    ASSERT_GT(perColumn, 0);
    list.SetColumnWidth(TwipsX(70));
    EXPECT_EQ(ItemRect(list, perColumn).left, 70);
    EXPECT_EQ(ItemRect(list, 2 * perColumn).left, 140);
    EXPECT_EQ(ErrorOf([&] { list.SetColumnWidth(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { list.SetColumnWidth(TwipsX(0.4)); }), 380);
    EXPECT_EQ(ItemRect(list, perColumn).left, 70);
    list.UseTabStops(false);  // re-created: back to the system's width
    EXPECT_NE(ItemRect(list, perColumn).left, 70);
    EXPECT_EQ(list.ListCount(), 60);
}

TEST(ListBoxWMembers, HorizontalExtentAndTheIdealExtentForTheWidestItem) {
    auto form = FormWithList(L"  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    EXPECT_EQ(list.GetIdealHorizontalExtent(), 0) << "no items";
    const std::wstring widest = L"a rather long line that does not fit in the list at all, not even nearly";
    for (const std::wstring& s : {std::wstring(L"short"), widest, std::wstring(L"mid length line")}) list.AddItem(s);

    // The widest text as the list's font measures it, plus the window's frame.
    HDC dc = GetDC(list.hWnd());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list.hWnd(), WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, widest.c_str(), static_cast<int>(widest.size()), &text);
    SelectObject(dc, old);
    ReleaseDC(list.hWnd(), dc);
    RECT window{}, client{};
    GetWindowRect(list.hWnd(), &window);
    GetClientRect(list.hWnd(), &client);
    long frame = (window.right - window.left) - client.right;
    long bar = (GetWindowLongW(list.hWnd(), GWL_STYLE) & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    double ideal = list.GetIdealHorizontalExtent();
    EXPECT_NEAR(ideal, TwipsX(text.cx - bar + frame), 0.5);

    EXPECT_FALSE(GetWindowLongW(list.hWnd(), GWL_STYLE) & WS_HSCROLL);
    list.HorizontalExtent(ideal);
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETHORIZONTALEXTENT, 0, 0), text.cx - bar + frame);
    EXPECT_NEAR(list.HorizontalExtent(), ideal, 15);
    EXPECT_TRUE(GetWindowLongW(list.hWnd(), GWL_STYLE) & WS_HSCROLL) << "the list can now be scrolled sideways";
    EXPECT_EQ(ErrorOf([&] { list.HorizontalExtent(-1); }), 380);
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETHORIZONTALEXTENT, 0, 0), text.cx - bar + frame);

    // Kept by a multi-column list and applied once it is single-column again.
    auto cols = FormWithList(L"  MultiColumn = True\n");
    auto& c = cols->Ctl<ListBoxW>(L"lst");
    c.HorizontalExtent(TwipsX(500));
    EXPECT_EQ(SendMessageW(c.hWnd(), LB_GETHORIZONTALEXTENT, 0, 0), 0);
    EXPECT_NEAR(c.HorizontalExtent(), TwipsX(500), 0.5);
    c.MultiColumn(false);
    EXPECT_EQ(SendMessageW(c.hWnd(), LB_GETHORIZONTALEXTENT, 0, 0), 500);
}

TEST(ListBoxWMembers, RightToLeftStylesAtCreationInOneAndManyColumns) {
    constexpr LONG rtl = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    auto single = FormWithList(L"  RightToLeft = True\n");
    EXPECT_EQ(GetWindowLongW(single->Ctl<ListBoxW>(L"lst").hWnd(), GWL_EXSTYLE) & rtl, rtl);
    auto multi = FormWithList(L"  RightToLeft = True\n  MultiColumn = True\n");
    auto& m = multi->Ctl<ListBoxW>(L"lst");
    EXPECT_EQ(GetWindowLongW(m.hWnd(), GWL_EXSTYLE) & rtl, rtl);
    m.Sorted(true);  // and again on the re-created window
    EXPECT_EQ(GetWindowLongW(m.hWnd(), GWL_EXSTYLE) & rtl, rtl);
    auto plain = FormWithList(L"  MultiColumn = True\n");
    EXPECT_EQ(GetWindowLongW(plain->Ctl<ListBoxW>(L"lst").hWnd(), GWL_EXSTYLE) & rtl, 0);
}

TEST(ListBoxWMembers, WithoutAWindowMembersDoNothingButRefuseNegativeSizes) {
    ListBoxW unplaced;  // never sited: no list box window
    EXPECT_NO_THROW(unplaced.InsertMark(2, true));
    EXPECT_EQ(unplaced.InsertMark(), -1);
    EXPECT_NO_THROW(unplaced.AddItem(L"x"));
    EXPECT_NO_THROW(unplaced.ListIndex(3));
    EXPECT_NO_THROW(unplaced.ItemHeight(0, 300));
    EXPECT_NO_THROW(unplaced.SetColumnWidth(300));
    EXPECT_EQ(unplaced.ListCount(), 0);
    EXPECT_EQ(unplaced.OLEDraggedItem(), -1);
    EXPECT_EQ(ErrorOf([&] { unplaced.SetColumnWidth(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { unplaced.ItemHeight(0, -1); }), 380);
}

// --- selection anchor ---------------------------------------------------------------------

TEST(ListBoxWMembers, AShiftClickExtendsTheSelectionFromTheAnchor) {
    auto form = FormWithList(L"  MultiSelect = 2\n  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (int i = 0; i < 8; ++i) list.AddItem(L"item " + std::to_wstring(i));
    ASSERT_TRUE(Activate(*form));
    Click(list.hWnd(), {20, (ItemRect(list, 1).top + ItemRect(list, 1).bottom) / 2});
    EXPECT_EQ(list.AnchorIndex(), 1);
    list.AnchorIndex(5);
    EXPECT_EQ(list.AnchorIndex(), 5);
    INPUT shiftDown{};
    shiftDown.type = INPUT_KEYBOARD;
    shiftDown.ki.wVk = VK_SHIFT;
    INPUT shiftUp = shiftDown;
    shiftUp.ki.dwFlags = KEYEVENTF_KEYUP;
    RECT r3 = ItemRect(list, 3);
    POINT p = OnScreen(list.hWnd(), {20, (r3.top + r3.bottom) / 2});
    SendMouse({shiftDown, MouseInput(0, p), MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP), shiftUp});
    EXPECT_EQ(list.SelectedIndices(), (std::vector<long>{3, 4, 5}));
    EXPECT_EQ(ErrorOf([&] { list.AnchorIndex(-2); }), 380);
    EXPECT_EQ(ErrorOf([&] { list.AnchorIndex(8); }), 380);
}

// --- thumb tracking -----------------------------------------------------------------------

TEST(ListBoxWMembers, TheListFollowsTheThumbOnlyWithScrollTrack) {
    auto form = FormWithList(L"  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (int i = 0; i < 300; ++i) list.AddItem(L"line " + std::to_wstring(i));
    ASSERT_TRUE(Activate(*form));
    Drain();

    auto dragThumb = [&](long& during, long& after) {
        SCROLLBARINFO sb{sizeof(SCROLLBARINFO)};
        ASSERT_TRUE(GetScrollBarInfo(list.hWnd(), OBJID_VSCROLL, &sb));
        POINT thumb{(sb.rcScrollBar.left + sb.rcScrollBar.right) / 2, sb.rcScrollBar.top + (sb.xyThumbTop + sb.xyThumbBottom) / 2};
        POINT lower{thumb.x, thumb.y + (sb.rcScrollBar.bottom - sb.rcScrollBar.top) / 3};
        during = after = -1;
        // Plain input from the steps: the presses are handled by whatever loop runs then.
        g_steps = {[=] { Input({MouseInput(0, thumb), MouseInput(MOUSEEVENTF_LEFTDOWN)}); },
                   [=] { Input({MouseInput(0, lower)}); },
                   [] {},
                   [&] { during = list.TopIndex(); },
                   [] { Input({MouseInput(MOUSEEVENTF_LEFTUP)}); },
                   [] {},
                   [&] { after = list.TopIndex(); }};
        g_step = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, 60, RunStep);
        PumpUntil([&] { return after != -1; }, 5000);
        KillTimer(nullptr, timer);
    };

    int scrolls = 0;
    list.Scroll = [&] { ++scrolls; };
    long during = -1, after = -1;
    dragThumb(during, after);
    EXPECT_GT(during, 30) << "the list follows the thumb";
    EXPECT_EQ(after, during);
    EXPECT_GT(scrolls, 0);

    list.TopIndex(0);
    list.ScrollTrack(false);
    scrolls = 0;
    dragThumb(during, after);
    EXPECT_EQ(during, 0) << "the list waits for the thumb to be let go";
    EXPECT_GT(after, 30);
    EXPECT_EQ(scrolls, 1);
}

// --- events from real input ------------------------------------------------------------------

TEST(ListBoxWMembers, KeysRaiseTheirEventsAndAHandlerMayChangeTheKey) {
    auto form = FormWithList(L"  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"apple", L"banana", L"cherry", L"berry"}) list.AddItem(s);
    ASSERT_TRUE(Activate(*form));
    list.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == list.hWnd(); }));
    list.ListIndex(0);

    std::vector<std::wstring> log;
    int swallowDown = 0;
    list.PreviewKeyDown = [&](int key, bool&) { log.push_back(L"preview down " + std::to_wstring(key)); };
    list.PreviewKeyUp = [&](int key, bool&) { log.push_back(L"preview up " + std::to_wstring(key)); };
    list.KeyDown = [&](int& key, int shift) {
        log.push_back(L"down " + std::to_wstring(key) + L" " + std::to_wstring(shift));
        if (key == swallowDown) key = 0;
    };
    list.KeyUp = [&](int& key, int) { log.push_back(L"up " + std::to_wstring(key)); };
    list.KeyPress = [&](int& ch) { log.push_back(L"press " + std::to_wstring(ch)); };

    PressKey(VK_DOWN);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"preview down 40", L"down 40 0", L"preview up 40", L"up 40"}));

    log.clear();
    TypeText(L"c");  // the list box jumps to the item beginning with the character
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_NE(std::find(log.begin(), log.end(), L"press 99"), log.end());

    // A handler that changes the key to 0 keeps it from the list box.
    swallowDown = VK_DOWN;
    PressKey(VK_DOWN);
    EXPECT_EQ(list.ListIndex(), 2);
    swallowDown = 0;
    log.clear();
    PressKey(VK_DOWN, true);
    EXPECT_EQ(list.ListIndex(), 3);
    EXPECT_NE(std::find(log.begin(), log.end(), L"down 40 1"), log.end()) << "Shift held";
}

TEST(ListBoxWMembers, TabGoesToTheListOnlyWhenThePreviewSaysItIsInput) {
    auto form = FormWithList(L"  IntegralHeight = False\n  TabIndex = 0\n",
                             L" Begin ListBoxW other\n  Left = 3300\n  Top = 120\n  Width = 2000\n  Height = 1200\n  TabIndex = 1\n End\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    auto& other = form->Ctl<ListBoxW>(L"other");
    list.AddItem(L"x");
    ASSERT_TRUE(Activate(*form));
    list.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == list.hWnd(); }));
    bool input = false;
    int tabsSeen = 0;
    list.PreviewKeyDown = [&](int key, bool& isInput) {
        if (key == VK_TAB) isInput = input;
    };
    list.KeyDown = [&](int& key, int) { tabsSeen += key == VK_TAB; };

    input = true;
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), list.hWnd()) << "the list took the Tab key";
    EXPECT_EQ(tabsSeen, 1);
    input = false;
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), other.hWnd()) << "the form moved on to the next control";
}

TEST(ListBoxWMembers, MouseEventsInTwipsDoubleClickAndEnterLeave) {
    SetCursorPos(0, 0);  // away from where the list will be
    auto form = FormWithList(L"  IntegralHeight = False\n  MouseTrack = True\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"one", L"two", L"three"}) list.AddItem(s);
    ASSERT_TRUE(Activate(*form));
    POINT outside = OnScreen(form->hWnd(), {5, 5});
    SendMouse({MouseInput(0, outside)});

    std::vector<std::wstring> log;
    float downX = -1, downY = -1;
    auto name = [](const wchar_t* what, int button, int shift) {
        return std::wstring(what) + L" " + std::to_wstring(button) + L" " + std::to_wstring(shift);
    };
    list.MouseDown = [&](int b, int s, float x, float y) {
        log.push_back(name(L"down", b, s));
        downX = x;
        downY = y;
    };
    list.MouseUp = [&](int b, int s, float, float) { log.push_back(name(L"up", b, s)); };
    int moves = 0;
    list.MouseMove = [&](int, int, float, float) { ++moves; };
    list.MouseEnter = [&] { log.push_back(L"enter"); };
    list.MouseLeave = [&] { log.push_back(L"leave"); };
    list.DblClick = [&] { log.push_back(L"dblclick"); };

    RECT r1 = ItemRect(list, 1);
    POINT at{30, (r1.top + r1.bottom) / 2};
    POINT p = OnScreen(list.hWnd(), at);
    SendMouse({MouseInput(0, p), MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
    EXPECT_EQ(log, (std::vector<std::wstring>{L"enter", L"down 1 0", L"up 1 0"}));
    EXPECT_NEAR(downX, TwipsX(at.x), 1);
    EXPECT_NEAR(downY, TwipsY(at.y), 1);
    EXPECT_GT(moves, 0);
    EXPECT_EQ(list.ListIndex(), 1);

    log.clear();
    SendMouse({MouseInput(MOUSEEVENTF_RIGHTDOWN), MouseInput(MOUSEEVENTF_RIGHTUP)});
    EXPECT_EQ(log, (std::vector<std::wstring>{L"down 2 0", L"up 2 0"}));

    log.clear();
    SendMouse({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP), MouseInput(MOUSEEVENTF_LEFTDOWN),
               MouseInput(MOUSEEVENTF_LEFTUP)});
    EXPECT_NE(std::find(log.begin(), log.end(), L"dblclick"), log.end());

    log.clear();
    SendMouse({MouseInput(0, outside)});
    PumpUntil([&] { return !log.empty(); }, 3000);
    EXPECT_EQ(log, std::vector<std::wstring>{L"leave"});
}

// --- persistence -------------------------------------------------------------------------------

namespace {

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

host::Picture IconPicture() {
    PICTDESC pd{};
    pd.cbSizeofstruct = sizeof(pd);
    pd.picType = PICTYPE_ICON;
    pd.icon.hicon = CopyIcon(LoadIconW(nullptr, IDI_INFORMATION));
    host::Picture icon;
    OleCreatePictureIndirect(&pd, IID_IPicture, TRUE, reinterpret_cast<void**>(&icon));
    return icon;
}

// Every stored property as the control answers it, by its stored name.
std::vector<std::pair<std::wstring, std::wstring>> Stored(const ListBoxW& l) {
    auto b = [](bool v) { return std::wstring(v ? L"True" : L"False"); };
    auto n = [](double v) { return std::to_wstring(std::lround(v)); };
    const host::FontDesc& f = l.Font();
    return {{L"Font", f.name + L" " + n(f.size) + (f.Bold() ? L" bold" : L"")},
            {L"VisualStyles", b(l.VisualStyles())},
            {L"BackColor", n(l.BackColor())},
            {L"ForeColor", n(l.ForeColor())},
            {L"Enabled", b(l.Enabled())},
            {L"OLEDragMode", n(l.OLEDragMode())},
            {L"OLEDragDropScroll", b(l.OLEDragDropScroll())},
            {L"OLEDropMode", n(l.OLEDropMode())},
            {L"MousePointer", n(l.MousePointer())},
            {L"MouseIcon", b(l.MouseIcon().Get() != nullptr)},
            {L"MouseTrack", b(l.MouseTrack())},
            {L"RightToLeft", b(l.RightToLeft())},
            {L"RightToLeftMode", n(l.RightToLeftMode())},
            {L"Redraw", b(l.Redraw())},
            {L"BorderStyle", n(l.BorderStyle())},
            {L"MultiColumn", b(l.MultiColumn())},
            {L"Sorted", b(l.Sorted())},
            {L"IntegralHeight", b(l.IntegralHeight())},
            {L"AllowSelection", b(l.AllowSelection())},
            {L"MultiSelect", n(l.MultiSelect())},
            {L"HorizontalExtent", n(l.HorizontalExtent())},
            {L"UseTabStops", b(l.UseTabStops())},
            {L"Style", n(l.Style())},
            {L"DisableNoScroll", b(l.DisableNoScroll())},
            {L"DrawMode", n(l.DrawMode())},
            {L"InsertMarkColor", n(l.InsertMarkColor())},
            {L"ScrollTrack", b(l.ScrollTrack())}};
}

}  // namespace

TEST(ListBoxWMembers, EveryPropertySurvivesSavingAndLoading) {
    // Two sets, since some values rule others out (check boxes need MultiSelect 0 and DrawMode 0).
    const std::wstring common =
        L"  BeginProperty Font\n   Name = \"Arial\"\n   Size = 12\n   Weight = 700\n  EndProperty\n"
        L"  VisualStyles = False\n  BackColor = &H00C0FFFF&\n  ForeColor = &H00800000&\n  Enabled = False\n"
        L"  OLEDragMode = 1\n  OLEDragDropScroll = False\n  OLEDropMode = 1\n  MousePointer = 2\n  MouseTrack = True\n"
        L"  RightToLeft = True\n  RightToLeftMode = 0\n  Redraw = False\n  BorderStyle = 1\n  Sorted = True\n"
        L"  IntegralHeight = False\n  AllowSelection = False\n  HorizontalExtent = 20\n  UseTabStops = False\n"
        L"  DisableNoScroll = True\n  InsertMarkColor = &H000000FF&\n  ScrollTrack = False\n";
    for (const std::wstring& own : {std::wstring(L"  MultiColumn = True\n  Style = 1\n"),
                                    std::wstring(L"  MultiSelect = 2\n  DrawMode = 1\n")}) {
        auto first = FormWithList(common + own);
        auto& a = first->Ctl<ListBoxW>(L"lst");
        a.MouseIcon(IconPicture());
        host::PropertyBag saved = first->Site(L"lst").SaveProperties();
        // Every property differs from its store default, so every one is written.
        for (const auto& [name, value] : Stored(a)) {
            bool ruledOut = (name == L"MultiColumn" || name == L"Style" || name == L"MultiSelect" || name == L"DrawMode") &&
                            own.find(L"  " + name + L" =") == std::wstring::npos;
            EXPECT_EQ(saved.Contains(name), !ruledOut) << Narrow(name);
        }

        host::FormDesign design;
        design.name = L"F2";
        design.properties.Write(L"ClientWidth", 6000L);
        design.properties.Write(L"ClientHeight", 5000L);
        design.controls.push_back(host::ControlDesign{L"ListBoxW", L"lst", -1, saved, {}});
        host::Form second(design);
        second.Load();
        auto& b = second.Ctl<ListBoxW>(L"lst");
        EXPECT_EQ(Stored(b), Stored(a));
        second.Unload();
    }
}

TEST(ListBoxWMembers, ANewListHasWindowColoursAndALoadedOneWithoutEntriesButtonColours) {
    auto form = FormWithList();
    auto& loaded = form->Ctl<ListBoxW>(L"lst");
    EXPECT_EQ(loaded.BackColor(), 0x8000000Fu);
    EXPECT_EQ(loaded.ForeColor(), 0x80000012u);
    host::PropertyBag saved = form->Site(L"lst").SaveProperties();
    for (const auto& [name, value] : Stored(loaded)) EXPECT_EQ(saved.Contains(name), name == L"Font") << Narrow(name);

    host::PropertyBag placement;
    placement.Write(L"Left", 3300.0);
    placement.Write(L"Top", 120.0);
    placement.Write(L"Width", 2000.0);
    placement.Write(L"Height", 1500.0);
    auto& fresh = *form->AddControl(L"ListBoxW", L"lstNew", placement).As<ListBoxW>();
    EXPECT_EQ(fresh.BackColor(), 0x80000005u);
    EXPECT_EQ(fresh.ForeColor(), 0x80000008u);
    // What a person sees: the new list is painted in the window colour, the loaded one in the
    // button face.
    Drain();
    RECT client{};
    GetClientRect(fresh.hWnd(), &client);
    EXPECT_EQ(Snapshot::OfWindowRect(fresh.hWnd(), client).At(client.right - 3, client.bottom - 3), GetSysColor(COLOR_WINDOW));
    GetClientRect(loaded.hWnd(), &client);
    EXPECT_EQ(Snapshot::OfWindowRect(loaded.hWnd(), client).At(client.right - 3, client.bottom - 3), GetSysColor(COLOR_BTNFACE));
    // Saved, the new list's colours are written, since they are not what a store without them gives.
    host::PropertyBag savedNew = form->Site(L"lstNew").SaveProperties();
    EXPECT_EQ(savedNew.Read(L"BackColor").AsLong(), static_cast<long>(0x80000005u));
    EXPECT_EQ(savedNew.Read(L"ForeColor").AsLong(), static_cast<long>(0x80000008u));
}

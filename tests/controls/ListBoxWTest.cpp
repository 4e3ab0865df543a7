// ListBoxW on a real form: items as the list box shows them, the index argument of AddItem,
// Click from the user and from code, re-creation keeping the items, and large fills.
#include "ControlsTestSupport.h"

#include "controls/listbox/ListBoxW.h"
#include "host/DesignData.h"
#include "host/Error.h"
#include "host/Scale.h"

#include <gtest/gtest.h>

using controls::ListBoxW;
using namespace ctltest;

namespace {

std::unique_ptr<host::Form> FormWithList(const std::wstring& props = L"") {
    return ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 5000\n"
                    L" Begin ListBoxW lst\n  Left = 120\n  Top = 120\n  Width = 4000\n  Height = 3000\n" +
                    props + L" End\nEnd\n");
}

long ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const host::Error& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace

TEST(ListBoxW, AddItemPlacesItemsWhereTheIndexArgumentSays) {
    auto form = FormWithList();
    auto& list = form->Ctl<ListBoxW>(L"lst");
    HWND lb = list.hWnd();
    wchar_t cls[32] = {};
    GetClassNameW(lb, cls, 32);
    EXPECT_STREQ(cls, L"ListBox");
    list.AddItem(L"a");
    list.AddItem(L"b");
    list.AddItem(L"c", 3L - 1);        // index as a number
    list.AddItem(L"end", 3L);          // equal to ListCount: appended
    list.AddItem(L"two", L"2");        // a numeric text inserts at its value
    EXPECT_EQ(list.NewIndex(), 2);
    EXPECT_EQ(list.ListCount(), 5);
    std::vector<std::wstring> shown;
    for (int i = 0; i < 5; ++i) shown.push_back(ListBoxText(lb, i));
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"a", L"b", L"two", L"c", L"end"}));
    EXPECT_EQ(ErrorOf([&] { list.AddItem(L"x", 9L); }), 5);
    EXPECT_EQ(ErrorOf([&] { list.AddItem(L"x", -1L); }), 5);
    EXPECT_EQ(ErrorOf([&] { list.AddItem(L"x", L"-3"); }), 5);
    EXPECT_EQ(ErrorOf([&] { list.AddItem(L"x", true); }), 13);
    EXPECT_EQ(ErrorOf([&] { list.AddItem(L"x", L"two"); }), 13);
    EXPECT_EQ(list.ListCount(), 5);
    EXPECT_EQ(list.List(2), L"two");
    EXPECT_EQ(ErrorOf([&] { list.List(7); }), 5);

    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(SendMessageW(lb, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(list.NewIndex(), -1);
}

TEST(ListBoxW, ClickComesFromTheUserAndFromSettingListIndex) {
    auto form = FormWithList();
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"zero", L"one", L"two"}) list.AddItem(s);
    Drain();
    int clicks = 0;
    list.Click = [&] { ++clicks; };

    list.ListIndex(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(list.Text(), L"one");
    list.ListIndex(1);
    EXPECT_EQ(clicks, 1) << "the same index again is no change";
    list.ListIndex(-1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(ErrorOf([&] { list.ListIndex(3); }), 380);
    EXPECT_EQ(clicks, 2);

    // A click on the third row, through the list box's own mouse handling.
    RECT item{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    PostClick(list.hWnd(), {item.left + 5, (item.top + item.bottom) / 2});
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(list.ListIndex(), 2);

    list.Text(L"ZERO");  // found whatever the case
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(clicks, 4);
}

TEST(ListBoxW, EnabledAndBorderStyleShowOnTheWindow) {
    auto form = FormWithList(L"  Enabled = False\n  BorderStyle = 0\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    EXPECT_FALSE(IsWindowEnabled(list.hWnd()));
    EXPECT_FALSE(list.Enabled());
    EXPECT_FALSE(GetWindowLongW(list.hWnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    list.Enabled(true);
    EXPECT_TRUE(IsWindowEnabled(list.hWnd()));
    list.BorderStyle(1);
    EXPECT_TRUE(GetWindowLongW(list.hWnd(), GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(ErrorOf([&] { list.BorderStyle(-1); }), 380);
    EXPECT_EQ(list.BorderStyle(), 1);
    EXPECT_EQ(ErrorOf([&] { list.IntegralHeight(false); }), 382);
}

TEST(ListBoxW, RecreationKeepsItemsDataSelectionAndTopIndex) {
    auto form = FormWithList(L"  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (int i = 0; i < 100; ++i) {
        list.AddItem(L"item " + std::to_wstring(99 - i));
        list.ItemData(i, i * 7);
    }
    list.ListIndex(42);
    list.TopIndex(30);
    HWND before = list.hWnd();

    list.Sorted(true);  // the present order stays; only later items are sorted
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(GetWindowLongW(list.hWnd(), GWL_STYLE) & LBS_SORT);
    EXPECT_EQ(list.ListCount(), 100);
    EXPECT_EQ(ListBoxText(list.hWnd(), 0), L"item 99");
    EXPECT_EQ(list.ItemData(42), 42 * 7);
    EXPECT_EQ(list.ListIndex(), 42);
    EXPECT_EQ(list.TopIndex(), 30);
    list.AddItem(L"item 5a");
    EXPECT_EQ(list.List(list.NewIndex()), L"item 5a");
    EXPECT_GT(list.NewIndex(), 0);
    EXPECT_LT(list.NewIndex(), 100);

    list.MultiSelect(1);
    EXPECT_TRUE(GetWindowLongW(list.hWnd(), GWL_STYLE) & LBS_MULTIPLESEL);
    EXPECT_EQ(list.ListCount(), 101);
    EXPECT_TRUE(list.Selected(42));
    EXPECT_EQ(list.SelCount(), 1);

    // Still subclassed after re-creation: a user click raises Click.
    int clicks = 0;
    list.Click = [&] { ++clicks; };
    RECT item{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, static_cast<WPARAM>(list.TopIndex()), reinterpret_cast<LPARAM>(&item));
    PostClick(list.hWnd(), {item.left + 5, (item.top + item.bottom) / 2});
    EXPECT_EQ(clicks, 1);
}

TEST(ListBoxW, ALargeFillAfterClearEndsRedrawnWithEveryItem) {
    auto form = FormWithList(L"  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    list.AddItem(L"old");
    const int n = 30000;
    list.Clear();
    for (int i = 0; i < n; ++i) list.AddItem(L"match " + std::to_wstring(i));
    EXPECT_EQ(list.ListCount(), n);
    EXPECT_EQ(ListBoxText(list.hWnd(), 0), L"match 0");
    EXPECT_EQ(ListBoxText(list.hWnd(), n - 1), L"match " + std::to_wstring(n - 1));
    list.ListIndex(0);

    // Once the loop is idle again the list paints its rows: the first row shows text pixels.
    Drain();
    RedrawWindow(list.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT row{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    RECT client{};
    GetClientRect(list.hWnd(), &client);
    Snapshot shot = Snapshot::OfWindowRect(list.hWnd(), client);
    EXPECT_GT(shot.CountDiffering(row, shot.At(row.right - 2, row.top + 1)), 10);

    // With Redraw switched off by the program, appends leave it off.
    list.Redraw(false);
    list.AddItem(L"late");
    Drain();
    EXPECT_FALSE(list.Redraw());
    EXPECT_EQ(list.ListCount(), n + 1);
}

TEST(ListBoxW, ContextMenuComesFromAPointerInsideOrTheKeyboard) {
    auto form = FormWithList();
    auto& list = form->Ctl<ListBoxW>(L"lst");
    std::vector<std::pair<float, float>> menus;
    list.ContextMenu = [&](float x, float y) { menus.emplace_back(x, y); };
    POINT inside{30, 15};
    ClientToScreen(list.hWnd(), &inside);
    HWND lb = list.hWnd();
    SendMessageW(lb, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(lb), MAKELPARAM(inside.x, inside.y));
    SendMessageW(lb, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(lb), MAKELPARAM(0, inside.y));
    SendMessageW(lb, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(lb), MAKELPARAM(-5, -5));
    SendMessageW(lb, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(lb), MAKELPARAM(-1, -1));
    ASSERT_EQ(menus.size(), 2u);
    // Client pixels (30, 15) in the container's twips.
    host::ScaleConverter screen = host::ScaleConverter::Screen();
    EXPECT_NEAR(menus[0].first, 30 * 1440.0 / screen.DpiX(), 1.0);
    EXPECT_NEAR(menus[0].second, 15 * 1440.0 / screen.DpiY(), 1.0);
    EXPECT_EQ(menus[1], std::make_pair(-1.0f, -1.0f));
}

TEST(ListBoxW, OnADesignSurfaceTheListShowsOnlyItsName) {
    RegisterLibraryControls();
    host::Form form(host::ParseDesign(L"Begin Form F\n Begin ListBoxW lstResults\n  Width = 3000\n  Height = 1500\n End\nEnd\n"));
    form.UserMode(false);
    form.Load();
    auto& list = form.Ctl<ListBoxW>(L"lstResults");
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(ListBoxText(list.hWnd(), 0), L"lstResults");
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETCURSEL, 0, 0), LB_ERR);
    // Items are not the design's: a re-creation starts again from the name alone.
    list.Sorted(true);
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETCOUNT, 0, 0), 1);
    EXPECT_TRUE(GetWindowLongW(list.hWnd(), GWL_STYLE) & LBS_SORT);
    form.Unload();
}

TEST(ListBoxW, SelectionMembersAnswerForSingleAndMultipleSelection) {
    auto form = FormWithList(L"  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"apple", L"banana", L"cherry", L"date"}) list.AddItem(s);
    EXPECT_TRUE(list.SelectedIndices().empty());
    EXPECT_EQ(list.SelCount(), 0);
    int clicks = 0;
    list.Click = [&] { ++clicks; };
    list.SetSelRange(2, 3);  // a single-selection list moves its one selection to the start
    EXPECT_EQ(list.SelectedIndices(), std::vector<long>{2});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list.SelectItem(L"BAN"), 1);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(ErrorOf([&] { list.SetSelRange(0, 9); }), 381);
    EXPECT_EQ(ErrorOf([&] { list.Selected(9); }), 381);

    RECT item{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
    host::ScaleConverter screen = host::ScaleConverter::Screen();
    EXPECT_EQ(list.HitTest(static_cast<float>(screen.PixelsToTwipsX(item.left + 3)),
                           static_cast<float>(screen.PixelsToTwipsY(item.top + 2))),
              3);
    EXPECT_EQ(list.HitTest(100, static_cast<float>(screen.PixelsToTwipsY(item.bottom + 40))), -1);

    list.MultiSelect(2);
    clicks = 0;
    list.SetSelRange(0, 2);
    EXPECT_EQ(list.SelectedIndices(), (std::vector<long>{0, 1, 2}));
    EXPECT_EQ(list.SelCount(), 3);
    EXPECT_EQ(clicks, 1);
    list.Selected(1, false);
    EXPECT_EQ(list.SelectedIndices(), (std::vector<long>{0, 2}));
    EXPECT_EQ(clicks, 2);
}

TEST(ListBoxW, AClickHandlerFailingDuringRecreationLeavesNoWindowUpdateLock) {
    auto form = FormWithList();
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"b", L"a"}) list.AddItem(s);
    list.ListIndex(1);
    list.Click = [] { throw host::Error(5, L"handler failed"); };
    EXPECT_THROW(list.Sorted(true), host::Error);
    EXPECT_EQ(list.ListCount(), 2);
    // Another window can take the lock: the re-creation gave it back.
    EXPECT_TRUE(LockWindowUpdate(form->hWnd()));
    LockWindowUpdate(nullptr);
}

TEST(ListBoxW, ScrollIsRaisedWhenTheTopIndexMoves) {
    auto form = FormWithList(L"  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (int i = 0; i < 200; ++i) list.AddItem(std::to_wstring(i));
    Drain();
    int scrolls = 0;
    list.Scroll = [&] { ++scrolls; };
    list.TopIndex(20);
    EXPECT_EQ(scrolls, 1);
    list.TopIndex(20);
    EXPECT_EQ(scrolls, 1);
    SendMessageW(list.hWnd(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(list.TopIndex(), 21);
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(ErrorOf([&] { list.TopIndex(-1); }), 380);
}

TEST(ListBoxW, CheckBoxStateFollowsItsItemAndTogglesByMouseAndSpace) {
    auto form = FormWithList(L"  Style = 1\n  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    EXPECT_TRUE(GetWindowLongW(list.hWnd(), GWL_STYLE) & LBS_OWNERDRAWFIXED);
    for (const wchar_t* s : {L"a", L"b", L"c"}) list.AddItem(s);
    Drain();
    std::vector<std::wstring> log;
    bool cancel = false;
    list.ItemBeforeCheck = [&](long item, bool& c) {
        log.push_back(L"before" + std::to_wstring(item));
        c = cancel;
    };
    list.ItemCheck = [&](long item) { log.push_back(L"check" + std::to_wstring(item)); };

    list.ItemChecked(1, true);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"before1", L"check1"}));
    list.AddItem(L"first", 0L);  // the check moves with its item
    EXPECT_EQ(list.CheckedIndices(), std::vector<long>{2});
    EXPECT_FALSE(list.ItemChecked(0));

    // What a person sees: the checked row's check column differs from an unchecked one's.
    RECT r0{}, r2{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r0));
    SendMessageW(list.hWnd(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r2));
    Drain();  // appends repaint once the loop is idle
    RedrawWindow(list.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(list.hWnd(), &client);
    Snapshot shot = Snapshot::OfWindowRect(list.hWnd(), client);
    int differ = 0;
    for (int y = 2; y < r0.bottom - r0.top - 2; ++y)
        for (int x = 2; x < 13; ++x) differ += shot.At(r0.left + x, r0.top + y) != shot.At(r2.left + x, r2.top + y);
    EXPECT_GT(differ, 3);

    log.clear();
    PostClick(list.hWnd(), {r0.left + 5, (r0.top + r0.bottom) / 2});  // in the check column
    EXPECT_EQ(list.CheckedIndices(), (std::vector<long>{0, 2}));
    PostClick(list.hWnd(), {r2.left + 60, (r2.top + r2.bottom) / 2});  // on the text: selects only
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(list.CheckedIndices(), (std::vector<long>{0, 2}));
    ASSERT_TRUE(Activate(*form));
    list.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == list.hWnd(); }));
    PressKey(VK_SPACE);  // the selected item
    EXPECT_EQ(list.CheckedIndices(), std::vector<long>{0});
    cancel = true;
    PressKey(VK_SPACE);
    EXPECT_EQ(list.CheckedIndices(), std::vector<long>{0});
    EXPECT_EQ(log, (std::vector<std::wstring>{L"before0", L"check0", L"before2", L"check2", L"before2"}));

    cancel = false;
    list.RemoveItem(0);
    EXPECT_TRUE(list.CheckedIndices().empty());
    EXPECT_EQ(ErrorOf([&] { list.ItemChecked(7, true); }), 381);
    EXPECT_EQ(ErrorOf([&] { list.Style(0); }), 382);
    EXPECT_EQ(ErrorOf([&] { list.MultiSelect(1); }), 383);
}

TEST(ListBoxW, OneOptionIsCheckedAndItFollowsAddsAndRemovals) {
    auto form = FormWithList(L"  Style = 2\n  IntegralHeight = False\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"a", L"b", L"c"}) list.AddItem(s);
    int checks = 0;
    list.ItemCheck = [&](long) { ++checks; };
    list.OptionIndex(1);
    EXPECT_EQ(list.OptionIndex(), 1);
    list.ItemChecked(2, true);
    EXPECT_EQ(list.CheckedIndices(), std::vector<long>{2});
    EXPECT_FALSE(list.ItemChecked(1));
    EXPECT_EQ(checks, 2);

    // Clicking the checked option again changes nothing.
    RECT r{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    PostClick(list.hWnd(), {r.left + 5, (r.top + r.bottom) / 2});
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(list.OptionIndex(), 2);

    list.AddItem(L"new", 0L);
    EXPECT_EQ(list.OptionIndex(), 3);
    list.RemoveItem(1);  // an item before the checked last one: the check moves with its item
    EXPECT_EQ(list.OptionIndex(), 2);
    EXPECT_EQ(list.List(2), L"c");
    list.OptionIndex(-1);
    EXPECT_EQ(list.OptionIndex(), -1);
    EXPECT_EQ(checks, 3);
    list.OptionIndex(0);
    list.RemoveItem(0);
    EXPECT_EQ(list.OptionIndex(), -1);
}

TEST(ListBoxW, OwnerDrawnRowsAreDrawnAndMeasuredByTheForm) {
    auto form = FormWithList(L"  DrawMode = 2\n  MultiColumn = True\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    EXPECT_FALSE(list.MultiColumn()) << "variable rows rule out columns";
    EXPECT_TRUE(GetWindowLongW(list.hWnd(), GWL_STYLE) & LBS_OWNERDRAWVARIABLE);
    list.ItemMeasure = [](long item, long& height) { height = 20 + static_cast<long>(item) * 5; };
    std::vector<long> drawn;
    list.ItemDraw = [&](long item, long, long, long hdc, long left, long top, long right, long bottom) {
        drawn.push_back(item);
        RECT rc{left, top, right, bottom};
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(reinterpret_cast<HDC>(static_cast<LONG_PTR>(hdc)), &rc, red);
        DeleteObject(red);
    };
    for (const wchar_t* s : {L"a", L"b", L"c"}) list.AddItem(s);
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETITEMHEIGHT, 0, 0), 20);
    EXPECT_EQ(SendMessageW(list.hWnd(), LB_GETITEMHEIGHT, 2, 0), 30);
    Drain();
    RedrawWindow(list.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 2L), drawn.end());
    RECT client{};
    GetClientRect(list.hWnd(), &client);
    Snapshot shot = Snapshot::OfWindowRect(list.hWnd(), client);
    EXPECT_EQ(shot.At(5, 25), RGB(255, 0, 0));

    EXPECT_EQ(ErrorOf([&] { list.DrawMode(0); }), 382);
    EXPECT_EQ(ErrorOf([&] { list.DrawMode(3); }), 380);
    EXPECT_EQ(ErrorOf([&] { list.MultiColumn(true); }), 383);
}

TEST(ListBoxW, InsertMarkIsDrawnWhereItIsSetAndHitTestingPlacesIt) {
    auto form = FormWithList(L"  IntegralHeight = False\n  InsertMarkColor = &H000000FF&\n");
    auto& list = form->Ctl<ListBoxW>(L"lst");
    for (const wchar_t* s : {L"a", L"b", L"c"}) list.AddItem(s);
    Drain();
    RECT item{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    RECT client{};
    GetClientRect(list.hWnd(), &client);
    auto barPixel = [&] {
        RedrawWindow(list.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return Snapshot::OfWindowRect(list.hWnd(), client).At(item.left + 20, item.bottom);
    };
    EXPECT_NE(barPixel(), RGB(255, 0, 0));
    list.InsertMark(1, true);
    bool after = false;
    EXPECT_EQ(list.InsertMark(&after), 1);
    EXPECT_TRUE(after);
    EXPECT_EQ(barPixel(), RGB(255, 0, 0));
    list.InsertMark(-1);
    EXPECT_NE(barPixel(), RGB(255, 0, 0));
    EXPECT_EQ(ErrorOf([&] { list.InsertMark(9); }), 381);

    // Exactly the middle of an item is still its upper half; one pixel lower is the lower one.
    host::ScaleConverter screen = host::ScaleConverter::Screen();
    float x = static_cast<float>(screen.PixelsToTwipsX(item.left + 5));
    double middle = item.top + (item.bottom - item.top) / 2.0;
    after = true;
    EXPECT_EQ(list.HitTestInsertMark(x, static_cast<float>(screen.PixelsToTwipsY(middle)), &after), 1);
    EXPECT_FALSE(after);
    EXPECT_EQ(list.HitTestInsertMark(x, static_cast<float>(screen.PixelsToTwipsY(middle + 1)), &after), 1);
    EXPECT_TRUE(after);

    list.InsertMark(2);
    list.RemoveItem(2);
    EXPECT_EQ(list.InsertMark(), -1);
}

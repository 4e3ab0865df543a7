// HotKey on a real form: the comctl32 hot key window it creates, combinations typed through the
// input queue, rules, Backspace and Delete, Change, the application hot key of the form, the
// background it paints, double clicks the window class does not make, and its stored properties.
#include "ControlsTestSupport.h"

#include "controls/hotkey/HotKey.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlRegistry.h"
#include "host/DesignData.h"
#include "host/Error.h"
#include "host/Intrinsics.h"
#include "host/PropertyBag.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

using controls::HotKey;
using namespace ctltest;

namespace {

std::unique_ptr<host::Form> FormWithHotKey(const std::wstring& props = {}) {
    host::RegisterControlKind(L"HotKey", [] { return std::make_unique<HotKey>(); });
    return ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 3000\n"
                    L" Begin HotKey hk\n  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 375\n" +
                    props + L" End\n Begin TextBoxW txt\n  Left = 120\n  Top = 1200\n  Width = 3000\n  Height = 375\n End\nEnd\n");
}

// The form shown and active, the focus in the hot key window.
HotKey& FocusedHotKey(host::Form& form) {
    auto& hk = form.Ctl<HotKey>(L"hk");
    EXPECT_TRUE(Activate(form));
    hk.SetFocus();
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == hk.hWnd(); }));
    return hk;
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

// Holds the modifiers down, presses the key, releases all in reverse order.
void Type(std::initializer_list<WORD> modifiers, WORD vk) {
    std::vector<INPUT> seq;
    for (WORD m : modifiers) seq.push_back(KeyInput(m, false));
    seq.push_back(KeyInput(vk, false));
    seq.push_back(KeyInput(vk, true));
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) seq.push_back(KeyInput(*it, true));
    SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT));
    PumpUntil([] { return !GetQueueStatus(QS_KEY); }, 2000);
    Drain();
}

// The mouse moved to a client point of `hwnd` and the given button events sent, through the
// system's input queue.
void Mouse(HWND hwnd, POINT pt, std::initializer_list<DWORD> buttonFlags) {
    ClientToScreen(hwnd, &pt);
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> seq;
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = static_cast<LONG>((pt.x * 65536LL + cx / 2) / cx);
    move.mi.dy = static_cast<LONG>((pt.y * 65536LL + cy / 2) / cy);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    seq.push_back(move);
    for (DWORD f : buttonFlags) {
        INPUT b{};
        b.type = INPUT_MOUSE;
        b.mi.dwFlags = f;
        seq.push_back(b);
    }
    SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT));
    PumpUntil([] { return !GetQueueStatus(QS_MOUSE); }, 2000);
    Drain();
}

long RaiseNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const host::Error& e) {
        return e.Number();
    }
    return 0;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

}  // namespace

TEST(HotKey, BuildsTheComCtlHotKeyWindowInsideItsHostWindow) {
    auto form = FormWithHotKey();
    auto& hk = form->Ctl<HotKey>(L"hk");
    HWND w = hk.hWnd();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(ClassOf(w), L"msctls_hotkey32");
    EXPECT_EQ(GetParent(w), hk.hWndUserControl());
    EXPECT_EQ(WindowText(w), L"HotKey");
    EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE);
    RECT host{}, child{};
    GetClientRect(hk.hWndUserControl(), &host);
    GetWindowRect(w, &child);
    EXPECT_EQ(child.right - child.left, host.right);
    EXPECT_EQ(child.bottom - child.top, host.bottom);
    // One subclass on each window, the window class without double clicks of its own.
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropW(w, L"ComCtlSubclassInit")), 1);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropW(hk.hWndUserControl(), L"ComCtlSubclassInit")), 1);
    EXPECT_FALSE(GetClassLongW(w, GCL_STYLE) & CS_DBLCLKS);

    // BorderStyle 3 is the sunken edge the window starts with; the others restyle it live.
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    hk.BorderStyle(1);
    EXPECT_FALSE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(RaiseNumber([&] { hk.BorderStyle(5); }), 380);
    EXPECT_EQ(hk.BorderStyle(), 1);
    auto borderless = FormWithHotKey(L"  BorderStyle = 0\n");
    HWND plain = borderless->Ctl<HotKey>(L"hk").hWnd();
    EXPECT_FALSE(GetWindowLongW(plain, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE));
    EXPECT_FALSE(GetWindowLongW(plain, GWL_STYLE) & (WS_BORDER | WS_DLGFRAME));
}

TEST(HotKey, TypedCombinationsReadBackAsKeyAndModifiers) {
    auto form = FormWithHotKey();
    auto& hk = FocusedHotKey(*form);
    std::vector<int> downs;
    hk.KeyDown = [&](int& keyCode, int shift) { downs.push_back(keyCode * 10 + shift); };

    Type({VK_CONTROL, VK_MENU}, 'K');
    long modifiers = -1;
    EXPECT_EQ(hk.Value(modifiers), 'K');
    EXPECT_EQ(modifiers, HotKey::ModControl | HotKey::ModAlt);
    EXPECT_EQ(hk.RawValue(), 0x64B);
    EXPECT_NE(std::find(downs.begin(), downs.end(), 'K' * 10 + 6), downs.end()) << "K reaches KeyDown with Ctrl+Alt";

    Type({VK_SHIFT}, VK_F5);
    EXPECT_EQ(hk.Value(modifiers), VK_F5);
    EXPECT_EQ(modifiers, HotKey::ModShift);

    // Arrow keys are combinations too: the form does not take them for moving the focus.
    Type({VK_CONTROL}, VK_RIGHT);
    EXPECT_EQ(GetFocus(), hk.hWnd());
    EXPECT_EQ(hk.Value(modifiers), VK_RIGHT);
    EXPECT_EQ(modifiers & 7, HotKey::ModControl);
}

TEST(HotKey, ValueAndRawValueWriteTheWindowAndRefuseWhatDoesNotFitAByte) {
    auto form = FormWithHotKey();
    auto& hk = form->Ctl<HotKey>(L"hk");
    hk.Value(HotKey::ModShift, 65);
    EXPECT_EQ(SendMessageW(hk.hWnd(), HKM_GETHOTKEY, 0, 0), 0x141);
    long modifiers = 0;
    EXPECT_EQ(hk.Value(modifiers), 65);
    EXPECT_EQ(modifiers, 1);
    EXPECT_EQ(RaiseNumber([&] { hk.Value(0, 256); }), 6);
    EXPECT_EQ(RaiseNumber([&] { hk.Value(256, 65); }), 6);
    EXPECT_EQ(RaiseNumber([&] { hk.Value(-1, 65); }), 6);
    EXPECT_EQ(hk.RawValue(), 0x141) << "a refused value leaves the combination";
    hk.RawValue(0x270);
    EXPECT_EQ(hk.Value(modifiers), 0x70);
    EXPECT_EQ(modifiers, HotKey::ModControl);

    // Without a window every member is silent and reads 0; a bad rule is still refused.
    HotKey bare;
    modifiers = 9;
    EXPECT_EQ(bare.Value(modifiers), 0);
    EXPECT_EQ(modifiers, 9);
    bare.Value(1, 65);
    bare.RawValue(0x141);
    EXPECT_EQ(bare.RawValue(), 0);
    EXPECT_EQ(bare.SetApplicationHotKey(), 0);
    EXPECT_EQ(RaiseNumber([&] { bare.SetRules(3, 0); }), 380);
    EXPECT_EQ(RaiseNumber([&] { bare.SetRules(HotKey::CombNone, 2); }), 0);
}

TEST(HotKey, RulesReplaceForbiddenCombinationsWithTheDefaultModifiers) {
    auto form = FormWithHotKey();
    auto& hk = FocusedHotKey(*form);
    for (long bad : {0L, 3L, 6L, 256L, -1L, 255L}) EXPECT_EQ(RaiseNumber([&] { hk.SetRules(bad, 0); }), 380) << bad;

    hk.SetRules(HotKey::CombNone, HotKey::ModControl);
    Type({}, 'Q');
    long modifiers = 0;
    EXPECT_EQ(hk.Value(modifiers), 'Q');
    EXPECT_EQ(modifiers, HotKey::ModControl) << "a key alone comes out with Ctrl";
    Type({VK_SHIFT}, 'Q');
    EXPECT_EQ(hk.Value(modifiers), 'Q');
    EXPECT_EQ(modifiers, HotKey::ModShift) << "Shift alone is allowed";

    hk.SetRules(HotKey::CombShift, HotKey::ModControl | HotKey::ModAlt);
    Type({VK_SHIFT}, 'Q');
    EXPECT_EQ(hk.Value(modifiers), 'Q');
    EXPECT_EQ(modifiers, HotKey::ModControl | HotKey::ModAlt);
}

TEST(HotKey, ChangeComesOncePerChangeOfTheCombinationAlsoForBackspaceAndDelete) {
    auto form = FormWithHotKey();
    auto& hk = FocusedHotKey(*form);
    int changes = 0;
    hk.Change = [&] { ++changes; };

    Type({}, 'K');
    EXPECT_EQ(hk.RawValue(), 'K');
    EXPECT_EQ(changes, 1);
    Type({}, 'K');
    EXPECT_EQ(changes, 1) << "the same key again changes nothing";

    Type({}, VK_BACK);
    EXPECT_EQ(hk.RawValue(), 0);
    EXPECT_EQ(changes, 2);
    Type({}, VK_BACK);
    EXPECT_EQ(changes, 2) << "an empty field stays empty";

    Type({VK_CONTROL}, 'J');
    EXPECT_EQ(hk.RawValue(), 0x24A);
    changes = 0;
    Type({}, VK_DELETE);
    EXPECT_EQ(hk.RawValue(), 0);
    EXPECT_EQ(changes, 1);

    // Written by the program, the combination changes without Change.
    hk.RawValue(0x141);
    EXPECT_EQ(changes, 1);
}

TEST(HotKey, TabLeavesWithTheCombinationKeptUnlessThePreviewClaimsIt) {
    auto form = FormWithHotKey();
    auto& hk = FocusedHotKey(*form);
    HWND box = form->Ctl<controls::TextBoxW>(L"txt").hWnd();
    Type({VK_CONTROL}, 'K');
    ASSERT_EQ(hk.RawValue(), 0x24B);
    std::vector<int> previews;
    hk.PreviewKeyDown = [&](int keyCode, bool& isInputKey) { previews.push_back(keyCode); };
    Type({}, VK_TAB);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(hk.RawValue(), 0x24B);
    EXPECT_EQ(previews, std::vector<int>{VK_TAB});

    hk.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == hk.hWnd(); }));
    std::vector<int> downs;
    hk.KeyDown = [&](int& keyCode, int) { downs.push_back(keyCode); };
    hk.PreviewKeyDown = [&](int keyCode, bool& isInputKey) { isInputKey = keyCode == VK_TAB; };
    Type({}, VK_TAB);
    EXPECT_EQ(GetFocus(), hk.hWnd()) << "a claimed Tab stays in the control";
    EXPECT_NE(std::find(downs.begin(), downs.end(), VK_TAB), downs.end());
}

TEST(HotKey, CustomBackgroundFillsTheWindowUnderTransparentText) {
    auto form = FormWithHotKey();
    auto& hk = FocusedHotKey(*form);
    Type({VK_CONTROL}, 'W');
    auto shown = [&] {
        RedrawWindow(hk.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Drain();
        RECT rc{};
        GetClientRect(hk.hWnd(), &rc);
        return Snapshot::OfWindowRect(hk.hWnd(), rc);
    };
    Snapshot plain = shown();
    COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(plain.At(plain.Width() - 3, plain.Height() / 2), window) << "the system window colour by default";
    RECT all{0, 0, plain.Width(), plain.Height()};
    int textPixels = plain.CountDiffering(all, window);
    EXPECT_GT(textPixels, 10) << "the combination is drawn";

    hk.BackColor(RGB(200, 30, 30));
    Snapshot red = shown();
    EXPECT_EQ(red.At(red.Width() - 3, red.Height() / 2), RGB(200, 30, 30));
    EXPECT_EQ(red.CountDiffering(all, window), red.Width() * red.Height()) << "no text background left in the window colour";
    int notRed = red.CountDiffering(all, RGB(200, 30, 30));
    EXPECT_GT(notRed, 10) << "the text is still drawn";
    EXPECT_LT(notRed, textPixels + textPixels / 2);

    // Disabled, the window draws its own background again.
    hk.Enabled(false);
    Snapshot disabled = shown();
    EXPECT_NE(disabled.At(disabled.Width() - 3, disabled.Height() / 2), RGB(200, 30, 30));
}

TEST(HotKey, TwoQuickClicksMakeADoubleClickTheWindowClassDoesNot) {
    auto form = FormWithHotKey();
    auto& hk = form->Ctl<HotKey>(L"hk");
    ASSERT_TRUE(Activate(*form));
    std::vector<std::string> events;
    hk.MouseDown = [&](int b, int, float, float) { events.push_back("down" + std::to_string(b)); };
    hk.MouseUp = [&](int b, int, float, float) { events.push_back("up" + std::to_string(b)); };
    hk.Click = [&] { events.push_back("click"); };
    hk.DblClick = [&] { events.push_back("dbl"); };
    Mouse(hk.hWnd(), {20, 8}, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    EXPECT_EQ(events, (std::vector<std::string>{"down1", "up1", "click", "dbl", "up1"}));

    // Once the double-click time is over, and far enough apart, each press is one of its own.
    DWORD after = GetTickCount() + GetDoubleClickTime() + 50;
    PumpUntil([&] { return static_cast<LONG>(GetTickCount() - after) > 0; }, 5000);
    events.clear();
    Mouse(hk.hWnd(), {20, 8}, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    Mouse(hk.hWnd(), {60, 8}, {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
    EXPECT_EQ(events, (std::vector<std::string>{"down1", "up1", "click", "down2", "up2", "click"}));
}

TEST(HotKey, ReleasedOutsideTheControlAPressMakesNoClick) {
    auto form = FormWithHotKey();
    auto& hk = form->Ctl<HotKey>(L"hk");
    ASSERT_TRUE(Activate(*form));
    int ups = 0, clicks = 0;
    hk.MouseUp = [&](int, int, float, float) { ++ups; };
    hk.Click = [&] { ++clicks; };
    Mouse(hk.hWnd(), {20, 8}, {MOUSEEVENTF_LEFTDOWN});
    Mouse(hk.hWnd(), {20, 120}, {MOUSEEVENTF_LEFTUP});
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(clicks, 0);
    // A release inside after a press elsewhere is no click either.
    Mouse(hk.hWnd(), {20, 120}, {MOUSEEVENTF_LEFTDOWN});
    Mouse(hk.hWnd(), {20, 8}, {MOUSEEVENTF_LEFTUP});
    EXPECT_EQ(clicks, 0);
}

TEST(HotKey, StoresItsPropertiesInOrderAndLeavesTheCombinationOut) {
    auto form = FormWithHotKey(L"  BackColor = &H000000FF&\n  BorderStyle = 2\n  MousePointer = 4\n  MouseTrack = True\n"
                               L"  VisualStyles = False\n");
    auto& hk = form->Ctl<HotKey>(L"hk");
    EXPECT_EQ(hk.BackColor(), 0xFFu);
    EXPECT_EQ(hk.BorderStyle(), 2);
    EXPECT_TRUE(GetWindowLongW(hk.hWnd(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_EQ(hk.MousePointer(), 4);
    EXPECT_TRUE(hk.MouseTrack());
    EXPECT_FALSE(hk.VisualStyles());
    EXPECT_EQ(hk.RawValue(), 0) << "a loaded control starts empty";
    hk.RawValue(0x64B);
    hk.Enabled(false);
    host::PropertyBag bag;
    hk.WriteProperties(bag);
    // The objects (Font, MouseIcon) aside, what differs from its default, in the store's order.
    auto valuesWritten = [](const host::PropertyBag& b) {
        std::vector<std::wstring> names;
        for (const auto& [name, value] : b.Entries())
            if (name != L"Font" && name != L"MouseIcon") names.push_back(name);
        return names;
    };
    EXPECT_EQ(valuesWritten(bag), (std::vector<std::wstring>{L"VisualStyles", L"Enabled", L"MousePointer", L"MouseTrack",
                                                             L"BackColor", L"BorderStyle"}));
    EXPECT_EQ(bag.Read(L"BackColor").AsLong(), 0xFF);
    EXPECT_TRUE(bag.Contains(L"Font"));

    auto plain = FormWithHotKey();
    host::PropertyBag defaults;
    plain->Ctl<HotKey>(L"hk").WriteProperties(defaults);
    EXPECT_TRUE(valuesWritten(defaults).empty());
}

TEST(HotKey, MousePointerIsTheOnePropertyWithBrowsingTexts) {
    auto form = FormWithHotKey(L"  MousePointer = 4\n");
    auto& hk = form->Ctl<HotKey>(L"hk");
    long id = hk.GetIDOfName(L"mousepointer");
    ASSERT_NE(id, -1);
    bool handled = false;
    std::wstring text;
    hk.IPerPropertyBrowsingVB_GetDisplayString(handled, id, text);
    EXPECT_TRUE(handled);
    EXPECT_EQ(text, L"4 - Hand");
    std::vector<std::wstring> strings;
    std::vector<long> cookies;
    handled = false;
    hk.IPerPropertyBrowsingVB_GetPredefinedStrings(handled, id, strings, cookies);
    EXPECT_TRUE(handled);
    EXPECT_EQ(strings.size(), 18u);
    handled = false;
    hk.IPerPropertyBrowsingVB_GetDisplayString(handled, hk.GetIDOfName(L"BorderStyle"), text);
    EXPECT_FALSE(handled);
    EXPECT_EQ(RaiseNumber([&] { hk.MousePointer(17); }), 380);
    EXPECT_EQ(hk.MousePointer(), 4);

    // The pointer a person sees over the field.
    ASSERT_TRUE(Activate(*form));
    hk.MousePointer(2);
    HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    auto shown = [] {
        CURSORINFO ci{};
        ci.cbSize = sizeof(ci);
        return GetCursorInfo(&ci) ? ci.hCursor : nullptr;
    };
    Mouse(hk.hWnd(), {18, 7}, {});
    Mouse(hk.hWnd(), {20, 8}, {});
    EXPECT_TRUE(PumpUntil([&] { return shown() == cross; }, 1500));
}

TEST(HotKey, PropertyChangesOnTheLiveWindowKeepTheCombinationAndTheRules) {
    auto form = FormWithHotKey();
    auto& hk = FocusedHotKey(*form);
    HWND window = hk.hWnd();
    hk.SetRules(HotKey::CombNone, HotKey::ModAlt);
    Type({VK_CONTROL}, 'K');
    ASSERT_EQ(hk.RawValue(), 0x24B);
    hk.BorderStyle(4);
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_DLGFRAME);
    host::FontDesc big;
    big.name = L"Tahoma";
    big.size = 14;
    hk.Font(big);
    LOGFONTW given{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(given), &given);
    EXPECT_STREQ(given.lfFaceName, L"Tahoma") << "the window draws with the new font";
    hk.VisualStyles(false);
    hk.BackColor(RGB(0, 120, 0));
    hk.Enabled(false);
    EXPECT_FALSE(IsWindowEnabled(window));
    hk.Enabled(true);
    hk.MousePointer(2);
    EXPECT_EQ(hk.hWnd(), window) << "the same window throughout";
    EXPECT_EQ(hk.RawValue(), 0x24B);
    hk.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == window; }));
    Type({}, 'Q');
    EXPECT_EQ(hk.RawValue(), 0x451) << "the rule set before the changes still holds";
}

TEST(HotKey, KeysAndCharactersReachTheirEventsWithTheWindowsAnswers) {
    auto form = FormWithHotKey();
    auto& hk = FocusedHotKey(*form);
    std::vector<int> presses, ups;
    hk.KeyPress = [&](int& keyChar) { presses.push_back(keyChar); };
    hk.KeyUp = [&](int& keyCode, int shift) { ups.push_back(keyCode * 10 + shift); };
    Type({VK_SHIFT}, 'M');
    EXPECT_EQ(presses, std::vector<int>{'M'});
    EXPECT_NE(std::find(ups.begin(), ups.end(), 'M' * 10 + 1), ups.end());
    presses.clear();
    EXPECT_EQ(SendMessageW(hk.hWnd(), WM_UNICHAR, UNICODE_NOCHAR, 0), 1);
    SendMessageW(hk.hWnd(), WM_UNICHAR, 0x1F600, 0);
    EXPECT_EQ(presses, (std::vector<int>{static_cast<short>(0xD83D), static_cast<short>(0xDE00)}))
        << "beyond the BMP as its surrogate pair, each signed like the rest";
}

TEST(HotKey, MouseEnterAndLeaveFollowTheMouseWhileMouseTrackIsOn) {
    Mouse(GetDesktopWindow(), {1800, 1000}, {});  // away from where the form will show
    auto form = FormWithHotKey(L"  MouseTrack = True\n");
    auto& hk = form->Ctl<HotKey>(L"hk");
    ASSERT_TRUE(Activate(*form));
    int enters = 0, leaves = 0;
    hk.MouseEnter = [&] { ++enters; };
    hk.MouseLeave = [&] { ++leaves; };
    Mouse(hk.hWnd(), {20, 8}, {});
    Mouse(hk.hWnd(), {25, 9}, {});
    EXPECT_TRUE(PumpUntil([&] { return enters == 1; }));
    Mouse(hk.hWnd(), {-40, 150}, {});
    EXPECT_TRUE(PumpUntil([&] { return leaves == 1; }));
    EXPECT_EQ(enters, 1) << "once per visit";

    hk.MouseTrack(false);
    Mouse(hk.hWnd(), {20, 8}, {});
    Mouse(GetDesktopWindow(), {1800, 1000}, {});
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST(HotKey, OnADesignSurfaceNothingIsSubclassed) {
    host::RegisterControlKind(L"HotKey", [] { return std::make_unique<HotKey>(); });
    RegisterLibraryControls();
    auto form = std::make_unique<host::Form>(host::ParseDesign(
        L"Begin Form F\n Begin HotKey hk\n  Width = 2000\n  Height = 375\n  BorderStyle = 1\n End\nEnd\n"));
    form->UserMode(false);
    form->Show();
    Drain();
    auto& hk = form->Ctl<HotKey>(L"hk");
    ASSERT_NE(hk.hWnd(), nullptr);
    EXPECT_EQ(GetPropW(hk.hWnd(), L"ComCtlSubclassInit"), nullptr);
    EXPECT_EQ(GetPropW(hk.hWndUserControl(), L"ComCtlSubclassInit"), nullptr);
    EXPECT_TRUE(GetWindowLongW(hk.hWnd(), GWL_STYLE) & WS_BORDER);
}

TEST(HotKey, AltCombinationsStayInTheControlInsteadOfPressingAccessKeysOrClosingTheForm) {
    host::RegisterControlKind(L"HotKey", [] { return std::make_unique<HotKey>(); });
    auto form = ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 3000\n"
                         L" Begin HotKey hk\n  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 375\n End\n"
                         L" Begin CommandButton cmd\n  Caption = \"&Keep\"\n  Left = 120\n  Top = 1200\n  Width = 1500\n"
                         L"  Height = 375\n End\nEnd\n");
    auto& hk = FocusedHotKey(*form);
    int clicks = 0;
    form->Ctl<host::CommandButton>(L"cmd").Click = [&] { ++clicks; };
    Type({VK_MENU}, 'K');
    EXPECT_EQ(hk.RawValue(), 0x44B);
    EXPECT_EQ(clicks, 0) << "the button's access key is not pressed";
    EXPECT_EQ(GetFocus(), hk.hWnd());
    Type({VK_MENU}, VK_F4);
    EXPECT_EQ(hk.RawValue(), 0x400 | VK_F4);
    EXPECT_TRUE(IsWindowVisible(form->hWnd())) << "Alt+F4 is a combination here, not the end of the form";
}

// CheckBoxW on real forms: the button driven by clicks, Space and the mnemonic, the value rules,
// re-creation, image lists bound by name, owner draw, and the pixels of the graphical style in
// its classic and themed drawing.
#include "ControlsTestSupport.h"
#include "MessageBoxAnswer.h"

#include "controls/checkbox/ButtonStyles.h"
#include "controls/checkbox/CheckBoxW.h"
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlRegistry.h"
#include "host/DesignData.h"
#include "host/Error.h"
#include "host/ImageList.h"
#include "host/Intrinsics.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <optional>

using controls::CheckBoxW;
using namespace ctltest;

namespace {

// The comctl32 level of a test, back to the computed one afterwards.
struct ComCtlLevel {
    explicit ComCtlLevel(int level) { foundation::OverrideComCtlVersionLevel(level); }
    ~ComCtlLevel() { foundation::OverrideComCtlVersionLevel(std::nullopt); }
};

std::unique_ptr<host::Form> FormWithCheckBox(const std::wstring& props, const std::wstring& more = L"") {
    host::RegisterControlKind(L"CheckBoxW", [] { return std::make_unique<CheckBoxW>(); });
    return ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 4000\n"
                    L" Begin TextBoxW txt\n  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 315\n  TabIndex = 0\n End\n"
                    L" Begin CheckBoxW chk\n  Left = 120\n  Top = 600\n  Width = 2400\n  Height = 900\n  TabIndex = 1\n" +
                    props + L" End\n" + more + L"End\n");
}

struct Counter {
    int clicks = 0;
    void Watch(CheckBoxW& c) {
        c.Click = [this] { ++clicks; };
    }
};

void ClickMiddle(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    PostClick(hwnd, {rc.right / 2, rc.bottom / 2});
}

// Alt and a letter through the system's input queue, as a person types it.
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

// A solid bitmap picture (the picture owns the bitmap).
host::Picture SolidPicture(COLORREF color, int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bitmap);
    HBRUSH brush = CreateSolidBrush(color);
    RECT rc{0, 0, w, h};
    FillRect(mem, &rc, brush);
    DeleteObject(brush);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return foundation::PictureFromBitmap(bitmap, true);
}

// The bounding box of the matching pixels within `area` (empty when there are none).
RECT BoxOf(const Snapshot& s, const std::function<bool(COLORREF)>& match, std::optional<RECT> area = {}) {
    RECT a = area ? *area : RECT{0, 0, s.Width(), s.Height()};
    RECT box{a.right, a.bottom, -1, -1};
    for (int y = std::max<LONG>(a.top, 0); y < std::min<LONG>(a.bottom, s.Height()); ++y)
        for (int x = std::max<LONG>(a.left, 0); x < std::min<LONG>(a.right, s.Width()); ++x)
            if (match(s.At(x, y))) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

constexpr COLORREF kBack = RGB(0x40, 0x80, 0xC0);  // BackColor &H00C08040&

// Pixels of `area` (all of them without one) that differ between two pictures of one window.
int Differing(const Snapshot& a, const Snapshot& b, std::optional<RECT> area = {}) {
    RECT r = area ? *area : RECT{0, 0, a.Width(), a.Height()};
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.At(x, y) != b.At(x, y)) ++n;
    return n;
}

bool IsEmpty(const RECT& r) { return r.right <= r.left; }
bool IsRed(COLORREF c) { return c == RGB(255, 0, 0); }
bool IsBlue(COLORREF c) { return c == RGB(0, 0, 255); }
bool IsDark(COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; }

Snapshot Shot(const CheckBoxW& c) {
    RedrawWindow(c.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return Snapshot::OfClient(c.hWnd());
}

}  // namespace

TEST(CheckBoxW, ClicksAndSpaceToggleBetweenUncheckedAndCheckedFromAGrayedStart) {
    auto form = FormWithCheckBox(L"  Caption = \"选项\"\n  Value = 2\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    Counter count;
    count.Watch(chk);
    ASSERT_EQ(chk.Value(), 2);
    EXPECT_EQ(SendMessageW(chk.hWnd(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    // the button is a three-state button the control toggles itself
    EXPECT_EQ(GetWindowLongW(chk.hWnd(), GWL_STYLE) & BS_TYPEMASK, BS_3STATE);

    const int expected[] = {0, 1, 0, 1};
    for (int i = 0; i < 4; ++i) {
        ClickMiddle(chk.hWnd());
        EXPECT_EQ(chk.Value(), expected[i]) << "click " << i;
        EXPECT_EQ(SendMessageW(chk.hWnd(), BM_GETCHECK, 0, 0), expected[i]);
    }
    EXPECT_EQ(count.clicks, 4);

    ASSERT_TRUE(Activate(*form));
    SetFocus(chk.hWnd());
    Drain();
    ASSERT_EQ(GetFocus(), chk.hWnd());
    PressKey(VK_SPACE);
    EXPECT_EQ(chk.Value(), 0);
    PressKey(VK_SPACE);
    EXPECT_EQ(chk.Value(), 1);
    EXPECT_EQ(count.clicks, 6);
}

TEST(CheckBoxW, ADoubleClickTogglesTwiceAndRaisesTwoClicks) {
    auto form = FormWithCheckBox(L"  Caption = \"双击\"\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    Counter count;
    count.Watch(chk);
    HWND b = chk.hWnd();
    PostMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    PostMessageW(b, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Drain();
    EXPECT_EQ(count.clicks, 2);
    EXPECT_EQ(chk.Value(), 0);
}

TEST(CheckBoxW, ValueTakesBooleansRaisesClickOnlyOnAChangeAndRefusesThree) {
    auto form = FormWithCheckBox(L"");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    Counter count;
    count.Watch(chk);
    chk.Value(true);
    EXPECT_EQ(chk.Value(), 1);
    EXPECT_EQ(count.clicks, 1);
    EXPECT_TRUE(form->Site(L"chk").DataChanged());
    chk.Value(1);
    EXPECT_EQ(count.clicks, 1);
    chk.Value(-1);  // True as a number
    EXPECT_EQ(count.clicks, 1);
    try {
        chk.Value(3);
        ADD_FAILURE() << "3 accepted";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    EXPECT_EQ(chk.Value(), 1);
    chk.Value(2);
    EXPECT_EQ(SendMessageW(chk.hWnd(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(count.clicks, 2);
    EXPECT_THROW(chk.Hot(true), host::Error);
}

TEST(CheckBoxW, AltAndTheMnemonicFromAnotherControlToggleTheValue) {
    auto form = FormWithCheckBox(L"  Caption = \"&Wrap lines\"\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    auto& txt = form->Ctl<controls::TextBoxW>(L"txt");
    Counter count;
    count.Watch(chk);
    ASSERT_TRUE(Activate(*form));
    SetFocus(txt.hWnd());
    Drain();
    ASSERT_EQ(GetFocus(), txt.hWnd());
    PressAltKey('W');
    EXPECT_EQ(chk.Value(), 1);
    EXPECT_EQ(count.clicks, 1);
    PressAltKey('W');
    EXPECT_EQ(chk.Value(), 0);
    // a letter that is not the mnemonic does nothing to the box
    PressAltKey('Q');
    EXPECT_EQ(chk.Value(), 0);
    EXPECT_EQ(count.clicks, 2);
    // after a new caption the new letter is the key
    chk.Caption(L"Read &only");
    PressAltKey('O');
    EXPECT_EQ(chk.Value(), 1);
}

// Return is the form's (the default button) unless PreviewKeyDown keeps it in the check box.
TEST(CheckBoxW, PreviewKeyDownKeepsReturnFromTheDefaultButtonAndKeysReachTheEvents) {
    auto form = FormWithCheckBox(L"  Caption = \"键\"\n",
                                 L" Begin CommandButton cmdOK\n  Caption = \"OK\"\n  Default = True\n  Left = 3300\n"
                                 L"  Top = 120\n  Width = 1200\n  Height = 400\n  TabIndex = 2\n End\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    int okClicks = 0, previews = 0;
    std::vector<int> keyDowns, keyPresses;
    form->Ctl<host::CommandButton>(L"cmdOK").Click = [&] { ++okClicks; };
    chk.KeyDown = [&](int& k, int) { keyDowns.push_back(k); };
    chk.KeyPress = [&](int& c) { keyPresses.push_back(c); };
    bool keepReturn = false;
    chk.PreviewKeyDown = [&](int k, bool& isInputKey) {
        ++previews;
        if (k == VK_RETURN) isInputKey = keepReturn;
    };
    ASSERT_TRUE(Activate(*form));
    SetFocus(chk.hWnd());
    Drain();
    ASSERT_EQ(GetFocus(), chk.hWnd());
    PressKey(VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    keepReturn = true;
    PressKey(VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(std::count(keyDowns.begin(), keyDowns.end(), VK_RETURN), 1);
    EXPECT_GE(previews, 2);
    PressKey(VK_SPACE);
    EXPECT_EQ(keyDowns.back(), VK_SPACE);
    ASSERT_FALSE(keyPresses.empty());
    EXPECT_EQ(keyPresses.back(), L' ');
    EXPECT_EQ(chk.Value(), 1);
}

// The host asks for the control information at every Return and Escape: the command ids of the
// mnemonic table start over instead of overflowing.
TEST(CheckBoxW, TheMnemonicTableCanBeAskedForAnyNumberOfTimes) {
    auto form = FormWithCheckBox(L"  Caption = \"&Go\"\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    for (int i = 0; i < 1000; ++i) {
        bool handled = false;
        long count = 0, flags = -1;
        HACCEL table = nullptr;
        ASSERT_NO_THROW(chk.IOleControlVB_GetControlInfo(handled, count, table, flags));
        ASSERT_TRUE(handled);
        ASSERT_EQ(count, 1);
        ACCEL entry{};
        ASSERT_EQ(CopyAcceleratorTableW(table, &entry, 1), 1);
        EXPECT_EQ(entry.key, 'G');
        EXPECT_EQ(entry.fVirt, FVIRTKEY | FALT);
        ASSERT_GE(entry.cmd, 1000);
        EXPECT_EQ(flags, 0);
    }
}

TEST(CheckBoxW, ReCreationForStyleKeepsValueAndCaptionAndRefusesGraphicalOwnerDraw) {
    auto form = FormWithCheckBox(L"  Caption = \"保持\"\n  Value = 1\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    Counter count;
    count.Watch(chk);
    HWND before = chk.hWnd();
    chk.Style(1);
    EXPECT_NE(chk.hWnd(), before);
    EXPECT_EQ(GetWindowLongW(chk.hWnd(), GWL_STYLE) & 0xFFFF, BS_OWNERDRAW);
    EXPECT_EQ(chk.Value(), 1);
    EXPECT_EQ(chk.Caption(), L"保持");
    chk.Style(0);
    EXPECT_EQ(SendMessageW(chk.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(count.clicks, 0);  // re-creation is no change of the value

    chk.DrawMode(1);
    try {
        chk.Style(1);
        ADD_FAILURE() << "Style 1 accepted with DrawMode 1";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 383);
        EXPECT_EQ(e.Description(), L"Style must be 0 - Standard when DrawMode is not 0 - Normal");
    }
    EXPECT_EQ(chk.Style(), 0);
    EXPECT_EQ(chk.Value(), 1);
    EXPECT_THROW(chk.DrawMode(2), host::Error);
}

TEST(CheckBoxW, StylePropertiesChangeTheLiveButton) {
    auto form = FormWithCheckBox(L"");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    auto style = [&] { return static_cast<DWORD>(GetWindowLongW(chk.hWnd(), GWL_STYLE)); };
    EXPECT_EQ(style() & (BS_MULTILINE | BS_VCENTER | BS_NOTIFY), static_cast<DWORD>(BS_MULTILINE | BS_VCENTER | BS_NOTIFY));
    chk.PushLike(true);
    EXPECT_TRUE(style() & BS_PUSHLIKE);
    chk.Alignment(1);
    EXPECT_TRUE(style() & BS_LEFTTEXT);
    chk.TextAlignment(2);
    EXPECT_EQ(style() & BS_CENTER, static_cast<DWORD>(BS_CENTER));
    chk.VerticalAlignment(0);
    EXPECT_EQ(style() & BS_VCENTER, static_cast<DWORD>(BS_TOP));
    chk.WordWrap(false);
    EXPECT_FALSE(style() & BS_MULTILINE);
    chk.Appearance(0);
    EXPECT_TRUE(style() & BS_FLAT);
    EXPECT_EQ(chk.ForeColor(), 0x80000008u);
    chk.PushLike(false);
    EXPECT_FALSE(style() & BS_PUSHLIKE);
    EXPECT_THROW(chk.TextAlignment(3), host::Error);
    EXPECT_THROW(chk.ImageListAlignment(5), host::Error);
    EXPECT_THROW(chk.ImageListMargin(-1), host::Error);
    // right to left takes a left-aligned text along, and back
    chk.TextAlignment(0);
    chk.RightToLeft(true);
    EXPECT_EQ(chk.TextAlignment(), 1);
    EXPECT_EQ(chk.ImageListAlignment(), 1);
    EXPECT_TRUE(GetWindowLongW(chk.hWnd(), GWL_EXSTYLE) & WS_EX_RTLREADING);
    chk.RightToLeft(false);
    EXPECT_EQ(chk.TextAlignment(), 0);
    EXPECT_EQ(chk.ImageListAlignment(), 0);
}

TEST(CheckBoxW, StoresOnlyWhatDiffersFromTheDefaultsAndReadsItBack) {
    auto form = FormWithCheckBox(L"  Caption = \"存储\"\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    host::PropertyBag plain;
    chk.WriteProperties(plain);
    EXPECT_EQ(plain.Read(L"Value", 99L).AsLong(), 99);
    EXPECT_EQ(plain.Read(L"ImageList", L"x").AsString(), L"x");
    EXPECT_EQ(plain.Read(L"WordWrap", 7L).AsLong(), 7);
    chk.Value(2);
    chk.PushLike(true);
    chk.MaskColor(0x00FF00FF);
    host::PropertyBag bag;
    chk.WriteProperties(bag);
    EXPECT_EQ(bag.Read(L"Value", 0L).AsLong(), 2);
    EXPECT_TRUE(bag.Read(L"PushLike", false).AsBool());
    EXPECT_EQ(bag.Read(L"MaskColor", 0L).AsLong(), 0x00FF00FF);
    EXPECT_EQ(bag.Read(L"Caption").AsString(), L"存储");
}

TEST(CheckBoxW, AnImageListNamedInTheDesignDataIsBoundAfterLoading) {
    if (!ThemedProgram()) GTEST_SKIP() << "button image lists are comctl32 6's";
    ComCtlLevel level(1);
    host::RegisterControlKind(L"CheckBoxW", [] { return std::make_unique<CheckBoxW>(); });
    RegisterLibraryControls();
    auto form = std::make_unique<host::Form>(host::ParseDesign(
        L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 4000\n"
        L" Begin CheckBoxW chk\n  Caption = \"图片\"\n  ImageList = \"ImageList1\"\n  Left = 120\n  Top = 120\n"
        L"  Width = 2400\n  Height = 600\n End\n"
        L" Begin CheckBoxW chkNone\n  ImageList = \"NoSuchList\"\n  Left = 120\n  Top = 900\n  Width = 2400\n  Height = 600\n End\n"
        L" Begin ImageList ImageList1\n  ImageWidth = 16\n  ImageHeight = 16\n End\n"
        L"End\n"));
    form->Load();
    // the list gets its images in Form_Load, after the check box was read: before the form shows
    auto& list = form->Ctl<host::ImageList>(L"ImageList1");
    host::Picture red = SolidPicture(RGB(255, 0, 0), 16, 16);
    OLE_HANDLE bitmap = 0;
    red->get_Handle(&bitmap);
    list.Add(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(bitmap)));
    form->Show();
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    auto bound = [&] {
        BUTTON_IMAGELIST got{};
        SendMessageW(chk.hWnd(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&got));
        return got.himl;
    };
    EXPECT_TRUE(PumpUntil([&] { return bound() == list.hImageList(); }));
    EXPECT_EQ(chk.ImageListName(), L"ImageList1");
    EXPECT_EQ(chk.ImageList(), &list);
    // a name no image list has is dropped at run time
    auto& none = form->Ctl<CheckBoxW>(L"chkNone");
    EXPECT_TRUE(PumpUntil([&] { return none.ImageListName() == L"(None)"; }));
    EXPECT_EQ(none.ImageList(), nullptr);

    // browsing: the stored name, and the image lists of the form to choose from
    long imageListId = chk.GetIDOfName(L"ImageList");
    bool handled = false;
    std::wstring shown;
    chk.IPerPropertyBrowsingVB_GetDisplayString(handled, imageListId, shown);
    EXPECT_TRUE(handled);
    EXPECT_EQ(shown, L"ImageList1");
    std::vector<std::wstring> names;
    std::vector<long> cookies;
    handled = false;
    chk.IPerPropertyBrowsingVB_GetPredefinedStrings(handled, imageListId, names, cookies);
    EXPECT_TRUE(handled);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"(None)", L"ImageList1"}));
    handled = false;
    chk.Value(2);
    chk.IPerPropertyBrowsingVB_GetDisplayString(handled, chk.GetIDOfName(L"value"), shown);
    EXPECT_EQ(shown, L"2 - Grayed");

    // the margin goes on the aligned side; unbinding gives the button no list
    chk.ImageListAlignment(2);
    BUTTON_IMAGELIST got{};
    SendMessageW(chk.hWnd(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.uAlign, 2u);
    chk.ImageList(static_cast<host::ImageList*>(nullptr));
    EXPECT_EQ(chk.ImageListName(), L"(None)");
    EXPECT_NE(bound(), list.hImageList());
}

TEST(CheckBoxW, BeforeComCtl6AnImageListIsNotHandedToTheButton) {
    ComCtlLevel level(0);
    auto form = FormWithCheckBox(L"", L" Begin ImageList ImageList1\n End\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    auto& list = form->Ctl<host::ImageList>(L"ImageList1");
    list.Add(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>([&] {
        OLE_HANDLE h = 0;
        static host::Picture keep = SolidPicture(RGB(0, 255, 0), 16, 16);
        keep->get_Handle(&h);
        return h;
    }())));
    chk.ImageList(&list);
    BUTTON_IMAGELIST got{};
    SendMessageW(chk.hWnd(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_NE(got.himl, list.hImageList());
    EXPECT_FALSE(chk.Hot());
}

TEST(CheckBoxW, OwnerDrawRaisesOwnerDrawWithTheButtonsRectangle) {
    auto form = FormWithCheckBox(L"  DrawMode = 1\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    int calls = 0;
    RECT seen{};
    HDC seenDC = nullptr;
    chk.OwnerDraw = [&](long, long, long hdc, long l, long t, long r, long b) {
        ++calls;
        seen = {l, t, r, b};
        seenDC = reinterpret_cast<HDC>(static_cast<INT_PTR>(hdc));
        HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
        FillRect(seenDC, &seen, green);
        DeleteObject(green);
    };
    Snapshot s = Shot(chk);
    EXPECT_GE(calls, 1);
    RECT client;
    GetClientRect(chk.hWnd(), &client);
    EXPECT_TRUE(EqualRect(&seen, &client));
    EXPECT_EQ(s.At(client.right / 2, client.bottom / 2), RGB(0, 200, 0));
    // owner drawn, the value lives in the control
    chk.Value(1);
    EXPECT_EQ(chk.Value(), 1);
}

// Classic, the button asks for its background (WM_CTLCOLORSTATIC); themed, it paints its
// parent's (DrawThemeParentBackground): both give the container's image.
TEST(CheckBoxW, ATransparentCheckBoxShowsTheContainersBackgroundClassicAndThemed) {
    for (int themed = 0; themed <= 1; ++themed) {
        SCOPED_TRACE(themed ? "themed" : "classic");
        ComCtlLevel level(themed);
        auto form = FormWithCheckBox(L"  Caption = \"透明\"\n  BackColor = &H00FF0000&\n  Transparent = True\n");
        auto& chk = form->Ctl<CheckBoxW>(L"chk");
        chk.VisualStyles(true);
        form->BackColor(0x0000FF00);  // green
        chk.Refresh();
        Drain();
        RECT rc;
        GetWindowRect(chk.hWnd(), &rc);
        MapWindowPoints(nullptr, form->hWnd(), reinterpret_cast<POINT*>(&rc), 2);
        Snapshot s = Snapshot::OfWindowRect(form->hWnd(), rc);
        // the far right of the button holds no text and no box: the container's green shows there
        EXPECT_EQ(s.At(s.Width() - 3, 3), RGB(0, 255, 0));
        chk.Transparent(false);
        Drain();
        Snapshot opaque = Snapshot::OfWindowRect(form->hWnd(), rc);
        EXPECT_NE(opaque.At(opaque.Width() - 3, 3), RGB(0, 255, 0));
        if (!themed) {
            EXPECT_EQ(opaque.At(opaque.Width() - 3, 3), RGB(0, 0, 255));
        }
    }
}

TEST(CheckBoxW, MouseTrackRaisesEnterOnceAndLeaveAndTheGraphicalButtonGoesHot) {
    ComCtlLevel level(1);
    auto form = FormWithCheckBox(L"  Caption = \"悬停\"\n  MouseTrack = True\n  Style = 1\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    int enters = 0, leaves = 0, moves = 0;
    chk.MouseEnter = [&] { ++enters; };
    chk.MouseLeave = [&] { ++leaves; };
    chk.MouseMove = [&](int, int, float, float) { ++moves; };
    Snapshot cold = Shot(chk);
    SendMessageW(chk.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(chk.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(moves, 2);
    // hot: the themed graphical button is drawn in the theme's hot state
    EXPECT_GT(Differing(Shot(chk), cold), 0);
    SendMessageW(chk.hWnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(Differing(Shot(chk), cold), 0);
    chk.MouseTrack(false);
    SendMessageW(chk.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(enters, 1);
}

// Wine's button keeps no hot state and sends no BCN_HOTITEMCHANGE; the control keeps it then.
TEST(CheckBoxW, TheMouseMakesTheButtonHotFromComCtl6On) {
    for (int lvl = 0; lvl <= 1; ++lvl) {
        SCOPED_TRACE(lvl);
        ComCtlLevel level(lvl);
        auto form = FormWithCheckBox(L"  Caption = \"热\"\n");
        auto& chk = form->Ctl<CheckBoxW>(L"chk");
        int changes = 0;
        chk.HotChanged = [&] { ++changes; };
        SendMessageW(chk.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        SendMessageW(chk.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(7, 5));
        EXPECT_EQ(chk.Hot(), lvl == 1);
        EXPECT_EQ(changes, lvl == 1 ? 1 : 0);
        SendMessageW(chk.hWnd(), WM_MOUSELEAVE, 0, 0);
        EXPECT_FALSE(chk.Hot());
        EXPECT_EQ(changes, lvl == 1 ? 2 : 0);
    }
}

// On a design surface only the graphical check box subclasses its host window, to draw itself.
TEST(CheckBoxW, AGraphicalCheckBoxDrawsItselfOnADesignSurface) {
    host::RegisterControlKind(L"CheckBoxW", [] { return std::make_unique<CheckBoxW>(); });
    RegisterLibraryControls();
    host::Form form(host::ParseDesign(
        L"Begin Form F\n ClientWidth = 4000\n ClientHeight = 3000\n"
        L" Begin CheckBoxW chk\n  Caption = \"设计\"\n  Style = 1\n  BackColor = &H00C08040&\n  Left = 120\n"
        L"  Top = 120\n  Width = 2400\n  Height = 900\n End\n"
        L" Begin CheckBoxW plain\n  Caption = \"标准\"\n  Left = 120\n  Top = 1200\n  Width = 2400\n  Height = 400\n End\n"
        L"End\n"));
    form.UserMode(false);
    form.Show();
    Drain();
    auto& chk = form.Ctl<CheckBoxW>(L"chk");
    auto& plain = form.Ctl<CheckBoxW>(L"plain");
    EXPECT_EQ(GetPropW(chk.hWnd(), L"ComCtlSubclassInit"), nullptr);
    EXPECT_NE(GetPropW(chk.hWndUserControl(), L"ComCtlSubclassInit"), nullptr);
    EXPECT_EQ(GetPropW(plain.hWnd(), L"ComCtlSubclassInit"), nullptr);
    EXPECT_EQ(GetPropW(plain.hWndUserControl(), L"ComCtlSubclassInit"), nullptr);
    Snapshot s = Shot(chk);
    if (ThemedProgram()) {
        // the theme's push button, not the BackColor, fills the face
        Snapshot face = Snapshot::OfPainting(s.Width(), s.Height(), kBack, [&](HDC dc) {
            HTHEME theme = OpenThemeData(chk.hWnd(), L"Button");
            RECT r{0, 0, s.Width(), s.Height()};
            DrawThemeBackground(theme, dc, BP_PUSHBUTTON, PBS_NORMAL, &r, nullptr);
            CloseThemeData(theme);
        });
        EXPECT_EQ(s.At(s.Width() / 4, s.Height() / 4), face.At(s.Width() / 4, s.Height() / 4));
        EXPECT_NE(s.At(s.Width() / 4, s.Height() / 4), kBack);
    } else {
        EXPECT_EQ(s.At(s.Width() / 4, s.Height() / 4), kBack);
    }
}

// The check glyph of a standard check box: the theme's part in the program with the manifest
// (the version-6 button draws it), the classic three-dimensional box in the one without.
TEST(CheckBoxW, TheCheckGlyphIsTheThemesOrTheClassicBox) {
    auto form = FormWithCheckBox(L"  Caption = \"选项\"\n  Value = 1\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    Snapshot s = Shot(chk);
    COLORREF back = s.At(s.Width() - 2, 1);
    auto glyph = [&](bool themed) {
        HTHEME theme = OpenThemeData(chk.hWnd(), L"Button");
        SIZE size{13, 13};
        if (themed) GetThemePartSize(theme, nullptr, BP_CHECKBOX, CBS_CHECKEDNORMAL, nullptr, TS_DRAW, &size);
        Snapshot g = Snapshot::OfPainting(size.cx, size.cy, back, [&](HDC dc) {
            RECT r{0, 0, size.cx, size.cy};
            if (themed)
                DrawThemeBackground(theme, dc, BP_CHECKBOX, CBS_CHECKEDNORMAL, &r, nullptr);
            else
                DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
        });
        CloseThemeData(theme);
        return g;
    };
    bool themed = ThemedProgram();
    POINT at = s.Find(glyph(themed));
    EXPECT_GE(at.x, 0) << "the glyph of the program's path";
    EXPECT_LT(at.x, s.Width() / 3) << "at the left, before the caption";
    EXPECT_EQ(s.Find(glyph(!themed)).x, -1) << "and not the other path's";
    chk.Value(0);
    EXPECT_EQ(Shot(chk).Find(glyph(themed)).x, -1) << "cleared, the checked glyph goes";
}

// On a design surface a refused value is shown in a message box and the property stays.
TEST(CheckBoxW, OnADesignSurfaceRefusedValuesShowAMessageBox) {
    host::RegisterControlKind(L"CheckBoxW", [] { return std::make_unique<CheckBoxW>(); });
    RegisterLibraryControls();
    host::Form form(host::ParseDesign(L"Begin Form F\n ClientWidth = 4000\n ClientHeight = 3000\n"
                                      L" Begin CheckBoxW chk\n  DrawMode = 1\n  Left = 120\n  Top = 120\n"
                                      L"  Width = 2400\n  Height = 600\n End\nEnd\n"));
    form.UserMode(false);
    form.Show();
    Drain();
    auto& chk = form.Ctl<CheckBoxW>(L"chk");
    {
        wbtest::MessageBoxAnswer answer({IDOK, IDOK});
        EXPECT_NO_THROW(chk.Style(1));
        EXPECT_NO_THROW(chk.ImageListMargin(-1));
        ASSERT_EQ(answer.Shown().size(), 2u);
        EXPECT_EQ(answer.Shown()[0].text, L"Style must be 0 - Standard when DrawMode is not 0 - Normal");
        EXPECT_EQ(answer.Shown()[0].icon, LoadIconW(nullptr, IDI_HAND));
        EXPECT_EQ(answer.Shown()[1].text, L"Invalid property value");
    }
    EXPECT_EQ(chk.Style(), 0);
    EXPECT_EQ(chk.ImageListMargin(), 0);
}

// --- the graphical style --------------------------------------------------------------------

class GraphicalStyle : public ::testing::TestWithParam<bool> {};

// Pixels of Style 1: a red picture centred above the dark caption, the checked pattern, the
// disabled picture greyed or the DisabledPicture as it is, and the caption's offset when pressed.
TEST_P(GraphicalStyle, DrawsPictureAboveCaptionCheckedPatternAndDisabledPictures) {
    bool themed = GetParam();
    ComCtlLevel level(themed ? 1 : 0);
    auto form = FormWithCheckBox(L"  Caption = \"Go\"\n  Style = 1\n  BackColor = &H00C08040&\n  ForeColor = &H00000000&\n"
                                 L"  Height = 1200\n");
    auto& chk = form->Ctl<CheckBoxW>(L"chk");
    chk.VisualStyles(themed);
    chk.Picture(SolidPicture(RGB(255, 0, 0), 16, 16));
    Snapshot s = Shot(chk);
    RECT client;
    GetClientRect(chk.hWnd(), &client);
    RECT inner = client;
    InflateRect(&inner, -4, -4);  // inside the button's frame

    RECT picture = BoxOf(s, IsRed);
    ASSERT_FALSE(IsEmpty(picture));
    EXPECT_EQ(picture.right - picture.left, 16);
    EXPECT_EQ(picture.bottom - picture.top, 16);
    EXPECT_NEAR((picture.left + picture.right) / 2.0, client.right / 2.0, 1.5);
    RECT caption = BoxOf(s, IsDark, inner);
    ASSERT_FALSE(IsEmpty(caption));
    EXPECT_GE(caption.top, picture.bottom);  // the caption below the picture
    EXPECT_NEAR((caption.left + caption.right) / 2.0, client.right / 2.0, 3);
    // the classic face is BackColor; the themed one is the theme's push button
    if (!themed)
        EXPECT_EQ(s.At(client.right / 4, picture.top), kBack);
    else
        EXPECT_NE(s.At(client.right / 4, picture.top), kBack);

    // checked without a DownPicture: the same picture; the classic fill is the checked pattern
    chk.Value(1);
    Snapshot checked = Shot(chk);
    RECT checkedPicture = BoxOf(checked, IsRed);
    EXPECT_EQ(checkedPicture.right - checkedPicture.left, 16);
    EXPECT_NEAR(checkedPicture.left, picture.left, 1);  // the checked frame's interior is a pixel off
    EXPECT_NEAR(checkedPicture.top, picture.top, 1);
    if (!themed) {
        int x = client.right / 4, y = picture.top;
        COLORREF a = checked.At(x, y), b = checked.At(x + 1, y), c = checked.At(x, y + 1), d = checked.At(x + 1, y + 1);
        EXPECT_EQ(a, d);
        EXPECT_EQ(b, c);
        EXPECT_TRUE((a == RGB(255, 255, 255) && b == kBack) || (b == RGB(255, 255, 255) && a == kBack));
    } else {
        // pressed look of the theme: the face differs from the unchecked one
        RECT face{inner.left, inner.top, inner.right, picture.top};
        EXPECT_GT(Differing(checked, s, face), 0);
    }
    // a DownPicture replaces it while checked
    chk.DownPicture(SolidPicture(RGB(0, 0, 255), 16, 16));
    Snapshot down = Shot(chk);
    EXPECT_TRUE(IsEmpty(BoxOf(down, IsRed)));
    EXPECT_EQ(BoxOf(down, IsBlue).right - BoxOf(down, IsBlue).left, 16);
    chk.Value(0);

    // disabled without a DisabledPicture: greyed by the system, so no red is left in its place
    chk.Enabled(false);
    Snapshot greyed = Shot(chk);
    EXPECT_TRUE(IsEmpty(BoxOf(greyed, IsRed)));
    EXPECT_FALSE(IsEmpty(BoxOf(greyed, [](COLORREF c) { return c != kBack && !IsDark(c); }, picture)));
    // with one, that picture as it is
    chk.DisabledPicture(SolidPicture(RGB(0, 255, 0), 16, 16));
    Snapshot own = Shot(chk);
    RECT green = BoxOf(own, [](COLORREF c) { return c == RGB(0, 255, 0); });
    EXPECT_TRUE(EqualRect(&green, &picture));
    chk.Enabled(true);

    // pressed: the classic drawing moves the caption one pixel right and down; the themed one
    // draws the pressed face instead
    chk.Picture(host::Picture());
    chk.DownPicture(host::Picture());
    Snapshot up = Shot(chk);
    RECT upText = BoxOf(up, IsDark, inner);
    chk.Pushed(true);
    EXPECT_TRUE(chk.Pushed());
    Snapshot pressed = Shot(chk);
    if (!themed) {
        RECT pressedText = BoxOf(pressed, IsDark, inner);
        ASSERT_FALSE(IsEmpty(upText));
        EXPECT_EQ(pressedText.left, upText.left + 1);
        EXPECT_EQ(pressedText.top, upText.top + 1);
    } else {
        EXPECT_GT(Differing(pressed, up, inner), (inner.right - inner.left) * (inner.bottom - inner.top) / 2);
    }
    chk.Pushed(false);

    // a bitmap on magenta with UseMaskColor and MaskColor magenta: drawn without its background
    host::Picture framed = SolidPicture(RGB(255, 0, 255), 20, 20);
    {
        OLE_HANDLE h = 0;
        framed->get_Handle(&h);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(h)));
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        RECT centre{5, 5, 15, 15};
        FillRect(mem, &centre, red);
        DeleteObject(red);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    chk.Picture(framed);
    chk.MaskColor(0x00FF00FF);
    auto isMagenta = [](COLORREF c) { return c == RGB(255, 0, 255); };
    EXPECT_FALSE(IsEmpty(BoxOf(Shot(chk), isMagenta)));
    chk.UseMaskColor(true);
    Snapshot masked = Shot(chk);
    EXPECT_TRUE(IsEmpty(BoxOf(masked, isMagenta)));
    EXPECT_EQ(BoxOf(masked, IsRed).right - BoxOf(masked, IsRed).left, 10);
}

INSTANTIATE_TEST_SUITE_P(CheckBoxW, GraphicalStyle, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Themed" : "Classic"; });

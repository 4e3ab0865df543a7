// A control made of foundation calls only, on real forms: the MousePointer rule and its ranges,
// mouse enter and leave, focus on mouse activation with validation, keys routed in place, and the
// design-time paths.
#include "FoundationTestSupport.h"
#include "ProbeControl.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/KeyInput.h"
#include "controls/foundation/VTableHandle.h"
#include "host/Application.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/Form.h"
#include "host/Handles.h"
#include "host/Intrinsics.h"

#include <gtest/gtest.h>
#include <olectl.h>

using namespace foundationtest;

namespace {

const wchar_t* kDesign = LR"(Begin Form F
   Caption = "Probe"
   Width = 6000
   Height = 4000
   Begin ProbeControl One
      Left = 120
      Top = 120
      Width = 3000
      Height = 400
      TabIndex = 0
   End
   Begin ProbeControl Two
      Left = 120
      Top = 800
      Width = 3000
      Height = 400
      TabIndex = 1
   End
   Begin CommandButton Button
      Caption = "Go"
      Left = 120
      Top = 1600
      Width = 1200
      Height = 400
      TabIndex = 2
   End
End
)";

struct ProbeForm {
    host::Form form;
    explicit ProbeForm(bool userMode = true) : form(host::ParseDesign(kDesign)) {
        RegisterProbeControl();
        form.UserMode(userMode);
        form.Show();
        SetForegroundWindow(form.hWnd());
        host::App().PumpUntil([&] { return GetForegroundWindow() == form.hWnd(); }, 3000);
    }
    ~ProbeForm() { form.Unload(); }
    ProbeControl& One() { return form.Ctl<ProbeControl>(L"One"); }
    ProbeControl& Two() { return form.Ctl<ProbeControl>(L"Two"); }
};

bool Pump(const std::function<bool()>& done) { return host::App().PumpUntil(done, 3000); }

void Press(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pump([&] { return GetKeyState(vk) >= 0 && !GetQueueStatus(QS_KEY); });
    for (int i = 0; i < 1000 && host::App().PumpOne(false); ++i) {
    }
}

LRESULT SetCursorMessage(HWND hwnd) { return SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)); }

}  // namespace

TEST(ProbeControl, MousePointerAcceptsItsTableAndRejectsEverythingElse) {
    ProbeForm f;
    ProbeControl& c = f.One();
    for (long v : {-1L, 17L, 50L, 98L, 100L, 32512L}) {
        try {
            c.MousePointer(v);
            ADD_FAILURE() << v;
        } catch (const host::Error& e) {
            EXPECT_EQ(e.Number(), 380) << v;
            EXPECT_EQ(e.Description(), L"Invalid property value");
        }
        EXPECT_EQ(c.MousePointer(), 0) << "a rejected value leaves the old one";
    }
    for (long v = 0; v <= 16; ++v) {
        c.MousePointer(v);
        EXPECT_EQ(c.MousePointer(), v);
    }
    c.MousePointer(99);
    EXPECT_EQ(c.MousePointer(), 99);
}

TEST(ProbeControl, SetCursorShowsTheChosenCursorTheIconOrTheDefault) {
    ProbeForm f;
    ProbeControl& c = f.One();
    HWND edit = c.hWnd();
    c.MousePointer(2);
    EXPECT_EQ(SetCursorMessage(edit), 1);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_CROSS));
    // The arrow with a CD: a system cursor of its own number where the system has it, else the
    // arrow — never no cursor at all.
    c.MousePointer(16);
    SetCursor(nullptr);
    EXPECT_EQ(SetCursorMessage(edit), 1);
    HCURSOR cd = LoadCursorW(nullptr, MAKEINTRESOURCEW(32663));
    ASSERT_NE(GetCursor(), nullptr);
    EXPECT_EQ(GetCursor(), cd ? cd : LoadCursorW(nullptr, IDC_ARROW));
    // Outside the client area the default handling decides.
    c.MousePointer(2);
    SetCursor(nullptr);
    SendMessageW(edit, WM_SETCURSOR, reinterpret_cast<WPARAM>(edit), MAKELPARAM(HTVSCROLL, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_CROSS));

    // 99 without an icon: the edit's own I-beam.
    c.MousePointer(99);
    SetCursor(nullptr);
    SetCursorMessage(edit);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));
    // 99 with an icon: that icon.
    PICTDESC pd{};
    pd.cbSizeofstruct = sizeof(pd);
    pd.picType = PICTYPE_ICON;
    pd.icon.hicon = CopyIcon(LoadIconW(nullptr, IDI_QUESTION));
    host::Picture icon;
    ASSERT_EQ(OleCreatePictureIndirect(&pd, IID_IPicture, TRUE, reinterpret_cast<void**>(&icon)), S_OK);
    c.MouseIcon(icon);
    EXPECT_EQ(SetCursorMessage(edit), 1);
    EXPECT_EQ(GetCursor(), reinterpret_cast<HCURSOR>(pd.icon.hicon));
    // A bitmap cannot be a cursor: the default handling.
    HDC screen = GetDC(nullptr);
    c.MouseIcon(foundation::PictureFromBitmap(CreateCompatibleBitmap(screen, 16, 16), true));
    ReleaseDC(nullptr, screen);
    SetCursor(nullptr);
    SetCursorMessage(edit);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));
    c.MouseIcon(icon);
    c.MousePointer(0);  // 0 ignores the icon
    SetCursor(nullptr);
    SetCursorMessage(edit);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));
}

TEST(ProbeControl, MouseEnterOnceAndMouseLeaveOnlyWithMouseTrack) {
    ProbeForm f;
    ProbeControl& c = f.One();
    int enters = 0, leaves = 0;
    c.MouseEnter = [&] { ++enters; };
    c.MouseLeave = [&] { ++leaves; };
    SetCursorPos(0, 0);
    SendMessageW(c.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(c.hWnd(), WM_MOUSELEAVE, 0, 0);
    for (int i = 0; i < 1000 && host::App().PumpOne(false); ++i) {
    }
    EXPECT_EQ(enters + leaves, 0) << "MouseTrack False raises neither";

    c.MouseTrack(true);
    POINT inside = CentreOf(c.hWnd());
    SetCursorPos(inside.x, inside.y);  // the system moves the mouse over the control
    ASSERT_TRUE(Pump([&] { return enters == 1; }));
    SetCursorPos(inside.x + 2, inside.y);
    SendMessageW(c.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(enters, 1) << "a move inside raises nothing more";
    EXPECT_EQ(leaves, 0);
    SetCursorPos(0, 0);
    ASSERT_TRUE(Pump([&] { return leaves == 1; })) << "tracking reports the leave";
    SendMessageW(c.hWnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(leaves, 1) << "a leave without an enter raises nothing";
    SendMessageW(c.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(enters, 2);
    SetCursorPos(0, 0);
}

TEST(ProbeControl, ClickTakesFocusThroughValidationUnlessCancelled) {
    ProbeForm f;
    ProbeControl& one = f.One();
    ProbeControl& two = f.Two();
    one.Site().SetFocus();
    ASSERT_TRUE(Pump([&] { return GetFocus() == one.hWnd(); }));
    bool refuse = true;
    int validations = 0;
    one.Site().Validate = [&](bool& cancel) {
        ++validations;
        cancel = refuse;
    };
    ClickAt(CentreOf(two.hWnd()));
    EXPECT_EQ(GetFocus(), one.hWnd()) << "a cancelled validation eats the click";
    EXPECT_GE(validations, 1);

    // The border and a run still in progress are eaten without validating.
    int before = validations;
    EXPECT_EQ(SendMessageW(two.hWnd(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(f.form.hWnd()),
                           MAKELPARAM(HTBORDER, WM_LBUTTONDOWN)),
              MA_ACTIVATEANDEAT);
    EXPECT_EQ(validations, before);
    // Other buttons get the default handling (no validation either).
    SendMessageW(two.hWnd(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(f.form.hWnd()), MAKELPARAM(HTCLIENT, WM_RBUTTONDOWN));
    EXPECT_EQ(validations, before);

    refuse = false;
    ClickAt(CentreOf(two.hWnd()));
    EXPECT_TRUE(Pump([&] { return GetFocus() == two.hWnd(); })) << "the focus enters through the host window";
    // Already focused: default handling, no validation.
    before = validations;
    SendMessageW(two.hWnd(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(f.form.hWnd()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(validations, before);
}

TEST(ProbeControl, ArrowKeysStayInTheFocusedControlAndNothingIsActiveAfterwards) {
    ProbeForm f;
    ProbeControl& one = f.One();
    SetWindowTextW(one.hWnd(), L"abc");
    one.Site().SetFocus();
    ASSERT_TRUE(Pump([&] { return GetFocus() == one.hWnd(); }));
    EXPECT_EQ(foundation::InPlaceActiveControl(), &one);
    EXPECT_EQ(f.form.ActiveObject(), static_cast<host::IOleInPlaceActiveObjectVB*>(&one));
    SendMessageW(one.hWnd(), EM_SETSEL, 0, 0);
    Press(VK_RIGHT);
    DWORD start = 0;
    SendMessageW(one.hWnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(start, 1u) << "Right moved the caret";
    EXPECT_GE(one.acceleratorCalls, 2) << "key-down and key-up were offered to the control first";
    Press(VK_DOWN);
    Press(VK_LEFT);
    EXPECT_EQ(GetFocus(), one.hWnd()) << "arrows are the control's";

    Press(VK_TAB);
    ASSERT_TRUE(Pump([&] { return GetFocus() == f.Two().hWnd(); }));
    EXPECT_EQ(foundation::InPlaceActiveControl(), &f.Two()) << "the next control announced itself";
    HWND button = f.form.Ctl<host::CommandButton>(L"Button").hWnd();
    f.form.Site(L"Button").SetFocus();
    ASSERT_TRUE(Pump([&] { return GetFocus() == button; }));
    EXPECT_EQ(f.form.ActiveObject(), nullptr) << "no active object after the focus left";
    EXPECT_EQ(foundation::InPlaceActiveControl(), nullptr);
}

TEST(ProbeControl, WithoutInPlaceRoutingTheHostAnswersAndArrowsMoveOn) {
    ProbeControl::hookInPlace = false;
    {
        ProbeForm f;
        EXPECT_EQ(foundation::InPlaceHookCount(), 0);
        ProbeControl& one = f.One();
        one.Site().SetFocus();
        ASSERT_TRUE(Pump([&] { return GetFocus() == one.hWnd(); }));
        EXPECT_NE(f.form.ActiveObject(), nullptr) << "the host's own answer is announced";
        EXPECT_NE(f.form.ActiveObject(), static_cast<host::IOleInPlaceActiveObjectVB*>(&one));
        Press(VK_DOWN);
        EXPECT_EQ(one.acceleratorCalls, 0) << "the host's own answer, not the control's, was asked";
    }
    ProbeControl::hookInPlace = true;
}

TEST(ProbeControl, HookCountsFollowTheControlsAlive) {
    long controlInfo = foundation::ControlInfoHookCount(), inPlace = foundation::InPlaceHookCount(),
         browsing = foundation::PropertyBrowsingHookCount();
    {
        ProbeForm f;
        EXPECT_EQ(foundation::ControlInfoHookCount(), controlInfo + 2);
        EXPECT_EQ(foundation::InPlaceHookCount(), inPlace + 2);
        EXPECT_EQ(foundation::PropertyBrowsingHookCount(), browsing + 2);
        EXPECT_EQ(f.One().MousePointerDispId(), ProbeControl::DispIdMousePointer);
        EXPECT_EQ(foundation::DispIdOfName(f.One(), L"NoSuchMember"), -1);
    }
    EXPECT_EQ(foundation::ControlInfoHookCount(), controlInfo);
    EXPECT_EQ(foundation::InPlaceHookCount(), inPlace);
    EXPECT_EQ(foundation::PropertyBrowsingHookCount(), browsing);
}

TEST(ProbeControl, DesignModeNeitherSubclassesNorRaises) {
    ProbeForm f(false);
    ProbeControl& c = f.One();
    EXPECT_TRUE(c.DesignMode());
    EXPECT_EQ(GetPropW(c.hWnd(), L"ComCtlSubclassInit"), nullptr);
    EXPECT_EQ(GetPropW(c.HostWindow(), L"ComCtlSubclassInit"), nullptr);
    c.MousePointer(5);
    BoxPresser presser(IDOK);
    EXPECT_NO_THROW(c.MousePointer(42));
    presser.Wait();
    EXPECT_TRUE(presser.found);
    EXPECT_EQ(presser.text, L"Invalid property value");
    EXPECT_EQ(c.MousePointer(), 5);
}

TEST(ProbeControl, PendingCharacterIsSeenAtKeyDownWithoutBeingTaken) {
    ProbeForm f;
    ProbeControl& one = f.One();
    one.Site().SetFocus();
    ASSERT_TRUE(Pump([&] { return GetFocus() == one.hWnd(); }));
    Press('Q');
    EXPECT_EQ(one.pendingAtKeyDown, L'q');
    wchar_t text[8] = {};
    GetWindowTextW(one.hWnd(), text, 8);
    EXPECT_STREQ(text, L"q") << "the character still reached the window";
    EXPECT_EQ(foundation::PeekPendingChar(one.hWnd()), 0);
}

TEST(ProbeControl, LevelZeroRunsWithoutVersionSixFeatures) {
    CommonControlsV6 v6;
    ASSERT_TRUE(v6.Active());
    ProbeForm f;
    foundation::OverrideComCtlVersionLevel(0);
    f.One().CueBanner(L"模式");
    EXPECT_EQ(f.One().CueBanner(), L"") << "comctl32 5.x: no cue banner";
    foundation::OverrideComCtlVersionLevel(1);
    f.Two().CueBanner(L"模式");
    EXPECT_EQ(f.Two().CueBanner(), L"模式");
    foundation::OverrideComCtlVersionLevel(std::nullopt);
}

TEST(ProbeControl, MessageBoxOwnerIsTheActiveFormOrTheForegroundWindow) {
    ProbeForm f;
    // Another top-level window in front: a plain box still belongs to the form, a system-modal
    // one to whatever is in front.
    host::UniqueWindow other(CreateWindowExW(0, L"Static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 100,
                                             nullptr, nullptr, nullptr, nullptr));
    SetForegroundWindow(other.Get());
    ASSERT_TRUE(Pump([&] { return GetForegroundWindow() == other.Get(); }));
    {
        BoxPresser presser(IDOK);
        foundation::ShowMessageBox(L"a", MB_OK);
        presser.Wait();
        EXPECT_EQ(presser.owner, f.form.hWnd());
    }
    SetForegroundWindow(other.Get());
    ASSERT_TRUE(Pump([&] { return GetForegroundWindow() == other.Get(); }));
    {
        BoxPresser presser(IDOK);
        foundation::ShowMessageBox(L"b", MB_OK | MB_SYSTEMMODAL);
        presser.Wait();
        EXPECT_EQ(presser.owner, other.Get());
    }
}

TEST(ProbeControl, ControlInfoChangeReannouncesAndSiteRectsAreReapplied) {
    ProbeForm f;
    ProbeControl& one = f.One();
    one.Site().SetFocus();
    ASSERT_TRUE(Pump([&] { return GetFocus() == one.hWnd(); }));
    foundation::DeactivateInPlaceHook();
    EXPECT_EQ(f.form.ActiveObject(), nullptr);
    foundation::NotifyControlInfoChanged(one, false);
    EXPECT_EQ(f.form.ActiveObject(), nullptr) << "without the focus nothing is announced";
    foundation::NotifyControlInfoChanged(one, true);
    EXPECT_EQ(f.form.ActiveObject(), static_cast<host::IOleInPlaceActiveObjectVB*>(&one));

    RECT before;
    GetWindowRect(one.HostWindow(), &before);
    SetWindowPos(one.HostWindow(), nullptr, 0, 0, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    foundation::ReapplySiteRects(one);
    RECT after;
    GetWindowRect(one.HostWindow(), &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << "the window is back at its site's rectangle";

    // A focused control that goes away leaves no active object behind.
    f.form.Unload();
    EXPECT_EQ(foundation::InPlaceActiveControl(), nullptr);
}

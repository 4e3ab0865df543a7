#include "HostTestSupport.h"

#include "host/Intrinsics.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace host;
using hosttest::PumpUntil;
using hosttest::TestForm;

namespace {

std::vector<std::wstring> g_calls;

// Records the host's calls in order.
class Probe : public Control {
public:
    std::wstring TypeName() const override { return L"Probe"; }
    void Initialize(ControlSite& site) override {
        Control::Initialize(site);
        g_calls.push_back(L"Initialize " + site.DisplayName() + (site.HostWin() && site.HostWin()->hWnd() ? L" window" : L""));
    }
    void InitProperties() override { g_calls.push_back(L"InitProperties"); }
    void ReadProperties(const PropertyBag& bag) override {
        g_calls.push_back(L"ReadProperties " + bag.Read(L"Note").AsString());
        Site().RaiseEvent(1, Changed);  // during load: held back
    }
    void WriteProperties(PropertyBag& bag) override { bag.Write(L"Note", Value(Utf16LeBytes(L"写回")), Value()); }
    void Resize() override { g_calls.push_back(L"Resize"); }
    void AmbientChanged(const std::wstring& name) override { g_calls.push_back(L"Ambient " + name); }
    void Terminate() override { g_calls.push_back(L"Terminate"); }
    Event<> Changed;
};

const wchar_t* kIntrinsics = LR"(Begin Form F
   Caption = "窗体"
   ClientWidth = 9000
   ClientHeight = 6000
   BeginProperty Font
      Name = "Tahoma"
      Size = 9
   EndProperty
   Begin CommandButton Command4
      Caption = "进行匹配"
      Left = 120
      Top = 120
      Width = 1095
      Height = 375
   End
   Begin CheckBox Check1
      Caption = "替换："
      Left = 120
      Top = 600
      Width = 1200
      Height = 375
      Value = 1
   End
   Begin Label Label1
      Index = 0
      Caption = "第零"
      Left = 120
      Top = 1200
      Width = 1200
      Height = 255
   End
   Begin Label Label1
      Index = 1
      Caption = "第一"
      Left = 1500
      Top = 1200
      Width = 1200
      Height = 255
   End
   Begin Probe probe
      Note = "读入"
      Left = 3000
      Top = 120
   End
End
)";

}  // namespace

class FormTest : public testing::Test {
protected:
    void SetUp() override {
        hosttest::RegisterTestControls();
        RegisterControlKind(L"Probe", [] { return std::make_unique<Probe>(); });
        g_calls.clear();
    }
};

TEST_F(FormTest, IntrinsicControlsAreSystemWindowsWithTheirCaptions) {
    TestForm form(kIntrinsics);
    form.Show();
    HWND f = form.hWnd();
    EXPECT_EQ(hosttest::WindowText(f), L"窗体");
    // Found the way tools find them: class and caption.
    HWND button = FindWindowExW(f, nullptr, L"Button", L"进行匹配");
    HWND check = FindWindowExW(f, nullptr, L"Button", L"替换：");
    HWND label1 = FindWindowExW(f, nullptr, L"Static", L"第一");
    ASSERT_TRUE(button && check && label1);
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(form.Ctl<CheckBox>(L"Check1").Value(), 1);
    EXPECT_EQ(form.Ctl<CommandButton>(L"Command4").Caption(), L"进行匹配");

    int clicks = 0;
    std::vector<int> labelClicks;
    form.Ctl<CommandButton>(L"Command4").Click = [&] { ++clicks; };
    for (Label* l : form.Array<Label>(L"Label1")) l->Click = [&, i = l->Site().Index()] { labelClicks.push_back(i); };
    ASSERT_EQ(form.Array<Label>(L"Label1").size(), 2u);

    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    // A real click on the second label of the array.
    RECT r;
    GetWindowRect(label1, &r);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(label1, &centre);
    PostMessageW(label1, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    PostMessageW(label1, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    EXPECT_TRUE(PumpUntil([&] { return !labelClicks.empty(); }));
    EXPECT_EQ(labelClicks, std::vector<int>{1});

    // The form's font reaches the intrinsic windows.
    auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_TRUE(font && GetObjectW(font, sizeof(lf), &lf));
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");

    // Extender: hiding and moving in twips.
    form.Site(L"Command4").Visible(false);
    EXPECT_FALSE(IsWindowVisible(button));
    form.Ctl<CommandButton>(L"Command4").Caption(L"常用匹配...");
    EXPECT_EQ(hosttest::WindowText(button), L"常用匹配...");
    EXPECT_TRUE(form.Dirty());
    form.Unload();
    EXPECT_FALSE(IsWindow(button));
    EXPECT_FALSE(IsWindow(f));
}

TEST_F(FormTest, LifeCycleRunsInOrderAndEventsWaitForTheLoad) {
    TestForm form(kIntrinsics);
    int changed = 0;
    form.Load();
    form.Ctl<Probe>(L"probe").Changed = [&] { ++changed; };
    std::vector<std::wstring> expected = {L"Initialize probe window", L"ReadProperties 读入", L"Resize"};
    EXPECT_EQ(g_calls, expected);
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(changed, 0);  // raised while the form was being built

    ControlSite& site = form.Site(L"probe");
    site.RaiseEvent(1, form.Ctl<Probe>(L"probe").Changed);
    EXPECT_EQ(changed, 1);
    site.Move(3000, 120, 2000, 600);
    EXPECT_EQ(g_calls.back(), L"Resize");
    site.NotifyAmbientChanged(L"Font");
    EXPECT_EQ(g_calls.back(), L"Ambient Font");

    // Saving asks the control for its properties and keeps the extender's.
    const PropertyBag& saved = site.SaveProperties();
    EXPECT_EQ(saved.Read(L"Note").AsString(), L"写回");
    EXPECT_EQ(saved.Read(L"Width").AsDouble(), 2000);
    EXPECT_FALSE(saved.Contains(L"Visible"));  // the default is not written

    form.Unload();
    EXPECT_EQ(g_calls.back(), L"Terminate");
}

TEST_F(FormTest, UnloadCanBeCancelledByTheForm) {
    class Stubborn : public TestForm {
    public:
        using TestForm::TestForm;
        int keep = 1;

    protected:
        void Form_Unload(int& cancel) override { cancel = keep; }
    } form(L"Begin Form F\nEnd\n");
    form.Show();
    SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.IsLoaded());
    form.keep = 0;
    SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_TRUE(App().Forms().empty());
}

TEST_F(FormTest, WindowlessControlsArePaintedHitTestedAndTimed) {
    TestForm form(LR"(Begin Form F
   ClientWidth = 6000
   ClientHeight = 3000
   BackColor = &H00FFFFFF&
   Begin TestPatch patch
      Left = 1500
      Top = 1500
      Width = 1500
      Height = 750
      ForeColor = &H000000FF&
   End
   Begin Line Line1
      X1 = 150
      Y1 = 300
      X2 = 3000
      Y2 = 300
      BorderColor = &H00DCDCDC&
   End
End
)");
    form.Show();
    auto& patch = form.Ctl<hosttest::TestPatch>(L"patch");
    ASSERT_TRUE(PumpUntil([&] { return patch.paints > 0; }));
    ScaleConverter sc = ScaleConverter::Screen();
    int x = sc.TwipsToPixelsX(1500), y = sc.TwipsToPixelsY(1500);
    {
        WindowDC dc(form.hWnd());
        EXPECT_EQ(GetPixel(dc.Get(), x + 2, y + 2), RGB(255, 0, 0));      // inside the patch
        EXPECT_EQ(GetPixel(dc.Get(), x - 2, y - 2), RGB(255, 255, 255));  // the form around it
        EXPECT_EQ(GetPixel(dc.Get(), sc.TwipsToPixelsX(1500), sc.TwipsToPixelsY(300)), RGB(220, 220, 220));  // the line
    }
    // Mouse input over the patch reaches it in its own pixels; over the form it does not.
    PostMessageW(form.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x + 5, y + 7));
    PostMessageW(form.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(x + 5, y + 7));
    PostMessageW(form.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x - 5, y - 5));
    PostMessageW(form.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(x - 5, y - 5));
    ASSERT_TRUE(PumpUntil([&] { return patch.clicks == 1 && !GetQueueStatus(QS_POSTMESSAGE); }));
    hosttest::Drain();
    ASSERT_EQ(patch.downs.size(), 1u);
    EXPECT_EQ(patch.downs[0].x, 5);
    EXPECT_EQ(patch.downs[0].y, 7);
    EXPECT_EQ(patch.ups, 1);
    EXPECT_EQ(patch.clicks, 1);

    // WM_PAINT with a DC of the sender's paints the form into it: how a transparent control
    // shows what lies under it.
    {
        WindowDC screen(nullptr);
        UniqueMemoryDC mem(CreateCompatibleDC(screen.Get()));
        UniqueBitmap bmp(CreateCompatibleBitmap(screen.Get(), 400, 300));
        SelectObjectGuard keep(mem.Get(), bmp.Get());
        SendMessageW(form.hWnd(), WM_PAINT, reinterpret_cast<WPARAM>(mem.Get()), 0);
        EXPECT_EQ(GetPixel(mem.Get(), x + 2, y + 2), RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(mem.Get(), x - 2, y - 2), RGB(255, 255, 255));
    }

    // A timer on the container ticks until the control stops it.
    patch.timer.Enabled(true);
    EXPECT_TRUE(PumpUntil([&] { return patch.timerTicks >= 3; }));
    EXPECT_FALSE(patch.timer.Enabled());
    form.Unload();
}

TEST_F(FormTest, HostWindowAnswersItsChildsColoursAndPassesFocusOn) {
    TestForm form(LR"(Begin Form F
   Begin TestEdit box
      Text = "文本"
      Width = 3000
      Height = 315
   End
End
)");
    form.Show();
    auto& box = form.Ctl<hosttest::TestEdit>(L"box");
    EXPECT_EQ(box.Text(), L"文本");
    HostWindow& hw = *form.Site(L"box").HostWin();
    EXPECT_EQ(hosttest::WindowText(GetParent(box.hWnd())), L"box");
    hw.BackColor(0x00112233);
    hw.ForeColor(0x00445566);
    {
        WindowDC dc(box.hWnd());
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(hw.hWnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()),
                                                           reinterpret_cast<LPARAM>(box.hWnd())));
        LOGBRUSH lb{};
        ASSERT_TRUE(GetObjectW(brush, sizeof(lb), &lb));
        EXPECT_EQ(lb.lbColor, 0x00112233u);
        EXPECT_EQ(GetTextColor(dc.Get()), 0x00445566u);
        EXPECT_EQ(GetBkColor(dc.Get()), 0x00112233u);
    }
    // The persistent image keeps what was drawn into it and shows it as the background.
    {
        HDC image = hw.ImageDC();
        ASSERT_TRUE(hw.HasImage());
        RECT r{0, 0, 4, 4};
        UniqueBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
        FillRect(image, &r, blue.Get());
        EXPECT_EQ(GetPixel(image, 1, 1), RGB(0, 0, 255));
        EXPECT_EQ(GetPixel(image, 10, 1), 0x00112233u);  // filled with BackColor when made
        ShowWindow(box.hWnd(), SW_HIDE);                  // uncover the host window's own client area
        RedrawWindow(hw.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        WindowDC dc(hw.hWnd());
        EXPECT_EQ(GetPixel(dc.Get(), 1, 1), RGB(0, 0, 255));
        form.Site(L"box").Width(form.Site(L"box").Width() + 300);  // grows: the drawing stays
        EXPECT_EQ(GetPixel(hw.ImageDC(), 1, 1), RGB(0, 0, 255));
        hw.ClearImage();
        EXPECT_EQ(GetPixel(hw.ImageDC(), 1, 1), 0x00112233u);
        ShowWindow(box.hWnd(), SW_SHOW);
    }
    // Focus enters through the host window and lands in the child.
    SetFocus(hw.hWnd());
    EXPECT_EQ(GetFocus(), box.hWnd());
    EXPECT_EQ(form.ActiveControl(), &form.Site(L"box"));
    // The subclass saw the host window's messages too (reference 2), and stops at Terminate.
    EXPECT_FALSE(box.seenMessages.empty());
    form.Unload();
}

TEST_F(FormTest, ApplicationNamesPreviousInstances) {
    UniqueKernelHandle first, second, other;
    EXPECT_FALSE(ClaimInstanceName(L"HostTests.Instance", first));
    EXPECT_TRUE(ClaimInstanceName(L"HostTests.Instance", second));  // as a second start sees it
    EXPECT_FALSE(ClaimInstanceName(L"HostTests.Other", other));
    first.Reset();
    second.Reset();
    UniqueKernelHandle again;
    EXPECT_FALSE(ClaimInstanceName(L"HostTests.Instance", again));  // the first instance ended
    EXPECT_FALSE(App().Title().empty());
    EXPECT_EQ(App().hInstance(), GetModuleHandleW(nullptr));
}

TEST_F(FormTest, UnknownKindsAndMisplacedChildrenFailTheLoad) {
    TestForm unknown(L"Begin Form F\n Begin NoSuchControl x\n End\nEnd\n");
    try {
        unknown.Load();
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 5);
        EXPECT_NE(e.Description().find(L"NoSuchControl"), std::wstring::npos);
    }
    EXPECT_FALSE(unknown.IsLoaded());
    TestForm nested(L"Begin Form F\n Begin CommandButton b\n  Begin Label l\n  End\n End\nEnd\n");
    EXPECT_THROW(nested.Load(), Error);
    EXPECT_FALSE(nested.IsLoaded());
    EXPECT_TRUE(App().Forms().empty());
}

TEST_F(FormTest, IntrinsicControlsRaiseMouseAndKeyEventsAndShowToolTips) {
    TestForm form(LR"(Begin Form F
   ClientWidth = 6000
   ClientHeight = 3000
   Begin CommandButton Command1
      Caption = "常用匹配..."
      ToolTipText = "预设的表达式"
      Left = 300
      Top = 300
      Width = 1500
      Height = 375
   End
End
)");
    form.Show();
    ASSERT_TRUE(hosttest::Activate(form));
    auto& button = form.Ctl<CommandButton>(L"Command1");
    std::vector<std::wstring> events;
    button.MouseDown = [&](int b, int s, float x, float y) {
        events.push_back(L"down " + std::to_wstring(b) + L" " + std::to_wstring(s) + L" " + std::to_wstring(static_cast<int>(x)) +
                         L" " + std::to_wstring(static_cast<int>(y)) + (GetCapture() == button.hWnd() ? L" captured" : L""));
    };
    button.MouseUp = [&](int b, int, float, float) { events.push_back(L"up " + std::to_wstring(b)); };
    button.Click = [&] { events.push_back(L"click"); };
    button.KeyDown = [&](int& k, int) { events.push_back(L"keydown " + std::to_wstring(k)); };
    button.KeyPress = [&](int& c) { events.push_back(L"keypress " + std::to_wstring(c)); };

    ScaleConverter sc = ScaleConverter::Screen();
    PostMessageW(button.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
    PostMessageW(button.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(4, 6));
    ASSERT_TRUE(PumpUntil([&] { return events.size() >= 3; }));
    std::wstring down = L"down 1 0 " + std::to_wstring(static_cast<int>(sc.PixelsToTwipsX(4))) + L" " +
                        std::to_wstring(static_cast<int>(sc.PixelsToTwipsY(6))) + L" captured";
    EXPECT_EQ(events, (std::vector<std::wstring>{down, L"up 1", L"click"}));

    events.clear();
    button.SetFocus();
    hosttest::PressKey('X');
    EXPECT_EQ(events, (std::vector<std::wstring>{L"keydown 88", L"keypress 120"}));

    // The tool tip from the design data, then changed at run time.
    HWND tips = form.ToolTipWindow();
    ASSERT_NE(tips, nullptr);
    auto TipOf = [&](HWND w) {
        wchar_t buf[80] = {};
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = form.hWnd();
        ti.uId = reinterpret_cast<UINT_PTR>(w);
        ti.lpszText = buf;
        SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
        return std::wstring(buf);
    };
    EXPECT_EQ(TipOf(button.hWnd()), L"预设的表达式");
    button.ToolTipText(L"新的提示");
    EXPECT_EQ(TipOf(button.hWnd()), L"新的提示");
    button.ToolTipText(L"");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
    form.Unload();
}

namespace {
// A windowed container, as FrameW is: paints its host window, holds other controls.
class TestFrame : public Control {
public:
    std::wstring TypeName() const override { return L"TestFrame"; }
    bool IsContainer() const override { return true; }
    bool CanGetFocus() const override { return false; }
    void Paint(HDC dc) override { ++paints; }
    int paints = 0;
};
}  // namespace

TEST_F(FormTest, ContainersHoldWindowsAndWindowlessControlsAndPassAmbientChangesOn) {
    RegisterControlKind(L"TestFrame", [] { return std::make_unique<TestFrame>(); });
    TestForm form(LR"(Begin Form F
   ClientWidth = 6000
   ClientHeight = 4000
   BackColor = &H00FFFFFF&
   Begin TestFrame FrameW3
      Left = 1500
      Top = 750
      Width = 3000
      Height = 2250
      Begin TestPatch patch
         Left = 150
         Top = 300
         Width = 600
         Height = 300
         ForeColor = &H0000FF00&
      End
      Begin Label Label1
         Index = 0
         Caption = "版本：1.0"
         Left = 150
         Top = 900
         Width = 1200
         Height = 255
      End
      Begin Probe probe
         Left = 150
         Top = 1500
      End
   End
End
)");
    form.Show();
    ControlSite& frame = form.Site(L"FrameW3");
    HWND frameWindow = frame.HostWin()->hWnd();
    // Positions inside the container are relative to it.
    HWND label = FindWindowExW(frameWindow, nullptr, L"Static", L"版本：1.0");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(form.Site(L"Label1", 0).Container(), &frame);
    EXPECT_EQ(form.Site(L"patch").Windowless()->ContainerWindow(), frameWindow);
    auto& patch = form.Ctl<hosttest::TestPatch>(L"patch");
    ASSERT_TRUE(PumpUntil([&] { return patch.paints > 0 && form.Ctl<TestFrame>(L"FrameW3").paints > 0; }));
    ScaleConverter sc = ScaleConverter::Screen();
    int x = sc.TwipsToPixelsX(150), y = sc.TwipsToPixelsY(300);
    {
        WindowDC dc(frameWindow);
        EXPECT_EQ(GetPixel(dc.Get(), x + 3, y + 3), RGB(0, 255, 0));  // painted after the frame
    }
    PostMessageW(frameWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x + 2, y + 3));
    PostMessageW(frameWindow, WM_LBUTTONUP, 0, MAKELPARAM(x + 2, y + 3));
    ASSERT_TRUE(PumpUntil([&] { return patch.clicks == 1; }));
    EXPECT_EQ(patch.downs.at(0).x, 2);
    // Hiding the container hides what it holds, for focus too.
    EXPECT_TRUE(form.Site(L"Label1", 0).EffectivelyVisible());
    frame.Visible(false);
    EXPECT_FALSE(IsWindowVisible(label));
    EXPECT_FALSE(form.Site(L"Label1", 0).EffectivelyVisible());
    frame.Visible(true);

    // The form's font is every control's ambient font.
    g_calls.clear();
    FontDesc font = form.Font();
    font.size = 12;
    form.Font(font);
    EXPECT_EQ(g_calls, std::vector<std::wstring>{L"Ambient Font"});
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), form.FontHandle());
    EXPECT_EQ(form.Site(L"probe").AmbientFont().size, 12);
    form.Unload();
}

TEST_F(FormTest, AFailingHandlerEndsWithItsEventAndTheFormGoesOn) {
    TestForm form(kIntrinsics);
    form.Show();
    auto& button = form.Ctl<CommandButton>(L"Command4");
    int downs = 0;
    button.MouseDown = [&](int, int, float, float) {
        ++downs;
        throw Error(5, L"Invalid procedure call or argument");
    };
    button.Click = [&] { throw Error(13, L"Type mismatch"); };
    PostMessageW(button.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(button.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    ASSERT_TRUE(PumpUntil([&] { return downs == 1 && GetCapture() == nullptr; }));
    int clicks = 0;
    button.Click = [&] { ++clicks; };
    SendMessageW(button.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form.IsLoaded());
    form.Unload();
}

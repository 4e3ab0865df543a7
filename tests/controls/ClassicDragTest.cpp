// The classic drag of controls under the real mouse (SendInput over real windows): automatic
// drag of a windowless label, the outline that follows the mouse and leaves no trace, the
// DragOver/DragDrop events of the form and of windowed and windowless controls inside a frame,
// DragIcon as the cursor, Escape, the right button and Drag 0/1/2 from code; and a control moved
// into another container by setting its Container.
#include "ControlsTestSupport.h"

#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ClassicDrag.h"
#include "host/ControlSite.h"
#include "host/DataObject.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace ctltest;

namespace {

const wchar_t* kDesign = LR"(Begin Form F
   ClientWidth = 9000
   ClientHeight = 5000
   BackColor = &H00FFFFFF&
   Begin LabelW lbl
      Caption = "拖我"
      DragMode = 1
      Left = 300
      Top = 300
      Width = 1500
      Height = 450
   End
   Begin TextBoxW txt
      Left = 300
      Top = 3600
      Width = 2000
      Height = 450
   End
   Begin FrameW fra
      Caption = "放到这里"
      Left = 3000
      Top = 300
      Width = 4500
      Height = 3000
      Begin LabelW lblIn
         Caption = "里面"
         Left = 300
         Top = 600
         Width = 1500
         Height = 450
      End
      Begin TextBoxW txtIn
         Left = 300
         Top = 1800
         Width = 2000
         Height = 450
      End
   End
   Begin ListBoxW lst
      IntegralHeight = False
      Left = 3000
      Top = 3600
      Width = 2000
      Height = 900
   End
End
)";

void SendMouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

// The pointer to a screen point through the input queue, then pumped until it was taken.
void MoveMouse(POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    PumpUntil([] { return !GetQueueStatus(QS_MOUSE); }, 2000);
    Drain();
}

void Press(DWORD flags) {
    SendMouse(flags);
    PumpUntil([] { return !GetQueueStatus(QS_MOUSE); }, 2000);
    Drain();
}

// A point `dx`, `dy` pixels into a control, on the screen.
POINT ScreenPoint(const host::ControlSite& site, int dx, int dy) {
    RECT r = site.PixelRect();
    POINT p{r.left + dx, r.top + dy};
    ClientToScreen(site.ContainerWindow(), &p);
    return p;
}

float Twips(int pixels) {
    HDC screen = GetDC(nullptr);
    float perPixel = 1440.0f / static_cast<float>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    return static_cast<float>(pixels) * perPixel;
}

// Pixels of the band `width` wide along the edges of `rc` that differ between two pictures of
// the same place, and pixels inside the band that differ.
struct Difference {
    int band = 0, bandArea = 0, inside = 0;
};
Difference Compare(const Snapshot& a, const Snapshot& b, const RECT& rc, int width = 3) {
    Difference d;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) {
            bool inBand = x < rc.left + width || x >= rc.right - width || y < rc.top + width || y >= rc.bottom - width;
            bool differs = a.At(x, y) != b.At(x, y);
            if (inBand) {
                ++d.bandArea;
                d.band += differs;
            } else {
                d.inside += differs;
            }
        }
    return d;
}

RECT ClientRect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

// What the targets heard, in order: "name over <state>", "name drop".
struct Heard {
    std::vector<std::wstring> log;
    std::vector<const host::ControlSite*> sources;
    float x = -1, y = -1;  // of the last event

    void Watch(host::ControlSite& site) {
        std::wstring name = site.Name();
        site.DragOver = [this, name](host::ControlSite& src, float x0, float y0, int state) {
            Note(name + L" over " + std::to_wstring(state), src, x0, y0);
        };
        site.DragDrop = [this, name](host::ControlSite& src, float x0, float y0) { Note(name + L" drop", src, x0, y0); };
    }
    void Watch(host::Form& form) {
        form.DragOver = [this](host::ControlSite& src, float x0, float y0, int state) {
            Note(L"F over " + std::to_wstring(state), src, x0, y0);
        };
        form.DragDrop = [this](host::ControlSite& src, float x0, float y0) { Note(L"F drop", src, x0, y0); };
    }
    void Note(std::wstring what, const host::ControlSite& src, float x0, float y0) {
        log.push_back(std::move(what));
        sources.push_back(&src);
        x = x0;
        y = y0;
    }
    std::vector<std::wstring> Take() { return std::exchange(log, {}); }
    // Without the "over" events: a capture change may add a move where the mouse stands.
    std::vector<std::wstring> TakeChanges() {
        std::vector<std::wstring> changes = Take();
        std::erase_if(changes, [](const std::wstring& e) { return e.ends_with(L"over 2"); });
        return changes;
    }
};

HCURSOR ShownCursor() {
    CURSORINFO ci{};
    ci.cbSize = sizeof ci;
    GetCursorInfo(&ci);
    return ci.hCursor;
}

host::Picture IconPicture(LPCWSTR id) {
    PICTDESC pd{};
    pd.cbSizeofstruct = sizeof(pd);
    pd.picType = PICTYPE_ICON;
    pd.icon.hicon = CopyIcon(LoadIconW(nullptr, id));
    host::Picture icon;
    OleCreatePictureIndirect(&pd, IID_IPicture, TRUE, reinterpret_cast<void**>(&icon));
    return icon;
}

class ClassicDrag : public testing::Test {
protected:
    void SetUp() override {
        form_ = ShowForm(kDesign);
        ASSERT_TRUE(Activate(*form_));
        for (const wchar_t* name : {L"lbl", L"txt", L"fra", L"lblIn", L"txtIn", L"lst"}) heard_.Watch(form_->Site(name));
        heard_.Watch(*form_);
    }
    void TearDown() override {
        if (host::classicdrag::InProgress()) host::classicdrag::Drag(*host::classicdrag::Source(), 0);
        form_.reset();
    }
    host::ControlSite& Site(const wchar_t* name) { return form_->Site(name); }

    std::unique_ptr<host::Form> form_;
    Heard heard_;
};

}  // namespace

// A press on a label whose DragMode is 1 drags it: the outline of the label follows the mouse
// where it was grabbed, each target hears enter, over and leave in its own twips, and the drop
// lands on the windowless label inside the frame. The label itself never sees the press.
TEST_F(ClassicDrag, AnAutomaticDragShowsTheOutlineAndTellsEachTargetUnderTheMouse) {
    auto& label = form_->Ctl<controls::LabelW>(L"lbl");
    int downs = 0, clicks = 0;
    label.MouseDown = [&](int, int, float, float) { ++downs; };
    label.Click = [&] { ++clicks; };
    HWND formWindow = form_->hWnd();
    HWND frameWindow = Site(L"fra").HostWin()->hWnd();
    const Snapshot formBefore = Snapshot::OfWindowRect(formWindow, ClientRect(formWindow));
    const Snapshot frameBefore = Snapshot::OfWindowRect(frameWindow, ClientRect(frameWindow));

    MoveMouse(ScreenPoint(Site(L"lbl"), 10, 8));
    Press(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(host::classicdrag::InProgress());
    EXPECT_EQ(host::classicdrag::Source(), &Site(L"lbl"));
    EXPECT_EQ(heard_.TakeChanges(), std::vector<std::wstring>{L"lbl over 0"}) << "the source is the first target";
    EXPECT_EQ(heard_.sources.back(), &Site(L"lbl"));
    EXPECT_NEAR(heard_.x, Twips(10), 0.5);
    EXPECT_NEAR(heard_.y, Twips(8), 0.5);
    EXPECT_EQ(GetCapture() != nullptr, true) << "the mouse is held during the drag";

    // The outline sits on the label's rectangle: half of its band inverted, nothing inside.
    RECT at = Site(L"lbl").PixelRect();
    Difference d = Compare(formBefore, Snapshot::OfWindowRect(formWindow, ClientRect(formWindow)), at);
    EXPECT_GE(d.band * 100, d.bandArea * 45) << d.band << " of " << d.bandArea;
    EXPECT_EQ(d.inside, 0);

    // Over the form: the label hears leave, the form enter; the outline moved with the mouse and
    // left the old place as it was.
    POINT onForm{60, 150};
    POINT screen = onForm;
    ClientToScreen(formWindow, &screen);
    MoveMouse(screen);
    EXPECT_EQ(heard_.TakeChanges(), (std::vector<std::wstring>{L"lbl over 1", L"F over 0"}));
    EXPECT_NEAR(heard_.x, Twips(60), 0.5);
    EXPECT_NEAR(heard_.y, Twips(150), 0.5);
    Snapshot now = Snapshot::OfWindowRect(formWindow, ClientRect(formWindow));
    EXPECT_EQ(Compare(formBefore, now, at).band, 0) << "the old outline is erased";
    RECT moved{onForm.x - 10, onForm.y - 8, onForm.x - 10 + (at.right - at.left), onForm.y - 8 + (at.bottom - at.top)};
    d = Compare(formBefore, now, moved);
    EXPECT_GE(d.band * 100, d.bandArea * 45);
    EXPECT_EQ(d.inside, 0);
    MoveMouse(POINT{screen.x + 4, screen.y});
    std::vector<std::wstring> overs = heard_.Take();
    EXPECT_FALSE(overs.empty());
    EXPECT_EQ(std::count(overs.begin(), overs.end(), L"F over 2"), static_cast<long>(overs.size()));

    // Into the frame: over its text box (a window inside it), then its windowless label.
    MoveMouse(ScreenPoint(Site(L"txtIn"), 20, 10));
    EXPECT_EQ(heard_.TakeChanges(), (std::vector<std::wstring>{L"F over 1", L"txtIn over 0"}));
    MoveMouse(ScreenPoint(Site(L"lblIn"), 30, 10));
    EXPECT_EQ(heard_.TakeChanges(), (std::vector<std::wstring>{L"txtIn over 1", L"lblIn over 0"}));
    EXPECT_NEAR(heard_.x, Twips(30), 0.5);
    EXPECT_NEAR(heard_.y, Twips(10), 0.5);

    Press(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(host::classicdrag::InProgress());
    EXPECT_EQ(heard_.TakeChanges(), std::vector<std::wstring>{L"lblIn drop"});
    EXPECT_EQ(heard_.sources.back(), &Site(L"lbl"));
    EXPECT_NEAR(heard_.x, Twips(30), 0.5);
    EXPECT_EQ(GetCapture(), nullptr) << "the mouse is given back";
    Drain();
    d = Compare(frameBefore, Snapshot::OfWindowRect(frameWindow, ClientRect(frameWindow)), ClientRect(frameWindow), 0);
    EXPECT_EQ(d.inside, 0) << "no trace of the outline in the frame";
    EXPECT_EQ(Compare(formBefore, Snapshot::OfWindowRect(formWindow, ClientRect(formWindow)), moved).band, 0);
    EXPECT_EQ(downs, 0);
    EXPECT_EQ(clicks, 0);

    // Pressed and released in place: the label is dropped on itself.
    MoveMouse(ScreenPoint(Site(L"lbl"), 5, 5));
    Press(MOUSEEVENTF_LEFTDOWN);
    Press(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(heard_.TakeChanges(), (std::vector<std::wstring>{L"lbl over 0", L"lbl drop"}));
    EXPECT_EQ(downs + clicks, 0);

    // Back to manual, a press reaches the label again.
    label.DragMode(0);
    Press(MOUSEEVENTF_LEFTDOWN);
    Press(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(host::classicdrag::InProgress());
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(heard_.Take().empty());
}

// With a DragIcon the icon is the cursor and no outline is drawn; Escape cancels without a drop
// and never reaches the focused text box; the cursor comes back.
TEST_F(ClassicDrag, TheDragIconIsTheCursorAndEscapeCancels) {
    auto& text = form_->Ctl<controls::TextBoxW>(L"txt");
    std::vector<int> keys;
    text.KeyDown = [&](int& key, int) { keys.push_back(key); };
    host::Picture icon = IconPicture(IDI_QUESTION);
    OLE_HANDLE handle = 0;
    icon->get_Handle(&handle);
    text.DragIcon(icon);
    text.SetFocus();
    HWND formWindow = form_->hWnd();
    const Snapshot before = Snapshot::OfWindowRect(formWindow, ClientRect(formWindow));

    MoveMouse(ScreenPoint(Site(L"txt"), 30, 10));
    text.Drag();
    ASSERT_TRUE(host::classicdrag::InProgress());
    EXPECT_EQ(ShownCursor(), reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(handle)));
    EXPECT_EQ(heard_.TakeChanges(), std::vector<std::wstring>{L"txt over 0"});
    POINT screen{60, 150};
    ClientToScreen(formWindow, &screen);
    MoveMouse(screen);
    EXPECT_EQ(heard_.TakeChanges(), (std::vector<std::wstring>{L"txt over 1", L"F over 0"}));
    EXPECT_EQ(ShownCursor(), reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(handle)));
    // Where the outline would be (grabbed 30, 10 into the box), the form is as it was.
    POINT client{60, 150};
    RECT box = Site(L"txt").PixelRect();
    RECT wouldBe{client.x - 30, client.y - 10, client.x - 30 + (box.right - box.left), client.y - 10 + (box.bottom - box.top)};
    RECT whole = ClientRect(formWindow);
    EXPECT_EQ(Compare(before, Snapshot::OfWindowRect(formWindow, whole), wouldBe).band, 0) << "no outline with an icon";

    PressKey(VK_ESCAPE);
    EXPECT_FALSE(host::classicdrag::InProgress());
    EXPECT_EQ(heard_.TakeChanges(), std::vector<std::wstring>{L"F over 1"}) << "cancelled: the target hears leave, no drop";
    EXPECT_TRUE(keys.empty()) << "Escape went to the drag";
    EXPECT_NE(ShownCursor(), reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(handle)));
    EXPECT_EQ(GetCapture(), nullptr);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(keys, std::vector<int>{VK_ESCAPE}) << "after the drag Escape reaches the box again";
}

// Drag 1 and 2 from code drop where the mouse is; Drag 0 and the right button cancel; ending
// or cancelling another control's drag does nothing; an unknown action raises 5.
TEST_F(ClassicDrag, DragFromCodeBeginsEndsAndCancels) {
    auto& text = form_->Ctl<controls::TextBoxW>(L"txt");
    auto& inner = form_->Ctl<controls::TextBoxW>(L"txtIn");
    HWND formWindow = form_->hWnd();
    POINT onForm{60, 150};
    ClientToScreen(formWindow, &onForm);

    text.Drag(2);
    text.Drag(0);
    EXPECT_FALSE(host::classicdrag::InProgress()) << "nothing to end or cancel";
    MoveMouse(ScreenPoint(Site(L"txt"), 4, 4));
    text.Drag(1);
    MoveMouse(onForm);
    heard_.Take();
    inner.Drag(2);
    inner.Drag(0);
    EXPECT_TRUE(host::classicdrag::InProgress()) << "another control's Drag leaves this drag alone";
    text.Drag(2);
    EXPECT_FALSE(host::classicdrag::InProgress());
    EXPECT_EQ(heard_.TakeChanges(), std::vector<std::wstring>{L"F drop"});
    EXPECT_EQ(heard_.sources.back(), &Site(L"txt"));
    POINT client = onForm;
    ScreenToClient(formWindow, &client);
    EXPECT_NEAR(heard_.x, Twips(client.x), 0.5);
    EXPECT_NEAR(heard_.y, Twips(client.y), 0.5);

    // Drag 0 cancels: leave, no drop.
    text.Drag(1);
    EXPECT_EQ(heard_.TakeChanges(), std::vector<std::wstring>{L"F over 0"});
    text.Drag(0);
    EXPECT_EQ(heard_.TakeChanges(), std::vector<std::wstring>{L"F over 1"});
    EXPECT_EQ(GetCapture(), nullptr);

    // The right button cancels; beginning another control's drag cancels the first.
    text.Drag(1);
    Press(MOUSEEVENTF_RIGHTDOWN);
    Press(MOUSEEVENTF_RIGHTUP);
    EXPECT_FALSE(host::classicdrag::InProgress());
    EXPECT_EQ(heard_.TakeChanges(), (std::vector<std::wstring>{L"F over 0", L"F over 1"}));
    text.Drag(1);
    inner.Drag(1);
    EXPECT_EQ(host::classicdrag::Source(), &Site(L"txtIn"));
    EXPECT_EQ(heard_.TakeChanges(), (std::vector<std::wstring>{L"F over 0", L"F over 1", L"F over 0"}));
    EXPECT_EQ(heard_.sources.back(), &Site(L"txtIn"));

    // A drag of a control inside the frame drops on the form's windowless label.
    MoveMouse(ScreenPoint(Site(L"lbl"), 12, 6));
    Press(MOUSEEVENTF_LEFTDOWN);
    Press(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(heard_.TakeChanges(), (std::vector<std::wstring>{L"F over 1", L"lbl over 0", L"lbl drop"}));
    EXPECT_EQ(heard_.sources.back(), &Site(L"txtIn"));

    for (int bad : {-1, 3}) {
        try {
            text.Drag(bad);
            ADD_FAILURE() << "Drag " << bad << " taken";
        } catch (const host::Error& e) {
            EXPECT_EQ(e.Number(), 5);
        }
    }
    EXPECT_FALSE(host::classicdrag::InProgress());
}

// A drag begun from code in a list box's MouseDown (the list box holding the mouse for its press)
// drops where the button is let go; a window of ours that takes the capture during a drag gives
// it back to the drag, while the capture going to nothing of ours cancels it.
TEST_F(ClassicDrag, ADragBegunInMouseDownKeepsTheMouseAndALostCaptureCancels) {
    auto& list = form_->Ctl<controls::ListBoxW>(L"lst");
    list.AddItem(L"第一项");
    list.AddItem(L"第二项");
    list.MouseDown = [&](int button, int, float, float) {
        if (button == 1) list.Drag(1);
    };
    MoveMouse(ScreenPoint(Site(L"lst"), 20, 8));
    Press(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(host::classicdrag::InProgress());
    PumpUntil([] { return GetCapture() != nullptr && GetParent(GetCapture()) == nullptr; }, 1000);
    POINT onForm{60, 150};
    ClientToScreen(form_->hWnd(), &onForm);
    MoveMouse(onForm);
    EXPECT_TRUE(host::classicdrag::InProgress()) << "the list box's capture did not end the drag";
    Press(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(host::classicdrag::InProgress());
    std::vector<std::wstring> heard = heard_.TakeChanges();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), L"F drop");
    EXPECT_EQ(heard_.sources.back(), &Site(L"lst"));
    EXPECT_EQ(GetCapture(), nullptr);

    list.MouseDown.Disconnect();
    list.Drag(1);
    HWND dragWindow = GetCapture();
    heard_.Take();
    HWND edit = form_->Ctl<controls::TextBoxW>(L"txt").hWnd();
    SetCapture(edit);
    PumpUntil([&] { return GetCapture() != edit; }, 1000);
    EXPECT_EQ(GetCapture(), dragWindow);
    EXPECT_TRUE(host::classicdrag::InProgress());
    ReleaseCapture();
    Drain();
    EXPECT_FALSE(host::classicdrag::InProgress());
    EXPECT_EQ(heard_.TakeChanges(), std::vector<std::wstring>{L"F over 1"});
}

// --- Container ----------------------------------------------------------------------------------

namespace {

// Whether the pixel at a client point of a window is the given colour (the screen as shown).
COLORREF PixelOf(HWND hwnd, POINT p) {
    Snapshot s = Snapshot::OfWindowRect(hwnd, RECT{p.x, p.y, p.x + 1, p.y + 1});
    return s.At(0, 0);
}

}  // namespace

// A text box and a windowless label move into the frame and back: their windows or rectangles
// follow, Left/Top keep their numbers, both frames' ContainedControls follow, and the form still
// finds the innermost control of a window and tears everything down in a sound order.
TEST(Container, SettingItMovesWindowedAndWindowlessControlsBetweenContainers) {
    auto form = ShowForm(LR"(Begin Form F
   ClientWidth = 9000
   ClientHeight = 5000
   BackColor = &H00FFFFFF&
   Begin TextBoxW txt
      Left = 300
      Top = 300
      Width = 1500
      Height = 450
   End
   Begin LabelW lbl
      BackColor = &H000000FF&
      Left = 300
      Top = 900
      Width = 1200
      Height = 300
   End
   Begin FrameW fra
      Left = 3000
      Top = 300
      Width = 4500
      Height = 3000
      Begin FrameW inner
         Left = 300
         Top = 1000
         Width = 2400
         Height = 1800
      End
   End
End
)");
    auto& fra = form->Ctl<controls::FrameW>(L"fra");
    auto& inner = form->Ctl<controls::FrameW>(L"inner");
    auto& txt = form->Ctl<controls::TextBoxW>(L"txt");
    auto& lbl = form->Ctl<controls::LabelW>(L"lbl");
    HWND frameWindow = fra.Site().HostWin()->hWnd();
    HWND txtWindow = txt.Site().HostWin()->hWnd();
    txt.Text(L"移动");

    txt.Container(&fra.Site());
    EXPECT_EQ(txt.Container(), &fra.Site());
    EXPECT_EQ(GetParent(txtWindow), frameWindow);
    EXPECT_EQ(txt.Left(), 300);
    EXPECT_EQ(txt.Top(), 300);
    RECT r{};
    GetWindowRect(txtWindow, &r);
    MapWindowPoints(nullptr, frameWindow, reinterpret_cast<POINT*>(&r), 2);
    RECT expected = txt.Site().PixelRect();
    EXPECT_EQ(r.left, expected.left);
    EXPECT_EQ(r.top, expected.top);
    EXPECT_TRUE(IsWindowVisible(txtWindow));
    EXPECT_EQ(GetWindow(frameWindow, GW_CHILD), txtWindow) << "on top in its new container";
    ASSERT_EQ(fra.ContainedControls().size(), 2u);
    EXPECT_EQ(fra.ContainedControls()[1], &txt.Site());
    EXPECT_EQ(form->SiteOfWindow(txt.hWnd()), &txt.Site()) << "the innermost control of its edit window";
    EXPECT_EQ(txt.Text(), L"移动");

    // The red label: drawn inside the frame at its own Left/Top, gone from the form.
    RECT onForm = lbl.Site().PixelRect();
    POINT formPoint{onForm.left + 5, onForm.top + 5};
    ASSERT_EQ(PixelOf(form->hWnd(), formPoint), RGB(255, 0, 0));
    lbl.Container(&inner.Site());
    EXPECT_EQ(lbl.Site().ContainerWindow(), inner.Site().HostWin()->hWnd());
    ASSERT_EQ(inner.ContainedControls().size(), 1u);
    PumpUntil([&] { return PixelOf(form->hWnd(), formPoint) == RGB(255, 255, 255); });
    EXPECT_EQ(PixelOf(form->hWnd(), formPoint), RGB(255, 255, 255));
    HWND innerWindow = inner.Site().HostWin()->hWnd();
    POINT innerPoint{lbl.Site().PixelRect().left + 5, lbl.Site().PixelRect().top + 5};
    PumpUntil([&] { return PixelOf(innerWindow, innerPoint) == RGB(255, 0, 0); });
    EXPECT_EQ(PixelOf(innerWindow, innerPoint), RGB(255, 0, 0));

    // Nothing that is no container, nor the frame into itself or its own child.
    auto refused = [&](const std::function<void()>& set) {
        try {
            set();
            return 0L;
        } catch (const host::Error& e) {
            return e.Number();
        }
    };
    EXPECT_EQ(refused([&] { lbl.Container(&txt.Site()); }), 380);
    EXPECT_EQ(refused([&] { fra.Container(&fra.Site()); }), 380);
    EXPECT_EQ(refused([&] { fra.Container(&inner.Site()); }), 380);
    auto other = ShowForm(L"Begin Form G\n Begin FrameW g\n End\nEnd\n");
    EXPECT_EQ(refused([&] { txt.Container(&other->Site(L"g")); }), 380);
    EXPECT_EQ(refused([&] { txt.Container(*other); }), 380);
    other.reset();
    EXPECT_EQ(lbl.Container(), &inner.Site()) << "a refused move changes nothing";
    EXPECT_EQ(fra.Container(), nullptr);

    // The whole inner frame, with the label, goes to the form; the text box goes back too.
    inner.Container(*form);
    EXPECT_EQ(GetParent(innerWindow), form->hWnd());
    EXPECT_EQ(lbl.Site().ContainerWindow(), innerWindow);
    txt.Container(nullptr);
    EXPECT_EQ(GetParent(txtWindow), form->hWnd());
    EXPECT_TRUE(fra.ContainedControls().empty());
    EXPECT_EQ(form->TopLevelSites().back(), &txt.Site());
    form.reset();  // every window goes in order, none twice
}

// The gallery's use: a label with DragMode 1 dropped on a frame moves into it where it was let go.
TEST(Container, ALabelDroppedOnAFrameMovesIntoIt) {
    auto form = ShowForm(LR"(Begin Form F
   ClientWidth = 9000
   ClientHeight = 5000
   Begin LabelW lbl
      Caption = "拖到框里"
      DragMode = 1
      Left = 300
      Top = 300
      Width = 1500
      Height = 450
   End
   Begin FrameW fra
      Left = 3000
      Top = 300
      Width = 4500
      Height = 3000
   End
End
)");
    ASSERT_TRUE(Activate(*form));
    host::ControlSite& frame = form->Site(L"fra");
    host::ControlSite& label = form->Site(L"lbl");
    frame.DragDrop = [&](host::ControlSite& source, float x, float y) {
        source.Container(&frame);
        source.Move(x, y);
    };
    MoveMouse(ScreenPoint(label, 0, 0));
    Press(MOUSEEVENTF_LEFTDOWN);
    MoveMouse(ScreenPoint(frame, 40, 50));
    Press(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(label.Container(), &frame);
    EXPECT_NEAR(label.Left(), Twips(40), 1);
    EXPECT_NEAR(label.Top(), Twips(50), 1);
    EXPECT_EQ(form->Ctl<controls::FrameW>(L"fra").ContainedControls().size(), 1u);
}

// A windowless label that takes OLE drops still takes them after it moved into a frame: its drop
// registration went with it to the frame's window.
TEST(Container, AWindowlessDropTargetMovesWithItsControl) {
    auto form = ShowForm(LR"(Begin Form F
   ClientWidth = 9000
   ClientHeight = 5000
   Begin ListBoxW lst
      Left = 300
      Top = 300
      Width = 2000
      Height = 1500
   End
   Begin LabelW lbl
      OLEDropMode = 1
      Left = 300
      Top = 2400
      Width = 1500
      Height = 450
   End
   Begin FrameW fra
      Left = 3000
      Top = 300
      Width = 4500
      Height = 3000
   End
End
)");
    ASSERT_TRUE(Activate(*form));
    auto& list = form->Ctl<controls::ListBoxW>(L"lst");
    auto& label = form->Ctl<controls::LabelW>(L"lbl");
    list.OLEStartDrag = [](host::DataObject& data, long& allowed) {
        const wchar_t s[] = L"项";
        data.SetData(host::Bytes(reinterpret_cast<const std::uint8_t*>(s), reinterpret_cast<const std::uint8_t*>(s) + sizeof s),
                     CF_UNICODETEXT);
        allowed = 1;
    };
    int drops = 0;
    label.OLEDragDrop = [&](host::DataObject&, long& effect, int, int, float, float) {
        ++drops;
        effect = 1;
    };
    label.Container(&form->Site(L"fra"));
    POINT p = ScreenPoint(label.Site(), 10, 5);
    SetCursorPos(p.x, p.y);
    list.OLEDrag();
    EXPECT_EQ(drops, 1);
    label.Container(*form);
    p = ScreenPoint(label.Site(), 10, 5);
    SetCursorPos(p.x, p.y);
    list.OLEDrag();
    EXPECT_EQ(drops, 2) << "and back on the form";
}

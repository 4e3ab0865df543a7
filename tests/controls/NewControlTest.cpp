// Controls placed on a loaded form, as a form designer or the program's Controls.Add places
// them: each starts from its new-control values (the ambient font and right-to-left, its name
// as caption) instead of from design data, at run time and on a design surface.
#include "ControlsTestSupport.h"

#include "controls/foundation/Common.h"
#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <gtest/gtest.h>

using namespace ctltest;

namespace {

// A right-to-left form with a font of its own, so that every ambient value differs from the
// store defaults.
const wchar_t* const kAmbientForm =
    L"Begin Form F\n ClientWidth = 9000\n ClientHeight = 4000\n RightToLeft = True\n"
    L" BeginProperty Font\n  Name = \"Arial\"\n  Size = 12\n  Weight = 700\n EndProperty\n"
    L" Begin FrameW fraHost\n  Left = 6000\n  Top = 120\n  Width = 2800\n  Height = 2000\n End\n"
    L"End\n";

std::unique_ptr<host::Form> LoadForm(const std::wstring& design, bool userMode) {
    RegisterLibraryControls();
    auto form = std::make_unique<host::Form>(host::ParseDesign(design));
    form->UserMode(userMode);
    form->Show();
    Drain();
    return form;
}

template <class T>
T& Add(host::Form& form, const wchar_t* kind, const wchar_t* name, host::ControlSite* container = nullptr) {
    host::ControlSite& site = form.AddControl(kind, name, container, 120, 120, 2000, 900);
    T* control = site.As<T>();
    EXPECT_NE(control, nullptr);
    return *control;
}

}  // namespace

TEST(NewControl, EachControlStartsFromItsNewControlValues) {
    auto form = LoadForm(kAmbientForm, true);
    host::FontDesc ambient = form->AmbientFont();
    ASSERT_EQ(ambient.name, L"Arial");

    auto& txt = Add<controls::TextBoxW>(*form, L"TextBoxW", L"txtNew");
    EXPECT_EQ(txt.Text(), L"txtNew") << "the display name is the new text";
    EXPECT_EQ(WindowText(txt.hWnd()), L"txtNew");
    EXPECT_EQ(txt.Font(), ambient);
    EXPECT_TRUE(txt.RightToLeft());
    EXPECT_TRUE(GetWindowLongW(txt.hWnd(), GWL_EXSTYLE) & WS_EX_RTLREADING);
    EXPECT_EQ(txt.Alignment(), 1) << "right aligned on a right-to-left form";
    EXPECT_EQ(txt.BackColor(), 0x80000005u);
    EXPECT_EQ(txt.BorderStyle(), 3);
    EXPECT_TRUE(GetWindowLongW(txt.hWnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(txt.DesignMode());

    auto& lst = Add<controls::ListBoxW>(*form, L"ListBoxW", L"lstNew");
    EXPECT_EQ(lst.BackColor(), 0x80000005u) << "a new list is window-coloured, unlike a loaded one without BackColor";
    EXPECT_EQ(lst.Font(), ambient);
    EXPECT_TRUE(lst.RightToLeft());
    EXPECT_TRUE(GetWindowLongW(lst.hWnd(), GWL_EXSTYLE) & WS_EX_RTLREADING);

    auto& fra = Add<controls::FrameW>(*form, L"FrameW", L"fraNew");
    EXPECT_EQ(fra.Caption(), L"fraNew");
    EXPECT_EQ(WindowText(fra.hWnd()), L"fraNew");
    EXPECT_EQ(fra.Alignment(), 1);
    EXPECT_EQ(fra.PictureAlignment(), 1);
    EXPECT_EQ(fra.BorderStyle(), 1);
    EXPECT_EQ(fra.Font(), ambient);

    // Inside a container: the label is a child of the frame and takes its caption from its name.
    host::ControlSite& holder = form->Site(L"fraHost");
    auto& lbl = Add<controls::LabelW>(*form, L"LabelW", L"lblNew", &holder);
    EXPECT_EQ(lbl.Caption(), L"lblNew");
    EXPECT_EQ(lbl.Alignment(), 1);
    EXPECT_EQ(lbl.BorderStyle(), 0);
    EXPECT_TRUE(lbl.RightToLeft());
    EXPECT_EQ(lbl.Site().Container(), &holder);
    EXPECT_TRUE(lbl.Site().AccessKeys().empty()) << "a new label registers no access key";

    // What a new control saves: its new values where they differ from the store defaults.
    host::PropertyBag bag;
    txt.WriteProperties(bag);
    EXPECT_EQ(bag.Read(L"Text").AsString(), L"txtNew");
    EXPECT_EQ(bag.Read(L"Alignment", 0L).AsLong(), 1);
    EXPECT_TRUE(bag.Read(L"RightToLeft", false).AsBool());
    host::PropertyBag listBag;
    lst.WriteProperties(listBag);
    EXPECT_EQ(static_cast<unsigned long>(listBag.Read(L"BackColor").AsLong()), 0x80000005u);

    // The form knows them like loaded ones, in tab order after them.
    EXPECT_EQ(&form->Site(L"txtNew"), &txt.Site());
    EXPECT_GT(lst.Site().TabIndex(), txt.Site().TabIndex());
}

TEST(NewControl, ALeftToRightFormGivesLeftAlignedControlsAndTakenNamesAreRefused) {
    auto form = LoadForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 3000\n"
                         L" Begin TextBoxW txtOld\n End\nEnd\n",
                         true);
    auto& txt = Add<controls::TextBoxW>(*form, L"TextBoxW", L"txtNew");
    EXPECT_FALSE(txt.RightToLeft());
    EXPECT_EQ(txt.Alignment(), 0);
    EXPECT_FALSE(GetWindowLongW(txt.hWnd(), GWL_EXSTYLE) & WS_EX_RTLREADING);
    try {
        form->AddControl(L"ListBoxW", L"txtOld");
        ADD_FAILURE() << "a second control of the same name";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 5);
    }
    EXPECT_EQ(form->Site(L"txtOld").As<controls::TextBoxW>() != nullptr, true) << "the old one stays";
    try {
        form->AddControl(L"LabelW", L"lblInside", &form->Site(L"txtOld"));
        ADD_FAILURE() << "a text box holds no controls";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 5);
    }
    EXPECT_EQ(form->FindSite(L"lblInside"), nullptr);
}

TEST(NewControl, OnADesignSurfaceTheNewControlIsInDesignMode) {
    auto form = LoadForm(kAmbientForm, false);
    auto& txt = Add<controls::TextBoxW>(*form, L"TextBoxW", L"txtNew");
    EXPECT_TRUE(txt.DesignMode());
    EXPECT_EQ(txt.Text(), L"txtNew");
    auto& lbl = Add<controls::LabelW>(*form, L"LabelW", L"lblNew");
    EXPECT_TRUE(lbl.DesignMode());
    EXPECT_EQ(lbl.Caption(), L"lblNew");
    auto& fra = Add<controls::FrameW>(*form, L"FrameW", L"fraNew");
    EXPECT_EQ(fra.Caption(), L"fraNew");
    EXPECT_TRUE(fra.DesignMode());
}

// --- the extender members every control passes through ---------------------------------------

TEST(Extender, ParentContainerHelpIdAndDragSettingsComeFromTheSite) {
    auto form = LoadForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 4000\n"
                         L" Begin FrameW fra\n  Left = 120\n  Top = 120\n  Width = 4000\n  Height = 3000\n"
                         L"  Begin TextBoxW txt\n   Left = 120\n   Top = 300\n   WhatsThisHelpID = 42\n   DragMode = 1\n  End\n"
                         L"  Begin LabelW lbl\n   Left = 120\n   Top = 1200\n  End\n"
                         L" End\n"
                         L" Begin ListBoxW lst\n  Left = 4300\n  Top = 120\n End\nEnd\n",
                         true);
    auto& fra = form->Ctl<controls::FrameW>(L"fra");
    auto& txt = form->Ctl<controls::TextBoxW>(L"txt");
    auto& lst = form->Ctl<controls::ListBoxW>(L"lst");
    EXPECT_EQ(&txt.Parent(), form.get());
    EXPECT_EQ(txt.Container(), &fra.Site());
    EXPECT_EQ(lst.Container(), nullptr) << "placed on the form itself";
    ASSERT_EQ(fra.ContainedControls().size(), 2u);
    EXPECT_EQ(fra.ContainedControls()[0], &txt.Site());
    EXPECT_EQ(fra.ContainedControls()[1]->Name(), L"lbl");

    EXPECT_EQ(txt.WhatsThisHelpID(), 42);
    EXPECT_EQ(txt.DragMode(), 1);
    EXPECT_EQ(lst.DragMode(), 0);
    try {
        lst.DragMode(2);
        ADD_FAILURE() << "DragMode 2 taken";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    lst.WhatsThisHelpID(9);
    const host::PropertyBag& saved = lst.Site().SaveProperties();
    EXPECT_EQ(saved.Read(L"WhatsThisHelpID", 0L).AsLong(), 9);
    EXPECT_FALSE(saved.Contains(L"DragMode")) << "the default is not written";
}

// Where the host's twips disagree with the screen's pixels (another DPI), a control puts its
// window back at its site's rectangle whenever it is re-sized; where they agree it leaves it.
TEST(Extender, AResizeAtAnotherScaleReappliesTheSiteRectangle) {
    auto form = LoadForm(L"Begin Form F\n ClientWidth = 9000\n ClientHeight = 3000\n"
                         L" Begin TextBoxW txt\n  Left = 120\n  Top = 120\n  Width = 2000\n  Height = 600\n End\n"
                         L" Begin ListBoxW lst\n  Left = 2400\n  Top = 120\n  Width = 2000\n  Height = 1200\n  IntegralHeight = False\n End\n"
                         L" Begin FrameW fra\n  Left = 4800\n  Top = 120\n  Width = 2000\n  Height = 1200\n End\nEnd\n",
                         true);
    auto grow = [&](host::ControlSite& site) {
        HWND w = site.HostWin()->hWnd();
        RECT r = site.PixelRect();
        SetWindowPos(w, nullptr, 0, 0, r.right - r.left + 37, r.bottom - r.top + 23, SWP_NOMOVE | SWP_NOZORDER);
        Drain();
        RECT now{};
        GetWindowRect(w, &now);
        return SIZE{now.right - now.left - (r.right - r.left), now.bottom - now.top - (r.bottom - r.top)};
    };
    for (const wchar_t* name : {L"txt", L"lst", L"fra"}) {
        host::ControlSite& site = form->Site(name);
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        foundation::OverrideTwipsPerPixelCorrection(1.25);
        SIZE off = grow(site);
        EXPECT_EQ(off.cx, 0);
        EXPECT_EQ(off.cy, 0);
        foundation::OverrideTwipsPerPixelCorrection(1.0);
        off = grow(site);
        EXPECT_EQ(off.cx, 37) << "at the same scale the window keeps the size it was given";
        site.Move(site.Left(), site.Top(), site.Width(), site.Height());
    }
    foundation::OverrideTwipsPerPixelCorrection(std::nullopt);
}

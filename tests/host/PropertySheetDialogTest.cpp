// The designer's property sheet of the host with pages of its own: which pages a selection
// gets, the order of the page events, Apply on changed pages only, a failing apply keeping the
// sheet open; and the programmatic identifiers of control kinds with the error source they read.
#include "HostTestSupport.h"

#include "host/Error.h"
#include "host/Intrinsics.h"
#include "host/PropertySheetDialog.h"
#include "tests/app/MessageBoxAnswer.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace hosttest;

namespace {

constexpr int kApplyButton = 0x3021;

// A text box that names two pages, or the second alone.
class PagedEdit : public TestEdit {
public:
    std::wstring TypeName() const override { return L"PagedEdit"; }
    std::vector<std::wstring> PropertyPages() const override {
        if (Name().rfind(L"only", 0) == 0) return {L"PPSecond"};
        return {L"PPFirst", L"PPSecond"};
    }
    std::wstring PropertyPageOf(std::wstring_view property) const override {
        return property == L"Second" ? L"PPSecond" : std::wstring();
    }
};

// Writes down every event it gets; ApplyChanges copies a text into the first selected control
// or fails when told to.
class RecordingPage : public host::PropertyPage {
public:
    explicit RecordingPage(const wchar_t* caption)
        : PropertyPage(host::ParseDesign(std::wstring(L"Begin PropertyPage P\n Caption = \"") + caption +
                                         L"\"\n ClientWidth = 4500\n ClientHeight = 2000\n Begin CommandButton cmd\n"
                                         L"  Caption = \"page\"\n  Left = 120\n  Top = 120\n End\nEnd\n")) {}
    std::vector<std::wstring> events;
    std::wstring toWrite = L"applied";
    bool failApply = false;

protected:
    void PropertyPage_Initialize() override { events.push_back(L"Initialize"); }
    void PropertyPage_SelectionChanged() override {
        events.push_back(L"SelectionChanged " + std::to_wstring(SelectedControls().size()));
    }
    void PropertyPage_ApplyChanges() override {
        events.push_back(L"ApplyChanges");
        if (failApply) host::Raise(host::err::InvalidPropertyValue);
        SelectedControls().front()->As<TestEdit>()->Text(toWrite);
    }
    void PropertyPage_EditProperty(const std::wstring& name) override { events.push_back(L"EditProperty " + name); }
};

RecordingPage& PageOf(host::PropertySheetDialog& sheet, size_t i) { return dynamic_cast<RecordingPage&>(sheet.Page(i)); }

std::unique_ptr<TestForm> DesignedForm() {
    RegisterTestControls();
    host::RegisterControlKind(L"PagedEdit", [] { return std::make_unique<PagedEdit>(); });
    host::RegisterPropertyPage(L"PPFirst", [] { return std::make_unique<RecordingPage>(L"First"); });
    host::RegisterPropertyPage(L"PPSecond", [] { return std::make_unique<RecordingPage>(L"Second"); });
    auto form = std::make_unique<TestForm>(
        L"Begin Form F\n ClientWidth = 5000\n ClientHeight = 3000\n"
        L" Begin PagedEdit edit1\n  Left = 120\n  Top = 120\n  Width = 2000\n  Height = 315\n End\n"
        L" Begin PagedEdit edit2\n  Left = 120\n  Top = 600\n  Width = 2000\n  Height = 315\n End\n"
        L" Begin PagedEdit only3\n  Left = 120\n  Top = 1080\n  Width = 2000\n  Height = 315\n End\n"
        L" Begin CommandButton plain\n  Left = 120\n  Top = 1560\n End\nEnd\n");
    form->UserMode(false);
    form->Show();
    PumpUntil([&] { return IsWindowVisible(form->hWnd()) != FALSE; });
    return form;
}

void ClickButton(HWND sheet, int id) {
    HWND button = GetDlgItem(sheet, id);
    RECT rc;
    GetClientRect(button, &rc);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right / 2, rc.bottom / 2));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(rc.right / 2, rc.bottom / 2));
    Drain();
}

}  // namespace

TEST(PropertySheetDialog, TheSelectionGetsThePagesItsControlsHaveInCommon) {
    auto form = DesignedForm();
    host::PropertySheetDialog both({&form->Site(L"edit1"), &form->Site(L"edit2")});
    ASSERT_EQ(both.PageCount(), 2u);
    EXPECT_EQ(both.PageName(0), L"PPFirst");
    EXPECT_EQ(both.PageName(1), L"PPSecond");
    host::PropertySheetDialog common({&form->Site(L"edit1"), &form->Site(L"only3")});
    ASSERT_EQ(common.PageCount(), 1u);
    EXPECT_EQ(common.PageName(0), L"PPSecond");
    for (std::vector<host::ControlSite*> none : {std::vector<host::ControlSite*>{}, {&form->Site(L"plain")},
                                                 {&form->Site(L"edit1"), &form->Site(L"plain")}}) {
        try {
            host::PropertySheetDialog sheet(none);
            ADD_FAILURE() << "a sheet without pages";
        } catch (const host::Error& e) {
            EXPECT_EQ(e.Number(), 5);
        }
    }
}

TEST(PropertySheetDialog, PagesAreToldInitializeSelectionChangedAndEditPropertyInOrder) {
    auto form = DesignedForm();
    host::PropertySheetDialog sheet({&form->Site(L"edit1"), &form->Site(L"edit2")}, L"Second");
    sheet.Open(form->hWnd());
    // Opened for the property "Second", its page comes first and is the only one made yet.
    RecordingPage& second = PageOf(sheet, 1);
    RecordingPage& first = PageOf(sheet, 0);
    EXPECT_EQ(PropSheet_GetCurrentPageHwnd(sheet.hWnd()), second.PageWindow());
    EXPECT_EQ(second.events, (std::vector<std::wstring>{L"Initialize", L"SelectionChanged 2", L"EditProperty Second"}));
    EXPECT_TRUE(first.events.empty());
    EXPECT_FALSE(first.IsLoaded());
    // The page is a form of ours inside the sheet's page, its controls running (UserMode True).
    ASSERT_TRUE(second.IsLoaded());
    EXPECT_EQ(GetParent(second.hWnd()), second.PageWindow());
    EXPECT_TRUE(second.UserMode());
    EXPECT_TRUE(IsWindowVisible(second.Ctl<host::CommandButton>(L"cmd").hWnd()));
    RECT page{}, formRect{};
    GetClientRect(second.PageWindow(), &page);
    GetWindowRect(second.hWnd(), &formRect);
    EXPECT_EQ(formRect.right - formRect.left, page.right);
    EXPECT_EQ(formRect.bottom - formRect.top, page.bottom);

    // The other tab makes the other page, which is told its selection but no property.
    PropSheet_SetCurSel(sheet.hWnd(), nullptr, 0);
    Drain();
    EXPECT_EQ(first.events, (std::vector<std::wstring>{L"Initialize", L"SelectionChanged 2"}));
    sheet.Close();
    EXPECT_FALSE(sheet.IsOpen());
    EXPECT_FALSE(first.IsLoaded());
    EXPECT_FALSE(second.IsLoaded());
    EXPECT_TRUE(IsWindowEnabled(form->hWnd()));
}

TEST(PropertySheetDialog, ApplyRunsOnChangedPagesOnlyAndAFailingApplyKeepsTheSheetOpen) {
    auto form = DesignedForm();
    TestEdit& edit1 = *form->Site(L"edit1").As<TestEdit>();
    host::PropertySheetDialog sheet({&form->Site(L"edit1")});
    sheet.Open(form->hWnd());
    PropSheet_SetCurSel(sheet.hWnd(), nullptr, 1);  // both pages made
    Drain();
    RecordingPage& first = PageOf(sheet, 0);
    RecordingPage& second = PageOf(sheet, 1);
    HWND apply = GetDlgItem(sheet.hWnd(), kApplyButton);
    EXPECT_FALSE(IsWindowEnabled(apply));

    second.Changed(true);
    EXPECT_TRUE(IsWindowEnabled(apply));
    second.failApply = true;
    {
        wbtest::MessageBoxAnswer answer({IDOK});
        ClickButton(sheet.hWnd(), IDOK);
        PumpUntil([&] { return !answer.Shown().empty(); });
        ASSERT_EQ(answer.Shown().size(), 1u);
        EXPECT_EQ(answer.Shown()[0].text, L"Invalid property value");
    }
    EXPECT_TRUE(sheet.IsOpen());
    EXPECT_FALSE(sheet.Applied());
    EXPECT_TRUE(second.Changed());
    EXPECT_EQ(std::count(first.events.begin(), first.events.end(), L"ApplyChanges"), 0);

    second.failApply = false;
    ClickButton(sheet.hWnd(), kApplyButton);
    EXPECT_TRUE(PumpUntil([&] { return edit1.Text() == L"applied"; }));
    EXPECT_TRUE(sheet.Applied());
    EXPECT_FALSE(second.Changed());
    EXPECT_FALSE(IsWindowEnabled(apply));
    EXPECT_EQ(std::count(second.events.begin(), second.events.end(), L"ApplyChanges"), 2);
    EXPECT_EQ(std::count(first.events.begin(), first.events.end(), L"ApplyChanges"), 0);

    // Changed, then Cancel: nothing is applied.
    first.Changed(true);
    first.toWrite = L"cancelled";
    ClickButton(sheet.hWnd(), IDCANCEL);
    EXPECT_TRUE(PumpUntil([&] { return !sheet.IsOpen(); }));
    EXPECT_EQ(edit1.Text(), L"applied");
    EXPECT_EQ(std::count(first.events.begin(), first.events.end(), L"ApplyChanges"), 0);
    EXPECT_FALSE(sheet.Accepted());
}

TEST(PropertySheetDialog, ControlKindsAreNamedByTheProjectsIdentifierWhichErrorsCarryAsTheirSource) {
    RegisterTestControls();
    std::wstring project = host::App().ProjectName();
    EXPECT_EQ(project, L"host_tests");  // the executable's name unless the program names it
    try {
        host::Raise(host::err::InvalidProcedureCall);
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Source(), project);
        EXPECT_EQ(e.Description(), L"Invalid procedure call or argument");
    }
    EXPECT_TRUE(host::IsControlKindRegistered(project + L".TestEdit"));
    EXPECT_TRUE(host::IsControlKindRegistered(L"HOST_TESTS.testedit"));
    EXPECT_EQ(host::CreateControl(project + L".TestEdit")->TypeName(), L"TestEdit");
    EXPECT_FALSE(host::IsControlKindRegistered(L"OtherProject.TestEdit"));
    try {
        host::CreateControl(L"OtherProject.TestEdit");
        ADD_FAILURE() << "another project's identifier made a control";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 5);
    }
    host::App().ProjectName(L"Workbench");
    try {
        host::Raise(host::err::InvalidPropertyValue, L"text of its own");
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Source(), L"Workbench");
    }
    EXPECT_TRUE(host::IsControlKindRegistered(L"Workbench.TestEdit"));
    EXPECT_FALSE(host::IsControlKindRegistered(project + L".TestEdit"));
    host::App().ProjectName(project);
}

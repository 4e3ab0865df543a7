#include "HostTestSupport.h"

#include "host/Intrinsics.h"

#include <gtest/gtest.h>

using namespace host;
using hosttest::PressKey;
using hosttest::PumpUntil;
using hosttest::TestEdit;
using hosttest::TestForm;

namespace {

// TabIndex order: txtSource 0, txtMatch 2, Command1 3, hidden 4, disabled 5, Check1 6,
// Label (never), Command4 8 — stored in another order on purpose.
const wchar_t* kTabForm = LR"(Begin Form F
   ClientWidth = 9000
   ClientHeight = 5000
   Begin CommandButton Command4
      Caption = "&Run"
      Left = 120
      Top = 3000
      TabIndex = 8
   End
   Begin TestEdit txtMatch
      Left = 120
      Top = 120
      Width = 3000
      Height = 315
      TabIndex = 2
   End
   Begin CommandButton Hidden
      Caption = "Hidden"
      Left = 120
      Top = 2400
      Visible = False
      TabIndex = 4
   End
   Begin CheckBox Check1
      Caption = "Chec&k"
      Left = 3000
      Top = 2400
      Width = 1500
      TabIndex = 6
   End
   Begin CommandButton Disabled
      Caption = "Disabled"
      Left = 1500
      Top = 2400
      Enabled = False
      TabIndex = 5
   End
   Begin Label lbl
      Caption = "&Source"
      Left = 3500
      Top = 120
      TabIndex = 1
   End
   Begin TestEdit txtSource
      Left = 120
      Top = 600
      Width = 3000
      Height = 315
      TabIndex = 0
   End
   Begin CommandButton Command1
      Caption = "Presets"
      Left = 120
      Top = 1200
      TabIndex = 3
   End
End
)";

}  // namespace

class KeyboardTest : public testing::Test {
protected:
    void SetUp() override {
        hosttest::RegisterTestControls();
        form = std::make_unique<TestForm>(kTabForm);
        form->Show();
        ASSERT_TRUE(hosttest::Activate(*form));
    }
    void TearDown() override { form->Unload(); }

    std::wstring Focused() const {
        ControlSite* s = form->ActiveControl();
        return s ? s->Name() : L"(none)";
    }
    HWND EditOf(const wchar_t* name) const { return form->Ctl<TestEdit>(name).hWnd(); }

    std::unique_ptr<TestForm> form;
};

TEST_F(KeyboardTest, TabFollowsTabIndexSkippingWhatCannotTakeFocus) {
    // The form opens with the focus on TabIndex 0.
    EXPECT_EQ(Focused(), L"txtSource");
    std::vector<std::wstring> forward;
    for (int i = 0; i < 5; ++i) {
        PressKey(VK_TAB);
        forward.push_back(Focused());
    }
    EXPECT_EQ(forward, (std::vector<std::wstring>{L"txtMatch", L"Command1", L"Check1", L"Command4", L"txtSource"}));
    std::vector<std::wstring> backward;
    for (int i = 0; i < 3; ++i) {
        PressKey(VK_TAB, /*shift*/ true);
        backward.push_back(Focused());
    }
    EXPECT_EQ(backward, (std::vector<std::wstring>{L"Command4", L"Check1", L"Command1"}));
    // No tab character reached the edit boxes.
    EXPECT_EQ(form->Ctl<TestEdit>(L"txtSource").Text(), L"");

    // Showing the hidden button puts it into the cycle at its index.
    form->Site(L"Hidden").Visible(true);
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), L"Hidden");
    // Changing TabIndex renumbers: Command4 first, so Shift+Tab from txtSource reaches it.
    form->Site(L"Command4").TabIndex(0);
    EXPECT_EQ(form->Site(L"Command4").TabIndex(), 0);
    EXPECT_EQ(form->Site(L"txtSource").TabIndex(), 1);
    form->Site(L"txtSource").SetFocus();
    PressKey(VK_TAB, true);
    EXPECT_EQ(Focused(), L"Command4");
}

TEST_F(KeyboardTest, AKeyDownHandlerThatMovesTheFocusOnTabWins) {
    auto& match = form->Ctl<TestEdit>(L"txtMatch");
    auto& source = form->Ctl<TestEdit>(L"txtSource");
    std::vector<std::wstring> seen;
    // As the workbench does: Tab in the pattern box goes to the source box and back.
    match.KeyDown = [&](int& key, int shift) {
        seen.push_back(L"match " + std::to_wstring(key));
        if (key == VK_TAB) source.SetFocus();
    };
    source.KeyDown = [&](int& key, int shift) {
        seen.push_back(L"source " + std::to_wstring(key));
        if (key == VK_TAB) match.SetFocus();
    };
    EXPECT_EQ(Focused(), L"txtSource");
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), L"txtMatch");
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), L"txtSource");  // not Command1, which TabIndex order would give
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), L"txtMatch");
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"source 9", L"match 9", L"source 9"}));
    EXPECT_EQ(source.Text(), L"");
    EXPECT_EQ(match.Text(), L"");
}

TEST_F(KeyboardTest, AControlThatClaimsTabKeepsIt) {
    auto& source = form->Ctl<TestEdit>(L"txtSource");
    int tabs = 0;
    source.KeyDown = [&](int& key, int) { tabs += key == VK_TAB; };
    source.keepsTab = true;
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), L"txtSource");
    EXPECT_EQ(tabs, 1);
    source.keepsTab = false;
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), L"txtMatch");
    EXPECT_EQ(tabs, 2);
}

TEST_F(KeyboardTest, ArrowsStayInTextButMoveBetweenButtons) {
    auto& source = form->Ctl<TestEdit>(L"txtSource");
    source.Text(L"abc");
    SendMessageW(source.hWnd(), EM_SETSEL, 3, 3);
    PressKey(VK_LEFT);
    PressKey(VK_LEFT);
    DWORD start = 0, end = 0;
    SendMessageW(source.hWnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);  // the edit moved its caret; the focus stayed
    EXPECT_EQ(Focused(), L"txtSource");

    form->Site(L"Command1").SetFocus();
    PressKey(VK_RIGHT);
    EXPECT_EQ(Focused(), L"Check1");
    PressKey(VK_UP);
    EXPECT_EQ(Focused(), L"Command1");
}

TEST_F(KeyboardTest, ReturnAndEscapeReachDefaultAndCancelButtonsUnlessEaten) {
    int runs = 0, cancels = 0;
    auto& run = form->Ctl<CommandButton>(L"Command4");
    auto& presets = form->Ctl<CommandButton>(L"Command1");
    run.Click = [&] { ++runs; };
    presets.Click = [&] { ++cancels; };
    run.Default(true);
    presets.Cancel(true);
    auto& match = form->Ctl<TestEdit>(L"txtMatch");
    int returnsSeen = 0;
    match.KeyDown = [&](int& key, int) { returnsSeen += key == VK_RETURN; };
    match.SetFocus();
    PressKey(VK_RETURN);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(returnsSeen, 0);
    EXPECT_EQ(Focused(), L"txtMatch");  // the default button was pressed, not focused
    PressKey(VK_ESCAPE);
    EXPECT_EQ(cancels, 1);
    // Return on a focused button presses that button.
    form->Site(L"Command1").SetFocus();
    PressKey(VK_RETURN);
    EXPECT_EQ(cancels, 2);
    EXPECT_EQ(runs, 1);
    match.SetFocus();
    // A control that eats Return gets it itself.
    match.eatsReturn = true;
    PressKey(VK_RETURN);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(returnsSeen, 1);
    // Without a default button Return goes to the box: the workbench's pattern box runs on it.
    match.eatsReturn = false;
    run.Default(false);
    PressKey(VK_RETURN);
    EXPECT_EQ(returnsSeen, 2);
    EXPECT_EQ(runs, 1);
}

TEST_F(KeyboardTest, AccessKeysPressButtonsAndLabelsLeadToTheNextControl) {
    int runs = 0, checks = 0;
    form->Ctl<CommandButton>(L"Command4").Click = [&] { ++runs; };
    form->Ctl<CheckBox>(L"Check1").Click = [&] { ++checks; };
    PressKey('R', false, false, /*alt*/ true);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Focused(), L"Command4");
    PressKey('K', false, false, true);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(form->Ctl<CheckBox>(L"Check1").Value(), 1);
    // The label "&Source" (TabIndex 1) cannot take the focus: it goes to TabIndex 2.
    PressKey('S', false, false, true);
    EXPECT_EQ(Focused(), L"txtMatch");
}

TEST_F(KeyboardTest, ValidationCanKeepTheFocus) {
    ControlSite& source = form->Site(L"txtSource");
    int validations = 0;
    bool refuse = true;
    source.Validate = [&](bool& cancel) {
        ++validations;
        cancel = refuse;
    };
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), L"txtSource");
    EXPECT_EQ(validations, 1);
    EXPECT_THROW(form->ValidateControls(), Error);
    // A target that does not cause validation is reached without asking.
    form->Site(L"txtMatch").CausesValidation(false);
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), L"txtMatch");
    EXPECT_EQ(validations, 2);
    form->Site(L"txtSource").SetFocus();
    refuse = false;
    PressKey(VK_TAB, true);  // back to Command4, which validates: allowed now
    EXPECT_EQ(Focused(), L"Command4");
    EXPECT_EQ(validations, 3);
    // A click's activation validates first, then moves the focus: one Validate, not two.
    form->Site(L"txtSource").SetFocus();
    validations = 0;
    source.Validate = [&](bool& cancel) { ++validations; };
    form->ValidateControls();
    form->Site(L"Command1").SetFocus();
    EXPECT_EQ(Focused(), L"Command1");
    EXPECT_EQ(validations, 1);
    // The next move validates as usual.
    form->Site(L"txtSource").SetFocus();
    form->Site(L"Command1").SetFocus();
    EXPECT_EQ(validations, 2);
}

// The designer's property sheet on text boxes of a form in design mode, with the page
// PPTextBoxWText: the real comctl32 sheet, keys typed through the input queue, the Apply button
// read back as the system shows it, the editor's window sizes and styles, the designed box's text.
#include "ControlsTestSupport.h"

#include "controls/textbox/PPTextBoxWText.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlRegistry.h"
#include "host/DesignData.h"
#include "host/Error.h"
#include "host/Handles.h"
#include "host/PropertySheetDialog.h"
#include "host/Scale.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>

using controls::PPTextBoxWText;
using controls::TextBoxW;
using namespace ctltest;

namespace {

constexpr int kApplyButton = 0x3021;  // the sheet's Apply button

// A form as the designer holds it: UserMode False, two text boxes.
std::unique_ptr<host::Form> DesignedForm(const std::wstring& firstProps, const std::wstring& secondProps = L"") {
    RegisterLibraryControls();
    auto form = std::make_unique<host::Form>(host::ParseDesign(
        L"Begin Form FrmDesigned\n ClientWidth = 6000\n ClientHeight = 3000\n"
        L" Begin TextBoxW Text1\n  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 1200\n" + firstProps +
        L" End\n"
        L" Begin TextBoxW Text2\n  Left = 120\n  Top = 1500\n  Width = 3000\n  Height = 315\n" + secondProps +
        L" End\nEnd\n"));
    form->UserMode(false);
    form->Show();
    PumpUntil([&] { return IsWindowVisible(form->hWnd()) != FALSE; });
    Drain();
    return form;
}

TextBoxW& Box(host::Form& form, const wchar_t* name) { return form.Ctl<TextBoxW>(name); }

// The sheet opened modeless on the form's boxes; the test pumps the loop while it types.
struct OpenSheet {
    OpenSheet(host::Form& form, std::vector<const wchar_t*> names, const std::wstring& property = L"Text") {
        std::vector<host::ControlSite*> selection;
        for (const wchar_t* n : names) selection.push_back(&form.Site(n));
        sheet = std::make_unique<host::PropertySheetDialog>(selection, property);
        sheet->Open(form.hWnd());
        PumpUntil([&] { return IsWindowVisible(sheet->hWnd()) != FALSE; });
        Drain();
    }
    PPTextBoxWText& Page() const { return dynamic_cast<PPTextBoxWText&>(sheet->Page(0)); }
    TextBoxW& Editor() const {
        TextBoxW* editor = Page().TextObject();
        if (!editor) throw std::runtime_error("the page has no editor");
        return *editor;
    }
    HWND Button(int id) const { return GetDlgItem(sheet->hWnd(), id); }
    bool ApplyEnabled() const { return IsWindowEnabled(Button(kApplyButton)) != FALSE; }
    void Click(int id) const {
        HWND button = Button(id);
        RECT rc;
        GetClientRect(button, &rc);
        PostClick(button, {rc.right / 2, rc.bottom / 2});
    }
    bool Closed() const {
        return PumpUntil([&] { return !sheet->IsOpen(); });
    }
    std::unique_ptr<host::PropertySheetDialog> sheet;
};

SIZE WindowSize(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Windows sent WM_UPDATEUISTATE asking to show both focus and access-key cues.
std::vector<HWND> cueRequests;
LRESULT CALLBACK SpyCueRequests(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_UPDATEUISTATE &&
        m->wParam == MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL))
        cueRequests.push_back(m->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int Pixels(double twips) { return host::ScaleConverter::Screen().TwipsToPixelsY(twips); }

}  // namespace

TEST(PPTextBoxWText, TheSheetShowsThePageOfTheBoxWithOKCancelAndApply) {
    auto form = DesignedForm(L"  Text = \"设计时的文本\"\n");
    cueRequests.clear();
    host::UniqueHook spy(SetWindowsHookExW(WH_CALLWNDPROC, &SpyCueRequests, nullptr, GetCurrentThreadId()));
    OpenSheet open(*form, {L"Text1"});
    spy.Reset();
    HWND sheet = open.sheet->hWnd();
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(open.sheet->PageCount(), 1u);
    EXPECT_EQ(open.sheet->PageName(0), L"PPTextBoxWText");
    // The page's tab and the three buttons are the system sheet's own.
    HWND tab = PropSheet_GetTabControl(sheet);
    ASSERT_NE(tab, nullptr);
    wchar_t caption[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = 32;
    TabCtrl_GetItem(tab, 0, &item);
    EXPECT_STREQ(caption, L"Text");
    EXPECT_TRUE(IsWindowVisible(open.Button(IDOK)));
    EXPECT_TRUE(IsWindowVisible(open.Button(IDCANCEL)));
    EXPECT_TRUE(IsWindowVisible(open.Button(kApplyButton)));
    EXPECT_FALSE(open.ApplyEnabled());

    // The editor is a text box named TextObject on the page, created by its programmatic
    // identifier, placed at 120, 120 and 5655 wide, at run time (it raises events), in front.
    PPTextBoxWText& page = open.Page();
    TextBoxW& editor = open.Editor();
    EXPECT_EQ(editor.Name(), L"TextObject");
    EXPECT_TRUE(page.UserMode());
    EXPECT_EQ(editor.Left(), 120);
    EXPECT_EQ(editor.Top(), 120);
    EXPECT_EQ(editor.Width(), 5655);
    EXPECT_TRUE(editor.Visible());
    EXPECT_TRUE(IsChild(open.sheet->hWnd(), editor.hWnd()));
    EXPECT_EQ(GetWindow(page.hWnd(), GW_CHILD), editor.hWndUserControl());  // the front of the page
    EXPECT_EQ(WindowText(editor.hWnd()), L"设计时的文本");

    // Opened for the Text property, the editor has the focus; the page asked its window to show
    // focus and access-key cues.
    EXPECT_EQ(GetFocus(), editor.hWnd());
    EXPECT_TRUE(std::find(cueRequests.begin(), cueRequests.end(), page.hWnd()) != cueRequests.end());

    // On the screen the editor is shown: its window colour and the glyphs of its text.
    RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Drain();
    RECT rc;
    GetWindowRect(editor.hWnd(), &rc);
    MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&rc), 2);
    InflateRect(&rc, -3, -3);
    Snapshot shot = Snapshot::OfWindowRect(sheet, rc);
    COLORREF window = GetSysColor(COLOR_WINDOW);
    RECT all{0, 0, shot.Width(), shot.Height()};
    EXPECT_GT(shot.Width() * shot.Height() - shot.CountDiffering(all, window), shot.Width() * shot.Height() / 2);
    EXPECT_GT(shot.CountDiffering(all, window), 20);  // the text
}

TEST(PPTextBoxWText, ASingleLineBoxGetsAOneLineEditorAndAMultiLineBoxATallOneWithBothScrollBars) {
    auto form = DesignedForm(L"  MultiLine = True\n", L"  Text = \"one line\"\n");
    Box(*form, L"Text1").Text(L"第一行\r\n第二行");
    {
        OpenSheet open(*form, {L"Text2"});
        TextBoxW& editor = open.Editor();
        EXPECT_FALSE(editor.MultiLine());
        EXPECT_EQ(editor.ScrollBars(), 0);
        EXPECT_EQ(editor.Height(), 315);
        EXPECT_EQ(WindowSize(editor.hWndUserControl()).cy, Pixels(315));
        EXPECT_EQ(WindowSize(editor.hWnd()).cy, Pixels(315));
        LONG style = GetWindowLongW(editor.hWnd(), GWL_STYLE);
        EXPECT_FALSE(style & ES_MULTILINE);
        EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL));
        EXPECT_EQ(WindowText(editor.hWnd()), L"one line");
        open.Click(IDCANCEL);
        ASSERT_TRUE(open.Closed());
    }
    OpenSheet open(*form, {L"Text1"});
    TextBoxW& editor = open.Editor();
    EXPECT_TRUE(editor.MultiLine());
    EXPECT_EQ(editor.ScrollBars(), 3);
    EXPECT_EQ(editor.Height(), 3195);
    EXPECT_EQ(WindowSize(editor.hWnd()).cy, Pixels(3195));
    LONG style = GetWindowLongW(editor.hWnd(), GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_EQ(WindowText(editor.hWnd()), L"第一行\r\n第二行");
    EXPECT_EQ(editor.GetLineCount(), 2);
    // Loading the values raised Change in the editor, yet the page is not changed.
    EXPECT_FALSE(open.Page().Changed());
    EXPECT_FALSE(open.ApplyEnabled());
}

TEST(PPTextBoxWText, TypingMarksThePageChangedAndApplyWritesTheTextIntoTheBox) {
    auto form = DesignedForm(L"  Text = \"abc\"\n");
    TextBoxW& designed = Box(*form, L"Text1");
    OpenSheet open(*form, {L"Text1"});
    SetForegroundWindow(open.sheet->hWnd());
    PumpUntil([&] { return GetForegroundWindow() == open.sheet->hWnd(); });
    open.Editor().SetFocus();
    PressKey(VK_END);
    TypeText(L"d正");
    EXPECT_EQ(open.Editor().Text(), L"abcd正");
    EXPECT_TRUE(open.Page().Changed());
    EXPECT_TRUE(open.ApplyEnabled());
    EXPECT_EQ(designed.Text(), L"abc");  // nothing written before Apply

    form->Dirty(false);
    open.Click(kApplyButton);
    EXPECT_TRUE(PumpUntil([&] { return designed.Text() == L"abcd正"; }));
    EXPECT_EQ(WindowText(designed.hWnd()), L"abcd正");
    EXPECT_TRUE(form->Dirty());  // the designed box told its form
    EXPECT_TRUE(open.sheet->Applied());
    EXPECT_TRUE(open.sheet->IsOpen());
    // Applied, the page is unchanged again and reloaded from the box.
    EXPECT_FALSE(open.Page().Changed());
    EXPECT_FALSE(open.ApplyEnabled());
    EXPECT_EQ(open.Editor().Text(), L"abcd正");

    // OK with nothing changed applies nothing more and closes.
    designed.Text(L"set elsewhere");
    open.Click(IDOK);
    ASSERT_TRUE(open.Closed());
    EXPECT_FALSE(IsWindow(open.Button(IDOK)));
    EXPECT_EQ(designed.Text(), L"set elsewhere");
    EXPECT_TRUE(open.sheet->Accepted());
}

TEST(PPTextBoxWText, OKAppliesAndClosesAndCancelDiscards) {
    auto form = DesignedForm(L"  Text = \"old\"\n");
    TextBoxW& designed = Box(*form, L"Text1");
    {
        OpenSheet open(*form, {L"Text1"});
        SetForegroundWindow(open.sheet->hWnd());
        TypeText(L"new ");
        ASSERT_TRUE(open.ApplyEnabled());
        open.Click(IDCANCEL);
        ASSERT_TRUE(open.Closed());
        EXPECT_EQ(designed.Text(), L"old");
        EXPECT_FALSE(open.sheet->Applied());
        EXPECT_FALSE(open.sheet->Accepted());
    }
    OpenSheet open(*form, {L"Text1"});
    SetForegroundWindow(open.sheet->hWnd());
    EXPECT_EQ(open.Editor().Text(), L"old");  // the cancelled edit is gone
    open.Editor().SelStart(0);
    open.Editor().SelLength(3);
    TypeText(L"新的");
    open.Click(IDOK);
    ASSERT_TRUE(open.Closed());
    EXPECT_EQ(designed.Text(), L"新的");
    EXPECT_TRUE(open.sheet->Applied());
    EXPECT_TRUE(open.sheet->Accepted());
}

TEST(PPTextBoxWText, ReturnInTheMultiLineEditorInsertsALineBreakAndKeepsTheSheetOpen) {
    auto form = DesignedForm(L"  MultiLine = True\n  Text = \"ab\"\n");
    TextBoxW& designed = Box(*form, L"Text1");
    OpenSheet open(*form, {L"Text1"});
    SetForegroundWindow(open.sheet->hWnd());
    PumpUntil([&] { return GetForegroundWindow() == open.sheet->hWnd(); });
    ASSERT_EQ(GetFocus(), open.Editor().hWnd());
    PressKey(VK_END);
    PressKey(VK_RETURN);
    TypeText(L"cd");
    EXPECT_TRUE(open.sheet->IsOpen());
    // A real line break: carriage return and line feed, two lines in the edit window.
    EXPECT_EQ(open.Editor().Text(), L"ab\r\ncd");
    EXPECT_EQ(open.Editor().GetLineCount(), 2);
    EXPECT_TRUE(open.ApplyEnabled());
    EXPECT_EQ(designed.Text(), L"ab");

    open.Click(IDOK);
    ASSERT_TRUE(open.Closed());
    EXPECT_EQ(designed.Text(), L"ab\r\ncd");
    EXPECT_EQ(designed.GetLineCount(), 2);
}

TEST(PPTextBoxWText, ReturnInTheOneLineEditorPressesOKAndEscapeInEitherCancels) {
    auto form = DesignedForm(L"  MultiLine = True\n  Text = \"ab\"\n", L"  Text = \"x\"\n");
    TextBoxW& single = Box(*form, L"Text2");
    TextBoxW& multi = Box(*form, L"Text1");
    {
        OpenSheet open(*form, {L"Text2"});
        SetForegroundWindow(open.sheet->hWnd());
        TypeText(L"y");
        PressKey(VK_RETURN);
        ASSERT_TRUE(open.Closed());
        EXPECT_EQ(single.Text(), L"yx");
    }
    for (TextBoxW* box : {&single, &multi}) {
        std::wstring before = box->Text();
        OpenSheet open(*form, {box == &single ? L"Text2" : L"Text1"});
        SetForegroundWindow(open.sheet->hWnd());
        TypeText(L"z");
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(open.Closed()) << (box == &single ? "one line" : "multi-line");
        EXPECT_EQ(box->Text(), before);
    }
}

TEST(PPTextBoxWText, WithTwoSelectedBoxesTheFirstIsEdited) {
    auto form = DesignedForm(L"  Text = \"first\"\n", L"  Text = \"second\"\n");
    OpenSheet open(*form, {L"Text2", L"Text1"});
    EXPECT_EQ(open.Page().SelectedControls().size(), 2u);
    EXPECT_EQ(open.Editor().Text(), L"second");
    SetForegroundWindow(open.sheet->hWnd());
    TypeText(L"!");
    open.Click(IDOK);
    ASSERT_TRUE(open.Closed());
    EXPECT_EQ(Box(*form, L"Text2").Text(), L"!second");
    EXPECT_EQ(Box(*form, L"Text1").Text(), L"first");
}

TEST(PPTextBoxWText, APageWhoseEditorCannotBeCreatedStaysEmptyAndDoesNothing) {
    auto form = DesignedForm(L"  Text = \"kept\"\n");
    // From here to the end of the test the library cannot make a text box.
    struct Restore {
        ~Restore() { RegisterLibraryControls(); }
    } restore;
    host::RegisterControlKind(L"TextBoxW", []() -> std::unique_ptr<host::Control> { host::Raise(host::err::OutOfMemory); });
    OpenSheet open(*form, {L"Text1"});
    PPTextBoxWText& page = open.Page();
    EXPECT_TRUE(page.IsLoaded());
    EXPECT_EQ(page.TextObject(), nullptr);
    EXPECT_TRUE(page.Controls().empty());
    EXPECT_EQ(GetWindow(page.hWnd(), GW_CHILD), nullptr);
    SetForegroundWindow(open.sheet->hWnd());
    TypeText(L"abc");
    EXPECT_FALSE(page.Changed());
    EXPECT_FALSE(open.ApplyEnabled());
    open.Click(IDOK);
    ASSERT_TRUE(open.Closed());
    EXPECT_EQ(Box(*form, L"Text1").Text(), L"kept");
}

// The designer's own call: modal to the form, which is disabled meanwhile; a person types into
// it from the keyboard (here a second thread feeding the input queue) and presses Return.
TEST(PPTextBoxWText, ShowPropertyPagesIsModalToTheFormUntilOK) {
    auto form = DesignedForm(L"  Text = \"modal\"\n");
    HWND owner = form->hWnd();
    std::atomic<bool> ownerDisabled{false}, typed{false};
    std::thread person([&] {
        HWND sheet = nullptr;
        for (int i = 0; i < 500 && !sheet; ++i) {
            Sleep(10);
            HWND w = FindWindowW(L"#32770", nullptr);
            if (w && GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w)) sheet = w;
        }
        if (!sheet) return;
        ownerDisabled = !IsWindowEnabled(owner);
        SetForegroundWindow(sheet);
        std::vector<INPUT> keys;
        auto key = [&keys](WORD vk, wchar_t c, bool up) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = vk;
            in.ki.wScan = c ? c : static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
            in.ki.dwFlags = (c ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
            keys.push_back(in);
        };
        for (wchar_t c : std::wstring(L"模态 ")) {
            key(0, c, false);
            key(0, c, true);
        }
        SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
        typed = true;
        Sleep(300);
        keys.clear();
        key(VK_RETURN, 0, false);
        key(VK_RETURN, 0, true);
        SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
        // A sheet that Return did not end is closed, so that the test fails instead of hanging.
        for (int i = 0; i < 300 && IsWindow(sheet); ++i) Sleep(10);
        if (IsWindow(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
    });
    bool applied = form->ShowPropertyPages({&form->Site(L"Text1")}, L"Text");
    person.join();
    EXPECT_TRUE(typed);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(applied);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(Box(*form, L"Text1").Text(), L"模态 modal");
}

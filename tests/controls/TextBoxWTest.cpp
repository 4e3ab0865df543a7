// TextBoxW on a real form: the edit window it creates, text and Change, keys typed through the
// input queue, selection, re-creation and the 380 convention.
#include "ControlsTestSupport.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/textbox/TextBoxW.h"
#include "host/DesignData.h"
#include "host/Error.h"
#include "host/Intrinsics.h"
#include "host/Scale.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using controls::TextBoxW;
using namespace ctltest;

namespace {

std::unique_ptr<host::Form> FormWithBox(const std::wstring& props) {
    return ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 4000\n"
                    L" Begin TextBoxW txt\n  Left = 120\n  Top = 120\n  Width = 4000\n  Height = 1500\n" +
                    props + L" End\nEnd\n");
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// The balloon tip showing now, if any.
HWND VisibleTip() {
    HWND tip = nullptr;
    PumpUntil([&] {
        tip = FindWindowW(L"tooltips_class32", nullptr);
        while (tip && !IsWindowVisible(tip)) tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr);
        return tip != nullptr;
    }, 300);
    return tip;
}

LONG Style(HWND hwnd) { return GetWindowLongW(hwnd, GWL_STYLE); }
LONG ExStyle(HWND hwnd) { return GetWindowLongW(hwnd, GWL_EXSTYLE); }

}  // namespace

TEST(TextBoxW, BuildsAnEditWindowWithTheStylesItsPropertiesImply) {
    auto form = FormWithBox(L"  Text = \"正则 test\"\n  MultiLine = True\n  ScrollBars = 2\n  HideSelection = False\n"
                            L"  BorderStyle = 0\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    HWND edit = box.hWnd();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(ClassOf(edit), L"Edit");
    EXPECT_EQ(GetParent(edit), box.hWndUserControl());
    EXPECT_EQ(WindowText(edit), L"正则 test");
    EXPECT_TRUE(Style(edit) & ES_MULTILINE);
    EXPECT_TRUE(Style(edit) & WS_VSCROLL);
    EXPECT_FALSE(Style(edit) & WS_HSCROLL);
    EXPECT_TRUE(Style(edit) & ES_NOHIDESEL);
    EXPECT_FALSE(ExStyle(edit) & WS_EX_CLIENTEDGE);
    RECT host{}, child{};
    GetClientRect(box.hWndUserControl(), &host);
    GetWindowRect(edit, &child);
    EXPECT_EQ(child.right - child.left, host.right);
    EXPECT_EQ(child.bottom - child.top, host.bottom);

    // The default border is the sunken client edge; an out-of-range value keeps it.
    auto plain = FormWithBox(L"");
    auto& other = plain->Ctl<TextBoxW>(L"txt");
    EXPECT_TRUE(ExStyle(other.hWnd()) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(Style(other.hWnd()) & ES_AUTOHSCROLL);
    try {
        other.BorderStyle(5);
        ADD_FAILURE() << "BorderStyle 5 accepted";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 380);
        EXPECT_EQ(e.Description(), L"Invalid property value");
    }
    EXPECT_EQ(other.BorderStyle(), 3);
    other.BorderStyle(0);
    EXPECT_FALSE(ExStyle(other.hWnd()) & WS_EX_CLIENTEDGE);
}

TEST(TextBoxW, ExtenderMovesAndHidesTheBoxAndTheEditWindowFollows) {
    auto form = FormWithBox(L"");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    box.Move(300, 450, 2400, 600);
    EXPECT_DOUBLE_EQ(box.Left(), 300);
    EXPECT_DOUBLE_EQ(box.Width(), 2400);
    RECT host{}, edit{};
    GetClientRect(box.hWndUserControl(), &host);
    GetWindowRect(box.hWnd(), &edit);
    EXPECT_EQ(host.right, host::ScaleConverter::Screen().TwipsToPixelsX(2400));
    EXPECT_EQ(edit.right - edit.left, host.right);
    EXPECT_EQ(edit.bottom - edit.top, host.bottom);
    box.Visible(false);
    EXPECT_FALSE(IsWindowVisible(box.hWnd()));
    box.Visible(true);
    EXPECT_TRUE(IsWindowVisible(box.hWnd()));
}

TEST(TextBoxW, TextSetterRaisesChangeOnlyForADifferentTextAndHonoursMaxLength) {
    auto form = FormWithBox(L"  Text = \"abc\"\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    int changes = 0;
    box.Change = [&] { ++changes; };
    box.Text(L"abc");
    EXPECT_EQ(changes, 0);
    box.Text(L"xyz");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(WindowText(box.hWnd()), L"xyz");
    box.MaxLength(5);
    box.Text(L"12345678");
    EXPECT_EQ(box.Text(), L"12345");
    EXPECT_EQ(changes, 2);

    // Persisted as UTF-16 bytes, so text outside the local code page survives.
    host::PropertyBag bag;
    box.MaxLength(0);
    box.Text(L"源文本 ✓ 𝄞");
    box.WriteProperties(bag);
    EXPECT_EQ(bag.Read(L"Text").GetKind(), host::Value::Kind::Bytes);
    EXPECT_EQ(bag.Read(L"Text").AsString(), L"源文本 ✓ 𝄞");
}

TEST(TextBoxW, MultiLineBoxRaisesChangeForTypingAndForForeignSetText) {
    auto form = FormWithBox(L"  MultiLine = True\n  Text = \"\"\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    ASSERT_TRUE(Activate(*form));
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));
    int changes = 0;
    std::vector<int> keys;
    box.Change = [&] { ++changes; };
    box.KeyDown = [&](int& keyCode, int shift) { keys.push_back(keyCode * 10 + shift); };
    PressKey('Q');
    EXPECT_EQ(box.Text(), L"q");
    EXPECT_EQ(changes, 1);
    PressKey('A', false, true);
    ASSERT_GE(keys.size(), 2u);
    EXPECT_EQ(keys.front(), 'Q' * 10);
    EXPECT_NE(std::find(keys.begin(), keys.end(), 'A' * 10 + 2), keys.end()) << "Ctrl+A reaches KeyDown with Shift 2";

    changes = 0;
    SendMessageW(box.hWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"from outside"));
    EXPECT_EQ(changes, 1);
    SendMessageW(box.hWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"from outside"));
    EXPECT_EQ(changes, 1);
}

TEST(TextBoxW, KeyPressHandlerCanSwallowOrReplaceTheCharacter) {
    auto form = FormWithBox(L"  Text = \"\"\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    ASSERT_TRUE(Activate(*form));
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));
    box.KeyPress = [](int& keyChar) {
        if (keyChar == 'x') keyChar = 0;
        if (keyChar == 'y') keyChar = L'丫';
    };
    TypeText(L"axyb");
    EXPECT_EQ(box.Text(), L"a丫b");
}

TEST(TextBoxW, SelStartCollapsesAndSelLengthExtendsAlsoBeyondSixtyFourK) {
    auto form = FormWithBox(L"  MultiLine = True\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    box.Text(L"0123456789");
    box.SelStart(3);
    DWORD end = 0;
    EXPECT_EQ(SelectionOf(box.hWnd(), &end), 3u);
    EXPECT_EQ(end, 3u);
    box.SelLength(2);
    EXPECT_EQ(SelectionOf(box.hWnd(), &end), 3u);
    EXPECT_EQ(end, 5u);
    EXPECT_EQ(box.SelText(), L"34");
    EXPECT_THROW(box.SelStart(-1), host::Error);
    EXPECT_THROW(box.SelLength(-1), host::Error);
    EXPECT_EQ(box.SelLength(), 2);

    // A match far into a long source text is selected where it is, not 64K earlier.
    std::wstring longText;
    while (longText.size() < 100000) longText += std::wstring(78, L'a') + L"\r\n";
    longText.replace(70000, 3, L"xyz");
    box.Text(longText);
    box.SelStart(70000);
    box.SelLength(3);
    EXPECT_EQ(box.SelStart(), 70000);
    EXPECT_EQ(box.SelLength(), 3);
    EXPECT_EQ(box.SelText(), L"xyz");
}

TEST(TextBoxW, RecreationKeepsTextSelectionAndScrollAndStillRaisesEvents) {
    auto form = FormWithBox(L"  MultiLine = True\n  ScrollBars = 2\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    std::wstring text;
    for (int i = 0; i < 200; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
    box.Text(text);
    box.ScrollToLine(50);
    box.SelStart(12);
    box.SelLength(4);
    int scroll = GetScrollPos(box.hWnd(), SB_VERT);
    ASSERT_GT(scroll, 0);
    HWND before = box.hWnd();

    box.ScrollBars(3);
    HWND after = box.hWnd();
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(Style(after) & WS_HSCROLL);
    EXPECT_EQ(box.Text(), text);
    EXPECT_EQ(box.SelStart(), 12);
    EXPECT_EQ(box.SelLength(), 4);
    EXPECT_EQ(GetScrollPos(after, SB_VERT), scroll);

    box.HideSelection(false);
    EXPECT_TRUE(Style(box.hWnd()) & ES_NOHIDESEL);
    box.MultiLine(false);
    EXPECT_FALSE(Style(box.hWnd()) & ES_MULTILINE);
    EXPECT_EQ(box.SelStart(), 12);

    // The new window is subclassed once: one Change per typed character.
    ASSERT_TRUE(Activate(*form));
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));
    int changes = 0;
    box.Change = [&] { ++changes; };
    TypeText(L"z");
    EXPECT_EQ(changes, 1);
}

TEST(TextBoxW, LinesCountFromOneAndOutOfRangeLinesRaise380) {
    auto form = FormWithBox(L"  MultiLine = True\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    box.Text(L"first\r\n\r\nthird");
    EXPECT_EQ(box.GetLineCount(), 3);
    EXPECT_EQ(box.GetLine(1), L"first");
    EXPECT_EQ(box.GetLine(2), L"");
    EXPECT_EQ(box.GetLine(3), L"third");
    box.SelStart(9);  // inside "third"
    EXPECT_EQ(box.GetLine(0), L"third");
    EXPECT_EQ(box.GetLineFromChar(-1), 3);
    EXPECT_EQ(box.GetLineFromChar(0), 1);
    EXPECT_THROW(box.GetLine(4), host::Error);
    EXPECT_THROW(box.GetLine(-1), host::Error);
    EXPECT_THROW(box.GetLineFromChar(-2), host::Error);
}

TEST(TextBoxW, ClickNeedsPressAndReleaseInsideTheBox) {
    auto form = FormWithBox(L"");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    std::vector<std::wstring> log;
    box.MouseDown = [&](int b, int, float, float) { log.push_back(L"down" + std::to_wstring(b)); };
    box.MouseUp = [&](int b, int, float, float) { log.push_back(L"up" + std::to_wstring(b)); };
    box.Click = [&] { log.push_back(L"click"); };
    // The right button's release brings the context menu; the handler keeps the system's away.
    box.ContextMenu = [&](bool& handled, float, float) { handled = true; };
    PostClick(box.hWnd(), {10, 5}, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"down2", L"up2", L"click"}));
    log.clear();
    PostClick(box.hWnd(), {10, 5}, WM_LBUTTONDOWN, WM_LBUTTONUP, {5000, 5});
    EXPECT_EQ(log, (std::vector<std::wstring>{L"down1", L"up1"}));
}

TEST(TextBoxW, SetFocusGoesThroughTheHostWindowIntoTheEditWindow) {
    auto form = ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 3000\n"
                         L" Begin TextBoxW a\n  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 315\n  TabIndex = 0\n End\n"
                         L" Begin TextBoxW b\n  Left = 120\n  Top = 600\n  Width = 3000\n  Height = 315\n  TabIndex = 1\n End\n"
                         L"End\n");
    auto& a = form->Ctl<TextBoxW>(L"a");
    auto& b = form->Ctl<TextBoxW>(L"b");
    ASSERT_TRUE(Activate(*form));
    b.SetFocus();
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == b.hWnd(); }));
    // A KeyDown handler moving the focus on Tab, as the pattern box does.
    b.KeyDown = [&](int& keyCode, int) {
        if (keyCode == VK_TAB) a.SetFocus();
    };
    PressKey(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == a.hWnd(); }));
}

TEST(TextBoxW, DigitsOnlyBoxRefusesAPasteWithOtherCharacters) {
    auto form = FormWithBox(L"  AllowOnlyNumbers = True\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    box.Text(L"");
    auto setClipboard = [&](const wchar_t* text) {
        ASSERT_TRUE(OpenClipboard(box.hWnd()));
        EmptyClipboard();
        size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
        memcpy(GlobalLock(mem), text, bytes);
        GlobalUnlock(mem);
        SetClipboardData(CF_UNICODETEXT, mem);  // the clipboard owns it now
        CloseClipboard();
    };
    setClipboard(L"12a");
    box.Paste();
    EXPECT_EQ(box.Text(), L"");
    setClipboard(L"123");
    box.Paste();
    EXPECT_EQ(box.Text(), L"123");
}

TEST(TextBoxW, KeyRoutingKeepsTabAndReturnOnlyWhenTheBoxAsksForThem) {
    auto form = ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 4000\n"
                         L" Begin TextBoxW txt\n  Left = 120\n  Top = 120\n  Width = 3000\n  Height = 1500\n"
                         L"  MultiLine = True\n  WantReturn = True\n  TabIndex = 0\n End\n"
                         L" Begin TextBoxW other\n  Left = 120\n  Top = 1800\n  Width = 3000\n  Height = 315\n  TabIndex = 1\n End\n"
                         L" Begin CommandButton cmd\n  Caption = \"OK\"\n  Default = True\n  Left = 3300\n  Top = 120\n"
                         L"  Width = 1200\n  Height = 375\n  TabIndex = 2\n End\n"
                         L"End\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    auto& other = form->Ctl<TextBoxW>(L"other");
    int pressed = 0;
    form->Ctl<host::CommandButton>(L"cmd").Click = [&] { ++pressed; };
    box.Text(L"");
    ASSERT_TRUE(Activate(*form));
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));

    // Return: the box eats it (multi-line with WantReturn), so it is a new line, not the button.
    PressKey(VK_RETURN);
    EXPECT_EQ(box.Text(), L"\r\n");
    EXPECT_EQ(pressed, 0);

    // Tab: a new line's worth of text only when PreviewKeyDown says it is an input key.
    bool wantTab = true;
    std::vector<int> previews;
    box.PreviewKeyDown = [&](int keyCode, bool& isInputKey) {
        previews.push_back(keyCode);
        if (keyCode == VK_TAB) isInputKey = wantTab;
    };
    PressKey(VK_TAB);
    EXPECT_EQ(box.Text(), L"\r\n\t");
    EXPECT_EQ(GetFocus(), box.hWnd());
    wantTab = false;
    PressKey(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == other.hWnd(); }));
    EXPECT_EQ(box.Text(), L"\r\n\t");
    EXPECT_EQ(previews, (std::vector<int>{VK_TAB, VK_TAB}));

    // Without WantReturn the form's default button takes Return.
    box.WantReturn(false);
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));
    PressKey(VK_RETURN);
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(box.Text(), L"\r\n\t");
}

TEST(TextBoxW, ReturnInASingleLineBoxReachesKeyDown) {
    auto form = FormWithBox(L"  Height = 315\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    ASSERT_TRUE(Activate(*form));
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));
    std::vector<int> codes;
    box.KeyDown = [&](int& keyCode, int shift) { codes.push_back(keyCode); };
    PressKey(VK_RETURN);
    PressKey(VK_LEFT);
    EXPECT_EQ(codes, (std::vector<int>{VK_RETURN, VK_LEFT}));
}

TEST(TextBoxW, MarginsAndBalloonTipsFollowTheirRules) {
    auto form = FormWithBox(L"  Height = 315\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    DWORD fontDefault = static_cast<DWORD>(SendMessageW(box.hWnd(), EM_GETMARGINS, 0, 0));
    box.LeftMargin(300);
    EXPECT_EQ(LOWORD(SendMessageW(box.hWnd(), EM_GETMARGINS, 0, 0)), host::ScaleConverter::Screen().TwipsToPixelsX(300));
    EXPECT_NEAR(box.LeftMargin(), 300, 15);
    box.LeftMargin(-1);
    EXPECT_EQ(static_cast<DWORD>(SendMessageW(box.hWnd(), EM_GETMARGINS, 0, 0)), fontDefault);
    EXPECT_THROW(box.RightMargin(-2), host::Error);

    foundation::OverrideComCtlVersionLevel(1);
    EXPECT_THROW(box.ShowBalloonTip(L"text", L"title", 4), host::Error);
    foundation::OverrideComCtlVersionLevel(0);
    EXPECT_FALSE(box.ShowBalloonTip(L"text", L"title", 1));
    // Without a tip to show the icon is not looked at: False, no error.
    EXPECT_FALSE(box.ShowBalloonTip(L"text", L"title", 4));

    // With comctl32 6 the tip shows (ours where the edit window has none) and goes with the
    // next key.
    foundation::OverrideComCtlVersionLevel(1);
    ASSERT_TRUE(Activate(*form));
    EXPECT_TRUE(box.ShowBalloonTip(L"余额不足", L"提示", 2));
    EXPECT_EQ(GetFocus(), box.hWnd());
    HWND tip = VisibleTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(WindowText(tip), L"余额不足");
    PressKey(VK_RIGHT);
    EXPECT_EQ(VisibleTip(), nullptr);
    EXPECT_TRUE(box.ShowBalloonTip(L"again", L"", 0));
    EXPECT_TRUE(box.HideBalloonTip());
    EXPECT_EQ(VisibleTip(), nullptr);
    foundation::OverrideComCtlVersionLevel(std::nullopt);
}

TEST(TextBoxW, NegativeSelectionRaises380AlsoOnADesignSurface) {
    RegisterLibraryControls();
    host::Form form(host::ParseDesign(L"Begin Form F\n Begin TextBoxW txt\n  Width = 3000\n  Height = 315\n"
                                      L"  Text = \"abcdef\"\n End\nEnd\n"));
    form.UserMode(false);
    form.Load();
    auto& box = form.Ctl<TextBoxW>(L"txt");
    box.SelStart(2);
    box.SelLength(3);
    for (auto set : {+[](TextBoxW& b) { b.SelStart(-1); }, +[](TextBoxW& b) { b.SelLength(-1); }}) {
        try {
            set(box);
            ADD_FAILURE() << "negative selection accepted";
        } catch (const host::Error& e) {
            EXPECT_EQ(e.Number(), 380);
        }
    }
    EXPECT_EQ(box.SelStart(), 2);
    EXPECT_EQ(box.SelLength(), 3);
    form.Unload();
}

TEST(TextBoxW, OvertypeReplacesInsideALineAndInsertsAtItsEndOrOverASelection) {
    auto form = FormWithBox(L"  AllowOverType = True\n  Height = 315\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    ASSERT_TRUE(Activate(*form));
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));
    box.Text(L"abc");
    PressKey(VK_INSERT);
    EXPECT_TRUE(box.OverTypeMode());
    box.SelStart(1);
    TypeText(L"X");
    EXPECT_EQ(box.Text(), L"aXc");
    box.SelStart(3);
    TypeText(L"Y");
    EXPECT_EQ(box.Text(), L"aXcY");
    box.SelStart(0);
    box.SelLength(2);
    TypeText(L"Z");
    EXPECT_EQ(box.Text(), L"ZcY");
    box.AllowOverType(false);
    EXPECT_FALSE(box.OverTypeMode());
    box.SelStart(0);
    TypeText(L"Q");
    EXPECT_EQ(box.Text(), L"QZcY");
}

TEST(TextBoxW, PasswordCharTakesOneCharacterOrNone) {
    auto form = FormWithBox(L"  Height = 315\n  PasswordChar = 42\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    EXPECT_EQ(SendMessageW(box.hWnd(), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(box.PasswordChar(), L"*");
    EXPECT_THROW(box.PasswordChar(L"ab"), host::Error);
    EXPECT_EQ(box.PasswordChar(), L"*");
    box.PasswordChar(L"");
    EXPECT_EQ(SendMessageW(box.hWnd(), EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_EQ(box.PasswordChar(), L"");
    // The system's own character takes precedence and survives a re-creation.
    box.UseSystemPasswordChar(true);
    EXPECT_TRUE(GetWindowLongW(box.hWnd(), GWL_STYLE) & ES_PASSWORD);
    box.PasswordChar(L"ab");  // neither checked nor sent while the system's character is in use
    EXPECT_TRUE(GetWindowLongW(box.hWnd(), GWL_STYLE) & ES_PASSWORD);
}

TEST(TextBoxW, RightToLeftAndMouseIconApplyToTheLiveWindow) {
    auto form = FormWithBox(L"  Height = 315\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    HWND edit = box.hWnd();
    box.RightToLeft(true);
    EXPECT_EQ(box.hWnd(), edit) << "no re-creation";
    EXPECT_TRUE(ExStyle(edit) & WS_EX_RTLREADING);
    box.RightToLeft(false);
    EXPECT_FALSE(ExStyle(edit) & WS_EX_RTLREADING);

    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    EXPECT_THROW(box.MouseIcon(foundation::PictureFromBitmap(bitmap, true)), host::Error);
    EXPECT_FALSE(box.MouseIcon());
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(desc);
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
    host::Picture icon;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(icon.Receive())), S_OK);
    box.MouseIcon(icon);
    EXPECT_TRUE(box.MouseIcon());
}

namespace {

// Validates `text` with NetAddressType `type`; the error number, or 0 and the four results.
struct Validation {
    long error = 0;
    std::wstring description;
    long format = 0;
    std::wstring address;
    long port = 0;
    long prefix = 0;
};

Validation Validate(TextBoxW& box, long type, const std::wstring& text) {
    box.NetAddressType(type);
    box.Text(text);
    Validation v;
    try {
        box.ValidateNetAddress();
    } catch (const host::Error& e) {
        v.error = e.Number();
        v.description = e.Description();
    }
    v.format = box.NetAddressFormat();
    v.address = box.NetAddressString();
    v.port = box.NetAddressPortNumber();
    v.prefix = box.NetAddressPrefixLength();
    return v;
}

constexpr long WrongType = 87;
constexpr long Invalid = static_cast<long>(0x80070057);

}  // namespace

TEST(TextBoxW, NetAddressValidatorNeedsTheSwitchAndComCtl61AndFallsBackToAnEditWindow) {
    auto form = FormWithBox(L"  Height = 315\n  Text = \"10.0.0.1\"\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    try {
        box.ValidateNetAddress();
        ADD_FAILURE() << "validated with the validator off";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 5);
        EXPECT_EQ(e.Description(), L"Procedure call can't be carried out as property NetAddressValidator is False.");
    }
    foundation::OverrideComCtlVersionLevel(1);
    HWND before = box.hWnd();
    box.NetAddressValidator(true);
    EXPECT_EQ(box.hWnd(), before) << "re-created below comctl32 6.1";
    try {
        box.ValidateNetAddress();
        ADD_FAILURE() << "validated below comctl32 6.1";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 5);
        EXPECT_EQ(e.Description(),
                  L"To use this functionality, you must provide a manifest specifying comctl32.dll version 6.1 or higher.");
    }
    EXPECT_THROW(box.NetAddressType(20), host::Error);
    EXPECT_EQ(box.NetAddressType(), 0);

    // At 6.1 the window is re-created, here as a plain edit window since the system has no
    // address window class, keeping the text; the results are reset by the switch.
    foundation::OverrideComCtlVersionLevel(2);
    box.NetAddressValidator(false);
    box.NetAddressValidator(true);
    HWND edit = box.hWnd();
    ASSERT_NE(edit, nullptr);
    wchar_t cls[64] = {};
    GetClassNameW(edit, cls, 64);
    if (GetProcAddress(GetModuleHandleW(L"shell32.dll"), "InitNetworkAddressControl") == nullptr) {
        EXPECT_STREQ(cls, L"Edit");
    }
    EXPECT_EQ(WindowText(edit), L"10.0.0.1");
    box.NetAddressType(16);
    box.ValidateNetAddress();
    EXPECT_EQ(box.NetAddressString(), L"10.0.0.1");
    box.NetAddressValidator(true);
    EXPECT_EQ(box.NetAddressString(), L"");
    EXPECT_EQ(box.NetAddressFormat(), 0);

    // Stored under their names and read back into a new box that validates the same way.
    host::PropertyBag bag;
    box.WriteProperties(bag);
    EXPECT_EQ(bag.Read(L"NetAddressValidator").AsBool(), true);
    EXPECT_EQ(bag.Read(L"NetAddressType").AsLong(), 16);
    auto copy = FormWithBox(L"  Height = 315\n  NetAddressValidator = True\n  NetAddressType = 1\n  Text = \"www.example.com\"\n");
    auto& other = copy->Ctl<TextBoxW>(L"txt");
    EXPECT_TRUE(other.NetAddressValidator());
    EXPECT_EQ(other.NetAddressType(), 1);
    try {
        other.ValidateNetAddress();
        ADD_FAILURE() << "a name passed as an IPv4 address";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), WrongType);
        EXPECT_EQ(e.Description(), L"The network address string is not of any type specified.");
    }
    foundation::OverrideComCtlVersionLevel(std::nullopt);
}

TEST(TextBoxW, ValidateNetAddressAcceptsEveryFormOnlyWhereItsTypeAllowsIt) {
    foundation::OverrideComCtlVersionLevel(2);
    auto form = FormWithBox(L"  Height = 315\n  NetAddressValidator = True\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    struct Case {
        long type;
        const wchar_t* text;
        long error;
        long format;
        const wchar_t* address;
        long port, prefix;
    };
    const Case cases[] = {
        // IPv4 forms
        {1, L"192.168.1.20", 0, 2, L"192.168.1.20", 0, 0},
        {1, L"  8.8.4.4 ", 0, 2, L"8.8.4.4", 0, 0},
        {1, L"256.1.1.1", Invalid, 0, L"", 0, 0},
        {1, L"1.2.3", Invalid, 0, L"", 0, 0},
        {1, L"1.2.3.4:80", WrongType, 0, L"", 0, 0},
        {2, L"10.1.2.3:8080", 0, 2, L"10.1.2.3", 8080, 0},
        {2, L"10.1.2.3:65536", Invalid, 0, L"", 0, 0},
        {2, L"10.1.2.3", WrongType, 0, L"", 0, 0},
        {3, L"172.16.0.0/12", 0, 2, L"172.16.0.0", 0, 12},
        {3, L"172.16.0.0/33", Invalid, 0, L"", 0, 0},
        // IPv6 forms
        {4, L"fe80::1%12", 0, 3, L"FE80:0:0:0:0:0:0:1", 0, 0},
        {4, L"2001:db8:0:0:1:0:0:ab", 0, 3, L"2001:DB8:0:0:1:0:0:AB", 0, 0},
        {5, L"fe80::1%12", WrongType, 0, L"", 0, 0},
        {5, L"::ffff:192.0.2.1", 0, 3, L"0:0:0:0:0:FFFF:C000:201", 0, 0},
        {5, L"::", 0, 3, L"0:0:0:0:0:0:0:0", 0, 0},
        {5, L"1::2::3", Invalid, 0, L"", 0, 0},
        {5, L"12345::1", Invalid, 0, L"", 0, 0},
        {5, L"1:2:3:4:5:6:7", Invalid, 0, L"", 0, 0},
        {6, L"[fe80::2%3]:443", 0, 3, L"FE80:0:0:0:0:0:0:2", 443, 0},
        {7, L"[fe80::2%3]:443", WrongType, 0, L"", 0, 0},
        {7, L"[2001:db8::5]:21", 0, 3, L"2001:DB8:0:0:0:0:0:5", 21, 0},
        {7, L"[2001:db8::5]", Invalid, 0, L"", 0, 0},
        {8, L"2001:db8::/48", 0, 3, L"2001:DB8:0:0:0:0:0:0", 0, 48},
        {8, L"2001:db8::/129", Invalid, 0, L"", 0, 0},
        // names
        {9, L"www.example.com", 0, 1, L"www.example.com", 0, 0},
        {9, L"localhost", 0, 1, L"localhost", 0, 0},
        {9, L"-bad.example", Invalid, 0, L"", 0, 0},
        {9, L"a..b", Invalid, 0, L"", 0, 0},
        {9, L"has space.com", Invalid, 0, L"", 0, 0},
        {9, L"10.0.0.1", WrongType, 0, L"", 0, 0},
        {10, L"mail.example.org:25", 0, 1, L"mail.example.org", 25, 0},
        {10, L"mail.example.org", WrongType, 0, L"", 0, 0},
        // the combined masks
        {11, L"10.0.0.1", 0, 2, L"10.0.0.1", 0, 0},
        {11, L"::1", 0, 3, L"0:0:0:0:0:0:0:1", 0, 0},
        {12, L"fe80::1%1", WrongType, 0, L"", 0, 0},
        {13, L"1.2.3.4:5", 0, 2, L"1.2.3.4", 5, 0},
        {13, L"[::1]:5", 0, 3, L"0:0:0:0:0:0:0:1", 5, 0},
        {14, L"[::1%2]:5", WrongType, 0, L"", 0, 0},
        {15, L"10.0.0.0/8", 0, 2, L"10.0.0.0", 0, 8},
        {15, L"fd00::/8", 0, 3, L"FD00:0:0:0:0:0:0:0", 0, 8},
        {16, L"host.example", 0, 1, L"host.example", 0, 0},
        {16, L"host.example:80", WrongType, 0, L"", 0, 0},
        {17, L"fe80::1%4", WrongType, 0, L"", 0, 0},
        {18, L"host.example:80", 0, 1, L"host.example", 80, 0},
        {18, L"[fe80::1%4]:80", 0, 3, L"FE80:0:0:0:0:0:0:1", 80, 0},
        {19, L"[fe80::1%4]:80", WrongType, 0, L"", 0, 0},
        {0, L"10.0.0.1", WrongType, 0, L"", 0, 0},
    };
    for (const Case& c : cases) {
        Validation v = Validate(box, c.type, c.text);
        SCOPED_TRACE(testing::Message() << "type " << c.type << " \"" << std::string(c.text, c.text + wcslen(c.text)) << "\"");
        EXPECT_EQ(v.error, c.error);
        EXPECT_EQ(v.format, c.format);
        EXPECT_EQ(v.address, c.address);
        EXPECT_EQ(v.port, c.port);
        EXPECT_EQ(v.prefix, c.prefix);
    }

    // The remaining rows of the error table, with the results left reset.
    Validation empty = Validate(box, 16, L"   ");
    EXPECT_EQ(empty.error, 380);
    EXPECT_EQ(empty.description, L"There is no network address string to validate.");
    EXPECT_EQ(empty.format, 0);
    EXPECT_EQ(Validate(box, 16, L"not an address!").description, L"The network address string is invalid.");
    std::wstring longName;
    for (int i = 0; i < 5; ++i) longName += std::wstring(60, L'a') + L".";
    longName += L"com";
    Validation tooLong = Validate(box, 9, longName);
    EXPECT_EQ(tooLong.error, 122);
    EXPECT_EQ(tooLong.description, L"The out buffer is too small to hold the parsed network address.");
    EXPECT_EQ(tooLong.address, L"");
    // A good validation after a bad one replaces the reset results.
    Validation good = Validate(box, 10, L"例子.中国:8080");
    EXPECT_EQ(good.error, 0);
    EXPECT_EQ(good.address, L"例子.中国");
    EXPECT_EQ(good.port, 8080);

    // The error tip: the box takes the focus and a balloon shows the failure.
    ASSERT_TRUE(Activate(*form));
    Validate(box, 1, L"999.1.1.1");
    box.ShowNetAddressErrorTip();
    EXPECT_EQ(GetFocus(), box.hWnd());
    HWND tip = VisibleTip();
    ASSERT_NE(tip, nullptr) << "no balloon shown";
    EXPECT_EQ(WindowText(tip), L"IPv4 address: 192.168.0.1");
    foundation::OverrideComCtlVersionLevel(std::nullopt);
}

TEST(TextBoxW, FontAndColoursShowOnTheLiveWindow) {
    auto form = FormWithBox(L"  Height = 600\n  Text = \"MMMM\"\n  BorderStyle = 0\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    HWND edit = box.hWnd();
    host::FontDesc big;
    big.name = L"Tahoma";
    big.size = 20;
    big.Bold(true);
    HFONT before = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
    box.Font(big);
    HFONT now = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
    ASSERT_NE(now, nullptr);
    EXPECT_NE(now, before);
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(now, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(lf.lfWeight, 700);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(-lf.lfHeight, MulDiv(20, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(GetObjectType(before), 0u) << "the replaced font was deleted";

    // Red on green: the background is green, and the text draws in red.
    box.BackColor(RGB(0, 255, 0));
    box.ForeColor(RGB(255, 0, 0));
    Drain();
    Snapshot shot = Snapshot::OfClient(edit);
    EXPECT_EQ(shot.At(shot.Width() - 3, shot.Height() - 3), RGB(0, 255, 0));
    RECT all{0, 0, shot.Width(), shot.Height()};
    int notGreen = shot.CountDiffering(all, RGB(0, 255, 0));
    EXPECT_GT(notGreen, 50) << "the text is drawn";
    int red = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) red += shot.At(x, y) == RGB(255, 0, 0);
    EXPECT_GT(red, 20);
}

TEST(TextBoxW, CasingAlignmentAndLockedReachTheEditWindow) {
    auto form = FormWithBox(L"  Height = 315\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    ASSERT_TRUE(Activate(*form));
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));
    box.Text(L"");
    box.CharacterCasing(1);
    TypeText(L"abC");
    EXPECT_EQ(box.Text(), L"ABC");
    box.CharacterCasing(2);
    TypeText(L"DeF");
    EXPECT_EQ(box.Text(), L"ABCdef");
    EXPECT_THROW(box.CharacterCasing(3), host::Error);
    EXPECT_EQ(box.CharacterCasing(), 2);
    box.CharacterCasing(0);
    TypeText(L"Gh");
    EXPECT_EQ(box.Text(), L"ABCdefGh");

    box.Alignment(2);
    EXPECT_EQ(Style(box.hWnd()) & (ES_CENTER | ES_RIGHT), ES_CENTER);
    box.Alignment(1);
    EXPECT_EQ(Style(box.hWnd()) & (ES_CENTER | ES_RIGHT), ES_RIGHT);
    EXPECT_THROW(box.Alignment(3), host::Error);
    EXPECT_EQ(box.Alignment(), 1);
    // Right-aligned text ends at the right edge: the caret after the last character is there.
    box.SelStart(8);
    POINT caret{};
    GetCaretPos(&caret);
    RECT rc{};
    GetClientRect(box.hWnd(), &rc);
    EXPECT_GT(caret.x, rc.right / 2);

    box.Locked(true);
    EXPECT_TRUE(Style(box.hWnd()) & ES_READONLY);
    TypeText(L"xyz");
    PressKey(VK_BACK);
    EXPECT_EQ(box.Text(), L"ABCdefGh");
    EXPECT_TRUE(box.Locked());
    host::PropertyBag bag;
    box.WriteProperties(bag);
    EXPECT_TRUE(bag.Read(L"Locked").AsBool());
    box.Locked(false);
    TypeText(L"z");
    EXPECT_EQ(box.Text(), L"ABCdefGhz");
}

TEST(TextBoxW, TypingMarksModifiedAndSelTextAndUndoReplaceAndRestore) {
    auto form = FormWithBox(L"  Height = 315\n  Text = \"hello world\"\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    ASSERT_TRUE(Activate(*form));
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));
    EXPECT_FALSE(box.Modified());
    box.SelStart(11);
    TypeText(L"!");
    EXPECT_TRUE(box.Modified());
    EXPECT_TRUE(box.CanUndo());
    box.Undo();
    EXPECT_EQ(box.Text(), L"hello world");
    box.Text(L"hello world");
    box.Modified(true);
    box.Text(L"你好 world");
    EXPECT_FALSE(box.Modified()) << "setting the text resets it";

    int changes = 0;
    box.Change = [&] { ++changes; };
    box.SelStart(0);
    box.SelLength(2);
    EXPECT_EQ(box.SelText(), L"你好");
    box.SelText(L"再见了");
    EXPECT_EQ(box.Text(), L"再见了 world");
    EXPECT_EQ(box.SelStart(), 3);
    EXPECT_EQ(box.SelLength(), 0);
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(box.CanUndo()) << "the replacement can be undone";
    box.Undo();
    EXPECT_EQ(box.Text(), L"你好 world");
    box.ResetUndoFlag();
    EXPECT_FALSE(box.CanUndo());
}

TEST(TextBoxW, MaxTextScrollDblClickAndTheKeyboardContextMenuAreRaised) {
    auto form = FormWithBox(L"  MultiLine = True\n  ScrollBars = 2\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    ASSERT_TRUE(Activate(*form));
    box.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box.hWnd(); }));
    int maxTexts = 0, scrolls = 0, dblClicks = 0;
    box.MaxText = [&] { ++maxTexts; };
    box.Scroll = [&] { ++scrolls; };
    box.DblClick = [&] { ++dblClicks; };

    box.MaxLength(3);
    TypeText(L"abcd");
    EXPECT_EQ(box.Text(), L"abc");
    EXPECT_EQ(maxTexts, 1);
    box.MaxLength(0);

    std::wstring lines;
    for (int i = 0; i < 50; ++i) lines += L"line " + std::to_wstring(i) + L"\r\n";
    box.Text(lines);
    Drain();
    scrolls = 0;
    // A click on the scroll bar's lower arrow, with the real mouse.
    RECT wr{};
    GetWindowRect(box.hWnd(), &wr);
    int arrow = GetSystemMetrics(SM_CXVSCROLL);
    POINT down{wr.right - arrow / 2 - 2, wr.bottom - arrow / 2 - 2};
    SetCursorPos(down.x, down.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([&] { return SendMessageW(box.hWnd(), EM_GETFIRSTVISIBLELINE, 0, 0) > 0; }));
    EXPECT_GE(scrolls, 1) << "EN_VSCROLL";
    scrolls = 0;
    SendMessageW(box.hWnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 0);
    EXPECT_GE(scrolls, 1) << "the thumb being dragged";

    // A double click with the real mouse inside the text.
    Sleep(GetDoubleClickTime() + 50);
    POINT in{wr.left + 20, wr.top + 10};
    SetCursorPos(in.x, in.y);
    INPUT twice[4] = {};
    for (int i = 0; i < 4; ++i) {
        twice[i].type = INPUT_MOUSE;
        twice[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    SendInput(4, twice, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([&] { return dblClicks == 1; }));

    // The menu key: the menu of the keyboard, at (-1, -1); a handler that takes it keeps the
    // system's menu away.
    std::vector<std::pair<float, float>> menus;
    box.ContextMenu = [&](bool& handled, float x, float y) {
        menus.emplace_back(x, y);
        handled = true;
    };
    PressKey(VK_APPS);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0], std::make_pair(-1.0f, -1.0f));
    EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr) << "no system menu";
}

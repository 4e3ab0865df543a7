// The colour and font dialogs driven from a second thread.
#include "DialogDriver.h"
#include "dialogs/CommonDialog.h"
#include "host/Error.h"

#include <gtest/gtest.h>

#include <string>

using dialogs::CommonDialog;
using namespace dlgtest;

namespace {

constexpr int RedBox = 706, GreenBox = 707, BlueBox = 708;  // the colour dialog's RGB edits
constexpr int AddToCustomColors = 712;
constexpr int StrikeoutBox = 1040, UnderlineBox = 1041, ApplyButton = 1026;
constexpr int FaceBox = 1136, SizeBox = 1138, ColorBox = 1139;

COLORREF ShownColor(HWND dialog) {
    auto channel = [&](int id) { return std::stoi(L"0" + TextOf(Item(dialog, id))); };
    return RGB(channel(RedBox), channel(GreenBox), channel(BlueBox));
}

// Chooses the colour box's entry of that name as a person would (selection, then the
// notification the dialog listens for).
void ChooseColorEntry(HWND dialog, const wchar_t* name) {
    HWND box = Item(dialog, ColorBox);
    LRESULT i = SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    SendMessageW(box, CB_SETCURSEL, i, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ColorBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
}

}  // namespace

TEST(ColorDialog, AHandlerThatCancelsAndChangesTheColourKeepsTheDialogOpenShowingIt) {
    ActiveOwner owner;
    CommonDialog cd;
    cd.HookEvents(true);
    cd.Color(RGB(200, 0, 0));
    cd.Flags(CC_RGBINIT | CC_FULLOPEN);
    std::vector<long> offered;
    cd.ColorValidate = [&](long& rgb, bool& cancel, HWND) {
        offered.push_back(rgb);
        if (offered.size() == 1) {
            cancel = true;
            rgb = RGB(10, 20, 30);
        }
    };
    int initKind = 0;
    cd.InitDialog = [&](int kind, HWND) { initKind = kind; };
    COLORREF shownAtStart = 0, shownAfterCancel = 0;
    bool stayedOpen = false;
    bool ok;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            shownAtStart = ShownColor(dialog);
            Press(dialog, IDOK);
            WaitFor([&] { return offered.size() == 1; });
            Sleep(200);
            stayedOpen = IsWindowVisible(dialog) != FALSE;
            shownAfterCancel = ShownColor(dialog);
            Press(dialog, AddToCustomColors);
            Sleep(100);
            Press(dialog, IDOK);
        });
        ok = cd.ShowColor();
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(initKind, 3);
    EXPECT_EQ(shownAtStart, RGB(200, 0, 0));
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], RGB(200, 0, 0)) << "ColorValidate gets the dialog's current colour";
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(shownAfterCancel, RGB(10, 20, 30)) << "the handler's colour is shown in the open dialog";
    EXPECT_EQ(offered[1], RGB(10, 20, 30));
    EXPECT_EQ(cd.Color(), RGB(10, 20, 30));
    EXPECT_EQ(cd.Flags() & CC_ENABLEHOOK, 0);
    EXPECT_EQ(cd.CustomColors()[0], RGB(10, 20, 30)) << "the dialog's changes to the custom colours persist";
    EXPECT_EQ(cd.CustomColors()[1], RGB(239, 239, 239));
}

TEST(ColorDialog, ASystemColourStartsTheDialogAtItsValueAndCancelIsAnError) {
    ActiveOwner owner;
    CommonDialog cd;
    cd.Color(static_cast<long>(0x80000000u | COLOR_WINDOW));
    cd.Flags(CC_RGBINIT | CC_FULLOPEN);
    cd.CancelError(true);
    COLORREF shown = 0;
    long number = 0;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            shown = ShownColor(dialog);
            Press(dialog, IDCANCEL);
        });
        try {
            cd.ShowColor();
        } catch (const host::Error& e) {
            number = e.Number();
        }
    }
    EXPECT_EQ(shown, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(number, 32755);
    EXPECT_EQ(cd.Color(), static_cast<long>(0x80000000u | COLOR_WINDOW));
}

TEST(FontDialog, EffectsChosenInTheDialogComeBack) {
    ActiveOwner owner;
    CommonDialog cd;
    cd.FontName(L"Tahoma");
    cd.FontSize(12);
    cd.Flags(CF_SCREENFONTS | CF_EFFECTS);
    std::wstring faceAtStart, sizeAtStart;
    bool ok;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            faceAtStart = TextOf(Item(dialog, FaceBox));
            sizeAtStart = TextOf(Item(dialog, SizeBox));
            Check(dialog, StrikeoutBox);
            Check(dialog, UnderlineBox);
            ChooseColorEntry(dialog, L"Red");
            Press(dialog, IDOK);
        });
        ok = cd.ShowFont();
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(faceAtStart, L"Tahoma");
    EXPECT_EQ(sizeAtStart, L"12");
    EXPECT_EQ(cd.FontName(), L"Tahoma");
    EXPECT_EQ(cd.FontSize(), 12.0f);
    EXPECT_TRUE(cd.FontStrikethru());
    EXPECT_TRUE(cd.FontUnderline());
    EXPECT_FALSE(cd.FontBold());
    EXPECT_EQ(cd.Color(), RGB(255, 0, 0));
    EXPECT_EQ(cd.Flags() & CF_INITTOLOGFONTSTRUCT, 0);
}

TEST(FontDialog, ApplyRaisesFontApplyWithWhatTheDialogShows) {
    ActiveOwner owner;
    CommonDialog cd;
    cd.HookEvents(true);
    cd.FontName(L"Tahoma");
    cd.FontSize(10);
    cd.FontBold(true);
    cd.Flags(CF_SCREENFONTS | CF_EFFECTS | CF_APPLY);
    struct Applied {
        long flags;
        std::wstring name;
        float size;
        bool bold, underline;
    };
    std::vector<Applied> applied;
    cd.FontApply = [&](long flags, const std::wstring& name, float size, bool bold, bool, bool, bool underline, int,
                       long, HWND) { applied.push_back({flags, name, size, bold, underline}); };
    bool ok = true;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            Check(dialog, UnderlineBox);
            Press(dialog, ApplyButton);
            WaitFor([&] { return !applied.empty(); });
            Press(dialog, IDCANCEL);
        });
        ok = cd.ShowFont();
    }
    EXPECT_FALSE(ok);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].name, L"Tahoma");
    EXPECT_EQ(applied[0].size, 10.0f);
    EXPECT_TRUE(applied[0].bold);
    EXPECT_TRUE(applied[0].underline);
    EXPECT_EQ(applied[0].flags & (CF_NOFACESEL | CF_NOSIZESEL), 0) << "the face and size boxes have a selection";
    EXPECT_EQ(cd.FontUnderline(), false) << "a cancelled dialog changes no property";
}

TEST(FontDialog, MaximumBelowMinimumIsReported) {
    ActiveOwner owner;
    CommonDialog cd;
    cd.Flags(CF_SCREENFONTS | CF_LIMITSIZE);
    cd.Min(20);
    cd.Max(10);
    long number = 0;
    std::wstring text;
    {
        // Should the dialog open after all, it is closed so the test ends.
        DialogDriver driver([&](DWORD thread) {
            if (HWND dialog = WaitForDialog(thread, 3000)) Press(dialog, IDCANCEL);
        });
        try {
            cd.ShowFont();
        } catch (const host::Error& e) {
            number = e.Number();
            text = e.Description();
        }
    }
    EXPECT_EQ(number, 24573);
    EXPECT_EQ(text, L"The size specified in the nSizeMax member is less than the size specified in the nSizeMin member.");
}

TEST(ColorDialog, TheHelpButtonRaisesHelpThroughTheOwner) {
    ActiveOwner owner;
    CommonDialog cd;
    cd.Flags(CC_SHOWHELP);
    std::vector<int> helps;
    cd.Help = [&](bool& handled, int kind, HWND) {
        helps.push_back(kind);
        handled = true;
    };
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            Press(dialog, 0x40e);  // pshHelp
            WaitFor([&] { return !helps.empty(); }, 3000);
            Press(dialog, IDCANCEL);
        });
        EXPECT_FALSE(cd.ShowColor());
    }
    ASSERT_EQ(helps.size(), 1u);
    EXPECT_EQ(helps[0], 3);
    EXPECT_EQ(GetPropW(owner.Get(), L"commdlg_help_3SubclassInit"), nullptr) << "the owner is let go after the dialog";
}

TEST(FontDialog, TheHelpButtonRaisesHelpThroughTheOwner) {
    ActiveOwner owner;
    CommonDialog cd;
    cd.Flags(CF_SCREENFONTS | CF_SHOWHELP);
    std::vector<int> helps;
    cd.Help = [&](bool& handled, int kind, HWND) {
        helps.push_back(kind);
        handled = true;
    };
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            Press(dialog, 0x40e);
            WaitFor([&] { return !helps.empty(); }, 3000);
            Press(dialog, IDCANCEL);
        });
        EXPECT_FALSE(cd.ShowFont());
    }
    ASSERT_EQ(helps.size(), 1u);
    EXPECT_EQ(helps[0], 4);
}

// This file runs twice: in a program without the comctl32 6 manifest (classic drawing) and in one
// with the workbench's manifest (version-6 window classes and the theme). Each test compares a
// control's pixels with what the theme, or the classic frame-control drawing, paints by itself
// in the same place, so a control that took the other path fails in either program.
#include "ControlsTestSupport.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/VisualStyles.h"
#include "controls/frame/FrameW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"

#include <gtest/gtest.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <cmath>

using namespace ctltest;
using controls::FrameW;
using controls::ListBoxW;
using controls::TextBoxW;

namespace {

bool HasManifest() { return FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) != nullptr; }

// The theme of `cls` for a window, closed when it goes.
struct Theme {
    Theme(HWND hwnd, const wchar_t* cls) : h(OpenThemeData(hwnd, cls)) {}
    ~Theme() {
        if (h) CloseThemeData(h);
    }
    HTHEME h;
};

std::unique_ptr<host::Form> FormWithList(const std::wstring& props) {
    return ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 5000\n"
                    L" Begin ListBoxW lst\n  Left = 120\n  Top = 120\n  Width = 4000\n  Height = 3000\n"
                    L"  IntegralHeight = False\n" + props + L" End\nEnd\n");
}

// The check column of a row as it shows on the screen.
Snapshot CheckCell(ListBoxW& list, int index) {
    RECT item{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    int column = static_cast<int>(std::nearbyint(15 * foundation::DpiScaleX()));
    RECT check{item.left + 1, item.top + 1, item.left + column - 1, item.bottom - 1};
    RedrawWindow(list.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return Snapshot::OfWindowRect(list.hWnd(), check);
}

// The list's own background: the far end of an unselected row.
COLORREF BackOf(ListBoxW& list, int index) {
    RECT item{};
    SendMessageW(list.hWnd(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    RECT spot{item.right - 3, item.top + 1, item.right - 2, item.top + 2};
    return Snapshot::OfWindowRect(list.hWnd(), spot).At(0, 0);
}

// The same cell painted by the theme's button part, or by DrawFrameControl, on that background.
Snapshot ReferenceCell(HWND list, COLORREF back, int w, int h, bool radio, bool checked) {
    return Snapshot::OfPainting(w, h, back, [&](HDC dc) {
        RECT r{0, 0, w, h};
        if (ThemedProgram()) {
            Theme theme(list, L"Button");
            int part = radio ? BP_RADIOBUTTON : BP_CHECKBOX;
            int state = checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;  // same numbers for option buttons
            DrawThemeBackground(theme.h, dc, part, state, &r, &r);
        } else {
            UINT state = DFCS_BUTTONCHECK | DFCS_FLAT | (radio ? DFCS_BUTTONRADIO : 0) | (checked ? DFCS_CHECKED : 0);
            DrawFrameControl(dc, &r, DFC_BUTTON, state);
        }
    });
}

int Mismatches(const Snapshot& a, const Snapshot& b) {
    int n = 0;
    for (int y = 0; y < std::min(a.Height(), b.Height()); ++y)
        for (int x = 0; x < std::min(a.Width(), b.Width()); ++x) n += a.At(x, y) != b.At(x, y);
    return n + std::abs(a.Width() * a.Height() - b.Width() * b.Height());
}

}  // namespace

// The program is what it was built as: with the manifest comctl32 6 is loaded, a theme is active
// and the foundation says themed drawing is in effect; without it none of that holds.
TEST(ThemedPath, TheProgramRunsInThePathItWasBuiltFor) {
    bool manifest = HasManifest();
    EXPECT_EQ(foundation::ComCtlMajorVersion() >= 6, manifest);
    EXPECT_EQ(foundation::ComCtlVersionLevel() >= 1, manifest);
    EXPECT_EQ(foundation::VisualStylesActive(), manifest);
    if (manifest) {
        EXPECT_TRUE(IsThemeActive()) << "the prefix's theme is switched on";
        EXPECT_TRUE(IsAppThemed());
    }
    // the version-6 button answers BCM_GETIDEALSIZE; the one of user32 does not know it
    HWND button = CreateWindowExW(0, L"BUTTON", L"Ideal", WS_POPUP | BS_PUSHBUTTON, 0, 0, 80, 24, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    SIZE ideal{};
    bool answered = SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) != 0;
    DestroyWindow(button);
    EXPECT_EQ(answered, manifest);
}

// Check boxes and option buttons of the list's check column: the theme's parts in the themed
// program, DrawFrameControl's flat glyphs in the classic one, checked and unchecked.
TEST(ThemedPath, TheListBoxCheckColumnIsTheThemesOrTheClassicGlyph) {
    for (bool radio : {false, true}) {
        SCOPED_TRACE(radio ? "option style" : "check-box style");
        auto form = FormWithList(radio ? L"  Style = 2\n" : L"  Style = 1\n");
        auto& list = form->Ctl<ListBoxW>(L"lst");
        for (const wchar_t* s : {L"一", L"二", L"三"}) list.AddItem(s);
        list.ItemChecked(1, true);
        Drain();
        Snapshot unchecked = CheckCell(list, 0), checked = CheckCell(list, 1);
        int w = unchecked.Width(), h = unchecked.Height();
        ASSERT_GT(w, 8);
        COLORREF back = BackOf(list, 2);
        Snapshot ownUnchecked = ReferenceCell(list.hWnd(), back, w, h, radio, false);
        Snapshot ownChecked = ReferenceCell(list.hWnd(), back, w, h, radio, true);
        EXPECT_GT(Mismatches(ownChecked, ownUnchecked), 3) << "the reference tells the states apart";
        EXPECT_EQ(Mismatches(unchecked, ownUnchecked), 0);
        EXPECT_EQ(Mismatches(checked, ownChecked), 0);

        // and the other path's glyph is not what shows
        Snapshot other = Snapshot::OfPainting(w, h, back, [&](HDC dc) {
            RECT r{0, 0, w, h};
            if (ThemedProgram()) {
                DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (radio ? DFCS_BUTTONRADIO : 0) | DFCS_CHECKED);
            } else {
                Theme theme(list.hWnd(), L"Button");
                if (theme.h) DrawThemeBackground(theme.h, dc, radio ? BP_RADIOBUTTON : BP_CHECKBOX, CBS_CHECKEDNORMAL, &r, &r);
            }
        });
        EXPECT_GT(Mismatches(checked, other), 3);
    }
}

// The text box's sunken border: the theme's edit border around a version-6 edit window, the
// two-pixel three-dimensional edge around the classic one.
TEST(ThemedPath, TheTextBoxBorderIsTheThemesOrTheSunkenEdge) {
    auto form = ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 3000\n"
                         L" Begin ListBoxW first\n  Left = 120\n  Top = 120\n  Width = 1200\n  Height = 600\n End\n"
                         L" Begin TextBoxW txt\n  Left = 1800\n  Top = 120\n  Width = 3000\n  Height = 900\n End\nEnd\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    ASSERT_TRUE(GetWindowLongW(box.hWnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    form->Ctl<ListBoxW>(L"first").SetFocus();
    Drain();
    RedrawWindow(box.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    RECT window{};
    GetWindowRect(box.hWnd(), &window);
    MapWindowPoints(nullptr, form->hWnd(), reinterpret_cast<POINT*>(&window), 2);
    Snapshot shown = Snapshot::OfWindowRect(form->hWnd(), window);
    int w = shown.Width(), h = shown.Height();
    Snapshot own = Snapshot::OfPainting(w, h, GetSysColor(COLOR_WINDOW), [&](HDC dc) {
        RECT r{0, 0, w, h};
        if (ThemedProgram()) {
            Theme theme(box.hWnd(), L"Edit");
            DrawThemeBackground(theme.h, dc, EP_EDITTEXT, ETS_NORMAL, &r, nullptr);
        } else {
            DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
        }
    });
    // the two outer rings, away from the corners
    int differ = 0, looked = 0;
    for (int ring = 0; ring < 2; ++ring) {
        for (int x = 4; x < w - 4; ++x) {
            differ += (shown.At(x, ring) != own.At(x, ring)) + (shown.At(x, h - 1 - ring) != own.At(x, h - 1 - ring));
            looked += 2;
        }
        for (int y = 4; y < h - 4; ++y) {
            differ += (shown.At(ring, y) != own.At(ring, y)) + (shown.At(w - 1 - ring, y) != own.At(w - 1 - ring, y));
            looked += 2;
        }
    }
    EXPECT_GT(looked, 100);
    EXPECT_EQ(differ, 0);
    if (ThemedProgram())
        EXPECT_NE(shown.At(0, h / 2), GetSysColor(COLOR_BTNSHADOW)) << "not the classic edge";
    else
        EXPECT_EQ(shown.At(1, h / 2), GetSysColor(COLOR_3DDKSHADOW));
}

// The frame's box is the theme's group box or the etched edge; its caption takes the theme's
// colour below comctl32 6.1 and the frame's ForeColor in the classic drawing.
TEST(ThemedPath, TheFrameBoxAndCaptionAreTheThemesOrTheEtchedOnes) {
    auto form = ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 4000\n"
                         L" Begin FrameW fra\n  Left = 120\n  Top = 120\n  Width = 4500\n  Height = 2400\n"
                         L"  ForeColor = &H000000FF&\n  Caption = \"WWW\"\n End\nEnd\n");
    auto& frame = form->Ctl<FrameW>(L"fra");
    Snapshot shot = Snapshot::OfClient(frame.hWnd());
    int w = shot.Width(), h = shot.Height();
    Snapshot own = Snapshot::OfPainting(w, h, GetSysColor(COLOR_BTNFACE), [&](HDC dc) {
        RECT r{0, 0, w, h};
        if (ThemedProgram()) {
            Theme theme(frame.hWnd(), L"Button");
            DrawThemeBackground(theme.h, dc, BP_GROUPBOX, GBS_NORMAL, &r, nullptr);
        } else {
            DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
        }
    });
    for (int x = 0; x < 2; ++x) {
        EXPECT_EQ(shot.At(x, h / 2), own.At(x, h / 2)) << "left side, column " << x;
        EXPECT_EQ(shot.At(w - 1 - x, h / 2), own.At(w - 1 - x, h / 2)) << "right side";
        EXPECT_EQ(shot.At(w / 2, h - 1 - x), own.At(w / 2, h - 1 - x)) << "bottom";
    }
    int red = 0;
    for (int y = 0; y < h / 3; ++y)
        for (int x = 0; x < w / 2; ++x) {
            COLORREF c = shot.At(x, y);
            red += GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100;
        }
    bool themeColoursTheCaption = ThemedProgram() && foundation::ComCtlVersionLevel() < 2;
    if (themeColoursTheCaption)
        EXPECT_EQ(red, 0) << "DrawThemeText keeps the theme's colour";
    else
        EXPECT_GT(red, 5) << "the caption in the frame's ForeColor";
}

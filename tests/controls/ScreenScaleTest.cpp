// Every control at a screen DPI other than 96: this program runs under tools/wine-dpi-run.sh in
// a prefix of its own whose LogPixels is 192 (twips per pixel 7.5, not a whole number). The
// figures go to the output: the correction, and each control's site and window rectangles.
#include "ControlsTestSupport.h"

#include "controls/checkbox/CheckBoxW.h"
#include "controls/foundation/Common.h"
#include "controls/frame/FrameW.h"
#include "controls/hotkey/HotKey.h"
#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlRegistry.h"
#include "host/HostWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace ctltest;

namespace {

constexpr int kDpi = 192;

std::unique_ptr<host::Form> EveryControl() {
    host::RegisterControlKind(L"CheckBoxW", [] { return std::make_unique<controls::CheckBoxW>(); });
    host::RegisterControlKind(L"HotKey", [] { return std::make_unique<controls::HotKey>(); });
    return ShowForm(L"Begin Form F\n ClientWidth = 9000\n ClientHeight = 6000\n"
                    L" Begin TextBoxW txt\n  Left = 120\n  Top = 120\n  Width = 2001\n  Height = 601\n End\n"
                    L" Begin ListBoxW lst\n  Left = 2400\n  Top = 120\n  Width = 2003\n  Height = 1201\n  IntegralHeight = False\n End\n"
                    L" Begin FrameW fra\n  Left = 4800\n  Top = 120\n  Width = 2005\n  Height = 1203\n End\n"
                    L" Begin CheckBoxW chk\n  Left = 120\n  Top = 2000\n  Width = 2007\n  Height = 451\n  Caption = \"选项\"\n End\n"
                    L" Begin HotKey hk\n  Left = 2400\n  Top = 2000\n  Width = 2009\n  Height = 453\n End\n"
                    L" Begin LabelW lbl\n  Left = 4800\n  Top = 2000\n  Width = 2011\n  Height = 455\n  Caption = \"标签\"\n End\nEnd\n");
}

RECT WindowIn(HWND w, HWND parent) {
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Text(const RECT& r) {
    char s[64];
    std::snprintf(s, sizeof s, "(%ld, %ld)-(%ld, %ld)", r.left, r.top, r.right, r.bottom);
    return s;
}

const wchar_t* const kWindowed[] = {L"txt", L"lst", L"fra", L"chk", L"hk"};

struct PinnedCorrection {
    explicit PinnedCorrection(double c) { foundation::OverrideTwipsPerPixelCorrection(c); }
    ~PinnedCorrection() { foundation::OverrideTwipsPerPixelCorrection(std::nullopt); }
};

}  // namespace

// The program really runs at the other DPI, and our host's twips follow it exactly, so the
// correction is 1; a host that kept whole twips per pixel (7 here) would need 1.0714.
TEST(ScreenScale, TheCorrectionFollowsTheHostsTwipsPerPixel) {
    ASSERT_EQ(foundation::ScreenPixelsPerInchX(), kDpi) << "run through tools/wine-dpi-run.sh " << kDpi;
    EXPECT_DOUBLE_EQ(foundation::TwipsPerPixelCorrection(), 1.0);
    double whole = foundation::TwipsPerPixelCorrectionFor(kDpi, std::floor(1440.0 / kDpi));
    EXPECT_NEAR(whole, 96.0 / kDpi * 15.0 / 7.0, 1e-12);
    EXPECT_DOUBLE_EQ(foundation::TwipsPerPixelCorrectionFor(120, 12.0), 1.0);
    std::printf("at %d dpi: twips per pixel %.4f, correction %.6f; with whole twips per pixel (%.0f) %.6f\n", kDpi,
                1440.0 / kDpi, foundation::TwipsPerPixelCorrection(), std::floor(1440.0 / kDpi), whole);
}

// Each control's window stands on its site's rectangle, converted at this DPI; re-sized from
// outside, it goes back to that rectangle where the twips disagree with the screen and keeps
// the size it was given where they agree.
TEST(ScreenScale, EveryControlsWindowStandsOnItsSiteRectangleAndTheResizeStepPutsItBack) {
    auto form = EveryControl();
    double whole = foundation::TwipsPerPixelCorrectionFor(kDpi, std::floor(1440.0 / kDpi));
    for (const wchar_t* name : kWindowed) {
        host::ControlSite& site = form->Site(name);
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        HWND w = site.HostWin()->hWnd();
        RECT expected{std::lround(site.Left() * kDpi / 1440.0), std::lround(site.Top() * kDpi / 1440.0),
                      std::lround((site.Left() + site.Width()) * kDpi / 1440.0),
                      std::lround((site.Top() + site.Height()) * kDpi / 1440.0)};
        RECT shown = WindowIn(w, form->hWnd());
        EXPECT_TRUE(EqualRect(&shown, &expected)) << Text(shown) << " for " << Text(expected);
        RECT siteRect = site.PixelRect();
        EXPECT_TRUE(EqualRect(&shown, &siteRect));

        {
            PinnedCorrection pin(whole);
            SetWindowPos(w, nullptr, 0, 0, shown.right - shown.left + 37, shown.bottom - shown.top + 23,
                         SWP_NOMOVE | SWP_NOZORDER);
            Drain();
            RECT back = WindowIn(w, form->hWnd());
            EXPECT_TRUE(EqualRect(&back, &expected)) << "corrected: " << Text(back);
        }
        SetWindowPos(w, nullptr, 0, 0, shown.right - shown.left + 37, shown.bottom - shown.top + 23,
                     SWP_NOMOVE | SWP_NOZORDER);
        Drain();
        RECT kept = WindowIn(w, form->hWnd());
        EXPECT_EQ(kept.right - kept.left, shown.right - shown.left + 37) << "at the natural correction";
        std::printf("%ls: site %.0f,%.0f %.0fx%.0f twips -> window %s\n", name, site.Left(), site.Top(), site.Width(),
                    site.Height(), Text(shown).c_str());
        site.Move(site.Left(), site.Top(), site.Width(), site.Height());
        RECT again = WindowIn(w, form->hWnd());
        EXPECT_TRUE(EqualRect(&again, &expected)) << "moved back by the site";
    }
    // the windowless label: its surface rectangle is the site's
    host::ControlSite& label = form->Site(L"lbl");
    RECT rc = label.PixelRect();
    EXPECT_EQ(rc.right - rc.left, std::lround((label.Left() + label.Width()) * kDpi / 1440.0) - std::lround(label.Left() * kDpi / 1440.0));
    std::printf("lbl: site %.0f,%.0f %.0fx%.0f twips -> %s\n", label.Left(), label.Top(), label.Width(), label.Height(),
                Text(rc).c_str());
}

// Fonts are built for the screen's DPI: the form's eight points are 21 pixels high at 192.
TEST(ScreenScale, ControlFontsAreScaledToTheScreen) {
    auto form = EveryControl();
    int expected = MulDiv(static_cast<int>(std::lround(form->Site(L"txt").AmbientFont().size)), kDpi, 72);
    auto heightOf = [](HFONT f) {
        LOGFONTW lf{};
        return f && GetObjectW(f, sizeof lf, &lf) ? -lf.lfHeight : 0;
    };
    for (const wchar_t* name : {L"txt", L"lst", L"chk", L"hk"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        HWND inner = GetWindow(form->Site(name).HostWin()->hWnd(), GW_CHILD);
        ASSERT_NE(inner, nullptr);
        EXPECT_EQ(heightOf(reinterpret_cast<HFONT>(SendMessageW(inner, WM_GETFONT, 0, 0))), expected);
    }
    // the label draws its caption with it: the ink is taller than at 96 dpi's 12 pixels
    auto& label = form->Ctl<controls::LabelW>(L"lbl");
    Snapshot s = Snapshot::OfWindowRect(form->hWnd(), label.Site().PixelRect());
    COLORREF back = s.At(s.Width() - 1, s.Height() - 1);
    int top = s.Height(), bottom = -1;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.At(x, y) != back) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GT(bottom - top + 1, 14) << "the caption's ink";
    std::printf("fonts: %.0f pt -> %d pixels; label ink %d pixels high\n", form->Site(L"txt").AmbientFont().size, expected, bottom - top + 1);
}

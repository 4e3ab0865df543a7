#include "HostTestSupport.h"

#include "host/Scale.h"

#include <gtest/gtest.h>

using namespace host;

TEST(Scale, ConversionsAt96And144Dpi) {
    struct Case {
        int dpi;
        double twipsPerPixel;
    } cases[] = {{96, 15.0}, {144, 10.0}};
    for (const Case& c : cases) {
        ScaleConverter sc(c.dpi, c.dpi);
        EXPECT_DOUBLE_EQ(sc.TwipsPerPixelX(), c.twipsPerPixel);
        EXPECT_DOUBLE_EQ(sc.ScaleX(1440, ScaleUnit::Twips, ScaleUnit::Pixels), c.dpi);
        EXPECT_DOUBLE_EQ(sc.ScaleY(c.dpi, ScaleUnit::Pixels, ScaleUnit::Twips), 1440);
        EXPECT_DOUBLE_EQ(sc.ScaleX(2540, ScaleUnit::Himetric, ScaleUnit::Pixels), c.dpi);
        EXPECT_DOUBLE_EQ(sc.ScaleX(1440, ScaleUnit::Twips, ScaleUnit::Himetric), 2540);
        EXPECT_DOUBLE_EQ(sc.ScaleX(72, ScaleUnit::Points, ScaleUnit::Twips), 1440);
        EXPECT_DOUBLE_EQ(sc.ScaleX(300, ScaleUnit::Container, ScaleUnit::Twips), 300);
        // The workbench's layout: the reference panel's left edge.
        EXPECT_EQ(sc.TwipsToPixelsX(10680), c.dpi == 96 ? 712 : 1068);
        EXPECT_EQ(sc.TwipsToPixelsX(16875), c.dpi == 96 ? 1125 : 1688);  // 1687.5 rounds away
    }
    ScaleConverter pixels(144, 144, ScaleUnit::Pixels);
    EXPECT_DOUBLE_EQ(pixels.ScaleX(10, ScaleUnit::Container, ScaleUnit::Twips), 100);
}

TEST(Scale, FormLayoutFollowsTheScreenDpi) {
    hosttest::RegisterTestControls();
    hosttest::TestForm form(LR"(Begin Form F
   ClientWidth = 6000
   ClientHeight = 3000
   Begin TestEdit box
      Left = 1500
      Top = 750
      Width = 3000
      Height = 315
   End
End
)");
    form.Load();
    ScaleConverter sc = ScaleConverter::Screen();
    RECT client;
    GetClientRect(form.hWnd(), &client);
    EXPECT_EQ(client.right, sc.TwipsToPixelsX(6000));
    EXPECT_EQ(client.bottom, sc.TwipsToPixelsY(3000));
    HWND host = form.Site(L"box").HostWin()->hWnd();
    RECT r;
    GetWindowRect(host, &r);
    MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, sc.TwipsToPixelsX(1500));
    EXPECT_EQ(r.top, sc.TwipsToPixelsY(750));
    EXPECT_EQ(r.right - r.left, sc.TwipsToPixelsX(3000));
    // A site converts its own way too: pixels to twips and back at the real DPI.
    ControlSite& site = form.Site(L"box");
    EXPECT_DOUBLE_EQ(site.ScaleX(sc.DpiX(), ScaleUnit::Pixels, ScaleUnit::Twips), 1440);
    EXPECT_DOUBLE_EQ(form.ScaleWidth(), sc.ScaleX(client.right, ScaleUnit::Pixels, ScaleUnit::Twips));
    // Moving in twips moves the window in pixels.
    site.Move(0, 0, 1440, 720);
    GetWindowRect(host, &r);
    EXPECT_EQ(r.right - r.left, sc.DpiX());
    EXPECT_EQ(r.bottom - r.top, sc.DpiY() / 2);
    // A position left of or above the container is a position like any other.
    form.Ctl<hosttest::TestEdit>(L"box").Move(-720, -1440);
    GetWindowRect(host, &r);
    MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, -sc.DpiX() / 2);
    EXPECT_EQ(r.top, -sc.DpiY());
    EXPECT_EQ(r.right - r.left, sc.DpiX());  // the size stays
    EXPECT_THROW(site.Move(0, 0, -1), Error);
    form.Unload();
}

#include "FrameDrawing.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

long Round(double v) { return static_cast<long>(std::nearbyint(v)); }

// Where the caption and the gap in the top line go, in one place for both drawings.
struct CaptionLayout {
    RECT box{};      // B: the box, its top moved down to the caption's middle
    RECT band{};     // U: the caption band, inset from the box's sides
};

CaptionLayout LayOut(const RECT& client, const FrameLook& look, long lineHeight) {
    CaptionLayout l;
    l.box = client;
    l.band = client;
    l.band.left = Round(9 * look.scale);
    l.band.right = client.right - Round(9 * look.scale);
    l.box.top = Round(l.box.top + lineHeight / 2.0);
    return l;
}

// Cuts the caption's gap out of the top line so the box is drawn around it.
void ExcludeGap(HDC dc, const RECT& band, const RECT& extent, const FrameLook& look) {
    long bandWidth = band.right - band.left;
    long spare = bandWidth - (extent.right - extent.left);
    double gl = extent.left, gr = extent.right;
    if (look.alignment == 1) {
        gl = extent.left + spare;
        gr = extent.left + bandWidth;
    } else if (look.alignment == 2) {
        gl = Round(spare / 2.0 + extent.left);
        gr = Round(spare / 2.0 + extent.right);
    }
    ExcludeClipRect(dc, Round(gl - 2 * look.scale), extent.top, Round(gr + 2 * look.scale), extent.bottom);
}

bool DrawThemed(HDC dc, HWND themeWindow, const RECT& client, const FrameLook& look) {
    HTHEME theme = OpenThemeData(themeWindow, L"Button");
    if (!theme) return false;
    int state = look.enabled ? GBS_NORMAL : GBS_DISABLED;
    UINT format = FrameCaptionFormat(look);
    RECT probe = client;
    RECT a{};
    GetThemeTextExtent(theme, dc, BP_GROUPBOX, state, L"A", -1, format, &probe, &a);
    CaptionLayout l = LayOut(client, look, a.bottom - a.top);
    if (!look.caption.empty()) {
        RECT e{};
        GetThemeTextExtent(theme, dc, BP_GROUPBOX, state, look.caption.c_str(), -1, format, &l.band, &e);
        // The caption is placed within the band, as the gap is, so that a right or centred
        // caption lands in its gap rather than at the band's left edge.
        RECT t = l.band;
        if (look.comCtlLevel < 2) {
            DrawThemeText(theme, dc, BP_GROUPBOX, state, look.caption.c_str(), -1, format, 0, &t);
        } else {
            DTTOPTS opts{};
            opts.dwSize = sizeof(opts);
            opts.dwFlags = DTT_TEXTCOLOR;
            opts.crText = look.enabled ? look.foreColor : GetSysColor(COLOR_GRAYTEXT);
            DrawThemeTextEx(theme, dc, BP_GROUPBOX, state, look.caption.c_str(), -1, format, &t, &opts);
        }
        ExcludeGap(dc, l.band, e, look);
    }
    if (IsThemeBackgroundPartiallyTransparent(theme, BP_GROUPBOX, state)) DrawThemeParentBackground(themeWindow, dc, &l.box);
    DrawThemeBackground(theme, dc, BP_GROUPBOX, state, &l.box, &l.box);
    SelectClipRgn(dc, nullptr);
    CloseThemeData(theme);
    return true;
}

void DrawClassic(HDC dc, const RECT& client, const FrameLook& look) {
    SIZE a{};
    GetTextExtentPoint32W(dc, L"A", 1, &a);
    CaptionLayout l = LayOut(client, look, a.cy);
    if (!look.caption.empty()) {
        SIZE c{};
        GetTextExtentPoint32W(dc, look.caption.c_str(), static_cast<int>(look.caption.size()), &c);
        RECT e = l.band;
        e.right = e.left + c.cx;
        e.bottom = e.top + c.cy;
        RECT t = l.band;
        COLORREF old = SetTextColor(dc, look.enabled ? look.foreColor : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, look.caption.c_str(), static_cast<int>(look.caption.size()), &t, FrameCaptionFormat(look));
        SetTextColor(dc, old);
        ExcludeGap(dc, l.band, e, look);
    }
    DrawEdge(dc, &l.box, EDGE_ETCHED, BF_RECT | (look.appearance == 0 ? BF_MONO : 0));
    SelectClipRgn(dc, nullptr);
}

}  // namespace

UINT FrameCaptionFormat(const FrameLook& look) {
    UINT format = DT_SINGLELINE | DT_NOCLIP;
    if (look.rightToLeft) format |= DT_RTLREADING;
    if (look.alignment == 1) format |= DT_RIGHT;
    if (look.alignment == 2) format |= DT_CENTER;
    return format;
}

void DrawFrameBox(HDC dc, HWND themeWindow, const RECT& client, const FrameLook& look) {
    if (look.borderStyle == 0) return;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (!(look.themed && DrawThemed(dc, themeWindow, client, look))) DrawClassic(dc, client, look);
    SetBkMode(dc, oldMode);
}

}  // namespace controls

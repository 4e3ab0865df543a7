#include "FrameDrawing.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace controls {

namespace {

long Round(double v) { return static_cast<long>(std::nearbyint(v)); }

// Where the caption and the gap in the top line go, in one place for both drawings.
struct CaptionLayout {
    RECT box{};      // B: the box, its top moved down to the caption's middle
    RECT band{};     // U: the caption band, inset from the box's sides
};

// A picture taller than the text line sets the line: the box's top runs through the picture's
// middle and the caption is centred on it.
CaptionLayout LayOut(const RECT& client, const FrameLook& look, long lineHeight) {
    CaptionLayout l;
    l.box = client;
    l.band = client;
    l.band.left = Round(9 * look.scale);
    l.band.right = client.right - Round(9 * look.scale);
    long ph = look.picture.cy;
    if (lineHeight < ph) {
        l.box.top = Round(ph / 2.0 + l.box.top);
        l.band.top = Round((ph - lineHeight) / 2.0 + l.band.top);
    } else {
        l.box.top = Round(l.box.top + lineHeight / 2.0);
    }
    return l;
}

bool HasPicture(const FrameLook& look) { return look.picture.cx > 0 && look.picture.cy > 0 && look.drawPicture; }

// The caption's rectangle moved aside for a picture that stands beside it.
RECT TextRect(RECT t, const FrameLook& look) {
    if (!HasPicture(look)) return t;
    double shift = look.picture.cx + 2 * look.scale;
    if (look.alignment == 0 && look.pictureAlignment == 0) t.left = Round(t.left + shift);
    if (look.alignment == 1 && look.pictureAlignment == 1) t.right = Round(t.right - shift);
    if (look.alignment == 2) t.left = Round(look.pictureAlignment == 0 ? t.left + shift : t.left - shift);
    return t;
}

// Cuts the caption's gap (and its picture's) out of the top line so the box is drawn around
// it, and draws the picture in it.
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
    long bottom = extent.bottom;
    if (HasPicture(look)) {
        double pw = look.picture.cx, gap = 2 * look.scale;
        if (look.alignment == 0) gr = Round(pw + gr + gap);
        if (look.alignment == 1) gl = Round(gl - pw - gap);
        if (look.alignment == 2) {
            gl = Round(gl - (gap + pw) / 2);
            gr = Round((gap + pw) / 2 + gr);
        }
        bottom = std::max(bottom, look.picture.cy);
        long x = look.pictureAlignment == 1 ? static_cast<long>(gr) - look.picture.cx : static_cast<long>(gl);
        look.drawPicture(dc, RECT{x, 0, x + look.picture.cx, look.picture.cy});
    }
    ExcludeClipRect(dc, Round(gl - 2 * look.scale), extent.top, Round(gr + 2 * look.scale), bottom);
}

// An empty caption with a picture: the picture alone sits in the top line.
void ExcludePictureAlone(HDC dc, const RECT& band, const FrameLook& look) {
    long pw = look.picture.cx, ph = look.picture.cy;
    long gl = band.left;
    if (look.alignment == 1) gl = band.right - pw;
    if (look.alignment == 2) gl = Round((band.right - band.left) / 2.0 + band.left - pw / 2.0);
    look.drawPicture(dc, RECT{gl, 0, gl + pw, ph});
    ExcludeClipRect(dc, Round(gl - 2 * look.scale), 0, Round(gl + pw + 2 * look.scale), ph);
}

// The caption's extent comes back at the band's left whatever the alignment; the text goes into
// that rectangle where the gap is cut (to the right for 1, the middle for 2), so the caption
// fills the gap instead of drawing over the line.
RECT ExtentInGap(const RECT& band, RECT extent, const FrameLook& look) {
    long spare = (band.right - band.left) - (extent.right - extent.left);
    if (look.alignment == 1) OffsetRect(&extent, spare, 0);
    if (look.alignment == 2) OffsetRect(&extent, Round(spare / 2.0), 0);
    return extent;
}

// The text options up to the glow size: no draw-text callback is given.
constexpr DWORD OptionsSize = offsetof(DTTOPTS, pfnDrawTextCallback);
static_assert(OptionsSize == 56 || sizeof(void*) != 4);

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
        RECT t = TextRect(ExtentInGap(l.band, e, look), look);
        if (look.comCtlLevel < 2) {
            DrawThemeText(theme, dc, BP_GROUPBOX, state, look.caption.c_str(), -1, format, 0, &t);
        } else {
            DTTOPTS opts{};
            opts.dwSize = OptionsSize;
            opts.dwFlags = DTT_TEXTCOLOR;
            opts.crText = look.enabled ? look.foreColor : GetSysColor(COLOR_GRAYTEXT);
            DrawThemeTextEx(theme, dc, BP_GROUPBOX, state, look.caption.c_str(), -1, format, &t, &opts);
        }
        ExcludeGap(dc, l.band, e, look);
    } else if (HasPicture(look)) {
        ExcludePictureAlone(dc, l.band, look);
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
        RECT t = TextRect(l.band, look);
        COLORREF old = SetTextColor(dc, look.enabled ? look.foreColor : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, look.caption.c_str(), static_cast<int>(look.caption.size()), &t, FrameCaptionFormat(look));
        SetTextColor(dc, old);
        ExcludeGap(dc, l.band, e, look);
    } else if (HasPicture(look)) {
        ExcludePictureAlone(dc, l.band, look);
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

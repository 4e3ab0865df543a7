#include "LabelDrawing.h"

#include <cmath>
#include <vector>

namespace controls {

namespace {

long Round(double v) { return static_cast<long>(std::nearbyint(v)); }  // halves to even

const std::wstring& MeasuredText(const LabelLook& look) {
    static const std::wstring space = L" ";
    return look.caption.empty() ? space : look.caption;
}

RECT CalcRect(HDC dc, RECT r, const std::wstring& text, UINT format) {
    DrawTextW(dc, text.c_str(), -1, &r, format | DT_CALCRECT);
    return r;
}

void DrawBorder(HDC dc, RECT r, long borderStyle, SIZE border) {
    switch (borderStyle) {
    case 1: {
        HBRUSH brush = CreateSolidBrush(RGB(100, 100, 100));
        RECT outline{0, 0, r.right - border.cx + 1, r.bottom - border.cy + 1};
        FrameRect(dc, &outline, brush);
        DeleteObject(brush);
        break;
    }
    case 2: DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT); break;
    case 3: DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT); break;
    case 4: DrawEdge(dc, &r, EDGE_RAISED, BF_RECT); break;
    default: break;
    }
}

long VerticalOffset(HDC dc, const RECT& r, const LabelLook& look, SIZE border) {
    if (look.verticalAlignment == 0) return 0;
    RECT t = CalcRect(dc, r, MeasuredText(look), LabelFormat(look, true));
    long spare = r.bottom - r.top - 2 * border.cy - (t.bottom - t.top);
    return look.verticalAlignment == 1 ? Round(spare / 2.0) : spare;
}

}  // namespace

UINT LabelFormat(const LabelLook& look, bool painting) {
    UINT format = DT_NOCLIP;
    if (look.alignment == 1) format |= DT_RIGHT;
    if (look.alignment == 2) format |= DT_CENTER;
    if (look.rightToLeft) format |= DT_RTLREADING;
    if (!look.useMnemonic) format |= DT_NOPREFIX;
    if (look.wordWrap) format |= DT_WORDBREAK;
    if (painting) {
        if (look.ellipsisFormat == 1) format |= DT_END_ELLIPSIS;
        if (look.ellipsisFormat == 2) format |= DT_PATH_ELLIPSIS;
        if (look.ellipsisFormat == 3) format |= DT_WORD_ELLIPSIS;
    }
    return format;
}

SIZE LabelBorder(long borderStyle) {
    switch (borderStyle) {
    case 1:
    case 2: return {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
    case 3: return {GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE)};
    case 4: return {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
    default: return {0, 0};
    }
}

std::wstring PaintLabel(HDC dc, SIZE size, const LabelLook& look, const std::wstring& previousDisplayed) {
    RECT r{0, 0, size.cx, size.cy};
    SIZE border = LabelBorder(look.borderStyle);
    DrawBorder(dc, r, look.borderStyle, border);
    long d = VerticalOffset(dc, r, look, border);
    if (d > 0) r.top += d;
    RECT text{r.left + border.cx, r.top + border.cy, r.right - 2 * border.cx, r.bottom - 2 * border.cy};
    if (look.caption.empty()) return previousDisplayed;
    // DT_MODIFYSTRING may write up to four characters beyond the caption.
    std::vector<wchar_t> shown(look.caption.begin(), look.caption.end());
    shown.resize(look.caption.size() + 5, L'\0');
    DrawTextW(dc, shown.data(), -1, &text, LabelFormat(look, true) | DT_MODIFYSTRING);
    return std::wstring(shown.data());
}

SIZE MeasureLabel(HDC dc, SIZE size, const LabelLook& look) {
    RECT r{0, 0, size.cx, size.cy};
    SIZE border = LabelBorder(look.borderStyle);
    RECT t = CalcRect(dc, r, MeasuredText(look), LabelFormat(look, false));
    return {t.right - t.left + 2 * border.cx, t.bottom - t.top + 2 * border.cy};
}

}  // namespace controls

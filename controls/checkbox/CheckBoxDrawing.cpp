#include "controls/checkbox/CheckBoxDrawing.h"

#include "controls/foundation/Common.h"
#include "host/Handles.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <cmath>

namespace controls {

namespace {

long Round(double v) { return static_cast<long>(std::nearbyint(v)); }

bool HasHandle(const host::Picture& p) {
    OLE_HANDLE h = 0;
    return p && SUCCEEDED(p->get_Handle(&h)) && h != 0;
}

struct PictureInfo {
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
};

PictureInfo InfoOf(const host::Picture& p) {
    PictureInfo i;
    p->get_Type(&i.type);
    p->get_Handle(&i.handle);
    p->get_Width(&i.width);
    p->get_Height(&i.height);
    return i;
}

class ThemeData {
public:
    ThemeData(HWND hwnd, const wchar_t* classes) : theme_(OpenThemeData(hwnd, classes)) {}
    ~ThemeData() {
        if (theme_) CloseThemeData(theme_);
    }
    ThemeData(const ThemeData&) = delete;
    ThemeData& operator=(const ThemeData&) = delete;
    HTHEME Get() const { return theme_; }

private:
    HTHEME theme_;
};

UINT TextFlags(UINT itemState) { return (itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0; }

// Where the caption goes in the content rectangle C: centred without a picture, at the bottom
// with one (the picture is centred in what is left above it).
RECT PlaceText(HDC dc, const std::wstring& caption, const RECT& c, UINT flags, double scale, bool withPicture) {
    RECT m = c;
    DrawTextW(dc, caption.c_str(), -1, &m, flags | DT_CALCRECT | DT_WORDBREAK);
    RECT t{c.left, 0, c.right, 0};
    if (!withPicture) {
        t.top = Round((c.bottom - m.bottom) / 2.0 + 3 * scale);
        t.bottom = t.top + m.bottom;
    } else {
        t.top = Round(scale + c.bottom - m.bottom);
        t.bottom = c.bottom;
    }
    return t;
}

void DrawFocus(HDC dc, const RECT& c, UINT itemState) {
    if ((itemState & ODS_FOCUS) && !(itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &c);
}

// Steps 4 of the themed path; false when the theme cannot be opened (the classic path then draws).
bool DrawThemed(const DRAWITEMSTRUCT& item, const GraphicalLook& look, HBRUSH back, bool withPicture, RECT& c) {
    ThemeData theme(item.hwndItem, L"Button");
    if (!theme.Get()) return false;
    HDC dc = item.hDC;
    bool disabled = item.itemState & ODS_DISABLED;
    bool pressed = item.itemState & ODS_SELECTED;
    int state = PBS_NORMAL;
    if (disabled) state = PBS_DISABLED;
    else if (look.hot && !look.checked && !pressed) state = PBS_HOT;
    else if (look.checked || pressed) state = PBS_PRESSED;
    else if (item.itemState & ODS_FOCUS) state = PBS_DEFAULTED;

    RECT r = item.rcItem;
    HRGN shape = nullptr;
    if (SUCCEEDED(GetThemeBackgroundRegion(theme.Get(), dc, BP_PUSHBUTTON, state, &r, &shape)) && shape) {
        host::UniqueRegion owned(shape);
        ExtSelectClipRgn(dc, shape, RGN_DIFF);
        HBRUSH fill = look.checked && look.checkedBrush ? look.checkedBrush : back;
        FillRect(dc, &r, fill);
        if (IsThemeBackgroundPartiallyTransparent(theme.Get(), BP_PUSHBUTTON, state))
            DrawThemeParentBackground(item.hwndItem, dc, &r);
        ExtSelectClipRgn(dc, nullptr, RGN_COPY);
    }
    DrawThemeBackground(theme.Get(), dc, BP_PUSHBUTTON, state, &r, nullptr);
    GetThemeBackgroundContentRect(theme.Get(), dc, BP_PUSHBUTTON, state, &r, &c);

    COLORREF text = disabled ? GetSysColor(COLOR_GRAYTEXT) : look.foreColor;
    SetTextColor(dc, text);
    DrawFocus(dc, c, item.itemState);
    if (!look.caption.empty()) {
        UINT flags = TextFlags(item.itemState);
        RECT t = PlaceText(dc, look.caption, c, flags, look.scale, withPicture);
        flags |= DT_CENTER | DT_WORDBREAK;
        if (look.comCtlLevel < 2) {
            DrawThemeText(theme.Get(), dc, BP_PUSHBUTTON, state, look.caption.c_str(), -1, flags, 0, &t);
        } else {
            DTTOPTS opts{};
            opts.dwSize = sizeof(opts);
            opts.dwFlags = DTT_TEXTCOLOR;
            opts.crText = text;
            DrawThemeTextEx(theme.Get(), dc, BP_PUSHBUTTON, state, look.caption.c_str(), -1, flags, &t, &opts);
        }
        c.bottom = t.top;
    }
    return true;
}

void DrawClassic(const DRAWITEMSTRUCT& item, const GraphicalLook& look, HBRUSH back, bool withPicture, RECT& c) {
    HDC dc = item.hDC;
    bool disabled = item.itemState & ODS_DISABLED;
    bool pressed = item.itemState & ODS_SELECTED;
    UINT frame = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (pressed) frame |= DFCS_PUSHED;
    if (disabled) frame |= DFCS_INACTIVE;
    if (look.appearance == 0) frame |= DFCS_FLAT;
    if (look.checked) frame |= DFCS_CHECKED;
    c = item.rcItem;
    DrawFrameControl(dc, &c, DFC_BUTTON, frame);
    FillRect(dc, &c, look.checked && look.checkedBrush ? look.checkedBrush : back);

    SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : look.foreColor);
    InflateRect(&c, -1, -1);
    DrawFocus(dc, c, item.itemState);
    if (!look.caption.empty()) {
        int mode = SetBkMode(dc, TRANSPARENT);
        UINT flags = TextFlags(item.itemState);
        RECT t = PlaceText(dc, look.caption, c, flags, look.scale, withPicture);
        if (look.checked || pressed) OffsetRect(&t, 1, 1);
        DrawTextW(dc, look.caption.c_str(), -1, &t, flags | DT_CENTER | DT_WORDBREAK);
        SetBkMode(dc, mode);
        c.bottom = t.top;
    }
}

// A picture greyed by the system: an icon as it is, anything else first on a white bitmap.
void DrawDisabled(HDC dc, const host::Picture& p, const PictureInfo& info, int x, int y, int w, int h) {
    if (info.type == PICTYPE_ICON) {
        DrawStateW(dc, nullptr, nullptr, static_cast<LPARAM>(info.handle), 0, x, y, w, h, DST_ICON | DSS_DISABLED);
        return;
    }
    host::UniqueMemoryDC mem(CreateCompatibleDC(dc));
    host::UniqueBitmap bitmap(CreateCompatibleBitmap(dc, w, h));
    if (!mem || !bitmap) return;
    {
        host::SelectObjectGuard select(mem.Get(), bitmap.Get());
        RECT all{0, 0, w, h};
        FillRect(mem.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        foundation::RenderPicture(mem.Get(), p, all);
    }
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap.Get()), 0, x, y, w, h, DST_BITMAP | DSS_DISABLED);
}

void DrawMasked(HDC dc, const PictureInfo& info, int x, int y, int w, int h, COLORREF mask) {
    host::UniqueMemoryDC mem(CreateCompatibleDC(dc));
    if (!mem) return;
    host::SelectObjectGuard select(mem.Get(), reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(info.handle)));
    TransparentBlt(dc, x, y, w, h, mem.Get(), 0, 0, w, h, mask);
}

void DrawPicture(HDC dc, const GraphicalLook& look, const host::Picture& p, bool ownDisabled, UINT itemState,
                 const RECT& c) {
    PictureInfo info = InfoOf(p);
    int w = foundation::HimetricToPixelsX(info.width);
    int h = foundation::HimetricToPixelsY(info.height);
    int x = Round((c.right - c.left - w) / 2.0 + c.left);
    int y = Round((c.bottom - c.top - h) / 2.0 + c.top);
    if ((itemState & ODS_DISABLED) && !ownDisabled) {
        DrawDisabled(dc, p, info, x, y, w, h);
    } else if (info.type == PICTYPE_BITMAP && look.useMaskColor) {
        DrawMasked(dc, info, x, y, w, h, look.maskColor);
    } else {
        // from the bottom row up with a negative height: the picture comes out upright
        p->Render(dc, x, y, w, h, 0, info.height, info.width, -info.height, nullptr);
    }
}

}  // namespace

host::Picture ChoosePicture(const GraphicalLook& look, UINT itemState, bool& ownDisabled) {
    ownDisabled = false;
    host::Picture p = look.picture;
    if (itemState & ODS_DISABLED) {
        if (HasHandle(look.disabledPicture)) {
            p = look.disabledPicture;
            ownDisabled = true;
        }
    } else if ((look.checked || (itemState & ODS_SELECTED)) && HasHandle(look.downPicture)) {
        p = look.downPicture;
    }
    return HasHandle(p) ? p : host::Picture();
}

void DrawGraphicalButton(const DRAWITEMSTRUCT& item, const GraphicalLook& look) {
    host::UniqueBrush back(CreateSolidBrush(look.backColor));
    bool ownDisabled = false;
    host::Picture picture = ChoosePicture(look, item.itemState, ownDisabled);
    RECT c{};
    if (!(look.themed && DrawThemed(item, look, back.Get(), static_cast<bool>(picture), c)))
        DrawClassic(item, look, back.Get(), static_cast<bool>(picture), c);
    if (picture) DrawPicture(item.hDC, look, picture, ownDisabled, item.itemState, c);
}

HBRUSH CreateCheckedPatternBrush(COLORREF backColor) {
    HDC screen = GetDC(nullptr);
    host::UniqueMemoryDC mem(CreateCompatibleDC(screen));
    host::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, 2, 2));
    ReleaseDC(nullptr, screen);
    if (!mem || !bitmap) return nullptr;
    {
        host::SelectObjectGuard select(mem.Get(), bitmap.Get());
        SetPixel(mem.Get(), 0, 0, RGB(255, 255, 255));
        SetPixel(mem.Get(), 1, 1, RGB(255, 255, 255));
        SetPixel(mem.Get(), 0, 1, backColor);
        SetPixel(mem.Get(), 1, 0, backColor);
    }
    return CreatePatternBrush(bitmap.Get());  // the brush keeps its own copy of the pattern
}

}  // namespace controls

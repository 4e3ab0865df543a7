#include "host/ContainerRouting.h"

#include "host/ControlSite.h"
#include "host/WindowlessSurface.h"

#include <cwctype>

namespace host {

namespace {

int ButtonsOf(WPARAM wParam) {
    return static_cast<int>((wParam & MK_LBUTTON ? 1 : 0) | (wParam & MK_RBUTTON ? 2 : 0) | (wParam & MK_MBUTTON ? 4 : 0));
}

int ShiftOf(WPARAM wParam) {
    return static_cast<int>((wParam & MK_SHIFT ? 1 : 0) | (wParam & MK_CONTROL ? 2 : 0) |
                            (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

int ButtonOfMessage(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return 2;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return 4;
    default: return 0;
    }
}

HWND ChildWindowOf(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY: return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: return reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORDLG: return reinterpret_cast<HWND>(lParam);
    default: return nullptr;
    }
}

}  // namespace

void ContainerRouting::PaintWindowless(const std::vector<ControlSite*>& children, HDC dc) {
    for (ControlSite* s : children) {
        if (!s->IsCreated() || !s->Windowless() || !s->Visible()) continue;
        RECT r = s->PixelRect();
        int saved = SaveDC(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        POINT old;
        OffsetViewportOrgEx(dc, r.left, r.top, &old);
        RECT local{0, 0, r.right - r.left, r.bottom - r.top};
        const WindowlessSurface& surface = *s->Windowless();
        surface.PaintBackground(dc, local);
        SelectObject(dc, surface.FontHandle());
        SetTextColor(dc, surface.ForeRgb());
        SetBkColor(dc, surface.BackRgb());
        SetBkMode(dc, surface.BackStyle() == 1 ? OPAQUE : TRANSPARENT);
        s->GetControl().Paint(dc);
        RestoreDC(dc, saved);
    }
}

bool ContainerRouting::Reflect(const std::vector<ControlSite*>& children, UINT msg, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) {
    HWND child = ChildWindowOf(msg, wParam, lParam);
    if (!child) return false;
    for (ControlSite* s : children)
        if (s->OwnWindow() == child) return s->IsCreated() && s->GetControl().OnReflectedMessage(msg, wParam, lParam, result);
    return false;
}

ControlSite* ContainerRouting::WindowlessAt(const std::vector<ControlSite*>& children, POINT pt) {
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        ControlSite* s = *it;
        if (!s->IsCreated() || !s->Windowless() || !s->Visible()) continue;
        RECT r = s->PixelRect();
        if (!PtInRect(&r, pt)) continue;
        POINT local{pt.x - r.left, pt.y - r.top};
        if (s->GetControl().HitTest(local, s->Windowless()->HitTest(local)) == HitResult::Hit) return s;
    }
    return nullptr;
}

bool ContainerRouting::RouteMouse(HWND container, const std::vector<ControlSite*>& children, UINT msg,
                                  WPARAM wParam, LPARAM lParam) {
    if (msg < WM_MOUSEFIRST || msg > WM_MBUTTONDBLCLK) return false;
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ControlSite* target = captured_ ? captured_ : WindowlessAt(children, pt);
    if (!target) return false;
    RECT r = target->PixelRect();
    int x = pt.x - r.left, y = pt.y - r.top;
    Control& c = target->GetControl();
    int button = ButtonOfMessage(msg);
    int shift = ShiftOf(wParam);
    switch (msg) {
    case WM_MOUSEMOVE:
        c.OnSurfaceMouseMove(ButtonsOf(wParam), shift, x, y);
        break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        captured_ = target;
        SetCapture(container);
        c.OnSurfaceMouseDown(button, shift, x, y);
        break;
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
        captured_ = target;
        SetCapture(container);
        c.OnSurfaceDblClick();
        c.OnSurfaceMouseDown(button, shift, x, y);
        break;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
        c.OnSurfaceMouseUp(button, shift, x, y);
        if (ButtonsOf(wParam) == 0) {
            captured_ = nullptr;
            if (GetCapture() == container) ReleaseCapture();
            RECT local{0, 0, r.right - r.left, r.bottom - r.top};
            if (PtInRect(&local, POINT{x, y})) c.OnSurfaceClick();
        }
        break;
    }
    default: break;
    }
    return true;
}

bool ContainerRouting::SetCursor(HWND container, const std::vector<ControlSite*>& children, WPARAM wParam,
                                 LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) != container || LOWORD(lParam) != HTCLIENT) return false;
    POINT pt;
    if (!GetCursorPos(&pt) || !ScreenToClient(container, &pt)) return false;
    ControlSite* target = WindowlessAt(children, pt);
    return target && target->GetControl().OnSurfaceSetCursor();
}

void ContainerRouting::Forget(const ControlSite* site) {
    if (captured_ == site) captured_ = nullptr;
}

wchar_t AccessKeyOf(std::wstring_view caption) {
    for (size_t i = caption.size(); i-- > 0;) {
        if (caption[i] != L'&' || i + 1 >= caption.size()) continue;
        bool doubledAfter = caption[i + 1] == L'&';
        bool doubledBefore = i > 0 && caption[i - 1] == L'&';
        if (doubledAfter || doubledBefore) {
            if (doubledBefore) --i;  // skip the pair
            continue;
        }
        return static_cast<wchar_t>(std::towupper(caption[i + 1]));
    }
    return 0;
}

}  // namespace host

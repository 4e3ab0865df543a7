// FrameW: the messages of its host window (reference 0): printing for contained controls, the
// mouse pointer, and the frame's own mouse events.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/MouseServices.h"
#include "controls/foundation/Subclass.h"
#include "controls/frame/FrameW.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <windowsx.h>

#include <utility>

namespace controls {

LRESULT FrameW::ISubclass_Message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR ref) {
    if (ref == HostWindowRef) return HostWindowProc(hwnd, msg, wParam, lParam);
    return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
}

LRESULT FrameW::HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PRINTCLIENT: return OnPrintClient(hwnd, wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor(hwnd, wParam, lParam);
    case WM_THEMECHANGED: return OnThemeChanged(hwnd, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return OnMouse(hwnd, msg, wParam, lParam);
    case WM_CAPTURECHANGED: return OnCaptureChanged(hwnd, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

// Contained controls that paint their parent's background (themed check boxes and the like)
// get the frame as it is drawn, background included.
LRESULT FrameW::OnPrintClient(HWND hwnd, WPARAM wParam, LPARAM) {
    host::HostWindow& host = *Site().HostWin();
    RECT client{};
    GetClientRect(hwnd, &client);
    BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, client.right, client.bottom, host.ImageDC(), 0, 0, SRCCOPY);
    return 0;
}

// The drawing is kept, not redone on every paint: a new theme has to be drawn in.
LRESULT FrameW::OnThemeChanged(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    LRESULT r = foundation::CallDefaultProc(hwnd, WM_THEMECHANGED, wParam, lParam);
    DrawFrame();
    return r;
}

// Over a windowless control inside the frame, that control chooses (the host asks it).
LRESULT FrameW::OnSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(hwnd, &pt);
    bool overChild = OverWindowlessChild(MAKELPARAM(pt.x, pt.y));
    if (reinterpret_cast<HWND>(wParam) == hwnd && !overChild && ShowMousePointer(lParam)) return TRUE;
    return foundation::CallDefaultProc(hwnd, WM_SETCURSOR, wParam, lParam);
}

// The host routes the mouse to windowless controls inside the frame; what falls on the frame
// itself becomes the frame's events.
LRESULT FrameW::OnMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    bool toChild = msg != WM_MOUSELEAVE && MouseGoesToChild(hwnd, lParam);
    LRESULT r = foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    if (!toChild) RaiseMouseEvent(hwnd, msg, wParam, lParam);
    return r;
}

// A press that began on the frame keeps the mouse with the frame until its last button is up;
// one that began on a contained windowless control keeps it there (the host holds the capture).
bool FrameW::MouseGoesToChild(HWND hwnd, LPARAM lParam) const {
    if (pressedButtons_ != 0) return false;
    if (GetCapture() == hwnd) return true;
    return OverWindowlessChild(lParam);
}

// Someone else took the mouse (a menu, a drag, another window): the press is over, and its
// release, wherever it comes, is no click.
LRESULT FrameW::OnCaptureChanged(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != hwnd) {
        pressedButtons_ = 0;
        leftDown_ = false;
    }
    return foundation::CallDefaultProc(hwnd, WM_CAPTURECHANGED, wParam, lParam);
}

void FrameW::PressButton(HWND hwnd, int button) {
    if (pressedButtons_ == 0 && GetCapture() != hwnd) SetCapture(hwnd);
    pressedButtons_ |= button;
}

// True when the release ends the frame's own press; the capture goes with the last button.
bool FrameW::ReleaseButton(HWND hwnd, int button) {
    bool ours = (pressedButtons_ & button) != 0;
    pressedButtons_ &= ~button;
    if (pressedButtons_ == 0 && ours && GetCapture() == hwnd) ReleaseCapture();
    return ours;
}

bool FrameW::InsideClient(HWND hwnd, LPARAM lParam) {
    RECT client{};
    GetClientRect(hwnd, &client);
    return PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
}

bool FrameW::OverWindowlessChild(LPARAM lParam) const {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    for (const host::ControlSite* child : Site().Children()) {
        if (!child->Windowless() || !child->EffectivelyVisible()) continue;
        RECT rc = child->PixelRect();
        if (PtInRect(&rc, pt)) return true;
    }
    return false;
}

// The frame passes its coordinates on in its own pixels.
void FrameW::RaiseMouseEvent(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    int shift = foundation::ShiftStateFromParam(wParam);
    float x = static_cast<float>(GET_X_LPARAM(lParam));
    float y = static_cast<float>(GET_Y_LPARAM(lParam));
    int button = foundation::ButtonOfMessage(msg);
    switch (msg) {
    case WM_MOUSELEAVE:
        if (foundation::MouseLeft(mouseOver_)) Site().RaiseEvent(DispId::MouseLeave, MouseLeave);
        break;
    case WM_MOUSEMOVE:
        if (foundation::MouseEntered(hWnd(), mouseTrack_, mouseOver_)) Site().RaiseEvent(DispId::MouseEnter, MouseEnter);
        Site().RaiseEvent(host::dispid::MouseMove, MouseMove, foundation::ButtonFromParam(wParam), shift, x, y);
        break;
    case WM_LBUTTONDOWN:
        leftDown_ = true;
        PressButton(hwnd, button);
        Site().RaiseEvent(host::dispid::MouseDown, MouseDown, button, shift, x, y);
        break;
    // The second press of a right or middle double click is a press like the first.
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        PressButton(hwnd, button);
        Site().RaiseEvent(host::dispid::MouseDown, MouseDown, button, shift, x, y);
        break;
    case WM_LBUTTONUP: {
        bool clicked = std::exchange(leftDown_, false) && InsideClient(hwnd, lParam);
        ReleaseButton(hwnd, button);
        Site().RaiseEvent(host::dispid::MouseUp, MouseUp, button, shift, x, y);
        if (clicked) Site().RaiseEvent(host::dispid::Click, Click);
        break;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        ReleaseButton(hwnd, button);
        Site().RaiseEvent(host::dispid::MouseUp, MouseUp, button, shift, x, y);
        break;
    case WM_LBUTTONDBLCLK:
        PressButton(hwnd, button);
        Site().RaiseEvent(host::dispid::DblClick, DblClick);
        break;
    default: break;
    }
}

}  // namespace controls

// HotKey: the messages of its two windows (1 = the hot key window, 2 = the host window) and the
// answer it gives the host's key routing.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/KeyInput.h"
#include "controls/foundation/MouseActivation.h"
#include "controls/foundation/MouseServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/Subclass.h"
#include "controls/hotkey/HotKey.h"
#include "host/ControlSite.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

namespace controls {

LRESULT HotKey::ISubclass_Message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR ref) {
    switch (ref) {
    case HotKeyWindowRef: return HotKeyWindowProc(hwnd, msg, wParam, lParam);
    case HostWindowRef: return HostWindowProc(hwnd, msg, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

LRESULT HotKey::HotKeyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: return OnEraseBackground(hwnd, wParam, lParam);
    case WM_SETFOCUS: return OnSetFocus(hwnd, wParam, lParam);
    case WM_KILLFOCUS: return OnKillFocus(hwnd, wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE: return OnMouseActivate(hwnd, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: return OnKey(hwnd, msg, wParam, lParam);
    case WM_CHAR: return OnChar(hwnd, wParam, lParam);
    case WM_UNICHAR: return foundation::AnswerUniChar(hwnd, wParam, lParam);
    case WM_IME_CHAR: return foundation::AnswerImeChar(hwnd, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return OnButtonDown(hwnd, msg, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSELEAVE:
    case WM_CAPTURECHANGED: return OnMouse(hwnd, msg, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

LRESULT HotKey::HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: return OnHostCommand(hwnd, wParam, lParam);
    case WM_SETFOCUS: return foundation::HostSetFocus(hwnd, hotKey_.Get(), wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

// Our own colour, painted under a transparent text background; the system colour is left to the
// window, which asks the host window for it.
LRESULT HotKey::OnEraseBackground(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!Enabled() || BackColor() == foundation::SystemColorWindow || !backBrush_)
        return foundation::CallDefaultProc(hwnd, WM_ERASEBKGND, wParam, lParam);
    HDC dc = reinterpret_cast<HDC>(wParam);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &rc, backBrush_.Get());
    return 1;
}

// Focus always enters through the host window, which hands it on; while the window has it, the
// form asks this control first for keys.
LRESULT HotKey::OnSetFocus(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    return foundation::ChildSetFocus(*this, HostWindow(), hwnd, wParam, lParam);
}

LRESULT HotKey::OnKillFocus(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    return foundation::ChildKillFocus(hwnd, wParam, lParam);
}

LRESULT HotKey::OnSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (ShowMousePointer(lParam)) return TRUE;
    return foundation::CallDefaultProc(hwnd, WM_SETCURSOR, wParam, lParam);
}

LRESULT HotKey::OnMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (auto r = foundation::FocusOnMouseActivate(Site(), hwnd, HostWindow(), lParam, designMode_, validating_)) return *r;
    return foundation::CallDefaultProc(hwnd, WM_MOUSEACTIVATE, wParam, lParam);
}

// --- keys -------------------------------------------------------------------------------------

LRESULT HotKey::OnKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    int keyCode = static_cast<int>(wParam & 0xFF);
    bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    if (down)
        Site().RaiseEvent(host::dispid::KeyDown, KeyDown, keyCode, foundation::ShiftStateFromKeyboard());
    else
        Site().RaiseEvent(host::dispid::KeyUp, KeyUp, keyCode, foundation::ShiftStateFromKeyboard());
    if (msg == WM_KEYDOWN || msg == WM_KEYUP) pendingChar_ = foundation::PeekPendingChar(hwnd);
    // A Tab the form moves the focus with is no typing: the window would clear the combination
    // on its way out.
    if (std::exchange(tabLeaves_, false) && msg == WM_KEYDOWN && keyCode == VK_TAB) return 0;
    if (!hotKey_ || hotKey_.Get() != hwnd) return foundation::CallDefaultProc(hwnd, msg, static_cast<WPARAM>(keyCode), lParam);
    LRESULT before = Send(HKM_GETHOTKEY);
    unsigned notes = changeNotes_;
    LRESULT r = foundation::CallDefaultProc(hwnd, msg, static_cast<WPARAM>(keyCode), lParam);
    if (hotKey_ && changeNotes_ == notes && Send(HKM_GETHOTKEY) != before) NoteCombinationChanged();
    return r;
}

LRESULT HotKey::OnChar(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    int keyChar = static_cast<short>(pendingChar_ ? pendingChar_ : LOWORD(wParam));
    pendingChar_ = 0;
    Site().RaiseEvent(host::dispid::KeyPress, KeyPress, keyChar);
    return foundation::CallDefaultProc(hwnd, WM_CHAR, static_cast<WPARAM>(keyChar & 0xFFFF), lParam);
}



// --- mouse ------------------------------------------------------------------------------------

// A window class without double clicks sends a second button-down instead; it goes on as the
// double click it completes.
LRESULT HotKey::OnButtonDown(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    UINT passed = msg;
    if (!classHasDoubleClicks_ && doubleClicks_.Press({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, GetTickCount()))
        passed = DoubleClickMessageOf(msg);
    return OnMouse(hwnd, passed, wParam, lParam);
}

LRESULT HotKey::OnMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    RaiseMouseEvent(msg, wParam, lParam);
    return r;
}

void HotKey::RaiseMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam) {
    int shift = foundation::ShiftStateFromParam(wParam);
    foundation::MousePoint pt = foundation::MousePointInTwips(Site(), lParam);
    switch (msg) {
    case WM_MOUSEMOVE:
        if (foundation::MouseEntered(hotKey_.Get(), mouseTrack_, mouseOver_)) Site().RaiseEvent(DispId::MouseEnter, MouseEnter);
        Site().RaiseEvent(host::dispid::MouseMove, MouseMove, foundation::ButtonFromParam(wParam), shift, pt.x, pt.y);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Site().RaiseEvent(host::dispid::MouseDown, MouseDown, foundation::ButtonOfMessage(msg), shift, pt.x, pt.y);
        buttonPressed_ = true;
        // The window does not capture the mouse itself; without it, a release outside would
        // never arrive and a later release inside would complete a click nobody made.
        if (hotKey_ && GetCapture() != hotKey_.Get()) SetCapture(hotKey_.Get());
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        Site().RaiseEvent(host::dispid::MouseUp, MouseUp, foundation::ButtonOfMessage(msg), shift, pt.x, pt.y);
        RaiseClickIfInside(lParam);
        // Only now: giving the capture up tells this window it lost it, which ends a press.
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && hotKey_ && GetCapture() == hotKey_.Get()) ReleaseCapture();
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: Site().RaiseEvent(host::dispid::DblClick, DblClick); break;
    case WM_MOUSELEAVE:
        if (foundation::MouseLeft(mouseOver_)) Site().RaiseEvent(DispId::MouseLeave, MouseLeave);
        break;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press (another window, a menu): that press makes no click.
        if (reinterpret_cast<HWND>(lParam) != hotKey_.Get()) buttonPressed_ = false;
        break;
    default: break;
    }
}

// A button that went down in the control and comes up inside it (edges included) is a click;
// released outside, not.
void HotKey::RaiseClickIfInside(LPARAM lParam) {
    if (!std::exchange(buttonPressed_, false)) return;
    foundation::MousePoint pt = foundation::MousePointInTwips(Site(), lParam);
    if (pt.x >= 0 && pt.x <= Width() && pt.y >= 0 && pt.y <= Height()) Site().RaiseEvent(host::dispid::Click, Click);
}

// --- the host window ----------------------------------------------------------------------------

LRESULT HotKey::OnHostCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (hotKey_ && reinterpret_cast<HWND>(lParam) == hotKey_.Get() && HIWORD(wParam) == EN_CHANGE) {
        ++changeNotes_;
        NoteCombinationChanged();
    }
    return foundation::CallDefaultProc(hwnd, WM_COMMAND, wParam, lParam);
}


void HotKey::NoteCombinationChanged() { Site().RaiseEvent(DispId::Change, Change); }

// --- key routing answer -----------------------------------------------------------------------

// Navigation keys always stay in the control (a combination may use them); Tab, Return and
// Escape only when the PreviewKeyDown handler claims them. A Tab left to the form is noted, so
// the window does not take it as typing. The character an Alt combination makes is dropped: the
// window has the combination already, and the form would take it for an access key.
void HotKey::IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                            LPARAM lParam, int shift) {
    if (wMsg == WM_SYSCHAR) {
        handled = true;
        retVal = S_OK;
        return;
    }
    if (!foundation::TranslatePreviewKey(handled, retVal, Site(), wMsg, wParam, {DispId::PreviewKeyDown, PreviewKeyDown, DispId::PreviewKeyUp, PreviewKeyUp}))
        return;
    tabLeaves_ = wMsg == WM_KEYDOWN && (wParam & 0xFF) == VK_TAB && !handled && !(shift & 6);
}

}  // namespace controls

#include "controls/foundation/MouseActivation.h"

#include "controls/foundation/Subclass.h"
#include "controls/foundation/VTableHandle.h"

namespace foundation {

bool RedirectChildFocus(HWND hostWindow, WPARAM previousFocus) {
    HWND from = reinterpret_cast<HWND>(previousFocus);
    if (!hostWindow || from == hostWindow) return false;
    SetFocus(hostWindow);
    return true;
}

LRESULT ChildSetFocus(host::Control& control, HWND hostWindow, HWND child, WPARAM wParam, LPARAM lParam) {
    if (RedirectChildFocus(hostWindow, wParam)) return 0;
    ActivateInPlaceHook(control);
    return CallDefaultProc(child, WM_SETFOCUS, wParam, lParam);
}

LRESULT ChildKillFocus(HWND child, WPARAM wParam, LPARAM lParam) {
    DeactivateInPlaceHook();
    return CallDefaultProc(child, WM_KILLFOCUS, wParam, lParam);
}

LRESULT HostSetFocus(HWND hostWindow, HWND child, WPARAM wParam, LPARAM lParam) {
    LRESULT r = CallDefaultProc(hostWindow, WM_SETFOCUS, wParam, lParam);
    if (child && GetFocus() != child) SetFocus(child);
    return r;
}

}  // namespace foundation

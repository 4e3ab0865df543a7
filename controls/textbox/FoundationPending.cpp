// TO BE MOVED to controls/foundation (see FoundationPending.h).
#include "controls/textbox/FoundationPending.h"

#include "host/Error.h"
#include "controls/foundation/ComCtlsBase.h"
#include "host/Form.h"

#include <windowsx.h>

#include <utility>

namespace foundation {

bool IsValidMousePointer(long value) { return (value >= 0 && value <= 16) || value == 99; }

bool RejectOutOfRange(long value, long lo, long hi, bool designMode) {
    if (value >= lo && value <= hi) return false;
    InvalidPropertyValue(designMode);
    return true;
}

bool RejectMousePointer(long value, bool designMode) {
    if (IsValidMousePointer(value)) return false;
    InvalidPropertyValue(designMode);
    return true;
}

long MousePointerCursorId(long value) {
    static constexpr long ids[] = {0, 32512, 32515, 32513, 32649, 32646, 32643, 32645, 32642,
                                   32644, 32516, 32514, 32648, 32650, 32651, 32646, 32663};
    return value >= 0 && value <= 16 ? ids[value] : 0;
}

bool SetCursorForMousePointer(long value, LPARAM setCursorLParam) {
    if (LOWORD(setCursorLParam) != HTCLIENT) return false;
    long id = MousePointerCursorId(value);
    if (id == 0) return false;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
    return true;
}

void StartMouseTrack(HWND hwnd) {
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hwnd;
    TrackMouseEvent(&tme);
}

bool MouseEntered(HWND hwnd, bool mouseTrack, bool& mouseOver) {
    if (mouseOver || !mouseTrack) return false;
    mouseOver = true;
    StartMouseTrack(hwnd);
    return true;
}

bool MouseLeft(bool& mouseOver) { return std::exchange(mouseOver, false); }

MousePoint MousePointInTwips(const host::ControlSite& site, LPARAM lParam) {
    return {static_cast<float>(site.ScaleX(GET_X_LPARAM(lParam), host::ScaleUnit::Pixels, host::ScaleUnit::Twips)),
            static_cast<float>(site.ScaleY(GET_Y_LPARAM(lParam), host::ScaleUnit::Pixels, host::ScaleUnit::Twips))};
}

int ButtonOfMessage(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return 2;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return 4;
    default: return 0;
    }
}

wchar_t PeekPendingChar(HWND hwnd) {
    MSG msg;
    if (PeekMessageW(&msg, hwnd, WM_CHAR, WM_CHAR, PM_NOREMOVE)) return static_cast<wchar_t>(msg.wParam);
    return 0;
}

void SendCharAsUtf16(HWND hwnd, WPARAM codePoint, LPARAM lParam) {
    if (codePoint > 0xFFFF && codePoint <= 0x10FFFF) {
        WPARAM v = codePoint - 0x10000;
        SendMessageW(hwnd, WM_CHAR, 0xD800 + (v >> 10), lParam);
        SendMessageW(hwnd, WM_CHAR, 0xDC00 + (v & 0x3FF), lParam);
    } else {
        SendMessageW(hwnd, WM_CHAR, codePoint, lParam);
    }
}

void AnswerPreviewKey(bool& handled, long& retVal, int keyCode, bool isInputKey) {
    bool navigation = keyCode >= VK_PRIOR && keyCode <= VK_DOWN;
    bool dialogKey = keyCode == VK_TAB || keyCode == VK_RETURN || keyCode == VK_ESCAPE;
    if (navigation || (dialogKey && isInputKey)) {
        handled = true;
        retVal = S_FALSE;
    }
}

std::optional<LRESULT> FocusOnMouseActivate(host::ControlSite& site, HWND child, HWND hostWindow, LPARAM lParam,
                                            bool designMode, bool& validating) {
    if (GetFocus() == child || designMode) return std::nullopt;
    if (LOWORD(lParam) == HTBORDER || validating) return MA_ACTIVATEANDEAT;
    if (HIWORD(lParam) != WM_LBUTTONDOWN) return std::nullopt;
    if (site.CausesValidation()) {
        validating = true;
        bool cancelled = false;
        try {
            site.Parent().ValidateControls();
        } catch (const host::Error& e) {
            validating = false;
            if (e.Number() != host::err::InvalidPropertyValue) throw;
            cancelled = true;
        }
        validating = false;
        if (cancelled) return MA_ACTIVATEANDEAT;
    }
    SetFocus(hostWindow);
    return MA_NOACTIVATE;
}

}  // namespace foundation

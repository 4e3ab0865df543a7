// TO BE MOVED to controls/foundation (see FoundationPending.h).
#include "controls/textbox/FoundationPending.h"

#include "host/Error.h"
#include "host/Form.h"

namespace foundation {

bool IsValidMousePointer(long value) { return (value >= 0 && value <= 16) || value == 99; }

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

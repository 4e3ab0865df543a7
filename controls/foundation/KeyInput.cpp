#include "controls/foundation/KeyInput.h"

namespace foundation {

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

std::optional<PreviewedKey> RaisePreviewKey(host::ControlSite& site, UINT wMsg, WPARAM wParam,
                                            const PreviewKeyEvents& events) {
    if (wMsg != WM_KEYDOWN && wMsg != WM_KEYUP) return std::nullopt;
    PreviewedKey key{static_cast<int>(wParam & 0xFF), false};
    if (wMsg == WM_KEYDOWN)
        site.RaiseEvent(events.downId, events.down, key.keyCode, key.isInputKey);
    else
        site.RaiseEvent(events.upId, events.up, key.keyCode, key.isInputKey);
    return key;
}

bool TranslatePreviewKey(bool& handled, long& retVal, host::ControlSite& site, UINT wMsg, WPARAM wParam,
                         const PreviewKeyEvents& events) {
    std::optional<PreviewedKey> key = RaisePreviewKey(site, wMsg, wParam, events);
    if (!key) return false;
    AnswerPreviewKey(handled, retVal, key->keyCode, key->isInputKey);
    return true;
}

LRESULT AnswerUniChar(HWND hwnd, WPARAM codePoint, LPARAM lParam) {
    if (codePoint == UNICODE_NOCHAR) return TRUE;
    SendCharAsUtf16(hwnd, codePoint, lParam);
    return 0;
}

LRESULT AnswerImeChar(HWND hwnd, WPARAM codePoint, LPARAM lParam) {
    SendCharAsUtf16(hwnd, codePoint, lParam);
    return 0;
}

}  // namespace foundation

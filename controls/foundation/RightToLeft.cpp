#include "controls/foundation/ControlServices.h"

#include <commctrl.h>

namespace foundation {

namespace {

// Bit 123 of the Unicode-subset bitfield (bit 3 of its byte 15): the language reads right to left.
// When the query fails the caller keeps its True.
bool ReadsRightToLeft(LCID locale, bool fallback) {
    LOCALESIGNATURE sig{};
    if (GetLocaleInfoW(locale, LOCALE_FONTSIGNATURE, reinterpret_cast<LPWSTR>(&sig), sizeof(sig) / sizeof(WCHAR)) == 0)
        return fallback;
    return (sig.lsUsb[3] & (1u << 27)) != 0;
}

}  // namespace

void ResolveRightToLeft(bool& rightToLeft, bool hostValue, long rightToLeftMode) {
    if (!rightToLeft) return;
    switch (rightToLeftMode) {
    case 0: rightToLeft = true; break;
    case 1: rightToLeft = hostValue; break;
    case 2: rightToLeft = ReadsRightToLeft(GetSystemDefaultLCID(), true); break;
    case 3: rightToLeft = ReadsRightToLeft(GetUserDefaultLCID(), true); break;
    case 4: rightToLeft = ReadsRightToLeft(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), true); break;
    default: break;
    }
}

void ApplyRightToLeftExStyle(HWND hwnd, DWORD bits) {
    if (!hwnd) return;
    DWORD ex = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    ex &= ~(WS_EX_LAYOUTRTL | WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR);
    ex |= bits;
    if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_POPUP)) {
        SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(ex));
        InvalidateRect(hwnd, nullptr, TRUE);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
        return;
    }
    // A tool-tip window: the layout bit stays on the window, the reading order goes on the tools.
    SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(ex & ~(WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR)));
    bool rtlReading = (bits & WS_EX_RTLREADING) && !(bits & WS_EX_LAYOUTRTL);
    LRESULT count = SendMessageW(hwnd, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[80] = {};
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.lpszText = text;
        if (!SendMessageW(hwnd, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ti))) continue;
        if (rtlReading) ti.uFlags |= TTF_RTLREADING;
        else ti.uFlags &= ~TTF_RTLREADING;
        SendMessageW(hwnd, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(hwnd, TTM_UPDATE, 0, 0);
    }
}

}  // namespace foundation

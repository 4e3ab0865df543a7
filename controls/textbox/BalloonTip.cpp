#include "controls/textbox/BalloonTip.h"

#include <commctrl.h>

namespace controls {

namespace {

// The caret's foot, or the edit window's bottom left when it has no caret, in screen pixels.
POINT TipAnchor(HWND edit) {
    POINT pt{};
    RECT rc{};
    GetClientRect(edit, &rc);
    if (GetFocus() == edit && GetCaretPos(&pt)) {
        HDC dc = GetDC(edit);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(edit, dc);
        pt.y += tm.tmHeight;
    } else {
        pt = {rc.left + 8, rc.bottom};
    }
    ClientToScreen(edit, &pt);
    return pt;
}

}  // namespace

bool BalloonTip::Show(HWND edit, const std::wstring& title, const std::wstring& text, int icon) {
    Hide();
    tip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_BALLOON | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, edit, nullptr,
                               GetModuleHandleW(nullptr), nullptr));
    if (!tip_) return false;
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = edit;
    ti.uId = 1;
    ti.lpszText = const_cast<wchar_t*>(text.c_str());  // copied by the tooltip window
    if (!SendMessageW(tip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) {
        tip_.Reset();
        return false;
    }
    SendMessageW(tip_.Get(), TTM_SETMAXTIPWIDTH, 0, 400);
    if (!title.empty() || icon) SendMessageW(tip_.Get(), TTM_SETTITLEW, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(title.c_str()));
    POINT at = TipAnchor(edit);
    SendMessageW(tip_.Get(), TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(tip_.Get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    return true;
}

bool BalloonTip::Hide() {
    bool shown = tip_ && IsWindowVisible(tip_.Get());
    tip_.Reset();
    return shown;
}

}  // namespace controls

#include "controls/foundation/MouseServices.h"

#include <windowsx.h>

#include <utility>

namespace foundation {

void StartMouseTrack(HWND hwnd) {
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);  // 16 bytes
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hwnd;
    tme.dwHoverTime = 0;
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

}  // namespace foundation

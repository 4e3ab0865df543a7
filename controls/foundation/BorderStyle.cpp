#include "controls/foundation/ComCtlsBase.h"

namespace foundation {

void ApplyBorderStyle(DWORD& style, DWORD& exStyle, long borderStyle) {
    switch (borderStyle) {
    case 1: style |= WS_BORDER; break;
    case 2: exStyle |= WS_EX_STATICEDGE; break;
    case 3: exStyle |= WS_EX_CLIENTEDGE; break;
    case 4:
        exStyle |= WS_EX_WINDOWEDGE;
        style |= WS_DLGFRAME;
        break;
    default: break;
    }
}

void ReapplyBorderStyle(HWND hwnd, long borderStyle) {
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & ~(WS_BORDER | WS_DLGFRAME);
    DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)) & ~(WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE);
    ApplyBorderStyle(style, exStyle, borderStyle);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

}  // namespace foundation

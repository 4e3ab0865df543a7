#include "controls/foundation/ComCtlsBase.h"

namespace foundation {

int ShiftStateFromParam(WPARAM wParam) {
    int shift = static_cast<int>((wParam >> 2) & 3);  // MK_SHIFT → 1, MK_CONTROL → 2
    if (GetKeyState(VK_MENU) < 0) shift += 4;
    return shift;
}

int ButtonFromParam(WPARAM wParam) {
    int button = static_cast<int>(wParam & 3);  // MK_LBUTTON → 1, MK_RBUTTON → 2
    if (wParam & MK_MBUTTON) button += 4;
    return button;
}

int ShiftStateFromKeyboard() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) + (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) + (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace foundation

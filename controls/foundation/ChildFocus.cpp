#include "controls/foundation/MouseActivation.h"

namespace foundation {

bool RedirectChildFocus(HWND hostWindow, WPARAM previousFocus) {
    HWND from = reinterpret_cast<HWND>(previousFocus);
    if (!hostWindow || from == hostWindow) return false;
    SetFocus(hostWindow);
    return true;
}

}  // namespace foundation

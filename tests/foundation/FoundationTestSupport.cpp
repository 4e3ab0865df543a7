#include "FoundationTestSupport.h"

#include "host/Application.h"

namespace foundationtest {

void ClickAt(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    host::App().PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0 && !GetQueueStatus(QS_MOUSE); }, 2000);
    for (int i = 0; i < 1000 && host::App().PumpOne(false); ++i) {
    }  // the messages the click caused in turn
}

POINT CentreOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace foundationtest

// A wait that keeps the window alive: it polls the millisecond counter and pumps the thread's
// messages on every pass instead of sleeping.

#include "util/clsUtil.h"

#include <mmsystem.h>

namespace {

// One pass of the host's message pump: everything queued now is dispatched. A quit request is
// put back for the real message loop rather than swallowed here.
void PumpPendingMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace

void clsUtil::Wait(long WaitTime) const {
    const DWORD start = ::timeGetTime();
    for (;;) {
        PumpPendingMessages();
        // Unsigned difference: correct across the counter's wrap, where a signed one would
        // overflow for a wait that happens to span it.
        const DWORD elapsed = ::timeGetTime() - start;
        if (static_cast<long long>(elapsed) >= WaitTime) return;
    }
}

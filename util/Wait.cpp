// A wait that keeps the window alive: it polls the millisecond counter and runs the host's
// message pump on every pass instead of sleeping, so keys still reach the controls through the
// host's routing and a quit request reaches the host's loop.

#include "util/clsUtil.h"

#include <mmsystem.h>

#include "host/Application.h"

void clsUtil::Wait(long WaitTime) const {
    const DWORD start = ::timeGetTime();
    for (;;) {
        while (host::App().PumpOne(false)) {
        }
        // Unsigned difference: right across the counter's wrap, where a signed one would
        // overflow for a wait that happens to span it.
        const DWORD elapsed = ::timeGetTime() - start;
        if (static_cast<long long>(elapsed) >= WaitTime) return;
    }
}

// Double clicks for a window whose class has no CS_DBLCLKS, where the system sends a second
// button-down instead: a press within the system's double-click time of the previous press, and
// within the double-click rectangle around it, completes a double click. The previous press is
// recorded whether or not it completed one, so in a fast triple click the third press is again a
// double click unless it falls outside time or rectangle.
#pragma once

#include <windows.h>

namespace controls {

class DoubleClicks {
public:
    // The system's double-click time and rectangle size, read now (once per control).
    void ReadSystemSettings();
    // A time in milliseconds and a rectangle size in pixels of its own.
    void Configure(UINT time, int width, int height);
    // A button-down at `pt` (client pixels) at tick count `now`: true when it completes a double
    // click. Ticks are compared as unsigned, so the count wrapping around does no harm.
    bool Press(POINT pt, DWORD now);
    // Forgets the previous press (the window was re-created).
    void Reset() { hasLast_ = false; }

private:
    UINT time_ = 500;
    int width_ = 4, height_ = 4;
    bool hasLast_ = false;
    DWORD lastTick_ = 0;
    POINT last_{};
};

// WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK or WM_MBUTTONDBLCLK for the matching button-down message.
UINT DoubleClickMessageOf(UINT buttonDown);

}  // namespace controls

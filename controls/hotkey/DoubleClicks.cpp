#include "controls/hotkey/DoubleClicks.h"

#include <cmath>

namespace controls {

namespace {

// Rounded to the nearest integer, halves to even (the rectangle of an odd width has half-pixel
// edges).
LONG RoundHalfEven(double v) {
    double r = std::round(v);
    if (std::fabs(v - std::trunc(v)) == 0.5 && std::fmod(r, 2.0) != 0.0) r -= (v < 0 ? -1.0 : 1.0);
    return static_cast<LONG>(r);
}

}  // namespace

void DoubleClicks::ReadSystemSettings() {
    Configure(GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK));
}

void DoubleClicks::Configure(UINT time, int width, int height) {
    time_ = time;
    width_ = width;
    height_ = height;
}

bool DoubleClicks::Press(POINT pt, DWORD now) {
    bool completes = false;
    if (hasLast_ && now - lastTick_ <= time_) {
        RECT area{RoundHalfEven(last_.x - width_ / 2.0), RoundHalfEven(last_.y - height_ / 2.0),
                  RoundHalfEven(last_.x + width_ / 2.0), RoundHalfEven(last_.y + height_ / 2.0)};
        completes = PtInRect(&area, pt) != FALSE;
    }
    hasLast_ = true;
    lastTick_ = now;
    last_ = pt;
    return completes;
}

UINT DoubleClickMessageOf(UINT buttonDown) {
    switch (buttonDown) {
    case WM_RBUTTONDOWN: return WM_RBUTTONDBLCLK;
    case WM_MBUTTONDOWN: return WM_MBUTTONDBLCLK;
    default: return WM_LBUTTONDBLCLK;
    }
}

}  // namespace controls

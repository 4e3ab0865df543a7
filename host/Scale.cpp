#include "host/Scale.h"

#include "host/Error.h"

#include <windows.h>

#include <cmath>

namespace host {

ScaleConverter::ScaleConverter(int dpiX, int dpiY, ScaleUnit containerUnit)
    : dpiX_(dpiX > 0 ? dpiX : 96), dpiY_(dpiY > 0 ? dpiY : 96),
      container_(containerUnit == ScaleUnit::Container ? ScaleUnit::Twips : containerUnit) {}

ScaleConverter ScaleConverter::Screen(ScaleUnit containerUnit) {
    static const POINT dpi = [] {
        HDC dc = GetDC(nullptr);
        POINT p{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
        ReleaseDC(nullptr, dc);
        return p;
    }();
    return ScaleConverter(dpi.x, dpi.y, containerUnit);
}

// Units of each kind per inch.
double ScaleConverter::PerInch(ScaleUnit unit, int dpi) const {
    switch (unit == ScaleUnit::Container ? container_ : unit) {
    case ScaleUnit::Twips: return 1440.0;
    case ScaleUnit::Points: return 72.0;
    case ScaleUnit::Pixels: return dpi;
    case ScaleUnit::Himetric: return 2540.0;
    default: Raise(err::InvalidProcedureCall);
    }
}

double ScaleConverter::ScaleX(double value, ScaleUnit from, ScaleUnit to) const {
    return value * PerInch(to, dpiX_) / PerInch(from, dpiX_);
}

double ScaleConverter::ScaleY(double value, ScaleUnit from, ScaleUnit to) const {
    return value * PerInch(to, dpiY_) / PerInch(from, dpiY_);
}

int ScaleConverter::TwipsToPixelsX(double twips) const {
    return static_cast<int>(std::lround(twips * dpiX_ / 1440.0));
}

int ScaleConverter::TwipsToPixelsY(double twips) const {
    return static_cast<int>(std::lround(twips * dpiY_ / 1440.0));
}

}  // namespace host

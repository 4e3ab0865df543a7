#include "controls/foundation/Common.h"

#include "host/Scale.h"

#include <cmath>

namespace foundation {

int ScreenPixelsPerInchX() { return host::ScaleConverter::Screen().DpiX(); }
int ScreenPixelsPerInchY() { return host::ScaleConverter::Screen().DpiY(); }

double DpiScaleX() {
    static const double scale = ScreenPixelsPerInchX() / 96.0;
    return scale;
}

double DpiScaleY() {
    static const double scale = ScreenPixelsPerInchY() / 96.0;
    return scale;
}

// HIMETRIC is 1/100 mm: 2540 per inch.
long HimetricToPixelsX(long himetric) { return MulDiv(himetric, ScreenPixelsPerInchX(), 2540); }
long HimetricToPixelsY(long himetric) { return MulDiv(himetric, ScreenPixelsPerInchY(), 2540); }
long PixelsToHimetricX(long pixels) { return MulDiv(pixels, 2540, ScreenPixelsPerInchX()); }
long PixelsToHimetricY(long pixels) { return MulDiv(pixels, 2540, ScreenPixelsPerInchY()); }

namespace {
std::optional<double> correctionOverride;
}

double TwipsPerPixelCorrectionFor(int pixelsPerInch, double hostTwipsPerPixel) {
    return 96.0 / pixelsPerInch * 15.0 / hostTwipsPerPixel;
}

double TwipsPerPixelCorrection() {
    if (correctionOverride) return *correctionOverride;
    // The host measures twips with the same screen DPI, not in whole twips per pixel, so this
    // is 1 at every DPI unless the two disagree.
    static const double correction =
        TwipsPerPixelCorrectionFor(ScreenPixelsPerInchX(), host::ScaleConverter::Screen().TwipsPerPixelX());
    return correction;
}

void OverrideTwipsPerPixelCorrection(std::optional<double> correction) { correctionOverride = correction; }

}  // namespace foundation

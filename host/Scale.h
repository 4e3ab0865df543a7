// Conversions between the host's units: pixels, twips (1/1440 inch), HIMETRIC (1/100 mm) and a
// container's own coordinates. Everything is derived from the real screen DPI, so the twips
// layout scales with the display; a converter can also be built for a given DPI.
#pragma once

namespace host {

enum class ScaleUnit {
    Twips = 1,      // the form's default ScaleMode
    Points = 2,
    Pixels = 3,
    Himetric = 8,
    Container = -1, // whatever the container's ScaleMode is (twips for our forms and frames)
};

class ScaleConverter {
public:
    ScaleConverter(int dpiX, int dpiY, ScaleUnit containerUnit = ScaleUnit::Twips);
    // The screen's logical DPI (LOGPIXELSX/Y of the screen DC), read once per process.
    static ScaleConverter Screen(ScaleUnit containerUnit = ScaleUnit::Twips);

    int DpiX() const { return dpiX_; }
    int DpiY() const { return dpiY_; }

    double ScaleX(double value, ScaleUnit from, ScaleUnit to) const;
    double ScaleY(double value, ScaleUnit from, ScaleUnit to) const;

    double TwipsPerPixelX() const { return 1440.0 / dpiX_; }
    double TwipsPerPixelY() const { return 1440.0 / dpiY_; }
    // Twips to whole pixels, rounded to nearest (halves away from zero), as window positions.
    int TwipsToPixelsX(double twips) const;
    int TwipsToPixelsY(double twips) const;
    double PixelsToTwipsX(double px) const { return px * TwipsPerPixelX(); }
    double PixelsToTwipsY(double px) const { return px * TwipsPerPixelY(); }

private:
    double PerInch(ScaleUnit unit, int dpi) const;
    int dpiX_, dpiY_;
    ScaleUnit container_;
};

}  // namespace host

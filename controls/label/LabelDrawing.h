// How LabelW looks and measures: the DrawText flags, the border, the painted caption and the
// size that auto-size asks for. Works on any device context with the label's font selected,
// so the windowless label can paint onto its host's surface and measure on a memory DC.
#pragma once

#include <windows.h>

#include <string>

namespace controls {

struct LabelLook {
    std::wstring caption;
    long alignment = 0;          // 0 left, 1 right, 2 centre
    long verticalAlignment = 0;  // 0 top, 1 centre, 2 bottom
    long borderStyle = 0;        // 0 none, 1 fixed single, 2 thin, 3 sunken, 4 raised
    long ellipsisFormat = 0;     // 0 none, 1 end, 2 path, 3 word
    bool useMnemonic = true;
    bool wordWrap = false;
    bool rightToLeft = false;
};

// Flags for painting (with the ellipsis) or for measuring (never with one).
UINT LabelFormat(const LabelLook& look, bool painting);

// Border width and height in pixels for a BorderStyle.
SIZE LabelBorder(long borderStyle);

// Paints border and caption into (0, 0, size); text colour, font and background are the
// caller's. Returns the caption as drawn (after an ellipsis substitution); an empty caption
// draws nothing and returns `previousDisplayed` unchanged.
std::wstring PaintLabel(HDC dc, SIZE size, const LabelLook& look, const std::wstring& previousDisplayed);

// The size in pixels the label needs for its caption (an empty one measured as one space).
SIZE MeasureLabel(HDC dc, SIZE size, const LabelLook& look);

}  // namespace controls

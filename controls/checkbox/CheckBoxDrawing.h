// The graphical style's drawing (Style 1): a push button the control paints itself, themed or
// classic, with the picture of the moment centred above the caption. Free of the control so the
// two paths read side by side; the control gathers what they need into a GraphicalLook.
#pragma once

#include "host/Value.h"

#include <windows.h>

#include <string>

namespace controls {

struct GraphicalLook {
    std::wstring caption;
    COLORREF backColor = 0;  // RGB
    COLORREF foreColor = 0;
    int appearance = 1;      // 0 flat frame in the classic path
    bool checked = false;    // Value 1
    bool hot = false;        // the mouse is over the button (themed path)
    bool themed = false;     // themes active and VisualStyles
    int comCtlLevel = 0;     // 2: DrawThemeTextEx with the caption's colour
    double scale = 1.0;      // DPI / 96
    host::Picture picture, disabledPicture, downPicture;
    bool useMaskColor = false;
    COLORREF maskColor = 0;
    HBRUSH checkedBrush = nullptr;  // borrowed: the checked pattern, null when it could not be made
};

// The picture the state asks for: disabled → DisabledPicture or Picture (`ownDisabled` tells
// which); checked or pressed → DownPicture or Picture; otherwise Picture. Null when it has none.
host::Picture ChoosePicture(const GraphicalLook& look, UINT itemState, bool& ownDisabled);

// Draws the button into the item's DC and rectangle.
void DrawGraphicalButton(const DRAWITEMSTRUCT& item, const GraphicalLook& look);

// The checked pattern: a 2 × 2 bitmap, white at (0, 0) and (1, 1), `backColor` at the others.
// Null when GDI refuses.
HBRUSH CreateCheckedPatternBrush(COLORREF backColor);

}  // namespace controls

// The group box of FrameW: the etched (classic) or themed box with its caption set into the
// top line. Drawn onto whatever device context the caller gives (the host window's persistent
// image at run time, a bitmap in tests), with the caption font already selected into it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace controls {

struct FrameLook {
    std::wstring caption;
    long alignment = 0;       // 0 left, 1 right, 2 centre
    long appearance = 1;      // 0 flat, 1 three-dimensional
    long borderStyle = 1;     // 0 none: nothing is drawn
    bool rightToLeft = false;
    bool enabled = true;
    bool themed = false;      // VisualStyles on and visual styles active
    COLORREF foreColor = 0;   // caption colour when enabled
    int comCtlLevel = 0;      // below 2: themed captions keep the theme's own colours
    double scale = 1.0;       // horizontal pixels per inch / 96
    // The caption picture, pw x ph pixels (0 x 0 for none), beside the caption (PictureAlignment
    // 0 left, 1 right) or alone in the top line; drawn by `drawPicture` at the given rectangle.
    long pictureAlignment = 0;
    SIZE picture{0, 0};
    std::function<void(HDC, const RECT&)> drawPicture;
};

// Draws the box and caption into `client` of `dc`; `themeWindow` is the window whose theme
// data the themed drawing opens (it falls back to the classic drawing when there is none).
void DrawFrameBox(HDC dc, HWND themeWindow, const RECT& client, const FrameLook& look);

// The DrawText flags of the caption (single line, no clipping, alignment, reading order).
UINT FrameCaptionFormat(const FrameLook& look);

}  // namespace controls

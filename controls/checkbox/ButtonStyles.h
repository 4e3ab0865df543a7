// The styles of CheckBoxW's "Button" window, as its properties imply them. Kept apart from the
// control so that the mapping reads as one table, and so that the setters that change one bit
// on a live window use the same bits as creation.
#pragma once

#include <windows.h>

namespace controls {

struct ButtonStyleInputs {
    long appearance = 1;         // 0 flat, 1 3D
    bool rightToLeft = false;
    long alignment = 0;          // 0 box at the left, 1 at the right of the text
    long textAlignment = 0;      // 0 left, 1 right, 2 centre
    long verticalAlignment = 1;  // 0 top, 1 centre, 2 bottom
    bool pushLike = false;
    bool wordWrap = true;
    long style = 0;              // 0 standard, 1 graphical
    long drawMode = 0;           // 0 normal, 1 owner draw
};

struct ButtonStyles {
    DWORD style = 0;
    DWORD exStyle = 0;
};

// A three-state button the control toggles itself (never an automatic one). A graphical or
// owner-drawn button has exactly WS_CHILD | WS_VISIBLE | BS_OWNERDRAW.
ButtonStyles ButtonStylesFor(const ButtonStyleInputs& in);

// BS_LEFT / BS_RIGHT / BS_CENTER for TextAlignment 0 / 1 / 2.
DWORD ButtonTextAlignmentStyle(long textAlignment);
// BS_TOP / BS_VCENTER / BS_BOTTOM for VerticalAlignment 0 / 1 / 2.
DWORD ButtonVerticalAlignmentStyle(long verticalAlignment);

// True for a window whose style holds every bit of BS_OWNERDRAW (the graphical style and owner
// draw): the control keeps its exact style and draws it.
bool IsOwnerDrawStyle(DWORD style);

}  // namespace controls

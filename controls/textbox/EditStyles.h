// The window styles of TextBoxW's edit window, as its properties imply them. Kept apart from
// the control so that the mapping, which decides what a re-creation changes, reads as one table.
#pragma once

#include <windows.h>

namespace controls {

struct EditStyleInputs {
    bool rightToLeft = false;
    bool allowOnlyNumbers = false;
    bool locked = false;
    bool hideSelection = true;
    bool useSystemPasswordChar = false;
    bool multiLine = false;
    long scrollBars = 0;        // 0 none, 1 horizontal, 2 vertical, 3 both
    long characterCasing = 0;   // 0 normal, 1 upper, 2 lower
};

struct WindowStyles {
    DWORD style = 0;
    DWORD exStyle = 0;
};

// Everything but the border, which the shared border routine adds.
WindowStyles EditStylesFor(const EditStyleInputs& in);

// ES_LEFT / ES_RIGHT / ES_CENTER for Alignment 0 / 1 / 2.
DWORD EditAlignmentStyle(long alignment);

// ES_UPPERCASE / ES_LOWERCASE for CharacterCasing 1 / 2.
DWORD EditCasingStyle(long characterCasing);

}  // namespace controls

// The window styles of ListBoxW's list box, as its properties imply them (the creation-time
// rules that also settle conflicting properties live in ListBoxW::CreateListBox).
#pragma once

#include <windows.h>

namespace controls {

struct ListBoxStyleInputs {
    bool redraw = true;
    bool multiColumn = false;
    bool rightToLeft = false;
    bool sorted = false;
    bool integralHeight = true;
    bool allowSelection = true;
    long multiSelect = 0;     // 0 none, 1 simple, 2 extended
    bool useTabStops = true;
    long style = 0;           // 0 standard, 1 check boxes, 2 option buttons
    bool disableNoScroll = false;
    long drawMode = 0;        // 0 normal, 1 owner-drawn fixed, 2 owner-drawn variable
};

struct ListBoxStyles {
    DWORD style = 0;
    DWORD exStyle = 0;
};

// Everything but the border, which the shared border routine adds.
ListBoxStyles ListBoxStylesFor(const ListBoxStyleInputs& in);

}  // namespace controls

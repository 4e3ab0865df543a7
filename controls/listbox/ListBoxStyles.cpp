#include "ListBoxStyles.h"

namespace controls {

ListBoxStyles ListBoxStylesFor(const ListBoxStyleInputs& in) {
    ListBoxStyles s;
    s.style = WS_CHILD | WS_VISIBLE | WS_HSCROLL | LBS_NOTIFY;
    if (!in.redraw) s.style |= LBS_NOREDRAW;
    if (in.multiColumn) {
        s.style |= LBS_MULTICOLUMN;
    } else {
        s.style |= WS_VSCROLL;
        if (in.rightToLeft) s.exStyle |= WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    }
    if (in.sorted) s.style |= LBS_SORT;
    if (!in.integralHeight) s.style |= LBS_NOINTEGRALHEIGHT;
    if (!in.allowSelection) s.style |= LBS_NOSEL;
    if (in.multiSelect == 1) s.style |= LBS_MULTIPLESEL;
    if (in.multiSelect == 2) s.style |= LBS_EXTENDEDSEL;
    if (in.useTabStops) s.style |= LBS_USETABSTOPS;
    if (in.style != 0) s.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    if (in.disableNoScroll) s.style |= LBS_DISABLENOSCROLL;
    if (in.drawMode == 1) s.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    if (in.drawMode == 2) s.style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    return s;
}

}  // namespace controls

#include "controls/checkbox/ButtonStyles.h"

namespace controls {

DWORD ButtonTextAlignmentStyle(long textAlignment) {
    switch (textAlignment) {
    case 1: return BS_RIGHT;
    case 2: return BS_CENTER;
    default: return BS_LEFT;
    }
}

DWORD ButtonVerticalAlignmentStyle(long verticalAlignment) {
    switch (verticalAlignment) {
    case 0: return BS_TOP;
    case 2: return BS_BOTTOM;
    default: return BS_VCENTER;
    }
}

bool IsOwnerDrawStyle(DWORD style) { return (style & BS_OWNERDRAW) == BS_OWNERDRAW; }

ButtonStyles ButtonStylesFor(const ButtonStyleInputs& in) {
    ButtonStyles s;
    s.style = WS_CHILD | WS_VISIBLE | BS_NOTIFY | BS_3STATE;
    if (in.appearance == 0) s.style |= BS_FLAT;
    s.exStyle = in.rightToLeft ? WS_EX_RTLREADING : 0;
    if (in.alignment == 1) s.style |= BS_LEFTTEXT;
    s.style |= ButtonTextAlignmentStyle(in.textAlignment);
    if (in.pushLike) s.style |= BS_PUSHLIKE;
    if (in.wordWrap) s.style |= BS_MULTILINE;
    s.style |= ButtonVerticalAlignmentStyle(in.verticalAlignment);
    long style = in.drawMode != 0 ? 0 : in.style;
    if (style == 1 || in.drawMode == 1) s.style |= BS_OWNERDRAW;
    if (IsOwnerDrawStyle(s.style)) s.style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
    return s;
}

}  // namespace controls

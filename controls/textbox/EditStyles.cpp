#include "EditStyles.h"

namespace controls {

namespace {

DWORD MultiLineScrollStyle(long scrollBars) {
    switch (scrollBars) {
    case 1: return WS_HSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    case 2: return WS_VSCROLL | ES_AUTOVSCROLL;
    case 3: return WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    default: return ES_AUTOVSCROLL;
    }
}

}  // namespace

DWORD EditAlignmentStyle(long alignment) {
    switch (alignment) {
    case 1: return ES_RIGHT;
    case 2: return ES_CENTER;
    default: return ES_LEFT;
    }
}

DWORD EditCasingStyle(long characterCasing) {
    switch (characterCasing) {
    case 1: return ES_UPPERCASE;
    case 2: return ES_LOWERCASE;
    default: return 0;
    }
}

WindowStyles EditStylesFor(const EditStyleInputs& in) {
    WindowStyles s;
    s.style = WS_CHILD | WS_VISIBLE;
    s.exStyle = in.rightToLeft ? (WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR) : 0;
    if (in.allowOnlyNumbers) s.style |= ES_NUMBER;
    if (in.rightToLeft) s.style |= ES_RIGHT;
    if (in.locked) s.style |= ES_READONLY;
    if (!in.hideSelection) s.style |= ES_NOHIDESEL;
    if (in.useSystemPasswordChar) s.style |= ES_PASSWORD;
    s.style |= in.multiLine ? (ES_MULTILINE | MultiLineScrollStyle(in.scrollBars)) : ES_AUTOHSCROLL;
    s.style |= EditCasingStyle(in.characterCasing);
    return s;
}

}  // namespace controls

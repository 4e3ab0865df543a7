#include "controls/foundation/MouseServices.h"

namespace foundation {

bool IsValidMousePointer(long value) { return (value >= 0 && value <= 16) || value == 99; }

long MousePointerCursorId(long value) {
    // IDC_ARROW, IDC_CROSS, IDC_IBEAM, IDC_HAND, IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE,
    // IDC_SIZEWE, IDC_UPARROW, IDC_WAIT, IDC_NO, IDC_APPSTARTING, IDC_HELP, IDC_SIZEALL, and the CD.
    static constexpr long ids[] = {0,     32512, 32515, 32513, 32649, 32646, 32643, 32645, 32642,
                                   32644, 32516, 32514, 32648, 32650, 32651, 32646, 32663};
    return value >= 0 && value <= 16 ? ids[value] : 0;
}

bool SetCursorForMousePointer(long value, LPARAM setCursorLParam) {
    return SetCursorForMousePointer(value, host::Picture(), setCursorLParam);
}

}  // namespace foundation

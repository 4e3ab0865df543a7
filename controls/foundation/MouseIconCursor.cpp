#include "controls/foundation/MouseServices.h"

#include <olectl.h>

namespace foundation {

bool SetCursorForMousePointer(long value, const host::Picture& mouseIcon, LPARAM setCursorLParam) {
    if (LOWORD(setCursorLParam) != HTCLIENT) return false;
    if (long id = MousePointerCursorId(value)) {
        // A system without that cursor (Wine has no arrow-and-CD) gives NULL, which would hide
        // the pointer altogether: the arrow stands in for it.
        HCURSOR cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(id));
        SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
        return true;
    }
    if (value != 99 || !mouseIcon) return false;
    // Only an icon (or cursor) can be a cursor; a bitmap or metafile given as MouseIcon cannot.
    SHORT type = PICTYPE_NONE;
    if (FAILED(mouseIcon->get_Type(&type)) || type != PICTYPE_ICON) return false;
    OLE_HANDLE handle = 0;
    if (FAILED(mouseIcon->get_Handle(&handle)) || !handle) return false;
    SetCursor(reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(handle)));
    return true;
}

}  // namespace foundation

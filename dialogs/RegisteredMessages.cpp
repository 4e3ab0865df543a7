#include "dialogs/RegisteredMessages.h"

#include <commdlg.h>

namespace dialogs::msg {

UINT Help() {
    static const UINT m = RegisterWindowMessageW(HELPMSGSTRINGW);
    return m;
}
UINT ShareViolation() {
    static const UINT m = RegisterWindowMessageW(SHAREVISTRINGW);
    return m;
}
UINT FileNameOk() {
    static const UINT m = RegisterWindowMessageW(FILEOKSTRINGW);
    return m;
}
UINT ColorOk() {
    static const UINT m = RegisterWindowMessageW(COLOROKSTRINGW);
    return m;
}
UINT SetRgbColor() {
    static const UINT m = RegisterWindowMessageW(SETRGBSTRINGW);
    return m;
}
UINT FindReplace() {
    static const UINT m = RegisterWindowMessageW(FINDMSGSTRINGW);
    return m;
}

}  // namespace dialogs::msg

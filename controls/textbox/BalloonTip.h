// A balloon tip under an edit window's caret, made of a tracking tooltip window of our own, for
// edit windows that do not show EM_SHOWBALLOONTIP tips themselves (Wine's). Like the system's,
// it goes when the edit window loses the focus or a key is pressed in it.
#pragma once

#include "host/Handles.h"

#include <windows.h>

#include <string>

namespace controls {

class BalloonTip {
public:
    // Icon 0 none, 1 information, 2 warning, 3 error (TTI_...). Replaces a tip shown before.
    bool Show(HWND edit, const std::wstring& title, const std::wstring& text, int icon);
    // True when a tip was showing.
    bool Hide();
    HWND Window() const { return tip_.Get(); }

private:
    host::UniqueWindow tip_;
};

}  // namespace controls

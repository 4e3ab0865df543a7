// The caret a text box shows where dragged text would be dropped. A thread has one caret: showing
// this one takes it from the window that had it (the focused edit window, as a rule), so hiding
// it gives that window its caret back, the size and place it had, as long as that window still
// has the focus. Without that, a drag passing over a box without the focus would leave the
// focused box without a caret until it is focused again.
#pragma once

#include <windows.h>

namespace controls {

class DropCaret {
public:
    DropCaret() = default;
    DropCaret(const DropCaret&) = delete;
    DropCaret& operator=(const DropCaret&) = delete;
    ~DropCaret() { Hide(); }

    bool Showing() const { return window_ != nullptr; }
    // A caret `height` pixels high (the system's width) at `at`, client pixels of `window`.
    void Show(HWND window, POINT at, int height);
    void Hide();

private:
    void TakeFromOwner();
    void GiveBackToOwner();

    HWND window_ = nullptr;  // borrowed: the window the drop caret shows in, while it does
    HWND owner_ = nullptr;   // borrowed: the window whose caret was taken, if any
    RECT ownerCaret_{};      // its caret, in its client pixels
};

}  // namespace controls

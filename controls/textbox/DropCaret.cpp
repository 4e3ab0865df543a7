#include "controls/textbox/DropCaret.h"

namespace controls {

namespace {

GUITHREADINFO ThreadCaret() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info)) info.hwndCaret = nullptr;
    return info;
}

}  // namespace

void DropCaret::Show(HWND window, POINT at, int height) {
    if (window_ != window) {
        Hide();
        TakeFromOwner();
        if (!CreateCaret(window, nullptr, 0, height)) return GiveBackToOwner();
        window_ = window;
    }
    SetCaretPos(at.x, at.y);
    ShowCaret(window_);
}

void DropCaret::Hide() {
    if (!window_) return;
    // The caret may have gone already, with the window or to another one that was focused.
    if (ThreadCaret().hwndCaret == window_) DestroyCaret();
    window_ = nullptr;
    GiveBackToOwner();
}

void DropCaret::TakeFromOwner() {
    GUITHREADINFO info = ThreadCaret();
    owner_ = info.hwndCaret;
    ownerCaret_ = info.rcCaret;
}

// Only to the window that has the focus: any other would not show it, and the focused window
// makes its own caret when it gets the focus back anyway.
void DropCaret::GiveBackToOwner() {
    HWND owner = owner_;
    owner_ = nullptr;
    if (!owner || !IsWindow(owner) || GetFocus() != owner) return;
    if (!CreateCaret(owner, nullptr, ownerCaret_.right - ownerCaret_.left, ownerCaret_.bottom - ownerCaret_.top)) return;
    SetCaretPos(ownerCaret_.left, ownerCaret_.top);
    ShowCaret(owner);
}

}  // namespace controls

// A watch for the first dialog window a modal common-dialog call brings up on this thread: a
// CBT hook, for the duration of the watch, hands the dialog to `found` when it activates. It is
// how the class reaches a dialog whose platform gives it no hook or callback to speak through.
#pragma once

#include "host/Handles.h"

#include <windows.h>

#include <functional>

namespace dialogs {

class DialogWatch {
public:
    DialogWatch() = default;
    explicit DialogWatch(std::function<void(HWND)> found);
    ~DialogWatch();
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    std::function<void(HWND)> found_;
    bool fired_ = false;
    DialogWatch* outer_ = nullptr;  // the watches of this thread, innermost first
    host::UniqueHook hook_;
};

}  // namespace dialogs

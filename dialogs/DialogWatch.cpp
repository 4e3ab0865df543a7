#include "dialogs/DialogWatch.h"

#include <string_view>
#include <utility>

namespace dialogs {

namespace {

thread_local DialogWatch* innermost = nullptr;

bool IsDialogWindow(HWND hwnd) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    return std::wstring_view(cls) == L"#32770";
}

}  // namespace

DialogWatch::DialogWatch(std::function<void(HWND)> found) : found_(std::move(found)) {
    outer_ = std::exchange(innermost, this);
    hook_.Reset(SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId()));
}

DialogWatch::~DialogWatch() {
    if (!found_) return;
    hook_.Reset();
    // Watches end in the reverse order of their start, as scopes do.
    if (innermost == this) innermost = outer_;
}

LRESULT CALLBACK DialogWatch::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        auto hwnd = reinterpret_cast<HWND>(wParam);
        for (DialogWatch* w = innermost; w; w = w->outer_) {
            if (w->fired_ || !IsDialogWindow(hwnd)) continue;
            w->fired_ = true;
            try {
                w->found_(hwnd);
            } catch (...) {
                // as with every hook: a failing handler does not reach the dialog
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace dialogs

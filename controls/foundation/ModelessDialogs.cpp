// Keystrokes of modeless dialogs (find, replace): the program's loop knows nothing of them, so a
// message hook hands key messages to the dialogs first while any is open.
#include "controls/foundation/ControlServices.h"

#include "host/Handles.h"

#include <algorithm>

namespace foundation {

namespace {

struct ModelessState {
    std::vector<HWND> dialogs;  // borrowed: the dialogs' owners unregister them before destroying
    host::UniqueHook hook;
};
ModelessState& Modeless() {
    static ModelessState state;
    return state;
}

LRESULT CALLBACK ModelessDialogKeyHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && wParam == PM_REMOVE) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
            // A copy: a dialog's handling must not see the message change under it.
            MSG copy = *msg;
            for (HWND dialog : std::vector<HWND>(Modeless().dialogs)) {
                if (IsDialogMessageW(dialog, &copy)) {
                    msg->message = WM_NULL;
                    msg->wParam = 0;
                    msg->lParam = 0;
                    break;
                }
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void RegisterModelessDialog(HWND dialog) {
    ModelessState& s = Modeless();
    if (!dialog || std::find(s.dialogs.begin(), s.dialogs.end(), dialog) != s.dialogs.end()) return;
    if (!s.hook) s.hook.Reset(SetWindowsHookExW(WH_GETMESSAGE, &ModelessDialogKeyHook, nullptr, GetCurrentThreadId()));
    s.dialogs.push_back(dialog);
}

void UnregisterModelessDialog(HWND dialog) {
    ModelessState& s = Modeless();
    auto it = std::find(s.dialogs.begin(), s.dialogs.end(), dialog);
    if (it == s.dialogs.end()) return;
    s.dialogs.erase(it);
    if (s.dialogs.empty()) s.hook.Reset();
}

size_t ModelessDialogCount() { return Modeless().dialogs.size(); }

}  // namespace foundation

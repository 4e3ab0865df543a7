#include "controls/foundation/ActivationHotKeys.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace foundation {

namespace {

// The id of the subclass and of the system hot key on a window (one hot key per window).
constexpr UINT_PTR LayerId = 0x484B;  // "HK"

struct Entry {
    HWND window;
    WORD combination;
    bool registered;  // this window holds the system hot key for the combination
};

// The windows that have a hot key from the layer, in the order they got it.
std::vector<Entry>& Entries() {
    static std::vector<Entry> entries;
    return entries;
}

Entry* Find(HWND window) {
    auto& e = Entries();
    auto it = std::find_if(e.begin(), e.end(), [&](const Entry& x) { return x.window == window; });
    return it == e.end() ? nullptr : &*it;
}

bool Shared(HWND window, WORD combination) {
    return std::any_of(Entries().begin(), Entries().end(),
                       [&](const Entry& x) { return x.window != window && x.combination == combination; });
}

UINT SystemModifiers(WORD combination) {
    BYTE flags = HIBYTE(combination);
    return ((flags & HOTKEYF_SHIFT) ? MOD_SHIFT : 0) | ((flags & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
           ((flags & HOTKEYF_ALT) ? MOD_ALT : 0);
}

// Asks a window of the layer to try taking its combination's system hot key again.
UINT RetryMessage() {
    static const UINT message = RegisterWindowMessageW(L"ActivationHotKeyRetry");
    return message;
}

// The system hot key of a combination is held by the first window that has it and can take it.
// False when none could (the system still counts it to a window on its way out).
bool RegisterFirstHolder(WORD combination) {
    for (Entry& x : Entries()) {
        if (x.combination != combination) continue;
        if (x.registered) return true;
        if (RegisterHotKey(x.window, static_cast<int>(LayerId), SystemModifiers(combination), LOBYTE(combination))) {
            x.registered = true;
            return true;
        }
    }
    return false;
}

// A destroyed window's system hot key is given up only once its destruction is over, so the
// window taking it over tries again from its own queue.
void Forget(HWND window) {
    Entry* x = Find(window);
    if (!x) return;
    WORD combination = x->combination;
    if (x->registered) UnregisterHotKey(window, static_cast<int>(LayerId));
    std::erase_if(Entries(), [&](const Entry& e) { return e.window == window; });
    if (RegisterFirstHolder(combination)) return;
    for (const Entry& e : Entries())
        if (e.combination == combination) PostMessageW(e.window, RetryMessage(), combination, 0);
}

bool IsInvalidKey(BYTE vk) { return vk == VK_ESCAPE || vk == VK_SPACE || vk == VK_TAB; }

LRESULT OnSetHotKey(HWND window, WPARAM wParam) {
    WORD combination = LOWORD(wParam);
    if (IsInvalidKey(LOBYTE(combination))) return -1;
    Forget(window);
    if (LOBYTE(combination) == 0) return 1;
    bool shared = Shared(window, combination);
    Entries().push_back({window, combination, false});
    RegisterFirstHolder(combination);
    return shared ? 2 : 1;
}

void Activate(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

LRESULT CALLBACK LayerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_SETHOTKEY: return OnSetHotKey(hwnd, wParam);
    case WM_GETHOTKEY: {
        const Entry* x = Find(hwnd);
        return x ? x->combination : 0;
    }
    case WM_HOTKEY:
        if (wParam != LayerId) break;
        Activate(hwnd);
        return 0;
    case WM_NCDESTROY:
        Forget(hwnd);
        RemoveWindowSubclass(hwnd, LayerProc, LayerId);
        break;
    default:
        if (msg == RetryMessage()) {
            RegisterFirstHolder(LOWORD(wParam));
            return 0;
        }
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// A window of this thread (only those can be subclassed) that is not a child window.
bool OwnTopLevelWindow(HWND hwnd) {
    return IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId() &&
           !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD);
}

}  // namespace

bool PlatformKeepsActivationHotKeys() {
    static const bool keeps = [] {
        // A throwaway top-level window asked for a combination nobody uses.
        HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!probe) return true;
        WORD combination = MAKEWORD(VK_F24, HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT);
        LRESULT answer = SendMessageW(probe, WM_SETHOTKEY, combination, 0);
        bool kept = answer > 0 && SendMessageW(probe, WM_GETHOTKEY, 0, 0) == combination;
        if (kept) SendMessageW(probe, WM_SETHOTKEY, 0, 0);
        DestroyWindow(probe);
        return kept;
    }();
    return keeps;
}

LRESULT SetActivationHotKey(HWND target, WPARAM combination) {
    // Windows of other threads, and child windows, get the platform's answer.
    if (!PlatformKeepsActivationHotKeys() && OwnTopLevelWindow(target))
        SetWindowSubclass(target, LayerProc, LayerId, 0);
    return SendMessageW(target, WM_SETHOTKEY, combination, 0);
}

}  // namespace foundation

#include "app/Wakeup.h"

#include "host/WindowBinding.h"

#include <mutex>

namespace workbench {
namespace {

constexpr wchar_t kClassName[] = L"WorkbenchWakeup";
constexpr UINT kWake = WM_APP + 1;
constexpr UINT_PTR kAfterInputTimer = 1;

void RegisterClassOnce(WNDPROC proc) {
    static std::once_flag once;
    std::call_once(once, [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
    });
}

}  // namespace

Wakeup::Wakeup(std::function<void()> callback) : callback_(std::move(callback)) {
    RegisterClassOnce(WindowProc);
    CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_) host::Raise(host::err::OutOfMemory);
}

void Wakeup::Post() {
    if (!requested_.exchange(true)) PostMessageW(hwnd_.Get(), kWake, 0, 0);
}

void Wakeup::PostAfterInput() {
    if (!requested_.exchange(true)) SetTimer(hwnd_.Get(), kAfterInputTimer, USER_TIMER_MINIMUM, nullptr);
}

LRESULT CALLBACK Wakeup::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return host::RouteToObject<Wakeup>(hwnd, msg, wParam, lParam);
}

LRESULT Wakeup::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kWake: Call(); return 0;
    case WM_TIMER: KillTimer(hwnd_.Get(), kAfterInputTimer); Call(); return 0;
    default: return DefWindowProcW(hwnd_.Get(), msg, wParam, lParam);
    }
}

void Wakeup::Call() {
    if (!requested_.exchange(false)) return;
    callback_();
}

}  // namespace workbench

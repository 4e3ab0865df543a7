#include "controls/foundation/Subclass.h"

#include "host/Error.h"

#include <commctrl.h>

#include <unordered_set>
#include <utility>

namespace foundation {

namespace {

// Process-wide by nature: the clients alive right now. Installing a subclass keeps no client
// alive; this lets the dispatcher refuse a pointer whose object has ended.
std::unordered_set<const ISubclass*>& LiveClients() {
    static std::unordered_set<const ISubclass*> clients;
    return clients;
}

using SetSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
using RemoveSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR);
using DefSubclassFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

struct SubclassApi {
    SetSubclassFn set = &::SetWindowSubclass;
    RemoveSubclassFn remove = &::RemoveWindowSubclass;
    DefSubclassFn def = &::DefSubclassProc;
};

// On the legacy platform the three functions are reached by ordinal; elsewhere by name.
const SubclassApi& Api() {
    static const SubclassApi api = [] {
        SubclassApi a;
        if (!IsLegacySubclassPlatform()) return a;
        HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
        if (!comctl) return a;
        auto set = reinterpret_cast<SetSubclassFn>(reinterpret_cast<void*>(GetProcAddress(comctl, MAKEINTRESOURCEA(410))));
        auto remove = reinterpret_cast<RemoveSubclassFn>(reinterpret_cast<void*>(GetProcAddress(comctl, MAKEINTRESOURCEA(412))));
        auto def = reinterpret_cast<DefSubclassFn>(reinterpret_cast<void*>(GetProcAddress(comctl, MAKEINTRESOURCEA(413))));
        if (set && remove && def) a = {set, remove, def};
        return a;
    }();
    return api;
}

std::wstring PropName(std::wstring_view name, const wchar_t* suffix) {
    std::wstring n = name.empty() ? std::wstring(L"ComCtl") : std::wstring(name);
    return n + suffix;
}

}  // namespace

// --- ISubclass ------------------------------------------------------------------------------

ISubclass::ISubclass() { LiveClients().insert(this); }
ISubclass::~ISubclass() { LiveClients().erase(this); }
bool ISubclass::IsLive(const ISubclass* client) { return client && LiveClients().count(client) != 0; }

// --- routines -------------------------------------------------------------------------------

bool IsLegacySubclassPlatform() {
    static const bool legacy = [] {
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof(info);  // 276 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        if (!GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
        return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 5 && info.dwMinorVersion == 0;
    }();
    return legacy;
}

void InstallSubclass(HWND hwnd, ISubclass* client, LONG_PTR refData, std::wstring_view name) {
    if (!hwnd) return;
    std::wstring init = PropName(name, L"SubclassInit"), id = PropName(name, L"SubclassID");
    if (GetPropW(hwnd, init.c_str())) return;  // already subclassed under this name: keep the first
    Api().set(hwnd, &SubclassDispatcher, reinterpret_cast<UINT_PTR>(client), static_cast<DWORD_PTR>(refData));
    SetPropW(hwnd, id.c_str(), reinterpret_cast<HANDLE>(client));
    SetPropW(hwnd, init.c_str(), reinterpret_cast<HANDLE>(1));
}

void RemoveSubclass(HWND hwnd, std::wstring_view name) {
    if (!hwnd) return;
    std::wstring init = PropName(name, L"SubclassInit"), id = PropName(name, L"SubclassID");
    if (GetPropW(hwnd, init.c_str()) != reinterpret_cast<HANDLE>(1)) return;
    auto client = reinterpret_cast<UINT_PTR>(GetPropW(hwnd, id.c_str()));
    Api().remove(hwnd, &SubclassDispatcher, client);
    RemovePropW(hwnd, id.c_str());
    RemovePropW(hwnd, init.c_str());
}

LRESULT CallDefaultProc(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam) { return Api().def(hwnd, wMsg, wParam, lParam); }

LRESULT CALLBACK SubclassDispatcher(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, UINT_PTR uIdSubclass,
                                    DWORD_PTR dwRefData) {
    switch (wMsg) {
    case WM_DESTROY:
        return CallDefaultProc(hwnd, wMsg, wParam, lParam);
    case WM_NCDESTROY:
    case 0x0090: {  // WM_UAHDESTROYWINDOW: the window is going away as well
        LRESULT r = CallDefaultProc(hwnd, wMsg, wParam, lParam);
        Api().remove(hwnd, &SubclassDispatcher, uIdSubclass);
        return r;
    }
    default: break;
    }
    auto* client = reinterpret_cast<ISubclass*>(uIdSubclass);
    if (!ISubclass::IsLive(client)) return CallDefaultProc(hwnd, wMsg, wParam, lParam);
    client->StoreMessageResult(0);
    try {
        return client->Message(hwnd, wMsg, wParam, lParam, static_cast<LONG_PTR>(dwRefData));
    } catch (...) {
        // The window manager always gets a number: the result the client had stored.
        return ISubclass::IsLive(client) ? client->StoredMessageResult() : 0;
    }
}

// --- ScopedSubclass ---------------------------------------------------------------------------

ScopedSubclass::ScopedSubclass(HWND hwnd, ISubclass* client, LONG_PTR refData, std::wstring_view name)
    : hwnd_(hwnd), name_(name) {
    InstallSubclass(hwnd, client, refData, name);
}

ScopedSubclass::ScopedSubclass(ScopedSubclass&& o) noexcept : hwnd_(std::exchange(o.hwnd_, nullptr)), name_(std::move(o.name_)) {}

ScopedSubclass& ScopedSubclass::operator=(ScopedSubclass&& o) noexcept {
    if (this != &o) {
        Reset();
        hwnd_ = std::exchange(o.hwnd_, nullptr);
        name_ = std::move(o.name_);
    }
    return *this;
}

void ScopedSubclass::Reset() {
    if (hwnd_ && IsWindow(hwnd_)) RemoveSubclass(hwnd_, name_);
    hwnd_ = nullptr;
}

}  // namespace foundation

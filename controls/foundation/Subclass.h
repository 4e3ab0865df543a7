// Window subclassing through the comctl32 subclass chain: one shared subclass procedure
// (SubclassDispatcher) for every subclassed window of the program, the client found from the
// subclass identifier, and bookkeeping in window properties named after the subclass name
// ("ComCtl" by default): <name>SubclassInit = 1 while installed, <name>SubclassID = the client.
//
// Calling order for a control: create the child window, InstallSubclass(child, this, 1),
// InstallSubclass(hostWindow, this, 2); on destruction RemoveSubclass(child),
// RemoveSubclass(hostWindow), then hide, unparent and destroy the child window.
#pragma once

#include "controls/foundation/ISubclass.h"

#include <string>
#include <string_view>

namespace foundation {

// Installs the dispatcher on the window for `client` under `name` (empty: "ComCtl"). Does
// nothing for a null window, and nothing when the window already has a subclass of that name
// (the first client and reference number stay).
void InstallSubclass(HWND hwnd, ISubclass* client, LONG_PTR refData, std::wstring_view name = {});
// Removes the subclass of that name; harmless when there is none.
void RemoveSubclass(HWND hwnd, std::wstring_view name = {});
// The next handler in the window's subclass chain (DefSubclassProc).
LRESULT CallDefaultProc(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam);
// The subclass procedure registered for every subclassed window; never called directly.
LRESULT CALLBACK SubclassDispatcher(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
// Windows 2000 (NT 5.0): comctl32 exports the subclass functions by ordinal only (410, 412, 413).
// Computed once from GetVersionExW.
bool IsLegacySubclassPlatform();

// Owner of one installed subclass: removes it at scope end, while the window still exists.
// Declare it after the window's owner so it is destroyed first.
class ScopedSubclass {
public:
    ScopedSubclass() = default;
    ScopedSubclass(HWND hwnd, ISubclass* client, LONG_PTR refData, std::wstring_view name = {});
    ScopedSubclass(ScopedSubclass&& o) noexcept;
    ScopedSubclass& operator=(ScopedSubclass&& o) noexcept;
    ScopedSubclass(const ScopedSubclass&) = delete;
    ScopedSubclass& operator=(const ScopedSubclass&) = delete;
    ~ScopedSubclass() { Reset(); }

    HWND Window() const { return hwnd_; }
    void Reset();

private:
    HWND hwnd_ = nullptr;  // borrowed: the window's owner destroys it after this removes itself
    std::wstring name_;
};

}  // namespace foundation

// Focus on mouse activation, the rule of every focusable control: the focus enters through the
// control's host window, after the form's validation when the control causes validation.
#pragma once

#include "host/ControlSite.h"

#include <windows.h>

#include <optional>

namespace foundation {

// WM_MOUSEACTIVATE of the child window. nullopt: default handling. `validating` is the control's
// own mark of a validation run started here (a second activation during it is eaten).
//     case WM_MOUSEACTIVATE:
//         if (auto r = foundation::FocusOnMouseActivate(Site(), child, host, lParam, designMode_, validating_)) return *r;
std::optional<LRESULT> FocusOnMouseActivate(host::ControlSite& site, HWND child, HWND hostWindow, LPARAM lParam,
                                            bool designMode, bool& validating);

// WM_SETFOCUS of the child window: focus coming from any window but the host window goes to the
// host window instead (which hands it back after its own handling). True when redirected.
bool RedirectChildFocus(HWND hostWindow, WPARAM previousFocus);

// The whole focus rule of a control's child window, for its WM_SETFOCUS and WM_KILLFOCUS: the
// focus enters through the host window; while the child has it, the form asks the control first
// for keys, and nothing after it leaves.
//     case WM_SETFOCUS:  return foundation::ChildSetFocus(*this, HostWindow(), hwnd, wParam, lParam);
//     case WM_KILLFOCUS: return foundation::ChildKillFocus(hwnd, wParam, lParam);
LRESULT ChildSetFocus(host::Control& control, HWND hostWindow, HWND child, WPARAM wParam, LPARAM lParam);
LRESULT ChildKillFocus(HWND child, WPARAM wParam, LPARAM lParam);
// The host window's side: the focus it is given goes on to the control's child window.
//     case WM_SETFOCUS:  return foundation::HostSetFocus(hwnd, child_.Get(), wParam, lParam);
LRESULT HostSetFocus(HWND hostWindow, HWND child, WPARAM wParam, LPARAM lParam);

}  // namespace foundation

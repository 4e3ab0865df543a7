// What a container window (the form, or the host window of a container control) does for the
// controls placed directly on it: paint the windowless ones, route mouse input to them by hit
// test, and hand the notifications of intrinsic windows back to their controls.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace host {

class ControlSite;

class ContainerRouting {
public:
    // Paints every visible windowless child, back to front, clipped to its rectangle.
    static void PaintWindowless(const std::vector<ControlSite*>& children, HDC dc);
    // WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR* from a child window, given to the control
    // owning that window. True when it answered.
    static bool Reflect(const std::vector<ControlSite*>& children, UINT msg, WPARAM wParam, LPARAM lParam,
                        LRESULT& result);
    // The topmost visible windowless child whose hit test answers Hit at `pt` (container client
    // pixels), or null.
    static ControlSite* WindowlessAt(const std::vector<ControlSite*>& children, POINT pt);
    // Mouse messages over the container: routed to the windowless child under the point (or the
    // one holding the capture). True when a windowless control took it.
    bool RouteMouse(HWND container, const std::vector<ControlSite*>& children, UINT msg, WPARAM wParam,
                    LPARAM lParam);
    // WM_SETCURSOR of the container for its client area: the windowless child under the mouse
    // sets its cursor. True when one did.
    static bool SetCursor(HWND container, const std::vector<ControlSite*>& children, WPARAM wParam, LPARAM lParam);
    // Forget a site that is going away.
    void Forget(const ControlSite* site);

private:
    ControlSite* captured_ = nullptr;  // borrowed
};

// Access key of a caption: the upper-cased character after the last single "&"; 0 when none.
wchar_t AccessKeyOf(std::wstring_view caption);

}  // namespace host

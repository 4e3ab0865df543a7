// What every control does alike with the mouse: the MousePointer number and its cursor, the
// WM_SETCURSOR rule, MouseEnter/MouseLeave tracking and the arguments of a mouse event.
#pragma once

#include "host/ControlSite.h"
#include "host/Value.h"

#include <windows.h>

namespace foundation {

// MousePointer accepts 0..16 and 99.
bool IsValidMousePointer(long value);
// The system cursor for a MousePointer value (IDC_... as a number), 0 for none (0 and 99).
long MousePointerCursorId(long value);
// The WM_SETCURSOR rule for the client area: sets the cursor and returns true when the value
// names a system cursor (the arrow when the system cannot load it); false leaves the message to
// the default handling.
//     case WM_SETCURSOR: if (foundation::SetCursorForMousePointer(mp, icon, lParam)) return 1; ...
bool SetCursorForMousePointer(long value, LPARAM setCursorLParam);
// The same with the control's MouseIcon, which 99 (Custom) shows; without an icon, 99 is the
// default cursor.
bool SetCursorForMousePointer(long value, const host::Picture& mouseIcon, LPARAM setCursorLParam);

// TrackMouseEvent(TME_LEAVE) so that WM_MOUSELEAVE follows.
void StartMouseTrack(HWND hwnd);
// The MouseEnter step of a mouse move: true (raise MouseEnter) when tracking is on and the mouse
// was outside; marks it inside and starts tracking on `hwnd`.
bool MouseEntered(HWND hwnd, bool mouseTrack, bool& mouseOver);
// The MouseLeave step of WM_MOUSELEAVE: true (raise MouseLeave) when the mouse was inside.
bool MouseLeft(bool& mouseOver);

// A mouse message's point (client pixels in lParam) in twips, for MouseDown/Move/Up.
struct MousePoint {
    float x = 0, y = 0;
};
MousePoint MousePointInTwips(const host::ControlSite& site, LPARAM lParam);
// The button a button message is about: 1 left, 2 right, 4 middle (0 for other messages).
int ButtonOfMessage(UINT msg);

}  // namespace foundation

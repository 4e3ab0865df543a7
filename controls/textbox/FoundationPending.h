// TO BE MOVED to controls/foundation: shared control routines that every focusable control needs
// and that the foundation does not offer yet (mouse pointer rule, mouse tracking, the pending
// character, focus on mouse activation). Kept here, in one place, so that no control copies them;
// once the foundation has them under these names this file goes away.
#pragma once

#include "host/ControlSite.h"

#include <windows.h>

#include <optional>

namespace foundation {

// OLE colours of the system colours the controls start from.
constexpr unsigned long SystemColorWindow = 0x80000005;
constexpr unsigned long SystemColorWindowText = 0x80000008;
constexpr unsigned long SystemColorButtonFace = 0x8000000F;
constexpr unsigned long SystemColorButtonText = 0x80000012;

// The range check of a property setter: true when `value` is outside lo..hi, after reporting it
// by the 380 convention (raised at run time; a message box at design time, where the setter
// then returns keeping its old value):   if (foundation::RejectOutOfRange(v, 0, 4, designMode_)) return;
bool RejectOutOfRange(long value, long lo, long hi, bool designMode);
// The same for MousePointer, which accepts 0..16 and 99.
bool RejectMousePointer(long value, bool designMode);

// MousePointer accepts 0..16 and 99.
bool IsValidMousePointer(long value);
// The system cursor for a MousePointer value (IDC_... as a number), 0 for none (0 and 99).
long MousePointerCursorId(long value);
// The WM_SETCURSOR rule for the client area: sets the cursor and returns true when the value
// names a system cursor; false leaves the message to the default handling.
bool SetCursorForMousePointer(long value, LPARAM setCursorLParam);

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

// The character of a WM_CHAR for the window waiting in the queue (not removed), 0 when none.
wchar_t PeekPendingChar(HWND hwnd);

// LockWindowUpdate for a re-creation, released at scope end however the scope is left (a Click
// handler run by the restore may throw; the lock must not outlive it).
class WindowUpdateLock {
public:
    explicit WindowUpdateLock(HWND hwnd) : locked_(hwnd && LockWindowUpdate(hwnd)) {}
    ~WindowUpdateLock() {
        if (locked_) LockWindowUpdate(nullptr);
    }
    WindowUpdateLock(const WindowUpdateLock&) = delete;
    WindowUpdateLock& operator=(const WindowUpdateLock&) = delete;

private:
    bool locked_;
};

// WM_UNICHAR and WM_IME_CHAR as the WM_CHAR messages a window takes: a character beyond the
// BMP as the two halves of its surrogate pair, so none of it is lost.
void SendCharAsUtf16(HWND hwnd, WPARAM codePoint, LPARAM lParam);

// The key-routing answer of a control with a preview event: navigation keys (33..40) always
// stay in the control, Tab, Return and Escape when the preview handler set IsInputKey. A key
// that stays goes on to the window as usual (S_FALSE), so it is translated into characters and
// reaches KeyDown and KeyPress once; every other key is left to the form.
void AnswerPreviewKey(bool& handled, long& retVal, int keyCode, bool isInputKey);

// The WM_MOUSEACTIVATE rule of the focusable controls: focus enters through the host window,
// after the form's validation when the control causes validation. nullopt: default handling.
// `validating` is the control's own re-entry mark.
std::optional<LRESULT> FocusOnMouseActivate(host::ControlSite& site, HWND child, HWND hostWindow, LPARAM lParam,
                                            bool designMode, bool& validating);

}  // namespace foundation

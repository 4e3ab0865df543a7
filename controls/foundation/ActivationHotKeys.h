// The activation hot key of a top-level window (WM_SETHOTKEY, WM_GETHOTKEY): pressed anywhere, it
// brings the window to the front. Wine's windows answer 0 to both messages and keep nothing, so
// where the platform does not keep such hot keys, the windows of this process get them from a
// layer of our own with the platform's answers: a subclass on the window answers the two
// messages, and a system hot key (RegisterHotKey) for the combination activates it.
#pragma once

#include <windows.h>

namespace foundation {

// WM_SETHOTKEY to `target` with the combination (low byte virtual key, high byte HOTKEYF_*;
// 0 takes the hot key away). The answer: 1 done, 2 done but another window has the same hot
// key, 0 invalid window (a child window takes none), -1 invalid hot key (Escape, Space, Tab).
LRESULT SetActivationHotKey(HWND target, WPARAM combination);
// Whether the platform's own windows keep activation hot keys (found out once).
bool PlatformKeepsActivationHotKeys();

}  // namespace foundation

// Input the way a person gives it: keystrokes through the system's input queue (SendInput),
// mouse presses and clicks posted to the window under the pointer, text pasted from the
// clipboard. Each call returns once the thread's message loop has taken the last message of the
// gesture off the queue (and so has run whatever handlers it triggered), or fails the test after
// a bound.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>
#include <string>
#include <string_view>

namespace wbtest {

// Shift state as the form's handlers see it: 1 Shift, 2 Ctrl, 4 Alt (summed).
constexpr int kShift = 1, kCtrl = 2, kAlt = 4;

// Runs the host's message loop until `done` holds; false when `timeoutMs` passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 15000);

// One key with modifiers, pressed and released.
void Press(WORD vk, int shift = 0);
// Several keys, pressed and released one after the other, sent as one burst: for a modal loop
// (a popup menu) that opens on the first message and must find the rest already queued.
void PressKeys(const std::vector<WORD>& vks);
// Each character typed as a Unicode keystroke.
void Type(std::wstring_view text);
// Each character as a keystroke ('\b' as Backspace), all in one burst, and returns at once: the
// caller pumps and watches what the keys do while they are read.
void SendKeys(std::wstring_view keys);
// Whether every key of the last SendKeys burst has been taken off the queue.
bool KeysRead();
// Puts the text on the clipboard and presses Ctrl+V.
void Paste(const std::wstring& text);

// Left click (press and release) at the middle of the window, or at a client point.
void Click(HWND hwnd);
void ClickAt(HWND hwnd, POINT client);
// Right button pressed and released over the window's middle.
void RightClick(HWND hwnd);
// Posts only the press of the left button (the release is the caller's, when it wants one).
void PostLeftPress(HWND hwnd);

}  // namespace wbtest

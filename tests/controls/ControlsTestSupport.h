// What the control tests share: a real form built from design text with the library controls
// registered, bounded pumping of the host's loop, keystrokes through the system's input queue,
// mouse messages posted the way the system posts them, and pixels read back from windows.
#pragma once

#include "host/Application.h"
#include "host/Form.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace ctltest {

// Whether this test program runs as the workbench does: with the comctl32 6 manifest (the
// version-6 window classes) and an active theme. The same tests run in a program without the
// manifest, which takes the classic drawing.
bool ThemedProgram();

// Registers TextBoxW, ListBoxW, FrameW and LabelW with the host (once).
void RegisterLibraryControls();

// A form from design text ("Begin Form ... End"), loaded and shown.
std::unique_ptr<host::Form> ShowForm(const std::wstring& design);

// Pumps the application's loop until `done` holds; false after `ms`.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000);
// Pumps whatever is waiting now (bounded).
void Drain();

// Brings the form to the front and waits until it is the active window.
bool Activate(host::Form& form);
// Types a key through SendInput with modifiers held, then pumps until it was processed.
void PressKey(WORD vk, bool shift = false, bool ctrl = false);
// Types text through SendInput as Unicode characters.
void TypeText(const std::wstring& text);

// Posts a button press and release at a client point of a window, as the system would.
void PostClick(HWND hwnd, POINT pt, UINT downMsg = WM_LBUTTONDOWN, UINT upMsg = WM_LBUTTONUP,
               POINT upPt = {-1, -1});

std::wstring WindowText(HWND hwnd);
std::wstring ListBoxText(HWND list, int index);
DWORD SelectionOf(HWND edit, DWORD* end);

// The client area of a window as printed by WM_PRINTCLIENT into a 32-bit bitmap.
class Snapshot {
public:
    static Snapshot OfClient(HWND hwnd);
    static Snapshot OfWindowRect(HWND container, const RECT& rc);  // the screen as shown
    // What `paint` draws into a w × h bitmap first filled with `back`: the reference a test
    // compares a control's pixels with.
    static Snapshot OfPainting(int w, int h, COLORREF back, const std::function<void(HDC)>& paint);
    COLORREF At(int x, int y) const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Pixels in the rectangle that differ from `background`.
    int CountDiffering(const RECT& rc, COLORREF background) const;
    // Where `part` stands pixel for pixel in this picture ({-1, -1} when nowhere).
    POINT Find(const Snapshot& part) const;

private:
    int width_ = 0, height_ = 0;
    std::basic_string<DWORD> bits_;
};

}  // namespace ctltest

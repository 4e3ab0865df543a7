// Keyboard input every control handles alike: the character waiting behind a key-down, characters
// beyond the BMP, and the key-routing answer of a control with a preview event.
#pragma once

#include "host/ControlSite.h"
#include "host/Event.h"

#include <windows.h>

#include <optional>

namespace foundation {

// The character of a WM_CHAR for the window waiting in the queue (not removed), 0 when none.
wchar_t PeekPendingChar(HWND hwnd);

// WM_UNICHAR and WM_IME_CHAR as the WM_CHAR messages a window takes: a character beyond the
// BMP as the two halves of its surrogate pair, so none of it is lost.
void SendCharAsUtf16(HWND hwnd, WPARAM codePoint, LPARAM lParam);
// The answers to WM_UNICHAR (TRUE to the UNICODE_NOCHAR probe: we take them) and WM_IME_CHAR.
LRESULT AnswerUniChar(HWND hwnd, WPARAM codePoint, LPARAM lParam);
LRESULT AnswerImeChar(HWND hwnd, WPARAM codePoint, LPARAM lParam);

// Navigation keys (33..40) always stay in the control, Tab, Return and Escape when the preview
// handler set IsInputKey. A key that stays goes on to the window as usual (S_FALSE), so it is
// translated into characters and reaches KeyDown and KeyPress once; every other key is left to
// the form.
void AnswerPreviewKey(bool& handled, long& retVal, int keyCode, bool isInputKey);

// A control's PreviewKeyDown and PreviewKeyUp, with the dispatch ids it raises them under.
using PreviewKeyEvent = host::Event<int /*KeyCode*/, bool& /*IsInputKey*/>;
struct PreviewKeyEvents {
    long downId;
    const PreviewKeyEvent& down;
    long upId;
    const PreviewKeyEvent& up;
};
struct PreviewedKey {
    int keyCode;
    bool isInputKey;  // what the handler left
};
// The start of every control's key-routing answer: a WM_KEYDOWN raises PreviewKeyDown, a
// WM_KEYUP PreviewKeyUp, with the key code and IsInputKey False; any other message raises
// nothing (nullopt).
std::optional<PreviewedKey> RaisePreviewKey(host::ControlSite& site, UINT wMsg, WPARAM wParam,
                                            const PreviewKeyEvents& events);
// The whole answer of a control that keeps its navigation keys and the dialog keys its
// handler claims (RaisePreviewKey, then AnswerPreviewKey); false when the message was no key.
bool TranslatePreviewKey(bool& handled, long& retVal, host::ControlSite& site, UINT wMsg, WPARAM wParam,
                         const PreviewKeyEvents& events);

}  // namespace foundation

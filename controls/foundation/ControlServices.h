// More of the services every control shares: mouse-pointer texts for property browsing,
// right-to-left resolution and styles, the input method editor, the host's validation chain,
// keystrokes of modeless dialogs, and the image lists a host offers.
#pragma once

#include "host/ControlSite.h"

#include <windows.h>
#include <imm.h>

#include <string>
#include <vector>

namespace foundation {

// --- MousePointer texts ("0 - Default" ... "16 - Arrow and CD", "99 - Custom") ---------------
// False (and no text) for a value outside the table.
bool MousePointerDisplayString(long value, std::wstring& text);
// The 18 texts in table order and their values 0..16, 99.
void MousePointerPredefinedStrings(std::vector<std::wstring>& texts, std::vector<long>& values);

// --- right-to-left ---------------------------------------------------------------------------
// With the flag False nothing changes. Otherwise by RightToLeftMode: 0 True, 1 the host's value,
// 2/3/4 the reading direction of the system / user / user-interface default language (True
// when that language's font signature says right-to-left; kept True when the query fails).
void ResolveRightToLeft(bool& rightToLeft, bool hostValue, long rightToLeftMode);
// Clears WS_EX_LAYOUTRTL, WS_EX_RTLREADING, WS_EX_RIGHT and WS_EX_LEFTSCROLLBAR and sets `bits`
// (0x6000 for right-to-left, else 0); redraws and recomputes the frame. A tool-tip window keeps
// only WS_EX_LAYOUTRTL and gets TTF_RTLREADING on each tool instead.
void ApplyRightToLeftExStyle(HWND hwnd, DWORD bits);

// --- input method editor -------------------------------------------------------------------
// The control's own input context lives in `slot` from Attach to Detach (Detach destroys it).
void AttachIMEContext(HWND hwnd, HIMC& slot);
void DetachIMEContext(HWND hwnd, HIMC& slot);
// IMEMode 0 NoControl, 1 On, 2 Off, 3 Disable, 4 Hiragana, 5 Katakana, 6 KatakanaHalf,
// 7 AlphaFull, 8 Alpha, 9 HangulFull, 10 Hangul. Nothing happens without an IME or an own context.
void ApplyIMEMode(HWND hwnd, HIMC ownContext, long imeMode);

// --- validation ------------------------------------------------------------------------------
// Runs the validation of the form the control sits on; a cancelled validation raises 380.
void ValidateHostControls(host::ControlSite& site);

// --- modeless dialogs ------------------------------------------------------------------------
// While at least one dialog is registered, a WH_GETMESSAGE hook of this thread offers key
// messages to the dialogs (IsDialogMessageW, in registration order) before the loop sees them.
void RegisterModelessDialog(HWND dialog);
// Unregistering a handle that is not registered changes nothing.
void UnregisterModelessDialog(HWND dialog);
size_t ModelessDialogCount();

// --- image lists on the host ---------------------------------------------------------------
// "(None)" with value 0, then every control of type "ImageList" on the form by name ("Name(i)"
// for array members) with values 1, 2, ...; `objects` holds the sites (null for "(None)").
void ImageListPredefinedStrings(const host::Form& form, std::vector<std::wstring>& texts, std::vector<long>& values,
                                std::vector<host::ControlSite*>& objects);

}  // namespace foundation

// Shared services of every control: shell library reference, common-control classes and level,
// UI-state cues, border styles, event arguments, string persistence, the property error
// convention and the Unicode message box.
#pragma once

#include "host/Value.h"

#include <windows.h>

#include <optional>
#include <string>

namespace foundation {

// --- shell library: every control holds one reference from Initialize to Terminate ----------
void ShellLibraryAddRef();
void ShellLibraryRelease();
long ShellLibraryRefCount();

// InitCommonControlsEx with the ICC flags (ICC_STANDARD_CLASSES 0x4000, ICC_HOTKEY_CLASS 0x40).
void InitControlClasses(DWORD iccFlags);

// 0: comctl32 below 6.0 (or unknown), 1: 6.0, 2: 6.1 or later; computed once from ComCtlVersion.
// Tests may pin it with the override.
int ComCtlVersionLevel();
// comctl32's version from DllGetVersion; where that reports below 6 although the program's
// manifest binds comctl32 to the version-6 assembly (Wine does), the assembly's version.
// nullopt when DllGetVersion fails.
struct ComCtlVersionNumber {
    DWORD major, minor;
};
std::optional<ComCtlVersionNumber> ComCtlVersion();
void OverrideComCtlVersionLevel(std::optional<int> level);  // nullopt: back to the computed level
// The level a test pinned, nullopt when none is.
std::optional<int> OverriddenComCtlVersionLevel();

// WM_UPDATEUISTATE clearing "hide focus" and "hide accelerators" so cues show at once.
void ShowUIStateCues(HWND hwnd);

// BorderStyle 0 none, 1 WS_BORDER, 2 WS_EX_STATICEDGE, 3 WS_EX_CLIENTEDGE,
// 4 WS_EX_WINDOWEDGE | WS_DLGFRAME; added to the styles of a window about to be created.
void ApplyBorderStyle(DWORD& style, DWORD& exStyle, long borderStyle);
// The same on a live window: clears every border bit, applies the table, recomputes the frame.
void ReapplyBorderStyle(HWND hwnd, long borderStyle);

// --- event arguments -----------------------------------------------------------------------
// Shift 1 Shift, 2 Ctrl, 4 Alt; Button 1 left, 2 right, 4 middle.
int ShiftStateFromParam(WPARAM wParam);
int ButtonFromParam(WPARAM wParam);
int ShiftStateFromKeyboard();

// --- persistence of Unicode strings: UTF-16LE bytes, an empty text as an empty value --------
host::Value PersistStringToVariant(std::wstring_view text);
// Empty → ""; Bytes → UTF-16LE text; a plain String is taken as it is; other kinds raise 13.
std::wstring PersistVariantToString(const host::Value& value);

// --- the property error convention ---------------------------------------------------------
// Run time: raises `number` with its text (380 "Invalid property value" by default). Design
// time: shows the text in a message box with the critical icon (16) and returns, so the setter
// keeps the old value:   if (bad) { return InvalidPropertyValue(designMode); }
void InvalidPropertyValue(bool designMode);
void PropertyError(bool designMode, long number, const std::wstring& description);
// 382 "<Property> property is read-only at run time".
[[noreturn]] void RaiseReadOnlyAtRunTime(const std::wstring& property);
// 383 with the rule's own text.
[[noreturn]] void RaiseCantSetProperty(const std::wstring& ruleText);

// MessageBoxIndirectW: owner the foreground window for system-modal boxes (0x1000), else the
// active form's window (GetActiveWindow without one); empty title → the application title.
// Returns the button (IDOK 1 ... IDYES 6, IDNO 7).
int ShowMessageBox(const std::wstring& text, UINT flags = MB_OK, const std::wstring& title = {});

// The GDI font of a host font object: face (31 characters at most), height from the point size
// rounded and the screen's vertical DPI, weight, italic, underline, strikeout, character set.
// The caller owns it.
host::UniqueFont CreateControlFont(const host::FontDesc& font);

}  // namespace foundation

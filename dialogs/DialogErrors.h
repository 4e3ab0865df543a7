// The errors the dialogs report: one table per dialog, keyed by CommDlgExtendedError's code (or
// PrintDlgExW's result), each raising the number and text the caller reads back.
#pragma once

#include <windows.h>

namespace dialogs {

constexpr long CancelErrorNumber = 32755;  // "Cancel was selected."

[[noreturn]] void RaiseCancel();
[[noreturn]] void RaiseFileDialogError(DWORD code, bool save);
[[noreturn]] void RaisePrintDialogError(DWORD code, bool pageSetup);
[[noreturn]] void RaisePrintDialogExError(HRESULT result);
[[noreturn]] void RaiseColorDialogError(DWORD code);
[[noreturn]] void RaiseFontDialogError(DWORD code);
[[noreturn]] void RaiseFindDialogError(DWORD code, bool replace);
[[noreturn]] void RaiseHelpError();
// 383 "Property is read-only", 394 "Property is write-only".
[[noreturn]] void RaiseReadOnly();
[[noreturn]] void RaiseWriteOnly();

}  // namespace dialogs

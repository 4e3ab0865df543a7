// The callback object PrintDlgExW asks for IPrintDialogCallback: it hands WM_INITDIALOG of the
// print property sheet to the common-dialog object (reference -5) and lets the dialog do its
// default processing for everything (S_FALSE).
#pragma once

#include "controls/foundation/ISubclass.h"
#include "host/Handles.h"

#include <unknwn.h>

namespace foundation {

// {5852A2C3-6530-11D1-B6A3-0000F8757BF9}
inline constexpr GUID IID_PrintDialogCallback = {0x5852A2C3, 0x6530, 0x11D1, {0xB6, 0xA3, 0x00, 0x00, 0xF8, 0x75, 0x7B, 0xF9}};

// A new object in task memory holding one reference, the returned pointer's; it frees itself
// with its last Release. `client` is borrowed and must outlive the dialog.
host::ComPtr<IUnknown> CreatePrintDialogCallbackObject(ISubclass* client);

}  // namespace foundation

// The Help button of the modal dialogs (routes in HelpRoute.h); an unhandled Help event opens the
// help file.
#include "dialogs/CommonDialog.h"

#include "dialogs/DialogErrors.h"
#include "dialogs/RegisteredMessages.h"

#include <dlgs.h>

#include <string>

namespace dialogs {

LRESULT CommonDialog::OwnerMessage(int dialogKind, HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam) {
    if (wMsg == msg::Help()) {
        helpHeard_ = true;
        RaiseHelp(dialogKind, reinterpret_cast<HWND>(wParam));
    }
    // Some platforms send the colour dialog's OK check to the owner instead of the hook; it gets
    // the same answer either way.
    if (dialogKind == kind::Color && wMsg == msg::ColorOk() && colorDialog_)
        return ColorOk(colorDialog_, reinterpret_cast<const CHOOSECOLORW*>(lParam));
    return foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
}

// The dialog's own Help button: the dialog is left to tell the owner; when it did not, the Help
// event is raised from here.
LRESULT CommonDialog::HelpButtonMessage(int dialogKind, HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam) {
    if (wMsg != WM_COMMAND || LOWORD(wParam) != pshHelp || HIWORD(wParam) != BN_CLICKED)
        return foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
    helpHeard_ = false;
    LRESULT result = foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
    if (!helpHeard_ && IsWindow(hwnd)) RaiseHelp(dialogKind, hwnd);
    return result;
}

void CommonDialog::RaiseHelp(int dialogKind, HWND hDlg) {
    HWND focused = GetFocus();
    bool handled = false;
    Help(handled, dialogKind, hDlg);
    if (GetFocus() != focused && IsWindow(focused)) SetFocus(focused);
    if (!handled) ShowHelp();
}

void CommonDialog::ShowHelp() {
    ULONG_PTR data = 0;
    switch (helpCommand_) {
    case 0: return;
    case HELP_CONTEXT:
    case HELP_SETCONTENTS:
    case HELP_CONTEXTPOPUP: data = static_cast<ULONG_PTR>(helpContext_); break;
    case HELP_KEY:
    case HELP_COMMAND:
    case HELP_PARTIALKEY: data = reinterpret_cast<ULONG_PTR>(helpKey_.c_str()); break;
    default: break;
    }
    if (!WinHelpW(nullptr, helpFile_.c_str(), static_cast<UINT>(helpCommand_), data)) RaiseHelpError();
}

}  // namespace dialogs

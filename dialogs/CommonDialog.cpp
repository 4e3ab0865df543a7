#include "dialogs/CommonDialog.h"

#include "controls/foundation/Subclass.h"
#include "controls/foundation/DialogHookForwarder.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/HelpRoute.h"
#include "host/Error.h"

namespace dialogs {

namespace fwd = foundation::DialogHookForwarder;

CommonDialog::CommonDialog() {
    device_.paperSize = MetricLocale() ? DMPAPER_A4 : DMPAPER_LETTER;
    // The first colour dialog shows greys from white down in steps of 16.
    for (int i = 0; i < 16; ++i) {
        int grey = 255 - 16 * i;
        customColors_[i] = RGB(grey, grey, grey);
    }
}

CommonDialog::~CommonDialog() {
    try {
        CloseFindReplace();
    } catch (...) {
        // a failing handler during the close must not escape a destructor
    }
}

int CommonDialog::Action() const { RaiseWriteOnly(); }

void CommonDialog::Action(int value) {
    switch (value) {
    case kind::Open: ShowOpen(); break;
    case kind::Save: ShowSave(); break;
    case kind::Color: ShowColor(); break;
    case kind::Font: ShowFont(); break;
    case kind::Print: ShowPrinter(); break;
    case kind::Help: ShowHelp(); break;
    case kind::PageSetup: ShowPageSetup(); break;
    case kind::FolderBrowser: ShowFolderBrowser(); break;
    case kind::Find: ShowFind(); break;
    case kind::Replace: ShowReplace(); break;
    default: host::Raise(host::err::InvalidPropertyValue);
    }
}

// The active window, or inside an MDI frame the active MDI child; may be none.
HWND CommonDialog::OwnerWindow() {
    HWND active = GetActiveWindow();
    if (!active) return nullptr;
    if (HWND client = FindWindowExW(active, nullptr, L"MDIClient", nullptr)) {
        if (auto child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0))) return child;
    }
    return active;
}

bool CommonDialog::Cancelled() {
    if (cancelError_) RaiseCancel();
    return false;
}

LRESULT CommonDialog::ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) {
    StoreMessageResult(0);
    switch (dwRefData) {
    case fwd::OpenFileRef: return FileHookMessage(kind::Open, true, hwnd, wMsg, wParam, lParam);
    case fwd::OpenFileOldStyleRef: return FileHookMessage(kind::Open, false, hwnd, wMsg, wParam, lParam);
    case fwd::SaveFileRef: return FileHookMessage(kind::Save, true, hwnd, wMsg, wParam, lParam);
    case fwd::SaveFileOldStyleRef: return FileHookMessage(kind::Save, false, hwnd, wMsg, wParam, lParam);
    case fwd::ChooseColorRef: return ColorHookMessage(hwnd, wMsg, wParam, lParam);
    case fwd::ChooseFontRef: return FontHookMessage(hwnd, wMsg, wParam, lParam);
    case fwd::PrintRef:
        printInitReported_ = true;
        InitDialog(kind::Print, hwnd);
        return TRUE;
    case fwd::PageSetupRef: InitDialog(kind::PageSetup, hwnd); return TRUE;
    case fwd::BrowseRef: return BrowseCallbackMessage(hwnd, wMsg, lParam);
    case fwd::FindRef: InitDialog(kind::Find, hwnd); return TRUE;
    case fwd::ReplaceRef: InitDialog(kind::Replace, hwnd); return TRUE;
    case kind::Find:
    case kind::Replace: return FindReplaceOwnerMessage(static_cast<int>(dwRefData), hwnd, wMsg, wParam, lParam);
    case kind::Open:
    case kind::Save:
    case kind::Color:
    case kind::Font:
    case kind::Print:
    case kind::PageSetup: return OwnerMessage(static_cast<int>(dwRefData), hwnd, wMsg, wParam, lParam);
    case HelpButtonRef + kind::Open:
    case HelpButtonRef + kind::Save:
    case HelpButtonRef + kind::Color:
    case HelpButtonRef + kind::Font:
    case HelpButtonRef + kind::Print:
    case HelpButtonRef + kind::PageSetup:
        return HelpButtonMessage(static_cast<int>(dwRefData - HelpButtonRef), hwnd, wMsg, wParam, lParam);
    case BrowseDialogRef: return BrowseDialogMessage(hwnd, wMsg, wParam, lParam);
    default: return dwRefData > 0 ? foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam) : 0;
    }
}

}  // namespace dialogs

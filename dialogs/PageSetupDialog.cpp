// ShowPageSetup: PageSetupDlgW over the margins and the paper settings it shares with the print
// dialogs.
#include "dialogs/CommonDialog.h"

#include "controls/foundation/DialogHookForwarder.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/HelpRoute.h"

namespace dialogs {

namespace {

static_assert(sizeof(PAGESETUPDLGW) == 84);

constexpr DWORD PageSetupFields = DM_ORIENTATION | DM_PAPERSIZE | DM_DEFAULTSOURCE;  // 0x203

}  // namespace

bool CommonDialog::ShowPageSetup() {
    HWND owner = OwnerWindow();
    DeviceBlocks blocks;
    if (!(flags_ & PSD_RETURNDEFAULT)) blocks = BuildDeviceBlocks(device_, PageSetupFields, false);
    PAGESETUPDLGW ps{};
    ps.lStructSize = sizeof(ps);
    ps.hwndOwner = owner;
    ps.hDevMode = blocks.devMode.Get();
    ps.hDevNames = blocks.devNames.Get();
    ps.Flags = static_cast<DWORD>(flags_);
    ps.rtMargin = margin_;
    ps.rtMinMargin = minMargin_;
    if (hookEvents_) {
        ps.Flags |= PSD_ENABLEPAGESETUPHOOK;
        ps.lpfnPageSetupHook = &foundation::DialogHookForwarder::PageSetupDialog;
        ps.lCustData = reinterpret_cast<LPARAM>(static_cast<foundation::ISubclass*>(this));
    }
    BOOL ok;
    {
        HelpRoute help(this, owner, kind::PageSetup, (ps.Flags & PSD_SHOWHELP) != 0);
        ok = PageSetupDlgW(&ps);
    }
    AdoptReturnedBlocks(blocks, ps.hDevMode, ps.hDevNames);
    if (!ok) {
        DWORD code = CommDlgExtendedError();
        if (code == 0) return Cancelled();
        RaisePrintDialogError(code, true);
    }
    ReadDeviceBlocks(blocks, device_, PageSetupFields);
    flags_ = static_cast<long>(ps.Flags & ~PSD_ENABLEPAGESETUPHOOK);
    margin_ = ps.rtMargin;
    return true;
}

}  // namespace dialogs

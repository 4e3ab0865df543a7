// ShowPrinter (PrintDlgW) and ShowPrinterEx (PrintDlgExW, the property-sheet style) over the
// device settings and page numbers.
#include "dialogs/CommonDialog.h"

#include "controls/foundation/DialogHookForwarder.h"
#include "controls/foundation/PrintDialogCallbackObject.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/DialogWatch.h"
#include "dialogs/HelpRoute.h"

#include <winspool.h>

#include <optional>
#include <vector>

namespace dialogs {

namespace {

static_assert(sizeof(PRINTDLGW) == 66);
static_assert(sizeof(PRINTDLGEXW) == 84);

// What the print dialogs are told and read back: orientation, paper, copies, bin, quality,
// colour, duplex, collation (0x9F03).
constexpr DWORD PrintFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY |
                              DM_COLOR | DM_DUPLEX | DM_COLLATE;
constexpr DWORD PrintHookFlags = PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;

bool SamePrinter(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

}  // namespace

DeviceBlocks CommonDialog::PrintDeviceBlocks() const {
    if (flags_ & PD_RETURNDEFAULT) return {};
    return BuildDeviceBlocks(device_, PrintFields, (flags_ & PD_COLLATE) != 0);
}

bool CommonDialog::ShowPrinter() {
    HWND owner = OwnerWindow();
    DeviceBlocks blocks = PrintDeviceBlocks();
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner;
    pd.hDevMode = blocks.devMode.Get();
    pd.hDevNames = blocks.devNames.Get();
    pd.Flags = static_cast<DWORD>(flags_);
    if (hookEvents_) {
        pd.Flags |= PrintHookFlags;
        pd.lpfnPrintHook = &foundation::DialogHookForwarder::PrintDialog;
        pd.lpfnSetupHook = &foundation::DialogHookForwarder::PrintDialog;
        pd.lCustData = reinterpret_cast<LPARAM>(static_cast<foundation::ISubclass*>(this));
    }
    pd.nFromPage = static_cast<WORD>(fromPage_);
    pd.nToPage = static_cast<WORD>(toPage_);
    pd.nMinPage = static_cast<WORD>(min_);
    pd.nMaxPage = static_cast<WORD>(max_);
    pd.nCopies = static_cast<WORD>(device_.copies);
    BOOL ok;
    {
        HelpRoute help(this, owner, kind::Print, (pd.Flags & PD_SHOWHELP) != 0);
        ok = PrintDlgW(&pd);
    }
    AdoptReturnedBlocks(blocks, pd.hDevMode, pd.hDevNames);
    if (!ok) {
        DWORD code = CommDlgExtendedError();
        if (code == 0) return Cancelled();
        RaisePrintDialogError(code, false);
    }
    DWORD flags = pd.Flags;
    if (flags & PrintHookFlags) flags &= ~PrintHookFlags;
    TakePrintResult(blocks, flags, pd.hDC);
    fromPage_ = pd.nFromPage;
    toPage_ = pd.nToPage;
    min_ = pd.nMinPage;
    max_ = pd.nMaxPage;
    return true;
}

long CommonDialog::ShowPrinterEx() {
    DeviceBlocks blocks = PrintDeviceBlocks();
    PRINTPAGERANGE range{static_cast<DWORD>(fromPage_), static_cast<DWORD>(toPage_)};
    PRINTDLGEXW ex{};
    ex.lStructSize = sizeof(ex);
    ex.hwndOwner = OwnerWindow();
    ex.hDevMode = blocks.devMode.Get();
    ex.hDevNames = blocks.devNames.Get();
    ex.Flags = static_cast<DWORD>(flags_);
    ex.nPageRanges = 1;
    ex.nMaxPageRanges = 1;
    ex.lpPageRanges = &range;
    ex.nMinPage = static_cast<DWORD>(min_);
    ex.nMaxPage = static_cast<DWORD>(max_);
    ex.nCopies = static_cast<DWORD>(device_.copies);
    ex.nStartPage = START_PAGE_GENERAL;
    host::ComPtr<IUnknown> callback;
    if (hookEvents_) {
        callback = foundation::CreatePrintDialogCallbackObject(this);
        ex.lpCallback = callback.Get();
    }
    HRESULT hr;
    {
        // Wine's PrintDlgExW never calls the callback object: InitDialog then comes from the
        // dialog's activation, once either way.
        printInitReported_ = false;
        std::optional<DialogWatch> watch;
        if (hookEvents_)
            watch.emplace([this](HWND dialog) {
                if (!printInitReported_) InitDialog(kind::Print, dialog);
                printInitReported_ = true;
            });
        hr = PrintDlgExW(&ex);
    }
    AdoptReturnedBlocks(blocks, ex.hDevMode, ex.hDevNames);
    if (FAILED(hr)) RaisePrintDialogExError(hr);
    if (ex.dwResultAction != PD_RESULT_CANCEL || (ex.Flags & PD_RETURNDEFAULT)) {
        TakePrintResult(blocks, ex.Flags, ex.hDC);
        fromPage_ = static_cast<long>(range.nFromPage);
        toPage_ = static_cast<long>(range.nToPage);
        min_ = static_cast<long>(ex.nMinPage);
        max_ = static_cast<long>(ex.nMaxPage);
    } else if (ex.hDC) {
        DeleteDC(ex.hDC);  // nothing to print: a context handed back anyway is not kept
    }
    if (ex.dwResultAction == PD_RESULT_CANCEL) {
        Cancelled();
        return 0;
    }
    return static_cast<long>(ex.dwResultAction);
}

// Step by step what a confirmed print dialog leaves in the properties.
void CommonDialog::TakePrintResult(const DeviceBlocks& blocks, DWORD flags, HDC returnedDC) {
    ReturnedDevice returned = ReadDeviceBlocks(blocks, device_, PrintFields);
    TakePrinterNames(returned);
    if ((returned.dmFields & DM_COLLATE) && (flags & PD_USEDEVMODECOPIESANDCOLLATE) &&
        returned.dmCollate == DMCOLLATE_TRUE && !(flags & PD_COLLATE))
        flags |= PD_COLLATE;
    flags_ = static_cast<long>(flags);
    if (flags & (PD_RETURNDC | PD_RETURNIC)) hdc_.Reset(returnedDC);
}

// The chosen printer's names; with PrinterDefault on it becomes the system's default printer and
// the names stay empty, as they are for the default printer itself.
void CommonDialog::TakePrinterNames(const ReturnedDevice& returned) {
    if (!returned.hasNames) return;
    if (returned.defaultPrinter) {
        device_.driver.clear();
        device_.name.clear();
        device_.port.clear();
        return;
    }
    device_.driver = returned.driver;
    device_.name = returned.name;
    device_.port = returned.port;
    if (!printerDefault_) return;
    DWORD chars = 0;
    GetDefaultPrinterW(nullptr, &chars);
    std::vector<wchar_t> current(chars + 1, L'\0');
    if (!GetDefaultPrinterW(current.data(), &chars) || !SamePrinter(current.data(), returned.name))
        SetDefaultPrinterW(returned.name.c_str());
    device_.driver.clear();
    device_.name.clear();
    device_.port.clear();
}

}  // namespace dialogs

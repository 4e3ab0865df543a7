#include "dialogs/DialogErrors.h"

#include "host/Error.h"

#include <commdlg.h>
#include <cderr.h>

#include <string>

namespace dialogs {

namespace {

[[noreturn]] void Unexpected(long code) { host::Raise(code, L"Unexpected error."); }

}  // namespace

void RaiseCancel() { host::Raise(CancelErrorNumber, L"Cancel was selected."); }

void RaiseFileDialogError(DWORD code, bool save) {
    switch (code) {
    case FNERR_SUBCLASSFAILURE:
        host::Raise(20478, save ? L"An attempt to subclass a list box failed due to insufficient memory."
                                : L"An attempt to subclass a listbox failed due to insufficient memory.");
    case FNERR_INVALIDFILENAME: host::Raise(20477, L"File name is invalid.");
    case FNERR_BUFFERTOOSMALL:
        host::Raise(20476, save ? L"The buffer at which the member lpstrFile points is too small."
                                : L"The buffer at which the member LpstrFile points is too small.");
    default: Unexpected(static_cast<long>(code));
    }
}

void RaisePrintDialogError(DWORD code, bool pageSetup) {
    const wchar_t* fn = pageSetup ? L"PageSetupDlg" : L"PrintDlg";
    auto withName = [fn](const wchar_t* before, const wchar_t* after) {
        return std::wstring(before) + fn + after;
    };
    switch (code) {
    case PDERR_PARSEFAILURE: host::Raise(28669, withName(L"The ", L" function failed to parse the strings in WIN.INI."));
    case PDERR_RETDEFFAILURE: host::Raise(28668, L"The PDReturnDefault flag was set, but a field was nonzero.");
    case PDERR_LOADDRVFAILURE:
        host::Raise(28667, withName(L"The ", L" function failed to load the specified printer's device driver."));
    case PDERR_GETDEVMODEFAIL:
        host::Raise(28666, L"The printer-device driver failed to initialize a DevMode data structure.");
    case PDERR_INITFAILURE: host::Raise(28665, withName(L"The ", L" function failed during initialization."));
    case PDERR_NODEVICES: host::Raise(28664, L"No printer device-drivers were found.");
    case PDERR_NODEFAULTPRN: host::Raise(28663, L"A default printer does not exist.");
    case PDERR_DNDMMISMATCH: host::Raise(28662, L"DevMode and DevNames data structures describe two different printers.");
    case PDERR_CREATEICFAILURE:
        host::Raise(28661, withName(L"The ", L" function failed when creating an information context."));
    case PDERR_PRINTERNOTFOUND:
        host::Raise(28660, L"The [devices] section of WIN.INI does not contain an entry for the printer.");
    default: Unexpected(static_cast<long>(code));
    }
}

void RaisePrintDialogExError(HRESULT result) {
    switch (result) {
    case E_POINTER:
    case E_FAIL:
    case E_HANDLE:
    case E_OUTOFMEMORY:
    case E_INVALIDARG: host::Raise(28665, L"The PrintDlgEx function failed during initialization.");
    default: Unexpected(static_cast<long>(result));
    }
}

void RaiseColorDialogError(DWORD code) { Unexpected(static_cast<long>(code)); }

void RaiseFontDialogError(DWORD code) {
    switch (code) {
    case CFERR_NOFONTS: host::Raise(24574, L"No fonts exist.");
    case CFERR_MAXLESSTHANMIN:
        host::Raise(24573, L"The size specified in the nSizeMax member is less than the size specified in the nSizeMin member.");
    default: Unexpected(static_cast<long>(code));
    }
}

void RaiseFindDialogError(DWORD code, bool replace) {
    if (code == FRERR_BUFFERLENGTHZERO)
        host::Raise(36848, replace ? L"The buffer at which the member LpstrFindWhat and/or LpstrReplaceWith points is invalid."
                                   : L"The buffer at which the member LpstrFindWhat points is invalid.");
    Unexpected(static_cast<long>(code));
}

void RaiseHelpError() { host::Raise(32751, L"Call to windows help failed."); }

void RaiseReadOnly() { host::Raise(383, L"Property is read-only"); }
void RaiseWriteOnly() { host::Raise(394, L"Property is write-only"); }

}  // namespace dialogs

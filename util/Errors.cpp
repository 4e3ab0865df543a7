#include "util/Errors.h"

#include <string>

#include "host/Error.h"
#include "util/ComTypes.h"

namespace util {

std::wstring StandardErrorText(long number) {
    switch (number) {
    case err::PermissionDenied: return L"Permission denied";
    case err::PathFileAccess: return L"Path/File access error";
    case err::PathNotFound: return L"Path not found";
    case err::CantCreateObject: return L"ActiveX component can't create object";
    case err::FileNotOpened: return L"File could not be opened.";
    case err::FileNotRead: return L"File could not be read.";
    default: return host::StandardDescription(number);
    }
}

void Raise(long number) {
    throw base::Error(number, StandardErrorText(number));
}

void RaiseComError(HRESULT hr, EXCEPINFO* info) {
    std::wstring description;
    if (info) {
        if (info->pfnDeferredFillIn) info->pfnDeferredFillIn(info);
        Bstr source = Bstr::Adopt(info->bstrSource);
        Bstr helpFile = Bstr::Adopt(info->bstrHelpFile);
        description = Bstr::Adopt(info->bstrDescription).Text();
        if (info->scode) {
            hr = info->scode;
        } else if (info->wCode) {
            hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, info->wCode);
        }
    }
    long number;
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) {
        number = HRESULT_CODE(hr);
    } else if (hr == E_OUTOFMEMORY) {
        number = base::err::OutOfMemory;
    } else {
        number = static_cast<long>(hr);
    }
    if (description.empty()) {
        // An HRESULT of another facility has no text of the runtime's own.
        description = HRESULT_FACILITY(hr) == FACILITY_CONTROL || number == base::err::OutOfMemory
                          ? StandardErrorText(number)
                          : L"Automation error";
    }
    throw base::Error(number, std::move(description));
}

}  // namespace util

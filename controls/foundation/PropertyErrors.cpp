#include "controls/foundation/ComCtlsBase.h"

#include "host/Error.h"

namespace foundation {

void PropertyError(bool designMode, long number, const std::wstring& description) {
    if (designMode) {
        ShowMessageBox(description, MB_ICONSTOP);  // 16: the critical-stop icon
        return;
    }
    host::Raise(number, description);
}

void InvalidPropertyValue(bool designMode) {
    PropertyError(designMode, host::err::InvalidPropertyValue, host::StandardDescription(host::err::InvalidPropertyValue));
}

void RaiseReadOnlyAtRunTime(const std::wstring& property) {
    host::Raise(host::err::ReadOnlyAtRunTime, property + L" property is read-only at run time");
}

void RaiseCantSetProperty(const std::wstring& ruleText) { host::Raise(host::err::CantSetProperty, ruleText); }

}  // namespace foundation

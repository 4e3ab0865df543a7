// The utility class's errors: the host's numbers and texts, the few of the file system and the
// automation components that only this class meets, and a failed COM call turned into the error
// a caller of the component would have seen.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "base/Error.h"

namespace util {

// Error numbers the utility class raises besides base::err's.
namespace err {
constexpr long PermissionDenied = 70;   // "Permission denied"
constexpr long PathFileAccess = 75;     // "Path/File access error"
constexpr long PathNotFound = 76;       // "Path not found"
constexpr long CantCreateObject = 429;  // "ActiveX component can't create object"
constexpr long NoSuchMember = 438;      // "Object doesn't support this property or method"
// The stream component's numbers, kept so that callers see what they saw from it.
constexpr long FileNotOpened = 3002;    // "File could not be opened."
constexpr long FileNotRead = 3003;      // "File could not be read."
}  // namespace err

// The standard description of an error number.
std::wstring StandardErrorText(long number);

[[noreturn]] void Raise(long number);

// A failed Invoke or creation: FACILITY_CONTROL results carry the runtime's error number in
// their low word; anything else is passed on as the HRESULT itself, as an automation error.
[[noreturn]] void RaiseComError(HRESULT hr, EXCEPINFO* info = nullptr);

}  // namespace util

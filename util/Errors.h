// Raising the runtime's numbered errors with their standard descriptions, and turning a failed
// COM call into the error a caller of the component would have seen.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "base/Error.h"

namespace util {

// Error numbers the utility class raises besides base::err's.
namespace err {
constexpr long BadFileName = 52;        // "Bad file name or number"
constexpr long FileNotFound = 53;       // "File not found"
constexpr long PermissionDenied = 70;   // "Permission denied"
constexpr long PathFileAccess = 75;     // "Path/File access error"
constexpr long PathNotFound = 76;       // "Path not found"
constexpr long CantCreateObject = 429;  // "ActiveX component can't create object"
constexpr long NoSuchMember = 438;      // "Object doesn't support this property or method"
// The stream component's numbers, kept so that callers see what they saw from it.
constexpr long FileNotOpened = 3002;    // "File could not be opened."
constexpr long FileNotRead = 3003;      // "File could not be read."
}  // namespace err

// The standard description of a runtime error number ("" for a number without one).
const wchar_t* StandardErrorText(long number);

[[noreturn]] void Raise(long number);

// A failed Invoke or creation: FACILITY_CONTROL results carry the runtime's error number in
// their low word; anything else is passed on as the HRESULT itself, as an automation error.
[[noreturn]] void RaiseComError(HRESULT hr, EXCEPINFO* info = nullptr);

}  // namespace util

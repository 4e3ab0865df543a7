// Late-bound calls on automation components, by programmatic identifier and member name, the
// way a script would make them. Failures are raised as base::Error (see RaiseComError).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "util/ComTypes.h"

namespace util {

ComPtr<IDispatch> CreateObject(const wchar_t* progId);

// Calls member `name` (a method with DISPATCH_METHOD, a property read with
// DISPATCH_PROPERTYGET) with at most one argument; the result lands in `result`.
void CallMember(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* argument, Variant& result);

// The object a result holds; raises 13 "Type mismatch" when it holds none.
ComPtr<IDispatch> ObjectOf(const Variant& value);
// The text a result holds, converted as a script would.
std::wstring TextOf(const Variant& value);

// The enumerator of a collection (its _NewEnum member).
ComPtr<IEnumVARIANT> EnumeratorOf(IDispatch* collection);

}  // namespace util

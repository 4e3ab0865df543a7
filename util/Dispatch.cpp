#include "util/Dispatch.h"

#include "util/Errors.h"

namespace util {

ComPtr<IDispatch> CreateObject(const wchar_t* progId) {
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) Raise(err::CantCreateObject);
    ComPtr<IDispatch> object;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(object.Receive()));
    if (FAILED(hr)) Raise(err::CantCreateObject);
    return object;
}

void CallMember(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* argument, Variant& result) {
    DISPID id;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) Raise(err::NoSuchMember);
    DISPPARAMS params{argument, nullptr, argument ? 1u : 0u, 0};
    EXCEPINFO info{};
    result.Clear();
    HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result.Get(), &info, nullptr);
    if (FAILED(hr)) RaiseComError(hr, hr == DISP_E_EXCEPTION ? &info : nullptr);
}

ComPtr<IDispatch> ObjectOf(const Variant& value) {
    const VARIANT& v = *value;
    IUnknown* unknown = nullptr;
    if (v.vt == VT_DISPATCH) unknown = v.pdispVal;
    else if (v.vt == VT_UNKNOWN) unknown = v.punkVal;
    ComPtr<IDispatch> object;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.Receive()))))
        Raise(base::err::TypeMismatch);
    return object;
}

std::wstring TextOf(const Variant& value) {
    Variant text;
    HRESULT hr = ::VariantChangeType(text.Get(), const_cast<VARIANT*>(&*value), 0, VT_BSTR);
    if (FAILED(hr)) Raise(base::err::TypeMismatch);
    const BSTR b = (*text).bstrVal;  // still owned by `text`
    return b ? std::wstring(b, ::SysStringLen(b)) : std::wstring();
}

ComPtr<IEnumVARIANT> EnumeratorOf(IDispatch* collection) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXCEPINFO info{};
    Variant result;
    HRESULT hr = collection->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                    DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, result.Get(), &info, nullptr);
    if (FAILED(hr)) RaiseComError(hr, hr == DISP_E_EXCEPTION ? &info : nullptr);
    const VARIANT& v = *result;
    IUnknown* unknown = v.vt == VT_UNKNOWN ? v.punkVal : v.vt == VT_DISPATCH ? v.pdispVal : nullptr;
    ComPtr<IEnumVARIANT> enumerator;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(enumerator.Receive()))))
        Raise(err::NoSuchMember);
    return enumerator;
}

}  // namespace util

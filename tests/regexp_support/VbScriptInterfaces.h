// The platform's RegExp 5.5 interfaces, declared here in their vtable order so that we bind to
// them directly instead of looking members up by name.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace rxtest::vbs {

inline constexpr CLSID CLSID_RegExp = {0x3F4DACA4, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID IID_IRegExp2 = {0x3F4DACB0, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID IID_IMatch2 = {0x3F4DACB1, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID IID_IMatchCollection2 = {0x3F4DACB2, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};

// Dispatch identifiers of the sub-match collection, read through IDispatch.
constexpr DISPID DISPID_SubMatchesItem = 0;
constexpr DISPID DISPID_SubMatchesCount = 1;

struct IRegExp2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Pattern(BSTR* pattern) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Pattern(BSTR pattern) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IgnoreCase(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IgnoreCase(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Global(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Global(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Multiline(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Multiline(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Execute(BSTR source, IDispatch** matches) = 0;
    virtual HRESULT STDMETHODCALLTYPE Test(BSTR source, VARIANT_BOOL* matched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Replace(BSTR source, VARIANT replacement, BSTR* result) = 0;
};

struct IMatch2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FirstIndex(LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Length(LONG* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SubMatches(IDispatch** subMatches) = 0;
};

struct IMatchCollection2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Item(LONG index, IDispatch** match) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) = 0;
};

}  // namespace rxtest::vbs

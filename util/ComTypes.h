// Owners of what the automation and shell calls hand out, beside the host's ComPtr: strings,
// variants, COM initialisation of the calling thread, and shell item lists.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shlobj.h>

#include <string>
#include <utility>

#include "host/Handles.h"

namespace util {

using host::ComPtr;

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& s) : b_(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    ~Bstr() { ::SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept {
        if (this != &o) ::SysFreeString(std::exchange(b_, std::exchange(o.b_, nullptr)));
        return *this;
    }

    // Takes over a string that a callee allocated (and clears the callee's field).
    static Bstr Adopt(BSTR& b) {
        Bstr owner;
        owner.b_ = std::exchange(b, nullptr);
        return owner;
    }

    BSTR Get() const { return b_; }
    std::wstring Text() const { return b_ ? std::wstring(b_, ::SysStringLen(b_)) : std::wstring(); }

private:
    BSTR b_ = nullptr;
};

class Variant {
public:
    Variant() { ::VariantInit(&v_); }
    ~Variant() { ::VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* Get() { return &v_; }
    const VARIANT& operator*() const { return v_; }
    void Clear() { ::VariantClear(&v_); }

private:
    VARIANT v_;
};

// COM on the calling thread for the life of the object; a thread already initialised (in any
// model) is left as it is.
class ComInit {
public:
    ComInit() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComInit() {
        if (SUCCEEDED(hr_)) ::CoUninitialize();
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;

private:
    HRESULT hr_;
};

// The shell allocates item lists with the task allocator.
struct ItemIdListTraits {
    using Handle = LPITEMIDLIST;
    static LPITEMIDLIST Invalid() { return nullptr; }
    static void Close(LPITEMIDLIST p) { ::CoTaskMemFree(p); }
};
using ItemIdList = host::UniqueHandle<ItemIdListTraits>;

}  // namespace util

// Move-only owners of COM resources: an interface pointer, a BSTR, a VARIANT, COM
// initialisation of the calling thread, and a shell item list. Each frees its resource in
// exactly one place.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shlobj.h>

#include <string>
#include <utility>

namespace util {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            Reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the out-parameter of a creating call; whatever was held is released first.
    T** Put() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

private:
    T* p_ = nullptr;
};

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& s) : b_(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    ~Bstr() { ::SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept {
        if (this != &o) {
            ::SysFreeString(b_);
            b_ = std::exchange(o.b_, nullptr);
        }
        return *this;
    }

    // Takes over a string that a callee allocated for us (and resets the caller's copy).
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

// The item list the folder browser hands back; the shell allocates it with the task allocator.
class ItemIdList {
public:
    explicit ItemIdList(LPITEMIDLIST p) : p_(p) {}
    ~ItemIdList() { ::CoTaskMemFree(p_); }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;

    LPCITEMIDLIST Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    LPITEMIDLIST p_;
};

}  // namespace util

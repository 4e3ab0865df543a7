// Table patching on an interface table of our own (read-only memory, as a compiler lays tables
// out), and the answers the patched entries give with their HRESULTs.
#include "controls/foundation/VTableHandle.h"
#include "controls/foundation/VTableSubclass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace foundation;

namespace {

// A host object with the two interfaces a COM host offers; its own entries leave marks.
class HostObject : public IOleControl, public IPerPropertyBrowsing {
public:
    explicit HostObject(host::Control* carried = nullptr) : carried_(carried) {}
    int ownControlInfo = 0, ownMnemonic = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleControl)) *out = static_cast<IOleControl*>(this);
        else if (IsEqualIID(iid, IID_IPerPropertyBrowsing)) *out = static_cast<IPerPropertyBrowsing*>(this);
        else if ((IsEqualIID(iid, IID_IOleControlVB) || IsEqualIID(iid, IID_IPerPropertyBrowsingVB)) && carried_) {
            *out = carried_;
            return S_OK;
        }
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* pCI) override {
        ++ownControlInfo;
        if (pCI) pCI->dwFlags = 0x40;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override {
        ++ownMnemonic;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID, BSTR*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID, CLSID*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID, CALPOLESTR*, CADWORD*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID, DWORD, VARIANT*) override { return E_FAIL; }

private:
    host::Control* carried_;
    ULONG refs_ = 1;
};

// A control that answers what it is told to.
class Answerer : public host::Control {
public:
    std::wstring TypeName() const override { return L"Answerer"; }
    bool answers = true;
    long accelCount = 0;
    void IOleControlVB_GetControlInfo(bool& handled, long& count, HACCEL& table, long& flags) override {
        if (!answers) return;
        handled = true;
        count = accelCount;
        table = nullptr;
        flags = 3;
    }
    void IOleControlVB_OnMnemonic(bool& handled, UINT, WPARAM, LPARAM, int) override { handled = answers; }
    void IPerPropertyBrowsingVB_GetDisplayString(bool& handled, long dispId, std::wstring& name) override {
        if (dispId == 7) {
            handled = true;
            name = L"两个 - Two";
        }
    }
    void IPerPropertyBrowsingVB_GetPredefinedStrings(bool& handled, long dispId, std::vector<std::wstring>& s,
                                                     std::vector<long>& c) override {
        if (dispId != 7) return;
        handled = true;
        s = {L"0 - Off", L"1 - On"};
        c = {0, 1};
    }
    void IPerPropertyBrowsingVB_GetPredefinedValue(bool& handled, long dispId, long cookie, long& value) override {
        if (dispId != 7) return;
        handled = true;
        value = cookie * 10;
    }
};

// Calls through the table, never a devirtualised direct call.
[[gnu::noinline]] IOleControl* ControlItf(HostObject& o) {
    void* p = nullptr;
    o.QueryInterface(IID_IOleControl, &p);
    static_cast<IUnknown*>(p)->Release();
    return static_cast<IOleControl*>(p);
}
[[gnu::noinline]] IPerPropertyBrowsing* BrowsingItf(HostObject& o) {
    void* p = nullptr;
    o.QueryInterface(IID_IPerPropertyBrowsing, &p);
    static_cast<IUnknown*>(p)->Release();
    return static_cast<IPerPropertyBrowsing*>(p);
}

void** TableOf(void* itf) { return *static_cast<void***>(itf); }

DWORD ProtectionOf(const void* p) {
    MEMORY_BASIC_INFORMATION mbi{};
    VirtualQuery(p, &mbi, sizeof(mbi));
    return mbi.Protect;
}

HRESULT STDMETHODCALLTYPE Replacement4(IOleControl*, CONTROLINFO*) { return 0x4444; }
HRESULT STDMETHODCALLTYPE Replacement5(IOleControl*, MSG*) { return 0x5555; }

}  // namespace

TEST(VTableSubclass, PatchesRestoresAndKeepsThePageProtection) {
    HostObject object;
    IOleControl* itf = ControlItf(object);
    void** table = TableOf(itf);
    void* own4 = table[3];
    void* own5 = table[4];
    DWORD protection = ProtectionOf(table);
    {
        VTableSubclass patch;
        void* entries[] = {reinterpret_cast<void*>(&Replacement4), reinterpret_cast<void*>(&Replacement5)};
        patch.Subclass(itf, 4, 5, entries);
        EXPECT_EQ(itf->GetControlInfo(nullptr), 0x4444);
        EXPECT_EQ(itf->OnMnemonic(nullptr), 0x5555);
        EXPECT_EQ(ProtectionOf(table), protection) << "the page goes back to its protection";
        EXPECT_TRUE(patch.SubclassEntry(4));
        EXPECT_FALSE(patch.SubclassEntry(3)) << "an entry never given";
        EXPECT_EQ(patch.SavedEntry(4), own4);

        patch.SubclassEntry(4, false);
        EXPECT_FALSE(patch.SubclassEntry(4));
        EXPECT_EQ(itf->GetControlInfo(nullptr), S_FALSE) << "the object's own entry answers";
        EXPECT_EQ(object.ownControlInfo, 1);
        EXPECT_EQ(itf->OnMnemonic(nullptr), 0x5555) << "the other entry stays ours";
        patch.SubclassEntry(4, true);
        EXPECT_EQ(itf->GetControlInfo(nullptr), 0x4444);

        patch.ReSubclass();
        EXPECT_EQ(table[3], reinterpret_cast<void*>(&Replacement4));
        EXPECT_EQ(patch.SavedEntry(4), own4) << "re-patching keeps the object's own pointer";

        // A second patch with the same replacement must not save ours as the object's own.
        VTableSubclass second;
        second.Subclass(itf, 4, 4, entries);
        EXPECT_FALSE(second.SubclassEntry(4));
        second.UnSubclass();
        EXPECT_EQ(table[3], reinterpret_cast<void*>(&Replacement4)) << "the second changed nothing";

        patch.UnSubclass();
        EXPECT_EQ(table[3], own4);
        EXPECT_EQ(table[4], own5);
        EXPECT_EQ(patch.Table(), nullptr);
        patch.Subclass(itf, 4, 5, entries);  // ended while patching: the destructor restores
    }
    EXPECT_EQ(table[3], own4);
    EXPECT_EQ(table[4], own5);
    EXPECT_EQ(ProtectionOf(table), protection);
}

TEST(VTableHandle, ControlTableIsPatchedOnceAndRestoredWithTheLastUser) {
    Answerer a, b;
    HostObject first(&a), second(&b), plain;
    IOleControl* itf = ControlItf(first);
    void* own4 = TableOf(itf)[3];
    long users = ControlInfoHookCount();
    HookControlInterfaces(static_cast<IOleControl*>(&first), HookControlInfo);
    HookControlInterfaces(static_cast<IOleControl*>(&second), HookControlInfo);
    EXPECT_EQ(ControlInfoHookCount(), users + 2);
    EXPECT_NE(TableOf(itf)[3], own4);

    CONTROLINFO ci{};
    EXPECT_EQ(itf->GetControlInfo(&ci), S_OK);
    EXPECT_EQ(ci.cb, 16u);
    EXPECT_EQ(ci.dwFlags, 3u);
    EXPECT_EQ(first.ownControlInfo, 0);
    EXPECT_EQ(itf->GetControlInfo(nullptr), E_POINTER);
    EXPECT_EQ(itf->OnMnemonic(nullptr), E_INVALIDARG);
    MSG msg{};
    msg.message = WM_SYSKEYDOWN;
    EXPECT_EQ(itf->OnMnemonic(&msg), S_OK);
    a.accelCount = 2;  // accelerators claimed, no table given
    EXPECT_EQ(itf->GetControlInfo(&ci), E_OUTOFMEMORY);

    // A control that does not answer, or an object without one, behaves like an unhooked one.
    a.answers = false;
    ci = {};
    EXPECT_EQ(itf->GetControlInfo(&ci), S_FALSE);
    EXPECT_EQ(ci.dwFlags, 0x40u);
    EXPECT_EQ(itf->OnMnemonic(&msg), S_FALSE);
    EXPECT_EQ(first.ownControlInfo, 1);
    EXPECT_EQ(first.ownMnemonic, 1);
    EXPECT_NE(TableOf(itf)[3], own4) << "the patch is back after the object's own entry ran";
    EXPECT_EQ(ControlItf(plain)->GetControlInfo(&ci), S_FALSE);
    EXPECT_EQ(plain.ownControlInfo, 1);

    UnhookControlInterfaces(static_cast<IOleControl*>(&first), HookControlInfo);
    EXPECT_NE(TableOf(itf)[3], own4) << "still one user";
    UnhookControlInterfaces(static_cast<IOleControl*>(&second), HookControlInfo);
    EXPECT_EQ(TableOf(itf)[3], own4);
    EXPECT_EQ(ControlInfoHookCount(), users);
    UnhookControlInterfaces(static_cast<IOleControl*>(&second), HookControlInfo);  // once too often
    EXPECT_EQ(ControlInfoHookCount(), users);
}

TEST(VTableHandle, PropertyBrowsingAnswersOrNotImplemented) {
    Answerer a;
    HostObject object(&a), plain;
    IPerPropertyBrowsing* itf = BrowsingItf(object);
    void** table = TableOf(itf);
    void* own5 = table[4];
    HookControlInterfaces(static_cast<IOleControl*>(&object), HookPropertyBrowsing);

    EXPECT_EQ(table[4], own5) << "MapPropertyToPage is not replaced";
    BSTR name = nullptr;
    EXPECT_EQ(itf->GetDisplayString(7, &name), S_OK);
    EXPECT_STREQ(name, L"两个 - Two");
    SysFreeString(name);
    EXPECT_EQ(itf->GetDisplayString(8, &name), E_NOTIMPL);
    EXPECT_EQ(itf->GetDisplayString(7, nullptr), E_POINTER);

    CALPOLESTR strings{};
    CADWORD cookies{};
    ASSERT_EQ(itf->GetPredefinedStrings(7, &strings, &cookies), S_OK);
    ASSERT_EQ(strings.cElems, 2u);
    ASSERT_EQ(cookies.cElems, 2u);
    EXPECT_STREQ(strings.pElems[1], L"1 - On");
    EXPECT_EQ(cookies.pElems[1], 1u);
    for (ULONG i = 0; i < strings.cElems; ++i) CoTaskMemFree(strings.pElems[i]);
    CoTaskMemFree(strings.pElems);
    CoTaskMemFree(cookies.pElems);
    EXPECT_EQ(itf->GetPredefinedStrings(8, &strings, &cookies), E_NOTIMPL) << "a property the control does not list";
    EXPECT_EQ(itf->GetPredefinedStrings(7, nullptr, &cookies), E_POINTER);
    EXPECT_EQ(itf->GetPredefinedStrings(7, &strings, nullptr), E_POINTER);

    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(itf->GetPredefinedValue(7, 1, &v), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 10);
    EXPECT_EQ(itf->GetPredefinedValue(8, 1, &v), E_NOTIMPL);
    EXPECT_EQ(itf->GetPredefinedValue(7, 1, nullptr), E_POINTER);
    EXPECT_EQ(BrowsingItf(plain)->GetDisplayString(7, &name), E_NOTIMPL) << "no control side: nothing to show";

    UnhookControlInterfaces(static_cast<IOleControl*>(&object), HookPropertyBrowsing);
    EXPECT_EQ(itf->GetDisplayString(7, &name), E_FAIL) << "restored: the object's own entry";
}

TEST(VTableHandle, TranslateAcceleratorAnswerOrTheHostsOwn) {
    struct Keeper : host::Control {
        std::wstring TypeName() const override { return L"Keeper"; }
        void IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT, WPARAM wParam, LPARAM,
                                                            int) override {
            if (wParam == VK_LEFT) {
                handled = true;
                retVal = S_FALSE;
            }
        }
    } keeper;
    int own = 0;
    auto hostOwn = [&] {
        ++own;
        return S_OK;
    };
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_LEFT;
    EXPECT_EQ(AnswerTranslateAccelerator(&keeper, &msg, hostOwn), S_FALSE);
    EXPECT_EQ(own, 0);
    msg.wParam = VK_TAB;
    EXPECT_EQ(AnswerTranslateAccelerator(&keeper, &msg, hostOwn), S_OK);
    EXPECT_EQ(own, 1);
    EXPECT_EQ(AnswerTranslateAccelerator(&keeper, nullptr, hostOwn), E_INVALIDARG);
    EXPECT_EQ(AnswerTranslateAccelerator(nullptr, &msg, hostOwn), S_OK);
    EXPECT_EQ(own, 2);
}

TEST(VTableHandle, DispatchIdsByNameThroughIDispatch) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(L"Scripting.Dictionary", &clsid), S_OK);
        IDispatch* dictionary = nullptr;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&dictionary)),
                  S_OK);
        EXPECT_EQ(DispIdOfName(dictionary, L"item"), DISPID_VALUE) << "Item is the default member, in any case";
        EXPECT_GT(DispIdOfName(dictionary, L"Count"), 0);
        EXPECT_EQ(DispIdOfName(dictionary, L"NoSuchMember"), DISPID_UNKNOWN);
        EXPECT_EQ(DispIdOfName(static_cast<IDispatch*>(nullptr), L"Count"), DISPID_UNKNOWN);
        dictionary->Release();
    }
    CoUninitialize();
}

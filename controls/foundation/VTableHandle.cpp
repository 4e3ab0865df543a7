#include "controls/foundation/VTableHandle.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/VTableSubclass.h"
#include "host/Application.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/Form.h"

#include <algorithm>
#include <string>
#include <vector>

namespace foundation {

namespace {

// What a form asks while a control without in-place routing has the focus: nothing is kept.
struct HostOwnActiveObject final : host::IOleInPlaceActiveObjectVB {};

struct HookState {
    long inPlaceCount = 0;
    VTableSubclass controlTable;  // IOleControl: its RefCount counts the users
    VTableSubclass browsingTable; // IPerPropertyBrowsing
    bool controlPatched = false;  // the table of a COM host was patched (once per process)
    bool browsingPatched = false;
    host::Control* active = nullptr;  // borrowed: announced between focus gain and loss
    host::Form* activeForm = nullptr;
    HostOwnActiveObject hostOwn;
};
HookState& State() {
    static HookState state;
    return state;
}

bool FormIsLoaded(host::Form* form) {
    const auto& forms = host::App().Forms();
    return form && std::find(forms.begin(), forms.end(), form) != forms.end();
}

// The control a patched entry's object carries, or null (then the object's own entry answers).
host::Control* ControlSideOf(IUnknown* self, REFIID iid) {
    void* p = nullptr;
    if (!self || FAILED(self->QueryInterface(iid, &p)) || !p) return nullptr;
    return static_cast<host::Control*>(p);
}

// Calls the object's own entry: our replacement is taken off around the call so the table
// answers with the saved pointer, then put back.
template <class F>
HRESULT CallOwnEntry(VTableSubclass& table, int entry, F call) {
    table.SubclassEntry(entry, false);
    HRESULT hr = call();
    table.SubclassEntry(entry, true);
    return hr;
}

HRESULT STDMETHODCALLTYPE ControlInfoEntry(IOleControl* self, CONTROLINFO* pCI) {
    return AnswerGetControlInfo(ControlSideOf(self, IID_IOleControlVB), pCI, [&] {
        return CallOwnEntry(State().controlTable, 4, [&] { return self->GetControlInfo(pCI); });
    });
}

HRESULT STDMETHODCALLTYPE MnemonicEntry(IOleControl* self, MSG* pMsg) {
    return AnswerOnMnemonic(ControlSideOf(self, IID_IOleControlVB), pMsg, [&] {
        return CallOwnEntry(State().controlTable, 5, [&] { return self->OnMnemonic(pMsg); });
    });
}

HRESULT STDMETHODCALLTYPE DisplayStringEntry(IPerPropertyBrowsing* self, DISPID dispId, BSTR* pBstr) {
    return AnswerGetDisplayString(ControlSideOf(self, IID_IPerPropertyBrowsingVB), dispId, pBstr);
}

HRESULT STDMETHODCALLTYPE PredefinedStringsEntry(IPerPropertyBrowsing* self, DISPID dispId, CALPOLESTR* strings,
                                                 CADWORD* cookies) {
    return AnswerGetPredefinedStrings(ControlSideOf(self, IID_IPerPropertyBrowsingVB), dispId, strings, cookies);
}

HRESULT STDMETHODCALLTYPE PredefinedValueEntry(IPerPropertyBrowsing* self, DISPID dispId, DWORD cookie, VARIANT* value) {
    return AnswerGetPredefinedValue(ControlSideOf(self, IID_IPerPropertyBrowsingVB), dispId, cookie, value);
}

void PatchOnce(IUnknown* object, REFIID iid, VTableSubclass& table, bool& patched, int first, int last,
               void* const* entries) {
    // Patched once per process, by the first user that brings a table (users counted without one,
    // such as controls of our own host, need no patch).
    if (!patched && object) {
        void* itf = nullptr;
        if (SUCCEEDED(object->QueryInterface(iid, &itf)) && itf) {
            table.Subclass(itf, first, last, entries);
            patched = true;
            static_cast<IUnknown*>(itf)->Release();
        }
    }
    table.AddRef();
}

void Hook(IUnknown* object, int kind) {
    HookState& s = State();
    switch (kind) {
    case HookInPlace: ++s.inPlaceCount; break;
    case HookControlInfo: {
        void* entries[] = {reinterpret_cast<void*>(&ControlInfoEntry), reinterpret_cast<void*>(&MnemonicEntry)};
        PatchOnce(object, IID_IOleControl, s.controlTable, s.controlPatched, 4, 5, entries);
        break;
    }
    case HookPropertyBrowsing: {
        void* entries[] = {reinterpret_cast<void*>(&DisplayStringEntry), nullptr,
                           reinterpret_cast<void*>(&PredefinedStringsEntry), reinterpret_cast<void*>(&PredefinedValueEntry)};
        PatchOnce(object, IID_IPerPropertyBrowsing, s.browsingTable, s.browsingPatched, 4, 7, entries);
        break;
    }
    default: break;
    }
}

void ReleaseTable(VTableSubclass& table, bool& patched) {
    if (table.RefCount() == 0) return;  // unhooking more often than hooking changes nothing
    table.Release();
    if (table.RefCount() == 0) {
        patched = false;
        table.UnSubclass();
    }
}

void Unhook(int kind) {
    HookState& s = State();
    switch (kind) {
    case HookInPlace:
        if (s.inPlaceCount > 0) --s.inPlaceCount;
        break;
    case HookControlInfo: ReleaseTable(s.controlTable, s.controlPatched); break;
    case HookPropertyBrowsing: ReleaseTable(s.browsingTable, s.browsingPatched); break;
    default: break;
    }
}

}  // namespace

void HookControlInterfaces(host::Control&, int kind) { Hook(nullptr, kind); }
void HookControlInterfaces(IUnknown* object, int kind) { Hook(object, kind); }
void UnhookControlInterfaces(host::Control&, int kind) { Unhook(kind); }
void UnhookControlInterfaces(IUnknown*, int kind) { Unhook(kind); }
long InPlaceHookCount() { return State().inPlaceCount; }
long ControlInfoHookCount() { return State().controlTable.RefCount(); }
long PropertyBrowsingHookCount() { return State().browsingTable.RefCount(); }

void ActivateInPlaceHook(host::Control& control) {
    if (!control.HasSite()) return;
    HookState& s = State();
    DeactivateInPlaceHook();
    host::Form& form = control.Site().Parent();
    if (s.inPlaceCount < 1) form.SetActiveObject(&s.hostOwn);
    else form.SetActiveObject(&control);
    s.active = &control;
    s.activeForm = &form;
}

void DeactivateInPlaceHook() {
    HookState& s = State();
    if (FormIsLoaded(s.activeForm)) {
        host::IOleInPlaceActiveObjectVB* announced = s.active;
        // Only what we announced is taken off: another control may have announced itself since.
        if (s.activeForm->ActiveObject() == announced || s.activeForm->ActiveObject() == &s.hostOwn)
            s.activeForm->SetActiveObject(nullptr);
    }
    s.active = nullptr;
    s.activeForm = nullptr;
}

host::Control* InPlaceActiveControl() {
    HookState& s = State();
    if (!FormIsLoaded(s.activeForm)) return nullptr;
    host::IOleInPlaceActiveObjectVB* current = s.activeForm->ActiveObject();
    return current == static_cast<host::IOleInPlaceActiveObjectVB*>(s.active) ? s.active : nullptr;
}

void NotifyControlInfoChanged(host::Control& control, bool hasFocus) {
    // The host reads a control's keyboard answer at every key, so the change holds at once; with
    // the focus the control is announced again, as a focus notification would.
    if (hasFocus) ActivateInPlaceHook(control);
}

void ReapplySiteRects(host::Control& control) {
    if (!control.HasSite()) return;
    host::ControlSite& site = control.Site();
    try {
        site.Move(site.Left(), site.Top(), site.Width(), site.Height());
    } catch (...) {
    }
}

long DispIdOfName(const host::Control& control, std::wstring_view name) { return control.GetIDOfName(name); }

long DispIdOfName(IDispatch* object, std::wstring_view name) {
    if (!object) return DISPID_UNKNOWN;
    std::wstring copy(name);
    LPOLESTR names[] = {copy.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id))) return DISPID_UNKNOWN;
    return id;
}

// --- answers ---------------------------------------------------------------------------------

HRESULT AnswerGetControlInfo(host::IOleControlVB* control, CONTROLINFO* pCI, const std::function<HRESULT()>& hostOwn) {
    if (!pCI) return E_POINTER;
    pCI->cb = sizeof(CONTROLINFO);  // 16
    if (!control) return hostOwn();
    bool handled = false;
    long count = pCI->cAccel;
    HACCEL table = pCI->hAccel;
    long flags = static_cast<long>(pCI->dwFlags);
    try {
        control->IOleControlVB_GetControlInfo(handled, count, table, flags);
    } catch (...) {
        handled = false;
    }
    if (!handled) return hostOwn();
    pCI->cAccel = static_cast<USHORT>(count);
    pCI->hAccel = table;
    pCI->dwFlags = static_cast<DWORD>(flags);
    return count > 0 && !table ? E_OUTOFMEMORY : S_OK;
}

HRESULT AnswerOnMnemonic(host::IOleControlVB* control, MSG* pMsg, const std::function<HRESULT()>& hostOwn) {
    if (!pMsg) return E_INVALIDARG;
    if (!control) return hostOwn();
    bool handled = false;
    try {
        control->IOleControlVB_OnMnemonic(handled, pMsg->message, pMsg->wParam, pMsg->lParam, ShiftStateFromKeyboard());
    } catch (...) {
        handled = false;
    }
    return handled ? S_OK : hostOwn();
}

HRESULT AnswerTranslateAccelerator(host::IOleInPlaceActiveObjectVB* control, MSG* pMsg,
                                   const std::function<HRESULT()>& hostOwn) {
    if (!pMsg) return E_INVALIDARG;
    if (!control) return hostOwn();
    bool handled = false;
    long retVal = 0;
    try {
        control->IOleInPlaceActiveObjectVB_TranslateAccelerator(handled, retVal, pMsg->message, pMsg->wParam,
                                                                pMsg->lParam, ShiftStateFromKeyboard());
    } catch (...) {
        handled = false;
    }
    return handled ? static_cast<HRESULT>(retVal) : hostOwn();
}

HRESULT AnswerGetDisplayString(host::IPerPropertyBrowsingVB* control, DISPID dispId, BSTR* pBstr) {
    if (!pBstr) return E_POINTER;
    *pBstr = nullptr;
    if (!control) return E_NOTIMPL;
    bool handled = false;
    std::wstring text;
    try {
        control->IPerPropertyBrowsingVB_GetDisplayString(handled, dispId, text);
    } catch (...) {
        return E_NOTIMPL;
    }
    if (!handled) return E_NOTIMPL;
    *pBstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *pBstr ? S_OK : E_OUTOFMEMORY;
}

HRESULT AnswerGetPredefinedStrings(host::IPerPropertyBrowsingVB* control, DISPID dispId, CALPOLESTR* strings,
                                   CADWORD* cookies) {
    if (!strings || !cookies) return E_POINTER;
    *strings = {};
    *cookies = {};
    if (!control) return E_NOTIMPL;
    bool handled = false;
    std::vector<std::wstring> texts;
    std::vector<long> values;
    try {
        control->IPerPropertyBrowsingVB_GetPredefinedStrings(handled, dispId, texts, values);
    } catch (...) {
        return E_NOTIMPL;
    }
    // A control that lists more texts than values (or the reverse) gets the pairs it gave in full.
    size_t n = std::min(texts.size(), values.size());
    if (!handled || n == 0) return E_NOTIMPL;
    auto* elems = static_cast<LPOLESTR*>(CoTaskMemAlloc(n * sizeof(LPOLESTR)));
    auto* words = static_cast<DWORD*>(CoTaskMemAlloc(n * sizeof(DWORD)));
    bool ok = elems && words;
    for (size_t i = 0; ok && i < n; ++i) {
        size_t bytes = (texts[i].size() + 1) * sizeof(wchar_t);
        elems[i] = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
        if (!elems[i]) {
            for (size_t j = 0; j < i; ++j) CoTaskMemFree(elems[j]);
            ok = false;
            break;
        }
        std::copy_n(texts[i].c_str(), texts[i].size() + 1, elems[i]);
        words[i] = static_cast<DWORD>(values[i]);
    }
    if (!ok) {
        CoTaskMemFree(elems);
        CoTaskMemFree(words);
        return E_OUTOFMEMORY;
    }
    strings->cElems = static_cast<ULONG>(n);
    strings->pElems = elems;
    cookies->cElems = static_cast<ULONG>(n);
    cookies->pElems = words;
    return S_OK;
}

HRESULT AnswerGetPredefinedValue(host::IPerPropertyBrowsingVB* control, DISPID dispId, DWORD cookie, VARIANT* value) {
    if (!value) return E_POINTER;
    if (!control) return E_NOTIMPL;
    bool handled = false;
    long result = 0;
    try {
        control->IPerPropertyBrowsingVB_GetPredefinedValue(handled, dispId, static_cast<long>(cookie), result);
    } catch (...) {
        return E_NOTIMPL;
    }
    if (!handled) return E_NOTIMPL;
    VariantInit(value);
    value->vt = VT_I4;
    value->lVal = result;
    return S_OK;
}

}  // namespace foundation

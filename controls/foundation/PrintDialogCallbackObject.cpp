// A COM object by hand, three words in task memory (table, count, client), because the print
// property sheet wants nothing more and the table is shared by every such object.
#include "controls/foundation/PrintDialogCallbackObject.h"

#include "host/Error.h"

#include <objbase.h>

namespace foundation {

namespace {

struct CallbackObject;

struct CallbackTable {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(CallbackObject*, REFIID, void**);
    ULONG(STDMETHODCALLTYPE* AddRef)(CallbackObject*);
    ULONG(STDMETHODCALLTYPE* Release)(CallbackObject*);
    HRESULT(STDMETHODCALLTYPE* InitDone)(CallbackObject*);
    HRESULT(STDMETHODCALLTYPE* SelectionChange)(CallbackObject*);
    HRESULT(STDMETHODCALLTYPE* HandleMessage)(CallbackObject*, HWND, UINT, WPARAM, LPARAM, LRESULT*);
};

struct CallbackObject {
    const CallbackTable* table;
    LONG refs;
    ISubclass* client;  // borrowed
};

ULONG STDMETHODCALLTYPE AddRef(CallbackObject* self) { return static_cast<ULONG>(++self->refs); }

ULONG STDMETHODCALLTYPE Release(CallbackObject* self) {
    LONG refs = --self->refs;
    if (refs == 0) CoTaskMemFree(self);
    return static_cast<ULONG>(refs);
}

HRESULT STDMETHODCALLTYPE QueryInterface(CallbackObject* self, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    // IUnknown as well: COM identity requires it of every object.
    if (!IsEqualIID(iid, IID_PrintDialogCallback) && !IsEqualIID(iid, IID_IUnknown)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = self;
    AddRef(self);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InitDone(CallbackObject*) { return S_FALSE; }
HRESULT STDMETHODCALLTYPE SelectionChange(CallbackObject*) { return S_FALSE; }

HRESULT STDMETHODCALLTYPE HandleMessage(CallbackObject* self, HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam,
                                        LRESULT*) {
    if (msg == WM_INITDIALOG && ISubclass::IsLive(self->client)) {
        try {
            self->client->Message(dialog, msg, wParam, lParam, -5);
        } catch (...) {
            // The dialog goes on with its default processing either way.
        }
    }
    return S_FALSE;
}

const CallbackTable kTable = {&QueryInterface, &AddRef, &Release, &InitDone, &SelectionChange, &HandleMessage};

}  // namespace

host::ComPtr<IUnknown> CreatePrintDialogCallbackObject(ISubclass* client) {
    auto* object = static_cast<CallbackObject*>(CoTaskMemAlloc(sizeof(CallbackObject)));
    if (!object) host::Raise(host::err::OutOfMemory);
    object->table = &kTable;
    object->refs = 1;  // the returned pointer's
    object->client = client;
    return host::ComPtr<IUnknown>::Attach(reinterpret_cast<IUnknown*>(object));
}

}  // namespace foundation

#include "controls/foundation/DialogHookForwarder.h"

#include "host/Error.h"

#include <commdlg.h>

#include <cstddef>
#include <cstring>

namespace foundation::DialogHookForwarder {

namespace {

// The offsets the dialogs' structures have on this platform; the procedures read the custom
// data through the structures, these keep the layout honest.
static_assert(offsetof(OPENFILENAMEW, lCustData) == 64);
static_assert(offsetof(CHOOSECOLORW, lCustData) == 24);
static_assert(offsetof(CHOOSEFONTW, lCustData) == 28);
static_assert(offsetof(PAGESETUPDLGW, lCustData) == 64);
static_assert(offsetof(FINDREPLACEW, lCustData) == 28);
constexpr size_t PrintCustDataOffset = 38;  // PRINTDLGW is byte-packed

// The custom-data word at `offset` of the structure WM_INITDIALOG brought.
ISubclass* ClientAt(LPARAM structure, size_t offset) {
    if (!structure) return nullptr;
    LPARAM custData = 0;
    std::memcpy(&custData, reinterpret_cast<const char*>(structure) + offset, sizeof(custData));
    auto* client = reinterpret_cast<ISubclass*>(custData);
    return ISubclass::IsLive(client) ? client : nullptr;
}

// As the subclass dispatcher does: a failure inside the client stays here, the dialog gets the
// result the client stored.
LRESULT Deliver(ISubclass* client, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR ref) {
    try {
        return client->Message(hwnd, msg, wParam, lParam, ref);
    } catch (...) {
        return client->StoredMessageResult();
    }
}

// The procedures that see every message: the client comes with WM_INITDIALOG and is kept on the
// hook window for the messages after it.
UINT_PTR ForwardAll(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, size_t offset, const wchar_t* prop, LONG_PTR ref) {
    ISubclass* client;
    if (msg == WM_INITDIALOG) {
        client = ClientAt(lParam, offset);
        SetPropW(hwnd, prop, reinterpret_cast<HANDLE>(client));
    } else {
        client = reinterpret_cast<ISubclass*>(GetPropW(hwnd, prop));
        if (!ISubclass::IsLive(client)) client = nullptr;
    }
    if (msg == WM_NCDESTROY) RemovePropW(hwnd, prop);  // the window goes; its property with it
    return client ? static_cast<UINT_PTR>(Deliver(client, hwnd, msg, wParam, lParam, ref)) : 0;
}

UINT_PTR ForwardInit(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, size_t offset, LONG_PTR ref) {
    if (msg != WM_INITDIALOG) return 0;
    ISubclass* client = ClientAt(lParam, offset);
    return client ? static_cast<UINT_PTR>(Deliver(client, hwnd, msg, wParam, lParam, ref)) : 0;
}

// Find and replace: the dialog is told 1 at WM_INITDIALOG (show it) whatever the client said.
UINT_PTR ForwardInitShow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR ref) {
    if (msg != WM_INITDIALOG) return 0;
    if (ISubclass* client = ClientAt(lParam, offsetof(FINDREPLACEW, lCustData)))
        Deliver(client, hwnd, msg, wParam, lParam, ref);
    return 1;
}

}  // namespace

UINT_PTR CALLBACK OpenFileDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardAll(hwnd, msg, wParam, lParam, offsetof(OPENFILENAMEW, lCustData), OpenFileProp, OpenFileRef);
}
UINT_PTR CALLBACK OpenFileOldStyleDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardAll(hwnd, msg, wParam, lParam, offsetof(OPENFILENAMEW, lCustData), OpenFileOldStyleProp,
                      OpenFileOldStyleRef);
}
UINT_PTR CALLBACK SaveFileDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardAll(hwnd, msg, wParam, lParam, offsetof(OPENFILENAMEW, lCustData), SaveFileProp, SaveFileRef);
}
UINT_PTR CALLBACK SaveFileOldStyleDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardAll(hwnd, msg, wParam, lParam, offsetof(OPENFILENAMEW, lCustData), SaveFileOldStyleProp,
                      SaveFileOldStyleRef);
}
UINT_PTR CALLBACK ColorDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardAll(hwnd, msg, wParam, lParam, offsetof(CHOOSECOLORW, lCustData), ChooseColorProp, ChooseColorRef);
}
UINT_PTR CALLBACK FontDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardAll(hwnd, msg, wParam, lParam, offsetof(CHOOSEFONTW, lCustData), ChooseFontProp, ChooseFontRef);
}
UINT_PTR CALLBACK PrintDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardInit(hwnd, msg, wParam, lParam, PrintCustDataOffset, PrintRef);
}
UINT_PTR CALLBACK PageSetupDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardInit(hwnd, msg, wParam, lParam, offsetof(PAGESETUPDLGW, lCustData), PageSetupRef);
}
int CALLBACK BrowseCallbackProc(HWND hwnd, UINT msg, LPARAM lParam, LPARAM lpData) {
    auto* client = reinterpret_cast<ISubclass*>(lpData);
    if (!ISubclass::IsLive(client)) return 0;
    return static_cast<int>(Deliver(client, hwnd, msg, 0, lParam, BrowseRef));
}
UINT_PTR CALLBACK FindDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardInitShow(hwnd, msg, wParam, lParam, FindRef);
}
UINT_PTR CALLBACK ReplaceDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ForwardInitShow(hwnd, msg, wParam, lParam, ReplaceRef);
}

}  // namespace foundation::DialogHookForwarder

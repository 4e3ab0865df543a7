// CheckBoxW: the messages of its windows (1 = the button, 2 = the host window, 3 = the host
// window of a graphical check box on a design surface) and the answers it gives the host's key
// routing and property browsing.
#include "controls/checkbox/CheckBoxW.h"
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/KeyInput.h"
#include "controls/foundation/MouseActivation.h"
#include "controls/foundation/MouseServices.h"
#include "controls/foundation/Subclass.h"
#include "controls/foundation/VisualStyles.h"
#include "host/ControlSite.h"
#include "host/Form.h"
#include "host/HostWindow.h"

#include <commctrl.h>

#include <cwctype>

namespace controls {

namespace {

// Keys a PreviewKeyDown handler may keep in the button (IsInputKey).
bool MayBeInputKey(int keyCode) {
    switch (keyCode) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_NEXT: case VK_PRIOR: case VK_HOME: case VK_END:
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: return true;
    default: return false;
    }
}

}  // namespace

LRESULT CheckBoxW::ISubclass_Message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR ref) {
    switch (ref) {
    case ButtonWindowRef: return ButtonWindowProc(hwnd, msg, wParam, lParam);
    case HostWindowRef: return HostWindowProc(hwnd, msg, wParam, lParam);
    case DesignHostWindowRef: return DesignHostWindowProc(hwnd, msg, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

LRESULT CheckBoxW::ButtonWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFOCUS: return foundation::ChildSetFocus(*this, HostWindow(), hwnd, wParam, lParam);
    case WM_KILLFOCUS: return foundation::ChildKillFocus(hwnd, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: return OnButtonKey(hwnd, msg, wParam, lParam);
    case WM_CHAR: return OnButtonChar(hwnd, wParam, lParam);
    case WM_UNICHAR: return foundation::AnswerUniChar(hwnd, wParam, lParam);
    case WM_IME_CHAR: return foundation::AnswerImeChar(hwnd, wParam, lParam);
    case WM_LBUTTONDBLCLK: return OnButtonDoubleClick(hwnd, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSELEAVE: return OnButtonMouse(hwnd, msg, wParam, lParam);
    case WM_SETCURSOR: return OnButtonSetCursor(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE: return OnButtonMouseActivate(hwnd, wParam, lParam);
    case WM_THEMECHANGED: return OnButtonThemeChanged(hwnd, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

LRESULT CheckBoxW::HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: return OnHostCommand(hwnd, wParam, lParam);
    case WM_NOTIFY: return OnHostNotify(hwnd, wParam, lParam);
    case WM_DRAWITEM: return OnDrawItem(hwnd, wParam, lParam);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: return OnControlColor(hwnd, msg, wParam, lParam);
    case WM_SETFOCUS: return foundation::HostSetFocus(hwnd, button_.Get(), wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

// On a design surface a graphical check box only draws itself.
LRESULT CheckBoxW::DesignHostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DRAWITEM: return OnDrawItem(hwnd, wParam, lParam);
    case WM_CTLCOLORBTN: return OnControlColor(hwnd, msg, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

// --- keyboard -------------------------------------------------------------------------------

LRESULT CheckBoxW::OnButtonKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    int keyCode = static_cast<int>(wParam & 0xFF);
    int shift = foundation::ShiftStateFromKeyboard();
    bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    if (down)
        Site().RaiseEvent(host::dispid::KeyDown, KeyDown, keyCode, shift);
    else
        Site().RaiseEvent(host::dispid::KeyUp, KeyUp, keyCode, shift);
    if (msg == WM_KEYDOWN || msg == WM_KEYUP) pendingChar_ = foundation::PeekPendingChar(hwnd);
    return foundation::CallDefaultProc(hwnd, msg, static_cast<WPARAM>(keyCode), lParam);
}

LRESULT CheckBoxW::OnButtonChar(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    int keyChar = static_cast<short>(pendingChar_ ? pendingChar_ : LOWORD(wParam));
    pendingChar_ = 0;
    Site().RaiseEvent(host::dispid::KeyPress, KeyPress, keyChar);
    return foundation::CallDefaultProc(hwnd, WM_CHAR, static_cast<WPARAM>(keyChar & 0xFFFF), lParam);
}



// --- mouse ----------------------------------------------------------------------------------

LRESULT CheckBoxW::OnButtonMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    RaiseMouseEvent(msg, wParam, lParam);
    return r;
}

// An owner-drawn button takes the second press of a double click as a press, so a double click
// toggles twice, as on every other button.
LRESULT CheckBoxW::OnButtonDoubleClick(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (IsOwnerDrawn()) return foundation::CallDefaultProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
    return foundation::CallDefaultProc(hwnd, WM_LBUTTONDBLCLK, wParam, lParam);
}

void CheckBoxW::RaiseMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam) {
    int shift = foundation::ShiftStateFromParam(wParam);
    foundation::MousePoint pt = foundation::MousePointInTwips(Site(), lParam);
    switch (msg) {
    case WM_MOUSEMOVE:
        MouseMoved();
        Site().RaiseEvent(host::dispid::MouseMove, MouseMove, foundation::ButtonFromParam(wParam), shift, pt.x, pt.y);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Site().RaiseEvent(host::dispid::MouseDown, MouseDown, foundation::ButtonOfMessage(msg), shift, pt.x, pt.y);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        Site().RaiseEvent(host::dispid::MouseUp, MouseUp, foundation::ButtonOfMessage(msg), shift, pt.x, pt.y);
        break;
    case WM_MOUSELEAVE: MouseLeftButton(); break;
    default: break;
    }
}

// The graphical button draws itself hot while the mouse is over it; MouseEnter once per visit.
void CheckBoxW::MouseMoved() {
    bool track = false;
    if (IsGraphical() && !hot_ && themesActive_ && visualStyles_) {
        hot_ = true;
        InvalidateRect(button_.Get(), nullptr, FALSE);
        track = true;
    }
    if (foundation::ComCtlVersionLevel() >= 1 && !ownHot_ &&
        !(SendMessageW(button_.Get(), BM_GETSTATE, 0, 0) & BST_HOT)) {
        // a button that keeps no hot state of its own (Wine's): the control keeps it and tells
        ownHot_ = true;
        Site().RaiseEvent(DispId::HotChanged, HotChanged);
        track = true;
    }
    if (mouseTrack_ && !mouseOver_) {
        mouseOver_ = true;
        Site().RaiseEvent(DispId::MouseEnter, MouseEnter);
        track = true;
    }
    if (track && button_) foundation::StartMouseTrack(button_.Get());
}

void CheckBoxW::MouseLeftButton() {
    if (ownHot_) {
        ownHot_ = false;
        Site().RaiseEvent(DispId::HotChanged, HotChanged);
    }
    if (hot_) {
        hot_ = false;
        if (button_) InvalidateRect(button_.Get(), nullptr, FALSE);
    }
    if (foundation::MouseLeft(mouseOver_)) Site().RaiseEvent(DispId::MouseLeave, MouseLeave);
}

LRESULT CheckBoxW::OnButtonSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (ShowMousePointer(lParam)) return TRUE;
    return foundation::CallDefaultProc(hwnd, WM_SETCURSOR, wParam, lParam);
}

LRESULT CheckBoxW::OnButtonMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (auto r = foundation::FocusOnMouseActivate(Site(), hwnd, HostWindow(), lParam, designMode_, validating_)) return *r;
    return foundation::CallDefaultProc(hwnd, WM_MOUSEACTIVATE, wParam, lParam);
}

LRESULT CheckBoxW::OnButtonThemeChanged(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    themesActive_ = foundation::VisualStylesActive();
    return foundation::CallDefaultProc(hwnd, WM_THEMECHANGED, wParam, lParam);
}

// --- the host window ------------------------------------------------------------------------

// The button is never automatic: a click (or a double click, which is two) toggles here, and
// grayed goes to unchecked like checked.
LRESULT CheckBoxW::OnHostCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (button_ && reinterpret_cast<HWND>(lParam) == button_.Get()) {
        WORD code = HIWORD(wParam);
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED) Toggle();
    }
    return foundation::CallDefaultProc(hwnd, WM_COMMAND, wParam, lParam);
}

void CheckBoxW::Toggle() { Value(Value() == 0 ? 1 : 0); }

LRESULT CheckBoxW::OnHostNotify(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (button_ && header && header->hwndFrom == button_.Get() && header->code == BCN_HOTITEMCHANGE &&
        foundation::ComCtlVersionLevel() >= 1)
        Site().RaiseEvent(DispId::HotChanged, HotChanged);
    return foundation::CallDefaultProc(hwnd, WM_NOTIFY, wParam, lParam);
}


// --- key routing answers --------------------------------------------------------------------

void CheckBoxW::IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                               LPARAM lParam, int shift) {
    std::optional<foundation::PreviewedKey> key =
        foundation::RaisePreviewKey(Site(), wMsg, wParam, {DispId::PreviewKeyDown, PreviewKeyDown, DispId::PreviewKeyUp, PreviewKeyUp});
    if (!key || !key->isInputKey || !MayBeInputKey(key->keyCode) || !button_) return;
    SendMessageW(button_.Get(), wMsg, wParam, lParam);
    handled = true;
    retVal = S_OK;
}

// The accelerator table of the caption's mnemonic (Alt and the key). The command ids run from
// 1000 in steps of 100; they start over before they would pass the 16-bit range, as the host
// asks for the table at every Return and Escape.
void CheckBoxW::IOleControlVB_GetControlInfo(bool& handled, long& accelCount, HACCEL& accelTable, long& flags) {
    accelerators_.Reset();
    mnemonicKey_ = 0;
    UINT key = foundation::MnemonicKeyOf(Caption());
    if (key) {
        ACCEL entry{};
        entry.fVirt = FVIRTKEY | FALT;
        entry.key = static_cast<WORD>(LOBYTE(VkKeyScanW(static_cast<wchar_t>(key))));
        entry.cmd = static_cast<WORD>(nextCommandId_);
        nextCommandId_ = nextCommandId_ > 32767 - 100 ? 1000 : static_cast<short>(nextCommandId_ + 100);
        accelerators_.Reset(CreateAcceleratorTable(&entry, 1));
        mnemonicKey_ = entry.key;
    }
    accelCount = accelerators_ ? 1 : 0;
    accelTable = accelerators_.Get();
    flags = 0;
    handled = true;
}

// Alt and the mnemonic toggle the value as a click does. The host reports the key as the
// WM_SYSCHAR of the character; a WM_SYSKEYDOWN of the accelerator's key is taken as well.
void CheckBoxW::IOleControlVB_OnMnemonic(bool& handled, UINT wMsg, WPARAM wParam, LPARAM lParam, int shift) {
    UINT key = foundation::MnemonicKeyOf(Caption());
    if (!key || !button_ || !IsWindowEnabled(button_.Get())) return;
    WORD vk = LOBYTE(VkKeyScanW(static_cast<wchar_t>(key)));
    bool matches = false;
    if (wMsg == WM_SYSKEYDOWN) matches = (wParam & 0xFF) == vk;
    if (wMsg == WM_SYSCHAR || wMsg == WM_CHAR)
        matches = std::towupper(static_cast<wint_t>(wParam)) == static_cast<wint_t>(key);
    if (!matches) return;
    if (GetFocus() != button_.Get()) ::SetFocus(button_.Get());
    Toggle();
    handled = true;
}

// --- property browsing ----------------------------------------------------------------------

void CheckBoxW::IPerPropertyBrowsingVB_GetDisplayString(bool& handled, long dispId, std::wstring& displayName) {
    if (dispId != GetIDOfName(L"ImageList"))
        return LibraryControlBase::IPerPropertyBrowsingVB_GetDisplayString(handled, dispId, displayName);
    displayName = imageListName_;
    handled = true;
}

void CheckBoxW::IPerPropertyBrowsingVB_GetPredefinedStrings(bool& handled, long dispId,
                                                            std::vector<std::wstring>& strings,
                                                            std::vector<long>& cookies) {
    if (dispId != GetIDOfName(L"ImageList"))
        return LibraryControlBase::IPerPropertyBrowsingVB_GetPredefinedStrings(handled, dispId, strings, cookies);
    std::vector<host::ControlSite*> objects;
    foundation::ImageListPredefinedStrings(Site().Parent(), strings, cookies, objects);
    handled = true;
}

// For ImageList the value of a predefined string is its place in the list of names, which
// GetPredefinedStrings gave in the same order (the answer carries no text).
void CheckBoxW::IPerPropertyBrowsingVB_GetPredefinedValue(bool& handled, long dispId, long cookie, long& value) {
    if (dispId != GetIDOfName(L"ImageList"))
        return LibraryControlBase::IPerPropertyBrowsingVB_GetPredefinedValue(handled, dispId, cookie, value);
    value = cookie;
    handled = true;
}

}  // namespace controls

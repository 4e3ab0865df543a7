#include "ProbeControl.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/KeyInput.h"
#include "controls/foundation/MouseActivation.h"
#include "controls/foundation/MouseServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/Subclass.h"
#include "controls/foundation/VTableHandle.h"
#include "host/ControlRegistry.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <commctrl.h>

#include <cwctype>

namespace foundationtest {

void RegisterProbeControl() {
    host::RegisterControlKind(L"ProbeControl", [] { return std::make_unique<ProbeControl>(); });
}

void ProbeControl::Initialize(host::ControlSite& site) {
    Control::Initialize(site);
    designMode_ = !site.AmbientUserMode();
    foundation::ShellLibraryAddRef();
    foundation::InitControlClasses(ICC_STANDARD_CLASSES);
    foundation::HookControlInterfaces(*this, foundation::HookControlInfo);
    if (hookInPlace) foundation::HookControlInterfaces(*this, foundation::HookInPlace);
    foundation::HookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    mousePointerDispId_ = foundation::DispIdOfName(*this, L"MousePointer");
}

void ProbeControl::InitProperties() { CreateEdit(); }

void ProbeControl::ReadProperties(const host::PropertyBag& bag) {
    mousePointer_ = bag.Read(L"MousePointer", 0L).AsLong();
    mouseTrack_ = bag.Read(L"MouseTrack", false).AsBool();
    CreateEdit();
}

HWND ProbeControl::HostWindow() const { return Site().HostWin()->hWnd(); }

void ProbeControl::CreateEdit() {
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, exStyle = 0;
    foundation::ApplyBorderStyle(style, exStyle, 3);
    RECT r;
    GetClientRect(HostWindow(), &r);
    edit_ = CreateWindowExW(exStyle, L"Edit", L"", style, 0, 0, r.right, r.bottom, HostWindow(), nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    foundation::AttachIMEContext(edit_, ime_);
    if (designMode_) return;  // on a design surface nothing is subclassed
    foundation::InstallSubclass(edit_, this, 1);
    foundation::InstallSubclass(HostWindow(), this, 2);
}

void ProbeControl::Resize() {
    RECT r;
    GetClientRect(HostWindow(), &r);
    if (edit_) MoveWindow(edit_, 0, 0, r.right, r.bottom, TRUE);
}

void ProbeControl::Terminate() {
    foundation::RemoveSubclass(edit_);
    foundation::RemoveSubclass(HostWindow());
    foundation::DetachIMEContext(edit_, ime_);
    if (edit_) DestroyWindow(edit_);
    edit_ = nullptr;
    if (foundation::InPlaceActiveControl() == this) foundation::DeactivateInPlaceHook();
    foundation::UnhookControlInterfaces(*this, foundation::HookControlInfo);
    if (hookInPlace) foundation::UnhookControlInterfaces(*this, foundation::HookInPlace);
    foundation::UnhookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    foundation::ShellLibraryRelease();
}

long ProbeControl::GetIDOfName(std::wstring_view name) const {
    std::wstring lower(name);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower == L"mousepointer" ? DispIdMousePointer : -1;
}

void ProbeControl::MousePointer(long value) {
    if (foundation::RejectMousePointer(value, designMode_)) return;
    mousePointer_ = value;
    Site().PropertyChanged(L"MousePointer");
}

std::wstring ProbeControl::CueBanner() const {
    wchar_t buf[128] = {};
    SendMessageW(edit_, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(buf), 128);
    return buf;
}

void ProbeControl::CueBanner(const std::wstring& text) {
    if (foundation::ComCtlVersionLevel() >= 1) SendMessageW(edit_, EM_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// --- messages ---------------------------------------------------------------------------------

LRESULT ProbeControl::ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) {
    switch (dwRefData) {
    case 1: return EditProc(hwnd, wMsg, wParam, lParam);
    case 2: return HostProc(hwnd, wMsg, wParam, lParam);
    default: return 0;
    }
}

LRESULT ProbeControl::EditProc(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam) {
    switch (wMsg) {
    case WM_SETCURSOR: return OnSetCursor(hwnd, wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(hwnd, wParam, lParam);
    case WM_MOUSELEAVE: return OnMouseLeave(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE: return OnMouseActivate(hwnd, wParam, lParam);
    case WM_SETFOCUS: return OnSetFocus(hwnd, wParam, lParam);
    case WM_KILLFOCUS: return OnKillFocus(hwnd, wParam, lParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
    }
}

LRESULT ProbeControl::HostProc(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam) {
    return foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
}

LRESULT ProbeControl::OnSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (foundation::SetCursorForMousePointer(mousePointer_, mouseIcon_, lParam)) return 1;
    return foundation::CallDefaultProc(hwnd, WM_SETCURSOR, wParam, lParam);
}

LRESULT ProbeControl::OnMouseMove(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (foundation::MouseEntered(hwnd, mouseTrack_, mouseOver_)) Site().RaiseEvent(1, MouseEnter);
    return foundation::CallDefaultProc(hwnd, WM_MOUSEMOVE, wParam, lParam);
}

LRESULT ProbeControl::OnMouseLeave(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (foundation::MouseLeft(mouseOver_)) Site().RaiseEvent(2, MouseLeave);
    return foundation::CallDefaultProc(hwnd, WM_MOUSELEAVE, wParam, lParam);
}

LRESULT ProbeControl::OnMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (auto r = foundation::FocusOnMouseActivate(Site(), hwnd, HostWindow(), lParam, designMode_, validating_)) return *r;
    return foundation::CallDefaultProc(hwnd, WM_MOUSEACTIVATE, wParam, lParam);
}

LRESULT ProbeControl::OnSetFocus(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (foundation::RedirectChildFocus(HostWindow(), wParam)) return 0;
    foundation::ActivateInPlaceHook(*this);
    return foundation::CallDefaultProc(hwnd, WM_SETFOCUS, wParam, lParam);
}

LRESULT ProbeControl::OnKillFocus(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    foundation::DeactivateInPlaceHook();
    return foundation::CallDefaultProc(hwnd, WM_KILLFOCUS, wParam, lParam);
}

LRESULT ProbeControl::OnKeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    pendingAtKeyDown = foundation::PeekPendingChar(hwnd);
    Site().RaiseEvent(3, KeyDown, static_cast<int>(wParam), foundation::ShiftStateFromKeyboard());
    return foundation::CallDefaultProc(hwnd, WM_KEYDOWN, wParam, lParam);
}

// --- control-side answers ---------------------------------------------------------------------

void ProbeControl::IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                                  LPARAM, int) {
    ++acceleratorCalls;
    if (wMsg == WM_KEYDOWN) foundation::AnswerPreviewKey(handled, retVal, static_cast<int>(wParam), false);
}

void ProbeControl::IOleControlVB_GetControlInfo(bool& handled, long& accelCount, HACCEL& accelTable, long& flags) {
    handled = true;
    accelCount = claimsAcceleratorsWithoutTable ? 2 : 0;
    accelTable = nullptr;
    flags = 1;  // eats Return
}

void ProbeControl::IPerPropertyBrowsingVB_GetDisplayString(bool& handled, long dispId, std::wstring& displayName) {
    if (dispId == mousePointerDispId_) handled = foundation::MousePointerDisplayString(mousePointer_, displayName);
}

void ProbeControl::IPerPropertyBrowsingVB_GetPredefinedStrings(bool& handled, long dispId,
                                                               std::vector<std::wstring>& stringsOut,
                                                               std::vector<long>& cookiesOut) {
    if (dispId != mousePointerDispId_) return;
    foundation::MousePointerPredefinedStrings(stringsOut, cookiesOut);
    handled = true;
}

void ProbeControl::IPerPropertyBrowsingVB_GetPredefinedValue(bool& handled, long dispId, long cookie, long& value) {
    if (dispId != mousePointerDispId_) return;
    value = cookie;
    handled = true;
}

}  // namespace foundationtest

// The routing layer between a control's own answers (IOleInPlaceActiveObjectVB, IOleControlVB,
// IPerPropertyBrowsingVB) and its host. Our host asks the controls directly; these routines keep
// the counts, announce the focused control to its form as the in-place active object, and give
// the answers with the HRESULTs a COM caller expects. For a host reachable only through COM, the
// same answers are patched into the tables of its IOleControl and IPerPropertyBrowsing.
//
//   Initialize:  foundation::HookControlInterfaces(*this, foundation::HookInPlace);  (and 1, 3)
//   Terminate:   foundation::UnhookControlInterfaces(*this, foundation::HookInPlace);
//   WM_SETFOCUS of the child from the host window:  foundation::ActivateInPlaceHook(*this);
//   WM_KILLFOCUS of the child:                      foundation::DeactivateInPlaceHook();
#pragma once

#include "host/Control.h"

#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <functional>
#include <string_view>

namespace foundation {

enum HookKind : int {
    HookControlInfo = 1,       // IOleControl: GetControlInfo, OnMnemonic
    HookInPlace = 2,           // IOleInPlaceActiveObject: TranslateAccelerator while focused
    HookPropertyBrowsing = 3,  // IPerPropertyBrowsing: display strings, predefined lists
};

// {C895C8F9-6564-4123-8760-529F72AB9322}, {38584260-0CFB-45E7-8FBB-5D20B311F5B8},
// {D5D3BBE3-DB60-4522-AF5B-D767FE736DDB}. A COM object that carries one of our controls answers
// these identifiers with its host::Control pointer, borrowed (no reference is added).
inline constexpr GUID IID_IOleControlVB = {0xC895C8F9, 0x6564, 0x4123, {0x87, 0x60, 0x52, 0x9F, 0x72, 0xAB, 0x93, 0x22}};
inline constexpr GUID IID_IOleInPlaceActiveObjectVB = {0x38584260, 0x0CFB, 0x45E7, {0x8F, 0xBB, 0x5D, 0x20, 0xB3, 0x11, 0xF5, 0xB8}};
inline constexpr GUID IID_IPerPropertyBrowsingVB = {0xD5D3BBE3, 0xDB60, 0x4522, {0xAF, 0x5B, 0xD7, 0x67, 0xFE, 0x73, 0x6D, 0xDB}};

// --- registration ----------------------------------------------------------------------------
// Kind 2 counts the controls routed in place; kinds 1 and 3 count the users of that interface's
// answers. The COM overload also patches the object's table the first time (entries 4..5 of
// IOleControl, 4, 6, 7 of IPerPropertyBrowsing); it is restored when the last user unhooks.
void HookControlInterfaces(host::Control& control, int kind);
void HookControlInterfaces(IUnknown* object, int kind);
void UnhookControlInterfaces(host::Control& control, int kind);
void UnhookControlInterfaces(IUnknown* object, int kind);
long InPlaceHookCount();
long ControlInfoHookCount();
long PropertyBrowsingHookCount();

// --- focus ------------------------------------------------------------------------------------
// Makes the control's form ask this control first for key messages while it has the focus (with
// no in-place user counted, the host's own answer, which keeps nothing). Failures are ignored.
void ActivateInPlaceHook(host::Control& control);
// Takes the announced control off its form: the form has no active object afterwards.
void DeactivateInPlaceHook();
// The control whose answers the forms currently ask first, or null.
host::Control* InPlaceActiveControl();
// A property that changes the keyboard answer changed (TextBoxW WantReturn); with the focus the
// control is announced again.
void NotifyControlInfoChanged(host::Control& control, bool hasFocus);
// Puts the control's window at its site's rectangle again (after the twips-per-pixel correction).
void ReapplySiteRects(host::Control& control);
// The dispatch id of a member by name, DISPID_UNKNOWN (-1) when there is none.
long DispIdOfName(const host::Control& control, std::wstring_view name);
long DispIdOfName(IDispatch* object, std::wstring_view name);

// --- the answers, with their HRESULTs ---------------------------------------------------------
// `hostOwn` is the host's own behaviour, used when the control leaves Handled false or fails.
// A null control means the called object has no control-side interface: the host's own answer.
HRESULT AnswerGetControlInfo(host::IOleControlVB* control, CONTROLINFO* pCI, const std::function<HRESULT()>& hostOwn);
HRESULT AnswerOnMnemonic(host::IOleControlVB* control, MSG* pMsg, const std::function<HRESULT()>& hostOwn);
HRESULT AnswerTranslateAccelerator(host::IOleInPlaceActiveObjectVB* control, MSG* pMsg,
                                   const std::function<HRESULT()>& hostOwn);
// These have no host behaviour to fall back on: E_NOTIMPL when the control does not answer.
HRESULT AnswerGetDisplayString(host::IPerPropertyBrowsingVB* control, DISPID dispId, BSTR* pBstr);
HRESULT AnswerGetPredefinedStrings(host::IPerPropertyBrowsingVB* control, DISPID dispId, CALPOLESTR* strings,
                                   CADWORD* cookies);
HRESULT AnswerGetPredefinedValue(host::IPerPropertyBrowsingVB* control, DISPID dispId, DWORD cookie, VARIANT* value);

}  // namespace foundation

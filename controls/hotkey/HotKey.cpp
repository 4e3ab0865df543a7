// HotKey: life cycle, the table of its stored properties (all of them shared ones) and what a
// change of those does to the hot key window.
#include "controls/hotkey/HotKey.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/VTableHandle.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <commctrl.h>

namespace controls {

HotKey::~HotKey() = default;

// --- life cycle ---------------------------------------------------------------------------

void HotKey::Initialize(host::ControlSite& site) {
    Control::Initialize(site);
    foundation::ShellLibraryAddRef();
    foundation::InitControlClasses(ICC_HOTKEY_CLASS);
    foundation::HookControlInterfaces(*this, foundation::HookInPlace);
    foundation::HookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    doubleClicks_.ReadSystemSettings();
}

const foundation::PropertyTable& HotKey::Properties() const {
    static const foundation::PropertyTable table{
        FontProperty(),
        VisualStylesProperty(),
        EnabledProperty(),
        OLEDropModeProperty(),
        MousePointerProperty(),
        MouseIconProperty(),
        MouseTrackProperty(),
        BackColorProperty(foundation::SystemColorWindow).New(host::Value(foundation::SystemColorWindow)),
        BorderStyleProperty(3, 4),
    };
    return table;
}

void HotKey::InitProperties() {
    LibraryControlBase::InitProperties();
    BuildHotKeyWindow();
}

void HotKey::ReadProperties(const host::PropertyBag& bag) {
    LibraryControlBase::ReadProperties(bag);
    BuildHotKeyWindow();
}

void HotKey::Terminate() {
    if (foundation::InPlaceActiveControl() == this) foundation::DeactivateInPlaceHook();
    foundation::UnhookControlInterfaces(*this, foundation::HookInPlace);
    foundation::UnhookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    DestroyHotKeyWindow();
    foundation::ShellLibraryRelease();
}

HWND HotKey::hWndUserControl() const { return HostWindow(); }

HWND HotKey::HostWindow() const { return HasSite() && Site().HostWin() ? Site().HostWin()->hWnd() : nullptr; }

void HotKey::Refresh() {
    Site().HostWin()->Refresh();
    RedrawWindow(HostWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// --- what the common properties do to the hot key window ---------------------------------------

void HotKey::OnEnabledChanged() {
    if (hotKey_) EnableWindow(hotKey_.Get(), Enabled());
}

// The host window keeps the same colour, so that the hot key window's own background (asked
// of its parent with WM_CTLCOLOREDIT) agrees with ours where we leave the erasing to it.
void HotKey::OnColorsChanged() {
    if (hotKey_ && !designMode_) {
        backBrush_.Reset();
        EnsureBackBrush();
    }
    Refresh();
}

void HotKey::OnBorderStyleChanged() {
    if (hotKey_) foundation::ReapplyBorderStyle(hotKey_.Get(), borderStyle_);
}

}  // namespace controls

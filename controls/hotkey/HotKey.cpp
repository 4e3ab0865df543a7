// HotKey: life cycle, persistence and the property setters (validate, store, apply to the live
// window, tell the host).
#include "controls/hotkey/HotKey.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/VTableHandle.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <commctrl.h>

#include <cwctype>

namespace controls {

namespace {

// MouseIcon takes an icon (or cursor) picture, or none.
bool IsIconOrNone(const host::Picture& picture) {
    if (!picture) return true;
    SHORT type = PICTYPE_NONE;
    return SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_ICON;
}

}  // namespace

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

void HotKey::InitProperties() {
    designMode_ = !Site().AmbientUserMode();
    font_ = Site().AmbientFont();
    Site().HostWin()->BackColor(backColor_);
    BuildHotKeyWindow();
}

void HotKey::ReadProperties(const host::PropertyBag& bag) {
    designMode_ = !Site().AmbientUserMode();
    host::Value font = bag.Read(L"Font");
    font_ = font.GetKind() == host::Value::Kind::Font ? font.AsFont() : Site().AmbientFont();
    visualStyles_ = bag.Read(L"VisualStyles", true).AsBool();
    Site().HostWin()->Enabled(bag.Read(L"Enabled", true).AsBool());
    ReadOLEDropMode(bag);
    mousePointer_ = static_cast<int>(bag.Read(L"MousePointer", 0L).AsLong());
    mouseIcon_ = bag.Read(L"MouseIcon").AsPicture();
    mouseTrack_ = bag.Read(L"MouseTrack", false).AsBool();
    backColor_ = static_cast<unsigned long>(bag.Read(L"BackColor", foundation::SystemColorWindow).AsLong());
    Site().HostWin()->BackColor(backColor_);
    borderStyle_ = bag.Read(L"BorderStyle", 3L).AsLong();
    BuildHotKeyWindow();
}

void HotKey::WriteProperties(host::PropertyBag& bag) {
    bag.Write(L"Font", font_);
    bag.Write(L"VisualStyles", visualStyles_, true);
    bag.Write(L"Enabled", Enabled(), true);
    bag.Write(L"OLEDropMode", oleDropMode_, 0L);
    bag.Write(L"MousePointer", static_cast<long>(mousePointer_), 0L);
    bag.Write(L"MouseIcon", mouseIcon_);
    bag.Write(L"MouseTrack", mouseTrack_, false);
    bag.Write(L"BackColor", backColor_, foundation::SystemColorWindow);
    bag.Write(L"BorderStyle", borderStyle_, 3L);
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

// --- properties -----------------------------------------------------------------------------

void HotKey::Font(const host::FontDesc& font) {
    font_ = font;
    ApplyFont();
    Changed(L"Font");
}

void HotKey::VisualStyles(bool on) {
    visualStyles_ = on;
    ApplyVisualStyles();
    Changed(L"VisualStyles");
}

bool HotKey::Enabled() const { return Site().HostWin()->Enabled(); }

void HotKey::Enabled(bool on) {
    Site().HostWin()->Enabled(on);
    if (hotKey_) EnableWindow(hotKey_.Get(), on);
    Changed(L"Enabled");
}

void HotKey::MousePointer(int value) {
    if (foundation::RejectMousePointer(value, designMode_)) return;
    mousePointer_ = value;
    Changed(L"MousePointer");
}

void HotKey::MouseIcon(host::Picture icon) {
    if (!IsIconOrNone(icon)) return foundation::InvalidPropertyValue(designMode_);
    mouseIcon_ = std::move(icon);
    Changed(L"MouseIcon");
}

// The host window keeps the same colour, so that the hot key window's own background (asked
// of its parent with WM_CTLCOLOREDIT) agrees with ours where we leave the erasing to it.
void HotKey::BackColor(unsigned long oleColor) {
    backColor_ = oleColor;
    Site().HostWin()->BackColor(oleColor);
    if (hotKey_ && !designMode_) {
        backBrush_.Reset();
        EnsureBackBrush();
    }
    Refresh();
    Changed(L"BackColor");
}

void HotKey::BorderStyle(long style) {
    if (foundation::RejectOutOfRange(style, 0, 4, designMode_)) return;
    borderStyle_ = style;
    if (hotKey_) foundation::ReapplyBorderStyle(hotKey_.Get(), style);
    Changed(L"BorderStyle");
}

// --- property browsing: only MousePointer has texts ------------------------------------------

long HotKey::GetIDOfName(std::wstring_view name) const {
    std::wstring lower(name);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower == L"mousepointer" ? MousePointerDispId : -1;
}

void HotKey::IPerPropertyBrowsingVB_GetDisplayString(bool& handled, long dispId, std::wstring& displayName) {
    if (dispId == MousePointerDispId) handled = foundation::MousePointerDisplayString(mousePointer_, displayName);
}

void HotKey::IPerPropertyBrowsingVB_GetPredefinedStrings(bool& handled, long dispId,
                                                         std::vector<std::wstring>& stringsOut,
                                                         std::vector<long>& cookiesOut) {
    if (dispId != MousePointerDispId) return;
    foundation::MousePointerPredefinedStrings(stringsOut, cookiesOut);
    handled = true;
}

void HotKey::IPerPropertyBrowsingVB_GetPredefinedValue(bool& handled, long dispId, long cookie, long& value) {
    if (dispId != MousePointerDispId) return;
    value = cookie;
    handled = true;
}

}  // namespace controls

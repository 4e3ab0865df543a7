#include "controls/foundation/LibraryControl.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/MouseServices.h"
#include "host/HostWindow.h"
#include "host/WindowlessSurface.h"

#include <olectl.h>

namespace foundation {

float OLEContainerX(const host::ControlSite& site, float x) {
    return static_cast<float>(site.ScaleX(x, host::ScaleUnit::Pixels, host::ScaleUnit::Container));
}

float OLEContainerY(const host::ControlSite& site, float y) {
    return static_cast<float>(site.ScaleY(y, host::ScaleUnit::Pixels, host::ScaleUnit::Container));
}

void ApplyOLEDropMode(host::ControlSite& site, long mode) {
    if (host::HostWindow* w = site.HostWin()) w->OLEDropMode(static_cast<int>(mode));
    else if (host::WindowlessSurface* s = site.Windowless()) s->OLEDropMode(static_cast<int>(mode));
}

namespace {

// MouseIcon takes an icon (or cursor) picture, or none.
bool IsIconOrNone(const host::Picture& picture) {
    if (!picture) return true;
    SHORT type = PICTYPE_NONE;
    return SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_ICON;
}

std::vector<EnumText> MousePointerTexts() {
    std::vector<std::wstring> texts;
    std::vector<long> values;
    MousePointerPredefinedStrings(texts, values);
    std::vector<EnumText> out;
    for (size_t i = 0; i < texts.size(); ++i) out.push_back({values[i], texts[i]});
    return out;
}

using Base = LibraryControlBase;

}  // namespace

// --- the host's calls -------------------------------------------------------------------------

void LibraryControlBase::InitProperties() {
    designMode_ = !Site().AmbientUserMode();
    Properties().InitNew(*this);
}

void LibraryControlBase::ReadProperties(const host::PropertyBag& bag) {
    designMode_ = !Site().AmbientUserMode();
    Properties().Read(*this, bag);
}

void LibraryControlBase::WriteProperties(host::PropertyBag& bag) { Properties().Write(*this, bag); }

long LibraryControlBase::GetIDOfName(std::wstring_view name) const { return Properties().DispIdOf(name); }

void LibraryControlBase::IPerPropertyBrowsingVB_GetDisplayString(bool& handled, long dispId, std::wstring& displayName) {
    Properties().DisplayString(*this, handled, dispId, displayName);
}

void LibraryControlBase::IPerPropertyBrowsingVB_GetPredefinedStrings(bool& handled, long dispId,
                                                                     std::vector<std::wstring>& stringsOut,
                                                                     std::vector<long>& cookiesOut) {
    Properties().PredefinedStrings(handled, dispId, stringsOut, cookiesOut);
}

void LibraryControlBase::IPerPropertyBrowsingVB_GetPredefinedValue(bool& handled, long dispId, long cookie,
                                                                   long& value) {
    Properties().PredefinedValue(handled, dispId, cookie, value);
}

bool LibraryControlBase::OnSurfaceSetCursor() { return ShowMousePointer(MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)); }

// --- helpers ------------------------------------------------------------------------------------

bool LibraryControlBase::Reject(const wchar_t* property, long value) const {
    const PropertyDescription* d = Properties().Find(property);
    if (!d || d->Accepts(value)) return false;
    InvalidPropertyValue(designMode_);
    return true;
}

void LibraryControlBase::Set(const wchar_t* property, const host::Value& value) {
    const PropertyDescription* d = Properties().Find(property);
    if (!d) return;
    if (d->ranged && Reject(property, value.AsLong())) return;
    d->load(*this, value);
    if (d->onChange) d->onChange(*this);
    Changed(property);
}

bool LibraryControlBase::ShowMousePointer(LPARAM setCursorLParam) const {
    return !designMode_ && SetCursorForMousePointer(mousePointer_, mouseIcon_, setCursorLParam);
}

host::Surface& LibraryControlBase::SurfaceOf() const {
    if (host::HostWindow* w = Site().HostWin()) return *w;
    return *Site().Windowless();
}

void LibraryControlBase::ReadOLEDropMode(const host::PropertyBag& bag) {
    LoadOLEDropMode(bag.Read(L"OLEDropMode", 0L).AsLong());
}

void LibraryControlBase::HostDropMode(long mode) {
    if (HasSite()) ApplyOLEDropMode(Site(), mode == 0 ? 0 : 1);
}

// --- the common setters: validate, store, apply, tell the host -------------------------------------

void LibraryControlBase::LoadFont(const host::Value& v) {
    font_ = v.GetKind() == host::Value::Kind::Font ? v.AsFont() : Site().AmbientFont();
    SurfaceOf().Font(font_);
}

void LibraryControlBase::Font(const host::FontDesc& font) {
    LoadFont(host::Value(font));
    OnFontChanged();
    Changed(L"Font");
}

void LibraryControlBase::VisualStyles(bool on) {
    visualStyles_ = on;
    OnVisualStylesChanged();
    Changed(L"VisualStyles");
}

unsigned long LibraryControlBase::BackColor() const { return SurfaceOf().BackColor(); }

void LibraryControlBase::BackColor(unsigned long oleColor) {
    SurfaceOf().BackColor(oleColor);
    OnColorsChanged();
    Changed(L"BackColor");
}

unsigned long LibraryControlBase::ForeColor() const { return SurfaceOf().ForeColor(); }

void LibraryControlBase::ForeColor(unsigned long oleColor) {
    SurfaceOf().ForeColor(oleColor);
    OnColorsChanged();
    Changed(L"ForeColor");
}

bool LibraryControlBase::Enabled() const { return SurfaceOf().Enabled(); }

void LibraryControlBase::Enabled(bool on) {
    SurfaceOf().Enabled(on);
    OnEnabledChanged();
    Changed(L"Enabled");
}

int LibraryControlBase::Appearance() const { return SurfaceOf().Appearance(); }

// A flat control takes the window-text colour, a 3D one the button-text colour; a ForeColor
// read from the store after Appearance wins over it.
void LibraryControlBase::LoadAppearance(int value) {
    SurfaceOf().Appearance(value);
    SurfaceOf().ForeColor(value == 0 ? SystemColorWindowText : SystemColorButtonText);
    OnAppearanceChanged();
}

void LibraryControlBase::Appearance(int value) {
    if (Reject(L"Appearance", value)) return;
    LoadAppearance(value);
    Changed(L"Appearance");
}

void LibraryControlBase::OLEDragMode(long mode) {
    if (Reject(L"OLEDragMode", mode)) return;
    oleDragMode_ = mode;
    Changed(L"OLEDragMode");
}

void LibraryControlBase::OLEDragDropScroll(bool on) {
    oleDragDropScroll_ = on;
    Changed(L"OLEDragDropScroll");
}

void LibraryControlBase::LoadOLEDropMode(long mode) {
    HostDropMode(mode);
    oleDropMode_ = mode;
}

void LibraryControlBase::OLEDropMode(long mode) {
    if (Reject(L"OLEDropMode", mode)) return;
    LoadOLEDropMode(mode);
    Changed(L"OLEDropMode");
}

void LibraryControlBase::MousePointer(int value) {
    if (Reject(L"MousePointer", value)) return;
    mousePointer_ = value;
    Changed(L"MousePointer");
}

void LibraryControlBase::MouseIcon(host::Picture icon) {
    if (!IsIconOrNone(icon)) return InvalidPropertyValue(designMode_);
    mouseIcon_ = std::move(icon);
    Changed(L"MouseIcon");
}

void LibraryControlBase::MouseTrack(bool on) {
    mouseTrack_ = on;
    Changed(L"MouseTrack");
}

void LibraryControlBase::SettleRightToLeft(bool on) {
    rightToLeft_ = on;
    SurfaceOf().RightToLeft(on);
    ResolveRightToLeft(rightToLeft_, SurfaceOf().RightToLeft(), rightToLeftMode_);
    OnRightToLeftChanged();
}

void LibraryControlBase::RightToLeft(bool on) {
    SettleRightToLeft(on);
    Changed(L"RightToLeft");
}

void LibraryControlBase::RightToLeftMode(long mode) {
    if (Reject(L"RightToLeftMode", mode)) return;
    rightToLeftMode_ = mode;
    RightToLeft(rightToLeft_);
    Changed(L"RightToLeftMode");
}

void LibraryControlBase::BorderStyle(long style) {
    if (Reject(L"BorderStyle", style)) return;
    borderStyle_ = style;
    OnBorderStyleChanged();
    Changed(L"BorderStyle");
}

// --- the common descriptions ----------------------------------------------------------------------

PropertyDescription LibraryControlBase::FontProperty() {
    return Accessor<Base>(L"Font", {}, [](const Base& c) { return host::Value(c.font_); },
                          [](Base& c, const host::Value& v) { c.LoadFont(v); })
        .StoredAs(Persist::Object)
        .New(NewValue::AmbientFont);
}

PropertyDescription LibraryControlBase::VisualStylesProperty() { return Field(L"VisualStyles", &Base::visualStyles_, true); }

PropertyDescription LibraryControlBase::BackColorProperty(unsigned long storeDefault) {
    return Accessor<Base>(L"BackColor", host::Value(storeDefault), [](const Base& c) { return host::Value(c.BackColor()); },
                          [](Base& c, const host::Value& v) { c.SurfaceOf().BackColor(FromValue<unsigned long>(v)); })
        .New(NewValue::Surface);
}

PropertyDescription LibraryControlBase::ForeColorProperty(unsigned long storeDefault) {
    return Accessor<Base>(L"ForeColor", host::Value(storeDefault), [](const Base& c) { return host::Value(c.ForeColor()); },
                          [](Base& c, const host::Value& v) { c.SurfaceOf().ForeColor(FromValue<unsigned long>(v)); })
        .New(NewValue::Surface);
}

PropertyDescription LibraryControlBase::EnabledProperty() {
    return Accessor<Base>(L"Enabled", true, [](const Base& c) { return host::Value(c.Enabled()); },
                          [](Base& c, const host::Value& v) { c.SurfaceOf().Enabled(v.AsBool()); })
        .New(NewValue::Surface);
}

PropertyDescription LibraryControlBase::AppearanceProperty() {
    return Accessor<Base>(L"Appearance", 1L, [](const Base& c) { return host::Value(c.Appearance()); },
                          [](Base& c, const host::Value& v) { c.LoadAppearance(static_cast<int>(v.AsLong())); })
        .Range(0, 1)
        .New(NewValue::Surface);
}

PropertyDescription LibraryControlBase::OLEDragModeProperty() { return Field(L"OLEDragMode", &Base::oleDragMode_, 0L).Range(0, 1); }

PropertyDescription LibraryControlBase::OLEDragDropScrollProperty() {
    return Field(L"OLEDragDropScroll", &Base::oleDragDropScroll_, true);
}

PropertyDescription LibraryControlBase::OLEDropModeProperty(long highest) {
    return Accessor<Base>(L"OLEDropMode", 0L, [](const Base& c) { return host::Value(c.oleDropMode_); },
                          [](Base& c, const host::Value& v) { c.LoadOLEDropMode(v.AsLong()); })
        .Range(0, highest);
}

PropertyDescription LibraryControlBase::MousePointerProperty() {
    PropertyDescription d = Field(L"MousePointer", &Base::mousePointer_, 0L).Range(0, 16).Texts(MousePointerTexts());
    d.also99 = true;
    return d;
}

PropertyDescription LibraryControlBase::MouseIconProperty() { return Field(L"MouseIcon", &Base::mouseIcon_); }

PropertyDescription LibraryControlBase::MouseTrackProperty() { return Field(L"MouseTrack", &Base::mouseTrack_, false); }

PropertyDescription LibraryControlBase::RightToLeftProperty() {
    return Field(L"RightToLeft", &Base::rightToLeft_, false).New(NewValue::AmbientRightToLeft);
}

PropertyDescription LibraryControlBase::RightToLeftModeProperty() {
    return Accessor<Base>(L"RightToLeftMode", 1L, [](const Base& c) { return host::Value(c.rightToLeftMode_); },
                          [](Base& c, const host::Value& v) {
                              c.rightToLeftMode_ = v.AsLong();
                              if (c.rightToLeft_) c.SettleRightToLeft(true);
                          })
        .Range(0, 4);
}

PropertyDescription LibraryControlBase::BorderStyleProperty(long storeDefault, long highest) {
    return Field(L"BorderStyle", &Base::borderStyle_, storeDefault).Range(0, highest);
}

}  // namespace foundation

// ListBoxW: life cycle, persistence and the property setters (validate, store, apply to the
// live window or re-create it, tell the host).
#include "controls/listbox/ListBoxW.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/VTableHandle.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <commctrl.h>

#include <cmath>

namespace controls {

ListBoxW::ListBoxW() : resumeRedrawMessage_(RegisterWindowMessageW(L"ListBoxW.ResumeRedraw")) {}

ListBoxW::~ListBoxW() = default;

// --- life cycle ---------------------------------------------------------------------------

void ListBoxW::Initialize(host::ControlSite& site) {
    Control::Initialize(site);
    foundation::ShellLibraryAddRef();
    foundation::InitControlClasses(ICC_STANDARD_CLASSES);
    checkBoxWidth_ = static_cast<int>(std::nearbyint(15 * foundation::DpiScaleX()));
    foundation::HookControlInterfaces(*this, foundation::HookInPlace);
    foundation::HookControlInterfaces(*this, foundation::HookPropertyBrowsing);
}

void ListBoxW::InitProperties() {
    designMode_ = !Site().AmbientUserMode();
    font_ = Site().AmbientFont();
    Site().HostWin()->BackColor(foundation::SystemColorWindow);
    Site().HostWin()->ForeColor(foundation::SystemColorWindowText);
    rightToLeft_ = Site().AmbientRightToLeft();
    if (rightToLeft_) Site().HostWin()->RightToLeft(true);
    CreateListBox();
}

// A store without BackColor/ForeColor gives button-face colours, unlike a newly placed list.
void ListBoxW::ReadProperties(const host::PropertyBag& bag) {
    designMode_ = !Site().AmbientUserMode();
    host::Value font = bag.Read(L"Font");
    font_ = font.GetKind() == host::Value::Kind::Font ? font.AsFont() : Site().AmbientFont();
    visualStyles_ = bag.Read(L"VisualStyles", true).AsBool();
    Site().HostWin()->BackColor(static_cast<unsigned long>(bag.Read(L"BackColor", foundation::SystemColorButtonFace).AsLong()));
    Site().HostWin()->ForeColor(static_cast<unsigned long>(bag.Read(L"ForeColor", foundation::SystemColorButtonText).AsLong()));
    Site().HostWin()->Enabled(bag.Read(L"Enabled", true).AsBool());
    oleDragMode_ = bag.Read(L"OLEDragMode", 0L).AsLong();
    oleDragDropScroll_ = bag.Read(L"OLEDragDropScroll", true).AsBool();
    ReadOLEDropMode(bag);
    mousePointer_ = static_cast<int>(bag.Read(L"MousePointer", 0L).AsLong());
    mouseTrack_ = bag.Read(L"MouseTrack", false).AsBool();
    rightToLeft_ = bag.Read(L"RightToLeft", false).AsBool();
    rightToLeftMode_ = bag.Read(L"RightToLeftMode", 1L).AsLong();
    if (rightToLeft_) Site().HostWin()->RightToLeft(true);
    redraw_ = bag.Read(L"Redraw", true).AsBool();
    borderStyle_ = bag.Read(L"BorderStyle", 3L).AsLong();
    multiColumn_ = bag.Read(L"MultiColumn", false).AsBool();
    sorted_ = bag.Read(L"Sorted", false).AsBool();
    integralHeight_ = bag.Read(L"IntegralHeight", true).AsBool();
    allowSelection_ = bag.Read(L"AllowSelection", true).AsBool();
    multiSelect_ = bag.Read(L"MultiSelect", 0L).AsLong();
    horizontalExtentPixels_ = bag.Read(L"HorizontalExtent", 0L).AsLong();
    useTabStops_ = bag.Read(L"UseTabStops", true).AsBool();
    style_ = bag.Read(L"Style", 0L).AsLong();
    disableNoScroll_ = bag.Read(L"DisableNoScroll", false).AsBool();
    drawMode_ = bag.Read(L"DrawMode", 0L).AsLong();
    insertMarkColor_ = static_cast<unsigned long>(bag.Read(L"InsertMarkColor", 0L).AsLong());
    scrollTrack_ = bag.Read(L"ScrollTrack", true).AsBool();
    CreateListBox();
}

void ListBoxW::WriteProperties(host::PropertyBag& bag) {
    bag.Write(L"Font", font_);
    bag.Write(L"VisualStyles", visualStyles_, true);
    bag.Write(L"BackColor", BackColor(), foundation::SystemColorButtonFace);
    bag.Write(L"ForeColor", ForeColor(), foundation::SystemColorButtonText);
    bag.Write(L"Enabled", Enabled(), true);
    bag.Write(L"OLEDragMode", oleDragMode_, 0L);
    bag.Write(L"OLEDragDropScroll", oleDragDropScroll_, true);
    bag.Write(L"OLEDropMode", oleDropMode_, 0L);
    bag.Write(L"MousePointer", static_cast<long>(mousePointer_), 0L);
    bag.Write(L"MouseTrack", mouseTrack_, false);
    bag.Write(L"RightToLeft", rightToLeft_, false);
    bag.Write(L"RightToLeftMode", rightToLeftMode_, 1L);
    bag.Write(L"Redraw", redraw_, true);
    bag.Write(L"BorderStyle", borderStyle_, 3L);
    bag.Write(L"MultiColumn", multiColumn_, false);
    bag.Write(L"Sorted", sorted_, false);
    bag.Write(L"IntegralHeight", integralHeight_, true);
    bag.Write(L"AllowSelection", allowSelection_, true);
    bag.Write(L"MultiSelect", multiSelect_, 0L);
    bag.Write(L"HorizontalExtent", horizontalExtentPixels_, 0L);
    bag.Write(L"UseTabStops", useTabStops_, true);
    bag.Write(L"Style", style_, 0L);
    bag.Write(L"DisableNoScroll", disableNoScroll_, false);
    bag.Write(L"DrawMode", drawMode_, 0L);
    bag.Write(L"InsertMarkColor", insertMarkColor_, 0UL);
    bag.Write(L"ScrollTrack", scrollTrack_, true);
}

// At design time the list shows only the control's name, so a new name replaces it.
void ListBoxW::AmbientChanged(const std::wstring& name) {
    if (!designMode_ || name != L"DisplayName" || Box().Count() == 0) return;
    Box().Reset();
    Box().Add(Site().AmbientDisplayName());
    Box().SetCurSel(-1);
}

void ListBoxW::Terminate() {
    foundation::UnhookControlInterfaces(*this, foundation::HookInPlace);
    foundation::UnhookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    DestroyListBox();
    foundation::ShellLibraryRelease();
}

HWND ListBoxW::hWndUserControl() const { return HostWindow(); }

HWND ListBoxW::HostWindow() const { return HasSite() && Site().HostWin() ? Site().HostWin()->hWnd() : nullptr; }

void ListBoxW::Refresh() {
    Site().HostWin()->Refresh();
    if (redraw_ || designMode_)
        RedrawWindow(HostWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// --- appearance -----------------------------------------------------------------------------

void ListBoxW::Font(const host::FontDesc& font) {
    font_ = font;
    ApplyFont();
    Resize();
    Changed(L"Font");
}

void ListBoxW::VisualStyles(bool on) {
    visualStyles_ = on;
    ApplyVisualStyles();
    Changed(L"VisualStyles");
}

unsigned long ListBoxW::BackColor() const { return Site().HostWin()->BackColor(); }

void ListBoxW::BackColor(unsigned long oleColor) {
    Site().HostWin()->BackColor(oleColor);
    Refresh();
    Changed(L"BackColor");
}

unsigned long ListBoxW::ForeColor() const { return Site().HostWin()->ForeColor(); }

void ListBoxW::ForeColor(unsigned long oleColor) {
    Site().HostWin()->ForeColor(oleColor);
    Refresh();
    Changed(L"ForeColor");
}

bool ListBoxW::Enabled() const { return Site().HostWin()->Enabled(); }

void ListBoxW::Enabled(bool on) {
    Site().HostWin()->Enabled(on);
    if (list_) EnableWindow(list_.Get(), on);
    Changed(L"Enabled");
}

void ListBoxW::Redraw(bool on) {
    redraw_ = on;
    if (list_ && !designMode_) {
        redrawSuspended_ = false;
        Box().SetRedraw(on);
        if (on) Refresh();
    }
    Changed(L"Redraw");
}

void ListBoxW::BorderStyle(long style) {
    if (foundation::RejectOutOfRange(style, 0, 4, designMode_)) return;
    borderStyle_ = style;
    if (list_) foundation::ReapplyBorderStyle(list_.Get(), style);
    Resize();
    Changed(L"BorderStyle");
}

void ListBoxW::RightToLeft(bool on) {
    rightToLeft_ = on;
    Site().HostWin()->RightToLeft(on);
    foundation::ResolveRightToLeft(rightToLeft_, Site().HostWin()->RightToLeft(), rightToLeftMode_);
    if (list_) foundation::ApplyRightToLeftExStyle(list_.Get(), rightToLeft_ ? WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR : 0);
    Changed(L"RightToLeft");
}

void ListBoxW::RightToLeftMode(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 4, designMode_)) return;
    rightToLeftMode_ = mode;
    RightToLeft(rightToLeft_);
    Changed(L"RightToLeftMode");
}

// --- mouse and drag settings ----------------------------------------------------------------

void ListBoxW::OLEDragMode(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 1, designMode_)) return;
    oleDragMode_ = mode;
    Changed(L"OLEDragMode");
}

void ListBoxW::OLEDragDropScroll(bool on) {
    oleDragDropScroll_ = on;
    Changed(L"OLEDragDropScroll");
}

void ListBoxW::MousePointer(int value) {
    if (foundation::RejectMousePointer(value, designMode_)) return;
    mousePointer_ = value;
    Changed(L"MousePointer");
}

// --- creation-time styles: stored, then the list box is re-created with its items -------------

void ListBoxW::MultiColumn(bool on) {
    if (on && drawMode_ == 2)
        return foundation::PropertyError(designMode_, host::err::CantSetProperty,
                                         L"MultiColumn must be False when DrawMode is 2 - OwnerDrawVariable");
    multiColumn_ = on;
    ReCreateListBox();
    Changed(L"MultiColumn");
}

void ListBoxW::Sorted(bool on) {
    sorted_ = on;
    ReCreateListBox();
    Changed(L"Sorted");
}

void ListBoxW::IntegralHeight(bool on) {
    if (!designMode_) foundation::RaiseReadOnlyAtRunTime(L"IntegralHeight");
    integralHeight_ = on;
    ReCreateListBox();
    Changed(L"IntegralHeight");
}

void ListBoxW::AllowSelection(bool on) {
    allowSelection_ = on;
    ReCreateListBox();
    Changed(L"AllowSelection");
}

void ListBoxW::MultiSelect(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 2, designMode_)) return;
    if (mode != 0 && style_ != 0)
        return foundation::PropertyError(designMode_, host::err::CantSetProperty,
                                         L"MultiSelect must be 0 - None when Style is not 0 - Standard");
    multiSelect_ = mode;
    ReCreateListBox();
    Changed(L"MultiSelect");
}

void ListBoxW::DrawMode(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 2, designMode_)) return;
    if (!designMode_) foundation::RaiseReadOnlyAtRunTime(L"DrawMode");
    drawMode_ = mode;
    ReCreateListBox();
    Changed(L"DrawMode");
}

void ListBoxW::UseTabStops(bool on) {
    useTabStops_ = on;
    ReCreateListBox();
    Changed(L"UseTabStops");
}

void ListBoxW::DisableNoScroll(bool on) {
    disableNoScroll_ = on;
    ReCreateListBox();
    Changed(L"DisableNoScroll");
}

void ListBoxW::ScrollTrack(bool on) {
    scrollTrack_ = on;
    Changed(L"ScrollTrack");
}

// Kept in pixels; applied only to a single-column list (a multi-column one keeps it for later).
double ListBoxW::HorizontalExtent() const {
    long px = list_ && !multiColumn_ ? Box().HorizontalExtent() : horizontalExtentPixels_;
    return Site().ScaleX(px, host::ScaleUnit::Pixels, host::ScaleUnit::Container);
}

void ListBoxW::HorizontalExtent(double extent) {
    if (extent < 0) return foundation::InvalidPropertyValue(designMode_);
    horizontalExtentPixels_ =
        static_cast<long>(std::lround(Site().ScaleX(extent, host::ScaleUnit::Container, host::ScaleUnit::Pixels)));
    if (list_ && !multiColumn_) Box().SetHorizontalExtent(horizontalExtentPixels_);
    Changed(L"HorizontalExtent");
}

}  // namespace controls

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

// A store without BackColor/ForeColor gives button-face colours, unlike a newly placed list.
const foundation::PropertyTable& ListBoxW::Properties() const {
    using foundation::Field;
    using T = ListBoxW;
    static const foundation::PropertyTable table{
        FontProperty(),
        VisualStylesProperty(),
        BackColorProperty(foundation::SystemColorButtonFace).New(host::Value(foundation::SystemColorWindow)),
        ForeColorProperty(foundation::SystemColorButtonText).New(host::Value(foundation::SystemColorWindowText)),
        EnabledProperty(),
        OLEDragModeProperty(),
        OLEDragDropScrollProperty(),
        OLEDropModeProperty(),
        MousePointerProperty(),
        MouseIconProperty(),
        MouseTrackProperty(),
        RightToLeftProperty(),
        RightToLeftModeProperty(),
        Field(L"Redraw", &T::redraw_, true),
        BorderStyleProperty(3, 4),
        Field(L"MultiColumn", &T::multiColumn_, false),
        Field(L"Sorted", &T::sorted_, false),
        Field(L"IntegralHeight", &T::integralHeight_, true),
        Field(L"AllowSelection", &T::allowSelection_, true),
        Field(L"MultiSelect", &T::multiSelect_, 0L).Range(0, 2),
        Field(L"HorizontalExtent", &T::horizontalExtentPixels_, 0L),  // pixels
        Field(L"UseTabStops", &T::useTabStops_, true),
        Field(L"Style", &T::style_, 0L).Range(0, 2),
        Field(L"DisableNoScroll", &T::disableNoScroll_, false),
        Field(L"DrawMode", &T::drawMode_, 0L).Range(0, 2),
        Field(L"InsertMarkColor", &T::insertMarkColor_, 0L),
        Field(L"ScrollTrack", &T::scrollTrack_, true),
    };
    return table;
}

void ListBoxW::InitProperties() {
    LibraryControlBase::InitProperties();
    CreateListBox();
}

void ListBoxW::ReadProperties(const host::PropertyBag& bag) {
    LibraryControlBase::ReadProperties(bag);
    CreateListBox();
}

// At design time the list shows only the control's name, so a new name replaces it.
void ListBoxW::AmbientChanged(const std::wstring& name) {
    if (!designMode_ || name != L"DisplayName" || Box().Count() == 0) return;
    Box().Reset();
    Box().Add(Site().AmbientDisplayName());
    appendedCount_ = -1;
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

// --- what the common properties do to the list box ---------------------------------------------

void ListBoxW::OnFontChanged() {
    ApplyFont();
    Resize();
}

void ListBoxW::OnEnabledChanged() {
    if (list_) EnableWindow(list_.Get(), Enabled());
}

void ListBoxW::OnBorderStyleChanged() {
    if (list_) foundation::ReapplyBorderStyle(list_.Get(), borderStyle_);
    Resize();
}

void ListBoxW::OnRightToLeftChanged() {
    if (list_) foundation::ApplyRightToLeftExStyle(list_.Get(), rightToLeft_ ? WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR : 0);
}

// --- stored settings --------------------------------------------------------------------------

void ListBoxW::Redraw(bool on) {
    redraw_ = on;
    if (list_ && !designMode_) {
        redrawSuspended_ = false;
        Box().SetRedraw(on);
        if (on) Refresh();
    }
    Changed(L"Redraw");
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
    if (Reject(L"MultiSelect", mode)) return;
    if (mode != 0 && style_ != 0)
        return foundation::PropertyError(designMode_, host::err::CantSetProperty,
                                         L"MultiSelect must be 0 - None when Style is not 0 - Standard");
    multiSelect_ = mode;
    ReCreateListBox();
    Changed(L"MultiSelect");
}

void ListBoxW::DrawMode(long mode) {
    if (Reject(L"DrawMode", mode)) return;
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

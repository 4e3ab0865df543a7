#include "host/ControlSite.h"

#include "host/ClassicDrag.h"
#include "host/ContainerRouting.h"
#include "host/DragDrop.h"
#include "host/Error.h"
#include "host/Form.h"
#include "host/HostWindow.h"
#include "host/WindowlessSurface.h"

#include <cmath>

namespace host {

ControlSite::ControlSite(Form& form, ControlSite* container, std::unique_ptr<Control> control, std::wstring name,
                         int index)
    : form_(form), container_(container), control_(std::move(control)), name_(std::move(name)), index_(index) {}

ControlSite::~ControlSite() { Destroy(); }

std::wstring ControlSite::DisplayName() const {
    return index_ >= 0 ? name_ + L"(" + std::to_wstring(index_) + L")" : name_;
}

void ControlSite::ApplyExtender(const PropertyBag& bag) {
    left_ = bag.Read(L"Left", left_).AsDouble();
    top_ = bag.Read(L"Top", top_).AsDouble();
    width_ = bag.Read(L"Width", width_).AsDouble();
    height_ = bag.Read(L"Height", height_).AsDouble();
    visible_ = bag.Read(L"Visible", true).AsBool();
    tabIndex_ = static_cast<int>(bag.Read(L"TabIndex", -1L).AsLong());
    tabStop_ = bag.Read(L"TabStop", true).AsBool();
    causesValidation_ = bag.Read(L"CausesValidation", true).AsBool();
    tag_ = bag.Read(L"Tag").AsString();
    toolTip_ = bag.Read(L"ToolTipText").AsString();
    whatsThisHelpID_ = bag.Read(L"WhatsThisHelpID", 0L).AsLong();
    dragIcon_ = bag.Read(L"DragIcon").AsPicture();
    dragMode_ = static_cast<int>(bag.Read(L"DragMode", 0L).AsLong());
}

void ControlSite::DragMode(int mode) {
    if (mode < 0 || mode > 1) Raise(err::InvalidPropertyValue);
    dragMode_ = mode;
}

void ControlSite::Create(const PropertyBag& bag, bool loaded) {
    bag_ = bag;
    ApplyExtender(bag);
    switch (control_->Surface()) {
    case SurfaceKind::HostWindow: hostWindow_ = std::make_unique<HostWindow>(*this, ContainerWindow()); break;
    case SurfaceKind::Windowless: windowless_ = std::make_unique<WindowlessSurface>(*this); break;
    case SurfaceKind::OwnWindow: break;  // the control adopts its window during Init/ReadProperties
    }
    control_->Initialize(*this);
    if (loaded) control_->ReadProperties(bag);
    else control_->InitProperties();
    created_ = true;
    ApplyPlacement();
    ApplyVisibility();
    if (!toolTip_.empty()) form_.ApplyToolTip(*this);
    control_->Resize();
}

void ControlSite::Destroy() {
    if (!control_ || !created_) return;
    created_ = false;
    form_.ForgetSite(*this);
    dragdrop::SiteGone(*this);
    classicdrag::SiteGone(*this);
    // Teardown order: the control ends first (removing its subclasses while every window is
    // still valid) and goes away with its timers, then the surface it was lent.
    try {
        control_->Terminate();
    } catch (const Error&) {
        // A control that fails to end cleanly must not stop the others from ending.
    }
    control_.reset();
    ownWindow_.Reset();
    hostWindow_.reset();
    if (windowless_) windowless_->Refresh();
    windowless_.reset();
}

HWND ControlSite::ContainerWindow() const {
    if (container_ && container_->HostWin()) return container_->HostWin()->hWnd();
    return form_.hWnd();
}

void ControlSite::AdoptWindow(HWND hwnd) {
    ownWindow_.Reset(hwnd);
    if (created_) {
        ApplyPlacement();
        ApplyVisibility();
    }
}

HWND ControlSite::PlacedWindow() const {
    if (hostWindow_) return hostWindow_->hWnd();
    return ownWindow_.Get();
}

ScaleConverter ControlSite::Scale() const { return ScaleConverter::Screen(form_.ScaleMode()); }

double ControlSite::ScaleX(double value, ScaleUnit from, ScaleUnit to) const { return Scale().ScaleX(value, from, to); }

double ControlSite::ScaleY(double value, ScaleUnit from, ScaleUnit to) const { return Scale().ScaleY(value, from, to); }

RECT ControlSite::PixelRect() const {
    ScaleConverter sc = Scale();
    // Positions are in the container's units; our containers measure in twips.
    auto px = [&](double v, bool x) {
        double twips = x ? sc.ScaleX(v, ScaleUnit::Container, ScaleUnit::Twips) : sc.ScaleY(v, ScaleUnit::Container, ScaleUnit::Twips);
        return x ? sc.TwipsToPixelsX(twips) : sc.TwipsToPixelsY(twips);
    };
    RECT r;
    r.left = px(left_, true);
    r.top = px(top_, false);
    r.right = r.left + px(width_, true);
    r.bottom = r.top + px(height_, false);
    return r;
}

void ControlSite::Move(double left, double top, std::optional<double> newWidth, std::optional<double> newHeight) {
    double width = newWidth.value_or(width_), height = newHeight.value_or(height_);
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(width) || !std::isfinite(height) || width < 0 ||
        height < 0)
        Raise(err::InvalidPropertyValue);
    bool resized = width != width_ || height != height_;
    RECT before = PixelRect();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (!created_) return;
    if (windowless_) {
        HWND hwnd = ContainerWindow();
        RECT after = PixelRect();
        InvalidateRect(hwnd, &before, TRUE);
        InvalidateRect(hwnd, &after, TRUE);
        if (resized) control_->Resize();
        return;
    }
    ApplyPlacement();
}

void ControlSite::ApplyPlacement() {
    HWND hwnd = PlacedWindow();
    if (!hwnd) return;
    RECT r = PixelRect();
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlSite::ApplyVisibility() {
    if (windowless_) {
        windowless_->Refresh();
        return;
    }
    if (HWND hwnd = PlacedWindow()) ShowWindow(hwnd, visible_ ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void ControlSite::Visible(bool visible) {
    if (visible == visible_) return;
    bool hadFocus = !visible && ContainsFocus();
    visible_ = visible;
    if (created_) ApplyVisibility();
    // A hidden control keeps no focus: it moves on as Tab would move it.
    if (hadFocus) form_.TabToNext(false);
}

bool ControlSite::EffectivelyVisible() const {
    return visible_ && (!container_ || container_->EffectivelyVisible());
}

void ControlSite::TabIndex(int index) {
    if (index < 0) Raise(err::InvalidPropertyValue);
    form_.ReorderTabIndex(*this, index);
}

void ControlSite::ToolTipText(std::wstring text) {
    toolTip_ = std::move(text);
    if (created_) form_.ApplyToolTip(*this);
}

bool ControlSite::CanTakeFocus() const {
    if (!created_ || !control_->CanGetFocus() || !EffectivelyVisible()) return false;
    for (const ControlSite* s = this; s; s = s->container_) {
        HWND hwnd = s->PlacedWindow();
        if (hwnd && !IsWindowEnabled(hwnd)) return false;
    }
    return control_->FocusWindow() != nullptr;
}

void ControlSite::SetFocus() {
    if (!CanTakeFocus()) Raise(err::InvalidProcedureCall);
    ::SetFocus(control_->FocusWindow());
}

void ControlSite::OLEDrag() { dragdrop::StartDrag(*this); }

void ControlSite::Drag(int action) { classicdrag::Drag(*this, action); }

void ControlSite::ZOrder(int position) {
    if (position != 0 && position != 1) Raise(err::InvalidProcedureCall);
    // Windowless controls stack in the order of their container's list: last is on top.
    std::vector<ControlSite*>& siblings = container_ ? container_->children_ : form_.MutableTopLevel();
    std::erase(siblings, this);
    if (position == 0) siblings.push_back(this);
    else siblings.insert(siblings.begin(), this);
    if (HWND hwnd = PlacedWindow())
        SetWindowPos(hwnd, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else if (windowless_)
        windowless_->Refresh();
}

bool ControlSite::AmbientUserMode() const { return form_.UserMode(); }

FontDesc ControlSite::AmbientFont() const { return form_.AmbientFont(); }

bool ControlSite::AmbientRightToLeft() const { return form_.RightToLeft(); }

unsigned long ControlSite::AmbientBackColor() const {
    if (container_ && container_->HostWin()) return container_->HostWin()->BackColor();
    return form_.BackColor();
}

unsigned long ControlSite::AmbientForeColor() const {
    if (container_ && container_->HostWin()) return container_->HostWin()->ForeColor();
    return form_.ForeColor();
}

const PropertyBag& ControlSite::SaveProperties() {
    PropertyBag bag;
    bag.Write(L"Left", left_, 0.0);
    bag.Write(L"Top", top_, 0.0);
    bag.Write(L"Width", width_, 0.0);
    bag.Write(L"Height", height_, 0.0);
    bag.Write(L"Visible", visible_, true);
    if (tabIndex_ >= 0) bag.Write(L"TabIndex", static_cast<long>(tabIndex_), -1L);
    bag.Write(L"TabStop", tabStop_, true);
    bag.Write(L"CausesValidation", causesValidation_, true);
    bag.Write(L"Tag", tag_, std::wstring());
    bag.Write(L"ToolTipText", toolTip_, std::wstring());
    bag.Write(L"WhatsThisHelpID", whatsThisHelpID_, 0L);
    if (dragIcon_) bag.Write(L"DragIcon", dragIcon_);
    bag.Write(L"DragMode", static_cast<long>(dragMode_), 0L);
    control_->WriteProperties(bag);
    bag_ = std::move(bag);
    return bag_;
}

void ControlSite::PropertyChanged(const std::wstring& name) { form_.OnPropertyChanged(*this, name); }

bool ControlSite::EventsFrozen() const { return form_.EventsFrozen(); }

void ControlSite::NoteEvent(long dispId) { form_.EventRaised(*this, dispId); }

Timer ControlSite::CreateTimer(UINT intervalMs, std::function<void()> tick) {
    TimerTarget* target = hostWindow_.get();
    if (!target) {
        if (container_ && container_->HostWin()) target = container_->HostWin();
        else target = &form_;
    }
    return Timer(*target, intervalMs, std::move(tick));
}

void ControlSite::AccessKeys(std::wstring keys) {
    for (wchar_t& c : keys) c = static_cast<wchar_t>(towupper(c));
    accessKeys_ = std::move(keys);
}

void ControlSite::NotifyAmbientChanged(const std::wstring& name) {
    if (created_) control_->AmbientChanged(name);
}

bool ControlSite::ContainsWindow(HWND hwnd) const {
    HWND placed = PlacedWindow();
    return hwnd && placed && (hwnd == placed || IsChild(placed, hwnd));
}

bool ControlSite::ContainsFocus() const {
    HWND focus = GetFocus();
    if (!ContainsWindow(focus)) return false;
    // Inside a container the focus belongs to the innermost control, not to the container.
    for (const ControlSite* child : children_)
        if (child->ContainsWindow(focus)) return false;
    return true;
}

}  // namespace host

#include "host/Control.h"

#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

namespace host {

ControlSite& Control::Site() const {
    if (!site_) Raise(err::InvalidProcedureCall, L"The control is not sited");
    return *site_;
}

HWND Control::FocusWindow() const {
    if (!site_) return nullptr;
    if (site_->HostWin()) return site_->HostWin()->hWnd();
    return site_->OwnWindow();
}

std::wstring Control::Name() const { return Site().Name(); }
std::wstring Control::Tag() const { return Site().Tag(); }
void Control::Tag(std::wstring tag) { Site().Tag(std::move(tag)); }
double Control::Left() const { return Site().Left(); }
void Control::Left(double twips) { Site().Left(twips); }
double Control::Top() const { return Site().Top(); }
void Control::Top(double twips) { Site().Top(twips); }
double Control::Width() const { return Site().Width(); }
void Control::Width(double twips) { Site().Width(twips); }
double Control::Height() const { return Site().Height(); }
void Control::Height(double twips) { Site().Height(twips); }
bool Control::Visible() const { return Site().Visible(); }
void Control::Visible(bool visible) { Site().Visible(visible); }
std::wstring Control::ToolTipText() const { return Site().ToolTipText(); }
void Control::ToolTipText(std::wstring text) { Site().ToolTipText(std::move(text)); }
Form& Control::Parent() const { return Site().Parent(); }
ControlSite* Control::Container() const { return Site().Container(); }
void Control::Container(ControlSite* container) { Site().Container(container); }
void Control::Container(Form& form) { Site().Container(form); }
long Control::WhatsThisHelpID() const { return Site().WhatsThisHelpID(); }
void Control::WhatsThisHelpID(long id) { Site().WhatsThisHelpID(id); }
const Picture& Control::DragIcon() const { return Site().DragIcon(); }
void Control::DragIcon(Picture icon) { Site().DragIcon(std::move(icon)); }
int Control::DragMode() const { return Site().DragMode(); }
void Control::DragMode(int mode) { Site().DragMode(mode); }
void Control::Drag(int action) { Site().Drag(action); }
void Control::SetFocus() { Site().SetFocus(); }
void Control::ZOrder(int position) { Site().ZOrder(position); }

void Control::Move(double left, std::optional<double> top, std::optional<double> width, std::optional<double> height) {
    ControlSite& s = Site();
    s.Move(left, top.value_or(s.Top()), width, height);
}

}  // namespace host

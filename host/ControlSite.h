// The control site: what a control calls on its host. One per placed control, owned by the form;
// it owns the control, and the host window or windowless surface it lends.
//
//   extender       Name, Index, Tag, Parent, Container, Left/Top/Width/Height (twips, relative to
//                  the container), Visible, TabIndex, TabStop, CausesValidation, ToolTipText,
//                  WhatsThisHelpID, DragIcon, DragMode, Drag,
//                  DataChanged, SetFocus, ZOrder, Move, and the Validate, DragOver and
//                  DragDrop events
//   ambient        UserMode, Font, RightToLeft, DisplayName, BackColor, ForeColor
//   persistence    the design-data bag (ReadProperties gets it; SaveProperties writes it anew)
//   notification   PropertyChanged(name)
//   scale          ScaleX/ScaleY between pixels, twips, HIMETRIC and the container's units
//   events         RaiseEvent(dispId, event, args...)
//   timers         CreateTimer(ms, callback)
//   surfaces       HostWin() for SurfaceKind::HostWindow, Windowless() for windowless controls,
//                  ContainerWindow() for all
#pragma once

#include "host/Control.h"
#include "host/Event.h"
#include "host/Scale.h"
#include "host/Timer.h"
#include "host/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace host {

class Form;
class HostWindow;
class WindowlessSurface;

class ControlSite {
public:
    ControlSite(Form& form, ControlSite* container, std::unique_ptr<Control> control, std::wstring name, int index);
    ~ControlSite();
    ControlSite(const ControlSite&) = delete;
    ControlSite& operator=(const ControlSite&) = delete;

    // The control; valid from construction until Destroy (the form drops the site right after).
    Control& GetControl() const { return *control_; }
    template <class T>
    T* As() const { return dynamic_cast<T*>(control_.get()); }

    // --- extender -------------------------------------------------------------------------
    const std::wstring& Name() const { return name_; }
    int Index() const { return index_; }  // -1 when not in a control array
    std::wstring DisplayName() const;     // "Label1(2)" for array members
    const std::wstring& Tag() const { return tag_; }
    void Tag(std::wstring tag) { tag_ = std::move(tag); }
    Form& Parent() const { return form_; }
    // The containing control's site, or null when the form itself is the container.
    ControlSite* Container() const { return container_; }
    // Moves the control into another container of its form (null or the form: the form itself).
    // Its Left and Top keep their numbers, now in the new container; it comes out on top there.
    // A control that holds no controls, another form, the control itself or one of its own
    // children raises 380.
    void Container(ControlSite* container);
    void Container(Form& form);

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void Left(double twips) { Move(twips, top_, width_, height_); }
    void Top(double twips) { Move(left_, twips, width_, height_); }
    void Width(double twips) { Move(left_, top_, twips, height_); }
    void Height(double twips) { Move(left_, top_, width_, twips); }
    // A missing width or height keeps the current one; a negative one raises 380.
    void Move(double left, double top, std::optional<double> width = {}, std::optional<double> height = {});

    bool Visible() const { return visible_; }
    void Visible(bool visible);
    // Visible and every container up to the form visible.
    bool EffectivelyVisible() const;
    int TabIndex() const { return tabIndex_; }
    void TabIndex(int index);  // renumbers the others as the host does, keeping indexes unique
    bool TabStop() const { return tabStop_; }
    void TabStop(bool on) { tabStop_ = on; }
    bool CausesValidation() const { return causesValidation_; }
    void CausesValidation(bool on) { causesValidation_ = on; }
    const std::wstring& ToolTipText() const { return toolTip_; }
    void ToolTipText(std::wstring text);
    long WhatsThisHelpID() const { return whatsThisHelpID_; }
    void WhatsThisHelpID(long id) { whatsThisHelpID_ = id; }
    // The picture shown while the control is dragged (none: the control's outline).
    const Picture& DragIcon() const { return dragIcon_; }
    void DragIcon(Picture icon) { dragIcon_ = std::move(icon); }
    // 0 manual, 1 automatic (a left press drags the control instead of reaching it); anything
    // else raises 380.
    int DragMode() const { return dragMode_; }
    void DragMode(int mode);
    // The classic drag of the control (ClassicDrag.h): 0 cancel, 1 begin, 2 end with a drop;
    // anything else raises 5.
    void Drag(int action = 1);
    // Another control (Source) is dragged over this one: state 0 enter, 1 leave, 2 over; x, y
    // in the container's scale from this control's top-left.
    Event<ControlSite& /*Source*/, float /*X*/, float /*Y*/, int /*State*/> DragOver;
    // ... and dropped on it.
    Event<ControlSite& /*Source*/, float /*X*/, float /*Y*/> DragDrop;
    bool DataChanged() const { return dataChanged_; }
    void DataChanged(bool changed) { dataChanged_ = changed; }
    void SetFocus();       // raises 5 when the control cannot take the focus now
    void ZOrder(int position = 0);  // 0 to the front, 1 to the back
    // Starts an OLE drag from this control and returns when it is over (DragDrop.h); 674 while
    // another drag is under way.
    void OLEDrag();
    // Raised when the focus is about to move to a control whose CausesValidation is True;
    // setting Cancel keeps the focus here.
    Event<bool& /*Cancel*/> Validate;

    // --- ambient --------------------------------------------------------------------------
    bool AmbientUserMode() const;
    FontDesc AmbientFont() const;
    bool AmbientRightToLeft() const;
    std::wstring AmbientDisplayName() const { return DisplayName(); }
    unsigned long AmbientBackColor() const;
    unsigned long AmbientForeColor() const;

    // --- persistence and notification -----------------------------------------------------
    // The bag the control was loaded from (empty for a new control).
    const PropertyBag& Bag() const { return bag_; }
    // Asks the control to write its properties into a fresh bag and keeps it (the form's save).
    const PropertyBag& SaveProperties();
    // The control changed a persisted property: the form is marked dirty and observers are told.
    void PropertyChanged(const std::wstring& name);

    // --- scale ----------------------------------------------------------------------------
    double ScaleX(double value, ScaleUnit from, ScaleUnit to) const;
    double ScaleY(double value, ScaleUnit from, ScaleUnit to) const;
    ScaleConverter Scale() const;

    // --- events ---------------------------------------------------------------------------
    // Delivers an event unless the form holds events back (while it is being built); the
    // by-reference arguments come back changed by the handler.
    template <class... P, class... A>
    void RaiseEvent(long dispId, const Event<P...>& event, A&&... args) {
        if (!EventsFrozen()) {
            NoteEvent(dispId);
            event(std::forward<A>(args)...);
        }
    }
    bool EventsFrozen() const;

    // --- timers ---------------------------------------------------------------------------
    // Disabled until Enabled(true); ticks on the host window, or the container window for a
    // windowless control.
    Timer CreateTimer(UINT intervalMs, std::function<void()> tick);

    // --- surfaces -------------------------------------------------------------------------
    HostWindow* HostWin() const { return hostWindow_.get(); }
    WindowlessSurface* Windowless() const { return windowless_.get(); }
    // The window controls of this container are children of: the form, or the container
    // control's host window. Borrowed.
    HWND ContainerWindow() const;
    // OwnWindow controls: the system window the control created (the host positions, shows and
    // destroys it). The site takes ownership.
    void AdoptWindow(HWND hwnd);
    HWND OwnWindow() const { return ownWindow_.Get(); }
    // The window the site positions: host window, own window, or null for windowless.
    HWND PlacedWindow() const;
    // The site's rectangle in container client pixels.
    RECT PixelRect() const;

    // Access keys (upper-case characters) the control answers through OnMnemonic; an intrinsic
    // control derives them from its caption.
    const std::wstring& AccessKeys() const { return accessKeys_; }
    void AccessKeys(std::wstring keys);

    // --- host side (called by the form) ---------------------------------------------------
    void Create(const PropertyBag& bag, bool loaded);  // surfaces, Initialize, Init/ReadProperties
    void Destroy();                                    // Terminate, the control, then the surfaces
    void ApplyExtender(const PropertyBag& bag);        // Left, Top, ... from design data
    void NotifyAmbientChanged(const std::wstring& name);
    void AssignTabIndex(int index) { tabIndex_ = index; }  // no renumbering: the form keeps order
    std::vector<ControlSite*>& Children() { return children_; }
    const std::vector<ControlSite*>& Children() const { return children_; }
    // Whether the focus (GetFocus) is in this control's windows.
    bool ContainsFocus() const;
    bool ContainsWindow(HWND hwnd) const;
    bool IsCreated() const { return created_; }
    // Whether the control can take the focus now: able to, visible, enabled up to the form.
    bool CanTakeFocus() const;

private:
    void NoteEvent(long dispId);
    void ApplyPlacement();
    void ApplyVisibility();

    Form& form_;
    ControlSite* container_;
    std::unique_ptr<HostWindow> hostWindow_;
    std::unique_ptr<WindowlessSurface> windowless_;
    UniqueWindow ownWindow_;
    std::unique_ptr<Control> control_;  // declared last: destroyed first, while its windows exist
    std::wstring name_;
    int index_;
    std::wstring tag_;
    double left_ = 0, top_ = 0, width_ = 1200, height_ = 495;
    bool visible_ = true;
    int tabIndex_ = -1;
    bool tabStop_ = true;
    bool causesValidation_ = true;
    std::wstring toolTip_;
    bool dataChanged_ = false;
    long whatsThisHelpID_ = 0;
    Picture dragIcon_;
    int dragMode_ = 0;
    std::wstring accessKeys_;
    PropertyBag bag_;
    std::vector<ControlSite*> children_;  // borrowed: the form owns every site
    bool created_ = false;
};

}  // namespace host

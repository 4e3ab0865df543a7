// What every library control shares, written once:
//
//   LibraryControlBase   the common properties (Font, VisualStyles, BackColor, ForeColor,
//                        Enabled, Appearance, OLEDragMode, OLEDragDropScroll, OLEDropMode,
//                        MousePointer, MouseIcon, MouseTrack, RightToLeft, RightToLeftMode,
//                        BorderStyle) with their validation, storage and change report; the
//                        persistence, dispatch ids by name and property browsing of the
//                        control's property table (PropertyDescription.h); the design-mode
//                        flag; the MousePointer rule over the control (windowed and windowless).
//   LibraryControl<...>  adds the OLE drag-and-drop members: the OLEDrag method and the six
//                        events that pass the host's drag-and-drop notifications on to the form.
//
// A control lists its properties once, in interface order, in Properties(); the common ones by
// their descriptions here (with the control's own defaults and ranges), its own with Field()
// or Accessor(). The common members are protected: a control makes public, with `using`, the
// ones its interface has. What a change does to the control's windows goes in the On...Changed
// hooks, which run after the value is stored and before the host hears of the change.
//
// The OLE events have consecutive dispatch ids from FirstDispId, in this order: OLECompleteDrag,
// OLEDragDrop, OLEDragOver, OLEGiveFeedback, OLESetData, OLEStartDrag. x and y reach the form in
// the container's units. A control that adds automatic behaviour (text drag, item drag)
// overrides a notification and calls this class's version where its event is raised.
#pragma once

#include "controls/foundation/PropertyDescription.h"
#include "controls/foundation/PropertyRanges.h"
#include "host/Control.h"
#include "host/ControlSite.h"
#include "host/DataObject.h"
#include "host/Event.h"

namespace host {
class Surface;
}

namespace foundation {

// A point of a host notification (control pixels) in the container's units.
float OLEContainerX(const host::ControlSite& site, float x);
float OLEContainerY(const host::ControlSite& site, float y);
// Sets the drop mode of the control's surface (host window or windowless): 0 none, 1 manual.
void ApplyOLEDropMode(host::ControlSite& site, long mode);

class LibraryControlBase : public host::Control {
public:
    // The control's properties in interface (and store) order.
    virtual const PropertyTable& Properties() const = 0;

    // --- what the host calls, answered from the table ----------------------------------------
    // A new control: the design-mode flag, then every row's new-control value.
    void InitProperties() override;
    // A loaded control: the design-mode flag, then every row from the store, in table order.
    void ReadProperties(const host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    long GetIDOfName(std::wstring_view name) const override;
    void IPerPropertyBrowsingVB_GetDisplayString(bool& handled, long dispId, std::wstring& displayName) override;
    void IPerPropertyBrowsingVB_GetPredefinedStrings(bool& handled, long dispId, std::vector<std::wstring>& stringsOut,
                                                     std::vector<long>& cookiesOut) override;
    void IPerPropertyBrowsingVB_GetPredefinedValue(bool& handled, long dispId, long cookie, long& value) override;
    // Windowless controls: the MousePointer rule over the control's rectangle.
    bool OnSurfaceSetCursor() override;

    bool DesignMode() const { return designMode_; }

protected:
    // --- the common properties ------------------------------------------------------------
    const host::FontDesc& Font() const { return font_; }
    void Font(const host::FontDesc& font);
    bool VisualStyles() const { return visualStyles_; }
    void VisualStyles(bool on);
    unsigned long BackColor() const;
    void BackColor(unsigned long oleColor);
    unsigned long ForeColor() const;
    void ForeColor(unsigned long oleColor);
    bool Enabled() const;
    void Enabled(bool on);
    // 0 flat (window-text colour), 1 3D (button-text colour): the surface's, with its ForeColor.
    int Appearance() const;
    void Appearance(int value);
    long OLEDragMode() const { return oleDragMode_; }
    void OLEDragMode(long mode);
    bool OLEDragDropScroll() const { return oleDragDropScroll_; }
    void OLEDragDropScroll(bool on);
    // 0 none, 1 manual; a control's own automatic modes above 1 give the host's manual mode.
    long OLEDropMode() const { return oleDropMode_; }
    void OLEDropMode(long mode);
    int MousePointer() const { return mousePointer_; }
    void MousePointer(int value);
    // The cursor for MousePointer 99: an icon (or cursor) picture, or none; anything else: 380
    // (a message box at design time).
    const host::Picture& MouseIcon() const { return mouseIcon_; }
    void MouseIcon(host::Picture icon);
    bool MouseTrack() const { return mouseTrack_; }
    void MouseTrack(bool on);
    // Sets the surface's right-to-left, then settles the value by RightToLeftMode.
    bool RightToLeft() const { return rightToLeft_; }
    void RightToLeft(bool on);
    long RightToLeftMode() const { return rightToLeftMode_; }
    void RightToLeftMode(long mode);
    long BorderStyle() const { return borderStyle_; }
    void BorderStyle(long style);

    // --- what a change does to the control's windows (each control its own) ----------------
    virtual void OnFontChanged() {}
    virtual void OnVisualStylesChanged() {}
    virtual void OnColorsChanged() {}
    virtual void OnEnabledChanged() {}
    virtual void OnAppearanceChanged() {}
    virtual void OnRightToLeftChanged() {}
    virtual void OnBorderStyleChanged() {}

    // --- descriptions of the common properties, for the control's table ------------------------
    static PropertyDescription FontProperty();
    static PropertyDescription VisualStylesProperty();
    static PropertyDescription BackColorProperty(unsigned long storeDefault);
    static PropertyDescription ForeColorProperty(unsigned long storeDefault);
    static PropertyDescription EnabledProperty();
    static PropertyDescription AppearanceProperty();
    static PropertyDescription OLEDragModeProperty();
    static PropertyDescription OLEDragDropScrollProperty();
    static PropertyDescription OLEDropModeProperty(long highest = 1);
    static PropertyDescription MousePointerProperty();
    static PropertyDescription MouseIconProperty();
    static PropertyDescription MouseTrackProperty();
    static PropertyDescription RightToLeftProperty();
    // Loading it settles a stored RightToLeft by the same rule as the setter.
    static PropertyDescription RightToLeftModeProperty();
    static PropertyDescription BorderStyleProperty(long storeDefault, long highest);

    // --- helpers for the control's own setters ------------------------------------------------
    // True when `value` is outside the range the table gives `property`, after reporting it by
    // the 380 convention:   if (Reject(L"Alignment", alignment)) return;
    bool Reject(const wchar_t* property, long value) const;
    // A setter that is only the table's row: validate (380 convention), store, the row's
    // OnChange, tell the host:   void Transparent(bool on) { Set(L"Transparent", on); }
    void Set(const wchar_t* property, const host::Value& value);
    // Tells the host a stored property changed (the form is marked dirty).
    void Changed(const wchar_t* property) { Site().PropertyChanged(property); }
    // The WM_SETCURSOR rule (HTCLIENT): MousePointer's system cursor, or MouseIcon for 99; an
    // arrow where the system lacks the cursor. False (default handling) for 0, at design time,
    // and for 99 without an icon.
    bool ShowMousePointer(LPARAM setCursorLParam) const;
    // The surface the host lends: its host window or its windowless rectangle.
    host::Surface& SurfaceOf() const;
    // OLEDropMode from the design data, applied to the host.
    void ReadOLEDropMode(const host::PropertyBag& bag);

    bool designMode_ = false;  // set from the host's user mode when the control is initialised
    host::FontDesc font_;
    bool visualStyles_ = true;
    long oleDragMode_ = 0;
    bool oleDragDropScroll_ = true;
    long oleDropMode_ = 0;
    int mousePointer_ = 0;
    host::Picture mouseIcon_;
    bool mouseTrack_ = false;
    bool rightToLeft_ = false;
    long rightToLeftMode_ = 1;
    long borderStyle_ = 0;

private:
    void LoadFont(const host::Value& v);
    void LoadAppearance(int value);
    void LoadOLEDropMode(long mode);
    // Stores the value, sets the surface's, settles it by RightToLeftMode, applies it.
    void SettleRightToLeft(bool on);
    // The drop mode the host applies to the surface (a control without a site keeps its value).
    void HostDropMode(long mode);
};

// FirstDispId: the dispatch id of OLECompleteDrag. MaxDropMode: the highest OLEDropMode (the
// table's OLEDropModeProperty(MaxDropMode) row).
template <long FirstDispId, long MaxDropMode = 1>
class LibraryControl : public LibraryControlBase {
public:
    struct OLEDispId {
        static constexpr long OLECompleteDrag = FirstDispId;
        static constexpr long OLEDragDrop = FirstDispId + 1;
        static constexpr long OLEDragOver = FirstDispId + 2;
        static constexpr long OLEGiveFeedback = FirstDispId + 3;
        static constexpr long OLESetData = FirstDispId + 4;
        static constexpr long OLEStartDrag = FirstDispId + 5;
    };

    host::Event<long& /*Effect*/> OLECompleteDrag;
    host::Event<host::DataObject& /*Data*/, long& /*Effect*/, int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/>
        OLEDragDrop;
    host::Event<host::DataObject& /*Data*/, long& /*Effect*/, int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/,
                int /*State*/>
        OLEDragOver;
    host::Event<long& /*Effect*/, bool& /*DefaultCursors*/> OLEGiveFeedback;
    host::Event<host::DataObject& /*Data*/, int& /*DataFormat*/> OLESetData;
    host::Event<host::DataObject& /*Data*/, long& /*AllowedEffects*/> OLEStartDrag;

    // Starts an OLE drag from the control: OLEStartDrag fills the data and allows effects.
    void OLEDrag() { Site().OLEDrag(); }

    void OnOLEStartDrag(host::DataObject& data, long& allowedEffects) override {
        Site().RaiseEvent(OLEDispId::OLEStartDrag, OLEStartDrag, data, allowedEffects);
    }
    void OnOLEGiveFeedback(long& effect, bool& defaultCursors) override {
        Site().RaiseEvent(OLEDispId::OLEGiveFeedback, OLEGiveFeedback, effect, defaultCursors);
    }
    void OnOLESetData(host::DataObject& data, int& dataFormat) override {
        Site().RaiseEvent(OLEDispId::OLESetData, OLESetData, data, dataFormat);
    }
    void OnOLECompleteDrag(long& effect) override {
        Site().RaiseEvent(OLEDispId::OLECompleteDrag, OLECompleteDrag, effect);
    }
    void OnOLEDragOver(host::DataObject& data, long& effect, int button, int shift, float x, float y,
                       int state) override {
        Site().RaiseEvent(OLEDispId::OLEDragOver, OLEDragOver, data, effect, button, shift,
                          OLEContainerX(Site(), x), OLEContainerY(Site(), y), state);
    }
    void OnOLEDragDrop(host::DataObject& data, long& effect, int button, int shift, float x, float y) override {
        Site().RaiseEvent(OLEDispId::OLEDragDrop, OLEDragDrop, data, effect, button, shift, OLEContainerX(Site(), x),
                          OLEContainerY(Site(), y));
    }

protected:
    static PropertyDescription OLEDropModeProperty() { return LibraryControlBase::OLEDropModeProperty(MaxDropMode); }
};

}  // namespace foundation

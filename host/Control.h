// What the host calls on every control it places: the life cycle, the control-side answers of
// key routing and property browsing, and (for windowless controls) painting and mouse input.
// A library control derives from Control, overrides what it needs, and registers a factory
// under its kind name (ControlRegistry.h). Intrinsic controls (CommandButton, CheckBox, Label,
// Line) are Controls too, so the form treats every control alike.
//
// Order of calls:  Initialize(site) → InitProperties() | ReadProperties(bag)
//                  → Resize(), AmbientChanged(name), WriteProperties(bag) any number of times
//                  → Terminate()   (the site and its host window still exist during Terminate)
#pragma once

#include "host/PropertyBag.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class ControlSite;
class DataObject;
class Form;

// How the control appears on its container.
enum class SurfaceKind {
    HostWindow,  // the site lends a host window (a child of the container) that the control fills
    OwnWindow,   // the control creates one system window directly in the container (intrinsics)
    Windowless,  // no window: a rectangle of the container, painted and fed mouse input by the host
};

// Answer of a windowless control to a hit-test query.
enum class HitResult { Outside, Transparent, Close, Hit };

// The CONTROLINFO a control reports (accelerator count and table, CTRLINFO_* flags).
struct ControlInfo {
    long accelCount = 0;
    HACCEL accelTable = nullptr;  // borrowed from the control
    long flags = 0;               // CTRLINFO_EATS_RETURN (1), CTRLINFO_EATS_ESCAPE (2)
};

// The three control-side interfaces through which a control answers the host's key routing and
// property browsing itself. Each operation leads with Handled: left false, the host's own
// behaviour runs, exactly as for a control that does not answer at all.
class IOleInPlaceActiveObjectVB {
public:
    // Offered every key message (WM_KEYDOWN .. WM_SYSKEYUP) while the control has the focus,
    // before the host uses the key for navigation, default or cancel buttons. When handled, RetVal
    // is the answer: S_OK (0) means consumed, S_FALSE (1) lets the message go on to the window.
    virtual void IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg,
                                                                WPARAM wParam, LPARAM lParam, int shift) {}

protected:
    ~IOleInPlaceActiveObjectVB() = default;
};

class IOleControlVB {
public:
    virtual void IOleControlVB_GetControlInfo(bool& handled, long& accelCount, HACCEL& accelTable, long& flags) {}
    // Called when the user pressed one of the access keys the control registered with its site.
    virtual void IOleControlVB_OnMnemonic(bool& handled, UINT wMsg, WPARAM wParam, LPARAM lParam, int shift) {}

protected:
    ~IOleControlVB() = default;
};

class IPerPropertyBrowsingVB {
public:
    virtual void IPerPropertyBrowsingVB_GetDisplayString(bool& handled, long dispId, std::wstring& displayName) {}
    virtual void IPerPropertyBrowsingVB_GetPredefinedStrings(bool& handled, long dispId,
                                                             std::vector<std::wstring>& stringsOut,
                                                             std::vector<long>& cookiesOut) {}
    virtual void IPerPropertyBrowsingVB_GetPredefinedValue(bool& handled, long dispId, long cookie,
                                                           long& value) {}

protected:
    ~IPerPropertyBrowsingVB() = default;
};

class Control : public IOleInPlaceActiveObjectVB, public IOleControlVB, public IPerPropertyBrowsingVB {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    // The kind name the design data use for this control ("TextBoxW"), also its type name.
    virtual std::wstring TypeName() const = 0;
    virtual SurfaceKind Surface() const { return SurfaceKind::HostWindow; }
    // Whether Tab, arrows and mnemonics may give this control the focus.
    virtual bool CanGetFocus() const { return Surface() != SurfaceKind::Windowless; }
    // Whether design data may nest controls inside this one (FrameW); children are placed in
    // the control's host window.
    virtual bool IsContainer() const { return false; }

    // --- life cycle -----------------------------------------------------------------------
    // The site (and, for SurfaceKind::HostWindow, its host window) exists from here on; the
    // default keeps the site for Site(). Overrides call Control::Initialize first.
    virtual void Initialize(ControlSite& site) { site_ = &site; }
    virtual void InitProperties() {}
    virtual void ReadProperties(const PropertyBag& bag) {}
    virtual void WriteProperties(PropertyBag& bag) {}
    // The host window or the windowless rectangle changed size.
    virtual void Resize() {}
    // An ambient value changed: "UserMode", "Font", "RightToLeft", "DisplayName", "BackColor", ...
    virtual void AmbientChanged(const std::wstring& name) {}
    // Last call before the control is destroyed: remove subclasses, destroy child windows.
    virtual void Terminate() {}

    // --- windowless and host-window drawing -------------------------------------------------
    // Windowless: paint into `dc`, whose origin is the control's top-left and whose clip is its
    // rectangle. Host window: paint the host window's client area (the background has already been
    // filled with BackColor or the persistent picture); windowless children are painted after.
    virtual void Paint(HDC dc) {}
    // Windowless only: `hostAnswer` is what the host concluded (Hit for an opaque surface,
    // Outside for a transparent one); return the final answer. Points are in control pixels.
    virtual HitResult HitTest(POINT pt, HitResult hostAnswer) { return hostAnswer; }
    // Windowless only: mouse input routed by hit test. Button 1 left, 2 right, 4 middle (summed);
    // Shift 1 Shift, 2 Ctrl, 4 Alt; coordinates in control pixels.
    virtual void OnSurfaceMouseDown(int button, int shift, int x, int y) {}
    virtual void OnSurfaceMouseMove(int button, int shift, int x, int y) {}
    virtual void OnSurfaceMouseUp(int button, int shift, int x, int y) {}
    virtual void OnSurfaceClick() {}
    virtual void OnSurfaceDblClick() {}
    // Windowless only: the mouse is over the control (the container got WM_SETCURSOR). Set the
    // cursor and return true, or return false to leave the container's own.
    virtual bool OnSurfaceSetCursor() { return false; }

    // --- OLE drag and drop (DragDrop.h) ------------------------------------------------------
    // Source side, for a drag started with ControlSite::OLEDrag: fill the data and name the
    // allowed effects (1 copy, 2 move, 4 link; left 0, no drag takes place); choose the cursors
    // (DefaultCursors false: the control set one); render a format declared without data; the
    // effect the target chose, 0 when the drag was cancelled.
    virtual void OnOLEStartDrag(DataObject& data, long& allowedEffects) {}
    virtual void OnOLEGiveFeedback(long& effect, bool& defaultCursors) {}
    virtual void OnOLESetData(DataObject& data, int& dataFormat) {}
    virtual void OnOLECompleteDrag(long& effect) {}
    // Target side, while the surface's OLEDropMode is not 0. Effect comes in as the effects the
    // source allows and goes back as the control's choice; x, y in control pixels; State 0
    // enter, 1 leave, 2 over.
    virtual void OnOLEDragOver(DataObject& data, long& effect, int button, int shift, float x, float y, int state) {}
    virtual void OnOLEDragDrop(DataObject& data, long& effect, int button, int shift, float x, float y) {}

    // OwnWindow only: WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* that the container got
    // from the control's window. Return true with `result` set to answer it.
    virtual bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }

    // The window the focus goes to when the control takes it: by default the host window (which
    // passes it on to its first child) or the control's own window; null when it has none.
    virtual HWND FocusWindow() const;

    // The property pages a designer shows for the control (PropertyPage.h), by their registered
    // names, and the one of them that edits a given property (empty: none does).
    virtual std::vector<std::wstring> PropertyPages() const { return {}; }
    virtual std::wstring PropertyPageOf(std::wstring_view propertyName) const { return {}; }

    // The dispatch id of a property or method by name (any case), DISPID_UNKNOWN (-1) when the
    // control has none: what a COM host would learn through IDispatch::GetIDsOfNames.
    virtual long GetIDOfName(std::wstring_view name) const { return -1; }

    ControlSite& Site() const;
    bool HasSite() const { return site_ != nullptr; }

    // --- extender pass-through, for controls whose interfaces list these members ------------
    std::wstring Name() const;
    std::wstring Tag() const;
    void Tag(std::wstring tag);
    double Left() const;
    void Left(double twips);
    double Top() const;
    void Top(double twips);
    double Width() const;
    void Width(double twips);
    double Height() const;
    void Height(double twips);
    bool Visible() const;
    void Visible(bool visible);
    std::wstring ToolTipText() const;
    void ToolTipText(std::wstring text);
    // The form the control is on, and the control that contains it (null: the form itself).
    Form& Parent() const;
    ControlSite* Container() const;
    void Container(ControlSite* container);
    void Container(Form& form);
    long WhatsThisHelpID() const;
    void WhatsThisHelpID(long id);
    const Picture& DragIcon() const;
    void DragIcon(Picture icon);
    int DragMode() const;
    void DragMode(int mode);
    void Drag(int action = 1);
    void SetFocus();
    void ZOrder(int position = 0);
    void Move(double left, std::optional<double> top = {}, std::optional<double> width = {},
              std::optional<double> height = {});

private:
    ControlSite* site_ = nullptr;  // borrowed: the site owns the control
};

}  // namespace host

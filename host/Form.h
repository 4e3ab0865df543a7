// A form: a top-level window built from its design data, the sites of its controls, its menus,
// its tab order and its validation chain. An application's form derives from Form and overrides
// the event members it handles:
//
//     class FrmMain : public host::Form {
//     public:
//         FrmMain() : Form(host::LoadDesignResource(GetModuleHandleW(nullptr), L"FRMMAIN")) {}
//     protected:
//         void Form_Load() override {
//             Ctl<TextBoxW>(L"txtMatch").KeyDown = [this](int& k, int s) { txtMatch_KeyDown(k, s); };
//             for (auto* l : Array<host::Label>(L"Label1"))
//                 l->Click = [this, i = l->Site().Index()] { Label1_Click(i); };
//         }
//     };
//     FrmMain form;  form.Show();  host::App().Run();
//
// Form_Initialize runs in Load before anything else; Form_Load runs once every control exists
// (events are held back until then), before the window is first shown.
#pragma once

#include "host/ContainerRouting.h"
#include "host/ControlSite.h"
#include "host/DesignData.h"
#include "host/Error.h"
#include "host/Menu.h"
#include "host/Surface.h"
#include "host/Timer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace host {

class Form : public Surface, public TimerTarget {
public:
    static constexpr const wchar_t* ClassName = L"HostFormW";

    explicit Form(FormDesign design);
    ~Form() override;  // unloads when still loaded

    // --- life cycle -------------------------------------------------------------------------
    // Creates the window and every control (Initialize, ReadProperties), then Form_Load. Called by
    // Show; a second call does nothing.
    void Load();
    // Load, then show modeless. Placement: StartUpPosition 2 centres on the screen.
    void Show();
    void Hide();
    // Form_Unload (which may cancel: returns false), then terminates the controls and destroys
    // the window. The message loop ends when the last form is gone.
    bool Unload();
    bool IsLoaded() const { return hwnd_.Get() != nullptr; }
    // Places a new control of a registered kind on the loaded form (inside `container` when
    // given), as a form designer or the program's Controls.Add does: the control starts from its
    // new-control values (InitProperties: the ambient font and right-to-left, its name as
    // caption, ...) rather than from a store; on a form in design mode (UserMode False) it is in
    // design mode too. `placement` holds the extender values (Left, Top, Width, Height,
    // TabIndex, ...). Not loaded, a name the form already has, or a container that holds no
    // controls: 5.
    ControlSite& AddControl(const std::wstring& kind, const std::wstring& name, const PropertyBag& placement = {},
                            ControlSite* container = nullptr);

    // --- properties -------------------------------------------------------------------------
    const std::wstring& Name() const { return design_.name; }
    HWND hWnd() const { return hwnd_.Get(); }
    HWND TimerWindow() const override { return hwnd_.Get(); }
    std::wstring Caption() const;
    void Caption(const std::wstring& caption);
    // Outer size and position in twips.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void Left(double twips);
    void Top(double twips);
    void Width(double twips);
    void Height(double twips);
    void Move(double left, std::optional<double> top = {}, std::optional<double> width = {},
              std::optional<double> height = {});
    double ScaleWidth() const;   // client size in the form's ScaleMode
    double ScaleHeight() const;
    ScaleUnit ScaleMode() const { return scaleMode_; }
    ScaleConverter Scale() const { return ScaleConverter::Screen(scaleMode_); }
    void Refresh() override;

    // Ambient values the controls see.
    bool UserMode() const { return userMode_; }
    // Before Load only: builds the form as on a design surface (controls see UserMode False).
    void UserMode(bool on) { userMode_ = on; }
    // Before Load only: the form's window becomes a child filling `parent`'s client area (a
    // property page inside its page of a property sheet) instead of a top-level window.
    HWND ParentWindow() const { return parentWindow_; }
    void ParentWindow(HWND parent) { parentWindow_ = parent; }
    bool Dirty() const { return dirty_; }
    void Dirty(bool d) { dirty_ = d; }

    // --- controls ---------------------------------------------------------------------------
    // The site of a control by name (and index for array members); raises 5 when there is none.
    ControlSite& Site(std::wstring_view name, int index = -1) const;
    ControlSite* FindSite(std::wstring_view name, int index = -1) const;
    template <class T>
    T& Ctl(std::wstring_view name, int index = -1) const {
        T* c = Site(name, index).template As<T>();
        if (!c) Raise(err::TypeMismatch);
        return *c;
    }
    // Members of a control array in Index order.
    template <class T>
    std::vector<T*> Array(std::wstring_view name) const {
        std::vector<T*> out;
        for (ControlSite* s : ArraySites(name))
            if (T* c = s->template As<T>()) out.push_back(c);
        return out;
    }
    std::vector<ControlSite*> ArraySites(std::wstring_view name) const;
    // The same at a position in twips (a missing size keeps the host's default).
    ControlSite& AddControl(const std::wstring& kind, const std::wstring& name, ControlSite* container,
                            double left = 0, double top = 0, std::optional<double> width = {},
                            std::optional<double> height = {});
    // Every site in stored order (containers before their children).
    const std::vector<std::unique_ptr<ControlSite>>& Controls() const { return sites_; }
    // Sites whose controls have this type name (e.g. "ImageList").
    std::vector<ControlSite*> ControlsOfType(std::wstring_view typeName) const;
    // The control that has the focus, or null.
    ControlSite* ActiveControl() const;
    // The site owning this window (the window or one of its ancestors), or null.
    ControlSite* SiteOfWindow(HWND hwnd) const;

    // Opens the designer's property sheet (PropertySheetDialog.h) on `selection`, controls of this
    // form, modal to it: the pages the controls name in common, the one that edits
    // `propertyName` first and told to edit it. True when changes were applied (OK or Apply).
    bool ShowPropertyPages(const std::vector<ControlSite*>& selection, const std::wstring& propertyName = {});

    // --- menus ------------------------------------------------------------------------------
    MenuItem& Menu(std::wstring_view name, int index = -1) const;
    // Shows the menu's items as a popup at (x, y) in the form's ScaleMode units (client
    // coordinates; without them, at the mouse position) and raises the chosen item's Click before
    // returning. Returns the chosen item, or null when the menu was dismissed.
    MenuItem* PopupMenu(MenuItem& menu, std::optional<double> x = {}, std::optional<double> y = {});

    // --- keyboard and validation ------------------------------------------------------------
    // Sites that Tab visits, in TabIndex order (visible, enabled, TabStop, able to take focus).
    std::vector<ControlSite*> TabOrder() const;
    // Moves the focus to the next (or previous) control in TabIndex order, wrapping around.
    void TabToNext(bool backwards);
    // Runs Validate of the active control; a cancel raises 380. The focus move that follows a
    // successful run (a click's activation) does not validate the same control again.
    void ValidateControls();
    // The in-place active object: the answer the message loop offers key messages first while a
    // control that announced itself has the focus; null when none is announced (the loop then asks
    // the focused control itself). Borrowed; a site that goes away takes its control off.
    IOleInPlaceActiveObjectVB* ActiveObject() const { return activeObject_; }
    void SetActiveObject(IOleInPlaceActiveObjectVB* object) { activeObject_ = object; }
    // The form's share of key routing; true when the message was consumed. Called by the
    // message loop after the focused control declined it.
    bool PreTranslateMessage(MSG& msg);

    // --- what a site asks of its form -------------------------------------------------------
    bool EventsFrozen() const { return eventsFrozen_; }
    FontDesc AmbientFont() const { return Font(); }
    void OnPropertyChanged(ControlSite& site, const std::wstring& name);
    // Every event raised through a site: (site, dispatch id). For diagnostics and tests.
    Event<ControlSite&, long> EventRaised;
    Event<ControlSite&, const std::wstring&> PropertyChangedNotified;
    // A control (Source) is dragged over the form itself (ClassicDrag.h): state 0 enter, 1 leave,
    // 2 over; x, y in the form's scale.
    Event<ControlSite& /*Source*/, float /*X*/, float /*Y*/, int /*State*/> DragOver;
    // ... and dropped on it.
    Event<ControlSite& /*Source*/, float /*X*/, float /*Y*/> DragDrop;
    // Called by the focus hook before the focus moves between two of this form's windows;
    // returns false when validation cancelled the move.
    bool BeforeFocusChange(HWND from, HWND to);
    // Mouse input over a container window (null: the form) for its windowless controls.
    bool RouteContainerMouse(ControlSite* container, UINT msg, WPARAM wParam, LPARAM lParam);
    // The sites placed directly on the form.
    const std::vector<ControlSite*>& TopLevelSites() const { return topLevel_; }
    std::vector<ControlSite*>& MutableTopLevel() { return topLevel_; }
    // Renumbers TabIndex so that `site` gets `index` and the others keep their order.
    void ReorderTabIndex(ControlSite& site, int index);
    // A site moved into another container: it and what it contains come after every other site,
    // so that containers still precede their children (creation order, the innermost-window
    // search, teardown in reverse).
    void KeepAfterContainers(ControlSite& site);
    void ForgetSite(const ControlSite& site) {
        routing_.Forget(&site);
        if (activeObject_ == static_cast<IOleInPlaceActiveObjectVB*>(&site.GetControl())) activeObject_ = nullptr;
    }
    // Shows the site's ToolTipText over its windows (removes it when empty).
    void ApplyToolTip(ControlSite& site);
    HWND ToolTipWindow() const { return tooltip_.Get(); }

protected:
    // The design data the form is built from.
    const FormDesign& Design() const { return design_; }

    virtual void Form_Initialize() {}
    virtual void Form_Load() {}
    // Set cancel to non-zero to keep the form open.
    virtual void Form_Unload(int& cancel) {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}

    void OnAmbientPropertyChanged(const wchar_t* name) override;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnClose();
    LRESULT OnEraseBackground(HDC dc);
    LRESULT OnPaint(HDC given);
    LRESULT OnPrintClient(HDC dc);
    LRESULT OnControlColor(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnChildNotification(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSize();
    LRESULT OnTimer(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WORD state);
    void RestoreFocus();
    ControlSite* FocusTargetAfter(const ControlSite& site) const;
    bool HandleMnemonic(wchar_t key, const MSG& msg);
    bool HandleTab(MSG& msg);
    bool HandleArrow(MSG& msg);
    bool HandleReturnOrEscape(MSG& msg, bool isReturn);
    void CreateWindowFromDesign();
    void CreateSites(const std::vector<ControlDesign>& designs, ControlSite* container);
    void DestroyAll();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    template <typename T>
    friend LRESULT RouteToObject(HWND, UINT, WPARAM, LPARAM);

    FormDesign design_;
    UniqueWindow hwnd_;
    std::vector<std::unique_ptr<ControlSite>> sites_;
    std::vector<ControlSite*> topLevel_;  // borrowed from sites_
    ContainerRouting routing_;
    UniqueWindow tooltip_;  // one tool-tip window for every control of the form
    HWND lastFocus_ = nullptr;
    ControlSite* validated_ = nullptr;  // borrowed: validated by ValidateControls, not yet left  // borrowed: restored when the form is activated again
    std::vector<std::unique_ptr<MenuItem>> menus_;
    ScaleUnit scaleMode_ = ScaleUnit::Twips;
    bool userMode_ = true;
    HWND parentWindow_ = nullptr;  // borrowed: see ParentWindow
    IOleInPlaceActiveObjectVB* activeObject_ = nullptr;  // borrowed, see ActiveObject
    bool dirty_ = false;
    bool eventsFrozen_ = true;
    bool unloading_ = false;
    bool validating_ = false;
    bool shownOnce_ = false;
};

}  // namespace host

// HotKey: the library's key-combination field. One comctl32 "msctls_hotkey32" child window fills
// the control's host window; both are subclassed (1 = the hot key window, 2 = the host window) so
// that keys, mouse, focus and the window's EN_CHANGE become the control's events.
//
//   HotKey.cpp           life cycle, the property table, what the shared properties do
//   HotKeyWindow.cpp     building and destroying the hot key window, resizing, and the
//                        key-combination members (Value, RawValue, SetRules,
//                        SetApplicationHotKey)
//   HotKeyMessages.cpp   the two window procedures and the key-routing answers
//   DoubleClicks.h       double clicks for a window class that has none
#pragma once

#include "controls/foundation/ISubclass.h"
#include "controls/foundation/LibraryControl.h"
#include "controls/foundation/Subclass.h"
#include "controls/hotkey/DoubleClicks.h"
#include "host/Control.h"
#include "host/Event.h"
#include "host/Handles.h"
#include "host/Value.h"

#include <string>

namespace controls {

class HotKey : public foundation::LibraryControl<6>, public foundation::ISubclass {
public:
    // Dispatch identifiers of the events particular to this control (the standard ones are
    // host::dispid; the OLE events follow from 6 on).
    struct DispId {
        static constexpr long Change = 1;
        static constexpr long PreviewKeyDown = 2;
        static constexpr long PreviewKeyUp = 3;
        static constexpr long MouseEnter = 4;
        static constexpr long MouseLeave = 5;
    };
    // Reference numbers of the subclassed windows.
    static constexpr LONG_PTR HotKeyWindowRef = 1;
    static constexpr LONG_PTR HostWindowRef = 2;

    // The modifier flags of a combination (the high byte of HKM_GETHOTKEY's word).
    static constexpr long ModShift = 1;    // HOTKEYF_SHIFT
    static constexpr long ModControl = 2;  // HOTKEYF_CONTROL
    static constexpr long ModAlt = 4;      // HOTKEYF_ALT
    static constexpr long ModExt = 8;      // HOTKEYF_EXT
    // The single InvalidKeyCombinations values SetRules accepts (HKCOMB_*).
    static constexpr long CombNone = 1, CombShift = 2, CombControl = 4, CombAlt = 8, CombShiftControl = 16,
                          CombShiftAlt = 32, CombControlAlt = 64, CombShiftControlAlt = 128;

    HotKey() = default;
    ~HotKey() override;

    // --- what the host calls ------------------------------------------------------------
    std::wstring TypeName() const override { return L"HotKey"; }
    void Initialize(host::ControlSite& site) override;
    void InitProperties() override;
    void ReadProperties(const host::PropertyBag& bag) override;
    void Resize() override;
    void Terminate() override;
    void IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                        LPARAM lParam, int shift) override;

    // --- windows --------------------------------------------------------------------------
    HWND hWnd() const { return hotKey_.Get(); }
    HWND hWndUserControl() const;
    void Refresh();

    // --- properties -----------------------------------------------------------------------
    // The table of every persisted property (names, defaults, ranges, browsing texts).
    const foundation::PropertyTable& Properties() const override;
    using LibraryControlBase::Font;
    using LibraryControlBase::VisualStyles;
    using LibraryControlBase::Enabled;
    using LibraryControlBase::OLEDropMode;
    using LibraryControlBase::MousePointer;
    using LibraryControlBase::MouseIcon;
    using LibraryControlBase::MouseTrack;
    using LibraryControlBase::BackColor;
    using LibraryControlBase::BorderStyle;

    // --- the key combination (not persisted; 0 and no effect without a window) ----------
    // The virtual-key code; `modifiers` receives the modifier flags (Mod*). As the property
    // Value(Modifiers) = NewValue: both must fit a byte, else error 6 (Overflow).
    long Value() const;
    long Value(long& modifiers) const;
    void Value(long modifiers, long newValue);
    // The whole HKM_GETHOTKEY answer; written as HKM_SETHOTKEY's wParam.
    long RawValue() const;
    void RawValue(long value);
    // InvalidKeyCombinations: exactly one Comb* value (else 380, also without a window); the
    // combinations it names are typed with DefaultModifiers instead.
    void SetRules(long invalidKeyCombinations, long defaultModifiers);
    // Makes the combination the activation hot key of `hwnd`, or of the top-level window that
    // holds the control when `hwnd` is null. The platform's answer: 1 done, 2 done but another
    // window has the same hot key, 0 invalid window, -1 invalid hot key; 0 without a window.
    long SetApplicationHotKey(HWND hwnd = nullptr);

    // --- events -----------------------------------------------------------------------------
    host::Event<> Change;
    host::Event<int /*KeyCode*/, bool& /*IsInputKey*/> PreviewKeyDown;
    host::Event<int /*KeyCode*/, bool& /*IsInputKey*/> PreviewKeyUp;
    host::Event<> MouseEnter;
    host::Event<> MouseLeave;
    host::Event<> Click;
    host::Event<> DblClick;
    host::Event<int& /*KeyCode*/, int /*Shift*/> KeyDown;
    host::Event<int& /*KeyChar*/> KeyPress;
    host::Event<int& /*KeyCode*/, int /*Shift*/> KeyUp;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseDown;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseMove;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseUp;

protected:
    void OnFontChanged() override { ApplyFont(); }
    void OnVisualStylesChanged() override { ApplyVisualStyles(); }
    void OnColorsChanged() override;
    void OnEnabledChanged() override;
    void OnBorderStyleChanged() override;
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override;

private:
    // --- the hot key window (HotKeyWindow.cpp)
    void BuildHotKeyWindow();
    void DestroyHotKeyWindow();
    void ApplyFont();
    void ApplyVisualStyles();
    void EnsureBackBrush();
    HWND HostWindow() const;
    SIZE HostClientSize() const;
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // --- the window procedures (HotKeyMessages.cpp)
    LRESULT HotKeyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnChar(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonDown(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void RaiseMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam);
    void RaiseClickIfInside(LPARAM lParam);
    void NoteCombinationChanged();

    // --- state
    host::UniqueWindow hotKey_;
    foundation::ScopedSubclass hotKeySubclass_;  // declared after hotKey_: removed before it is destroyed
    foundation::ScopedSubclass hostSubclass_;
    host::UniqueFont hFont_;
    host::UniqueBrush backBrush_;
    DoubleClicks doubleClicks_;
    bool classHasDoubleClicks_ = false;
    bool buttonPressed_ = false;
    bool mouseOver_ = false;
    bool validating_ = false;
    bool inResize_ = false;
    // The Tab key-down on its way is one the form will move the focus with.
    bool tabLeaves_ = false;
    // Counts EN_CHANGE notifications, so a key the window handles without telling its parent
    // (Wine's window clears itself on Backspace silently) still raises Change once.
    unsigned changeNotes_ = 0;
    wchar_t pendingChar_ = 0;
};

}  // namespace controls

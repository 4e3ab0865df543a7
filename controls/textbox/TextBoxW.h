// TextBoxW: the library's Unicode text box. One "Edit" child window fills the control's host
// window; both are subclassed (1 = the edit window, 2 = the host window) so that keys, mouse,
// focus and the edit's notifications become the control's events.
//
//   TextBoxW.cpp          life cycle, persistence, the properties
//   TextBoxWWindow.cpp    building, destroying and re-creating the edit window, resizing
//   TextBoxWMessages.cpp  the two window procedures and the key-routing answers
//   TextBoxWEditing.cpp   selection, lines, clipboard and undo members
#pragma once

#include "controls/foundation/ISubclass.h"
#include "controls/foundation/LibraryControl.h"
#include "controls/foundation/Subclass.h"
#include "controls/textbox/BalloonTip.h"
#include "controls/textbox/DropCaret.h"
#include "controls/textbox/EditWindow.h"
#include "controls/textbox/NetAddress.h"
#include "host/Control.h"
#include "host/Event.h"
#include "host/Handles.h"
#include "host/Value.h"

#include <imm.h>

#include <string>

namespace controls {

class TextBoxW : public foundation::LibraryControl<9, 2>, public foundation::ISubclass {
public:
    // Dispatch identifiers of the events particular to this control (the standard ones are
    // host::dispid).
    struct DispId {
        static constexpr long Change = 1;
        static constexpr long MaxText = 2;
        static constexpr long Scroll = 3;
        static constexpr long ContextMenu = 4;
        static constexpr long PreviewKeyDown = 5;
        static constexpr long PreviewKeyUp = 6;
        static constexpr long MouseEnter = 7;
        static constexpr long MouseLeave = 8;
    };
    // Reference numbers of the subclassed windows.
    static constexpr LONG_PTR EditWindowRef = 1;
    static constexpr LONG_PTR HostWindowRef = 2;

    TextBoxW() = default;
    ~TextBoxW() override;

    // --- what the host calls ------------------------------------------------------------
    std::wstring TypeName() const override { return L"TextBoxW"; }
    void Initialize(host::ControlSite& site) override;
    void InitProperties() override;
    void ReadProperties(const host::PropertyBag& bag) override;
    void Resize() override;
    void Terminate() override;
    void IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                        LPARAM lParam, int shift) override;
    void IOleControlVB_GetControlInfo(bool& handled, long& accelCount, HACCEL& accelTable, long& flags) override;
    void IOleControlVB_OnMnemonic(bool& handled, UINT wMsg, WPARAM wParam, LPARAM lParam, int shift) override {}
    // The designer's page for Text (PPTextBoxWText), registered with the host the first time
    // it is named.
    std::vector<std::wstring> PropertyPages() const override;
    std::wstring PropertyPageOf(std::wstring_view propertyName) const override;

    // --- windows --------------------------------------------------------------------------
    HWND hWnd() const { return edit_.Get(); }
    HWND hWndUserControl() const;
    void Refresh();

    // --- properties -----------------------------------------------------------------------
    // The table of every persisted property (names, defaults, ranges, browsing texts).
    const foundation::PropertyTable& Properties() const override;
    using LibraryControlBase::Font;
    using LibraryControlBase::VisualStyles;
    using LibraryControlBase::BackColor;
    using LibraryControlBase::ForeColor;
    using LibraryControlBase::Enabled;
    using LibraryControlBase::OLEDragMode;
    using LibraryControlBase::OLEDragDropScroll;
    using LibraryControlBase::OLEDropMode;
    using LibraryControlBase::MousePointer;
    using LibraryControlBase::MouseIcon;
    using LibraryControlBase::MouseTrack;
    using LibraryControlBase::RightToLeft;
    using LibraryControlBase::RightToLeftMode;
    using LibraryControlBase::BorderStyle;
    std::wstring Text() const;
    void Text(const std::wstring& text);
    std::wstring Default() const { return Text(); }
    void Default(const std::wstring& text) { Text(text); }
    long Alignment() const { return alignment_; }
    void Alignment(long alignment);
    bool AllowOnlyNumbers() const { return allowOnlyNumbers_; }
    void AllowOnlyNumbers(bool on);
    bool Locked() const;
    void Locked(bool on);
    bool HideSelection() const { return hideSelection_; }
    void HideSelection(bool on);
    std::wstring PasswordChar() const;
    void PasswordChar(const std::wstring& c);
    bool UseSystemPasswordChar() const { return useSystemPasswordChar_; }
    void UseSystemPasswordChar(bool on);
    bool MultiLine() const { return multiLine_; }
    void MultiLine(bool on);
    long MaxLength() const { return maxLength_; }
    void MaxLength(long length);
    long ScrollBars() const { return scrollBars_; }
    void ScrollBars(long value);
    std::wstring CueBanner() const { return cueBanner_; }
    void CueBanner(const std::wstring& text);
    long CharacterCasing() const { return characterCasing_; }
    void CharacterCasing(long value);
    bool WantReturn() const { return wantReturn_; }
    void WantReturn(bool on);
    long IMEMode() const { return imeMode_; }
    void IMEMode(long mode);
    bool NetAddressValidator() const { return netAddressValidator_; }
    void NetAddressValidator(bool on);
    long NetAddressType() const { return netAddressType_; }
    void NetAddressType(long type);
    bool AllowOverType() const { return allowOverType_; }
    void AllowOverType(bool on);
    bool OverTypeMode() const { return overTypeMode_; }
    void OverTypeMode(bool on);

    // --- editing (TextBoxWEditing.cpp) -----------------------------------------------------
    void Copy();
    void Cut();
    void Paste();
    void Clear();
    void Undo();
    bool CanUndo() const;
    void ResetUndoFlag();
    bool Modified() const;
    void Modified(bool on);
    long SelStart() const;
    void SelStart(long start);
    long SelLength() const;
    void SelLength(long length);
    std::wstring SelText() const;
    void SelText(const std::wstring& text);
    std::wstring GetLine(long lineNumber) const;
    long GetLineCount() const;
    void ScrollToLine(long lineNumber);
    void ScrollToCaret();
    long GetLineFromChar(long charIndex) const;
    long CharFromPos(float x, float y) const;
    // Icon 0 none, 1 information, 2 warning, 3 error; False without comctl32 6 or a window.
    bool ShowBalloonTip(const std::wstring& text, const std::wstring& title = {}, long icon = 0);
    bool HideBalloonTip();
    // In the container's units; -1 sets the font's own margin.
    double LeftMargin() const;
    void LeftMargin(double margin);
    double RightMargin() const;
    void RightMargin(double margin);

    // --- network addresses (TextBoxWNetAddress.cpp) ----------------------------------------------
    // Checks the text against NetAddressType; raises the error of the result table, else fills
    // the four results below.
    void ValidateNetAddress();
    void ShowNetAddressErrorTip();
    long NetAddressFormat() const { return netFormat_; }
    std::wstring NetAddressString() const { return netString_; }
    long NetAddressPortNumber() const { return netPort_; }
    long NetAddressPrefixLength() const { return netPrefix_; }

    // --- automatic OLE drag and drop of text (TextBoxWDragDrop.cpp) -----------------------------
    void OnOLEStartDrag(host::DataObject& data, long& allowedEffects) override;
    void OnOLECompleteDrag(long& effect) override;
    void OnOLEDragOver(host::DataObject& data, long& effect, int button, int shift, float x, float y,
                       int state) override;
    void OnOLEDragDrop(host::DataObject& data, long& effect, int button, int shift, float x, float y) override;

    // --- events -----------------------------------------------------------------------------
    host::Event<> Change;
    host::Event<> MaxText;
    host::Event<> Scroll;
    host::Event<bool& /*Handled*/, float /*x*/, float /*y*/> ContextMenu;
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
    void OnColorsChanged() override { Refresh(); }
    void OnEnabledChanged() override;
    void OnRightToLeftChanged() override;
    void OnBorderStyleChanged() override;
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override;

private:
    // --- the edit window (TextBoxWWindow.cpp)
    void BuildEditWindow();
    void DestroyEditWindow();
    void RebuildEditWindow();
    void ApplyFont();
    void ApplyVisualStyles();
    void ApplyAlignment();
    void ApplyCueBanner();
    void SetStyleBit(DWORD bit, bool on);
    HWND CreateEditWindow(const wchar_t* className, DWORD style, DWORD exStyle);
    void ApplyNetAddressType();
    void ResetNetAddressResults();
    long QueryNetAddress(netaddress::NcAddress& query) const;
    bool ShowTip(const std::wstring& title, const std::wstring& text, int icon);

    // --- drag and drop (TextBoxWDragDrop.cpp)
    bool MouseOverSelection(POINT pt) const;
    POINT EditPointFromHost(float x, float y) const;
    void ScrollNearEdge(POINT pt);
    void ShowDropCaret(POINT pt);
    void HideDropCaret();
    void DropText(host::DataObject& data, long& effect, POINT pt);
    void SetMargin(WPARAM which, double margin);
    HWND HostWindow() const;
    SIZE HostClientSize() const;
    EditWindow Edit() const { return EditWindow(edit_.Get()); }

    // --- the window procedures (TextBoxWMessages.cpp)
    LRESULT EditWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditSetFocus(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditKillFocus(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditImeContext(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditSetText(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditContextMenu(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditChar(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditScroll(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditPaste(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditLeftButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void OverTypeBeforeChar(wchar_t c);
    void RaiseMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam);
    void RaiseClickIfInside(LPARAM lParam);
    void NoteTextChanged();

    // --- state
    host::UniqueWindow edit_;
    foundation::ScopedSubclass editSubclass_;  // declared after edit_: removed before it is destroyed
    foundation::ScopedSubclass hostSubclass_;
    host::UniqueFont hFont_;
    BalloonTip balloon_;  // ours, where the edit window shows no balloon tips itself
    DropCaret dropCaret_;  // where a drop would go, while something is dragged over the box
    HIMC imeContext_ = nullptr;  // owned: made when the edit window is built, destroyed with it
    wchar_t pendingChar_ = 0;
    bool clickPending_ = false;
    bool mouseOver_ = false;
    bool suppressChange_ = false;
    bool inResize_ = false;
    bool validating_ = false;
    bool overSelection_ = false;  // the mouse is over selected text (automatic drag)
    bool dragFromSelf_ = false;   // an automatic drag that started here is under way
    bool netAddressNative_ = false;  // the window is the system's "msctls_netaddress"
    WORD netFormat_ = 0;
    std::wstring netString_;
    USHORT netPort_ = 0;
    BYTE netPrefix_ = 0;
    std::wstring netError_;  // the description of the latest failed validation, for the error tip

    // --- stored properties (the common ones are LibraryControlBase's)
    std::wstring text_;
    long alignment_ = 0;
    bool allowOnlyNumbers_ = false;
    bool locked_ = false;
    bool hideSelection_ = true;
    wchar_t passwordChar_ = 0;
    bool useSystemPasswordChar_ = false;
    bool multiLine_ = false;
    long maxLength_ = 0;
    long scrollBars_ = 0;
    std::wstring cueBanner_;
    long characterCasing_ = 0;
    bool wantReturn_ = false;
    long imeMode_ = 0;
    bool netAddressValidator_ = false;
    long netAddressType_ = 0;
    bool allowOverType_ = false;
    bool overTypeMode_ = false;
};

}  // namespace controls

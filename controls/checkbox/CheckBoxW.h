// CheckBoxW: the library's Unicode check box on the Win32 "Button" window. It looks like a check
// box, like a push button that stays down (PushLike), like a graphical button it draws itself
// (Style 1), or is drawn by the program (DrawMode 1, the OwnerDraw event). Value is 0 unchecked,
// 1 checked, 2 grayed; the user toggles only between unchecked and checked.
//
// Windows and reference numbers: the button (1) and the host window (2) at run time; at design
// time only a graphical check box subclasses its host window (3), to draw itself.
//
//   CheckBoxW.cpp          life cycle, persistence, the properties
//   CheckBoxWButton.cpp    building, destroying and re-creating the button, resizing, Refresh
//   CheckBoxWMessages.cpp  the window procedures and the key-routing and browsing answers
//   CheckBoxWPictures.cpp  pictures, image lists, the transparent background, drawing requests
//   CheckBoxDrawing.cpp    the graphical style's drawing (themed and classic)
//   ButtonStyles.cpp       the button's styles as the properties imply them
#pragma once

#include "controls/checkbox/CheckBoxDrawing.h"
#include "controls/foundation/ISubclass.h"
#include "controls/foundation/LibraryControl.h"
#include "controls/foundation/Subclass.h"
#include "host/Control.h"
#include "host/Event.h"
#include "host/Handles.h"
#include "host/Timer.h"
#include "host/Value.h"

#include <commctrl.h>

#include <string>

namespace host {
class ImageList;
}

namespace controls {

struct ButtonStyleInputs;

class CheckBoxW : public foundation::LibraryControl<7>, public foundation::ISubclass {
    struct AcceleratorTraits {
        using Handle = HACCEL;
        static HACCEL Invalid() { return nullptr; }
        static void Close(HACCEL h) { DestroyAcceleratorTable(h); }
    };

public:
    // Dispatch identifiers of the events particular to this control (the standard ones are
    // host::dispid; the OLE events are 7..12, LibraryControl::OLEDispId).
    struct DispId {
        static constexpr long HotChanged = 1;
        static constexpr long OwnerDraw = 2;
        static constexpr long PreviewKeyDown = 3;
        static constexpr long PreviewKeyUp = 4;
        static constexpr long MouseEnter = 5;
        static constexpr long MouseLeave = 6;
    };
    // Reference numbers of the subclassed windows.
    static constexpr LONG_PTR ButtonWindowRef = 1;
    static constexpr LONG_PTR HostWindowRef = 2;
    static constexpr LONG_PTR DesignHostWindowRef = 3;
    // The name stored while no image list is bound.
    static constexpr const wchar_t* NoImageList = L"(None)";
    // The rule Style and DrawMode share.
    static constexpr const wchar_t* StyleDrawModeRule = L"Style must be 0 - Standard when DrawMode is not 0 - Normal";

    CheckBoxW() = default;
    ~CheckBoxW() override;

    // --- what the host calls ------------------------------------------------------------
    std::wstring TypeName() const override { return L"CheckBoxW"; }
    void Initialize(host::ControlSite& site) override;
    const foundation::PropertyTable& Properties() const override;
    void InitProperties() override;
    void ReadProperties(const host::PropertyBag& bag) override;
    void Resize() override;
    void Terminate() override;
    void IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                        LPARAM lParam, int shift) override;
    void IOleControlVB_GetControlInfo(bool& handled, long& accelCount, HACCEL& accelTable, long& flags) override;
    void IOleControlVB_OnMnemonic(bool& handled, UINT wMsg, WPARAM wParam, LPARAM lParam, int shift) override;
    // ImageList offers the image lists on the form; the other properties answer from the table.
    void IPerPropertyBrowsingVB_GetDisplayString(bool& handled, long dispId, std::wstring& displayName) override;
    void IPerPropertyBrowsingVB_GetPredefinedStrings(bool& handled, long dispId, std::vector<std::wstring>& strings,
                                                     std::vector<long>& cookies) override;
    void IPerPropertyBrowsingVB_GetPredefinedValue(bool& handled, long dispId, long cookie,
                                                   long& value) override;

    // --- windows --------------------------------------------------------------------------
    HWND hWnd() const { return button_.Get(); }
    HWND hWndUserControl() const;
    void Refresh();

    // --- properties -----------------------------------------------------------------------
    using LibraryControlBase::Font;
    using LibraryControlBase::VisualStyles;
    using LibraryControlBase::Appearance;
    using LibraryControlBase::BackColor;
    using LibraryControlBase::ForeColor;
    using LibraryControlBase::Enabled;
    using LibraryControlBase::OLEDropMode;
    using LibraryControlBase::MousePointer;
    using LibraryControlBase::MouseIcon;
    using LibraryControlBase::MouseTrack;
    using LibraryControlBase::RightToLeft;
    using LibraryControlBase::RightToLeftMode;

    // Image lists (comctl32 6): bound by the control or by its name on the form. Reading at
    // run time binds the stored name once and gives the bound list (null when none).
    host::ImageList* ImageList();
    void ImageList(host::ImageList* list);
    void ImageList(const std::wstring& name);
    // The stored name, "(None)" when none (what the design surface shows and the store keeps).
    const std::wstring& ImageListName() const { return imageListName_; }
    long ImageListAlignment() const { return imageListAlignment_; }
    void ImageListAlignment(long alignment) { Set(L"ImageListAlignment", alignment); }
    // In the container's units; kept and stored in pixels.
    double ImageListMargin() const;
    void ImageListMargin(double margin);

    // 0 unchecked, 1 checked, 2 grayed; -1 (True) is taken as 1. Raises Click when it changes.
    int Value() const;
    void Value(int value);
    void Value(bool checked) { Value(checked ? 1 : 0); }
    std::wstring Caption() const;
    void Caption(const std::wstring& caption);
    long Alignment() const { return alignment_; }
    void Alignment(long alignment) { Set(L"Alignment", alignment); }
    long TextAlignment() const { return textAlignment_; }
    void TextAlignment(long alignment) { Set(L"TextAlignment", alignment); }
    bool PushLike() const { return pushLike_; }
    void PushLike(bool on) { Set(L"PushLike", on); }
    const host::Picture& Picture() const { return picture_; }
    void Picture(host::Picture picture) { Set(L"Picture", std::move(picture)); }
    bool WordWrap() const { return wordWrap_; }
    void WordWrap(bool on) { Set(L"WordWrap", on); }
    bool Transparent() const { return transparent_; }
    void Transparent(bool on) { Set(L"Transparent", on); }
    long VerticalAlignment() const { return verticalAlignment_; }
    void VerticalAlignment(long alignment) { Set(L"VerticalAlignment", alignment); }
    long Style() const { return style_; }
    void Style(long style);
    const host::Picture& DisabledPicture() const { return disabledPicture_; }
    void DisabledPicture(host::Picture picture) { Set(L"DisabledPicture", std::move(picture)); }
    const host::Picture& DownPicture() const { return downPicture_; }
    void DownPicture(host::Picture picture) { Set(L"DownPicture", std::move(picture)); }
    bool UseMaskColor() const { return useMaskColor_; }
    void UseMaskColor(bool on) { Set(L"UseMaskColor", on); }
    unsigned long MaskColor() const { return maskColor_; }
    void MaskColor(unsigned long oleColor) { Set(L"MaskColor", oleColor); }
    long DrawMode() const { return drawMode_; }
    void DrawMode(long mode) { Set(L"DrawMode", mode); }
    // The button is held down (BM_GETSTATE / BM_SETSTATE); not stored.
    bool Pushed() const;
    void Pushed(bool on);
    // The mouse makes the button hot (comctl32 6); read-only (383).
    bool Hot() const;
    void Hot(bool on);

    // --- events -----------------------------------------------------------------------------
    host::Event<> Click;
    host::Event<int& /*KeyCode*/, int /*Shift*/> KeyDown;
    host::Event<int& /*KeyChar*/> KeyPress;
    host::Event<int& /*KeyCode*/, int /*Shift*/> KeyUp;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseDown;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseMove;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseUp;
    host::Event<> HotChanged;
    host::Event<long /*Action*/, long /*State*/, long /*hDC*/, long /*Left*/, long /*Top*/, long /*Right*/,
                long /*Bottom*/>
        OwnerDraw;
    host::Event<int /*KeyCode*/, bool& /*IsInputKey*/> PreviewKeyDown;
    host::Event<int /*KeyCode*/, bool& /*IsInputKey*/> PreviewKeyUp;
    host::Event<> MouseEnter;
    host::Event<> MouseLeave;

protected:
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override;
    // what the common properties do to the button
    void OnFontChanged() override { ApplyFont(); }
    void OnVisualStylesChanged() override;
    void OnColorsChanged() override { Refresh(); }
    void OnEnabledChanged() override;
    void OnAppearanceChanged() override { ApplyStyleBits(); }
    void OnRightToLeftChanged() override;

private:
    // --- the button window (CheckBoxWButton.cpp)
    ButtonStyleInputs StyleInputs() const;
    void CreateButton();
    void DestroyButton();
    void RecreateButton();
    void ApplyFont();
    void ApplyVisualStyles();
    void ApplyCaption();
    void ApplyValue();
    void ApplyStyleBits();
    bool IsOwnerDrawn() const;
    bool IsGraphical() const { return style_ == 1 && drawMode_ == 0; }
    HWND HostWindow() const;
    SIZE HostClientSize() const;
    void UpdateAccessKey();
    void DropBrushes();

    // --- the window procedures (CheckBoxWMessages.cpp)
    LRESULT ButtonWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DesignHostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonChar(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonDoubleClick(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonThemeChanged(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostNotify(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void RaiseMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam);
    void MouseMoved();
    void MouseLeftButton();
    void Toggle();

    // --- pictures, image lists, backgrounds, drawing (CheckBoxWPictures.cpp)
    void ApplyPicture();
    void ClearButtonImages(DWORD& style);
    void BindImageListHandle(HIMAGELIST list);
    void RebindImageList();
    void BindImageListByName(const std::wstring& name);
    host::ImageList* BoundImageList() const;
    void OnImageListTimer();
    LRESULT OnControlColor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
    HBRUSH TransparentBrush();
    HBRUSH CheckedBrush();
    GraphicalLook LookFor(const DRAWITEMSTRUCT& item);

    // --- state
    host::UniqueWindow button_;
    foundation::ScopedSubclass buttonSubclass_;  // declared after button_: removed before it is destroyed
    foundation::ScopedSubclass hostSubclass_;
    host::UniqueFont hFont_;
    host::UniqueHandle<AcceleratorTraits> accelerators_;
    host::UniqueBrush transparentBrush_;
    host::UniqueBrush checkedBrush_;
    host::Timer imageListTimer_;  // binds the stored image list name once, after loading
    HIMAGELIST imageListHandle_ = nullptr;  // borrowed from the bound image list control
    wchar_t pendingChar_ = 0;
    bool hot_ = false;     // the graphical button is drawn hot
    bool ownHot_ = false;  // the hot state kept here for a button that keeps none
    bool mouseOver_ = false;
    bool themesActive_ = false;
    bool inResize_ = false;
    bool validating_ = false;
    short nextCommandId_ = 1000;
    long mnemonicKey_ = 0;  // virtual key of the accelerator table's entry, 0 when none
    bool rightToLeftApplied_ = false;  // RightToLeft as the alignments last followed it

    // --- stored properties
    std::wstring imageListName_ = NoImageList;
    std::wstring imageListSite_;   // the bound control, by name (a weak reference)
    int imageListSiteIndex_ = -1;
    bool imageListBound_ = false;  // a control is referenced (by object or resolved name)
    bool imageListResolved_ = false;
    long imageListAlignment_ = 0;
    long imageListMargin_ = 0;  // pixels
    int value_ = 0;
    std::wstring caption_;
    long alignment_ = 0;
    long textAlignment_ = 0;
    bool pushLike_ = false;
    host::Picture picture_;
    bool wordWrap_ = true;
    bool transparent_ = false;
    long verticalAlignment_ = 1;
    long style_ = 0;
    host::Picture disabledPicture_;
    host::Picture downPicture_;
    bool useMaskColor_ = false;
    unsigned long maskColor_ = 0xC0C0C0;
    long drawMode_ = 0;
};

}  // namespace controls

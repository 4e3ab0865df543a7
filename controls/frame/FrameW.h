// FrameW: the library's Unicode group frame. It has no child window of its own: it draws its
// box and caption into its host window's persistent image, which shows behind the controls it
// contains, and subclasses
// the host window (reference 0) for printing, the mouse pointer and mouse tracking. The host
// window's text is the caption, so accessibility tools and test drivers can read it.
#pragma once

#include "controls/foundation/ISubclass.h"
#include "controls/foundation/LibraryControl.h"
#include "controls/foundation/Subclass.h"
#include "controls/frame/FrameDrawing.h"
#include "host/Control.h"
#include "host/Event.h"
#include "host/Value.h"

#include <string>
#include <vector>

namespace controls {

class FrameW : public foundation::LibraryControl<3>, public foundation::ISubclass {
public:
    struct DispId {
        static constexpr long MouseEnter = 1;
        static constexpr long MouseLeave = 2;
    };
    static constexpr LONG_PTR HostWindowRef = 0;

    FrameW() = default;
    ~FrameW() override;

    // --- what the host calls ------------------------------------------------------------
    std::wstring TypeName() const override { return L"FrameW"; }
    bool IsContainer() const override { return true; }
    bool CanGetFocus() const override { return false; }
    void Initialize(host::ControlSite& site) override;
    void InitProperties() override;
    void ReadProperties(const host::PropertyBag& bag) override;
    void Resize() override;
    void AmbientChanged(const std::wstring& name) override;
    void Terminate() override;

    // --- windows --------------------------------------------------------------------------
    HWND hWnd() const;
    // The controls placed inside the frame, in their stored order.
    const std::vector<host::ControlSite*>& ContainedControls() const { return Site().Children(); }
    void Refresh();

    // --- properties -----------------------------------------------------------------------
    // The table of every persisted property (names, defaults, ranges, browsing texts).
    const foundation::PropertyTable& Properties() const override;
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
    using LibraryControlBase::BorderStyle;
    const std::wstring& Caption() const { return caption_; }
    void Caption(const std::wstring& caption);
    long Alignment() const { return alignment_; }
    void Alignment(long alignment);
    bool Transparent() const { return transparent_; }
    void Transparent(bool on);
    // The picture beside the caption (or alone in the top line); none by default.
    const host::Picture& Picture() const { return picture_; }
    void Picture(host::Picture picture);
    long PictureAlignment() const { return pictureAlignment_; }
    void PictureAlignment(long alignment);

    // --- events -----------------------------------------------------------------------------
    host::Event<> Click;
    host::Event<> DblClick;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseDown;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseMove;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseUp;
    host::Event<> MouseEnter;
    host::Event<> MouseLeave;

protected:
    // Every visual change redraws the frame.
    void OnFontChanged() override { DrawFrame(); }
    void OnVisualStylesChanged() override { DrawFrame(); }
    void OnColorsChanged() override { DrawFrame(); }
    void OnEnabledChanged() override { DrawFrame(); }
    void OnAppearanceChanged() override { DrawFrame(); }
    void OnBorderStyleChanged() override { DrawFrame(); }
    void OnRightToLeftChanged() override;
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override;

private:
    LRESULT HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnThemeChanged(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(HWND hwnd, WPARAM wParam, LPARAM lParam);
    bool MouseGoesToChild(HWND hwnd, LPARAM lParam) const;
    void PressButton(HWND hwnd, int button);
    bool ReleaseButton(HWND hwnd, int button);
    static bool InsideClient(HWND hwnd, LPARAM lParam);
    void RaiseMouseEvent(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool OverWindowlessChild(LPARAM lParam) const;
    void Subclass();
    FrameLook Look() const;
    void PaintContainerBackground(HDC dc);
    void DrawFrame();
    void ApplyRightToLeftAlignment();
    void ShowCaptionAsWindowText();

    foundation::ScopedSubclass hostSubclass_;
    bool mouseOver_ = false;
    bool leftDown_ = false;       // a left press on the frame that a release inside makes a Click
    int pressedButtons_ = 0;      // buttons pressed on the frame itself (1 left, 2 right, 4 middle)
    bool inResize_ = false;

    std::wstring caption_;
    long alignment_ = 0;
    bool transparent_ = false;
    long pictureAlignment_ = 0;
    host::Picture picture_;
};

}  // namespace controls

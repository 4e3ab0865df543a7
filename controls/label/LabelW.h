// LabelW: the library's windowless Unicode label. It has no window: the host lends it a
// rectangle of its container, on which it draws its caption with DrawTextW, and routes the
// container's mouse input to it. Auto-size keeps the right edge, centre or bottom in place.
#pragma once

#include "controls/foundation/LibraryControl.h"
#include "controls/label/LabelDrawing.h"
#include "host/Control.h"
#include "host/Event.h"
#include "host/Timer.h"
#include "host/Value.h"

#include <string>

namespace controls {

class LabelW : public foundation::LibraryControl<4> {
public:
    struct DispId {
        static constexpr long Change = 1;
        static constexpr long MouseEnter = 2;
        static constexpr long MouseLeave = 3;
    };

    LabelW() = default;
    ~LabelW() override;

    // --- what the host calls ------------------------------------------------------------
    std::wstring TypeName() const override { return L"LabelW"; }
    host::SurfaceKind Surface() const override { return host::SurfaceKind::Windowless; }
    void Initialize(host::ControlSite& site) override;
    void InitProperties() override;
    void ReadProperties(const host::PropertyBag& bag) override;
    void Resize() override;
    void Terminate() override;
    void Paint(HDC dc) override;
    host::HitResult HitTest(POINT pt, host::HitResult hostAnswer) override;
    void OnSurfaceMouseDown(int button, int shift, int x, int y) override;
    void OnSurfaceMouseMove(int button, int shift, int x, int y) override;
    void OnSurfaceMouseUp(int button, int shift, int x, int y) override;
    void OnSurfaceClick() override;
    void OnSurfaceDblClick() override;

    // --- properties -----------------------------------------------------------------------
    // The table of every persisted property (names, defaults, ranges, browsing texts).
    const foundation::PropertyTable& Properties() const override;
    using LibraryControlBase::Font;
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
    long Alignment() const { return look_.alignment; }
    void Alignment(long alignment);
    int BackStyle() const;
    void BackStyle(int style);
    const std::wstring& Caption() const { return look_.caption; }
    void Caption(const std::wstring& caption);
    const std::wstring& Default() const { return Caption(); }
    void Default(const std::wstring& caption) { Caption(caption); }
    bool UseMnemonic() const { return look_.useMnemonic; }
    void UseMnemonic(bool on);
    bool AutoSize() const { return autoSize_; }
    void AutoSize(bool on);
    bool WordWrap() const { return look_.wordWrap; }
    void WordWrap(bool on);
    long EllipsisFormat() const { return look_.ellipsisFormat; }
    void EllipsisFormat(long format);
    long VerticalAlignment() const { return look_.verticalAlignment; }
    void VerticalAlignment(long alignment);
    // The caption as last drawn (after an ellipsis shortened it).
    const std::wstring& DisplayedCaption() const { return displayed_; }
    // Updates, then paints at once.
    void Refresh();

    // --- events -----------------------------------------------------------------------------
    host::Event<> Click;
    host::Event<> DblClick;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseDown;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseMove;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseUp;
    host::Event<> Change;
    host::Event<> MouseEnter;
    host::Event<> MouseLeave;

protected:
    void OnFontChanged() override;
    void OnColorsChanged() override { Update(); }
    void OnAppearanceChanged() override;
    void OnRightToLeftChanged() override { Update(); }
    void OnBorderStyleChanged() override;

private:
    // The look as drawn: the label's own settings with the common RightToLeft and BorderStyle.
    LabelLook Look() const;
    void Update();
    void AutoSizeStep();
    void ApplyAccessKey();
    void Remeasure();
    void OnTrackTimer();
    float TwipsX(int px) const;
    float TwipsY(int py) const;
    HWND ContainerWindow() const;

    LabelLook look_;
    std::wstring displayed_;
    bool autoSize_ = false;
    bool sizePending_ = false;
    bool paintingSuppressed_ = false;
    bool mouseInside_ = false;
    DWORD lastMousePos_ = 0;
    bool inResize_ = false;
    host::Timer trackTimer_;
};

}  // namespace controls

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
    void WriteProperties(host::PropertyBag& bag) override;
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
    const host::FontDesc& Font() const { return font_; }
    void Font(const host::FontDesc& font);
    int Appearance() const;
    void Appearance(int value);
    unsigned long BackColor() const;
    void BackColor(unsigned long oleColor);
    unsigned long ForeColor() const;
    void ForeColor(unsigned long oleColor);
    bool Enabled() const;
    void Enabled(bool on);
    int MousePointer() const { return mousePointer_; }
    void MousePointer(int value);
    bool RightToLeft() const { return look_.rightToLeft; }
    void RightToLeft(bool on);
    long RightToLeftMode() const { return rightToLeftMode_; }
    void RightToLeftMode(long mode);
    long Alignment() const { return look_.alignment; }
    void Alignment(long alignment);
    long BorderStyle() const { return look_.borderStyle; }
    void BorderStyle(long style);
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

private:
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
    host::FontDesc font_;
    int mousePointer_ = 0;
    long rightToLeftMode_ = 1;
    bool autoSize_ = false;
    bool sizePending_ = false;
    bool paintingSuppressed_ = false;
    bool mouseInside_ = false;
    DWORD lastMousePos_ = 0;
    bool inResize_ = false;
    host::Timer trackTimer_;
};

}  // namespace controls

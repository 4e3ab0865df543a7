// LabelW: life cycle, persistence, the properties, painting and auto-size.
#include "controls/label/LabelW.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/VTableHandle.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/Handles.h"
#include "host/WindowlessSurface.h"

#include <utility>

namespace controls {

LabelW::~LabelW() = default;

// --- life cycle ---------------------------------------------------------------------------

void LabelW::Initialize(host::ControlSite& site) {
    Control::Initialize(site);
    foundation::ShellLibraryAddRef();
    foundation::HookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    trackTimer_ = site.CreateTimer(50, [this] { OnTrackTimer(); });
}

const foundation::PropertyTable& LabelW::Properties() const {
    using foundation::Field;
    using foundation::NewValue;
    using T = LabelW;
    static const foundation::PropertyTable table{
        FontProperty().AmbientFontDefault(),
        AppearanceProperty(),  // before ForeColor and BorderStyle, whose stored values win over it
        BackColorProperty(foundation::SystemColorButtonFace),
        ForeColorProperty(foundation::SystemColorButtonText),
        EnabledProperty(),
        OLEDropModeProperty(),
        MousePointerProperty(),
        MouseIconProperty(),
        MouseTrackProperty(),
        RightToLeftProperty(),
        RightToLeftModeProperty(),
        Field(L"Alignment", &T::look_, &LabelLook::alignment, 0L).Range(0, 2).New(NewValue::OneIfAmbientRightToLeft),
        BorderStyleProperty(0, 4),
        foundation::Accessor<T>(L"BackStyle", 1L, [](const T& c) { return host::Value(c.BackStyle()); },
                                [](T& c, const host::Value& v) { c.SurfaceOf().BackStyle(static_cast<int>(v.AsLong())); })
            .Range(0, 1)
            .New(NewValue::Surface),
        Field(L"Caption", &T::look_, &LabelLook::caption).New(NewValue::AmbientDisplayName),
        Field(L"UseMnemonic", &T::look_, &LabelLook::useMnemonic, true),
        Field(L"AutoSize", &T::autoSize_, false),
        Field(L"WordWrap", &T::look_, &LabelLook::wordWrap, false),
        Field(L"EllipsisFormat", &T::look_, &LabelLook::ellipsisFormat, 0L).Range(0, 3),
        Field(L"VerticalAlignment", &T::look_, &LabelLook::verticalAlignment, 0L).Range(0, 2),
    };
    return table;
}

// A new label registers no access key and measures nothing.
void LabelW::InitProperties() { LibraryControlBase::InitProperties(); }

// Values come as stored, without validation, and the stored size stands: nothing is measured.
void LabelW::ReadProperties(const host::PropertyBag& bag) {
    LibraryControlBase::ReadProperties(bag);
    ApplyAccessKey();
}

void LabelW::Resize() {
    if (inResize_) return;
    inResize_ = true;
    if (foundation::TwipsPerPixelCorrection() != 1.0) foundation::ReapplySiteRects(*this);
    Update();
    inResize_ = false;
}

void LabelW::Terminate() {
    foundation::UnhookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    trackTimer_ = host::Timer();
    foundation::ShellLibraryRelease();
}

HWND LabelW::ContainerWindow() const { return Site().Windowless()->ContainerWindow(); }

// --- painting and sizing ------------------------------------------------------------------

void LabelW::Paint(HDC dc) {
    if (paintingSuppressed_) return;
    const host::WindowlessSurface& surface = *Site().Windowless();
    SIZE size{surface.WidthPixels(), surface.HeightPixels()};
    RECT rc{0, 0, size.cx, size.cy};
    surface.PaintBackground(dc, rc);
    host::SelectObjectGuard font(dc, surface.FontHandle());
    COLORREF oldColor = SetTextColor(dc, surface.Enabled() ? surface.ForeRgb() : GetSysColor(COLOR_GRAYTEXT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    displayed_ = PaintLabel(dc, size, Look(), displayed_);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
}

void LabelW::Remeasure() { sizePending_ = autoSize_; }

LabelLook LabelW::Look() const {
    LabelLook look = look_;
    look.rightToLeft = rightToLeft_;
    look.borderStyle = borderStyle_;
    return look;
}

// The flag is cleared before measuring: the step's own move re-enters the update through the
// resize, and that update must not measure a second time.
void LabelW::Update() {
    if (std::exchange(sizePending_, false)) AutoSizeStep();
    Site().Windowless()->Refresh();
}

// Measures on a memory DC with the label's font and resizes the control to the caption,
// keeping the edge its alignment anchors: a right-aligned label grows to the left, a centred
// one both ways, a bottom-aligned one upwards.
void LabelW::AutoSizeStep() {
    host::WindowDC screen(nullptr);
    if (!screen) return;
    host::UniqueMemoryDC memory(CreateCompatibleDC(screen.Get()));
    if (!memory) return;
    host::UniqueFont font = foundation::CreateControlFont(font_);
    SIZE need;
    {
        host::SelectObjectGuard selected(memory.Get(), font.Get());
        const host::WindowlessSurface& surface = *Site().Windowless();
        need = MeasureLabel(memory.Get(), SIZE{surface.WidthPixels(), surface.HeightPixels()}, Look());
    }
    host::ControlSite& site = Site();
    double right = site.Left() + site.Width(), centre = site.Left() + site.Width() / 2;
    double bottom = site.Top() + site.Height(), middle = site.Top() + site.Height() / 2;
    double width = site.ScaleX(need.cx, host::ScaleUnit::Pixels, host::ScaleUnit::Container);
    double height = site.ScaleY(need.cy, host::ScaleUnit::Pixels, host::ScaleUnit::Container);
    site.Move(site.Left(), site.Top(), width, height);
    paintingSuppressed_ = true;
    if (look_.alignment == 1 && site.Left() != right - site.Width()) site.Left(right - site.Width());
    if (look_.alignment == 2 && site.Left() != centre - site.Width() / 2) site.Left(centre - site.Width() / 2);
    if (look_.verticalAlignment == 1 && site.Top() != middle - site.Height() / 2) site.Top(middle - site.Height() / 2);
    if (look_.verticalAlignment == 2 && site.Top() != bottom - site.Height()) site.Top(bottom - site.Height());
    paintingSuppressed_ = false;
}

// Bounded: a container that never validates its update region must not hold the caller here.
void LabelW::Refresh() {
    Update();
    HWND container = ContainerWindow();
    MSG msg;
    for (int i = 0; i < 16 && PeekMessageW(&msg, container, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) DispatchMessageW(&msg);
}

void LabelW::ApplyAccessKey() {
    UINT key = look_.useMnemonic ? foundation::MnemonicKeyOf(look_.caption) : 0;
    Site().AccessKeys(key ? std::wstring(1, static_cast<wchar_t>(key)) : std::wstring());
}

// --- properties ---------------------------------------------------------------------------

// --- what the common properties do to the label ------------------------------------------------

void LabelW::OnFontChanged() {
    Remeasure();
    Update();
}

// Flat takes a single border, 3D a sunken one (the surface gave the colour); no border stays
// no border.
void LabelW::OnAppearanceChanged() {
    if (borderStyle_ != 0) borderStyle_ = Appearance() == 0 ? 1 : 3;
    Update();
}

void LabelW::OnBorderStyleChanged() {
    Remeasure();
    Update();
}

// --- the label's own properties -------------------------------------------------------------

void LabelW::Alignment(long alignment) {
    if (Reject(L"Alignment", alignment)) return;
    look_.alignment = alignment;
    Update();
    Changed(L"Alignment");
}

int LabelW::BackStyle() const { return Site().Windowless()->BackStyle(); }

void LabelW::BackStyle(int style) {
    if (Reject(L"BackStyle", style)) return;
    Site().Windowless()->BackStyle(style);
    Update();
    Changed(L"BackStyle");
}

// The same text again changes nothing and raises no Change.
void LabelW::Caption(const std::wstring& caption) {
    if (caption == look_.caption) return;
    look_.caption = caption;
    if (look_.useMnemonic) ApplyAccessKey();
    Remeasure();
    Update();
    Changed(L"Caption");
    Site().DataChanged(true);
    Site().RaiseEvent(DispId::Change, Change);
}

void LabelW::UseMnemonic(bool on) {
    look_.useMnemonic = on;
    ApplyAccessKey();
    Remeasure();
    Update();
    Changed(L"UseMnemonic");
}

void LabelW::AutoSize(bool on) {
    autoSize_ = on;
    Remeasure();
    Update();
    Changed(L"AutoSize");
}

void LabelW::WordWrap(bool on) {
    look_.wordWrap = on;
    Remeasure();
    Update();
    Changed(L"WordWrap");
}

void LabelW::EllipsisFormat(long format) {
    if (Reject(L"EllipsisFormat", format)) return;
    look_.ellipsisFormat = format;
    Remeasure();
    Update();
    Changed(L"EllipsisFormat");
}

void LabelW::VerticalAlignment(long alignment) {
    if (Reject(L"VerticalAlignment", alignment)) return;
    look_.verticalAlignment = alignment;
    Update();
    Changed(L"VerticalAlignment");
}

}  // namespace controls

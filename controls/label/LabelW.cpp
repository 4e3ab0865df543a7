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

namespace controls {

LabelW::~LabelW() = default;

// --- life cycle ---------------------------------------------------------------------------

void LabelW::Initialize(host::ControlSite& site) {
    Control::Initialize(site);
    foundation::ShellLibraryAddRef();
    foundation::HookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    trackTimer_ = site.CreateTimer(50, [this] { OnTrackTimer(); });
}

void LabelW::InitProperties() {
    designMode_ = !Site().AmbientUserMode();
    font_ = Site().AmbientFont();
    Site().Windowless()->Font(font_);
    look_.caption = Site().AmbientDisplayName();
    look_.rightToLeft = Site().AmbientRightToLeft();
    look_.alignment = look_.rightToLeft ? 1 : 0;
    if (look_.rightToLeft) Site().Windowless()->RightToLeft(true);
}

// Values come as stored, without validation, and the stored size stands: nothing is measured.
void LabelW::ReadProperties(const host::PropertyBag& bag) {
    designMode_ = !Site().AmbientUserMode();
    host::WindowlessSurface& surface = *Site().Windowless();
    host::Value font = bag.Read(L"Font");
    font_ = font.GetKind() == host::Value::Kind::Font ? font.AsFont() : Site().AmbientFont();
    surface.Font(font_);
    int appearance = static_cast<int>(bag.Read(L"Appearance", 1L).AsLong());
    surface.Appearance(appearance);
    surface.BackColor(static_cast<unsigned long>(bag.Read(L"BackColor", foundation::SystemColorButtonFace).AsLong()));
    surface.ForeColor(static_cast<unsigned long>(bag.Read(L"ForeColor", foundation::SystemColorButtonText).AsLong()));
    surface.Enabled(bag.Read(L"Enabled", true).AsBool());
    ReadOLEDropMode(bag);
    mousePointer_ = static_cast<int>(bag.Read(L"MousePointer", 0L).AsLong());
    mouseTrack_ = bag.Read(L"MouseTrack", false).AsBool();
    look_.rightToLeft = bag.Read(L"RightToLeft", false).AsBool();
    rightToLeftMode_ = bag.Read(L"RightToLeftMode", 1L).AsLong();
    if (look_.rightToLeft) surface.RightToLeft(true);
    look_.alignment = bag.Read(L"Alignment", 0L).AsLong();
    look_.borderStyle = bag.Read(L"BorderStyle", 0L).AsLong();
    surface.BackStyle(static_cast<int>(bag.Read(L"BackStyle", 1L).AsLong()));
    look_.caption = foundation::PersistVariantToString(bag.Read(L"Caption"));
    look_.useMnemonic = bag.Read(L"UseMnemonic", true).AsBool();
    autoSize_ = bag.Read(L"AutoSize", false).AsBool();
    look_.wordWrap = bag.Read(L"WordWrap", false).AsBool();
    look_.ellipsisFormat = bag.Read(L"EllipsisFormat", 0L).AsLong();
    look_.verticalAlignment = bag.Read(L"VerticalAlignment", 0L).AsLong();
    ApplyAccessKey();
}

void LabelW::WriteProperties(host::PropertyBag& bag) {
    bag.Write(L"Font", font_, Site().AmbientFont());
    bag.Write(L"Appearance", Appearance(), 1);
    bag.Write(L"BackColor", BackColor(), foundation::SystemColorButtonFace);
    bag.Write(L"ForeColor", ForeColor(), foundation::SystemColorButtonText);
    bag.Write(L"Enabled", Enabled(), true);
    bag.Write(L"OLEDropMode", oleDropMode_, 0L);
    bag.Write(L"MousePointer", mousePointer_, 0);
    bag.Write(L"MouseTrack", mouseTrack_, false);
    bag.Write(L"RightToLeft", look_.rightToLeft, false);
    bag.Write(L"RightToLeftMode", rightToLeftMode_, 1L);
    bag.Write(L"Alignment", look_.alignment, 0L);
    bag.Write(L"BorderStyle", look_.borderStyle, 0L);
    bag.Write(L"BackStyle", BackStyle(), 1);
    bag.Write(L"Caption", foundation::PersistStringToVariant(look_.caption));
    bag.Write(L"UseMnemonic", look_.useMnemonic, true);
    bag.Write(L"AutoSize", autoSize_, false);
    bag.Write(L"WordWrap", look_.wordWrap, false);
    bag.Write(L"EllipsisFormat", look_.ellipsisFormat, 0L);
    bag.Write(L"VerticalAlignment", look_.verticalAlignment, 0L);
}

void LabelW::Resize() {
    if (inResize_) return;
    inResize_ = true;
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
    displayed_ = PaintLabel(dc, size, look_, displayed_);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
}

void LabelW::Remeasure() { sizePending_ = autoSize_; }

void LabelW::Update() {
    if (sizePending_) AutoSizeStep();
    sizePending_ = false;
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
        need = MeasureLabel(memory.Get(), SIZE{surface.WidthPixels(), surface.HeightPixels()}, look_);
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

void LabelW::Font(const host::FontDesc& font) {
    font_ = font;
    Site().Windowless()->Font(font_);
    Remeasure();
    Update();
    Changed(L"Font");
}

int LabelW::Appearance() const { return Site().Windowless()->Appearance(); }

// Flat takes the window-text colour and a single border, 3D the button-text colour and a
// sunken border; no border stays no border.
void LabelW::Appearance(int value) {
    if (foundation::RejectOutOfRange(value, 0, 1, designMode_)) return;
    Site().Windowless()->Appearance(value);
    Site().Windowless()->ForeColor(value == 0 ? foundation::SystemColorWindowText : foundation::SystemColorButtonText);
    if (look_.borderStyle != 0) look_.borderStyle = value == 0 ? 1 : 3;
    Update();
    Changed(L"Appearance");
}

unsigned long LabelW::BackColor() const { return Site().Windowless()->BackColor(); }

void LabelW::BackColor(unsigned long oleColor) {
    Site().Windowless()->BackColor(oleColor);
    Update();
    Changed(L"BackColor");
}

unsigned long LabelW::ForeColor() const { return Site().Windowless()->ForeColor(); }

void LabelW::ForeColor(unsigned long oleColor) {
    Site().Windowless()->ForeColor(oleColor);
    Update();
    Changed(L"ForeColor");
}

bool LabelW::Enabled() const { return Site().Windowless()->Enabled(); }

void LabelW::Enabled(bool on) {
    Site().Windowless()->Enabled(on);
    Changed(L"Enabled");
}

void LabelW::MousePointer(int value) {
    if (foundation::RejectMousePointer(value, designMode_)) return;
    mousePointer_ = value;
    Changed(L"MousePointer");
}

void LabelW::RightToLeft(bool on) {
    look_.rightToLeft = on;
    Site().Windowless()->RightToLeft(on);
    foundation::ResolveRightToLeft(look_.rightToLeft, Site().Windowless()->RightToLeft(), rightToLeftMode_);
    Update();
    Changed(L"RightToLeft");
}

void LabelW::RightToLeftMode(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 4, designMode_)) return;
    rightToLeftMode_ = mode;
    RightToLeft(look_.rightToLeft);
    Changed(L"RightToLeftMode");
}

void LabelW::Alignment(long alignment) {
    if (foundation::RejectOutOfRange(alignment, 0, 2, designMode_)) return;
    look_.alignment = alignment;
    Update();
    Changed(L"Alignment");
}

void LabelW::BorderStyle(long style) {
    if (foundation::RejectOutOfRange(style, 0, 4, designMode_)) return;
    look_.borderStyle = style;
    Remeasure();
    Update();
    Changed(L"BorderStyle");
}

int LabelW::BackStyle() const { return Site().Windowless()->BackStyle(); }

void LabelW::BackStyle(int style) {
    if (foundation::RejectOutOfRange(style, 0, 1, designMode_)) return;
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
    if (foundation::RejectOutOfRange(format, 0, 3, designMode_)) return;
    look_.ellipsisFormat = format;
    Remeasure();
    Update();
    Changed(L"EllipsisFormat");
}

void LabelW::VerticalAlignment(long alignment) {
    if (foundation::RejectOutOfRange(alignment, 0, 2, designMode_)) return;
    look_.verticalAlignment = alignment;
    Update();
    Changed(L"VerticalAlignment");
}

}  // namespace controls

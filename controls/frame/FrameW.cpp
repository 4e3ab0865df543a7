// FrameW: life cycle, persistence, the properties and drawing.
#include "controls/frame/FrameW.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/foundation/VisualStyles.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <utility>

namespace controls {

FrameW::~FrameW() = default;

// --- life cycle ---------------------------------------------------------------------------

void FrameW::Initialize(host::ControlSite& site) {
    Control::Initialize(site);
    foundation::ShellLibraryAddRef();
    foundation::HookControlInterfaces(*this, foundation::HookPropertyBrowsing);
}

void FrameW::InitProperties() {
    designMode_ = !Site().AmbientUserMode();
    Site().HostWin()->Font(Site().AmbientFont());
    rightToLeft_ = Site().AmbientRightToLeft();
    if (rightToLeft_) Site().HostWin()->RightToLeft(true);
    caption_ = Site().AmbientDisplayName();
    alignment_ = pictureAlignment_ = rightToLeft_ ? 1 : 0;
    ShowCaptionAsWindowText();
    if (!designMode_) hostSubclass_ = foundation::ScopedSubclass(hWnd(), this, HostWindowRef);
}

// Appearance is read before ForeColor, so a stored ForeColor wins over the one it implies.
void FrameW::ReadProperties(const host::PropertyBag& bag) {
    designMode_ = !Site().AmbientUserMode();
    host::HostWindow& host = *Site().HostWin();
    host::Value font = bag.Read(L"Font");
    host.Font(font.GetKind() == host::Value::Kind::Font ? font.AsFont() : Site().AmbientFont());
    visualStyles_ = bag.Read(L"VisualStyles", true).AsBool();
    int appearance = static_cast<int>(bag.Read(L"Appearance", 1L).AsLong());
    host.Appearance(appearance);
    host.ForeColor(appearance == 0 ? foundation::SystemColorWindowText : foundation::SystemColorButtonText);
    host.BackColor(static_cast<unsigned long>(bag.Read(L"BackColor", foundation::SystemColorButtonFace).AsLong()));
    host.ForeColor(static_cast<unsigned long>(bag.Read(L"ForeColor", foundation::SystemColorButtonText).AsLong()));
    host.Enabled(bag.Read(L"Enabled", true).AsBool());
    ReadOLEDropMode(bag);
    mousePointer_ = static_cast<int>(bag.Read(L"MousePointer", 0L).AsLong());
    mouseTrack_ = bag.Read(L"MouseTrack", false).AsBool();
    rightToLeft_ = bag.Read(L"RightToLeft", false).AsBool();
    rightToLeftMode_ = bag.Read(L"RightToLeftMode", 1L).AsLong();
    if (rightToLeft_) host.RightToLeft(true);
    borderStyle_ = static_cast<int>(bag.Read(L"BorderStyle", 1L).AsLong());
    caption_ = foundation::PersistVariantToString(bag.Read(L"Caption"));
    alignment_ = bag.Read(L"Alignment", 0L).AsLong();
    transparent_ = bag.Read(L"Transparent", false).AsBool();
    picture_ = bag.Read(L"Picture").AsPicture();
    pictureAlignment_ = bag.Read(L"PictureAlignment", 0L).AsLong();
    ShowCaptionAsWindowText();
    if (!designMode_) hostSubclass_ = foundation::ScopedSubclass(hWnd(), this, HostWindowRef);
}

void FrameW::WriteProperties(host::PropertyBag& bag) {
    bag.Write(L"Font", Font());
    bag.Write(L"VisualStyles", visualStyles_, true);
    bag.Write(L"Appearance", Appearance(), 1);
    bag.Write(L"BackColor", BackColor(), foundation::SystemColorButtonFace);
    bag.Write(L"ForeColor", ForeColor(), foundation::SystemColorButtonText);
    bag.Write(L"Enabled", Enabled(), true);
    bag.Write(L"OLEDropMode", oleDropMode_, 0L);
    bag.Write(L"MousePointer", mousePointer_, 0);
    bag.Write(L"MouseTrack", mouseTrack_, false);
    bag.Write(L"RightToLeft", rightToLeft_, false);
    bag.Write(L"RightToLeftMode", rightToLeftMode_, 1L);
    bag.Write(L"BorderStyle", borderStyle_, 1);
    bag.Write(L"Caption", foundation::PersistStringToVariant(caption_));
    bag.Write(L"Alignment", alignment_, 0L);
    bag.Write(L"Transparent", transparent_, false);
    bag.Write(L"Picture", picture_);
    bag.Write(L"PictureAlignment", pictureAlignment_, 0L);
}

void FrameW::Resize() {
    if (inResize_) return;
    inResize_ = true;
    DrawFrame();
    inResize_ = false;
}

void FrameW::Terminate() {
    foundation::UnhookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    hostSubclass_.Reset();
    foundation::ShellLibraryRelease();
}

HWND FrameW::hWnd() const { return HasSite() && Site().HostWin() ? Site().HostWin()->hWnd() : nullptr; }

// --- drawing ------------------------------------------------------------------------------

FrameLook FrameW::Look() const {
    const host::HostWindow& host = *Site().HostWin();
    FrameLook look;
    look.caption = caption_;
    look.alignment = alignment_;
    look.appearance = host.Appearance();
    look.borderStyle = borderStyle_;
    look.rightToLeft = rightToLeft_;
    look.enabled = host.Enabled();
    look.themed = visualStyles_ && foundation::VisualStylesActive();
    look.foreColor = host.ForeRgb();
    look.comCtlLevel = foundation::ComCtlVersionLevel();
    look.scale = foundation::DpiScaleX();
    look.pictureAlignment = pictureAlignment_;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    OLE_HANDLE handle = 0;
    if (picture_ && SUCCEEDED(picture_->get_Handle(&handle)) && handle && SUCCEEDED(picture_->get_Width(&width)) &&
        SUCCEEDED(picture_->get_Height(&height))) {
        look.picture = {foundation::HimetricToPixelsX(width), foundation::HimetricToPixelsY(height)};
        look.drawPicture = [this](HDC dc, const RECT& rc) { foundation::RenderPicture(dc, picture_, rc); };
    }
    return look;
}

// The host has filled the background and selected the font; the box goes on top of it.
void FrameW::Paint(HDC dc) {
    if (transparent_) PaintContainerBackground(dc);
    RECT client{};
    GetClientRect(hWnd(), &client);
    DrawFrameBox(dc, hWnd(), client, Look());
}

// A transparent frame shows what its container paints under it: the container paints into our
// DC (WM_PAINT with the DC given), shifted so that its pixels land where they lie beneath us.
void FrameW::PaintContainerBackground(HDC dc) {
    HWND container = Site().ContainerWindow();
    RECT rc{};
    GetWindowRect(hWnd(), &rc);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rc), 2);
    POINT old{};
    OffsetViewportOrgEx(dc, -rc.left, -rc.top, &old);
    SendMessageW(container, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

// The drawing is made when the host window paints; a change only asks for that.
void FrameW::DrawFrame() {
    if (hWnd()) Site().HostWin()->Refresh();
}

void FrameW::Refresh() {
    DrawFrame();
    RedrawWindow(hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void FrameW::ShowCaptionAsWindowText() {
    if (hWnd()) SetWindowTextW(hWnd(), caption_.c_str());
}

// --- properties ---------------------------------------------------------------------------

const host::FontDesc& FrameW::Font() const { return Site().HostWin()->Font(); }

void FrameW::Font(const host::FontDesc& font) {
    Site().HostWin()->Font(font);
    DrawFrame();
    Changed(L"Font");
}

void FrameW::VisualStyles(bool on) {
    visualStyles_ = on;
    DrawFrame();
    Changed(L"VisualStyles");
}

int FrameW::Appearance() const { return Site().HostWin()->Appearance(); }

// A flat frame takes the window-text colour, a 3D one the button-text colour.
void FrameW::Appearance(int value) {
    if (foundation::RejectOutOfRange(value, 0, 1, designMode_)) return;
    Site().HostWin()->Appearance(value);
    Site().HostWin()->ForeColor(value == 0 ? foundation::SystemColorWindowText : foundation::SystemColorButtonText);
    DrawFrame();
    Changed(L"Appearance");
}

unsigned long FrameW::BackColor() const { return Site().HostWin()->BackColor(); }

void FrameW::BackColor(unsigned long oleColor) {
    Site().HostWin()->BackColor(oleColor);
    DrawFrame();
    Changed(L"BackColor");
}

unsigned long FrameW::ForeColor() const { return Site().HostWin()->ForeColor(); }

void FrameW::ForeColor(unsigned long oleColor) {
    Site().HostWin()->ForeColor(oleColor);
    DrawFrame();
    Changed(L"ForeColor");
}

bool FrameW::Enabled() const { return Site().HostWin()->Enabled(); }

void FrameW::Enabled(bool on) {
    Site().HostWin()->Enabled(on);
    DrawFrame();
    Changed(L"Enabled");
}

void FrameW::MousePointer(int value) {
    if (foundation::RejectMousePointer(value, designMode_)) return;
    mousePointer_ = value;
    Changed(L"MousePointer");
}

// Right to left mirrors a left caption to the right and back; a centred one stays.
void FrameW::ApplyRightToLeftAlignment() {
    if (rightToLeft_) {
        if (alignment_ == 0) alignment_ = 1;
        if (pictureAlignment_ == 0) pictureAlignment_ = 1;
    } else {
        if (alignment_ == 1) alignment_ = 0;
        if (pictureAlignment_ == 1) pictureAlignment_ = 0;
    }
}

void FrameW::RightToLeft(bool on) {
    rightToLeft_ = on;
    Site().HostWin()->RightToLeft(on);
    foundation::ResolveRightToLeft(rightToLeft_, Site().HostWin()->RightToLeft(), rightToLeftMode_);
    ApplyRightToLeftAlignment();
    DrawFrame();
    Changed(L"RightToLeft");
}

void FrameW::RightToLeftMode(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 4, designMode_)) return;
    rightToLeftMode_ = mode;
    RightToLeft(rightToLeft_);
    Changed(L"RightToLeftMode");
}

void FrameW::BorderStyle(int style) {
    if (foundation::RejectOutOfRange(style, 0, 1, designMode_)) return;
    borderStyle_ = style;
    DrawFrame();
    Changed(L"BorderStyle");
}

void FrameW::Caption(const std::wstring& caption) {
    caption_ = caption;
    ShowCaptionAsWindowText();
    DrawFrame();
    Changed(L"Caption");
}

void FrameW::Alignment(long alignment) {
    if (foundation::RejectOutOfRange(alignment, 0, 2, designMode_)) return;
    alignment_ = alignment;
    DrawFrame();
    Changed(L"Alignment");
}

void FrameW::Transparent(bool on) {
    transparent_ = on;
    DrawFrame();
    Changed(L"Transparent");
}

void FrameW::Picture(host::Picture picture) {
    picture_ = std::move(picture);
    DrawFrame();
    Changed(L"Picture");
}

void FrameW::PictureAlignment(long alignment) {
    if (foundation::RejectOutOfRange(alignment, 0, 1, designMode_)) return;
    pictureAlignment_ = alignment;
    DrawFrame();
    Changed(L"PictureAlignment");
}

}  // namespace controls

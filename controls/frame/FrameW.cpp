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

const foundation::PropertyTable& FrameW::Properties() const {
    using foundation::Field;
    using foundation::NewValue;
    using T = FrameW;
    static const foundation::PropertyTable table{
        FontProperty(),
        VisualStylesProperty(),
        AppearanceProperty(),  // before ForeColor, so a stored ForeColor wins over the one it implies
        BackColorProperty(foundation::SystemColorButtonFace),
        ForeColorProperty(foundation::SystemColorButtonText),
        EnabledProperty(),
        OLEDropModeProperty(),
        MousePointerProperty(),
        MouseIconProperty(),
        MouseTrackProperty(),
        RightToLeftProperty(),
        RightToLeftModeProperty(),
        BorderStyleProperty(1, 1).Texts({{0, L"0 - None"}, {1, L"1 - Fixed Single"}}),
        Field(L"Caption", &T::caption_).New(NewValue::AmbientDisplayName),
        Field(L"Alignment", &T::alignment_, 0L).Range(0, 2).New(NewValue::OneIfAmbientRightToLeft).OnChange(&T::DrawFrame),
        Field(L"Transparent", &T::transparent_, false).OnChange(&T::DrawFrame),
        Field(L"Picture", &T::picture_).OnChange(&T::DrawFrame),
        Field(L"PictureAlignment", &T::pictureAlignment_, 0L)
            .Range(0, 1)
            .New(NewValue::OneIfAmbientRightToLeft)
            .OnChange(&T::DrawFrame),
    };
    return table;
}

void FrameW::InitProperties() {
    LibraryControlBase::InitProperties();
    ShowCaptionAsWindowText();
    Subclass();
    DrawFrame();
}

void FrameW::ReadProperties(const host::PropertyBag& bag) {
    LibraryControlBase::ReadProperties(bag);
    ShowCaptionAsWindowText();
    Subclass();
    DrawFrame();
}

// At run time only: on a design surface the frame keeps its host window's own behaviour.
void FrameW::Subclass() {
    if (!designMode_) hostSubclass_ = foundation::ScopedSubclass(hWnd(), this, HostWindowRef);
}

void FrameW::Resize() {
    if (inResize_) return;
    inResize_ = true;
    if (foundation::TwipsPerPixelCorrection() != 1.0) foundation::ReapplySiteRects(*this);
    DrawFrame();
    inResize_ = false;
}

// The image keeps the container's background from when it was drawn: a transparent frame
// draws again when what lies under it changes.
void FrameW::AmbientChanged(const std::wstring& name) {
    if (transparent_ && name == L"BackColor") DrawFrame();
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

// The frame is drawn once per change into the host's persistent image, which the host shows as
// its background: a repaint only copies it, and contained controls that print their parent get
// the very same pixels.
void FrameW::DrawFrame() {
    HWND hwnd = hWnd();
    if (!hwnd) return;
    host::HostWindow& host = *Site().HostWin();
    HDC dc = host.ImageDC();
    if (!dc) return;
    if (host.BackgroundPicture()) host.BackgroundPicture({});
    host.ClearImage();
    int saved = SaveDC(dc);
    SelectObject(dc, host.FontHandle());
    SetTextColor(dc, host.ForeRgb());
    SetBkColor(dc, host.BackRgb());
    if (transparent_) PaintContainerBackground(dc);
    RECT client{};
    GetClientRect(hwnd, &client);
    DrawFrameBox(dc, hwnd, client, Look());
    RestoreDC(dc, saved);
}

// A transparent frame shows what its container paints under it: the container paints into the
// image (WM_PAINT with the DC given), shifted so that its pixels land where they lie beneath us.
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

void FrameW::Refresh() {
    DrawFrame();
    RedrawWindow(hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void FrameW::ShowCaptionAsWindowText() {
    if (hWnd()) SetWindowTextW(hWnd(), caption_.c_str());
}

// --- properties ---------------------------------------------------------------------------

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

void FrameW::OnRightToLeftChanged() {
    ApplyRightToLeftAlignment();
    DrawFrame();
}

void FrameW::Caption(const std::wstring& caption) {
    caption_ = caption;
    ShowCaptionAsWindowText();
    DrawFrame();
    Changed(L"Caption");
}

void FrameW::Alignment(long alignment) { Set(L"Alignment", alignment); }

void FrameW::Transparent(bool on) { Set(L"Transparent", on); }

void FrameW::Picture(host::Picture picture) { Set(L"Picture", std::move(picture)); }

void FrameW::PictureAlignment(long alignment) { Set(L"PictureAlignment", alignment); }

}  // namespace controls

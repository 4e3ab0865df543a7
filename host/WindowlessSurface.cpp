#include "host/WindowlessSurface.h"

#include "host/ControlSite.h"

namespace host {

Surface::DropHome WindowlessSurface::DropTargetHome() const {
    if (!site_.AmbientUserMode()) return {};
    return {ContainerWindow(), &site_.Parent(), site_.Container()};
}

WindowlessSurface::WindowlessSurface(ControlSite& site) : site_(site) {
    BackColor(site.AmbientBackColor());
    ForeColor(site.AmbientForeColor());
    Font(site.AmbientFont());
}

HWND WindowlessSurface::ContainerWindow() const { return site_.ContainerWindow(); }

int WindowlessSurface::WidthPixels() const {
    RECT r = site_.PixelRect();
    return r.right - r.left;
}

int WindowlessSurface::HeightPixels() const {
    RECT r = site_.PixelRect();
    return r.bottom - r.top;
}

void WindowlessSurface::Refresh() {
    HWND hwnd = ContainerWindow();
    if (!hwnd) return;
    RECT r = site_.PixelRect();
    InvalidateRect(hwnd, &r, TRUE);
}

void WindowlessSurface::ContainerChanged() {
    int mode = OLEDropMode();
    if (mode == 0) return;
    OLEDropMode(0);
    OLEDropMode(mode);
}

HitResult WindowlessSurface::HitTest(POINT pt) const {
    if (pt.x < 0 || pt.y < 0 || pt.x >= WidthPixels() || pt.y >= HeightPixels()) return HitResult::Outside;
    return BackStyle() == 1 ? HitResult::Hit : HitResult::Outside;
}

WindowlessSurface::DrawingDC::DrawingDC(const WindowlessSurface& surface)
    : hwnd_(surface.ContainerWindow()), dc_(GetDC(hwnd_)), saved_(0) {
    if (!dc_) return;
    saved_ = SaveDC(dc_);
    RECT r = surface.Site().PixelRect();
    IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom);
    SetViewportOrgEx(dc_, r.left, r.top, nullptr);
    SelectObject(dc_, surface.FontHandle());
    SetTextColor(dc_, surface.ForeRgb());
    SetBkColor(dc_, surface.BackRgb());
    SetBkMode(dc_, surface.BackStyle() == 1 ? OPAQUE : TRANSPARENT);
}

WindowlessSurface::DrawingDC::~DrawingDC() {
    if (!dc_) return;
    RestoreDC(dc_, saved_);
    ReleaseDC(hwnd_, dc_);
}

}  // namespace host

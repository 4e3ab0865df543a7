// The surface of a windowless control: a rectangle of its container window. The container
// paints it (Control::Paint with the DC's origin at the rectangle), hit-tests it and routes mouse
// input to it; its timers tick on the container window.
#pragma once

#include "host/Control.h"
#include "host/Surface.h"

namespace host {

class ControlSite;

class WindowlessSurface : public Surface {
public:
    explicit WindowlessSurface(ControlSite& site);
    ~WindowlessSurface() override { ReleaseDropTarget(); }

    ControlSite& Site() const { return site_; }
    // The window the control is drawn on (its "host window"): the container's. Borrowed.
    HWND ContainerWindow() const;
    // Size in pixels (ScaleWidth/ScaleHeight of the surface).
    int WidthPixels() const;
    int HeightPixels() const;
    void Refresh() override;  // invalidates the rectangle on the container
    // The control moved into another container: a drop-target registration moves with it.
    void ContainerChanged();
    // A DC of the container clipped to the rectangle with the origin at its top-left, for
    // drawing outside WM_PAINT.
    class DrawingDC {
    public:
        explicit DrawingDC(const WindowlessSurface& surface);
        ~DrawingDC();
        DrawingDC(const DrawingDC&) = delete;
        DrawingDC& operator=(const DrawingDC&) = delete;
        HDC Get() const { return dc_; }

    private:
        HWND hwnd_;
        HDC dc_;
        int saved_;
    };

    // Host side: the host's hit-test answer for a point in control pixels, asked of the control.
    HitResult HitTest(POINT pt) const;

protected:
    DropHome DropTargetHome() const override;

private:
    ControlSite& site_;  // borrowed: owns this surface
};

}  // namespace host

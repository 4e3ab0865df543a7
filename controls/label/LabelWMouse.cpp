// LabelW: mouse input routed by the container, and MouseEnter/MouseLeave for a control that
// has no window to track.
#include "controls/label/LabelW.h"
#include "host/ControlSite.h"
#include "host/WindowlessSurface.h"

#include <windowsx.h>

namespace controls {

float LabelW::TwipsX(int px) const {
    return static_cast<float>(Site().ScaleX(px, host::ScaleUnit::Pixels, host::ScaleUnit::Twips));
}

float LabelW::TwipsY(int py) const {
    return static_cast<float>(Site().ScaleY(py, host::ScaleUnit::Pixels, host::ScaleUnit::Twips));
}

// The whole rectangle is clickable, also where a transparent label shows its container.
host::HitResult LabelW::HitTest(POINT pt, host::HitResult hostAnswer) {
    return hostAnswer == host::HitResult::Outside ? host::HitResult::Hit : hostAnswer;
}

void LabelW::OnSurfaceMouseDown(int button, int shift, int x, int y) {
    Site().RaiseEvent(host::dispid::MouseDown, MouseDown, button, shift, TwipsX(x), TwipsY(y));
}

// A windowless label has no window to track; a timer watches whether the mouse is still here.
void LabelW::OnSurfaceMouseMove(int button, int shift, int x, int y) {
    if (!mouseInside_ && mouseTrack_) {
        mouseInside_ = true;
        Site().RaiseEvent(DispId::MouseEnter, MouseEnter);
        lastMousePos_ = GetMessagePos();
        trackTimer_.Enabled(true);
    } else if (mouseInside_) {
        lastMousePos_ = GetMessagePos();
    }
    Site().RaiseEvent(host::dispid::MouseMove, MouseMove, button, shift, TwipsX(x), TwipsY(y));
}

void LabelW::OnSurfaceMouseUp(int button, int shift, int x, int y) {
    Site().RaiseEvent(host::dispid::MouseUp, MouseUp, button, shift, TwipsX(x), TwipsY(y));
}

void LabelW::OnSurfaceClick() { Site().RaiseEvent(host::dispid::Click, Click); }

void LabelW::OnSurfaceDblClick() { Site().RaiseEvent(host::dispid::DblClick, DblClick); }

// While the container holds the capture the mouse is still ours; otherwise a position that
// changed without a move reaching the label, or another window under it, means it left.
void LabelW::OnTrackTimer() {
    if (GetCapture() == ContainerWindow()) {
        lastMousePos_ = 0;
        return;
    }
    DWORD pos = GetMessagePos();
    POINT pt{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    if (pos == lastMousePos_ && WindowFromPoint(pt) == ContainerWindow()) return;
    mouseInside_ = false;
    trackTimer_.Enabled(false);
    Site().RaiseEvent(DispId::MouseLeave, MouseLeave);
}

}  // namespace controls

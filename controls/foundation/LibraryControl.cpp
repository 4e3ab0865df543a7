#include "controls/foundation/LibraryControl.h"

#include "host/HostWindow.h"
#include "host/WindowlessSurface.h"

namespace foundation {

float OLEContainerX(const host::ControlSite& site, float x) {
    return static_cast<float>(site.ScaleX(x, host::ScaleUnit::Pixels, host::ScaleUnit::Container));
}

float OLEContainerY(const host::ControlSite& site, float y) {
    return static_cast<float>(site.ScaleY(y, host::ScaleUnit::Pixels, host::ScaleUnit::Container));
}

void ApplyOLEDropMode(host::ControlSite& site, long mode) {
    if (host::HostWindow* w = site.HostWin()) w->OLEDropMode(static_cast<int>(mode));
    else if (host::WindowlessSurface* s = site.Windowless()) s->OLEDropMode(static_cast<int>(mode));
}

}  // namespace foundation

#include "controls/foundation/MouseActivation.h"

#include "controls/foundation/ControlServices.h"
#include "host/Error.h"

namespace foundation {

namespace {

// Runs the form's validation for a click; true when it was cancelled (error 380). Other failures
// of a Validate handler do not keep the focus away.
bool ValidationCancelled(host::ControlSite& site, bool& validating) {
    struct Mark {
        bool& on;
        explicit Mark(bool& b) : on(b) { on = true; }
        ~Mark() { on = false; }
    } mark(validating);
    try {
        ValidateHostControls(site);
    } catch (const host::Error& e) {
        return e.Number() == host::err::InvalidPropertyValue;
    }
    return false;
}

}  // namespace

std::optional<LRESULT> FocusOnMouseActivate(host::ControlSite& site, HWND child, HWND hostWindow, LPARAM lParam,
                                            bool designMode, bool& validating) {
    if (GetFocus() == child || designMode) return std::nullopt;
    if (LOWORD(lParam) == HTBORDER || validating) return MA_ACTIVATEANDEAT;
    if (HIWORD(lParam) != WM_LBUTTONDOWN) return std::nullopt;
    if (site.CausesValidation() && ValidationCancelled(site, validating)) return MA_ACTIVATEANDEAT;
    SetFocus(hostWindow);
    return MA_NOACTIVATE;
}

}  // namespace foundation

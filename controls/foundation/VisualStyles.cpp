#include "controls/foundation/VisualStyles.h"

#include "controls/foundation/ComCtlsBase.h"

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>
#include <uxtheme.h>

namespace foundation {

namespace {

// Released with the program's module data at exit: from then on a fault while comctl32 6 tears
// down its themed windows shows no error box.
struct ExitFix {
    bool armed = false;
    ~ExitFix() {
        if (armed) SetErrorMode(SEM_NOGPFAULTERRORBOX);
    }
};
ExitFix& TheExitFix() {
    static ExitFix fix;
    return fix;
}

}  // namespace

int ComCtlMajorVersion() {
    // A pinned level pins the version with it, so that a test reaches the themed drawing too.
    if (std::optional<int> pinned = OverriddenComCtlVersionLevel()) return *pinned >= 1 ? 6 : 5;
    static const int major = [] {
        std::optional<ComCtlVersionNumber> v = ComCtlVersion();
        return v ? static_cast<int>(v->major) : 0;
    }();
    return major;
}

void StartVisualStyles() {
    if (ComCtlMajorVersion() >= 6) TheExitFix().armed = true;
    InitControlClasses(ICC_STANDARD_CLASSES);
}

bool VisualStylesActive() {
    if (ComCtlMajorVersion() <= 5 || !IsThemeActive()) return false;
    if (IsAppThemed()) return true;
    return (GetThemeAppProperties() & STAP_ALLOW_CONTROLS) != 0;
}

}  // namespace foundation

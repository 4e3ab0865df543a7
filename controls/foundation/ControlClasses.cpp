#include "controls/foundation/ComCtlsBase.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace foundation {

namespace {
struct LevelState {
    bool computed = false;
    int level = 0;
    std::optional<int> forced;
};
LevelState& Level() {
    static LevelState state;
    return state;
}

int ComputeLevel() {
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    if (!comctl) return 0;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
    if (!getVersion) return 0;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);  // 20 bytes
    if (getVersion(&info) != S_OK) return 0;
    if (info.dwMajorVersion == 6 && info.dwMinorVersion == 0) return 1;
    if (info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion > 0)) return 2;
    return 0;
}
}  // namespace

void InitControlClasses(DWORD iccFlags) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);  // 8 bytes
    icc.dwICC = iccFlags;
    InitCommonControlsEx(&icc);
}

int ComCtlVersionLevel() {
    LevelState& s = Level();
    if (s.forced) return *s.forced;
    if (!s.computed) {
        s.level = ComputeLevel();
        s.computed = true;
    }
    return s.level;
}

void OverrideComCtlVersionLevel(std::optional<int> level) { Level().forced = level; }

std::optional<int> OverriddenComCtlVersionLevel() { return Level().forced; }

void ShowUIStateCues(HWND hwnd) {
    SendMessageW(hwnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

}  // namespace foundation

#include "controls/foundation/ComCtlsBase.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <cwchar>
#include <string>
#include <vector>

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

// The version of the assembly the process's activation context binds comctl32.dll to (the
// manifest's Common-Controls dependency); nullopt when nothing redirects it.
std::optional<ComCtlVersionNumber> BoundAssemblyVersion() {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof(data);
    if (!FindActCtxSectionStringW(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                  ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &data))
        return std::nullopt;
    DWORD index = data.ulAssemblyRosterIndex;
    SIZE_T needed = 0;
    QueryActCtxW(0, data.hActCtx, &index, AssemblyDetailedInformationInActivationContext, nullptr, 0, &needed);
    std::vector<BYTE> buffer(std::max<SIZE_T>(needed, sizeof(ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION)));
    bool read = QueryActCtxW(0, data.hActCtx, &index, AssemblyDetailedInformationInActivationContext, buffer.data(),
                             buffer.size(), &needed) != FALSE;
    ReleaseActCtx(data.hActCtx);
    if (!read) return std::nullopt;
    // the identity reads like: Microsoft.Windows.Common-Controls,…,version="6.0.2600.2982"
    const auto* info = reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
    if (!info->lpAssemblyEncodedAssemblyIdentity) return std::nullopt;
    std::wstring identity(info->lpAssemblyEncodedAssemblyIdentity,
                          info->ulEncodedAssemblyIdentityLength / sizeof(wchar_t));
    size_t at = identity.find(L"version=\"");
    if (at == std::wstring::npos) return std::nullopt;
    unsigned major = 0, minor = 0;
    if (swscanf(identity.c_str() + at + 9, L"%u.%u", &major, &minor) != 2) return std::nullopt;
    return ComCtlVersionNumber{major, minor};
}

int ComputeLevel() {
    std::optional<ComCtlVersionNumber> v = ComCtlVersion();
    if (!v) return 0;
    if (v->major == 6 && v->minor == 0) return 1;
    if (v->major > 6 || (v->major == 6 && v->minor > 0)) return 2;
    return 0;
}
}  // namespace

std::optional<ComCtlVersionNumber> ComCtlVersion() {
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    if (!comctl) comctl = LoadLibraryW(L"comctl32.dll");  // stays loaded: the controls need it
    auto getVersion = comctl ? reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")))
                             : nullptr;
    if (!getVersion) return std::nullopt;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);  // 20 bytes
    if (getVersion(&info) != S_OK) return std::nullopt;
    ComCtlVersionNumber reported{info.dwMajorVersion, info.dwMinorVersion};
    // Wine's side-by-side comctl32 6 answers 5.81 all the same; the bound assembly tells.
    if (reported.major < 6)
        if (std::optional<ComCtlVersionNumber> bound = BoundAssemblyVersion(); bound && bound->major >= 6) return bound;
    return reported;
}

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

// Shell namespace folders: the names of the special folders and the folder browser.

#include "util/clsUtil.h"

#include <shlobj.h>

#include "util/CodePage.h"
#include "util/ComTypes.h"

std::wstring clsUtil::GetInnerStringFromCLSID(long InnerClsID) const {
    switch (InnerClsID) {
    case 0: return L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";  // My Computer
    case 1: return L"::{645FF040-5081-101B-9F08-00AA002F954E}";  // Recycle Bin
    case 2: return L"::{21EC2020-3AEA-1069-A2DD-08002B30309D}";  // Control Panel
    case 3: return L"::{2227A280-3AEA-1069-A2DE-08002B30309D}";  // Printers
    case 4: return L"::{450D8FBA-AD25-11D0-98A8-0800361B1103}";  // My Documents
    default: return L"";
    }
}

std::wstring clsUtil::SelectFolder(HWND ObjForm, const std::wstring& Prompt) const {
    util::ComInit com;
    const std::string title = util::Encode(Prompt, CP_ACP);
    BROWSEINFOA info{};
    info.hwndOwner = ObjForm;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    util::ItemIdList chosen(::SHBrowseForFolderA(&info));
    if (!chosen) return L"";

    // The path is read back in UTF-16: through the ANSI code page a folder name outside it
    // would come back as question marks and name a folder that does not exist.
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!::SHGetPathFromIDListW(chosen.Get(), buffer)) return L"";
    std::wstring path(buffer);
    if (path.empty()) return L"";
    if (path.back() != L'\\') path += L'\\';
    return path;
}

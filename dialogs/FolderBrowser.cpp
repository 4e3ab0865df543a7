// ShowFolderBrowser: SHBrowseForFolderW rooted at nothing, a special folder (a CSIDL number) or a
// path, and its callback.
#include "dialogs/CommonDialog.h"

#include "controls/foundation/Common.h"
#include "controls/foundation/DialogHookForwarder.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/HelpRoute.h"

#include <shlobj.h>

#include <cmath>

namespace dialogs {

namespace {

constexpr DWORD VolumeAttribute = 0x08;  // the volume-label attribute a drive root may carry

// An item list the shell allocated; freed with the task allocator.
struct IdListTraits {
    using Handle = PIDLIST_ABSOLUTE;
    static PIDLIST_ABSOLUTE Invalid() { return nullptr; }
    static void Close(PIDLIST_ABSOLUTE p) { CoTaskMemFree(p); }
};
using UniqueIdList = host::UniqueHandle<IdListTraits>;

UniqueIdList RootOf(const host::Value& root) {
    using K = host::Value::Kind;
    PIDLIST_ABSOLUTE list = nullptr;
    switch (root.GetKind()) {
    case K::Long: SHGetFolderLocation(nullptr, static_cast<int>(root.AsLong()), nullptr, 0, &list); break;
    case K::Double: SHGetFolderLocation(nullptr, static_cast<int>(std::lround(root.AsDouble())), nullptr, 0, &list); break;
    case K::String: list = ILCreateFromPathW(root.AsString().substr(0, MAX_PATH).c_str()); break;
    default: break;
    }
    return UniqueIdList(list);
}

// The item's file-system path, empty when it has none.
std::wstring PathOf(PCIDLIST_ABSOLUTE item) {
    wchar_t path[MAX_PATH] = {};
    if (!item || !SHGetPathFromIDListW(item, path)) return {};
    return path;
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = 0;
    try {
        attributes = foundation::GetPathAttributes(path);
    } catch (...) {
        attributes = 0;  // a path that cannot be read counts as having no attributes
    }
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | VolumeAttribute)) != 0;
}

std::wstring WithBackslash(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

BOOL CALLBACK TakeEdit(HWND hwnd, LPARAM param) {
    wchar_t cls[8] = {};
    GetClassNameW(hwnd, cls, 8);
    if (lstrcmpiW(cls, L"Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
}

// The text typed into the dialog's edit box (BIF_EDITBOX).
std::wstring TypedText(HWND dialog) {
    HWND edit = nullptr;
    EnumChildWindows(dialog, &TakeEdit, reinterpret_cast<LPARAM>(&edit));
    if (!edit) return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A typed name is valid when it names an existing item, as a full path or inside the selection.
bool NamesAnItem(const std::wstring& typed, const std::wstring& selected) {
    if (GetFileAttributesW(typed.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return !selected.empty() && GetFileAttributesW(WithBackslash(selected).append(typed).c_str()) != INVALID_FILE_ATTRIBUTES;
}


}  // namespace

bool CommonDialog::ShowFolderBrowser() {
    UniqueIdList root = RootOf(rootFolder_);
    BROWSEINFOW bi{};
    bi.hwndOwner = OwnerWindow();
    bi.pidlRoot = root.Get();
    bi.lpszTitle = dialogTitle_.c_str();
    bi.ulFlags = static_cast<UINT>(flags_);
    bi.lpfn = &foundation::DialogHookForwarder::BrowseCallbackProc;
    bi.lParam = reinterpret_cast<LPARAM>(static_cast<foundation::ISubclass*>(this));
    UniqueIdList chosen(SHBrowseForFolderW(&bi));
    browseRoute_.Reset();
    root.Reset();
    if (!chosen) return Cancelled();

    std::wstring path = PathOf(chosen.Get());
    chosen.Reset();
    if (IsFolder(path)) {
        path = WithBackslash(std::move(path));
        fileOffset_ = 0;
        fileTitle_.clear();
    } else {
        size_t slash = path.rfind(L'\\');
        fileOffset_ = slash == std::wstring::npos ? 0 : static_cast<int>(slash);
        fileTitle_ = slash == std::wstring::npos ? path : path.substr(slash + 1);
    }
    fileName_ = std::move(path);
    return true;
}

LRESULT CommonDialog::BrowseCallbackMessage(HWND hwnd, UINT wMsg, LPARAM lParam) {
    switch (wMsg) {
    case BFFM_INITIALIZED:
        // The typed name is checked here too: not every platform's dialog reports a wrong one.
        if ((flags_ & BIF_VALIDATE) && (flags_ & (BIF_EDITBOX | BIF_USENEWUI)))
            browseRoute_ = foundation::ScopedSubclass(hwnd, this, BrowseDialogRef, L"commdlg_browse_8");
        if (!initDir_.empty()) SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(initDir_.c_str()));
        InitDialog(kind::FolderBrowser, hwnd);
        return 0;
    case BFFM_SELCHANGED: {
        std::wstring path = PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
        bool found = !path.empty();
        browseSelection_ = path;
        if (found && IsFolder(path)) path = WithBackslash(std::move(path));
        if (flags_ & BIF_STATUSTEXT) SendMessageW(hwnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path.c_str()));
        if (flags_ & BIF_RETURNONLYFSDIRS) SendMessageW(hwnd, BFFM_ENABLEOK, 0, found);
        return 0;
    }
    case BFFM_VALIDATEFAILEDW: {
        if (typedNameChecked_) return 0;  // already reported for this OK, and let go
        bool cancel = false;
        const auto* typed = reinterpret_cast<const wchar_t*>(lParam);
        FolderBrowserValidateFailed(typed ? typed : L"", cancel, hwnd);
        return cancel ? 1 : 0;
    }
    default: return 0;
    }
}

// OK of a browser with an edit box: a typed name that names nothing is reported before the
// dialog acts on it; a handler that cancels keeps the dialog open.
LRESULT CommonDialog::BrowseDialogMessage(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam) {
    if (wMsg != WM_COMMAND || LOWORD(wParam) != IDOK || HIWORD(wParam) != BN_CLICKED)
        return foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
    std::wstring typed = TypedText(hwnd);
    if (!typed.empty() && !NamesAnItem(typed, browseSelection_)) {
        bool cancel = false;
        FolderBrowserValidateFailed(typed, cancel, hwnd);
        if (cancel) return 0;
        typedNameChecked_ = true;
    }
    LRESULT result = foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
    typedNameChecked_ = false;
    return result;
}

}  // namespace dialogs

// The open and save dialogs' hook: the Explorer-style dialog notifies its hook child window
// (WM_NOTIFY, the dialog being the child's parent); the old-style dialog sends its registered
// messages to the hook of the dialog itself.
#include "dialogs/CommonDialog.h"

#include "dialogs/FileChoice.h"
#include "dialogs/RegisteredMessages.h"

#include <algorithm>

namespace dialogs {

LRESULT CommonDialog::FileHookMessage(int dialogKind, bool explorer, HWND hwnd, UINT wMsg, WPARAM wParam,
                                      LPARAM lParam) {
    if (explorer) {
        if (wMsg != WM_NOTIFY) return 0;
        const auto* note = reinterpret_cast<const OFNOTIFYW*>(lParam);
        HWND dialog = GetParent(hwnd);
        switch (note->hdr.code) {
        case CDN_INITDONE: InitDialog(dialogKind, dialog); return 0;
        case CDN_FILEOK: return FileOk(dialogKind, dialog, hwnd, *note->lpOFN);
        case CDN_SHAREVIOLATION: return FileShare(dialog, hwnd, note->pszFile ? note->pszFile : L"");
        default: return 0;
        }
    }
    if (wMsg == WM_INITDIALOG) {
        msg::ShareViolation();
        msg::FileNameOk();
        InitDialog(dialogKind, hwnd);
        return TRUE;
    }
    if (wMsg == msg::FileNameOk()) return FileOk(dialogKind, hwnd, hwnd, *reinterpret_cast<const OPENFILENAMEW*>(lParam));
    if (wMsg == msg::ShareViolation()) {
        const auto* file = reinterpret_cast<const wchar_t*>(lParam);
        return FileShare(hwnd, hwnd, file ? file : L"");
    }
    return 0;
}

// OK was pressed: the handler sees the choice and may keep the dialog open.
LRESULT CommonDialog::FileOk(int dialogKind, HWND hDlg, HWND answerTo, const OPENFILENAMEW& ofn) {
    FileChoice choice;
    if (ofn.lpstrFile) {
        size_t chars = std::min<size_t>(ofn.nMaxFile, static_cast<size_t>(maxFileSize_));
        std::wstring copy(ofn.lpstrFile, chars);
        copy.push_back(L'\0');
        ReadFileChoice(copy.c_str(), copy.size(), ofn.nFileOffset, choice);
    }
    bool cancel = false;
    FileValidate(choice.fileName, choice.fileTitle, static_cast<int>(ofn.nFileOffset), cancel, hDlg);
    if (!cancel) return 0;
    SetWindowLongPtrW(answerTo, DWLP_MSGRESULT, 1);
    return 1;
}

LRESULT CommonDialog::FileShare(HWND hDlg, HWND answerTo, const std::wstring& file) {
    HWND focused = GetFocus();
    long result = OFN_SHAREWARN;
    FileShareViolation(file, result, hDlg);
    if (GetFocus() != focused && IsWindow(focused)) SetFocus(focused);
    SetWindowLongPtrW(answerTo, DWLP_MSGRESULT, result);
    return result;
}

}  // namespace dialogs

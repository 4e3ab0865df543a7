// ShowOpen and ShowSave: GetOpenFileNameW and GetSaveFileNameW over the file properties.
#include "dialogs/CommonDialog.h"

#include "controls/foundation/DialogHookForwarder.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/HelpRoute.h"
#include "dialogs/FileChoice.h"

#include <algorithm>
#include <vector>

namespace dialogs {

namespace fwd = foundation::DialogHookForwarder;

namespace {

static_assert(sizeof(OPENFILENAMEW) == 88);

const wchar_t* OrNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

}  // namespace

bool CommonDialog::ShowOpen() { return ShowFileDialog(kind::Open); }
bool CommonDialog::ShowSave() { return ShowFileDialog(kind::Save); }

bool CommonDialog::ShowFileDialog(int dialogKind) {
    const bool save = dialogKind == kind::Save;
    HWND owner = OwnerWindow();
    std::wstring filter = DialogFilter(filter_);
    // The name is cut so that the buffer of MaxFileSize characters keeps its NUL; one more NUL
    // past the end keeps a reading of a multi-file answer inside the buffer.
    const size_t capacity = static_cast<size_t>(maxFileSize_);
    std::vector<wchar_t> file(capacity + 1, L'\0');
    std::copy_n(fileName_.begin(), std::min(fileName_.size(), capacity - 1), file.begin());

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.hInstance = GetModuleHandleW(nullptr);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(maxFileSize_);
    ofn.lpstrInitialDir = OrNull(initDir_);
    ofn.lpstrTitle = OrNull(dialogTitle_);
    ofn.Flags = static_cast<DWORD>(flags_);
    if (save) ofn.lpstrDefExt = defaultExt_.c_str();  // empty, not null, when there is none
    if (hookEvents_) {
        const bool explorer = (ofn.Flags & OFN_EXPLORER) != 0;
        ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLESIZING;
        ofn.lpfnHook = save ? (explorer ? &fwd::SaveFileDialog : &fwd::SaveFileOldStyleDialog)
                            : (explorer ? &fwd::OpenFileDialog : &fwd::OpenFileOldStyleDialog);
        ofn.lCustData = reinterpret_cast<LPARAM>(static_cast<foundation::ISubclass*>(this));
    }

    BOOL ok;
    {
        HelpRoute help(this, owner, dialogKind, (ofn.Flags & OFN_SHOWHELP) != 0);
        ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    }
    if (!ok) {
        DWORD code = CommDlgExtendedError();
        if (code == 0) return Cancelled();
        RaiseFileDialogError(code, save);
    }

    DWORD flags = ofn.Flags;
    if (flags & (OFN_ENABLEHOOK | OFN_ENABLESIZING)) flags &= ~(OFN_ENABLEHOOK | OFN_ENABLESIZING);
    flags_ = static_cast<long>(flags);
    FileChoice choice;
    if (ReadFileChoice(file.data(), capacity, ofn.nFileOffset, choice)) {
        fileName_ = std::move(choice.fileName);
        fileTitle_ = std::move(choice.fileTitle);
    }
    filterIndex_ = static_cast<long>(ofn.nFilterIndex);
    fileOffset_ = ofn.nFileOffset;
    return true;
}

}  // namespace dialogs

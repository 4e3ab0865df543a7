// The modeless find and replace dialogs: their record and buffers live in the instance while
// they are open; they talk to their owner window with "commdlg_FindReplace", which the instance
// hears through a subclass on the owner, and their keystrokes reach them through the modeless
// keyboard routing.
#include "dialogs/CommonDialog.h"

#include "controls/foundation/ControlServices.h"
#include "controls/foundation/DialogHookForwarder.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/RegisteredMessages.h"

#include <algorithm>
#include <string>

namespace dialogs {

namespace {

static_assert(sizeof(FINDREPLACEW) == 40);

template <size_t N>
void Fill(std::array<wchar_t, N>& buffer, const std::wstring& text) {
    buffer.fill(L'\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), buffer.begin());
}

template <size_t N>
std::wstring TextOf(const std::array<wchar_t, N>& buffer) {
    return std::wstring(buffer.data(), std::find(buffer.begin(), buffer.end(), L'\0'));
}

}  // namespace

HWND CommonDialog::ShowFind() { return ShowFindReplace(kind::Find); }
HWND CommonDialog::ShowReplace() { return ShowFindReplace(kind::Replace); }

HWND CommonDialog::ShowFindReplace(int dialogKind) {
    if (findDialog_) return nullptr;  // one find or replace dialog per instance
    const bool replace = dialogKind == kind::Replace;
    Fill(findBuffer_, findWhat_);
    Fill(replaceBuffer_, replaceWith_);
    findRecord_ = FINDREPLACEW{};
    findRecord_.lStructSize = sizeof(findRecord_);
    findRecord_.hwndOwner = OwnerWindow();
    findRecord_.hInstance = GetModuleHandleW(nullptr);
    findRecord_.Flags = static_cast<DWORD>(flags_);
    findRecord_.lpstrFindWhat = findBuffer_.data();
    findRecord_.wFindWhatLen = FindBufferChars;
    if (replace) {
        findRecord_.lpstrReplaceWith = replaceBuffer_.data();
        findRecord_.wReplaceWithLen = FindBufferChars;
    }
    if (hookEvents_) {
        findRecord_.Flags |= FR_ENABLEHOOK;
        findRecord_.lpfnHook = replace ? &foundation::DialogHookForwarder::ReplaceDialog
                                       : &foundation::DialogHookForwarder::FindDialog;
        findRecord_.lCustData = reinterpret_cast<LPARAM>(static_cast<foundation::ISubclass*>(this));
    }
    if (findRecord_.Flags & FR_SHOWHELP) msg::Help();
    msg::FindReplace();

    HWND dialog = replace ? ReplaceTextW(&findRecord_) : FindTextW(&findRecord_);
    if (!dialog) {
        DWORD code = CommDlgExtendedError();
        if (code == 0) return nullptr;
        RaiseFindDialogError(code, replace);
    }
    findDialog_ = dialog;
    findRecord_.lCustData = reinterpret_cast<LPARAM>(dialog);
    std::wstring name = std::wstring(L"commdlg_FindReplace") + (replace ? L"_10_" : L"_9_") +
                        std::to_wstring(reinterpret_cast<UINT_PTR>(dialog));
    findRoute_ = foundation::ScopedSubclass(findRecord_.hwndOwner, this, dialogKind, name);
    foundation::RegisterModelessDialog(dialog);
    return dialog;
}

LRESULT CommonDialog::FindReplaceOwnerMessage(int dialogKind, HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam) {
    if (wMsg == msg::Help() && findDialog_ && reinterpret_cast<HWND>(wParam) == findDialog_) {
        RaiseHelp(dialogKind, findDialog_);
    } else if (wMsg == msg::FindReplace() && reinterpret_cast<FINDREPLACEW*>(lParam) == &findRecord_) {
        if (findRecord_.Flags & FR_DIALOGTERM) {
            LRESULT result = foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
            EndFindReplace();
            return result;
        }
        flags_ = static_cast<long>(findRecord_.Flags & ~FR_ENABLEHOOK);
        findWhat_ = TextOf(findBuffer_);
        if (findRecord_.lpstrReplaceWith) replaceWith_ = TextOf(replaceBuffer_);
        HWND focused = GetFocus();
        if (findRecord_.Flags & FR_FINDNEXT)
            FindNext();
        else if (findRecord_.Flags & FR_REPLACE)
            Replace();
        else if (findRecord_.Flags & FR_REPLACEALL)
            ReplaceAll();
        if (GetFocus() != focused && IsWindow(focused)) SetFocus(focused);
    }
    return foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
}

void CommonDialog::EndFindReplace() {
    findRoute_.Reset();
    foundation::UnregisterModelessDialog(findDialog_);
    findDialog_ = nullptr;
}

// On release: the dialog is asked to close and given one pass of the queue to do so. The
// dialog writes into this instance's buffers, so one that is still there is destroyed.
void CommonDialog::CloseFindReplace() {
    if (!findDialog_) return;
    HWND dialog = findDialog_;
    if (IsWindow(dialog)) {
        SendMessageW(dialog, WM_CLOSE, 0, 0);
        MSG m;
        int budget = 1000;
        while (budget-- > 0 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(m.wParam));
                break;
            }
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    if (findDialog_) {
        EndFindReplace();
        if (IsWindow(dialog)) DestroyWindow(dialog);
    }
}

}  // namespace dialogs

// The folder browser driven from a second thread: an item of its tree chosen, OK pressed.
#include "DialogDriver.h"
#include "dialogs/CommonDialog.h"
#include "host/Error.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>

using dialogs::CommonDialog;
using namespace dlgtest;

namespace {

std::wstring ItemText(HWND tree, HTREEITEM item) {
    wchar_t text[260] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = 260;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// The child of the tree's root whose text contains `part` (the root expanded first).
HTREEITEM ChildContaining(HWND tree, const std::wstring& part) {
    auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    for (auto child = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
         child; child = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
        if (ItemText(tree, child).find(part) != std::wstring::npos) return child;
    }
    return nullptr;
}

void Select(HWND tree, HTREEITEM item) {
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Sleep(100);
}

struct ComInit {
    ComInit() { CoInitialize(nullptr); }
    ~ComInit() { CoUninitialize(); }
};

}  // namespace

TEST(FolderBrowser, RootedAtMyComputerChoosingADriveRoot) {
    ComInit com;
    ActiveOwner owner;
    CommonDialog cd;
    cd.RootFolder(static_cast<long>(CSIDL_DRIVES));
    cd.DialogTitle(L"Choose a drive");
    cd.Flags(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
    int initKind = 0;
    cd.InitDialog = [&](int kind, HWND) { initKind = kind; };
    std::wstring rootText, status;
    bool okOnRoot = true, okOnDrive = false;
    bool ok;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            HWND tree = ChildOfClass(dialog, WC_TREEVIEWW);
            HWND okButton = ItemOfClass(dialog, IDOK, L"Button");
            auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            rootText = ItemText(tree, root);
            Select(tree, root);
            okOnRoot = IsWindowEnabled(okButton) != FALSE;
            HTREEITEM drive = ChildContaining(tree, L"C:");
            Select(tree, drive);
            okOnDrive = IsWindowEnabled(okButton) != FALSE;
            status = TextOf(Item(dialog, 14147));  // the status line under the title
            Press(okButton);
        });
        ok = cd.ShowFolderBrowser();
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(initKind, 8);
    EXPECT_FALSE(rootText.empty());
    EXPECT_FALSE(okOnRoot) << "OK is only for file-system folders";
    EXPECT_TRUE(okOnDrive);
    EXPECT_EQ(status, L"C:\\") << "the callback shows the selection's path";
    EXPECT_EQ(cd.FileName(), L"C:\\");
    EXPECT_EQ(cd.FileTitle(), L"");
    EXPECT_EQ(cd.FileOffset(), 0);
}

TEST(FolderBrowser, RootedAtAPathStartingAtInitDir) {
    ComInit com;
    ActiveOwner owner;
    CommonDialog cd;
    cd.RootFolder(std::wstring(L"C:\\windows"));
    cd.InitDir(L"C:\\windows\\system32");
    std::wstring rootText, selected;
    bool ok;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            HWND tree = ChildOfClass(dialog, WC_TREEVIEWW);
            rootText = ItemText(tree, reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
            selected = ItemText(tree, reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
            Press(dialog, IDOK);
        });
        ok = cd.ShowFolderBrowser();
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(_wcsicmp(rootText.c_str(), L"windows"), 0) << "the tree starts at the path";
    EXPECT_EQ(_wcsicmp(selected.c_str(), L"system32"), 0) << "InitDir is selected at the start";
    EXPECT_EQ(_wcsicmp(cd.FileName().c_str(), L"C:\\windows\\system32\\"), 0) << "a folder gets its backslash";
    EXPECT_EQ(cd.FileTitle(), L"");
}

TEST(FolderBrowser, CancelRaisesOnlyWithCancelError) {
    ComInit com;
    ActiveOwner owner;
    CommonDialog cd;
    bool ok = true;
    {
        DialogDriver driver([&](DWORD thread) { Press(WaitForDialog(thread), IDCANCEL); });
        ok = cd.ShowFolderBrowser();
    }
    EXPECT_FALSE(ok);
    cd.CancelError(true);
    long number = 0;
    {
        DialogDriver driver([&](DWORD thread) { Press(WaitForDialog(thread), IDCANCEL); });
        try {
            cd.Action(8);
        } catch (const host::Error& e) {
            number = e.Number();
        }
    }
    EXPECT_EQ(number, 32755);
}

TEST(FolderBrowser, ATypedNameThatNamesNothingRaisesValidateFailed) {
    ComInit com;
    ActiveOwner owner;
    CommonDialog cd;
    cd.Flags(BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE);
    std::vector<std::wstring> typed;
    cd.FolderBrowserValidateFailed = [&](const std::wstring& text, bool& cancel, HWND) {
        typed.push_back(text);
        cancel = true;  // keep the dialog open
    };
    bool stayedOpen = false;
    bool ok = true;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            SetText(ChildOfClass(dialog, L"Edit"), L"Q:\\no\\such\\folder");
            Press(dialog, IDOK);
            WaitFor([&] { return !typed.empty(); }, 3000);
            Sleep(200);
            stayedOpen = IsWindowVisible(dialog) != FALSE;
            SetText(ChildOfClass(dialog, L"Edit"), L"C:\\windows");
            Press(dialog, IDOK);  // a name that exists passes
        });
        ok = cd.ShowFolderBrowser();
    }
    ASSERT_EQ(typed.size(), 1u) << "once, however many parts report it";
    EXPECT_EQ(typed[0], L"Q:\\no\\such\\folder");
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(ok);
}

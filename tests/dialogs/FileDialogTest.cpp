// Open and save dialogs driven from a second thread: the file name typed into the dialog's
// name box, OK or Cancel pressed, the properties read back.
#include "DialogDriver.h"
#include "dialogs/CommonDialog.h"
#include "host/Error.h"

#include <gtest/gtest.h>

#include <string>

using dialogs::CommonDialog;
using namespace dlgtest;
using namespace std::string_literals;

namespace {

constexpr int FileNameBox = 0x47c;  // cmb13 (its edit in the Explorer dialog)
constexpr int FileTypeBox = 0x470;  // cmb1

HWND NameEdit(HWND dialog) {
    HWND edit = ItemOfClass(dialog, FileNameBox, L"Edit");
    return edit ? edit : Item(dialog, 0x480);  // edt1 of the old-style dialog
}

// Types the name into the dialog the test thread shows and presses OK.
void TypeAndOk(DWORD thread, const std::wstring& name) {
    HWND dialog = WaitForDialog(thread);
    if (!dialog) return;
    SetText(NameEdit(dialog), name);
    Press(dialog, IDOK);
}

std::wstring ComboItems(HWND combo) {
    std::wstring all;
    int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[128] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        all += text;
        all += L"|";
    }
    return all;
}

}  // namespace

TEST(FileDialogs, OpenWithAFilterReturnsTheChosenFile) {
    TempFolder folder({L"notes.txt", L"data.log"});
    ActiveOwner owner;
    CommonDialog cd;
    cd.Filter(L"Text (*.txt)|*.txt|All|*.*");
    cd.FilterIndex(2);
    cd.InitDir(folder.Path());
    cd.DialogTitle(L"Pick a file");
    cd.Flags(OFN_EXPLORER | OFN_FILEMUSTEXIST);
    std::wstring types, title;
    bool ok;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            types = ComboItems(Item(dialog, FileTypeBox));
            title = TextOf(dialog);
            SetText(NameEdit(dialog), L"data.log");
            Press(dialog, IDOK);
        });
        ok = cd.ShowOpen();
    }
    EXPECT_TRUE(ok);
    EXPECT_EQ(types, L"Text (*.txt)|All|") << "the filter's descriptions in the dialog's type box";
    EXPECT_EQ(title, L"Pick a file");
    EXPECT_EQ(cd.FileName(), folder.Path() + L"\\data.log");
    EXPECT_EQ(cd.FileTitle(), L"data.log");
    EXPECT_EQ(cd.FileOffset(), static_cast<int>(folder.Path().size()) + 1);
    EXPECT_EQ(cd.FilterIndex(), 2);
}

TEST(FileDialogs, ThreeFilesChosenGiveTheFolderAndTheNames) {
    TempFolder folder({L"a.txt", L"b.txt", L"c.txt"});
    ActiveOwner owner;
    CommonDialog cd;
    cd.InitDir(folder.Path());
    cd.Flags(OFN_EXPLORER | OFN_ALLOWMULTISELECT);
    bool ok;
    {
        DialogDriver driver([&](DWORD thread) { TypeAndOk(thread, L"\"a.txt\" \"b.txt\" \"c.txt\""); });
        ok = cd.ShowOpen();
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(cd.FileName(), folder.Path() + L"\0a.txt\0b.txt\0c.txt"s);
    EXPECT_EQ(cd.FileTitle(), L"");
    EXPECT_EQ(cd.FileOffset(), static_cast<int>(folder.Path().size()) + 1) << "the offset of the first name";
}

TEST(FileDialogs, SaveAddsTheDefaultExtension) {
    TempFolder folder;
    ActiveOwner owner;
    CommonDialog cd;
    cd.InitDir(folder.Path());
    cd.DefaultExt(L"csv");
    cd.Flags(OFN_EXPLORER);
    bool ok;
    {
        DialogDriver driver([&](DWORD thread) { TypeAndOk(thread, L"report"); });
        ok = cd.ShowSave();
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(cd.FileName(), folder.Path() + L"\\report.csv");
    EXPECT_EQ(cd.FileTitle(), L"report.csv");
}

TEST(FileDialogs, HookedOpenRaisesItsEventsAndFlagsComeBackWithoutTheHookBits) {
    TempFolder folder({L"first.txt", L"second.txt"});
    ActiveOwner owner;
    CommonDialog cd;
    cd.HookEvents(true);
    cd.InitDir(folder.Path());
    cd.Flags(OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_HIDEREADONLY);
    int initKind = 0;
    HWND initDialog = nullptr;
    std::vector<std::wstring> validated;
    int validatedOffset = -1;
    cd.InitDialog = [&](int kind, HWND hDlg) {
        initKind = kind;
        initDialog = hDlg;
    };
    cd.FileValidate = [&](const std::wstring& name, const std::wstring& title, int offset, bool& cancel, HWND) {
        validated.push_back(name + L"|" + title);
        validatedOffset = offset;
        cancel = validated.size() == 1;  // the first answer is refused: the dialog stays open
    };
    bool ok;
    bool stayedOpen = false;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            SetText(NameEdit(dialog), L"first.txt");
            Press(dialog, IDOK);
            WaitFor([&] { return validated.size() == 1; });
            Sleep(300);
            stayedOpen = IsWindowVisible(dialog) != FALSE;
            SetText(NameEdit(dialog), L"second.txt");
            Press(dialog, IDOK);
        });
        ok = cd.ShowOpen();
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(initKind, 1);
    EXPECT_NE(initDialog, nullptr);
    EXPECT_TRUE(stayedOpen) << "a FileValidate handler that cancels keeps the dialog open";
    ASSERT_EQ(validated.size(), 2u);
    EXPECT_EQ(validated[0], folder.Path() + L"\\first.txt|first.txt");
    EXPECT_EQ(validatedOffset, static_cast<int>(folder.Path().size()) + 1);
    EXPECT_EQ(cd.FileName(), folder.Path() + L"\\second.txt");
    EXPECT_EQ(cd.Flags() & (OFN_ENABLEHOOK | OFN_ENABLESIZING), 0) << "the hook bits never come back";
    EXPECT_NE(cd.Flags() & OFN_HIDEREADONLY, 0);
}

TEST(FileDialogs, CancelReturnsFalseOrRaisesWithCancelError) {
    ActiveOwner owner;
    CommonDialog cd;
    cd.FileName(L"keep.txt");
    bool ok = true;
    {
        DialogDriver driver([&](DWORD thread) { Press(WaitForDialog(thread), IDCANCEL); });
        ok = cd.ShowOpen();
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(cd.FileName(), L"keep.txt");

    cd.CancelError(true);
    long number = 0;
    std::wstring text;
    {
        DialogDriver driver([&](DWORD thread) { Press(WaitForDialog(thread), IDCANCEL); });
        try {
            cd.ShowSave();
        } catch (const host::Error& e) {
            number = e.Number();
            text = e.Description();
        }
    }
    EXPECT_EQ(number, 32755);
    EXPECT_EQ(text, L"Cancel was selected.");
    EXPECT_EQ(cd.FileName(), L"keep.txt");
}

TEST(FileDialogs, ANameLongerThanMaxFileSizeIsCutAndAnAnswerTooLongIsAnError) {
    TempFolder folder({L"a-rather-long-file-name.txt"});
    ActiveOwner owner;
    CommonDialog cd;
    cd.MaxFileSize(12);
    cd.FileName(L"0123456789ABCDEF");
    cd.InitDir(folder.Path());
    cd.Flags(OFN_EXPLORER);
    std::wstring shown;
    long number = 0;
    std::wstring text;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            shown = TextOf(NameEdit(dialog));
            SetText(NameEdit(dialog), L"a-rather-long-file-name.txt");
            Press(dialog, IDOK);
        });
        try {
            cd.ShowOpen();
        } catch (const host::Error& e) {
            number = e.Number();
            text = e.Description();
        }
    }
    EXPECT_EQ(shown, L"0123456789A") << "the buffer of 12 characters keeps its NUL";
    EXPECT_EQ(number, 20476);
    EXPECT_EQ(text, L"The buffer at which the member LpstrFile points is too small.");
}

TEST(FileDialogs, OldStyleHookedDialogValidatesThroughItsRegisteredMessage) {
    TempFolder folder({L"old.txt"});
    ActiveOwner owner;
    CommonDialog cd;
    cd.HookEvents(true);
    cd.InitDir(folder.Path());
    cd.Flags(OFN_HIDEREADONLY);  // no OFN_EXPLORER: the old-style dialog
    int initKind = 0;
    std::vector<std::wstring> validated;
    cd.InitDialog = [&](int kind, HWND) { initKind = kind; };
    cd.FileValidate = [&](const std::wstring& name, const std::wstring&, int, bool& cancel, HWND) {
        validated.push_back(name);
        cancel = validated.size() == 1;
    };
    bool ok;
    bool stayedOpen = false;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            SetText(Item(dialog, 0x480), L"old.txt");
            Press(dialog, IDOK);
            WaitFor([&] { return validated.size() == 1; });
            Sleep(300);
            stayedOpen = IsWindowVisible(dialog) != FALSE;
            Press(dialog, IDOK);
        });
        ok = cd.ShowOpen();
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(initKind, 1);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(validated.size(), 2u);
    EXPECT_EQ(_wcsicmp(validated[0].c_str(), (folder.Path() + L"\\old.txt").c_str()), 0);
    EXPECT_EQ(_wcsicmp(cd.FileName().c_str(), (folder.Path() + L"\\old.txt").c_str()), 0);
    EXPECT_EQ(cd.Flags() & (OFN_ENABLEHOOK | OFN_ENABLESIZING), 0);
}

TEST(FileDialogs, TheHelpButtonRaisesHelpOnceInBothStyles) {
    ActiveOwner owner;
    CommonDialog cd;
    std::vector<std::pair<int, HWND>> helps;
    cd.Help = [&](bool& handled, int kind, HWND hDlg) {
        helps.push_back({kind, hDlg});
        handled = true;
    };
    auto pressHelp = [&](HWND& shown) {
        return [&](DWORD thread) {
            shown = WaitForDialog(thread);
            Press(shown, 0x40e);  // pshHelp
            WaitFor([&] { return !helps.empty(); }, 3000);
            Sleep(200);  // a second report would come now
            Press(shown, IDCANCEL);
        };
    };
    HWND explorer = nullptr;
    cd.Flags(OFN_EXPLORER | OFN_SHOWHELP);
    {
        DialogDriver driver(pressHelp(explorer));
        EXPECT_FALSE(cd.ShowOpen());
    }
    ASSERT_EQ(helps.size(), 1u);
    EXPECT_EQ(helps[0].first, 1);
    EXPECT_EQ(helps[0].second, explorer);
    EXPECT_EQ(GetPropW(owner.Get(), L"commdlg_help_1SubclassInit"), nullptr) << "the owner is let go after the dialog";

    helps.clear();
    HWND oldStyle = nullptr;
    cd.Flags(OFN_SHOWHELP | OFN_ENABLEHOOK);
    cd.HookEvents(true);  // hooked without OFN_EXPLORER: the old-style dialog
    {
        DialogDriver driver(pressHelp(oldStyle));
        EXPECT_FALSE(cd.ShowSave());
    }
    ASSERT_EQ(helps.size(), 1u);
    EXPECT_EQ(helps[0].first, 2);
}

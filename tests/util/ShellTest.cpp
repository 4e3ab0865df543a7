#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>

#include "TempFolder.h"
#include "util/clsUtil.h"

using utiltest::TempFolder;

namespace {

// Pumps messages until `done` holds or about ten seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
    clsUtil util;
    for (int i = 0; i < 200; ++i) {
        if (done()) return true;
        util.Wait(50);
    }
    return done();
}

TEST(Shell, EveryInnerStringNamesAShellFolder) {
    clsUtil util;
    ::CoInitialize(nullptr);
    for (long id = 0; id <= 4; ++id) {
        std::wstring name = util.GetInnerStringFromCLSID(id);
        LPITEMIDLIST item = nullptr;
        EXPECT_EQ(::SHParseDisplayName(name.c_str(), nullptr, &item, 0, nullptr), S_OK) << id;
        ::CoTaskMemFree(item);
    }
    ::CoUninitialize();
    EXPECT_EQ(util.GetInnerStringFromCLSID(5), L"");
    EXPECT_EQ(util.GetInnerStringFromCLSID(-1), L"");
}

// The folder browser is modal: a thread timer, which its message loop dispatches, finds it and
// plays the user's part.
struct BrowserScript {
    bool choose = false;     // choose `path`, else cancel
    std::wstring path;
    HWND browser = nullptr;  // found, once found
    HWND owner = nullptr;
    bool promptShown = false;
    std::wstring prompt;
};
BrowserScript script;

BOOL CALLBACK FindBrowser(HWND hwnd, LPARAM) {
    wchar_t cls[32];
    ::GetClassNameW(hwnd, cls, 32);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd)) {
        script.browser = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindPrompt(HWND hwnd, LPARAM) {
    wchar_t text[256];
    ::GetWindowTextW(hwnd, text, 256);
    if (script.prompt == text) script.promptShown = true;
    return TRUE;
}

void CALLBACK PlayUser(HWND, UINT, UINT_PTR id, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBrowser, 0);
    if (!script.browser) return;
    ::KillTimer(nullptr, id);
    script.owner = ::GetWindow(script.browser, GW_OWNER);
    ::EnumChildWindows(script.browser, FindPrompt, 0);
    if (script.choose) {
        ::SendMessageW(script.browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(script.path.c_str()));
        ::PostMessageW(script.browser, WM_COMMAND, IDOK, 0);
    } else {
        ::PostMessageW(script.browser, WM_COMMAND, IDCANCEL, 0);
    }
}

class SelectFolder : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = ::CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(owner_); }

    std::wstring Run(bool choose, const std::wstring& path) {
        script = BrowserScript{};
        script.choose = choose;
        script.path = path;
        script.prompt = L"Pick a folder";
        ::SetTimer(nullptr, 0, 20, PlayUser);
        return clsUtil().SelectFolder(owner_, script.prompt);
    }
    HWND owner_ = nullptr;
};

TEST_F(SelectFolder, CancelGivesEmptyAndTheBrowserBelongsToTheOwner) {
    EXPECT_EQ(Run(false, L""), L"");
    EXPECT_EQ(script.owner, owner_);
    EXPECT_TRUE(script.promptShown);
}

TEST_F(SelectFolder, AChosenFolderEndsWithOneBackslash) {
    TempFolder dir;
    const std::wstring chosen = dir / L"\u4E2D\u6587 \u0E01";
    utiltest::MakeFolder(chosen);
    EXPECT_EQ(Run(true, chosen), chosen + L"\\");
    EXPECT_EQ(Run(true, L"C:\\"), L"C:\\");
}

// The explorer opens a window titled with the folder's name; it is closed again here.
TEST(Shell, OpenFileHandsTheFolderToTheExplorer) {
    TempFolder dir;
    const std::wstring name = L"opened \u4E2D\u6587";
    utiltest::MakeFolder(dir / name);
    clsUtil().OpenFile(dir / name, SW_SHOWNORMAL, nullptr);
    HWND window = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (window = ::FindWindowW(L"ExplorerWClass", name.c_str())) != nullptr; }));
    if (window) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(window); }));
    }
}

TEST(Shell, NavigateWebpageRunsTheDefaultHandlerAndIgnoresFailures) {
    TempFolder dir;
    // A batch file's default handler runs it; this one leaves a mark.
    utiltest::WriteBytes(dir / L"mark.bat", "@echo off\r\necho ran> \"%~dp0mark.txt\"\r\n");
    clsUtil().NavigateWebpage(dir / L"mark.bat");
    EXPECT_TRUE(PumpUntil([&] {
        return ::GetFileAttributesW((dir / L"mark.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
    }));
    EXPECT_NO_THROW(clsUtil().NavigateWebpage(dir / L"missing.xyz"));
    EXPECT_NO_THROW(clsUtil().NavigateWebpage(L""));
    // Let the batch run finish before its folder goes.
    PumpUntil([&] {
        WIN32_FILE_ATTRIBUTE_DATA data;
        return ::GetFileAttributesExW((dir / L"mark.txt").c_str(), GetFileExInfoStandard, &data) &&
               data.nFileSizeLow >= 3;
    });
}

}  // namespace

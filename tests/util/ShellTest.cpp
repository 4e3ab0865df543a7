#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "util/clsUtil.h"

using utiltest::TempFolder;

namespace {

// Pumps messages until `done` holds or about ten seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) clsUtil().Wait(50);
    return done();
}

TEST(Shell, EveryInnerStringNamesAShellFolder) {
    clsUtil util;
    ::CoInitialize(nullptr);
    for (long id = 0; id <= 4; ++id) {
        LPITEMIDLIST item = nullptr;
        EXPECT_EQ(::SHParseDisplayName(util.GetInnerStringFromCLSID(id).c_str(), nullptr, &item, 0, nullptr), S_OK);
        ::CoTaskMemFree(item);
    }
    ::CoUninitialize();
    EXPECT_EQ(util.GetInnerStringFromCLSID(5), L"");
    EXPECT_EQ(util.GetInnerStringFromCLSID(-1), L"");
}

// The folder browser is modal: a thread timer, which its message loop dispatches, finds it and
// plays the user's part: choose `path`, or cancel when it is empty. The browser settles its own
// first selection after it shows, so the choice is made over a few ticks before OK.
struct Browser {
    std::wstring path;
    int ticks = 0;
    HWND window = nullptr;
    HWND owner = nullptr;
    bool promptShown = false;
} browser;

BOOL CALLBACK FindBrowser(HWND hwnd, LPARAM) {
    wchar_t cls[32];
    ::GetClassNameW(hwnd, cls, 32);
    if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(hwnd)) return TRUE;
    browser.window = hwnd;
    return FALSE;
}

BOOL CALLBACK FindPrompt(HWND hwnd, LPARAM) {
    wchar_t text[64];
    ::GetWindowTextW(hwnd, text, 64);
    browser.promptShown |= std::wstring(text) == L"Pick a folder";
    return TRUE;
}

void CALLBACK PlayUser(HWND, UINT, UINT_PTR id, DWORD) {
    if (!browser.window) ::EnumThreadWindows(::GetCurrentThreadId(), FindBrowser, 0);
    if (!browser.window) return;
    if (++browser.ticks < 5) {
        if (!browser.path.empty())
            ::SendMessageW(browser.window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(browser.path.c_str()));
        return;
    }
    ::KillTimer(nullptr, id);
    browser.owner = ::GetWindow(browser.window, GW_OWNER);
    ::EnumChildWindows(browser.window, FindPrompt, 0);
    ::PostMessageW(browser.window, WM_COMMAND, browser.path.empty() ? IDCANCEL : IDOK, 0);
}

std::wstring Browse(HWND owner, const std::wstring& choice) {
    browser = Browser{choice};
    ::SetTimer(nullptr, 0, 20, PlayUser);
    return clsUtil().SelectFolder(owner, L"Pick a folder");
}

TEST(Shell, SelectFolderGivesTheChoiceWithABackslashOrEmptyOnCancel) {
    HWND owner = ::CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    TempFolder dir;
    const std::wstring chosen = dir / L"\u4E2D\u6587 \u0E01";
    utiltest::MakeFolder(chosen);

    EXPECT_EQ(Browse(owner, L""), L"");
    EXPECT_EQ(browser.owner, owner);
    EXPECT_TRUE(browser.promptShown);
    EXPECT_EQ(Browse(owner, chosen), chosen + L"\\");
    EXPECT_EQ(Browse(owner, L"C:\\"), L"C:\\");
    ::DestroyWindow(owner);
}

// The explorer opens a window titled with the folder's name; it is closed again here.
TEST(Shell, OpenFileHandsTheFolderToTheExplorer) {
    TempFolder dir;
    const std::wstring name = L"opened \u4E2D\u6587";
    utiltest::MakeFolder(dir / name);
    clsUtil().OpenFile(dir / name, SW_SHOWNORMAL, nullptr);
    HWND window = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (window = ::FindWindowW(L"ExplorerWClass", name.c_str())) != nullptr; }));
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(window); }));
}

TEST(Shell, NavigateWebpageRunsTheDefaultHandlerAndIgnoresFailures) {
    TempFolder dir;
    // A batch file's default handler runs it; this one leaves a mark.
    utiltest::WriteBytes(dir / L"mark.bat", "@echo off\r\necho ran> \"%~dp0mark.txt\"\r\n");
    clsUtil().NavigateWebpage(dir / L"mark.bat");
    WIN32_FILE_ATTRIBUTE_DATA mark;
    EXPECT_TRUE(PumpUntil([&] {
        return ::GetFileAttributesExW((dir / L"mark.txt").c_str(), GetFileExInfoStandard, &mark) &&
               mark.nFileSizeLow >= 3;
    }));
    EXPECT_NO_THROW(clsUtil().NavigateWebpage(dir / L"missing.xyz"));
    EXPECT_NO_THROW(clsUtil().NavigateWebpage(L""));
}

}  // namespace

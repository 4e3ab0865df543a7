// The single-instance rule, with the real program: a second start brings the running window
// back and to the front, and opens nothing of its own.
#include "Input.h"

#include "host/Handles.h"

#include <gtest/gtest.h>

#include <string>

namespace wbtest {
namespace {

const wchar_t kCaption[] = L"Talmo 正则表达式匹配工具";

std::wstring ProgramPath() {
    std::wstring path = L"Z:" WORKBENCH_EXE_W;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// A started copy of the program; ended (if still running) when the owner goes.
class Started {
public:
    Started() {
        STARTUPINFOW si{sizeof(si)};
        std::wstring cmd = L"\"" + ProgramPath() + L"\"";
        PROCESS_INFORMATION pi{};
        EXPECT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            << GetLastError();
        process_.Reset(pi.hProcess);
        host::UniqueKernelHandle thread(pi.hThread);
    }
    ~Started() {
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.Get(), 1);
    }
    HANDLE Process() const { return process_.Get(); }
    bool Ended() const { return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; }

private:
    host::UniqueKernelHandle process_;
};

struct Windows {
    int count = 0;
    HWND first = nullptr;
};

BOOL CALLBACK CountMainWindows(HWND hwnd, LPARAM out) {
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    if (IsWindowVisible(hwnd) && std::wstring(text) == kCaption) {
        auto& w = *reinterpret_cast<Windows*>(out);
        if (!w.first) w.first = hwnd;
        ++w.count;
    }
    return TRUE;
}

Windows MainWindows() {
    Windows w;
    EnumWindows(CountMainWindows, reinterpret_cast<LPARAM>(&w));
    return w;
}

TEST(SecondInstance, BringsTheRunningWindowBackAndEnds) {
    ASSERT_EQ(MainWindows().count, 0) << "a workbench is already running";
    Started first;
    ASSERT_TRUE(PumpUntil([] { return MainWindows().count == 1; }, 30000));
    HWND window = MainWindows().first;
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(window) != FALSE; }));

    Started second;
    ASSERT_TRUE(PumpUntil([&] { return second.Ended(); }, 30000));
    DWORD code = 1;
    GetExitCodeProcess(second.Process(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(window) && GetForegroundWindow() == window; }));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_EQ(MainWindows().count, 1);
    EXPECT_FALSE(first.Ended());

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return first.Ended(); }, 30000)) << "closing the window ends the program";
}

}  // namespace
}  // namespace wbtest

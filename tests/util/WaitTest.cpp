#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "util/clsUtil.h"

namespace {

constexpr UINT kPing = WM_APP + 1;
int pings;
int ticks;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kPing) ++pings;
    if (msg == WM_TIMER) ++ticks;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(Wait, PumpsMessagesForAtLeastTheTime) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"UtilWaitTest";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowW(L"UtilWaitTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    clsUtil util;

    // One pass at least, even with nothing to wait for.
    ::PostMessageW(window, kPing, 0, 0);
    util.Wait(0);
    ::PostMessageW(window, kPing, 0, 0);
    util.Wait(-5);
    EXPECT_EQ(pings, 2);

    ::SetTimer(window, 1, 10, nullptr);
    const DWORD start = ::timeGetTime();
    util.Wait(120);
    EXPECT_GE(::timeGetTime() - start, 120u);
    EXPECT_GE(ticks, 2);
    ::KillTimer(window, 1);

    ::DestroyWindow(window);
}

}  // namespace

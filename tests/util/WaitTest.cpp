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

class Wait : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"UtilWaitTestWindow";
        ::RegisterClassW(&wc);
        window_ = ::CreateWindowW(L"UtilWaitTestWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        pings = ticks = 0;
    }
    void TearDown() override { ::DestroyWindow(window_); }
    HWND window_ = nullptr;
};

TEST_F(Wait, PumpsPendingMessagesEvenWhenTheTimeIsZeroOrNegative) {
    clsUtil util;
    ::PostMessageW(window_, kPing, 0, 0);
    util.Wait(0);
    EXPECT_EQ(pings, 1);
    ::PostMessageW(window_, kPing, 0, 0);
    ::PostMessageW(window_, kPing, 0, 0);
    util.Wait(-5);
    EXPECT_EQ(pings, 3);
}

TEST_F(Wait, LastsAtLeastTheTimeAndKeepsTimersRunning) {
    clsUtil util;
    ::SetTimer(window_, 1, 10, nullptr);
    const DWORD start = ::timeGetTime();
    util.Wait(120);
    const DWORD elapsed = ::timeGetTime() - start;
    ::KillTimer(window_, 1);
    EXPECT_GE(elapsed, 120u);
    EXPECT_GE(ticks, 2);
}

TEST_F(Wait, LeavesAQuitRequestForTheMessageLoop) {
    clsUtil util;
    ::PostQuitMessage(7);
    util.Wait(10);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace

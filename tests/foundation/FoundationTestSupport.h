// What the foundation tests share: answering message boxes from another thread, clicking
// real points of the screen, and the application's bounded pump.
#pragma once

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <thread>

namespace foundationtest {

// Waits on another thread for a message box of this process and presses one of its buttons,
// recording what the box showed.
struct BoxPresser {
    std::wstring title, text;
    HWND owner = nullptr;
    std::atomic<bool> found{false};
    std::thread thread;
    explicit BoxPresser(int buttonId) {
        thread = std::thread([this, buttonId] {
            for (int i = 0; i < 500 && !found; ++i) {
                HWND box = FindWindowW(L"#32770", nullptr);
                if (box && IsWindowVisible(box)) {
                    wchar_t buf[256] = {};
                    GetWindowTextW(box, buf, 256);
                    title = buf;
                    owner = GetWindow(box, GW_OWNER);
                    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                        wchar_t cls[32] = {};
                        GetClassNameW(c, cls, 32);
                        if (wcscmp(cls, L"Static") == 0 && GetWindowTextLengthW(c) > 0) {
                            GetWindowTextW(c, buf, 256);
                            text = buf;
                        }
                    }
                    found = true;
                    PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
                }
                Sleep(10);
            }
        });
    }
    void Wait() {
        if (thread.joinable()) thread.join();
    }
    ~BoxPresser() { Wait(); }
};


// Common controls 6 for the windows created while it lives, as the program's manifest gives them
// (the test programs carry no manifest).
class CommonControlsV6 {
public:
    CommonControlsV6();
    ~CommonControlsV6();
    CommonControlsV6(const CommonControlsV6&) = delete;
    CommonControlsV6& operator=(const CommonControlsV6&) = delete;
    bool Active() const { return cookie_ != 0; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// A left click at a screen point through the system's input queue, pumped until it is processed.
void ClickAt(POINT screen);
// The centre of a window in screen coordinates.
POINT CentreOf(HWND hwnd);

}  // namespace foundationtest

// LockWindowUpdate for a re-creation, released at scope end however the scope is left (a Click
// handler run by the restore may throw; the lock must not outlive it).
#pragma once

#include <windows.h>

namespace foundation {

class WindowUpdateLock {
public:
    explicit WindowUpdateLock(HWND hwnd) : locked_(hwnd && LockWindowUpdate(hwnd)) {}
    ~WindowUpdateLock() {
        if (locked_) LockWindowUpdate(nullptr);
    }
    WindowUpdateLock(const WindowUpdateLock&) = delete;
    WindowUpdateLock& operator=(const WindowUpdateLock&) = delete;

private:
    bool locked_;
};

}  // namespace foundation

// Wakeup: a message-only window that calls back from the message loop of the thread that made
// it. Any thread may Post; the owning thread may also ask to be called only after the input that
// waits in its queue has been read (a posted message is taken before input, a timer message
// after it). Requests coalesce: however many come before the call, the callback runs once.
#pragma once

#include "host/Handles.h"

#include <windows.h>

#include <atomic>
#include <functional>

namespace host {
template <typename T>
LRESULT RouteToObject(HWND, UINT, WPARAM, LPARAM);
}

namespace workbench {

class Wakeup {
public:
    explicit Wakeup(std::function<void()> callback);
    ~Wakeup() = default;  // the window goes, and with it whatever was posted to it
    Wakeup(const Wakeup&) = delete;
    Wakeup& operator=(const Wakeup&) = delete;

    void Post();            // any thread
    void PostAfterInput();  // the owning thread only

private:
    template <typename T>
    friend LRESULT host::RouteToObject(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void Call();

    std::function<void()> callback_;
    std::atomic<bool> requested_{false};
    host::UniqueWindow hwnd_;
};

}  // namespace workbench

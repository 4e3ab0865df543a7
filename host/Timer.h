// A host timer: SetTimer on a window the host owns, delivered to a callback on the UI thread.
// Move-only; destroying it (or Enabled(false)) kills the Win32 timer.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace host {

class TimerTarget;

class Timer {
public:
    Timer() = default;
    // `target` is the window procedure owner that routes WM_TIMER (a host window or a form);
    // borrowed, it outlives the timer because it owns the control that owns the timer.
    Timer(TimerTarget& target, UINT intervalMs, std::function<void()> tick);
    Timer(Timer&&) noexcept;
    Timer& operator=(Timer&&) noexcept;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    bool Enabled() const { return enabled_; }
    void Enabled(bool on);
    UINT Interval() const { return interval_; }
    void Interval(UINT ms);  // restarts a running timer with the new interval

private:
    void Stop();
    TimerTarget* target_ = nullptr;
    UINT_PTR id_ = 0;
    UINT interval_ = 0;
    bool enabled_ = false;
    std::shared_ptr<std::function<void()>> tick_;
};

// Implemented by the windows that own timers: keeps the id → callback table for WM_TIMER.
class TimerTarget {
public:
    virtual HWND TimerWindow() const = 0;
    UINT_PTR RegisterTimer(std::shared_ptr<std::function<void()>> tick);
    void UnregisterTimer(UINT_PTR id);
    // Called from WM_TIMER; false when the id is not one of ours.
    bool DispatchTimer(UINT_PTR id);

protected:
    ~TimerTarget() = default;

private:
    struct Entry {
        UINT_PTR id;
        std::shared_ptr<std::function<void()>> tick;
    };
    std::vector<Entry> timers_;
    UINT_PTR nextId_ = 0x4000;
};

}  // namespace host

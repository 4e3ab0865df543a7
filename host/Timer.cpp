#include "host/Timer.h"

#include <algorithm>
#include <utility>

namespace host {

Timer::Timer(TimerTarget& target, UINT intervalMs, std::function<void()> tick)
    : target_(&target), interval_(intervalMs), tick_(std::make_shared<std::function<void()>>(std::move(tick))) {
    id_ = target_->RegisterTimer(tick_);
}

Timer::Timer(Timer&& o) noexcept
    : target_(std::exchange(o.target_, nullptr)), id_(std::exchange(o.id_, 0)), interval_(o.interval_),
      enabled_(std::exchange(o.enabled_, false)), tick_(std::move(o.tick_)) {}

Timer& Timer::operator=(Timer&& o) noexcept {
    if (this != &o) {
        Stop();
        target_ = std::exchange(o.target_, nullptr);
        id_ = std::exchange(o.id_, 0);
        interval_ = o.interval_;
        enabled_ = std::exchange(o.enabled_, false);
        tick_ = std::move(o.tick_);
    }
    return *this;
}

Timer::~Timer() { Stop(); }

void Timer::Stop() {
    if (!target_) return;
    Enabled(false);
    target_->UnregisterTimer(id_);
    target_ = nullptr;
}

void Timer::Enabled(bool on) {
    if (!target_) return;
    HWND hwnd = target_->TimerWindow();
    if (on && interval_ > 0 && hwnd) {
        SetTimer(hwnd, id_, interval_, nullptr);
        enabled_ = true;
    } else {
        if (enabled_ && hwnd) KillTimer(hwnd, id_);
        enabled_ = false;
    }
}

void Timer::Interval(UINT ms) {
    interval_ = ms;
    if (enabled_) Enabled(true);
}

UINT_PTR TimerTarget::RegisterTimer(std::shared_ptr<std::function<void()>> tick) {
    UINT_PTR id = ++nextId_;
    timers_.push_back({id, std::move(tick)});
    return id;
}

void TimerTarget::UnregisterTimer(UINT_PTR id) {
    std::erase_if(timers_, [id](const Entry& e) { return e.id == id; });
}

bool TimerTarget::DispatchTimer(UINT_PTR id) {
    for (const Entry& e : timers_) {
        if (e.id == id) {
            // Keep the callback alive even if the tick destroys its Timer.
            auto tick = e.tick;
            if (*tick) (*tick)();
            return true;
        }
    }
    return false;
}

}  // namespace host

#include "app/MatchWorker.h"

#include <new>

namespace workbench {

MatchWorker::MatchWorker(std::function<void(MatchOutcome)> finished)
    : finished_(std::move(finished)), handOver_([this] { HandOver(); }), thread_([this] { ThreadMain(); }) {}

MatchWorker::~MatchWorker() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        StopRunning();
    }
    wake_.notify_one();
    thread_.join();
}

void MatchWorker::Start(std::wstring pattern, std::shared_ptr<const std::wstring> source) {
    auto request = std::make_shared<Request>();
    request->pattern = std::move(pattern);
    request->source = std::move(source);
    {
        std::lock_guard lock(mutex_);
        StopRunning();
        request->id = ++latest_;
        pending_ = std::move(request);
        done_.reset();
    }
    awaiting_ = true;
    wake_.notify_one();
}

void MatchWorker::Cancel() {
    {
        std::lock_guard lock(mutex_);
        StopRunning();
        ++latest_;
        pending_.reset();
        done_.reset();
    }
    awaiting_ = false;
}

void MatchWorker::StopRunning() {
    if (running_) running_->stop.store(true, std::memory_order_relaxed);
}

void MatchWorker::ThreadMain() {
    for (;;) {
        std::shared_ptr<Request> request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return quit_ || pending_; });
            if (quit_) return;
            request = std::move(pending_);
            running_ = request;
        }
        std::optional<MatchOutcome> outcome = Run(*request);
        {
            std::lock_guard lock(mutex_);
            running_.reset();
            if (!outcome || request->id != latest_) continue;
            done_ = Done{request->id, std::move(*outcome)};
        }
        handOver_.Post();
    }
}

std::optional<MatchOutcome> MatchWorker::Run(Request& request) {
    try {
        // the window's engine object belongs to the window thread; a run here has its own
        rx::RegExp engine;
        engine.IgnoreCase(false);
        engine.Multiline(true);
        engine.Global(true);
        engine.Pattern(request.pattern);
        engine.StopFlag(&request.stop);
        return MatchOutcome(engine.Execute(request.source));
    } catch (const base::Error& e) {
        if (e.Number() == rx::err::Stopped) return std::nullopt;
    } catch (const std::exception&) {
    }
    return MatchOutcome();
}

void MatchWorker::HandOver() {
    std::optional<Done> done;
    {
        std::lock_guard lock(mutex_);
        if (!done_ || done_->id != latest_) return;
        done = std::move(done_);
        done_.reset();
    }
    awaiting_ = false;
    finished_(std::move(done->outcome));
}

}  // namespace workbench

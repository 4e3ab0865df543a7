// MatchWorker: the thread of the real-time runs. The user-interface thread hands it a pattern and
// a snapshot of the source that nobody changes; the worker runs its own engine object on them and
// hands the outcome back through the window thread's message loop. A newer request stops the run
// in flight through the engine's stop flag, and only the newest request's outcome is ever handed
// back: a superseded or cancelled run leaves no trace.
#pragma once

#include "app/Wakeup.h"
#include "regexp/RegExp.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace workbench {

// The matches of a run, or nothing when the engine refused it (a rejected pattern, the step
// budget, memory).
using MatchOutcome = std::optional<rx::MatchCollection>;

class MatchWorker {
public:
    // `finished` is called on the thread that made the worker, from its message loop.
    explicit MatchWorker(std::function<void(MatchOutcome)> finished);
    ~MatchWorker();  // stops the run in flight and waits for the thread
    MatchWorker(const MatchWorker&) = delete;
    MatchWorker& operator=(const MatchWorker&) = delete;

    // A run with the workbench's settings (case-sensitive, multi-line, global) in place of any
    // earlier request.
    void Start(std::wstring pattern, std::shared_ptr<const std::wstring> source);
    // The request in flight is stopped and its outcome dropped.
    void Cancel();
    // Whether an outcome is still to come.
    bool Awaiting() const { return awaiting_; }

private:
    struct Request {
        uint64_t id = 0;
        std::wstring pattern;
        std::shared_ptr<const std::wstring> source;
        std::atomic<bool> stop{false};
    };
    struct Done {
        uint64_t id = 0;
        MatchOutcome outcome;
    };

    void ThreadMain();
    std::optional<MatchOutcome> Run(Request& request);  // nothing when it was stopped
    void StopRunning();  // with mutex_ held
    void HandOver();

    std::function<void(MatchOutcome)> finished_;
    bool awaiting_ = false;  // window thread only

    // shared with the worker thread, under mutex_
    std::mutex mutex_;
    std::condition_variable wake_;
    uint64_t latest_ = 0;               // the request whose outcome is wanted
    std::shared_ptr<Request> pending_;  // not taken up yet
    std::shared_ptr<Request> running_;
    std::optional<Done> done_;
    bool quit_ = false;

    Wakeup handOver_;      // made before the thread, which posts to it
    std::thread thread_;   // last: started once everything above exists
};

}  // namespace workbench

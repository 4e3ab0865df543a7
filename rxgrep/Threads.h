// The second thread rxgrep's input side may take: a thread started on another processor than the
// caller's, joined by its owner. POSIX only: on Windows rxgrep stays on one thread.
#pragma once

#ifndef _WIN32

#include <pthread.h>
#include <sched.h>


namespace rxgrep {

// Asks that a thread started with these attributes run from its start on another processor than
// the caller's (Linux; elsewhere, or with a single processor, the system places it). Left to the
// scheduler, a new thread here often shared the caller's processor for milliseconds, until an
// idle one pulled it over at its next tick, the two taking turns instead of running together.
// Returns the caller's processor that it kept the thread away from, or -1.
int PlaceAwayFromCaller(pthread_attr_t& attr);

// A thread that runs one function and is joined when its owner goes, on every way out. It runs
// on another processor than its starter's; before the join it may go to any processor the
// starter may use, so that, when the other one is busy with another process, the thread can
// finish on the starter's own, which the join leaves idle (held to the busy one, it waited there
// for its turn, and the join with it).
class JoinedThread {
public:
    JoinedThread() = default;
    JoinedThread(const JoinedThread&) = delete;
    JoinedThread& operator=(const JoinedThread&) = delete;
    ~JoinedThread() { Join(); }

    // Starts run(arg) on a thread placed away from the caller; false when none could be started.
    bool Start(void* (*run)(void*), void* arg);
    void Join();
    // The processor the thread was kept away from at its start, or -1 (none asked).
    int AwayFrom() const { return awayFrom_; }

private:
    pthread_t thread_{};
    bool running_ = false;
    int awayFrom_ = -1;
#ifdef __linux__
    cpu_set_t allowed_{};  // the processors the starter may use
    bool knowsAllowed_ = false;
#endif
};

}  // namespace rxgrep

#endif  // _WIN32

// The second thread rxgrep's input side may take, and how its two threads hand work over:
//   JoinedThread — a thread started on another processor than the caller's, joined by its owner;
//   Progress     — a count one thread raises and the other waits for (a short spin, then asleep).
// POSIX only: on Windows rxgrep stays on one thread.
#pragma once

#ifndef _WIN32

#include <pthread.h>

#include <atomic>
#include <cstdint>

namespace rxgrep {

// Asks that a thread started with these attributes run from its start on another processor than
// the caller's (Linux; elsewhere, or with a single processor, the system places it). Left to the
// scheduler, a new thread here often shared the caller's processor for milliseconds, until an
// idle one pulled it over at its next tick, the two taking turns instead of running together.
void PlaceAwayFromCaller(pthread_attr_t& attr);

// A thread that runs one function and is joined when its owner goes, on every way out.
class JoinedThread {
public:
    JoinedThread() = default;
    JoinedThread(const JoinedThread&) = delete;
    JoinedThread& operator=(const JoinedThread&) = delete;
    ~JoinedThread() { Join(); }

    // Starts run(arg) on a thread placed away from the caller; false when none could be started.
    bool Start(void* (*run)(void*), void* arg);
    void Join();

private:
    pthread_t thread_{};
    bool running_ = false;
};

// A count of items done, raised by one thread and waited for by the other. Raising costs an
// atomic add, and a system call only when the other thread has gone to sleep on it; waiting
// spins a few microseconds (the other is often just about to finish) before it sleeps.
class Progress {
public:
    uint32_t Load() const { return value_.load(std::memory_order_acquire); }
    // Publishes everything this thread wrote before it to the thread that sees the new count.
    void Raise();
    // Until ready(count) holds or `stop` is set; false when stopped (stop is looked at first: the
    // thread that sets it raises the count to wake the waiter, which proves nothing ready).
    template <typename Ready>
    bool WaitUntil(Ready ready, const std::atomic<bool>& stop) {
        for (int spin = 0; spin < kSpins; ++spin) {
            if (stop.load(std::memory_order_acquire)) return false;
            if (ready(Load())) return true;
            Pause();
        }
        for (;;) {
            if (stop.load(std::memory_order_acquire)) return false;
            const uint32_t seen = Load();
            if (ready(seen)) return true;
            Sleep(seen, stop);
        }
    }

private:
    static constexpr int kSpins = 100;  // a few microseconds
    static void Pause();
    // Sleeps while the count is still `seen` and stop is not set (or wakes without cause).
    void Sleep(uint32_t seen, const std::atomic<bool>& stop);

    std::atomic<uint32_t> value_{0};
    std::atomic<uint32_t> sleepers_{0};
};

}  // namespace rxgrep

#endif  // _WIN32

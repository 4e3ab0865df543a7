// The second thread rxgrep's input side may take, and how its two threads hand work over:
//   JoinedThread — a thread started on another processor than the caller's, joined by its owner;
//   Progress     — a count one thread raises and the other waits for (a short spin, then asleep).
// POSIX only: on Windows rxgrep stays on one thread.
#pragma once

#ifndef _WIN32

#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <cstdint>

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

// A count of items done, raised by one thread and waited for by one other. Raising costs an
// atomic add, and a system call only when it brings the count to where the waiter, asleep, asked
// to be woken: so a waiter that asks to be woken a few items later than it needs to go on is
// woken once for those few (a wake-up costs the raiser some microseconds on this virtual
// machine, and the waiter some tens before it runs). Waiting spins a few microseconds first.
class Progress {
public:
    uint32_t Load() const { return value_.load(std::memory_order_acquire); }
    // Publishes everything this thread wrote before it to the thread that sees the new count.
    void Raise() { RaiseAndWake(false); }
    // Raises and wakes the waiter whatever it waits for (after setting its stop flag).
    void Interrupt() { RaiseAndWake(true); }
    // Until the count reaches `least`, or `stop` is set; asleep (after the spin) until it
    // reaches `wake` (no less than `least`). False when stopped; stop is looked at first, as an
    // Interrupt raises the count.
    bool WaitFor(uint32_t least, uint32_t wake, const std::atomic<bool>& stop);

private:
    static constexpr int kSpins = 100;  // a few microseconds
    // Whether `count` has reached `target` (counts compared by their difference: they wrap).
    static bool Reached(uint32_t count, uint32_t target) { return static_cast<int32_t>(count - target) >= 0; }
    void RaiseAndWake(bool always);

    std::atomic<uint32_t> value_{0};
    std::atomic<uint32_t> wakeAt_{0};
    std::atomic<bool> sleeping_{false};
};

}  // namespace rxgrep

#endif  // _WIN32

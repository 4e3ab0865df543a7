#include "rxgrep/Threads.h"

#ifndef _WIN32

#include <climits>

#ifdef __linux__
#include <linux/futex.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>
#else
#include <sched.h>
#endif

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace rxgrep {

void PlaceAwayFromCaller(pthread_attr_t& attr) {
#ifdef __linux__
    cpu_set_t others;
    const int here = sched_getcpu();
    if (here >= 0 && here < CPU_SETSIZE && sched_getaffinity(0, sizeof others, &others) == 0) {
        CPU_CLR(here, &others);
        if (CPU_COUNT(&others) > 0) pthread_attr_setaffinity_np(&attr, sizeof others, &others);
    }
#else
    (void)attr;
#endif
}

bool JoinedThread::Start(void* (*run)(void*), void* arg) {
    Join();
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    PlaceAwayFromCaller(attr);
    running_ = pthread_create(&thread_, &attr, run, arg) == 0;
    pthread_attr_destroy(&attr);
    return running_;
}

void JoinedThread::Join() {
    if (!running_) return;
    pthread_join(thread_, nullptr);
    running_ = false;
}

void Progress::Pause() {
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#endif
}

// The sleeper counts itself before it looks at the count and the stop flag one last time, and
// the raiser changes the count before it looks for sleepers (all sequentially consistent): so
// either the sleeper sees the change and does not sleep, or the raiser sees the sleeper and
// wakes it; the system call itself sleeps only while the count is still what the sleeper saw.
void Progress::Sleep(uint32_t seen, const std::atomic<bool>& stop) {
    sleepers_.fetch_add(1);
    if (value_.load() == seen && !stop.load()) {
#ifdef __linux__
        syscall(SYS_futex, reinterpret_cast<uint32_t*>(&value_), FUTEX_WAIT_PRIVATE, seen, nullptr, nullptr, 0);
#else
        sched_yield();
#endif
    }
    sleepers_.fetch_sub(1);
}

void Progress::Raise() {
    value_.fetch_add(1);
#ifdef __linux__
    if (sleepers_.load() > 0)
        syscall(SYS_futex, reinterpret_cast<uint32_t*>(&value_), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
#endif
}

}  // namespace rxgrep

#endif  // _WIN32

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

int PlaceAwayFromCaller(pthread_attr_t& attr) {
#ifdef __linux__
    cpu_set_t others;
    const int here = sched_getcpu();
    if (here >= 0 && here < CPU_SETSIZE && sched_getaffinity(0, sizeof others, &others) == 0) {
        CPU_CLR(here, &others);
        if (CPU_COUNT(&others) > 0 && pthread_attr_setaffinity_np(&attr, sizeof others, &others) == 0) return here;
    }
#else
    (void)attr;
#endif
    return -1;
}

bool JoinedThread::Start(void* (*run)(void*), void* arg) {
    Join();
#ifdef __linux__
    knowsAllowed_ = sched_getaffinity(0, sizeof allowed_, &allowed_) == 0;
#endif
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    awayFrom_ = PlaceAwayFromCaller(attr);
    running_ = pthread_create(&thread_, &attr, run, arg) == 0;
    pthread_attr_destroy(&attr);
    return running_;
}

void JoinedThread::Join() {
    if (!running_) return;
#ifdef __linux__
    if (knowsAllowed_) pthread_setaffinity_np(thread_, sizeof allowed_, &allowed_);
#endif
    pthread_join(thread_, nullptr);
    running_ = false;
}

bool Progress::WaitFor(uint32_t least, uint32_t wake, const std::atomic<bool>& stop) {
    for (int spin = 0; spin < kSpins; ++spin) {
        if (stop.load(std::memory_order_acquire)) return false;
        if (Reached(Load(), least)) return true;
#if defined(__x86_64__) || defined(__i386__)
        _mm_pause();
#endif
    }
    for (;;) {
        if (stop.load(std::memory_order_acquire)) return false;
        const uint32_t seen = Load();
        if (Reached(seen, least)) return true;
        // The waiter says where it is to be woken and that it sleeps before it looks at the
        // count and the stop flag one last time; the raiser changes the count before it looks
        // for a sleeper (all sequentially consistent). So either the waiter sees the change, or
        // the raiser sees the waiter; and the system call sleeps only while the count is still
        // what the waiter saw.
        wakeAt_.store(wake);
        sleeping_.store(true);
        if (value_.load() == seen && !stop.load()) {
#ifdef __linux__
            syscall(SYS_futex, reinterpret_cast<uint32_t*>(&value_), FUTEX_WAIT_PRIVATE, seen, nullptr, nullptr, 0);
#else
            sched_yield();
#endif
        }
        sleeping_.store(false);
    }
}

void Progress::RaiseAndWake(bool always) {
    const uint32_t now = value_.fetch_add(1) + 1;
    if (sleeping_.load() && (always || Reached(now, wakeAt_.load()))) {
#ifdef __linux__
        syscall(SYS_futex, reinterpret_cast<uint32_t*>(&value_), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
#endif
    }
}

}  // namespace rxgrep

#endif  // _WIN32

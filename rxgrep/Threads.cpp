#include "rxgrep/Threads.h"

#ifndef _WIN32

#include <sched.h>

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

}  // namespace rxgrep

#endif  // _WIN32

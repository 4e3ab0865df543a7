// The input side's second thread: it starts away from its starter's processor and has finished
// by the time Join returns.
#include <gtest/gtest.h>

#include <sched.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "rxgrep/Threads.h"

using namespace std::chrono_literals;

TEST(JoinedThread, StartsAwayFromTheStartersProcessorAndHasEndedWhenJoined) {
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    struct Seen {
        std::atomic<int> cpu{-1};
        bool done = false;  // written by the thread, read after the join only
    } seen;
    for (int attempt = 0; attempt < 20; ++attempt) {
        seen.cpu.store(-1);
        seen.done = false;
        rxgrep::JoinedThread thread;
        ASSERT_TRUE(thread.Start([](void* p) -> void* {
            auto* s = static_cast<Seen*>(p);
            s->cpu.store(sched_getcpu());
            std::this_thread::sleep_for(5ms);
            s->done = true;
            return nullptr;
        }, &seen));
        // (the join lets the thread go anywhere: its first processor is read before that)
        while (seen.cpu.load() < 0) std::this_thread::yield();
        const int away = thread.AwayFrom();
        thread.Join();
        EXPECT_TRUE(seen.done);
        if (CPU_COUNT(&allowed) > 1) {
            ASSERT_GE(away, 0);
            EXPECT_NE(seen.cpu.load(), away) << "attempt " << attempt;
        }
    }
}

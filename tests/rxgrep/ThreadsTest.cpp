// The two threads of the input side: a waiter asleep on a count is woken where it asked to be,
// never left asleep past it (a lost wake-up would hang the count for good), and an interrupt
// ends any wait; a joined thread starts away from its starter's processor and has finished by
// the time Join returns.
#include <gtest/gtest.h>

#include <sched.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "rxgrep/Threads.h"

namespace {

using namespace std::chrono_literals;

// Ends a wait that has not ended on its own within the time, so that a test that finds a hang
// fails instead of hanging; true when the wait ended on its own.
bool EndsWithin(std::future<bool>& waiting, std::atomic<bool>& stop, rxgrep::Progress& progress,
                std::chrono::seconds limit) {
    if (waiting.wait_for(limit) == std::future_status::ready) return true;
    stop.store(true);
    progress.Interrupt();
    waiting.wait();
    return false;
}

}  // namespace

TEST(Progress, AWaiterIsWokenWhereItAskedEveryTime) {
    // the raiser runs unevenly (bursts, pauses, yields), the waiter asks for every count in turn
    // to be woken a few later, as the decoding helper does: every wait must end, and see its count
    constexpr uint32_t kCounts = 20000;
    rxgrep::Progress progress;
    std::atomic<bool> stop{false};
    std::atomic<uint32_t> lastSeen{0};
    auto waiting = std::async(std::launch::async, [&] {
        for (uint32_t want = 1; want <= kCounts; ++want) {
            if (!progress.WaitFor(want, want + want % 4, stop)) return false;
            if (progress.Load() < want) return false;
            lastSeen.store(want);
        }
        return true;
    });
    for (uint32_t k = 0; k < kCounts + 4; ++k) {
        progress.Raise();
        if (k % 97 == 0) std::this_thread::sleep_for(50us);
        else if (k % 7 == 0) std::this_thread::yield();
    }
    ASSERT_TRUE(EndsWithin(waiting, stop, progress, 20s)) << "stuck waiting for " << lastSeen.load() + 1;
    EXPECT_TRUE(waiting.get());
    EXPECT_EQ(lastSeen.load(), kCounts);
}

TEST(Progress, AnInterruptEndsAWaitForACountThatNeverComes) {
    rxgrep::Progress progress;
    std::atomic<bool> stop{false};
    auto waiting = std::async(std::launch::async, [&] { return progress.WaitFor(5, 5, stop); });
    progress.Raise();
    std::this_thread::sleep_for(20ms);  // asleep by now, past its spin
    EXPECT_EQ(waiting.wait_for(0s), std::future_status::timeout);
    stop.store(true);
    progress.Interrupt();
    ASSERT_EQ(waiting.wait_for(10s), std::future_status::ready);
    EXPECT_FALSE(waiting.get());
}

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

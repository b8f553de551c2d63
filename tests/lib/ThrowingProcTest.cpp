// Procedures that throw between other entries: the lists and the pool carry on and stop at once.
#include <chrono>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "lib/BaseListTimers.h"
#include "lib/BasePoolThread.h"
#include "tests/lib/TraceLines.h"

namespace {

bool Throw(void* param) {
    static_cast<Job*>(param)->calls.Hit();
    throw std::runtime_error("boom");
}

// Every entry runs on every tick, a pair is added once, false removes an entry and a throw
// drops it; Stop empties the list and no call follows it.
TEST(ThrowingProcTest, TimerEntryThatThrowsIsDroppedAndTheListGoesOn) {
    TraceLines lines;
    Job before, thrower, after, again;
    before.falseAt = 2;
    Traced<BaseListTimers> list(lines);
    list.AddProcTimer("Before", &JobProc, &before);
    list.AddProcTimer("Thrower", &Throw, &thrower);
    list.AddProcTimer("After", &JobProc, &after);
    list.AddProcTimer("After2", &JobProc, &after);
    EXPECT_EQ(list.Size(), 3u);
    list.Start("List", 0, 5, false);
    ASSERT_TRUE(after.calls.WaitFor(3));
    EXPECT_EQ(before.calls.Count(), 2);
    EXPECT_EQ(thrower.calls.Count(), 1);
    EXPECT_EQ(lines.Count("exception in Thrower: boom"), 1);
    EXPECT_EQ(list.Size(), 1u);
    list.AddProcTimer("Again", &JobProc, &again);
    EXPECT_TRUE(again.calls.WaitFor(2));
    list.Stop();
    EXPECT_EQ(list.Size(), 0u);
    const int stopped = again.calls.Count();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(again.calls.Count(), stopped);
    // Run at once inside AddProcTimer: the exception stays inside, the entry is not kept.
    Traced<BaseListTimersSecond> second(lines);
    EXPECT_NO_THROW(second.AddProcTimer("Now", &Throw, &thrower, 0, 1));
    EXPECT_EQ(second.Size(), 0u);
    EXPECT_EQ(lines.Count("exception in Now(0,1): boom"), 1);
}

TEST(ThrowingProcTest, PoolWorkerOfAThrowingProcBecomesIdle) {
    TraceLines lines;
    Job before, thrower, after, again;
    Traced<BasePoolThread> pool(lines, "P", false);
    pool.StartProc("Before", &JobProc, &before, 0, 5);
    pool.StartProc("Thrower", &Throw, &thrower, 0, 5);
    pool.StartProc("After", &JobProc, &after, 0, 5);
    ASSERT_TRUE(thrower.calls.WaitFor(1));
    pool.StopProc(&Throw, &thrower);
    EXPECT_EQ(lines.Count("exception in Thrower: boom"), 1);
    pool.StartProc("Again", &JobProc, &again, 0, 0);
    EXPECT_TRUE(again.calls.WaitFor(1));
    EXPECT_EQ(pool.Size(), 3u);  // the thrower's worker was reused
    EXPECT_TRUE(after.calls.WaitFor(after.calls.Count() + 2));
    EXPECT_EQ(thrower.calls.Count(), 1);
    pool.Stop();
    EXPECT_EQ(pool.Size(), 0u);
}

}  // namespace

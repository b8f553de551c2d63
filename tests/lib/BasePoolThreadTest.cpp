#include "lib/BasePoolThread.h"

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/lib/TraceLines.h"

namespace {

bool OtherProc(void* param) { return JobProc(param); }

class BasePoolThreadTest : public testing::Test {
protected:
    Job m_Job, m_Other;  // outlive the pool's workers
    BasePoolThread m_Pool{"P"};
};

// True once the worker is idle again (bounded).
bool Idles(BasePoolThread::Thread* w) {
    for (int i = 0; i < 2000 && w->IsBusy(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return !w->IsBusy();
}

// An idle worker is reused; the same pair again gets its running worker, another parameter or
// procedure a new one. A periodic pair runs until false, then its worker idles.
TEST_F(BasePoolThreadTest, IdleWorkerIsReusedRunningPairIsRefused) {
    m_Job.falseAt = 3;
    BasePoolThread::Thread* first = m_Pool.StartProc("First", &JobProc, &m_Job, 0, 1);
    ASSERT_TRUE(m_Job.calls.WaitFor(3) && Idles(first));
    EXPECT_EQ(m_Job.calls.Count(), 3);
    EXPECT_EQ(m_Pool.StartProc("Second", &JobProc, &m_Other, 0, kHour), first);
    ASSERT_TRUE(m_Other.calls.WaitFor(1));
    EXPECT_EQ(m_Pool.StartProc("Again", &JobProc, &m_Other, 0, kHour), first);
    EXPECT_NE(m_Pool.StartProc("Third", &JobProc, &m_Job, 0, kHour), first);
    EXPECT_NE(m_Pool.StartProc("Fourth", &OtherProc, &m_Other, 0, kHour), first);
    EXPECT_EQ(m_Pool.Size(), 3u);
    EXPECT_TRUE(m_Job.calls.WaitFor(4));
}

TEST_F(BasePoolThreadTest, StopProcEndsWaitingPairAndKeepsWorker) {
    BasePoolThread::Thread* worker = m_Pool.StartProc("Waiting", &JobProc, &m_Job, 0, kHour);
    ASSERT_TRUE(m_Job.calls.WaitFor(1));
    std::string name;
    EXPECT_EQ(m_Pool.IsStartProc(&JobProc, &m_Job, name, false), worker);
    EXPECT_EQ(name.rfind("Waiting(0,3600000) PID: ", 0), 0u) << name;
    const auto before = std::chrono::steady_clock::now();
    m_Pool.StopProc(&JobProc, &m_Job);
    m_Pool.StopProc(&JobProc, &m_Other);  // unknown: returns at once
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
    EXPECT_FALSE(worker->IsBusy());
    EXPECT_EQ(worker->State(), "Before wait exec");
    EXPECT_EQ(m_Pool.IsStartProc(&JobProc, &m_Job, name, false), nullptr);
    EXPECT_EQ(m_Job.calls.Count(), 1);
    EXPECT_EQ(m_Pool.StartProc("Next", &JobProc, &m_Other, 0, 0), worker);
    EXPECT_TRUE(m_Other.calls.WaitFor(1));
    EXPECT_EQ(m_Pool.Size(), 1u);
}

// Stop ends workers that wait for an assignment, between calls, or before their first call;
// the pool then works again.
TEST_F(BasePoolThreadTest, StopEndsEveryKindOfWaitAndLeavesNoThread) {
    const int baseline = ThreadCount();
    Job delayed;
    m_Pool.StartProc("Once", &JobProc, &m_Job, 0, 0);
    m_Pool.StartProc("Periodic", &JobProc, &m_Other, 0, kHour);
    m_Pool.StartProc("Delayed", &JobProc, &delayed, kHour, 0);
    ASSERT_TRUE(m_Job.calls.WaitFor(1) && m_Other.calls.WaitFor(1));
    const auto before = std::chrono::steady_clock::now();
    m_Pool.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
    EXPECT_EQ(m_Pool.Size(), 0u);
    EXPECT_EQ(ThreadCount(), baseline);
    EXPECT_EQ(m_Other.calls.Count() + delayed.calls.Count(), 1);
    m_Pool.StartProc("After", &JobProc, &m_Job, 0, 0);
    EXPECT_TRUE(m_Job.calls.WaitFor(2));
}

// Slow (30 s): run by its own CTest entry.
TEST(BasePoolThreadDeathTest, DISABLED_LockNotHadIn30SecondsAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(2, 1);
            BasePoolThread pool("Stuck");
            std::thread holder([&] { pool.Lock("holder action"); });
            holder.join();
            pool.Lock("second");
        },
        testing::KilledBySignal(SIGABRT),
        "Stuck - second act:holder action - lock during 30 sec\nabort second act:holder action - "
        "lock during 30 sec");
}

}  // namespace

#include "lib/BasePoolThread.h"

#include <atomic>
#include <chrono>
#include <csignal>

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/lib/TraceLines.h"

namespace {

class BasePoolThreadTest : public testing::Test {
protected:
    Job m_Job, m_Other;  // outlive the pool's workers
    TraceLines m_Lines;
    Traced<BasePoolThread> m_Pool{m_Lines, "P"};
};

// An idle worker is reused, also once its procedure threw; the same pair again gets its running
// worker, another parameter or procedure a new one.
TEST_F(BasePoolThreadTest, IdleWorkerIsReusedRunningPairIsRefused) {
    m_Job.throwAt = 3;
    BasePoolThread::Thread* first = m_Pool.StartProc("First", &JobProc, &m_Job, 0, 1);
    ASSERT_TRUE(m_Job.calls.WaitFor(3) && Eventually([first] { return !first->IsBusy(); }));
    EXPECT_EQ(m_Lines.Count("exception in First: boom"), 1);
    EXPECT_EQ(m_Pool.StartProc("Second", &JobProc, &m_Other, 0, kHour), first);
    EXPECT_EQ(m_Pool.StartProc("Again", &JobProc, &m_Other, 0, kHour), first);
    EXPECT_NE(m_Pool.StartProc("Third", &JobProc, &m_Job, 0, kHour), first);
    EXPECT_NE(m_Pool.StartProc(
                  "Fourth", [](void* p) { return JobProc(p); }, &m_Other, 0, kHour),
              first);
    EXPECT_EQ(m_Pool.Size(), 3u);
    EXPECT_TRUE(m_Job.calls.WaitFor(4));
}

// A spare worker made while the busy one ends is dropped, waiting for an assignment: it must be
// woken to end. The trace holds StartProc while the busy worker ends, then while the spare waits.
TEST_F(BasePoolThreadTest, SpareWorkerMadeMeanwhileIsDropped) {
    std::atomic<bool> release{false};
    auto* busy = m_Pool.StartProc(
        "Busy",
        [](void* p) {
            return !Eventually([p] { return static_cast<std::atomic<bool>*>(p)->load(); });
        },
        &release, 0, 0);
    m_Lines.m_Hook = [&](const std::string& line) {
        if (line.rfind("Init  constructor", 0) == 0) {  // the new worker, not yet assigned
            release = true;
            Eventually([busy] { return !busy->IsBusy(); });
        }
        if (line.find("not new") != std::string::npos)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    };
    BaseThread::s_IsAllLog = true;
    EXPECT_EQ(m_Pool.StartProc("Spare", &JobProc, &m_Job, 0, 0), busy);
    EXPECT_TRUE(m_Job.calls.WaitFor(1));
    m_Pool.Stop();
    BaseThread::s_IsAllLog = false;
    m_Lines.m_Hook = nullptr;
}

// StopProc ends a pair's wait between calls at once and keeps its worker, idle; Stop ends
// workers that wait for an assignment, between calls or before their first call, and the pool
// then works again.
TEST_F(BasePoolThreadTest, StopsEndWaitsAtOnce) {
    const auto before = std::chrono::steady_clock::now();
    BasePoolThread::Thread* worker = m_Pool.StartProc("Waiting", &JobProc, &m_Job, 0, kHour);
    ASSERT_TRUE(m_Job.calls.WaitFor(1));
    m_Pool.StopProc(&JobProc, &m_Job);
    m_Pool.StopProc(&JobProc, &m_Other);  // unknown: returns at once
    EXPECT_EQ(worker->State(), "Before wait exec");
    EXPECT_EQ(m_Pool.StartProc("Next", &JobProc, &m_Other, 0, 0), worker);
    ASSERT_TRUE(m_Other.calls.WaitFor(1));
    Job periodic, delayed;
    m_Pool.StartProc("Periodic", &JobProc, &periodic, 0, kHour);
    m_Pool.StartProc("Delayed", &JobProc, &delayed, kHour, 0);
    ASSERT_TRUE(periodic.calls.WaitFor(1));
    m_Pool.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
    EXPECT_EQ(m_Pool.Size(), 0u);
    EXPECT_EQ(m_Job.calls.Count() + periodic.calls.Count() + delayed.calls.Count(), 2);
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
            pool.Lock("holder action");
            pool.Lock("second");  // not recursive
        },
        testing::KilledBySignal(SIGABRT),
        "Stuck - second act:holder action - lock during 30 sec\nabort second act:holder action - "
        "lock during 30 sec");
}

}  // namespace

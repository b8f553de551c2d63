#include "lib/BasePoolThread.h"

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/lib/TraceLines.h"

namespace {

class TracePool final : public BasePoolThread {
public:
    TracePool(TraceLines& lines, bool isLog) : BasePoolThread("P", isLog), m_Lines(lines) {}
    ~TracePool() override { Stop(); }
    void PutLog(const std::string& text) override { m_Lines.Add("P - " + text); }

private:
    TraceLines& m_Lines;
};

struct Job {
    CallCounter calls;
    bool result = true;
};

bool JobProc(void* param) {
    auto* job = static_cast<Job*>(param);
    job->calls.Hit();
    return job->result;
}

bool OtherProc(void* param) { return JobProc(param); }

constexpr int kHour = 3600 * 1000;

TEST(BasePoolThreadTest, IdleWorkerIsReusedNotNew) {
    TraceLines lines;
    Job a;
    Job b;
    TracePool pool(lines, true);
    BasePoolThread::Thread* first = pool.StartProc("First", &JobProc, &a, 0, 0);
    ASSERT_TRUE(lines.WaitFor(" ended in pool P"));
    BasePoolThread::Thread* second = pool.StartProc("Second", &JobProc, &b, 0, 0);
    EXPECT_EQ(second, first);
    EXPECT_EQ(pool.Size(), 1u);
    ASSERT_TRUE(b.calls.WaitFor(1));
    EXPECT_EQ(a.calls.Count(), 1);
    const int reuse = lines.IndexOf("P - Start Second(0,0) PID: ");
    ASSERT_GE(reuse, 0);
    const std::string line = lines.Lines()[static_cast<size_t>(reuse)];
    EXPECT_NE(line.find(" SetParamExec(Second not new"), std::string::npos) << line;
    const std::string ended = lines.Lines()[static_cast<size_t>(lines.IndexOf(" ended in "))];
    EXPECT_EQ(ended.rfind("P - Stop  First(0,0) PID: ", 0), 0u) << ended;
    EXPECT_NE(ended.find("Exec end  ended in pool P"), std::string::npos) << ended;
}

TEST(BasePoolThreadTest, RunningPairIsRefusedAndItsWorkerReturned) {
    TraceLines lines;
    Job job;
    Job other;
    TracePool pool(lines, false);
    BasePoolThread::Thread* worker = pool.StartProc("Periodic", &JobProc, &job, 0, kHour);
    ASSERT_TRUE(job.calls.WaitFor(1));
    EXPECT_EQ(pool.StartProc("Again", &JobProc, &job, 0, kHour), worker);
    EXPECT_EQ(pool.Size(), 1u);
    ASSERT_EQ(lines.Count(" NOT added to pool "), 1);
    const std::string line = lines.Lines()[static_cast<size_t>(lines.IndexOf("NOT added"))];
    EXPECT_EQ(line.rfind("P - Again NOT added to pool P because there is already a thread "
                         "Periodic(0,3600000) PID: ",
                         0),
              0u)
        << line;
    // Another parameter is another pair: it gets a worker of its own.
    EXPECT_NE(pool.StartProc("Other", &JobProc, &other, 0, kHour), worker);
    EXPECT_NE(pool.StartProc("OtherProc", &OtherProc, &job, 0, kHour), worker);
    EXPECT_EQ(pool.Size(), 3u);
}

TEST(BasePoolThreadTest, StopProcEndsWaitingPairAndKeepsWorker) {
    TraceLines lines;
    Job job;
    Job next;
    TracePool pool(lines, true);
    BasePoolThread::Thread* worker = pool.StartProc("Waiting", &JobProc, &job, 0, kHour);
    ASSERT_TRUE(job.calls.WaitFor(1));
    std::string name;
    EXPECT_EQ(pool.IsStartProc(&JobProc, &job, name, false), worker);
    EXPECT_EQ(name.rfind("Waiting(0,3600000) PID: ", 0), 0u) << name;
    const auto before = std::chrono::steady_clock::now();
    pool.StopProc(&JobProc, &job);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
    EXPECT_FALSE(worker->IsBusy());
    EXPECT_EQ(job.calls.Count(), 1);
    EXPECT_EQ(pool.Size(), 1u);
    EXPECT_EQ(pool.IsStartProc(&JobProc, &job, name, false), nullptr);
    EXPECT_EQ(worker->State(), "Before wait exec");
    EXPECT_EQ(lines.Count(" removed from pool "), 1);
    // The idle worker serves the next pair.
    EXPECT_EQ(pool.StartProc("Next", &JobProc, &next, 0, 0), worker);
    EXPECT_TRUE(next.calls.WaitFor(1));
}

TEST(BasePoolThreadTest, StopProcOfUnknownPairReturnsAtOnce) {
    TraceLines lines;
    Job job;
    TracePool pool(lines, true);
    pool.StopProc(&JobProc, &job);
    EXPECT_EQ(pool.Size(), 0u);
    EXPECT_EQ(lines.Count(" removed from pool "), 0);
}

TEST(BasePoolThreadTest, PeriodicPairRunsUntilFalse) {
    TraceLines lines;
    struct Countdown {
        CallCounter calls;
    } countdown;
    TracePool pool(lines, true);
    auto proc = [](void* p) { return static_cast<Countdown*>(p)->calls.Hit() < 4; };
    pool.StartProc("Four", proc, &countdown, 0, 1);
    ASSERT_TRUE(lines.WaitFor(" ended in pool P"));
    EXPECT_EQ(countdown.calls.Count(), 4);
}

// Stop must end workers that wait for an assignment, between calls, or before their first call.
TEST(BasePoolThreadTest, StopEndsEveryKindOfWaitAndLeavesNoThread) {
    const int baseline = ThreadCount();
    TraceLines lines;
    Job once;
    Job periodic;
    Job delayed;
    {
        TracePool pool(lines, false);
        pool.StartProc("Once", &JobProc, &once, 0, 0);
        pool.StartProc("Periodic", &JobProc, &periodic, 0, kHour);
        pool.StartProc("Delayed", &JobProc, &delayed, kHour, 0);
        ASSERT_TRUE(once.calls.WaitFor(1));
        ASSERT_TRUE(periodic.calls.WaitFor(1));
        const auto before = std::chrono::steady_clock::now();
        pool.Stop();
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
        EXPECT_EQ(pool.Size(), 0u);
    }
    EXPECT_EQ(periodic.calls.Count(), 1);
    EXPECT_EQ(delayed.calls.Count(), 0);
    EXPECT_EQ(ThreadCount(), baseline);
}

TEST(BasePoolThreadTest, PoolWorksAgainAfterStop) {
    TraceLines lines;
    Job job;
    TracePool pool(lines, false);
    pool.StartProc("Before", &JobProc, &job, 0, 0);
    ASSERT_TRUE(job.calls.WaitFor(1));
    pool.Stop();
    pool.StartProc("After", &JobProc, &job, 0, 0);
    EXPECT_TRUE(job.calls.WaitFor(2));
}

TEST(BasePoolThreadTest, PrintProcListsWorkers) {
    TraceLines lines;
    Job job;
    TracePool pool(lines, false);
    pool.StartProc("Listed", &JobProc, &job, 0, kHour);
    ASSERT_TRUE(job.calls.WaitFor(1));
    pool.PrintProc();
    EXPECT_EQ(lines.Count("P - PrintProc 1 threads"), 1);
    EXPECT_EQ(lines.Count("P -   Listed(0,3600000) PID: "), 1);
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

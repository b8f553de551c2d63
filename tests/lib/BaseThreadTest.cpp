#include "lib/BaseThread.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/lib/TraceLines.h"

namespace {

// Routes the trace into TraceLines, as a host routes it into its log.
class TraceThread final : public BaseThread {
public:
    explicit TraceThread(TraceLines& lines) : m_Lines(lines) {}
    ~TraceThread() override { Stop(); }
    void PutLog(const std::string& text) override { m_Lines.Add(Name() + " - " + text); }

private:
    TraceLines& m_Lines;
};

// Returns true until the counter reaches the limit in param's Job.
struct Job {
    CallCounter calls;
    int falseAt = 0;   // the call that returns false; 0: never
    int slowCall = 0;  // this call takes slowMs
    int slowMs = 0;
};

bool JobProc(void* param) {
    auto* job = static_cast<Job*>(param);
    const int n = job->calls.Hit();
    if (n == job->slowCall) std::this_thread::sleep_for(std::chrono::milliseconds(job->slowMs));
    return n != job->falseAt;
}

std::string Pid(long tid) { return " PID: " + std::to_string(tid) + " "; }
std::string OwnerTid() { return std::to_string(BaseThread::CurrentTid()); }

struct AllLog {
    AllLog() { BaseThread::s_IsAllLog = true; }
    ~AllLog() { BaseThread::s_IsAllLog = false; }
};

TEST(BaseThreadTest, SingleCallTracesItsLife) {
    TraceLines lines;
    Job job;
    TraceThread thread(lines);
    thread.Start("Poll", &JobProc, &job, 0, 0, true);
    ASSERT_TRUE(lines.WaitFor(" - End "));
    const std::string name = "Poll(0,0)" + Pid(job.calls.Tid());
    const std::vector<std::string> expected = {
        "Poll(0,0) - Init  Poll(0,0) launching PID: " + OwnerTid(),
        name + " - Start " + name,
        name + " - Exec " + name,
        name + " - End " + name,
    };
    EXPECT_EQ(lines.Lines(), expected);
    EXPECT_EQ(job.calls.Count(), 1);
}

TEST(BaseThreadTest, IntervalBelowOneMeansOneCall) {
    for (int interval : {0, -5}) {
        SCOPED_TRACE(interval);
        TraceLines lines;
        Job job;
        TraceThread thread(lines);
        thread.Start("Once", &JobProc, &job, 1, interval, true);
        ASSERT_TRUE(lines.WaitFor(" - End "));
        thread.Stop();
        EXPECT_EQ(job.calls.Count(), 1);
        EXPECT_FALSE(thread.IsRunning());
    }
}

TEST(BaseThreadTest, FalseFromProcedureEndsPeriodicRunWithAvtoBreak) {
    TraceLines lines;
    Job job;
    job.falseAt = 3;
    TraceThread thread(lines);
    thread.Start("Poll", &JobProc, &job, 0, 1, true);
    ASSERT_TRUE(lines.WaitFor(" - End "));
    const std::string name = "Poll(0,1)" + Pid(job.calls.Tid());
    EXPECT_EQ(job.calls.Count(), 3);
    EXPECT_EQ(lines.Count(" - Exec " + name), 3);
    const auto all = lines.Lines();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[all.size() - 3], name + " - Exec " + name);
    EXPECT_EQ(all[all.size() - 2], name + " - Avto break " + name);
    EXPECT_EQ(all[all.size() - 1], name + " - End " + name);
}

TEST(BaseThreadTest, StopDuringLongDelayEndsAtOnceWithoutCall) {
    TraceLines lines;
    Job job;
    TraceThread thread(lines);
    thread.Start("Late", &JobProc, &job, 3600 * 1000, 0, true);
    ASSERT_TRUE(lines.WaitFor(" - Start "));
    const auto before = std::chrono::steady_clock::now();
    thread.Stop();
    // A bound far below the hour-long delay: the wait was cut, not waited out.
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(job.calls.Count(), 0);
    EXPECT_EQ(lines.Count(" - Stop Late(3600000,0) PID: "), 1);
    EXPECT_EQ(lines.Count(" - End Late(3600000,0) PID: "), 1);
}

TEST(BaseThreadTest, BreakExecEndsIntervalWaitWithoutAnotherCall) {
    TraceLines lines;
    Job job;
    TraceThread thread(lines);
    thread.Start("Tick", &JobProc, &job, 0, 3600 * 1000, true);
    ASSERT_TRUE(job.calls.WaitFor(1));
    thread.BreakExec();
    ASSERT_TRUE(lines.WaitFor(" - End "));
    EXPECT_EQ(job.calls.Count(), 1);
}

TEST(BaseThreadTest, StartOnWaitingWorkerStopsItFirst) {
    TraceLines lines;
    Job first;
    Job second;
    TraceThread thread(lines);
    thread.Start("A", &JobProc, &first, 3600 * 1000, 0, true);
    ASSERT_TRUE(lines.WaitFor(" - Start A("));
    thread.Start("B", &JobProc, &second, 0, 0, true);
    ASSERT_TRUE(lines.WaitFor(" - End B("));
    const int begin = lines.IndexOf(" - BaseThread::Start: forced stop beginning");
    const int stop = lines.IndexOf(" - Stop A(3600000,0) PID: ");
    const int endA = lines.IndexOf(" - End A(3600000,0) PID: ");
    const int ending = lines.IndexOf(" - BaseThread::Start: forced stop ending");
    const int initB = lines.IndexOf(" - Init  B(0,0) launching PID: ");
    EXPECT_GE(begin, 0);
    EXPECT_LT(begin, stop);
    EXPECT_LT(stop, endA);
    EXPECT_LT(endA, ending);
    EXPECT_LT(ending, initB);
    // The forced-stop lines carry the old worker's name.
    EXPECT_EQ(lines.Lines()[static_cast<size_t>(begin)].rfind("A(3600000,0) PID: ", 0), 0u);
    EXPECT_EQ(first.calls.Count(), 0);
    EXPECT_EQ(second.calls.Count(), 1);
}

TEST(BaseThreadTest, OverrunIsTracedAndNextCallFollowsAtOnce) {
    TraceLines lines;
    Job job;
    job.slowCall = 1;
    job.slowMs = 60;  // the procedure's own work, three intervals long
    job.falseAt = 2;
    TraceThread thread(lines);
    thread.Start("Slow", &JobProc, &job, 0, 20, true);
    ASSERT_TRUE(lines.WaitFor(" - End "));
    EXPECT_EQ(job.calls.Count(), 2);
    const std::string head =
        "Duration of procedure is longer than timer interval Slow(0,20)" + Pid(job.calls.Tid());
    const int at = lines.IndexOf(head);
    ASSERT_GE(at, 0);
    const std::string line = lines.Lines()[static_cast<size_t>(at)];
    const std::string tail = line.substr(line.find(head) + head.size());
    int ms = 0;
    int interval = 0;
    ASSERT_EQ(std::sscanf(tail.c_str(), "%d %d", &ms, &interval), 2) << line;
    EXPECT_EQ(interval, 20);
    EXPECT_LE(ms, -40);
    EXPECT_GT(ms, -60000);
}

TEST(BaseThreadTest, StopRightAfterStartLeavesNoThread) {
    const int baseline = ThreadCount();
    Job job;
    for (int i = 0; i < 300; ++i) {
        auto thread = std::make_unique<BaseThread>();
        thread->Start("Quick", &JobProc, &job, 0, 1, false);
        thread->Stop();
        EXPECT_FALSE(thread->IsRunning());
    }
    EXPECT_EQ(ThreadCount(), baseline);
}

TEST(BaseThreadTest, AllLogTracesStartLinesOnly) {
    AllLog all;
    TraceLines lines;
    Job job;
    {
        TraceThread thread(lines);
        thread.Start("Quiet", &JobProc, &job, 0, 3600 * 1000, false);
        ASSERT_TRUE(job.calls.WaitFor(1));
        thread.Stop();
    }
    EXPECT_EQ(lines.Count(" - Init  Quiet("), 1);
    EXPECT_EQ(lines.Count(" - Start Quiet("), 1);
    EXPECT_EQ(lines.Count(" - Stop Quiet("), 1);
    EXPECT_EQ(lines.Count(" - Exec "), 0);
    EXPECT_EQ(lines.Count(" - End "), 0);
}

TEST(BaseThreadTest, NameShowsDelayIntervalAndWorkerPid) {
    Job job;
    BaseThread thread;
    thread.Start("Poll", &JobProc, &job, 0, 1000, false);
    ASSERT_TRUE(job.calls.WaitFor(1));
    EXPECT_EQ(thread.Name(), "Poll(0,1000)" + Pid(job.calls.Tid()));
    thread.Stop();
}

TEST(BaseThreadTest, DestructorStopsWaitingWorkerWithOwnTrace) {
    Job job;
    testing::internal::CaptureStdout();
    {
        TraceLines unused;
        BaseThread thread;
        thread.Start("D", &JobProc, &job, 3600 * 1000, 0, false);
    }
    const std::string out = testing::internal::GetCapturedStdout();
    // The worker may or may not have written its PID yet.
    const size_t begin = out.find(" - BaseThread::~BaseThread: forced stop beginning\n");
    ASSERT_NE(begin, std::string::npos) << out;
    EXPECT_EQ(out.rfind("D(3600000,0)", begin), 0u) << out;
    EXPECT_NE(out.find(" - BaseThread::~BaseThread: forced stop ending\n"), std::string::npos);
    EXPECT_EQ(job.calls.Count(), 0);
}

// The procedure is inside its call when the object goes: the call completes before the
// destructor returns, so the worker never touches a destroyed object.
TEST(BaseThreadTest, DestructorDuringCallWaitsForIt) {
    struct Busy {
        CallCounter entered;
        std::atomic<bool> finished{false};
    } busy;
    auto proc = [](void* p) {
        auto* b = static_cast<Busy*>(p);
        b->entered.Hit();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the call's own work
        b->finished = true;
        return true;
    };
    testing::internal::CaptureStdout();
    {
        BaseThread thread;
        thread.Start("Busy", proc, &busy, 0, 1000, false);
        ASSERT_TRUE(busy.entered.WaitFor(1));
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(busy.finished);
    EXPECT_NE(out.find(" - BaseThread::~BaseThread: forced disconnection !!!\n"), std::string::npos)
        << out;
    EXPECT_EQ(busy.entered.Count(), 1);
}

TEST(BaseThreadTest, ProcedureMayStopItsOwnThread) {
    TraceLines lines;
    struct Self {
        BaseThread* thread = nullptr;
        CallCounter calls;
    } self;
    auto proc = [](void* p) {
        auto* s = static_cast<Self*>(p);
        s->calls.Hit();
        s->thread->Stop();
        return true;
    };
    TraceThread thread(lines);
    self.thread = &thread;
    thread.Start("Own", proc, &self, 0, 1, true);
    ASSERT_TRUE(lines.WaitFor(" - End Own(0,1)"));
    EXPECT_EQ(self.calls.Count(), 1);
}

TEST(BaseThreadTest, TraceGoesToStdoutAsNameDashText) {
    testing::internal::CaptureStdout();
    BaseThread thread;
    thread.PutLog("hello");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "(0,0) - hello\n");
}

// Slow (about 31 s): run by its own CTest entry.
TEST(BaseThreadDeathTest, DISABLED_StopAbortsWhenWorkerDoesNotEnd) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto hang = [](void*) {
        std::mutex m;
        std::condition_variable cv;
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [] { return false; });
        return true;
    };
    EXPECT_EXIT(
        {
            dup2(2, 1);  // the abort line is written to standard output
            BaseThread thread;
            thread.Start("Hang", hang, nullptr, 0, 0, false);
            while (!thread.IsExecuting()) std::this_thread::yield();
            thread.Stop();
        },
        testing::KilledBySignal(SIGABRT),
        "Hang\\(0,0\\) PID: [0-9]+  - thread not complete\nabort Hang\\(0,0\\) PID: [0-9]+  - "
        "thread not complete");
}

}  // namespace

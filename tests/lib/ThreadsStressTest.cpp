// Many starts, stops and restarts from several threads; run under TSan and ASan as well.
#include <functional>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "lib/BaseListTimers.h"
#include "lib/BasePoolThread.h"
#include "lib/BaseThread.h"
#include "tests/lib/TraceLines.h"

namespace {

// Each driver (re)starts, stops and breaks its own threads, often while they still wait or run,
// and adds and removes pool and timer pairs shared with the others. Refusals and forced stops
// are expected: their traces are only collected.
TEST(ThreadsStressTest, ChurnEndsWithNoThreadLeft) {
    const int baseline = ThreadCount();
    TraceLines trace;
    {
        Traced<BasePoolThread> pool(trace, "Stress");
        Traced<BaseListTimers> list(trace);
        list.Start("Stress", 0, 1, false);
        std::vector<Job> jobs(16);
        for (size_t i = 0; i < jobs.size(); ++i) jobs[i].falseAt = static_cast<int>(i % 3) + 1;
        std::vector<std::thread> drivers;
        for (int d = 0; d < 4; ++d) {
            drivers.emplace_back([&, d] {
                std::mt19937 rnd(static_cast<unsigned>(d + 1));
                std::vector<std::unique_ptr<BaseThread>> own(3);
                for (auto& t : own) t = std::make_unique<Traced<BaseThread>>(trace);
                for (int i = 0; i < 500; ++i) {
                    BaseThread& t = *own[rnd() % own.size()];
                    Job* job = &jobs[rnd() % jobs.size()];
                    const int n = static_cast<int>(rnd() % 3);
                    const std::function<void()> steps[] = {
                        [&] { t.Start("T", &JobProc, job, n, static_cast<int>(rnd() % 3), false); },
                        [&] { t.Stop(); },
                        [&] { t.BreakExec(); },
                        [&] { pool.StartProc("P", &JobProc, job, 0, n); },
                        [&] { pool.StopProc(&JobProc, job); },
                        [&] { list.AddProcTimer("L", &JobProc, job); },
                        [&] { list.DelProcTimer(&JobProc, job); }};
                    steps[rnd() % 7]();
                }
                for (auto& t : own) t->Stop();
            });
        }
        for (auto& driver : drivers) driver.join();
        list.Stop();
        pool.Stop();
        EXPECT_EQ(pool.Size() + list.Size(), 0u);
        int calls = 0;
        for (auto& job : jobs) calls += job.calls.Count();
        EXPECT_GT(calls, 0);
    }
    EXPECT_EQ(ThreadCount(), baseline);
}

}  // namespace

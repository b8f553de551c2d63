// Many starts, stops and restarts from several threads; run under TSan and ASan as well.
#include <atomic>
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

// Refusals and forced stops are expected here: their traces are dropped.
template <class Base>
class Quiet final : public Base {
public:
    using Base::Base;
    ~Quiet() override { Base::Stop(); }
    void PutLog(const std::string&) override {}
};

std::atomic<int> g_Calls{0};

bool CountTwice(void* param) {
    ++g_Calls;
    return param == nullptr || static_cast<std::atomic<int>*>(param)->fetch_add(1) % 2 == 0;
}

TEST(ThreadsStressTest, ChurnEndsWithNoThreadLeft) {
    const int baseline = ThreadCount();
    {
        Quiet<BasePoolThread> pool("Stress");
        Quiet<BaseListTimers> list;
        list.Start("Stress", 0, 1, false);
        std::vector<std::atomic<int>> params(16);
        std::vector<std::thread> drivers;
        for (int d = 0; d < 4; ++d) {
            drivers.emplace_back([&, d] {
                std::mt19937 rnd(static_cast<unsigned>(d + 1));
                std::vector<std::unique_ptr<BaseThread>> own(3);
                for (auto& t : own) t = std::make_unique<Quiet<BaseThread>>();
                for (int i = 0; i < 500; ++i) {
                    BaseThread& t = *own[rnd() % own.size()];
                    void* param = &params[rnd() % params.size()];
                    const int n = static_cast<int>(rnd() % 3);
                    switch (rnd() % 7) {
                        case 0:  // (re)start, often on a worker that still waits or runs
                            t.Start("T", &CountTwice, nullptr, n, static_cast<int>(rnd() % 3),
                                    false);
                            break;
                        case 1:
                            t.Stop();
                            break;
                        case 2:
                            pool.StartProc("P", &CountTwice, param, 0, n);
                            break;
                        case 3:
                            pool.StopProc(&CountTwice, param);
                            break;
                        case 4:
                            list.AddProcTimer("L", &CountTwice, param);
                            break;
                        case 5:
                            list.DelProcTimer(&CountTwice, param);
                            break;
                        default:
                            t.BreakExec();
                            break;
                    }
                }
                for (auto& t : own) t->Stop();
            });
        }
        for (auto& driver : drivers) driver.join();
        list.Stop();
        pool.Stop();
        EXPECT_EQ(pool.Size() + list.Size(), 0u);
    }
    EXPECT_GT(g_Calls.load(), 0);
    EXPECT_EQ(ThreadCount(), baseline);
}

}  // namespace

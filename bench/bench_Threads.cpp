// Pool dispatch latency and reuse, timer-list tick jitter, and the text helpers' rates.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "lib/BaseListTimers.h"
#include "lib/BasePoolThread.h"
#include "lib/utilities.h"

namespace {

using Clock = std::chrono::steady_clock;

class QuietPool final : public BasePoolThread {
public:
    QuietPool() : BasePoolThread("Bench") {}
    ~QuietPool() override { Stop(); }
    void PutLog(const std::string&) override {}
};

// Time of the procedure's first instruction, handed back to the dispatcher.
struct Dispatch {
    std::mutex mutex;
    std::condition_variable cond;
    bool done = false;
    Clock::time_point entered;
};

bool Mark(void* param) {
    auto* d = static_cast<Dispatch*>(param);
    const auto now = Clock::now();
    std::lock_guard<std::mutex> lock(d->mutex);
    d->entered = now;
    d->done = true;
    d->cond.notify_all();
    return true;
}

double Percentile(std::vector<double>& v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

// StartProc to the procedure's first instruction, single calls; p50/p99 in microseconds.
void BM_PoolDispatch(benchmark::State& state) {
    QuietPool pool;
    std::vector<double> latencies;
    std::vector<BasePoolThread::Thread*> seen;
    int reused = 0;
    int dispatches = 0;
    for (auto _ : state) {
        Dispatch d;
        const auto start = Clock::now();
        BasePoolThread::Thread* worker = pool.StartProc("Mark", &Mark, &d, 0, 0);
        {
            std::unique_lock<std::mutex> lock(d.mutex);
            d.cond.wait(lock, [&] { return d.done; });
        }
        latencies.push_back(std::chrono::duration<double, std::micro>(d.entered - start).count());
        if (std::find(seen.begin(), seen.end(), worker) != seen.end())
            ++reused;
        else
            seen.push_back(worker);
        ++dispatches;
        // Let the worker go idle so that the next dispatch can reuse it.
        state.PauseTiming();
        std::string name;
        while (pool.IsStartProc(&Mark, &d, name, false) != nullptr) {
        }
        state.ResumeTiming();
    }
    state.counters["p50_us"] = Percentile(latencies, 0.50);
    state.counters["p99_us"] = Percentile(latencies, 0.99);
    state.counters["reuse_rate"] = dispatches ? static_cast<double>(reused) / dispatches : 0;
    state.counters["workers"] = static_cast<double>(pool.Size());
}
BENCHMARK(BM_PoolDispatch)->Iterations(2000)->UseRealTime();

struct Ticks {
    std::vector<Clock::time_point> at;
};

bool Stamp(void* param) {
    static_cast<Ticks*>(param)->at.push_back(Clock::now());
    return true;
}

// Deviation of a 10 ms BaseListTimers tick from its period, over 3 seconds.
void BM_ListTimersJitter(benchmark::State& state) {
    for (auto _ : state) {
        Ticks ticks;
        ticks.at.reserve(400);
        BaseListTimers list;
        list.AddProcTimer("Stamp", &Stamp, &ticks);
        list.Start("Jitter", 0, 10, false);
        std::this_thread::sleep_for(std::chrono::seconds(3));  // the measured span
        list.Stop();
        std::vector<double> jitter;
        for (size_t i = 1; i < ticks.at.size(); ++i)
            jitter.push_back(std::abs(
                std::chrono::duration<double, std::micro>(ticks.at[i] - ticks.at[i - 1]).count() -
                10000.0));
        state.counters["ticks"] = static_cast<double>(ticks.at.size());
        state.counters["jitter_p50_us"] = Percentile(jitter, 0.50);
        state.counters["jitter_p99_us"] = Percentile(jitter, 0.99);
        state.counters["jitter_max_us"] = jitter.empty() ? 0 : jitter.back();
    }
}
BENCHMARK(BM_ListTimersJitter)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_IP6FromStr(benchmark::State& state) {
    const std::string texts[] = {"fe80::1", "192.168.1.10", "2001:db8::2:1", "not an address"};
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(IP6FromStr(texts[i++ & 3]));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IP6FromStr);

void BM_IPv6ToStr(benchmark::State& state) {
    const in6_addr addrs[] = {IP6FromStr("fe80::1"), IP6FromStr("192.168.1.10")};
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(IPv6ToStr(addrs[i++ & 1]));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IPv6ToStr);

void BM_splitURL(benchmark::State& state) {
    char scheme[16], host[64], port[8], path[128];
    for (auto _ : state)
        benchmark::DoNotOptimize(splitURL("https://[fe80::1]:8443/cloud/terq?x=1", scheme,
                                          sizeof scheme, host, sizeof host, port, sizeof port, path,
                                          sizeof path));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_splitURL);

}  // namespace

BENCHMARK_MAIN();

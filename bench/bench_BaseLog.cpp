// Producer-side cost of CBaseLog::Put against spdlog's asynchronous logger (overrun-oldest
// queue, rotating file sink of the same size), and the share of lines that reach the files.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>

#include <benchmark/benchmark.h>
#include <spdlog/async.h>
#include <spdlog/sinks/base_sink.h>
#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/spdlog.h>
#include <stdlib.h>

#include "lib/BaseLog.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kQueue = 8192;  // both queues hold this many lines
constexpr std::size_t kFileSize = 1000000;
constexpr std::size_t kFiles = 100;      // enough that no line written is deleted in one run
constexpr int kLinesPerThread = 250000;  // fixed, so that every run writes the same volume

const wchar_t kWideText[] = L"benchmark line, a fixed text of about sixty characters";
const char kText[] = "benchmark line, a fixed text of about sixty characters";

std::string MakeFolder() {
    char pattern[] = "/tmp/bench_logXXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    return pattern;
}

long CountLines(const fs::path& dir) {
    long lines = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) ++lines;
    }
    return lines;
}

class BenchLog final : public CBaseLog {
public:
    explicit BenchLog(std::string dir) : CBaseLog(kQueue, 5), m_dir(std::move(dir)) {
        m_FilesToKeep = static_cast<int>(kFiles);
    }
    ~BenchLog() override { Close(); }
    DBString Dir() override { return DBString(m_dir); }

private:
    std::string m_dir;
};

// Counts what the async worker hands to the sinks, that is the lines the file sink received.
class CountingSink final : public spdlog::sinks::base_sink<spdlog::details::null_mutex> {
public:
    std::atomic<long> m_count{0};

protected:
    void sink_it_(const spdlog::details::log_msg&) override { ++m_count; }
    void flush_() override {}
};

std::string g_dir;
std::unique_ptr<BenchLog> g_log;

void BM_BaseLogPut(benchmark::State& state) {
    if (state.thread_index() == 0) {
        g_dir = MakeFolder();
        g_log = std::make_unique<BenchLog>(g_dir);
        g_log->Open("bench", "log");
    }
    for (auto _ : state) g_log->Put(kWideText);
    if (state.thread_index() == 0) {
        g_log->Close();
        g_log.reset();
        const long reached = CountLines(g_dir);
        fs::remove_all(g_dir);
        const double total = static_cast<double>(kLinesPerThread) * state.threads();
        state.counters["reached_%"] = 100.0 * static_cast<double>(reached) / total;
    }
    state.SetItemsProcessed(state.iterations());
}

std::shared_ptr<spdlog::details::thread_pool> g_pool;
std::shared_ptr<spdlog::async_logger> g_spd;
std::shared_ptr<CountingSink> g_counter;

void BM_SpdlogAsync(benchmark::State& state) {
    if (state.thread_index() == 0) {
        g_dir = MakeFolder();
        g_pool = std::make_shared<spdlog::details::thread_pool>(kQueue, 1);
        auto file = std::make_shared<spdlog::sinks::rotating_file_sink_mt>(g_dir + "/bench.log",
                                                                           kFileSize, kFiles);
        g_counter = std::make_shared<CountingSink>();
        spdlog::sinks_init_list sinks{file, g_counter};
        g_spd = std::make_shared<spdlog::async_logger>(
            "bench", sinks, g_pool, spdlog::async_overflow_policy::overrun_oldest);
        g_spd->set_pattern("%d.%m.%Y %H:%M:%S %v");
    }
    for (auto _ : state) g_spd->info(kText);
    if (state.thread_index() == 0) {
        g_spd.reset();
        g_pool.reset();  // drains the queue and joins the worker
        const long reached = g_counter->m_count.load();
        const long inFiles = CountLines(g_dir);
        g_counter.reset();
        fs::remove_all(g_dir);
        const double total = static_cast<double>(kLinesPerThread) * state.threads();
        state.counters["reached_%"] = 100.0 * static_cast<double>(reached) / total;
        state.counters["in_files_%"] = 100.0 * static_cast<double>(inFiles) / total;
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_BaseLogPut)->Iterations(kLinesPerThread)->Threads(1)->Threads(4)->UseRealTime();
BENCHMARK(BM_SpdlogAsync)->Iterations(kLinesPerThread)->Threads(1)->Threads(4)->UseRealTime();

BENCHMARK_MAIN();

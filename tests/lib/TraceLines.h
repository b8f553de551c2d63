// Trace lines, call counts and jobs shared by the thread tests, with bounded waits.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Lines or calls; notified under the lock, as a waiter may destroy it as soon as it wakes.
class TraceLines {
public:
    int Hit() { return Add(""); }
    int Add(const std::string& line) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Lines.push_back(line);
        m_Cond.notify_all();
        return static_cast<int>(m_Lines.size());
    }
    // True once count lines contain the needle ("" counts calls); false after 20 seconds.
    bool WaitFor(const std::string& needle, int count = 1) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        return m_Cond.wait_for(lock, std::chrono::seconds(20),
                               [&] { return Has(needle) >= count; });
    }
    bool WaitFor(int calls) { return WaitFor("", calls); }
    int Count(const std::string& needle = "") {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return Has(needle);
    }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Lines;
    }

private:
    int Has(const std::string& needle) const {
        int n = 0;
        for (const auto& line : m_Lines) n += line.find(needle) != std::string::npos;
        return n;
    }
    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    std::vector<std::string> m_Lines;
};
using CallCounter = TraceLines;

// Routes the trace into lines, as a host routes it into its log.
template <class Base>
class Traced final : public Base {
public:
    template <class... Args>
    explicit Traced(TraceLines& lines, Args... args) : Base(args...), m_Lines(lines) {}
    ~Traced() override { Base::Stop(); }
    void PutLog(const std::string& text) override { m_Lines.Add(text); }

private:
    TraceLines& m_Lines;
};

// Counts its calls; returns false on call falseAt and sleeps slowMs in call slowAt.
struct Job {
    CallCounter calls;
    int falseAt = 0, slowAt = 0, slowMs = 0;
};

inline bool JobProc(void* param) {
    auto* job = static_cast<Job*>(param);
    const int n = job->calls.Hit();
    if (n == job->slowAt) std::this_thread::sleep_for(std::chrono::milliseconds(job->slowMs));
    return n != job->falseAt;
}

constexpr int kHour = 3600 * 1000;

// Threads of this process, from /proc. A sanitizer starts a helper thread of its own with the
// first thread: one is started and joined first so that every count includes it.
inline int ThreadCount() {
    std::thread([] {}).join();
    int n = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "Threads: %d", &n) == 1) break;
        std::fclose(f);
    }
    return n;
}

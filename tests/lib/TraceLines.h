// Trace lines, call counts and jobs shared by the thread tests, with bounded waits.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

// Lines or calls; notified under the lock, as a waiter may destroy it as soon as it wakes.
class TraceLines {
public:
    int Add(const std::string& line = "") {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Lines.push_back(line);
        m_Cond.notify_all();
        return static_cast<int>(m_Lines.size());
    }
    // True once count lines contain the needle ("" counts calls); false after 20 seconds.
    bool WaitFor(int count, const std::string& needle = "") {
        std::unique_lock<std::mutex> lock(m_Mutex);
        return m_Cond.wait_for(lock, std::chrono::seconds(20),
                               [&] { return Has(needle) >= count; });
    }
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

// Records tick in calls; on call falseAt returns false, on call throwAt throws "boom", and sleeps
// slowMs in call slowAt.
struct Job {
    TraceLines calls;
    int falseAt = 0, throwAt = 0, slowAt = 0, slowMs = 0, tick = 0;
};

inline bool JobProc(void* param) {
    auto* job = static_cast<Job*>(param);
    const int n = job->calls.Add(std::to_string(job->tick));
    if (n == job->slowAt) std::this_thread::sleep_for(std::chrono::milliseconds(job->slowMs));
    if (n == job->throwAt) throw std::runtime_error("boom");
    return n != job->falseAt;
}

constexpr int kHour = 3600 * 1000;

// True once done() holds; false after 10 seconds.
inline bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
}

// Threads of this process. A sanitizer starts a helper thread of its own with the first thread:
// one is started and joined first so that every count includes it.
inline std::ptrdiff_t ThreadCount() {
    std::thread([] {}).join();
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return std::distance(begin(tasks), end(tasks));
}

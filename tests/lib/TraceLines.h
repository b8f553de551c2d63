// Trace lines, call counts and jobs shared by the thread tests, with bounded waits.
#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

// True once done() holds; false after 10 seconds.
inline bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
}

// Lines or calls, added from any thread.
class TraceLines {
public:
    int Add(const std::string& line = "") {
        if (m_Hook) m_Hook(line);  // set only while no thread traces
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Lines.push_back(line);
        return static_cast<int>(m_Lines.size());
    }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Lines;
    }
    // Lines that contain the needle; "" counts them all.
    int Count(const std::string& needle = "") {
        int n = 0;
        for (const auto& line : Lines()) n += line.find(needle) != std::string::npos;
        return n;
    }
    // True once count lines contain the needle; false after 10 seconds.
    bool WaitFor(int count, const std::string& needle = "") {
        return Eventually([&] { return Count(needle) >= count; });
    }

    std::function<void(const std::string&)> m_Hook;  // sees each line before it is added

private:
    std::mutex m_Mutex;
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

// Records tick in calls; sleeps slowMs in the first call, returns false on call falseAt and throws
// "boom" on call throwAt.
struct Job {
    TraceLines calls;
    int falseAt = 0, throwAt = 0, slowMs = 0, tick = 0;
};

inline bool JobProc(void* param) {
    auto* job = static_cast<Job*>(param);
    const int n = job->calls.Add(std::to_string(job->tick));
    if (n == 1) std::this_thread::sleep_for(std::chrono::milliseconds(job->slowMs));
    if (n == job->throwAt) throw std::runtime_error("boom");
    return n != job->falseAt;
}

constexpr int kHour = 3600 * 1000;

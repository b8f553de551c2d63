// Trace lines and call counts collected from any thread, with bounded waits for the tests.
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
        return m_Cond.wait_for(lock, std::chrono::seconds(20), [&] {
            int n = 0;
            for (const auto& line : m_Lines) n += line.find(needle) != std::string::npos;
            return n >= count;
        });
    }
    bool WaitFor(int calls) { return WaitFor("", calls); }
    int Count() { return static_cast<int>(Lines().size()); }
    int Count(const std::string& needle) {
        int n = 0;
        for (const auto& line : Lines()) n += line.find(needle) != std::string::npos;
        return n;
    }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Lines;
    }

private:
    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    std::vector<std::string> m_Lines;
};
using CallCounter = TraceLines;

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

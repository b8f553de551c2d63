// Collects trace lines from any thread and lets a test wait for one (bounded, on a condition).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include <sys/syscall.h>
#include <unistd.h>

class TraceLines {
public:
    void Add(const std::string& line) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Lines.push_back(line);
        m_Cond.notify_all();
    }

    // True once count lines contain the needle; false after the bound.
    bool WaitFor(const std::string& needle,
                 int count = 1,
                 std::chrono::seconds bound = std::chrono::seconds(20)) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        return m_Cond.wait_for(lock, bound, [&] { return CountLocked(needle) >= count; });
    }

    int Count(const std::string& needle) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return CountLocked(needle);
    }

    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Lines;
    }

    // Index of the first line containing the needle, or -1.
    int IndexOf(const std::string& needle) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        for (size_t i = 0; i < m_Lines.size(); ++i)
            if (m_Lines[i].find(needle) != std::string::npos) return static_cast<int>(i);
        return -1;
    }

private:
    int CountLocked(const std::string& needle) const {
        int n = 0;
        for (const auto& line : m_Lines)
            if (line.find(needle) != std::string::npos) ++n;
        return n;
    }

    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    std::vector<std::string> m_Lines;
};

// A counter that tests can wait on.
class CallCounter {
public:
    int Hit() {
        // Notified under the lock: a waiter may destroy the counter as soon as it wakes.
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Tid = static_cast<long>(syscall(SYS_gettid));
        m_Cond.notify_all();
        return ++m_Count;
    }
    bool WaitFor(int count, std::chrono::seconds bound = std::chrono::seconds(20)) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        return m_Cond.wait_for(lock, bound, [&] { return m_Count >= count; });
    }
    int Count() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Count;
    }
    long Tid() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Tid;
    }

private:
    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    int m_Count = 0;
    long m_Tid = 0;
};

// Threads of this process, from /proc.
inline int ThreadCount() {
    int n = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "Threads: %d", &n) == 1) break;
        std::fclose(f);
    }
    return n;
}

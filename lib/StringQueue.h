// Bounded queue of narrow lines between any number of producers and one consumer.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

// Overflow policy: discard the oldest. A producer never waits for the consumer; once more than
// capacity lines are queued, the next Put drops the oldest ones down to capacity before it
// appends, so the queue holds at most capacity + 1 lines.
class StringQueue {
public:
    explicit StringQueue(std::size_t capacity);
    virtual ~StringQueue();
    StringQueue(const StringQueue&) = delete;
    StringQueue& operator=(const StringQueue&) = delete;

    // Appends a copy of the line and wakes one reader. Returns false when older lines had to be
    // discarded to make room. Any thread. Lock failures throw std::system_error.
    bool Put(const std::string& line);
    // The same, taking the line over instead of copying it.
    bool Put(std::string&& line);

    // Waits (no time-out) until a line is queued, then moves the oldest one into line and
    // removes it. Always returns true. One consumer thread.
    bool Read(std::string& line);

    // Waits like Read, then moves every queued line, oldest first, to the end of lines (which
    // the caller keeps empty between calls, so its storage is reused). Returns the count
    // taken, at least 1. One consumer thread.
    std::size_t ReadAll(std::deque<std::string>& lines);

    // The number of queued lines. Any thread.
    std::size_t Size();

private:
    std::deque<std::string> m_lines;
    std::mutex m_lock;
    std::condition_variable m_notEmpty;
    std::size_t m_capacity;
};

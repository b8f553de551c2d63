// Bounded queue of narrow lines between any number of producers and one consumer.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

// Overflow policy: discard the oldest. A producer never waits for the consumer; once more than
// capacity lines are queued, the next Put drops the oldest ones down to capacity before it
// appends, so the queue holds at most capacity + 1 lines. The lines live in a ring of strings
// that grows on demand up to capacity + 1 slots; slots keep their buffers, so a queue in steady
// use copies lines without allocating.
class StringQueue {
public:
    explicit StringQueue(std::size_t capacity);
    virtual ~StringQueue();
    StringQueue(const StringQueue&) = delete;
    StringQueue& operator=(const StringQueue&) = delete;

    // Appends a copy of the line and wakes one reader. Returns false when older lines had to be
    // discarded to make room. Any thread. Lock failures throw std::system_error.
    bool Put(const std::string& line);

    // Waits (no time-out) until a line is queued, then takes the oldest one into line (whose
    // old buffer the queue keeps for later lines). Always returns true. One consumer thread.
    bool Read(std::string& line);

    // Waits like Read, then takes every queued line at once by exchanging the queue's ring with
    // slots. Returns the count, at least 1; line i, oldest first, is
    // slots[(first + i) % slots.size()]. Hand the same vector back on the next call so that
    // its buffers are reused. One consumer thread.
    std::size_t ReadAll(std::vector<std::string>& slots, std::size_t& first);

    // The number of queued lines. Any thread.
    std::size_t Size();

private:
    // Makes room for one more line; the lock is held.
    void Grow();

    std::vector<std::string> m_slots;  // ring buffer
    std::size_t m_first;               // slot of the oldest line
    std::size_t m_count;               // queued lines
    std::mutex m_lock;
    std::condition_variable m_notEmpty;
    std::size_t m_capacity;
    std::size_t m_limit;  // capacity + 1 slots at most
};

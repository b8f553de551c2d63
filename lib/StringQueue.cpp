#include "lib/StringQueue.h"

#include <algorithm>
#include <cstdint>

StringQueue::StringQueue(std::size_t capacity)
    : m_first(0),
      m_count(0),
      m_capacity(capacity),
      m_limit(capacity < SIZE_MAX ? capacity + 1 : SIZE_MAX) {}

StringQueue::~StringQueue() = default;

void StringQueue::Grow() {
    const std::size_t size = m_slots.size();
    // Unroll the ring so that the new slots follow the newest line.
    std::rotate(m_slots.begin(), m_slots.begin() + static_cast<std::ptrdiff_t>(m_first),
                m_slots.end());
    m_first = 0;
    const std::size_t wanted = size < 8 ? 16 : size * 2;
    m_slots.resize(std::min(wanted, m_limit));
}

bool StringQueue::Put(const std::string& line) {
    bool kept = true;
    bool wasEmpty = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_count > m_capacity) {
            const std::size_t drop = m_count - m_capacity;
            m_first = (m_first + drop) % m_slots.size();
            m_count -= drop;
            kept = false;
        } else if (m_count == m_slots.size()) {
            Grow();
        }
        m_slots[(m_first + m_count) % m_slots.size()].assign(line);
        wasEmpty = m_count == 0;
        ++m_count;
    }
    // The one reader waits only on an empty queue, so only the step from empty needs a signal;
    // signalling every Put would cost a wake-up call per line while the reader waits.
    if (wasEmpty) m_notEmpty.notify_one();
    return kept;
}

bool StringQueue::Read(std::string& line) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_notEmpty.wait(lock, [this] { return m_count > 0; });
    line.swap(m_slots[m_first]);
    m_first = (m_first + 1) % m_slots.size();
    --m_count;
    return true;
}

std::size_t StringQueue::ReadAll(std::vector<std::string>& slots, std::size_t& first) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_notEmpty.wait(lock, [this] { return m_count > 0; });
    const std::size_t count = m_count;
    first = m_first;
    m_slots.swap(slots);
    // The ring handed back may be smaller than the one taken; it must hold as many lines.
    if (m_slots.size() < slots.size()) m_slots.resize(slots.size());
    m_first = 0;
    m_count = 0;
    return count;
}

std::size_t StringQueue::Size() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_count;
}

#include "lib/StringQueue.h"

#include <utility>

StringQueue::StringQueue(std::size_t capacity) : m_capacity(capacity) {}

StringQueue::~StringQueue() = default;

bool StringQueue::Put(const std::string& line) { return Put(std::string(line)); }

bool StringQueue::Put(std::string&& line) {
    bool kept = true;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_lines.size() > m_capacity) {
            m_lines.erase(m_lines.begin(),
                          m_lines.begin() + static_cast<std::ptrdiff_t>(m_lines.size() - m_capacity));
            kept = false;
        }
        m_lines.push_back(std::move(line));
    }
    m_notEmpty.notify_one();
    return kept;
}

bool StringQueue::Read(std::string& line) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_notEmpty.wait(lock, [this] { return !m_lines.empty(); });
    line = std::move(m_lines.front());
    m_lines.pop_front();
    return true;
}

std::size_t StringQueue::ReadAll(std::deque<std::string>& lines) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_notEmpty.wait(lock, [this] { return !m_lines.empty(); });
    const std::size_t count = m_lines.size();
    if (lines.empty()) {
        // One swap instead of a move per line keeps the producers' wait short.
        lines.swap(m_lines);
    } else {
        for (auto& line : m_lines) lines.push_back(std::move(line));
        m_lines.clear();
    }
    return count;
}

std::size_t StringQueue::Size() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_lines.size();
}

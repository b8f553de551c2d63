// A signed duration in whole seconds, what DBTime arithmetic yields and takes.
#pragma once

#include <cstdint>

class DBTimeSpan {
public:
    DBTimeSpan() = default;
    explicit DBTimeSpan(int64_t seconds) : m_span(seconds) {}
    // days*86400 + hours*3600 + minutes*60 + seconds, formed in 32-bit int.
    DBTimeSpan(int days, int hours, int minutes, int seconds);

    int64_t GetTotalSeconds() const { return m_span; }
    // (seconds modulo 86400) / 3600, truncated toward zero.
    int GetHours() const;

    int64_t m_span = 0;
};

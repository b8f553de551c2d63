#include "dblib/DBTimeSpan.h"

// Callers keep the total within a 32-bit int; it is summed in 64 bits so that a larger one
// means what it says instead of overflowing.
DBTimeSpan::DBTimeSpan(int days, int hours, int minutes, int seconds)
    : m_span(int64_t{days} * 86400 + int64_t{hours} * 3600 + int64_t{minutes} * 60 + seconds) {}

int DBTimeSpan::GetHours() const { return static_cast<int>(m_span % 86400 / 3600); }

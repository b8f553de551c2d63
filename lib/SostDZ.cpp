#include "lib/SostDZ.h"

#include <cstring>

#include "lib/InfoCLB.h"
#include "lib/Mes.h"

void CSostDZ::Clear() {
    m_pos = 0;
    for (auto& u : m_data) u = 0;
    m_mode = 0;
    m_code = 0;
    m_flag[0] = true;
    m_flag[1] = m_flag[2] = m_flag[3] = false;
}

int CSostDZ::SetData(const unsigned char* bytes, int n) {
    for (auto& u : m_data) u = 0;
    if (!bytes || n < 0) return 0;
    // A count of 0 or above 4 means the full four units.
    const size_t k = n == 0 || n > 4 ? sizeof(m_data) : static_cast<size_t>(n);
    std::memcpy(m_data, bytes, k);
    return static_cast<int>(k);
}

void CSostDZ::SetMode(const unsigned char* bytes) {
    if (!bytes) return;
    m_mode = bytes[0] & 31;
    m_code = ((bytes[1] >> 2) & 15) | ((bytes[2] << 4) & 16);
    m_flag[0] = (bytes[1] >> 1) & 1;
    m_flag[1] = bytes[1] & 1;
    m_flag[2] = (bytes[2] >> 1) & 1;
    m_flag[3] = (bytes[2] >> 2) & 1;
}

bool CSostDZ::tstBit(int b) const {
    if (b < 0 || b >= 24) return false;
    return UnitBit(m_data, b);
}

int CSostDZ::NextSost(int& b) {
    for (int i = m_pos < 0 ? 0 : m_pos; i < 24; ++i) {
        if (tstBit(i)) {
            m_pos = i + 1;
            b = i;
            return i;
        }
    }
    m_pos = 24;
    b = -1;
    return 0;
}

bool CSostDZ::existsOne() const { return AnyUnitBit(m_data, 24, true); }

bool CSostDZ::existsNul() const { return AnyUnitBit(m_data, 24, false); }

uint32_t CSostDZ::Value() const {
    return static_cast<uint32_t>(m_data[0]) | static_cast<uint32_t>(m_data[1]) << 8 |
           static_cast<uint32_t>(m_data[2]) << 16 | static_cast<uint32_t>(m_data[3]) << 24;
}

CSostDZ& CSostDZ::operator=(uint32_t value) {
    for (int i = 0; i < 4; ++i) m_data[i] = static_cast<unsigned char>(value >> (8 * i));
    return *this;
}

CSostDZ& CSostDZ::operator=(const CMes& mes) {
    SetData(mes.GetData() + 8, 4);
    return *this;
}

#include "lib/InfoCLB.h"

void CInfoCLB::Clear() {
    m_count = 0;
    m_data[0] = m_data[1] = 0;
}

int CInfoCLB::SetData(const unsigned char* bytes, int n) {
    Clear();
    if (!bytes || n < 1 || n > 2) return 0;
    for (int i = 0; i < n; ++i) m_data[i] = bytes[i];
    m_count = n;
    return n;
}

int CInfoCLB::GetData(unsigned char* buf, int size) const {
    if (!buf || m_count > size) return 0;
    for (int i = 0; i < m_count; ++i) buf[i] = m_data[i];
    return m_count;
}

bool CInfoCLB::tstBit(int b) const {
    if (b < 0 || b / 6 >= m_count) return false;
    return (m_data[b / 6] >> (b % 6)) & 1;
}

bool CInfoCLB::setBit(int b) {
    if (b < 0 || b >= 12) return false;
    if (b / 6 >= m_count) m_count = b / 6 + 1;
    m_data[b / 6] = static_cast<unsigned char>(m_data[b / 6] | (1 << (b % 6)));
    return true;
}

bool CInfoCLB::clrBit(int b) {
    if (b < 0 || b >= 12) return false;
    m_data[b / 6] = static_cast<unsigned char>(m_data[b / 6] & ~(1 << (b % 6)));
    return true;
}

unsigned char CInfoCLB::operator[](int i) const { return i == 0 || i == 1 ? m_data[i] : 0; }

void CInfoCLB::SetMove() {
    m_count = 2;
    m_data[0] = 1;
}

bool CInfoCLB::IsEmpty() const { return Unit(0) == 0 && Unit(1) == 0; }

DBString CInfoCLB::BinStr() const {
    DBString s;
    for (int i = 0; i < m_count; ++i)
        for (int b = 5; b >= 0; --b) s += (m_data[i] >> b) & 1 ? L'1' : L'0';
    return s;
}

DBString CInfoCLB::HexStr() const {
    DBString s;
    for (int i = 0; i < m_count; ++i) s.AppendFormat(L"%02X", m_data[i]);
    return s;
}

bool CInfoCLB::EQ(const CInfoCLB& other) const {
    return ((Unit(0) ^ other.Unit(0)) & 63) == 0 && ((Unit(1) ^ other.Unit(1)) & 63) == 0;
}

bool CInfoCLB::operator==(const CInfoCLB& other) const {
    return m_count == other.m_count && m_data[0] == other.m_data[0] && m_data[1] == other.m_data[1];
}

bool CInfoCLB::NewError(const CInfoCLB& now) const {
    return (now.Unit(0) & ~Unit(0) & 63) != 0 || (now.Unit(1) & ~Unit(1) & 63) != 0;
}

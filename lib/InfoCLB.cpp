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

bool AnyUnitBit(const unsigned char* units, int bits, bool value) {
    for (int b = 0; b < bits; ++b)
        if (UnitBit(units, b) == value) return true;
    return false;
}

DBString UnitsBinStr(const unsigned char* units, int count) {
    DBString s;
    for (int i = 0; i < count; ++i)
        for (int b = 5; b >= 0; --b) s += (units[i] >> b) & 1 ? L'1' : L'0';
    return s;
}

DBString UnitsHexStr(const unsigned char* units, int count) {
    DBString s;
    for (int i = 0; i < count; ++i) s.AppendFormat(L"%02X", units[i]);
    return s;
}

bool CInfoCLB::tstBit(int b) const {
    if (b < 0 || b / 6 >= m_count) return false;
    return UnitBit(m_data, b);
}

bool CInfoCLB::setBit(int b) {
    if (b < 0 || b >= 12) return false;
    if (b / 6 >= m_count) m_count = b / 6 + 1;
    SetUnitBit(m_data, b);
    return true;
}

bool CInfoCLB::clrBit(int b) {
    if (b < 0 || b >= 12) return false;
    ClrUnitBit(m_data, b);
    return true;
}

unsigned char CInfoCLB::operator[](int i) const { return i == 0 || i == 1 ? m_data[i] : 0; }

void CInfoCLB::SetMove() {
    m_count = 2;
    m_data[0] = 1;
}

bool CInfoCLB::IsEmpty() const { return Unit(0) == 0 && Unit(1) == 0; }

DBString CInfoCLB::BinStr() const { return UnitsBinStr(m_data, m_count); }

DBString CInfoCLB::HexStr() const { return UnitsHexStr(m_data, m_count); }

bool CInfoCLB::EQ(const CInfoCLB& other) const {
    return ((Unit(0) ^ other.Unit(0)) & 63) == 0 && ((Unit(1) ^ other.Unit(1)) & 63) == 0;
}

bool CInfoCLB::operator==(const CInfoCLB& other) const {
    return m_count == other.m_count && m_data[0] == other.m_data[0] && m_data[1] == other.m_data[1];
}

bool CInfoCLB::NewError(const CInfoCLB& now) const {
    return (now.Unit(0) & ~Unit(0) & 63) != 0 || (now.Unit(1) & ~Unit(1) & 63) != 0;
}

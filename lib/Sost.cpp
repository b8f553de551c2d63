#include "lib/Sost.h"

#include <cstdint>

#include "dblib/LoadRes.h"
#include "lib/TERQLibRes.h"

namespace {

// Error class over the states 0..42, bit b for state b.
constexpr uint64_t kErrorMask = 0x760011FFBFCull;

// Where the redirected states live in the bus-controller information.
int InfoBit(int b) {
    switch (b) {
        case CSostDev::bitIdle1Hour:
            return 0;
        case CSostDev::bitNoInfo:
            return 10;
        case CSostDev::bitNoLink:
            return 11;
        default:
            return -1;
    }
}

}  // namespace

void CSostDev::Clear() {
    m_count = 0;
    for (auto& u : m_data) u = 0;
    m_info.Clear();
}

bool CSostDev::IsEmpty() const {
    for (int i = 0; i < m_count; ++i)
        if (m_data[i]) return false;
    return true;
}

int CSostDev::SetData(const unsigned char* bytes, int n) {
    Clear();
    if (!bytes || (n != 6 && n != 10)) return 0;
    m_count = n - 2;
    for (int i = 0; i < m_count; ++i) m_data[i] = bytes[i];
    m_info.SetData(bytes + m_count, 2);
    return m_count;
}

int CSostDev::GetData(unsigned char* buf, int size) const {
    if (!buf) return 0;
    const int info = m_info.Count();
    if (m_count > 0) {
        if (m_count + info > size) return 0;
        for (int i = 0; i < m_count; ++i) buf[i] = m_data[i];
        m_info.GetData(buf + m_count, info);
        return m_count + info;
    }
    if (!m_info.IsEmpty() && 4 + info <= size) {
        for (int i = 0; i < 4; ++i) buf[i] = 0;
        m_info.GetData(buf + 4, info);
        return 4 + info;
    }
    return 0;
}

bool CSostDev::tstBit(int b) const {
    const int ib = InfoBit(b);
    if (ib >= 0) return m_info.tstBit(ib);
    return tstBitDirect(b);
}

bool CSostDev::setBit(int b) {
    const int ib = InfoBit(b);
    if (ib >= 0) return m_info.setBit(ib);
    if (b < 0 || b >= 48) return false;
    if (b / 6 >= m_count) m_count = b < 24 ? 4 : 8;
    SetUnitBit(m_data, b);
    return true;
}

bool CSostDev::clrBit(int b) {
    const int ib = InfoBit(b);
    if (ib >= 0) return m_info.clrBit(ib);
    if (b < 0 || b >= 48) return false;
    ClrUnitBit(m_data, b);
    return true;
}

bool CSostDev::tstBitDirect(int b) const {
    if (b < 0 || b >= 48) return false;
    return UnitBit(m_data, b);
}

unsigned char CSostDev::operator[](int i) const { return i >= 0 && i < 8 ? m_data[i] : 0; }

void CSostDev::Normaliz() {
    if (!tstBit(bitNoInfo) && !tstBit(bitNoLink)) return;
    m_count = 0;
    for (auto& u : m_data) u = 0;
}

bool CSostDev::IsError() const {
    for (int b = 0; b < 40; ++b)
        if (((kErrorMask >> b) & 1) && tstBitDirect(b)) return true;
    return tstBit(bitIdle1Hour);
}

bool CSostDev::IsError(bitLB b) {
    const int i = static_cast<int>(b);
    return i >= 0 && i < kCountBitLB && ((kErrorMask >> i) & 1);
}

bool CSostDev::IsNoValBit(bitLB b) {
    return b == bitRefiningCall || b == bitStatLow || b == bitStatHigh;
}

int CSostDev::GetStatDriv() const {
    return (tstBitDirect(bitStatHigh) ? 2 : 0) + (tstBitDirect(bitStatLow) ? 1 : 0);
}

int CSostDev::GetCodErrHF() const { return ((m_data[1] >> 2) & 15) | ((m_data[2] << 4) & 16); }

unsigned short CSostDev::naimSostRes(int b) { return b >= 0 && b < kCountBitLB ? IDS_SOST[b] : 0; }

DBString CSostDev::naimSost(bitLB b) { return _S_(naimSostRes(b)); }

DBString CSostDev::naimSost(bitLB b, bool rus) {
    return rus ? LoadStringFromResource(naimSostRes(b)) : LoadStringFromResourceENU(naimSostRes(b));
}

bool CSostDev::EQ(const CSostDev& other) const {
    for (int i = 0; i < 8; ++i)
        if (((m_data[i] ^ other.m_data[i]) & 63) != 0) return false;
    return m_info.EQ(other.m_info);
}

bool CSostDev::operator==(const CSostDev& other) const {
    if (m_count != other.m_count || m_info != other.m_info) return false;
    for (int i = 0; i < 8; ++i)
        if (m_data[i] != other.m_data[i]) return false;
    return true;
}

DBString CSostDev::BinStr() const { return UnitsBinStr(m_data, m_count); }

DBString CSostDev::HexStr() const { return UnitsHexStr(m_data, m_count); }

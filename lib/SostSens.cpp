#include "lib/SostSens.h"

#include "lib/InfoCLB.h"
#include "lib/Mes.h"

namespace {

// The change rule shared by all fields: a level that appears counts as a change, one that
// goes away does not.
template <typename F>
bool Changed(bool hasThis, bool hasOther, F differs) {
    if (!hasThis) return hasOther;
    if (!hasOther) return false;
    return differs();
}

}  // namespace

void CSostSens::Clear() {
    for (auto& u : m_data) u = 0;
    m_count = 0;
}

int CSostSens::SetData(const unsigned char* bytes, int n) {
    Clear();
    if (!bytes || n <= 0) return 0;
    m_count = n < 36 ? n : 36;
    for (int i = 0; i < m_count; ++i) m_data[i] = bytes[i];
    return m_count;
}

CSostSens& CSostSens::operator=(const CMes& mes) {
    static const int kUnits[3] = {4, 12, 20};
    Clear();
    if (mes.GetTypMes() == CMes::mtSens) {
        SetData(mes.GetData() + 8, 8);
    } else {
        const int lvl = mes.LvlAsk10();
        if (lvl >= 0) SetData(mes.GetData() + 8, kUnits[lvl]);
    }
    return *this;
}

bool CSostSens::tstBit(int b) const {
    if (b < 0 || b >= 120) return false;
    return UnitBit(m_data, b);
}

bool CSostSens::setBit(int b) {
    if (b < 0 || b >= 120) return false;
    SetUnitBit(m_data, b);
    return true;
}

bool CSostSens::clrBit(int b) {
    if (b < 0 || b >= 120) return false;
    ClrUnitBit(m_data, b);
    return true;
}

bool CSostSens::existsNul() const { return AnyUnitBit(m_data, 24, false); }

bool CSostSens::existsOne() const { return AnyUnitBit(m_data, 24, true); }

int CSostSens::LvlAsk10() const {
    if (m_count < 4) return -1;
    if (m_count < 12) return 0;
    if (m_count < 20) return 1;
    return 2;
}

int CSostSens::CurLvl() const {
    if (m_count < 12) return 0;
    const int v = m_data[6] & 63;
    return v < 33 ? v : 0;
}

int CSostSens::Mode() const { return m_count < 12 ? 0 : m_data[7] & 15; }

int CSostSens::TypDev() const { return m_count < 12 ? 0 : m_data[8] & 63; }

int CSostSens::CodDmamge() const {
    if (m_count < 12) return 0;
    return ((m_data[10] >> 4) & 3) | ((m_data[11] << 2) & 0xFF);
}

bool CSostSens::TestAsk(int i) const {
    if (m_count < 20 || i < 1 || i > 24) return false;
    return (m_data[12 + (i - 1) / 6] >> ((i - 1) % 6)) & 1;
}

bool CSostSens::TestCmd(int i) const {
    if (m_count < 20 || i < 1 || i > 24) return false;
    return (m_data[16 + (i - 1) / 6] >> ((i - 1) % 6)) & 1;
}

uint64_t CSostSens::Full(const unsigned char* data, int count, int lowUnit, int highUnit) {
    uint64_t v = 0;
    if (count < 20) return 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint64_t>(data[lowUnit + i] & 63) << (6 * i);
    if (count > 35) {
        // 7 units from bit 24 give 66 bits: the top two bits of the last unit do not fit.
        for (int i = 0; i < 7; ++i)
            v |= static_cast<uint64_t>(data[highUnit + i] & 63) << (24 + 6 * i);
    }
    return v;
}

// A count of 20 stands for "level 2 present, no full part".
uint32_t CSostSens::ValAsk() const {
    return m_count < 20 ? 0 : static_cast<uint32_t>(Full(m_data, 20, 12, 20));
}

uint32_t CSostSens::ValCmd() const {
    return m_count < 20 ? 0 : static_cast<uint32_t>(Full(m_data, 20, 16, 27));
}

uint64_t CSostSens::ValAskFull() const { return Full(m_data, m_count, 12, 20); }

uint64_t CSostSens::ValCmdFull() const { return Full(m_data, m_count, 16, 27); }

bool CSostSens::chngBitLvl0(const CSostSens& o) const {
    return Changed(m_count >= 4, o.m_count >= 4, [&] {
        for (int i = 0; i < 4; ++i)
            if (((m_data[i] ^ o.m_data[i]) & 63) != 0) return true;
        return false;
    });
}

bool CSostSens::chngBitLvl1(const CSostSens& o) const {
    return Changed(m_count >= 12, o.m_count >= 12, [&] {
        return ((m_data[4] ^ o.m_data[4]) & 63) != 0 || ((m_data[5] ^ o.m_data[5]) & 63) != 0;
    });
}

bool CSostSens::chngCurLvl(const CSostSens& o) const {
    return Changed(m_count >= 12, o.m_count >= 12, [&] { return CurLvl() != o.CurLvl(); });
}

bool CSostSens::chngMode(const CSostSens& o) const {
    return Changed(m_count >= 12, o.m_count >= 12, [&] { return Mode() != o.Mode(); });
}

bool CSostSens::chngTypDev(const CSostSens& o) const {
    return Changed(m_count >= 12, o.m_count >= 12, [&] { return TypDev() != o.TypDev(); });
}

bool CSostSens::chngCodDmamge(const CSostSens& o) const {
    return Changed(m_count >= 12, o.m_count >= 12, [&] { return CodDmamge() != o.CodDmamge(); });
}

bool CSostSens::chngValAsk(const CSostSens& o) const {
    return Changed(m_count >= 20, o.m_count >= 20, [&] { return ValAsk() != o.ValAsk(); });
}

bool CSostSens::chngValCmd(const CSostSens& o) const {
    return Changed(m_count >= 20, o.m_count >= 20, [&] { return ValCmd() != o.ValCmd(); });
}

bool CSostSens::chngValAskFull(const CSostSens& o) const {
    return Changed(m_count >= 20, o.m_count >= 20, [&] { return ValAskFull() != o.ValAskFull(); });
}

bool CSostSens::chngValCmdFull(const CSostSens& o) const {
    return Changed(m_count >= 20, o.m_count >= 20, [&] { return ValCmdFull() != o.ValCmdFull(); });
}

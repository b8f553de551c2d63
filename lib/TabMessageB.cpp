#include "lib/TabMessageB.h"

#include <cstdint>

#include "dblib/LoadRes.h"
#include "lib/TERQLibRes.h"

namespace {

// Classification over the event numbers, bit n for event n.
constexpr uint64_t kValid = 0x339040CFF11Eull;
constexpr uint64_t kValidByArg = 0x4C0FBF000E60ull;
constexpr uint64_t kLift = 0x3190400FF100ull;
constexpr uint64_t kNoLift = 0x5C1FBFF00E7Eull;
constexpr uint64_t kOper = 0x119000CFF11Eull;

bool Bit(uint64_t mask, int n, int last) { return n >= 0 && n <= last && ((mask >> n) & 1); }

}  // namespace

void CTabMessageB::Load() {
    m_text[0].clear();
    for (int n = 1; n < kCount; ++n) m_text[n] = _S_(ResId(n));
}

const DBString& CTabMessageB::Message(int numMes) const {
    return numMes >= 0 && numMes < kCount ? m_text[numMes] : m_text[0];
}

unsigned short CTabMessageB::ResId(int numMes) {
    if (numMes < 1 || numMes >= kCount) return 0;
    return static_cast<unsigned short>(IDS_MES_BASE + numMes);
}

bool CTabMessageB::IsValid(int numMes, bool b) {
    if (Bit(kValid, numMes, 46)) return true;
    return Bit(kValidByArg, numMes, 46) && b;
}

bool CTabMessageB::IsLift(int numMes) { return Bit(kLift, numMes, 45); }

bool CTabMessageB::IsNoLift(int numMes) { return Bit(kNoLift, numMes, 46); }

bool CTabMessageB::IsOper(int numMes) { return Bit(kOper, numMes, 44); }

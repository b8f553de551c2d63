// Sensor, ask and command state of a lift: up to 36 6-bit units in three levels.
#pragma once

#include <cstdint>

class CMes;

// Unit 0-3: level 0 (states); 4-11: level 1 (extended bits, floor, mode, device type, damage
// code); 12-19: level 2 (asks in 12-15, commands in 16-19); 20-35: full asks and commands.
class CSostSens {
public:
    CSostSens() { Clear(); }

    void Clear();
    // count := min(n, 36), the units copied, the rest zeroed. Returns the count.
    int SetData(const unsigned char* bytes, int n);
    // Units from data 8 of a record: 8 for message type 28, else 4, 12 or 20 for lift-state
    // levels 0, 1, 2; a record that is neither leaves the state cleared.
    CSostSens& operator=(const CMes& mes);

    int Count() const { return m_count; }
    unsigned char operator[](int i) const { return i >= 0 && i < 36 ? m_data[i] : 0; }
    // Bits 0..119 (units 0..19); false outside.
    bool tstBit(int b) const;
    bool setBit(int b);
    bool clrBit(int b);
    // Any of bits 0..23 clear / set.
    bool existsNul() const;
    bool existsOne() const;

    // -1 below 4 units, 0 for 4..11, 1 for 12..19, 2 from 20.
    int LvlAsk10() const;

    // Level-1 fields, 0 with fewer than 12 units.
    int CurLvl() const;  // current floor, 0 when above 32
    int Mode() const;
    int TypDev() const;
    int CodDmamge() const;

    // Level-2 fields, false / 0 with fewer than 20 units. i is 1..24.
    bool TestAsk(int i) const;
    bool TestCmd(int i) const;
    uint32_t ValAsk() const;  // units 12-15, unit 12 lowest
    uint32_t ValCmd() const;  // units 16-19
    // With more than 35 units also units 20-26 (asks) or 27-33 (commands) from bit 24 on,
    // cut at 64 bits; else ValAsk / ValCmd.
    uint64_t ValAskFull() const;
    uint64_t ValCmdFull() const;

    // Change tests against another state: when this one lacks the level, whether the other
    // has it; when the other lacks it, false; else whether the field differs.
    bool chngBitLvl0(const CSostSens& o) const;  // units 0-3
    bool chngBitLvl1(const CSostSens& o) const;  // units 4-5 (the extended bits)
    bool chngCurLvl(const CSostSens& o) const;
    bool chngMode(const CSostSens& o) const;
    bool chngTypDev(const CSostSens& o) const;
    bool chngCodDmamge(const CSostSens& o) const;
    bool chngValAsk(const CSostSens& o) const;
    bool chngValCmd(const CSostSens& o) const;
    bool chngValAskFull(const CSostSens& o) const;
    bool chngValCmdFull(const CSostSens& o) const;

private:
    static uint64_t Full(const unsigned char* data, int count, int lowUnit, int highUnit);

    unsigned char m_data[36];
    int m_count;
};

// Two 6-bit units of bus-controller information attached to a lift's state word.
#pragma once

#include "dblib/DBString.h"

// The 6-bit units shared by the state words: bit b is bit (b mod 6) of unit b/6. Callers check b
// against their own bounds.
inline bool UnitBit(const unsigned char* units, int b) { return (units[b / 6] >> (b % 6)) & 1; }
inline void SetUnitBit(unsigned char* units, int b) {
    units[b / 6] = static_cast<unsigned char>(units[b / 6] | (1 << (b % 6)));
}
inline void ClrUnitBit(unsigned char* units, int b) {
    units[b / 6] = static_cast<unsigned char>(units[b / 6] & ~(1 << (b % 6)));
}
// True when one of bits 0..bits-1 equals value.
bool AnyUnitBit(const unsigned char* units, int bits, bool value);
// The count units, unit 0 first, six binary digits each, most significant first.
DBString UnitsBinStr(const unsigned char* units, int count);
// The count units as "%02X" each.
DBString UnitsHexStr(const unsigned char* units, int count);

// Bit b is bit (b mod 6) of unit b/6. Bit 0 is "idle lift 1 hour", bit 10 "no information",
// bit 11 "no link" (states 40, 41 and 42 of CSostDev). Units beyond the count are kept zero.
class CInfoCLB {
public:
    CInfoCLB() { Clear(); }

    void Clear();
    // Takes n = 1 or 2 units and returns n; any other n or null bytes clears and returns 0.
    int SetData(const unsigned char* bytes, int n);
    // Writes the count units into buf when they fit in size; returns their number, else 0.
    int GetData(unsigned char* buf, int size) const;

    int Count() const { return m_count; }
    // False unless b/6 lies within the count.
    bool tstBit(int b) const;
    // Sets bit b (0..11), growing the count to cover its unit; false for other b.
    bool setBit(int b);
    // Clears bit b (0..11); false for other b.
    bool clrBit(int b);
    // Unit i for i = 0, 1, else 0.
    unsigned char operator[](int i) const;
    // Count 2, unit 0 = 1: the lift has not moved for an hour.
    void SetMove();
    // No non-zero unit within the count.
    bool IsEmpty() const;

    // Units as binary digits, unit 0 first, most significant of the six bits first.
    DBString BinStr() const;
    // Units as "%02X", unit 0 first.
    DBString HexStr() const;

    // Same state: the units compared bit by bit, an absent unit reading as 0 (the count alone
    // does not make a difference).
    bool EQ(const CInfoCLB& other) const;
    // Exactly the same: count and units.
    bool operator==(const CInfoCLB& other) const;
    bool operator!=(const CInfoCLB& other) const { return !(*this == other); }
    // Called on the old information with the new one: true when a bit is set in now that is
    // clear here (a state appeared; a state going away is no new error).
    bool NewError(const CInfoCLB& now) const;

private:
    unsigned char Unit(int i) const { return i < m_count ? m_data[i] : 0; }

    int m_count;
    unsigned char m_data[2];
};

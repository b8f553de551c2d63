// A 24-bit state of four 6-bit units with a mode, a code, four flags and a bit iterator.
#pragma once

#include <cstdint>

class CMes;

class CSostDZ {
public:
    CSostDZ() { Clear(); }

    // Zeroes units, mode and code; the first flag becomes 1, the others 0; iterator to bit 0.
    void Clear();
    // Copies min(n, 4) units (4 when n is 0) and returns their number; null bytes clear, 0.
    int SetData(const unsigned char* bytes, int n);
    // Mode, code and flags from three bytes.
    void SetMode(const unsigned char* bytes);

    int Mode() const { return m_mode; }
    int Code() const { return m_code; }
    // Flag i (0..3), false outside.
    bool Flag(int i) const { return i >= 0 && i < 4 && m_flag[i]; }
    unsigned char operator[](int i) const { return i >= 0 && i < 4 ? m_data[i] : 0; }

    // Bit b for 0..23, else false.
    bool tstBit(int b) const;
    // Puts the iterator back to bit 0.
    void BegSost() { m_pos = 0; }
    // The next set bit from the iterator on: returns it (also in b) and moves the iterator
    // behind it. When none is left returns 0 with b = -1.
    int NextSost(int& b);
    // Any of the 24 bits set.
    bool ExistSost() const { return existsOne(); }
    bool existsOne() const;
    // Any of the 24 bits clear.
    bool existsNul() const;

    // The 4 units as one value, unit 0 in the low byte.
    uint32_t Value() const;
    CSostDZ& operator=(uint32_t value);
    // The 4 units behind the device address of a record (data 8-11).
    CSostDZ& operator=(const CMes& mes);
    bool operator==(const CSostDZ& o) const { return Value() == o.Value(); }
    bool operator!=(const CSostDZ& o) const { return Value() != o.Value(); }
    bool operator<(const CSostDZ& o) const { return Value() < o.Value(); }
    bool operator>(const CSostDZ& o) const { return Value() > o.Value(); }

private:
    int m_pos;
    unsigned char m_data[4];
    int m_mode;
    int m_code;
    bool m_flag[4];
};

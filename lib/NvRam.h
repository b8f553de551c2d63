// Image of the 64-word non-volatile memory of a lift unit, read word by word.
#pragma once

#include <cstdint>

class CNvRam {
public:
    CNvRam() { Clear(); }

    // All words 0 and unknown; read index 0.
    void Clear();
    // The next word to read (0, 8, 16, then 1..63 without 8 and 16); wraps after 64 calls.
    int NextIndex();
    // Stores word i (0..63) and marks it known; false for other i.
    bool SetWord(int i, unsigned short w);
    // Whether word i is known, and its value / low byte / high byte.
    bool GetWord(int i, unsigned short& w) const;
    bool GetLowByte(int i, unsigned char& b) const;
    bool GetHigByte(int i, unsigned char& b) const;

    // Known-mask: bit i for word i.
    void SetMask(int i);
    void ClrMask(int i);
    bool GetMask(int i) const;
    uint64_t GetMask() const;

    // Word holding the presence bit of line-bus device n.
    static int NumWordLB(int n) { return n / 16 + 32; }
    // n 0..255: whether word 32 + n/16 is known; if so present := its bit n mod 16.
    bool ExistDev(int n, bool& present) const;

    // Loads 128 bytes of words, each low byte first; the mask is unchanged.
    CNvRam& operator=(const unsigned char* bytes);
    // Compares the words only.
    bool operator==(const CNvRam& o) const;
    bool operator!=(const CNvRam& o) const { return !(*this == o); }

    static const unsigned char s_Tab[64];

private:
    int m_index;
    unsigned short m_word[64];
    uint32_t m_mask[2];
};

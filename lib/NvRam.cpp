#include "lib/NvRam.h"

#include <cstring>

// Words 0, 8 and 16 describe the unit and are read first.
const unsigned char CNvRam::s_Tab[64] = {
    0,  8,  16, 1,  2,  3,  4,  5,  6,  7,  9,  10, 11, 12, 13, 14, 15, 17, 18, 19, 20, 21,
    22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43,
    44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63,
};

void CNvRam::Clear() {
    m_index = 0;
    std::memset(m_word, 0, sizeof m_word);
    m_mask[0] = m_mask[1] = 0;
}

int CNvRam::NextIndex() {
    if (m_index < 0 || m_index >= 64) m_index = 0;
    return s_Tab[m_index++];
}

bool CNvRam::SetWord(int i, unsigned short w) {
    if (i < 0 || i >= 64) return false;
    m_word[i] = w;
    SetMask(i);
    return true;
}

bool CNvRam::GetWord(int i, unsigned short& w) const {
    if (!GetMask(i)) return false;
    w = m_word[i];
    return true;
}

bool CNvRam::GetLowByte(int i, unsigned char& b) const {
    if (!GetMask(i)) return false;
    b = static_cast<unsigned char>(m_word[i] & 0xFF);
    return true;
}

bool CNvRam::GetHigByte(int i, unsigned char& b) const {
    if (!GetMask(i)) return false;
    b = static_cast<unsigned char>(m_word[i] >> 8);
    return true;
}

void CNvRam::SetMask(int i) {
    if (i >= 0 && i < 64) m_mask[i / 32] |= 1u << (i % 32);
}

void CNvRam::ClrMask(int i) {
    if (i >= 0 && i < 64) m_mask[i / 32] &= ~(1u << (i % 32));
}

bool CNvRam::GetMask(int i) const { return i >= 0 && i < 64 && ((m_mask[i / 32] >> (i % 32)) & 1); }

uint64_t CNvRam::GetMask() const { return static_cast<uint64_t>(m_mask[1]) << 32 | m_mask[0]; }

bool CNvRam::ExistDev(int n, bool& present) const {
    if (n < 0 || n > 255) return false;
    unsigned short w = 0;
    if (!GetWord(NumWordLB(n), w)) return false;
    present = (w >> (n % 16)) & 1;
    return true;
}

CNvRam& CNvRam::operator=(const unsigned char* bytes) {
    if (!bytes) return *this;
    for (int i = 0; i < 64; ++i)
        m_word[i] = static_cast<unsigned short>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return *this;
}

bool CNvRam::operator==(const CNvRam& o) const {
    return std::memcmp(m_word, o.m_word, sizeof m_word) == 0;
}

#include "lib/Mes.h"

#include <cstring>

namespace {

inline unsigned char Byte(int v) { return static_cast<unsigned char>(v & 0xFF); }

}  // namespace

CMes::CMes(int n, const unsigned char* bytes) { SetDann(n, bytes); }

void CMes::Clear() {
    m_len = 0;
    std::memset(m_data, 0, sizeof m_data);
    m_value = 0;
    m_reserved = 0;
    m_prior = 255;
    m_origUM = m_origSlot = m_destUM = m_destSlot = 0;
    m_hop = m_dev = m_typ = m_prefix = m_ext = m_alertKind = 0;
    m_alertCode = 0;
    m_sost.Clear();
    m_infoCLB.Clear();
}

void CMes::Begin(int destUM, int destSlot, int origUM, int origSlot, int typ) {
    Clear();
    SetAdr(m_data, origUM, origSlot);
    SetAdr(m_data + 2, destUM, destSlot);
    m_data[4] = 0;
    m_data[5] = Byte(typ);
    m_len = 6;
}

CMes::CMes(int destUM, int destSlot, int origUM, int origSlot, typMes t, unsigned char b) {
    Begin(destUM, destSlot, origUM, origSlot, t);
    m_data[6] = b;
    m_len = 7;
    UnPack();
}

CMes::CMes(int destUM,
           int destSlot,
           int origUM,
           int origSlot,
           typMes t,
           const unsigned char* bytes,
           int n) {
    Begin(destUM, destSlot, origUM, origSlot, t);
    PutTail(6, bytes, n);
    UnPack();
}

CMes::CMes(int destUM,
           int destSlot,
           int origUM,
           int origSlot,
           int dev,
           typMes t,
           askFromMain a,
           const unsigned char* bytes,
           int n,
           int extra) {
    Begin(destUM, destSlot, origUM, origSlot, t);
    PutDevAdr(6, dev, a);
    m_len = 8;
    if (bytes && n > 0 && 8 + n < kMaxLen) {
        std::memcpy(m_data + 8, bytes, static_cast<size_t>(n));
        m_len += n;
    }
    if (extra >= 0 && extra < 256 && m_len + 2 <= kMaxLen) {
        m_data[m_len] = Byte(extra >> 2);
        m_data[m_len + 1] = Byte((extra << 4) & 48);
        m_len += 2;
    }
    UnPack();
}

CMes::CMes(int destUM,
           int destSlot,
           int origUM,
           int origSlot,
           jobNVRAM j,
           int address,
           int count,
           const unsigned char* bytes) {
    Begin(destUM, destSlot, origUM, origSlot, mtNvRamJob);
    NvRamBody(address, count, j, j == jobWrite, bytes);
}

void CMes::PutTail(int offset, const unsigned char* bytes, int n) {
    // Null bytes carry nothing; a count past the record is cut to what fits.
    if (!bytes || n < 0) n = 0;
    if (n > kMaxLen - offset) n = kMaxLen - offset;
    if (n > 0) std::memcpy(m_data + offset, bytes, static_cast<size_t>(n));
    m_len = offset + n;
}

void CMes::NvRamBody(int address, int count, int code, bool withData, const unsigned char* bytes) {
    m_data[6] = Byte(address & 63);
    m_data[7] = Byte((address >> 6) & 63);
    m_data[8] = Byte(count & 63);
    m_data[9] = Byte(code);
    m_len = 10;
    if (withData && count >= 0 && count < 34 && bytes) {
        int units = 0;
        Conv8To6(bytes, count, m_data + 10, kMaxLen - 10, &units);
        m_len += units;
    }
    UnPack();
}

CMes::CMes(int destUM,
           int destSlot,
           int origUM,
           int origSlot,
           rezNVRAM r,
           int address,
           int count,
           const unsigned char* bytes) {
    Begin(destUM, destSlot, origUM, origSlot, mtNvRamRez);
    NvRamBody(address, count, r, r == rezOk, bytes);
}

CMes::CMes(int destUM,
           int destSlot,
           int origUM,
           int origSlot,
           typService s,
           const unsigned char* bytes,
           int n) {
    Begin(destUM, destSlot, origUM, origSlot, mtService);
    m_data[6] = Byte(s);
    PutTail(7, bytes, n);
    UnPack();
}

CMes::CMes(int destUM, int destSlot, int origUM, int origSlot, typPrefix p, unsigned char b) {
    Begin(destUM, destSlot, origUM, origSlot, mtPrefix);
    m_data[6] = Byte(p);
    m_data[7] = b;
    m_len = 8;
    UnPack();
}

CMes::CMes(int destUM,
           int destSlot,
           int origUM,
           int origSlot,
           typPrefix p,
           unsigned char b,
           askFromMain a,
           int n,
           const unsigned char* bytes) {
    Begin(destUM, destSlot, origUM, origSlot, mtPrefixAsk);
    m_data[6] = Byte(p);
    m_data[7] = b;
    m_data[8] = Byte(a);
    PutTail(9, bytes, n);
    UnPack();
}

CMes::CMes(int destUM,
           int destSlot,
           int origUM,
           int origSlot,
           int dev,
           subServ18 s,
           const unsigned char* bytes,
           int n) {
    // 13 groups of 4 units end at data 59; a 14th would pass the 63-byte record.
    constexpr int kMaxIn = 13 * 3;
    Begin(destUM, destSlot, origUM, origSlot, mtServ18);
    PutDevAdr(6, dev, askServ18);
    unsigned char in[kMaxIn] = {Byte(s)};
    n = bytes && n > 0 ? (n < kMaxIn - 1 ? n : kMaxIn - 1) : 0;
    if (n > 0) std::memcpy(in + 1, bytes, static_cast<size_t>(n));
    int units = 0;
    Conv8To6(in, n + 1, m_data + 8, kMaxLen - 8, &units);
    m_len = 8 + units;
    UnPack();
}

CMes::CMes(int destUM, int destSlot, int origUM, int origSlot, typAlert code) {
    Begin(destUM, destSlot, origUM, origSlot, mtAlert);
    m_data[6] = 1;
    uint32_t c = code;
    int k = 0;
    for (; c != 0 && k < 6; ++k, c >>= 6) m_data[7 + k] = Byte(c & 63);
    m_len = 7 + k;
    UnPack();
}

CMes::CMes(int destUM,
           int destSlot,
           int origUM,
           int origSlot,
           typAlert code,
           const unsigned char* bytes,
           int n) {
    if (bytes == nullptr || n <= 0) {
        // Without bytes the record is the short form: only the units the code needs.
        *this = CMes(destUM, destSlot, origUM, origSlot, code);
        return;
    }
    Begin(destUM, destSlot, origUM, origSlot, mtAlert);
    m_data[6] = 1;
    uint32_t c = code;
    for (int k = 0; k < 6; ++k, c >>= 6) m_data[7 + k] = Byte(c & 63);
    int units = 0;
    Conv8To6(bytes, n, m_data + 13, 49, &units);
    m_len = 13 + units;
    UnPack();
}

int CMes::SetDann(int n, const unsigned char* bytes) {
    Clear();
    if (n < 0 || n > kMaxLen || (n > 0 && !bytes)) return 0;
    if (n > 0) std::memcpy(m_data, bytes, static_cast<size_t>(n));
    m_len = n;
    UnPack();
    return 1;
}

void CMes::UnPack() {
    GetAdr(m_data, m_origUM, m_origSlot);
    GetAdr(m_data + 2, m_destUM, m_destSlot);
    m_hop = m_data[4];
    m_dev = m_typ = m_prefix = m_ext = m_alertKind = 0;
    m_alertCode = 0;
    m_sost.Clear();
    if (m_len < 6) return;
    m_typ = m_data[5];
    switch (m_typ) {
        case mtAdrDev:
        case mtService:
            GetDevAdr(11, true);
            break;
        case mtAlert:
            if (m_len > 6) m_alertKind = m_data[6];
            if (m_alertKind == 1) {
                for (int k = 0; k < 6 && 7 + k < m_len; ++k)
                    m_alertCode |= static_cast<uint32_t>(m_data[7 + k]) << (6 * k);
            }
            break;
        case mtPrefix29:
        case mtPrefix30:
        case mtPrefix:
        case mtPrefixAsk:
            if (m_len > 6) m_prefix = m_data[6];
            if (m_len > 7) m_dev = m_data[7];
            if (m_len > 8) m_ext = m_data[8] & 31;
            break;
        default:
            if (m_len > 7) GetDevAdr(6, m_typ == mtSostLift || m_typ == mtServ18);
            if ((m_typ == mtSostDev || m_typ == mtSostLift) && m_len > 8) {
                m_sost.SetData(m_data + 8, m_len - 8);
                if (m_typ == mtSostDev) m_sost.Normaliz();
            }
            break;
    }
}

void CMes::SetAdr(unsigned char* p, int n, int s) {
    n &= 0xFF;
    p[0] = Byte(n >> 2);
    p[1] = Byte(((n & 3) << 4) | (s & 15));
}

void CMes::GetAdr(const unsigned char* p, int& n, int& s) {
    n = ((p[0] * 4) & 0xFF) | ((p[1] >> 4) & 3);
    s = p[1] & 15;
}

void CMes::PutDevAdr(int at, int dev, int ext) {
    SetAdr(m_data + at, dev, ext);
    if (ext > 15) m_data[at] = Byte(m_data[at] | 0x20);
}

void CMes::GetDevAdr(int at, bool extRule) {
    GetAdr(m_data + at, m_dev, m_ext);
    if (extRule && m_dev > 127) {
        m_dev &= 127;
        m_ext |= 16;
    }
}

bool CMes::Conv8To6(const unsigned char* src, int n, unsigned char* dst, int size, int* done) {
    int out = 0;
    bool all = true;
    if (dst && size > 0) std::memset(dst, 0, static_cast<size_t>(size));
    if (!dst) size = 0;
    if (!src) n = 0;
    for (int g = 0; g < n && all; g += 3) {
        const int b0 = src[g];
        const int b1 = g + 1 < n ? src[g + 1] : 0;
        const int b2 = g + 2 < n ? src[g + 2] : 0;
        const int u[4] = {b0 & 63, ((b1 << 2) & 60) | (b0 >> 6), ((b2 << 4) & 48) | (b1 >> 4),
                          b2 >> 2};
        for (int k = 0; k < 4; ++k) {
            if (out >= size) {
                all = false;
                break;
            }
            dst[out++] = Byte(u[k]);
        }
    }
    if (done) *done = out;
    return all;
}

bool CMes::Conv6To8(const unsigned char* src, int n, unsigned char* dst, int size, int* done) {
    int out = 0;
    bool all = true;
    if (dst && size > 0) std::memset(dst, 0, static_cast<size_t>(size));
    if (!dst) size = 0;
    if (!src) n = 0;
    for (int g = 0; g < n && all; g += 4) {
        const int k = n - g < 4 ? n - g : 4;
        const int u0 = src[g];
        const int u1 = k > 1 ? src[g + 1] : 0;
        const int u2 = k > 2 ? src[g + 2] : 0;
        const int u3 = k > 3 ? src[g + 3] : 0;
        const int b[3] = {(u0 & 63) | (u1 << 6), ((u1 >> 2) & 15) | (u2 << 4),
                          ((u2 >> 4) & 3) | (u3 << 2)};
        // A short group carries only the bytes its units cover completely.
        const int nb = k == 4 ? 3 : 6 * k / 8;
        for (int j = 0; j < nb; ++j) {
            if (out >= size) {
                all = false;
                break;
            }
            dst[out++] = Byte(b[j]);
        }
    }
    if (done) *done = out;
    return all;
}

void CMes::Grow(int len) {
    if (m_len < len) m_len = len;
}

void CMes::SetOrig(int module, int slot) {
    SetAdr(m_data, module, slot);
    GetAdr(m_data, m_origUM, m_origSlot);
    Grow(2);
}

void CMes::SetDest(int module, int slot) {
    SetAdr(m_data + 2, module, slot);
    GetAdr(m_data + 2, m_destUM, m_destSlot);
    Grow(4);
}

void CMes::SetDev(int dev) {
    m_dev = dev;
    PutDevAdr(6, m_dev, m_ext);
    Grow(8);
}

void CMes::SetExt(int ext) {
    m_ext = ext & 31;
    PutDevAdr(6, m_dev, m_ext);
    Grow(8);
}

void CMes::SetTypMes(int t) {
    m_typ = t & 0xFF;
    m_data[5] = Byte(t);
    Grow(6);
}

int CMes::IncHopCount() {
    m_hop = (m_hop + 1) & 0xFF;
    m_data[4] = Byte(m_hop);
    Grow(5);
    return m_hop;
}

int CMes::SetByte(int i, unsigned char b) {
    if (i < 0 || i >= m_len - 6) return 0;
    m_data[6 + i] = b;
    return 1;
}

unsigned char CMes::operator[](int i) const { return i >= 0 && 6 + i < m_len ? m_data[6 + i] : 0; }

bool CMes::IsGood() const {
    if ((m_typ & ~4) != mtSostLift || m_len < 1) return true;
    return (m_data[m_len - 1] & 0x20) == 0;
}

int CMes::GetNVRAM(int& address, unsigned short& word) const {
    address = 0;
    word = 0;
    if (m_typ != mtNvRamWord) return 0;
    address = m_data[6] & 63;
    const int lo = ((m_data[9] << 2) & 0xF0) | ((m_data[8] >> 2) & 0x0F);
    const int hi = ((m_data[8] << 6) & 0xC0) | (m_data[7] & 0x3F);
    word = static_cast<unsigned short>(lo | hi << 8);
    return 1;
}

int CMes::GetNVRAM(int& address, int& count, unsigned char* buf, int size) const {
    address = 0;
    count = 0;
    if (m_typ != mtNvRamRez && m_typ != mtNvRamJob) return 128;
    const int status = m_data[9];
    if (m_typ == mtNvRamRez && status != 0) return status;
    address = ((m_data[7] << 6) & 0xFC0) | (m_data[6] & 63);
    count = m_data[8] & 63;
    Conv6To8(m_data + 10, m_len > 10 ? m_len - 10 : 0, buf, size);
    return status;
}

int CMes::GetLbNVRAM(int& address, unsigned short& word, bool& isWord) const {
    address = 0;
    word = 0;
    isWord = true;
    if (m_len < 12) return 0;
    const int s = m_data[9];
    const int u = m_data[8] & 63;
    const int d10 = m_data[10];
    const int d11 = m_data[11];
    if (s & 2) {
        address = ((s << 7) & 0x1E00) | ((s << 6) & 0x40) | u | ((d10 << 11) & 0x1800);
        word = static_cast<unsigned short>(((d11 * 4) | ((d10 >> 4) & 3)) & 0xFF);
        isWord = false;
    } else {
        address = u | ((s << 6) & 0x40);
        word = static_cast<unsigned short>(((s >> 2) & 15) | ((d10 << 4) & 0xF0) |
                                           ((((d11 * 4) & 0xFF) | ((d10 >> 4) & 3)) << 8));
        isWord = true;
    }
    return 1;
}

int CMes::GetLbNVRAM(
    int& address, unsigned short& word, bool& isWord, unsigned short& word2, bool& isWord2) const {
    word2 = 0;
    isWord2 = false;
    const int r = GetLbNVRAM(address, word, isWord);
    if (r && isWord && m_len > 15) {
        const int lo = (m_data[16] & 63) | ((m_data[17] << 6) & 0xC0);
        const int hi = ((m_data[18] << 4) & 0xFF) | ((m_data[17] >> 2) & 15);
        word2 = static_cast<unsigned short>(lo | hi << 8);
        isWord2 = true;
    }
    return r;
}

int CMes::GetIAP(unsigned char* buf, int size) const {
    const int from = m_typ == mtSostLift ? 12 : 11;
    int done = 0;
    Conv6To8(m_data + from, m_len > from ? m_len - from : 0, buf, size, &done);
    return done;
}

int CMes::LvlAsk10() const {
    if (m_typ != mtSostLift || m_ext != askLiftState) return -1;
    if (m_len <= 21) return 0;
    if (m_len <= 29) return 1;
    return 2;
}

bool CMes::TestBit(bitExtended b) const {
    const int i = static_cast<int>(b);
    if (LvlAsk10() < 0 || i < 0 || i >= 8 || m_len <= 21) return false;
    return (m_data[12 + i / 6] >> (i % 6)) & 1;
}

int CMes::CurLvl() const { return LvlAsk10() >= 1 ? m_data[14] & 63 : 0; }

CMes::modeLift CMes::Mode() const {
    return static_cast<modeLift>(LvlAsk10() >= 1 ? m_data[15] & 15 : 0);
}

int CMes::CodDmamge() const {
    if (LvlAsk10() < 1) return 0;
    return ((m_data[18] >> 4) & 3) | ((m_data[19] << 2) & 0xFF);
}

bool CMes::TestAsk(int i) const {
    if (LvlAsk10() < 2 || i < 1 || i > 24) return false;
    return (m_data[20 + (i - 1) / 6] >> ((i - 1) % 6)) & 1;
}

bool CMes::TestCmd(int i) const {
    if (LvlAsk10() < 2 || i < 1 || i > 24) return false;
    return (m_data[24 + (i - 1) / 6] >> ((i - 1) % 6)) & 1;
}

int CMes::GetAlert(void* buf, int size) const {
    unsigned char* out = static_cast<unsigned char*>(buf);
    int done = 0;
    const int n = m_typ == mtAlert && m_len > 13 ? m_len - 13 : 0;
    Conv6To8(m_data + 13, n, out, size, &done);
    return done;
}

int CMes::GetSTAT(int& c1, int& c2, int& c3, int& c4) const {
    int* c[4] = {&c1, &c2, &c3, &c4};
    for (int k = 0; k < 4; ++k)
        *c[k] = m_len < 15 ? 0 : (m_data[17 + 2 * k] & 63) | (m_data[18 + 2 * k] & 63) << 6;
    return m_len < 15 ? 0 : 1;
}

DBString CMes::Str(const wchar_t* prefix) const {
    DBString s(prefix);
    for (int i = 0; i < m_len; ++i) s.AppendFormat(L" %02X", m_data[i]);
    return s;
}

DBString CMes::nameMode(modeLift) { return DBString(L"CMes::nameMode(modeLift aMode)"); }

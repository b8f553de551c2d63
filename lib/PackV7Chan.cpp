// CRCs and the three channel codings of CPackV7.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lib/Idea.h"
#include "lib/Pack.h"
#include "lib/PackV7.h"

namespace {

using Crc16Tables = std::array<std::array<std::uint16_t, 256>, 8>;

// Table k: the CRC-16/XMODEM register after byte x followed by k zero bytes, for eight bytes a
// step (the register's bits enter the first two bytes of a step). The entries are stored with
// their two bytes swapped, and so is the register while it runs: its high byte, which meets the
// next input byte, is then the low byte, and a table index costs one xor and one byte move less
// on the chain from step to step that bounds the speed.
constexpr Crc16Tables MakeCrc16Tables() {
    Crc16Tables t{};
    for (unsigned x = 0; x < 256; ++x) {
        unsigned c = x << 8;
        for (int b = 0; b < 8; ++b) c = (c & 0x8000) ? ((c << 1) ^ 0x1021) : (c << 1);
        t[0][x] = static_cast<std::uint16_t>(c);
    }
    for (int k = 1; k < 8; ++k)
        for (unsigned x = 0; x < 256; ++x) {
            const unsigned prev = t[k - 1][x];
            t[k][x] = static_cast<std::uint16_t>((prev << 8) ^ t[0][prev >> 8]);
        }
    for (auto& table : t)
        for (auto& entry : table)
            entry = static_cast<std::uint16_t>((entry >> 8) | ((entry & 0xFF) << 8));
    return t;
}

constexpr Crc16Tables kCrc16 = MakeCrc16Tables();
constexpr bool kBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

constexpr unsigned char KeyPro[16] = {0x70, 0x28, 0xb1, 0x4a, 0x6c, 0x7f, 0xa6, 0xdf,
                                      0x7d, 0xc1, 0x9b, 0xeb, 0x33, 0x2e, 0x1a, 0xf5};

// Keyed on first use so that no other static initialiser can see it unkeyed.
const CIdeaCtx& ProCloudKey() {
    static const CIdeaCtx ctx(KeyPro);
    return ctx;
}

constexpr int kMaxProBlocks = 128;
constexpr int kMinProBlocks = 3;
constexpr int kBlockTail = 16;

inline unsigned char Rotl2(unsigned r) { return static_cast<unsigned char>((r << 2) | (r >> 6)); }

// The closing chain of the channel codings, from buf[last] down to buf[0]: each byte is xor-ed
// into the running value s, which goes out through the CRC-8 table image of the key byte.
void ChainBackward(unsigned char* buf, int last, const unsigned char* key, unsigned s, unsigned k) {
    for (int p = last; p >= 0; --p) {
        s ^= buf[p];
        buf[p] = static_cast<unsigned char>(kCrc8Table[key[k]] ^ s);
        k = (k + 1) & 15u;
    }
}

// Undoes ChainBackward with the same start values.
void UnchainBackward(
    unsigned char* buf, int last, const unsigned char* key, unsigned s, unsigned k) {
    for (int p = last; p >= 0; --p) {
        const unsigned t = kCrc8Table[key[k]] ^ buf[p];
        buf[p] = static_cast<unsigned char>(s ^ t);
        s = t;
        k = (k + 1) & 15u;
    }
}

}  // namespace

const unsigned char CPackV7::CloudKey[16] = {0x25, 0xef, 0xbd, 0xa6, 0x09, 0x24, 0x26, 0xc2,
                                             0xb8, 0xab, 0xf1, 0x2b, 0x72, 0x6d, 0x23, 0x22};
const unsigned char CPackV7::DefaultKey[16] = {0x10, 0x16, 0x36, 0x39, 0x22, 0x43, 0xa5, 0x04,
                                               0xd0, 0xe0, 0xff, 0x77, 0xf4, 0x82, 0xe3, 0x91};
const unsigned char CPackV7::ForKeySYS[16] = {0x8d, 0xaf, 0x47, 0x95, 0xe8, 0x2a, 0x1f, 0x6e,
                                              0x3d, 0xad, 0x80, 0xc8, 0x88, 0xd6, 0x44, 0x83};

const std::array<unsigned char, 256> CPackV7::Step3 = kCrc8Table;

unsigned char CPackV7::CalcCrc(const unsigned char* bytes, int n) {
    if (bytes == nullptr || n < 1) return 0;
    return Crc8(bytes, n);
}

unsigned short CPackV7::CalcCrc16(const unsigned char* p, int n) {
    if (p == nullptr || n < 1) return 0;
    unsigned r = 0;  // the register, bytes swapped
    for (; n >= 8; n -= 8, p += 8) {
        // One word load instead of eight byte loads; its bytes in memory order from the low end.
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        if constexpr (kBigEndian) w = __builtin_bswap64(w);
        const unsigned head = r ^ static_cast<unsigned>(w & 0xFFFF);
        r = kCrc16[7][head & 0xFF] ^ kCrc16[6][head >> 8] ^ kCrc16[5][(w >> 16) & 0xFF] ^
            kCrc16[4][(w >> 24) & 0xFF] ^ kCrc16[3][(w >> 32) & 0xFF] ^
            kCrc16[2][(w >> 40) & 0xFF] ^ kCrc16[1][(w >> 48) & 0xFF] ^ kCrc16[0][w >> 56];
    }
    for (; n > 0; --n, ++p) r = (r >> 8) ^ kCrc16[0][(r ^ *p) & 0xFF];
    const unsigned crc = (r >> 8) | ((r & 0xFF) << 8);
    return static_cast<unsigned short>(crc);
}

void CPackV7::Decoded(int m) {
    m_Len = m;
    if (m_Len > 12)
        UnPack();
    else
        m_Valid = false;
}

// ---- key scrambling ----

int CPackV7::ChanCod(unsigned char* out, int outSize, const unsigned char* key16) {
    if (out == nullptr || key16 == nullptr || outSize < 1 || m_Len > MaxChanLen) return 0;
    const unsigned r = static_cast<unsigned>(std::rand()) & 0xFF;
    CalcCrc();
    const int n = std::min(m_Len + 2, outSize);
    unsigned k = Rotl2(r) & 15u;
    unsigned x = r;
    for (int i = 0; i < n; ++i) {
        x ^= m_Buf[i];
        out[i] = static_cast<unsigned char>(key16[k] ^ x);
        k = (out[i] + 1u) & 15u;
    }
    if (outSize <= m_Len + 2) return n;
    out[n] = static_cast<unsigned char>(Crc8(out, n) ^ r);
    ChainBackward(out, n, key16, 1, 4);
    return n + 1;
}

int CPackV7::ChanDecod(const unsigned char* in, int n, const unsigned char* key16) {
    Clear();
    m_Decoded = false;
    const int m = std::min(n, BufSize);
    if (in == nullptr || key16 == nullptr || m < 3) {
        m_Valid = false;
        return 0;
    }
    std::memcpy(m_Buf, in, static_cast<std::size_t>(m));
    UnchainBackward(m_Buf, m - 1, key16, 1, 4);
    const unsigned r = Crc8(m_Buf, m - 1) ^ m_Buf[m - 1];
    unsigned k = Rotl2(r) & 15u;
    unsigned prev = r;
    for (int i = 0; i < m - 1; ++i) {
        const unsigned x = key16[k] ^ m_Buf[i];
        k = (m_Buf[i] + 1u) & 15u;
        m_Buf[i] = static_cast<unsigned char>(prev ^ x);
        prev = x;
    }
    Decoded(m - 3);
    return Sound() ? 1 : 0;
}

// ---- cloud scrambling with a second chain ----

namespace {

// The start of the second chain, from R and the CRC-8 table images of header bytes 0-10.
struct Chain2 {
    unsigned x2;
    unsigned k2;
};

Chain2 SecondChain(unsigned r, const unsigned char* h) {
    unsigned a[10];
    a[0] = ((r + 19) ^ h[0]) & 0xFF;
    for (int i = 1; i < 10; ++i) a[i] = ((a[i - 1] + r) ^ h[i]) & 0xFF;
    const unsigned x2 = ((a[9] + r) ^ h[10]) & 0xFF;
    unsigned s = r ^ 0x87;
    for (int i = 0; i < 10; ++i) s = ((s + a[i]) ^ (h[i] ^ r)) & 0xFF;
    s = ((s + x2) ^ h[10]) & 0xFF;
    return {x2, s & 15u};
}

}  // namespace

int CPackV7::ChanCloudCod(unsigned char* out, int outSize) {
    if (out == nullptr || outSize < 1 || m_Len > MaxChanLen) return 0;
    const unsigned char* key = CloudKey;
    const unsigned r = static_cast<unsigned>(std::rand()) & 0xFF;
    CalcCrc();
    const int n = std::min(m_Len + 2, outSize);
    unsigned char h[11];
    for (int i = 0; i < 11; ++i) h[i] = kCrc8Table[m_Buf[i]];
    unsigned k = Rotl2(r) & 15u;
    unsigned x = r;
    const int head = std::min(n, 11);
    for (int i = 0; i < head; ++i) {
        x ^= m_Buf[i];
        out[i] = static_cast<unsigned char>(key[k] ^ x);
        k = (out[i] + 1u) & 15u;
    }
    if (n > 11) {
        Chain2 c2 = SecondChain(r, h);
        for (int p = 11; p < n; ++p) {
            x ^= m_Buf[p];
            const unsigned y = (key[k] ^ x) & 0xFF;
            out[p] = static_cast<unsigned char>(y);
            k = (y + 1) & 15u;
            if (p < n - 2) {
                c2.x2 ^= y;
                const unsigned z = (key[c2.k2] ^ c2.x2) & 0xFF;
                out[p] = static_cast<unsigned char>(z);
                c2.k2 = (z + 3) & 15u;
            }
        }
    }
    if (outSize <= m_Len + 2) return n;
    const unsigned c = Crc8(out, n) ^ r;
    out[n] = static_cast<unsigned char>(c ^ 0xCB);
    ChainBackward(out, n - 1, key, c ^ 1, 5);
    return n + 1;
}

int CPackV7::ChanCloudDecod(const unsigned char* in, int n) {
    Clear();
    const int m = std::min(n, BufSize);
    if (in == nullptr || m < 3) {
        m_Valid = false;
        return 0;
    }
    const unsigned char* key = CloudKey;
    std::memcpy(m_Buf, in, static_cast<std::size_t>(m));
    const int coded = m - 1;
    const unsigned c = m_Buf[coded] ^ 0xCBu;
    UnchainBackward(m_Buf, coded - 1, key, c ^ 1, 5);
    const unsigned r = (c ^ Crc8(m_Buf, coded)) & 0xFF;
    unsigned k = Rotl2(r) & 15u;
    unsigned xPrev = r;
    const int head = std::min(coded, 11);
    for (int i = 0; i < head; ++i) {
        const unsigned x = key[k] ^ m_Buf[i];
        k = (m_Buf[i] + 1u) & 15u;
        m_Buf[i] = static_cast<unsigned char>(xPrev ^ x);
        xPrev = x;
    }
    if (coded > 11) {
        unsigned char h[11];
        for (int i = 0; i < 11; ++i) h[i] = kCrc8Table[m_Buf[i]];
        Chain2 c2 = SecondChain(r, h);
        for (int p = 11; p < coded; ++p) {
            unsigned y = m_Buf[p];
            if (p < coded - 2) {
                const unsigned z = y;
                const unsigned x2 = (key[c2.k2] ^ z) & 0xFF;
                y = x2 ^ c2.x2;
                c2.x2 = x2;
                c2.k2 = (z + 3) & 15u;
            }
            const unsigned x = key[k] ^ y;
            k = (y + 1) & 15u;
            m_Buf[p] = static_cast<unsigned char>(xPrev ^ x);
            xPrev = x;
        }
    }
    Decoded(m - 3);
    return Sound() ? 1 : 0;
}

// ---- IDEA frame ----

int CPackV7::ChanCloudProCod(unsigned char* out, int outSize, const unsigned char* block16) {
    if (out == nullptr || block16 == nullptr || m_Len < 0 || m_Len + 2 > BufSize) return 0;
    CalcCrc();
    const int l = m_Len + 2;
    const int size = m_Len + 20;
    const int blocks = (size + 7) / 8;
    if (blocks > kMaxProBlocks) return 0;
    const int pad = CIdeaKey::rand() & 3;
    if (8 * blocks + pad > outSize) return 0;
    out[0] = static_cast<unsigned char>(l);
    out[1] = static_cast<unsigned char>(l >> 8);
    std::memcpy(out + 2, m_Buf, static_cast<std::size_t>(l));
    std::memcpy(out + 2 + l, block16, kBlockTail);
    std::memset(out + size, 0, static_cast<std::size_t>(8 * blocks - size));
    ProCloudKey().Encrypt(out, out, blocks);
    for (int i = 0; i < pad; ++i)
        out[8 * blocks + i] = static_cast<unsigned char>(CIdeaKey::rand());
    return 8 * blocks + pad;
}

int CPackV7::ChanCloudProDecod(const unsigned char* in, int n, unsigned char* block16) {
    Clear();
    const int blocks = n / 8;
    if (in == nullptr || blocks < kMinProBlocks || blocks > kMaxProBlocks) return 0;
    unsigned char frame[8 * kMaxProBlocks];
    ProCloudKey().Decrypt(in, frame, blocks);
    const int l = frame[0] | (frame[1] << 8);
    // The frame must hold the packet with its CRC and the 16-byte block behind it.
    if (l > BufSize || l < 2 || 2 + l + kBlockTail > 8 * blocks) return 0;
    std::memcpy(m_Buf, frame + 2, static_cast<std::size_t>(l));
    Decoded(l - 2);
    if (!Sound()) return 0;
    if (block16 != nullptr) std::memcpy(block16, frame + 2 + l, kBlockTail);
    return 1;
}

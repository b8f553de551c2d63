#include "lib/Idea.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "dblib/DBString.h"

namespace {

constexpr int kRounds = 8;
constexpr int kSubkeys = 6 * kRounds + 4;

// a * b modulo 65537 with 0 standing for 65536. The zero product is rare and predictable, so the
// branch is cheaper than a branch-free form.
inline std::uint32_t Mul(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t p = a * b;
    if (p != 0) {
        const std::uint32_t lo = p & 0xFFFF;
        const std::uint32_t hi = p >> 16;
        return (lo - hi + (lo < hi ? 1u : 0u)) & 0xFFFF;
    }
    return (1 - a - b) & 0xFFFF;
}

inline std::uint32_t Load16(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 8) | p[1];
}

inline void Store16(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
}

// N blocks at a time, each on its own: a round is one long chain of dependent multiplications,
// and independent blocks side by side let the processor overlap their chains.
template <int N>
inline void Block(const unsigned char* in, unsigned char* out, const unsigned short* k) {
    std::uint32_t x1[N], x2[N], x3[N], x4[N];
    for (int j = 0; j < N; ++j) {
        x1[j] = Load16(in + 8 * j);
        x2[j] = Load16(in + 8 * j + 2);
        x3[j] = Load16(in + 8 * j + 4);
        x4[j] = Load16(in + 8 * j + 6);
    }
    for (int r = 0; r < kRounds; ++r, k += 6) {
        for (int j = 0; j < N; ++j) {
            x1[j] = Mul(x1[j], k[0]);
            x2[j] = (x2[j] + k[1]) & 0xFFFF;
            x3[j] = (x3[j] + k[2]) & 0xFFFF;
            x4[j] = Mul(x4[j], k[3]);
            const std::uint32_t t0 = Mul(x1[j] ^ x3[j], k[4]);
            const std::uint32_t t1 = Mul((t0 + (x2[j] ^ x4[j])) & 0xFFFF, k[5]);
            const std::uint32_t t2 = (t0 + t1) & 0xFFFF;
            x1[j] ^= t1;
            x4[j] ^= t2;
            const std::uint32_t a = x2[j] ^ t2;
            x2[j] = x3[j] ^ t1;
            x3[j] = a;
        }
    }
    // The output transformation undoes the last round's swap of the middle words.
    for (int j = 0; j < N; ++j) {
        Store16(out + 8 * j, Mul(x1[j], k[0]));
        Store16(out + 8 * j + 2, (x3[j] + k[1]) & 0xFFFF);
        Store16(out + 8 * j + 4, (x2[j] + k[2]) & 0xFFFF);
        Store16(out + 8 * j + 6, Mul(x4[j], k[3]));
    }
}

void Blocks(const unsigned char* in, unsigned char* out, int n, const unsigned short* k) {
    constexpr int kLanes = 2;
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) Block<kLanes>(in + 8 * i, out + 8 * i, k);
    for (; i < n; ++i) Block<1>(in + 8 * i, out + 8 * i, k);
}

inline unsigned short AddInv(unsigned short x) {
    return static_cast<unsigned short>((0x10000 - x) & 0xFFFF);
}

// Folds the key bytes: complete 16-byte chunks of s over the key, the remainder over bytes 0...
void FoldChunks(unsigned char* key, const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) key[i % 16] ^= static_cast<unsigned char>(s[i]);
}

// The first m bytes of t over the last m key bytes; a text shorter in bytes than m (a character
// the code page lacks ends the conversion) contributes zeros.
void FoldRight(unsigned char* key, const std::string& t, std::size_t m) {
    for (std::size_t j = 0; j < m; ++j) {
        const unsigned char b = j < t.size() ? static_cast<unsigned char>(t[j]) : 0;
        key[16 - m + j] ^= b;
    }
}

std::size_t Chars16(const wchar_t* t) {
    const std::size_t n = std::wcslen(t);
    return n < 16 ? n : 16;
}

const wchar_t* NotNull(const wchar_t* t) {
    if (t == nullptr) throw std::logic_error("basic_string: construction from null is not valid");
    return t;
}

void Start(unsigned char* key, const unsigned char* block16) {
    if (block16 != nullptr)
        std::memcpy(key, block16, 16);
    else
        std::memset(key, 0, 16);
}

template <typename Conv>
void Derive2(unsigned char* key,
             const wchar_t* t1,
             const wchar_t* t2,
             const wchar_t* t3,
             const unsigned char* block16,
             Conv conv) {
    const DBString s1(NotNull(t1)), s2(NotNull(t2)), s3(NotNull(t3));
    Start(key, block16);
    FoldChunks(key, conv(s1) + conv(s2));
    FoldRight(key, conv(s3), Chars16(t3));
}

}  // namespace

CIdeaCtx::CIdeaCtx() : m_Enc{}, m_Dec{} {}

CIdeaCtx::CIdeaCtx(const unsigned char* key16) : CIdeaCtx() { Key(key16); }

void CIdeaCtx::ExpandKey(const unsigned char* key, unsigned short* subkeys) {
    for (int j = 0; j < 8; ++j) subkeys[j] = static_cast<unsigned short>(Load16(key + 2 * j));
    // Each group of eight is the previous group's 128-bit key rotated left by 25 bits.
    for (int j = 8; j < kSubkeys; ++j) {
        const unsigned short* prev = subkeys + (j & ~7) - 8;
        const int a = (j + 1) & 7;
        const int b = (j + 2) & 7;
        subkeys[j] = static_cast<unsigned short>(((prev[a] << 9) | (prev[b] >> 7)) & 0xFFFF);
    }
}

unsigned short CIdeaCtx::mulInv(unsigned short x) {
    if (x <= 1) return x;
    // Extended Euclid on 65537 and x.
    std::uint32_t t1 = 0x10001 / x;
    std::uint32_t y = 0x10001 % x;
    if (y == 1) return static_cast<unsigned short>((1 - t1) & 0xFFFF);
    std::uint32_t t0 = 1;
    std::uint32_t xx = x;
    do {
        const std::uint32_t q = xx / y;
        xx %= y;
        t0 += q * t1;
        if (xx == 1) return static_cast<unsigned short>(t0);
        const std::uint32_t q2 = y / xx;
        y %= xx;
        t1 += q2 * t0;
    } while (y != 1);
    return static_cast<unsigned short>((1 - t1) & 0xFFFF);
}

void CIdeaCtx::InvertKey(const unsigned short* ek) {
    unsigned short* p = m_Dec + kSubkeys;
    unsigned short t1 = mulInv(*ek++);
    unsigned short t2 = AddInv(*ek++);
    unsigned short t3 = AddInv(*ek++);
    *--p = mulInv(*ek++);
    *--p = t3;
    *--p = t2;
    *--p = t1;
    for (int i = 0; i < kRounds - 1; ++i) {
        t1 = *ek++;
        *--p = *ek++;
        *--p = t1;
        t1 = mulInv(*ek++);
        t2 = AddInv(*ek++);
        t3 = AddInv(*ek++);
        *--p = mulInv(*ek++);
        // Inner rounds swap the additive subkeys to match the swapped middle words.
        *--p = t2;
        *--p = t3;
        *--p = t1;
    }
    t1 = *ek++;
    *--p = *ek++;
    *--p = t1;
    t1 = mulInv(*ek++);
    t2 = AddInv(*ek++);
    t3 = AddInv(*ek++);
    *--p = mulInv(*ek);
    *--p = t3;
    *--p = t2;
    *--p = t1;
}

void CIdeaCtx::Key(const unsigned char* key16) {
    ExpandKey(key16, m_Enc);
    InvertKey(m_Enc);
}

void CIdeaCtx::Cipher(const unsigned char* in, unsigned char* out, const unsigned short* subkeys) {
    Block<1>(in, out, subkeys);
}

void CIdeaCtx::Encrypt(const unsigned char* in, unsigned char* out, int n) const {
    Blocks(in, out, n, m_Enc);
}

void CIdeaCtx::Decrypt(const unsigned char* in, unsigned char* out, int n) const {
    Blocks(in, out, n, m_Dec);
}

int CIdeaKey::s_NumRand = 0;

CIdeaKey::CIdeaKey() : m_Key{} {}

void CIdeaKey::Set(const wchar_t* t1, const wchar_t* t2, const unsigned char* block16) {
    const DBString s1(NotNull(t1)), s2(NotNull(t2));
    Start(m_Key, block16);
    const std::string b1 = s1.ToCP1251();
    const std::size_t m1 = Chars16(t1);
    for (std::size_t j = 0; j < m1 && j < b1.size(); ++j)
        m_Key[j] ^= static_cast<unsigned char>(b1[j]);
    FoldRight(m_Key, s2.ToCP1251(), Chars16(t2));
}

void CIdeaKey::Set2(const wchar_t* t1,
                    const wchar_t* t2,
                    const wchar_t* t3,
                    const unsigned char* block16) {
    Derive2(m_Key, t1, t2, t3, block16, [](const DBString& s) { return s.ToCP1251(); });
}

void CIdeaKey::SetUtf8(const wchar_t* t1,
                       const wchar_t* t2,
                       const wchar_t* t3,
                       const unsigned char* block16) {
    Derive2(m_Key, t1, t2, t3, block16, [](const DBString& s) { return s.ToStr(); });
}

int CIdeaKey::rand() { return std::rand(); }

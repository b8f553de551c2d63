#include "lib/Idea.h"

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Hex(const std::string& h) {
    Bytes out;
    for (size_t i = 0; i + 1 < h.size(); i += 2)
        out.push_back(static_cast<unsigned char>(std::stoi(h.substr(i, 2), nullptr, 16)));
    return out;
}

}  // namespace

// The original IDEA paper's vector, NESSIE set 1 #0 and set 2 #0, and the 2BD6... vector of the
// IDEA reference documentation; words big-endian. Then ECB round trips in place.
TEST(CIdeaCtxTest, MatchesPublishedVectorsAndRoundTrips) {
    const struct {
        const char *key, *plain, *cipher;
    } cases[] = {
        {"00010002000300040005000600070008", "0000000100020003", "11FBED2B01986DE5"},
        {"80000000000000000000000000000000", "0000000000000000", "B1F5F7F87901370F"},
        {"00000000000000000000000000000000", "8000000000000000", "8001000180008000"},
        {"2BD6459F82C5B300952C49104881FF48", "F129A6601EF62A47", "EA024714AD5C4D84"},
    };
    for (const auto& c : cases) {
        const Bytes key = Hex(c.key), plain = Hex(c.plain), cipher = Hex(c.cipher);
        CIdeaCtx ctx;
        ctx.Key(key.data());
        Bytes out(8);
        CIdeaCtx::Cipher(plain.data(), out.data(), ctx.EncKeys());
        EXPECT_EQ(out, cipher) << c.key;
        ctx.Decrypt(cipher.data(), out.data(), 1);
        EXPECT_EQ(out, plain) << c.key;
    }
    std::mt19937 gen(7);
    for (int round = 0; round < 50; ++round) {
        unsigned char key[16];
        for (auto& b : key) b = static_cast<unsigned char>(gen());
        const CIdeaCtx ctx(key);
        Bytes data(8 * 17);
        for (auto& b : data) b = static_cast<unsigned char>(gen());
        Bytes work = data, one(8);
        ctx.Encrypt(work.data(), work.data(), 17);
        for (int i = 0; i < 17; ++i) {  // ECB: every block as the single-block cipher gives it
            CIdeaCtx::Cipher(data.data() + 8 * i, one.data(), ctx.EncKeys());
            EXPECT_EQ(one, Bytes(work.begin() + 8 * i, work.begin() + 8 * i + 8)) << round;
        }
        ctx.Decrypt(work.data(), work.data(), 17);
        ASSERT_EQ(work, data) << round;
    }
    const CIdeaCtx ctx(Bytes(16, 1).data());
    const Bytes in = {1, 2, 3, 4, 5, 6, 7, 8};
    Bytes out(8, 0);
    ctx.Encrypt(in.data(), out.data(), 0);
    ctx.Decrypt(in.data(), out.data(), -3);
    EXPECT_EQ(out, Bytes(8, 0));  // a count below one leaves the output alone
}

// x * mulInv(x) == 1 modulo 65537 for every x, with 0 standing for 65536 (its own inverse).
TEST(CIdeaCtxTest, MulInvIsInverseModulo65537) {
    EXPECT_EQ(0, CIdeaCtx::mulInv(0));
    for (std::uint32_t x = 1; x < 0x10000; ++x) {
        const std::uint64_t b = CIdeaCtx::mulInv(static_cast<unsigned short>(x));
        ASSERT_EQ(1u, (x * (b == 0 ? 0x10000 : b)) % 0x10001) << x;
    }
}

// Keys folded by hand. ASCII is the same in CP1251 and UTF-8; Я is DF in one, D0 AF in the other.
TEST(CIdeaKeyTest, FoldsTextsIntoTheBlock) {
    Bytes seq(16), zero(16, 0);
    for (size_t i = 0; i < 16; ++i) seq[i] = static_cast<unsigned char>(0xA0 + i);
    // "ABCDEFGHIJKLMNOPQR": one chunk, then "QR" over bytes 0-1; "wxyz" over bytes 12-15
    Bytes folded(16);
    for (size_t i = 0; i < 16; ++i) folded[i] = static_cast<unsigned char>('A' + i);
    folded[0] ^= 'Q';
    folded[1] ^= 'R';
    for (size_t i = 0; i < 4; ++i) folded[12 + i] ^= static_cast<unsigned char>('w' + i);
    Bytes both(16);  // "ab" left over bytes 0-1, the second text cut to 16
    for (size_t i = 0; i < 16; ++i) both[i] = static_cast<unsigned char>(i ^ "0123456789ABCDEF"[i]);
    both[0] ^= 'a';
    both[1] ^= 'b';
    Bytes ya = zero, yaUtf = zero;
    ya[0] = 0xDF;
    yaUtf[0] = 0xD0;
    yaUtf[1] = 0xAF;
    Bytes count(16);
    for (size_t i = 0; i < 16; ++i) count[i] = static_cast<unsigned char>(i);
    using U8 = const unsigned char*;
    const struct {
        void (*set)(CIdeaKey&, U8);
        Bytes block, expected;
    } rows[] = {
        {[](CIdeaKey& k, U8 b) { k.Set2(L"", L"", L"", b); }, seq, seq},
        {[](CIdeaKey& k, U8 b) { k.Set2(L"ABCDEFGHI", L"JKLMNOPQR", L"wxyz", b); }, zero, folded},
        {[](CIdeaKey& k, U8 b) { k.SetUtf8(L"ABCDEFGHI", L"JKLMNOPQR", L"wxyz", b); }, zero,
         folded},
        {[](CIdeaKey& k, U8 b) { k.Set(L"ab", L"0123456789ABCDEFGH", b); }, count, both},
        {[](CIdeaKey& k, U8 b) { k.Set2(L"\x042F", L"", L"", b); }, zero, ya},
        {[](CIdeaKey& k, U8 b) { k.SetUtf8(L"\x042F", L"", L"", b); }, zero, yaUtf},
    };
    for (const auto& row : rows) {
        CIdeaKey key;
        row.set(key, row.block.data());
        EXPECT_EQ(Bytes(key.Get(), key.Get() + 16), row.expected) << &row - rows;
    }
    CIdeaKey key;
    EXPECT_THROW(key.Set2(nullptr, L"", L"", zero.data()), std::logic_error);
    EXPECT_THROW(key.Set(L"", nullptr, zero.data()), std::logic_error);
    EXPECT_THROW(key.SetUtf8(L"", L"", nullptr, zero.data()), std::logic_error);
}

#include "lib/Idea.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<unsigned char> Hex(const std::string& h) {
    std::vector<unsigned char> out;
    for (std::size_t i = 0; i + 1 < h.size(); i += 2)
        out.push_back(static_cast<unsigned char>(std::stoi(h.substr(i, 2), nullptr, 16)));
    return out;
}

}  // namespace

// Published vectors: the original IDEA paper's, NESSIE set 1 #0 and set 2 #0, and the
// 2BD6... vector of the IDEA reference documentation. Words are big-endian.
TEST(CIdeaCtxTest, MatchesPublishedVectors) {
    const struct {
        const char* key;
        const char* plain;
        const char* cipher;
    } cases[] = {
        {"00010002000300040005000600070008", "0000000100020003", "11FBED2B01986DE5"},
        {"80000000000000000000000000000000", "0000000000000000", "B1F5F7F87901370F"},
        {"00000000000000000000000000000000", "8000000000000000", "8001000180008000"},
        {"2BD6459F82C5B300952C49104881FF48", "F129A6601EF62A47", "EA024714AD5C4D84"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const auto key = Hex(c.key), plain = Hex(c.plain), cipher = Hex(c.cipher);
        CIdeaCtx ctx;
        ctx.Key(key.data());
        unsigned char out[8];
        CIdeaCtx::Cipher(plain.data(), out, ctx.EncKeys());
        EXPECT_EQ(0, std::memcmp(out, cipher.data(), 8));
        ctx.Decrypt(cipher.data(), out, 1);
        EXPECT_EQ(0, std::memcmp(out, plain.data(), 8));
    }
}

// x * mulInv(x) == 1 modulo 65537 for every x, with 0 standing for 65536.
TEST(CIdeaCtxTest, MulInvIsInverseModulo65537) {
    EXPECT_EQ(0, CIdeaCtx::mulInv(0));
    EXPECT_EQ(1, CIdeaCtx::mulInv(1));
    for (std::uint32_t x = 1; x < 0x10000; ++x) {
        const std::uint64_t a = x;
        const std::uint64_t b = CIdeaCtx::mulInv(static_cast<unsigned short>(x));
        ASSERT_EQ(1u, (a * (b == 0 ? 0x10000 : b)) % 0x10001) << x;
    }
    // 65536 (written 0) is its own inverse: 65536 = -1 modulo 65537.
    EXPECT_EQ(1u, (std::uint64_t{0x10000} * 0x10000) % 0x10001);
}

TEST(CIdeaCtxTest, EcbRoundTripsInPlaceForManyKeys) {
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        unsigned char key[16];
        for (auto& b : key) b = static_cast<unsigned char>(byte(gen));
        const CIdeaCtx ctx(key);
        std::vector<unsigned char> data(8 * 17);
        for (auto& b : data) b = static_cast<unsigned char>(byte(gen));
        auto work = data;
        ctx.Encrypt(work.data(), work.data(), 17);
        ASSERT_NE(work, data);
        // ECB: each block on its own, as Cipher gives it.
        unsigned char one[8];
        for (int i = 0; i < 17; ++i) {
            CIdeaCtx::Cipher(data.data() + 8 * i, one, ctx.EncKeys());
            EXPECT_EQ(0, std::memcmp(one, work.data() + 8 * i, 8)) << i;
        }
        ctx.Decrypt(work.data(), work.data(), 17);
        ASSERT_EQ(work, data);
    }
}

TEST(CIdeaCtxTest, NonPositiveCountLeavesOutputAlone) {
    const unsigned char key[16] = {1};
    const CIdeaCtx ctx(key);
    unsigned char in[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    unsigned char out[8] = {};
    ctx.Encrypt(in, out, 0);
    ctx.Decrypt(in, out, -3);
    for (unsigned char b : out) EXPECT_EQ(0, b);
}

TEST(CIdeaKeyTest, Set2WithEmptyTextsKeepsBlock) {
    unsigned char block[16];
    for (int i = 0; i < 16; ++i) block[i] = static_cast<unsigned char>(0xA0 + i);
    CIdeaKey key;
    key.Set2(L"", L"", L"", block);
    EXPECT_EQ(0, std::memcmp(key.Get(), block, 16));
}

// Hand-folded keys: ASCII bytes are the same in CP1251 and UTF-8.
TEST(CIdeaKeyTest, Set2FoldsChunksThenRightAlignsThirdText) {
    const unsigned char zero[16] = {};
    CIdeaKey key;
    // S = "ABCDEFGHIJKLMNOPQR" (18 bytes): one chunk, then "QR" over bytes 0-1.
    key.Set2(L"ABCDEFGHI", L"JKLMNOPQR", L"wxyz", zero);
    unsigned char expect[16];
    const char* s = "ABCDEFGHIJKLMNOP";
    for (int i = 0; i < 16; ++i) expect[i] = static_cast<unsigned char>(s[i]);
    expect[0] ^= 'Q';
    expect[1] ^= 'R';
    // t3 of 4 characters touches only bytes 12-15.
    expect[12] ^= 'w';
    expect[13] ^= 'x';
    expect[14] ^= 'y';
    expect[15] ^= 'z';
    EXPECT_EQ(0, std::memcmp(key.Get(), expect, 16));

    CIdeaKey utf;
    utf.SetUtf8(L"ABCDEFGHI", L"JKLMNOPQR", L"wxyz", zero);
    EXPECT_EQ(0, std::memcmp(utf.Get(), expect, 16));
}

// Cyrillic folds differently in CP1251 (one byte a letter) and UTF-8 (two bytes a letter).
TEST(CIdeaKeyTest, CodePageDecidesCyrillicBytes) {
    const unsigned char zero[16] = {};
    CIdeaKey cp, utf;
    cp.Set2(L"\x042F", L"", L"", zero);  // Я: CP1251 0xDF, UTF-8 D0 AF
    utf.SetUtf8(L"\x042F", L"", L"", zero);
    EXPECT_EQ(0xDF, cp.Get()[0]);
    EXPECT_EQ(0, cp.Get()[1]);
    EXPECT_EQ(0xD0, utf.Get()[0]);
    EXPECT_EQ(0xAF, utf.Get()[1]);
}

TEST(CIdeaKeyTest, SetPutsFirstTextLeftAndSecondRight) {
    unsigned char block[16];
    for (int i = 0; i < 16; ++i) block[i] = static_cast<unsigned char>(i);
    CIdeaKey key;
    key.Set(L"ab", L"0123456789ABCDEFGH", block);  // the second text is cut to 16
    unsigned char expect[16];
    const char* t2 = "0123456789ABCDEF";
    for (int i = 0; i < 16; ++i) expect[i] = static_cast<unsigned char>(i ^ t2[i]);
    expect[0] ^= 'a';
    expect[1] ^= 'b';
    EXPECT_EQ(0, std::memcmp(key.Get(), expect, 16));
}

TEST(CIdeaKeyTest, NullTextThrowsLogicError) {
    const unsigned char zero[16] = {};
    CIdeaKey key;
    EXPECT_THROW(key.Set2(nullptr, L"", L"", zero), std::logic_error);
    EXPECT_THROW(key.Set(L"", nullptr, zero), std::logic_error);
    EXPECT_THROW(key.SetUtf8(L"", L"", nullptr, zero), std::logic_error);
}

#include "lib/Idea.h"

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
// IDEA reference documentation; words big-endian. Then every block of a multi-block call must be
// the single-block cipher's, and decrypting in place gives the data back.
TEST(CIdeaCtxTest, MatchesPublishedVectorsAndRoundTrips) {
    for (const char* c : {"00010002000300040005000600070008 0000000100020003 11FBED2B01986DE5",
                          "80000000000000000000000000000000 0000000000000000 B1F5F7F87901370F",
                          "00000000000000000000000000000000 8000000000000000 8001000180008000",
                          "2BD6459F82C5B300952C49104881FF48 F129A6601EF62A47 EA024714AD5C4D84"}) {
        const std::string row = c;
        const Bytes key = Hex(row.substr(0, 32)), plain = Hex(row.substr(33, 16));
        const Bytes cipher = Hex(row.substr(50, 16));
        Bytes out(8);
        CIdeaCtx ctx(key.data());
        CIdeaCtx::Cipher(plain.data(), out.data(), ctx.EncKeys());
        EXPECT_EQ(out, cipher) << c;
        ctx.Decrypt(cipher.data(), out.data(), 1);
        EXPECT_EQ(out, plain) << c;
    }
    std::mt19937 gen(7);
    for (int round = 0; round < 20; ++round) {
        unsigned char key[16];
        for (auto& b : key) b = static_cast<unsigned char>(gen());
        const CIdeaCtx ctx(key);
        Bytes data(8 * 17);
        for (auto& b : data) b = static_cast<unsigned char>(gen());
        Bytes work = data, one(8);
        ctx.Encrypt(work.data(), work.data(), 17);
        for (int i = 0; i < 17; ++i) {
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

// Texts are XORed into the block in 16-byte chunks; Я is DF in CP1251, D0 AF in UTF-8.
TEST(CIdeaKeyTest, FoldsTextsIntoTheBlock) {
    const Bytes zero(16, 0);
    Bytes folded(16), ya = zero, yaUtf = zero;
    for (size_t i = 0; i < 16; ++i) folded[i] = static_cast<unsigned char>('A' + i);
    folded[0] ^= 'Q';  // "ABCDEFGHIJKLMNOPQR": "QR" over bytes 0-1, then "wxyz" over 12-15
    folded[1] ^= 'R';
    for (size_t i = 0; i < 4; ++i) folded[12 + i] ^= static_cast<unsigned char>('w' + i);
    ya[0] = 0xDF;
    yaUtf[0] = 0xD0;
    yaUtf[1] = 0xAF;
    CIdeaKey k[4];
    k[0].Set2(L"ABCDEFGHI", L"JKLMNOPQR", L"wxyz", zero.data());
    k[1].SetUtf8(L"ABCDEFGHI", L"JKLMNOPQR", L"wxyz", zero.data());
    k[2].Set2(L"\x042F", L"", L"", zero.data());
    k[3].SetUtf8(L"\x042F", L"", L"", zero.data());
    const Bytes expected[4] = {folded, folded, ya, yaUtf};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Bytes(k[i].Get(), k[i].Get() + 16), expected[i]) << i;
    k[0].Set(L"ab", L"0123456789ABCDEFGH", zero.data());  // the second text cut to 16
    Bytes both(16);
    for (size_t i = 0; i < 16; ++i) both[i] = static_cast<unsigned char>("0123456789ABCDEF"[i]);
    both[0] ^= 'a';
    both[1] ^= 'b';
    EXPECT_EQ(Bytes(k[0].Get(), k[0].Get() + 16), both);
    EXPECT_THROW(k[0].Set2(nullptr, L"", L"", zero.data()), std::logic_error);
    EXPECT_THROW(k[0].Set(L"", nullptr, zero.data()), std::logic_error);
    EXPECT_THROW(k[0].SetUtf8(L"", L"", nullptr, zero.data()), std::logic_error);
}

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

// The original IDEA paper's vector and NESSIE set 2 #0 (zero key words); words big-endian. Then
// every block of a multi-block call must be the single-block cipher's, and decrypting in place
// gives the data back.
TEST(CIdeaCtxTest, MatchesPublishedVectorsAndRoundTrips) {
    for (const char* c : {"00010002000300040005000600070008 0000000100020003 11FBED2B01986DE5",
                          "00000000000000000000000000000000 8000000000000000 8001000180008000"}) {
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
    Bytes key(16), data(8 * 17), one(8);
    for (int round = 0; round < 20; ++round) {
        for (auto* v : {&key, &data})
            for (auto& b : *v) b = static_cast<unsigned char>(gen());
        const CIdeaCtx ctx(key.data());
        Bytes work = data;
        ctx.Encrypt(work.data(), work.data(), 17);
        CIdeaCtx::Cipher(data.data() + 8 * 16, one.data(), ctx.EncKeys());
        EXPECT_EQ(one, Bytes(work.begin() + 8 * 16, work.end())) << round;
        ctx.Decrypt(work.data(), work.data(), 17);
        ASSERT_EQ(work, data) << round;
    }
    const CIdeaCtx ctx(key.data());
    Bytes out(8, 0);
    ctx.Encrypt(data.data(), out.data(), 0);
    ctx.Decrypt(data.data(), out.data(), -3);
    EXPECT_EQ(out, Bytes(8, 0));  // a count below one leaves the output alone
}

// Texts are XORed into the block in 16-byte chunks; Я is DF in CP1251, D0 AF in UTF-8. Set2
// puts "ABCDEFGHIJKLMNOPQR" from byte 0 and "wxyz" over bytes 12-15; Set cuts its second text
// to 16.
TEST(CIdeaKeyTest, FoldsTextsIntoTheBlock) {
    const struct {
        int how;  // 0 Set2, 1 SetUtf8, 2 Set
        const wchar_t *a, *b, *c;
        const char* block;
    } rows[] = {
        {0, L"ABCDEFGHI", L"JKLMNOPQR", L"wxyz", "1010434445464748494A4B4C3A36362A"},
        {1, L"ABCDEFGHI", L"JKLMNOPQR", L"wxyz", "1010434445464748494A4B4C3A36362A"},
        {0, L"\x042F", L"", L"", "DF000000000000000000000000000000"},
        {1, L"\x042F", L"", L"", "D0AF0000000000000000000000000000"},
        {2, L"ab", L"0123456789ABCDEFGH", nullptr, "51533233343536373839414243444546"},
    };
    const Bytes zero(16, 0);
    CIdeaKey k;  // every row starts from the block, not from the row before
    for (const auto& r : rows) {
        if (r.how == 0) k.Set2(r.a, r.b, r.c, zero.data());
        if (r.how == 1) k.SetUtf8(r.a, r.b, r.c, zero.data());
        if (r.how == 2) k.Set(r.a, r.b, zero.data());
        EXPECT_EQ(Bytes(k.Get(), k.Get() + 16), Hex(r.block)) << r.block;
    }
    EXPECT_THROW(k.Set2(nullptr, L"", L"", zero.data()), std::logic_error);
    EXPECT_THROW(k.Set(L"", nullptr, zero.data()), std::logic_error);
    EXPECT_THROW(k.SetUtf8(L"", L"", nullptr, zero.data()), std::logic_error);
}

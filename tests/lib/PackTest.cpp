#include "lib/Pack.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "lib/Mes.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Bit-by-bit polynomial division: the definition the table must reproduce.
unsigned char CrcBits(const Bytes& b) {
    unsigned c = 0;
    for (unsigned char x : b) {
        c ^= x;
        for (int k = 0; k < 8; ++k) c = (c & 0x80) ? ((c << 1) ^ 0x43) & 0xFF : (c << 1) & 0xFF;
    }
    return static_cast<unsigned char>(c);
}

Bytes Packet(const CPackMes& p) { return Bytes(p.GetData(), p.GetData() + p.GetLen()); }

// A 7-byte record: origin 200:15, destination 5:3, type 48, data 0x21.
const Bytes kRec = {0x32, 0x0F, 0x01, 0x13, 0x00, 0x30, 0x21};

}  // namespace

TEST(CPackMesTest, CrcOfHandComputedFrames) {
    // one-byte frames are the table entries; 0x43 then shifted out eight times gives 0x7A
    EXPECT_EQ(CPackMes::CalcCrc(Bytes{0x01}.data(), 1), 0x43);
    EXPECT_EQ(CPackMes::CalcCrc(Bytes{0x02}.data(), 1), 0x86);
    EXPECT_EQ(CPackMes::CalcCrc(Bytes{0x01, 0x00}.data(), 2), 0x7A);
    EXPECT_EQ(CPackMes::CalcCrc(Bytes{0x01}.data(), 0), 0);
    EXPECT_EQ(CPackMes::CalcCrc(nullptr, 5), 0);

    std::mt19937 rng(7);
    for (int len = 1; len <= 63; ++len) {
        Bytes b(static_cast<size_t>(len));
        for (auto& x : b) x = static_cast<unsigned char>(rng());
        SCOPED_TRACE(len);
        EXPECT_EQ(CPackMes::CalcCrc(b.data(), len), CrcBits(b));
    }

    // the packet keeps the low seven bits directly behind its last byte
    const CPackMes p(1, Bytes{0x02}.data(), 0);
    EXPECT_EQ(p.GetData()[1], 0x06);
    const CPackMes a(3, 5, 0);
    EXPECT_EQ(Packet(a), Bytes{0x35});
    EXPECT_EQ(a.GetData()[1], 0x0D);  // 0x8D without its top bit
}

TEST(CPackMesTest, ParsesNumberAndRemovesAcknowledgements) {
    Bytes in = {0x21, 0x85, 0x43, 0x08};
    in.insert(in.end(), kRec.begin(), kRec.end());
    CPackMes p(static_cast<int>(in.size()), in.data(), 4);
    EXPECT_TRUE(p.HasIdent());
    EXPECT_EQ(p.GetIdent(), 5);
    ASSERT_EQ(p.GetNumRepl(), 1);
    EXPECT_EQ(p.GetRepl(0), 3);
    EXPECT_EQ(p.GetRepl(1), -1);
    Bytes expect = {0x21, 0x85, 0x08};
    expect.insert(expect.end(), kRec.begin(), kRec.end());
    EXPECT_EQ(Packet(p), expect);
    EXPECT_EQ(p.GetData()[p.GetLen()], CrcBits(expect) & 0x7F);
    EXPECT_EQ(p.GetOrig(), 2);
    EXPECT_EQ(p.GetDest(), 1);
    EXPECT_EQ(p.GetPos(), 2);
    EXPECT_TRUE(p.IsValid());

    p.SetValue(0xDEADBEEF);
    CMes m;
    ASSERT_EQ(p.GetMes(m), 1);
    EXPECT_EQ(Bytes(m.GetData(), m.GetData() + m.GetLen()), kRec);
    EXPECT_EQ(m.GetTypMes(), 48);
    EXPECT_EQ(m.GetPrior(), 4);
    EXPECT_EQ(m.GetValue(), 0xDEADBEEFu);
    EXPECT_EQ(p.GetMes(m), 0);
    EXPECT_EQ(m.GetLen(), 0);

    EXPECT_EQ(p.BegGet(), 5);
    EXPECT_EQ(p.GetMes(m), 1);
}

TEST(CPackMesTest, AcknowledgementsAnywhereAfterTheNumberAreTaken) {
    const Bytes in = {0x10, 0x41, 0x42, 0x08, 0x32, 0x0F, 0x01, 0x13, 0x00, 0x30, 0x21, 0x7F};
    CPackMes p(static_cast<int>(in.size()), in.data(), 0);
    EXPECT_FALSE(p.HasIdent());
    EXPECT_EQ(p.GetPos(), 1);
    ASSERT_EQ(p.GetNumRepl(), 3);
    EXPECT_EQ(p.GetRepl(0), 1);
    EXPECT_EQ(p.GetRepl(1), 2);
    EXPECT_EQ(p.GetRepl(2), 63);
    EXPECT_EQ(p.GetLen(), 9);
    EXPECT_TRUE(p.IsValid());
}

TEST(CPackMesTest, AddMesKeepsWithinSixtyBytes) {
    Bytes big(59, 0);
    big[5] = 48;
    const CMes m54(54, big.data());
    const CMes m6(6, big.data());
    CPackMes p(1, 2, 0);
    EXPECT_EQ(p.AddMes(m54), 1);
    EXPECT_EQ(p.GetLen(), 56);
    EXPECT_EQ(p.GetData()[1], 55);
    EXPECT_EQ(p.AddMes(m6), 0);
    EXPECT_EQ(p.GetLen(), 56);

    CPackMes q(1, 2, 0);
    EXPECT_EQ(q.AddMes(CMes(4, big.data())), 0);  // length byte 5 could not be read back
    EXPECT_EQ(q.AddMes(CMes(5, big.data())), 1);
    EXPECT_EQ(q.AddMes(CMes(58, big.data())), 0);
    EXPECT_EQ(CPackMes(1, 2, 0).AddMes(CMes(58, big.data())), 1);
    EXPECT_EQ(CPackMes(1, 2, 0).AddMes(CMes(59, big.data())), 0);
}

TEST(CPackMesTest, BuiltPacketParsesBack) {
    CPackMes p(3, 1, 2);
    EXPECT_EQ(p.AddIdent(17), 1);
    EXPECT_EQ(p.AddRepl(9), 1);
    EXPECT_EQ(p.AddRepl(10), 1);  // replaces the 9
    const CMes a(static_cast<int>(kRec.size()), kRec.data());
    EXPECT_EQ(p.AddMes(a), 1);
    EXPECT_EQ(p.AddMes(a), 1);
    Bytes expect = {0x31, 0x91, 0x4A, 0x08};
    expect.insert(expect.end(), kRec.begin(), kRec.end());
    expect.push_back(0x08);
    expect.insert(expect.end(), kRec.begin(), kRec.end());
    EXPECT_EQ(Packet(p), expect);
    EXPECT_EQ(p.GetData()[p.GetLen()], CrcBits(expect) & 0x7F);

    CPackMes r(p.GetLen(), p.GetData(), 2);
    EXPECT_EQ(r.GetIdent(), 17);
    ASSERT_EQ(r.GetNumRepl(), 1);
    EXPECT_EQ(r.GetRepl(0), 10);
    EXPECT_TRUE(r.IsValid());
    CMes m;
    int n = 0;
    while (r.GetMes(m)) ++n;
    EXPECT_EQ(n, 2);

    p.DelIdent();
    EXPECT_EQ(p.GetData()[1], 0x4A);
    EXPECT_EQ(p.BegGet(), -1);
    p.Clear();
    EXPECT_EQ(Packet(p), Bytes{0x31});
    EXPECT_EQ(p.GetPrior(), 255);
}

TEST(CPackMesTest, RejectsMalformedMessages) {
    const struct {
        const char* name;
        Bytes in;
        int readable;  // messages GetMes returns before it refuses
    } cases[] = {
        {"length byte 5", {0x10, 0x05, 0x32, 0x0F, 0x01, 0x13}, 0},
        {"length byte 60", {0x10, 0x3C, 0x32, 0x0F, 0x01, 0x13, 0x00, 0x30}, 0},
        {"runs past the end", {0x10, 0x08, 0x32, 0x0F, 0x01, 0x13, 0x00, 0x30}, 0},
        {"stray byte behind", {0x10, 0x08, 0x32, 0x0F, 0x01, 0x13, 0x00, 0x30, 0x21, 0x81}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPackMes p(static_cast<int>(c.in.size()), c.in.data(), 0);
        EXPECT_FALSE(p.IsValid());
        CMes m(static_cast<int>(kRec.size()), kRec.data());
        for (int i = 0; i < c.readable; ++i) EXPECT_EQ(p.GetMes(m), 1);
        EXPECT_EQ(p.GetMes(m), 0);
        EXPECT_EQ(m.GetLen(), 0);
    }
    CPackMes empty(0, nullptr, 0);
    EXPECT_EQ(empty.GetLen(), 0);
    EXPECT_EQ(empty.GetOrig(), 0);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(CPackMesTest, AddReplReplacesTrailingAcknowledgementAtTheLimit) {
    Bytes big(58, 0);
    CPackMes p(1, 2, 0);
    ASSERT_EQ(p.AddMes(CMes(58, big.data())), 1);  // length 60
    EXPECT_EQ(p.AddRepl(1), 1);
    EXPECT_EQ(p.AddRepl(2), 1);  // length 61
    EXPECT_EQ(p.GetLen(), 61);
    EXPECT_EQ(p.GetData()[60], 0x42);
    EXPECT_EQ(p.AddIdent(1), 1);  // length 62
    EXPECT_EQ(p.AddRepl(3), 0);
    EXPECT_EQ(p.GetLen(), 62);
}

TEST(CPackMesTest, SetOrigMesFillsUnassignedOrigins) {
    // origin 255:15 reads from 3F 3F; the service record carries another one at bytes 7-8
    const Bytes rec1 = {0x3F, 0x3F, 0x01, 0x13, 0x00, 0x30, 0x21};
    const Bytes rec2 = {0x3F, 0x3F, 0x01, 0x13, 0x00, 0x2E, 0x02, 0x3F, 0x3F};
    const Bytes rec3 = {0x32, 0x0F, 0x01, 0x13, 0x00, 0x2E, 0x02, 0x3F, 0x3F};
    CPackMes p(15, 1, 0);
    p.AddRepl(6);
    p.AddMes(CMes(static_cast<int>(rec1.size()), rec1.data()));
    p.AddMes(CMes(static_cast<int>(rec2.size()), rec2.data()));
    p.AddMes(CMes(static_cast<int>(rec3.size()), rec3.data()));
    p.SetOrigMes(7, 2);  // 7:2 is 01 32
    const Bytes expect = {0x21, 0x46, 0x08, 0x01, 0x32, 0x01, 0x13, 0x00, 0x30, 0x21,
                          0x0A, 0x01, 0x32, 0x01, 0x13, 0x00, 0x2E, 0x02, 0x01, 0x32,
                          0x0A, 0x32, 0x0F, 0x01, 0x13, 0x00, 0x2E, 0x02, 0x01, 0x32};
    EXPECT_EQ(Packet(p), expect);
    EXPECT_EQ(p.GetData()[p.GetLen()], CrcBits(expect) & 0x7F);
    EXPECT_EQ(p.Str(L"P").substr(0, 10), L"P 21 46 08");
}

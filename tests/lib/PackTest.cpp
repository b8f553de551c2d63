#include "lib/Pack.h"

#include <vector>

#include <gtest/gtest.h>

#include "lib/Mes.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Ints = std::vector<int>;

// The packet's bytes and the 7-bit CRC behind the last one (worked out by hand for each frame).
Bytes Frame(const CPackMes& p) { return Bytes(p.GetData(), p.GetData() + p.GetLen() + 1); }
CPackMes Parse(const Bytes& in, int prior) {
    return CPackMes(static_cast<int>(in.size()), in.data(), prior);
}
Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A 7-byte record: origin 200:15, destination 5:3, type 48, data 0x21.
const Bytes kRec = {0x32, 0x0F, 0x01, 0x13, 0x00, 0x30, 0x21};

}  // namespace

// One-byte frames are the table entries; 0x43 shifted out eight times gives 0x7A. Number 5 and
// acknowledgements anywhere after it are taken out of the message bytes.
TEST(CPackMesTest, CrcAndParsing) {
    CPackMes p = Parse(Cat({0x21, 0x85, 0x43, 0x08}, kRec), 4);
    const Bytes r = {0x01, 0x00};
    EXPECT_EQ((Ints{CPackMes::CalcCrc(r.data(), 1), CPackMes::CalcCrc(r.data(), 2),
                    CPackMes::CalcCrc(r.data(), 0), CPackMes::CalcCrc(nullptr, 5),
                    CPackMes::CalcCrc(p.GetData(), p.GetLen())}),
              (Ints{0x43, 0x7A, 0, 0, 0xE6}));
    EXPECT_EQ(Frame(p), Cat({0x21, 0x85, 0x08}, Cat(kRec, {0x66})));
    EXPECT_EQ((Ints{p.IsValid(), p.HasIdent(), p.GetIdent(), p.GetNumRepl(), p.GetRepl(0),
                    p.GetRepl(1), p.GetOrig(), p.GetDest(), p.GetPos()}),
              (Ints{1, 1, 5, 1, 3, -1, 2, 1, 2}));
    p.SetValue(0xDEADBEEF);
    CMes m;
    ASSERT_EQ(p.GetMes(m), 1);
    EXPECT_EQ(Bytes(m.GetData(), m.GetData() + m.GetLen()), kRec);
    EXPECT_TRUE(m.GetPrior() == 4 && m.GetValue() == 0xDEADBEEFu);
    EXPECT_EQ((Ints{p.GetMes(m), m.GetLen(), p.BegGet(), p.GetMes(m)}), (Ints{0, 0, 5, 1}));
    CPackMes q = Parse({0x10, 0x41, 0x42, 0x08, 0x32, 0x0F, 0x01, 0x13, 0x00, 0x30, 0x21, 0x7F}, 0);
    EXPECT_EQ((Ints{q.IsValid(), q.HasIdent(), q.GetIdent(), q.GetPos(), q.GetNumRepl(),
                    q.GetRepl(0), q.GetRepl(2), q.GetLen()}),
              (Ints{1, 0, 0, 1, 3, 1, 63, 9}));
}

// Built packets parse back; unassigned origins (255:15, 3F 3F) take the module's; an
// acknowledgement replaces the one before.
TEST(CPackMesTest, BuiltPacketParsesBack) {
    CPackMes p(3, 1, 2);
    const CMes a(static_cast<int>(kRec.size()), kRec.data());
    EXPECT_EQ((Ints{p.AddIdent(17), p.GetIdent(), p.AddRepl(9), p.AddRepl(10)}),
              (Ints{1, 17, 1, 1}));
    EXPECT_EQ(Frame(p), (Bytes{0x31, 0x91, 0x4A, 0x2B}));
    EXPECT_EQ((Ints{p.AddMes(a), p.AddMes(a)}), (Ints{1, 1}));
    const Bytes two = Cat(Cat({0x08}, kRec), Cat({0x08}, kRec));
    EXPECT_EQ(Frame(p), Cat(Cat({0x31, 0x91, 0x4A}, two), {0x72}));
    CPackMes r(p.GetLen(), p.GetData(), 2);
    CMes m;
    EXPECT_EQ(
        (Ints{r.IsValid(), r.GetIdent(), r.GetRepl(0), r.GetMes(m), r.GetMes(m), r.GetMes(m)}),
        (Ints{1, 17, 10, 1, 1, 0}));
    EXPECT_EQ(p.BegGet(), 17);
    p.DelIdent();  // the read position moves with the bytes
    EXPECT_EQ((Ints{p.GetPos(), p.BegGet()}), (Ints{1, -1}));
    EXPECT_EQ(Frame(p), Cat(Cat({0x31, 0x4A}, two), {0x62}));
    p.Clear();
    EXPECT_EQ(Frame(p), (Bytes{0x31, 0x42}));

    const Bytes rec1 = {0x3F, 0x3F, 0x01, 0x13, 0x00, 0x30, 0x21};  // the service record
    const Bytes rec2 = {0x32, 0x0F, 0x01, 0x13, 0x00, 0x2E, 0x02, 0x3F, 0x3F};  // has another
    CPackMes o(15, 1, 0);
    for (const Bytes* x : {&rec1, &rec2}) o.AddMes(CMes(static_cast<int>(x->size()), x->data()));
    o.SetOrigMes(7, 2);  // 7:2 is 01 32
    EXPECT_EQ(Frame(o), (Bytes{0x21, 0x08, 0x01, 0x32, 0x01, 0x13, 0x00, 0x30, 0x21, 0x0A,
                               0x32, 0x0F, 0x01, 0x13, 0x00, 0x2E, 0x02, 0x01, 0x32, 0x47}));
}

// The address setters keep the other half; a fresh packet reads from 0 and has no number.
TEST(CPackMesTest, AddressAndFreshState) {
    CPackMes p(1, 2, 0), none(0, nullptr, 0);
    p.SetDest(5);
    none.SetOrig(3);
    const CPackMes fresh;
    EXPECT_EQ((Ints{p.GetData()[0], none.GetLen(), none.GetData()[0], fresh.GetPos(),
                    fresh.GetIdent(), static_cast<int>(fresh.GetReserved())}),
              (Ints{0x15, 1, 0x30, 0, 0, 0}));
    p.AddIdent(3);
    p.SetAddr(4, 5);
    EXPECT_EQ(Frame(p), (Bytes{0x45, 0x33}));
    EXPECT_EQ(p.Str(L"P"), L"P 45");
}

// At most 60 bytes of messages; an acknowledgement at the limit replaces the last one; length
// byte 5 could not be read back.
TEST(CPackMesTest, AddKeepsWithinTheLimits) {
    Bytes big(59, 0);
    big[5] = 48;
    CPackMes p(1, 2, 0), q(1, 2, 0), r(1, 2, 0);
    EXPECT_EQ((Ints{p.AddMes(CMes(54, big.data())), p.GetLen(), p.GetData()[1],
                    p.AddMes(CMes(6, big.data())), p.GetLen()}),
              (Ints{1, 56, 55, 0, 56}));
    EXPECT_EQ(
        (Ints{q.AddMes(CMes(4, big.data())), q.AddMes(CMes(5, big.data())),
              q.AddMes(CMes(58, big.data())), CPackMes(1, 2, 0).AddMes(CMes(59, big.data()))}),
        (Ints{0, 1, 0, 0}));
    ASSERT_EQ(r.AddMes(CMes(58, big.data())), 1);  // length 60
    EXPECT_EQ((Ints{r.AddRepl(1), r.AddRepl(2), r.GetLen(), r.GetData()[60], r.AddIdent(1),
                    r.AddRepl(3), r.GetLen()}),
              (Ints{1, 1, 61, 0x42, 1, 0, 62}));
}

TEST(CPackMesTest, RejectsMalformedMessages) {
    const struct {
        Bytes in;
        int readable;  // messages GetMes returns before it refuses
    } cases[] = {
        {{0x10, 0x05, 0x32, 0x0F, 0x01, 0x13}, 0},                          // length byte 5
        {{0x10, 0x3C, 0x32, 0x0F, 0x01, 0x13, 0x00, 0x30}, 0},              // length byte 60
        {{0x10, 0x08, 0x32, 0x0F, 0x01, 0x13, 0x00, 0x30}, 0},              // past the end
        {{0x10, 0x08, 0x32, 0x0F, 0x01, 0x13, 0x00, 0x30, 0x21, 0x81}, 1},  // stray byte
    };
    for (const auto& c : cases) {
        CPackMes p = Parse(c.in, 0);
        CMes m(static_cast<int>(kRec.size()), kRec.data());
        for (int i = 0; i < c.readable; ++i) EXPECT_EQ(p.GetMes(m), 1);
        EXPECT_EQ((Ints{p.IsValid(), p.GetMes(m), m.GetLen()}), (Ints{0, 0, 0})) << c.in.size();
    }
    EXPECT_TRUE(CPackMes(0, nullptr, 0).IsEmpty());
}

#include "lib/Mes.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Rec(const CMes& m) { return Bytes(m.GetData(), m.GetData() + m.GetLen()); }

// Destination module 5 slot 3 (01 13), origin module 200 slot 15 (32 0F), hop count 0.
constexpr int kD = 5, kDs = 3, kO = 200, kOs = 15;
Bytes Head(unsigned char type) { return {0x32, 0x0F, 0x01, 0x13, 0x00, type}; }
Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(CMesTest, TwoByteAddressFormAndExtensionBit) {
    unsigned char p[2];
    CMes::SetAdr(p, 183, 5);  // 183 = 45 * 4 + 3
    EXPECT_EQ(p[0], 0x2D);
    EXPECT_EQ(p[1], 0x35);
    int n = 0, s = 0;
    CMes::GetAdr(p, n, s);
    EXPECT_EQ(n, 183);
    EXPECT_EQ(s, 5);

    // device 100 with extension 18: 0x20 in the first byte reads back as bit 7 of N.
    const unsigned char b[2] = {1, 2};
    const CMes m(kD, kDs, kO, kOs, 100, CMes::mtSostLift, CMes::askServ18, b, 2);
    EXPECT_EQ(Rec(m), Cat(Head(26), {0x39, 0x02, 1, 2}));
    EXPECT_EQ(m.GetDev(), 100);
    EXPECT_EQ(m.GetExt(), 18);
    EXPECT_EQ(m.GetOrigUM(), 200);
    EXPECT_EQ(m.GetOrigSlot(), 15);
    EXPECT_EQ(m.GetDestUM(), 5);
    EXPECT_EQ(m.GetDestSlot(), 3);

    // the same address in a type-25 record keeps the raw number
    const CMes raw(kD, kDs, kO, kOs, 100, CMes::mtSostDev, CMes::askServ18, b, 2);
    EXPECT_EQ(raw.GetDev(), 228);
    EXPECT_EQ(raw.GetExt(), 2);
}

TEST(CMesTest, ConstructorLayoutsOfEveryType) {
    const unsigned char b3[3] = {0x12, 0x34, 0x56};
    const unsigned char b2[2] = {0x12, 0x34};
    const struct {
        const char* name;
        CMes mes;
        Bytes expect;
    } cases[] = {
        {"type and byte", CMes(kD, kDs, kO, kOs, CMes::mtGGS, 0x21), Cat(Head(48), {0x21})},
        {"type and bytes", CMes(kD, kDs, kO, kOs, CMes::mtGGS, b3, 3),
         Cat(Head(48), {0x12, 0x34, 0x56})},
        {"device, extra",
         CMes(kD, kDs, kO, kOs, 100, CMes::mtSostLift, CMes::askServ18, b2, 2, 181),
         Cat(Head(26), {0x39, 0x02, 0x12, 0x34, 0x2D, 0x10})},
        {"device, ext 10",
         CMes(kD, kDs, kO, kOs, 5, CMes::mtSostLift, CMes::askLiftState, nullptr, 0),
         Cat(Head(26), {0x01, 0x1A})},
        {"NVRAM job", CMes(kD, kDs, kO, kOs, CMes::jobWrite, 709, 3, b3),
         Cat(Head(45), {0x05, 0x0B, 0x03, 0x01, 0x12, 0x10, 0x23, 0x15})},
        {"NVRAM job, no data", CMes(kD, kDs, kO, kOs, CMes::jobWrite, 709, 0, b3),
         Cat(Head(45), {0x05, 0x0B, 0x00, 0x01})},
        {"NVRAM job, 34 bytes", CMes(kD, kDs, kO, kOs, CMes::jobWrite, 709, 34, b3),
         Cat(Head(45), {0x05, 0x0B, 0x22, 0x01})},
        {"NVRAM read", CMes(kD, kDs, kO, kOs, CMes::jobRead, 709, 3, b3),
         Cat(Head(45), {0x05, 0x0B, 0x03, 0x00})},
        {"NVRAM result", CMes(kD, kDs, kO, kOs, CMes::rezOk, 709, 3, b3),
         Cat(Head(13), {0x05, 0x0B, 0x03, 0x00, 0x12, 0x10, 0x23, 0x15})},
        {"NVRAM result, fault", CMes(kD, kDs, kO, kOs, static_cast<CMes::rezNVRAM>(3), 709, 3, b3),
         Cat(Head(13), {0x05, 0x0B, 0x03, 0x03})},
        {"service", CMes(kD, kDs, kO, kOs, CMes::srvSetAdr, b2, 2),
         Cat(Head(46), {0x02, 0x12, 0x34})},
        {"prefix", CMes(kD, kDs, kO, kOs, static_cast<CMes::typPrefix>(5), 0x2A),
         Cat(Head(61), {0x05, 0x2A})},
        {"prefix and ask",
         CMes(kD, kDs, kO, kOs, static_cast<CMes::typPrefix>(5), 9, CMes::askLiftState, 2, b2),
         Cat(Head(62), {0x05, 0x09, 0x0A, 0x12, 0x34})},
        {"service 18", CMes(kD, kDs, kO, kOs, 100, static_cast<CMes::subServ18>(7), b2, 2),
         Cat(Head(58), {0x39, 0x02, 0x07, 0x08, 0x01, 0x0D})},
        {"alert", CMes(kD, kDs, kO, kOs, static_cast<CMes::typAlert>(0x12345678)),
         Cat(Head(31), {0x01, 0x38, 0x19, 0x05, 0x0D, 0x12})},
        {"alert 0", CMes(kD, kDs, kO, kOs, CMes::alrtNone), Cat(Head(31), {0x01})},
        // the data form without bytes is the short form
        {"alert 5, no bytes", CMes(kD, kDs, kO, kOs, static_cast<CMes::typAlert>(5), b3, 0),
         Cat(Head(31), {0x01, 0x05})},
        {"alert 0, null bytes", CMes(kD, kDs, kO, kOs, CMes::alrtNone, nullptr, 3),
         Cat(Head(31), {0x01})},
        {"alert with data", CMes(kD, kDs, kO, kOs, static_cast<CMes::typAlert>(1), b3, 3),
         Cat(Head(31), {0x01, 0x01, 0, 0, 0, 0, 0, 0x12, 0x10, 0x23, 0x15})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Rec(c.mes), c.expect);
        EXPECT_EQ(c.mes.GetHopCount(), 0);
        EXPECT_EQ(c.mes.GetPrior(), 255);
    }
}

TEST(CMesTest, UnPackFieldsOfPrefixAlertAndServiceForms) {
    const CMes pfx(kD, kDs, kO, kOs, static_cast<CMes::typPrefix>(5), 9, CMes::askLiftState, 0,
                   nullptr);
    EXPECT_EQ(pfx.GetPrefix(), 5);
    EXPECT_EQ(pfx.GetDev(), 9);
    EXPECT_EQ(pfx.GetExt(), 10);

    const CMes alert(kD, kDs, kO, kOs, static_cast<CMes::typAlert>(0x12345678));
    EXPECT_EQ(alert.GetAlertKind(), 1);
    EXPECT_EQ(alert.GetAlertCode(), 0x12345678u);
    const CMes full(kD, kDs, kO, kOs, static_cast<CMes::typAlert>(0xFFFFFFFFu));
    EXPECT_EQ(full.GetLen(), 13);
    EXPECT_EQ(full.GetData()[12], 3);
    EXPECT_EQ(full.GetAlertCode(), 0xFFFFFFFFu);

    // types 14 and 46 carry the device address in data 11-12
    const unsigned char adr[6] = {0, 0, 0, 0, 0x39, 0x02};
    const CMes srv(kD, kDs, kO, kOs, CMes::srvSetAdr, adr, 6);
    EXPECT_EQ(srv.GetDev(), 100);
    EXPECT_EQ(srv.GetExt(), 18);
}

TEST(CMesTest, LengthLimitsOfRecordAndConstructors) {
    unsigned char b[64] = {};
    CMes m;
    EXPECT_EQ(m.SetDann(64, b), 0);
    EXPECT_EQ(m.GetLen(), 0);
    EXPECT_EQ(m.SetDann(63, b), 1);
    EXPECT_EQ(m.GetLen(), 63);
    EXPECT_EQ(m.SetDann(-1, b), 0);

    EXPECT_EQ(CMes(kD, kDs, kO, kOs, CMes::mtGGS, b, 60).GetLen(), 63);
    EXPECT_EQ(CMes(kD, kDs, kO, kOs, CMes::srvSetAdr, b, 60).GetLen(), 63);
    // service 18: 13 groups (s and 38 bytes) end at data 59
    EXPECT_EQ(CMes(kD, kDs, kO, kOs, 1, CMes::ss18None, b, 59).GetLen(), 60);
    // alert data: at most 49 units
    EXPECT_EQ(CMes(kD, kDs, kO, kOs, CMes::alrtNone, b, 40).GetLen(), 62);
    // device form: bytes only when 8 + n < 63, then extra when two more fit
    EXPECT_EQ(CMes(kD, kDs, kO, kOs, 1, CMes::mtGGS, CMes::askMain, b, 53, 0).GetLen(), 63);
    EXPECT_EQ(CMes(kD, kDs, kO, kOs, 1, CMes::mtGGS, CMes::askMain, b, 54, 0).GetLen(), 62);
    EXPECT_EQ(CMes(kD, kDs, kO, kOs, 1, CMes::mtGGS, CMes::askMain, b, 55, 0).GetLen(), 10);
    EXPECT_EQ(CMes(kD, kDs, kO, kOs, 1, CMes::mtGGS, CMes::askMain, b, 55, 256).GetLen(), 8);
}

TEST(CMesTest, UnitConversionsByHand) {
    const unsigned char in[4] = {0x12, 0x34, 0x56, 0xFF};
    unsigned char u[8];
    int done = 0;
    EXPECT_TRUE(CMes::Conv8To6(in, 4, u, 8, &done));
    EXPECT_EQ(done, 8);
    const unsigned char expect[8] = {0x12, 0x10, 0x23, 0x15, 0x3F, 0x03, 0x00, 0x00};
    EXPECT_EQ(0, memcmp(u, expect, 8));
    EXPECT_FALSE(CMes::Conv8To6(in, 4, u, 6, &done));
    EXPECT_EQ(done, 6);

    unsigned char out[6];
    memset(out, 0xEE, sizeof out);
    EXPECT_TRUE(CMes::Conv6To8(expect, 8, out, 6, &done));
    EXPECT_EQ(done, 6);
    const unsigned char back[6] = {0x12, 0x34, 0x56, 0xFF, 0x00, 0x00};
    EXPECT_EQ(0, memcmp(out, back, 6));
    // a short group of 2 units covers one byte; the buffer is cleared first
    memset(out, 0xEE, sizeof out);
    EXPECT_TRUE(CMes::Conv6To8(expect, 6, out, 6, &done));
    EXPECT_EQ(done, 4);
    EXPECT_EQ(out[4], 0);
    EXPECT_FALSE(CMes::Conv6To8(expect, 8, out, 4, &done));
    EXPECT_EQ(done, 4);
}

TEST(CMesTest, StateWordOfTypes25And26) {
    // device 5 extension 10, units 01 00 00 00, info 00 10 (no information)
    const Bytes rec = Cat(Head(25), {0x01, 0x1A, 0x01, 0, 0, 0, 0x00, 0x10});
    const CMes t25(static_cast<int>(rec.size()), rec.data());
    EXPECT_EQ(t25.GetDev(), 5);
    EXPECT_EQ(t25.GetExt(), 10);
    EXPECT_FALSE(t25.GetSost().tstBit(0));  // normalised away
    EXPECT_TRUE(t25.GetSost().tstBit(CSostDev::bitNoInfo));

    Bytes r26 = rec;
    r26[5] = 26;
    const CMes t26(static_cast<int>(r26.size()), r26.data());
    EXPECT_TRUE(t26.GetSost().tstBit(0));
    EXPECT_TRUE(t26.GetSost().tstBit(CSostDev::bitNoInfo));
}

TEST(CMesTest, LiftStateAccessors) {
    Bytes r = Cat(Head(26), {0x01, 0x1A});  // device 5, extension 10
    r.resize(30, 0);
    r[12] = 0x22;  // extended bits 1 and 5
    r[13] = 0x01;  // extended bit 6
    r[14] = 40;    // floor
    r[15] = 0x37;  // mode 7
    r[18] = 0x10;
    r[19] = 0x21;
    r[20] = 0x01;  // ask 1
    r[23] = 0x20;  // ask 24
    r[24] = 0x02;  // command 2
    const CMes m(30, r.data());
    EXPECT_EQ(m.LvlAsk10(), 2);
    EXPECT_TRUE(m.TestBit(static_cast<CMes::bitExtended>(1)));
    EXPECT_TRUE(m.TestBit(static_cast<CMes::bitExtended>(5)));
    EXPECT_TRUE(m.TestBit(static_cast<CMes::bitExtended>(6)));
    EXPECT_FALSE(m.TestBit(static_cast<CMes::bitExtended>(7)));
    EXPECT_EQ(m.CurLvl(), 40);
    EXPECT_EQ(m.Mode(), 7);
    EXPECT_EQ(m.CodDmamge(), 0x85);  // 1 | (0x21 << 2) & 0xFF
    EXPECT_TRUE(m.TestAsk(1));
    EXPECT_TRUE(m.TestAsk(24));
    EXPECT_FALSE(m.TestAsk(2));
    EXPECT_TRUE(m.TestCmd(2));
    EXPECT_FALSE(m.TestCmd(1));
    EXPECT_FALSE(m.TestCmd(0));

    const struct { int len, lvl; } lv[] = {{21, 0}, {22, 1}, {29, 1}, {30, 2}};
    for (const auto& c : lv) {
        SCOPED_TRACE(c.len);
        EXPECT_EQ(CMes(c.len, r.data()).LvlAsk10(), c.lvl);
    }
    EXPECT_FALSE(CMes(29, r.data()).TestAsk(1));
    r[7] = 0x1B;  // extension 11: not the lift state
    EXPECT_EQ(CMes(30, r.data()).LvlAsk10(), -1);
    EXPECT_EQ(CMes(30, r.data()).CurLvl(), 0);
}

TEST(CMesTest, NvRamWordAndTransferReaders) {
    const Bytes w = Cat(Head(10), {0x45, 0x2B, 0x36, 0x30});
    const CMes m(static_cast<int>(w.size()), w.data());
    int address = -1;
    unsigned short word = 0;
    EXPECT_EQ(m.GetNVRAM(address, word), 1);
    EXPECT_EQ(address, 5);
    EXPECT_EQ(word, 0xABCD);
    int count = 0;
    unsigned char buf[8];
    EXPECT_EQ(m.GetNVRAM(address, count, buf, 8), 128);

    const unsigned char b3[3] = {0x12, 0x34, 0x56};
    const CMes job(kD, kDs, kO, kOs, CMes::jobWrite, 709, 3, b3);
    EXPECT_EQ(job.GetNVRAM(address, word), 0);
    EXPECT_EQ(address, 0);
    EXPECT_EQ(job.GetNVRAM(address, count, buf, 8), 1);
    EXPECT_EQ(address, 709);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(buf[0], 0x12);
    EXPECT_EQ(buf[2], 0x56);
    EXPECT_EQ(buf[3], 0);

    const CMes bad(kD, kDs, kO, kOs, static_cast<CMes::rezNVRAM>(3), 709, 3, b3);
    EXPECT_EQ(bad.GetNVRAM(address, count, buf, 8), 3);
    EXPECT_EQ(address, 0);
}

TEST(CMesTest, LineBusNvRamByteAndWordForms) {
    Bytes r = Cat(Head(13), {0, 0, 0x15, 0x3F, 0x23, 0x2A});
    int address = 0;
    unsigned short word = 0, word2 = 1;
    bool isWord = true, isWord2 = true;
    EXPECT_EQ(CMes(11, r.data()).GetLbNVRAM(address, word, isWord), 0);
    EXPECT_TRUE(isWord);

    EXPECT_EQ(CMes(12, r.data()).GetLbNVRAM(address, word, isWord), 1);
    EXPECT_EQ(address, 0x1E55);
    EXPECT_EQ(word, 0xAA);
    EXPECT_FALSE(isWord);

    r[9] = 0x3D;  // bit 1 clear: a word
    r.resize(19, 0);
    r[16] = 0x25;
    r[17] = 0x1E;
    r[18] = 0x0B;
    EXPECT_EQ(CMes(19, r.data()).GetLbNVRAM(address, word, isWord, word2, isWord2), 1);
    EXPECT_EQ(address, 0x55);
    EXPECT_EQ(word, 0xAA3F);
    EXPECT_TRUE(isWord);
    EXPECT_EQ(word2, 0xB7A5);
    EXPECT_TRUE(isWord2);
    EXPECT_EQ(CMes(15, r.data()).GetLbNVRAM(address, word, isWord, word2, isWord2), 1);
    EXPECT_EQ(word2, 0);
    EXPECT_FALSE(isWord2);
}

TEST(CMesTest, PayloadReadersIapAlertStat) {
    Bytes r = Cat(Head(14), {0, 0, 0, 0, 0, 0x12, 0x10, 0x23, 0x15});
    unsigned char buf[8];
    EXPECT_EQ(CMes(15, r.data()).GetIAP(buf, 8), 3);
    EXPECT_EQ(buf[1], 0x34);
    r[5] = 26;                                        // behind one more byte
    EXPECT_EQ(CMes(15, r.data()).GetIAP(buf, 8), 2);  // 3 units give 2 bytes
    EXPECT_EQ(buf[0], (0x10 | 0x23 << 6) & 0xFF);

    const unsigned char b3[3] = {0x12, 0x34, 0x56};
    const CMes alert(kD, kDs, kO, kOs, static_cast<CMes::typAlert>(7), b3, 3);
    EXPECT_EQ(alert.GetAlert(buf, 8), 3);
    EXPECT_EQ(buf[2], 0x56);
    EXPECT_EQ(CMes(kD, kDs, kO, kOs, CMes::alrtNone).GetAlert(buf, 8), 0);

    Bytes s = Head(46);
    s.resize(25, 0);
    s[17] = 0x01;
    s[18] = 0x02;  // counter 1 = 1 + 2 * 64
    s[23] = 0x3F;
    s[24] = 0x3F;  // counter 4 = 4095
    int c1, c2, c3, c4;
    EXPECT_EQ(CMes(25, s.data()).GetSTAT(c1, c2, c3, c4), 1);
    EXPECT_EQ(c1, 129);
    EXPECT_EQ(c2, 0);
    EXPECT_EQ(c4, 4095);
    EXPECT_EQ(CMes(14, s.data()).GetSTAT(c1, c2, c3, c4), 0);
}

TEST(CMesTest, SettersKeepFieldsAndBytesTogether) {
    CMes m(kD, kDs, kO, kOs, CMes::mtSostLift, 0);
    m.SetExt(18);
    m.SetDev(100);
    EXPECT_EQ(m.GetLen(), 8);
    EXPECT_EQ(m.GetData()[6], 0x39);
    EXPECT_EQ(m.GetData()[7], 0x02);
    EXPECT_EQ(m.IncHopCount(), 1);
    EXPECT_EQ(m.GetData()[4], 1);
    EXPECT_EQ(m.SetByte(1, 0x07), 1);
    EXPECT_EQ(m[1], 0x07);
    EXPECT_EQ(m.SetByte(2, 0x07), 0);
    EXPECT_EQ(m[2], 0);
    EXPECT_EQ(m[-1], 0);
    m.SetOrig(7, 2);
    EXPECT_EQ(m.GetData()[0], 0x01);
    EXPECT_EQ(m.GetData()[1], 0x32);
    EXPECT_EQ(m.Str(L"M"), L"M 01 32 01 13 01 1A 39 07");
    m.UnPack();
    EXPECT_EQ(m.GetOrigUM(), 7);
    EXPECT_EQ(m.GetDev(), 100);
}

TEST(CMesTest, IsGoodChecksBit5OfLastByteOfTypes26And30) {
    const struct {
        unsigned char type, last;
        bool good;
    } cases[] = {{26, 0x20, false}, {30, 0x21, false}, {26, 0x1F, true},
                 {25, 0x20, true},  {58, 0x20, true},  {62, 0x3F, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const Bytes r = Cat(Head(c.type), {0x01, c.last});
        EXPECT_EQ(CMes(8, r.data()).IsGood(), c.good);
    }
}

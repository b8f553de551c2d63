#include "lib/Mes.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<unsigned char>;
using Ints = std::vector<int>;

Bytes Rec(const CMes& m) { return Bytes(m.GetData(), m.GetData() + m.GetLen()); }
CMes Parse(const Bytes& r, int len = -1) {
    return CMes(len < 0 ? static_cast<int>(r.size()) : len, r.data());
}

// Destination module 5 slot 3 (01 13), origin module 200 slot 15 (32 0F), hop count 0.
constexpr int kD = 5, kDs = 3, kO = 200, kOs = 15;
Bytes Head(unsigned char type, const Bytes& tail = {}) {
    Bytes r = {0x32, 0x0F, 0x01, 0x13, 0x00, type};
    for (unsigned char b : tail) r.push_back(b);
    return r;
}
// The record's codes beyond the named ones, converted at run time as a received byte would be.
template <class Code>
Code As(int v) {
    return static_cast<Code>(v);
}
const unsigned char b2[2] = {0x12, 0x34};
const unsigned char b3[3] = {0x12, 0x34, 0x56};  // in units: 12 10 23 15

}  // namespace

TEST(CMesTest, AddressFormsAndFields) {
    unsigned char p[2];
    CMes::SetAdr(p, 183, 5);  // 183 = 45 * 4 + 3
    int n = 0, s = 0;
    CMes::GetAdr(p, n, s);
    EXPECT_EQ((Ints{p[0], p[1], n, s}), (Ints{0x2D, 0x35, 183, 5}));
    // device 100 with extension 18: 0x20 in the first byte reads back as bit 7 of N; a type-25
    // record keeps the raw number.
    const CMes m(kD, kDs, kO, kOs, 100, CMes::mtSostLift, CMes::askServ18, b2, 2);
    EXPECT_EQ((Ints{m.GetDev(), m.GetExt(), m.GetOrigUM(), m.GetOrigSlot(), m.GetDestUM(),
                    m.GetDestSlot(), m.GetHopCount(), m.GetPrior()}),
              (Ints{100, 18, 200, 15, 5, 3, 0, 255}));
    // prefix, alert and service forms
    const CMes pfx(kD, kDs, kO, kOs, As<CMes::typPrefix>(5), 9, As<CMes::askFromMain>(0x2B), 0,
                   nullptr);
    const CMes pfx2(kD, kDs, kO, kOs, As<CMes::typPrefix>(6), 0x2A);
    EXPECT_EQ((Ints{pfx.GetPrefix(), pfx.GetDev(), pfx.GetExt(), pfx2.GetPrefix()}),
              (Ints{5, 9, 11, 6}));
    const CMes alert(kD, kDs, kO, kOs, As<CMes::typAlert>(0xFFFFFFFFu));
    EXPECT_EQ((Ints{alert.GetLen(), alert.GetData()[12], alert.GetAlertKind()}), (Ints{13, 3, 1}));
    EXPECT_EQ(alert.GetAlertCode(), 0xFFFFFFFFu);
    const unsigned char adr[6] = {0, 0, 0, 0, 0x39, 0x02};  // types 14 and 46: data 11-12
    const CMes srv(kD, kDs, kO, kOs, CMes::srvSetAdr, adr, 6);
    EXPECT_EQ((Ints{srv.GetDev(), srv.GetExt()}), (Ints{100, 18}));
}

TEST(CMesTest, ConstructorLayoutsOfEveryType) {
    const struct {
        CMes mes;
        Bytes expect;
    } cases[] = {
        {CMes(kD, kDs, kO, kOs, CMes::mtGGS, 0x21), Head(48, {0x21})},
        {CMes(kD, kDs, kO, kOs, CMes::mtGGS, b3, 3), Head(48, {0x12, 0x34, 0x56})},
        {CMes(kD, kDs, kO, kOs, CMes::mtGGS, b3, -1), Head(48)},
        {CMes(kD, kDs, kO, kOs, 100, CMes::mtSostLift, CMes::askServ18, b2, 2, 181),
         Head(26, {0x39, 0x02, 0x12, 0x34, 0x2D, 0x10})},
        {CMes(kD, kDs, kO, kOs, 5, CMes::mtSostLift, CMes::askLiftState, nullptr, 0),
         Head(26, {0x01, 0x1A})},
        {CMes(kD, kDs, kO, kOs, CMes::jobWrite, 709, 3, b3),
         Head(45, {0x05, 0x0B, 0x03, 0x01, 0x12, 0x10, 0x23, 0x15})},
        {CMes(kD, kDs, kO, kOs, CMes::jobWrite, 709, 34, b3), Head(45, {0x05, 0x0B, 0x22, 0x01})},
        {CMes(kD, kDs, kO, kOs, CMes::rezOk, 709, 3, b3),
         Head(13, {0x05, 0x0B, 0x03, 0x00, 0x12, 0x10, 0x23, 0x15})},
        {CMes(kD, kDs, kO, kOs, As<CMes::rezNVRAM>(3), 709, 3, b3),
         Head(13, {0x05, 0x0B, 0x03, 0x03})},
        {CMes(kD, kDs, kO, kOs, CMes::srvSetAdr, b2, 2), Head(46, {0x02, 0x12, 0x34})},
        {CMes(kD, kDs, kO, kOs, As<CMes::typPrefix>(5), 0x2A), Head(61, {0x05, 0x2A})},
        {CMes(kD, kDs, kO, kOs, As<CMes::typPrefix>(5), 9, CMes::askLiftState, 2, b2),
         Head(62, {0x05, 0x09, 0x0A, 0x12, 0x34})},
        {CMes(kD, kDs, kO, kOs, 100, As<CMes::subServ18>(7), b2, 2),
         Head(58, {0x39, 0x02, 0x07, 0x08, 0x01, 0x0D})},
        {CMes(kD, kDs, kO, kOs, As<CMes::typAlert>(0x12345678)),
         Head(31, {0x01, 0x38, 0x19, 0x05, 0x0D, 0x12})},
        // the data form without bytes is the short form
        {CMes(kD, kDs, kO, kOs, As<CMes::typAlert>(5), b3, 0), Head(31, {0x01, 0x05})},
        {CMes(kD, kDs, kO, kOs, CMes::alrtNone, nullptr, 3), Head(31, {0x01})},
        {CMes(kD, kDs, kO, kOs, As<CMes::typAlert>(1), b3, 3),
         Head(31, {0x01, 0x01, 0, 0, 0, 0, 0, 0x12, 0x10, 0x23, 0x15})},
    };
    for (const auto& c : cases) EXPECT_EQ(Rec(c.mes), c.expect) << &c - cases;
}

// Records hold at most 63 bytes; each form cuts its data to fit.
TEST(CMesTest, LengthLimitsOfRecordAndConstructors) {
    unsigned char b[64] = {};
    CMes m;
    EXPECT_EQ((Ints{m.SetDann(64, b), m.GetLen(), m.SetDann(63, b), m.GetLen(), m.SetDann(-1, b)}),
              (Ints{0, 0, 1, 63, 0}));
    const struct {
        CMes mes;
        int len;
    } cases[] = {
        {CMes(kD, kDs, kO, kOs, CMes::mtGGS, b, 60), 63},
        {CMes(kD, kDs, kO, kOs, CMes::srvSetAdr, b, 60), 63},
        {CMes(kD, kDs, kO, kOs, 1, CMes::ss18None, b, 59), 60},  // 13 groups end at data 59
        {CMes(kD, kDs, kO, kOs, CMes::alrtNone, b, 40), 62},     // at most 49 units
        // device form: bytes only when 8 + n < 63, then extra when two more fit
        {CMes(kD, kDs, kO, kOs, 1, CMes::mtGGS, CMes::askMain, b, 53, 0), 63},
        {CMes(kD, kDs, kO, kOs, 1, CMes::mtGGS, CMes::askMain, b, 54, 0), 62},
        {CMes(kD, kDs, kO, kOs, 1, CMes::mtGGS, CMes::askMain, b, 55, 0), 10},
        {CMes(kD, kDs, kO, kOs, 1, CMes::mtGGS, CMes::askMain, b, 55, 256), 8},
    };
    for (const auto& c : cases) EXPECT_EQ(c.mes.GetLen(), c.len) << Rec(c.mes).size();
}

TEST(CMesTest, UnitConversionsByHand) {
    const unsigned char in[4] = {0x12, 0x34, 0x56, 0xFF};
    const Bytes units = {0x12, 0x10, 0x23, 0x15, 0x3F, 0x03, 0x00, 0x00};
    unsigned char u[8], out[6];
    int done = 0;
    int d[4] = {};
    EXPECT_EQ((Ints{CMes::Conv8To6(in, 4, u, 8, &d[0]), CMes::Conv8To6(in, 4, u, 6, &d[1])}),
              (Ints{1, 0}));
    EXPECT_EQ(Bytes(u, u + 8), units);
    EXPECT_TRUE(CMes::Conv6To8(units.data(), 8, out, 6, &d[2]));
    EXPECT_EQ(Bytes(out, out + 6), (Bytes{0x12, 0x34, 0x56, 0xFF, 0x00, 0x00}));
    // a short group of 2 units covers one byte; the buffer is cleared first
    EXPECT_TRUE(CMes::Conv6To8(units.data(), 6, out, 6, &done));
    EXPECT_EQ((Ints{d[0], d[1], d[2], done, out[4]}), (Ints{8, 6, 6, 4, 0}));
    EXPECT_FALSE(CMes::Conv6To8(units.data(), 8, out, 4, &done));
    EXPECT_EQ(done, 4);
    EXPECT_TRUE(CMes::Conv6To8(units.data(), 0, out, 1, &done));  // nothing to convert: cleared
    EXPECT_EQ((Ints{done, out[0]}), (Ints{0, 0}));
}

TEST(CMesTest, StateReaders) {
    // device 5 extension 10, units 01 00 00 00, info 00 10 (no information): normalised in 25
    const Bytes rec = Head(25, {0x01, 0x1A, 0x01, 0, 0, 0, 0x00, 0x10});
    const CMes t25 = Parse(rec);
    Bytes r26 = rec;
    r26[5] = 26;
    const CMes t26 = Parse(r26);
    EXPECT_EQ((Ints{t25.GetDev(), t25.GetExt(), t25.GetSost().tstBit(0), t26.GetSost().tstBit(0),
                    t25.GetSost().tstBit(CSostDev::bitNoInfo),
                    t26.GetSost().tstBit(CSostDev::bitNoInfo)}),
              (Ints{5, 10, 0, 1, 1, 1}));

    Bytes r = Head(26, {0x01, 0x1A});  // device 5, extension 10
    r.resize(30, 0);
    r[12] = 0x22;  // extended bits 1 and 5
    r[13] = 0x01;  // extended bit 6
    r[14] = 40;    // floor
    r[15] = 0x37;  // mode 7
    r[18] = 0x10;
    r[19] = 0x21;  // damage code 1 | (0x21 << 2) & 0xFF
    r[20] = 0x01;  // ask 1
    r[23] = 0x20;  // ask 24
    r[24] = 0x02;  // command 2
    const CMes m = Parse(r);
    Ints bits, asks;
    for (int i = 0; i < 8; ++i) bits.push_back(m.TestBit(static_cast<CMes::bitExtended>(i)));
    for (int i = 0; i <= 25; ++i) asks.push_back(m.TestAsk(i) + 2 * m.TestCmd(i));
    EXPECT_EQ(bits, (Ints{0, 1, 0, 0, 0, 1, 1, 0}));
    EXPECT_EQ(asks,
              (Ints{0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ((Ints{m.CurLvl(), m.Mode(), m.CodDmamge()}), (Ints{40, 7, 0x85}));
    for (const auto& lv : {Ints{21, 0}, Ints{22, 1}, Ints{29, 1}, Ints{30, 2}})
        EXPECT_EQ(Parse(r, lv[0]).LvlAsk10(), lv[1]) << lv[0];
    EXPECT_FALSE(Parse(r, 29).TestAsk(1));
    r[7] = 0x1B;  // extension 11: not the lift state
    EXPECT_EQ((Ints{Parse(r).LvlAsk10(), Parse(r).CurLvl()}), (Ints{-1, 0}));
    // IsGood: bit 5 of the last byte of types 26 and 30
    for (const auto& c : {Ints{26, 0x20, 0}, Ints{30, 0x21, 0}, Ints{26, 0x1F, 1},
                          Ints{25, 0x20, 1}, Ints{58, 0x20, 1}, Ints{62, 0x3F, 1}}) {
        const Bytes g =
            Head(static_cast<unsigned char>(c[0]), {0x01, static_cast<unsigned char>(c[1])});
        EXPECT_EQ(Parse(g).IsGood(), c[2] == 1) << c[0];
    }
}

TEST(CMesTest, NvRamReaders) {
    const CMes w = Parse(Head(10, {0x45, 0x2B, 0x36, 0x30}));
    int address = -1, count = 0;
    unsigned short word = 1, word2 = 1;
    unsigned char buf[8];
    EXPECT_EQ((Ints{w.GetNVRAM(address, word), address, word, w.GetNVRAM(address, count, buf, 8)}),
              (Ints{1, 5, 0xABCD, 128}));
    const CMes job(kD, kDs, kO, kOs, CMes::jobWrite, 709, 3, b3);
    EXPECT_EQ((Ints{job.GetNVRAM(address, word), address, word,
                    job.GetNVRAM(address, count, buf, 8), address, count, buf[0], buf[2], buf[3]}),
              (Ints{0, 0, 0, 1, 709, 3, 0x12, 0x56, 0}));
    const CMes bad(kD, kDs, kO, kOs, As<CMes::rezNVRAM>(3), 709, 3, b3);
    EXPECT_EQ((Ints{bad.GetNVRAM(address, count, buf, 8), address}), (Ints{3, 0}));

    // line-bus form: byte or word, and a second word behind
    Bytes r = Head(13, {0, 0, 0x15, 0x3F, 0x33, 0x2A});
    bool isWord = false, isWord2 = true;
    address = 7;
    EXPECT_EQ((Ints{Parse(r, 11).GetLbNVRAM(address, word, isWord), address, word, isWord}),
              (Ints{0, 0, 0, 1}));
    EXPECT_EQ((Ints{Parse(r, 12).GetLbNVRAM(address, word, isWord), address, word, isWord}),
              (Ints{1, 0x1E55, 0xAB, 0}));
    r[9] = 0x3D;  // bit 1 clear: a word
    r.resize(19, 0);
    r[16] = 0x25;
    r[17] = 0x1E;
    r[18] = 0x0B;
    EXPECT_EQ((Ints{Parse(r).GetLbNVRAM(address, word, isWord, word2, isWord2), address, word,
                    isWord, word2, isWord2}),
              (Ints{1, 0x55, 0xAB3F, 1, 0xB7A5, 1}));
    EXPECT_EQ(
        (Ints{Parse(r, 15).GetLbNVRAM(address, word, isWord, word2, isWord2), word2, isWord2}),
        (Ints{1, 0, 0}));
}

TEST(CMesTest, PayloadReadersIapAlertStat) {
    Bytes r = Head(14, {0, 0, 0, 0, 0, 0x12, 0x10, 0x23, 0x15});
    unsigned char buf[8];
    EXPECT_EQ((Ints{Parse(r, 15).GetIAP(buf, 8), buf[1]}), (Ints{3, 0x34}));
    r[5] = 26;  // behind one more byte: 3 units give 2 bytes
    EXPECT_EQ((Ints{Parse(r, 15).GetIAP(buf, 8), buf[0]}), (Ints{2, (0x10 | 0x23 << 6) & 0xFF}));
    const CMes alert(kD, kDs, kO, kOs, As<CMes::typAlert>(7), b3, 3);
    EXPECT_EQ((Ints{alert.GetAlert(buf, 8), buf[2],
                    CMes(kD, kDs, kO, kOs, CMes::alrtNone).GetAlert(buf, 8)}),
              (Ints{3, 0x56, 0}));
    Bytes s = Head(46);
    s.resize(25, 0);
    s[17] = 0x01;
    s[18] = 0x02;          // counter 1 = 1 + 2 * 64
    s[23] = s[24] = 0x3F;  // counter 4 = 4095
    int c1, c2, c3, c4;
    EXPECT_EQ(
        (Ints{Parse(s).GetSTAT(c1, c2, c3, c4), c1, c2, c4, Parse(s, 14).GetSTAT(c1, c2, c3, c4)}),
        (Ints{1, 129, 0, 4095, 0}));
}

TEST(CMesTest, SettersKeepFieldsAndBytesTogether) {
    CMes m(kD, kDs, kO, kOs, CMes::mtSostLift, 0);
    m.SetExt(18);
    m.SetDev(100);
    EXPECT_EQ((Ints{m.GetLen(), m.GetData()[6], m.GetData()[7], m.IncHopCount(), m.GetData()[4]}),
              (Ints{8, 0x39, 0x02, 1, 1}));
    EXPECT_EQ((Ints{m.SetByte(1, 0x07), m[1], m.SetByte(2, 0x07), m[2], m[-1]}),
              (Ints{1, 7, 0, 0, 0}));
    m.SetOrig(7, 2);
    EXPECT_EQ(m.Str(L"M"), L"M 01 32 01 13 01 1A 39 07");
    CMes empty;  // setters on an empty record make it long enough to hold their bytes
    empty.SetOrig(7, 2);
    empty.SetTypMes(48);
    CMes dest;
    dest.SetDest(5, 3);
    EXPECT_EQ(Rec(dest), (Bytes{0, 0, 0x01, 0x13}));
    EXPECT_EQ(Rec(empty), (Bytes{0x01, 0x32, 0, 0, 0, 48}));
}

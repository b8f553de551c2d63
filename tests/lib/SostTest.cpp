#include "lib/Sost.h"

#include <vector>

#include <gtest/gtest.h>

#include "lib/InfoCLB.h"
#include "lib/Mes.h"
#include "lib/SostDZ.h"
#include "lib/SostSens.h"

namespace {

using Ints = std::vector<int>;

CSostDev Word(std::initializer_list<unsigned char> bytes) {
    CSostDev s;
    s.SetData(bytes.begin(), static_cast<int>(bytes.size()));
    return s;
}

template <class State>
Ints Units(const State& s, int count) {
    Ints u;
    for (int i = 0; i < count; ++i) u.push_back(s[i]);
    return u;
}

}  // namespace

// States 40, 41 and 42 live in the info as its bits 0, 10 and 11, not in the units.
TEST(CSostDevTest, BitsUnitsAndInfo) {
    for (const Ints& c : {Ints{40, 0x01, 0x00}, Ints{41, 0x00, 0x10}, Ints{42, 0x00, 0x20}}) {
        CSostDev s = Word({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        EXPECT_TRUE(s.setBit(c[0]));
        EXPECT_TRUE(s.tstBit(c[0]) && !s.tstBitDirect(c[0])) << c[0];
        EXPECT_EQ((Ints{s.Info()[0], s.Info()[1]}), (Ints{c[1], c[2]})) << c[0];
        EXPECT_EQ(Units(s, 8), Ints(8, 0)) << c[0];
        EXPECT_TRUE(s.clrBit(c[0]) && !s.tstBit(c[0])) << c[0];
    }
    CSostDev s;
    EXPECT_FALSE(s.setBit(48) || s.setBit(-1));
    EXPECT_TRUE(s.setBit(47));  // unit 7, bit 5
    EXPECT_EQ((Ints{s[7], s.Count()}), (Ints{0x20, 8}));

    // Only 6 or 10 bytes: 4 or 8 units and the two info bytes.
    const unsigned char b[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    unsigned char out[10] = {};
    EXPECT_EQ((Ints{s.SetData(b, 8), s.IsEmpty(), s.Count(), s.SetData(nullptr, 6)}),
              (Ints{0, 1, 0, 0}));
    EXPECT_EQ(s.SetData(b, 6), 4);
    EXPECT_EQ((Ints{s[3], s[4], s.Info()[0], s.Info()[1]}), (Ints{4, 0, 5, 6}));
    EXPECT_EQ((Ints{s.GetData(out, 5), s.GetData(out, 6)}), (Ints{0, 6}));  // 4 + 2 must fit
    EXPECT_EQ(std::vector<unsigned char>(out, out + 6), std::vector<unsigned char>(b, b + 6));
    EXPECT_EQ((Ints{s.SetData(b, 10), s.Info()[1], s.GetData(out, 10)}), (Ints{8, 10, 10}));
    EXPECT_EQ(std::vector<unsigned char>(out, out + 10), std::vector<unsigned char>(b, b + 10));
    // The info alone is written behind four zero units.
    CSostDev info, empty;
    info.setBit(CSostDev::bitNoLink);
    EXPECT_EQ((Ints{info.GetData(out, 8), out[0], out[3], out[4], out[5], info.GetData(out, 5),
                    empty.GetData(out, 8)}),
              (Ints{6, 0, 0, 0x00, 0x20, 0, 0}));
}

TEST(CSostDevTest, NormalizClearsUnitsWhenNoInformationOrLink) {
    CSostDev s = Word({0x01, 0x02, 0x03, 0x04, 0x00, 0x00});
    s.Normaliz();
    EXPECT_EQ(s.Count(), 4);  // nothing to normalise
    EXPECT_TRUE(s.setBit(CSostDev::bitNoInfo));
    s.Normaliz();
    EXPECT_EQ((Ints{s.Count(), s.IsEmpty(), s.tstBit(0), s.tstBit(CSostDev::bitNoInfo)}),
              (Ints{0, 1, 0, 1}));
    CSostDev link = Word({0x3F, 0, 0, 0, 0x00, 0x20});
    link.Normaliz();
    EXPECT_EQ((Ints{link[0], link.tstBit(CSostDev::bitNoLink)}), (Ints{0, 1}));
}

// The error and no-value columns of the state table, state by state; a word is an error for
// its unit errors and the idle hour, not for missing information alone.
TEST(CSostDevTest, ErrorClassesAndDerivedValues) {
    const int errors[] = {2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14,
                          15, 16, 17, 18, 19, 20, 24, 37, 38, 40, 41, 42};
    for (int b = -1; b <= 44; ++b) {
        bool expected = false;
        for (int e : errors) expected = expected || e == b;
        EXPECT_EQ(CSostDev::IsError(static_cast<CSostDev::bitLB>(b)), expected) << b;
        EXPECT_EQ(CSostDev::IsNoValBit(static_cast<CSostDev::bitLB>(b)),
                  b == 25 || b == 27 || b == 28)
            << b;
    }
    for (const Ints& c : {Ints{0, 0}, Ints{10, 0}, Ints{7, 1}, Ints{24, 1}, Ints{38, 1},
                          Ints{39, 0}, Ints{40, 1}, Ints{41, 0}}) {
        CSostDev s = Word({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        s.setBit(c[0]);
        EXPECT_EQ(s.IsError(), c[1] == 1) << c[0];
    }
    // drive statistics: states 27 and 28 in unit 4 bits 3 and 4; fault code: states 8..11 in
    // unit 1 bits 2..5, state 12 in unit 2 bit 0
    EXPECT_EQ(
        (Ints{Word({0, 0, 0, 0, 0x08, 0, 0, 0, 0, 0}).GetStatDriv(),
              Word({0, 0, 0, 0, 0x10, 0, 0, 0, 0, 0}).GetStatDriv(),
              Word({0, 0, 0, 0, 0x18, 0, 0, 0, 0, 0}).GetStatDriv(),
              Word({0, 0x04, 0, 0, 0, 0}).GetCodErrHF(), Word({0, 0x20, 0, 0, 0, 0}).GetCodErrHF(),
              Word({0, 0x03, 0x01, 0, 0, 0}).GetCodErrHF(),
              Word({0, 0x3C, 0x3F, 0, 0, 0}).GetCodErrHF()}),
        (Ints{1, 2, 3, 1, 8, 16, 31}));
    // EQ compares bits, == the counts too
    const CSostDev zeros = Word({0, 0, 0, 0, 0, 0}), one = Word({1, 0, 0, 0, 0, 0});
    EXPECT_TRUE(zeros.EQ(CSostDev()) && !(zeros == CSostDev()) && !one.EQ(zeros));
    EXPECT_EQ(one.HexStr(), L"01000000");
    EXPECT_EQ(one.BinStr(), L"000001000000000000000000");
}

TEST(CInfoCLBTest, CountLimitsBitsAndNewErrorSeesOnlyNewStates) {
    const unsigned char b[3] = {0x01, 0x10, 0x3F};
    CInfoCLB i, old, now, zeroTwo, moved;
    EXPECT_EQ((Ints{i.SetData(b, 3), i.IsEmpty(), i.SetData(b, 1), i.tstBit(0), i.tstBit(10), i[1],
                    i[2]}),
              (Ints{0, 1, 1, 1, 0, 0, 0}));  // unit 1 is beyond the count
    old.SetData(b, 1);
    now.SetData(b, 2);
    EXPECT_EQ((Ints{old.NewError(now), now.NewError(old), now.NewError(now)}), (Ints{1, 0, 0}));
    const unsigned char z[2] = {0, 0};
    zeroTwo.SetData(z, 2);
    EXPECT_TRUE(zeroTwo.EQ(CInfoCLB()) && !(zeroTwo == CInfoCLB()));
    moved.SetMove();
    EXPECT_EQ(moved.HexStr(), L"0100");
}

TEST(CSostDZTest, SetBitsModeAndValue) {
    CSostDZ dz;
    const unsigned char u[4] = {0x08, 0x00, 0x20, 0x00};  // bits 3 and 17
    EXPECT_EQ(dz.SetData(u, 4), 4);
    int b = 0;
    Ints walk;
    for (int i = 0; i < 3; ++i) walk.push_back(dz.NextSost(b));
    walk.push_back(b);
    dz.BegSost();
    walk.push_back(dz.NextSost(b));
    EXPECT_EQ(walk, (Ints{3, 17, 0, -1, 3}));
    EXPECT_TRUE(dz.existsOne() && dz.existsNul());
    const unsigned char all[4] = {0x3F, 0x3F, 0x3F, 0x3F};
    EXPECT_EQ(dz.SetData(all, 0), 4);  // 0 means all four
    EXPECT_FALSE(dz.existsNul());
    EXPECT_EQ((Ints{dz.SetData(all, 2), dz[2]}), (Ints{2, 0}));

    CSostDZ mode;
    EXPECT_TRUE(mode.Flag(0));
    const unsigned char m[3] = {0x25, 0x16, 0x05};
    mode.SetMode(m);
    // code (0x16 >> 2) & 15 = 5 plus 16 from bit 0 of 0x05; flags: bits 1, 0 of 0x16, 1, 2 of 0x05
    EXPECT_EQ(
        (Ints{mode.Mode(), mode.Code(), mode.Flag(0), mode.Flag(1), mode.Flag(2), mode.Flag(3)}),
        (Ints{5, 21, 1, 0, 0, 1}));

    CSostDZ a, c;
    a = 0x00000100u;  // unit 1 = 1
    c = 0x000000FFu;
    EXPECT_TRUE(a > c && a.tstBit(6) && c != a);
    const unsigned char rec[12] = {0, 0, 0, 0, 0, 25, 0, 0, 0x01, 0x02, 0x03, 0x04};
    a = CMes(12, rec);  // the units behind the device address
    EXPECT_EQ(a.Value(), 0x04030201u);
}

TEST(CSostSensTest, LevelsAndFieldsFromUnits) {
    unsigned char u[50] = {};
    for (const Ints& c : {Ints{0, -1}, Ints{3, -1}, Ints{4, 0}, Ints{11, 0}, Ints{12, 1},
                          Ints{19, 1}, Ints{20, 2}, Ints{36, 2}, Ints{50, 2}}) {
        CSostSens s;
        EXPECT_EQ(s.SetData(u, c[0]), c[0] < 36 ? c[0] : 36);
        EXPECT_EQ(s.LvlAsk10(), c[1]) << c[0];
    }
    u[6] = 40;  // above 32: no floor
    u[7] = 0x3A;
    u[8] = 0x45;
    u[10] = 0x30;
    u[11] = 0x3F;
    for (int i = 12; i < 16; ++i) u[i] = static_cast<unsigned char>(i - 11);
    u[16] = 0x20;
    u[19] = u[20] = 0x01;
    u[26] = 0x3F;
    u[27] = 0x02;
    CSostSens s;
    s.SetData(u, 12);
    EXPECT_EQ((Ints{s.CurLvl(), s.Mode(), s.TypDev(), s.CodDmamge(), s.TestAsk(1)}),
              (Ints{0, 0x0A, 0x05, 0xFF, 0}));
    EXPECT_EQ(s.ValAsk(), 0u);  // level 2 missing
    u[6] = 32;
    s.SetData(u, 20);
    EXPECT_EQ(s.CurLvl(), 32);
    EXPECT_EQ(s.ValAsk(), 1u | 2u << 6 | 3u << 12 | 4u << 18);
    EXPECT_EQ(s.ValCmd(), 0x20u | 1u << 18);
    // ask 8: unit 13 bit 1; commands 6 and 19: unit 16 bit 5, unit 19 bit 0
    EXPECT_EQ((Ints{s.TestAsk(1), s.TestAsk(8), s.TestAsk(7), s.TestCmd(6), s.TestCmd(19),
                    s.TestCmd(25)}),
              (Ints{1, 1, 0, 1, 1, 0}));
    EXPECT_EQ(s.ValAskFull(), s.ValAsk());
    s.SetData(u, 36);  // unit 20 at bit 24; unit 26 at bit 60 keeps its low four bits only
    EXPECT_EQ(s.ValAskFull(),
              (1ull | 2ull << 6 | 3ull << 12 | 4ull << 18) | 1ull << 24 | 0xFull << 60);
    EXPECT_EQ(s.ValCmdFull(), (0x20ull | 1ull << 18) | 2ull << 24);
}

TEST(CSostSensTest, ChangeTestsCountAppearingLevelsOnly) {
    unsigned char u[20] = {};
    CSostSens lvl0, lvl1a, lvl1b, lvl2, none;
    lvl0.SetData(u, 4);
    u[6] = 5;
    lvl1a.SetData(u, 12);
    u[6] = 6;
    lvl1b.SetData(u, 12);
    lvl2.SetData(u, 20);
    CSostSens bit = lvl0, ext = lvl1a;
    bit.setBit(23);
    ext.setBit(30);  // unit 5: an extended bit
    EXPECT_EQ((Ints{lvl0.chngCurLvl(lvl1a), lvl1a.chngCurLvl(lvl0), lvl1a.chngCurLvl(lvl1b),
                    lvl1b.chngCurLvl(lvl2), lvl1a.chngMode(lvl1b), lvl0.chngCurLvl(lvl0),
                    lvl1a.chngValAsk(lvl2), lvl2.chngValAsk(lvl1a), none.chngBitLvl0(lvl0),
                    lvl0.chngBitLvl0(none), lvl0.chngBitLvl0(bit), lvl1a.chngBitLvl1(ext),
                    lvl1a.chngTypDev(ext)}),
              (Ints{1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1, 1, 0}));
}

TEST(CSostSensTest, TakesUnitsFromRecordByLevel) {
    unsigned char rec[30] = {};
    rec[5] = 26;
    rec[6] = 0x02;  // device 8,
    rec[7] = 0x0A;  // extension 10: the lift state
    for (int i = 8; i < 30; ++i) rec[i] = static_cast<unsigned char>(i);
    for (const Ints& c : {Ints{21, 4}, Ints{22, 12}, Ints{29, 12}, Ints{30, 20}}) {
        CSostSens s;
        s = CMes(c[0], rec);
        EXPECT_EQ((Ints{s.Count(), s[0], s[c[1] - 1], s[c[1]]}), (Ints{c[1], 8, 8 + c[1] - 1, 0}))
            << c[0];
    }
    CSostSens sens;
    rec[5] = 28;
    sens = CMes(22, rec);
    EXPECT_EQ(sens.Count(), 8);
    rec[5] = 25;
    sens = CMes(22, rec);
    EXPECT_EQ(sens.Count(), 0);
}

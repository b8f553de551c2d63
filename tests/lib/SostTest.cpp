#include "lib/Sost.h"

#include <gtest/gtest.h>

#include "dblib/LoadRes.h"
#include "lib/InfoCLB.h"
#include "lib/Mes.h"
#include "lib/SostDZ.h"
#include "lib/SostSens.h"
#include "tests/lib/LibTables.h"

namespace {

CSostDev Word(std::initializer_list<unsigned char> bytes) {
    CSostDev s;
    s.SetData(bytes.begin(), static_cast<int>(bytes.size()));
    return s;
}

}  // namespace

// States 40, 41 and 42 live in the info as its bits 0, 10 and 11, not in the units.
TEST(CSostDevTest, RedirectsStates40To42IntoInfo) {
    const struct {
        int bit;
        unsigned char unit0, unit1;
    } cases[] = {
        {40, 0x01, 0x00},
        {41, 0x00, 0x10},
        {42, 0x00, 0x20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bit);
        CSostDev s = Word({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        EXPECT_TRUE(s.setBit(c.bit));
        EXPECT_TRUE(s.tstBit(c.bit));
        EXPECT_FALSE(s.tstBitDirect(c.bit));
        EXPECT_EQ(s.Info()[0], c.unit0);
        EXPECT_EQ(s.Info()[1], c.unit1);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(s[i], 0) << i;
        EXPECT_TRUE(s.clrBit(c.bit));
        EXPECT_FALSE(s.tstBit(c.bit));
    }
    CSostDev s;
    EXPECT_FALSE(s.setBit(48));
    EXPECT_FALSE(s.setBit(-1));
    EXPECT_TRUE(s.setBit(47));  // unit 7, bit 5
    EXPECT_EQ(s[7], 0x20);
    EXPECT_EQ(s.Count(), 8);
}

TEST(CSostDevTest, NormalizClearsUnitsWhenNoInformationOrLink) {
    CSostDev s = Word({0x01, 0x02, 0x03, 0x04, 0x00, 0x00});
    s.Normaliz();
    EXPECT_EQ(s.Count(), 4);  // nothing to normalise
    EXPECT_TRUE(s.setBit(CSostDev::bitNoInfo));
    EXPECT_EQ(s.Info()[1], 0x10);
    s.Normaliz();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_FALSE(s.tstBit(0));
    EXPECT_TRUE(s.tstBit(CSostDev::bitNoInfo));  // the info stays

    CSostDev link = Word({0x3F, 0, 0, 0, 0x00, 0x20});
    link.Normaliz();
    EXPECT_EQ(link[0], 0);
    EXPECT_TRUE(link.tstBit(CSostDev::bitNoLink));
}

TEST(CSostDevTest, SetDataTakesSixOrTenBytesOnly) {
    const unsigned char b[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    CSostDev s;
    EXPECT_EQ(s.SetData(b, 8), 0);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.SetData(nullptr, 6), 0);

    EXPECT_EQ(s.SetData(b, 6), 4);
    EXPECT_EQ(s[3], 4);
    EXPECT_EQ(s[4], 0);
    EXPECT_EQ(s.Info()[0], 5);
    EXPECT_EQ(s.Info()[1], 6);
    unsigned char out[10] = {};
    EXPECT_EQ(s.GetData(out, 5), 0);  // 4 + 2 do not fit
    EXPECT_EQ(s.GetData(out, 6), 6);
    EXPECT_EQ(0, memcmp(out, b, 6));

    EXPECT_EQ(s.SetData(b, 10), 8);
    EXPECT_EQ(s.Info()[1], 10);
    EXPECT_EQ(s.GetData(out, 10), 10);
    EXPECT_EQ(0, memcmp(out, b, 10));
}

TEST(CSostDevTest, GetDataOfInfoAlonePadsFourZeroUnits) {
    CSostDev s;
    s.setBit(CSostDev::bitNoLink);
    unsigned char out[8];
    memset(out, 0x55, sizeof out);
    ASSERT_EQ(s.GetData(out, 8), 6);
    const unsigned char expect[6] = {0, 0, 0, 0, 0x00, 0x20};
    EXPECT_EQ(0, memcmp(out, expect, 6));
    EXPECT_EQ(s.GetData(out, 5), 0);
    CSostDev empty;
    EXPECT_EQ(empty.GetData(out, 8), 0);
}

// Error column of the state table, written out state by state.
TEST(CSostDevTest, ErrorClassFollowsTheStateTable) {
    const int errors[] = {2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14,
                          15, 16, 17, 18, 19, 20, 24, 37, 38, 40, 41, 42};
    for (int b = -1; b <= 44; ++b) {
        SCOPED_TRACE(b);
        bool expected = false;
        for (int e : errors) expected = expected || e == b;
        EXPECT_EQ(CSostDev::IsError(static_cast<CSostDev::bitLB>(b)), expected);
        EXPECT_EQ(CSostDev::IsNoValBit(static_cast<CSostDev::bitLB>(b)),
                  b == 25 || b == 27 || b == 28);
    }
}

TEST(CSostDevTest, WordIsErrorForUnitErrorsAndIdleHour) {
    const struct {
        int bit;
        bool error;
    } cases[] = {
        {0, false},  {10, false}, {7, true},  {24, true},
        {38, true},  {39, false}, {40, true},  // idle hour counts
        {41, false},                           // no information alone is not an error of the lift
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bit);
        CSostDev s = Word({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        s.setBit(c.bit);
        EXPECT_EQ(s.IsError(), c.error);
    }
}

TEST(CSostDevTest, DriveStatisticsAndFaultCodeFromUnits) {
    // unit 4 bits 3 and 4 are states 27 and 28.
    EXPECT_EQ(Word({0, 0, 0, 0, 0x08, 0, 0, 0, 0, 0}).GetStatDriv(), 1);
    EXPECT_EQ(Word({0, 0, 0, 0, 0x10, 0, 0, 0, 0, 0}).GetStatDriv(), 2);
    EXPECT_EQ(Word({0, 0, 0, 0, 0x18, 0, 0, 0, 0, 0}).GetStatDriv(), 3);
    // states 8..11 in unit 1 bits 2..5, state 12 in unit 2 bit 0.
    EXPECT_EQ(Word({0, 0x04, 0, 0, 0, 0}).GetCodErrHF(), 1);
    EXPECT_EQ(Word({0, 0x20, 0, 0, 0, 0}).GetCodErrHF(), 8);
    EXPECT_EQ(Word({0, 0x03, 0x01, 0, 0, 0}).GetCodErrHF(), 16);
    EXPECT_EQ(Word({0, 0x3C, 0x3F, 0, 0, 0}).GetCodErrHF(), 31);
}

TEST(CSostDevTest, StateNamesInBothLanguages) {
    FillLibTables();
    EXPECT_EQ(CSostDev::naimSost(CSostDev::bitMaintenance, false), L"Maintenance mode");
    EXPECT_EQ(CSostDev::naimSost(CSostDev::bitBatteryFault, false), L"Backup battery fault");
    EXPECT_EQ(CSostDev::naimSost(CSostDev::bitNoLink, false), L"Not link");
    EXPECT_EQ(CSostDev::naimSost(CSostDev::bitStopClamped, false),
              L"\u2018STOP\u2019 button clamped");
    EXPECT_NE(CSostDev::naimSost(CSostDev::bitMaintenance, true), L"Maintenance mode");
    const bool saved = g_StringENU;
    g_StringENU = true;
    EXPECT_EQ(CSostDev::naimSost(CSostDev::bitIdle1Hour), L"Idle lift 1 hour");
    g_StringENU = saved;
}

TEST(CSostDevTest, EqComparesBitsExactComparesCounts) {
    CSostDev zeros = Word({0, 0, 0, 0, 0, 0});
    CSostDev empty;
    EXPECT_TRUE(zeros.EQ(empty));
    EXPECT_FALSE(zeros == empty);
    CSostDev a = Word({1, 0, 0, 0, 0, 0});
    EXPECT_FALSE(a.EQ(zeros));
    EXPECT_EQ(a.HexStr(), L"01000000");
    EXPECT_EQ(a.BinStr(), L"000001000000000000000000");
}

TEST(CInfoCLBTest, CountLimitsBitsAndNewErrorSeesOnlyNewStates) {
    CInfoCLB i;
    const unsigned char b[3] = {0x01, 0x10, 0x3F};
    EXPECT_EQ(i.SetData(b, 3), 0);
    EXPECT_TRUE(i.IsEmpty());
    EXPECT_EQ(i.SetData(b, 1), 1);
    EXPECT_TRUE(i.tstBit(0));
    EXPECT_FALSE(i.tstBit(10));  // unit 1 is beyond the count
    EXPECT_EQ(i[1], 0);
    EXPECT_EQ(i[2], 0);

    CInfoCLB old, now;
    old.SetData(b, 1);
    now.SetData(b, 2);
    EXPECT_TRUE(old.NewError(now));   // bit 10 appeared
    EXPECT_FALSE(now.NewError(old));  // bit 10 went away
    EXPECT_FALSE(now.NewError(now));

    CInfoCLB zeroTwo;
    const unsigned char z[2] = {0, 0};
    zeroTwo.SetData(z, 2);
    EXPECT_TRUE(zeroTwo.EQ(CInfoCLB()));
    EXPECT_FALSE(zeroTwo == CInfoCLB());
    CInfoCLB moved;
    moved.SetMove();
    EXPECT_EQ(moved.HexStr(), L"0100");
    EXPECT_TRUE(moved.tstBit(0));
}

TEST(CSostDZTest, NextSostWalksTheSetBits) {
    CSostDZ dz;
    const unsigned char u[4] = {0x08, 0x00, 0x20, 0x00};  // bits 3 and 17
    EXPECT_EQ(dz.SetData(u, 4), 4);
    int b = 0;
    EXPECT_EQ(dz.NextSost(b), 3);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(dz.NextSost(b), 17);
    EXPECT_EQ(dz.NextSost(b), 0);
    EXPECT_EQ(b, -1);
    dz.BegSost();
    EXPECT_EQ(dz.NextSost(b), 3);
    EXPECT_TRUE(dz.existsOne());
    EXPECT_TRUE(dz.existsNul());

    const unsigned char all[4] = {0x3F, 0x3F, 0x3F, 0x3F};
    EXPECT_EQ(dz.SetData(all, 0), 4);  // 0 means all four
    EXPECT_FALSE(dz.existsNul());
    EXPECT_EQ(dz.SetData(all, 2), 2);
    EXPECT_EQ(dz[2], 0);
}

TEST(CSostDZTest, ModeCodeAndFlagsFromThreeBytes) {
    CSostDZ dz;
    EXPECT_TRUE(dz.Flag(0));
    const unsigned char m[3] = {0x25, 0x16, 0x05};
    dz.SetMode(m);
    EXPECT_EQ(dz.Mode(), 5);
    EXPECT_EQ(dz.Code(), 21);  // (0x16 >> 2) & 15 = 5, plus 16 from bit 0 of 0x05
    EXPECT_TRUE(dz.Flag(0));   // bit 1 of 0x16
    EXPECT_FALSE(dz.Flag(1));  // bit 0 of 0x16
    EXPECT_FALSE(dz.Flag(2));  // bit 1 of 0x05
    EXPECT_TRUE(dz.Flag(3));   // bit 2 of 0x05
}

TEST(CSostDZTest, ComparesAsOneValueAndTakesUnitsBehindDeviceAddress) {
    CSostDZ a, b;
    a = 0x00000100u;  // unit 1 = 1
    b = 0x000000FFu;
    EXPECT_TRUE(a > b);
    EXPECT_TRUE(a.tstBit(6));
    EXPECT_TRUE(b != a);
    const unsigned char rec[12] = {0, 0, 0, 0, 0, 25, 0, 0, 0x01, 0x02, 0x03, 0x04};
    CMes mes(12, rec);
    a = mes;
    EXPECT_EQ(a.Value(), 0x04030201u);
}

TEST(CSostSensTest, LevelsFollowTheUnitCount) {
    const struct {
        int n, lvl;
    } cases[] = {{0, -1}, {3, -1}, {4, 0}, {11, 0}, {12, 1}, {19, 1}, {20, 2}, {36, 2}, {50, 2}};
    unsigned char u[50] = {};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        CSostSens s;
        EXPECT_EQ(s.SetData(u, c.n), c.n < 36 ? c.n : 36);
        EXPECT_EQ(s.LvlAsk10(), c.lvl);
    }
}

TEST(CSostSensTest, LevelFieldsFromUnits) {
    unsigned char u[36] = {};
    u[6] = 40;  // above 32: no floor
    u[7] = 0x3A;
    u[8] = 0x45;
    u[10] = 0x30;
    u[11] = 0x3F;
    u[12] = 1;
    u[13] = 2;
    u[14] = 3;
    u[15] = 4;
    u[16] = 0x20;
    u[19] = 0x01;
    u[20] = 0x01;
    u[26] = 0x3F;
    u[27] = 0x02;
    CSostSens s;
    s.SetData(u, 12);
    EXPECT_EQ(s.CurLvl(), 0);
    EXPECT_EQ(s.Mode(), 0x0A);
    EXPECT_EQ(s.TypDev(), 0x05);
    EXPECT_EQ(s.CodDmamge(), 0xFF);
    EXPECT_FALSE(s.TestAsk(1));  // level 2 missing
    EXPECT_EQ(s.ValAsk(), 0u);

    u[6] = 32;
    s.SetData(u, 20);
    EXPECT_EQ(s.CurLvl(), 32);
    EXPECT_EQ(s.ValAsk(), 1u | 2u << 6 | 3u << 12 | 4u << 18);
    EXPECT_EQ(s.ValCmd(), 0x20u | 1u << 18);
    EXPECT_TRUE(s.TestAsk(1));
    EXPECT_TRUE(s.TestAsk(8));  // unit 13 bit 1
    EXPECT_FALSE(s.TestAsk(7));
    EXPECT_TRUE(s.TestCmd(6));   // unit 16 bit 5
    EXPECT_TRUE(s.TestCmd(19));  // unit 19 bit 0
    EXPECT_FALSE(s.TestCmd(25));
    EXPECT_EQ(s.ValAskFull(), s.ValAsk());

    s.SetData(u, 36);
    // unit 20 at bit 24; unit 26 at bit 60 keeps its low four bits only
    EXPECT_EQ(s.ValAskFull(),
              (1ull | 2ull << 6 | 3ull << 12 | 4ull << 18) | 1ull << 24 | 0xFull << 60);
    EXPECT_EQ(s.ValCmdFull(), (0x20ull | 1ull << 18) | 2ull << 24);
}

TEST(CSostSensTest, ChangeTestsCountAppearingLevelsOnly) {
    unsigned char u[20] = {};
    CSostSens lvl0, lvl1a, lvl1b, lvl2;
    lvl0.SetData(u, 4);
    u[6] = 5;
    lvl1a.SetData(u, 12);
    u[6] = 6;
    lvl1b.SetData(u, 12);
    lvl2.SetData(u, 20);
    EXPECT_TRUE(lvl0.chngCurLvl(lvl1a));   // level appeared
    EXPECT_FALSE(lvl1a.chngCurLvl(lvl0));  // level went away
    EXPECT_TRUE(lvl1a.chngCurLvl(lvl1b));
    EXPECT_FALSE(lvl1b.chngCurLvl(lvl2));
    EXPECT_FALSE(lvl1a.chngMode(lvl1b));
    EXPECT_FALSE(lvl0.chngCurLvl(lvl0));
    EXPECT_TRUE(lvl1a.chngValAsk(lvl2));
    EXPECT_FALSE(lvl2.chngValAsk(lvl1a));
    CSostSens none;
    EXPECT_TRUE(none.chngBitLvl0(lvl0));
    EXPECT_FALSE(lvl0.chngBitLvl0(none));
    CSostSens bit = lvl0;
    bit.setBit(23);
    EXPECT_TRUE(lvl0.chngBitLvl0(bit));
    CSostSens ext = lvl1a;
    ext.setBit(30);  // unit 5: an extended bit
    EXPECT_TRUE(lvl1a.chngBitLvl1(ext));
    EXPECT_FALSE(lvl1a.chngTypDev(ext));
}

TEST(CSostSensTest, TakesUnitsFromRecordByLevel) {
    unsigned char rec[30] = {};
    rec[5] = 26;
    rec[6] = 0x02;  // device 8,
    rec[7] = 0x0A;  // extension 10: the lift state
    for (int i = 8; i < 30; ++i) rec[i] = static_cast<unsigned char>(i);
    const struct { int len, count; } cases[] = {{21, 4}, {22, 12}, {29, 12}, {30, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.len);
        CSostSens s;
        s = CMes(c.len, rec);
        EXPECT_EQ(s.Count(), c.count);
        EXPECT_EQ(s[0], 8);
        EXPECT_EQ(s[c.count - 1], 8 + c.count - 1);
        EXPECT_EQ(s[c.count], 0);
    }
    rec[5] = 28;
    CSostSens sens;
    sens = CMes(22, rec);
    EXPECT_EQ(sens.Count(), 8);
    rec[5] = 25;
    sens = CMes(22, rec);
    EXPECT_EQ(sens.Count(), 0);
}

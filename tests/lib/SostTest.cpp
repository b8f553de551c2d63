#include "lib/Sost.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lib/InfoCLB.h"
#include "lib/Mes.h"
#include "lib/SostDZ.h"
#include "lib/SostSens.h"

namespace {

using Ints = std::vector<int>;
using Bytes = std::vector<unsigned char>;

CSostDev Word(std::initializer_list<unsigned char> bytes) {
    CSostDev s;
    s.SetData(bytes.begin(), static_cast<int>(bytes.size()));
    return s;
}

}  // namespace

// States 40, 41 and 42 live in the info as its bits 0, 10 and 11; the word holds 6 or 10 bytes.
TEST(CSostDevTest, BitsUnitsAndInfo) {
    for (const Ints& c : {Ints{40, 0x01, 0x00}, Ints{41, 0x00, 0x10}, Ints{42, 0x00, 0x20}}) {
        CSostDev s = Word({1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        EXPECT_TRUE(s.setBit(c[0]) && s.tstBit(c[0]) && !s.tstBitDirect(c[0])) << c[0];
        EXPECT_EQ((Ints{s.Info()[0], s.Info()[1], s[0], s[1]}), (Ints{c[1], c[2], 1, 0})) << c[0];
        EXPECT_TRUE(s.clrBit(c[0]) && !s.tstBit(c[0])) << c[0];
    }
    CSostDev s;
    EXPECT_FALSE(s.setBit(48) || s.setBit(-1));
    EXPECT_TRUE(s.setBit(24) && s.Count() == 8 && s[4] == 1 && s.clrBit(24) && s[4] == 0);
    const Bytes b = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    Bytes out(10, 0);
    s.setBit(47);
    s.setBit(CSostDev::bitNoLink);  // a refused SetData clears units and info
    EXPECT_EQ((Ints{s.SetData(b.data(), 8), s.IsEmpty(), s.Count(), s.tstBit(CSostDev::bitNoLink),
                    s.SetData(nullptr, 6)}),
              (Ints{0, 1, 0, 0, 0}));
    EXPECT_EQ(s.SetData(b.data(), 6), 4);
    EXPECT_EQ((Ints{s[4], s.Info()[1], s.GetData(out.data(), 5), s.GetData(out.data(), 6)}),
              (Ints{0, 6, 0, 6}));  // 4 + 2 must fit
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 6), Bytes(b.begin(), b.begin() + 6));
    EXPECT_EQ((Ints{s.SetData(b.data(), 10), s.GetData(out.data(), 10), s.GetData(nullptr, 10)}),
              (Ints{8, 10, 0}));
    EXPECT_EQ(out, b);
    // The info alone is written behind four zero units.
    CSostDev info, empty;
    info.setBit(CSostDev::bitNoLink);
    out.assign(10, 0xEE);
    EXPECT_EQ((Ints{info.GetData(out.data(), 6), out[0], out[3], out[4], out[5], out[6],
                    info.GetData(out.data(), 5), empty.GetData(out.data(), 8)}),
              (Ints{6, 0, 0, 0x00, 0x20, 0xEE, 0, 0}));
    // Normaliz clears the units when there is no information or no link.
    for (const auto bit : {CSostDev::bitNoInfo, CSostDev::bitNoLink}) {
        CSostDev n = Word({0x3F, 0x02, 0x03, 0x04, 0x00, 0x00});
        n.Normaliz();
        EXPECT_EQ(n.Count(), 4);
        n.setBit(bit);
        n.Normaliz();
        EXPECT_EQ((Ints{n.Count(), n[0], n.tstBit(bit)}), (Ints{0, 0, 1})) << bit;
    }
}

// The error and no-value columns of the state table; a word is an error for its unit errors and
// the idle hour, not for missing information alone.
TEST(CSostDevTest, ErrorClassesAndDerivedValues) {
    // states -1..44: none is an error outside the table
    const std::string errors = "0001111111101111111111000100000000000011011100";
    for (int b = -1; b <= 44; ++b) {
        const auto state = static_cast<CSostDev::bitLB>(b);
        EXPECT_EQ(CSostDev::IsError(state), errors[static_cast<size_t>(b + 1)] == '1') << b;
        EXPECT_EQ(CSostDev::IsNoValBit(state), b == 25 || b == 27 || b == 28) << b;
        EXPECT_EQ(CSostDev::naimSostRes(b) != 0, b >= 0 && b <= 42) << b;  // no text past the table
    }
    for (const Ints& c : {Ints{0, 0}, Ints{7, 1}, Ints{38, 1}, Ints{39, 0}, Ints{40, 1}}) {
        CSostDev s = Word({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        s.setBit(c[0]);
        EXPECT_EQ(s.IsError(), c[1] == 1) << c[0];
    }
    // drive statistics: unit 4 bits 3, 4; fault code: unit 1 bits 2..5, unit 2 bit 0
    EXPECT_EQ((Ints{Word({0, 0, 0, 0, 0x18, 0, 0, 0, 0, 0}).GetStatDriv(),
                    Word({0, 0x20, 0, 0, 0, 0}).GetCodErrHF(),
                    Word({0, 0x3C, 0x3F, 0, 0, 0}).GetCodErrHF()}),
              (Ints{3, 8, 31}));
    // EQ compares the bits of every unit, == the counts too
    const CSostDev zeros = Word({0, 0, 0, 0, 0, 0}), one = Word({1, 0, 0, 0, 0, 0});
    const CSostDev ten = Word({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(zeros.EQ(CSostDev()) && !(zeros == CSostDev()) && !one.EQ(zeros) && one == one);
    EXPECT_TRUE(Word({0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0}).EQ(ten) && !(one == zeros));
    EXPECT_FALSE(Word({0, 0, 0, 0, 0, 0, 0, 1, 0, 0}) == ten);
    EXPECT_EQ(one.BinStr(), L"000001000000000000000000");
}

TEST(CSostSensTest, InfoDzAndSensorStates) {
    const unsigned char b[3] = {0x01, 0x10, 0x3F};
    CInfoCLB old, now;
    EXPECT_EQ((Ints{old.SetData(b, 3), old.SetData(b, 1), old.tstBit(0), old[1]}),
              (Ints{0, 1, 1, 0}));  // unit 1 is beyond the count
    now.SetData(b, 2);
    EXPECT_EQ((Ints{old.NewError(now), now.NewError(old), now.NewError(now)}), (Ints{1, 0, 0}));

    CSostDZ dz;
    const unsigned char u[4] = {0x08, 0x00, 0x20, 0x00};  // bits 3 and 17
    EXPECT_EQ(dz.SetData(u, 0), 4);                       // 0 means all four
    int bit = 0;
    Ints walk;
    for (int i = 0; i < 3; ++i) walk.push_back(dz.NextSost(bit));
    dz.BegSost();
    walk.push_back(dz.NextSost(bit));
    EXPECT_EQ(walk, (Ints{3, 17, 0, 3}));
    const unsigned char m[3] = {0x25, 0x16, 0x05};
    dz.SetMode(m);  // code (0x16 >> 2) & 15 = 5 plus 16 from bit 0 of 0x05
    EXPECT_EQ((Ints{dz.Mode(), dz.Code(), dz.Flag(0), dz.Flag(1), dz.Flag(3)}),
              (Ints{5, 21, 1, 0, 1}));
    const unsigned char rec[12] = {0, 0, 0, 0, 0, 25, 0, 0, 0x01, 0x02, 0x03, 0x04};
    dz = CMes(12, rec);  // the units behind the device address
    EXPECT_EQ(dz.Value(), 0x04030201u);

    unsigned char s[50] = {};
    for (const Ints& c :
         {Ints{3, -1}, Ints{4, 0}, Ints{11, 0}, Ints{12, 1}, Ints{20, 2}, Ints{50, 2}}) {
        CSostSens sens;
        EXPECT_EQ(sens.SetData(s, c[0]), c[0] < 36 ? c[0] : 36);
        EXPECT_EQ(sens.LvlAsk10(), c[1]) << c[0];
    }
    s[6] = 32;  // floor; above 32 there is none
    s[7] = 0x3A;
    for (int i = 12; i < 16; ++i) s[i] = static_cast<unsigned char>(i - 11);
    s[16] = 0x20;
    s[19] = 0x01;
    CSostSens sens, other;
    sens.SetData(s, 20);
    // ask 8: unit 13 bit 1; commands 6 and 19: unit 16 bit 5, unit 19 bit 0
    EXPECT_EQ((Ints{sens.CurLvl(), sens.Mode(), sens.TestAsk(8), sens.TestAsk(7), sens.TestCmd(6),
                    sens.TestCmd(19)}),
              (Ints{32, 0x0A, 1, 0, 1, 1}));
    EXPECT_EQ(sens.ValAsk(), 1u | 2u << 6 | 3u << 12 | 4u << 18);
    s[6] = 40;
    other.SetData(s, 12);
    EXPECT_EQ((Ints{other.CurLvl(), other.chngCurLvl(sens), sens.chngValAsk(other)}),
              (Ints{0, 1, 0}));
    // from a lift-state record (device 8, extension 10): levels by record length
    unsigned char lift[30] = {0, 0, 0, 0, 0, 26, 0x02, 0x0A};
    for (int i = 8; i < 30; ++i) lift[i] = static_cast<unsigned char>(i);
    for (const Ints& c : {Ints{21, 4}, Ints{22, 12}, Ints{30, 20}}) {
        sens = CMes(c[0], lift);
        EXPECT_EQ((Ints{sens.Count(), sens[0], sens[c[1] - 1], sens[c[1]]}),
                  (Ints{c[1], 8, 8 + c[1] - 1, 0}))
            << c[0];
    }
    lift[5] = 25;
    sens = CMes(22, lift);
    EXPECT_EQ(sens.Count(), 0);
}

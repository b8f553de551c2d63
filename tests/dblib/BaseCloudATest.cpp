// The plain rows: 6/8-bit packing, event codes, state scans, network addresses and access masks.
#include "dblib/BaseCloudA.h"

#include <vector>

#include <gtest/gtest.h>

#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;

namespace {

using BaseCloudATest = CloudTest;

TEST_F(BaseCloudATest, SixToEightBitPacking) {
    const unsigned char in[] = {1, 2, 3, 4, 63};
    unsigned char out[6] = {};
    EXPECT_TRUE(RootA::Conv6To8(4, in, 0, out, 3));   // one group fills the output exactly
    EXPECT_FALSE(RootA::Conv6To8(5, in, 0, out, 5));  // the second group does not fit
    EXPECT_TRUE(RootA::Conv6To8(5, in, 0, out, 6));
    EXPECT_EQ(std::vector<int>(out, out + 4), (std::vector<int>{0x81, 0x30, 0x10, 63}));
    unsigned char back[8];
    EXPECT_TRUE(RootA::Conv8To6(6, out, back, 8));
    EXPECT_EQ(std::vector<int>(back, back + 6), (std::vector<int>{1, 2, 3, 4, 63, 0}));
    EXPECT_FALSE(RootA::Conv8To6(6, out, back, 7));
}

TEST_F(BaseCloudATest, EventCodesRoundTrip) {
    const struct {
        int bit, code;
    } rows[] = {{0, 0x80},  {7, 0x91},  {23, 0xB5}, {24, 0xE0},
                {39, 0xEF}, {40, 0xC0}, {41, 0xD4}, {42, 0xD5}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bit);
        EXPECT_EQ(RootA::ConvNum(static_cast<CSostDev::bitLB>(row.bit)), row.code);
        EventA e;
        e.m_Cod = row.code;
        e.m_Status = 2 | 4 | 1;
        e.Unpack();
        EXPECT_EQ(e.m_NumSost, row.bit);
        EXPECT_EQ(e.m_Status & 16, 16);
        EXPECT_EQ(e.m_Stat1, 1);
        EXPECT_EQ(e.m_Stat2, 1);
    }
    EventA plain;
    plain.m_Cod = 0x91;
    plain.Unpack();
    EXPECT_EQ(plain.m_Stat1, 2);
    EXPECT_EQ(plain.m_Stat2, 2);
}

TEST_F(BaseCloudATest, ScanNetAddressAndMasks) {
    EventA e;
    e.m_Sost.setBit(3);
    e.m_Sost.setBit(CSostDev::bitIdle1Hour);
    e.OpenScan();
    DBString name;
    CSostDev::bitLB bit{};
    ASSERT_TRUE(e.NextSost(name, bit));
    EXPECT_EQ(bit, 3);
    EXPECT_EQ(name, CSostDev::naimSost(CSostDev::bitMachRoomEntry));
    ASSERT_TRUE(e.NextSost(name, bit));
    EXPECT_EQ(bit, 40);
    EXPECT_FALSE(e.NextSost(name, bit));

    const struct {
        const wchar_t* text;
        bool ok;
    } rows[] = {{L"from 12:3:4 lift", true},
                {L"no colon", false},
                {L":1:2:3", false},
                {L" 1:2:3", false},
                {L"x 1:2", false}};
    for (const auto& row : rows) {
        e.m_Text = row.text;
        int a = 0, b = 0, c = 0;
        EXPECT_EQ(e.GetNetAddr(a, b, c), row.ok) << e.m_Text.ToStr();
        if (row.ok) {
            EXPECT_EQ(a * 10000 + b * 100 + c, 120304);
        }
    }

    const unsigned char bits[] = {0, 7, 40};
    unsigned m1 = 0, m2 = 0, m3 = 0;
    EventA::CalcMaskSost(bits, 3, m1, m2, m3);
    EXPECT_EQ(std::vector<unsigned>({m1, m2, m3}), (std::vector<unsigned>{0x01020000u, 0, 0x100}));
}

TEST_F(BaseCloudATest, AccessMasksAndNames) {
    UserA user;
    user.SetTypAccess(RootA::taManage, 5);
    user.SetTypAccess(RootA::taLBS, 5);
    user.SetTypAccess(RootA::taLBS, 33);  // out of range: nothing
    user.SetTypAccess(static_cast<RootA::typAccess>(23), 1);
    EXPECT_EQ(user.m_Access[RootA::taManage], 16u);
    user.ClrTypAccess(RootA::taManage, 5);
    EXPECT_EQ(user.m_Access[RootA::taLBS], 16u);
    user.SetTypAccess(RootA::taManage, 5);
    user.ClrTypAccess(RootA::taAccess, 5);
    for (std::uint32_t m : user.m_Access) EXPECT_EQ(m, 0u);
    EXPECT_EQ(RootA::nameTypAccess(RootA::taOut1), L"output control OUT1");
    EXPECT_EQ(RootA::nameTypAccess(static_cast<RootA::typAccess>(23)), L"????");
    user.m_TypCliGCM = 11;
    EXPECT_EQ(user.TypCliGCM(), L"(11)");

    AlertMsgA alert;
    alert.m_NumMsg = 47;
    EXPECT_TRUE(alert.IsFromLift());
    alert.m_Flags = 16;
    EXPECT_FALSE(alert.IsFromLift());
    EXPECT_FALSE(alert.IsMustLift());
}

}  // namespace

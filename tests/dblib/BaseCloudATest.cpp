// The plain rows: 6/8-bit packing, event codes, state scans, network addresses and access masks.
#include "dblib/BaseCloudA.h"

#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;

namespace {

using BaseCloudATest = CloudTest;

TEST_F(BaseCloudATest, SixToEightBitPackingAndEventCodes) {
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

    // Event codes: status 7 unpacks to both flags set; status 0 to both clear (2).
    const struct {
        int bit, code;
    } rows[] = {{0, 0x80},  {7, 0x91},  {23, 0xB5}, {24, 0xE0},
                {39, 0xEF}, {40, 0xC0}, {41, 0xD4}, {42, 0xD5}};
    for (const auto& row : rows) {
        EXPECT_EQ(RootA::ConvNum(static_cast<CSostDev::bitLB>(row.bit)), row.code);
        for (const int status : {7, 0}) {
            EventA e;
            e.m_Cod = row.code;
            e.m_Status = status;
            e.Unpack();
            EXPECT_EQ(std::make_tuple(e.m_NumSost, e.m_Status & 16, e.m_Stat1, e.m_Stat2),
                      std::make_tuple(row.bit, 16, status ? 1 : 2, status ? 1 : 2))
                << row.bit;
        }
    }
}

TEST_F(BaseCloudATest, ScanNetAddressMasksAndAccess) {
    EventA e;
    e.m_Sost.setBit(3);
    e.m_Sost.setBit(CSostDev::bitIdle1Hour);
    e.OpenScan();
    DBString name, seen;
    for (CSostDev::bitLB bit{}; e.NextSost(name, bit);)
        seen += DBString(std::to_wstring(bit)) + L":" + name + L";";
    EXPECT_EQ(seen, L"3:" + CSostDev::naimSost(CSostDev::bitMachRoomEntry) + L";40:" +
                        CSostDev::naimSost(CSostDev::bitIdle1Hour) + L";");

    const std::pair<const wchar_t*, int> rows[] = {// -1: no address found
                                                   {L"from 12:3:4 lift", 120304},
                                                   {L"no colon", -1},
                                                   {L":1:2:3", -1},
                                                   {L" 1:2:3", -1},
                                                   {L"x 1:2", -1}};
    for (const auto& [text, addr] : rows) {
        e.m_Text = text;
        int a = 0, b = 0, c = 0;
        EXPECT_EQ(e.GetNetAddr(a, b, c) ? a * 10000 + b * 100 + c : -1, addr) << e.m_Text.ToStr();
    }

    const unsigned char bits[] = {0, 7, 40};
    unsigned m1 = 0, m2 = 0, m3 = 0;
    EventA::CalcMaskSost(bits, 3, m1, m2, m3);
    EXPECT_EQ(std::make_tuple(m1, m2, m3), std::make_tuple(0x01020000u, 0u, 0x100u));

    // Access: set and clear per type and dispatch point; clearing "access" clears every type.
    UserA user;
    user.SetTypAccess(RootA::taManage, 5);
    user.SetTypAccess(RootA::taLBS, 5);
    user.SetTypAccess(RootA::taLBS, 33);  // out of range: nothing
    user.SetTypAccess(static_cast<RootA::typAccess>(23), 1);
    EXPECT_EQ(std::make_pair(user.m_Access[RootA::taManage], user.m_Access[RootA::taLBS]),
              std::make_pair(16u, 16u));
    user.ClrTypAccess(RootA::taManage, 5);
    EXPECT_EQ(std::make_pair(user.m_Access[RootA::taManage], user.m_Access[RootA::taLBS]),
              std::make_pair(0u, 16u));
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
    EXPECT_FALSE(alert.IsFromLift() || alert.IsMustLift());
}

}  // namespace

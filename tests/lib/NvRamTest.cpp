#include "lib/NvRam.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/LoadRes.h"
#include "lib/TERQLibRes.h"
#include "lib/TabMessageB.h"

using Ints = std::vector<int>;

// The descriptor words 0, 8 and 16 are read first, then every other word once, then again.
TEST(CNvRamTest, NextIndexVisitsEveryWordAndWraps) {
    CNvRam nv;
    Ints order;
    for (int i = 0; i < 66; ++i) order.push_back(nv.NextIndex());
    EXPECT_EQ(Ints(order.begin(), order.begin() + 5), (Ints{0, 8, 16, 1, 2}));
    EXPECT_EQ(Ints(order.begin() + 64, order.end()), (Ints{0, 8}));
    std::sort(order.begin(), order.begin() + 64);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(order[static_cast<size_t>(i)], i);
}

TEST(CNvRamTest, WordsAreKnownOnlyOnceSet) {
    CNvRam nv, loaded;
    unsigned short w = 1;
    unsigned char lo = 1, hi = 1;
    EXPECT_EQ((Ints{nv.GetWord(5, w), nv.SetWord(5, 0xA1B3), nv.SetWord(0, 1), nv.SetWord(63, 1),
                    nv.SetWord(64, 1), nv.SetWord(-1, 1)}),
              (Ints{0, 1, 1, 1, 0, 0}));
    EXPECT_TRUE(nv.GetWord(5, w) && nv.GetLowByte(5, lo) && nv.GetHigByte(5, hi));
    EXPECT_EQ((Ints{w, lo, hi}), (Ints{0xA1B3, 0xB3, 0xA1}));
    EXPECT_EQ(nv.GetMask(), 1ull | 1ull << 5 | 1ull << 63);
    nv.ClrMask(0);
    nv.ClrMask(5);
    EXPECT_FALSE(nv.GetWord(0, w) || nv.GetWord(5, w) || nv.GetMask(64));
    // Loaded bytes are words low byte first; the mask is kept until set; == compares the words.
    unsigned char bytes[128] = {};
    loaded = bytes;
    EXPECT_TRUE(loaded == CNvRam());
    bytes[0] = 0x34;
    bytes[1] = 0x12;
    loaded = bytes;
    EXPECT_FALSE(loaded.GetWord(0, w) || loaded == CNvRam());
    loaded.SetMask(0);
    EXPECT_TRUE(loaded.GetWord(0, w) && w == 0x1234);
    // line-bus presence: device 32 + 5 is bit 5 of word 34, device 255 bit 15 of word 47
    bool present = false;
    EXPECT_EQ((Ints{CNvRam::NumWordLB(0), CNvRam::NumWordLB(255), nv.ExistDev(37, present)}),
              (Ints{32, 47, 0}));  // word 34 unknown
    nv.SetWord(34, 0x0020);
    nv.SetWord(47, 0x8000);
    EXPECT_TRUE(nv.ExistDev(37, present) && present && nv.ExistDev(36, present) && !present);
    EXPECT_TRUE(nv.ExistDev(255, present) && present);
    EXPECT_FALSE(nv.ExistDev(256, present) || nv.ExistDev(-1, present));
}

// Masks written out from the event table, one row per event; texts are taken in the language
// in force at Load.
TEST(CTabMessageBTest, ClassificationAndTexts) {
    // valid: 1 yes, 0 no, 2 argument
    const char valid[] = "01111220122211111111001122222212222210011122112";
    const char lift[] = "00000000100011111111000000000010000010011000110";
    const char nolift[] = "01111110011100000000111111111101111110000011101";
    const char oper[] = "01111000100011111111001100000000000010011000100";
    for (int n = -1; n <= 48; ++n) {
        SCOPED_TRACE(n);
        const char v = n >= 0 && n <= 46 ? valid[n] : '0';
        EXPECT_EQ(CTabMessageB::IsValid(n, false), v == '1');
        EXPECT_EQ(CTabMessageB::IsValid(n, true), v == '1' || v == '2');
        EXPECT_EQ(CTabMessageB::IsLift(n), n >= 0 && n <= 45 && lift[n] == '1');
        EXPECT_EQ(CTabMessageB::IsNoLift(n), n >= 0 && n <= 46 && nolift[n] == '1');
        EXPECT_EQ(CTabMessageB::IsOper(n), n >= 0 && n <= 44 && oper[n] == '1');
    }
    if (g_StringLocaleENU.empty()) {
        TERQLib_rc();
        TERQLibENU_rc();
    }
    CTabMessageB tab;
    EXPECT_EQ(tab.Message(1), L"");
    g_StringENU = true;
    tab.Load();
    g_StringENU = false;
    EXPECT_EQ(tab.Message(46), LoadStringFromResourceENU(IDS_MES_BASE + 46));
    EXPECT_EQ(tab.Message(0) + tab.Message(47), L"");
}

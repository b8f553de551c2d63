#include "lib/NvRam.h"

#include <gtest/gtest.h>

#include "dblib/LoadRes.h"
#include "lib/TabMessageB.h"
#include "tests/lib/LibTables.h"

TEST(CNvRamTest, NextIndexReadsDescriptorWordsFirstAndWraps) {
    CNvRam nv;
    const int first[] = {0, 8, 16, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15, 17};
    for (int expected : first) EXPECT_EQ(nv.NextIndex(), expected);
    bool seen[64] = {};
    nv.Clear();
    for (int i = 0; i < 64; ++i) seen[nv.NextIndex()] = true;
    for (int i = 0; i < 64; ++i) EXPECT_TRUE(seen[i]) << i;
    EXPECT_EQ(nv.NextIndex(), 0);  // the 65th call
    EXPECT_EQ(nv.NextIndex(), 8);
}

TEST(CNvRamTest, WordsAreKnownOnlyOnceSet) {
    CNvRam nv;
    unsigned short w = 1;
    unsigned char b = 1;
    EXPECT_FALSE(nv.GetWord(5, w));
    EXPECT_TRUE(nv.SetWord(5, 0xA1B2));
    EXPECT_TRUE(nv.SetWord(63, 0x0001));
    EXPECT_FALSE(nv.SetWord(64, 1));
    EXPECT_FALSE(nv.SetWord(-1, 1));
    EXPECT_TRUE(nv.GetWord(5, w));
    EXPECT_EQ(w, 0xA1B2);
    EXPECT_TRUE(nv.GetLowByte(5, b));
    EXPECT_EQ(b, 0xB2);
    EXPECT_TRUE(nv.GetHigByte(5, b));
    EXPECT_EQ(b, 0xA1);
    EXPECT_EQ(nv.GetMask(), 1ull << 5 | 1ull << 63);
    nv.ClrMask(5);
    EXPECT_FALSE(nv.GetWord(5, w));
    EXPECT_FALSE(nv.GetMask(64));
}

TEST(CNvRamTest, LineBusPresenceBits) {
    CNvRam nv;
    bool present = false;
    EXPECT_EQ(CNvRam::NumWordLB(0), 32);
    EXPECT_EQ(CNvRam::NumWordLB(255), 47);
    EXPECT_FALSE(nv.ExistDev(37, present));  // word 34 unknown
    nv.SetWord(34, 0x0020);                  // device 32 + 5
    EXPECT_TRUE(nv.ExistDev(37, present));
    EXPECT_TRUE(present);
    EXPECT_TRUE(nv.ExistDev(36, present));
    EXPECT_FALSE(present);
    EXPECT_FALSE(nv.ExistDev(256, present));
}

TEST(CNvRamTest, LoadsWordsLowByteFirstKeepingTheMask) {
    unsigned char bytes[128] = {};
    bytes[0] = 0x34;
    bytes[1] = 0x12;
    bytes[127] = 0xFF;
    CNvRam a, b;
    a = bytes;
    EXPECT_EQ(a.GetMask(), 0u);
    EXPECT_FALSE(a == b);
    b.SetWord(0, 0x1234);
    b.SetWord(63, 0xFF00);
    EXPECT_TRUE(a == b);
    a.SetMask(0);
    unsigned short w = 0;
    EXPECT_TRUE(a.GetWord(0, w));
    EXPECT_EQ(w, 0x1234);
}

// Masks written out from the event table, one row per event.
TEST(CTabMessageBTest, ClassificationFollowsTheEventTable) {
    // valid: 1 yes, 0 no, 2 argument
    const char valid[] = "01111220122211111111001122222212222210011122112";
    const char lift[] = "00000000100011111111000000000010000010011000110";
    const char nolift[] = "01111110011100000000111111111101111110000011101";
    const char oper[] = "01111000100011111111001100000000000010011000100";
    for (int n = 0; n <= 48; ++n) {
        SCOPED_TRACE(n);
        const bool in = n <= 46;
        const char v = in ? valid[n] : '0';
        EXPECT_EQ(CTabMessageB::IsValid(n, false), v == '1');
        EXPECT_EQ(CTabMessageB::IsValid(n, true), v == '1' || v == '2');
        EXPECT_EQ(CTabMessageB::IsLift(n), n <= 45 && lift[n] == '1');
        EXPECT_EQ(CTabMessageB::IsNoLift(n), in && nolift[n] == '1');
        EXPECT_EQ(CTabMessageB::IsOper(n), n <= 44 && oper[n] == '1');
    }
    EXPECT_FALSE(CTabMessageB::IsValid(-1, true));
}

TEST(CTabMessageBTest, LoadsTextsInTheCurrentLanguage) {
    FillLibTables();
    const bool saved = g_StringENU;
    g_StringENU = true;
    CTabMessageB tab;
    EXPECT_EQ(tab.Message(1), L"");
    tab.Load();
    g_StringENU = saved;
    EXPECT_EQ(tab.Message(0), L"");
    EXPECT_EQ(tab.Message(1), L"Start");
    EXPECT_EQ(tab.Message(5), L"Lost link with LBC in slot %d:%d:%d");
    EXPECT_EQ(tab.Message(44), L"Operator message");
    EXPECT_EQ(tab.Message(46), L"Faulty voice codec in slot %d:%d:%d");
    EXPECT_EQ(tab.Message(47), L"");
}

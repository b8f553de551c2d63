#include "lib/IdentV7.h"

#include <set>

#include <gtest/gtest.h>

TEST(CIdentV7Test, WireFormIsDeviceThenNodeLittleEndian) {
    const CIdentV7 id(0x123456, 7);
    unsigned char out[4] = {};
    id.GetValue(out);
    EXPECT_EQ(0x07, out[0]);
    EXPECT_EQ(0x56, out[1]);
    EXPECT_EQ(0x34, out[2]);
    EXPECT_EQ(0x12, out[3]);

    CIdentV7 back(99, 99);
    back.SetValue(out);
    EXPECT_EQ(0x123456, back.GetNode());
    EXPECT_EQ(7, back.GetDev());

    const unsigned char top[4] = {0xFF, 0xFE, 0xFF, 0xFE};
    back.SetValue(top);
    EXPECT_EQ(0xFEFFFE, back.GetBigNode());
    EXPECT_EQ(255, back.GetDev());

    back.SetValue(nullptr);
    EXPECT_EQ(0, back.GetNode());
    EXPECT_EQ(0, back.GetDev());
    id.GetValue(nullptr);  // writes nothing, must not crash
}

TEST(CIdentV7Test, TextFormParsesAndChecksRanges) {
    const struct {
        const wchar_t* text;
        int result;
        int node;
        int dev;
    } cases[] = {
        {L"123.7", 1, 123, 7},
        {L"0.5", 0, 0, 5},        // node 0 is refused
        {L"123.256", 0, 123, 0},  // device out of range, node kept
        {L"-4.2", 0, 0, 2},       // negative node
        {L"16711422.255", 1, 16711422, 255},
        {L"16711423.1", 0, 0, 1},  // one past the largest node
        {L"77", 0, 77, 0},         // no device
        {L"abc", 0, 0, 0},
        {L"5.-1", 0, 5, 0},  // negative device is above 255 as unsigned
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << static_cast<const void*>(c.text));
        CIdentV7 id(42, 42);
        EXPECT_EQ(c.result, id.SetString(c.text));
        EXPECT_EQ(c.node, id.GetNode());
        EXPECT_EQ(c.dev, id.GetDev());
    }
    EXPECT_EQ(DBString(L"123456.2"), CIdentV7(123456, 2).GetString());
    EXPECT_EQ(DBString(L"0.0"), CIdentV7().GetString());
}

TEST(CIdentV7Test, SettersCheckRanges) {
    CIdentV7 id;
    EXPECT_EQ(1, id.SetNode(0));
    EXPECT_EQ(1, id.SetNode(16711422));
    EXPECT_EQ(0, id.SetNode(16711423));
    EXPECT_EQ(0, id.SetNode(-1));
    EXPECT_EQ(16711422, id.GetNode());
    EXPECT_EQ(0, id.SetDev(256));
    EXPECT_EQ(0, id.SetDev(-1));
    EXPECT_EQ(1, id.SetDev(255));
    EXPECT_EQ(255, id.GetDev());

    // Node checked first: on failure nothing changes; a bad device keeps the stored node.
    EXPECT_EQ(0, id.Set(16711423, 3));
    EXPECT_EQ(16711422, id.GetNode());
    EXPECT_EQ(255, id.GetDev());
    EXPECT_EQ(0, id.Set(12, 300));
    EXPECT_EQ(12, id.GetNode());
    EXPECT_EQ(255, id.GetDev());
    EXPECT_EQ(1, id.Set(13, 4));

    id.SetBigNode(1LL << 40);  // unchecked
    EXPECT_EQ(1LL << 40, id.GetBigNode());
    EXPECT_EQ(0, id.GetNodeIdent().GetDev());
    EXPECT_EQ(1LL << 40, id.GetNodeIdent().GetBigNode());
}

TEST(CIdentV7Test, EqualityIgnoresDeviceButFullEqDoesNot) {
    const CIdentV7 a(500, 1), b(500, 2), c(501, 1);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != b);
    EXPECT_FALSE(a.FullEQ(b));
    EXPECT_TRUE(a.FullEQ(CIdentV7(500, 1)));
    EXPECT_TRUE(a < c);
    EXPECT_FALSE(c < a);
    EXPECT_TRUE(CIdentV7(-1, 0) < CIdentV7(0, 0));  // signed order
}

TEST(CIdentV7Test, RangesOfLiftUnitsAndPrograms) {
    const struct {
        int node;
        bool lu;
        bool prog;
    } cases[] = {
        {0, false, false},       {1, true, false},         {9999899, true, false},
        {9999900, false, false}, {10000000, false, false}, {10000001, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        const CIdentV7 id(c.node, 0);
        EXPECT_EQ(c.lu, id.IsLU());
        EXPECT_EQ(c.prog, id.IsProg());
    }
}

TEST(CIdentV7Test, SetUniqueDrawsProgramNodesAndKeepsDevice) {
    std::set<int> seen;
    for (int i = 0; i < 50; ++i) {
        CIdentV7 id(0, 9);
        EXPECT_EQ(1, id.SetUnique());
        EXPECT_GE(id.GetNode(), 10000000);
        EXPECT_LE(id.GetNode(), 16711422);
        EXPECT_EQ(9, id.GetDev());
        seen.insert(id.GetNode());
    }
    // Seeded afresh each call from the random device: repeats are practically impossible.
    EXPECT_GT(seen.size(), 45u);
}

#include "lib/IdentV7.h"

#include <set>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<long long> Of(const CIdentV7& id) { return {id.GetBigNode(), id.GetDev()}; }

}  // namespace

TEST(CIdentV7Test, WireFormIsDeviceThenNodeLittleEndian) {
    unsigned char out[4] = {};
    CIdentV7(0x123456, 7).GetValue(out);
    EXPECT_EQ(std::vector<unsigned char>(out, out + 4),
              (std::vector<unsigned char>{7, 0x56, 0x34, 0x12}));
    CIdentV7 back(99, 99);
    back.SetValue(out);
    EXPECT_EQ(Of(back), (std::vector<long long>{0x123456, 7}));
    const unsigned char top[4] = {0xFF, 0xFE, 0xFF, 0xFE};
    back.SetValue(top);
    EXPECT_EQ(Of(back), (std::vector<long long>{0xFEFFFE, 255}));
    back.SetValue(nullptr);
    EXPECT_EQ(Of(back), (std::vector<long long>{0, 0}));
    back.GetValue(nullptr);  // writes nothing, must not crash
}

// Text and numeric setters check node 1 (0 for SetNode) .. 16711422 and device 0 .. 255.
TEST(CIdentV7Test, SettersCheckRanges) {
    const struct {
        const wchar_t* text;
        int result, node, dev;
    } texts[] = {
        {L"123.7", 1, 123, 7},
        {L"0.5", 0, 0, 5},
        {L"123.256", 0, 123, 0},
        {L"-4.2", 0, 0, 2},
        {L"16711422.255", 1, 16711422, 255},
        {L"16711423.1", 0, 0, 1},
        {L"77", 0, 77, 0},
        {L"abc", 0, 0, 0},
        {L"5.-1", 0, 5, 0},  // negative device is above 255 as unsigned
    };
    for (const auto& c : texts) {
        CIdentV7 id(42, 42);
        EXPECT_EQ(c.result, id.SetString(c.text)) << c.node;
        EXPECT_EQ(Of(id), (std::vector<long long>{c.node, c.dev})) << c.node;
    }
    EXPECT_EQ(DBString(L"123456.2"), CIdentV7(123456, 2).GetString());
    EXPECT_EQ(DBString(L"0.0"), CIdentV7().GetString());

    CIdentV7 id;
    const std::vector<int> set = {id.SetNode(0),  id.SetNode(16711422), id.SetNode(16711423),
                                  id.SetNode(-1), id.SetDev(256),       id.SetDev(-1),
                                  id.SetDev(255)};
    EXPECT_EQ(set, (std::vector<int>{1, 1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Of(id), (std::vector<long long>{16711422, 255}));
    // Node checked first: on failure nothing changes; a bad device keeps the new node.
    EXPECT_EQ(0, id.Set(16711423, 3));
    EXPECT_EQ(Of(id), (std::vector<long long>{16711422, 255}));
    EXPECT_EQ(0, id.Set(12, 300));
    EXPECT_EQ(Of(id), (std::vector<long long>{12, 255}));
    EXPECT_EQ(1, id.Set(13, 4));
    id.SetBigNode(1LL << 40);  // unchecked
    EXPECT_EQ(Of(id.GetNodeIdent()), (std::vector<long long>{1LL << 40, 0}));
}

TEST(CIdentV7Test, EqualityIgnoresDeviceButFullEqDoesNot) {
    const CIdentV7 a(500, 1), b(500, 2), c(501, 1);
    EXPECT_TRUE(a == b && !(a != b) && !a.FullEQ(b) && a.FullEQ(CIdentV7(500, 1)));
    EXPECT_TRUE(a < c && !(c < a));
    EXPECT_TRUE(CIdentV7(-1, 0) < CIdentV7(0, 0));  // signed order
    const struct {
        int node;
        bool lu, prog;
    } ranges[] = {{0, false, false},       {1, true, false},         {9999899, true, false},
                  {9999900, false, false}, {10000000, false, false}, {10000001, false, true}};
    for (const auto& r : ranges) {
        EXPECT_EQ(r.lu, CIdentV7(r.node, 0).IsLU()) << r.node;
        EXPECT_EQ(r.prog, CIdentV7(r.node, 0).IsProg()) << r.node;
    }
}

TEST(CIdentV7Test, SetUniqueDrawsProgramNodesAndKeepsDevice) {
    std::set<int> seen;
    for (int i = 0; i < 50; ++i) {
        CIdentV7 id(0, 9);
        EXPECT_EQ(1, id.SetUnique());
        EXPECT_TRUE(id.IsProg() && id.GetNode() <= 16711422 && id.GetDev() == 9) << id.GetNode();
        seen.insert(id.GetNode());
    }
    EXPECT_GT(seen.size(), 45u);  // seeded afresh from the random device each call
}

#include "lib/IdentV7.h"

#include <set>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Longs = std::vector<long long>;

Longs Of(const CIdentV7& id) { return {id.GetBigNode(), id.GetDev()}; }

}  // namespace

// On the wire: device, then the node little-endian; a null buffer reads as 0.0.
TEST(CIdentV7Test, WireFormAndTextRoundTrip) {
    unsigned char out[4] = {};
    CIdentV7(0x123456, 7).GetValue(out);
    EXPECT_EQ(Longs(out, out + 4), (Longs{7, 0x56, 0x34, 0x12}));
    const unsigned char top[4] = {0xFF, 0xFE, 0xFF, 0xFE};
    CIdentV7 back(99, 99);
    back.SetValue(top);
    EXPECT_EQ(Of(back), (Longs{0xFEFFFE, 255}));
    back.SetValue(nullptr);
    back.GetValue(nullptr);  // writes nothing, must not crash
    EXPECT_TRUE(back.GetString() == DBString(L"0.0") && back.FullEQ(CIdentV7()));
    // node 1 .. 16711422 and device 0 .. 255
    const struct {
        const wchar_t* text;
        int result, node, dev;
    } texts[] = {{L"123456.7", 1, 123456, 7},
                 {L"0.5", 0, 0, 5},
                 {L"123.256", 0, 123, 0},
                 {L"-4.2", 0, 0, 2},
                 {L"16711422.255", 1, 16711422, 255},
                 {L"16711423.1", 0, 0, 1},
                 {L"77", 0, 77, 0},
                 {L"abc", 0, 0, 0}};
    for (const auto& c : texts) {
        CIdentV7 id(42, 42);
        EXPECT_EQ(c.result, id.SetString(c.text)) << c.node;
        EXPECT_EQ(Of(id), (Longs{c.node, c.dev})) << c.node;
        EXPECT_TRUE(!c.result || id.GetString() == DBString(c.text)) << c.node;
    }
}

// SetNode takes 0 too; Set checks the node first: on failure nothing changes, a bad device
// keeps the new node.
TEST(CIdentV7Test, SettersCheckRangesAndCompare) {
    CIdentV7 id;
    EXPECT_EQ(
        (std::vector<int>{id.SetNode(0), id.SetNode(16711422), id.SetNode(16711423), id.SetNode(-1),
                          id.SetDev(256), id.SetDev(-1), id.SetDev(255), id.Set(16711423, 3)}),
        (std::vector<int>{1, 1, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(Of(id), (Longs{16711422, 255}));
    EXPECT_EQ(0, id.Set(12, 300));
    EXPECT_EQ(Of(id), (Longs{12, 255}));
    const CIdentV7 a(500, 1), b(500, 2), c(501, 1);
    EXPECT_TRUE(a == b && !(a != b) && !a.FullEQ(b) && a.FullEQ(CIdentV7(500, 1)));
    EXPECT_TRUE(b.GetNodeIdent().FullEQ(CIdentV7(500, 0)));
    EXPECT_TRUE(a < c && !(c < a) && CIdentV7(-1, 0) < CIdentV7(0, 0));  // signed order
    for (const auto& r : {Longs{0, 0, 0}, Longs{1, 1, 0}, Longs{9999899, 1, 0},
                          Longs{9999900, 0, 0}, Longs{10000000, 0, 0}, Longs{10000001, 0, 1}}) {
        const CIdentV7 n(static_cast<int>(r[0]), 0);
        EXPECT_EQ((Longs{n.IsLU(), n.IsProg()}), (Longs{r[1], r[2]})) << r[0];
    }
    std::set<int> seen;  // drawn afresh from the random device each call
    for (int i = 0; i < 50; ++i) {
        CIdentV7 u(0, 9);
        EXPECT_TRUE(u.SetUnique() == 1 && u.IsProg() && u.GetNode() <= 16711422 && u.GetDev() == 9);
        seen.insert(u.GetNode());
    }
    EXPECT_GT(seen.size(), 45u);
}
